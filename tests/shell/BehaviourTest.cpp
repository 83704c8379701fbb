// The behaviour suite on the shell with the late-answering fake front end.
#include <gtest/gtest.h>

#include "shell/GameShell.h"
#include "tests/support/Behaviour.h"
#include "tests/support/FakeFrontend.h"
#include "tests/support/GameSupport.h"

namespace quintaro::testing {
namespace {

class FakeDriver : public EditionDriver {
  public:
    FakeDriver() { frontend_.closeMessages = false; }

    void startGame(int players, bool computer) override {
        state_ = gameState(computer ? 2 : players, computer ? 1 : 0);
        state_.delayMs = 0;
        shell_.startGame();
    }
    void pressKey(const std::string& key, bool ctrl) override {
        PortableKey portable = characterKey(key.size() == 1 ? key[0] : 0);
        if (key == "Space") {
            portable = characterKey(' ');
        } else if (key == "Up" || key == "Down" || key == "Enter") {
            portable = namedKey(key == "Up"     ? NamedKey::Up
                                : key == "Down" ? NamedKey::Down
                                                : NamedKey::Enter);
        }
        unsigned modifiers = ctrl ? unsigned(ControlModifier) : 0u;
        if (key.rfind("Keypad", 0) == 0) {
            portable = characterKey(key.back());
            modifiers |= KeypadModifier;
        }
        shell_.keyPressed({portable, modifiers, window().focused});
    }
    // A click gives the control the focus first, as the toolkits do.
    void clickRoll() override {
        window().focused = RollButton;
        shell_.roll();
    }
    void clickDie(int die) override {
        window().focused = die;
        shell_.dieClicked(die);
    }
    void clickCell(int row) override {
        window().focused = ScoreCard;
        shell_.rowClicked(row);
    }
    void chooseMenuItem(int item) override { shell_.chooseMenuItem(item); }
    void answer(const std::string& answer) override {
        FakeWindow& w = window();
        if (w.board().messages().size() > w.messagesClosed) {
            ++w.messagesClosed;
            w.events().messageClosed();
        } else {
            w.events().yesNoAnswered(answer == "yes");
        }
    }
    void settle(const std::string&) override { frontend_.runLoop(); }

    const Board& board() override { return window().board(); }
    int selectedRow() override { return window().selected; }
    std::uint32_t cellColour(int row, int column) override {
        const MemoryBoard& board = window().board();
        if (!board.cellColourSet(row, column)) {
            return 0xffffff;
        }
        const Colour colour = *board.cellColour(row, column);
        return std::uint32_t(colour.red) << 16 | std::uint32_t(colour.green) << 8 | colour.blue;
    }
    int focusedControl() override { return window().focused; }
    bool messageOpen() override {
        return window().board().messages().size() > window().messagesClosed;
    }

  private:
    FakeWindow& window() { return *frontend_.window(); }

    ScratchFolder folder_;
    GameState state_;
    FakeFrontend frontend_;
    GameShell shell_{state_, frontend_};
};

class Behaviour : public ::testing::TestWithParam<std::string> {};

TEST_P(Behaviour, OnTheShell) {
    FakeDriver driver;
    runBehaviourCase(driver, behaviourCase(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Cases, Behaviour, ::testing::ValuesIn(behaviourCaseNames()),
                         [](const auto& info) { return behaviourTestName(info.param); });

}  // namespace
}  // namespace quintaro::testing
