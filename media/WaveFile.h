#pragma once
// Our own RIFF WAVE parser: the first chunk at byte 12 must be "fmt "; the chunks after it
// are walked (pad byte after odd sizes) to "data".

#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quintaro {

inline constexpr std::size_t maxWaveFileBytes = 64u * 1024 * 1024;
// A roll sound lasts a moment; a longer file is refused from its header, before its
// samples are read (minutes of sound would take seconds and hundreds of megabytes to load).
inline constexpr int maxWaveSeconds = 10;

struct WaveSound {
    enum class Format { Unsigned8, Signed16, Signed32, Float32 };
    Format format = Format::Signed16;  // 24-bit files are converted to Signed32
    int channels = 0;
    int sampleRate = 0;
    std::vector<std::uint8_t> samples;  // whole frames only, in the format above
    int bytesPerFrame() const;
};

// Where a playable file keeps its samples and what they are.
struct WaveLayout {
    WaveSound::Format format = WaveSound::Format::Signed16;
    int channels = 0;
    int sampleRate = 0;
    unsigned bytesPerSampleInFile = 0;  // 3 for 24-bit samples, which are kept as 32-bit
    std::uint64_t dataOffset = 0;       // of the first sample in the file
    std::uint64_t frames = 0;           // whole frames present, 1 to maxWaveSeconds' worth
    std::uint64_t fileFrameBytes() const {
        return std::uint64_t{bytesPerSampleInFile} * static_cast<unsigned>(channels);
    }
};

// Reads up to `count` bytes at `offset` into `into` and returns how many it got (fewer only
// at the end of the file).
using ReadAt = std::function<std::size_t(std::uint64_t offset, char* into, std::size_t count)>;

// Reads only the headers of a file of fileSize bytes: std::nullopt when it is not a playable
// RIFF WAVE file, is larger than maxWaveFileBytes or lasts longer than maxWaveSeconds.
std::optional<WaveLayout> scanWave(const ReadAt& readAt, std::uint64_t fileSize);
// Appends whole frames of the file's samples to `out` in the format they are kept in.
void appendSamples(const WaveLayout& layout, std::string_view fileBytes,
                   std::vector<std::uint8_t>& out);

// Parses a whole file's bytes; std::nullopt when it is not a playable RIFF WAVE file.
std::optional<WaveSound> parseWave(std::string_view bytes);

// A playable file read a piece at a time, so that a sound is never held twice in memory.
class WaveFileReader {
  public:
    // Opens a regular file and reads its headers; false when it is not a playable file.
    bool open(const std::string& fileName);
    const WaveLayout& layout() const { return *layout_; }
    // The next frames (at most maxFrames) in the kept format; false at the end of the sound.
    bool read(std::size_t maxFrames, std::vector<std::uint8_t>& samples);

  private:
    std::ifstream in_;
    std::optional<WaveLayout> layout_;
    std::uint64_t framesLeft_ = 0;
    std::vector<char> buffer_;
};

}  // namespace quintaro
