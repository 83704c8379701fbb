// The Windows edition's main window driven through window messages: layout, whole games
// compared turn by turn with the same game on the in-memory board, menus and the language
// switch, the options dialog and the pause.

#include <windows.h>
// After windows.h.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <thread>

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

using testing::BoxAnswerer;
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
            EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
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

TEST_F(MainWindowTest, ClicksThatBookNothing) {
    RepeatRandom random({}, 3);
    RandomScope scope(random);
    Game game(testing::gameState(2));
    MainWindow& window = game.window();
    roll(window);
    // The card takes no clicks before the second roll.
    testing::clickRow(window, 0);
    EXPECT_FALSE(window.board().cellColourSet(0, 1));
    roll(window);
    const std::string before = testing::snapshot(window.board(), 2);
    testing::clickRow(window, 6);
    testing::clickRow(window, 14);
    testing::clickBelowRows(window);
    EXPECT_EQ(testing::snapshot(window.board(), 2), before);
    testing::clickRow(window, 4);
    EXPECT_TRUE(window.board().cellColourSet(4, 1));
    EXPECT_EQ(testing::drawnCellColour(window, 4, 1), RGB(255, 102, 51));
    EXPECT_EQ(window.board().controlText(TurnLabel), "Bob");
}

// Read from the screen: a booked cell keeps its colour under the selection, whether a click
// or the keys put the selection there; a free cell of the selected row shows the selection.
TEST_F(MainWindowTest, ASelectedRowNeverHidesTheBookedColour) {
    RepeatRandom random({}, 5);
    RandomScope scope(random);
    Game game(testing::gameState(2));
    MainWindow& window = game.window();
    SetForegroundWindow(window.handle());
    roll(window);
    roll(window);
    testing::clickRow(window, 0);  // Ann books the Nines
    roll(window);
    roll(window);
    testing::clickRow(window, 1);  // Bob books the Tens
    roll(window);
    roll(window);
    testing::clickRow(window, 0);  // Ann's Nines are booked: nothing happens
    ASSERT_TRUE(IsWindowEnabled(window.control(ScoreCard)));
    ASSERT_EQ(window.selectedRow(), 0);

    HWND card = window.control(ScoreCard);
    const auto cellPixel = [&](int row, int column) {
        RECT cell{};
        ListView_GetSubItemRect(card, row, column, LVIR_BOUNDS, &cell);
        return testing::screenPixel(card, {cell.right - 4, (cell.top + cell.bottom) / 2});
    };
    const COLORREF booked = RGB(255, 102, 51);
    const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
    const struct {
        int selected;
        int row;
        int column;
        COLORREF colour;
    } cases[] = {
        {0, 0, 1, booked},     // Ann's booked Nines, selected by the click
        {0, 0, 2, selection},  // Bob's free Nines in the same row
        {1, 1, 2, booked},     // Bob's booked Tens, selected as the Up and Down keys do
        {1, 1, 1, selection},  // Ann's free Tens
        {1, 0, 1, booked},     // no longer selected
    };
    for (const auto& c : cases) {
        window.selectRow(c.selected);
        const COLORREF drawn = cellPixel(c.row, c.column);
        EXPECT_TRUE(testing::nearColour(drawn, c.colour, 24))
            << "row " << c.row << " column " << c.column << ": " << std::hex << drawn;
    }
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
    BoxAnswerer answerer;
    Game game(stateForWindow);
    MainWindow& window = game.window();
    for (int turn = 0; turn < turns; ++turn) {
        roll(window);
        testing::clickButton(window.control(1 + turn % 5));
        roll(window);
        const int player = game.shell.turnFlow()->currentPlayer();
        int row = (turn * 7) % rowCount;
        while (window.board().cellColourSet(row, player))
            row = (row + 1) % rowCount;
        testing::clickRow(window, row);
        ASSERT_EQ(testing::snapshot(window.board(), players), steps[std::size_t(turn)])
            << "turn " << turn;
        for (int column = 1; column <= players; ++column) {
            ASSERT_EQ(testing::drawnCellColour(window, row, column),
                      window.board().cellColourSet(row, column) ? RGB(255, 102, 51)
                                                                : GetSysColor(COLOR_WINDOW));
        }
    }
    const auto seen = answerer.seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, L"#32770");
    EXPECT_EQ(seen[0].title, "");
    EXPECT_EQ(seen[0].text, memory.messages()[0].second);
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
    testing::clickRow(game.window(), 2);
    HWND first = game.window().handle();
    {
        BoxAnswerer answerer({BoxAnswerer::pressButton(IDNO)});
        testing::chooseMenu(game.window(), NewGameItem);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].title, testing::languageText("en.lang", "NewGame"));
        EXPECT_EQ(answerer.seen()[0].text, testing::languageText("en.lang", "NewGameDesc"));
    }
    EXPECT_EQ(game.window().handle(), first);
    EXPECT_TRUE(game.window().board().cellColourSet(2, 1));
    {
        BoxAnswerer answerer({BoxAnswerer::pressButton(IDYES)});
        testing::chooseMenu(game.window(), NewGameItem);
    }
    testing::pumpMessages();
    EXPECT_NE(game.window().handle(), first);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_FALSE(game.window().board().cellColourSet(2, 1));
    EXPECT_EQ(game.window().board().controlText(TurnLabel), "Ann");
    EXPECT_EQ(game.state.playerProgress[1][1], 0);
    EXPECT_EQ(ListView_GetColumnWidth(game.window().control(ScoreCard), 3), 70);
}

