// The shell on a front end held in memory: start-up, the new-game questions, the menu
// commands, the language switch, the options and New Game.
#include "shell/GameShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/support/FakeFrontend.h"
#include "tests/support/GameSupport.h"

namespace quintaro {
namespace {

using testing::FakeFrontend;
using testing::FakeWindow;
using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;
using Question = InputQuestion;

const std::string mark = "\xEF\xBB\xBF";

struct GameShellTest : ::testing::Test {
    // Starts a game of these players without the new-game dialog.
    void startGame(int players, int computerMode = 0) {
        state = testing::gameState(players, computerMode);
        shell.startGame();
        frontend.runLoop();
        frontend.log.clear();
    }
    // A menu command, and whatever its answers lead to.
    void choose(int item) {
        shell.chooseMenuItem(item);
        frontend.runLoop();
    }
    // Rolls twice and books this row, answering every question.
    void playTurn(int row) {
        shell.roll();
        shell.roll();
        shell.rowClicked(row);
        frontend.runLoop();
    }
    bool logged(const std::string& entry) const {
        return std::find(frontend.log.begin(), frontend.log.end(), entry) != frontend.log.end();
    }

    ScratchFolder folder;
    GameState state;
    FakeFrontend frontend;
    GameShell shell{state, frontend};
};

TEST_F(GameShellTest, StartUpRunsInItsOrderAndTheNumberQuestionRepeatsUntilTwoToFour) {
    folder.write("settings.ini", "lang = de\r\ndelay = 1500\r\n");
    frontend.mode = GameMode::People;
    frontend.answers = {"5", "abc", "", "1", " 3", "Ann", "", "Cid"};
    shell.startUp();
    // Nothing is answered before the shell's call has returned.
    EXPECT_EQ(frontend.window(), nullptr);
    EXPECT_TRUE(frontend.questions.empty());
    frontend.runLoop();

    EXPECT_EQ(state.delayMs, 1500);
    EXPECT_EQ(state.languageFile, "de.lang");
    EXPECT_EQ(state.computerMode, 0);
    EXPECT_EQ(state.playerCount, 3);
    EXPECT_EQ(state.playerNames[1], "Ann");
    EXPECT_EQ(state.playerNames[2], "");  // stored as typed
    EXPECT_EQ(state.playerNames[3], "Cid");
    const std::string number = testing::languageText("de.lang", "enterNrP");
    const std::string name = testing::languageText("de.lang", "enterName");
    const std::vector<Question> asked = {
        {"PvP mode", number, "2"}, {"PvP mode", number, "2"}, {"PvP mode", number, "2"},
        {"PvP mode", number, "2"}, {"PvP mode", number, "2"}, {"", name, "Player 1"},
        {"", name, "Player 2"},    {"", name, "Player 3"},
    };
    EXPECT_EQ(frontend.questions, asked);
    // The main window stands in the dialog's place before the dialog goes.
    const std::vector<std::string> order = {
        "toolkit language de",
        "init sound",
        "new-game dialog " + testing::languageText("de.lang", "gameMode"),
        "load sound 0 dice.wav",
        "open window",
        "close new-game dialog"};
    EXPECT_EQ(frontend.log, order);
    ASSERT_NE(frontend.window(), nullptr);
    EXPECT_EQ(frontend.window()->board().cellText(0, 0), testing::languageText("de.lang", "Nines"));
    EXPECT_FALSE(frontend.window()->board().controlEnabled(ScoreCard));
    EXPECT_EQ(folder.read("settings.ini"), "lang = de\r\ndelay = 1500\r\n");
}

TEST_F(GameShellTest, AgainstTheComputerOnlyOneNameIsAsked) {
    frontend.mode = GameMode::Computer;
    frontend.answers = {"Zoe"};
    shell.startUp();
    frontend.runLoop();
    EXPECT_EQ(state.computerMode, 1);
    EXPECT_EQ(state.playerCount, 2);
    EXPECT_EQ(state.playerNames[1], "Zoe");
    EXPECT_EQ(state.playerNames[2], "Computer");
    EXPECT_EQ(frontend.questions.size(), 1u);
    EXPECT_EQ(frontend.questions[0].defaultText, "Player 1");
}

TEST_F(GameShellTest, ClosingTheNewGameDialogStartsNoGameAndWritesNothing) {
    frontend.mode = GameMode::None;
    shell.startUp();
    frontend.runLoop();
    EXPECT_TRUE(frontend.quitCalled);
    EXPECT_FALSE(frontend.newGameDialogOpen);
    EXPECT_EQ(frontend.window(), nullptr);
    EXPECT_TRUE(frontend.questions.empty());
    EXPECT_FALSE(folder.exists("settings.ini"));
}

TEST_F(GameShellTest, MenuCommandsByItemNumber) {
    startGame(2);
    struct Case {
        int item;
        std::string logged;
    };
    for (const Case& c : {Case{RulesItem, "open rules.txt"}}) {
        frontend.log.clear();
        choose(c.item);
        EXPECT_EQ(frontend.log, std::vector<std::string>{c.logged}) << c.item;
    }
    frontend.log.clear();
    for (int unknown : {0, 6, 7, 9, 13, -1}) {
        choose(unknown);
    }
    EXPECT_TRUE(frontend.log.empty());

    choose(AboutItem);
    const auto& messages = frontend.window()->board().messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].first, testing::languageText("en.lang", "MenuAbout") + " Quintaro");
    EXPECT_EQ(messages[0].second.rfind("Quintaro 1.", 0), 0u);

