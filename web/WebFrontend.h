#pragma once
// The browser edition's front end: the shell's main window, dialogs and sound over the page.
// The board's values live here, in C++; every write is pushed to the page's view (web/page/
// view.js) and every read is answered from here. The page reports the player's input back
// through the exported functions of WebMain.cpp.

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rules/MemoryBoard.h"
#include "shell/Frontend.h"

namespace quintaro {

// The board's values are the in-memory board's; every write also goes to the page.
class WebBoard : public MemoryBoard {
  public:
    using MemoryBoard::MemoryBoard;

    void setCellText(int row, int column, const std::string& text) override;
    void setCellColour(int row, int column, Colour colour) override;
    void setRowColour(int row, Colour colour) override;
    void setDieHeld(int die, bool held) override;
    void setControlText(int control, const std::string& text) override;
    void setControlEnabled(int control, bool enabled) override;
    // The page's box; nothing is kept.
    void showMessage(const std::string& caption, const std::string& text) override;
};

// Names for screen readers: aria-label on the controls and the grid's cells; a label that
// changed is read out through the page's live region.
class WebSink : public AccessibleSink {
  public:
    void nameControl(int control, const std::string& name) override;
    void nameCell(int row, int column, const std::string& name) override;
    void announce(int control) override;
};

class WebWindow : public GameWindow {
  public:
    explicit WebWindow(const WindowSetup& setup);

    Board& board() override { return board_; }
    void setTitle(const std::string& title) override;
    void setMenuTexts(const std::array<std::string, menuTextCount>& texts) override;
    void askYesNo(const std::string& caption, const std::string& text) override;
    void showOptions(const OptionsTexts& texts, const OptionsView& view) override;
    void closeOptions() override;
    void startPause(int milliseconds) override;
    void showSelection(int row) override;
    int focusedControl() const override;
    void focusControl(int control) override;
    void frameDice(unsigned dice) override;
    void describeHint(const std::string& description) override;
    AccessibleSink& accessibleSink() override { return sink_; }

  private:
    WebBoard board_;
    WebSink sink_;
};

class WebFrontend : public Frontend {
  public:
    void useToolkitLanguage(const std::string& languageCode) override;
    void initSound() override {}
    void loadSound(int number, const std::string& fileName) override;
    void playSound(int number) override;
    void freeSound(int number) override;
    void releaseSound() override;
    void freePictures() override {}
    void openDocument(const std::string& fileName) override;
    void showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) override;
    void closeNewGameDialog() override;
    void showInputBox(const std::string& title, const std::string& prompt,
                      const std::string& defaultText, DialogEvents& events) override;
    GameWindow& openMainWindow(const WindowSetup& setup, WindowEvents& events) override;
    void closeMainWindow() override;
    void quit() override;

    // A window taken away goes once the event that took it is over.
    void dropClosedWindows() { closed_.clear(); }
    bool quitting() const { return quitting_; }
    // The open main window, nullptr without one.
    WebWindow* window() { return window_.get(); }

  private:
    std::unique_ptr<WebWindow> window_;
    std::vector<std::unique_ptr<WebWindow>> closed_;
    bool quitting_ = false;
};

// A text as a JSON string, quotes included.
std::string jsonString(const std::string& text);

}  // namespace quintaro
