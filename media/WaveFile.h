#pragma once
// Our own RIFF WAVE parser: the first chunk at byte 12 must be "fmt "; the chunks after it
// are walked (pad byte after odd sizes) to "data".

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quintaro {

inline constexpr std::size_t maxWaveFileBytes = 64u * 1024 * 1024;

struct WaveSound {
    enum class Format { Unsigned8, Signed16, Signed32, Float32 };
    Format format = Format::Signed16;  // 24-bit files are converted to Signed32
    int channels = 0;
    int sampleRate = 0;
    std::vector<std::uint8_t> samples;  // whole frames only, in the format above
    int bytesPerFrame() const;
};

// Parses a whole file's bytes; std::nullopt when it is not a playable RIFF WAVE file.
std::optional<WaveSound> parseWave(std::string_view bytes);

}  // namespace quintaro
