#pragma once
// Shared helpers of the window tests: the game helpers, and a watcher that answers modal
// message boxes.

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>
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
    const std::vector<Seen>& seen() const { return seen_; }
    void setAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }

  private:
    void poll();
    QMessageBox::StandardButton answer_;
    QTimer timer_;
    std::vector<Seen> seen_;
};

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
