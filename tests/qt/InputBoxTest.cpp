#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include "qt/InputBox.h"
#include "qt/UiText.h"
#include "tests/qt/DialogTestSupport.h"

namespace quintaro {
namespace {

using testing::DialogDriver;

TEST(InputBoxTest, LayoutFlagsAndStartingState) {
    DialogDriver driver;
    driver.onBox([](QDialog* box) {
        EXPECT_EQ(box->windowTitle(), "Name wanted");
        const InputBoxLayout& layout = inputBoxLayout;
        EXPECT_EQ(box->size(), toQSize(layout.client));
        EXPECT_EQ(box->minimumSize(), box->maximumSize()) << "the box has no sizing border";
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(box->frameGeometry().topLeft(), QPoint(screen.width() / 2 - layout.leftOfCentre,
                                                         screen.height() / 2 - layout.aboveCentre));

        const Qt::WindowFlags flags = box->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
        EXPECT_EQ(box->font(), guiFont());

        auto* prompt = box->findChild<QLabel*>("prompt");
        ASSERT_NE(prompt, nullptr);
        EXPECT_EQ(prompt->geometry(), toQRect(layout.prompt));
        EXPECT_EQ(prompt->text(), "Who plays first?");
        EXPECT_FALSE(prompt->wordWrap());

        auto* field = box->findChild<QLineEdit*>("text");
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->geometry(), toQRect(layout.field));
        EXPECT_TRUE(field->hasFrame());
        EXPECT_EQ(field->text(), "Player 3");
        EXPECT_EQ(field->cursorPosition(), 8) << "caret after the last character";
        EXPECT_FALSE(field->hasSelectedText());
        EXPECT_EQ(box->focusWidget(), field);

        auto* ok = box->findChild<QPushButton*>("ok");
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->geometry(), toQRect(layout.okButton));
        EXPECT_EQ(ok->text(), "OK");
        EXPECT_TRUE(ok->isDefault());
        QTest::keyClick(field, Qt::Key_Return);
    });
    driver.start();
    EXPECT_EQ(testing::inputBox("Name wanted", "Who plays first?", "Player 3"), "Player 3");
    EXPECT_TRUE(driver.finished());
}

enum class Ending { Enter, ClickOk, Escape, CloseCommand };

struct AnswerCase {
    const char* name;
    const char* defaultText;
    const char* typed;  // nullptr: the field is left as it is
    Ending ending;
    const char* expected;
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.name;
}

class InputBoxAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(InputBoxAnswerTest, ReturnsWhatTheEndingGives) {
    const AnswerCase& c = GetParam();
    DialogDriver driver;
    driver.onBox([&c](QDialog* box) {
        auto* field = box->findChild<QLineEdit*>("text");
        if (c.typed != nullptr) {
            testing::typeInto(field, QString::fromUtf8(c.typed));
        }
        switch (c.ending) {
            case Ending::Enter:
                QTest::keyClick(field, Qt::Key_Return);
                break;
            case Ending::ClickOk:
                QTest::mouseClick(box->findChild<QPushButton*>("ok"), Qt::LeftButton);
                break;
            case Ending::Escape:
                QTest::keyClick(field, Qt::Key_Escape);
                break;
            case Ending::CloseCommand:
                box->close();
                break;
        }
    });
    driver.start();
    EXPECT_EQ(testing::inputBox("", "prompt", QString::fromUtf8(c.defaultText)),
              QString::fromUtf8(c.expected));
    EXPECT_TRUE(driver.finished());
}

INSTANTIATE_TEST_SUITE_P(
    Endings, InputBoxAnswerTest,
    ::testing::Values(AnswerCase{"EnterKeepsDefault", "2", nullptr, Ending::Enter, "2"},
                      AnswerCase{"EnterGivesTyped", "2", "3 players", Ending::Enter, "3 players"},
                      AnswerCase{"EnterGivesEmpty", "Player 1", "", Ending::Enter, ""},
                      AnswerCase{"BlanksKept", "", "  Ann  ", Ending::Enter, "  Ann  "},
                      AnswerCase{"NonLatinKept", "", "Иван", Ending::Enter, "Иван"},
                      AnswerCase{"OkGivesTyped", "Player 2", "Bea", Ending::ClickOk, "Bea"},
                      AnswerCase{"EscapeGivesEmpty", "Player 2", "Bea", Ending::Escape, ""},
                      AnswerCase{"EscapeIgnoresDefault", "Player 2", nullptr, Ending::Escape, ""},
                      AnswerCase{"CloseCommandGivesEmpty", "Player 2", "Bea", Ending::CloseCommand,
                                 ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The box belongs to the window in front, and that window takes no input while it is open:
// a real mouse click on the other window's button goes nowhere until the box is answered.
TEST(InputBoxTest, OwnedByActiveWindowWhichIsBlockedMeanwhile) {
    QWidget owner;
    owner.setObjectName("owner");
    owner.resize(200, 100);
    auto* button = new QPushButton("press", &owner);
    button->setGeometry(10, 10, 100, 30);
    owner.show();
    owner.activateWindow();
    QApplication::setActiveWindow(&owner);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    QSignalSpy clicks(button, &QPushButton::clicked);

    DialogDriver driver;
    driver.onBox([&](QDialog* box) {
        EXPECT_EQ(box->parentWidget(), &owner);
        EXPECT_TRUE(box->isEnabled());
        QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(60, 25));
        EXPECT_EQ(clicks.count(), 0) << "the owner took a click while the box was open";
        QTest::keyClick(box->findChild<QLineEdit*>("text"), Qt::Key_Return);
    });
    driver.start();
    EXPECT_EQ(testing::inputBox("", "", "x"), "x");
    ASSERT_TRUE(driver.finished());

    // The same click reaches the button once the box is gone.
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, QPoint(60, 25));
    EXPECT_EQ(clicks.count(), 1);
}

TEST(InputBoxTest, DisabledOwnerStillGetsAnAnswer) {
    QWidget owner;
    owner.resize(200, 100);
    owner.show();
    QApplication::setActiveWindow(&owner);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    owner.setEnabled(false);
    DialogDriver driver;
    driver.onBox([&owner](QDialog* box) { EXPECT_EQ(box->parentWidget(), &owner); });
    driver.answer("typed");
    driver.start();
    EXPECT_EQ(testing::inputBox("", "", ""), "typed");
}

}  // namespace
}  // namespace quintaro
