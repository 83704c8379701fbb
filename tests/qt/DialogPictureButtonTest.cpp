#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>
#include <memory>

#include "qt/PictureButton.h"
#include "tests/qt/DialogTestSupport.h"

namespace quintaro {
namespace {

const QColor marker(0, 0, 255);

// The smallest rectangle holding every pixel of exactly the marker colour.
QRect markerBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == marker) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

QImage solidPicture(int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(marker);
    return picture;
}

struct StyleCase {
    const char* style;
    int inset;
};

void PrintTo(const StyleCase& c, std::ostream* os) {
    *os << c.style;
}

class PictureButtonTest : public ::testing::TestWithParam<StyleCase> {
  protected:
    void SetUp() override {
        style.reset(QStyleFactory::create(GetParam().style));
        ASSERT_NE(style, nullptr) << GetParam().style;
        button.setStyle(style.get());
        button.resize(185, 40);
    }
    QImage shot() { return button.grab().toImage(); }

    std::unique_ptr<QStyle> style;
    PictureButton button;
};

TEST_P(PictureButtonTest, LargePictureIsCutToTheInnerArea) {
    const int inset = GetParam().inset;
    EXPECT_EQ(button.pictureInset(), inset);
    button.setPicture(solidPicture(400, 100));
    EXPECT_EQ(markerBounds(shot()), QRect(inset, inset, 185 - 2 * inset, 40 - 2 * inset));
}

TEST_P(PictureButtonTest, SmallPictureIsCentredAtItsOwnSize) {
    button.setPicture(solidPicture(21, 10));
    EXPECT_EQ(markerBounds(shot()), QRect(82, 15, 21, 10));
}

TEST_P(PictureButtonTest, PressedPictureMovesOneRightAndOneDown) {
    button.setPicture(solidPicture(21, 10));
    button.setDown(true);
    EXPECT_EQ(markerBounds(shot()), QRect(83, 16, 21, 10));
    button.setDown(false);
    EXPECT_EQ(markerBounds(shot()), QRect(82, 15, 21, 10));
}

TEST_P(PictureButtonTest, PressedLargePictureStaysInsideTheInnerArea) {
    const int inset = GetParam().inset;
    button.setPicture(solidPicture(400, 100));
    button.setDown(true);
    EXPECT_EQ(markerBounds(shot()), QRect(inset, inset, 185 - 2 * inset, 40 - 2 * inset));
}

TEST_P(PictureButtonTest, PictureIsNotScaled) {
    // A one-pixel checkerboard survives only when drawn pixel for pixel.
    QImage picture(40, 20, QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            picture.setPixelColor(x, y, (x + y) % 2 == 0 ? marker : QColor(255, 255, 0));
        }
    }
    button.setPicture(picture);
    const QImage image = shot();
    const QPoint origin((185 - 40) / 2, (40 - 20) / 2);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ASSERT_EQ(image.pixelColor(origin + QPoint(x, y)), picture.pixelColor(x, y))
                << x << "," << y;
        }
    }
}

TEST_P(PictureButtonTest, WithoutPictureTheButtonStillClicks) {
    button.setPicture(QImage());
    button.show();
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(markerBounds(shot()).isValid());
}

INSTANTIATE_TEST_SUITE_P(Styles, PictureButtonTest,
                         ::testing::Values(StyleCase{"Fusion", 4}, StyleCase{"Windows", 2}),
                         [](const auto& info) { return std::string(info.param.style); });

struct FocusCase {
    const char* style;
    QRect changed;  // where keyboard focus changes the button's look
};

void PrintTo(const FocusCase& c, std::ostream* os) {
    *os << c.style;
}

class PictureButtonFocusTest : public ::testing::TestWithParam<FocusCase> {};

TEST_P(PictureButtonFocusTest, KeyboardFocusDrawsARectangle) {
    std::unique_ptr<QStyle> style(QStyleFactory::create(GetParam().style));
    QWidget window;
    window.resize(300, 100);
    auto* other = new PictureButton(&window);
    other->setGeometry(10, 60, 185, 30);
    auto* button = new PictureButton(&window);
    button->setGeometry(10, 10, 185, 40);
    button->setPicture(solidPicture(400, 100));
    button->setStyle(style.get());
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    other->setFocus(Qt::OtherFocusReason);
    const QImage unfocused = button->grab().toImage();
    QTest::keyClick(other, Qt::Key_Tab);
    ASSERT_TRUE(button->hasFocus());
    const QImage focused = button->grab().toImage();

    QRect changed;
    for (int y = 0; y < focused.height(); ++y) {
        for (int x = 0; x < focused.width(); ++x) {
            if (focused.pixel(x, y) != unfocused.pixel(x, y)) {
                changed |= QRect(x, y, 1, 1);
            }
        }
    }
    EXPECT_EQ(changed, GetParam().changed);
}

// The classic style changes nothing but the dotted rectangle three pixels inside the edge;
// the themed one also lights up its frame.
INSTANTIATE_TEST_SUITE_P(Styles, PictureButtonFocusTest,
                         ::testing::Values(FocusCase{"Windows", QRect(3, 3, 179, 34)},
                                           FocusCase{"Fusion", QRect(0, 0, 185, 40)}),
                         [](const auto& info) { return std::string(info.param.style); });

}  // namespace
}  // namespace quintaro
