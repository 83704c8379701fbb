#pragma once
// The Qt edge of the core: UTF-8 std::string <-> QString, and the game's two fonts.

#include <QEventLoop>
#include <QFont>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>

#include "shell/Layout.h"

namespace quintaro {

inline QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}
inline std::string toStdString(const QString& text) {
    return text.toStdString();
}

// A rectangle of the layout table; Qt scales it by the screen's device pixel ratio itself.
inline QRect toQRect(const LayoutRect& rect) {
    return QRect(rect.x, rect.y, rect.width, rect.height);
}
inline QSize toQSize(const LayoutSize& size) {
    return QSize(size.width, size.height);
}

// The system's default GUI font: the small sans-serif font of dialogs, labels, the roll
// button and the score card.
QFont guiFont();
// "Arial" at 16 points: the dice and the hand label.
QFont diceFont();

// A title bar with the system menu and the close box, and no minimise or maximise box: the
// game's main window and its own dialogs.
inline constexpr Qt::WindowFlags closeBoxOnly = Qt::Window | Qt::CustomizeWindowHint |
                                                Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                                                Qt::WindowCloseButtonHint;

// Moves a top-level window so that its middle is the middle of the screen.
void centreOnScreen(QWidget* window);

// The wait of a modal window of our own: runs a nested event loop until wake() is called.
class ModalLoop {
  public:
    // Returns false when the loop ended because the whole program is quitting.
    bool run();
    void wake();

  private:
    QEventLoop* loop_ = nullptr;
};

// Keeps a window disabled while a dialog runs, and enables it again whichever way the dialog
// ends, also when the window has gone meanwhile.
class DisabledWhile {
  public:
    explicit DisabledWhile(QWidget* window) : window_(window) {
        if (window_ != nullptr) {
            window_->setEnabled(false);
        }
    }
    ~DisabledWhile() {
        if (window_ != nullptr) {
            window_->setEnabled(true);
        }
    }
    DisabledWhile(const DisabledWhile&) = delete;
    DisabledWhile& operator=(const DisabledWhile&) = delete;

  private:
    QPointer<QWidget> window_;
};

}  // namespace quintaro

namespace quintaro {

// Makes Qt's own texts (the Yes, No and OK buttons of message boxes, the line editor's
// context menu) follow the game's language, given by its two-letter code. English, or a
// language Qt has no translation for, leaves Qt's English texts.
void useToolkitLanguage(std::string_view languageCode);

}  // namespace quintaro
