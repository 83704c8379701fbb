// Any bytes as a key=value file: parsing never fails, writing the entries back and parsing
// them again gives the same entries, and reads and writes through an open file keep to the
// lookup rules.
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

void removeScratch() {
    unlink(scratchName.c_str());
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

// Writes the bytes as a file marked read-only, so close() never rewrites it.
void putFile(std::string_view bytes) {
    const std::string& name = scratchFile();
    unlink(name.c_str());
    const int fd = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0444);
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
    return 0;
}
