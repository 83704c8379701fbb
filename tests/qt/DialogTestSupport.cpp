#include "tests/qt/DialogTestSupport.h"

#include "qt/InputBox.h"
#include "qt/OptionsDialog.h"
#include "qt/UiText.h"
#include "shell/NewGame.h"
#include "shell/StartUp.h"

#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <atomic>
#include <fstream>
#include <sstream>

namespace quintaro::testing {

namespace {

constexpr std::chrono::seconds stepTimeout{20};

}  // namespace

namespace {

// Runs the event loop until done says so, or fails after a deadline naming what it waited for.
void runUntil(const std::function<bool()>& done, const char* what) {
    const auto deadline = std::chrono::steady_clock::now() + stepTimeout * 3;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            ADD_FAILURE() << "timed out waiting for " << what;
            return;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
}

// Just the new-game dialog and the input box of the Linux edition, for start-up's questions.
class NewGameOnly : public Frontend {
  public:
    void useToolkitLanguage(const std::string&) override {}
    void initSound() override {}
    void loadSound(int, const std::string&) override {}
    void playSound(int) override {}
    void freeSound(int) override {}
    void releaseSound() override {}
    void freePictures() override {}
    void openDocument(const std::string&) override {}
    void showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) override {
        dialog->show(texts, events);
    }
    void closeNewGameDialog() override { dialog->close(); }
    void showInputBox(const std::string& title, const std::string& prompt,
                      const std::string& defaultText, DialogEvents& events) override {
        quintaro::showInputBox(toQString(title), toQString(prompt), toQString(defaultText), events);
    }
    GameWindow& openMainWindow(const WindowSetup&, WindowEvents&) override { std::abort(); }
    void closeMainWindow() override {}
    void quit() override {}

    std::unique_ptr<NewGameDialog> dialog = std::make_unique<NewGameDialog>();
};

// Start-up's answers, handed on as the shell does.
class StartUpEvents : public DialogEvents {
  public:
    explicit StartUpEvents(StartUp& startUp) : startUp_(startUp) {}
    void modeChosen(GameMode mode) override { startUp_.modeChosen(mode); }
    void newGameCloseRequested() override { startUp_.closeRequested(); }
    void inputBoxAnswered(InputBoxAction action, const std::string& text) override {
        startUp_.answered(action, text);
    }
    void yesNoAnswered(bool) override {}
    void messageClosed() override {}
    void optionsEdited(const OptionsEdit&) override {}

  private:
    StartUp& startUp_;
};

// The options dialog with the rules the Options command applies.
class OptionsRun : public DialogEvents {
  public:
    OptionsRun(QWidget* mainWindow, GameState& state)
        : state_(state), form_(state), dialog_(mainWindow, readOptionsTexts(state.languageFile), *this) {
        dialog_.show(form_.view());
    }
    void modeChosen(GameMode) override {}
    void newGameCloseRequested() override {}
    void inputBoxAnswered(InputBoxAction, const std::string&) override {}
    void yesNoAnswered(bool) override {}
    void messageClosed() override {}
    void optionsEdited(const OptionsEdit& edit) override {
        if (done || form_.edit(state_, edit) == OptionsForm::Outcome::Open) {
            dialog_.show(form_.view());
            return;
        }
        done = true;
        dialog_.close();
    }
    bool done = false;

  private:
    GameState& state_;
    OptionsForm form_;
    OptionsDialog dialog_;
};

}  // namespace

std::unique_ptr<NewGameDialog> runNewGame(GameState& state) {
    NewGameOnly frontend;
    StartUp startUp(state, frontend);
    StartUpEvents events(startUp);
    bool ready = false;
    bool left = false;
    startUp.begin(events, [&] { ready = true; }, [&] { left = true; });
    runUntil([&] { return ready || left; }, "the new-game questions to end");
    if (!ready) {
        return nullptr;
    }
    return std::move(frontend.dialog);
}

QString inputBox(const QString& title, const QString& prompt, const QString& defaultText) {
    struct Answer : DialogEvents {
        void modeChosen(GameMode) override {}
        void newGameCloseRequested() override {}
        void inputBoxAnswered(InputBoxAction action, const std::string& text) override {
            answer = toQString(inputBoxAnswer(action, text));
            answered = true;
        }
        void yesNoAnswered(bool) override {}
        void messageClosed() override {}
        void optionsEdited(const OptionsEdit&) override {}
        QString answer;
        bool answered = false;
    } events;
    showInputBox(title, prompt, defaultText, events);
    runUntil([&] { return events.answered; }, "the input box's answer");
    return events.answer;
}

