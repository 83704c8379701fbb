#include "media/WaveFile.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace quintaro {

namespace {

// What a roll sound may reasonably be. Outside these the file is taken as broken rather than
// handed to the audio converter: 1 to 8 channels (mono up to 7.1) and 1000 to 384000 frames
// per second.
constexpr unsigned minChannels = 1;
constexpr unsigned maxChannels = 8;
constexpr std::uint32_t minSampleRate = 1000;
constexpr std::uint32_t maxSampleRate = 384000;

constexpr std::uint16_t formatPcm = 0x0001;
constexpr std::uint16_t formatFloat = 0x0003;
constexpr std::uint16_t formatExtensible = 0xFFFE;

// The tail shared by the sub-format GUIDs of WAVE_FORMAT_EXTENSIBLE; the first two bytes
// carry the plain format tag (PCM or IEEE float).
constexpr std::array<unsigned char, 14> subFormatTail = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                         0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

// The plain "fmt " chunk is 16 bytes; the extensible one adds cbSize (2), valid bits (2),
// channel mask (4) and the sub-format GUID (16).
constexpr std::uint32_t plainFormatSize = 16;
constexpr std::uint32_t extensibleFormatSize = 40;
constexpr std::uint16_t extensibleExtraSize = 22;

std::uint16_t readU16(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      static_cast<unsigned char>(bytes[at + 1]) << 8);
}

std::uint32_t readU32(std::string_view bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 3])) << 24;
}

bool hasTag(std::string_view bytes, std::size_t at, std::string_view tag) {
    return bytes.substr(at, 4) == tag;
}

// The sample layout the "fmt " chunk describes, before it is checked against what we play.
struct SampleFormat {
    std::uint16_t tag = 0;  // PCM or IEEE float after unwrapping the extensible form
    unsigned channels = 0;
    std::uint32_t sampleRate = 0;
    unsigned blockAlign = 0;
    unsigned bitsPerSample = 0;
};

std::optional<SampleFormat> readFormat(std::string_view chunk) {
    if (chunk.size() < plainFormatSize) {
        return std::nullopt;
    }
    SampleFormat f;
    f.tag = readU16(chunk, 0);
    f.channels = readU16(chunk, 2);
    f.sampleRate = readU32(chunk, 4);
    // The byte rate (offset 8) is only advisory and often wrong; it is not checked.
    f.blockAlign = readU16(chunk, 12);
    f.bitsPerSample = readU16(chunk, 14);
    if (f.tag == formatExtensible) {
        if (chunk.size() < extensibleFormatSize || readU16(chunk, 16) < extensibleExtraSize) {
            return std::nullopt;
        }
        const unsigned validBits = readU16(chunk, 18);
        if (validBits > f.bitsPerSample) {
            return std::nullopt;
        }
        if (std::memcmp(chunk.data() + 26, subFormatTail.data(), subFormatTail.size()) != 0) {
            return std::nullopt;
        }
        f.tag = readU16(chunk, 24);
        if (f.tag == formatExtensible) {
            return std::nullopt;
        }
    }
    return f;
}

// Maps a checked layout to the format the sound is kept in; std::nullopt when unplayable.
std::optional<WaveSound::Format> playableFormat(const SampleFormat& f) {
    if (f.channels < minChannels || f.channels > maxChannels) {
        return std::nullopt;
    }
    if (f.sampleRate < minSampleRate || f.sampleRate > maxSampleRate) {
        return std::nullopt;
    }
    std::optional<WaveSound::Format> format;
    if (f.tag == formatPcm) {
        switch (f.bitsPerSample) {
            case 8:
                format = WaveSound::Format::Unsigned8;
                break;
            case 16:
                format = WaveSound::Format::Signed16;
                break;
            case 24:
            case 32:
                format = WaveSound::Format::Signed32;
                break;
            default:
                break;
        }
    } else if (f.tag == formatFloat && f.bitsPerSample == 32) {
        format = WaveSound::Format::Float32;
    }
    if (!format || f.blockAlign != f.channels * (f.bitsPerSample / 8)) {
        return std::nullopt;
    }
    return format;
}

}  // namespace

int WaveSound::bytesPerFrame() const {
    switch (format) {
        case Format::Unsigned8:
            return channels;
        case Format::Signed16:
            return channels * 2;
        case Format::Signed32:
        case Format::Float32:
            return channels * 4;
    }
    return 0;
}

