#include "qt/Application.h"

#include <QApplication>
#include <QIcon>

#include "qt/MainWindow.h"
#include "qt/NewGameDialog.h"
#include "qt/Picture.h"
#include "qt/Sound.h"
#include "qt/UiText.h"

namespace quintaro {

Application::Application() = default;

Application::~Application() {
    shutdown();
}

bool Application::startUp() {
    state_ = loadGameState();
    useToolkitLanguage(state_.languageCode);
    initSound();
    std::unique_ptr<QWidget> dialog = runNewGameDialog(state_);
    if (!dialog) {
        return false;
    }
    // The main window takes the dialog's place: it stays on screen until the window is up.
    startGame();
    dialog.reset();
    return true;
}

void Application::startGame() {
    window_ = std::make_unique<MainWindow>(state_);
    connect(window_.get(), &MainWindow::newGameRequested, this, &Application::newGame,
            Qt::QueuedConnection);
    connect(window_.get(), &MainWindow::exitRequested, this, &Application::exit);
    window_->show();
    window_->activateWindow();
}

void Application::newGame() {
    // Same players, names, mode and language; the old game is gone.
    state_.resetProgress();
    freeSound(0);
    if (window_) {
        window_->disconnect(this);
        window_->hide();
        window_.release()->deleteLater();
    }
    startGame();
}

void Application::exit() {
    QCoreApplication::exit(0);
}

int Application::run() {
    QApplication::exec();
    shutdown();
    return 0;
}

void Application::shutdown() {
    releaseSound();
    freePictures();
    window_.reset();
}

int runQuintaro(const char* programName) {
    int argc = 1;
    char* argv[] = {const_cast<char*>(programName), nullptr};
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Quintaro"));
    QApplication::setWindowIcon(QIcon(QStringLiteral("quintaro.png")));
    // The desktop matches the game's windows to its installed desktop entry by this name.
    QApplication::setDesktopFileName(QStringLiteral(QUINTARO_APP_ID));

    Application game;
    if (game.startUp()) {
        return game.run();
    }
    // The new-game dialog was closed: no game, straight to shutdown.
    game.shutdown();
    return 0;
}

}  // namespace quintaro