void runOptions(QWidget* mainWindow, GameState& state) {
    OptionsRun run(mainWindow, state);
    runUntil([&] { return run.done; }, "the options dialog to close");
}

bool fileExists(const std::string& fileName) {
    return std::filesystem::exists(fileName);
}

QWidget* findVisibleWindow(const QString& objectName) {
    const auto widgets = QApplication::allWidgets();
    for (QWidget* widget : widgets) {
        if (widget->isWindow() && widget->isVisible() && widget->objectName() == objectName) {
            return widget;
        }
    }
    return nullptr;
}

QDialog* openInputBox() {
    auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (box == nullptr || !box->isVisible() || box->objectName() != QLatin1String("inputBox")) {
        return nullptr;
    }
    return box;
}

void typeInto(QWidget* lineEdit, const QString& text) {
    auto* field = qobject_cast<QLineEdit*>(lineEdit);
    ASSERT_NE(field, nullptr);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    bool latin1 = true;
    for (QChar c : text) {
        latin1 = latin1 && c.unicode() >= 0x20 && c.unicode() < 0x7F;
    }
    if (latin1) {
        if (text.isEmpty()) {
            QTest::keyClick(field, Qt::Key_Delete);
        } else {
            QTest::keyClicks(field, text);
        }
    } else {
        // Key events carry no letters beyond ASCII here; insert the text as one piece.
        field->insert(text);
    }
}

DialogDriver::DialogDriver() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
}

DialogDriver::~DialogDriver() {
    timer_.stop();
}

DialogDriver& DialogDriver::then(Step step) {
    steps_.push_back(std::move(step));
    return *this;
}

DialogDriver& DialogDriver::onBox(std::function<void(QDialog*)> act) {
    return then([this, act = std::move(act)] {
        QDialog* box = openInputBox();
        if (box == nullptr) {
            return false;
        }
        auto* prompt = box->findChild<QLabel*>(QStringLiteral("prompt"));
        auto* field = box->findChild<QLineEdit*>(QStringLiteral("text"));
        asked_.push_back({box->windowTitle(), prompt != nullptr ? prompt->text() : QString(),
                          field != nullptr ? field->text() : QString()});
        act(box);
        return true;
    });
}

DialogDriver& DialogDriver::answer(const QString& text) {
    return onBox([text](QDialog* box) {
        QWidget* field = box->findChild<QLineEdit*>(QStringLiteral("text"));
        typeInto(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    });
}

DialogDriver& DialogDriver::escape() {
    return onBox([](QDialog* box) {
        QTest::keyClick(box->findChild<QLineEdit*>(QStringLiteral("text")), Qt::Key_Escape);
    });
}

DialogDriver& DialogDriver::onWindow(const QString& windowName, std::function<void(QWidget*)> act) {
    return then([windowName, act = std::move(act)] {
        QWidget* window = findVisibleWindow(windowName);
        if (window == nullptr) {
            return false;
        }
        act(window);
        return true;
    });
}

DialogDriver& DialogDriver::click(const QString& windowName, const QString& buttonName) {
    return onWindow(windowName, [buttonName](QWidget* window) {
        auto* button = window->findChild<QWidget*>(buttonName);
        ASSERT_NE(button, nullptr) << buttonName.toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    });
}

void DialogDriver::start() {
    started_ = std::chrono::steady_clock::now();
    timer_.start();
}

void DialogDriver::tick() {
    if (timedOut_) {
        unwind();
        return;
    }
    if (finished()) {
        timer_.stop();
        return;
    }
    if (std::chrono::steady_clock::now() - started_ > stepTimeout) {
        timedOut_ = true;
        ADD_FAILURE() << "dialog step " << next_ << " of " << steps_.size()
                      << " never became possible";
        unwind();
        return;
    }
    if (steps_[next_]()) {
        ++next_;
    }
}

void DialogDriver::unwind() {
    if (QDialog* box = openInputBox()) {
        auto* field = box->findChild<QLineEdit*>(QStringLiteral("text"));
        if (box->windowTitle() == QLatin1String("PvP mode")) {
            field->setText(QStringLiteral("2"));
            box->accept();
        } else {
            box->reject();
        }
        return;
    }
    for (const char* name : {"newGameDialog", "optionsDialog"}) {
        if (QWidget* window = findVisibleWindow(QLatin1String(name))) {
            window->close();
        }
    }
}

}  // namespace quintaro::testing
