#include "qt/OptionsDialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QWindow>
#include <algorithm>
#include <functional>

#include "qt/UiText.h"

namespace quintaro {

namespace {

// A right-aligned number field with a pair of up/down arrows beside it. The arrows and the
// Up and Down keys step the value within 0 to 5; text typed into the field is read with the
// lenient number rules and kept within the same range. Every change is reported, and the
// dialog then writes the value back into the field.
class SecondsControl : public QWidget {
  public:
    explicit SecondsControl(QWidget* parent) : QWidget(parent) {
        field_ = new QLineEdit(this);
        field_->setObjectName(QStringLiteral("secondsField"));
        field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field_->setFrame(true);
        // The field and the arrows sit where the table puts them, relative to the control.
        const OptionsLayout& layout = optionsLayout;
        field_->setGeometry(toQRect(layout.secondsField)
                                .translated(-layout.secondsControl.x, -layout.secondsControl.y));
        field_->installEventFilter(this);
        QObject::connect(field_, &QLineEdit::textEdited, this,
                         [this](const QString& text) { value_ = typedSeconds(toStdString(text)); });
        // Once typing is over the field shows what will be stored.
        QObject::connect(field_, &QLineEdit::editingFinished, this, [this] { changed(); });

        // The pair of arrows shares its rectangle: the upper half steps up, the lower down.
        QRect arrows = toQRect(layout.secondsArrows)
                           .translated(-layout.secondsControl.x, -layout.secondsControl.y);
        QRect upper = arrows;
        upper.setHeight(arrows.height() / 2);
        up_ = makeArrow("secondsUp", Qt::UpArrow, upper, +1);
        down_ = makeArrow(
            "secondsDown", Qt::DownArrow,
            QRect(arrows.x(), upper.bottom() + 1, arrows.width(), arrows.height() - upper.height()),
            -1);
    }

    // Called after every change; the dialog rewrites the field from here.
    std::function<void()> onChange;

    int value() const { return value_; }
    void setValue(int seconds) { value_ = clampSeconds(seconds); }
    QLineEdit* field() const { return field_; }

    void step(int delta) {
        value_ = stepSeconds(value_, delta);
        changed();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == field_ && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                step(key == Qt::Key_Up ? +1 : -1);
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

  private:
    QToolButton* makeArrow(const char* name, Qt::ArrowType arrow, QRect where, int delta) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(where);
        QObject::connect(button, &QToolButton::clicked, this, [this, delta] { step(delta); });
        return button;
    }

    void changed() {
        if (onChange) {
            onChange();
        }
    }

    QLineEdit* field_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int value_ = 0;
};

class OptionsWindow : public QWidget {
  public:
    enum class Outcome { Open, Apply, Cancel };

    OptionsWindow() : QWidget(nullptr, closeBoxOnly) {}

    Outcome outcome = Outcome::Open;
    ModalLoop loop;

    void finish(Outcome how) {
        if (outcome != Outcome::Open) {
            return;
        }
        outcome = how;
        loop.wake();
    }

  protected:
    void closeEvent(QCloseEvent* event) override {
        // The close box is the same as Cancel.
        finish(Outcome::Cancel);
        event->accept();
    }
    void keyPressEvent(QKeyEvent* event) override {
        // Escape is Cancel, from whichever control has the focus, as in a system dialog.
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            finish(Outcome::Cancel);
            event->accept();
            return;
        }
        QWidget::keyPressEvent(event);
    }
};

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QRect where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& text, QRect where) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    button->setGeometry(where);
    return button;
}

}  // namespace

bool runOptionsDialog(QWidget* mainWindow, const OptionsTexts& texts, int shownSeconds,
                      OptionsChoice& choice) {
    DisabledWhile mainWindowOff(mainWindow);

    OptionsWindow window;
    window.setObjectName(QStringLiteral("optionsDialog"));
    window.setWindowTitle(QStringLiteral("Options"));
    window.setFont(guiFont());
    window.setBackgroundRole(QPalette::Button);
    window.setAutoFillBackground(true);
    const OptionsLayout& layout = optionsLayout;
    window.setFixedSize(toQSize(layout.client));
    centreOnScreen(&window);

    addLabel(&window, "cpuHandLabel", toQString(texts.showComputerHand), toQRect(layout.handLabel));

    auto* seconds = new SecondsControl(&window);
    seconds->setObjectName(QStringLiteral("secondsControl"));
    seconds->setGeometry(toQRect(layout.secondsControl));
    // A hand-edited delay beyond the range still shows its own number until the first change.
    seconds->setValue(choice.seconds);
    seconds->field()->setText(QString::number(shownSeconds));
    seconds->onChange = [seconds] { seconds->field()->setText(QString::number(seconds->value())); };

    addLabel(&window, "secLabel", toQString(texts.seconds), toQRect(layout.secondsLabel));
    auto* stronger = new QCheckBox(toQString(texts.stronger), &window);
    stronger->setObjectName(QStringLiteral("strongerBox"));
    stronger->setGeometry(toQRect(layout.strongerBox));
    stronger->setChecked(choice.stronger);
    QPushButton* apply =
        addButton(&window, "applyButton", toQString(texts.apply), toQRect(layout.applyButton));
    QPushButton* cancel =
        addButton(&window, "cancelButton", toQString(texts.cancel), toQRect(layout.cancelButton));

    QObject::connect(apply, &QPushButton::clicked, &window,
                     [&window] { window.finish(OptionsWindow::Outcome::Apply); });
    QObject::connect(cancel, &QPushButton::clicked, &window,
                     [&window] { window.finish(OptionsWindow::Outcome::Cancel); });

    // The dialog stays in front of the main window it belongs to. Being modal, it also keeps
    // the window manager's close command away from the main window, which is off meanwhile.
    window.setWindowModality(Qt::ApplicationModal);
    window.winId();
    if (mainWindow != nullptr && mainWindow->window()->windowHandle() != nullptr) {
        window.windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
    }

    window.show();
    window.activateWindow();
    // A program that is quitting takes it as Cancel.
    while (window.outcome == OptionsWindow::Outcome::Open && window.loop.run()) {
    }
    window.hide();
    if (window.outcome != OptionsWindow::Outcome::Apply) {
        return false;
    }
    choice.seconds = seconds->value();
    choice.stronger = stronger->isChecked();
    return true;
}

}  // namespace quintaro
