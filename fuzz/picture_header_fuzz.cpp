// The picture header readers on arbitrary bytes: they must never crash or hang, and a size
// they report must stand in the bytes where the format keeps it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/PictureHeader.h"

namespace {

// Whether some frame header (0xFF, a frame marker, length, precision) in the bytes holds
// this height and width.
bool frameHolds(std::string_view bytes, quintaro::PictureSize size) {
    for (std::size_t at = 0; at + 9 <= bytes.size(); ++at) {
        const auto byte = [&](std::size_t i) { return std::int64_t(std::uint8_t(bytes[at + i])); };
        if (byte(0) == 0xFF && byte(1) >= 0xC0 && byte(1) <= 0xCF &&
            (byte(5) << 8 | byte(6)) == size.height && (byte(7) << 8 | byte(8)) == size.width) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (const auto jpeg = quintaro::jpegSize(bytes); jpeg && !frameHolds(bytes, *jpeg)) {
        __builtin_trap();
    }
    if (const auto bitmap = quintaro::bitmapSize(bytes); bitmap && bitmap->height < 0) {
        __builtin_trap();
    }
    if (const auto icon = quintaro::iconSize(bytes);
        icon && (icon->width <= 0 || icon->height <= 0 || !quintaro::looksLikeIcon(bytes))) {
        __builtin_trap();
    }
    return 0;
}
