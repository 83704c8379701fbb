#include "qt/NewGameDialog.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>

#include "qt/Picture.h"
#include "qt/PictureButton.h"
#include "qt/UiText.h"

namespace quintaro {

namespace {

class NewGameWindow : public QWidget {
  public:
    enum class Phase { Open, Asking, Done };

    NewGameWindow() : QWidget(nullptr, closeBoxOnly) {}

    Phase phase = Phase::Open;
    GameMode chosen = GameMode::None;
    bool closeRequested = false;
    ModalLoop loop;

    void choose(GameMode mode) {
        if (phase != Phase::Open || chosen != GameMode::None) {
            return;
        }
        chosen = mode;
        loop.wake();
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        switch (phase) {
            case Phase::Open:
                // Before a mode is chosen the close box ends the program: no game starts.
                closeRequested = true;
                event->accept();
                loop.wake();
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

PictureButton* addModeButton(QWidget* window, const char* name, const LayoutRect& where,
                             int pictureNumber, std::string_view pictureFile) {
    auto* button = new PictureButton(window);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(toQRect(where));
    loadPicture(pictureNumber, std::string(pictureFile));
    button->setPicture(pictureBitmap(pictureNumber));
    return button;
}

}  // namespace

NewGameDialog::NewGameDialog() = default;
NewGameDialog::~NewGameDialog() = default;

GameMode NewGameDialog::chooseMode(const QString& title, const QString& peopleName,
                                   const QString& computerName) {
    auto window = std::make_unique<NewGameWindow>();
    window->setObjectName(QStringLiteral("newGameDialog"));
    window->setWindowTitle(title);
    window->setFont(guiFont());
    window->setBackgroundRole(QPalette::Button);
    window->setAutoFillBackground(true);
    window->resize(toQSize(newGameLayout.client));
    centreOnScreen(window.get());

    NewGameWindow* dialog = window.get();
    // The buttons keep their own copies of the pictures; nothing else shows them, so the
    // decoded pictures (large ones take many megabytes) go with the dialog.
    QObject::connect(dialog, &QObject::destroyed, [] { freePictures(); });
    PictureButton* people =
        addModeButton(dialog, "peopleButton", newGameLayout.peopleButton, 0, modePictureFiles[0]);
    PictureButton* computer = addModeButton(dialog, "computerButton", newGameLayout.computerButton,
                                            1, modePictureFiles[1]);
    // The buttons are pictures: their names are for screen readers.
    people->setAccessibleName(peopleName);
    computer->setAccessibleName(computerName);
    QObject::connect(people, &QAbstractButton::clicked, dialog,
                     [dialog] { dialog->choose(GameMode::People); });
    QObject::connect(computer, &QAbstractButton::clicked, dialog,
                     [dialog] { dialog->choose(GameMode::Computer); });

    window_ = std::move(window);
    dialog->show();
    // A program that is quitting starts no game either.
    while (dialog->chosen == GameMode::None && !dialog->closeRequested && dialog->loop.run()) {
    }
    if (dialog->chosen == GameMode::None) {
        window_.reset();
        return GameMode::None;
    }
    dialog->phase = NewGameWindow::Phase::Asking;
    return dialog->chosen;
}

void NewGameDialog::questionsAnswered() {
    if (auto* dialog = static_cast<NewGameWindow*>(window_.get())) {
        dialog->phase = NewGameWindow::Phase::Done;
    }
}

void NewGameDialog::close() {
    window_.reset();
}

}  // namespace quintaro
