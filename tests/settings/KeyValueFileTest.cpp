// Reading and writing key=value files: parsing, lookup, the exact bytes written back, and
// files that are not what the game expects.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "settings/KeyValueFile.h"
#include "tests/settings/KeyValueTestSupport.h"

namespace quintaro {
namespace {

using testing::dataFile;
using testing::folderListing;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;
using Entry = KeyValueFile::Entry;
using Kind = KeyValueFile::EntryKind;
using namespace std::string_literals;

const std::string mark = "\xEF\xBB\xBF";

Entry group(std::string name) {
    return {Kind::Group, std::move(name), {}};
}
Entry comment(std::string text) {
    return {Kind::Comment, std::move(text), {}};
}
Entry pair(std::string key, std::string value) {
    return {Kind::KeyValue, std::move(key), std::move(value)};
}

// --- Parsing ------------------------------------------------------------------------------

struct ParseCase {
    std::string text;
    std::vector<Entry> entries;
};

TEST(KeyValueParse, LinesBecomeEntries) {
    const std::vector<ParseCase> cases = {
        {";x", {comment("x")}},
        {"; x", {comment("x")}},
        {";  x", {comment(" x")}},
        {";\tx", {comment("\tx")}},
        {"   ; x  ", {comment("x  ")}},
        {";", {comment("")}},
        {"[general]", {group("general")}},
        {"[general] ; anything after the bracket", {group("general")}},
        {"[open", {group("open")}},
        {"[]", {group("")}},
        {"\t [a]b]", {group("a")}},
        {"delay = 2000", {pair("delay", "2000")}},
        {"Delay=2000", {pair("Delay", "2000")}},
        {"  DELAY\t=\t2000  ", {pair("DELAY", "2000  ")}},
        {"a = b = c", {pair("a", "b = c")}},
        {"flag", {pair("flag", "")}},
        {"flag  \t", {pair("flag", "")}},
        {"name =", {pair("name", "")}},
        {"= value", {pair("", "value")}},
        {"two words = x", {pair("two words", "x")}},
        {" \t ", {}},
        {"\r\n\r\n\n\r", {}},
        {"a = 1\rb = 2\nc = 3\r\n\r\nd = 4",
         {pair("a", "1"), pair("b", "2"), pair("c", "3"), pair("d", "4")}},
        {"x = 1\r\n[g]\r\n;c\r\ny = 2", {pair("x", "1"), group("g"), comment("c"), pair("y", "2")}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(KeyValueFile::parse(c.text), c.entries);
        // The same text behind a byte-order mark reads the same.
        EXPECT_EQ(KeyValueFile::parse(mark + c.text), c.entries);
    }
}

TEST(KeyValueParse, EncodingDecidesTheMode) {
    const struct {
        std::string bytes;
        KeyValueFile::Mode mode;
        std::vector<Entry> entries;
    } cases[] = {
        {"", KeyValueFile::Mode::Plain, {}},
        {mark, KeyValueFile::Mode::Utf8, {}},
        {"\r\n", KeyValueFile::Mode::Utf8, {}},
        {"k = \xE9", KeyValueFile::Mode::Utf8, {pair("k", "\xC3\xA9")}},
        {mark + "k = \xC3\xA9", KeyValueFile::Mode::Utf8, {pair("k", "\xC3\xA9")}},
        // Only a complete mark counts; two of its bytes are Latin-1 letters.
        {"\xEF\xBB", KeyValueFile::Mode::Utf8, {pair("\xC3\xAF\xC2\xBB", "")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.bytes));
        auto mode = c.mode == KeyValueFile::Mode::Plain ? KeyValueFile::Mode::Utf8
                                                        : KeyValueFile::Mode::Plain;
        EXPECT_EQ(KeyValueFile::parse(c.bytes, &mode), c.entries);
        EXPECT_EQ(mode, c.mode);
    }
}

// --- Reading through a file ---------------------------------------------------------------

struct ReadCase {
    const char* what;
    std::string file;
    std::string key;
    std::string expected;  // the default is always "default"
};

TEST(KeyValueRead, LookupRules) {
    const std::vector<ReadCase> cases = {
        {"plain", "delay = 2000", "delay", "2000"},
        {"no blanks", "Delay=2000", "delay", "2000"},
        {"capitals, tabs, blanks", "  DELAY\t=\t2000  \r\n", "delay", "2000"},
        {"caller in capitals", "delay = 2000", "DELAY", "2000"},
        {"value trimmed both ends", "title =  \t Quintaro  Game \t ", "title", "Quintaro  Game"},
        {"value holds =", "a = b = c", "a", "b = c"},
        {"empty value is no default", "name =", "name", ""},
        {"key alone is an empty value", "name", "name", ""},
        {"missing key", "other = 1", "name", "default"},
        {"first of two wins", "delay = 1\r\nDELAY = 2", "delay", "1"},
        {"header first hides all", "[general]\r\ndelay = 5000", "delay", "default"},
        {"key after a header", "lang = de\r\n[general]\r\ndelay = 5000", "delay", "default"},
        {"comment is no key", "; delay = 5", "delay", "default"},
        {"comments are skipped", "; first\r\ndelay = 5", "delay", "5"},
        {"unclosed header still ends", "[general\r\ndelay = 5", "delay", "default"},
        {"blank lines skipped", "\r\n\r\n\n\rdelay = 7\r\n", "delay", "7"},
        {"only ASCII folds", "\xC3\x84rger = 1", "\xC3\xA4rger", "default"},
        {"no prefix match", "delays = 1", "delay", "default"},
        {"inner blanks kept", "two words = 2", "two words", "2"},
    };
    TempFolder folder;
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes("case.ini", mark + c.file);
        KeyValueFile file;
        EXPECT_TRUE(file.open("case.ini"));
        EXPECT_EQ(file.readText(c.key, "default"), c.expected);
    }
}

TEST(KeyValueRead, WithoutAFileEveryReadGivesItsDefault) {
    TempFolder folder;
    KeyValueFile file;
    EXPECT_EQ(file.readText("delay", "0"), "0");  // nothing opened yet
    EXPECT_FALSE(file.open("settings.ini"));
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.readText("lang", "en"), "en");
    file.close();
    EXPECT_FALSE(file.isOpen());
    EXPECT_TRUE(folderListing(folder.path()).empty());
}

struct BadFileCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> reads;  // key, expected ("-" default)
};

