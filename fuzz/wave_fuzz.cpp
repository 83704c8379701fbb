// The WAVE parser on arbitrary bytes: it must never crash, and whatever it accepts must be
// whole frames of a layout the sound output can play.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "media/WaveFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sound =
        quintaro::parseWave(std::string_view(reinterpret_cast<const char*>(data), size));
    if (sound) {
        const int frameBytes = sound->bytesPerFrame();
        if (sound->channels < 1 || sound->channels > 8 || sound->sampleRate < 1000 ||
            sound->sampleRate > 384000 || frameBytes <= 0 || sound->samples.empty() ||
            sound->samples.size() % static_cast<std::size_t>(frameBytes) != 0) {
            __builtin_trap();
        }
    }
    return 0;
}
