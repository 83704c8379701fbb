// Our own reading of a picture file's header, which both editions consult before any
// decoder sees the file: the size it finds, and the files it refuses to measure.

#include "media/PictureHeader.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "tests/media/MediaTestSupport.h"

namespace quintaro {
namespace {

std::string segment(unsigned char marker, const std::string& payload) {
    const std::size_t length = payload.size() + 2;
    return std::string{'\xFF', char(marker), char(length >> 8), char(length & 0xFF)} + payload;
}

// A frame header (SOF0): precision 8, height, width, one component.
std::string frame(int width, int height, unsigned char marker = 0xC0) {
    return segment(marker, std::string{8, char(height >> 8), char(height & 0xFF), char(width >> 8),
                                       char(width & 0xFF), 1, 1, 0x11, 0});
}

// A scan header and some entropy-coded data with a stuffed 0xFF and a restart marker.
std::string scan() {
    return segment(0xDA, std::string{1, 1, 0, 0, 63, 0}) +
           std::string("\x12\xFF\x00\x34\xFF\xD0\x56", 7);
}

const std::string start("\xFF\xD8", 2);
const std::string end("\xFF\xD9", 2);

std::string corpusFile(const std::string& name) {
    return testing::readBytes(testing::corpusPath("pictures/" + name));
}

TEST(PictureHeader, JpegFrameSizes) {
    std::string manyScans = start + frame(16, 16);
    for (int i = 0; i < maxJpegScans; ++i) {
        manyScans += scan();
    }
    const struct {
        const char* what;
        std::string bytes;
        std::optional<PictureSize> size;
    } cases[] = {
        {"valid.jpg", corpusFile("valid.jpg"), PictureSize{48, 20}},
        {"progressive.jpg", corpusFile("progressive.jpg"), PictureSize{40, 30}},
        {"cmyk.jpg", corpusFile("cmyk.jpg"), PictureSize{16, 8}},
        {"huge_30000.jpg", corpusFile("huge_30000.jpg"), PictureSize{30000, 30000}},
        {"tall_8193.jpg", corpusFile("tall_8193.jpg"), PictureSize{8, 8193}},
        {"truncated.jpg: its header is whole", corpusFile("truncated.jpg"), PictureSize{64, 64}},
        {"comment and fill bytes before the frame",
         start + segment(0xFE, "hi") + "\xFF\xFF" + frame(3, 2) + scan() + end, PictureSize{3, 2}},
        {"arithmetic progressive frame", start + frame(7, 5, 0xCA) + scan() + end,
         PictureSize{7, 5}},
        {"another picture's frame inside an APP1 segment is data",
         start + segment(0xE1, frame(60000, 60000)) + frame(4, 4) + scan() + end,
         PictureSize{4, 4}},
        {"anything after the end marker is not read", start + frame(4, 4) + scan() + end + "junk",
         PictureSize{4, 4}},
        {"exactly the most scans", manyScans + end, PictureSize{16, 16}},
        {"one scan too many", manyScans + scan() + end, std::nullopt},
        {"a second frame after the first scan", start + frame(4, 4) + scan() + frame(9000, 9000),
         std::nullopt},
        {"two frames", start + frame(4, 4) + frame(9000, 9000) + scan(), std::nullopt},
        {"a scan before any frame", start + scan() + frame(4, 4), std::nullopt},
        {"hierarchical picture", start + segment(0xDE, std::string(6, '\0')) + frame(4, 4),
         std::nullopt},
        {"no frame at all", start + segment(0xFE, "x") + end, std::nullopt},
        {"frame cut short", start + frame(4, 4).substr(0, 8), std::nullopt},
        {"frame too short to hold a size", start + segment(0xC0, "\x08\x00"), std::nullopt},
        {"a length below two", start + std::string("\xFF\xE0\x00\x01", 4) + frame(4, 4),
         std::nullopt},
        {"bytes between segments", start + "x" + frame(4, 4), std::nullopt},
        {"a second start", start + start + frame(4, 4), std::nullopt},
        {"empty.jpg", corpusFile("empty.jpg"), std::nullopt},
        {"garbage.jpg", corpusFile("garbage.jpg"), std::nullopt},
        {"picture.bmp", corpusFile("picture.bmp"), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(jpegSize(c.bytes), c.size) << c.what;
    }
}

std::string littleEndian(long long value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) {
        out += char((value >> (8 * i)) & 0xFF);
    }
    return out;
}

// A "BM" file header followed by an information header of the given size.
std::string bitmapFile(int headerSize, long long width, long long height) {
    const int fieldBytes = headerSize == 12 ? 2 : 4;
    return "BM" + std::string(12, '\0') + littleEndian(headerSize, 4) +
           littleEndian(width, fieldBytes) + littleEndian(height, fieldBytes) +
           std::string(std::size_t(headerSize) - 4 - 2 * fieldBytes, '\0');
}

// An icon directory with one image at offset 22.
std::string iconFile(const std::string& image) {
    return littleEndian(0, 2) + littleEndian(1, 2) + littleEndian(1, 2) + std::string(8, '\0') +
           littleEndian(long(image.size()), 4) + littleEndian(22, 4) + image;
}

TEST(PictureHeader, BitmapAndIconSizes) {
    std::string unknownHeader = bitmapFile(40, 3, 3);
    unknownHeader[14] = 8;
    const struct {
        const char* what;
        std::optional<PictureSize> got;
        std::optional<PictureSize> size;
    } cases[] = {
        {"picture.bmp", bitmapSize(corpusFile("picture.bmp")), PictureSize{20, 12}},
        {"bmp_huge_header.bmp", bitmapSize(corpusFile("bmp_huge_header.bmp")),
         PictureSize{100000, 100000}},
        {"rows from the top down", bitmapSize(bitmapFile(40, 30, -20)), PictureSize{30, 20}},
        {"the oldest header", bitmapSize(bitmapFile(12, 65535, 3)), PictureSize{65535, 3}},
        {"header cut short", bitmapSize(bitmapFile(40, 3, 3).substr(0, 20)), std::nullopt},
        {"unknown header size", bitmapSize(unknownHeader), std::nullopt},
        {"picture.ico", iconSize(corpusFile("picture.ico")), PictureSize{16, 16}},
        {"png_icon.ico", iconSize(corpusFile("png_icon.ico")), PictureSize{256, 256}},
        {"icon_huge_png.ico", iconSize(corpusFile("icon_huge_png.ico")), PictureSize{20000, 20000}},
        {"an icon's bitmap claiming more than its directory",
         iconSize(iconFile(bitmapFile(40, 9000, 18000).substr(14))), PictureSize{9000, 9000}},
        {"an icon's image outside the file", iconSize(iconFile("").substr(0, 22)), std::nullopt},
        {"an icon with a negative width", iconSize(iconFile(bitmapFile(40, -4, 8).substr(14))),
         std::nullopt},
        {"directory cut short", iconSize(corpusFile("picture.ico").substr(0, 12)), std::nullopt},
        {"a JPEG is no icon", iconSize(corpusFile("valid.jpg")), std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.size) << c.what;
    }
}

TEST(PictureHeader, TheLimitsDecideOnTheMeasuredSize) {
    EXPECT_TRUE(pictureSizeAllowed(jpegSize(start + frame(8192, 1953) + scan())));
    EXPECT_FALSE(pictureSizeAllowed(jpegSize(start + frame(8192, 1954) + scan())));
    EXPECT_FALSE(pictureSizeAllowed(jpegSize(start + frame(16, 0) + scan())));
    EXPECT_FALSE(pictureSizeAllowed(jpegSize(corpusFile("huge_30000.jpg"))));
    EXPECT_FALSE(pictureSizeAllowed(std::nullopt));
}

}  // namespace
}  // namespace quintaro
