// The WAVE parser on arbitrary bytes: it must never crash, and whatever it accepts must be
// whole frames of a layout the sound output can play. The reader that loads the game's sound
// a piece at a time must agree with it on the same bytes as a file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "media/WaveFile.h"

namespace {

// The bytes as a file in a private folder, in memory where the system offers one.
std::string scratchFolder;
std::string scratchName;

void removeScratch() {
    unlink(scratchName.c_str());
    rmdir(scratchFolder.c_str());
}

const std::string& writeScratch(const std::uint8_t* data, std::size_t size) {
    if (scratchName.empty()) {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/wave_fuzz.XXXXXX";
            if (mkdtemp(pattern.data()) != nullptr) {
                scratchFolder = pattern;
                break;
            }
        }
        if (scratchFolder.empty()) {
            __builtin_trap();
        }
        scratchName = scratchFolder + "/dice.wav";
        std::atexit(removeScratch);
    }
    FILE* file = std::fopen(scratchName.c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        __builtin_trap();
    }
    return scratchName;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto sound =
        quintaro::parseWave(std::string_view(reinterpret_cast<const char*>(data), size));
    quintaro::WaveFileReader reader;
    if (reader.open(writeScratch(data, size)) != sound.has_value()) {
        __builtin_trap();
    }
    if (sound) {
        std::vector<std::uint8_t> whole;
        std::vector<std::uint8_t> piece;
        // Pieces of an odd number of frames, so that every boundary case comes up.
        while (reader.read(7, piece)) {
            whole.insert(whole.end(), piece.begin(), piece.end());
        }
        if (whole != sound->samples) {
            __builtin_trap();
        }
    }
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
