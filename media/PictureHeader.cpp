#include "media/PictureHeader.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>

namespace quintaro {

namespace {

std::uint32_t byteAt(std::string_view bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t bigEndian16(std::string_view bytes, std::size_t at) {
    return byteAt(bytes, at) << 8 | byteAt(bytes, at + 1);
}

std::uint32_t bigEndian32(std::string_view bytes, std::size_t at) {
    return bigEndian16(bytes, at) << 16 | bigEndian16(bytes, at + 2);
}

std::uint32_t littleEndian16(std::string_view bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}

std::uint32_t littleEndian32(std::string_view bytes, std::size_t at) {
    return littleEndian16(bytes, at) | littleEndian16(bytes, at + 2) << 16;
}

std::int64_t signed32(std::uint32_t value) {
    return static_cast<std::int32_t>(value);
}

bool fits(std::string_view bytes, std::size_t at, std::size_t length) {
    return at <= bytes.size() && length <= bytes.size() - at;
}

// Frame headers of every coding process (baseline, extended, progressive, lossless, with
// Huffman or arithmetic coding); 0xC4, 0xC8 and 0xCC share the range but are no frames.
bool isFrameHeader(std::uint32_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The markers that stand alone, without a length: restart markers and TEM.
bool standsAlone(std::uint32_t marker) {
    return (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01;
}

// Moves past the entropy-coded data of a scan to the next marker: 0xFF 0x00 is a data byte,
// restart markers belong to the scan.
std::size_t endOfScan(std::string_view bytes, std::size_t at) {
    for (;;) {
        const std::size_t found = bytes.find('\xFF', at);
        if (found == std::string_view::npos || found + 1 >= bytes.size()) {
            return bytes.size();
        }
        const std::uint32_t next = byteAt(bytes, found + 1);
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7) || next == 0xFF) {
            at = found + 1;
            continue;
        }
        return found;
    }
}

// A bitmap information header at `at`: its width and height (an icon's image stores the
// height of its colour and mask parts together).
std::optional<PictureSize> bitmapHeaderSize(std::string_view bytes, std::size_t at, bool icon) {
    if (!fits(bytes, at, 4)) {
        return std::nullopt;
    }
    const std::uint32_t headerSize = littleEndian32(bytes, at);
    PictureSize size;
    if (headerSize == 12 && fits(bytes, at, 12)) {
        size = {littleEndian16(bytes, at + 4), littleEndian16(bytes, at + 6)};
    } else if (headerSize >= 16 && fits(bytes, at, 12)) {
        // Rows are stored from the bottom up, or from the top down when the height is negative.
        size = {signed32(littleEndian32(bytes, at + 4)),
                std::abs(signed32(littleEndian32(bytes, at + 8)))};
    } else {
        return std::nullopt;
    }
    if (icon) {
        size.height = (size.height + 1) / 2;
    }
    return size;
}

}  // namespace

std::optional<PictureSize> jpegSize(std::string_view bytes) {
    if (bytes.size() < 2 || byteAt(bytes, 0) != 0xFF || byteAt(bytes, 1) != 0xD8) {
        return std::nullopt;
    }
    std::optional<PictureSize> frame;
    int scans = 0;
    std::size_t at = 2;
    while (at < bytes.size()) {
        // Every segment starts with 0xFF (any number of them) and its marker; anything else
        // between segments is refused rather than guessed at.
        if (byteAt(bytes, at) != 0xFF) {
            return std::nullopt;
        }
        while (at < bytes.size() && byteAt(bytes, at) == 0xFF) {
            ++at;
        }
        if (at >= bytes.size()) {
            break;
        }
        const std::uint32_t marker = byteAt(bytes, at++);
        if (marker == 0xD9) {
            break;  // the end of the picture: decoders read nothing after it
        }
        if (standsAlone(marker)) {
            continue;
        }
        // A second start, a zero where a marker belongs, and hierarchical pictures (DHP)
        // are refused.
        if (marker == 0xD8 || marker == 0x00 || marker == 0xDE || !fits(bytes, at, 2)) {
            return std::nullopt;
        }
        const std::size_t length = bigEndian16(bytes, at);
        if (length < 2 || !fits(bytes, at, length)) {
            return std::nullopt;
        }
        if (isFrameHeader(marker)) {
            // Precision, height, width, component count.
            if (frame || scans > 0 || length < 8) {
                return std::nullopt;
            }
            frame = PictureSize{bigEndian16(bytes, at + 5), bigEndian16(bytes, at + 3)};
        }
        at += length;
        if (marker == 0xDA) {
            if (!frame || ++scans > maxJpegScans) {
                return std::nullopt;
            }
            at = endOfScan(bytes, at);
        }
    }
    return frame;
}

std::optional<PictureSize> bitmapSize(std::string_view bytes) {
    if (bytes.size() < 14 || bytes.substr(0, 2) != "BM") {
        return std::nullopt;
    }
    return bitmapHeaderSize(bytes, 14, false);
}

bool looksLikeIcon(std::string_view bytes) {
    return bytes.size() >= 6 && littleEndian16(bytes, 0) == 0 && littleEndian16(bytes, 2) == 1 &&
           littleEndian16(bytes, 4) > 0;
}

std::optional<PictureSize> iconSize(std::string_view bytes) {
    if (!looksLikeIcon(bytes)) {
        return std::nullopt;
    }
    const std::size_t count = littleEndian16(bytes, 4);
    constexpr std::size_t entryBytes = 16;
    if (!fits(bytes, 6, count * entryBytes)) {
        return std::nullopt;
    }
    PictureSize largest;
    for (std::size_t entry = 0; entry < count; ++entry) {
        const std::size_t at = littleEndian32(bytes, 6 + entry * entryBytes + 12);
        std::optional<PictureSize> size;
        constexpr std::string_view pngSignature("\x89PNG\r\n\x1a\n", 8);
        if (fits(bytes, at, pngSignature.size()) &&
            bytes.substr(at, pngSignature.size()) == pngSignature) {
            // Signature, the IHDR chunk's length and type, then width and height.
            if (!fits(bytes, at, 24)) {
                return std::nullopt;
            }
            size = PictureSize{bigEndian32(bytes, at + 16), bigEndian32(bytes, at + 20)};
        } else {
            size = bitmapHeaderSize(bytes, at, true);
        }
        if (!size || size->width <= 0 || size->height <= 0) {
            return std::nullopt;
        }
        largest.width = std::max(largest.width, size->width);
        largest.height = std::max(largest.height, size->height);
    }
    return largest;
}

}  // namespace quintaro
