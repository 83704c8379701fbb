#include "settings/SafeFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <optional>
#include <string>

namespace quintaro {

namespace {

// A settings or language file is a few hundred bytes. Anything beyond this is not one of
// ours: it is neither read nor ever replaced, so a stray huge file can't be lost through us.
constexpr off_t maxFileSize = 16 * 1024 * 1024;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a chain of symbolic links ends at (which need not exist yet), so that writing
// replaces the target and the link stays a link. Empty for a loop of links.
std::string followLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::string target(PATH_MAX, '\0');
        const ssize_t length = readlink(path.c_str(), target.data(), target.size());
        if (length <= 0 || std::size_t(length) >= target.size()) {
            return {};
        }
        target.resize(std::size_t(length));
        path = target[0] == '/' ? target : folderOf(path) + "/" + target;
    }
    return {};
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(std::size_t(written));
    }
    return true;
}

// Gives the new file the owner and permissions of the one it replaces; a new file keeps the
// permissions it was created with (0666 less the umask).
void copyAttributes(int fd, const struct stat* old) {
    if (old == nullptr) {
        return;
    }
    // Only root may change the owner; anybody may keep the group when they belong to it.
    if (fchown(fd, old->st_uid, old->st_gid) != 0 && fchown(fd, uid_t(-1), old->st_gid) != 0) {
        // The file is then owned by whoever saved it, as any editor would leave it.
    }
    fchmod(fd, old->st_mode & 07777);
}

// The content written and flushed to disk: false when anything failed.
bool fillAndSync(int fd, std::string_view bytes, const struct stat* old) {
    copyAttributes(fd, old);
    return writeAll(fd, bytes) && fsync(fd) == 0;
}

// How long a save waits for another game's save in the same folder, which takes
// milliseconds. A holder that never lets go (a stopped process) makes this save give up
// rather than freeze the game.
constexpr auto lockWait = std::chrono::seconds(1);
// How long a temporary file we may not even open is waited for before it is passed by: it
// is another user's, either a save at work (gone within milliseconds) or a leftover of
// theirs, and is never removed.
constexpr auto strangerWait = std::chrono::milliseconds(100);
using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

SaveStepHook saveStepHook = nullptr;
void reach(SaveStep step) {
    if (saveStepHook != nullptr) {
        saveStepHook(step);
    }
}

// The temporary file a save of `name` uses, beside it. Every save uses the first of these
// names that it can have, so games meet at the same lock. Only when something that can't be
// removed, or another user's file that can't be looked into, stands under a name does a save
// move on to the next.
constexpr int temporaryNames = 8;
std::string temporaryName(const std::string& folder, const std::string& name, int index) {
    const std::string suffix = index == 0 ? ".tmp" : "." + std::to_string(index) + ".tmp";
    return folder + "/." + name + suffix;
}

bool locksUnsupported() {
    return errno == ENOLCK || errno == EINVAL || errno == EOPNOTSUPP || errno == ENOSYS;
}

