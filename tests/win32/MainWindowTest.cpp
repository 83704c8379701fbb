// The Windows edition's main window: layout, whole games compared turn by turn with the same
// game on the in-memory board, menus and the language switch, the boxes, the options dialog
// and the pause. What a player sees every edition do is the behaviour suite's.

#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <gtest/gtest.h>

#include "rules/MemoryBoard.h"
#include "shell/GameShell.h"
#include "tests/support/Files.h"
#include "tests/support/GameSupport.h"
#include "tests/win32/WindowsTestSupport.h"
#include "win32/Dialogs.h"
#include "win32/UiText.h"
#include "win32/WindowsFrontend.h"

namespace quintaro {
namespace {

using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;

const std::string mark = "\xEF\xBB\xBF\r\n";

using testing::Game;

void roll(MainWindow& window) {
    testing::clickButton(window.control(RollButton));
}

struct MainWindowTest : ::testing::Test {
    ScratchFolder folder;
};

TEST_F(MainWindowTest, LayoutForTwoThreeAndFourPlayers) {
    for (int players : {2, 3, 4}) {
        SCOPED_TRACE(players);
        const MainWindowLayout layout = mainWindowLayout(players);
        Game game(testing::gameState(players));
        MainWindow& window = game.window();
        HWND handle = window.handle();
        // Every size of the table, scaled for the screen's density (96 DPI: as it stands).
        const int dpi = window.dpi();
        EXPECT_EQ(dpi, windowDpi(handle));
        // The outer size is that of the table's client area; the menu bar takes its share.
        RECT outer{};
        GetWindowRect(handle, &outer);
        const SIZE expected =
            outerSize(layout.client, DWORD(GetWindowLongW(handle, GWL_STYLE)), 0, dpi);
        EXPECT_EQ(outer.right - outer.left, expected.cx);
        EXPECT_EQ(outer.bottom - outer.top, expected.cy);
        if (dpi == baseDpi) {
            RECT plain{0, 0, layout.client.width, layout.client.height};
            AdjustWindowRectEx(&plain, GetWindowLongW(handle, GWL_STYLE), FALSE, 0);
            EXPECT_EQ(expected.cx, plain.right - plain.left);
            EXPECT_EQ(expected.cy, plain.bottom - plain.top);
        }
        RECT client{};
        GetClientRect(handle, &client);
        EXPECT_EQ(client.right, scaled(layout.client.width, dpi));
        EXPECT_GE(client.bottom, scaled(layout.scoreCard.bottom(), dpi));
        EXPECT_EQ(
            GetWindowLongW(handle, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
            0);
        EXPECT_EQ(testing::windowTextOf(handle), "Quintaro");

        const struct {
            int control;
            LayoutRect rect;
        } controls[] = {{ScoreCard, layout.scoreCard},
                        {RollButton, layout.rollButton},
                        {TurnLabel, layout.turnLabel},
                        {HandLabel, layout.handLabel},
                        {1, layout.dice[0]},
                        {2, layout.dice[1]},
                        {3, layout.dice[2]},
                        {4, layout.dice[3]},
                        {5, layout.dice[4]}};
        for (const auto& c : controls) {
            EXPECT_EQ(testing::layoutRect(testing::childRect(window.control(c.control))),
                      scaled(c.rect, dpi))
                << c.control;
            EXPECT_EQ(GetDlgCtrlID(window.control(c.control)), c.control);
        }
        for (int die = 1; die <= 5; ++die) {
            const LONG style = GetWindowLongW(window.control(die), GWL_STYLE);
            // The shell holds and releases a die: the button does not flip by itself.
            EXPECT_EQ(style & BS_TYPEMASK, BS_CHECKBOX);
            EXPECT_NE(style & BS_PUSHLIKE, 0);
        }
        HWND card = window.control(ScoreCard);
        EXPECT_EQ(GetWindowLongW(card, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_NE(GetWindowLongW(card, GWL_STYLE) & LVS_SINGLESEL, 0);
        EXPECT_NE(GetWindowLongW(card, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
        EXPECT_EQ(
            ListView_GetExtendedListViewStyle(card) & (LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT),
            DWORD(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT));
        for (int p = 0; p <= players; ++p) {
            EXPECT_EQ(ListView_GetColumnWidth(card, p),
                      scaled(layout.columnWidths[std::size_t(p)], dpi));
        }
        EXPECT_EQ(ListView_GetItemCount(card), 15);
        EXPECT_EQ(window.board().cellText(11, 0), testing::languageText("en.lang", "FH"));
        for (int row : {6, 14}) {
            for (int column = 0; column <= players; ++column) {
                EXPECT_EQ(testing::drawnCellColour(window, row, column), RGB(102, 255, 255));
            }
        }
        EXPECT_EQ(testing::drawnCellColour(window, 0, 1), GetSysColor(COLOR_WINDOW));
        EXPECT_FALSE(IsWindowEnabled(card));
        EXPECT_TRUE(IsWindowEnabled(window.control(RollButton)));
        EXPECT_EQ(window.board().controlText(TurnLabel), "Ann");
    }
}

// The common controls load late, from their own manifest: the main window's controls must
// still be those of version 6, which draw in the system's visual styles.
TEST_F(MainWindowTest, TheControlsComeFromTheVersionWithVisualStyles) {
    Game game(testing::gameState(2));
    for (int number : {int(ScoreCard), int(RollButton)}) {
        SCOPED_TRACE(number);
        HWND control = game.window().control(number);
        // The library whose code handles the control's messages.
        HMODULE library = nullptr;
        GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(GetWindowLongPtrW(control, GWLP_WNDPROC)), &library);
        wchar_t path[MAX_PATH] = {};
        GetModuleFileNameW(library, path, MAX_PATH);
        std::wstring name(path);
        CharLowerW(name.data());
        EXPECT_NE(name.find(L"common-controls"), std::wstring::npos) << narrow(name);
    }
}

TEST_F(MainWindowTest, MenusStartInTheLanguageAndSwitch) {
    Game game(testing::gameState(2));
    MainWindow& window = game.window();
    HMENU bar = window.menu();
    const auto text = [](const char* file, const char* key) {
        return testing::languageText(file, key);
    };
    EXPECT_EQ(testing::menuText(bar, 0, true), text("en.lang", "MenuTitleGame"));
    EXPECT_EQ(testing::menuText(bar, NewGameItem, false), text("en.lang", "MenuNewGame"));
    EXPECT_EQ(testing::menuText(bar, RulesItem, false), text("en.lang", "MenuTitleHelp"));
    EXPECT_EQ(testing::menuText(bar, AboutItem, false), text("en.lang", "MenuAbout") + "...");
    EXPECT_EQ(testing::menuText(GetSubMenu(bar, 1), 2, true), "Language");
    EXPECT_EQ(testing::menuText(bar, GermanItem, false), "German");

    // A switch in the middle of a turn keeps the dice and the holds.
    roll(window);
    testing::clickButton(window.control(3));
    const std::string before = testing::snapshot(window.board(), 2);
    for (const auto& [item, file] :
         {std::pair{GermanItem, "de.lang"}, {BulgarianItem, "bg.lang"}, {EnglishItem, "en.lang"}}) {
        SCOPED_TRACE(file);
        testing::chooseMenu(window, item);
        EXPECT_EQ(testing::menuText(bar, 0, true), text(file, "MenuTitleGame"));
        EXPECT_EQ(testing::menuText(bar, 2, true), text(file, "MenuTitleHelp"));
        EXPECT_EQ(testing::menuText(bar, ExitItem, false), text(file, "MenuExit"));
        EXPECT_EQ(testing::menuText(bar, OptionsItem, false), text(file, "MenuOptions"));
        EXPECT_EQ(testing::menuText(bar, AboutItem, false), text(file, "MenuAbout"));
        EXPECT_EQ(testing::menuText(bar, BulgarianItem, false), "Bulgarian");
        EXPECT_EQ(window.board().controlText(RollButton), text(file, "roll"));
        EXPECT_EQ(window.board().cellText(0, 0), text(file, "Nines"));
        EXPECT_EQ(window.board().cellText(14, 0), text(file, "Total"));
        EXPECT_EQ(testing::snapshot(window.board(), 2).substr(0, 60), before.substr(0, 60));
        EXPECT_EQ(testing::readBytes("settings.ini"),
                  mark + "lang = " + std::string(file).substr(0, 2) + "\r\n");
    }
    EXPECT_TRUE(window.board().dieHeld(3));
    EXPECT_EQ(game.shell.turnFlow()->rollCount(), 1);
}

TEST_F(MainWindowTest, CyrillicTextsSurviveTheWayThroughTheApi) {
    Game game(testing::gameState(2, 0, "bg.lang"));
    MainWindow& window = game.window();
    const std::string title = testing::languageText("bg.lang", "Title");
    EXPECT_EQ(testing::windowTextOf(window.handle()), title.empty() ? "Quintaro" : title);
    EXPECT_EQ(window.board().cellText(5, 0), testing::languageText("bg.lang", "Aces"));
    EXPECT_EQ(testing::menuText(window.menu(), 1, true),
              testing::languageText("bg.lang", "MenuTitleTools"));
    const std::string name = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD";  // Иван
    window.board().setControlText(TurnLabel, name);
    EXPECT_EQ(window.board().controlText(TurnLabel), name);
    window.board().setCellText(3, 1, name);
    EXPECT_EQ(window.board().cellText(3, 1), name);
}

// Plays a whole game through window messages and through TurnFlow on the in-memory board,
// from the same random sequence, comparing the two after every turn.
void playAlongside(GameState stateForWindow, GameState stateForMemory, unsigned seed) {
    const int players = stateForWindow.playerCount;
    MemoryBoard memory(players);
    memory.setControlText(RollButton, testing::languageText(stateForWindow.languageFile, "roll"));
    std::vector<std::string> steps;
    const int turns = stateForMemory.computerMode ? 13 : 13 * players;
    {
        RepeatRandom random({}, seed);
        RandomScope scope(random);
        TurnFlow flow(memory, stateForMemory);
        for (int turn = 0; turn < turns; ++turn) {
            flow.roll();
            memory.setDieHeld(1 + turn % 5, true);
            flow.roll();
            int row = (turn * 7) % rowCount;
            while (memory.cellColourSet(row, flow.currentPlayer()))
                row = (row + 1) % rowCount;
            flow.book(row);
            steps.push_back(testing::snapshot(memory, players));
        }
    }
    ASSERT_EQ(memory.messages().size(), 1u);

    RepeatRandom random({}, seed);
    RandomScope scope(random);
    Game game(stateForWindow);
    MainWindow& window = game.window();
    ASSERT_TRUE(game.toFront("the main window comes to the front"));
    for (int turn = 0; turn < turns; ++turn) {
        const std::string step = "turn " + std::to_string(turn);
        roll(window);
        testing::clickButton(window.control(1 + turn % 5));
        roll(window);
        const int player = game.shell.turnFlow()->currentPlayer();
        int row = (turn * 7) % rowCount;
        while (window.board().cellColourSet(row, player))
            row = (row + 1) % rowCount;
        testing::clickCell(window, row);
        testing::settle(game.frontend, step + ": the click on the card");
        ASSERT_EQ(testing::snapshot(window.board(), players), steps[std::size_t(turn)])
            << "turn " << turn;
        for (int column = 1; column <= players; ++column) {
            ASSERT_EQ(testing::drawnCellColour(window, row, column),
                      window.board().cellColourSet(row, column) ? RGB(255, 102, 51)
                                                                : GetSysColor(COLOR_WINDOW));
        }
    }
    HWND message = testing::openBox(messageBoxClass);
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(testing::windowTextOf(message), "");
    EXPECT_EQ(testing::boxText(message), memory.messages()[0].second);
    EXPECT_FALSE(IsWindowEnabled(window.handle()));
    testing::pressBoxButton(message, IDOK);
    EXPECT_TRUE(IsWindowEnabled(window.handle()));
    for (int p = 1; p <= players; ++p) {
        EXPECT_EQ(game.state.playerProgress[std::size_t(p)][1], 13);
    }
}

TEST_F(MainWindowTest, AWholeThreePlayerGameMatchesTheMemoryBoard) {
    playAlongside(testing::gameState(3), testing::gameState(3), 2024);
}

TEST_F(MainWindowTest, AWholeGameAgainstTheComputerMatchesTheMemoryBoard) {
    playAlongside(testing::gameState(2, 1), testing::gameState(2, 1), 77);
}

TEST_F(MainWindowTest, NewGameYesRebuildsNoKeeps) {
    RepeatRandom random({}, 5);
    RandomScope scope(random);
    Game game(testing::gameState(3));
    roll(game.window());
    roll(game.window());
    ASSERT_TRUE(game.toFront("the main window comes to the front"));
    testing::clickCell(game.window(), 2);
    testing::settle(game.frontend, "the booking of row 2");
    HWND first = game.window().handle();
    testing::chooseMenu(game.window(), NewGameItem);
    HWND question = testing::openBox(messageBoxClass);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(testing::windowTextOf(question), testing::languageText("en.lang", "NewGame"));
    EXPECT_EQ(testing::boxText(question), testing::languageText("en.lang", "NewGameDesc"));
    // The question has Yes and No, and no close box.
    EXPECT_EQ(GetDlgItem(question, IDOK), nullptr);
    EXPECT_FALSE(IsWindowEnabled(first));
    testing::pressBoxButton(question, IDNO);
    EXPECT_EQ(testing::openBox(messageBoxClass), nullptr);
    EXPECT_EQ(game.window().handle(), first);
    EXPECT_TRUE(IsWindowEnabled(first));
    EXPECT_TRUE(game.window().board().cellColourSet(2, 1));
    testing::chooseMenu(game.window(), NewGameItem);
    testing::pressBoxButton(testing::openBox(messageBoxClass), IDYES);
    testing::settle(game.frontend, "the new game's window");
    EXPECT_NE(game.window().handle(), first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(game.window().board().cellColourSet(2, 1));
    EXPECT_EQ(game.window().board().controlText(TurnLabel), "Ann");
    EXPECT_EQ(game.state.playerProgress[1][1], 0);
    EXPECT_EQ(ListView_GetColumnWidth(game.window().control(ScoreCard), 3), 70);
}

TEST_F(MainWindowTest, AboutAndExit) {
    Game game(testing::gameState(2));
    testing::chooseMenu(game.window(), AboutItem);
    HWND about = testing::openBox(messageBoxClass);
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(testing::windowTextOf(about),
              testing::languageText("en.lang", "MenuAbout") + " Quintaro");
    EXPECT_EQ(testing::boxText(about).substr(0, 14), "Quintaro 1.0.0");
    // The text wraps within its control as it was measured: no line is cut off below, and
    // the text and the button are inside the box.
    HWND text = GetDlgItem(about, MessageText);
    RECT inside{};
    GetClientRect(text, &inside);
    RECT needed = inside;
    HDC dc = GetDC(text);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(text, WM_GETFONT, 0, 0)));
    DrawTextW(dc, widen(testing::boxText(about)).c_str(), -1, &needed,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    SelectObject(dc, previous);
    ReleaseDC(text, dc);
    EXPECT_LE(needed.bottom, inside.bottom);
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_LE(testing::childRect(text).right, client.right);
    EXPECT_LE(testing::childRect(GetDlgItem(about, IDOK)).bottom, client.bottom);
    // While the box is open the window takes no command; Escape closes it.
    testing::chooseMenu(game.window(), ExitItem);
    EXPECT_FALSE(game.frontend.quitting());
    PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(testing::waitFor(
        game.frontend, [] { return testing::openBox(messageBoxClass) == nullptr; },
        "Escape closes the About box"));
    EXPECT_FALSE(game.frontend.quitting());
    testing::chooseMenu(game.window(), ExitItem);
    EXPECT_TRUE(game.frontend.quitting());
}

// With the focus on no window, Windows hands keys to the active window as system keys; they
// are keys of play all the same.
TEST_F(MainWindowTest, KeysArriveWithTheFocusOnNoWindow) {
    Game game(testing::gameState(2));
    MainWindow& window = game.window();
    ASSERT_TRUE(game.toFront("the main window comes to the front"));
    SetFocus(nullptr);
    testing::typeKey('R');
    testing::settle(game.frontend, "R with the focus on no window");
    EXPECT_NE(window.board().controlText(1), "");
    testing::typeKey('2');
    testing::settle(game.frontend, "2 with the focus on no window");
    EXPECT_TRUE(window.board().dieHeld(2));
}

TEST_F(MainWindowTest, TheHintFramesTheDiceToHoldAndSelectsTheRowToBook) {
    RepeatRandom random({}, 8);
    RandomScope scope(random);
    Game game(testing::gameState(2));
    MainWindow& window = game.window();
    game.shell.coach().wait();
    roll(window);
    testing::chooseMenu(window, HintItem);
    const auto hold = game.shell.coach().adviseHold(window.board(), 1);
    ASSERT_TRUE(hold.has_value());
    ASSERT_NE(hold->bestHold, 0u) << "this throw has dice worth holding";
    EXPECT_EQ(window.hintedDice(), hold->bestHold);
    EXPECT_EQ(window.board().controlText(HandLabel).rfind("\u2248 ", 0), 0u);
    for (int die = 1; die <= 5; ++die) {
        HWND button = window.control(die);
        UpdateWindow(button);
        RECT area{};
        GetClientRect(button, &area);
        HDC dc = GetDC(button);
        const COLORREF edge = GetPixel(dc, 1, area.bottom / 2);
        ReleaseDC(button, dc);
        EXPECT_EQ(edge == RGB(0x1f, 0x8a, 0x3b), (hold->bestHold & (1u << (die - 1))) != 0) << die;
    }
    // The hint's words are the hand label's tooltip, as the Linux edition shows them.
    EXPECT_EQ(window.hintTip().rfind(testing::languageText("en.lang", "HintBest") + ": ", 0), 0u);
    EXPECT_EQ(window.board().controlName(3).rfind("Die 3: ", 0), 0u);
    // Pressing a die is the next action: the frames and the words go, and the die's name
    // follows its button.
    testing::clickButton(window.control(3));
    EXPECT_EQ(window.hintedDice(), 0u);
    EXPECT_EQ(window.hintTip(), "");
    EXPECT_NE(window.board().controlName(3).find(", held"), std::string::npos);
    testing::clickButton(window.control(3));

    roll(window);
    testing::chooseMenu(window, HintItem);
    const auto row = game.shell.coach().adviseRow(window.board(), 1);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(window.shownSelection(), row->bestRow);
}

// The close box clicked during the computer's pause, through the system's input queue, in
// an early turn and in the computer's last one: the window goes at once, no message follows
// (not "Computer wins!"), and settings.ini is not written.
TEST_F(MainWindowTest, TheCloseBoxDuringThePauseLeavesAtOnceWithoutAMessage) {
    for (const bool lastTurn : {false, true}) {
        SCOPED_TRACE(lastTurn);
        RepeatRandom random({}, 9);
        RandomScope scope(random);
        GameState state = testing::gameState(2, 1);
        // Far longer than the test: the close box must not wait for it.
        state.delayMs = 600000;
        if (lastTurn) {
            state.rowsBooked(1) = 12;
            state.rowsBooked(2) = 12;
        }
        Game game(state);
        MainWindow& window = game.window();
        if (lastTurn) {
            // Twelve rows each are booked; the 5 of a Kind row is the last one free.
            for (int row = 0; row < rowCount; ++row) {
                if (isBookableRow(row) && row != 13) {
                    for (int column : {1, 2}) {
                        window.board().setCellText(row, column, "0");
                        window.board().setCellColour(row, column, bookedCellColour);
                    }
                }
            }
        }
        ASSERT_TRUE(game.toFront("the main window comes to the front"));
        roll(window);
        roll(window);
        testing::clickCell(window, lastTurn ? 13 : 0);
        testing::settle(game.frontend, "the booking before the pause");
        ASSERT_TRUE(window.pausing());
        // The close box: the last button at the right end of the title bar.
        TITLEBARINFO title{};
        title.cbSize = sizeof title;
        ASSERT_TRUE(GetTitleBarInfo(window.handle(), &title));
        POINT target{title.rcTitleBar.right - GetSystemMetrics(SM_CXSIZE) / 2,
                     (title.rcTitleBar.top + title.rcTitleBar.bottom) / 2};
        ASSERT_EQ(SendMessageW(window.handle(), WM_NCHITTEST, 0, MAKELPARAM(target.x, target.y)),
                  HTCLOSE);
        ScreenToClient(window.handle(), &target);
        testing::clickAt(window.handle(), target);
        ASSERT_TRUE(testing::waitFor(
            game.frontend, [&] { return game.frontend.quitting(); },
            "the close box during the pause ends the game"));
        // The close box's own loop took the click: nothing more of it reaches the queue.
        EXPECT_FALSE(IsWindowVisible(window.handle()));
        EXPECT_EQ(testing::openBox(messageBoxClass), nullptr);
        EXPECT_EQ(game.state.playerProgress[2][1], lastTurn ? 12 : 0);
        EXPECT_EQ(GetFileAttributesW(L"settings.ini"), INVALID_FILE_ATTRIBUTES);
    }
}

// The window is drawn before the pause and takes no input during it; its timer ends it.
TEST_F(MainWindowTest, ThePauseDropsInputAndEndsByItsTimer) {
    RepeatRandom random({}, 9);
    RandomScope scope(random);
    GameState state = testing::gameState(2, 1);
    state.delayMs = 600000;
    Game game(state);
    MainWindow& window = game.window();
    ASSERT_TRUE(game.toFront("the main window comes to the front"));
    roll(window);
    roll(window);
    testing::clickCell(window, 0);
    testing::settle(game.frontend, "the booking before the pause");
    ASSERT_TRUE(window.pausing());
    EXPECT_NE(window.board().controlText(1), "");  // the computer's dice on show
    testing::clickControl(window.control(RollButton));
    testing::typeKey('R');
    testing::settle(game.frontend, "a click and R during the pause");
    EXPECT_EQ(game.state.playerProgress[2][1], 0);
    EXPECT_EQ(game.shell.turnFlow()->rollCount(), 0);
    EXPECT_TRUE(window.pausing());
    EXPECT_FALSE(game.frontend.quitting());
    // The pause's own timer, as Windows sends it when the time is over.
    SendMessageW(window.handle(), WM_TIMER, 1, 0);
    EXPECT_FALSE(window.pausing());
    EXPECT_EQ(game.state.playerProgress[2][1], 1);
    EXPECT_EQ(window.board().controlText(1), "");
    testing::typeKey('R');
    testing::settle(game.frontend, "R after the pause");
    EXPECT_NE(window.board().controlText(1), "");

    // A short pause ends by itself.
    game.state.delayMs = 50;
    roll(window);
    roll(window);
    testing::clickCell(window, 1);
    testing::settle(game.frontend, "the second booking");
    ASSERT_TRUE(testing::waitFor(
        game.frontend, [&] { return !window.pausing(); }, "a pause of 50 ms ends"));
    EXPECT_EQ(game.state.playerProgress[2][1], 2);
}

struct OptionsCase {
    const char* what;
    std::string before;  // settings.ini before, "" for none
    int delayMs;
    int strongerCPU;
    std::function<void(HWND dialog)> act;
    bool apply;
    int expectedDelay;
    int expectedStronger;
    std::string after;
};

TEST_F(MainWindowTest, OptionsApplyAndCancelWithExactBytes) {
    const auto up = [](HWND dialog) {
        HWND field = GetDlgItem(dialog, SecondsField);
        SendMessageW(field, WM_KEYDOWN, VK_UP, 0);
        SendMessageW(field, WM_KEYUP, VK_UP, 0);
    };
    const auto tick = [](HWND dialog) {
        SendMessageW(GetDlgItem(dialog, StrongerBox), BM_CLICK, 0, 0);
    };
    const std::string other = "; mine\r\nlang = de\r\nhands1 = x\r\n";
    const OptionsCase cases[] = {
        {"untouched 2500", "", 2500, 0, nullptr, true, 2000, 0,
         mark + "delay = 2000\r\nstrongerCPU = 0\r\n"},
        {"up and tick", "", 1000, 0,
         [&](HWND d) {
             up(d);
             tick(d);
         },
         true, 2000, 1, mark + "delay = 2000\r\nstrongerCPU = 1\r\n"},
        {"hand-edited 7000 and 2", other, 7000, 2, nullptr, true, 5000, 1,
         mark + "; mine\r\nlang = de\r\nhands1 = x\r\ndelay = 5000\r\nstrongerCPU = 1\r\n"},
        {"up at the top stays 5", "", 5000, 1, up, true, 5000, 1,
         mark + "delay = 5000\r\nstrongerCPU = 1\r\n"},
        {"cancel", other, 3000, 0,
         [&](HWND d) {
             up(d);
             tick(d);
         },
         false, 3000, 0, other},
    };
    for (const OptionsCase& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.before.empty()) {
            testing::writeBytes("settings.ini", c.before);
        } else {
            DeleteFileW(L"settings.ini");
        }
        GameState state = testing::gameState(2, 1);
        state.delayMs = c.delayMs;
        state.strongerCPU = c.strongerCPU;
        Game game(state);
        testing::chooseMenu(game.window(), OptionsItem);
        HWND dialog = game.window().optionsDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(testing::windowTextOf(dialog), "Options");
        EXPECT_FALSE(IsWindowEnabled(game.window().handle()));
        EXPECT_EQ(windowText(GetDlgItem(dialog, SecondsField)), std::to_string(c.delayMs / 1000));
        if (c.act) {
            c.act(dialog);
        }
        testing::pressBoxButton(dialog, c.apply ? ApplyButton : CancelButton);
        EXPECT_EQ(game.window().optionsDialog(), nullptr);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(game.state.delayMs, c.expectedDelay);
        EXPECT_EQ(game.state.strongerCPU, c.expectedStronger);
        EXPECT_EQ(testing::readBytes("settings.ini"), c.after);
        EXPECT_TRUE(IsWindowEnabled(game.window().handle()));
    }
}

}  // namespace
}  // namespace quintaro

namespace quintaro {
namespace {

// The arrows beside the seconds field, clicked with the mouse: each click steps once, within
// 0 to 5, and the field shows the value at once.
TEST_F(MainWindowTest, TheOptionsArrowsStepTheSeconds) {
    GameState state = testing::gameState(2, 1);
    state.delayMs = 4000;
    Game game(state);
    testing::chooseMenu(game.window(), OptionsItem);
    HWND dialog = game.window().optionsDialog();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(testing::waitFor(
        game.frontend, [dialog] { return GetForegroundWindow() == dialog; },
        "the options dialog comes to the front"));
    HWND arrows = GetDlgItem(dialog, SecondsControl);
    RECT area{};
    GetClientRect(arrows, &area);
    const POINT up{area.right / 2, area.bottom / 4};
    const POINT down{area.right / 2, area.bottom * 3 / 4};
    const struct {
        POINT at;
        const char* shown;
    } steps[] = {{up, "5"}, {up, "5"}, {down, "4"}, {down, "3"}};
    for (const auto& step : steps) {
        testing::clickAt(arrows, step.at);
        testing::settle(game.frontend, std::string("an arrow click to ") + step.shown);
        EXPECT_EQ(windowText(GetDlgItem(dialog, SecondsField)), step.shown);
    }
    testing::pressBoxButton(dialog, ApplyButton);
    EXPECT_EQ(game.state.delayMs, 3000);
}

}  // namespace
}  // namespace quintaro
