#include "qt/Application.h"

#include <QApplication>
#include <QIcon>

#include "qt/Document.h"
#include "qt/InputBox.h"
#include "qt/MainWindow.h"
#include "qt/Picture.h"
#include "qt/Sound.h"
#include "qt/UiText.h"

namespace quintaro {

Application::Application(GameState& state) : state_(state), shell_(state, *this) {}

Application::~Application() {
    shutdown();
}

int Application::run() {
    QApplication::exec();
    shutdown();
    return 0;
}

void Application::shutdown() {
    shell_.shutdown();
    // The main window was handed to deleteLater; no event loop runs any more to delete it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void Application::useToolkitLanguage(const std::string& languageCode) {
    quintaro::useToolkitLanguage(languageCode);
}

void Application::initSound() {
    quintaro::initSound();
}

void Application::loadSound(int number, const std::string& fileName) {
    quintaro::loadSound(number, fileName);
}

void Application::playSound(int number) {
    quintaro::playSound(number);
}

void Application::freeSound(int number) {
    quintaro::freeSound(number);
}

void Application::releaseSound() {
    quintaro::releaseSound();
}

void Application::freePictures() {
    quintaro::freePictures();
}

void Application::openDocument(const std::string& fileName) {
    quintaro::openDocument(fileName);
}

void Application::showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) {
    newGameDialog_.show(texts, events);
}

void Application::closeNewGameDialog() {
    newGameDialog_.close();
}

void Application::showInputBox(const std::string& title, const std::string& prompt,
                               const std::string& defaultText, DialogEvents& events) {
    quintaro::showInputBox(toQString(title), toQString(prompt), toQString(defaultText), events);
}

GameWindow& Application::openMainWindow(const WindowSetup& setup, WindowEvents& events) {
    window_ = std::make_unique<MainWindow>(setup, events);
    window_->show();
    window_->activateWindow();
    return *window_;
}

void Application::closeMainWindow() {
    if (window_) {
        // The window may be closed from within its own menu command: it goes once that is over.
        window_->hide();
        window_.release()->deleteLater();
    }
}

void Application::quit() {
    QCoreApplication::exit(0);
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

    GameState state;
    Application game(state);
    // The new-game dialog's close box before a mode is chosen quits the loop at once.
    game.startUp();
    return game.run();
}

}  // namespace quintaro
