// Compares a regenerated sound, picture or icon with the committed one.
//
//   quintaro_asset_compare GENERATED COMMITTED
//
// Pictures drawn with antialiasing and sounds made with the maths library are not bit for bit
// the same on every processor: QPainter's raster paths and libm pick their code by processor,
// and an edge pixel may come out a level or two apart. So pictures (PNG, JPEG) must have the
// same size and format and every channel of every pixel within a few levels, with only a few
// pixels different at all; a sound must have the same header and length and every sample
// within a few steps. Anything a person would notice (a colour, a shape moved by one pixel,
// another seed) breaks these limits. Every other file (the 16-colour icon, drawn with hard
// edges) must match byte for byte.
//
// Exit code 0 when the files match within the limits, 1 when they do not, 2 when a file
// cannot be read. The figures are printed either way.

#include <QCoreApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

struct Limits {
    int levels;          // largest difference of one channel or sample
    double shareOfDiff;  // largest share of pixels or samples that differ at all
};

// JPEG spreads a small change of its input over the 8 x 8 block around it.
constexpr Limits kPngLimits{4, 0.02};
constexpr Limits kJpegLimits{8, 0.05};
constexpr Limits kWaveLimits{2, 0.01};
constexpr std::size_t kWaveHeader = 44;

std::optional<std::string> readBytes(const char* path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The figures name the file alone; the folders are the caller's.
const char* fileName(const char* path) {
    const char* slash = std::strrchr(path, '/');
    return slash != nullptr ? slash + 1 : path;
}

int verdict(const char* name, long differing, long total, int largest, Limits limits) {
    const long allowed = long(double(total) * limits.shareOfDiff);
    const bool ok = largest <= limits.levels && differing <= allowed;
    std::printf("%s: %ld of %ld differ, by at most %d (limits: %d, %ld)%s\n", fileName(name),
                differing, total, largest, limits.levels, allowed, ok ? "" : ": too different");
    return ok ? 0 : 1;
}

int comparePictures(const char* generated, const char* committed, Limits limits) {
    const QImage a(QString::fromLocal8Bit(generated));
    const QImage b(QString::fromLocal8Bit(committed));
    if (a.isNull() || b.isNull()) {
        std::printf("%s: cannot be read as a picture\n", a.isNull() ? generated : committed);
        return 2;
    }
    if (a.size() != b.size() || a.format() != b.format()) {
        std::printf("%s: %d x %d (format %d), committed %d x %d (format %d)\n", fileName(generated),
                    a.width(), a.height(), int(a.format()), b.width(), b.height(), int(b.format()));
        return 1;
    }
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    long differing = 0;
    int largest = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row);
            const QRgb q = y.pixel(column, row);
            const int d =
                std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
            differing += d != 0;
            largest = std::max(largest, d);
        }
    }
    return verdict(generated, differing, long(x.width()) * x.height(), largest, limits);
}

int sample(const std::string& bytes, std::size_t i) {
    const auto low = static_cast<unsigned char>(bytes[kWaveHeader + 2 * i]);
    const auto high = static_cast<unsigned char>(bytes[kWaveHeader + 2 * i + 1]);
    return int(static_cast<short>(low | (high << 8)));
}

// The generator writes one plain 44-byte header, then 16-bit samples.
int compareSounds(const char* generated, const std::string& a, const std::string& b) {
    if (a.size() != b.size() || a.size() < kWaveHeader ||
        a.compare(0, kWaveHeader, b, 0, kWaveHeader) != 0) {
        std::printf("%s: header or length differs (%zu bytes, committed %zu)\n",
                    fileName(generated), a.size(), b.size());
        return 1;
    }
    const std::size_t samples = (a.size() - kWaveHeader) / 2;
    long differing = 0;
    int largest = 0;
    for (std::size_t i = 0; i < samples; ++i) {
        const int d = std::abs(sample(a, i) - sample(b, i));
        differing += d != 0;
        largest = std::max(largest, d);
    }
    return verdict(generated, differing, long(samples), largest, kWaveLimits);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: quintaro_asset_compare GENERATED COMMITTED\n");
        return 2;
    }
    // For the picture formats that come as plugins.
    QCoreApplication application(argc, argv);
    const std::string name = argv[1];
    if (endsWith(name, ".png")) {
        return comparePictures(argv[1], argv[2], kPngLimits);
    }
    if (endsWith(name, ".jpg")) {
        return comparePictures(argv[1], argv[2], kJpegLimits);
    }
    const auto a = readBytes(argv[1]);
    const auto b = readBytes(argv[2]);
    if (!a || !b) {
        std::printf("%s: cannot be read\n", a ? argv[2] : argv[1]);
        return 2;
    }
    if (endsWith(name, ".wav")) {
        return compareSounds(argv[1], *a, *b);
    }
    const bool same = *a == *b;
    std::printf("%s: %s\n", fileName(argv[1]), same ? "same bytes" : "bytes differ");
    return same ? 0 : 1;
}
