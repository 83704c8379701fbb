// The game's sound, pictures, icon and rules: the formats the game and the desktop rely on.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>
#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "settings/KeyValueFile.h"
#include "tests/assets/AssetTestSupport.h"

namespace quintaro {
namespace {

std::uint32_t le(const std::string& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + std::size_t(i)));
    }
    return value;
}

// --- dice.wav ------------------------------------------------------------------------------

struct Wave {
    std::uint32_t riffSize = 0;
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t rate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bits = 0;
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;
};

// The layout the game's sound loader accepts: RIFF/WAVE, "fmt " as the first chunk, then
// the chunks walked to "data".
std::optional<Wave> parseWave(const std::string& bytes) {
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0 ||
        bytes.compare(12, 4, "fmt ") != 0) {
        return std::nullopt;
    }
    Wave wave;
    wave.riffSize = le(bytes, 4, 4);
    const std::size_t fmtSize = le(bytes, 16, 4);
    if (fmtSize < 16 || 20 + fmtSize > bytes.size()) {
        return std::nullopt;
    }
    wave.format = std::uint16_t(le(bytes, 20, 2));
    wave.channels = std::uint16_t(le(bytes, 22, 2));
    wave.rate = le(bytes, 24, 4);
    wave.byteRate = le(bytes, 28, 4);
    wave.blockAlign = std::uint16_t(le(bytes, 32, 2));
    wave.bits = std::uint16_t(le(bytes, 34, 2));
    std::size_t at = 20 + fmtSize + (fmtSize & 1);
    while (at + 8 <= bytes.size()) {
        const std::size_t size = le(bytes, at + 4, 4);
        if (bytes.compare(at, 4, "data") == 0) {
            if (at + 8 + size > bytes.size()) {
                return std::nullopt;
            }
            wave.dataOffset = at + 8;
            wave.dataSize = size;
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

class DiceSoundTest : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_ = testing::readBytes(testing::assetPath("dice.wav"));
        const auto parsed = parseWave(bytes_);
        ASSERT_TRUE(parsed.has_value()) << "not a RIFF WAVE file with fmt first and a data chunk";
        wave_ = *parsed;
    }
    // Every sample of every channel, as a fraction of full scale.
    std::vector<double> samples() const {
        std::vector<double> out;
        for (std::size_t at = 0; at + 1 < wave_.dataSize; at += 2) {
            const auto raw = std::int16_t(le(bytes_, wave_.dataOffset + at, 2));
            out.push_back(raw / 32768.0);
        }
        return out;
    }
    double seconds() const { return double(wave_.dataSize) / wave_.blockAlign / wave_.rate; }

    std::string bytes_;
    Wave wave_;
};

TEST_F(DiceSoundTest, HeaderAgreesWithTheFile) {
    EXPECT_EQ(wave_.riffSize, bytes_.size() - 8);
    EXPECT_EQ(wave_.dataSize % wave_.blockAlign, 0u);
}

TEST_F(DiceSoundTest, Is16BitPcmAt44100Hz) {
    EXPECT_EQ(wave_.format, 1);
    EXPECT_EQ(wave_.rate, 44100u);
    EXPECT_EQ(wave_.bits, 16);
    EXPECT_TRUE(wave_.channels == 1 || wave_.channels == 2) << wave_.channels;
    EXPECT_EQ(wave_.blockAlign, wave_.channels * 2);
    EXPECT_EQ(wave_.byteRate, wave_.rate * wave_.blockAlign);
}

TEST_F(DiceSoundTest, IsAShortRoll) {
    EXPECT_GE(seconds(), 0.3);
    EXPECT_LE(seconds(), 0.7);
}

TEST_F(DiceSoundTest, PeaksAboutThreeDecibelsBelowFullScale) {
    const std::vector<double> all = samples();
    ASSERT_FALSE(all.empty());
    double peak = 0.0;
    for (double x : all) {
        peak = std::max(peak, std::abs(x));
    }
    const double dbfs = 20.0 * std::log10(peak);
    EXPECT_LT(dbfs, -2.0) << "too close to clipping";
    EXPECT_GT(dbfs, -4.5) << "quieter than it needs to be";
}

