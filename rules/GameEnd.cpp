#include "rules/GameEnd.h"

#include <string>

#include "rules/Scoring.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

void checkGameEnd(Board& board, const GameState& state) {
    const int players = state.playerCount;
    // Without players there is no game to end (and nothing to divide by).
    if (players < 1 || players > maxPlayers) {
        return;
    }
    int bookings = 0;
    for (int p = 1; p <= players; ++p) {
        bookings += state.rowsBooked(p);
    }
    // Players book in strict rotation, so the average first reaches 13 with the last
    // player's thirteenth booking.
    if (bookings / players != bookableRowCount) {
        return;
    }

    // One pass: an equal total marks a tie, a higher one takes the lead and clears it.
    int best = -1;
    int winner = 0;
    bool tie = false;
    for (int p = 1; p <= players; ++p) {
        const int total = cellValue(board, totalRow, p);
        if (total == best) {
            tie = true;
        }
        if (total > best) {
            best = total;
            winner = p;
            tie = false;
        }
    }

    // The text is read and the file closed before the modal message waits for its OK.
    const std::string text = tie ? readOneText(state.languageFile, "tie", "")
                                 : state.playerNames[std::size_t(winner)] + " " +
                                       readOneText(state.languageFile, "win", "");
    board.showMessage("", text);
}

}  // namespace quintaro
