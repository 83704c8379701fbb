// The yardstick for the game's start-up: a bare Qt window of the new-game dialog's size,
// nothing else. bench/startup.sh times it alternately with the game.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(405, 75);
    window.show();
    return QApplication::exec();
}
