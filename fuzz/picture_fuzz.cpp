// Picture decoding on arbitrary bytes (bitmap, icon and JPEG paths): it must never crash,
// hang or exceed the size limits.
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "qt/Picture.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // The icon reader is a plugin, found through the application object.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication* app = new QGuiApplication(*argc, *argv);
    static_cast<void>(app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QImage image = quintaro::decodePicture(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    if (!image.isNull() &&
        (image.width() > quintaro::maxPictureSide || image.height() > quintaro::maxPictureSide ||
         static_cast<long long>(image.width()) * image.height() > quintaro::maxPicturePixels)) {
        __builtin_trap();
    }
    return 0;
}
