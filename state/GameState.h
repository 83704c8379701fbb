#pragma once
// The game state that outlives one main window, and the fixed tables of the rules.

#include <array>
#include <string>
#include <string_view>

#include "state/Languages.h"

namespace quintaro {

// Face texts by face index, from the highest face to the lowest; slot 6 stays empty.
inline constexpr std::array<std::string_view, 7> faceLabels = {"A", "K", "Q", "J", "10", "9", ""};

// The six five-of-a-kind hand strings; slot 6 stays empty.
inline constexpr std::array<std::string_view, 7> fiveOfAKindHands = {
    "AAAAA", "KKKKK", "QQQQQ", "JJJJJ", "1010101010", "99999", ""};

// Five example hands per hand category 1..7; row 0 and slot 5 stay empty.
inline constexpr std::array<std::array<std::string_view, 6>, 8> exampleHands = {{
    {"", "", "", "", "", ""},
    {"99999", "AAAAA", "KKKKK", "QQQQQ", "JJJJJ", ""},
    {"JQJJJ", "AAAJA", "KK10KK", "9QQQQ", "10101010A", ""},
    {"A101010A", "QJJQQ", "9A9AA", "K10KK10", "J99JJ", ""},
    {"JQAK10", "QJK109", "AJKQ10", "9K10QJ", "9Q10JK", ""},
    {"KJJAJ", "9A9K9", "J10Q1010", "QQQAK", "9KKAK", ""},
    {"JK10J10", "JQJAQ", "QQKK10", "910A9A", "1010QQK", ""},
    {"A10QAJ", "KK10QA", "K10QQJ", "9J10JQ", "Q10JKK", ""},
}};

inline constexpr std::string_view settingsFileName = "settings.ini";

// People at one screen: two to four, one column each.
inline constexpr int minPlayers = 2;
inline constexpr int maxPlayers = 4;

struct GameState {
    int playerCount = 0;   // 2..4 with people only, 2 against the computer
    int computerMode = 0;  // 1: one person against the computer, who is player 2
    int strongerCPU = 0;   // only 1 selects the stronger computer opponent
    int delayMs = 0;       // pause after the computer's turn
    std::string languageCode;
    std::string languageFile;              // every text is read from this file
    std::array<std::string, 9> handNames;  // fallback hand names per category 0..7
    std::array<std::string, languages.size() + 1> languageFiles = languageFileNames();
    std::array<std::string, 6> playerNames;  // player p in slot p (1-based)
    // playerProgress[p][1]: rows player p has booked in this game; row 0 and column 0 unused.
    std::array<std::array<int, 2>, 5> playerProgress{};
    std::array<int, 7> faceCounts{};  // working counts by face index

    // The rows player p (1..4) has booked in this game.
    int& rowsBooked(int player) { return playerProgress[std::size_t(player)][1]; }
    int rowsBooked(int player) const { return playerProgress[std::size_t(player)][1]; }

    // Sets every player's booking count back to 0 for a new game.
    void resetProgress();
};

// Reads settings.ini from the current folder (delay, strongerCPU, lang, hands0..hands7, in
// that order) into a fresh state. A missing file gives the defaults; the file is never
// created or written here.
GameState loadGameState();

}  // namespace quintaro
