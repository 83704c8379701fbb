#pragma once
// The key=value file component behind settings.ini and the language files.
//
// Callers open a file, read or write keys, and close it again before they return to the
// event loop, so at most one such file is open at a time. Keys, defaults and values are
// UTF-8 strings; the Qt side converts at its edge.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quintaro {

class KeyValueFile {
  public:
    enum class EntryKind { Group, Comment, KeyValue };
    struct Entry {
        EntryKind kind = EntryKind::KeyValue;
        std::string key;    // group name, comment text, or key
        std::string value;  // value of a key/value entry, untrimmed at its end
        bool operator==(const Entry&) const = default;
    };
    // Utf8: a file that was missing, or had content (with or without a byte-order mark).
    // Plain: a file that existed and was empty; it is written back without the mark.
    enum class Mode { Utf8, Plain };

    KeyValueFile() = default;
    ~KeyValueFile();
    KeyValueFile(const KeyValueFile&) = delete;
    KeyValueFile& operator=(const KeyValueFile&) = delete;

    // Closes the file still open (writing it back when modified), then opens and parses
    // fileName. A missing file is not an error: reads give their defaults and a later
    // write creates it. Returns true when the file exists and could be read.
    bool open(const std::string& fileName);
    // The value of the first matching key before the first group header, blanks and tabs
    // trimmed at both ends; defaultText when no file is open or the key is absent.
    std::string readText(std::string_view key, std::string_view defaultText) const;
    // Replaces the value of the key (rewriting the key in the letter case given) or adds it
    // after the last entry before the first group header. Does nothing when no file is open.
    void writeText(std::string_view key, std::string_view value);
    // Writes the file back when modified, then forgets all entries. The write goes to the
    // file as it is at that moment, read again under the lock every save takes: only the
    // keys written since open change, so another game's save in between is kept.
    void close();

    bool isOpen() const { return open_; }
    bool isModified() const { return modified_; }
    const std::vector<Entry>& entries() const { return entries_; }
    Mode mode() const { return mode_; }

    // The file's bytes decoded (byte-order mark or Latin-1) and split into entries.
    static std::vector<Entry> parse(std::string_view bytes, Mode* mode = nullptr);
    // The bytes that close() writes for these entries.
    static std::string serialize(const std::vector<Entry>& entries, Mode mode);

  private:
    std::string fileName_;
    std::vector<Entry> entries_;
    // Every write since open, in order: what close() applies to the file as it is then.
    std::vector<std::pair<std::string, std::string>> written_;
    Mode mode_ = Mode::Utf8;
    bool open_ = false;
    bool modified_ = false;
};

// Opens the file, reads one key with its default and closes the file again: the way to read
// a single text, so that no file stays open while the game waits for the player.
std::string readOneText(const std::string& fileName, std::string_view key,
                        std::string_view defaultText);

// Opens the file, writes one key and closes it, which saves the file when it changed.
void writeOneText(const std::string& fileName, std::string_view key, std::string_view value);

// Lenient text-to-number conversion: leading blanks and tabs, one optional sign, then
// decimal digits up to the first non-digit; "$" introduces hexadecimal digits, "%" binary
// ones. A text without digits gives 0; values beyond the int range saturate at its limits.
int textToNumber(std::string_view text);
// Plain decimal with a leading "-" for negative values.
std::string numberToText(int value);

}  // namespace quintaro