TEST(KeyValueRead, BadFilesFallBackQuietly) {
    const std::vector<BadFileCase> cases = {
        {"bad/utf16le.ini", {{"delay", "-"}, {"lang", "-"}}},
        {"bad/utf16be.ini", {{"delay", "-"}, {"lang", "-"}}},
        {"bad/group_first.ini", {{"delay", "-"}, {"lang", "-"}}},
        {"bad/latin1.ini", {{"name", "M\xC3\xBCller"}, {"lang", "de"}}},
        // UTF-8 without the mark: every letter beyond ASCII turns into two.
        {"bad/utf8_without_mark.ini", {{"name", "M\xC3\x83\xC2\xBCller"}, {"lang", "de"}}},
        // A zero byte ends the key and the value.
        {"bad/nul_bytes.ini", {{"delay", "1500"}, {"delayjunk", "-"}, {"lang", "de"}}},
    };
    TempFolder folder;
    for (const BadFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        writeBytes("settings.ini", dataFile(c.name));
        KeyValueFile file;
        EXPECT_TRUE(file.open("settings.ini"));
        for (const auto& [key, expected] : c.reads) {
            EXPECT_EQ(file.readText(key, "-"), expected) << key;
        }
    }
}

// --- Writing: exact bytes -----------------------------------------------------------------

using Session = std::vector<std::pair<std::string, std::string>>;  // writes between open/close

struct WriteCase {
    const char* golden;
    std::optional<std::string> before;  // nullopt: no file
    std::vector<Session> sessions;
};

