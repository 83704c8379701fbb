#include "qt/NewGameDialog.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

#include "qt/Picture.h"
#include "qt/PictureButton.h"
#include "qt/UiText.h"

namespace quintaro {

namespace {

// Its close box is the shell's to decide: the window never closes by itself.
class NewGameWindow : public QWidget {
  public:
    explicit NewGameWindow(DialogEvents& events) : QWidget(nullptr, closeBoxOnly), events_(events) {}
    bool closing = false;

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (closing) {
            event->accept();
            return;
        }
        event->ignore();
        events_.newGameCloseRequested();
    }

  private:
    DialogEvents& events_;
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

void NewGameDialog::show(const NewGameTexts& texts, DialogEvents& events) {
    auto window = std::make_unique<NewGameWindow>(events);
    window->setObjectName(QStringLiteral("newGameDialog"));
    window->setWindowTitle(toQString(texts.gameMode));
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
    people->setAccessibleName(toQString(texts.peopleButton));
    computer->setAccessibleName(toQString(texts.computerButton));
    QObject::connect(people, &QAbstractButton::clicked, dialog,
                     [&events] { events.modeChosen(GameMode::People); });
    QObject::connect(computer, &QAbstractButton::clicked, dialog,
                     [&events] { events.modeChosen(GameMode::Computer); });

    window_ = std::move(window);
    dialog->show();
}

void NewGameDialog::close() {
    if (window_) {
        // It may be closed from within its own event handling: it goes once that is over.
        static_cast<NewGameWindow*>(window_.get())->closing = true;
        window_->hide();
        window_.release()->deleteLater();
    }
}

}  // namespace quintaro
