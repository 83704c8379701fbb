// The three language files: their encoding and line ends, and that every text the game looks
// up is there, read through the same key=value component the game uses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "settings/KeyValueFile.h"
#include "tests/assets/AssetTestSupport.h"

namespace quintaro {
namespace {

using testing::kLanguageKeys;

// Opens a copy of the language file, so the committed file is never opened for writing.
class LanguageFileTest : public ::testing::TestWithParam<std::string_view> {
  protected:
    void SetUp() override {
        bytes_ = testing::readBytes(testing::assetPath(GetParam()));
        ASSERT_FALSE(bytes_.empty()) << GetParam() << " is missing or empty";
        const auto copy = temp_.path() / std::string(GetParam());
        std::filesystem::copy_file(testing::assetPath(GetParam()), copy);
        ASSERT_TRUE(file_.open(copy.string()));
    }
    void TearDown() override { file_.close(); }

    std::string text(std::string_view key) const { return file_.readText(key, "\x01missing"); }

    std::string bytes_;
    testing::TempDir temp_;
    KeyValueFile file_;
};

TEST_P(LanguageFileTest, StartsWithTheUtf8ByteOrderMark) {
    // Without the mark the game reads the file as Latin-1 and every non-ASCII letter breaks.
    ASSERT_GE(bytes_.size(), 3u);
    EXPECT_EQ(bytes_.substr(0, 3), "\xEF\xBB\xBF");
}

TEST_P(LanguageFileTest, IsWellFormedUtf8) {
    EXPECT_TRUE(testing::decodeUtf8(bytes_).has_value());
}

TEST_P(LanguageFileTest, EveryLineEndsWithCrLf) {
    ASSERT_GE(bytes_.size(), 2u);
    EXPECT_EQ(bytes_.substr(bytes_.size() - 2), "\r\n") << "the last line is not ended";
    for (std::size_t i = 0; i < bytes_.size(); ++i) {
        if (bytes_[i] == '\n') {
            ASSERT_TRUE(i > 0 && bytes_[i - 1] == '\r') << "bare LF at byte " << i;
        }
        if (bytes_[i] == '\r') {
            ASSERT_TRUE(i + 1 < bytes_.size() && bytes_[i + 1] == '\n') << "bare CR at byte " << i;
        }
    }
}

TEST_P(LanguageFileTest, EveryKeyHasAText) {
    for (std::string_view key : kLanguageKeys) {
        SCOPED_TRACE(key);
        const std::string value = text(key);
        EXPECT_NE(value, "\x01missing") << "key not found";
        EXPECT_FALSE(value.empty());
    }
}

TEST_P(LanguageFileTest, HoldsEachKnownKeyOnceAndNothingElse) {
    // A misspelt key would be silently ignored by the game, and a second copy of a key never
    // read; a group header would hide every key after it.
    std::set<std::string> seen;
    for (const KeyValueFile::Entry& entry : file_.entries()) {
        ASSERT_NE(entry.kind, KeyValueFile::EntryKind::Group) << "[" << entry.key << "]";
        if (entry.kind != KeyValueFile::EntryKind::KeyValue) {
            continue;
        }
        EXPECT_NE(std::find(kLanguageKeys.begin(), kLanguageKeys.end(), entry.key),
                  kLanguageKeys.end())
            << "unknown key " << entry.key;
        std::string folded = entry.key;
        std::transform(folded.begin(), folded.end(), folded.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        EXPECT_TRUE(seen.insert(folded).second) << "key twice: " << entry.key;
    }
    EXPECT_EQ(seen.size(), kLanguageKeys.size());
}

TEST_P(LanguageFileTest, RowLabelsShowTheirPoints) {
    struct Case {
        std::string_view key;
        std::string_view points;  // "" for rows whose label carries no points
    };
    const Case cases[] = {
        {"Nines", ""},      {"Tens", ""},     {"Jacks", ""},       {"Queens", ""},
        {"Kings", ""},      {"Aces", ""},     {"Bonus", "(3)"},    {"Pair", "(1)"},
        {"TwoPair", "(2)"}, {"Trips", "(3)"}, {"Straight", "(4)"}, {"FH", "(4)"},
        {"4K", "(4)"},      {"5K", "(5)"},    {"Total", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const std::string label = text(c.key);
        if (c.points.empty()) {
            EXPECT_EQ(label.find('('), std::string::npos) << label;
        } else {
            ASSERT_GE(label.size(), c.points.size());
            EXPECT_EQ(label.substr(label.size() - c.points.size()), c.points) << label;
        }
    }
    EXPECT_EQ(text("Bonus").rfind("15+ ", 0), 0u) << text("Bonus");
}

TEST_P(LanguageFileTest, HandNamesAreAllDifferent) {
    std::set<std::string> names;
    for (int code = 0; code <= 7; ++code) {
        const std::string name = text("hands" + std::to_string(code));
        EXPECT_TRUE(names.insert(name).second) << "hands" << code << " repeats " << name;
    }
}

TEST_P(LanguageFileTest, AboutItemLeavesTheDotsToTheGame) {
    // The menu item gets "..." appended and the box title " Quintaro".
    const std::string about = text("MenuAbout");
    EXPECT_EQ(about.find("..."), std::string::npos) << about;
    EXPECT_EQ(about.find("\u2026"), std::string::npos) << about;
    EXPECT_EQ(about.find("Quintaro"), std::string::npos) << about;
}

INSTANTIATE_TEST_SUITE_P(AllLanguages, LanguageFileTest,
                         ::testing::ValuesIn(testing::kLanguageFiles),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                             return std::string(info.param.substr(0, 2));
                         });

// --- Across the files --------------------------------------------------------------------

std::string readKey(std::string_view fileName, std::string_view key) {
    testing::TempDir temp;
    const auto copy = temp.path() / std::string(fileName);
    std::filesystem::copy_file(testing::assetPath(fileName), copy);
    KeyValueFile file;
    file.open(copy.string());
    std::string value = file.readText(key, "\x01missing");
    file.close();
    return value;
}

TEST(EnglishFile, RowLabelsAreTheBuiltInDefaults) {
    // Without a language file the card shows these defaults; with en.lang it must look the
    // same.
    struct Case {
        std::string_view key;
        std::string_view label;
    };
    const Case cases[] = {
        {"Nines", "Nines"},           {"Tens", "Tens"},
        {"Jacks", "Jacks"},           {"Queens", "Queens"},
        {"Kings", "Kings"},           {"Aces", "Aces"},
        {"Bonus", "15+ BONUS (3)"},   {"Pair", "Pair (1)"},
        {"TwoPair", "Two Pair (2)"},  {"Trips", "Trips (3)"},
        {"Straight", "Straight (4)"}, {"FH", "Full House (4)"},
        {"4K", "4 of a Kind (4)"},    {"5K", "5 of a Kind (5)"},
        {"Total", "Total"},           {"Title", "Quintaro"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(readKey("en.lang", c.key), c.label) << c.key;
    }
}

// Keys whose text is the same word in English and German are left out; everything else
// must really be translated, not left in English by mistake.
constexpr std::string_view kSameInGerman[] = {"Title", "Bonus", "FH", "hands3"};

TEST(TranslatedFiles, DifferFromEnglish) {
    for (std::string_view file : {std::string_view("de.lang"), std::string_view("bg.lang")}) {
        for (std::string_view key : kLanguageKeys) {
            if (key == "Title" ||
                (file == "de.lang" && std::find(std::begin(kSameInGerman), std::end(kSameInGerman),
                                                key) != std::end(kSameInGerman))) {
                continue;
            }
            EXPECT_NE(readKey(file, key), readKey("en.lang", key)) << file << " " << key;
        }
    }
}

TEST(TranslatedFiles, BulgarianIsWrittenInCyrillic) {
    for (std::string_view key : kLanguageKeys) {
        if (key == "Title") {
            continue;
        }
        const auto decoded = testing::decodeUtf8(readKey("bg.lang", key));
        ASSERT_TRUE(decoded.has_value()) << key;
        const bool cyrillic = std::any_of(decoded->begin(), decoded->end(),
                                          [](char32_t c) { return c >= 0x0400 && c <= 0x04FF; });
        EXPECT_TRUE(cyrillic) << key;
    }
}

}  // namespace
}  // namespace quintaro
