#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

#include "qt/NewGameDialog.h"
#include "qt/Picture.h"
#include "qt/PictureButton.h"
#include "qt/UiText.h"
#include "tests/qt/DialogTestSupport.h"

namespace quintaro {
namespace {

using testing::DialogDriver;

const std::string englishTexts = std::string(testing::utf8Bom) +
                                 "\r\n"
                                 "gameMode = Choose the game\r\n"
                                 "enterNrP = Number of players (2-4):\r\n"
                                 "enterName = Your name:\r\n";

class NewGameDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::writeBytes("en.lang", englishTexts);
        state.languageFile = "en.lang";
    }

    // Runs the dialog with the driver's steps; the returned window is closed at once.
    bool run(DialogDriver& driver) {
        driver.start();
        std::unique_ptr<NewGameDialog> dialog = testing::runNewGame(state);
        EXPECT_FALSE(driver.timedOut());
        EXPECT_TRUE(driver.finished());
        if (dialog == nullptr) {
            return false;
        }
        EXPECT_TRUE(dialog->window()->isVisible())
            << "the dialog stays on screen for the main window";
        return true;
    }

    testing::TempFolder folder;
    GameState state;
};

struct CountCase {
    const char* answer;
    int players;  // 0: the question comes again
};

void PrintTo(const CountCase& c, std::ostream* os) {
    *os << '"' << c.answer << '"';
}

class PlayerCountTest : public NewGameDialogTest,
                        public ::testing::WithParamInterface<CountCase> {};

TEST_P(PlayerCountTest, NumberQuestionAcceptsOnlyTwoToFour) {
    const CountCase& c = GetParam();
    const int players = c.players != 0 ? c.players : 4;
    DialogDriver driver;
    driver.click("newGameDialog", "peopleButton").answer(QString::fromUtf8(c.answer));
    if (c.players == 0) {
        driver.answer("4");
    }
    for (int i = 1; i <= players; ++i) {
        driver.answer(QString("P%1").arg(i));
    }
    ASSERT_TRUE(run(driver));

    const std::size_t numberBoxes = c.players == 0 ? 2 : 1;
    ASSERT_EQ(driver.asked().size(), numberBoxes + std::size_t(players));
    for (std::size_t i = 0; i < numberBoxes; ++i) {
        EXPECT_EQ(driver.asked()[i].title, "PvP mode");
        EXPECT_EQ(driver.asked()[i].prompt, "Number of players (2-4):");
        EXPECT_EQ(driver.asked()[i].defaultText, "2");
    }
    for (int i = 1; i <= players; ++i) {
        const testing::AskedBox& box = driver.asked()[numberBoxes + std::size_t(i) - 1];
        EXPECT_EQ(box.title, "");
        EXPECT_EQ(box.prompt, "Your name:");
        EXPECT_EQ(box.defaultText, QString("Player %1").arg(i));
        EXPECT_EQ(state.playerNames[std::size_t(i)], "P" + std::to_string(i));
    }
    EXPECT_EQ(state.computerMode, 0);
    EXPECT_EQ(state.playerCount, players);
}

INSTANTIATE_TEST_SUITE_P(Answers, PlayerCountTest,
                         ::testing::Values(CountCase{"2", 2}, CountCase{"3", 3}, CountCase{"4", 4},
                                           CountCase{" 3", 3}, CountCase{"+3", 3},
                                           CountCase{"3 players", 3}, CountCase{"$4", 4},
                                           CountCase{"%11", 3}, CountCase{"5", 0},
                                           CountCase{"1", 0}, CountCase{"0", 0}, CountCase{"-2", 0},
                                           CountCase{"abc", 0}, CountCase{"", 0},
                                           CountCase{"$A", 0}, CountCase{"%101", 0}));

TEST_F(NewGameDialogTest, EscapeInTheNumberBoxAsksAgain) {
    DialogDriver driver;
    driver.click("newGameDialog", "peopleButton").escape().escape().answer("2");
    driver.answer("A").answer("B");
    ASSERT_TRUE(run(driver));
    ASSERT_EQ(driver.asked().size(), 5u);
    EXPECT_EQ(driver.asked()[2].title, "PvP mode");
    EXPECT_EQ(state.playerCount, 2);
}

