// The behaviour suite on the Windows edition: a real main window, keys and clicks through the
// system's input queue to the window in front, colours as the score card's drawing gives
// them, and every wait with a deadline of its own.
#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/Behaviour.h"
#include "tests/support/GameSupport.h"
#include "tests/win32/WindowsTestSupport.h"
#include "win32/Dialogs.h"

namespace quintaro::testing {
namespace {

WORD virtualKey(const std::string& key) {
    if (key == "Space") {
        return VK_SPACE;
    }
    if (key == "Up") {
        return VK_UP;
    }
    if (key == "Down") {
        return VK_DOWN;
    }
    if (key == "Enter") {
        return VK_RETURN;
    }
    if (key.rfind("Keypad", 0) == 0) {
        return WORD(VK_NUMPAD0 + (key.back() - '0'));
    }
    // The virtual keys of the digits and the letters are their characters.
    return key.size() == 1 ? WORD(key[0]) : 0;
}

class WindowsDriver : public EditionDriver {
  public:
    void startGame(int players, bool computer) override {
        game_.reset();
        GameState state = gameState(computer ? 2 : players, computer ? 1 : 0);
        state.delayMs = 0;
        game_ = std::make_unique<Game>(state);
        game_->toFront("the new main window comes to the front");
    }
    void pressKey(const std::string& key, bool ctrl) override {
        ASSERT_NE(virtualKey(key), 0) << key;
        typeKey(virtualKey(key), ctrl);
    }
    void clickRoll() override { clickControl(window().control(RollButton)); }
    void clickDie(int die) override { clickControl(window().control(die)); }
    void clickCell(int row) override { testing::clickCell(window(), row, 1); }
    void chooseMenuItem(int item) override {
        PostMessageW(window().handle(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
    }
    void answer(const std::string& answer) override {
        HWND box = openBox(messageBoxClass);
        ASSERT_NE(box, nullptr) << "no box to answer " << answer;
        const int button = answer == "yes" ? IDYES : answer == "no" ? IDNO : IDOK;
        HWND target = GetDlgItem(box, button);
        ASSERT_NE(target, nullptr) << "the box has no button for " << answer;
        clickControl(target);
    }
    void settle(const std::string& step) override { testing::settle(game_->frontend, step); }

    const Board& board() override { return window().board(); }
    int selectedRow() override {
        return ListView_GetNextItem(window().control(ScoreCard), -1, LVNI_SELECTED);
    }
    std::uint32_t cellColour(int row, int column) override {
        const COLORREF drawn = drawnCellColour(window(), row, column);
        return std::uint32_t(GetRValue(drawn)) << 16 | std::uint32_t(GetGValue(drawn)) << 8 |
               GetBValue(drawn);
    }
    int focusedControl() override { return window().board().controlNumber(GetFocus()); }
    bool messageOpen() override { return openBox(messageBoxClass) != nullptr; }

  private:
    MainWindow& window() { return game_->window(); }

    ScratchFolder folder_;
    std::unique_ptr<Game> game_;
};

class Behaviour : public ::testing::TestWithParam<std::string> {};

TEST_P(Behaviour, OnWindows) {
    WindowsDriver driver;
    runBehaviourCase(driver, behaviourCase(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Cases, Behaviour, ::testing::ValuesIn(behaviourCaseNames()),
                         [](const auto& info) { return behaviourTestName(info.param); });

}  // namespace
}  // namespace quintaro::testing
