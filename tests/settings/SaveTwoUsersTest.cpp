// Two players saving settings.ini in one folder at the same moment, on both editions: the
// file is always one of the complete versions, no reader ever sees it empty or cut, its
// permissions never change, and no save removes another's temporary file. On Linux the two
// savers are two real users (the test must run as root); the Windows code, under Wine, has
// one user, so its two savers are two threads of one.

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "settings/KeyValueFile.h"
#include "settings/SafeFile.h"
#include "tests/settings/KeyValueTestSupport.h"

namespace quintaro {
namespace {

using testing::folderListing;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

const std::string mark = "\xEF\xBB\xBF\r\n";
constexpr auto stepDeadline = std::chrono::seconds(10);
constexpr auto saverDeadline = std::chrono::seconds(60);

// Each saver writes its own key with a long value, so a cut file shows.
std::string valueOf(int save) {
    return std::string(3000, 'x') + "-" + std::to_string(save);
}

void saveKey(const std::string& key, int save) {
    KeyValueFile file;
    file.open("settings.ini");
    file.writeText(key, valueOf(save));
    file.close();
}

// One of the versions the saves write: "first", then maybe "second", each with a whole value.
bool complete(const std::string& bytes) {
    std::string expected = mark;
    for (const std::string key : {"first", "second"}) {
        const std::string start = key + " = " + valueOf(0).substr(0, 3001);
        if (bytes.compare(expected.size(), start.size(), start) != 0) {
            break;
        }
        expected += key + " = " +
                    valueOf(std::atoi(bytes.c_str() + expected.size() + start.size())) + "\r\n";
    }
    return expected.size() > mark.size() && bytes == expected;
}

// A one-way line of single bytes between the test and a saver (another process on Linux, a
// thread on Windows). Every wait on it has a deadline.
class Channel {
  public:
    Channel() {
#ifdef _WIN32
        CreatePipe(&read_, &write_, nullptr, 0);
#else
        int ends[2] = {-1, -1};
        if (pipe(ends) == 0) {
            read_ = ends[0];
            write_ = ends[1];
        }
#endif
    }
    ~Channel() {
#ifdef _WIN32
        CloseHandle(read_);
        CloseHandle(write_);
#else
        close(read_);
        close(write_);
#endif
    }
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    void send(char byte) const {
#ifdef _WIN32
        DWORD written = 0;
        WriteFile(write_, &byte, 1, &written, nullptr);
#else
        if (write(write_, &byte, 1) != 1) {
            _exit(3);
        }
#endif
    }
    // The next byte, or 0 when none came before the deadline.
    char receive() const {
        char byte = 0;
#ifdef _WIN32
        const auto until = std::chrono::steady_clock::now() + stepDeadline;
        DWORD available = 0;
        while (PeekNamedPipe(read_, nullptr, 0, nullptr, &available, nullptr) && available == 0 &&
               std::chrono::steady_clock::now() < until) {
            Sleep(1);
        }
        DWORD got = 0;
        if (available == 0 || !ReadFile(read_, &byte, 1, &got, nullptr) || got != 1) {
            return 0;
        }
#else
        pollfd wait{read_, POLLIN, 0};
        const int ms = int(std::chrono::milliseconds(stepDeadline).count());
        if (poll(&wait, 1, ms) != 1 || read(read_, &byte, 1) != 1) {
            return 0;
        }
#endif
        return byte;
    }

  private:
#ifdef _WIN32
    HANDLE read_ = nullptr;
    HANDLE write_ = nullptr;
#else
    int read_ = -1;
    int write_ = -1;
#endif
};

#ifndef _WIN32
// The two players: their own user and group each, and a group they share.
constexpr gid_t sharedGroup = 61000;
uid_t userId(int player) {
    return uid_t(61000 + player);
}
#endif

// A saver that runs body as player 1 or 2; its result is true when body returned true.
class Saver {
  public:
    Saver(int player, std::function<bool()> body) {
#ifdef _WIN32
        (void)player;
        thread_ = std::thread([this, body] { ok_ = body(); });
#else
        child_ = fork();
        if (child_ == 0) {
            const gid_t groups[] = {sharedGroup};
            const bool became = setgroups(1, groups) == 0 &&
                                setresgid(userId(player), userId(player), userId(player)) == 0 &&
                                setresuid(userId(player), userId(player), userId(player)) == 0;
            umask(022);
            _exit(became && body() ? 0 : 1);
        }
#endif
    }
    Saver(const Saver&) = delete;
    Saver& operator=(const Saver&) = delete;
    ~Saver() {
        finish();
    }

