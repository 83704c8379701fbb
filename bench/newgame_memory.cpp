// Long sessions: starts New Game over and over through the real menu command (the question
// answered Yes) inside the running event loop, as a player would, and prints the resident
// size as it goes. Run through bench/newgame_memory.sh.
//
//   newgame_memory GAME_FOLDER [NEW_GAMES] [SWITCH_LANGUAGE_EVERY]
// prints "games=<n> rss_kib=<resident KiB>" after 10 new games and then every 100.

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

#include "qt/Application.h"
#include "shell/Menu.h"
#include "state/GameState.h"

namespace {

long residentKib() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::strtol(line.c_str() + 6, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || chdir(argv[1]) != 0) {
        std::fprintf(stderr, "usage: %s GAME_FOLDER [NEW_GAMES] [SWITCH_LANGUAGE_EVERY]\n",
                     argv[0]);
        return 2;
    }
    const int games = argc > 2 ? std::atoi(argv[2]) : 1000;
    const int switchEvery = argc > 3 ? std::atoi(argv[3]) : 0;
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    quintaro::GameState state = quintaro::loadGameState();
    state.playerCount = 2;
    state.computerMode = 1;
    state.playerNames[1] = "Ann";
    state.playerNames[2] = "Computer";
    quintaro::Application game(state);
    game.initSound();
    game.startGame();

    int done = 0;
    QTimer step;
    QObject::connect(&step, &QTimer::timeout, [&] {
        if (switchEvery > 0 && done % switchEvery == 0) {
            game.shell().chooseMenuItem(quintaro::firstLanguageItem + done / switchEvery % 3);
        }
        // The question is answered Yes as soon as it is shown.
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                box->done(QMessageBox::Yes);
            }
        });
        game.shell().chooseMenuItem(quintaro::NewGameItem);
        ++done;
        if (done == 10 || done % 100 == 0) {
            // Measured at the next step, once the old window has really gone.
            QTimer::singleShot(0, [done] {
                std::printf("games=%d rss_kib=%ld\n", done, residentKib());
                std::fflush(stdout);
            });
        }
        if (done == games) {
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
    });
    step.start(0);
    return game.run();
}
