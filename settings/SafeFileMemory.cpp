#include "settings/MemoryFiles.h"
#include "settings/SafeFile.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>
#include <vector>

namespace quintaro {

namespace {

// As on the desktop, anything larger is not one of our files: neither read nor replaced.
constexpr std::size_t maxFileSize = 16 * 1024 * 1024;

struct MemoryFile {
    std::optional<std::string> bytes;  // nothing: missing
    std::vector<FileChange> queued;
};

std::map<std::string, MemoryFile>& files() {
    static std::map<std::string, MemoryFile> all;
    return all;
}

SaveListener& saveListener() {
    static SaveListener listener;
    return listener;
}

}  // namespace

void putMemoryFile(const std::string& fileName, std::string_view bytes) {
    files()[fileName].bytes = std::string(bytes);
}

void removeMemoryFile(const std::string& fileName) {
    files()[fileName].bytes.reset();
}

void setSaveListener(SaveListener listener) {
    saveListener() = std::move(listener);
}

ReadResult readFile(const std::string& fileName, std::string& bytes, bool& writable) {
    bytes.clear();
    writable = false;
    const auto found = files().find(fileName);
    if (found == files().end() || !found->second.bytes) {
        writable = !fileName.empty();
        return fileName.empty() ? ReadResult::Unusable : ReadResult::Missing;
    }
    if (found->second.bytes->size() > maxFileSize) {
        return ReadResult::Unusable;
    }
    bytes = *found->second.bytes;
    writable = true;
    return ReadResult::Read;
}

bool updateFile(const std::string& fileName, const FileChange& change) {
    if (fileName.empty()) {
        return false;
    }
    std::string bytes;
    bool writable = false;
    const ReadResult read = readFile(fileName, bytes, writable);
    std::optional<std::string> changed = change(read, bytes);
    if (!changed || !writable) {
        return false;
    }
    MemoryFile& file = files()[fileName];
    file.bytes = std::move(changed);
    file.queued.push_back(change);
    if (saveListener()) {
        saveListener()(fileName, file.queued.size());
    }
    return true;
}

bool saveFile(const std::string& fileName, std::string_view bytes) {
    return updateFile(fileName, [content = std::string(bytes)](ReadResult, std::string_view) {
        return std::optional<std::string>(content);
    });
}

bool mergeQueuedChanges(const std::string& fileName, ReadResult stored, std::string_view bytes,
                        std::string& merged) {
    const auto found = files().find(fileName);
    if (found == files().end() || found->second.queued.empty() || stored == ReadResult::Unusable ||
        bytes.size() > maxFileSize) {
        return false;
    }
    ReadResult read = stored;
    merged.assign(bytes);
    for (const FileChange& change : found->second.queued) {
        std::optional<std::string> next = change(read, merged);
        if (next) {
            merged = std::move(*next);
            read = ReadResult::Read;
        }
    }
    return read == ReadResult::Read;
}

void dropQueuedChanges(const std::string& fileName, std::size_t count, std::string_view stored) {
    MemoryFile& file = files()[fileName];
    count = std::min(count, file.queued.size());
    file.queued.erase(file.queued.begin(), file.queued.begin() + std::ptrdiff_t(count));
    // What is still queued stays applied in memory, over what was stored.
    std::string bytes(stored);
    ReadResult read = ReadResult::Read;
    for (const FileChange& change : file.queued) {
        if (std::optional<std::string> next = change(read, bytes)) {
            bytes = std::move(*next);
        }
    }
    file.bytes = std::move(bytes);
}

std::size_t queuedChanges(const std::string& fileName) {
    const auto found = files().find(fileName);
    return found == files().end() ? 0 : found->second.queued.size();
}

}  // namespace quintaro
