#pragma once
// Shared helpers of the window tests: the game helpers, and a watcher that answers modal
// message boxes.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <vector>

#include "qt/Application.h"
#include "qt/MainWindow.h"
#include "tests/support/GameSupport.h"

namespace quintaro::testing {

// Answers every modal message box that opens while it lives with `answer`, and records its
// title and text.
class MessageBoxWatcher : public QObject {
  public:
    explicit MessageBoxWatcher(QMessageBox::StandardButton answer = QMessageBox::Ok);
    struct Seen {
        QString title;
        QString text;
        bool operator==(const Seen&) const = default;
    };
    // The boxes seen so far, once every box open now has been answered.
    const std::vector<Seen>& seen();
    void setAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }

  private:
    void poll();
    QMessageBox::StandardButton answer_;
    QTimer timer_;
    std::vector<Seen> seen_;
};

// Handles events until done says so; fails naming what it waited for after the deadline.
bool waitUntil(const std::function<bool()>& done, const char* what, int milliseconds = 20000);

// A game on the real main window, started without the new-game dialog; state is the game's.
class TestGame {
  public:
    explicit TestGame(GameState& state) : app_(state) { app_.startGame(); }
    MainWindow& window() { return *app_.window(); }
    Application& app() { return app_; }
    const TurnFlow& turnFlow() { return *app_.shell().turnFlow(); }

  private:
    Application app_;
};

}  // namespace quintaro::testing
