#pragma once
// Start-up and shutdown: settings, sound, the new-game dialog once, then one main window per
// game until the program is left.

#include <QObject>
#include <memory>

#include "state/GameState.h"

namespace quintaro {

class MainWindow;

class Application : public QObject {
    Q_OBJECT
  public:
    Application();
    ~Application() override;

    // Reads the settings, prepares the sound and runs the new-game dialog. Returns false when
    // the dialog was closed before a game was set up; the program then shuts down.
    bool startUp();
    // Opens the main window of a new game with the players of the state.
    void startGame();
    // Runs the event loop until the program is left, then shuts down. Returns the exit code.
    int run();
    // Releases the sound, the pictures and the windows. Safe to call more than once.
    void shutdown();

    GameState& state() { return state_; }
    MainWindow* window() const { return window_.get(); }

  private:
    void newGame();
    void exit();

    GameState state_;
    std::unique_ptr<MainWindow> window_;
};

// The whole program: the command line is ignored and the exit code is always 0.
int runQuintaro(const char* programName);

}  // namespace quintaro
