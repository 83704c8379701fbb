#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "settings/SafeFile.h"
#include "settings/WideText.h"

namespace quintaro {

namespace {

// A settings or language file is a few hundred bytes. Anything beyond this is not one of
// ours: it is neither read nor ever replaced, so a stray huge file can't be lost through us.
constexpr LONGLONG maxFileSize = 16 * 1024 * 1024;

class Handle {
  public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() { close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }
    bool close() {
        const bool closed = !valid() || CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return closed;
    }

  private:
    HANDLE handle_;
};

bool writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000 ? 0x10000000 : DWORD(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// The file a name finally stands for once links are followed: a link stays a link and its
// target gets the new content. Empty when the name can't be resolved.
std::wstring finalPath(const std::wstring& name, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    Handle file(CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, flags, nullptr));
    if (!file.valid()) {
        return {};
    }
    std::wstring path(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), path.data(), DWORD(path.size()),
                                                       FILE_NAME_NORMALIZED);
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
    return {};
}

std::wstring fullPath(const std::wstring& name) {
    const DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0) {
        return {};
    }
    std::wstring path(length, L'\0');
    const DWORD used = GetFullPathNameW(name.c_str(), length, path.data(), nullptr);
    if (used == 0 || used >= length) {
        return {};
    }
    path.resize(used);
    return path;
}

// How long a save waits for another game's save in the same folder, which takes
// milliseconds. A holder that never lets go makes this save give up rather than freeze the
// game.
constexpr ULONGLONG lockWaitMs = 1000;

// The temporary file a save uses, beside the file. Every save uses the first of these names,
// so one left by a crash is taken over next time. Only when something that can't be removed
// stands under it does a save move on to the next name; every game walks the same names, so
// they still meet at the same lock.
constexpr int temporaryNames = 8;
std::wstring temporaryName(const std::wstring& folder, const std::wstring& name, int index) {
    const std::wstring suffix = index == 0 ? L".tmp" : L"." + std::to_wstring(index) + L".tmp";
    return folder + L"." + name + suffix;
}

SaveStepHook saveStepHook = nullptr;
void reach(SaveStep step) {
    if (saveStepHook != nullptr) {
        saveStepHook(step);
    }
}

// The lock a save holds on its temporary file besides opening it without sharing. Windows
// keeps every user from opening a held file; Wine keeps only the programs of one user (one
// Wine server) from it, but its byte-range locks are the system's, which every user sees.
bool lockWhole(HANDLE file) {
    OVERLAPPED whole{};
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD,
                      MAXDWORD, &whole) != 0;
}

// Removes the file a handle holds, through that handle: only the name it was opened by goes.
bool deleteThrough(HANDLE file) {
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    return SetFileInformationByHandle(file, FileDispositionInfo, &disposition,
                                      sizeof disposition) != 0;
}

