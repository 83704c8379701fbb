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
#include "win32/Dialogs.h"
#include "win32/Media.h"
#include "win32/UiText.h"
#include "win32/WindowsFrontend.h"

namespace quintaro {
namespace {

using testing::BoxAnswerer;
using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;

struct Game {
    explicit Game(GameState initial)
        : state(std::move(initial)), frontend(state), shell(state, frontend) {
        shell.startGame();
    }
    ~Game() { shell.shutdown(); }
    MainWindow& window() { return *frontend.mainWindow(); }

    GameState state;
    WindowsFrontend frontend;
    GameShell shell;
};

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
        const std::wstring label = widen(window.cellText(row, 0));
        EXPECT_LT(ListView_GetStringWidth(card, label.c_str()), ListView_GetColumnWidth(card, 0))
            << window.cellText(row, 0);
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
    window.setControlText(1, "10");
    expectTextFits(window.control(1), L"10", "die");
    expectTextFits(window.control(RollButton), widen(window.controlText(RollButton)), "roll");
    expectTextFits(window.control(TurnLabel), widen(window.controlText(TurnLabel)), "turn");
    expectTextFits(window.control(HandLabel), widen(window.controlText(HandLabel)), "hand");
    expectScoreCardFits(window, 2);
}

TEST(Dpi, OptionsDialogAtTheScreensDensity) {
    ScratchFolder folder;
    Game game(testing::gameState(2, 1));
    const OptionsLayout& layout = optionsLayout;
    int dpi = 0;
    SIZE client{};
    struct Placed {
        int id;
        LayoutRect rect;
        std::wstring text;
    };
    std::vector<Placed> placed;
    std::vector<std::pair<std::wstring, SIZE>> labels;  // text, fits?
    BoxAnswerer answerer({[&](HWND dialog) {
        SendMessageW(dialog, WM_NULL, 0, 0);
        dpi = windowDpi(dialog);
        client = clientSize(dialog);
        for (int id : {int(SecondsField), int(SecondsControl), int(StrongerBox), int(ApplyButton),
                       int(CancelButton)}) {
            HWND control = GetDlgItem(dialog, id);
            placed.push_back(
                {id, testing::layoutRect(testing::childRect(control)), widen(windowText(control))});
            // The check box's text sits beside its box.
            const int box = id == StrongerBox ? GetSystemMetrics(SM_CXMENUCHECK) + 4 : 0;
            const SIZE extent = testing::textExtent(control, widen(windowText(control)));
            labels.push_back(
                {widen(windowText(control)),
                 {clientSize(control).cx - box - extent.cx, clientSize(control).cy - extent.cy}});
        }
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (GetDlgCtrlID(child) == -1 || GetDlgCtrlID(child) == 0xffff) {
                placed.push_back(
                    {-1, testing::layoutRect(testing::childRect(child)), widen(windowText(child))});
                const SIZE extent = testing::textExtent(child, widen(windowText(child)));
                labels.push_back(
                    {widen(windowText(child)),
                     {clientSize(child).cx - extent.cx, clientSize(child).cy - extent.cy}});
            }
        }
        PostMessageW(GetDlgItem(dialog, CancelButton), BM_CLICK, 0, 0);
    }});
    testing::chooseMenu(game.window(), OptionsItem);
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(dpi, game.window().dpi());
    EXPECT_EQ(client.cx, scaled(layout.client.width, dpi));
    EXPECT_EQ(client.cy, scaled(layout.client.height, dpi));
    ASSERT_EQ(placed.size(), 7u);
    const LayoutRect expected[] = {layout.secondsField, layout.secondsArrows, layout.strongerBox,
                                   layout.applyButton, layout.cancelButton};
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(placed[i].rect, scaled(expected[i], dpi)) << placed[i].id;
    }
    EXPECT_EQ(placed[5].rect, scaled(layout.handLabel, dpi));
    EXPECT_EQ(placed[6].rect, scaled(layout.secondsLabel, dpi));
    for (const auto& [text, room] : labels) {
        EXPECT_GE(room.cx, 0) << narrow(text);
        EXPECT_GE(room.cy, 0) << narrow(text);
    }
}

