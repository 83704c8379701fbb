#include "settings/SafeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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
    // Only root may change the owner; for everybody else this fails harmlessly.
    if (fchown(fd, old->st_uid, old->st_gid) != 0) {
        // The file is then owned by whoever saved it, as any editor would leave it.
    }
    fchmod(fd, old->st_mode & 07777);
}

// The content written and flushed to disk: false when anything failed.
bool fillAndSync(int fd, std::string_view bytes, const struct stat* old) {
    copyAttributes(fd, old);
    return writeAll(fd, bytes) && fsync(fd) == 0;
}

enum class TempResult { Ready, CannotCreate, Failed };

// Writes the new content into a fresh file beside the target and names it tempName.
// CannotCreate: the folder refuses new files. Failed: the content could not be written
// completely; nothing is left behind in either case.
TempResult writeTempFile(const std::string& folder, const std::string& name, std::string_view bytes,
                         const struct stat* old, std::string& tempName) {
    static unsigned counter = 0;
    const mode_t createMode = old != nullptr ? 0600 : 0666;
    auto nextName = [&] {
        return folder + "/." + name + ".tmp" + std::to_string(getpid()) + "-" +
               std::to_string(counter++);
    };
#ifdef O_TMPFILE
    // An unnamed file vanishes by itself when the process dies before it is complete; it
    // only gets a name once its content is on disk.
    const int unnamed = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, createMode);
    if (unnamed >= 0) {
        if (!fillAndSync(unnamed, bytes, old)) {
            close(unnamed);
            return TempResult::Failed;
        }
        const std::string handle = "/proc/self/fd/" + std::to_string(unnamed);
        for (int attempt = 0; attempt < 100; ++attempt) {
            tempName = nextName();
            if (linkat(AT_FDCWD, handle.c_str(), AT_FDCWD, tempName.c_str(), AT_SYMLINK_FOLLOW) ==
                0) {
                close(unnamed);
                return TempResult::Ready;
            }
            if (errno != EEXIST) {
                break;
            }
        }
        // No /proc, or the folder refuses links: fall back to a named file.
        close(unnamed);
    }
#endif
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName = nextName();
        const int fd = ::open(tempName.c_str(),
                              O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC | O_NOFOLLOW, createMode);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return errno == EACCES || errno == EPERM ? TempResult::CannotCreate
                                                     : TempResult::Failed;
        }
        const bool complete = fillAndSync(fd, bytes, old);
        if (close(fd) != 0 || !complete) {
            unlink(tempName.c_str());
            return TempResult::Failed;
        }
        return TempResult::Ready;
    }
    return TempResult::Failed;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// The last resort for a writable file in a folder that takes no new files: overwrite it
// where it is. The space is reserved first, so a full disk leaves the old content intact.
bool rewriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return false;
    }
    bool done = bytes.empty() || posix_fallocate(fd, 0, off_t(bytes.size())) == 0;
    done = done && writeAll(fd, bytes) && ftruncate(fd, off_t(bytes.size())) == 0 && fsync(fd) == 0;
    return close(fd) == 0 && done;
}

}  // namespace

// Replaces the file with the new bytes so that a crash or a power loss at any moment leaves
// either the old or the new file, never a cut one: the new content goes to a temporary file
// in the same folder, reaches the disk, and is then renamed over the old file.
bool saveFile(const std::string& fileName, std::string_view bytes) {
    const std::string target = followLinks(fileName);
    if (target.empty()) {
        return false;
    }
    struct stat old {};
    const bool exists = lstat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    // A file marked read-only by its owner stays untouched, even for root.
    if (exists && (!S_ISREG(old.st_mode) || (old.st_mode & 0222) == 0)) {
        return false;
    }
    const std::string folder = folderOf(target);
    std::string tempName;
    switch (writeTempFile(folder, nameOf(target), bytes, exists ? &old : nullptr, tempName)) {
        case TempResult::Ready:
            if (rename(tempName.c_str(), target.c_str()) != 0) {
                unlink(tempName.c_str());
                return false;
            }
            syncFolder(folder);
            return true;
        case TempResult::CannotCreate:
            return exists && rewriteInPlace(target, bytes);
        case TempResult::Failed:
            break;
    }
    return false;
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
