// The shell's tables of the play aids: the key bindings, the hint's words, the screen-reader
// names kept with every write to the board, and the languages' table.
#include <gtest/gtest.h>

#include "rules/MemoryBoard.h"
#include "shell/AccessibleBoard.h"
#include "shell/Hint.h"
#include "shell/Keys.h"
#include "shell/Menu.h"
#include "state/GameState.h"
#include "tests/support/FakeFrontend.h"

namespace quintaro {
namespace {

TEST(KeyBindingsTest, EachKeyDoesOneThingAndSpacePressesAFocusedDie) {
    struct Case {
        PortableKey key;
        int focused;
        std::optional<GameKey> action;
    };
    const Case cases[] = {
        {characterKey('1'), -1, GameKey::Die1},
        {characterKey('5'), RollButton, GameKey::Die5},
        {characterKey(' '), -1, GameKey::Roll},
        {characterKey(' '), RollButton, GameKey::Roll},
        {characterKey(' '), ScoreCard, GameKey::Roll},
        {characterKey(' '), 3, GameKey::Die3},
        {characterKey(' '), 5, GameKey::Die5},
        {characterKey('R'), 2, GameKey::Roll},
        {characterKey('r'), -1, GameKey::Roll},
        {characterKey('h'), 1, GameKey::Hint},
        {namedKey(NamedKey::Up), ScoreCard, GameKey::Up},
        {namedKey(NamedKey::Down), -1, GameKey::Down},
        {namedKey(NamedKey::Enter), 4, GameKey::Book},
        {characterKey('6'), -1, std::nullopt},
        {characterKey('0'), -1, std::nullopt},
        {characterKey('X'), 3, std::nullopt},
        {namedKey(NamedKey::None), -1, std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gameKeyFor(c.key, c.focused), c.action)
            << "'" << c.key.character << "' named " << int(c.key.named) << " on " << c.focused;
    }
}

TEST(KeyBindingsTest, TheMenuShowsTheKeyOfItsItemFromTheSameTable) {
    EXPECT_EQ(keyText(GameKey::Hint), "H");
    EXPECT_EQ(keyText(GameKey::Roll), "R");  // Space has no text of its own
    EXPECT_EQ(keyText(GameKey::Up), "");
    int shown = 0;
    for (const MenuEntry& entry : menuBarLayout) {
        if (!menuKeyText(entry).empty()) {
            ++shown;
            EXPECT_EQ(entry.item, HintItem);
            EXPECT_EQ(gameKeyFor(characterKey(menuKeyText(entry)[0]), -1), GameKey::Hint);
        }
    }
    EXPECT_EQ(shown, 1);
}

TEST(KeyBindingsTest, UpAndDownStepOverBookedFixedAndOtherPlayersRows) {
    MemoryBoard board(2);
    for (const int row : {0, 5, 7}) {
        board.setCellColour(row, 1, bookedCellColour);
    }
    board.setCellColour(3, 2, bookedCellColour);  // the other player's booking counts not
    struct Case {
        int from, step, row;
    };
    const Case cases[] = {
        {-1, +1, 1}, {-1, -1, 13}, {1, +1, 2},   {2, +1, 3}, {4, +1, 8},
        {8, -1, 4},  {1, -1, -1},  {13, +1, -1}, {9, -1, 8},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nextFreeRow(board, 1, c.from, c.step), c.row) << c.from << " " << c.step;
    }
}

TEST(HintTextTest, TheLabelAndTheWordsFromTheCoachsFigures) {
    struct Case {
        HintFacts facts;
        std::string label;
        std::string description;
    };
    const Case cases[] = {
        {{31.44, std::nullopt, 0, -1}, "\u2248 31.4", "Best: 31.4"},
        {{30.05, 29.96, 0b10011, -1}, "\u2248 30.1", "Best: 30.1; Yours: 30.0"},
        {{12.0, 0.04, 0, 7}, "\u2248 12.0", "Best: 12.0; Yours: 0.0"},
        {{-0.5, -0.04, 0, 3}, "\u2248 -0.5", "Best: -0.5; Yours: 0.0"},
    };
    for (const Case& c : cases) {
        const HintView hint = composeHint(c.facts, "Best", "Yours");
        EXPECT_EQ(hint.label, c.label);
        EXPECT_EQ(hint.description, c.description);
        EXPECT_EQ(hint.holdDice, c.facts.holdDice);
        EXPECT_EQ(hint.row, c.facts.row);
    }
}

struct AccessibleBoardTest : ::testing::Test {
    AccessibleBoardTest() {
        memory.setCellText(3, 0, "Queens");
        memory.setControlText(RollButton, "Roll");
        memory.setControlEnabled(RollButton, true);
        board.refreshAll(texts);
    }
    static AccessibleTexts englishTexts() {
        AccessibleTexts texts{"Die", "held", "not rolled", "rolls left", "booked", "free", {}};
        texts.faces = {"Ace", "King", "Queen", "Jack", "Ten", "Nine"};
        return texts;
    }

