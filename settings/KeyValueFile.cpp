#include "settings/KeyValueFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <string>

namespace quintaro {

namespace {

// A settings or language file is a few hundred bytes. Anything beyond this is not one of
// ours: it is neither read nor ever replaced, so a stray huge file can't be lost through us.
constexpr off_t maxFileSize = 16 * 1024 * 1024;

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view lineEnd = "\r\n";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string_view trimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && isBlank(text[i])) {
        ++i;
    }
    return text.substr(i);
}

std::string_view trimRight(std::string_view text) {
    std::size_t n = text.size();
    while (n > 0 && isBlank(text[n - 1])) {
        --n;
    }
    return text.substr(0, n);
}

// A zero byte ends a key or a value for lookups, the way a C string would: a UTF-16 file
// therefore yields no usable key. The bytes after it stay in the entry and are written back
// unchanged, so rewriting such a file adds no loss beyond the normal spacing.
std::string_view untilZero(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// What a lookup compares against: the key up to a zero byte, without the blanks before it.
std::string_view lookupKey(std::string_view key) {
    return trimRight(untilZero(key));
}

// Keys and values are single lines; a line break in a written text would start a new entry
// (or a group header that hides every later key) when the file is read again.
std::string_view firstLine(std::string_view text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i];
        char y = b[i];
        if (x >= 'A' && x <= 'Z') {
            x = char(x - 'A' + 'a');
        }
        if (y >= 'A' && y <= 'Z') {
            y = char(y - 'A' + 'a');
        }
        if (x != y) {
            return false;
        }
    }
    return true;
}

std::string latin1ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text += c;
        } else {
            text += char(0xC0 | (byte >> 6));
            text += char(0x80 | (byte & 0x3F));
        }
    }
    return text;
}

using Entry = KeyValueFile::Entry;
using EntryKind = KeyValueFile::EntryKind;

// One line without its line break; false for a line of nothing but blanks and tabs, which
// counts as a blank line (keeping it would write it back as a meaningless " = ").
bool parseLine(std::string_view line, Entry& entry) {
    line = trimLeft(line);
    if (line.empty()) {
        return false;
    }
    if (line[0] == ';') {
        std::string_view text = line.substr(1);
        if (!text.empty() && text[0] == ' ') {
            text.remove_prefix(1);
        }
        entry.kind = EntryKind::Comment;
        entry.key.assign(text);
    } else if (line[0] == '[') {
        std::string_view name = line.substr(1);
        entry.kind = EntryKind::Group;
        entry.key.assign(name.substr(0, name.find(']')));
    } else {
        const std::size_t equals = line.find('=');
        entry.kind = EntryKind::KeyValue;
        entry.key.assign(trimRight(line.substr(0, equals)));
        if (equals != std::string_view::npos) {
            entry.value.assign(trimLeft(line.substr(equals + 1)));
        }
    }
    return true;
}

// --- Writing the file back ---------------------------------------------------------------

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

enum class ReadResult { Read, Missing, Unusable };

// Reads the whole file. Unusable: it exists but can't be read, is no regular file, or is
// too large; such a file is also never written.
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

}  // namespace

KeyValueFile::~KeyValueFile() {
    close();
}

bool KeyValueFile::open(const std::string& fileName) {
    close();
    fileName_ = fileName;
    open_ = true;
    mode_ = Mode::Utf8;
    std::string bytes;
    bool writable = false;
    switch (readFile(fileName, bytes, writable)) {
        case ReadResult::Missing:
            // A later write creates the file.
            return false;
        case ReadResult::Unusable:
            readOnly_ = true;
            return false;
        case ReadResult::Read:
            break;
    }
    readOnly_ = !writable;
    entries_ = parse(bytes, &mode_);
    return true;
}

