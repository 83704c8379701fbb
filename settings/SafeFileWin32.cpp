#include <windows.h>

#include <string>

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
std::wstring finalPath(const std::wstring& name) {
    Handle file(CreateFileW(name.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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

}  // namespace

// Replaces the file with the new bytes so that a crash or a power loss at any moment leaves
// either the old or the new file, never a cut one: the new content goes to a temporary file
// in the same folder, reaches the disk, and is then renamed over the old file in one step.
// The temporary file always has the same name, so one left by a crash is reused next time.
bool saveFile(const std::string& fileName, std::string_view bytes) {
    const std::wstring name = widen(fileName);
    if (name.empty()) {
        return false;
    }
    const DWORD attributes = GetFileAttributesW(name.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            return false;
        }
    }
    // A file marked read-only stays untouched; so does anything that is not a plain file.
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY |
                                 FILE_ATTRIBUTE_DEVICE)) != 0) {
        return false;
    }
    const std::wstring target = exists ? finalPath(name) : fullPath(name);
    if (target.empty()) {
        return false;
    }
    const std::size_t slash = target.find_last_of(L"\\/");
    if (slash == std::wstring::npos) {
        return false;
    }
    const std::wstring temporary =
        target.substr(0, slash + 1) + L"." + target.substr(slash + 1) + L".tmp";

    // The temporary file is held without sharing while it is written, so another game saving
    // in the same folder waits a moment for it; one that never lets go makes this save fail
    // rather than freeze the game.
    HANDLE handle = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100; ++attempt) {
        handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) {
            break;
        }
        Sleep(20);
    }
    Handle file(handle);
    if (!file.valid()) {
        return false;
    }
    const bool complete = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!file.close() || !complete) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    if (exists) {
        // Hidden or archive marks of the old file carry over to the new one.
        SetFileAttributesW(temporary.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_NORMAL));
    }
    if (!MoveFileExW(temporary.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

ReadResult readFile(const std::string& fileName, std::string& bytes, bool& writable) {
    const std::wstring name = widen(fileName);
    writable = true;
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE handle = name.empty()
                        ? INVALID_HANDLE_VALUE
                        : CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && !name.empty()) {
        writable = false;
        handle = CreateFileW(name.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
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

}  // namespace quintaro
