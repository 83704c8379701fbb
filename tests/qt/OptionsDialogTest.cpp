#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolButton>

#include "qt/OptionsDialog.h"
#include "qt/UiText.h"
#include "tests/qt/DialogTestSupport.h"

namespace quintaro {
namespace {

using testing::DialogDriver;

const std::string bom = testing::utf8Bom;

QLineEdit* secondsField(QWidget* dialog) {
    return dialog->findChild<QLineEdit*>("secondsField");
}

void press(QWidget* dialog, const char* name) {
    auto* widget = dialog->findChild<QWidget*>(name);
    ASSERT_NE(widget, nullptr) << name;
    QTest::mouseClick(widget, Qt::LeftButton);
}

class OptionsDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeBytes("en.lang", bom +
                                           "ShowCPUhand = Show the computer's hand for\r\n"
                                           "sec = seconds\r\n"
                                           "strongerCPU = Stronger computer opponent\r\n"
                                           "apply = Apply\r\n"
                                           "cancel = Cancel\r\n");
        state.languageFile = "en.lang";
        mainWindow.resize(300, 200);
        mainWindow.show();
        mainWindow.setEnabled(false);
    }

    // Runs the dialog with the driver's steps and checks the main window is usable again.
    void run(DialogDriver& driver) {
        driver.start();
        testing::runOptions(&mainWindow, state);
        EXPECT_FALSE(driver.timedOut());
        EXPECT_TRUE(driver.finished());
        EXPECT_TRUE(mainWindow.isEnabled()) << "main window left disabled";
        EXPECT_EQ(testing::findVisibleWindow("optionsDialog"), nullptr);
    }

    testing::TempFolder folder;
    GameState state;
    QWidget mainWindow;
};

enum class Act { Up, Down, KeyUp, KeyDown, Tick, Type, Apply, Cancel, Close };

struct Action {
    Act act;
    const char* text = "";  // Type: the text typed into the field
};

struct OptionsCase {
    const char* name;
    int delayMs;
    int strongerCPU;
    const char* shownAtStart;
    bool tickedAtStart;
    std::vector<Action> actions;  // ends with Apply, Cancel or Close
    const char* shownAtEnd;
    int delayAfter;
    int strongerAfter;
};

void PrintTo(const OptionsCase& c, std::ostream* os) {
    *os << c.name;
}

class OptionsFlowTest : public OptionsDialogTest,
                        public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(OptionsFlowTest, ShowsStepsAndStores) {
    const OptionsCase& c = GetParam();
    state.delayMs = c.delayMs;
    state.strongerCPU = c.strongerCPU;
    DialogDriver driver;
    driver.onWindow("optionsDialog", [&c](QWidget* dialog) {
        QLineEdit* field = secondsField(dialog);
        auto* box = dialog->findChild<QCheckBox*>("strongerBox");
        EXPECT_EQ(field->text(), c.shownAtStart);
        EXPECT_EQ(box->isChecked(), c.tickedAtStart);
        for (const Action& a : c.actions) {
            switch (a.act) {
                case Act::Up:
                    press(dialog, "secondsUp");
                    break;
                case Act::Down:
                    press(dialog, "secondsDown");
                    break;
                case Act::KeyUp:
                    QTest::keyClick(field, Qt::Key_Up);
                    break;
                case Act::KeyDown:
                    QTest::keyClick(field, Qt::Key_Down);
                    break;
                case Act::Tick:
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, 10));
                    break;
                case Act::Type:
                    field->setFocus();
                    testing::typeInto(field, a.text);
                    break;
                case Act::Apply:
                case Act::Cancel:
                    EXPECT_EQ(field->text(), c.shownAtEnd);
                    press(dialog, a.act == Act::Apply ? "applyButton" : "cancelButton");
                    break;
                case Act::Close:
                    EXPECT_EQ(field->text(), c.shownAtEnd);
                    dialog->close();
                    break;
            }
        }
    });
    run(driver);
    EXPECT_EQ(state.delayMs, c.delayAfter);
    EXPECT_EQ(state.strongerCPU, c.strongerAfter);
    const bool applied = c.actions.back().act == Act::Apply;
    if (applied) {
        EXPECT_EQ(testing::readBytes("settings.ini"),
                  bom + "\r\ndelay = " + std::to_string(c.delayAfter) +
                      "\r\nstrongerCPU = " + std::to_string(c.strongerAfter) + "\r\n");
    } else {
        EXPECT_FALSE(testing::fileExists("settings.ini"));
    }
}

