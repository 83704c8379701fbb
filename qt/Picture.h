#pragma once
// The new-game dialog's pictures: "BM" files through Qt's BMP reader, then icon files
// through Qt's ICO reader, otherwise JPEG through libjpeg. A file none of them accepts
// leaves no picture under that number.

#include <QImage>
#include <string>

#include "media/Pictures.h"

namespace quintaro {

void loadPicture(int number, const std::string& fileName);
// The picture's bitmap, or a null image when picture `number` is not loaded.
QImage pictureBitmap(int number);
// Forgets every loaded picture (when the new-game dialog goes, and at shutdown).
void freePictures();

// Decodes a whole file's bytes the same way loadPicture does; a null image when refused.
QImage decodePicture(const QByteArray& bytes);

}  // namespace quintaro
