#include "qt/Picture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QBuffer>
#include <QColor>
#include <QGuiApplication>

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>

#include "tests/media/MediaTestSupport.h"

namespace quintaro {
namespace {

namespace fs = std::filesystem;

// The icon reader is a Qt plugin, found through the application object.
class GuiApplication : public ::testing::Environment {
  public:
    void SetUp() override {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        static int argc = 1;
        static char name[] = "picture_test";
        static char* argv[] = {name, nullptr};
        app_ = new QGuiApplication(argc, argv);
    }
    void TearDown() override { delete app_; }

  private:
    QGuiApplication* app_ = nullptr;
};

[[maybe_unused]] const auto* const guiApplication =
    ::testing::AddGlobalTestEnvironment(new GuiApplication);  // owned by GoogleTest

QByteArray corpusBytes(const std::string& name) {
    const std::string bytes = testing::readBytes(testing::corpusPath("pictures/" + name));
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

struct PictureCase {
    const char* file;
    bool decodes;
    int width = 0;
    int height = 0;
    bool jpeg = false;               // JPEG pictures are 24-bit, rows top to bottom
    std::optional<QColor> centre{};  // the colour in the middle, within a small tolerance
};

std::ostream& operator<<(std::ostream& out, const PictureCase& c) {
    return out << c.file;
}

class PictureCorpus : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureCorpus, DecodesAsExpected) {
    const PictureCase& c = GetParam();
    const QImage image = decodePicture(corpusBytes(c.file));
    if (!c.decodes) {
        EXPECT_TRUE(image.isNull());
        return;
    }
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), c.width);
    EXPECT_EQ(image.height(), c.height);
    if (c.jpeg) {
        EXPECT_EQ(image.format(), QImage::Format_RGB888);
    }
    if (c.centre) {
        const QColor got = image.pixelColor(c.width / 2, c.height / 2);
        constexpr int tolerance = 6;  // JPEG's rounding
        EXPECT_NEAR(got.red(), c.centre->red(), tolerance);
        EXPECT_NEAR(got.green(), c.centre->green(), tolerance);
        EXPECT_NEAR(got.blue(), c.centre->blue(), tolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, PictureCorpus,
    ::testing::Values(PictureCase{"valid.jpg", true, 48, 20, true, QColor(0x33, 0x66, 0xcc)},
                      PictureCase{"grayscale.jpg", true, 30, 10, true, QColor(128, 128, 128)},
                      PictureCase{"progressive.jpg", true, 40, 30, true},
                      PictureCase{"cmyk.jpg", true, 16, 8, true, QColor(255, 0, 0)},
                      PictureCase{"gradient.jpg", true, 64, 64, true},
                      PictureCase{"wide_8192.jpg", true, 8192, 8, true, QColor(128, 128, 128)},
                      PictureCase{"tall_8193.jpg", false}, PictureCase{"huge_header.jpg", false},
                      PictureCase{"huge_30000.jpg", false},
                      PictureCase{"too_many_pixels.jpg", false},
                      PictureCase{"truncated.jpg", false}, PictureCase{"garbage.jpg", false},
                      PictureCase{"garbage_after_soi.jpg", false}, PictureCase{"empty.jpg", false},
                      PictureCase{"bm_then_jpeg.jpg", false},
                      PictureCase{"picture.bmp", true, 20, 12, false, QColor(0, 255, 0)},
                      PictureCase{"bmp_huge_header.bmp", false},
                      PictureCase{"picture.ico", true, 16, 16, false, QColor(0, 0, 255)},
                      PictureCase{"png_icon.ico", true, 256, 256, false, QColor(255, 0, 255)},
                      PictureCase{"icon_huge_png.ico", false}),
    [](const ::testing::TestParamInfo<PictureCase>& info) {
        std::string name = info.param.file;
        return name.replace(name.find('.'), 1, "_");
    });

QByteArray bitmapFile(int width, int height, QImage::Format format) {
    QImage image(width, height, format);
    if (format == QImage::Format_Indexed8) {
        image.setColorTable({qRgb(10, 20, 30)});
    }
    image.fill(0);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

TEST(PictureLimits, SidesAndPixelCountsAtTheLimitPassAndBeyondItAreRefused) {
    struct Case {
        int width;
        int height;
        bool decodes;
    };
    // 8192 x 1953 is just under 16 million pixels, 8192 x 1954 just over.
    for (const Case& c : {Case{8192, 1, true}, Case{8193, 1, false}, Case{1, 8192, true},
                          Case{1, 8193, false}, Case{8192, 1953, true}, Case{8192, 1954, false}}) {
        const QImage image = decodePicture(bitmapFile(c.width, c.height, QImage::Format_Indexed8));
        EXPECT_EQ(!image.isNull(), c.decodes) << c.width << " x " << c.height;
    }
}

TEST(PictureLimits, ShortAndMalformedStartsAreRefused) {
    for (const QByteArray& bytes :
         {QByteArray(), QByteArray("B"), QByteArray("BM"), QByteArray("\xff\xd8", 2),
          QByteArray("\0\0\1\0\1\0", 6), QByteArray("\0\0\1\0\1\0\0\0\0\0\1\0\x20\0", 14)}) {
        EXPECT_TRUE(decodePicture(bytes).isNull()) << bytes.toHex().toStdString();
    }
}

class PictureTable : public ::testing::Test {
  protected:
    void TearDown() override { freePictures(); }
    testing::TempFolder folder_;
};

TEST_F(PictureTable, KeepsEachLoadedPictureUnderItsNumber) {
    testing::writeBytes("pvp_0.jpg", testing::readBytes(testing::corpusPath("pictures/valid.jpg")));
    testing::writeBytes("pvc_0.jpg",
                        testing::readBytes(testing::corpusPath("pictures/grayscale.jpg")));
    loadPicture(0, "pvp_0.jpg");
    loadPicture(1, "pvc_0.jpg");
    EXPECT_EQ(pictureBitmap(0).size(), QSize(48, 20));
    EXPECT_EQ(pictureBitmap(1).size(), QSize(30, 10));
    EXPECT_TRUE(pictureBitmap(2).isNull());
    EXPECT_TRUE(pictureBitmap(-1).isNull());
}

TEST_F(PictureTable, AFailedLoadLeavesNoPictureUnderThatNumber) {
    testing::writeBytes("pvp_0.jpg", testing::readBytes(testing::corpusPath("pictures/valid.jpg")));
    loadPicture(0, "pvp_0.jpg");
    ASSERT_FALSE(pictureBitmap(0).isNull());
    testing::writeBytes("pvp_0.jpg",
                        testing::readBytes(testing::corpusPath("pictures/truncated.jpg")));
    loadPicture(0, "pvp_0.jpg");
    EXPECT_TRUE(pictureBitmap(0).isNull());
}

TEST_F(PictureTable, MissingFoldersAndFifosGiveNoPicture) {
    fs::create_directory("folder.jpg");
    ASSERT_EQ(mkfifo("fifo.jpg", 0600), 0);
    for (const char* name : {"missing.jpg", "folder.jpg", "fifo.jpg", ""}) {
        loadPicture(0, name);  // a FIFO without a writer would block an open for reading
        EXPECT_TRUE(pictureBitmap(0).isNull()) << name;
    }
}

TEST_F(PictureTable, FilesOverSixtyFourMebibytesAreNotRead) {
    constexpr std::uintmax_t limit = 64u * 1024 * 1024;
    for (const auto& [size, loads] : {std::pair{limit, true}, std::pair{limit + 1, false}}) {
        // A picture followed by zeros up to `size` bytes (a sparse file, quick to make).
        testing::writeBytes("pvp_0.jpg",
                            testing::readBytes(testing::corpusPath("pictures/valid.jpg")));
        fs::resize_file("pvp_0.jpg", size);
        loadPicture(0, "pvp_0.jpg");
        EXPECT_EQ(!pictureBitmap(0).isNull(), loads) << size;
    }
}

TEST_F(PictureTable, FreeingForgetsEveryPicture) {
    testing::writeBytes("pvp_0.jpg", testing::readBytes(testing::corpusPath("pictures/valid.jpg")));
    loadPicture(0, "pvp_0.jpg");
    loadPicture(1, "pvp_0.jpg");
    freePictures();
    EXPECT_TRUE(pictureBitmap(0).isNull());
    EXPECT_TRUE(pictureBitmap(1).isNull());
}

}  // namespace
}  // namespace quintaro
