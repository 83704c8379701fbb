#include "qt/JpegDecoder.h"

#include <climits>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <jpeglib.h>

#include "media/PictureHeader.h"

namespace quintaro {

namespace {

struct ErrorManager {
    jpeg_error_mgr base;  // first member: libjpeg's pointer to it is a pointer to us
    std::jmp_buf jump;
};

[[noreturn]] void leaveDecoding(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void stayQuiet(j_common_ptr) {}

// libjpeg only warns about corrupt data (a premature end, bytes before a marker, bad
// Huffman codes) and paints the rest grey; we refuse such a picture instead.
void stopOnWarning(j_common_ptr cinfo, int level) {
    if (level < 0) {
        leaveDecoding(cinfo);
    }
}

// Adobe's CMYK JPEGs (nearly all of them) store the inks inverted; others store them plain.
void cmykToRgb(const unsigned char* cmyk, unsigned char* rgb, JDIMENSION width, bool inverted) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const unsigned k = inverted ? cmyk[3] : 255u - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const unsigned ink = inverted ? cmyk[c] : 255u - cmyk[c];
            rgb[c] = static_cast<unsigned char>(ink * k / 255);
        }
    }
}

struct Decoded {
    unsigned char* pixels;  // malloc'ed, `stride` bytes per row, rows top to bottom
    JDIMENSION width;
    JDIMENSION height;
    std::size_t stride;
};

// libjpeg leaves by longjmp on every error, so from setjmp on nothing here may own anything
// through a destructor: the buffers are plain malloc'ed memory, freed on both ways out.
bool decodeInto(const unsigned char* data, unsigned long size, PictureSize header,
                Decoded* result) {
    jpeg_decompress_struct cinfo{};
    ErrorManager errors{};
    unsigned char* volatile pixels = nullptr;
    unsigned char* volatile cmykRow = nullptr;

    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = leaveDecoding;
    errors.base.output_message = stayQuiet;
    errors.base.emit_message = stopOnWarning;
    if (setjmp(errors.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        std::free(pixels);
        std::free(cmykRow);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    // libjpeg must see the frame our header reader measured; it allocates nothing of the
    // picture's size before jpeg_start_decompress.
    if (cinfo.image_width != header.width || cinfo.image_height != header.height) {
        leaveDecoding(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    // Grayscale and YCbCr both come out as RGB; anything libjpeg cannot turn into RGB ends
    // in its error exit.
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width != cinfo.image_width || cinfo.output_height != cinfo.image_height ||
        cinfo.output_components != (cmyk ? 4 : 3)) {
        leaveDecoding(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    const JDIMENSION width = cinfo.output_width;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    pixels = static_cast<unsigned char*>(std::malloc(stride * cinfo.output_height));
    if (cmyk) {
        cmykRow = static_cast<unsigned char*>(std::malloc(static_cast<std::size_t>(width) * 4));
    }
    if (pixels == nullptr || (cmyk && cmykRow == nullptr)) {
        leaveDecoding(reinterpret_cast<j_common_ptr>(&cinfo));
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        unsigned char* row = pixels + cinfo.output_scanline * stride;
        JSAMPROW target = cmyk ? cmykRow : row;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            leaveDecoding(reinterpret_cast<j_common_ptr>(&cinfo));
        }
        if (cmyk) {
            cmykToRgb(cmykRow, row, width, cinfo.saw_Adobe_marker != 0);
        }
    }
    jpeg_finish_decompress(&cinfo);
    result->pixels = pixels;
    result->width = width;
    result->height = cinfo.output_height;
    result->stride = stride;
    jpeg_destroy_decompress(&cinfo);
    std::free(cmykRow);
    return true;
}

}  // namespace

QImage decodeJpeg(const unsigned char* data, std::size_t size) {
    if (data == nullptr || size == 0 || size > ULONG_MAX) {
        return {};
    }
    // The size and the number of scans are checked on the file's own header, before libjpeg
    // sees it.
    const auto header = jpegSize(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!pictureSizeAllowed(header)) {
        return {};
    }
    Decoded decoded{};
    if (!decodeInto(data, static_cast<unsigned long>(size), *header, &decoded)) {
        return {};
    }
    QImage image(static_cast<int>(decoded.width), static_cast<int>(decoded.height),
                 QImage::Format_RGB888);
    if (!image.isNull()) {
        const auto rowBytes = static_cast<std::size_t>(decoded.width) * 3;
        for (JDIMENSION y = 0; y < decoded.height; ++y) {
            std::memcpy(image.scanLine(static_cast<int>(y)), decoded.pixels + y * decoded.stride,
                        rowBytes);
        }
    }
    std::free(decoded.pixels);
    return image;
}

}  // namespace quintaro
