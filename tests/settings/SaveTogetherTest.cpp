// What the save of settings.ini meets in its folder, on both editions: whatever stands under
// the temporary name never blocks or redirects a save, a save that can't get the lock within
// a second gives up without harm, and two games saving at once keep each other's keys.

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "settings/KeyValueFile.h"
#include "tests/settings/KeyValueTestSupport.h"

namespace quintaro {
namespace {

using testing::folderListing;
using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

const std::string mark = "\xEF\xBB\xBF\r\n";
const std::string temporary = ".settings.ini.tmp";

void saveKey(const std::string& key, const std::string& value) {
    KeyValueFile file;
    file.open("settings.ini");
    file.writeText(key, value);
    file.close();
}

enum class Blocker {
    Leftover,
    ReadOnlyFile,
    LinkOutside,
    DanglingLink,
    EmptyFolder,
    FullFolder,
    Pipe,              // POSIX only
    ForeignFile,       // POSIX only: another user's, in a folder where only owners remove
    HeldBySaveOfOther  // a save that never lets go of its lock
};

#ifdef _WIN32
// Under Wine, what Windows programs can't make (links without special rights, pipes in a
// folder) comes from the Unix side, the way another program there would leave it. False on
// Windows itself.
bool madeOnUnixSide = false;
bool runInUnixShell(const std::string& command) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (unixName == nullptr) {
        return false;
    }
    const char* folder = unixName(std::filesystem::current_path().c_str());
    if (folder == nullptr) {
        return false;
    }
    // The Unix program runs on after the starter has returned: it leaves a mark when done.
    const std::string done = ".unix-done";
    std::wstring line = L"start.exe /wait /unix /bin/sh -c \"cd '" +
                        std::filesystem::path(folder).wstring() + L"' && " +
                        std::filesystem::path(command + " && touch " + done).wstring() + L"\"";
    HeapFree(GetProcessHeap(), 0, const_cast<char*>(folder));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return false;
    }
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    for (int wait = 0; wait < 200 && !std::filesystem::exists(done); ++wait) {
        Sleep(50);
    }
    madeOnUnixSide = true;
    return std::filesystem::remove(done);
}
#endif

// Puts the blocker under the temporary name. False when this system can't make it.
bool place(Blocker blocker) {
    switch (blocker) {
        case Blocker::Leftover:
            writeBytes(temporary, mark + "data = aaaa");
            return true;
        case Blocker::ReadOnlyFile:
            writeBytes(temporary, "x");
#ifdef _WIN32
            return SetFileAttributesW(L".settings.ini.tmp", FILE_ATTRIBUTE_READONLY) != 0;
#else
            return chmod(temporary.c_str(), 0400) == 0;
#endif
        case Blocker::LinkOutside:
        case Blocker::DanglingLink: {
            const std::string target =
                blocker == Blocker::LinkOutside ? "elsewhere/precious.txt" : "nowhere/none.ini";
            std::error_code error;
            std::filesystem::create_symlink(target, temporary, error);
#ifdef _WIN32
            if (error) {
                return runInUnixShell("ln -s " + target + " " + temporary);
            }
            return !error;
#else
            return !error;
#endif
        }
        case Blocker::EmptyFolder:
            return std::filesystem::create_directory(temporary);
        case Blocker::FullFolder:
            std::filesystem::create_directory(temporary);
            writeBytes(temporary + "/mine.txt", "not the game's");
            return true;
#ifndef _WIN32
        case Blocker::Pipe:
            return mkfifo(temporary.c_str(), 0600) == 0;
        case Blocker::ForeignFile:
            // Root makes the file and leaves the save to an ordinary user.
            writeBytes(temporary, "root's");
            return geteuid() == 0 && chmod(temporary.c_str(), 0600) == 0 &&
                   chmod(".", 01777) == 0 && chown("settings.ini", 65534, 65534) == 0;
#else
        case Blocker::Pipe:
            return runInUnixShell("mkfifo " + temporary);
        case Blocker::ForeignFile:
            return false;
#endif
        case Blocker::HeldBySaveOfOther:
            return true;
    }
    return false;
}