TEST(KeyValueWrite, BytesMatchGoldenFiles) {
    const Session apply = {{"delay", "3000"}, {"strongerCPU", "1"}};
    const std::vector<WriteCase> cases = {
        {"missing_apply.ini", std::nullopt, {apply}},
        {"empty_apply.ini", ""s, {apply}},
        {"apply_then_language.ini", std::nullopt, {apply, {{"lang", "de"}}}},
        {"apply_then_language.ini", std::nullopt, {apply, {}, {{"lang", "de"}}}},
        {"spacing.ini",
         "Delay=2000\r\n;x\n; y\n;  z\n   ; w\n\tcolour\t=\t red  \r\n",
         {{{"strongerCPU", "1"}}}},
        {"duplicate.ini", "DELAY = 1000\r\ndelay = 2000\r\n", {{{"delay", "3000"}}}},
        {"before_group.ini",
         "lang = en\r\n; sound\r\n[general]\r\ndelay = 5000\r\n",
         {{{"delay", "1000"}}}},
        {"group_first.ini", "[general]\r\ndelay = 5000\r\n", {{{"delay", "1000"}}}},
        {"latin1.ini", dataFile("bad/latin1.ini"), {{{"lang", "bg"}}}},
        {"utf8_without_mark.ini", dataFile("bad/utf8_without_mark.ini"), {{{"lang", "bg"}}}},
        {"nul_bytes.ini", dataFile("bad/nul_bytes.ini"), {{{"strongerCPU", "1"}}}},
        // Text beyond ASCII keeps the mark, or it would read back garbled.
        {"empty_non_ascii.ini", ""s, {{{"name", "M\xC3\xBCller"}}}},
        // A line break can't sneak a second line into the file.
        {"empty_non_ascii.ini", ""s, {{{"name\r\n[x]", "M\xC3\xBCller\n[general]"}}}},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.golden);
        TempFolder folder;
        if (c.before) {
            writeBytes("settings.ini", *c.before);
        }
        for (const Session& session : c.sessions) {
            KeyValueFile file;
            file.open("settings.ini");
            for (const auto& [key, value] : session) {
                file.writeText(key, value);
            }
        }  // the destructor closes and writes
        EXPECT_EQ(readBytes("settings.ini"), dataFile("golden/"s + c.golden));
        EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
    }
}

TEST(KeyValueWrite, WrittenValueReadsBackAfterHeaderFirst) {
    TempFolder folder;
    writeBytes("settings.ini", dataFile("bad/group_first.ini"));
    KeyValueFile file;
    file.open("settings.ini");
    file.writeText("delay", "1000");
    EXPECT_EQ(file.readText("delay", "0"), "1000");
    file.open("settings.ini");  // closes, writes, reads again
    EXPECT_EQ(file.readText("delay", "0"), "1000");
    EXPECT_EQ(file.readText("lang", "en"), "en");
}

TEST(KeyValueWrite, ReadingOnlyLeavesTheFileAlone) {
    TempFolder folder;
    const std::string odd = "  Delay=2000 \n;x\r\r[g\n\n k \n";
    writeBytes("settings.ini", odd);
    struct stat before {};
    stat("settings.ini", &before);
    {
        KeyValueFile file;
        EXPECT_TRUE(file.open("settings.ini"));
        EXPECT_EQ(file.readText("delay", "0"), "2000");
        EXPECT_FALSE(file.isModified());
    }
    struct stat after {};
    stat("settings.ini", &after);
    EXPECT_EQ(readBytes("settings.ini"), odd);
    EXPECT_EQ(after.st_ino, before.st_ino);
}

TEST(KeyValueWrite, OpeningAnotherFileWritesTheFirstBack) {
    TempFolder folder;
    writeBytes("en.lang", "Title = Quintaro\r\n");
    KeyValueFile file;
    file.open("settings.ini");
    file.writeText("lang", "en");
    EXPECT_TRUE(file.open("en.lang"));
    EXPECT_FALSE(file.isModified());
    EXPECT_EQ(file.readText("lang", "-"), "-");  // entries of the first file are gone
    EXPECT_EQ(file.readText("title", "-"), "Quintaro");
    EXPECT_EQ(readBytes("settings.ini"), mark + "\r\nlang = en\r\n");
}

