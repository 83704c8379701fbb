#pragma once
// The keys of play, once for both editions. A front end turns its own key code into a
// portable key (the character on the key, or Up, Down, Enter) and hands it to the shell with
// the control that has the focus; this table decides what the key does.

#include <array>
#include <optional>
#include <string>

#include "rules/Board.h"

namespace quintaro {

// What a key of play does.
enum class GameKey { Die1, Die2, Die3, Die4, Die5, Roll, Up, Down, Book, Hint };

enum class NamedKey { None, Up, Down, Enter };

struct PortableKey {
    // The key's character: a digit, an upper-case letter or ' ' for Space; 0 for a named key.
    char character = 0;
    NamedKey named = NamedKey::None;
    bool operator==(const PortableKey&) const = default;
};

// The modifier keys held with a key.
enum KeyModifier : unsigned {
    NoModifier = 0,
    ShiftModifier = 1,
    ControlModifier = 2,
    AltModifier = 4,
    MetaModifier = 8,
    // The key is on the numeric keypad; it counts as the same key.
    KeypadModifier = 16,
};

// A key as the main window reports it: the key, the modifiers held with it, and the control
// that has the focus (-1 for the window itself, or no focus at all).
struct KeyEvent {
    PortableKey key;
    unsigned modifiers = NoModifier;
    int focusedControl = -1;
};

constexpr PortableKey characterKey(char character) {
    return {character, NamedKey::None};
}
constexpr PortableKey namedKey(NamedKey named) {
    return {0, named};
}

struct KeyBinding {
    PortableKey key;
    GameKey action;
    // On a focused die the key presses that die instead, as it does any focused button.
    bool pressesFocusedDie = false;
};

inline constexpr std::array<KeyBinding, 11> keyBindings = {{
    {characterKey('1'), GameKey::Die1},
    {characterKey('2'), GameKey::Die2},
    {characterKey('3'), GameKey::Die3},
    {characterKey('4'), GameKey::Die4},
    {characterKey('5'), GameKey::Die5},
    {characterKey(' '), GameKey::Roll, true},
    {characterKey('R'), GameKey::Roll},
    {namedKey(NamedKey::Up), GameKey::Up},
    {namedKey(NamedKey::Down), GameKey::Down},
    {namedKey(NamedKey::Enter), GameKey::Book},
    {characterKey('H'), GameKey::Hint},
}};

// What a key does with this control of the main window focused (-1 for none); nothing for a
// key that is not a key of play. Letters count in either case.
std::optional<GameKey> gameKeyFor(PortableKey key, int focusedControl);
// The same for a whole key event: with Shift, Ctrl, Alt or the system key held, no key is a key
// of play (those belong to the menus and the system).
std::optional<GameKey> gameKeyFor(const KeyEvent& event);

// The row Up (step -1) or Down (+1) selects from row `from` (-1 for none): the next row this
// player can still book, over the bonus and total rows; -1 when there is none that way.
int nextFreeRow(const Board& board, int player, int from, int step);

// The text a menu shows beside the item of this action ("H"), "" when no key chooses it.
std::string keyText(GameKey action);

}  // namespace quintaro