using A = Action;
INSTANTIATE_TEST_SUITE_P(
    Cases, OptionsFlowTest,
    ::testing::Values(
        OptionsCase{"ApplyUntouched", 2500, 0, "2", false, {A{Act::Apply}}, "2", 2000, 0},
        OptionsCase{"ThreeSecondsStronger",
                    0,
                    0,
                    "0",
                    false,
                    {A{Act::Up}, A{Act::Up}, A{Act::Up}, A{Act::Tick}, A{Act::Apply}},
                    "3",
                    3000,
                    1},
        OptionsCase{"HandEditedSevenIsCapped", 7000, 0, "7", false, {A{Act::Apply}}, "7", 5000, 0},
        OptionsCase{"SevenArrowUpShowsFive",
                    7000,
                    0,
                    "7",
                    false,
                    {A{Act::Up}, A{Act::Apply}},
                    "5",
                    5000,
                    0},
        OptionsCase{"SevenArrowDownShowsFour",
                    7000,
                    0,
                    "7",
                    false,
                    {A{Act::Down}, A{Act::Apply}},
                    "4",
                    4000,
                    0},
        OptionsCase{"UpStopsAtFive",
                    4000,
                    1,
                    "4",
                    true,
                    {A{Act::Up}, A{Act::Up}, A{Act::Up}, A{Act::Apply}},
                    "5",
                    5000,
                    1},
        OptionsCase{"DownStopsAtZero",
                    1000,
                    0,
                    "1",
                    false,
                    {A{Act::Down}, A{Act::Down}, A{Act::Apply}},
                    "0",
                    0,
                    0},
        OptionsCase{"KeysStepToo",
                    2000,
                    0,
                    "2",
                    false,
                    {A{Act::KeyUp}, A{Act::KeyUp}, A{Act::KeyDown}, A{Act::Apply}},
                    "3",
                    3000,
                    0},
        OptionsCase{"NegativeShowsItsNumber", -1500, 0, "-1", false, {A{Act::Apply}}, "-1", 0, 0},
        OptionsCase{"NegativeStepsFromZero",
                    -3000,
                    0,
                    "-3",
                    false,
                    {A{Act::Up}, A{Act::Apply}},
                    "1",
                    1000,
                    0},
        OptionsCase{"StrongerTwoShowsTicked", 0, 2, "0", true, {A{Act::Apply}}, "0", 0, 1},
        OptionsCase{"UntickStoresZero", 0, 1, "0", true, {A{Act::Tick}, A{Act::Apply}}, "0", 0, 0},
        OptionsCase{
            "TypedNumber", 0, 0, "0", false, {A{Act::Type, "4"}, A{Act::Apply}}, "4", 4000, 0},
        OptionsCase{
            "TypedTooLarge", 0, 0, "0", false, {A{Act::Type, "9"}, A{Act::Apply}}, "9", 5000, 0},
        OptionsCase{
            "TypedNegative", 3000, 0, "3", false, {A{Act::Type, "-4"}, A{Act::Apply}}, "-4", 0, 0},
        OptionsCase{"TypedLenient",
                    0,
                    0,
                    "0",
                    false,
                    {A{Act::Type, " 2 s"}, A{Act::Apply}},
                    " 2 s",
                    2000,
                    0},
        OptionsCase{
            "TypedGarbage", 3000, 0, "3", false, {A{Act::Type, "abc"}, A{Act::Apply}}, "abc", 0, 0},
        OptionsCase{"TypedThenArrowRewrites",
                    0,
                    0,
                    "0",
                    false,
                    {A{Act::Type, "2"}, A{Act::Up}, A{Act::Apply}},
                    "3",
                    3000,
                    0},
        OptionsCase{"CancelAfterArrows",
                    2000,
                    0,
                    "2",
                    false,
                    {A{Act::Up}, A{Act::Up}, A{Act::Tick}, A{Act::Cancel}},
                    "4",
                    2000,
                    0},
        OptionsCase{"CloseBoxAfterArrows",
                    7000,
                    2,
                    "7",
                    true,
                    {A{Act::Down}, A{Act::Tick}, A{Act::Close}},
                    "4",
                    7000,
                    2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OptionsDialogTest, TypedTextIsRewrittenWhenTheFieldIsLeft) {
    DialogDriver driver;
    driver.onWindow("optionsDialog", [](QWidget* dialog) {
        QLineEdit* field = secondsField(dialog);
        field->setFocus();
        testing::typeInto(field, "12");
        EXPECT_EQ(field->text(), "12") << "typing is not interrupted";
        QTest::keyClick(field, Qt::Key_Return);
        EXPECT_EQ(field->text(), "5");
        press(dialog, "cancelButton");
    });
    run(driver);
    EXPECT_EQ(state.delayMs, 0);
}

TEST_F(OptionsDialogTest, ApplyKeepsTheRestOfAnExistingFile) {
    testing::writeBytes("settings.ini",
                        "; my settings\r\n"
                        "lang=de\r\n"
                        "Delay = 1000\r\n"
                        "hands0 = nothing\r\n"
                        "[extra]\r\n"
                        "strongerCPU = 7\r\n");
    state.delayMs = 1000;
    DialogDriver driver;
    driver.onWindow("optionsDialog", [](QWidget* dialog) {
        press(dialog, "secondsUp");
        press(dialog, "strongerBox");
        press(dialog, "applyButton");
    });
    run(driver);
    EXPECT_EQ(testing::readBytes("settings.ini"), bom +
                                                      "\r\n"
                                                      "; my settings\r\n"
                                                      "lang = de\r\n"
                                                      "delay = 2000\r\n"
                                                      "hands0 = nothing\r\n"
                                                      "strongerCPU = 1\r\n"
                                                      "[extra]\r\n"
                                                      "strongerCPU = 7\r\n");
}

TEST_F(OptionsDialogTest, CancelLeavesAnExistingFileAlone) {
    const std::string original = "delay=3000\nstrongerCPU=1\n";
    testing::writeBytes("settings.ini", original);
    state.delayMs = 3000;
    state.strongerCPU = 1;
    DialogDriver driver;
    driver.onWindow("optionsDialog", [](QWidget* dialog) {
        press(dialog, "secondsDown");
        press(dialog, "strongerBox");
        press(dialog, "cancelButton");
    });
    run(driver);
    EXPECT_EQ(testing::readBytes("settings.ini"), original);
    EXPECT_EQ(state.delayMs, 3000);
    EXPECT_EQ(state.strongerCPU, 1);
}

TEST_F(OptionsDialogTest, UnwritableSettingsStillApplyForNow) {
    std::filesystem::create_directory("settings.ini");
    DialogDriver driver;
    driver.onWindow("optionsDialog", [](QWidget* dialog) {
        press(dialog, "secondsUp");
        press(dialog, "applyButton");
    });
    run(driver);
    EXPECT_EQ(state.delayMs, 1000);
    EXPECT_TRUE(std::filesystem::is_directory("settings.ini"));
}

// Escape is Cancel, as on Windows, wherever the focus is; Enter does not end the dialog.
TEST_F(OptionsDialogTest, EnterDoesNotEndTheDialogAndEscapeCancelsIt) {
    for (const char* focused : {"secondsField", "strongerBox", "applyButton"}) {
        DialogDriver driver;
        driver.onWindow("optionsDialog", [focused](QWidget* dialog) {
            QTest::keyClick(secondsField(dialog), Qt::Key_Return);
            EXPECT_TRUE(dialog->isVisible());
            press(dialog, "secondsUp");
            QWidget* target = dialog->findChild<QWidget*>(QLatin1String(focused));
            ASSERT_NE(target, nullptr) << focused;
            target->setFocus();
            QTest::keyClick(target, Qt::Key_Escape);
        });
        run(driver);
        EXPECT_EQ(state.delayMs, 0) << focused;
        EXPECT_FALSE(std::filesystem::exists("settings.ini")) << focused;
    }
}

TEST_F(OptionsDialogTest, WithoutAMainWindow) {
    DialogDriver driver;
    driver.click("optionsDialog", "applyButton");
    driver.start();
    testing::runOptions(nullptr, state);
    EXPECT_TRUE(driver.finished());
    EXPECT_TRUE(testing::fileExists("settings.ini"));
}

TEST_F(OptionsDialogTest, LayoutAndTexts) {
    DialogDriver driver;
    driver.onWindow("optionsDialog", [this](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Options");
        const OptionsLayout& layout = optionsLayout;
        EXPECT_EQ(dialog->size(), toQSize(layout.client));
        EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize());
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        EXPECT_LE((dialog->geometry().center() - screenCentre).manhattanLength(), 2);
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(dialog->palette().color(dialog->backgroundRole()),
                  dialog->palette().color(QPalette::Button));
        EXPECT_TRUE(dialog->isEnabled());
        EXPECT_EQ(QApplication::activeModalWidget(), dialog);
        EXPECT_FALSE(mainWindow.isEnabled()) << "still disabled while the dialog is open";

        struct Expected {
            const char* name;
            LayoutRect geometry;
            const char* text;
        };
        for (const Expected& e :
             {Expected{"cpuHandLabel", layout.handLabel, "Show the computer's hand for"},
              Expected{"secLabel", layout.secondsLabel, "seconds"},
              Expected{"strongerBox", layout.strongerBox, "Stronger computer opponent"},
              Expected{"applyButton", layout.applyButton, "Apply"},
              Expected{"cancelButton", layout.cancelButton, "Cancel"}}) {
            auto* widget = dialog->findChild<QWidget*>(e.name);
            ASSERT_NE(widget, nullptr) << e.name;
            EXPECT_EQ(widget->geometry(), toQRect(e.geometry)) << e.name;
            EXPECT_EQ(widget->font(), guiFont()) << e.name;
            const QString text = widget->property("text").toString();
            EXPECT_EQ(text, e.text) << e.name;
        }
        auto* control = dialog->findChild<QWidget*>("secondsControl");
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), toQRect(layout.secondsControl));
        QLineEdit* field = secondsField(dialog);
        EXPECT_EQ(QRect(field->mapTo(dialog, QPoint(0, 0)), field->size()),
                  toQRect(layout.secondsField));
        EXPECT_TRUE(field->hasFrame());
        EXPECT_EQ(field->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(field->font(), guiFont());
        auto* up = dialog->findChild<QWidget*>("secondsUp");
        auto* down = dialog->findChild<QWidget*>("secondsDown");
        EXPECT_EQ(QRect(up->mapTo(dialog, QPoint(0, 0)), up->size())
                      .united(QRect(down->mapTo(dialog, QPoint(0, 0)), down->size())),
                  toQRect(layout.secondsArrows));
        press(dialog, "cancelButton");
    });
    run(driver);
}

TEST_F(OptionsDialogTest, MissingLanguageFileLeavesTextsEmpty) {
    state.languageFile = "none.lang";
    DialogDriver driver;
    driver.onWindow("optionsDialog", [](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Options");
        for (const char* name :
             {"cpuHandLabel", "secLabel", "strongerBox", "applyButton", "cancelButton"}) {
            EXPECT_EQ(dialog->findChild<QWidget*>(name)->property("text").toString(), "") << name;
        }
        press(dialog, "applyButton");
    });
    run(driver);
    EXPECT_TRUE(testing::fileExists("settings.ini"));
}

}  // namespace
}  // namespace quintaro
