#include "settings/KeyValueFile.h"

#include "settings/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <optional>
#include <string>

namespace quintaro {

namespace {

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
            return false;
        case ReadResult::Read:
            break;
    }
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

namespace {

void applyWrite(std::vector<Entry>& entries, std::string_view key, std::string_view value) {
    const std::size_t found = findKey(entries, key);
    if (found != entries.size()) {
        entries[found].key = key;
        entries[found].value = value;
    } else {
        const auto firstGroup = std::find_if(entries.begin(), entries.end(), [](const Entry& e) {
            return e.kind == EntryKind::Group;
        });
        entries.insert(firstGroup,
                       Entry{EntryKind::KeyValue, std::string(key), std::string(value)});
    }
}

}  // namespace

void KeyValueFile::writeText(std::string_view key, std::string_view value) {
    if (!open_) {
        return;
    }
    key = firstLine(key);
    value = firstLine(value);
    applyWrite(entries_, key, value);
    written_.emplace_back(key, value);
    modified_ = true;
}

void KeyValueFile::close() {
    if (open_ && modified_) {
        // Another game in the same folder may have saved since this file was read: the save
        // applies only this session's writes, in their order, to the file as it is now, so
        // every key it did not write keeps what the other game gave it. Whether the file may
        // be written is decided then too, not from how it looked when it was read (another
        // game may have been replacing it at that moment). Failures stay silent: the
        // settings keep their old content.
        // The change holds its own copy of the writes: where saves are applied again later
        // (the browser's stored copy, settings/MemoryFiles.h) it outlives this file.
        updateFile(fileName_,
                   [written = written_](ReadResult read,
                                        std::string_view bytes) -> std::optional<std::string> {
                       if (read == ReadResult::Unusable) {
                           return std::nullopt;
                       }
                       Mode mode = Mode::Utf8;
                       std::vector<Entry> entries;
                       if (read == ReadResult::Read) {
                           entries = parse(bytes, &mode);
                       }
                       for (const auto& [key, value] : written) {
                           applyWrite(entries, key, value);
                       }
                       return serialize(entries, mode);
                   });
    }
    fileName_.clear();
    entries_.clear();
    written_.clear();
    mode_ = Mode::Utf8;
    open_ = false;
    modified_ = false;
}

std::string readOneText(const std::string& fileName, std::string_view key,
                        std::string_view defaultText) {
    KeyValueFile file;
    file.open(fileName);
    std::string text = file.readText(key, defaultText);
    file.close();
    return text;
}

void writeOneText(const std::string& fileName, std::string_view key, std::string_view value) {
    KeyValueFile file;
    file.open(fileName);
    file.writeText(key, value);
    file.close();
}

}  // namespace quintaro
