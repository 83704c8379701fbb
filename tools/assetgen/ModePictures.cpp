// Generates assets/pvp_0.jpg and assets/pvc_0.jpg, the two picture buttons of the new-game
// dialog (181 x 36 pixels each): people playing each other across a table with dice, and a
// person playing a computer. No words, so nothing needs translating.
//
// Drawn with QPainter from paths only (no fonts), written through libjpeg with fixed
// settings, so the files are reproduced byte for byte.
//
// Run:
//   cmake --build <build> --target quintaro_mode_pictures
//   <build>/tools/assetgen/quintaro_mode_pictures <repository>/assets
// or build the target quintaro_regenerate_assets, which runs all three generators.
// The argument is the folder to write the pictures into (default: the current folder);
// a second argument "--preview" also writes enlarged PNG copies for looking at.

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRadialGradient>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/assetgen/Drawing.h"
#include "tools/assetgen/JpegWriter.h"

namespace quintaro {
namespace {

constexpr int kWidth = 181;
constexpr int kHeight = 36;
constexpr int kQuality = 92;

const QColor kBlue(0x2F, 0x6D, 0xB5);
const QColor kOrange(0xD9, 0x6B, 0x22);
const QColor kGreen(0x3A, 0x93, 0x4A);

void drawBackground(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0.0, QColor(0xF8, 0xFA, 0xFC));
    sky.setColorAt(1.0, QColor(0xE6, 0xEA, 0xEF));
    painter.fillRect(QRectF(0, 0, kWidth, kHeight), sky);
}

// The table the dice lie on: a low green oval at the bottom, in the middle.
void drawTable(QPainter& painter, double centreX) {
    QRadialGradient felt(QPointF(centreX, 32), 40);
    felt.setColorAt(0.0, QColor(0xB9, 0xDB, 0xB8));
    felt.setColorAt(1.0, QColor(0x9C, 0xC8, 0x9B));
    painter.setPen(QPen(QColor(0x6F, 0x9E, 0x6E), 1.0));
    painter.setBrush(felt);
    painter.drawEllipse(QPointF(centreX, 35.5), 34.0, 8.5);
}

// A person seen as head and shoulders, leaning slightly towards `facing` (+1 right,
// -1 left), one arm reaching forward.
void drawPerson(QPainter& painter, double x, double scale, int facing, const QColor& colour) {
    painter.save();
    painter.translate(x, 0);
    painter.scale(scale, scale);
    const QColor dark = colour.darker(125);

    // Shoulders and body, cut by the bottom edge.
    QPainterPath body;
    body.moveTo(-11, 40);
    body.lineTo(-11, 27);
    body.cubicTo(-11, 19.5, -6, 17, 0, 17);
    body.cubicTo(6, 17, 11, 19.5, 11, 27);
    body.lineTo(11, 40);
    body.closeSubpath();
    painter.setPen(QPen(dark, 1.0));
    painter.setBrush(colour);
    painter.drawPath(body);

    // The forward arm, resting towards the table.
    painter.setPen(QPen(dark, 5.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath arm;
    arm.moveTo(facing * 6.5, 22.5);
    arm.quadTo(facing * 13.0, 24.5, facing * 17.0, 30.0);
    painter.drawPath(arm);
    painter.setPen(QPen(colour, 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(arm);

    // Head, a little forward of the shoulders.
    QRadialGradient shade(QPointF(facing * 1.2 - 1.5, 6.5), 7.5);
    shade.setColorAt(0.0, colour.lighter(135));
    shade.setColorAt(1.0, colour);
    painter.setPen(QPen(dark, 1.0));
    painter.setBrush(shade);
    painter.drawEllipse(QPointF(facing * 1.2, 9.5), 6.2, 6.4);
    painter.restore();
}

// A monitor whose screen shows a simple robot face, on a small stand.
void drawComputer(QPainter& painter, double x) {
    painter.save();
    painter.translate(x, 0);
    const QColor bezel(0x3B, 0x43, 0x4F);

    // Stand and foot.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x5A, 0x63, 0x70));
    QPainterPath neck;
    neck.moveTo(-3.5, 26);
    neck.lineTo(3.5, 26);
    neck.lineTo(5, 31.5);
    neck.lineTo(-5, 31.5);
    neck.closeSubpath();
    painter.drawPath(neck);
    painter.setBrush(bezel);
    painter.drawRoundedRect(QRectF(-11, 31, 22, 3.2), 1.5, 1.5);

    // Casing and screen.
    painter.setPen(QPen(QColor(0x22, 0x28, 0x30), 1.0));
    painter.setBrush(bezel);
    painter.drawRoundedRect(QRectF(-18, 2.5, 36, 25), 3, 3);
    QLinearGradient glass(0, 5, 0, 25);
    glass.setColorAt(0.0, QColor(0x8C, 0xCB, 0xF5));
    glass.setColorAt(1.0, QColor(0x3D, 0x8F, 0xD6));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glass);
    painter.drawRoundedRect(QRectF(-15, 5, 30, 19.5), 1.5, 1.5);

    // The face: two eyes and a straight mouth, turned towards the player on the left.
    painter.setBrush(QColor(0xFF, 0xFF, 0xFF));
    painter.drawRoundedRect(QRectF(-9.5, 9, 5.5, 5.5), 1.2, 1.2);
    painter.drawRoundedRect(QRectF(1.0, 9, 5.5, 5.5), 1.2, 1.2);
    painter.setBrush(QColor(0x1E, 0x3A, 0x5C));
    painter.drawRect(QRectF(-9.0, 11.0, 2.6, 2.6));
    painter.drawRect(QRectF(1.5, 11.0, 2.6, 2.6));
    painter.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 1.6, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(-7.5, 19.5), QPointF(4.5, 19.5));
    painter.restore();
}

void drawDicePair(QPainter& painter, double centreX) {
    DieStyle style;
    drawDie(painter, QPointF(centreX - 8.5, 24.5), 13.0, -12.0, 'A', style);
    style.label = QColor(0x22, 0x26, 0x2C);
    drawDie(painter, QPointF(centreX + 8.5, 25.5), 13.0, 9.0, 'K', style);
}

QImage newCanvas() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(QColor(0xF0, 0xF0, 0xF0));
    return image;
}

QImage peopleAgainstPeople() {
    QImage image = newCanvas();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBackground(painter);
    drawTable(painter, 90.5);
    // One player on the left, two on the right: two to four people at one screen.
    drawPerson(painter, 160.0, 0.82, -1, kGreen);
    drawPerson(painter, 31.0, 1.0, +1, kBlue);
    drawPerson(painter, 146.0, 1.0, -1, kOrange);
    drawDicePair(painter, 90.5);
    painter.end();
    return image;
}

QImage personAgainstComputer() {
    QImage image = newCanvas();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBackground(painter);
    drawTable(painter, 90.5);
    drawPerson(painter, 31.0, 1.0, +1, kBlue);
    drawComputer(painter, 149.0);
    drawDicePair(painter, 90.5);
    painter.end();
    return image;
}

bool save(const QImage& image, const std::string& folder, const std::string& name, bool preview) {
    const std::string path = folder + "/" + name + ".jpg";
    if (!writeJpeg(image, path, kQuality)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    std::printf("%s: %d x %d\n", path.c_str(), image.width(), image.height());
    if (preview) {
        const QString big = QString::fromStdString(folder + "/" + name + "_preview.png");
        image.scaled(image.size() * 6, Qt::IgnoreAspectRatio, Qt::FastTransformation).save(big);
    }
    return true;
}

}  // namespace
}  // namespace quintaro

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const bool preview = argc > 2 && std::strcmp(argv[2], "--preview") == 0;
    const bool ok = quintaro::save(quintaro::peopleAgainstPeople(), folder, "pvp_0", preview) &&
                    quintaro::save(quintaro::personAgainstComputer(), folder, "pvc_0", preview);
    return ok ? 0 : 1;
}