    bool finish() {
#ifdef _WIN32
        if (thread_.joinable()) {
            thread_.join();
        }
        return ok_;
#else
        if (child_ > 0) {
            // A saver that has not ended within its deadline is stopped and counts as failed.
            const auto until = std::chrono::steady_clock::now() + saverDeadline;
            int status = 0;
            pid_t ended = 0;
            while ((ended = waitpid(child_, &status, WNOHANG)) == 0 &&
                   std::chrono::steady_clock::now() < until) {
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            if (ended == 0) {
                ADD_FAILURE() << "a saver did not end within "
                              << std::chrono::seconds(saverDeadline).count() << " s";
                kill(child_, SIGKILL);
                waitpid(child_, &status, 0);
                status = -1;
            }
            ok_ = ended > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
            child_ = -1;
        }
        return ok_;
#endif
    }

  private:
#ifdef _WIN32
    std::thread thread_;
#else
    pid_t child_ = -1;
#endif
    std::atomic<bool> ok_{false};
};

struct FolderCase {
    const char* what;
    unsigned folderMode;
    unsigned fileMode;
    bool secondLands;  // the second player's saves reach settings.ini
};

// The folders two users share. Windows has no such modes; its one case is a folder both
// games write.
std::vector<FolderCase> folderCases() {
#ifdef _WIN32
    return {{"one folder, two games", 0, 0, true}};
#else
    return {{"folder anyone may write (0777)", 0777, 0666, true},
            {"folder where only owners replace files (1777)", 01777, 0666, false},
            {"group folder (2775)", 02775, 0664, true}};
#endif
}

// Makes the folder and settings.ini the first player's, the way the case describes them.
// False when this system can't (not root on Linux).
bool prepare(const FolderCase& c, const std::string& bytes) {
    writeBytes("settings.ini", bytes);
#ifdef _WIN32
    (void)c;
    return true;
#else
    return geteuid() == 0 && chown(".", 0, sharedGroup) == 0 && chmod(".", c.folderMode) == 0 &&
           chown("settings.ini", userId(1), sharedGroup) == 0 &&
           chmod("settings.ini", c.fileMode) == 0;
#endif
}

unsigned modeOf(const char* name) {
#ifdef _WIN32
    (void)name;
    return 0;
#else
    struct stat info {};
    lstat(name, &info);
    return info.st_mode & 07777;
#endif
}

TEST(SaveTwoUsers, SavingAtOnceTheFileIsAlwaysWholeAndKeepsItsPermissions) {
    constexpr int saves = 150;
    for (const FolderCase& c : folderCases()) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        const std::string before = mark + "first = " + valueOf(0) + "\r\n";
        if (!prepare(c, before)) {
            GTEST_SKIP() << "two users need root: setuid to two ordinary users";
        }
        const auto saveMany = [](const char* key) {
            return [key] {
                for (int i = 1; i <= saves; ++i) {
                    saveKey(key, i);
                }
                return true;
            };
        };
        // The savers start first: a process forks only while it has no other thread.
        Saver first(1, saveMany("first"));
        Saver second(2, saveMany("second"));
        std::atomic<bool> done{false};
        std::atomic<int> reads{0};
        std::atomic<int> badReads{0};
        std::atomic<int> modeChanges{0};
        std::thread reader([&] {
            while (!done) {
                // As a game reads it.
                std::string now;
                bool writable = false;
                const ReadResult read = readFile("settings.ini", now, writable);
                ++reads;
                badReads += read == ReadResult::Read && complete(now) ? 0 : 1;
                modeChanges += modeOf("settings.ini") == c.fileMode ? 0 : 1;
            }
        });
        EXPECT_TRUE(first.finish());
        EXPECT_TRUE(second.finish());
        done = true;
        reader.join();

        const std::string after = readBytes("settings.ini");
        EXPECT_TRUE(complete(after)) << after.size() << " bytes";
        EXPECT_EQ(badReads, 0) << "of " << reads << " reads";
        EXPECT_EQ(modeChanges, 0);
        EXPECT_EQ(modeOf("settings.ini"), c.fileMode);
        // The first player's last save always lands; the second's only where the folder lets
        // them replace the first player's file.
        KeyValueFile file;
        file.open("settings.ini");
        if (!c.secondLands) {
            EXPECT_EQ(file.readText("first", ""), valueOf(saves));
            EXPECT_EQ(file.readText("second", "none"), "none");
        }
        file.close();
        EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
        RecordProperty(std::string("reads: ") + c.what, reads.load());
    }
}

// The steps of the saves, replayed in one order: the first player's save stops with its new
// content written, the second's meets it there, and only then does the first go on.
Channel* stepsOut = nullptr;
Channel* stepsIn = nullptr;
#ifdef _WIN32
thread_local bool reportsSteps = false;
#else
bool reportsSteps = false;
#endif

// Every step of a save that reports is told to the test, which says when to go on.
void reportStep(SaveStep step) {
    if (!reportsSteps) {
        return;
    }
    stepsOut->send(char('0' + int(step)));
    if (step != SaveStep::MetOtherSave && stepsIn->receive() == 0) {
#ifndef _WIN32
        _exit(4);
#endif
    }
}

TEST(SaveTwoUsers, ASaveWaitsForTheOneWhoseFileItMeetsAndNeverRemovesIt) {
    const std::string step = "0";
    for (const FolderCase& c : folderCases()) {
        if (!c.secondLands) {
            continue;
        }
        SCOPED_TRACE(c.what);
        TempFolder folder;
        if (!prepare(c, mark + "first = " + valueOf(0) + "\r\n")) {
            GTEST_SKIP() << "two users need root: setuid to two ordinary users";
        }
        Channel firstOut;
        Channel firstIn;
        Channel secondOut;
        Channel secondIn;
        const auto reporting = [](Channel& out, Channel& in, const char* key) {
            return [&out, &in, key] {
                stepsOut = &out;
                stepsIn = &in;
                reportsSteps = true;
                setSaveStepHook(reportStep);
                saveKey(key, 1);
                reportsSteps = false;
                return true;
            };
        };
        const auto expectStep = [](const Channel& from, SaveStep expected, const char* what) {
            EXPECT_EQ(from.receive(), char('0' + int(expected))) << "waiting for " << what;
        };
        Saver first(1, reporting(firstOut, firstIn, "first"));
        expectStep(firstOut, SaveStep::TemporaryTaken, "the first save's temporary file");
        firstIn.send('g');
        expectStep(firstOut, SaveStep::Written, "the first save's content written");
        const std::string temporary = ".settings.ini.tmp";
        EXPECT_TRUE(std::filesystem::exists(temporary));

        Saver second(2, reporting(secondOut, secondIn, "second"));
        expectStep(secondOut, SaveStep::MetOtherSave, "the second save meeting the first");
        EXPECT_TRUE(complete(readBytes("settings.ini")));
        EXPECT_TRUE(std::filesystem::exists(temporary)) << "the first save's file was removed";
        firstIn.send('g');
        EXPECT_TRUE(first.finish());
        EXPECT_EQ(readBytes("settings.ini"), mark + "first = " + valueOf(1) + "\r\n");

        expectStep(secondOut, SaveStep::TemporaryTaken, "the second save's temporary file");
        secondIn.send('g');
        expectStep(secondOut, SaveStep::Written, "the second save's content written");
        secondIn.send('g');
        EXPECT_TRUE(second.finish());
        setSaveStepHook(nullptr);
        EXPECT_EQ(readBytes("settings.ini"),
                  mark + "first = " + valueOf(1) + "\r\nsecond = " + valueOf(1) + "\r\n");
        EXPECT_EQ(modeOf("settings.ini"), c.fileMode);
        EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
    }
}

}  // namespace
}  // namespace quintaro