    // Exit quits, and the window takes nothing more.
    frontend.log.clear();
    choose(ExitItem);
    choose(RulesItem);
    EXPECT_EQ(frontend.log, std::vector<std::string>{"quit"});
}

TEST_F(GameShellTest, LanguageSwitchRewritesTheTextsAndRemembersTheLanguage) {
    startGame(2);
    EXPECT_EQ(frontend.window()->menu[std::size_t(MenuText::About)],
              testing::languageText("en.lang", "MenuAbout") + "...");
    choose(GermanItem);
    FakeWindow& window = *frontend.window();
    EXPECT_EQ(state.languageFile, "de.lang");
    EXPECT_EQ(window.menu[std::size_t(MenuText::GameTitle)],
              testing::languageText("de.lang", "MenuTitleGame"));
    EXPECT_EQ(window.menu[std::size_t(MenuText::Rules)],
              testing::languageText("de.lang", "MenuTitleHelp"));
    EXPECT_EQ(window.menu[std::size_t(MenuText::About)],
              testing::languageText("de.lang", "MenuAbout"));
    EXPECT_EQ(window.menu[std::size_t(MenuText::Language)], "Language");
    EXPECT_EQ(window.board().controlText(RollButton), testing::languageText("de.lang", "roll"));
    EXPECT_EQ(window.board().cellText(totalRow, 0), testing::languageText("de.lang", "Total"));
    EXPECT_EQ(folder.read("settings.ini"), mark + "\r\nlang = de\r\n");
    // Menus, roll button, title, then the labels; the toolkit follows; nothing else.
    EXPECT_EQ(frontend.log,
              (std::vector<std::string>{"menu texts", "title Quintaro", "toolkit language de"}));

    // A language without its file: empty texts, but the title stays.
    state.languageFiles[2] = "xx.lang";
    choose(BulgarianItem);
    EXPECT_EQ(window.title, "Quintaro");
    EXPECT_EQ(window.menu[std::size_t(MenuText::NewGame)], "");
    EXPECT_EQ(window.board().cellText(0, 0), "");
    EXPECT_EQ(window.board().controlText(RollButton), "");
    EXPECT_EQ(folder.read("settings.ini"), mark + "\r\nlang = xx\r\n");
}