TEST_F(NewGameDialogTest, NamesAreStoredAsEntered) {
    DialogDriver driver;
    driver.click("newGameDialog", "peopleButton").answer("4");
    driver.answer("Ann").answer("").answer("Ann").answer("  Иван  ");
    ASSERT_TRUE(run(driver));
    EXPECT_EQ(state.playerCount, 4);
    EXPECT_EQ(state.playerNames[1], "Ann");
    EXPECT_EQ(state.playerNames[2], "");
    EXPECT_EQ(state.playerNames[3], "Ann");
    EXPECT_EQ(state.playerNames[4], "  Иван  ");
}

TEST_F(NewGameDialogTest, EscapeInANameBoxGivesAnEmptyName) {
    DialogDriver driver;
    driver.click("newGameDialog", "peopleButton").answer("3");
    driver.answer("Ann").escape().answer("Cid");
    ASSERT_TRUE(run(driver));
    EXPECT_EQ(state.playerNames[1], "Ann");
    EXPECT_EQ(state.playerNames[2], "");
    EXPECT_EQ(state.playerNames[3], "Cid");
}

struct LanguageCase {
    const char* name;
    const char* file;
    std::string bytes;  // empty: no such file
    const char* prompt;
};

void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << c.name;
}

class AgainstComputerTest : public NewGameDialogTest,
                            public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(AgainstComputerTest, OneNameIsAskedAndTheSecondPlayerIsTheComputer) {
    const LanguageCase& c = GetParam();
    state.languageFile = c.file;
    if (!c.bytes.empty()) {
        testing::writeBytes(c.file, c.bytes);
    }
    DialogDriver driver;
    driver.click("newGameDialog", "computerButton").answer("Dana");
    ASSERT_TRUE(run(driver));
    ASSERT_EQ(driver.asked().size(), 1u);
    EXPECT_EQ(driver.asked()[0].title, "");
    EXPECT_EQ(driver.asked()[0].prompt, QString::fromUtf8(c.prompt));
    EXPECT_EQ(driver.asked()[0].defaultText, "Player 1");
    EXPECT_EQ(state.computerMode, 1);
    EXPECT_EQ(state.playerCount, 2);
    EXPECT_EQ(state.playerNames[1], "Dana");
    EXPECT_EQ(state.playerNames[2], "Computer");
}

