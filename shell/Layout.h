#pragma once
// Where every control of the game's four windows sits: one table for both editions, in
// 96-DPI pixels. An edition places its controls from here; on a screen of another density
// each size is scaled by dpi / 96 (`scaled`), so the windows keep their proportions and
// their texts stay sharp.

#include <array>
#include <cstddef>
#include <cstdint>

namespace quintaro {

struct LayoutSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(const LayoutSize&, const LayoutSize&) = default;
};

struct LayoutRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    constexpr int right() const { return x + width; }
    constexpr int bottom() const { return y + height; }
    friend constexpr bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

// The density every size of the table is given in.
inline constexpr int baseDpi = 96;

// A 96-DPI length at `dpi`, rounded to the nearest pixel (as MulDiv rounds).
constexpr int scaled(int length, int dpi) {
    const long long product = (long long)length * dpi;
    const long long half = baseDpi / 2;
    return int(product >= 0 ? (product + half) / baseDpi : -((-product + half) / baseDpi));
}

// Edges are scaled rather than sizes, so that neighbours that touch at 96 DPI still touch.
constexpr LayoutRect scaled(const LayoutRect& rect, int dpi) {
    const int x = scaled(rect.x, dpi);
    const int y = scaled(rect.y, dpi);
    return {x, y, scaled(rect.right(), dpi) - x, scaled(rect.bottom(), dpi) - y};
}

constexpr LayoutSize scaled(const LayoutSize& size, int dpi) {
    return {scaled(size.width, dpi), scaled(size.height, dpi)};
}

// ---- The main window ---------------------------------------------------------------------

inline constexpr int layoutMaxPlayers = 4;

struct MainWindowLayout {
    // The client area of a window without a menu bar; the window's outer size is that of
    // this client area, and the menu bar then takes its height from inside it.
    LayoutSize client;
    LayoutRect scoreCard;
    // Column 0 holds the row labels, columns 1 .. players one player each.
    int columns = 0;
    std::array<int, 1 + layoutMaxPlayers> columnWidths{};
    // The card's header and its rows, where an edition sets them itself (the list control
    // of the Windows edition takes them from its font).
    int headerHeight = 0;
    int rowHeight = 0;
    LayoutRect rollButton;
    LayoutRect turnLabel;
    std::array<LayoutRect, 5> dice{};
    LayoutRect handLabel;
    // The coach's frame round a die to hold.
    int hintFrameWidth = 0;
    // Point size of the dice and hand label font.
    int diceFontPoints = 0;
};

// The colour of the coach's frame round a die to hold, on every edition: a green.
inline constexpr std::uint32_t hintFrameRgb = 0x1f8a3b;

inline constexpr int labelColumnWidth = 90;
// The player columns share this width (integer division: 105, 70 or 52).
inline constexpr int playerColumnsWidth = 210;

constexpr MainWindowLayout mainWindowLayout(int players) {
    if (players < 1) {
        players = 1;
    } else if (players > layoutMaxPlayers) {
        players = layoutMaxPlayers;
    }
    MainWindowLayout layout;
    layout.client = {600, 300};
    layout.scoreCard = {5, 5, 305, 245};
    layout.columns = 1 + players;
    layout.columnWidths[0] = labelColumnWidth;
    for (int p = 1; p <= players; ++p) {
        layout.columnWidths[std::size_t(p)] = playerColumnsWidth / players;
    }
    layout.headerHeight = 20;
    layout.rowHeight = 14;
    layout.rollButton = {330, 200, 120, 40};
    layout.turnLabel = {330, 10, 100, 20};
    for (int die = 0; die < 5; ++die) {
        layout.dice[std::size_t(die)] = {330 + 50 * die, 45, 40, 40};
    }
    layout.handLabel = {330, 150, 120, 40};
    layout.hintFrameWidth = 3;
    layout.diceFontPoints = 16;
    return layout;
}

// ---- The options dialog ------------------------------------------------------------------

struct OptionsLayout {
    LayoutSize client{280, 120};
    LayoutRect handLabel{5, 20, 165, 20};
    // The seconds control: a number field with a pair of arrows at its right.
    LayoutRect secondsControl{170, 15, 30, 20};
    LayoutRect secondsField{170, 15, 20, 20};
    LayoutRect secondsArrows{190, 15, 10, 20};
    LayoutRect secondsLabel{205, 20, 60, 20};
    LayoutRect strongerBox{5, 45, 255, 20};
    LayoutRect applyButton{5, 80, 75, 30};
    LayoutRect cancelButton{195, 80, 75, 30};
};

inline constexpr OptionsLayout optionsLayout{};

// ---- The new-game dialog -----------------------------------------------------------------

struct NewGameLayout {
    LayoutSize client{405, 75};
    LayoutRect peopleButton{10, 10, 185, 40};
    LayoutRect computerButton{210, 10, 185, 40};
    // A picture is clipped this far inside its button's edge (further with themed buttons).
    int pictureInset = 2;
    int themedPictureInset = 4;
};

inline constexpr NewGameLayout newGameLayout{};

// ---- The text-input box ------------------------------------------------------------------

struct InputBoxLayout {
    // The whole window, frame included, and where its top-left corner sits from the middle
    // of the screen.
    LayoutSize outer{300, 130};
    // Its client area, for a toolkit that sizes the inside and leaves the frame (3-pixel
    // borders, a 20-pixel title bar) to the window manager.
    LayoutSize client{294, 104};
    int leftOfCentre = 150;
    int aboveCentre = 65;
    LayoutRect prompt{10, 10, 280, 22};
    LayoutRect field{10, 32, 275, 21};
    LayoutRect okButton{110, 67, 80, 25};
};

inline constexpr InputBoxLayout inputBoxLayout{};

}  // namespace quintaro
