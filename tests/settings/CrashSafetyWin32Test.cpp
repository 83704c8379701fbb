// Writing settings.ini back must never cost the player the file, on Windows too: a process
// ended at any moment leaves the old or the new content, a read-only file stays as it is, no
// temporary file stays behind, and folders with non-ASCII names work.

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
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
const std::string valueA(256 * 1024, 'a');
const std::string valueB(512 * 1024, 'b');
constexpr wchar_t childVariable[] = L"QUINTARO_SAVING_CHILD";

void saveKey(const std::string& fileName, const std::string& key, const std::string& value) {
    KeyValueFile file;
    file.open(fileName);
    file.writeText(key, value);
    file.close();
}

// The saving child is this same program, started with the semaphore's name in its
// environment: it saves B, A, B, A, ... for ever and releases the semaphore after each save.
[[noreturn]] void saveForEver(const wchar_t* semaphoreName) {
    HANDLE progress = OpenSemaphoreW(SEMAPHORE_MODIFY_STATE, FALSE, semaphoreName);
    for (int i = 0;; ++i) {
        saveKey("settings.ini", "data", i % 2 == 0 ? valueB : valueA);
        if (progress == nullptr || !ReleaseSemaphore(progress, 1, nullptr)) {
            ExitProcess(1);
        }
    }
}

const bool isSavingChild = [] {
    wchar_t name[128] = {};
    if (GetEnvironmentVariableW(childVariable, name, 128) > 0) {
        saveForEver(name);
    }
    return false;
}();

struct Child {
    HANDLE process = nullptr;
    HANDLE progress = nullptr;
};

Child startSaving() {
    static int serial = 0;
    const std::wstring name = L"quintaro-save-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                              std::to_wstring(serial++);
    Child child;
    child.progress = CreateSemaphoreW(nullptr, 0, 1 << 30, name.c_str());
    wchar_t program[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    SetEnvironmentVariableW(childVariable, name.c_str());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
    if (CreateProcessW(program, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        child.process = info.hProcess;
    }
    SetEnvironmentVariableW(childVariable, nullptr);
    return child;
}

bool awaitSaves(const Child& child, int saves) {
    for (; saves > 0; --saves) {
        if (WaitForSingleObject(child.progress, 30000) != WAIT_OBJECT_0) {
            return false;
        }
    }
    return true;
}

void stopSaving(Child& child) {
    TerminateProcess(child.process, 9);
    WaitForSingleObject(child.process, INFINITE);
    CloseHandle(child.process);
    CloseHandle(child.progress);
}

TEST(CrashSafety, EndedWhileSavingLeavesOldOrNewFile) {
    ASSERT_FALSE(isSavingChild);
    TempFolder folder;
    const std::string bytesA = mark + "data = " + valueA + "\r\n";
    const std::string bytesB = mark + "data = " + valueB + "\r\n";
    saveKey("settings.ini", "data", valueA);
    ASSERT_EQ(readBytes("settings.ini"), bytesA);

    // How long one open-write-close takes here, so the ends spread over a whole one.
    Child child = startSaving();
    ASSERT_NE(child.process, nullptr);
    ASSERT_TRUE(awaitSaves(child, 2));
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(awaitSaves(child, 4));
    const auto cycle = (std::chrono::steady_clock::now() - start) / 4;
    stopSaving(child);

    std::mt19937 random(20240607);
    std::uniform_int_distribution<long long> moment(0, cycle.count());
    int seenA = 0;
    int seenB = 0;
    for (int round = 0; round < 16; ++round) {
        child = startSaving();
        ASSERT_NE(child.process, nullptr);
        ASSERT_TRUE(awaitSaves(child, 1 + round % 2)) << "the saving child died";
        const auto until =
            std::chrono::steady_clock::now() + std::chrono::steady_clock::duration(moment(random));
        while (std::chrono::steady_clock::now() < until) {
        }
        stopSaving(child);

        const std::string now = readBytes("settings.ini");
        ASSERT_TRUE(now == bytesA || now == bytesB)
            << "after round " << round << " the file has " << now.size() << " bytes";
        (now == bytesA ? seenA : seenB)++;
    }
    EXPECT_GT(seenA + seenB, 0);
    // A temporary file left by the last end is taken over by the next save.
    saveKey("settings.ini", "data", "c");
    EXPECT_EQ(readBytes("settings.ini"), mark + "data = c\r\n");
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
}

TEST(CrashSafety, ReadOnlyFileIsNeverWrittenButStillRead) {
    TempFolder folder;
    const std::string content = "delay = 1000\r\n";
    writeBytes("settings.ini", content);
    ASSERT_TRUE(SetFileAttributesW(L"settings.ini", FILE_ATTRIBUTE_READONLY));
    KeyValueFile file;
    EXPECT_TRUE(file.open("settings.ini"));
    EXPECT_EQ(file.readText("delay", "0"), "1000");
    file.writeText("delay", "5000");
    file.close();
    EXPECT_EQ(readBytes("settings.ini"), content);
    EXPECT_EQ(GetFileAttributesW(L"settings.ini") & FILE_ATTRIBUTE_READONLY,
              DWORD(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
    SetFileAttributesW(L"settings.ini", FILE_ATTRIBUTE_NORMAL);
}

TEST(CrashSafety, StaleTemporaryFileIsReusedAndRemoved) {
    const struct {
        const char* what;
        bool settingsExist;
    } cases[] = {{"existing file", true}, {"new file", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder folder;
        if (c.settingsExist) {
            writeBytes("settings.ini", "lang = en\r\n");
        }
        writeBytes(".settings.ini.tmp", std::string(4096, 'x'));
        saveKey("settings.ini", "lang", "de");
        EXPECT_EQ(readBytes("settings.ini"), mark + "lang = de\r\n");
        EXPECT_EQ(folderListing(folder.path()), std::vector<std::string>{"settings.ini"});
    }
}

TEST(CrashSafety, NonAsciiFolderNames) {
    TempFolder folder;
    // "Настройки ü" and a CJK name: the wide-character file functions must carry them.
    for (const char* name : {"\xD0\x9D\xD0\xB0\xD1\x81\xD1\x82\xD1\x80\xD0\xBE\xD0\xB9\xD0\xBA"
                             "\xD0\xB8 \xC3\xBC",
                             "\xE8\xA8\xAD\xE5\xAE\x9A"}) {
        SCOPED_TRACE(name);
        const std::filesystem::path sub =
            folder.path() / std::filesystem::path(reinterpret_cast<const char8_t*>(name));
        std::filesystem::create_directory(sub);
        const std::string path = std::string(name) + "/settings.ini";
        saveKey(path, "lang", "bg");
        KeyValueFile file;
        EXPECT_TRUE(file.open(path));
        EXPECT_EQ(file.readText("lang", "en"), "bg");
        EXPECT_EQ(readBytes(sub / "settings.ini"), mark + "lang = bg\r\n");
        EXPECT_EQ(folderListing(sub), std::vector<std::string>{"settings.ini"});
    }
}

TEST(CrashSafety, HiddenMarkSurvivesARewrite) {
    TempFolder folder;
    writeBytes("settings.ini", "delay = 1000\r\n");
    ASSERT_TRUE(SetFileAttributesW(L"settings.ini", FILE_ATTRIBUTE_HIDDEN));
    saveKey("settings.ini", "delay", "2000");
    EXPECT_EQ(readBytes("settings.ini"), mark + "delay = 2000\r\n");
    EXPECT_NE(GetFileAttributesW(L"settings.ini") & FILE_ATTRIBUTE_HIDDEN, 0u);
}

}  // namespace
}  // namespace quintaro
