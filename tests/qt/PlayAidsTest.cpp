// Play from the keyboard, the coach's hint on the window, and what a screen reader finds in
// the window's accessible tree.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleTableCellInterface>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

#include "qt/MainWindow.h"
#include "qt/ScoreGrid.h"
#include "rules/Dice.h"
#include "tests/qt/TestSupport.h"

namespace quintaro {
namespace {

using testing::MessageBoxWatcher;
using testing::RandomScope;
using testing::RepeatRandom;
using testing::ScratchFolder;
using testing::TestGame;

QString accessibleName(QObject* object) {
    QAccessibleInterface* node = QAccessible::queryAccessibleInterface(object);
    return node != nullptr ? node->text(QAccessible::Name) : QString();
}

// The name a screen reader reads for a cell of the score card, found through the table's
// accessible interface as an assistive tool would.
QString cellName(MainWindow& window, int row, int column) {
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(window.scoreCard());
    if (table == nullptr || table->tableInterface() == nullptr) {
        return {};
    }
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row, column);
    return cell != nullptr ? cell->text(QAccessible::Name) : QString();
}

void key(MainWindow& window, Qt::Key which) {
    QWidget* target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : &window, which);
}

struct PlayAidsTest : ::testing::Test {
    ScratchFolder folder;
};

TEST_F(PlayAidsTest, AWholeTurnFromTheKeyboard) {
    RepeatRandom random({}, 21);
    RandomScope scope(random);
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    window.activateWindow();
    QApplication::setActiveWindow(&window);

    key(window, Qt::Key_Space);
    ASSERT_FALSE(window.die(1)->text().isEmpty());
    key(window, Qt::Key_2);
    key(window, Qt::Key_4);
    EXPECT_TRUE(window.die(2)->isChecked());
    EXPECT_TRUE(window.die(4)->isChecked());
    key(window, Qt::Key_4);
    EXPECT_FALSE(window.die(4)->isChecked());
    // Space on a focused die presses that die, as on any focused button; it does not roll.
    window.die(3)->setFocus();
    const QString third = window.die(3)->text();
    key(window, Qt::Key_Space);
    EXPECT_TRUE(window.die(3)->isChecked());
    EXPECT_TRUE(window.rollButton()->isEnabled());
    EXPECT_EQ(accessibleName(window.die(3)).endsWith(QStringLiteral(", held")), true);
    key(window, Qt::Key_Space);
    EXPECT_FALSE(window.die(3)->isChecked());
    EXPECT_EQ(window.die(3)->text(), third);
    window.rollButton()->setFocus();
    const QString held = window.die(2)->text();

    key(window, Qt::Key_R);
    EXPECT_EQ(window.die(2)->text(), held);
    EXPECT_FALSE(window.rollButton()->isEnabled());
    EXPECT_TRUE(window.scoreCard()->hasFocus());

    // Row 0 is booked ahead for this player; Up and Down step over it and over rows 6 and 14.
    window.board().setCellText(0, 1, "1");
    window.board().setCellColour(0, 1, bookedCellColour);
    key(window, Qt::Key_Down);
    EXPECT_EQ(window.scoreCard()->selectedRow(), 1);
    for (int step = 0; step < 5; ++step) {
        key(window, Qt::Key_Down);
    }
    EXPECT_EQ(window.scoreCard()->selectedRow(), 7);  // past the bonus row
    key(window, Qt::Key_Up);
    EXPECT_EQ(window.scoreCard()->selectedRow(), 5);
    for (int step = 0; step < 10; ++step) {
        key(window, Qt::Key_Up);
    }
    EXPECT_EQ(window.scoreCard()->selectedRow(), 1);  // the booked row 0 is never selected
    key(window, Qt::Key_Return);
    EXPECT_TRUE(window.board().cellColourSet(1, 1));
    EXPECT_EQ(game.turnFlow().currentPlayer(), 2);
    EXPECT_EQ(state.rowsBooked(1), 1);
}