// Waits for the lock on a temporary file. A file system without locks is written without
// one. `met` is told once when another save holds it.
bool lockTemporary(int fd, Deadline deadline, bool& met) {
    for (;;) {
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 || locksUnsupported()) {
            return true;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
        if (!met) {
            met = true;
            reach(SaveStep::MetOtherSave);
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        usleep(500);
    }
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still stands for the file the descriptor holds.
bool stillNamed(int fd, const std::string& name, struct stat* held = nullptr) {
    struct stat mine {};
    struct stat named {};
    const bool same =
        fstat(fd, &mine) == 0 && lstat(name.c_str(), &named) == 0 && sameFile(mine, named);
    if (held != nullptr) {
        *held = mine;
    }
    return same;
}

// Removes whatever stands under one of our names without opening it: a link goes, never what
// it points at; a folder goes only when empty.
bool removeEntry(const std::string& name) {
    if (unlink(name.c_str()) == 0 || errno == ENOENT) {
        return true;
    }
    return (errno == EISDIR || errno == EPERM) && rmdir(name.c_str()) == 0;
}

// Opens a plain file found under one of our names only to take its lock: read-only, never
// followed, never written.
int openFound(const std::string& name) {
    return ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
}

enum class Take { Taken, Blocked, Failed };

// Creates the temporary file afresh, with the permissions the file it replaces has, and
// locks it. The lock belongs to the file, not to its name: a file found under the name is
// either a leftover of a killed save (nobody holds its lock) or another save's, which renames
// it away before it lets go of the lock. So the lock is taken on what is found, and only
// when it is ours and the name still stands for that file is it a leftover, removed and
// replaced by a new file. A file we may not open is another user's: waited for, then passed
// by, never removed. Anything else (a link, a pipe, a device, a folder, a second name of a
// file elsewhere) is removed unopened. Blocked: something we may not remove holds the name.
Take createTemporary(const std::string& tempName, std::optional<mode_t> mode, Deadline deadline,
                     bool& met, int& fd) {
    std::optional<Deadline> strangerSince;
    for (;;) {
        if (Clock::now() >= deadline) {
            return Take::Failed;
        }
        fd = ::open(tempName.c_str(),
                    O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY,
                    mode.value_or(0666));
        const bool fresh = fd >= 0;
        if (fresh && mode) {
            // The umask may have narrowed what open gave it; another user's save that finds
            // it meanwhile may not open it and waits. A new file follows the umask.
            fchmod(fd, *mode);
        } else if (!fresh) {
            if (errno != EEXIST) {
                return Take::Failed;  // the folder takes no new files
            }
            struct stat found {};
            if (lstat(tempName.c_str(), &found) != 0) {
                if (errno == ENOENT) {
                    continue;  // gone meanwhile
                }
                return Take::Failed;
            }
            if (!S_ISREG(found.st_mode) || found.st_nlink != 1) {
                if (removeEntry(tempName)) {
                    continue;
                }
                return Take::Blocked;
            }
            fd = openFound(tempName);
            if (fd < 0) {
                if (errno == ENOENT) {
                    continue;
                }
                const Deadline now = Clock::now();
                if (!strangerSince) {
                    strangerSince = now;
                }
                if (now - *strangerSince >= strangerWait) {
                    return Take::Blocked;
                }
                usleep(500);
                continue;
            }
        }
        if (!lockTemporary(fd, deadline, met)) {
            close(fd);
            return Take::Failed;
        }
        struct stat held {};
        const bool named = stillNamed(fd, tempName, &held);
        if (named && fresh && S_ISREG(held.st_mode)) {
            return Take::Taken;
        }
        // What we hold the lock of and is still named is a leftover; what is not named any
        // more was renamed away by its save, or removed as a leftover by another.
        if (named && unlink(tempName.c_str()) != 0) {
            close(fd);
            return Take::Blocked;
        }
        close(fd);
    }
}

// Removes leftovers of killed saves under every temporary name: plain files whose lock is
// free and that their name still stands for, and what is no plain file at all. A file that is
// locked, or that we may not open, stays. Done before a save takes its own, so that a kill
// at any moment leaves at most that one behind.
void clearLeftovers(const std::string& folder, const std::string& name) {
    for (int index = 0; index < temporaryNames; ++index) {
        const std::string tempName = temporaryName(folder, name, index);
        struct stat found {};
        if (lstat(tempName.c_str(), &found) != 0) {
            continue;
        }
        if (!S_ISREG(found.st_mode) || found.st_nlink != 1) {
            removeEntry(tempName);
            continue;
        }
        const int fd = openFound(tempName);
        if (fd < 0) {
            continue;
        }
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, tempName)) {
            unlink(tempName.c_str());
        }
        close(fd);
    }
}

// The first of the temporary names that can be had, created and locked.
bool takeTemporary(const std::string& folder, const std::string& name, std::optional<mode_t> mode,
                   Deadline deadline, int& fd, std::string& tempName) {
    clearLeftovers(folder, name);
    bool met = false;
    for (int index = 0; index < temporaryNames; ++index) {
        tempName = temporaryName(folder, name, index);
        switch (createTemporary(tempName, mode, deadline, met, fd)) {
            case Take::Taken:
                return true;
            case Take::Blocked:
                break;
            case Take::Failed:
                return false;
        }
    }
    return false;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Whether the temporary name still stands for the file this save wrote, whole: only then may
// it be renamed into place.
bool holdsWhole(int fd, const std::string& tempName, std::size_t length) {
    struct stat held {};
    struct stat named {};
    return fstat(fd, &held) == 0 && lstat(tempName.c_str(), &named) == 0 && sameFile(held, named) &&
           S_ISREG(named.st_mode) && named.st_nlink == 1 && held.st_size == off_t(length) &&
           named.st_size == off_t(length);
}

}  // namespace