TEST_F(MainWindowTest, AboutAndExit) {
    Game game(testing::gameState(2));
    {
        BoxAnswerer answerer;
        testing::chooseMenu(game.window(), AboutItem);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].title,
                  testing::languageText("en.lang", "MenuAbout") + " Quintaro");
        EXPECT_EQ(answerer.seen()[0].text.substr(0, 14), "Quintaro 1.0.0");
    }
    EXPECT_FALSE(game.frontend.quitting());
    testing::chooseMenu(game.window(), ExitItem);
    EXPECT_TRUE(game.frontend.quitting());
}

// Keys of play through the system's input queue, as a player types them, after each kind of
// action that moves or takes away the keyboard focus.
struct KeysCase {
    const char* after;
    int computerMode;
    std::function<void(Game& game)> act;
    bool focusTaken = false;  // the case itself leaves the focus with no window
};

TEST_F(MainWindowTest, KeysOfPlayFromTheFirstRollToTheEndWhateverHadTheFocus) {
    const auto handle = [](Game& game) { return [&game] { game.frontend.processPending(); }; };
    const auto key = [&](Game& game, WORD which, const std::function<bool()>& done) {
        testing::typeKey(which);
        return testing::waitFor(handle(game), done);
    };
    const auto click = [&](Game& game, HWND control, POINT point,
                           const std::function<bool()>& done) {
        testing::clickAt(control, point);
        return testing::waitFor(handle(game), done);
    };
    const auto centre = [](RECT rect) {
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    };
    const auto rowPoint = [&](MainWindow& window, int row) {
        RECT cell{};
        ListView_GetSubItemRect(window.control(ScoreCard), row, 1, LVIR_BOUNDS, &cell);
        return centre(cell);
    };
    const auto booked = [](Game& game) {
        return game.state.rowsBooked(1) + game.state.rowsBooked(2);
    };
    const auto hinted = [](MainWindow& window) {
        return window.board().controlText(HandLabel).rfind("\u2248 ", 0) == 0;
    };

    const KeysCase cases[] = {
        {"a new window", 0, [](Game&) {}},
        // Keys then come to the active window as system keys, Alt or not.
        {"the focus taken from every window", 0, [](Game&) { SetFocus(nullptr); }, true},
        {"a mouse booking", 0,
         [&](Game& game) {
             MainWindow& window = game.window();
             roll(window);
             roll(window);
             EXPECT_TRUE(click(game, window.control(ScoreCard), rowPoint(window, 2),
                               [&] { return window.board().cellColourSet(2, 1); }));
         }},
        {"an Enter booking", 0,
         [&](Game& game) {
             MainWindow& window = game.window();
             roll(window);
             roll(window);
             window.selectRow(3);
             EXPECT_TRUE(key(game, VK_RETURN, [&] { return window.board().cellColourSet(3, 1); }));
         }},
        {"a die click", 0,
         [&](Game& game) {
             MainWindow& window = game.window();
             roll(window);
             HWND die = window.control(4);
             RECT area{};
             GetClientRect(die, &area);
             EXPECT_TRUE(click(game, die, centre(area), [&] { return window.board().dieHeld(4); }));
             EXPECT_EQ(GetFocus(), die);
         }},
        {"a menu command", 0,
         [&](Game& game) {
             BoxAnswerer answerer;
             testing::chooseMenu(game.window(), AboutItem);
             EXPECT_EQ(answerer.seen().size(), 1u);
         }},
        {"the computer's turn", 1,
         [&](Game& game) {
             MainWindow& window = game.window();
             roll(window);
             roll(window);
             window.selectRow(1);
             EXPECT_TRUE(key(game, VK_RETURN, [&] { return game.state.rowsBooked(2) == 1; }));
         }},
    };
    for (const KeysCase& c : cases) {
        SCOPED_TRACE(c.after);
        RepeatRandom random({}, 4);
        RandomScope scope(random);
        GameState state = testing::gameState(2, c.computerMode);
        state.delayMs = 50;
        Game game(state);
        MainWindow& window = game.window();
        game.shell.coach().wait();
        SetForegroundWindow(window.handle());
        testing::waitFor(handle(game), [&] { return GetForegroundWindow() == window.handle(); });
        ASSERT_EQ(GetForegroundWindow(), window.handle());
        c.act(game);
        const int before = booked(game);
        // No action leaves the keys with a disabled control or with no one.
        const auto focusUsable = [&] {
            HWND focus = GetFocus();
            return focus != nullptr && IsWindowEnabled(focus) &&
                   (focus == window.handle() || IsChild(window.handle(), focus));
        };
        EXPECT_TRUE(c.focusTaken ? GetFocus() == nullptr : focusUsable());
        // A die held by the action is released first, so the turn starts the same for all:
        // Space on the focused die presses it instead of rolling.
        if (window.board().dieHeld(4)) {
            ASSERT_EQ(GetFocus(), window.control(4));
            EXPECT_TRUE(key(game, VK_SPACE, [&] { return !window.board().dieHeld(4); }));
            EXPECT_EQ(game.shell.turnFlow()->rollCount(), 1);
        }
        if (window.board().controlText(1).empty()) {
            EXPECT_TRUE(key(game, 'R', [&] { return !window.board().controlText(1).empty(); }));
        }
        EXPECT_TRUE(focusUsable());
        EXPECT_TRUE(key(game, 'H', [&] { return hinted(window); }));
        EXPECT_TRUE(key(game, '2', [&] { return window.board().dieHeld(2); }));
        EXPECT_FALSE(hinted(window));
        EXPECT_TRUE(key(game, '2', [&] { return !window.board().dieHeld(2); }));
        EXPECT_TRUE(key(game, 'R', [&] { return !IsWindowEnabled(window.control(RollButton)); }));
        EXPECT_TRUE(focusUsable());
        EXPECT_TRUE(key(game, VK_DOWN, [&] { return window.selectedRow() >= 0; }));
        const int row = window.selectedRow();
        const int player = game.shell.turnFlow()->currentPlayer();
        EXPECT_TRUE(key(game, VK_RETURN, [&] { return booked(game) > before; }));
        EXPECT_TRUE(row >= 0 && window.board().cellColourSet(row, player));
        EXPECT_TRUE(focusUsable());
        // And straight on into the next turn.
        EXPECT_TRUE(key(game, 'R', [&] { return !window.board().controlText(1).empty(); }));
    }
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
    EXPECT_EQ(window.selectedRow(), row->bestRow);
}