// The options form: what the field shows after each edit, and what Apply stores.
TEST_F(GameShellTest, OptionsFormShowsClampsAndStoresOnlyOnApply) {
    using K = OptionsEditKind;
    struct Case {
        const char* name;
        std::vector<OptionsEdit> edits;
        std::string shown;   // the field at the end
        int delayMs;         // in the state afterwards
        const char* stored;  // settings.ini afterwards, nullptr for none
    };
    const Case cases[] = {
        {"opened, cancelled", {OptionsEdit::plain(K::Cancel)}, "7", 7000, nullptr},
        {"typed, cancelled",
         {OptionsEdit::typed("3"), OptionsEdit::plain(K::Cancel)},
         "3",
         7000,
         nullptr},
        {"opened, applied",
         {OptionsEdit::plain(K::Apply)},
         "7",
         5000,
         "delay = 5000\r\nstrongerCPU = 1"},
        {"typed beyond, left",
         {OptionsEdit::typed("9"), OptionsEdit::plain(K::FieldLeft), OptionsEdit::plain(K::Apply)},
         "5",
         5000,
         "delay = 5000\r\nstrongerCPU = 1"},
        {"typed leniently",
         {OptionsEdit::typed(" 2x"), OptionsEdit::plain(K::Apply)},
         " 2x",
         2000,
         "delay = 2000\r\nstrongerCPU = 1"},
        {"stepped",
         {OptionsEdit::stepped(-1), OptionsEdit::stepped(-1), OptionsEdit::strongerBox(false),
          OptionsEdit::plain(K::Apply)},
         "3",
         3000,
         "delay = 3000\r\nstrongerCPU = 0"},
        {"stepped up at the top",
         {OptionsEdit::stepped(+1), OptionsEdit::plain(K::Apply)},
         "5",
         5000,
         "delay = 5000\r\nstrongerCPU = 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder scratch;
        startGame(2, 1);
        state.delayMs = 7000;
        state.strongerCPU = 2;
        FakeWindow& window = *frontend.window();
        window.optionsEdits = c.edits;
        shell.chooseMenuItem(OptionsItem);
        // A hand-edited delay shows its own number until the first change.
        EXPECT_EQ(window.optionsShown, (OptionsView{"7", true}));
        EXPECT_EQ(window.optionsTexts.apply, testing::languageText("en.lang", "apply"));
        EXPECT_FALSE(shell.takesInput());
        frontend.runLoop();
        EXPECT_FALSE(window.optionsOpen);
        EXPECT_TRUE(shell.takesInput());
        EXPECT_EQ(window.optionsShown->secondsText, c.shown);
        EXPECT_EQ(state.delayMs, c.delayMs);
        if (c.stored == nullptr) {
            EXPECT_FALSE(scratch.exists("settings.ini"));
        } else {
            EXPECT_EQ(scratch.read("settings.ini"), mark + "\r\n" + c.stored + "\r\n");
        }
    }
}

TEST_F(GameShellTest, NewGameAskedNoKeepsTheGameAndYesStartsAfresh) {
    RepeatRandom random({}, 3);
    RandomScope scope(random);
    startGame(3);
    playTurn(2);
    ASSERT_EQ(state.rowsBooked(1), 1);
    FakeWindow* first = frontend.window();

    shell.chooseMenuItem(NewGameItem);
    // While the question is open the window takes no input.
    shell.roll();
    EXPECT_EQ(shell.turnFlow()->rollCount(), 0);
    frontend.runLoop();
    EXPECT_EQ(frontend.window(), first);
    EXPECT_EQ(state.rowsBooked(1), 1);
    EXPECT_TRUE(logged("ask " + testing::languageText("en.lang", "NewGame") + " / " +
                       testing::languageText("en.lang", "NewGameDesc")));

    first->yesAnswer = true;
    frontend.log.clear();
    choose(NewGameItem);
    EXPECT_EQ(state.rowsBooked(1), 0);
    EXPECT_EQ(frontend.windowsOpened, 2);
    const std::vector<std::string> order = {
        "ask " + testing::languageText("en.lang", "NewGame") + " / " +
            testing::languageText("en.lang", "NewGameDesc"),
        "free sound 0", "close window", "load sound 0 dice.wav", "open window"};
    EXPECT_EQ(frontend.log, order);
    EXPECT_EQ(shell.turnFlow()->currentPlayer(), 1);
    EXPECT_EQ(frontend.window()->board().cellText(2, 1), "");
    EXPECT_EQ(state.playerNames[3], "Cid");
}

// During the pause the shell drops the player's input, whichever way it comes; the close box
// is the one thing it does not hold back.
TEST_F(GameShellTest, DuringThePauseInputIsDroppedAndTheCloseBoxStillLeaves) {
    RepeatRandom random({}, 5);
    RandomScope scope(random);
    startGame(2, 1);
    state.delayMs = 1500;
    FakeWindow& window = *frontend.window();
    window.holdPause = true;
    playTurn(0);
    ASSERT_TRUE(shell.pausing());
    EXPECT_TRUE(logged("pause 1500"));
    const std::string before = testing::snapshot(window.board(), 2);
    const std::size_t logged = frontend.log.size();
    shell.chooseMenuItem(ExitItem);
    shell.chooseMenuItem(RulesItem);
    shell.roll();
    shell.dieClicked(1);
    shell.rowClicked(3);
    EXPECT_TRUE(shell.keyPressed({characterKey('R')}));
    EXPECT_TRUE(shell.keyPressed({characterKey('2')}));
    frontend.runLoop();
    EXPECT_EQ(frontend.log.size(), logged);
    EXPECT_EQ(testing::snapshot(window.board(), 2), before);
    EXPECT_EQ(state.rowsBooked(2), 0);

    window.holdPause = false;
    window.events().pauseEnded();
    EXPECT_FALSE(shell.pausing());
    EXPECT_EQ(state.rowsBooked(2), 1);
    EXPECT_TRUE(window.board().controlEnabled(RollButton));

    window.holdPause = true;
    playTurn(1);
    ASSERT_TRUE(shell.pausing());
    EXPECT_TRUE(shell.closeRequested());
    EXPECT_TRUE(frontend.quitCalled);
}

// In the computer's last turn the close box during the pause leaves at once: the end of the
// game is not announced to a window that has gone.
TEST_F(GameShellTest, TheCloseBoxInTheLastPauseShowsNoEndOfGame) {
    for (const bool close : {false, true}) {
        SCOPED_TRACE(close);
        RepeatRandom random({}, 5);
        RandomScope scope(random);
        startGame(2, 1);
        state.delayMs = 1000;
        MemoryBoard& board = frontend.window()->board();
        // Twelve rows each are booked; the 5 of a Kind row is the last one free.
        for (int row = 0; row < rowCount; ++row) {
            if (isBookableRow(row) && row != 13) {
                for (int column : {1, 2}) {
                    board.setCellText(row, column, "0");
                    board.setCellColour(row, column, bookedCellColour);
                }
            }
        }
        state.rowsBooked(1) = 12;
        state.rowsBooked(2) = 12;
        frontend.window()->holdPause = close;
        playTurn(13);
        if (close) {
            EXPECT_TRUE(shell.closeRequested());
            frontend.window()->holdPause = false;
            frontend.window()->events().pauseEnded();
        }
        const auto& messages = board.messages();
        EXPECT_EQ(messages.size(), close ? 0u : 1u);
        EXPECT_EQ(logged("quit"), close);
        shell.shutdown();
        frontend.log.clear();
    }
}

TEST_F(GameShellTest, ShutdownReleasesEverythingOnceAndIsSafeTwice) {
    startGame(2);
    shell.shutdown();
    shell.shutdown();
    EXPECT_EQ(frontend.window(), nullptr);
    EXPECT_EQ(std::count(frontend.log.begin(), frontend.log.end(), "close window"), 1);
    EXPECT_TRUE(logged("release sound"));
    EXPECT_TRUE(logged("free pictures"));
}

// The shell owns the hint: it writes the expected total in the hand label's place, asks the
// window for the frame and the words, and puts everything back at the next action, whichever
// it is.
TEST_F(GameShellTest, TheHintLastsUntilTheNextActionAndTheHandLabelComesBack) {
    RepeatRandom random({}, 8);
    RandomScope scope(random);
    startGame(2);
    shell.coach().wait();
    FakeWindow& window = *frontend.window();
    MemoryBoard& board = window.board();
    const std::string best = testing::languageText("en.lang", "HintBest") + ": ";
    struct Action {
        const char* name;
        std::function<void()> act;
    };
    const Action actions[] = {
        {"die click", [&] { shell.dieClicked(2); }},
        {"key 3", [&] { shell.keyPressed({characterKey('3')}); }},
        {"Space on die 4",
         [&] {
             shell.keyPressed({characterKey(' '), NoModifier, 4});
         }},
        {"roll", [&] { shell.roll(); }},
    };
    shell.roll();
    for (const Action& action : actions) {
        const std::string handBefore = board.controlText(HandLabel);
        shell.keyPressed({characterKey('H')});
        EXPECT_EQ(board.controlText(HandLabel).rfind("\u2248 ", 0), 0u) << action.name;
        EXPECT_EQ(window.hintDescription.rfind(best, 0), 0u) << action.name;
        EXPECT_EQ(window.sink.controls[HandLabel], board.controlText(HandLabel));
        action.act();
        EXPECT_EQ(window.framedDice, 0u) << action.name;
        EXPECT_EQ(window.hintDescription, "") << action.name;
        if (std::string(action.name) != "roll") {
            EXPECT_EQ(board.controlText(HandLabel), handBefore) << action.name;
        }
    }
    // After the second roll the hand's name is back under a hint, and the hint picks a row.
    const std::string handName = board.controlText(HandLabel);
    ASSERT_NE(handName, "");
    shell.showHint();
    EXPECT_GE(window.selected, 0);
    EXPECT_EQ(window.selected, shell.selectedRow());
    shell.keyPressed({namedKey(NamedKey::Enter)});
    EXPECT_EQ(board.controlText(HandLabel), "");
}

TEST_F(GameShellTest, ADieClickAndALanguageSwitchRenameTheControls) {
    RepeatRandom random({}, 2);
    RandomScope scope(random);
    startGame(2);
    FakeWindow& window = *frontend.window();
    EXPECT_EQ(window.sink.controls[1], "Die 1: not rolled");
    EXPECT_EQ(window.sink.controls[TurnLabel], "Ann");
    shell.roll();
    shell.dieClicked(1);
    EXPECT_TRUE(window.board().dieHeld(1));
    EXPECT_NE(window.sink.controls[1].find(", held"), std::string::npos);

    choose(GermanItem);
    const std::string die = testing::languageText("de.lang", "A11yDie");
    EXPECT_EQ(window.sink.controls[2].rfind(die + " 2: ", 0), 0u);
    EXPECT_NE(window.sink.controls[1].find(testing::languageText("de.lang", "A11yHeld")),
              std::string::npos);
    EXPECT_EQ((window.sink.cells[{0, 1}]), testing::languageText("de.lang", "Nines") + ", Ann: " +
                                               testing::languageText("de.lang", "A11yFree"));
}

TEST_F(GameShellTest, EveryLanguageItemSwitchesToItsFileAndTheAboutBoxSpeaksIt) {
    startGame(2);
    for (const Language& language : languages) {
        choose(language.menuItem);
        EXPECT_EQ(state.languageFile, language.file);
        EXPECT_EQ(folder.read("settings.ini"),
                  mark + "\r\nlang = " + std::string(language.code) + "\r\n");
        choose(AboutItem);
        const std::string body = frontend.window()->board().messages().back().second;
        const std::string file(language.file);
        EXPECT_NE(body.find(testing::languageText(file, "AboutGame")), std::string::npos) << file;
        EXPECT_NE(body.find(testing::languageText(file, "AboutLicence")), std::string::npos)
            << file;
    }
    // Without the keys the body is English.
    state.languageFiles[0] = "xx.lang";
    choose(EnglishItem);
    choose(AboutItem);
    EXPECT_NE(frontend.window()->board().messages().back().second.find("MIT licence"),
              std::string::npos);
}

}  // namespace
}  // namespace quintaro

