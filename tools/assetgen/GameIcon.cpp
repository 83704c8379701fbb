// Generates the program's icon: assets/quintaro.ico (one 32 x 32 image in 16 colours,
// 4 bits per pixel with an AND mask, the standard Windows palette) and assets/quintaro.png
// (32 x 32, full colour with alpha, the window icon on Linux and the desktop icon), and
// assets/quintaro-128.png, the same picture drawn at 128 x 128 for software centres and large
// desktop icons.
// The picture: a white die showing "A" in front of a red die showing "K".
//
// Drawn with QPainter from paths only (no fonts); the ICO bytes are written here, so both
// files are reproduced byte for byte.
//
// Run:
//   cmake --build <build> --target quintaro_game_icon
//   <build>/tools/assetgen/quintaro_game_icon <repository>/assets
// or build the target quintaro_regenerate_assets, which runs all three generators.
// The argument is the folder to write the icon files into (default: the current folder);
// a second argument "--preview" also writes enlarged PNG copies for looking at.

#include <QImage>
#include <QPainter>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "tools/assetgen/Drawing.h"

namespace quintaro {
namespace {

constexpr int kSize = 32;
constexpr int kLargeSize = 128;

// The 16 colours of the standard Windows palette, in their usual order.
constexpr std::array<QRgb, 16> kPalette = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The two dice, laid out on a 32 x 32 grid and drawn at `size` pixels; `smooth` selects
// antialiasing (the PNGs) or hard edges (the 16-colour ICO, where blended edge colours would
// only turn into speckles).
QImage drawIcon(bool smooth, int size = kSize) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, smooth);
    painter.scale(double(size) / kSize, double(size) / kSize);

    DieStyle back;
    back.face = QColor(0xFF, 0x00, 0x00);
    back.edge = QColor(0x80, 0x00, 0x00);
    back.label = QColor(0xFF, 0xFF, 0xFF);
    back.labelWidth = 2.0;
    back.labelSize = 0.5;
    back.labelShift = QPointF(1.5, -0.5);  // clear of the front die
    back.shadow = false;
    // Edges on half pixels, so the 1-pixel outlines stay sharp.
    drawDie(painter, QPointF(23.0, 9.0), 17.0, 0.0, 'K', back);

    DieStyle front;
    front.face = QColor(0xFF, 0xFF, 0xFF);
    front.edge = QColor(0x00, 0x00, 0x00);
    front.label = QColor(0xFF, 0x00, 0x00);
    front.labelWidth = 2.6;
    front.labelSize = 0.56;
    front.shadow = smooth;
    drawDie(painter, QPointF(10.5, 21.5), 20.0, 0.0, 'A', front);
    painter.end();
    return image;
}

int nearestPaletteIndex(QRgb colour) {
    int best = 0;
    int bestDistance = 1 << 30;
    for (int i = 0; i < int(kPalette.size()); ++i) {
        const int dr = qRed(colour) - qRed(kPalette[std::size_t(i)]);
        const int dg = qGreen(colour) - qGreen(kPalette[std::size_t(i)]);
        const int db = qBlue(colour) - qBlue(kPalette[std::size_t(i)]);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = i;
        }
    }
    return best;
}

void putLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(char((value >> (8 * i)) & 0xFF));
    }
}

// One 32 x 32 4-bit image with its AND mask. Transparent pixels are black in the colour
// bitmap and set in the mask, so they show the background.
std::string icoFile(const QImage& image) {
    const int xorRow = kSize / 2;                // 4 bits per pixel, already a multiple of 4
    const int andRow = ((kSize + 31) / 32) * 4;  // 1 bit per pixel, padded to 4 bytes
    const std::uint32_t headerBytes = 40 + 16 * 4;
    const std::uint32_t imageBytes = std::uint32_t(xorRow * kSize + andRow * kSize);

    std::string out;
    putLe(out, 0, 2);  // reserved
    putLe(out, 1, 2);  // icon
    putLe(out, 1, 2);  // one image
    out.push_back(char(kSize));
    out.push_back(char(kSize));
    out.push_back(char(16));  // colours
    out.push_back(char(0));
    putLe(out, 1, 2);  // planes
    putLe(out, 4, 2);  // bits per pixel
    putLe(out, headerBytes + imageBytes, 4);
    putLe(out, 6 + 16, 4);  // offset of the image

    putLe(out, 40, 4);
    putLe(out, kSize, 4);
    putLe(out, kSize * 2, 4);  // colour bitmap and mask
    putLe(out, 1, 2);
    putLe(out, 4, 2);
    putLe(out, 0, 4);  // uncompressed
    putLe(out, imageBytes, 4);
    putLe(out, 0, 4);
    putLe(out, 0, 4);
    putLe(out, 16, 4);  // colours used
    putLe(out, 0, 4);
    for (QRgb colour : kPalette) {
        out.push_back(char(qBlue(colour)));
        out.push_back(char(qGreen(colour)));
        out.push_back(char(qRed(colour)));
        out.push_back(char(0));
    }

    std::string colours;
    std::string mask;
    for (int y = kSize - 1; y >= 0; --y) {  // bottom row first
        std::string maskRow(std::size_t(andRow), '\0');
        for (int x = 0; x < kSize; x += 2) {
            int pair = 0;
            for (int k = 0; k < 2; ++k) {
                const QRgb pixel = image.pixel(x + k, y);
                int index = 0;
                if (qAlpha(pixel) < 128) {
                    maskRow[std::size_t((x + k) / 8)] |= char(0x80 >> ((x + k) % 8));
                } else {
                    index = nearestPaletteIndex(pixel);
                }
                pair = (pair << 4) | index;
            }
            colours.push_back(char(pair));
        }
        mask += maskRow;
    }
    return out + colours + mask;
}

bool writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(file);
}

}  // namespace
}  // namespace quintaro

int main(int argc, char** argv) {
    const std::string folder = argc > 1 ? argv[1] : ".";
    const bool preview = argc > 2 && std::strcmp(argv[2], "--preview") == 0;

    const QImage hard = quintaro::drawIcon(false);
    const std::string ico = folder + "/quintaro.ico";
    if (!quintaro::writeBytes(ico, quintaro::icoFile(hard))) {
        std::fprintf(stderr, "cannot write %s\n", ico.c_str());
        return 1;
    }
    const QImage smooth = quintaro::drawIcon(true);
    const std::string png = folder + "/quintaro.png";
    if (!smooth.save(QString::fromStdString(png), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", png.c_str());
        return 1;
    }
    std::printf("%s, %s: %d x %d\n", ico.c_str(), png.c_str(), quintaro::kSize, quintaro::kSize);
    const std::string large = folder + "/quintaro-128.png";
    if (!quintaro::drawIcon(true, quintaro::kLargeSize)
             .save(QString::fromStdString(large), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", large.c_str());
        return 1;
    }
    std::printf("%s: %d x %d\n", large.c_str(), quintaro::kLargeSize, quintaro::kLargeSize);
    if (preview) {
        QImage checked(quintaro::kSize * 8 * 2 + 8, quintaro::kSize * 8, QImage::Format_RGB32);
        checked.fill(QColor(0xD4, 0xD0, 0xC8));
        QPainter painter(&checked);
        painter.drawImage(QRect(0, 0, quintaro::kSize * 8, quintaro::kSize * 8),
                          QImage(QString::fromStdString(ico)));
        painter.drawImage(
            QRect(quintaro::kSize * 8 + 8, 0, quintaro::kSize * 8, quintaro::kSize * 8), smooth);
        painter.end();
        checked.save(QString::fromStdString(folder + "/quintaro_preview.png"));
    }
    return 0;
}