TEST_F(DiceSoundTest, StartsAndEndsInSilence) {
    // Playback is cut at the end of the data: anything loud there would click.
    const std::vector<double> all = samples();
    const std::size_t tail = std::size_t(wave_.rate / 100) * wave_.channels;  // 10 ms
    ASSERT_GT(all.size(), tail);
    EXPECT_LT(std::abs(all.front()), 0.01);
    for (std::size_t i = all.size() - tail; i < all.size(); ++i) {
        ASSERT_LT(std::abs(all[i]), 0.01) << "sample " << i;
    }
}

// --- pvp_0.jpg and pvc_0.jpg ----------------------------------------------------------------

struct Picture {
    int width = 0;
    int height = 0;
    int components = 0;
    std::vector<unsigned char> pixels;  // rows top to bottom, `components` bytes a pixel

    double luminance(int x, int y) const {
        const unsigned char* p = &pixels[(std::size_t(y) * std::size_t(width) + std::size_t(x)) *
                                         std::size_t(components)];
        return components == 3 ? 0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2] : p[0];
    }
};

struct JumpingErrors {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JumpingErrors*>(info->err)->jump, 1);
}
void stayQuiet(j_common_ptr) {}

// Everything after the header; libjpeg's errors jump back to decodeJpeg.
void readPixels(jpeg_decompress_struct& info, Picture& picture) {
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    picture.width = int(info.output_width);
    picture.height = int(info.output_height);
    picture.components = info.output_components;
    const std::size_t rowBytes = std::size_t(picture.width) * std::size_t(picture.components);
    picture.pixels.resize(rowBytes * std::size_t(picture.height));
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = &picture.pixels[std::size_t(info.output_scanline) * rowBytes];
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
}

// Decodes with libjpeg, as the game does; nothing when libjpeg gives up on the file. The
// objects live across the jump only through references, so none is left half-changed.
std::optional<Picture> decodeJpeg(const std::string& bytes) {
    Picture picture;
    jpeg_decompress_struct info{};
    JumpingErrors errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = jumpOut;
    errors.base.output_message = stayQuiet;
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&info);
        return std::nullopt;
    }
    readPixels(info, picture);
    jpeg_destroy_decompress(&info);
    return picture;
}

Picture loadPicture(std::string_view name) {
    const auto decoded = decodeJpeg(testing::readBytes(testing::assetPath(name)));
    EXPECT_TRUE(decoded.has_value()) << name << " does not decode";
    return decoded.value_or(Picture{});
}

class ModePictureTest : public ::testing::TestWithParam<std::string_view> {};

TEST_P(ModePictureTest, Is181By36InColour) {
    const Picture picture = loadPicture(GetParam());
    EXPECT_EQ(picture.width, 181);
    EXPECT_EQ(picture.height, 36);
    EXPECT_EQ(picture.components, 3);
}

TEST_P(ModePictureTest, HasALightBackgroundForAButton) {
    const Picture picture = loadPicture(GetParam());
    ASSERT_EQ(picture.width, 181);
    // The top rows and the two sides, inside the 2 pixels a themed button cuts off.
    double sum = 0.0;
    int count = 0;
    for (int x = 2; x < picture.width - 2; ++x) {
        sum += picture.luminance(x, 2), ++count;
    }
    for (int y = 2; y < picture.height - 2; ++y) {
        sum += picture.luminance(2, y) + picture.luminance(picture.width - 3, y), count += 2;
    }
    EXPECT_GT(sum / count, 200.0);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ModePictureTest,
                         ::testing::Values(std::string_view("pvp_0.jpg"),
                                           std::string_view("pvc_0.jpg")),
                         [](const ::testing::TestParamInfo<std::string_view>& info) {
                             return std::string(info.param.substr(0, 3));
                         });

