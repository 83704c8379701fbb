// The behaviour suite on the Linux edition: keys go to the focused widget as the system
// delivers them, clicks to the widgets, and the score card's colours are read from what it
// drew.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "qt/ScoreGrid.h"
#include "tests/qt/TestSupport.h"
#include "tests/support/Behaviour.h"

namespace quintaro::testing {
namespace {

class QtDriver : public EditionDriver {
  public:
    void startGame(int players, bool computer) override {
        game_.reset();
        state_ = gameState(computer ? 2 : players, computer ? 1 : 0);
        state_.delayMs = 0;
        game_ = std::make_unique<TestGame>(state_);
        window().show();
        QApplication::setActiveWindow(&window());
    }
    void pressKey(const std::string& key, bool ctrl) override {
        Qt::Key code = Qt::Key(key.size() == 1 ? key[0] : 0);
        Qt::KeyboardModifiers modifiers = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        if (key.rfind("Keypad", 0) == 0) {
            code = Qt::Key(key.back());
            modifiers |= Qt::KeypadModifier;
        }
        if (key == "Space") {
            code = Qt::Key_Space;
        } else if (key == "Up") {
            code = Qt::Key_Up;
        } else if (key == "Down") {
            code = Qt::Key_Down;
        } else if (key == "Enter") {
            code = Qt::Key_Return;
        }
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : &window(), code, modifiers);
    }
    void clickRoll() override { QTest::mouseClick(window().rollButton(), Qt::LeftButton); }
    void clickDie(int die) override { QTest::mouseClick(window().die(die), Qt::LeftButton); }
    void clickCell(int row) override {
        ScoreGrid* card = window().scoreCard();
        const QPoint at = card->visualRect(card->model()->index(row, 1)).center();
        QTest::mouseMove(card->viewport(), at);
        QTest::mouseClick(card->viewport(), Qt::LeftButton, {}, at);
    }
    void chooseMenuItem(int item) override { window().menuAction(item)->trigger(); }
    void answer(const std::string& answer) override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no box to answer";
        box->button(answer == "yes"  ? QMessageBox::Yes
                    : answer == "no" ? QMessageBox::No
                                     : QMessageBox::Ok)
            ->click();
    }
    void settle(const std::string&) override {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    const Board& board() override { return window().board(); }
    int selectedRow() override { return window().scoreCard()->selectedRow(); }
    std::uint32_t cellColour(int row, int column) override {
        ScoreGrid* card = window().scoreCard();
        const QImage drawn = card->viewport()->grab().toImage();
        const QRect cell = card->visualRect(card->model()->index(row, column));
        return drawn.pixelColor(cell.right() - 3, cell.center().y()).rgb() & 0xffffffu;
    }
    int focusedControl() override { return window().focusedControl(); }
    bool messageOpen() override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        return box != nullptr && box->isVisible();
    }

  private:
    MainWindow& window() { return game_->window(); }

    ScratchFolder folder_;
    GameState state_;
    std::unique_ptr<TestGame> game_;
};

class Behaviour : public ::testing::TestWithParam<std::string> {};

TEST_P(Behaviour, OnTheLinuxEdition) {
    QtDriver driver;
    runBehaviourCase(driver, behaviourCase(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Cases, Behaviour, ::testing::ValuesIn(behaviourCaseNames()),
                         [](const auto& info) { return behaviourTestName(info.param); });

}  // namespace
}  // namespace quintaro::testing
