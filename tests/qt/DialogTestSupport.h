#pragma once
// Shared helpers of the dialog tests: a QApplication for the whole run, a fresh current
// folder per test, and a driver that answers modal boxes from a timer while the code under
// test waits in its own event loop.

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "qt/NewGameDialog.h"
#include "state/GameState.h"
#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace quintaro::testing {

bool fileExists(const std::string& fileName);

// The new-game dialog and its questions, the way start-up runs them. Returns the dialog, still
// on screen for the main window, or nullptr when it was closed before a mode was chosen.
std::unique_ptr<NewGameDialog> runNewGame(GameState& state);
// The options dialog, the way the Options command runs it: Apply changes and saves the state.
void runOptions(QWidget* mainWindow, GameState& state);
// The text-input box, waited for: the text the shell takes from its answer.
QString inputBox(const QString& title, const QString& prompt, const QString& defaultText);

inline constexpr const char* utf8Bom = "\xEF\xBB\xBF";

// The visible window (top-level or owned) with this object name, or nullptr.
QWidget* findVisibleWindow(const QString& objectName);
// The text-input box that is open and modal right now, or nullptr.
QDialog* openInputBox();

// What one text-input box showed when it was answered.
struct AskedBox {
    QString title;
    QString prompt;
    QString defaultText;
};

// Runs a list of steps from a timer while the code under test waits in its own event loop.
// A step is polled every few milliseconds until it reports that it is done; then the next
// step is polled. If the steps do not finish in time, the driver stops following them and
// unwinds whatever is open (answering a number question with "2", escaping other boxes,
// closing the dialogs) so that the test returns and reports the failure instead of hanging.
class DialogDriver {
  public:
    using Step = std::function<bool()>;

    DialogDriver();
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    DialogDriver& then(Step step);
    // Waits for the next input box, records it, replaces its text and presses Enter.
    DialogDriver& answer(const QString& text);
    // Waits for the next input box, records it and presses Escape.
    DialogDriver& escape();
    // Waits for the next input box, records it and runs `act` on it.
    DialogDriver& onBox(std::function<void(QDialog*)> act);
    // Waits until the window named `windowName` is visible, then runs `act` on it.
    DialogDriver& onWindow(const QString& windowName, std::function<void(QWidget*)> act);
    // Waits for the window, then clicks its child button named `buttonName` with the mouse.
    DialogDriver& click(const QString& windowName, const QString& buttonName);

    // Starts polling; the code under test is called right after this.
    void start();

    bool finished() const { return next_ >= steps_.size(); }
    bool timedOut() const { return timedOut_; }
    const std::vector<AskedBox>& asked() const { return asked_; }

  private:
    void tick();
    void unwind();

    std::vector<Step> steps_;
    std::size_t next_ = 0;
    std::vector<AskedBox> asked_;
    QTimer timer_;
    std::chrono::steady_clock::time_point started_;
    bool timedOut_ = false;
};

// Replaces the text of a line edit as if typed: select all, then type.
void typeInto(QWidget* lineEdit, const QString& text);

}  // namespace quintaro::testing
