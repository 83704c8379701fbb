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
    SecondsControl(QWidget* parent, DialogEvents& events) : QWidget(parent), events_(events) {
        field_ = new QLineEdit(this);
        field_->setObjectName(QStringLiteral("secondsField"));
        field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        field_->setFrame(true);
        // The field and the arrows sit where the table puts them, relative to the control.
        const OptionsLayout& layout = optionsLayout;
        field_->setGeometry(toQRect(layout.secondsField)
                                .translated(-layout.secondsControl.x, -layout.secondsControl.y));
        field_->installEventFilter(this);
        QObject::connect(field_, &QLineEdit::textEdited, this, [this](const QString& text) {
            events_.optionsEdited(OptionsEdit::typed(toStdString(text)));
        });
        QObject::connect(field_, &QLineEdit::editingFinished, this, [this] {
            events_.optionsEdited(OptionsEdit::plain(OptionsEditKind::FieldLeft));
        });

        // The pair of arrows shares its rectangle: the upper half steps up, the lower down.
        QRect arrows = toQRect(layout.secondsArrows)
                           .translated(-layout.secondsControl.x, -layout.secondsControl.y);
        QRect upper = arrows;
        upper.setHeight(arrows.height() / 2);
        makeArrow("secondsUp", Qt::UpArrow, upper, +1);
        makeArrow(
            "secondsDown", Qt::DownArrow,
            QRect(arrows.x(), upper.bottom() + 1, arrows.width(), arrows.height() - upper.height()),
            -1);
    }

    QLineEdit* field() const { return field_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == field_ && event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                events_.optionsEdited(OptionsEdit::stepped(key == Qt::Key_Up ? +1 : -1));
                return true;
            }
        }
        return QWidget::eventFilter(watched, event);
    }

  private:
    void makeArrow(const char* name, Qt::ArrowType arrow, QRect where, int delta) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setGeometry(where);
        QObject::connect(button, &QToolButton::clicked, this,
                         [this, delta] { events_.optionsEdited(OptionsEdit::stepped(delta)); });
    }

    DialogEvents& events_;
    QLineEdit* field_ = nullptr;
};

// Cancel: the close box, and Escape from whichever control has the focus, as in a system
// dialog.
class OptionsWindow : public QWidget {
  public:
    explicit OptionsWindow(DialogEvents& events) : QWidget(nullptr, closeBoxOnly), events_(events) {}
    bool closing = false;

  protected:
    void closeEvent(QCloseEvent* event) override {
        if (!closing) {
            event->ignore();
            events_.optionsEdited(OptionsEdit::plain(OptionsEditKind::Cancel));
            return;
        }
        event->accept();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            event->accept();
            events_.optionsEdited(OptionsEdit::plain(OptionsEditKind::Cancel));
            return;
        }
        QWidget::keyPressEvent(event);
    }

  private:
    DialogEvents& events_;
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

OptionsDialog::OptionsDialog(QWidget* mainWindow, const OptionsTexts& texts,
                             DialogEvents& events)
    : mainWindow_(mainWindow) {
    auto* window = new OptionsWindow(events);
    window_.reset(window);
    window->setObjectName(QStringLiteral("optionsDialog"));
    window->setWindowTitle(QStringLiteral("Options"));
    window->setFont(guiFont());
    window->setBackgroundRole(QPalette::Button);
    window->setAutoFillBackground(true);
    const OptionsLayout& layout = optionsLayout;
    window->setFixedSize(toQSize(layout.client));
    centreOnScreen(window);

    addLabel(window, "cpuHandLabel", toQString(texts.showComputerHand), toQRect(layout.handLabel));
    auto* seconds = new SecondsControl(window, events);
    seconds->setObjectName(QStringLiteral("secondsControl"));
    seconds->setGeometry(toQRect(layout.secondsControl));
    field_ = seconds->field();
    addLabel(window, "secLabel", toQString(texts.seconds), toQRect(layout.secondsLabel));
    stronger_ = new QCheckBox(toQString(texts.stronger), window);
    stronger_->setObjectName(QStringLiteral("strongerBox"));
    stronger_->setGeometry(toQRect(layout.strongerBox));
    QObject::connect(stronger_, &QCheckBox::clicked, window, [&events](bool on) {
        events.optionsEdited(OptionsEdit::strongerBox(on));
    });
    QPushButton* apply =
        addButton(window, "applyButton", toQString(texts.apply), toQRect(layout.applyButton));
    QPushButton* cancel =
        addButton(window, "cancelButton", toQString(texts.cancel), toQRect(layout.cancelButton));
    QObject::connect(apply, &QPushButton::clicked, window, [&events] {
        events.optionsEdited(OptionsEdit::plain(OptionsEditKind::Apply));
    });
    QObject::connect(cancel, &QPushButton::clicked, window, [&events] {
        events.optionsEdited(OptionsEdit::plain(OptionsEditKind::Cancel));
    });

    // The dialog stays in front of the main window it belongs to, which is off meanwhile.
    // Being modal, it also keeps the window manager's close command away from the main window.
    window->setWindowModality(Qt::ApplicationModal);
    window->winId();
    if (mainWindow != nullptr && mainWindow->window()->windowHandle() != nullptr) {
        window->windowHandle()->setTransientParent(mainWindow->window()->windowHandle());
    }
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(false);
    }
}

OptionsDialog::~OptionsDialog() {
    close();
}

void OptionsDialog::show(const OptionsView& view) {
    // The field is written only where it differs, so typing keeps its caret.
    if (field_->text() != toQString(view.secondsText)) {
        field_->setText(toQString(view.secondsText));
    }
    stronger_->setChecked(view.stronger);
    if (!window_->isVisible()) {
        window_->show();
        window_->activateWindow();
    }
}

void OptionsDialog::close() {
    if (!window_) {
        return;
    }
    static_cast<OptionsWindow*>(window_.get())->closing = true;
    window_->hide();
    window_.release()->deleteLater();
    if (mainWindow_ != nullptr) {
        mainWindow_->setEnabled(true);
    }
}

QWidget* OptionsDialog::window() const {
    return window_.get();
}

}  // namespace quintaro