// Holds the temporary file the way a save does, until it goes out of scope.
class HeldTemporary {
  public:
    explicit HeldTemporary(const std::string& name = temporary) {
#ifdef _WIN32
        handle_ = CreateFileW(std::filesystem::path(name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        OVERLAPPED whole{};
        LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole);
#else
        fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        flock(fd_, LOCK_EX);
#endif
    }
    ~HeldTemporary() {
#ifdef _WIN32
        CloseHandle(handle_);
#else
        close(fd_);
#endif
    }
    HeldTemporary(const HeldTemporary&) = delete;
    HeldTemporary& operator=(const HeldTemporary&) = delete;

  private:
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int fd_ = -1;
#endif
};

// Saves delay = 2000, as another user when the blocker asks for it.
void save(Blocker blocker) {
#ifndef _WIN32
    if (blocker == Blocker::ForeignFile) {
        const pid_t child = fork();
        if (child == 0) {
            const bool nobody =
                setgroups(0, nullptr) == 0 && setgid(65534) == 0 && setuid(65534) == 0;
            if (nobody) {
                saveKey("delay", "2000");
            }
            _exit(nobody ? 0 : 1);
        }
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return;
    }
#endif
    (void)blocker;
    saveKey("delay", "2000");
}

TEST(SaveTogether, NothingUnderTheTemporaryNameBlocksOrRedirectsASave) {
    const struct {
        const char* what;
        Blocker blocker;
        bool lands;  // the save lands in settings.ini
        bool stays;  // what stood under the name is still there afterwards
    } cases[] = {
        {"half-written file", Blocker::Leftover, true, false},
        {"read-only file", Blocker::ReadOnlyFile, true, false},
        {"link to a file outside the folder", Blocker::LinkOutside, true, false},
        {"dangling link", Blocker::DanglingLink, true, false},
        {"empty folder", Blocker::EmptyFolder, true, false},
        {"folder with a file in it", Blocker::FullFolder, true, true},
        {"pipe", Blocker::Pipe, true, false},
        {"another user's file that may not be removed", Blocker::ForeignFile, true, true},
        {"a save that never lets go", Blocker::HeldBySaveOfOther, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        std::filesystem::create_directory("elsewhere");
        writeBytes("elsewhere/precious.txt", "keep me");
        const std::string before = "delay = 1000\r\n";
        writeBytes("settings.ini", before);
#ifndef _WIN32
        chmod("settings.ini", 0640);
#endif
#ifdef _WIN32
        madeOnUnixSide = false;
#endif
        if (!place(c.blocker)) {
            continue;  // not on this system
        }
        std::optional<HeldTemporary> held;
        if (c.blocker == Blocker::HeldBySaveOfOther) {
            held.emplace();
        }
        const auto start = std::chrono::steady_clock::now();
        save(c.blocker);
        // A save that has to give up does so within about a second, never hangs the game.
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
        held.reset();

        EXPECT_EQ(readBytes("settings.ini"), c.lands ? mark + "delay = 2000\r\n" : before);
#ifndef _WIN32
        EXPECT_EQ(testing::permissionsOf("settings.ini"), mode_t(0640));
#endif
        EXPECT_EQ(readBytes("elsewhere/precious.txt"), "keep me");
        std::vector<std::string> listing = {"elsewhere", "settings.ini"};
        bool stays = c.stays;
#ifdef _WIN32
        // A Windows program can't tell a Unix link from what it points at, nor remove it
        // without removing that: the save goes round it, and it stays.
        if (madeOnUnixSide) {
            EXPECT_TRUE(runInUnixShell("test -L " + temporary + " -o -p " + temporary + " && rm " +
                                       temporary))
                << "what the Unix side made has gone";
            stays = false;
        }
#endif
        if (stays) {
            listing.insert(listing.begin(), temporary);
        }
        EXPECT_EQ(folderListing(folder.path()), listing);
    }
}

// The temporary file under the index-th of the names a save walks.
std::string temporaryNamed(int index) {
    return index == 0 ? temporary : ".settings.ini." + std::to_string(index) + ".tmp";
}

// Leftovers of ended saves under any of the temporary names are cleared by the next save, so
// the folder keeps settings.ini and at most the one temporary file of a save at work.
TEST(SaveTogether, ASaveClearsLeftoversUnderEveryTemporaryNameButNoneThatIsHeld) {
    for (const int held : {-1, 0, 3}) {
        SCOPED_TRACE(held < 0 ? std::string("none held") : "held: " + temporaryNamed(held));
        TempFolder folder;
        writeBytes("settings.ini", "delay = 1000\r\n");
        std::optional<HeldTemporary> holder;
        for (int index = 0; index < 8; ++index) {
            if (index == held) {
                holder.emplace(temporaryNamed(index));
            } else {
                writeBytes(temporaryNamed(index), mark + "delay = 9");
            }
        }
        saveKey("delay", "2000");
        // Where the first name is held, the save waits for it, gives up and still clears.
        EXPECT_EQ(readBytes("settings.ini"),
                  held == 0 ? "delay = 1000\r\n" : mark + "delay = 2000\r\n");
        std::vector<std::string> listing = {"settings.ini"};
        if (held >= 0) {
            listing.insert(listing.begin(), temporaryNamed(held));
        }
        EXPECT_EQ(folderListing(folder.path()), listing);
    }
}

// When every temporary name holds something no save may remove, the save can't land: the old
// file stays whole, and the next save, once a name is free again, lands.
TEST(SaveTogether, WithEveryTemporaryNameBlockedTheOldFileStaysAndTheNextSaveLands) {
    TempFolder folder;
    const std::string before = "delay = 1000\r\n";
    writeBytes("settings.ini", before);
    for (int index = 0; index < 8; ++index) {
        std::filesystem::create_directory(temporaryNamed(index));
        writeBytes(temporaryNamed(index) + "/mine.txt", "not the game's");
    }
    saveKey("delay", "2000");
    EXPECT_EQ(readBytes("settings.ini"), before);
    std::filesystem::remove_all(temporaryNamed(5));
    saveKey("delay", "3000");
    EXPECT_EQ(readBytes("settings.ini"), mark + "delay = 3000\r\n");
    EXPECT_EQ(folderListing(folder.path()).size(), 8u);
}

// Two games in one folder, each saving its own key again and again at the same moment: when
// both are done, the file holds the last value of each, and the lines neither wrote are as
// they were.
TEST(SaveTogether, TwoGamesSavingAtOnceKeepEachOthersKeys) {
    TempFolder folder;
    const std::string kept = "; written by hand\r\nother = 1\r\n[group]\r\nx = y\r\n";
    writeBytes("settings.ini", mark + kept);
    constexpr int saves = 200;
    const auto saveMany = [](const std::string& key) {
        for (int i = 1; i <= saves; ++i) {
            saveKey(key, std::to_string(i));
        }
    };
    std::thread first(saveMany, "first");
    std::thread second(saveMany, "second");
    first.join();
    second.join();

    KeyValueFile file;
    ASSERT_TRUE(file.open("settings.ini"));
    EXPECT_EQ(file.readText("first", "-"), std::to_string(saves));
    EXPECT_EQ(file.readText("second", "-"), std::to_string(saves));
    file.close();
    const std::string bytes = readBytes("settings.ini");
    const std::string last = std::to_string(saves);
    const auto expected = [&](const char* a, const char* b) {
        return mark + "; written by hand\r\nother = 1\r\n" + a + " = " + last + "\r\n" + b + " = " +
               last + "\r\n[group]\r\nx = y\r\n";
    };
    EXPECT_TRUE(bytes == expected("first", "second") || bytes == expected("second", "first"))
        << bytes;
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

}  // namespace
}  // namespace quintaro
