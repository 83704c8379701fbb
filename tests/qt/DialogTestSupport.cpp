#include "tests/qt/DialogTestSupport.h"

#include "qt/InputBox.h"
#include "qt/OptionsDialog.h"
#include "qt/UiText.h"
#include "shell/NewGame.h"

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

std::unique_ptr<NewGameDialog> runNewGame(GameState& state) {
    const NewGameTexts texts = readNewGameTexts(state.languageFile);
    auto dialog = std::make_unique<NewGameDialog>();
    const GameMode mode = dialog->chooseMode(
        toQString(texts.gameMode), toQString(texts.peopleButton), toQString(texts.computerButton));
    if (mode == GameMode::None) {
        return nullptr;
    }
    const AskFunction ask = [](const std::string& title, const std::string& prompt,
                               const std::string& defaultText) {
        return toStdString(inputBox(toQString(title), toQString(prompt), toQString(defaultText)));
    };
    if (mode == GameMode::People) {
        askPeople(state, texts, ask);
    } else {
        askComputer(state, texts, ask);
    }
    dialog->questionsAnswered();
    return dialog;
}

void runOptions(QWidget* mainWindow, GameState& state) {
    OptionsChoice choice = currentOptions(state);
    if (runOptionsDialog(mainWindow, readOptionsTexts(state.languageFile), shownSeconds(state),
                         choice)) {
        applyOptions(state, choice);
    }
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
