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
    const std::string bytes = testing::readBytes(testing::corpusPath(std::string("wav/") + c.file));
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

std::string u32(std::uint32_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}

// A PCM file with `dataBytes` bytes of data (the data chunk's size field true, unless given).
std::string pcmFile(std::size_t dataBytes, int channels, int rate, int bits,
                    std::uint32_t sizeField = 0) {
    const int block = channels * bits / 8;
    std::string file = "RIFF" + u32(static_cast<std::uint32_t>(36 + dataBytes)) + "WAVE";
    file += "fmt " + u32(16) + std::string{1, 0, char(channels), 0} + u32(std::uint32_t(rate)) +
            u32(std::uint32_t(rate * block)) + std::string{char(block), 0, char(bits), 0};
    file += "data" + u32(sizeField != 0 ? sizeField : static_cast<std::uint32_t>(dataBytes));
    file.resize(file.size() + dataBytes, '\x11');
    return file;
}

// A 16-bit stereo file at 44.1 kHz with `dataBytes` bytes of data.
std::string stereo16File(std::size_t dataBytes) {
    return pcmFile(dataBytes, 2, 44100, 16);
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
    // 7.1 sound in 32-bit samples at 384 kHz: 64 MiB last less than ten seconds.
    constexpr std::size_t header = 44;
    constexpr std::size_t frame = 32;
    const std::string atLimit = pcmFile((maxWaveFileBytes - header) / frame * frame, 8, 384000, 32);
    ASSERT_LE(atLimit.size(), maxWaveFileBytes);
    const auto sound = parseWave(atLimit);
    ASSERT_TRUE(sound.has_value());
    EXPECT_EQ(sound->samples.size(), atLimit.size() - header);

    const std::string overLimit = pcmFile(atLimit.size() - header + 2 * frame, 8, 384000, 32);
    ASSERT_GT(overLimit.size(), maxWaveFileBytes);
    EXPECT_FALSE(parseWave(overLimit).has_value());
}

// A roll sound may last ten seconds; a longer one is refused from its header alone. What
// counts is the sound actually present, not what a cut file's data chunk claims.
TEST(WaveFile, SoundsLongerThanTenSecondsAreRefused) {
    const struct {
        int channels;
        int rate;
        int bits;
    } formats[] = {{1, 48000, 8}, {2, 48000, 16}, {2, 44100, 24}, {1, 1000, 16}};
    for (const auto& f : formats) {
        SCOPED_TRACE(::testing::Message() << f.channels << " x " << f.bits << " bit at " << f.rate);
        const std::size_t block = std::size_t(f.channels * f.bits / 8);
        const std::size_t tenSeconds = std::size_t(maxWaveSeconds) * std::size_t(f.rate) * block;
        EXPECT_TRUE(parseWave(pcmFile(tenSeconds, f.channels, f.rate, f.bits)).has_value());
        EXPECT_FALSE(
            parseWave(pcmFile(tenSeconds + block, f.channels, f.rate, f.bits)).has_value());
        // A data chunk claiming an hour, cut after ten seconds, plays those ten seconds.
        EXPECT_TRUE(
            parseWave(pcmFile(tenSeconds, f.channels, f.rate, f.bits, 0xFFFFFFF0u)).has_value());
    }
}

// The reader that loads the game's sound a piece at a time gives what the whole-file
// parser gives, for every file of the corpus it accepts, and refuses the same files.
TEST(WaveFile, ThePieceByPieceReaderAgreesWithTheParser) {
    for (const auto& entry : std::filesystem::directory_iterator(testing::corpusPath("wav"))) {
        SCOPED_TRACE(entry.path().filename().string());
        const auto parsed = parseWave(testing::readBytes(entry.path()));
        WaveFileReader reader;
        ASSERT_EQ(reader.open(entry.path().string()), parsed.has_value());
        if (!parsed) {
            continue;
        }
        EXPECT_EQ(reader.layout().format, parsed->format);
        EXPECT_EQ(reader.layout().channels, parsed->channels);
        EXPECT_EQ(reader.layout().sampleRate, parsed->sampleRate);
        std::vector<std::uint8_t> whole;
        std::vector<std::uint8_t> piece;
        while (reader.read(3, piece)) {
            EXPECT_EQ(piece.size() % std::size_t(parsed->bytesPerFrame()), 0u);
            whole.insert(whole.end(), piece.begin(), piece.end());
        }
        EXPECT_TRUE(whole == parsed->samples);
    }
    WaveFileReader reader;
    EXPECT_FALSE(reader.open(testing::corpusPath("wav").string()));  // a folder
    EXPECT_FALSE(reader.open("no such file.wav"));
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
