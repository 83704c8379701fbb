// The settings read at start-up: defaults without a settings file, values from one, and the
// file never touched by reading.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "state/GameState.h"
#include "tests/settings/KeyValueTestSupport.h"

namespace quintaro {
namespace {

using testing::folderListing;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

TEST(StartupSettings, DefaultsWithoutASettingsFile) {
    TempFolder folder;
    const GameState state = loadGameState();
    EXPECT_EQ(state.delayMs, 0);
    EXPECT_EQ(state.strongerCPU, 0);
    EXPECT_EQ(state.languageCode, "en");
    EXPECT_EQ(state.languageFile, "en.lang");
    for (const std::string& name : state.handNames) {
        EXPECT_EQ(name, "");
    }
    // Start-up never creates the file.
    EXPECT_TRUE(folderListing(folder.path()).empty());
}

TEST(StartupSettings, ValuesFromTheFile) {
    TempFolder folder;
    const std::string content =
        "\xEF\xBB\xBF\r\nlang = de\r\ndelay = 1500\r\nstrongerCPU = 2\r\nhands3 = x\r\n";
    writeBytes("settings.ini", content);
    struct stat before {};
    stat("settings.ini", &before);
    const auto writtenBefore = std::filesystem::last_write_time("settings.ini");

    const GameState state = loadGameState();
    EXPECT_EQ(state.delayMs, 1500);
    EXPECT_EQ(state.strongerCPU, 2);
    EXPECT_EQ(state.languageCode, "de");
    EXPECT_EQ(state.languageFile, "de.lang");
    for (std::size_t i = 0; i < state.handNames.size(); ++i) {
        EXPECT_EQ(state.handNames[i], i == 3 ? "x" : "") << i;
    }

    struct stat after {};
    stat("settings.ini", &after);
    EXPECT_EQ(readBytes("settings.ini"), content);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(std::filesystem::last_write_time("settings.ini"), writtenBefore);
}

TEST(StartupSettings, OddValues) {
    const struct {
        std::string file;
        int delayMs;
        int strongerCPU;
        std::string languageFile;
    } cases[] = {
        {"delay = soon\r\nstrongerCPU = yes", 0, 0, "en.lang"},
        {"delay = 3 s\r\nstrongerCPU = 1 (on)", 3, 1, "en.lang"},
        {"DELAY=7000\r\nLang=xx", 7000, 0, "xx.lang"},
        {"delay =\r\nlang =", 0, 0, ".lang"},  // present but empty: no default
        {"[general]\r\ndelay = 1000\r\nlang = de", 0, 0, "en.lang"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TempFolder folder;
        writeBytes("settings.ini", c.file);
        const GameState state = loadGameState();
        EXPECT_EQ(state.delayMs, c.delayMs);
        EXPECT_EQ(state.strongerCPU, c.strongerCPU);
        EXPECT_EQ(state.languageFile, c.languageFile);
    }
}

}  // namespace
}  // namespace quintaro
