#include <gtest/gtest.h>

#include <string>

#include "settings/KeyValueFile.h"
#include "settings/MemoryFiles.h"

namespace quintaro {
namespace {

const std::string bom = "\xEF\xBB\xBF\r\n";

// One tab's saves, stored in the site's storage as the page does it: every queued change
// applied to what is stored at that moment.
bool storeQueued(std::string& stored, bool storedMissing = false) {
    std::string merged;
    if (!mergeQueuedChanges("settings.ini", storedMissing ? ReadResult::Missing : ReadResult::Read,
                            stored, merged)) {
        return false;
    }
    dropQueuedChanges("settings.ini", queuedChanges("settings.ini"), merged);
    stored = merged;
    return true;
}

void applyOptions() {
    KeyValueFile file;
    file.open("settings.ini");
    file.writeText("delay", "3000");
    file.writeText("strongerCPU", "1");
    file.close();
}

TEST(MemoryFiles, SavesReachTheStoreAsTheDesktopWritesTheFileAndKeepAnotherTabsKeys) {
    removeMemoryFile("settings.ini");
    std::size_t told = 0;
    setSaveListener([&](const std::string& name, std::size_t queued) {
        EXPECT_EQ(name, "settings.ini");
        told = queued;
    });
    applyOptions();
    writeOneText("settings.ini", "lang", "de");
    EXPECT_EQ(told, 2u);
    EXPECT_EQ(readOneText("settings.ini", "lang", "en"), "de");  // in memory at once

    std::string stored;
    ASSERT_TRUE(storeQueued(stored, true));
    EXPECT_EQ(stored, bom + "delay = 3000\r\nstrongerCPU = 1\r\nlang = de\r\n");
    EXPECT_EQ(queuedChanges("settings.ini"), 0u);
    EXPECT_FALSE(storeQueued(stored));  // nothing left to store

    // Another tab stored its language meanwhile; this tab's options keep it.
    stored = bom + "lang = bg\r\ndelay = 1000\r\n";
    applyOptions();
    ASSERT_TRUE(storeQueued(stored));
    EXPECT_EQ(stored, bom + "lang = bg\r\ndelay = 3000\r\nstrongerCPU = 1\r\n");
    EXPECT_EQ(readOneText("settings.ini", "lang", "en"), "bg");
    setSaveListener(nullptr);
}

TEST(MemoryFiles, ChangesNotStoredStayQueuedAndApplied) {
    removeMemoryFile("settings.ini");
    writeOneText("settings.ini", "lang", "de");
    std::string merged;
    // A store that is not one of ours to replace (too large) takes nothing; the queue stays.
    EXPECT_FALSE(mergeQueuedChanges("settings.ini", ReadResult::Unusable, "", merged));
    EXPECT_EQ(queuedChanges("settings.ini"), 1u);
    applyOptions();
    // The first change stored, the second not yet: memory still shows both.
    ASSERT_TRUE(mergeQueuedChanges("settings.ini", ReadResult::Missing, "", merged));
    dropQueuedChanges("settings.ini", 1, bom + "lang = de\r\n");
    EXPECT_EQ(queuedChanges("settings.ini"), 1u);
    EXPECT_EQ(readOneText("settings.ini", "delay", "0"), "3000");
    EXPECT_EQ(readOneText("settings.ini", "lang", "en"), "de");
    // A foreign value read as a file gives the defaults, and a save still lands in it.
    putMemoryFile("settings.ini", std::string("\xFF\xFE[\0x\0", 6));
    EXPECT_EQ(readOneText("settings.ini", "delay", "0"), "0");
}

}  // namespace
}  // namespace quintaro
