#include "qt/InputBox.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "qt/UiText.h"

namespace quintaro {

QString inputBox(const QString& title, const QString& prompt, const QString& defaultText) {
    // The box belongs to the window in front, which it keeps from taking input meanwhile.
    QDialog box(QApplication::activeWindow(),
                Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    box.setObjectName(QStringLiteral("inputBox"));
    box.setWindowTitle(title);
    box.setWindowModality(Qt::ApplicationModal);
    box.setFont(guiFont());
    const InputBoxLayout& layout = inputBoxLayout;
    box.setFixedSize(toQSize(layout.client));

    auto* promptLabel = new QLabel(prompt, &box);
    promptLabel->setObjectName(QStringLiteral("prompt"));
    promptLabel->setWordWrap(false);
    promptLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    promptLabel->setTextFormat(Qt::PlainText);
    promptLabel->setGeometry(toQRect(layout.prompt));

    auto* field = new QLineEdit(&box);
    field->setObjectName(QStringLiteral("text"));
    field->setFrame(true);
    field->setGeometry(toQRect(layout.field));
    field->setText(defaultText);

    auto* ok = new QPushButton(QStringLiteral("OK"), &box);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setGeometry(toQRect(layout.okButton));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &box, &QDialog::accept);

    // The whole window, frame included, sits with its top-left corner left of and above the
    // middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        box.move(area.x() + area.width() / 2 - layout.leftOfCentre,
                 area.y() + area.height() / 2 - layout.aboveCentre);
    }
    field->setFocus(Qt::OtherFocusReason);

    // Showing a dialog hands the focus over as if by Tab, which would select the whole text;
    // the caret belongs after the last character instead.
    QEventLoop loop;
    QObject::connect(&box, &QDialog::finished, &loop, &QEventLoop::quit);
    box.show();
    field->end(false);
    if (box.isVisible()) {
        loop.exec(QEventLoop::DialogExec);
    }

    // Escape and the close command both reject, which answers with an empty text.
    if (box.result() != QDialog::Accepted) {
        return QString();
    }
    return field->text();
}

}  // namespace quintaro
