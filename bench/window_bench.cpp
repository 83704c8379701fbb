// The roll button's click handled and the dice repainted, on a real main window.
// Target on the reference machine: at most 16 ms per click (one frame).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "qt/Application.h"
#include "qt/MainWindow.h"
#include "state/GameState.h"

namespace {

void BM_RollClickAndRepaint(benchmark::State& bench) {
    quintaro::GameState state;
    state.playerCount = 2;
    state.languageFile = "en.lang";
    state.playerNames[1] = "Ann";
    state.playerNames[2] = "Bob";
    quintaro::Application game(state);
    game.startGame();
    quintaro::MainWindow& window = *game.window();
    QApplication::processEvents();
    for (auto _ : bench) {
        // Two rolls make a turn; the second disables the button, so re-enable it to keep
        // measuring the same click.
        window.rollButton()->setEnabled(true);
        QTest::mouseClick(window.rollButton(), Qt::LeftButton);
        for (int die = 1; die <= 5; ++die) {
            window.die(die)->repaint();
        }
        window.handLabel()->repaint();
    }
}
BENCHMARK(BM_RollClickAndRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