TEST(KeyValueWrite, NothingHappensWithoutAnOpenFile) {
    TempFolder folder;
    KeyValueFile file;
    file.writeText("delay", "1000");
    EXPECT_FALSE(file.isModified());
    file.open("settings.ini");
    file.close();
    file.writeText("delay", "1000");
    file.close();
    EXPECT_TRUE(folderListing(folder.path()).empty());
}

TEST(KeyValueWrite, ExistingKeyStaysInPlace) {
    TempFolder folder;
    KeyValueFile file;
    file.open("settings.ini");
    file.writeText("a", "1");
    file.writeText("b", "2");
    file.writeText("A", "3");
    EXPECT_EQ(file.entries(), (std::vector<Entry>{pair("A", "3"), pair("b", "2")}));
    EXPECT_TRUE(file.isModified());
}

// --- Large and odd files ------------------------------------------------------------------

TEST(KeyValueLimits, LongLinesAreReadAndKept) {
    TempFolder folder;
    const std::string longValue(4 * 1024 * 1024, 'v');
    const std::string longKey(1024 * 1024, 'k');
    const std::string content = mark + "\r\nbig = " + longValue + "\r\n" + longKey + " = x\r\n" +
                                std::string(2 * 1024 * 1024, '\n') + "\r\n";
    writeBytes("settings.ini", content);
    KeyValueFile file;
    ASSERT_TRUE(file.open("settings.ini"));
    EXPECT_EQ(file.readText("big", ""), longValue);
    EXPECT_EQ(file.readText(longKey, ""), "x");
    file.writeText("delay", "1000");
    file.close();
    EXPECT_EQ(readBytes("settings.ini"),
              mark + "\r\nbig = " + longValue + "\r\n" + longKey + " = x\r\ndelay = 1000\r\n");
}

TEST(KeyValueLimits, HugeFileIsNeitherReadNorReplaced) {
    TempFolder folder;
    std::string huge = "delay = 1000\r\n";
    huge.resize(16 * 1024 * 1024 + 1, ';');
    writeBytes("settings.ini", huge);
    KeyValueFile file;
    EXPECT_FALSE(file.open("settings.ini"));
    EXPECT_EQ(file.readText("delay", "0"), "0");
    file.writeText("delay", "2000");
    file.close();
    EXPECT_EQ(readBytes("settings.ini"), huge);
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

TEST(KeyValueLimits, SomethingElseUnderTheNameIsLeftAlone) {
    TempFolder folder;
    std::filesystem::create_directory("dir.ini");
#ifdef _WIN32
    // Windows has no FIFOs in a folder; its device names are the files that never end.
    const std::vector<std::string> others = {"dir.ini", "NUL"};
    const std::vector<std::string> listing = {"dir.ini"};
#else
    ASSERT_EQ(mkfifo("pipe.ini", 0644), 0);
    const std::vector<std::string> others = {"dir.ini", "pipe.ini"};
    const std::vector<std::string> listing = {"dir.ini", "pipe.ini"};
#endif
    for (const std::string& name : others) {
        SCOPED_TRACE(name);
        KeyValueFile file;
        EXPECT_FALSE(file.open(name));  // returns at once, even for a pipe nobody writes to
        EXPECT_EQ(file.readText("delay", "0"), "0");
        file.writeText("delay", "1000");
        file.close();
    }
    EXPECT_TRUE(std::filesystem::is_directory("dir.ini"));
#ifndef _WIN32
    EXPECT_TRUE(std::filesystem::is_fifo("pipe.ini"));
#endif
    EXPECT_EQ(folderListing(folder.path()), listing);
}

}  // namespace
}  // namespace quintaro
