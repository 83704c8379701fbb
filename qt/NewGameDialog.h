#pragma once
// The dialog at start-up that asks how the game is played: people against each other or one
// person against the computer. It reports the picture buttons and its close box; the shell
// asks the rest and decides when it goes.

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

    // Shows the dialog; its buttons and its close box report to events.
    void show(const NewGameTexts& texts, DialogEvents& events);
    // Takes the dialog off the screen (once the main window stands in its place).
    void close();

    QWidget* window() const { return window_.get(); }

  private:
    std::unique_ptr<QWidget> window_;
};

}  // namespace quintaro
