#pragma once
// The language-dependent texts of the main window, read in one go from the language file.

#include <array>
#include <string>

#include "rules/ScoreCard.h"
#include "shell/Accessibility.h"
#include "shell/Menu.h"

namespace quintaro {

struct WindowTexts {
    std::string title;
    std::array<std::string, menuTextCount> menu;
    std::array<std::string, rowCount> rowLabels;
    std::string roll;
    // What the coach's hint says of the expected totals.
    std::string hintBest;   // "Expected total with best play"
    std::string hintYours;  // "with your choice"
    AccessibleTexts accessible;

    const std::string& menuText(MenuText text) const { return menu[std::size_t(text)]; }
};

enum class TextsFor {
    // A window being built: row labels fall back to English, the About item ends in "...".
    NewWindow,
    // A language switch: every label without a key is empty, the About item has no "...".
    LanguageSwitch,
};

// Opens the language file, reads every text of the window and closes the file. The title
// falls back to "Quintaro"; menu texts and the roll button to "".
WindowTexts readWindowTexts(const std::string& languageFile, TextsFor purpose);

// The About box's text: the game's name and version, what it is, and its licence, in the
// language of this file (English where it lacks a text).
std::string aboutText(const std::string& languageFile);

}  // namespace quintaro
