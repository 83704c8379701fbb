// Long sessions of the Windows edition: starts New Game over and over through the real menu
// command (the question answered Yes) from the running message loop, as a player would,
// and prints the working set as it goes. Run through bench/newgame_memory-windows.sh.
//
//   newgame_memory_win32 GAME_FOLDER [NEW_GAMES] [SWITCH_LANGUAGE_EVERY]
// prints "games=<n> rss_kib=<working set KiB>" after 10 new games and then every 100.

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "shell/GameShell.h"
#include "shell/Menu.h"
#include "state/GameState.h"
#include "win32/Dialogs.h"
#include "win32/Media.h"
#include "win32/UiText.h"
#include "win32/WindowsFrontend.h"

namespace {

long workingSetKib() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) {
        return -1;
    }
    return long(counters.WorkingSetSize / 1024);
}

struct Session {
    quintaro::GameShell* shell = nullptr;
    int games = 1000;
    int switchEvery = 0;
    int done = 0;
    int report = 0;  // measured at the next step, once the old window has really gone
};

Session session;

// One step per timer tick: ask for a new game, then answer the question Yes as a player
// does, through the box's own button.
void CALLBACK step(HWND, UINT, UINT_PTR, DWORD) {
    if (HWND question = FindWindowW(quintaro::messageBoxClass, nullptr)) {
        SendMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        ++session.done;
        if (session.done == 10 || session.done % 100 == 0) {
            session.report = session.done;
        }
        return;
    }
    if (session.report > 0) {
        std::printf("games=%d rss_kib=%ld\n", session.report, workingSetKib());
        std::fflush(stdout);
        session.report = 0;
    }
    if (session.done == session.games) {
        session.shell->chooseMenuItem(quintaro::ExitItem);
        return;
    }
    if (session.switchEvery > 0 && session.done % session.switchEvery == 0) {
        const int language = session.done / session.switchEvery % 3;
        session.shell->chooseMenuItem(quintaro::EnglishItem + language);
    }
    session.shell->chooseMenuItem(quintaro::NewGameItem);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !SetCurrentDirectoryA(argv[1])) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER [NEW_GAMES] [SWITCH_LANGUAGE_EVERY]\n",
                     argv[0]);
        return 2;
    }
    session.games = argc > 2 ? std::atoi(argv[2]) : 1000;
    session.switchEvery = argc > 3 ? std::atoi(argv[3]) : 0;

    quintaro::GameState state = quintaro::loadGameState();
    state.playerCount = 2;
    state.computerMode = 1;
    state.playerNames[1] = "Ann";
    state.playerNames[2] = "Computer";
    quintaro::WindowsFrontend frontend;
    quintaro::GameShell shell(state, frontend);
    session.shell = &shell;
    frontend.initSound();
    shell.startGame();
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, step);
    frontend.run();
    KillTimer(nullptr, timer);
    shell.shutdown();
    quintaro::freeFonts();
    quintaro::endPictures();
    return 0;
}
