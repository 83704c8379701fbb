#include "qt/NewGameDialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

#include "qt/InputBox.h"
#include "qt/Picture.h"
#include "qt/PictureButton.h"
#include "qt/UiText.h"
#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

enum class Mode { None, People, Computer };

class NewGameWindow : public QWidget {
  public:
    enum class Phase { Open, Asking, Done };

    NewGameWindow()
        : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {}

    Phase phase = Phase::Open;
    Mode chosen = Mode::None;
    bool closeRequested = false;
    QEventLoop* loop = nullptr;

    void choose(Mode mode) {
        if (phase != Phase::Open || chosen != Mode::None) {
            return;
        }
        chosen = mode;
        if (loop != nullptr) {
            loop->quit();
        }
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        switch (phase) {
            case Phase::Open:
                // Before a mode is chosen the close box ends the program: no game starts.
                closeRequested = true;
                event->accept();
                if (loop != nullptr) {
                    loop->quit();
                }
                break;
            case Phase::Asking:
                // The questions have to be answered first.
                event->ignore();
                break;
            case Phase::Done:
                QWidget::closeEvent(event);
                break;
        }
    }
};

struct DialogTexts {
    QString enterName;
    QString enterNrP;
    QString gameMode;
};

DialogTexts readTexts(const std::string& languageFile) {
    KeyValueFile file;
    file.open(languageFile);
    DialogTexts texts;
    texts.enterName = readUiText(file, "enterName", "");
    texts.enterNrP = readUiText(file, "enterNrP", "");
    texts.gameMode = readUiText(file, "gameMode", "");
    file.close();
    return texts;
}

PictureButton* addModeButton(QWidget* window, const char* name, int x, int pictureNumber,
                             const char* pictureFile) {
    auto* button = new PictureButton(window);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(x, 10, modeButtonWidth, modeButtonHeight);
    loadPicture(pictureNumber, pictureFile);
    button->setPicture(pictureBitmap(pictureNumber));
    return button;
}

void askPeople(GameState& state, const DialogTexts& texts) {
    state.computerMode = 0;
    // Only a number from 2 to 4 leaves this question; Escape answers "" which reads as 0.
    while (state.playerCount < 2 || state.playerCount > 4) {
        const QString answer =
            inputBox(QStringLiteral("PvP mode"), texts.enterNrP, QStringLiteral("2"));
        state.playerCount = textToNumber(toStdString(answer));
    }
    for (int i = 1; i <= state.playerCount; ++i) {
        const QString answer =
            inputBox(QString(), texts.enterName, QStringLiteral("Player ") + QString::number(i));
        state.playerNames[std::size_t(i)] = toStdString(answer);
    }
}

void askComputer(GameState& state, const DialogTexts& texts) {
    state.computerMode = 1;
    state.playerCount = 2;
    state.playerNames[1] =
        toStdString(inputBox(QString(), texts.enterName, QStringLiteral("Player 1")));
    state.playerNames[2] = "Computer";
}

}  // namespace

std::unique_ptr<QWidget> runNewGameDialog(GameState& state) {
    const DialogTexts texts = readTexts(state.languageFile);

    auto window = std::make_unique<NewGameWindow>();
    window->setObjectName(QStringLiteral("newGameDialog"));
    window->setWindowTitle(texts.gameMode);
    window->setFont(guiFont());
    window->setBackgroundRole(QPalette::Button);
    window->setAutoFillBackground(true);

    QRect geometry(0, 0, newGameDialogWidth, newGameDialogHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        geometry.moveCenter(screen->geometry().center());
    }
    window->setGeometry(geometry);

    NewGameWindow* dialog = window.get();
    // The buttons keep their own copies of the pictures; nothing else shows them, so the
    // decoded pictures (large ones take many megabytes) go with the dialog.
    QObject::connect(dialog, &QObject::destroyed, [] { freePictures(); });
    PictureButton* people = addModeButton(dialog, "peopleButton", 10, 0, "pvp_0.jpg");
    PictureButton* computer = addModeButton(dialog, "computerButton", 210, 1, "pvc_0.jpg");
    QObject::connect(people, &QAbstractButton::clicked, dialog,
                     [dialog] { dialog->choose(Mode::People); });
    QObject::connect(computer, &QAbstractButton::clicked, dialog,
                     [dialog] { dialog->choose(Mode::Computer); });

    QEventLoop loop;
    dialog->loop = &loop;
    dialog->show();
    while (dialog->chosen == Mode::None && !dialog->closeRequested) {
        // A non-zero result means the whole program is quitting: no game starts then either.
        if (loop.exec() != 0) {
            break;
        }
    }
    dialog->loop = nullptr;

    if (dialog->chosen == Mode::None) {
        return nullptr;
    }

    dialog->phase = NewGameWindow::Phase::Asking;
    if (dialog->chosen == Mode::People) {
        askPeople(state, texts);
    } else {
        askComputer(state, texts);
    }
    dialog->phase = NewGameWindow::Phase::Done;
    return window;
}

}  // namespace quintaro