std::vector<KeyValueFile::Entry> KeyValueFile::parse(std::string_view bytes, Mode* mode) {
    std::string decoded;
    std::string_view text;
    if (bytes.substr(0, byteOrderMark.size()) == byteOrderMark) {
        text = bytes.substr(byteOrderMark.size());
    } else {
        decoded = latin1ToUtf8(bytes);
        text = decoded;
    }
    if (mode != nullptr) {
        *mode = bytes.empty() ? Mode::Plain : Mode::Utf8;
    }
    std::vector<Entry> entries;
    // Language files are read afresh for every text shown: one allocation for the list.
    entries.reserve(std::size_t(std::count(text.begin(), text.end(), '\n')) + 1);
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (isLineBreak(text[pos])) {
            ++pos;
            continue;
        }
        std::size_t end = pos;
        while (end < text.size() && !isLineBreak(text[end])) {
            ++end;
        }
        if (!parseLine(text.substr(pos, end - pos), entries.emplace_back())) {
            entries.pop_back();
        }
        pos = end;
    }
    return entries;
}

std::string KeyValueFile::serialize(const std::vector<Entry>& entries, Mode mode) {
    std::string body;
    for (const Entry& entry : entries) {
        switch (entry.kind) {
            case EntryKind::Group:
                body += '[';
                body += entry.key;
                body += ']';
                break;
            case EntryKind::Comment:
                body += "; ";
                body += entry.key;
                break;
            case EntryKind::KeyValue:
                body += entry.key;
                body += " = ";
                body += entry.value;
                break;
        }
        body += lineEnd;
    }
    // A file without the mark is read as Latin-1, so the plain form is kept only while the
    // text is pure ASCII; otherwise every letter beyond ASCII would come back garbled.
    const bool ascii = std::all_of(body.begin(), body.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (mode == Mode::Plain && ascii) {
        return body;
    }
    std::string bytes;
    bytes.reserve(byteOrderMark.size() + lineEnd.size() + body.size());
    bytes += byteOrderMark;
    bytes += lineEnd;
    bytes += body;
    return bytes;
}

namespace {

// The index of the first key/value entry with this key before the first group header.
std::size_t findKey(const std::vector<Entry>& entries, std::string_view key) {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries[i];
        if (entry.kind == EntryKind::Group) {
            break;
        }
        if (entry.kind == EntryKind::KeyValue &&
            equalsIgnoringAsciiCase(lookupKey(entry.key), key)) {
            return i;
        }
    }
    return entries.size();
}

}  // namespace

std::string KeyValueFile::readText(std::string_view key, std::string_view defaultText) const {
    if (!open_) {
        return std::string(defaultText);
    }
    const std::size_t found = findKey(entries_, key);
    if (found == entries_.size()) {
        return std::string(defaultText);
    }
    return std::string(trimRight(trimLeft(untilZero(entries_[found].value))));
}

void KeyValueFile::writeText(std::string_view key, std::string_view value) {
    if (!open_) {
        return;
    }
    key = firstLine(key);
    value = firstLine(value);
    const std::size_t found = findKey(entries_, key);
    if (found != entries_.size()) {
        entries_[found].key = key;
        entries_[found].value = value;
    } else {
        const auto firstGroup = std::find_if(entries_.begin(), entries_.end(), [](const Entry& e) {
            return e.kind == EntryKind::Group;
        });
        entries_.insert(firstGroup,
                        Entry{EntryKind::KeyValue, std::string(key), std::string(value)});
    }
    modified_ = true;
}

void KeyValueFile::close() {
    if (open_ && modified_ && !readOnly_) {
        // Failures stay silent: the settings keep their old content.
        saveFile(fileName_, serialize(entries_, mode_));
    }
    fileName_.clear();
    entries_.clear();
    mode_ = Mode::Utf8;
    open_ = false;
    modified_ = false;
    readOnly_ = false;
}

int textToNumber(std::string_view text) {
    text = trimLeft(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // The sign comes before the base prefix: "-$10" is -16, while "$-10" has no digits.
    int base = 10;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == '%') {
        base = 2;
        text.remove_prefix(1);
    }
    const std::int64_t limit = negative ? -std::int64_t(INT_MIN) : std::int64_t(INT_MAX);
    std::int64_t magnitude = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0 || digit >= base) {
            break;
        }
        // Saturates: the magnitude never grows past the limit, so it can't overflow.
        magnitude = std::min(magnitude * base + digit, limit);
    }
    return int(negative ? -magnitude : magnitude);
}

std::string numberToText(int value) {
    return std::to_string(value);
}

}  // namespace quintaro
