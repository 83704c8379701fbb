#include "tests/qt/TestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QPushButton>

namespace quintaro::testing {

MessageBoxWatcher::MessageBoxWatcher(QMessageBox::StandardButton answer) : answer_(answer) {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxWatcher::poll);
    timer_.start(5);
}

const std::vector<MessageBoxWatcher::Seen>& MessageBoxWatcher::seen() {
    // Boxes are not waited for by the code that opens them: answer what is open now.
    QDeadlineTimer deadline(10000);
    for (;;) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || deadline.hasExpired()) {
            break;
        }
        poll();
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    return seen_;
}

bool waitUntil(const std::function<bool()>& done, const char* what, int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "timed out after " << milliseconds << " ms waiting for " << what;
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

void MessageBoxWatcher::poll() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) {
        return;
    }
    seen_.push_back({box->windowTitle(), box->text()});
    if (QAbstractButton* button = box->button(answer_)) {
        button->click();
    } else {
        box->reject();
    }
}

}  // namespace quintaro::testing
