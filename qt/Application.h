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

    // Start-up as the shell runs it; false when the new-game dialog was closed.
    bool startUp() { return shell_.startUp(); }
    // Opens the main window of a new game with the players of the state.
    void startGame() { shell_.startGame(); }
    // Runs the event loop until the program is left, then shuts down. Returns the exit code.
    int run();
    // Releases the sound, the pictures and the windows. Safe to call more than once.
    void shutdown();

    GameState& state() { return state_; }
    GameShell& shell() { return shell_; }
    MainWindow* window() const { return window_.get(); }

    // Frontend
    void useToolkitLanguage(const std::string& languageCode) override;
    void initSound() override;
    void loadSound(int number, const std::string& fileName) override;
    void playSound(int number) override;
    void freeSound(int number) override;
    void releaseSound() override;
    void freePictures() override;
    void openDocument(const std::string& fileName) override;
    GameMode chooseGameMode(const std::string& title, const std::string& peopleName,
                            const std::string& computerName) override;
    void closeNewGameDialog() override;
    std::string inputBox(const std::string& title, const std::string& prompt,
                         const std::string& defaultText) override;
    GameWindow& openMainWindow(const WindowTexts& texts, WindowEvents& events) override;
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
