#pragma once
// Shared by the tests of the game's own files: where they are, reading them, and the
// language keys every language file must hold.

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace quintaro::testing {

// A fresh folder that is not entered: the asset tests name their files by path.
class TempDir : public TempFolder {
  public:
    TempDir() : TempFolder(Enter::No) {}
};

inline std::string assetPath(std::string_view name) {
    return std::string(QUINTARO_ASSETS_DIR) + "/" + std::string(name);
}

// Strict UTF-8 decoding (no overlong forms, no surrogates, nothing above U+10FFFF);
// nothing when the bytes are not UTF-8.
inline std::optional<std::u32string> decodeUtf8(std::string_view bytes) {
    std::u32string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        char32_t cp = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, cp = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, cp = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, cp = lead & 0x07, least = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + std::size_t(extra) >= bytes.size() && extra > 0) {
            return std::nullopt;  // cut off in the middle of a character
        }
        for (int k = 1; k <= extra; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + std::size_t(k)]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            cp = (cp << 6) | (next & 0x3F);
        }
        if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return std::nullopt;
        }
        out.push_back(cp);
        i += std::size_t(extra) + 1;
    }
    return out;
}

inline constexpr std::array<std::string_view, 3> kLanguageFiles = {"en.lang", "de.lang", "bg.lang"};

inline constexpr std::array<std::string_view, 63> kLanguageKeys = {
    "Title",
    "MenuTitleGame",
    "MenuNewGame",
    "MenuExit",
    "MenuTitleTools",
    "MenuOptions",
    "MenuTitleHelp",
    "MenuAbout",
    "Nines",
    "Tens",
    "Jacks",
    "Queens",
    "Kings",
    "Aces",
    "Bonus",
    "Pair",
    "TwoPair",
    "Trips",
    "Straight",
    "FH",
    "4K",
    "5K",
    "Total",
    "roll",
    "NewGame",
    "NewGameDesc",
    "win",
    "tie",
    "hands0",
    "hands1",
    "hands2",
    "hands3",
    "hands4",
    "hands5",
    "hands6",
    "hands7",
    "gameMode",
    "enterNrP",
    "enterName",
    "ShowCPUhand",
    "sec",
    "strongerCPU",
    "apply",
    "cancel",
    "MenuHint",
    "HintBest",
    "HintYours",
    "A11yPeople",
    "A11yComputer",
    "A11yDie",
    "A11yHeld",
    "A11yNotRolled",
    "A11yRollsLeft",
    "A11yBooked",
    "A11yFree",
    "FaceA",
    "FaceK",
    "FaceQ",
    "FaceJ",
    "Face10",
    "Face9",
    "AboutGame",
    "AboutLicence",
};

// The score card's row labels, top to bottom.
inline constexpr std::array<std::string_view, 15> kRowLabelKeys = {
    "Nines",   "Tens",  "Jacks",    "Queens", "Kings", "Aces", "Bonus", "Pair",
    "TwoPair", "Trips", "Straight", "FH",     "4K",    "5K",   "Total",
};

}  // namespace quintaro::testing
