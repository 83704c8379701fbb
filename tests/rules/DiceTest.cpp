#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "rules/Dice.h"
#include "rules/MemoryBoard.h"
#include "tests/rules/ScriptedRandom.h"
#include "tests/rules/TempLanguageDir.h"

namespace quintaro {
namespace {

using testing::ScriptedRandom;
using testing::TempLanguageDir;
using Dice = std::array<std::string, 5>;

const std::array<std::string, 6> labels = {"A", "K", "Q", "J", "10", "9"};

// ---------------------------------------------------------------- counting faces

struct CountCase {
    std::string hand;
    std::string label;
    int expected;
};

TEST(CountFace, CountsNonOverlappingOccurrences) {
    const std::vector<CountCase> cases = {
        {"1010101010", "10", 5}, {"J10Q1010", "10", 3}, {"10101010A", "10", 4}, {"AAAAA", "A", 5},
        {"1010QQK", "Q", 2},     {"910A9A", "9", 2},    {"910A9A", "10", 1},    {"910A9A", "A", 2},
        {"101", "10", 1},        {"", "A", 0},          {"KKKKK", "A", 0},      {"A", "", 0},
    };
    for (const CountCase& c : cases) {
        EXPECT_EQ(countFace(c.hand, c.label), c.expected) << c.label << " in " << c.hand;
    }
}

// ---------------------------------------------------------------- classification

TEST(ClassifyHand, CountsOverAllOrderedThrows) {
    std::map<int, int> counts;
    MemoryBoard board(2);
    for (int throwIndex = 0; throwIndex < 7776; ++throwIndex) {
        Dice dice;
        int rest = throwIndex;
        for (std::string& die : dice) {
            die = labels[std::size_t(rest % 6)];
            rest /= 6;
        }
        board.setDice(dice);
        const int category = classifyHand(board);
        EXPECT_EQ(category, classifyHandString(currentHandString(board)));
        ++counts[category];
    }
    const std::map<int, int> expected = {
        {NoHand, 480},   {FiveOfAKind, 6}, {FourOfAKind, 150}, {FullHouse, 300},
        {Straight, 240}, {Trips, 1200},    {TwoPair, 1800},    {Pair, 3600},
    };
    EXPECT_EQ(counts, expected);
}

TEST(ClassifyHand, EveryExampleHandHasItsOwnCategory) {
    for (int category = 1; category <= 7; ++category) {
        for (int example = 0; example < 5; ++example) {
            const auto hand = exampleHands[std::size_t(category)][std::size_t(example)];
            EXPECT_EQ(classifyHandString(hand), category) << hand;
        }
        EXPECT_EQ(exampleHands[std::size_t(category)][5], "");
    }
    for (const auto& hand : exampleHands[0]) {
        EXPECT_EQ(hand, "");
    }
}

// The category from the definition of each hand: how many dice show each face.
int categoryByDefinition(const Dice& dice) {
    std::map<std::string, int> faces;
    int shown = 0;
    for (const std::string& die : dice) {
        if (!die.empty()) {
            ++faces[die];
            ++shown;
        }
    }
    std::vector<int> counts;
    for (const auto& entry : faces) {
        counts.push_back(entry.second);
    }
    std::sort(counts.rbegin(), counts.rend());
    const bool middle =
        faces.count("K") && faces.count("Q") && faces.count("J") && faces.count("10");
    if (counts.empty()) {
        return NoHand;
    }
    if (counts[0] == 5) {
        return FiveOfAKind;
    }
    if (counts[0] == 4) {
        return FourOfAKind;
    }
    if (counts[0] == 3) {
        return counts.size() > 1 && counts[1] == 2 ? FullHouse : Trips;
    }
    if (shown == 5 && counts.size() == 5 && middle && (faces.count("A") || faces.count("9"))) {
        return Straight;
    }
    if (counts[0] == 2) {
        return counts.size() > 1 && counts[1] == 2 ? TwoPair : Pair;
    }
    return NoHand;
}

// Every die either blank or showing a face: 7^5 hands, the full throws among them.
TEST(ClassifyHand, AgreesWithTheDefinitionsAlsoWithBlankDice) {
    MemoryBoard board(2);
    int checked = 0;
    for (int index = 0; index < 7 * 7 * 7 * 7 * 7; ++index) {
        Dice dice;
        int rest = index;
        for (std::string& die : dice) {
            const int face = rest % 7;
            die = face < 6 ? labels[std::size_t(face)] : "";
            rest /= 7;
        }
        board.setDice(dice);
        const int expected = categoryByDefinition(dice);
        ASSERT_EQ(classifyHand(board), expected) << currentHandString(board);
        ++checked;
    }
    EXPECT_EQ(checked, 16807);
}

struct HandCase {
    Dice dice;
    std::string handString;
    int category;
};

TEST(ClassifyHand, DiceAsShown) {
    const std::vector<HandCase> cases = {
        {{"10", "10", "10", "10", "10"}, "1010101010", FiveOfAKind},
        {{"9", "9", "9", "9", "9"}, "99999", FiveOfAKind},
        {{"10", "10", "10", "10", "A"}, "10101010A", FourOfAKind},
        {{"A", "10", "10", "10", "A"}, "A101010A", FullHouse},
        {{"9", "9", "K", "K", "9"}, "99KK9", FullHouse},
        {{"J", "10", "Q", "10", "10"}, "J10Q1010", Trips},
        {{"10", "10", "Q", "Q", "K"}, "1010QQK", TwoPair},
        {{"A", "10", "Q", "A", "J"}, "A10QAJ", Pair},
        {{"J", "Q", "A", "K", "10"}, "JQAK10", Straight},
        {{"Q", "J", "K", "10", "9"}, "QJK109", Straight},
        {{"9", "K", "10", "Q", "J"}, "9K10QJ", Straight},
        {{"A", "K", "Q", "J", "9"}, "AKQJ9", NoHand},
        {{"K", "Q", "J", "10", "10"}, "KQJ1010", Pair},
        {{"9", "10", "J", "Q", "A"}, "910JQA", NoHand},
        // Dice held while still blank stay blank: the hand is what the other dice show.
        {{"A", "A", "A", "A", ""}, "AAAA", FourOfAKind},
        {{"A", "", "A", "A", "A"}, "AAAA", FourOfAKind},
        {{"K", "", "", "", ""}, "K", NoHand},
        {{"K", "K", "", "", ""}, "KK", Pair},
        {{"Q", "", "Q", "", "Q"}, "QQQ", Trips},
        {{"K", "Q", "J", "10", ""}, "KQJ10", NoHand},
        {{"", "", "", "", ""}, "", NoHand},
    };
    MemoryBoard board(2);
    for (const HandCase& c : cases) {
        board.setDice(c.dice);
        EXPECT_EQ(currentHandString(board), c.handString);
        EXPECT_EQ(classifyHand(board), c.category) << c.handString;
        EXPECT_EQ(classifyHandString(c.handString), c.category) << c.handString;
    }
}

// ---------------------------------------------------------------- rolling

TEST(RollFace, EachDrawGivesItsFace) {
    for (int r = 0; r <= 5; ++r) {
        ScriptedRandom random{r};
        EXPECT_EQ(rollFace(), labels[std::size_t(r)]);
        EXPECT_EQ(random.maxima(), std::vector<int>{5});
    }
}

struct RollCase {
    std::array<bool, 5> held;
    std::vector<int> draws;
    Dice expected;
};

TEST(RollDice, FreeDiceDrawInDieOrderAndHeldDiceKeepTheirFace) {
    const Dice before = {"9", "9", "9", "9", "9"};
    const std::vector<RollCase> cases = {
        {{false, false, false, false, false}, {0, 1, 2, 3, 4}, {"A", "K", "Q", "J", "10"}},
        {{true, false, true, false, false}, {4, 0, 1}, {"9", "10", "9", "A", "K"}},
        {{false, false, false, false, true}, {1, 1, 1, 1}, {"K", "K", "K", "K", "9"}},
        {{true, true, true, true, true}, {}, before},
    };
    for (const RollCase& c : cases) {
        MemoryBoard board(2);
        board.setDice(before);
        for (int die = 1; die <= 5; ++die) {
            board.setDieHeld(die, c.held[std::size_t(die - 1)]);
        }
        ScriptedRandom random(c.draws);
        rollDice(board);
        EXPECT_EQ(random.maxima(), std::vector<int>(c.draws.size(), 5));
        for (int die = 1; die <= 5; ++die) {
            EXPECT_EQ(board.controlText(die), c.expected[std::size_t(die - 1)]) << "die " << die;
            EXPECT_EQ(board.dieHeld(die), c.held[std::size_t(die - 1)]);
        }
    }
}

TEST(RollDice, BlankHeldDieStaysBlank) {
    MemoryBoard board(2);
    board.setDieHeld(3, true);
    ScriptedRandom random{0, 0, 0, 0};
    rollDice(board);
    EXPECT_EQ(currentHandString(board), "AAAA");
    EXPECT_EQ(board.controlText(3), "");
}

// ---------------------------------------------------------------- the computer's helpers

TEST(ExampleHand, OneDrawUpToFourPicksTheExample) {
    for (int category = 0; category <= 7; ++category) {
        for (int r = 0; r <= 4; ++r) {
            ScriptedRandom random{r};
            EXPECT_EQ(exampleHand(category), exampleHands[std::size_t(category)][std::size_t(r)]);
            EXPECT_EQ(random.maxima(), std::vector<int>{4});
        }
    }
    ScriptedRandom random{2};
    EXPECT_EQ(exampleHand(0), "");
}

TEST(ExampleHand, CategoryOutsideTheTableGivesEmptyHand) {
    for (int category : {-1, 8, 100}) {
        ScriptedRandom random{4};
        EXPECT_EQ(exampleHand(category), "");
    }
}

// Results over all 216 triples of draws, per category in.
struct ImproveCase {
    int category;
    std::map<int, int> outcomes;
};

TEST(ImproveCategory, ExactDistributionOverAllDrawTriples) {
    const std::vector<ImproveCase> cases = {
        {NoHand, {{Straight, 36}, {NoHand, 180}}},
        {FiveOfAKind, {{FiveOfAKind, 216}}},
        {FourOfAKind, {{FiveOfAKind, 36}, {FourOfAKind, 180}}},
        {FullHouse, {{FullHouse, 216}}},
        {Straight, {{Straight, 216}}},
        {Trips, {{FiveOfAKind, 6}, {FourOfAKind, 60}, {FullHouse, 25}, {Trips, 125}}},
        {TwoPair, {{FullHouse, 36}, {TwoPair, 180}}},
        {Pair, {{Trips, 91}, {Pair, 125}}},
        {8, {{8, 216}}},
        {-1, {{-1, 216}}},
    };
    for (const ImproveCase& c : cases) {
        std::map<int, int> outcomes;
        for (int a = 0; a <= 5; ++a) {
            for (int b = 0; b <= 5; ++b) {
                for (int d = 0; d <= 5; ++d) {
                    ScriptedRandom random{a, b, d};
                    ++outcomes[improveCategory(c.category)];
                    EXPECT_EQ(random.maxima(), (std::vector<int>{5, 5, 5}));
                }
            }
        }
        EXPECT_EQ(outcomes, c.outcomes) << "category " << c.category;
    }
}

struct ImproveDrawCase {
    int category;
    std::vector<int> draws;
    int expected;
};

TEST(ImproveCategory, WhichDrawDecides) {
    const std::vector<ImproveDrawCase> cases = {
        {NoHand, {0, 3, 3}, Straight},
        {NoHand, {3, 0, 0}, NoHand},
        {FourOfAKind, {0, 5, 5}, FiveOfAKind},
        {FourOfAKind, {5, 0, 0}, FourOfAKind},
        {Trips, {0, 0, 4}, FiveOfAKind},
        {Trips, {0, 2, 0}, FourOfAKind},
        {Trips, {2, 0, 0}, FourOfAKind},
        {Trips, {1, 1, 0}, FullHouse},
        {Trips, {1, 1, 1}, Trips},
        {TwoPair, {0, 1, 1}, FullHouse},
        {TwoPair, {1, 0, 0}, TwoPair},
        {Pair, {1, 1, 0}, Trips},
        {Pair, {1, 0, 1}, Trips},
        {Pair, {5, 5, 5}, Pair},
    };
    for (const ImproveDrawCase& c : cases) {
        ScriptedRandom random(c.draws);
        EXPECT_EQ(improveCategory(c.category), c.expected)
            << "category " << c.category << " draws " << c.draws[0] << c.draws[1] << c.draws[2];
    }
}

// ---------------------------------------------------------------- the hand's name

const char* const handNamesFile =
    "hands0 = Nothing\r\nhands1 = Five of a Kind\r\nhands2 = Four of a Kind\r\n"
    "hands3 = Full House\r\nhands4 = Straight\r\nhands5 = Three of a Kind\r\n"
    "hands6 = Two Pair\r\nhands7 = One Pair\r\n";

struct NameCase {
    Dice dice;
    std::string name;
};

TEST(CurrentHandName, ReadsTheCategoryKeyFromTheLanguageFile) {
    TempLanguageDir dir;
    dir.write("en.lang", handNamesFile);
    GameState state;
    state.languageFile = "en.lang";
    const std::vector<NameCase> cases = {
        {{"A", "K", "Q", "J", "9"}, "Nothing"},
        {{"9", "9", "9", "9", "9"}, "Five of a Kind"},
        {{"10", "10", "10", "10", "A"}, "Four of a Kind"},
        {{"A", "10", "10", "10", "A"}, "Full House"},
        {{"9", "K", "10", "Q", "J"}, "Straight"},
        {{"J", "10", "Q", "10", "10"}, "Three of a Kind"},
        {{"10", "10", "Q", "Q", "K"}, "Two Pair"},
        {{"A", "10", "Q", "A", "J"}, "One Pair"},
    };
    MemoryBoard board(2);
    for (const NameCase& c : cases) {
        board.setDice(c.dice);
        EXPECT_EQ(currentHandName(board, state), c.name);
    }
}

TEST(CurrentHandName, EmptyWithoutFileOrKey) {
    TempLanguageDir dir;
    dir.write("de.lang", "hands7 = Ein Paar\r\nhands3 =\r\n");
    GameState state;
    MemoryBoard board(2);
    board.setDice({"A", "10", "10", "10", "A"});  // full house: present with an empty value
    state.languageFile = "de.lang";
    EXPECT_EQ(currentHandName(board, state), "");
    board.setDice({"K", "K", "9", "10", "A"});  // pair
    EXPECT_EQ(currentHandName(board, state), "Ein Paar");
    board.setDice({"K", "K", "9", "9", "A"});  // two pair: key missing
    EXPECT_EQ(currentHandName(board, state), "");
    state.languageFile = "xx.lang";  // no such file
    board.setDice({"K", "K", "9", "10", "A"});
    EXPECT_EQ(currentHandName(board, state), "");
}

TEST(CurrentHandName, ReadsTheFileAfreshOnEveryCall) {
    TempLanguageDir dir;
    dir.write("en.lang", "hands7 = One Pair\r\n");
    GameState state;
    state.languageFile = "en.lang";
    MemoryBoard board(2);
    board.setDice({"K", "K", "9", "10", "A"});
    EXPECT_EQ(currentHandName(board, state), "One Pair");
    dir.write("en.lang", "hands7 = A Pair\r\n");
    EXPECT_EQ(currentHandName(board, state), "A Pair");
    dir.write("bg.lang", "hands7 = Chift\r\n");
    state.languageFile = "bg.lang";
    EXPECT_EQ(currentHandName(board, state), "Chift");
}

}  // namespace
}  // namespace quintaro