TEST(ModePictures, TellTheTwoModesApart) {
    const Picture people = loadPicture("pvp_0.jpg");
    const Picture computer = loadPicture("pvc_0.jpg");
    ASSERT_EQ(people.pixels.size(), computer.pixels.size());
    ASSERT_FALSE(people.pixels.empty());
    // The opponents' side, the right third, must look clearly different.
    double difference = 0.0;
    int count = 0;
    for (int y = 0; y < people.height; ++y) {
        for (int x = people.width * 2 / 3; x < people.width; ++x) {
            difference += std::abs(people.luminance(x, y) - computer.luminance(x, y));
            ++count;
        }
    }
    EXPECT_GT(difference / count, 15.0);
}

// --- quintaro.ico and quintaro.png ---------------------------------------------------------

class IconTest : public ::testing::Test {
  protected:
    static constexpr std::size_t kImage = 22;  // one directory entry after the header
    static constexpr std::size_t kPalette = kImage + 40;
    static constexpr std::size_t kColours = kPalette + 16 * 4;
    static constexpr std::size_t kMask = kColours + 32 * 16;
    static constexpr std::size_t kEnd = kMask + 32 * 4;

    void SetUp() override {
        bytes_ = testing::readBytes(testing::assetPath("quintaro.ico"));
        ASSERT_EQ(bytes_.size(), kEnd) << "one 32 x 32 4-bit image with mask";
    }
    // Rows are stored bottom up.
    int colourIndex(int x, int y) const {
        const auto pair = static_cast<unsigned char>(
            bytes_[kColours + std::size_t(31 - y) * 16 + std::size_t(x / 2)]);
        return x % 2 == 0 ? pair >> 4 : pair & 0x0F;
    }
    bool masked(int x, int y) const {
        const auto byte = static_cast<unsigned char>(
            bytes_[kMask + std::size_t(31 - y) * 4 + std::size_t(x / 8)]);
        return (byte & (0x80 >> (x % 8))) != 0;
    }

    std::string bytes_;
};

TEST_F(IconTest, DirectoryDescribesOne32By32ImageIn16Colours) {
    struct Field {
        const char* name;
        std::size_t at;
        int size;
        std::uint32_t expected;
    };
    const Field fields[] = {
        {"reserved", 0, 2, 0},
        {"type icon", 2, 2, 1},
        {"image count", 4, 2, 1},
        {"width", 6, 1, 32},
        {"height", 7, 1, 32},
        {"colour count", 8, 1, 16},
        {"planes", 10, 2, 1},
        {"bits per pixel", 12, 2, 4},
        {"image bytes", 14, 4, std::uint32_t(kEnd - kImage)},
        {"image offset", 18, 4, std::uint32_t(kImage)},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(le(bytes_, f.at, f.size), f.expected) << f.name;
    }
}

TEST_F(IconTest, BitmapHeaderIs4BitWithColourAndMaskStacked) {
    struct Field {
        const char* name;
        std::size_t at;
        int size;
        std::uint32_t expected;
    };
    const Field fields[] = {
        {"header size", kImage, 4, 40},
        {"width", kImage + 4, 4, 32},
        {"height of colours and mask", kImage + 8, 4, 64},
        {"planes", kImage + 12, 2, 1},
        {"bits per pixel", kImage + 14, 2, 4},
        {"uncompressed", kImage + 16, 4, 0},
    };
    for (const Field& f : fields) {
        EXPECT_EQ(le(bytes_, f.at, f.size), f.expected) << f.name;
    }
    const std::uint32_t imageSize = le(bytes_, kImage + 20, 4);
    EXPECT_TRUE(imageSize == 0 || imageSize == kEnd - kColours) << imageSize;
    const std::uint32_t coloursUsed = le(bytes_, kImage + 32, 4);
    EXPECT_TRUE(coloursUsed == 0 || coloursUsed == 16) << coloursUsed;
}

