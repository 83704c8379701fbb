#pragma once
// The size a picture file gives in its own header, read by us before any decoder sees the
// file, so that both editions refuse an oversized picture before a single pixel is decoded.
// Nothing here decodes: each reader walks the header bytes only.

#include <cstdint>
#include <optional>
#include <string_view>

#include "media/Pictures.h"

namespace quintaro {

struct PictureSize {
    std::int64_t width = 0;
    std::int64_t height = 0;
    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

// Real encoders write about ten scans; thousands of tiny scans are a way to make a small
// file take minutes to decode.
inline constexpr int maxJpegScans = 100;

// A JPEG file: the size in its frame header (SOF), found by walking the markers from the
// start of the file to its end. Nothing when the file does not start with the JPEG start
// marker, has no frame header before its first scan, has more than one frame header, more
// than maxJpegScans scans, or a segment that runs past the end of the bytes.
std::optional<PictureSize> jpegSize(std::string_view bytes);

// A "BM" bitmap file: the size in its information header (rows stored either way).
std::optional<PictureSize> bitmapSize(std::string_view bytes);

// An icon file: the largest width and the largest height among its images, each taken from
// the image's own header (a PNG's IHDR or a bitmap's information header), not from the
// directory, which can't say more than 256. Nothing when the directory or an image's header
// lies outside the bytes.
std::optional<PictureSize> iconSize(std::string_view bytes);

// Whether a header reader found a size, and the limits allow it.
constexpr bool pictureSizeAllowed(const std::optional<PictureSize>& size) {
    return size && pictureSizeAllowed(size->width, size->height);
}

// Whether the file starts like an icon file (reserved 0, type 1, at least one image).
bool looksLikeIcon(std::string_view bytes);

}  // namespace quintaro
