#pragma once
// A front end held in memory for the shell's tests: a main window over the in-memory board,
// scripted answers for the dialogs and boxes, and a log of what the shell asked for.

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "rules/MemoryBoard.h"
#include "shell/Frontend.h"
#include "state/GameState.h"

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

class FakeWindow : public GameWindow {
  public:
    FakeWindow(const GameState& state, const WindowTexts& texts, std::vector<std::string>& log);

    MemoryBoard& board() override { return board_; }
    void setTitle(const std::string& title) override;
    void setMenuTexts(const std::array<std::string, menuTextCount>& texts) override;
    bool askYesNo(const std::string& caption, const std::string& text) override;
    bool runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                          OptionsChoice& choice) override;
    void pause(int milliseconds) override;
    int selectedRow() const override { return selected; }
    void selectRow(int row) override { selected = row; }
    void focusScoreCard() override { log_.push_back("focus score card"); }
    void frameDice(unsigned dice) override { framedDice = dice; }
    void describeHint(const std::string& description) override { hintDescription = description; }
    FakeSink& accessibleSink() override { return sink; }

    int selected = -1;
    unsigned framedDice = 0;
    std::string hintDescription;
    FakeSink sink;
    std::string title;
    std::array<std::string, menuTextCount> menu;
    bool yesAnswer = false;
    // Options: nothing for Cancel, else the choice Apply stores.
    std::optional<OptionsChoice> optionsAnswer;
    int optionsShownSeconds = -1;
    OptionsChoice optionsOffered;
    OptionsTexts optionsTexts;
    // Runs inside the pause, as a click or a menu command would.
    std::function<void()> duringPause;

  private:
    MemoryBoard board_;
    std::vector<std::string>& log_;
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
    GameMode chooseGameMode(const std::string& title, const std::string& peopleName,
                            const std::string& computerName) override;
    void closeNewGameDialog() override;
    std::string inputBox(const std::string& title, const std::string& prompt,
                         const std::string& defaultText) override;
    GameWindow& openMainWindow(const WindowTexts& texts, WindowEvents& events) override;
    void closeMainWindow() override;
    void quit() override;

    FakeWindow* window() const { return window_.get(); }

    GameState* state = nullptr;  // the players the window is built with
    GameMode mode = GameMode::None;
    std::deque<std::string> answers;  // for the input box, in order
    struct Question {
        std::string title, prompt, defaultText;
        bool operator==(const Question&) const = default;
    };
    std::vector<Question> questions;
    std::vector<std::string> log;  // every call, in order
    int windowsOpened = 0;
    std::pair<std::string, std::string> modeButtonNames;

  private:
    std::unique_ptr<FakeWindow> window_;
};

}  // namespace quintaro::testing
