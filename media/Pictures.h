#pragma once
// The pictures of the new-game dialog, for both editions: their files and the largest
// picture either edition decodes.

#include <array>
#include <cstddef>
#include <string_view>

namespace quintaro {

// The mode buttons' pictures, by picture number: 0 people against each other, 1 one person
// against the computer.
inline constexpr std::array<std::string_view, 2> modePictureFiles = {"pvp_0.jpg", "pvc_0.jpg"};

// Pictures larger than this are refused before their pixels are decoded: the buttons show at
// most 181 x 36 pixels anyway.
inline constexpr int maxPictureSide = 8192;
inline constexpr long long maxPicturePixels = 16'000'000;

// Even an uncompressed 32-bit bitmap at the pixel limit fits in this.
inline constexpr std::size_t maxPictureFileBytes = 64u * 1024 * 1024;

constexpr bool pictureSizeAllowed(long long width, long long height) {
    return width > 0 && height > 0 && width <= maxPictureSide && height <= maxPictureSide &&
           width * height <= maxPicturePixels;
}

}  // namespace quintaro
