#pragma once
// A front end held in memory for the shell's tests: a main window over the in-memory board,
// scripted answers for the dialogs and boxes, and a log of what the shell asked for.
//
// It answers late, as a browser page does: a question returns at once and its answer is
// delivered only from the fake's own loop (runLoop), after the shell's call has returned.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rules/MemoryBoard.h"
#include "shell/Frontend.h"

namespace quintaro::testing {

// Keeps the names the shell hands out, and the labels it announced, in order.
class FakeSink : public AccessibleSink {
  public:
    void nameControl(int control, const std::string& name) override { controls[control] = name; }
    void nameCell(int row, int column, const std::string& name) override {
        cells[{row, column}] = name;
    }
    void announce(int control) override { announced.push_back(control); }

    std::map<int, std::string> controls;
    std::map<std::pair<int, int>, std::string> cells;
    std::vector<int> announced;
};

class FakeFrontend;

class FakeWindow : public GameWindow {
  public:
    FakeWindow(FakeFrontend& frontend, const WindowSetup& setup, WindowEvents& events);

    MemoryBoard& board() override { return board_; }
    void setTitle(const std::string& title) override;
    void setMenuTexts(const std::array<std::string, menuTextCount>& texts) override;
    void askYesNo(const std::string& caption, const std::string& text) override;
    void showOptions(const OptionsTexts& texts, const OptionsView& view) override;
    void closeOptions() override;
    void startPause(int milliseconds) override;
    void showSelection(int row) override { selected = row; }
    int focusedControl() const override { return focused; }
    void focusControl(int control) override { focused = control; }
    void frameDice(unsigned dice) override { framedDice = dice; }
    void describeHint(const std::string& description) override { hintDescription = description; }
    FakeSink& accessibleSink() override { return sink; }

    WindowEvents& events() { return events_; }

    int selected = -1;
    int focused = -1;
    unsigned framedDice = 0;
    std::string hintDescription;
    FakeSink sink;
    std::string title;
    std::array<std::string, menuTextCount> menu;
    bool yesAnswer = false;
    // The options dialog: the edits the player makes, in order, once it is open; the form as
    // last shown; whether it is open.
    std::vector<OptionsEdit> optionsEdits;
    std::optional<OptionsView> optionsShown;
    OptionsTexts optionsTexts;
    bool optionsOpen = false;
    // The pause ends by itself in the loop unless held; the player's input may be sent
    // meanwhile.
    bool holdPause = false;
    bool pauseRunning = false;
    // Message boxes the loop has closed.
    std::size_t messagesClosed = 0;

  private:
    FakeFrontend& frontend_;
    WindowEvents& events_;
    MemoryBoard board_;
};

class FakeFrontend : public Frontend {
  public:
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

    // Delivers the answers that are due, and every answer they lead to, until nothing more
    // is due. Message boxes are closed here too.
    void runLoop();
    // An answer for later, from the loop.
    void later(std::function<void()> answer) { due_.push_back(std::move(answer)); }

    FakeWindow* window() const { return window_.get(); }

    // The mode the new-game dialog answers (None: its close box).
    GameMode mode = GameMode::None;
    std::deque<std::string> answers;  // for the input box, in order; Escape when they run out
    std::vector<InputQuestion> questions;
    std::vector<std::string> log;  // every call, in order
    int windowsOpened = 0;
    std::pair<std::string, std::string> modeButtonNames;
    bool newGameDialogOpen = false;
    // Whether the loop closes message boxes by itself.
    bool closeMessages = true;
    bool quitCalled = false;

  private:
    std::deque<std::function<void()>> due_;
    std::unique_ptr<FakeWindow> window_;
    // Windows taken away stay until the loop runs, as a toolkit's deferred deletion.
    std::vector<std::unique_ptr<FakeWindow>> closed_;
};

}  // namespace quintaro::testing
