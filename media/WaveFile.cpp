#include "media/WaveFile.h"

#include <algorithm>
#include <array>
#include <cstring>

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

// Widens packed little-endian 24-bit samples to 32-bit ones (the value in the top bytes).
std::vector<std::uint8_t> widen24To32(std::string_view data) {
    const std::size_t count = data.size() / 3;
    std::vector<std::uint8_t> out(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
        out[i * 4] = 0;
        out[i * 4 + 1] = static_cast<std::uint8_t>(data[i * 3]);
        out[i * 4 + 2] = static_cast<std::uint8_t>(data[i * 3 + 1]);
        out[i * 4 + 3] = static_cast<std::uint8_t>(data[i * 3 + 2]);
    }
    return out;
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

std::optional<WaveSound> parseWave(std::string_view bytes) {
    constexpr std::size_t chunkHeaderSize = 8;
    constexpr std::size_t firstChunk = 12;
    if (bytes.size() > maxWaveFileBytes || bytes.size() < firstChunk + chunkHeaderSize) {
        return std::nullopt;
    }
    // The RIFF size field (offset 4) is not trusted: streamed files leave it at 0 or
    // 0xFFFFFFFF. The chunks are walked within the bytes actually present.
    if (!hasTag(bytes, 0, "RIFF") || !hasTag(bytes, 8, "WAVE") ||
        !hasTag(bytes, firstChunk, "fmt ")) {
        return std::nullopt;
    }
    const std::uint64_t fileSize = bytes.size();
    const std::uint64_t formatSize = readU32(bytes, firstChunk + 4);
    const std::uint64_t formatStart = firstChunk + chunkHeaderSize;
    if (formatSize > fileSize - formatStart) {
        return std::nullopt;
    }
    const auto sampleFormat =
        readFormat(bytes.substr(formatStart, static_cast<std::size_t>(formatSize)));
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
    while (at + chunkHeaderSize <= fileSize) {
        const auto pos = static_cast<std::size_t>(at);
        const std::uint64_t size = readU32(bytes, pos + 4);
        if (hasTag(bytes, pos, "data")) {
            const std::uint64_t start = at + chunkHeaderSize;
            const std::uint64_t present = std::min(size, fileSize - start);
            const std::uint64_t frames = present / sampleFormat->blockAlign;
            if (frames == 0) {
                return std::nullopt;
            }
            const std::string_view data =
                bytes.substr(static_cast<std::size_t>(start),
                             static_cast<std::size_t>(frames * sampleFormat->blockAlign));
            WaveSound sound;
            sound.format = *format;
            sound.channels = static_cast<int>(sampleFormat->channels);
            sound.sampleRate = static_cast<int>(sampleFormat->sampleRate);
            if (sampleFormat->bitsPerSample == 24) {
                sound.samples = widen24To32(data);
            } else {
                sound.samples.assign(data.begin(), data.end());
            }
            return sound;
        }
        at += chunkHeaderSize + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace quintaro