    AccessibleTexts texts = englishTexts();
    MemoryBoard memory{2};
    testing::FakeSink sink;
    AccessibleBoard board{memory, sink, 2, {"", "Ann", "Bob", "", "", ""}};
};

TEST_F(AccessibleBoardTest, EveryWriteRenamesWhatItChanges) {
    EXPECT_EQ(sink.controls[1], "Die 1: not rolled");
    EXPECT_EQ(sink.controls[RollButton], "Roll, rolls left: 2");
    EXPECT_EQ((sink.cells[{3, 2}]), "Queens, Bob: free");
    EXPECT_EQ((sink.cells[{totalRow, 1}]), ", Ann: 0");

    struct Step {
        std::function<void(Board&)> write;
        int control;  // the control whose name is checked, or -1 for cell (row, column)
        int row, column;
        std::string name;
    };
    const Step steps[] = {
        {[](Board& b) { b.setControlText(1, "K"); }, 1, 0, 0, "Die 1: King"},
        {[](Board&) {}, RollButton, 0, 0, "Roll, rolls left: 1"},
        {[](Board& b) { b.setDieHeld(1, true); }, 1, 0, 0, "Die 1: King, held"},
        {[](Board& b) { b.setControlEnabled(RollButton, false); }, RollButton, 0, 0,
         "Roll, rolls left: 0"},
        {[](Board& b) { b.setCellText(3, 1, "2"); }, -1, 3, 1, "Queens, Ann: 2"},
        {[](Board& b) { b.setCellColour(3, 1, bookedCellColour); }, -1, 3, 1,
         "Queens, Ann: 2, booked"},
        {[](Board& b) { b.setCellText(3, 0, "Damen"); }, -1, 3, 2, "Damen, Bob: free"},
        {[](Board&) {}, -1, 3, 1, "Damen, Ann: 2, booked"},
        {[](Board& b) { b.setCellText(totalRow, 2, "17"); }, -1, totalRow, 2, ", Bob: 17"},
        {[](Board& b) { b.setControlText(TurnLabel, "Bob"); }, TurnLabel, 0, 0, "Bob"},
        {[](Board& b) { b.setControlText(RollButton, "Würfeln"); }, RollButton, 0, 0,
         "Würfeln, rolls left: 0"},
    };
    for (const Step& step : steps) {
        step.write(board);
        if (step.control >= 0) {
            EXPECT_EQ(sink.controls[step.control], step.name);
        } else {
            EXPECT_EQ((sink.cells[{step.row, step.column}]), step.name);
        }
    }
    // The writes reached the edition's board.
    EXPECT_EQ(memory.controlText(1), "K");
    EXPECT_TRUE(memory.cellColourSet(3, 1));
}

TEST_F(AccessibleBoardTest, ALabelIsAnnouncedOnlyWhenItsTextChanges) {
    sink.announced.clear();
    board.setControlText(HandLabel, "Pair");
    board.setControlText(HandLabel, "Pair");
    board.setControlText(TurnLabel, "Bob");
    board.setControlText(HandLabel, "");
    board.setControlText(1, "A");
    EXPECT_EQ(sink.announced, (std::vector<int>{HandLabel, TurnLabel, HandLabel}));
    EXPECT_EQ(sink.controls[HandLabel], "");
}

TEST(LanguageTableTest, FilesMenuItemsAndNumbersComeFromOneTable) {
    const GameState state;
    std::vector<int> items;
    for (const MenuEntry& entry : menuBarLayout) {
        if (isLanguageItem(entry.item)) {
            items.push_back(entry.item);
            const Language& language = languages[std::size_t(entry.item - firstLanguageItem)];
            EXPECT_EQ(menuTextSources[std::size_t(entry.text)].fixedText, language.menuName);
        }
    }
    ASSERT_EQ(items.size(), languages.size());
    for (std::size_t index = 0; index < languages.size(); ++index) {
        EXPECT_EQ(items[index], languages[index].menuItem);
        EXPECT_EQ(state.languageFiles[index], languages[index].file);
        EXPECT_EQ(languages[index].file.substr(0, 2), languages[index].code);
    }
    EXPECT_EQ(state.languageFiles.back(), "");
    EXPECT_LT(lastLanguageItem, menuItemLimit);
    EXPECT_EQ(EnglishItem, 10);
    EXPECT_EQ(BulgarianItem, 12);
}

}  // namespace
}  // namespace quintaro
