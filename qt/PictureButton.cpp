#include "qt/PictureButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFocusRect>

#include "shell/Layout.h"

namespace quintaro {

PictureButton::PictureButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void PictureButton::setPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

int PictureButton::pictureInset() const {
    // Only the plain "Windows" style draws the flat two-pixel bevel of unthemed controls;
    // every other style (Fusion included) draws a themed, rounded button.
    return style()->name().compare(QLatin1String("windows"), Qt::CaseInsensitive) == 0
               ? newGameLayout.pictureInset
               : newGameLayout.themedPictureInset;
}

QRect PictureButton::pictureArea() const {
    const int inset = pictureInset();
    return rect().adjusted(inset, inset, -inset, -inset);
}

QSize PictureButton::sizeHint() const {
    const int inset = 2 * pictureInset();
    if (picture_.isNull()) {
        return QSize(inset + 16, inset + 16);
    }
    return picture_.size() + QSize(inset, inset);
}

void PictureButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);

    QStyleOptionButton option;
    option.initFrom(this);
    option.features = QStyleOptionButton::None;
    option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
    if (isChecked()) {
        option.state |= QStyle::State_On;
    }
    style()->drawControl(QStyle::CE_PushButtonBevel, &option, &painter, this);

    const QRect area = pictureArea();
    if (!picture_.isNull() && area.isValid()) {
        // Centred on the whole button, one pixel right and down while held, never scaled.
        QPoint topLeft((width() - picture_.width()) / 2, (height() - picture_.height()) / 2);
        if (isDown()) {
            topLeft += QPoint(1, 1);
        }
        painter.save();
        painter.setClipRect(area);
        painter.drawImage(topLeft, picture_);
        painter.restore();
    }

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        // Just inside the edge: around the picture area of a themed button, over the rim of
        // the picture on a classic one.
        focus.rect = rect().adjusted(3, 3, -3, -3);
        focus.backgroundColor = palette().color(QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

}  // namespace quintaro
