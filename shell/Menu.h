#pragma once
// The main window's menu bar: item numbers, the texts of its titles and items, and the order
// in which a front end builds it. The language items come from the languages' table.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "shell/Keys.h"
#include "state/Languages.h"

namespace quintaro {

// Menu item numbers of the main window; the menu commands are dispatched by these. The
// languages take the numbers of their table (10, 11, 12).
enum MenuItem : int {
    NewGameItem = 1,
    ExitItem = 2,
    RulesItem = 3,
    AboutItem = 4,
    OptionsItem = 5,
    HintItem = 6,
    EnglishItem = languages[0].menuItem,
    GermanItem = languages[1].menuItem,
    BulgarianItem = languages[2].menuItem,
};
// One past the highest item number: front ends size their item arrays by it.
inline constexpr int menuItemLimit = lastLanguageItem + 1;

// Every text of the menu bar, menu titles and items alike; one language item per language
// from FirstLanguage on.
enum class MenuText : int {
    GameTitle,
    NewGame,
    Hint,
    Exit,
    ToolsTitle,
    Options,
    Language,
    FirstLanguage,
    HelpTitle = FirstLanguage + languageCount,
    Rules,
    About,
};
inline constexpr int menuTextCount = int(MenuText::About) + 1;

constexpr MenuText languageMenuText(int index) {
    return MenuText(int(MenuText::FirstLanguage) + index);
}

struct MenuTextSource {
    std::string_view key;        // language key; empty for a text that is the same everywhere
    std::string_view fixedText;  // the text when there is no key
};

// Where each menu text comes from, indexed by MenuText. The rules item bears the Help menu's
// own title; the language names stay the same in every language.
inline constexpr std::array<MenuTextSource, menuTextCount> menuTextSources = [] {
    std::array<MenuTextSource, menuTextCount> sources{};
    sources[std::size_t(MenuText::GameTitle)] = {"MenuTitleGame", ""};
    sources[std::size_t(MenuText::NewGame)] = {"MenuNewGame", ""};
    sources[std::size_t(MenuText::Hint)] = {"MenuHint", ""};
    sources[std::size_t(MenuText::Exit)] = {"MenuExit", ""};
    sources[std::size_t(MenuText::ToolsTitle)] = {"MenuTitleTools", ""};
    sources[std::size_t(MenuText::Options)] = {"MenuOptions", ""};
    sources[std::size_t(MenuText::Language)] = {"", "Language"};
    for (int index = 0; index < languageCount; ++index) {
        sources[std::size_t(languageMenuText(index))] = {"",
                                                         languages[std::size_t(index)].menuName};
    }
    sources[std::size_t(MenuText::HelpTitle)] = {"MenuTitleHelp", ""};
    sources[std::size_t(MenuText::Rules)] = {"MenuTitleHelp", ""};
    sources[std::size_t(MenuText::About)] = {"MenuAbout", ""};
    return sources;
}();

enum class MenuEntryKind { Menu, Item, Separator, Submenu, EndSubmenu };

struct MenuEntry {
    MenuEntryKind kind = MenuEntryKind::Separator;
    MenuText text = MenuText::GameTitle;
    int item = 0;                  // the item number of an Item
    std::optional<GameKey> key{};  // the key of play that chooses the item, shown beside it
};

// The text shown beside an item for the key that chooses it ("H"), "" for none.
inline std::string menuKeyText(const MenuEntry& entry) {
    return entry.key ? keyText(*entry.key) : std::string();
}

inline constexpr int menuEntryCount = 14 + languageCount;

// The menu bar from left to right and top to bottom. A Menu entry starts the next menu of the
// bar; a Submenu entry opens a submenu in the current menu until EndSubmenu.
inline constexpr std::array<MenuEntry, menuEntryCount> menuBarLayout = [] {
    std::array<MenuEntry, menuEntryCount> entries{};
    std::size_t at = 0;
    const auto add = [&](MenuEntry entry) { entries[at++] = entry; };
    add({MenuEntryKind::Menu, MenuText::GameTitle});
    add({MenuEntryKind::Item, MenuText::NewGame, NewGameItem});
    add({MenuEntryKind::Item, MenuText::Hint, HintItem, GameKey::Hint});
    add({MenuEntryKind::Separator});
    add({MenuEntryKind::Item, MenuText::Exit, ExitItem});
    add({MenuEntryKind::Menu, MenuText::ToolsTitle});
    add({MenuEntryKind::Item, MenuText::Options, OptionsItem});
    add({MenuEntryKind::Separator});
    add({MenuEntryKind::Submenu, MenuText::Language});
    for (int index = 0; index < languageCount; ++index) {
        add({MenuEntryKind::Item, languageMenuText(index), languages[std::size_t(index)].menuItem});
    }
    add({MenuEntryKind::EndSubmenu});
    add({MenuEntryKind::Menu, MenuText::HelpTitle});
    add({MenuEntryKind::Item, MenuText::Rules, RulesItem});
    add({MenuEntryKind::Separator});
    add({MenuEntryKind::Item, MenuText::About, AboutItem});
    return entries;
}();

}  // namespace quintaro
