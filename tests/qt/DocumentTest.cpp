#include "qt/Document.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "tests/media/MediaTestSupport.h"

namespace quintaro {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void makeExecutable(const fs::path& path) {
    fs::permissions(path, fs::perms::owner_all, fs::perm_options::add);
}

// A folder first on PATH holding a stand-in `xdg-open` that only writes down, one line per
// call, how many arguments it had and the first of them.
class DocumentOpener : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath_ = path != nullptr ? path : "";
        fs::create_directory(folder_.path() / "bin");
        record_ = folder_.path() / "opened.txt";
        const fs::path opener = folder_.path() / "bin" / "xdg-open";
        testing::writeBytes(
            opener, "#!/bin/sh\nprintf '%s %s\\n' \"$#\" \"$1\" >> '" + record_.string() + "'\n");
        makeExecutable(opener);
        setenv("PATH", ((folder_.path() / "bin").string() + ":" + savedPath_).c_str(), 1);
        fs::create_directory("game");
        fs::current_path("game");
    }
    void TearDown() override { setenv("PATH", savedPath_.c_str(), 1); }

    // What the opener has written down once it holds at least `lines` lines, or after a few
    // seconds.
    std::string openedAfter(int lines) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        std::string opened;
        while (Clock::now() < deadline) {
            opened = testing::readBytes(record_);
            if (std::count(opened.begin(), opened.end(), '\n') >= lines) {
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return opened;
    }

    testing::TempFolder folder_;
    std::string savedPath_;
    fs::path record_;
};

TEST_F(DocumentOpener, AnExecutableRulesFileIsOpenedNeverRun) {
    const fs::path marker = folder_.path() / "ran.txt";
    testing::writeBytes("rules.txt", "#!/bin/sh\ntouch '" + marker.string() + "'\n");
    makeExecutable("rules.txt");
    openDocument("rules.txt");
    EXPECT_EQ(openedAfter(1), "1 " + (folder_.path() / "game" / "rules.txt").string() + "\n");
    EXPECT_FALSE(fs::exists(marker));
}

// Each case prepares `name` in the game's folder; only existing regular files (also behind
// a link) go to the opener, under their absolute path.
struct DocumentCase {
    const char* label;
    const char* name;
    std::function<void()> prepare;
    bool opened;
};

std::ostream& operator<<(std::ostream& out, const DocumentCase& c) {
    return out << c.label;
}

class DocumentCases : public DocumentOpener, public ::testing::WithParamInterface<DocumentCase> {};

TEST_P(DocumentCases, OnlyExistingRegularFilesAreHandedOn) {
    const DocumentCase& c = GetParam();
    c.prepare();
    testing::writeBytes("sentinel.txt", "");
    openDocument(c.name);
    // The opener starts detached; a later open whose line arrives shows how far it got.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    openDocument("sentinel.txt");
    const std::string game = (folder_.path() / "game").string();
    const std::string sentinel = "1 " + game + "/sentinel.txt\n";
    const std::string opened = openedAfter(c.opened ? 2 : 1);
    if (c.opened) {
        const std::string document = "1 " + game + "/" + c.name + "\n";
        EXPECT_TRUE(opened == document + sentinel || opened == sentinel + document) << opened;
    } else {
        EXPECT_EQ(opened, sentinel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, DocumentCases,
    ::testing::Values(
        DocumentCase{"plain", "rules.txt", [] { testing::writeBytes("rules.txt", "Rules\n"); },
                     true},
        DocumentCase{"spaces", "my rules.txt", [] { testing::writeBytes("my rules.txt", "x"); },
                     true},
        DocumentCase{"link", "rules.txt",
                     [] {
                         testing::writeBytes("real.txt", "Rules\n");
                         fs::create_symlink("real.txt", "rules.txt");
                     },
                     true},
        DocumentCase{"missing", "rules.txt", [] {}, false},
        DocumentCase{"empty_name", "", [] {}, false},
        DocumentCase{"folder", "rules.txt", [] { fs::create_directory("rules.txt"); }, false},
        DocumentCase{"dangling_link", "rules.txt",
                     [] { fs::create_symlink("gone.txt", "rules.txt"); }, false},
        DocumentCase{"fifo", "rules.txt", [] { ASSERT_EQ(mkfifo("rules.txt", 0600), 0); }, false}),
    [](const ::testing::TestParamInfo<DocumentCase>& info) { return info.param.label; });

TEST_F(DocumentOpener, AMissingOpenerIsIgnored) {
    setenv("PATH", (folder_.path() / "game").c_str(), 1);
    testing::writeBytes("rules.txt", "Rules\n");
    openDocument("rules.txt");
    SUCCEED();
}

}  // namespace
}  // namespace quintaro
