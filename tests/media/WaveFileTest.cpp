#include "media/WaveFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "tests/media/MediaTestSupport.h"

namespace quintaro {
namespace {

using Format = WaveSound::Format;

// The corpus writes byte k of every data chunk as (7k + 1) mod 256.
std::uint8_t patternByte(std::size_t k) {
    return static_cast<std::uint8_t>(7 * k + 1);
}

struct WaveCase {
    const char* file;
    bool playable;
    Format format = Format::Signed16;
    int channels = 0;
    int sampleRate = 0;
    std::size_t frames = 0;
    int bitsInFile = 0;  // 24 when the file's samples are widened on loading
};

std::ostream& operator<<(std::ostream& out, const WaveCase& c) {
    return out << c.file;
}

class WaveCorpus : public ::testing::TestWithParam<WaveCase> {};

TEST_P(WaveCorpus, ParsesAsExpected) {
    const WaveCase& c = GetParam();
    const std::string bytes = test::readBytes(test::corpusPath(std::string("wav/") + c.file));
    const auto sound = parseWave(bytes);
    if (!c.playable) {
        EXPECT_FALSE(sound.has_value());
        return;
    }
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->format, c.format);
    EXPECT_EQ(sound->channels, c.channels);
    EXPECT_EQ(sound->sampleRate, c.sampleRate);
    ASSERT_EQ(sound->samples.size(), c.frames * static_cast<std::size_t>(sound->bytesPerFrame()));
    if (c.bitsInFile == 24) {
        // Each packed sample becomes the same value in the top three bytes of 32 bits.
        for (std::size_t i = 0; i < sound->samples.size() / 4; ++i) {
            EXPECT_EQ(sound->samples[4 * i], 0) << "sample " << i;
            EXPECT_EQ(sound->samples[4 * i + 1], patternByte(3 * i)) << "sample " << i;
            EXPECT_EQ(sound->samples[4 * i + 2], patternByte(3 * i + 1)) << "sample " << i;
            EXPECT_EQ(sound->samples[4 * i + 3], patternByte(3 * i + 2)) << "sample " << i;
        }
    } else {
        for (std::size_t k = 0; k < sound->samples.size(); ++k) {
            ASSERT_EQ(sound->samples[k], patternByte(k)) << "byte " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, WaveCorpus,
    ::testing::Values(WaveCase{"pcm8_mono.wav", true, Format::Unsigned8, 1, 8000, 10},
                      WaveCase{"pcm8_stereo.wav", true, Format::Unsigned8, 2, 11025, 10},
                      WaveCase{"pcm16_mono.wav", true, Format::Signed16, 1, 22050, 10},
                      WaveCase{"pcm16_stereo.wav", true, Format::Signed16, 2, 44100, 10},
                      WaveCase{"pcm24_stereo.wav", true, Format::Signed32, 2, 48000, 10, 24},
                      WaveCase{"pcm32_mono.wav", true, Format::Signed32, 1, 96000, 10},
                      WaveCase{"float32_stereo.wav", true, Format::Float32, 2, 44100, 10},
                      WaveCase{"pcm16_fmt18.wav", true, Format::Signed16, 1, 44100, 10},
                      WaveCase{"extensible_pcm16.wav", true, Format::Signed16, 2, 44100, 10},
                      WaveCase{"extensible_pcm24_20bit.wav", true, Format::Signed32, 1, 48000, 10,
                               24},
                      WaveCase{"extensible_float.wav", true, Format::Float32, 1, 48000, 10},
                      WaveCase{"list_before_data.wav", true, Format::Signed16, 1, 22050, 10},
                      WaveCase{"odd_chunk_padded.wav", true, Format::Signed16, 1, 22050, 10},
                      WaveCase{"truncated_data.wav", true, Format::Signed16, 2, 44100, 10},
                      WaveCase{"data_size_ffffffff.wav", true, Format::Signed16, 1, 44100, 10},
                      WaveCase{"wrong_byte_rate.wav", true, Format::Signed16, 1, 22050, 10},
                      WaveCase{"extensible_unknown_guid.wav", false},
                      WaveCase{"extensible_valid_bits_too_many.wav", false},
                      WaveCase{"first_chunk_not_fmt.wav", false},
                      WaveCase{"chunk_size_huge.wav", false}, WaveCase{"data_empty.wav", false},
                      WaveCase{"no_data_chunk.wav", false}, WaveCase{"zero_channels.wav", false},
                      WaveCase{"nine_channels.wav", false}, WaveCase{"zero_rate.wav", false},
                      WaveCase{"rate_too_low.wav", false}, WaveCase{"rate_too_high.wav", false},
                      WaveCase{"wrong_block_align.wav", false}, WaveCase{"pcm12.wav", false},
                      WaveCase{"float64.wav", false}, WaveCase{"adpcm.wav", false},
                      WaveCase{"short_fmt.wav", false}, WaveCase{"fmt_past_end.wav", false},
                      WaveCase{"not_riff.wav", false}, WaveCase{"not_wave.wav", false},
                      WaveCase{"empty.wav", false}),
    [](const ::testing::TestParamInfo<WaveCase>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        return name;
    });

// A 16-bit stereo file with `dataBytes` bytes of data, the data chunk's size field true.
std::string stereo16File(std::size_t dataBytes) {
    auto u32 = [](std::uint32_t v) {
        return std::string{char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF),
                           char(v >> 24 & 0xFF)};
    };
    std::string file = "RIFF" + u32(static_cast<std::uint32_t>(36 + dataBytes)) + "WAVE";
    file += "fmt " + u32(16);
    file += std::string{1, 0, 2, 0} + u32(44100) + u32(44100 * 4) + std::string{4, 0, 16, 0};
    file += "data" + u32(static_cast<std::uint32_t>(dataBytes));
    file.resize(file.size() + dataBytes, '\x11');
    return file;
}

TEST(WaveFile, EveryCutOfAFileKeepsOnlyWholeFramesPresent) {
    const std::string whole = stereo16File(40);
    constexpr std::size_t header = 44;
    for (std::size_t length = 0; length <= whole.size(); ++length) {
        const auto sound = parseWave(std::string_view(whole).substr(0, length));
        const std::size_t frames = length < header ? 0 : (length - header) / 4;
        if (frames == 0) {
            EXPECT_FALSE(sound.has_value()) << "length " << length;
        } else {
            ASSERT_TRUE(sound.has_value()) << "length " << length;
            EXPECT_EQ(sound->samples.size(), frames * 4) << "length " << length;
        }
    }
}

TEST(WaveFile, FilesOverSixtyFourMebibytesAreRefused) {
    constexpr std::size_t header = 44;
    const std::string atLimit = stereo16File(maxWaveFileBytes - header);
    ASSERT_EQ(atLimit.size(), maxWaveFileBytes);
    const auto sound = parseWave(atLimit);
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->samples.size(), maxWaveFileBytes - header);

    const std::string overLimit = stereo16File(maxWaveFileBytes - header + 4);
    EXPECT_FALSE(parseWave(overLimit).has_value());
}

TEST(WaveFile, BytesPerFrameFollowTheKeptFormat) {
    struct Case {
        Format format;
        int channels;
        int bytes;
    };
    for (const Case& c : {Case{Format::Unsigned8, 1, 1}, Case{Format::Unsigned8, 2, 2},
                          Case{Format::Signed16, 2, 4}, Case{Format::Signed32, 2, 8},
                          Case{Format::Float32, 8, 32}}) {
        WaveSound sound;
        sound.format = c.format;
        sound.channels = c.channels;
        EXPECT_EQ(sound.bytesPerFrame(), c.bytes);
    }
}

}  // namespace
}  // namespace quintaro
