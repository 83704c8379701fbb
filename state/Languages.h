#pragma once
// The languages of the game, one row each: the code kept in settings.ini, the language file,
// the name on the Language menu (the same in every language) and that item's number. A new
// language is one row here and one file beside the program.

#include <array>
#include <string>
#include <string_view>

namespace quintaro {

struct Language {
    std::string_view code;
    std::string_view file;
    std::string_view menuName;
    int menuItem;
};

inline constexpr std::array<Language, 3> languages = {{
    {"en", "en.lang", "English", 10},
    {"de", "de.lang", "German", 11},
    {"bg", "bg.lang", "Bulgarian", 12},
}};
inline constexpr int languageCount = int(languages.size());
inline constexpr int firstLanguageItem = languages.front().menuItem;
inline constexpr int lastLanguageItem = languages.back().menuItem;

// The language items are numbered one after another, so an item gives its row.
static_assert([] {
    for (int index = 0; index < languageCount; ++index) {
        if (languages[std::size_t(index)].menuItem != firstLanguageItem + index) {
            return false;
        }
    }
    return true;
}());

constexpr bool isLanguageItem(int item) {
    return item >= firstLanguageItem && item <= lastLanguageItem;
}

// The language files in the table's order, and one empty slot after them.
inline std::array<std::string, languages.size() + 1> languageFileNames() {
    std::array<std::string, languages.size() + 1> files;
    for (std::size_t index = 0; index < languages.size(); ++index) {
        files[index] = std::string(languages[index].file);
    }
    return files;
}

}  // namespace quintaro
