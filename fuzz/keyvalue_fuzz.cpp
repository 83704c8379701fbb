// Any bytes as a key=value file: parsing never fails, writing the entries back and parsing
// them again gives the same entries, and reads and writes through an open file keep to the
// lookup rules. Then the same file is saved for real: as a writable file, behind a symbolic
// link or missing, and the bytes on disk must be exactly what the writes produce, with no
// temporary file left beside them.
//
// The round trip is exact on entries. What writing legitimately normalises (blanks around
// "=", the blank after ";", blank lines, a missing "]", Latin-1 turned into UTF-8) is already
// gone from the parsed entries, so it can't show up as a difference.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/KeyValueFile.h"

namespace {

using quintaro::KeyValueFile;
using Entry = KeyValueFile::Entry;
using Kind = KeyValueFile::EntryKind;

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "keyvalue_fuzz: %s\n", what);
        std::abort();
    }
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The key a lookup sees: up to a zero byte, without trailing blanks.
std::string lookupKey(const std::string& key) {
    std::string text = key.substr(0, key.find('\0'));
    while (!text.empty() && isBlank(text.back())) {
        text.pop_back();
    }
    return text;
}

std::string lower(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
    }
    return text;
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

// Writes the entries and parses them again: the same entries come back. Writing those once
// more gives the same bytes, except that a file that was empty when read gains the
// byte-order mark once it has content and is read again.
void checkRoundTrip(const std::vector<Entry>& entries, KeyValueFile::Mode mode) {
    const std::string bytes = KeyValueFile::serialize(entries, mode);
    KeyValueFile::Mode modeAgain = KeyValueFile::Mode::Plain;
    const std::vector<Entry> again = KeyValueFile::parse(bytes, &modeAgain);
    check(again == entries, "entries changed by writing and reading again");
    const std::string expected =
        modeAgain == mode ? bytes : KeyValueFile::serialize(entries, KeyValueFile::Mode::Utf8);
    check(KeyValueFile::serialize(again, modeAgain) == expected, "second write differs");
}

// A private folder for the file the open/read/write checks go through, in memory where
// the system offers one; it is removed when the fuzzer ends.
std::string scratchFolder;
std::string scratchName;

std::string scratchPath(const char* name) {
    return scratchFolder + "/" + name;
}

void removeScratch() {
    unlink(scratchName.c_str());
    unlink(scratchPath("target.ini").c_str());
    unlink(scratchPath(".target.ini.tmp").c_str());
    unlink(scratchPath(".settings.ini.tmp").c_str());
    rmdir(scratchFolder.c_str());
}

const std::string& scratchFile() {
    if (scratchName.empty()) {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/keyvalue_fuzz.XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr) {
                scratchFolder = pattern;
                break;
            }
        }
        check(!scratchFolder.empty(), "no scratch folder");
        scratchName = scratchFolder + "/settings.ini";
        std::atexit(removeScratch);
    }
    return scratchName;
}

// Writes the bytes as a file of the given permissions (0444: close() never rewrites it).
void putFile(std::string_view bytes, const std::string& name = scratchFile(),
             mode_t permissions = 0444) {
    unlink(name.c_str());
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, permissions);
    check(fd >= 0, "cannot create the scratch file");
    check(write(fd, bytes.data(), bytes.size()) == ssize_t(bytes.size()), "short write");
    close(fd);
}

void checkReadsAndWrites(std::string_view bytes, const std::vector<Entry>& parsed,
                         KeyValueFile::Mode mode) {
    putFile(bytes);
    KeyValueFile file;
    check(file.open(scratchFile()), "a small file could not be read");
    check(file.entries() == parsed && file.mode() == mode, "open parses differently");

    // A key before the first header reads as its first occurrence there, up to a zero byte
    // and trimmed. The first and the last few keys cover every case; checking all of them
    // would only slow the fuzzer down.
    std::vector<std::size_t> keyEntries;
    for (std::size_t i = 0; i < parsed.size() && parsed[i].kind != Kind::Group; ++i) {
        if (parsed[i].kind == Kind::KeyValue) {
            keyEntries.push_back(i);
        }
    }
    if (keyEntries.size() > 13) {
        keyEntries.erase(keyEntries.begin() + 8, keyEntries.end() - 5);
    }
    std::vector<std::string> keys = {"delay", "lang", ""};
    for (std::size_t index : keyEntries) {
        const std::string key = lookupKey(parsed[index].key);
        keys.push_back(key);
        std::size_t first = 0;
        while (parsed[first].kind != Kind::KeyValue ||
               lower(lookupKey(parsed[first].key)) != lower(key)) {
            ++first;
        }
        const std::string& value = parsed[first].value;
        check(file.readText(key, "\x01") == trimmed(value.substr(0, value.find('\0'))),
              "a key reads other than its first occurrence");
    }

    // Writing a key makes it read back as written and changes no other key.
    std::vector<std::string> expected;
    for (const std::string& key : keys) {
        expected.push_back(file.readText(key, "\x01"));
    }
    const std::string values[] = {"1000", "x y  ", ""};
    for (std::size_t round = 0; round < keys.size(); ++round) {
        const std::string& key = keys[round];
        const std::string& value = values[round % 3];
        const std::size_t countBefore = file.entries().size();
        file.writeText(key, value);
        check(file.isModified(), "a write did not mark the file modified");
        check(file.readText(key, "\x01") == trimmed(value), "a written key reads back differently");
        check(file.entries().size() - countBefore <= 1, "a write added more than one entry");
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (lower(keys[i]) == lower(key)) {
                expected[i] = trimmed(value);
            }
        }
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        check(file.readText(keys[i], "\x01") == expected[i], "a write changed another key");
    }
    checkRoundTrip(file.entries(), file.mode());
    // The file is marked read-only: nothing may be written.
    file.close();
    struct stat info {};
    check(stat(scratchFile().c_str(), &info) == 0 && std::size_t(info.st_size) == bytes.size(),
          "a read-only file was rewritten");
}