TEST_F(PlayAidsTest, TheHintMarksTheDiceToHoldThenTheRowToBookUntilTheNextAction) {
    RepeatRandom random({}, 8);
    RandomScope scope(random);
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();
    game.app().shell().coach().wait();

    // Before the first roll: only the expected total.
    window.menuAction(HintItem)->trigger();
    EXPECT_TRUE(window.handLabel()->text().startsWith(QStringLiteral("\u2248 ")));
    EXPECT_EQ(window.hintedDice(), 0u);
    EXPECT_EQ(window.menuAction(HintItem)->shortcut(), QKeySequence(QStringLiteral("H")));

    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    EXPECT_EQ(window.handLabel()->text(), "");  // the roll ended the hint
    window.menuAction(HintItem)->trigger();
    const auto advice = game.app().shell().coach().adviseHold(window.board(), 1);
    ASSERT_TRUE(advice.has_value());
    EXPECT_EQ(window.hintedDice(), advice->bestHold);
    EXPECT_TRUE(window.handLabel()->toolTip().contains(
        QString::fromStdString(testing::languageText("en.lang", "HintBest"))));
    ASSERT_NE(advice->bestHold, 0u) << "this throw has dice worth holding";
    for (int die = 1; die <= 5; ++die) {
        const bool framed = (advice->bestHold & (1u << (die - 1))) != 0;
        EXPECT_EQ(window.die(die)->property("hint").toBool(), framed);
        // The frame is drawn in the hint's green at the die's left edge.
        const QImage face = window.die(die)->grab().toImage();
        EXPECT_EQ(face.pixel(1, face.height() / 2) == qRgb(0x1f, 0x8a, 0x3b), framed) << die;
    }
    // Holding a die is the next action: the marks go.
    QTest::mouseClick(window.die(1), Qt::LeftButton);
    EXPECT_EQ(window.hintedDice(), 0u);
    QTest::mouseClick(window.die(1), Qt::LeftButton);

    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    const QString handName = window.handLabel()->text();
    window.menuAction(HintItem)->trigger();
    const auto row = game.app().shell().coach().adviseRow(window.board(), 1);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(window.scoreCard()->selectedRow(), row->bestRow);
    EXPECT_NE(window.handLabel()->text(), handName);
    key(window, Qt::Key_Return);
    EXPECT_TRUE(window.board().cellColourSet(row->bestRow, 1));
    EXPECT_EQ(window.hintedDice(), 0u);
}

TEST_F(PlayAidsTest, TheAccessibleTreeNamesTheControlsAfterARollAHoldAndABooking) {
    RepeatRandom random({}, 13);
    RandomScope scope(random);
    GameState state = testing::gameState(2);
    TestGame game(state);
    MainWindow& window = game.window();

    EXPECT_EQ(accessibleName(window.die(3)), "Die 3: not rolled");
    EXPECT_EQ(accessibleName(window.rollButton()), "Roll, rolls left: 2");
    EXPECT_EQ(cellName(window, 5, 1), "Aces, Ann: free");
    EXPECT_EQ(cellName(window, totalRow, 2), "Total, Bob: 0");

    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    const std::array<const char*, 6> faces = {"Ace", "King", "Queen", "Jack", "Ten", "Nine"};
    auto faceName = [&](int die) {
        for (std::size_t f = 0; f < faces.size(); ++f) {
            if (window.die(die)->text().toStdString() == faceLabels[f]) {
                return QString(faces[f]);
            }
        }
        return QString();
    };
    EXPECT_EQ(accessibleName(window.die(3)), "Die 3: " + faceName(3));
    EXPECT_EQ(accessibleName(window.rollButton()), "Roll, rolls left: 1");

    QTest::mouseClick(window.die(3), Qt::LeftButton);
    EXPECT_EQ(accessibleName(window.die(3)), "Die 3: " + faceName(3) + ", held");

    QTest::mouseClick(window.rollButton(), Qt::LeftButton);
    EXPECT_EQ(accessibleName(window.rollButton()), "Roll, rolls left: 0");
    EXPECT_EQ(accessibleName(window.handLabel()), window.handLabel()->text());
    for (int row = 0; row <= 5; ++row) {
        QTest::keyClick(window.scoreCard(), Qt::Key_Down);
    }
    QTest::keyClick(window.scoreCard(), Qt::Key_Return);
    const QString aces = window.scoreCard()->item(5, 1)->text();
    EXPECT_EQ(cellName(window, 5, 1), "Aces, Ann: " + aces + ", booked");
    EXPECT_EQ(accessibleName(window.turnLabel()), "Bob");
    EXPECT_EQ(accessibleName(window.die(3)), "Die 3: not rolled");

    // In German after a switch.
    window.menuAction(GermanItem)->trigger();
    EXPECT_EQ(cellName(window, 5, 1),
              QString::fromStdString(testing::languageText("de.lang", "Aces")) + ", Ann: " + aces +
                  ", eingetragen");
    EXPECT_EQ(accessibleName(window.die(1)), QString::fromUtf8("Würfel 1: nicht gewürfelt"));
}

}  // namespace
}  // namespace quintaro
