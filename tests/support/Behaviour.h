#pragma once
// One behaviour suite for every edition: the cases in tests/behaviour/cases.txt, run through
// a small driver that each edition's test support implements over its real window (keys
// through the system's input path, clicks, answers) and the shell's tests over the fake
// front end.

#include <cstdint>
#include <string>
#include <vector>

#include "rules/Board.h"

namespace quintaro::testing {

class EditionDriver {
  public:
    virtual ~EditionDriver() = default;

    // A new game with its main window, without the new-game dialog: PLAYERS people, or one
    // person against the computer (with no pause).
    virtual void startGame(int players, bool computer) = 0;
    // A key at the focused control, through the system's input path: "R", "H", "1".."5",
    // "Space", "Up", "Down", "Enter"; with Ctrl held when ctrl is set.
    virtual void pressKey(const std::string& key, bool ctrl) = 0;
    virtual void clickRoll() = 0;
    virtual void clickDie(int die) = 0;
    // A left click on the score card's cell in this row and the first player's column; the
    // pointer stays there.
    virtual void clickCell(int row) = 0;
    virtual void chooseMenuItem(int item) = 0;
    // Answers the open message box or question: "ok", "yes" or "no".
    virtual void answer(const std::string& answer) = 0;
    // Handles everything the edition has queued, until it is idle; fails naming step when it
    // does not get there within its deadline.
    virtual void settle(const std::string& step) = 0;

    // What the window shows.
    // The board over the window's controls, read as the rules read it: texts, held dice,
    // enabled controls, bookings.
    virtual const Board& board() = 0;
    virtual int selectedRow() = 0;
    // A cell as drawn, 0xRRGGBB.
    virtual std::uint32_t cellColour(int row, int column) = 0;
    virtual int focusedControl() = 0;
    virtual bool messageOpen() = 0;
};

struct BehaviourCase {
    std::string name;
    struct Line {
        int number;
        std::string text;
    };
    std::vector<Line> lines;
};

// The cases of tests/behaviour/cases.txt, in order.
std::vector<BehaviourCase> behaviourCases();
std::vector<std::string> behaviourCaseNames();
BehaviourCase behaviourCase(const std::string& name);
// Runs one case; every step or check that goes wrong is a test failure naming the case and
// the line.
void runBehaviourCase(EditionDriver& driver, const BehaviourCase& behaviour);
// A case name as a test name: letters and digits only.
std::string behaviourTestName(const std::string& name);

}  // namespace quintaro::testing
