#pragma once
// JPEG pictures through libjpeg, into 24-bit bitmaps with rows from top to bottom.

#include <QImage>
#include <cstddef>

namespace quintaro {

// Decodes a whole JPEG file's bytes into a QImage::Format_RGB888 image. Grayscale pictures
// become 24-bit; CMYK and YCCK ones are converted to RGB. A null image when libjpeg reports
// an error or a sign of corrupt data (a truncated file, for one), or when the picture is
// larger than maxPictureSide / maxPicturePixels.
QImage decodeJpeg(const unsigned char* data, std::size_t size);

}  // namespace quintaro
