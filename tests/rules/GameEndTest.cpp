#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "rules/GameEnd.h"
#include "rules/MemoryBoard.h"
#include "tests/rules/TempLanguageDir.h"

namespace quintaro {
namespace {

using testing::TempLanguageDir;

struct EndCase {
    std::string name;
    std::vector<std::string> totals;  // Total row per player, as text
    std::vector<int> bookings;        // playerProgress per player
    std::vector<std::string> messages;
};

void play(const EndCase& c, const std::string& languageFile) {
    SCOPED_TRACE(c.name);
    GameState state;
    state.playerCount = int(c.totals.size());
    state.languageFile = languageFile;
    state.playerNames = {"", "Ann", "Bob", "Cid", "Dee", ""};
    MemoryBoard board(state.playerCount);
    for (int p = 1; p <= state.playerCount; ++p) {
        board.setCellText(totalRow, p, c.totals[std::size_t(p - 1)]);
        state.playerProgress[std::size_t(p)][1] = c.bookings[std::size_t(p - 1)];
    }
    checkGameEnd(board, state);
    std::vector<std::pair<std::string, std::string>> expected;
    for (const std::string& text : c.messages) {
        expected.emplace_back("", text);
    }
    EXPECT_EQ(board.messages(), expected);
}

TEST(CheckGameEnd, WinnerOrTieOnceEveryoneHasBookedThirteenRows) {
    TempLanguageDir dir;
    dir.write("en.lang", "win = wins the game!\r\ntie = It's a tie!\r\n");
    const std::vector<EndCase> cases = {
        {"two players", {"40", "38"}, {13, 13}, {"Ann wins the game!"}},
        {"second wins", {"20", "21"}, {13, 13}, {"Bob wins the game!"}},
        {"top tie", {"30", "35", "35"}, {13, 13, 13}, {"It's a tie!"}},
        {"earlier tie does not count", {"35", "35", "40"}, {13, 13, 13}, {"Cid wins the game!"}},
        {"tie below the top", {"40", "35", "35"}, {13, 13, 13}, {"Ann wins the game!"}},
        {"four players", {"10", "20", "30", "40"}, {13, 13, 13, 13}, {"Dee wins the game!"}},
        {"four way tie", {"12", "12", "12", "12"}, {13, 13, 13, 13}, {"It's a tie!"}},
        {"all zero", {"0", "0"}, {13, 13}, {"It's a tie!"}},
        {"empty totals count zero", {"", ""}, {13, 13}, {"It's a tie!"}},
        {"empty loses to one point", {"", "1"}, {13, 13}, {"Bob wins the game!"}},
        {"last player one short", {"40", "38"}, {13, 12}, {}},
        {"four players one short", {"40", "38", "1", "2"}, {13, 13, 13, 12}, {}},
        {"start of a game", {"", ""}, {0, 0}, {}},
        {"midway", {"20", "18"}, {7, 7}, {}},
    };
    for (const EndCase& c : cases) {
        play(c, "en.lang");
    }
}

TEST(CheckGameEnd, MissingLanguageFileOrKeysGiveEmptyTexts) {
    TempLanguageDir dir;
    dir.write("de.lang", "tie = Unentschieden\r\n");
    play({"no file, winner", {"40", "38"}, {13, 13}, {"Ann "}}, "xx.lang");
    play({"no file, tie", {"38", "38"}, {13, 13}, {""}}, "xx.lang");
    play({"no win key", {"1", "2"}, {13, 13}, {"Bob "}}, "de.lang");
    play({"tie key present", {"2", "2"}, {13, 13}, {"Unentschieden"}}, "de.lang");
}

TEST(CheckGameEnd, NoPlayersNoMessage) {
    GameState state;
    MemoryBoard board(2);
    state.playerProgress[1][1] = 13;
    checkGameEnd(board, state);  // playerCount 0: nothing to divide by
    EXPECT_TRUE(board.messages().empty());
}

}  // namespace
}  // namespace quintaro
