#pragma once
// Writes a QImage as a baseline JPEG through libjpeg, with fixed settings (quality, no
// chroma subsampling, integer DCT), so the same image always gives the same bytes.

#include <QImage>
#include <string>

namespace quintaro {

bool writeJpeg(const QImage& image, const std::string& path, int quality);

}  // namespace quintaro