// A plain file on a disk, opened as itself: no link, no folder, no device or pipe.
bool isPlainFile(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
           (info.dwFileAttributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

// Opens (or creates) one of our names as itself, never what a link there points at; held
// without sharing, so it is also the lock.
HANDLE openTemporary(const std::wstring& name, DWORD disposition) {
    return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE, 0, nullptr, disposition,
                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}

// Whether a name of ours is what it seems. Under Wine a Unix link shows the attributes of
// what it points at and is opened as that, whatever the flags say; removing it through a
// handle would remove the file it points at. Such a name is left alone.
bool standsForItself(const std::wstring& name) {
    const std::size_t slash = name.find_last_of(L"\\/");
    const std::wstring resolved = finalPath(name);
    const std::wstring folder = finalPath(name.substr(0, slash), FILE_FLAG_BACKUP_SEMANTICS);
    if (resolved.empty() || folder.empty() || slash == std::wstring::npos) {
        return false;
    }
    const std::wstring expected = folder + L"\\" + name.substr(slash + 1);
    return CompareStringOrdinal(resolved.c_str(), int(resolved.size()), expected.c_str(),
                                int(expected.size()), TRUE) == CSTR_EQUAL;
}

enum class Take { Taken, Blocked, Failed };

// What a plain file found under one of our names turns out to be once we try to take it.
enum class Found { Leftover, HeldByAnotherSave, NotOurs, Gone };

// Opens a plain file found under one of our names without sharing and takes its lock: only
// when both are ours is it a leftover of a save that was ended, which the handle returned
// may remove. A file we may not open at all is another user's (or the system's): never ours
// to remove.
Found takeFound(const std::wstring& name, DWORD attributes, HANDLE& out) {
    HANDLE found = openTemporary(name, OPEN_EXISTING);
    if (found == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_SHARING_VIOLATION) {
            return Found::HeldByAnotherSave;
        }
        if (error == ERROR_FILE_NOT_FOUND) {
            return Found::Gone;
        }
        if (error == ERROR_ACCESS_DENIED && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            // A read-only mark refuses us the handle; a leftover of ours so marked is opened
            // once the mark is off.
            const DWORD writable = attributes & ~DWORD(FILE_ATTRIBUTE_READONLY);
            if (SetFileAttributesW(name.c_str(),
                                   writable != 0 ? writable : FILE_ATTRIBUTE_NORMAL)) {
                return takeFound(name, writable, out);
            }
        }
        return Found::NotOurs;
    }
    if (!lockWhole(found)) {
        CloseHandle(found);
        return Found::HeldByAnotherSave;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        SetFileInformationByHandle(found, FileBasicInfo, &basic, sizeof basic);
    }
    out = found;
    return Found::Leftover;
}

// Creates the temporary file afresh, held without sharing and locked: that is the lock every
// save of the file takes. A plain file found under the name is either another save's (held:
// waited for until that save has renamed it away) or a leftover of a save that was ended,
// which is removed. A file we may not open is another user's: waited for a moment, then
// passed by, never removed. Whatever else stands there (a folder, a device) is removed by
// name, never opened and never written through. Blocked: something we may not remove holds
// the name.
Take createTemporary(const std::wstring& name, ULONGLONG deadline, bool& met, HANDLE& out) {
    // Another save's file refuses us for a moment while it is made or renamed away; only
    // what keeps refusing holds the name for good.
    constexpr ULONGLONG refusalMs = 100;
    ULONGLONG firstRefusal = 0;
    const auto refusedForGood = [&firstRefusal] {
        const ULONGLONG now = GetTickCount64();
        if (firstRefusal == 0) {
            firstRefusal = now;
        }
        return now - firstRefusal >= refusalMs;
    };
    for (;;) {
        if (GetTickCount64() >= deadline) {
            return Take::Failed;
        }
        HANDLE created = openTemporary(name, CREATE_NEW);
        if (created != INVALID_HANDLE_VALUE) {
            if (isPlainFile(created) && lockWhole(created)) {
                out = created;
                return Take::Taken;
            }
            deleteThrough(created);
            CloseHandle(created);
            return Take::Blocked;
        }
        const DWORD createError = GetLastError();
        const DWORD attributes = GetFileAttributesW(name.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (createError != ERROR_FILE_EXISTS && createError != ERROR_ALREADY_EXISTS &&
                createError != ERROR_SHARING_VIOLATION) {
                return Take::Failed;  // the folder takes no new files
            }
            // Gone meanwhile, or (under Wine) a Unix link to nothing or a pipe, which show
            // no attributes and stay.
            if (refusedForGood()) {
                return Take::Blocked;
            }
            Sleep(1);
            continue;
        }
        const DWORD special =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
        if ((attributes & special) == 0) {
            if (!standsForItself(name)) {
                if (refusedForGood()) {
                    return Take::Blocked;
                }
                Sleep(1);
                continue;
            }
            HANDLE found = INVALID_HANDLE_VALUE;
            switch (takeFound(name, attributes, found)) {
                case Found::Leftover: {
                    const bool removed = deleteThrough(found);
                    CloseHandle(found);
                    if (removed) {
                        continue;
                    }
                    return Take::Blocked;
                }
                case Found::HeldByAnotherSave:
                    if (!met) {
                        met = true;
                        reach(SaveStep::MetOtherSave);
                    }
                    Sleep(1);
                    continue;
                case Found::Gone:
                    continue;
                case Found::NotOurs:
                    if (refusedForGood()) {
                        return Take::Blocked;
                    }
                    Sleep(1);
                    continue;
            }
        }
        const bool removed = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0
                                 ? RemoveDirectoryW(name.c_str()) != 0
                                 : DeleteFileW(name.c_str()) != 0;
        const DWORD error = GetLastError();
        if (removed || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            continue;
        }
        if (error == ERROR_SHARING_VIOLATION || !refusedForGood()) {
            Sleep(1);
            continue;
        }
        return Take::Blocked;
    }
}

// Removes leftovers of ended saves under every temporary name: plain files nobody holds,
// and empty folders. What is held, what we may not open and what is not what it seems stay.
// Done before a save takes its own, so that ending a save at any moment leaves at most that
// one behind.
void clearLeftovers(const std::wstring& folder, const std::wstring& name) {
    for (int index = 0; index < temporaryNames; ++index) {
        const std::wstring tempName = temporaryName(folder, name, index);
        const DWORD attributes = GetFileAttributesW(tempName.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            continue;
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
                RemoveDirectoryW(tempName.c_str());
            }
            continue;
        }
        HANDLE found = INVALID_HANDLE_VALUE;
        if ((attributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0 &&
            standsForItself(tempName) &&
            takeFound(tempName, attributes, found) == Found::Leftover) {
            deleteThrough(found);
            CloseHandle(found);
        }
    }
}

// Whether the name still stands for the file the handle holds (the same volume and file
// number), and, given a length, whether that file is this long both through the handle and
// by the name.
bool namesFile(HANDLE file, const std::wstring& name, std::optional<std::size_t> length = {}) {
    // Asking for the attributes alone opens even a file held without sharing.
    Handle named(CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION mine{};
    BY_HANDLE_FILE_INFORMATION found{};
    if (!named.valid() || !GetFileInformationByHandle(file, &mine) ||
        !GetFileInformationByHandle(named.get(), &found) ||
        mine.dwVolumeSerialNumber != found.dwVolumeSerialNumber ||
        mine.nFileIndexHigh != found.nFileIndexHigh || mine.nFileIndexLow != found.nFileIndexLow) {
        return false;
    }
    LARGE_INTEGER size{};
    const auto sizeOf = [](const BY_HANDLE_FILE_INFORMATION& info) {
        return ULONGLONG(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    };
    return !length || (GetFileSizeEx(file, &size) && ULONGLONG(size.QuadPart) == *length &&
                       sizeOf(found) == *length);
}

// Gives the temporary file its final name through the handle that holds it, so the lock
// lasts until the new content is in place.
bool renameThrough(HANDLE file, const std::wstring& target) {
    std::vector<unsigned char> buffer(sizeof(FILE_RENAME_INFO) + target.size() * sizeof(wchar_t));
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = DWORD(target.size() * sizeof(wchar_t));
    std::copy(target.begin(), target.end(), rename->FileName);
    rename->FileName[target.size()] = L'\0';
    return SetFileInformationByHandle(file, FileRenameInfo, rename, DWORD(buffer.size())) != 0;
}

ReadResult readWide(const std::wstring& name, std::string& bytes, bool& writable);

}  // namespace

// Replaces the file with the new bytes so that a crash or a power loss at any moment leaves
// either the old or the new file, never a cut one: the new content goes to a temporary file
// in the same folder, reaches the disk, and is then renamed over the old file in one step.
// The temporary file is held from before the old content is read until it has its final name.
bool updateFile(const std::string& fileName, const FileChange& change) {
    const std::wstring name = widen(fileName);
    if (name.empty()) {
        return false;
    }
    const DWORD found = GetFileAttributesW(name.c_str());
    if (found == INVALID_FILE_ATTRIBUTES && GetLastError() != ERROR_FILE_NOT_FOUND) {
        return false;
    }
    // Links are followed: a link stays a link and its target gets the new content.
    const std::wstring target = found != INVALID_FILE_ATTRIBUTES ? finalPath(name) : fullPath(name);
    const std::size_t slash = target.find_last_of(L"\\/");
    if (target.empty() || slash == std::wstring::npos) {
        return false;
    }
    const std::wstring folder = target.substr(0, slash + 1);
    const ULONGLONG deadline = GetTickCount64() + lockWaitMs;
    const std::wstring baseName = target.substr(slash + 1);
    clearLeftovers(folder, baseName);
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool met = false;
    std::wstring tempName;
    for (int index = 0; index < temporaryNames && handle == INVALID_HANDLE_VALUE; ++index) {
        tempName = temporaryName(folder, baseName, index);
        if (createTemporary(tempName, deadline, met, handle) == Take::Failed) {
            return false;
        }
    }
    Handle file(handle);
    if (!file.valid()) {
        // Every name holds something we may not remove: the old file stays as it is, and the
        // next save tries again.
        return false;
    }
    reach(SaveStep::TemporaryTaken);
    // The file as it is now that no other save can run. A file marked read-only stays
    // untouched; so does anything that is not a plain file.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    std::optional<std::string> bytes;
    if (exists ? (attributes &
                  (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0
               : GetLastError() == ERROR_FILE_NOT_FOUND) {
        std::string current;
        bool writable = true;
        const ReadResult read = exists ? readWide(target, current, writable) : ReadResult::Missing;
        if (read != ReadResult::Unusable && writable) {
            bytes = change(read, current);
        }
    }
    bool complete = bytes && writeAll(file.get(), *bytes) && FlushFileBuffers(file.get());
    if (complete && exists) {
        // Hidden or archive marks of the old file carry over to the new one.
        FILE_BASIC_INFO basic{};
        basic.FileAttributes = attributes & ~DWORD(FILE_ATTRIBUTE_NORMAL);
        SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic);
    }
    if (complete) {
        reach(SaveStep::Written);
    }
    // Renamed only while the name holds this save's file, whole. A game reading the file this
    // moment (for a moment only) keeps it from being replaced.
    complete = complete && namesFile(file.get(), tempName, bytes->size());
    while (complete && !renameThrough(file.get(), target)) {
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) ||
            GetTickCount64() >= deadline + lockWaitMs) {
            complete = false;
        }
        Sleep(1);
    }
    // Removed through the handle only while the name stands for it: under Wine that removes
    // whatever the name holds.
    if (!complete && namesFile(file.get(), tempName)) {
        deleteThrough(file.get());
    }
    file.close();
    return complete;
}

void setSaveStepHook(SaveStepHook hook) {
    saveStepHook = hook;
}

bool saveFile(const std::string& fileName, std::string_view bytes) {
    return updateFile(fileName, [bytes](ReadResult, std::string_view) {
        return std::optional<std::string>(bytes);
    });
}

ReadResult readFile(const std::string& fileName, std::string& bytes, bool& writable) {
    return readWide(widen(fileName), bytes, writable);
}

namespace {

ReadResult readWide(const std::wstring& name, std::string& bytes, bool& writable) {
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = INVALID_HANDLE_VALUE;
    // A save that has just renamed its new file into place holds it for a moment, until it
    // lets go of it; only a file that keeps refusing us is not to be read.
    const ULONGLONG until = GetTickCount64() + 100;
    for (bool again = !name.empty(); again;) {
        writable = true;
        handle = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            writable = false;
            handle = CreateFileW(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        }
        again = handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION &&
                GetTickCount64() < until;
        if (again) {
            Sleep(1);
        }
    }
    if (name.empty()) {
        writable = true;
    }
    Handle file(handle);
    if (!file.valid()) {
        const DWORD error = GetLastError();
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return missing && !name.empty() ? ReadResult::Missing : ReadResult::Unusable;
    }
    // A device or a pipe under the file's name must not stall the game.
    LARGE_INTEGER size{};
    if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > maxFileSize) {
        return ReadResult::Unusable;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return ReadResult::Unusable;
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        writable = false;
    }
    bytes.resize(std::size_t(size.QuadPart));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + filled, DWORD(bytes.size() - filled), &got,
                      nullptr)) {
            return ReadResult::Unusable;
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    bytes.resize(filled);
    return ReadResult::Read;
}

}  // namespace

}  // namespace quintaro
