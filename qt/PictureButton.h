#pragma once
// A push button that shows a picture instead of a text.

#include <QAbstractButton>
#include <QImage>

namespace quintaro {

class PictureButton : public QAbstractButton {
    Q_OBJECT
  public:
    explicit PictureButton(QWidget* parent = nullptr);

    // The picture is shown at its own size, centred and cut to the inner area; a null image
    // leaves the button empty, and it works the same.
    void setPicture(const QImage& picture);
    const QImage& picture() const { return picture_; }

    // How far the picture stays inside the button's edge: 2 pixels for the classic bevelled
    // look, 4 for a themed style, whose rounded frame and padding take more room.
    int pictureInset() const;
    // The part of the button the picture may cover.
    QRect pictureArea() const;

    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage picture_;
};

}  // namespace quintaro