TEST_F(MainWindowTest, CloseBoxDuringThePauseEndsTheProgramAfterIt) {
    RepeatRandom random({}, 9);
    RandomScope scope(random);
    GameState state = testing::gameState(2, 1);
    state.delayMs = 5000;
    Game game(state);
    MainWindow& window = game.window();
    roll(window);
    roll(window);
    // The close box is used while the computer's hand is on show.
    std::thread closer([handle = window.handle()] {
        Sleep(300);
        PostMessageW(handle, WM_CLOSE, 0, 0);
    });
    const ULONGLONG start = GetTickCount64();
    testing::clickRow(window, 0);
    const ULONGLONG took = GetTickCount64() - start;
    closer.join();
    EXPECT_LT(took, 4000u);
    EXPECT_TRUE(game.frontend.quitting());
    // The computer's turn was still booked in full.
    EXPECT_EQ(game.state.playerProgress[2][1], 1);
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
        state.delayMs = 5000;
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
        roll(window);
        roll(window);
        // The close box: the last button at the right end of the title bar.
        TITLEBARINFO title{};
        title.cbSize = sizeof title;
        ASSERT_TRUE(GetTitleBarInfo(window.handle(), &title));
        const POINT target{title.rcTitleBar.right - GetSystemMetrics(SM_CXSIZE) / 2,
                           (title.rcTitleBar.top + title.rcTitleBar.bottom) / 2};
        ASSERT_EQ(SendMessageW(window.handle(), WM_NCHITTEST, 0, MAKELPARAM(target.x, target.y)),
                  HTCLOSE);
        BoxAnswerer answerer;
        std::thread closer([target] {
            Sleep(300);
            const int width = GetSystemMetrics(SM_CXSCREEN) - 1;
            const int height = GetSystemMetrics(SM_CYSCREEN) - 1;
            INPUT click[3]{};
            for (INPUT& input : click) {
                input.type = INPUT_MOUSE;
                input.mi.dx = target.x * 65535 / width;
                input.mi.dy = target.y * 65535 / height;
            }
            click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
            click[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
            click[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
            SendInput(3, click, sizeof(INPUT));
        });
        const ULONGLONG start = GetTickCount64();
        testing::clickRow(window, lastTurn ? 13 : 0);
        const ULONGLONG took = GetTickCount64() - start;
        closer.join();
        testing::pumpMessages();
        EXPECT_LT(took, 1300u);  // 300 ms before the click, then at once
        EXPECT_TRUE(game.frontend.quitting());
        EXPECT_FALSE(IsWindowVisible(window.handle()));
        EXPECT_TRUE(answerer.seen().empty());
        EXPECT_EQ(game.state.playerProgress[2][1], lastTurn ? 13 : 1);
        EXPECT_EQ(GetFileAttributesW(L"settings.ini"), INVALID_FILE_ATTRIBUTES);
    }
}

TEST_F(MainWindowTest, InputDuringThePauseIsDropped) {
    RepeatRandom random({}, 9);
    RandomScope scope(random);
    GameState state = testing::gameState(2, 1);
    state.delayMs = 600;
    Game game(state);
    MainWindow& window = game.window();
    roll(window);
    roll(window);
    std::thread clicker([roll = window.control(RollButton)] {
        Sleep(200);
        PostMessageW(roll, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(roll, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    });
    testing::clickRow(window, 0);
    clicker.join();
    testing::pumpMessages();
    // The click during the pause did not roll: the dice are still blank.
    EXPECT_EQ(window.board().controlText(1), "");
    EXPECT_EQ(game.shell.turnFlow()->rollCount(), 0);
    EXPECT_FALSE(game.frontend.quitting());
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
        std::string shown;
        BoxAnswerer answerer({[&](HWND dialog) {
            SendMessageW(dialog, WM_NULL, 0, 0);
            shown = windowText(GetDlgItem(dialog, SecondsField));
            if (c.act) {
                c.act(dialog);
            }
            const int button = c.apply ? ApplyButton : CancelButton;
            PostMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
        }});
        testing::chooseMenu(game.window(), OptionsItem);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].title, "Options");
        EXPECT_EQ(shown, std::to_string(c.delayMs / 1000));
        EXPECT_EQ(game.state.delayMs, c.expectedDelay);
        EXPECT_EQ(game.state.strongerCPU, c.expectedStronger);
        EXPECT_EQ(testing::readBytes("settings.ini"), c.after);
        EXPECT_TRUE(IsWindowEnabled(game.window().handle()));
    }
}

}  // namespace
}  // namespace quintaro
