// The Windows edition on screens of other densities: every size of the layout table scaled
// by dpi / 96, the texts never cut, and a change of density laying everything out again.
// The suite runs at the test prefix's density (96 in the ordinary run; tools/wine-dpi-test.sh
// runs it again at 144 and 192).

#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "shell/GameShell.h"
#include "tests/support/GameSupport.h"
#include "tests/win32/WindowsTestSupport.h"
#include "win32/UiText.h"
#include "win32/WindowsFrontend.h"

namespace quintaro {
namespace {

using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;

using testing::Game;

SIZE clientSize(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

// A control's own text fits inside it, in its own font.
void expectTextFits(HWND control, const std::wstring& text, const char* what) {
    const SIZE extent = testing::textExtent(control, text);
    const SIZE inside = clientSize(control);
    EXPECT_LE(extent.cx, inside.cx) << what;
    EXPECT_LE(extent.cy, inside.cy) << what;
}

void expectScoreCardFits(MainWindow& window, int players) {
    HWND card = window.control(ScoreCard);
    // Every row is in sight, and every row label fits its column.
    RECT last{};
    ListView_GetItemRect(card, 14, &last, LVIR_BOUNDS);
    EXPECT_LE(last.bottom, clientSize(card).cy);
    for (int row = 0; row < 15; ++row) {
        const std::wstring label = widen(window.board().cellText(row, 0));
        EXPECT_LT(ListView_GetStringWidth(card, label.c_str()), ListView_GetColumnWidth(card, 0))
            << window.board().cellText(row, 0);
    }
    RECT columns{};
    ListView_GetSubItemRect(card, 0, players, LVIR_BOUNDS, &columns);
    EXPECT_LE(columns.right, clientSize(card).cx);
}

TEST(Dpi, MainWindowAtTheScreensDensity) {
    ScratchFolder folder;
    RepeatRandom random({}, 4);
    RandomScope scope(random);
    Game game(testing::gameState(2));
    MainWindow& window = game.window();
    const int dpi = window.dpi();
    RecordProperty("dpi", dpi);
    // A run at a chosen density says which it expects, so a prefix that did not take the
    // setting cannot pass for it.
    if (const char* expected = std::getenv("QUINTARO_EXPECT_DPI")) {
        EXPECT_EQ(dpi, std::atoi(expected));
    }
    // The client area under the menu bar, as measured at the three densities (the menu bar
    // grows with its font).
    const struct {
        int dpi;
        SIZE client;
    } known[] = {{96, {600, 281}}, {144, {900, 422}}, {192, {1200, 562}}};
    const SIZE client = clientSize(window.handle());
    for (const auto& k : known) {
        if (k.dpi == dpi) {
            EXPECT_NEAR(client.cx, k.client.cx, 2) << dpi;
            EXPECT_NEAR(client.cy, k.client.cy, 2) << dpi;
        }
    }
    // The fonts grow with the density: the dice font is 16 points at its dpi.
    LOGFONTW dice{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(window.control(1), WM_GETFONT, 0, 0)),
               sizeof dice, &dice);
    EXPECT_EQ(dice.lfHeight, -MulDiv(16, dpi, 72));

    // No text is cut: the longest face, the hand name after two rolls, the labels, the card.
    testing::clickButton(window.control(RollButton));
    testing::clickButton(window.control(RollButton));
    window.board().setControlText(1, "10");
    expectTextFits(window.control(1), L"10", "die");
    expectTextFits(window.control(RollButton), widen(window.board().controlText(RollButton)),
                   "roll");
    expectTextFits(window.control(TurnLabel), widen(window.board().controlText(TurnLabel)), "turn");
    expectTextFits(window.control(HandLabel), widen(window.board().controlText(HandLabel)), "hand");
    expectScoreCardFits(window, 2);
}

// The system tells a window of a new density with WM_DPICHANGED and a suggested rectangle:
// the window takes it, and every control, column and font follows; back at 96 DPI every
// position is the first one again.
TEST(Dpi, ADensityChangeLaysEverythingOutAgain) {
    ScratchFolder folder;
    Game game(testing::gameState(3));
    MainWindow& window = game.window();
    const MainWindowLayout layout = mainWindowLayout(3);
    const int start = window.dpi();
    HWND handle = window.handle();
    const DWORD style = DWORD(GetWindowLongW(handle, GWL_STYLE));
    for (int dpi : {start * 5 / 4, start * 3 / 2, start * 2, start}) {
        SCOPED_TRACE(dpi);
        RECT before{};
        GetWindowRect(handle, &before);
        const SIZE outer = outerSize(layout.client, style, 0, dpi);
        // The system keeps a window within the screen's size: a density whose window would
        // not fit is left to a larger screen.
        if (outer.cx > GetSystemMetrics(SM_CXMAXTRACK) ||
            outer.cy > GetSystemMetrics(SM_CYMAXTRACK)) {
            continue;
        }
        RECT suggested{before.left, before.top, before.left + outer.cx, before.top + outer.cy};
        SendMessageW(handle, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(window.dpi(), dpi);
        RECT now{};
        GetWindowRect(handle, &now);
        EXPECT_EQ(now.right - now.left, outer.cx);
        EXPECT_EQ(now.bottom - now.top, outer.cy);
        EXPECT_EQ(testing::layoutRect(testing::childRect(window.control(ScoreCard))),
                  scaled(layout.scoreCard, dpi));
        EXPECT_EQ(testing::layoutRect(testing::childRect(window.control(RollButton))),
                  scaled(layout.rollButton, dpi));
        EXPECT_EQ(testing::layoutRect(testing::childRect(window.control(5))),
                  scaled(layout.dice[4], dpi));
        EXPECT_EQ(testing::layoutRect(testing::childRect(window.control(HandLabel))),
                  scaled(layout.handLabel, dpi));
        for (int column = 0; column < layout.columns; ++column) {
            EXPECT_EQ(ListView_GetColumnWidth(window.control(ScoreCard), column),
                      scaled(layout.columnWidths[std::size_t(column)], dpi));
        }
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(window.control(1), WM_GETFONT, 0, 0)),
                  diceFont(dpi));
        EXPECT_EQ(
            reinterpret_cast<HFONT>(SendMessageW(window.control(RollButton), WM_GETFONT, 0, 0)),
            guiFont(dpi));
        expectScoreCardFits(window, 3);
    }
}

}  // namespace
}  // namespace quintaro
