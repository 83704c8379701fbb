// Starts the packed game as a player does and closes it again:
//
//   quintaro_start_check FOLDER TITLE
//
// runs FOLDER\quintaro.exe with FOLDER as its current folder, waits for its first window,
// which must be the new-game dialog titled TITLE, closes it with the close box's
// message and waits for the game to end by itself with exit code 0. Exit code 0 when all of
// that happened; otherwise 1 and what went wrong.
#include <windows.h>
// After windows.h.
#include <shellapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kDialogWait = 60000;  // a first start in a fresh Wine prefix is slow
constexpr DWORD kExitWait = 30000;

std::string narrow(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), length, nullptr, nullptr);
    out.resize(out.size() - 1);
    return out;
}

struct Search {
    DWORD process;
    HWND found = nullptr;
};

BOOL CALLBACK visitWindow(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::wstring titleOf(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

int fail(PROCESS_INFORMATION& game, const std::string& why) {
    std::printf("%s\n", why.c_str());
    TerminateProcess(game.hProcess, 1);
    return 1;
}

}  // namespace

int main() {
    // The arguments as Windows passes them, not in the ANSI code page.
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 3) {
        std::fprintf(stderr, "usage: quintaro_start_check FOLDER TITLE\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring title = argv[2];
    LocalFree(argv);
    std::wstring command = L"\"" + folder + L"\\quintaro.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION game{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &game)) {
        std::printf("cannot start %s (error %lu)\n", narrow(command).c_str(), GetLastError());
        return 1;
    }
    std::fflush(stdout);

    Search search{game.dwProcessId};
    const ULONGLONG until = GetTickCount64() + kDialogWait;
    while (search.found == nullptr && GetTickCount64() < until) {
        if (WaitForSingleObject(game.hProcess, 100) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(game.hProcess, &code);
            std::printf("the game ended (exit code %lu) before showing a window\n", code);
            return 1;
        }
        EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&search));
    }
    if (search.found == nullptr) {
        return fail(game, "no window within a minute");
    }
    const std::wstring shown = titleOf(search.found);
    if (shown != title) {
        return fail(game, "the first window is \"" + narrow(shown) + "\", not the new-game dialog");
    }
    std::printf("new-game dialog shown: \"%s\"\n", narrow(shown).c_str());

    PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(game.hProcess, kExitWait) != WAIT_OBJECT_0) {
        return fail(game, "the game did not end after its dialog was closed");
    }
    DWORD code = 0;
    GetExitCodeProcess(game.hProcess, &code);
    CloseHandle(game.hThread);
    CloseHandle(game.hProcess);
    std::printf("the game ended with exit code %lu\n", code);
    return code == 0 ? 0 : 1;
}
