#include "tests/support/GameSupport.h"

#include "settings/KeyValueFile.h"

namespace quintaro::testing {

int RepeatRandom::draw(int maximum) {
    int value;
    if (values_.empty()) {
        state_ = state_ * 1103515245u + 12345u;
        value = int((state_ >> 16) & 0x7fff);
    } else {
        value = values_[std::size_t(draws_) % values_.size()];
    }
    ++draws_;
    return value % (maximum + 1);
}

ScratchFolder::ScratchFolder(bool withLanguageFiles) {
    if (withLanguageFiles) {
        for (const char* name : {"en.lang", "de.lang", "bg.lang"}) {
            std::filesystem::copy_file(std::filesystem::path(QUINTARO_ASSETS_DIR) / name,
                                       path() / name);
        }
    }
}

GameState gameState(int players, int computerMode, const std::string& language) {
    GameState state;
    state.playerCount = players;
    state.computerMode = computerMode;
    state.languageFile = language;
    const char* names[] = {"", "Ann", "Bob", "Cid", "Dee"};
    for (int p = 1; p <= players && p <= 4; ++p) {
        state.playerNames[std::size_t(p)] = names[p];
    }
    if (computerMode == 1) {
        state.playerNames[2] = "Computer";
    }
    return state;
}

std::string snapshot(const Board& board, int players) {
    std::string out;
    for (int row = 0; row < rowCount; ++row) {
        for (int column = 1; column <= players; ++column) {
            out +=
                board.cellText(row, column) + (board.cellColourSet(row, column) ? "*" : "") + "|";
        }
        out += "\n";
    }
    for (int control : {1, 2, 3, 4, 5, 6, 8, 9}) {
        out += board.controlText(control) + (board.controlEnabled(control) ? "+" : "-") + "|";
    }
    for (int die = 1; die <= 5; ++die) {
        out += board.dieHeld(die) ? "H" : ".";
    }
    out += board.controlEnabled(ScoreCard) ? " card on" : " card off";
    return out;
}

std::string languageText(const std::string& file, const std::string& key) {
    KeyValueFile texts;
    texts.open((std::filesystem::path(QUINTARO_ASSETS_DIR) / file).string());
    return texts.readText(key, "");
}

}  // namespace quintaro::testing