std::string fileBytes(const std::string& name) {
    std::string bytes;
    const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    check(fd >= 0, "a saved file cannot be opened");
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, std::size_t(got));
    }
    close(fd);
    return bytes;
}

bool exists(const std::string& name) {
    struct stat info {};
    return lstat(name.c_str(), &info) == 0;
}

// Saves through the real file: a few keys written into the bytes land on disk exactly as
// serialize() gives them, and no temporary file is left. The file is plain, behind a link,
// missing, named relative to the current folder, or has a leftover of a killed save beside
// it; or it can't be saved at all (a loop of links, a folder under its name), which must
// change nothing. The layout comes from the size of the input, so every input tries one.
void checkSave(std::string_view bytes, const std::vector<Entry>& parsed) {
    enum class Layout { Plain, Linked, Missing, Relative, Leftover, LeftoverLink, Loop, Folder };
    const Layout layout = Layout(bytes.size() % 8);
    const std::string& path = scratchFile();
    const std::string target = scratchPath("target.ini");
    const std::string temporary = scratchPath(".settings.ini.tmp");
    unlink(path.c_str());
    unlink(target.c_str());
    rmdir(path.c_str());
    // The name the game passes, and the file the bytes end up in.
    std::string name = path;
    std::string written = path;
    bool saves = true;
    switch (layout) {
        case Layout::Plain:
            putFile(bytes, path, 0644);
            break;
        case Layout::Linked:
            putFile(bytes, target, 0644);
            check(symlink("target.ini", path.c_str()) == 0, "cannot make the link");
            written = target;
            break;
        case Layout::Missing:
            break;
        case Layout::Relative:
            putFile(bytes, path, 0644);
            check(chdir(scratchFolder.c_str()) == 0, "cannot enter the scratch folder");
            name = "settings.ini";
            break;
        case Layout::Leftover:
            putFile(bytes, path, 0644);
            putFile(bytes.substr(0, bytes.size() / 2), temporary, 0400);
            break;
        case Layout::LeftoverLink:
            putFile(bytes, path, 0644);
            putFile("keep", target, 0644);
            check(symlink("target.ini", temporary.c_str()) == 0, "cannot make the link");
            break;
        case Layout::Loop:
            check(symlink("settings.ini", path.c_str()) == 0, "cannot make the loop");
            saves = false;
            break;
        case Layout::Folder:
            check(mkdir(path.c_str(), 0755) == 0, "cannot make the folder");
            saves = false;
            break;
    }
    KeyValueFile file;
    const bool opened = file.open(name);
    check(opened == (saves && layout != Layout::Missing), "a file opens when it should not");
    check(!opened || file.entries() == parsed, "a writable file parses differently");
    // A key taken from the input itself, so that replacing as well as adding is saved.
    std::string ownKey;
    for (const Entry& entry : parsed) {
        if (entry.kind == Kind::KeyValue) {
            ownKey = entry.key.substr(0, entry.key.find('\0'));
            break;
        }
    }
    file.writeText(ownKey, "x = y ");
    file.writeText("delay", "3000");
    file.writeText("Lang", "de");
    const std::string expected = KeyValueFile::serialize(file.entries(), file.mode());
    file.close();
    check(!exists(temporary) && !exists(scratchPath(".target.ini.tmp")),
          "a temporary file was left behind");
    if (layout == Layout::LeftoverLink) {
        check(fileBytes(target) == "keep", "a save wrote through a link at the temporary name");
    }
    struct stat info {};
    if (!saves) {
        check(lstat(path.c_str(), &info) == 0 &&
                  (layout == Layout::Loop ? S_ISLNK(info.st_mode) : S_ISDIR(info.st_mode)),
              "something that can't be saved was replaced");
    } else {
        check(fileBytes(written) == expected, "the saved file differs from the written entries");
        check(
            layout != Layout::Linked || (lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)),
            "the link was replaced by a file");
        // Read again, the saved file gives the written values.
        KeyValueFile again;
        check(again.open(name), "the saved file cannot be read");
        check(again.readText("delay", "") == "3000" && again.readText("lang", "") == "de",
              "the saved file reads back differently");
        again.close();
    }
    unlink(path.c_str());
    rmdir(path.c_str());
    unlink(target.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    KeyValueFile::Mode mode = KeyValueFile::Mode::Utf8;
    const std::vector<Entry> entries = KeyValueFile::parse(bytes, &mode);
    check((mode == KeyValueFile::Mode::Plain) == bytes.empty(), "wrong mode");
    for (const Entry& entry : entries) {
        check(entry.key.find_first_of("\r\n") == std::string::npos &&
                  entry.value.find_first_of("\r\n") == std::string::npos,
              "a line break inside an entry");
    }
    checkRoundTrip(entries, mode);
    checkReadsAndWrites(bytes, entries, mode);
    checkSave(bytes, entries);
    return 0;
}