void setSaveStepHook(SaveStepHook hook) {
    saveStepHook = hook;
}

// Replaces the file with the new bytes so that a crash or a power loss at any moment leaves
// either the old or the new file, never a cut one: the new content goes to a temporary file
// in the same folder, reaches the disk, and is then renamed over the old file. The temporary
// file is locked from before the old content is read until it has its final name.
bool updateFile(const std::string& fileName, const FileChange& change) {
    const std::string target = followLinks(fileName);
    if (target.empty()) {
        return false;
    }
    const std::string folder = folderOf(target);
    struct stat before {};
    std::optional<mode_t> mode;
    if (lstat(target.c_str(), &before) == 0 && S_ISREG(before.st_mode)) {
        mode = before.st_mode & 0777;
    }
    int fd = -1;
    std::string tempName;
    if (!takeTemporary(folder, nameOf(target), mode, Clock::now() + lockWait, fd, tempName)) {
        // Also when the folder takes no new files: the file is never rewritten in place,
        // since a kill in the middle of that would leave it cut. The change is lost, as for
        // a file that can't be written.
        return false;
    }
    reach(SaveStep::TemporaryTaken);
    // The file as it is now that no other save can run.
    struct stat old {};
    const bool exists = lstat(target.c_str(), &old) == 0;
    std::optional<std::string> bytes;
    // A file marked read-only by its owner stays untouched, even for root.
    if (exists ? S_ISREG(old.st_mode) && (old.st_mode & 0222) != 0 : errno == ENOENT) {
        std::string current;
        bool writable = true;
        const ReadResult read = exists ? readFile(target, current, writable) : ReadResult::Missing;
        if (read != ReadResult::Unusable && writable) {
            bytes = change(read, current);
        }
    }
    const bool complete = bytes && fillAndSync(fd, *bytes, exists ? &old : nullptr);
    if (complete) {
        reach(SaveStep::Written);
    }
    // Renamed only while the name holds this save's file, whole. In a folder where only
    // owners may replace files, another user's file refuses the rename: the save is lost.
    if (!complete || !holdsWhole(fd, tempName, bytes->size()) ||
        rename(tempName.c_str(), target.c_str()) != 0) {
        if (stillNamed(fd, tempName)) {
            unlink(tempName.c_str());
        }
        close(fd);
        return false;
    }
    close(fd);
    syncFolder(folder);
    return true;
}

bool saveFile(const std::string& fileName, std::string_view bytes) {
    return updateFile(fileName, [bytes](ReadResult, std::string_view) {
        return std::optional<std::string>(bytes);
    });
}

ReadResult readFile(const std::string& fileName, std::string& bytes, bool& writable) {
    // O_NONBLOCK: a pipe under the file's name must not stall the game.
    const int flags = O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    writable = true;
    int fd = ::open(fileName.c_str(), O_RDWR | flags);
    if (fd < 0) {
        writable = false;
        fd = ::open(fileName.c_str(), O_RDONLY | flags);
    }
    if (fd < 0) {
        return errno == ENOENT && !fileName.empty() ? ReadResult::Missing : ReadResult::Unusable;
    }
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxFileSize) {
        close(fd);
        return ReadResult::Unusable;
    }
    if ((info.st_mode & 0222) == 0) {
        writable = false;
    }
    // The file as it was at fstat: reading stops at that size, so a file that grows meanwhile
    // costs no extra read (language files are read for every text the game shows).
    bytes.resize(std::size_t(info.st_size));
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            close(fd);
            return ReadResult::Unusable;
        }
        if (got == 0) {
            break;
        }
        filled += std::size_t(got);
    }
    close(fd);
    bytes.resize(filled);
    return ReadResult::Read;
}

}  // namespace quintaro