TEST_F(IconTest, TransparentPixelsAreBlackUnderTheMask) {
    // Windows draws an icon by AND-ing the mask and then XOR-ing the colours: a masked pixel
    // with a colour would show up as garbage on the background.
    int opaque = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            if (masked(x, y)) {
                EXPECT_EQ(colourIndex(x, y), 0) << x << "," << y;
            } else {
                ++opaque;
            }
        }
    }
    EXPECT_GT(opaque, 32 * 32 / 4) << "hardly anything to see";
    EXPECT_LT(opaque, 32 * 32) << "no transparency at all";
}

TEST_F(IconTest, QtReadsTheSameImage) {
    const QImage image(QString::fromStdString(testing::assetPath("quintaro.ico")));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            EXPECT_EQ(qAlpha(image.pixel(x, y)) == 0, masked(x, y)) << x << "," << y;
        }
    }
}

// The window icon, and the same picture drawn large for the desktop and software centres.
TEST(DesktopIcons, AreSquarePngsWithTransparency) {
    const struct {
        const char* name;
        int size;
    } icons[] = {{"quintaro.png", 32}, {"quintaro-128.png", 128}};
    for (const auto& icon : icons) {
        const QImage image(QString::fromStdString(testing::assetPath(icon.name)), "PNG");
        ASSERT_FALSE(image.isNull()) << icon.name;
        EXPECT_EQ(image.size(), QSize(icon.size, icon.size)) << icon.name;
        EXPECT_TRUE(image.hasAlphaChannel()) << icon.name;
    }
}

TEST(DesktopIcons, LargeIconShowsTheSamePicture) {
    const QImage small = QImage(QString::fromStdString(testing::assetPath("quintaro.png")), "PNG")
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage large =
        QImage(QString::fromStdString(testing::assetPath("quintaro-128.png")), "PNG")
            .convertToFormat(QImage::Format_ARGB32_Premultiplied)
            .scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ASSERT_FALSE(small.isNull());
    ASSERT_EQ(large.size(), small.size());
    double difference = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const QRgb a = small.pixel(x, y);
            const QRgb b = large.pixel(x, y);
            difference += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                          std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
        }
    }
    // Per channel and pixel; another picture differs by far more than the smoothing does.
    EXPECT_LT(difference / (small.width() * small.height() * 4), 12.0);
}

// --- rules.txt ------------------------------------------------------------------------------

TEST(RulesText, IsPlainUtf8Text) {
    const std::string bytes = testing::readBytes(testing::assetPath("rules.txt"));
    ASSERT_GT(bytes.size(), 1000u);
    const auto text = testing::decodeUtf8(bytes);
    ASSERT_TRUE(text.has_value());
    for (char32_t c : *text) {
        EXPECT_TRUE(c >= 0x20 || c == '\r' || c == '\n' || c == '\t') << "control " << int(c);
    }
}

TEST(RulesText, NamesRowsAndHandsAsTheEnglishGameDoes) {
    const std::string rules = testing::readBytes(testing::assetPath("rules.txt"));
    testing::TempDir temp;
    const auto copy = temp.path() / "en.lang";
    std::filesystem::copy_file(testing::assetPath("en.lang"), copy);
    KeyValueFile english;
    ASSERT_TRUE(english.open(copy.string()));
    std::vector<std::string_view> keys(testing::kRowLabelKeys.begin(),
                                       testing::kRowLabelKeys.end());
    for (std::string_view hand : {"hands1", "hands2", "hands3", "hands4", "hands5", "hands6",
                                  "hands7", "hands0", "roll", "MenuNewGame", "MenuExit"}) {
        keys.push_back(hand);
    }
    for (std::string_view key : keys) {
        const std::string text = english.readText(key, "");
        ASSERT_FALSE(text.empty()) << key;
        EXPECT_NE(rules.find(text), std::string::npos) << key << ": " << text;
    }
    english.close();
}

}  // namespace
}  // namespace quintaro