INSTANTIATE_TEST_SUITE_P(
    Languages, AgainstComputerTest,
    ::testing::Values(LanguageCase{"English", "en.lang", englishTexts, "Your name:"},
                      LanguageCase{"German", "de.lang",
                                   std::string(testing::utf8Bom) + "enterName = Ihr Name:\r\n",
                                   "Ihr Name:"},
                      LanguageCase{"Bulgarian", "bg.lang",
                                   std::string(testing::utf8Bom) +
                                       "enterName = Вашето име:\r\nComputer = Компютър\r\n",
                                   "Вашето име:"},
                      LanguageCase{"MissingFile", "xx.lang", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(NewGameDialogTest, EscapeAgainstTheComputerGivesAnEmptyName) {
    state.playerCount = 3;  // left over: the computer game always has two players
    DialogDriver driver;
    driver.click("newGameDialog", "computerButton").escape();
    ASSERT_TRUE(run(driver));
    EXPECT_EQ(state.playerCount, 2);
    EXPECT_EQ(state.playerNames[1], "");
    EXPECT_EQ(state.playerNames[2], "Computer");
}

TEST_F(NewGameDialogTest, CloseBoxBeforeAnyClickStartsNoGame) {
    testing::writeBytes("pvp_0.jpg", "not a picture");
    DialogDriver driver;
    driver.onWindow("newGameDialog", [](QWidget* window) { window->close(); });
    EXPECT_FALSE(run(driver));
    EXPECT_TRUE(driver.asked().empty());
    EXPECT_EQ(state.playerCount, 0);
    EXPECT_EQ(state.playerNames[1], "");
    EXPECT_FALSE(testing::fileExists("settings.ini"));
    EXPECT_EQ(testing::readBytes("en.lang"), englishTexts);
    EXPECT_EQ(testing::findVisibleWindow("newGameDialog"), nullptr);
}

TEST_F(NewGameDialogTest, CloseBoxWhileAskingIsIgnored) {
    DialogDriver driver;
    driver.click("newGameDialog", "computerButton");
    driver.onBox([](QDialog* box) {
        QWidget* dialog = testing::findVisibleWindow("newGameDialog");
        ASSERT_NE(dialog, nullptr);
        dialog->close();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(box->isVisible());
        testing::typeInto(box->findChild<QWidget*>("text"), "Eve");
        QTest::keyClick(box->findChild<QWidget*>("text"), Qt::Key_Return);
    });
    ASSERT_TRUE(run(driver));
    EXPECT_EQ(state.playerNames[1], "Eve");
}

TEST_F(NewGameDialogTest, WindowLayout) {
    DialogDriver driver;
    driver.onWindow("newGameDialog", [](QWidget* window) {
        EXPECT_EQ(window->windowTitle(), "Choose the game");
        EXPECT_EQ(window->size(), toQSize(newGameLayout.client));
        const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
        EXPECT_LE((window->geometry().center() - screenCentre).manhattanLength(), 2);
        EXPECT_NE(window->minimumSize(), window->maximumSize()) << "the border sizes the window";

        const Qt::WindowFlags flags = window->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_EQ(window->palette().color(window->backgroundRole()),
                  window->palette().color(QPalette::Button));
        EXPECT_TRUE(window->autoFillBackground());

        auto* people = window->findChild<PictureButton*>("peopleButton");
        auto* computer = window->findChild<PictureButton*>("computerButton");
        ASSERT_NE(people, nullptr);
        ASSERT_NE(computer, nullptr);
        EXPECT_EQ(people->geometry(), toQRect(newGameLayout.peopleButton));
        EXPECT_EQ(computer->geometry(), toQRect(newGameLayout.computerButton));
        EXPECT_TRUE(people->text().isEmpty());
        EXPECT_TRUE(people->picture().isNull()) << "no pvp_0.jpg in the folder";
        window->close();
    });
    EXPECT_FALSE(run(driver));
}

TEST_F(NewGameDialogTest, PicturesComeFromTheCurrentFolder) {
    QImage people(120, 30, QImage::Format_RGB32);
    people.fill(Qt::darkGreen);
    ASSERT_TRUE(people.save("pvp_0.jpg", "JPG"));
    testing::writeBytes("pvc_0.jpg", "\xFF\xD8\xFF broken");
    DialogDriver driver;
    driver.onWindow("newGameDialog", [](QWidget* window) {
        EXPECT_EQ(window->findChild<PictureButton*>("peopleButton")->picture().size(),
                  QSize(120, 30));
        EXPECT_TRUE(window->findChild<PictureButton*>("computerButton")->picture().isNull());
    });
    // The button without a picture still starts the game.
    driver.click("newGameDialog", "computerButton").answer("Dana");
    ASSERT_TRUE(run(driver));
    EXPECT_EQ(state.computerMode, 1);
}

// The decoded pictures are needed only while the dialog shows them: however the dialog ends,
// none stays behind for the rest of the run.
TEST_F(NewGameDialogTest, PicturesGoWithTheDialog) {
    for (const bool chooseAMode : {true, false}) {
        SCOPED_TRACE(chooseAMode ? "a mode chosen" : "closed at once");
        QImage picture(120, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        ASSERT_TRUE(picture.save("pvp_0.jpg", "JPG"));
        ASSERT_TRUE(picture.save("pvc_0.jpg", "JPG"));
        DialogDriver driver;
        driver.onWindow("newGameDialog", [&](QWidget* window) {
            EXPECT_FALSE(pictureBitmap(0).isNull());
            EXPECT_FALSE(pictureBitmap(1).isNull());
            if (!chooseAMode) {
                window->close();
            }
        });
        if (chooseAMode) {
            driver.click("newGameDialog", "computerButton").answer("Dana");
        }
        driver.start();
        std::unique_ptr<NewGameDialog> dialog = testing::runNewGame(state);
        EXPECT_TRUE(driver.finished());
        EXPECT_EQ(dialog != nullptr, chooseAMode);
        if (dialog != nullptr) {
            dialog->close();
        }
        EXPECT_TRUE(pictureBitmap(0).isNull());
        EXPECT_TRUE(pictureBitmap(1).isNull());
    }
}

}  // namespace
}  // namespace quintaro
