// The layout table: its rectangles, the column widths for each number of players, and the
// scaling to other screen densities (edges scaled, so neighbours still meet).
#include "shell/Layout.h"

#include <gtest/gtest.h>

namespace quintaro {
namespace {

// The numbers both editions are measured against: every other window test compares with the
// table, so the table itself is pinned here once.
TEST(LayoutTest, HoldsTheWindowsRectangles) {
    const MainWindowLayout main = mainWindowLayout(2);
    const struct {
        const char* name;
        LayoutRect actual;
        LayoutRect expected;
    } cases[] = {
        {"score card", main.scoreCard, {5, 5, 305, 245}},
        {"roll button", main.rollButton, {330, 200, 120, 40}},
        {"turn label", main.turnLabel, {330, 10, 100, 20}},
        {"die 1", main.dice[0], {330, 45, 40, 40}},
        {"die 3", main.dice[2], {430, 45, 40, 40}},
        {"die 5", main.dice[4], {530, 45, 40, 40}},
        {"hand label", main.handLabel, {330, 150, 120, 40}},
        {"options label", optionsLayout.handLabel, {5, 20, 165, 20}},
        {"seconds control", optionsLayout.secondsControl, {170, 15, 30, 20}},
        {"seconds field", optionsLayout.secondsField, {170, 15, 20, 20}},
        {"seconds arrows", optionsLayout.secondsArrows, {190, 15, 10, 20}},
        {"seconds label", optionsLayout.secondsLabel, {205, 20, 60, 20}},
        {"stronger box", optionsLayout.strongerBox, {5, 45, 255, 20}},
        {"apply", optionsLayout.applyButton, {5, 80, 75, 30}},
        {"cancel", optionsLayout.cancelButton, {195, 80, 75, 30}},
        {"people", newGameLayout.peopleButton, {10, 10, 185, 40}},
        {"computer", newGameLayout.computerButton, {210, 10, 185, 40}},
        {"prompt", inputBoxLayout.prompt, {10, 10, 280, 22}},
        {"field", inputBoxLayout.field, {10, 32, 275, 21}},
        {"ok", inputBoxLayout.okButton, {110, 67, 80, 25}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.actual, c.expected) << c.name;
    }
    EXPECT_EQ(optionsLayout.client, (LayoutSize{280, 120}));
    EXPECT_EQ(newGameLayout.client, (LayoutSize{405, 75}));
    EXPECT_EQ(inputBoxLayout.outer, (LayoutSize{300, 130}));
    EXPECT_EQ(main.diceFontPoints, 16);
}

TEST(LayoutTest, PlayerColumnsShareTheirWidth) {
    const struct {
        int players;
        int width;
    } cases[] = {{2, 105}, {3, 70}, {4, 52}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.players);
        const MainWindowLayout layout = mainWindowLayout(c.players);
        EXPECT_EQ(layout.columns, 1 + c.players);
        EXPECT_EQ(layout.columnWidths[0], 90);
        int total = 0;
        for (int p = 0; p < layout.columns; ++p) {
            if (p > 0) {
                EXPECT_EQ(layout.columnWidths[std::size_t(p)], c.width);
            }
            total += layout.columnWidths[std::size_t(p)];
        }
        // The columns fit in the card, inside its sunken edge.
        EXPECT_LE(total, layout.scoreCard.width - 4);
        // The client area does not depend on the players.
        EXPECT_EQ(layout.client, (LayoutSize{600, 300}));
    }
}

TEST(LayoutTest, ScalesByDpiOver96) {
    const struct {
        int dpi;
        LayoutSize client;
        LayoutRect card;
        LayoutRect die5;
        int labelColumn;
        int fourPlayerColumn;
    } cases[] = {
        {96, {600, 300}, {5, 5, 305, 245}, {530, 45, 40, 40}, 90, 52},
        {120, {750, 375}, {6, 6, 382, 307}, {663, 56, 50, 50}, 113, 65},
        {144, {900, 450}, {8, 8, 457, 367}, {795, 68, 60, 60}, 135, 78},
        {192, {1200, 600}, {10, 10, 610, 490}, {1060, 90, 80, 80}, 180, 104},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const MainWindowLayout layout = mainWindowLayout(4);
        EXPECT_EQ(scaled(layout.client, c.dpi), c.client);
        EXPECT_EQ(scaled(layout.scoreCard, c.dpi), c.card);
        EXPECT_EQ(scaled(layout.dice[4], c.dpi), c.die5);
        EXPECT_EQ(scaled(layout.columnWidths[0], c.dpi), c.labelColumn);
        EXPECT_EQ(scaled(layout.columnWidths[4], c.dpi), c.fourPlayerColumn);
        EXPECT_EQ(scaled(optionsLayout.secondsField, c.dpi).right(),
                  scaled(optionsLayout.secondsArrows, c.dpi).x);
    }
}

}  // namespace
}  // namespace quintaro