std::optional<WaveLayout> scanWave(const ReadAt& readAt, std::uint64_t fileSize) {
    constexpr std::size_t chunkHeaderSize = 8;
    constexpr std::size_t firstChunk = 12;
    if (fileSize > maxWaveFileBytes || fileSize < firstChunk + chunkHeaderSize) {
        return std::nullopt;
    }
    // The RIFF header and the first chunk's header; the "fmt " chunk is read in full below.
    std::string head(firstChunk + chunkHeaderSize, '\0');
    if (readAt(0, head.data(), head.size()) != head.size()) {
        return std::nullopt;
    }
    // The RIFF size field (offset 4) is not trusted: streamed files leave it at 0 or
    // 0xFFFFFFFF. The chunks are walked within the bytes actually present.
    if (!hasTag(head, 0, "RIFF") || !hasTag(head, 8, "WAVE") || !hasTag(head, firstChunk, "fmt ")) {
        return std::nullopt;
    }
    const std::uint64_t formatSize = readU32(head, firstChunk + 4);
    const std::uint64_t formatStart = firstChunk + chunkHeaderSize;
    if (formatSize > fileSize - formatStart) {
        return std::nullopt;
    }
    // Only the fields we know are read; a longer chunk's tail is skipped.
    std::string formatChunk(static_cast<std::size_t>(std::min<std::uint64_t>(formatSize, 64)),
                            '\0');
    if (readAt(formatStart, formatChunk.data(), formatChunk.size()) != formatChunk.size()) {
        return std::nullopt;
    }
    const auto sampleFormat = readFormat(formatChunk);
    if (!sampleFormat) {
        return std::nullopt;
    }
    const auto format = playableFormat(*sampleFormat);
    if (!format) {
        return std::nullopt;
    }

    // Every chunk after "fmt " up to "data"; odd-sized chunks are followed by a pad byte.
    // All offsets are 64-bit, so a 32-bit size near 4 GiB cannot wrap them.
    std::uint64_t at = formatStart + formatSize + (formatSize & 1);
    std::string chunkHeader(chunkHeaderSize, '\0');
    while (at + chunkHeaderSize <= fileSize) {
        if (readAt(at, chunkHeader.data(), chunkHeaderSize) != chunkHeaderSize) {
            return std::nullopt;
        }
        const std::uint64_t size = readU32(chunkHeader, 4);
        if (hasTag(chunkHeader, 0, "data")) {
            WaveLayout layout;
            layout.format = *format;
            layout.channels = static_cast<int>(sampleFormat->channels);
            layout.sampleRate = static_cast<int>(sampleFormat->sampleRate);
            layout.bytesPerSampleInFile = sampleFormat->bitsPerSample / 8;
            layout.dataOffset = at + chunkHeaderSize;
            layout.frames = std::min(size, fileSize - layout.dataOffset) / sampleFormat->blockAlign;
            // Decided from the header, before any sample is read: a roll sound is short.
            if (layout.frames == 0 ||
                layout.frames > std::uint64_t{maxWaveSeconds} * sampleFormat->sampleRate) {
                return std::nullopt;
            }
            return layout;
        }
        at += chunkHeaderSize + size + (size & 1);
    }
    return std::nullopt;
}

void appendSamples(const WaveLayout& layout, std::string_view fileBytes,
                   std::vector<std::uint8_t>& out) {
    if (layout.bytesPerSampleInFile != 3) {
        out.insert(out.end(), fileBytes.begin(), fileBytes.end());
        return;
    }
    // Packed little-endian 24-bit samples widen to 32-bit ones (the value in the top bytes).
    const std::size_t count = fileBytes.size() / 3;
    const std::size_t start = out.size();
    out.resize(start + count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* to = out.data() + start + i * 4;
        to[0] = 0;
        to[1] = static_cast<std::uint8_t>(fileBytes[i * 3]);
        to[2] = static_cast<std::uint8_t>(fileBytes[i * 3 + 1]);
        to[3] = static_cast<std::uint8_t>(fileBytes[i * 3 + 2]);
    }
}

std::optional<WaveSound> parseWave(std::string_view bytes) {
    const auto readAt = [bytes](std::uint64_t offset, char* into, std::size_t count) {
        if (offset >= bytes.size()) {
            return std::size_t{0};
        }
        const std::string_view part = bytes.substr(static_cast<std::size_t>(offset), count);
        std::memcpy(into, part.data(), part.size());
        return part.size();
    };
    const auto layout = scanWave(readAt, bytes.size());
    if (!layout) {
        return std::nullopt;
    }
    WaveSound sound;
    sound.format = layout->format;
    sound.channels = layout->channels;
    sound.sampleRate = layout->sampleRate;
    appendSamples(*layout,
                  bytes.substr(static_cast<std::size_t>(layout->dataOffset),
                               static_cast<std::size_t>(layout->frames * layout->fileFrameBytes())),
                  sound.samples);
    return sound;
}

bool WaveFileReader::open(const std::string& fileName) {
    in_.close();
    layout_.reset();
    std::error_code error;
    // A FIFO or a device would block or never end.
    if (!std::filesystem::is_regular_file(fileName, error)) {
        return false;
    }
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (error) {
        return false;
    }
    in_.open(fileName, std::ios::binary);
    if (!in_) {
        return false;
    }
    const auto readAt = [this](std::uint64_t offset, char* into, std::size_t count) {
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(into, static_cast<std::streamsize>(count));
        return static_cast<std::size_t>(std::max<std::streamsize>(in_.gcount(), 0));
    };
    layout_ = scanWave(readAt, size);
    if (!layout_) {
        in_.close();
        return false;
    }
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(layout_->dataOffset));
    framesLeft_ = layout_->frames;
    return static_cast<bool>(in_);
}

bool WaveFileReader::read(std::size_t maxFrames, std::vector<std::uint8_t>& samples) {
    samples.clear();
    if (!layout_ || framesLeft_ == 0) {
        return false;
    }
    const std::size_t frames =
        static_cast<std::size_t>(std::min<std::uint64_t>(framesLeft_, maxFrames));
    buffer_.resize(frames * layout_->fileFrameBytes());
    in_.read(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    // A file cut short since it was opened ends the sound at the last whole frame.
    const std::size_t got = static_cast<std::size_t>(std::max<std::streamsize>(in_.gcount(), 0)) /
                            layout_->fileFrameBytes();
    framesLeft_ = got < frames ? 0 : framesLeft_ - got;
    appendSamples(*layout_, std::string_view(buffer_.data(), got * layout_->fileFrameBytes()),
                  samples);
    return got > 0;
}

}  // namespace quintaro
