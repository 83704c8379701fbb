#pragma once
// The Windows edition as the shell sees it: windows, dialogs, boxes, sound and pictures on
// the Win32 API, and the program's message loop.

#include <memory>
#include <vector>

#include "shell/Frontend.h"
#include "win32/MainWindow.h"

namespace quintaro {

class WindowsFrontend : public Frontend {
  public:
    WindowsFrontend();
    ~WindowsFrontend() override;

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

    // Handles messages until quit; windows closed meanwhile are destroyed between messages.
    void run();
    // Handles the messages waiting now, without blocking (for the tests).
    void processPending();
    bool quitting() const { return quitting_; }
    MainWindow* mainWindow() const { return window_.get(); }
    HWND newGameDialog() const { return dialog_; }

    // One message: the keys of play go to the game, the dialog keys to the open box or
    // dialog, the rest to their windows.
    void dispatch(const MSG& message);

  private:
    void destroyClosedWindows();
    // A key down in the main window, handed to the game: true when the game took it.
    bool handleGameKey(const MSG& message);

    HWND dialog_ = nullptr;
    std::unique_ptr<MainWindow> window_;
    std::vector<std::unique_ptr<MainWindow>> closed_;
    bool quitting_ = false;
    // The sound device is opened with the first sound, after the first window is up.
    bool soundWanted_ = false;
};

// Start-up to shutdown of the Windows edition. Returns the exit code, always 0.
int runQuintaro();

}  // namespace quintaro
