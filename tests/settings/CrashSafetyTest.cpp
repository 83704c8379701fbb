// Writing settings.ini back must never cost the player the file: a crash leaves the old or
// the new content, a read-only file stays as it is, links and permissions survive.

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "settings/KeyValueFile.h"
#include "tests/settings/KeyValueTestSupport.h"

namespace quintaro {
namespace {

using testing::folderListing;
using testing::permissionsOf;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

const std::string mark = "\xEF\xBB\xBF\r\n";

void saveKey(const std::string& fileName, const std::string& key, const std::string& value) {
    KeyValueFile file;
    file.open(fileName);
    file.writeText(key, value);
    file.close();
}

// Runs body in a child process and returns its exit code (-1 when it did not exit).
int runInChild(const std::function<int()>& body) {
    const pid_t child = fork();
    if (child == 0) {
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A child process that saves B, A, B, A, ... for ever and writes one byte to the pipe after
// each finished save.
pid_t startSaving(const std::string& a, const std::string& b, int progress[2]) {
    if (pipe(progress) != 0) {
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) {
        close(progress[0]);
        for (int i = 0;; ++i) {
            saveKey("settings.ini", "data", i % 2 == 0 ? b : a);
            if (write(progress[1], "s", 1) != 1) {
                _exit(1);
            }
        }
    }
    close(progress[1]);
    return child;
}

bool awaitSaves(int fd, int saves) {
    char token = 0;
    for (; saves > 0; --saves) {
        if (read(fd, &token, 1) != 1) {
            return false;
        }
    }
    return true;
}

void stopSaving(pid_t child, int fd) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    close(fd);
}

// What a save may leave beside settings.ini after a kill: its one temporary file.
const std::string temporary = ".settings.ini.tmp";

bool onlyTheFileAndAtMostOneTemporary(const std::vector<std::string>& listing) {
    return listing == std::vector<std::string>{temporary, "settings.ini"} ||
           listing == std::vector<std::string>{"settings.ini"};
}

// Kills a saving process at random moments, again and again, in a folder on disk and in
// one in memory (where a save is so quick that more kills land between its steps).
TEST(CrashSafety, KilledWhileSavingLeavesOldOrNewFileAndAtMostOneTemporary) {
    std::vector<std::filesystem::path> bases = {std::filesystem::temp_directory_path()};
    if (access("/dev/shm", W_OK) == 0) {
        bases.push_back("/dev/shm");
    }
    for (const auto& base : bases) {
        SCOPED_TRACE(base);
        TempFolder folder(TempFolder::Enter::Yes, base);
        const std::string a(256 * 1024, 'a');
        const std::string b(512 * 1024, 'b');
        const std::string bytesA = mark + "data = " + a + "\r\n";
        const std::string bytesB = mark + "data = " + b + "\r\n";
        saveKey("settings.ini", "data", a);
        ASSERT_EQ(readBytes("settings.ini"), bytesA);

        // How long one open-write-close takes here, so the kills spread over a whole one.
        int progress[2];
        pid_t child = startSaving(a, b, progress);
        ASSERT_GT(child, 0);
        ASSERT_TRUE(awaitSaves(progress[0], 2));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(awaitSaves(progress[0], 4));
        const auto cycle = std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - start) /
                           4;
        stopSaving(child, progress[0]);

        std::mt19937 random(20240607);
        std::uniform_int_distribution<long> moment(0, std::max<long>(cycle.count(), 100));
        int seenA = 0;
        int seenB = 0;
        int leftovers = 0;
        for (int kill = 0; kill < 100; ++kill) {
            child = startSaving(a, b, progress);
            ASSERT_GT(child, 0);
            ASSERT_TRUE(awaitSaves(progress[0], 1 + kill % 2)) << "the saving child died";
            std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
            stopSaving(child, progress[0]);

            const std::string now = readBytes("settings.ini");
            ASSERT_TRUE(now == bytesA || now == bytesB)
                << "after kill " << kill << " the file has " << now.size() << " bytes";
            (now == bytesA ? seenA : seenB)++;
            const auto listing = folderListing(folder.path());
            ASSERT_TRUE(onlyTheFileAndAtMostOneTemporary(listing))
                << "after kill " << kill << ": " << ::testing::PrintToString(listing);
            leftovers += listing.size() > 1 ? 1 : 0;
        }
        // Both versions turned up, so the kills really hit a file that kept changing.
        EXPECT_GT(seenA, 0);
        EXPECT_GT(seenB, 0);
        RecordProperty("saveMicroseconds", int(cycle.count()));
        RecordProperty("killsThatLeftATemporaryFile", leftovers);

        // The next save that runs to its end clears what the kills left.
        saveKey("settings.ini", "data", "done");
        EXPECT_EQ(readBytes("settings.ini"), mark + "data = done\r\n");
        EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
    }
}

// Whatever a killed save, or anything else, left under the temporary name is cleared by the
// next save and never written through.
TEST(CrashSafety, WhateverIsLeftUnderTheTemporaryNameIsReplaced) {
    const struct {
        const char* what;
        std::function<void()> leave;
    } cases[] = {
        {"half-written file", [] { writeBytes(temporary, mark + "data = aaaa"); }},
        {"read-only file",
         [] {
             writeBytes(temporary, "x");
             chmod(temporary.c_str(), 0400);
         }},
        {"link to another file",
         [] { std::filesystem::create_symlink("elsewhere/precious.txt", temporary); }},
        {"dangling link", [] { std::filesystem::create_symlink("nowhere/none.ini", temporary); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::filesystem::create_directory("elsewhere");
        writeBytes("elsewhere/precious.txt", "keep me");
        writeBytes("settings.ini", "delay = 1000\r\n");
        chmod("settings.ini", 0640);
        c.leave();
        saveKey("settings.ini", "delay", "2000");
        EXPECT_EQ(readBytes("settings.ini"), mark + "delay = 2000\r\n");
        EXPECT_EQ(permissionsOf("settings.ini"), mode_t(0640));
        EXPECT_EQ(readBytes("elsewhere/precious.txt"), "keep me");
        EXPECT_EQ(folderListing(folder.path()),
                  (std::vector<std::string>{"elsewhere", "settings.ini"}));
    }
}

// A new file follows the umask also when a leftover of an earlier save (created 0600 for a
// file that existed then) is in the way.
TEST(CrashSafety, ANewFileAfterALeftoverFollowsTheUmask) {
    TempFolder folder;
    writeBytes(temporary, "stale");
    chmod(temporary.c_str(), 0600);
    const mode_t previous = umask(022);
    saveKey("settings.ini", "delay", "1000");
    umask(previous);
    EXPECT_EQ(permissionsOf("settings.ini"), mode_t(0644));
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

// Two games saving the same file at once: every save lands whole, one after the other, and
// nothing is left over.
TEST(CrashSafety, TwoGamesSavingAtOnceNeverMixTheirFiles) {
    TempFolder folder;
    const std::string a(64 * 1024, 'a');
    const std::string b(96 * 1024, 'b');
    const std::string bytesA = mark + "data = " + a + "\r\n";
    const std::string bytesB = mark + "data = " + b + "\r\n";
    const auto saveMany = [&](const std::string& value) {
        return [&] {
            for (int i = 0; i < 60; ++i) {
                saveKey("settings.ini", "data", value);
                const std::string now = readBytes("settings.ini");
                if (now != bytesA && now != bytesB) {
                    return 1;
                }
            }
            return 0;
        };
    };
    const pid_t first = fork();
    if (first == 0) {
        _exit(saveMany(a)());
    }
    const int second = runInChild(saveMany(b));
    int status = 0;
    waitpid(first, &status, 0);
    EXPECT_EQ(second, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const std::string now = readBytes("settings.ini");
    EXPECT_TRUE(now == bytesA || now == bytesB);
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

TEST(CrashSafety, ReadOnlyFileIsNeverWritten) {
    for (mode_t permissions : {0444, 0400, 0000}) {
        SCOPED_TRACE(permissions);
        TempFolder folder;
        const std::string content = "delay = 1000\r\n";
        writeBytes("settings.ini", content);
        chmod("settings.ini", permissions);
        KeyValueFile file;
        file.open("settings.ini");
        file.writeText("delay", "5000");
        file.close();
        EXPECT_EQ(readBytes("settings.ini"), content);
        EXPECT_EQ(permissionsOf("settings.ini"), permissions);
        EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
    }
}

TEST(CrashSafety, ReadOnlyFileIsStillRead) {
    TempFolder folder;
    writeBytes("settings.ini", "delay = 1000\r\n");
    chmod("settings.ini", 0444);
    KeyValueFile file;
    EXPECT_TRUE(file.open("settings.ini"));
    EXPECT_EQ(file.readText("delay", "0"), "1000");
}

TEST(CrashSafety, LinkStaysALinkAndItsTargetChanges) {
    const struct {
        const char* what;
        std::vector<std::pair<std::string, std::string>> links;  // name -> link text
        bool targetExists;
    } cases[] = {
        {"relative", {{"settings.ini", "real/target.ini"}}, true},
        {"missing target", {{"settings.ini", "real/target.ini"}}, false},
        {"chain", {{"settings.ini", "middle.ini"}, {"middle.ini", "real/target.ini"}}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::filesystem::create_directory("real");
        if (c.targetExists) {
            writeBytes("real/target.ini", "lang = en\r\n");
        }
        for (const auto& [name, target] : c.links) {
            std::filesystem::create_symlink(target, name);
        }
        saveKey("settings.ini", "lang", "de");
        for (const auto& [name, target] : c.links) {
            ASSERT_TRUE(std::filesystem::is_symlink(name)) << name;
            EXPECT_EQ(std::filesystem::read_symlink(name), target);
        }
        EXPECT_EQ(readBytes("real/target.ini"), mark + "lang = de\r\n");
        EXPECT_EQ(folderListing("real"), std::vector<std::string>{"target.ini"});
    }
}

TEST(CrashSafety, AbsoluteLinkIsFollowed) {
    TempFolder folder;
    std::filesystem::create_directory("real");
    writeBytes("real/target.ini", "");
    std::filesystem::create_symlink(folder.path() / "real/target.ini", "settings.ini");
    saveKey("settings.ini", "delay", "1000");
    EXPECT_TRUE(std::filesystem::is_symlink("settings.ini"));
    EXPECT_EQ(readBytes("real/target.ini"), "delay = 1000\r\n");
}

TEST(CrashSafety, PermissionsSurviveARewrite) {
    for (mode_t permissions : {0600, 0640, 0604, 0664, 0755}) {
        SCOPED_TRACE(permissions);
        TempFolder folder;
        writeBytes("settings.ini", "delay = 1000\r\n");
        chmod("settings.ini", permissions);
        saveKey("settings.ini", "delay", "2000");
        EXPECT_EQ(readBytes("settings.ini"), mark + "delay = 2000\r\n");
        EXPECT_EQ(permissionsOf("settings.ini"), permissions);
    }
}

TEST(CrashSafety, NewFileFollowsTheUmask) {
    TempFolder folder;
    const mode_t previous = umask(027);
    saveKey("settings.ini", "delay", "1000");
    umask(previous);
    EXPECT_EQ(permissionsOf("settings.ini"), mode_t(0640));
}

TEST(CrashSafety, FolderWithoutWriteAccessKeepsTheOldFileWhole) {
    TempFolder folder;
    writeBytes("settings.ini", "delay = 1000\r\n; a comment that makes the old file longer\r\n");
    struct stat before {};
    stat("settings.ini", &before);
    // Root may write anywhere, so the saving process becomes an ordinary user for whom the
    // folder is closed but the file open.
    const bool root = geteuid() == 0;
    const uid_t nobody = 65534;
    if (root) {
        ASSERT_EQ(chown("settings.ini", nobody, nobody), 0);
    } else {
        ASSERT_EQ(chmod(".", 0555), 0);
    }
    const int result = runInChild([&] {
        if (root && (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)) {
            return 2;
        }
        // The folder really refuses new files.
        if (access(".", W_OK) == 0) {
            return 3;
        }
        saveKey("settings.ini", "delay", "2000");
        return 0;
    });
    if (result == 2) {
        GTEST_SKIP() << "this system lets root become no ordinary user";
    }
    ASSERT_EQ(result, 0);
    struct stat after {};
    stat("settings.ini", &after);
    EXPECT_EQ(after.st_ino, before.st_ino);
    // Rewriting the file where it is could be cut by a kill half-way; the change is lost
    // instead, as for a file that can't be written.
    EXPECT_EQ(readBytes("settings.ini"),
              "delay = 1000\r\n; a comment that makes the old file longer\r\n");
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

TEST(CrashSafety, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
    TempFolder folder;
    const std::string content = "delay = 1000\r\n";
    writeBytes("settings.ini", content);
    // A file size limit makes the write fail half-way, like a full disk.
    const int result = runInChild([] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return 2;
        }
        saveKey("settings.ini", "data", std::string(100000, 'x'));
        return 0;
    });
    ASSERT_EQ(result, 0);
    EXPECT_EQ(readBytes("settings.ini"), content);
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace quintaro
