#include "qt/InputBox.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "qt/UiText.h"

namespace quintaro {

QDialog* showInputBox(const QString& title, const QString& prompt, const QString& defaultText,
                      DialogEvents& events) {
    // The box belongs to the window in front, which it keeps from taking input meanwhile.
    auto* dialog = new QDialog(QApplication::activeWindow(),
                               Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QDialog& box = *dialog;
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

    // Escape and the close command both reject, which answers with an empty text.
    QObject::connect(&box, &QDialog::finished, &box, [&events, dialog, field](int result) {
        events.inputBoxAnswered(
            result == QDialog::Accepted ? InputBoxAction::Ok : InputBoxAction::Cancel,
            toStdString(field->text()));
        (void)dialog;
    });
    // Showing a dialog hands the focus over as if by Tab, which would select the whole text;
    // the caret belongs after the last character instead.
    box.open();
    field->end(false);
    return dialog;
}

}  // namespace quintaro
