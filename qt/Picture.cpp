#include "qt/Picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QSize>
#include <QtGlobal>

#include <cstdint>
#include <map>
#include <optional>
#include <string_view>

#include "media/FileBytes.h"
#include "media/PictureHeader.h"
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

// Reads through Qt's reader for `format` only (no guessing from the content); the file's
// header has been measured against the limits already.
QImage readWithQt(const QByteArray& bytes, const char* format) {
    const QuietQtMessages quiet;
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) {
        return {};
    }
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    if (!reader.canRead()) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull() || !withinLimits(image.size())) {
        return {};
    }
    return image;
}

}  // namespace

// Each kind of file is measured by our own header reader before Qt or libjpeg sees it.
QImage decodePicture(const QByteArray& bytes) {
    const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (bytes.startsWith("BM")) {
        return pictureSizeAllowed(bitmapSize(view)) ? readWithQt(bytes, "bmp") : QImage();
    }
    if (looksLikeIcon(view) && pictureSizeAllowed(iconSize(view))) {
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
