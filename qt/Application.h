#pragma once
// The Linux edition's front end: Qt windows and dialogs, SDL2 sound and the desktop's program
// for the rules, under the game's shell.

#include <QObject>
#include <memory>

#include "qt/NewGameDialog.h"
#include "shell/Frontend.h"
#include "shell/GameShell.h"
#include "state/GameState.h"

namespace quintaro {

class MainWindow;

class Application : public QObject, public Frontend {
    Q_OBJECT
  public:
    explicit Application(GameState& state);
    ~Application() override;

    // Start-up as the shell runs it: shows the new-game dialog and returns at once.
    void startUp() { shell_.startUp(); }
    // Opens the main window of a new game with the players of the state.
    void startGame() { shell_.startGame(); }
    // Runs the event loop until the program is left, then shuts down. Returns the exit code.
    int run();
    // Releases the sound, the pictures and the windows. Safe to call more than once.
    void shutdown();

    GameState& state() { return state_; }
    GameShell& shell() { return shell_; }
    MainWindow* window() const { return window_.get(); }
    QWidget* newGameDialog() const { return newGameDialog_.window(); }

    // Frontend
    void useToolkitLanguage(const std::string& languageCode) override;
    void initSound() override;
    void loadSound(int number, const std::string& fileName) override;
    void playSound(int number) override;
    void freeSound(int number) override;
    void releaseSound() override;
    void freePictures() override;
    void openDocument(const std::string& fileName) override;
    void showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) override;
    void closeNewGameDialog() override;
    void showInputBox(const std::string& title, const std::string& prompt,
                      const std::string& defaultText, DialogEvents& events) override;
    GameWindow& openMainWindow(const WindowSetup& setup, WindowEvents& events) override;
    void closeMainWindow() override;
    void quit() override;

  private:
    GameState& state_;
    GameShell shell_;
    NewGameDialog newGameDialog_;
    std::unique_ptr<MainWindow> window_;
};

// The whole program: the command line is ignored and the exit code is always 0.
int runQuintaro(const char* programName);

}  // namespace quintaro
