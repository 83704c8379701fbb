#pragma once
// The dialog at start-up that asks how the game is played: people against each other or one
// person against the computer, then the number of players and their names.

#include <QWidget>
#include <memory>

#include "shell/Frontend.h"

namespace quintaro {

class NewGameDialog {
  public:
    NewGameDialog();
    ~NewGameDialog();
    NewGameDialog(const NewGameDialog&) = delete;
    NewGameDialog& operator=(const NewGameDialog&) = delete;

    // Shows the dialog and waits until a picture button is clicked; None when the dialog was
    // closed first (it is then gone). Otherwise the dialog stays on screen, its close box
    // ignored, while the questions are asked.
    GameMode chooseMode(const QString& title, const QString& peopleName = QString(),
                        const QString& computerName = QString());
    // The questions are over: the close box works again.
    void questionsAnswered();
    // Takes the dialog off the screen, once the main window stands in its place.
    void close();

    QWidget* window() const { return window_.get(); }

  private:
    std::unique_ptr<QWidget> window_;
};

}  // namespace quintaro
