#pragma once
// The main window's menu bar: item numbers, the texts of its titles and items, and the order
// in which a front end builds it.

#include <array>
#include <string_view>

namespace quintaro {

// Menu item numbers of the main window; the menu commands are dispatched by these.
enum MenuItem : int {
    NewGameItem = 1,
    ExitItem = 2,
    RulesItem = 3,
    AboutItem = 4,
    OptionsItem = 5,
    HintItem = 6,
    EnglishItem = 10,
    GermanItem = 11,
    BulgarianItem = 12,
};

// Every text of the menu bar, menu titles and items alike.
enum class MenuText : int {
    GameTitle,
    NewGame,
    Hint,
    Exit,
    ToolsTitle,
    Options,
    Language,
    English,
    German,
    Bulgarian,
    HelpTitle,
    Rules,
    About,
};
inline constexpr int menuTextCount = 13;

struct MenuTextSource {
    std::string_view key;        // language key; empty for a text that is the same everywhere
    std::string_view fixedText;  // the text when there is no key
};

// Where each menu text comes from, indexed by MenuText. The rules item bears the Help menu's
// own title; the language names stay the same in every language.
inline constexpr std::array<MenuTextSource, menuTextCount> menuTextSources = {{
    {"MenuTitleGame", ""},
    {"MenuNewGame", ""},
    {"MenuHint", ""},
    {"MenuExit", ""},
    {"MenuTitleTools", ""},
    {"MenuOptions", ""},
    {"", "Language"},
    {"", "English"},
    {"", "German"},
    {"", "Bulgarian"},
    {"MenuTitleHelp", ""},
    {"MenuTitleHelp", ""},
    {"MenuAbout", ""},
}};

enum class MenuEntryKind { Menu, Item, Separator, Submenu, EndSubmenu };

struct MenuEntry {
    MenuEntryKind kind;
    MenuText text = MenuText::GameTitle;
    int item = 0;               // the item number of an Item
    std::string_view key = "";  // the key that chooses the item, shown beside it
};

// The menu bar from left to right and top to bottom. A Menu entry starts the next menu of the
// bar; a Submenu entry opens a submenu in the current menu until EndSubmenu.
inline constexpr std::array<MenuEntry, 17> menuBarLayout = {{
    {MenuEntryKind::Menu, MenuText::GameTitle},
    {MenuEntryKind::Item, MenuText::NewGame, NewGameItem},
    {MenuEntryKind::Item, MenuText::Hint, HintItem, "H"},
    {MenuEntryKind::Separator},
    {MenuEntryKind::Item, MenuText::Exit, ExitItem},
    {MenuEntryKind::Menu, MenuText::ToolsTitle},
    {MenuEntryKind::Item, MenuText::Options, OptionsItem},
    {MenuEntryKind::Separator},
    {MenuEntryKind::Submenu, MenuText::Language},
    {MenuEntryKind::Item, MenuText::English, EnglishItem},
    {MenuEntryKind::Item, MenuText::German, GermanItem},
    {MenuEntryKind::Item, MenuText::Bulgarian, BulgarianItem},
    {MenuEntryKind::EndSubmenu},
    {MenuEntryKind::Menu, MenuText::HelpTitle},
    {MenuEntryKind::Item, MenuText::Rules, RulesItem},
    {MenuEntryKind::Separator},
    {MenuEntryKind::Item, MenuText::About, AboutItem},
}};

}  // namespace quintaro