TEST(Dpi, InputBoxAtTheScreensDensity) {
    const InputBoxLayout& layout = inputBoxLayout;
    int dpi = 0;
    RECT outer{};
    LayoutRect prompt{};
    LayoutRect field{};
    LayoutRect ok{};
    SIZE promptRoom{};
    BoxAnswerer answerer({[&](HWND box) {
        dpi = windowDpi(box);
        GetWindowRect(box, &outer);
        HWND label = GetDlgItem(box, InputPrompt);
        prompt = testing::layoutRect(testing::childRect(label));
        field = testing::layoutRect(testing::childRect(GetDlgItem(box, InputField)));
        ok = testing::layoutRect(testing::childRect(GetDlgItem(box, IDOK)));
        const SIZE extent = testing::textExtent(label, widen(windowText(label)));
        promptRoom = {clientSize(label).cx - extent.cx, clientSize(label).cy - extent.cy};
        BoxAnswerer::pressButton(IDOK)(box);
    }});
    inputBox("", "How many players take part?", "2");
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(outer.right - outer.left, scaled(layout.outer.width, dpi));
    EXPECT_EQ(outer.bottom - outer.top, scaled(layout.outer.height, dpi));
    EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - scaled(layout.leftOfCentre, dpi));
    EXPECT_EQ(prompt, scaled(layout.prompt, dpi));
    EXPECT_EQ(field, scaled(layout.field, dpi));
    EXPECT_EQ(ok, scaled(layout.okButton, dpi));
    EXPECT_GE(promptRoom.cx, 0);
    EXPECT_GE(promptRoom.cy, 0);
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

// Wine's picture scaler draws every mode as the nearest neighbour.
bool underWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

// The mode pictures are scaled to the density, smoothly: a two-colour picture gets blended
// pixels at the border between its colours (on Windows; Wine only resizes).
TEST(Dpi, PicturesScaleSmoothly) {
    // A 4 x 2 bitmap: two black columns, two white ones.
    std::string bmp = std::string("BM") + std::string(52, '\0');
    const auto put32 = [&](std::size_t at, unsigned value) {
        for (int i = 0; i < 4; ++i) {
            bmp[at + std::size_t(i)] = char((value >> (8 * i)) & 0xff);
        }
    };
    const unsigned rowBytes = 12;  // 4 pixels of 3 bytes
    put32(2, 54 + 2 * rowBytes);
    put32(10, 54);
    put32(14, 40);
    put32(18, 4);
    put32(22, 2);
    bmp[26] = 1;
    bmp[28] = 24;
    put32(34, 2 * rowBytes);
    for (int row = 0; row < 2; ++row) {
        bmp += std::string(6, '\0') + std::string(6, '\xff');
    }
    for (const auto& [dpi, width] : {std::pair{96, 4}, {144, 6}, {192, 8}}) {
        SCOPED_TRACE(dpi);
        HBITMAP picture = decodePicture(bmp, dpi);
        ASSERT_NE(picture, nullptr);
        BITMAP info{};
        GetObjectW(picture, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, width);
        EXPECT_EQ(info.bmHeight, width / 2);
        // Blended pixels between the black and the white half, where the picture grew.
        const auto* pixels = static_cast<const unsigned char*>(info.bmBits);
        ASSERT_NE(pixels, nullptr);
        int blended = 0;
        for (int x = 0; x < info.bmWidth; ++x) {
            const unsigned char blue = pixels[3 * x];
            blended += blue > 8 && blue < 247 ? 1 : 0;
        }
        EXPECT_EQ(blended > 0, dpi != 96 && !underWine()) << blended;
        EXPECT_LT(pixels[0], 8);
        EXPECT_GT(pixels[3 * (info.bmWidth - 1)], 247);
        DeleteObject(picture);
    }
}

}  // namespace
}  // namespace quintaro
