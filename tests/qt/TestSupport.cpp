#include "tests/qt/TestSupport.h"

#include <QApplication>
#include <QPushButton>

namespace quintaro::testing {

MessageBoxWatcher::MessageBoxWatcher(QMessageBox::StandardButton answer) : answer_(answer) {
    connect(&timer_, &QTimer::timeout, this, &MessageBoxWatcher::poll);
    timer_.start(5);
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
