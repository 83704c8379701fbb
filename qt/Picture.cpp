#include "qt/Picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QSize>
#include <QtGlobal>

#include <cstdint>
#include <map>
#include <optional>

#include "media/FileBytes.h"
#include "qt/JpegDecoder.h"

namespace quintaro {

namespace {

std::map<int, QImage>& pictures() {
    static std::map<int, QImage> table;
    return table;
}

bool withinLimits(QSize size) {
    return pictureSizeAllowed(size.width(), size.height());
}

std::uint32_t readBigEndian32(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<std::uint32_t>(uchar(bytes[at + i])); };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

std::uint32_t readLittleEndian32(const QByteArray& bytes, qsizetype at) {
    const auto byte = [&](qsizetype i) { return static_cast<std::uint32_t>(uchar(bytes[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

// The icon directory gives at most 256 x 256, but an entry may hold a PNG of any size, which
// Qt decodes whole. Its own header is checked here, before anything is read.
bool embeddedPngWithinLimits(const QByteArray& bytes) {
    constexpr qsizetype firstEntry = 6;
    constexpr qsizetype offsetField = firstEntry + 12;
    static constexpr char pngSignature[] = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < offsetField + 4) {
        return true;  // too short to be read at all
    }
    const std::uint32_t offset = readLittleEndian32(bytes, offsetField);
    if (offset > static_cast<std::uint64_t>(bytes.size()) ||
        !QByteArrayView(bytes).sliced(offset).startsWith(QByteArrayView(pngSignature, 8))) {
        return true;
    }
    // Signature (8), IHDR length (4) and type (4), then width and height.
    if (static_cast<std::uint64_t>(offset) + 24 > static_cast<std::uint64_t>(bytes.size())) {
        return false;
    }
    const std::uint32_t width = readBigEndian32(bytes, offset + 16);
    const std::uint32_t height = readBigEndian32(bytes, offset + 20);
    return width <= static_cast<std::uint32_t>(maxPictureSide) &&
           height <= static_cast<std::uint32_t>(maxPictureSide) &&
           static_cast<long long>(width) * height <= maxPicturePixels;
}

// Qt's readers describe what is wrong with a corrupt file as warnings; a picture that
// cannot be read simply stays away, so they are dropped while one is read. (libpng, behind
// icons that hold a PNG, prints its own errors and cannot be quietened from here.)
class QuietQtMessages {
  public:
    QuietQtMessages() : previous_(qInstallMessageHandler(discard)) {}
    ~QuietQtMessages() { qInstallMessageHandler(previous_); }
    QuietQtMessages(const QuietQtMessages&) = delete;
    QuietQtMessages& operator=(const QuietQtMessages&) = delete;

  private:
    static void discard(QtMsgType, const QMessageLogContext&, const QString&) {}
    QtMessageHandler previous_;
};

// Reads through Qt's reader for `format` only (no guessing from the content), refusing a
// picture whose header claims more than the limits before its pixels are read.
QImage readWithQt(const QByteArray& bytes, const char* format) {
    const QuietQtMessages quiet;
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead() || !withinLimits(reader.size())) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull() || !withinLimits(image.size())) {
        return {};
    }
    return image;
}

}  // namespace

QImage decodePicture(const QByteArray& bytes) {
    if (bytes.startsWith("BM")) {
        return readWithQt(bytes, "bmp");
    }
    if (embeddedPngWithinLimits(bytes)) {
        QImage icon = readWithQt(bytes, "ico");
        if (!icon.isNull()) {
            return icon;
        }
    }
    return decodeJpeg(reinterpret_cast<const unsigned char*>(bytes.constData()),
                      static_cast<std::size_t>(bytes.size()));
}

void loadPicture(int number, const std::string& fileName) {
    pictures().erase(number);
    const auto bytes = readRegularFile(fileName, maxPictureFileBytes);
    if (!bytes) {
        return;
    }
    QImage image = decodePicture(QByteArray::fromRawData(bytes->data(), qsizetype(bytes->size())));
    if (!image.isNull()) {
        pictures()[number] = std::move(image);
    }
}

QImage pictureBitmap(int number) {
    const auto& table = pictures();
    const auto found = table.find(number);
    return found == table.end() ? QImage() : found->second;
}

void freePictures() {
    pictures().clear();
}

}  // namespace quintaro