namespace quintaro {
namespace {

// The row a scripted player books in a turn: the first free one from a row that moves on.
int scriptedRow(const Board& board, int player, int turn) {
    const int row = nextFreeRow(board, player, (turn * 7) % rowCount - 1, 1);
    return row >= 0 ? row : nextFreeRow(board, player, -1, 1);
}

// A whole game through the shell on the late-answering front end, the computer's pauses
// included, matches the same game played by the turn flow alone on the in-memory board.
TEST_F(GameShellTest, AWholeGameMatchesTheTurnFlowOnTheMemoryBoard) {
    for (const int computerMode : {0, 1}) {
        SCOPED_TRACE(computerMode);
        const int players = computerMode ? 2 : 3;
        const int turns = computerMode ? 13 : 13 * players;
        std::vector<std::string> steps;
        GameState memoryState = testing::gameState(players, computerMode);
        MemoryBoard memory(players);
        memory.setControlText(RollButton, testing::languageText("en.lang", "roll"));
        {
            RepeatRandom random({}, 11);
            RandomScope scope(random);
            TurnFlow flow(memory, memoryState);
            for (int turn = 0; turn < turns; ++turn) {
                flow.roll();
                memory.setDieHeld(1 + turn % 5, true);
                flow.roll();
                flow.book(scriptedRow(memory, flow.currentPlayer(), turn));
                steps.push_back(testing::snapshot(memory, players));
            }
        }
        RepeatRandom random({}, 11);
        RandomScope scope(random);
        startGame(players, computerMode);
        state.delayMs = 1000;
        MemoryBoard& board = frontend.window()->board();
        for (int turn = 0; turn < turns; ++turn) {
            shell.roll();
            shell.dieClicked(1 + turn % 5);
            shell.roll();
            const int player = shell.turnFlow()->currentPlayer();
            shell.rowClicked(scriptedRow(board, player, turn));
            frontend.runLoop();
            ASSERT_EQ(testing::snapshot(board, players), steps[std::size_t(turn)]) << turn;
        }
        EXPECT_EQ(board.messages(), memory.messages());
        EXPECT_EQ(std::count(frontend.log.begin(), frontend.log.end(), "pause 1000"),
                  computerMode ? 13 : 0);
    }
}

}  // namespace
}  // namespace quintaro
