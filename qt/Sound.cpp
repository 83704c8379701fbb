#include "qt/Sound.h"

#include <SDL.h>

#if defined(__linux__)
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "media/FileBytes.h"
#include "media/WaveFile.h"

namespace quintaro {

namespace {

// A sound converted to the device's format must stay within this; a longer sound (many
// minutes, or a low rate stretched to the device's) is not loaded.
constexpr std::uint64_t maxConvertedBytes = 4 * std::uint64_t{maxWaveFileBytes};

// One loaded sound in the device's own format, with its play position. The audio thread
// reads `position` and `playing`; every change from our side happens under the device lock.
struct LoadedSound {
    std::vector<Uint8> data;
    std::size_t position = 0;
    bool playing = false;
};

struct Output {
    bool initialised = false;  // initSound has run (whether or not a device opened)
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec obtained{};
    std::map<int, LoadedSound> sounds;
    // Opens the device in the background: probing the drivers takes a tenth of a second
    // without a sound server, and nothing needs the device before the first game's window.
    // An SDL thread, so that SDL frees what it keeps per thread when the thread ends.
    SDL_Thread* opener = nullptr;

    ~Output() { close(); }

    // Waits for the device to be opened (or to have failed to open).
    void settle() {
        if (opener != nullptr) {
            SDL_WaitThread(opener, nullptr);
            opener = nullptr;
        }
    }

    bool available() {
        settle();
        return device != 0;
    }

    void close() {
        settle();
        if (device != 0) {
            SDL_CloseAudioDevice(device);  // waits for the audio thread to stop
            device = 0;
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        sounds.clear();
        initialised = false;
    }
};

Output& output() {
    static Output instance;
    return instance;
}

// SDL's messages (the disk driver announces itself, for one) would land on stderr.
void discardLog(void*, int, SDL_LogPriority, const char*) {}

#if defined(__linux__)
void discardAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card ALSA prints its failure to find one on stderr before SDL hears of
// it. Its error handler is replaced by one that says nothing; SDL uses the same loaded
// library, so the handler holds. The library stays loaded for the rest of the run.
void quietenAlsa() {
    static const bool done = [] {
        void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (alsa == nullptr) {
            return false;
        }
        using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
        using SetHandler = int (*)(Handler);
        if (const auto set =
                reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) {
            set(discardAlsaMessage);
        }
        return true;
    }();
    static_cast<void>(done);
}
#else
void quietenAlsa() {}
#endif

// The audio thread: the playing sounds, each from its own position, on top of silence. A
// single sound is copied unchanged; more than one are mixed.
void fillOutput(void* userdata, Uint8* stream, int length) {
    auto& out = *static_cast<Output*>(userdata);
    const auto wanted = static_cast<std::size_t>(length);
    std::memset(stream, out.obtained.silence, wanted);
    bool first = true;
    for (auto& [number, sound] : out.sounds) {
        if (!sound.playing) {
            continue;
        }
        const std::size_t chunk = std::min(wanted, sound.data.size() - sound.position);
        const Uint8* from = sound.data.data() + sound.position;
        if (first) {
            std::memcpy(stream, from, chunk);
            first = false;
        } else {
            SDL_MixAudioFormat(stream, from, out.obtained.format, static_cast<Uint32>(chunk),
                               SDL_MIX_MAXVOLUME);
        }
        sound.position += chunk;
        if (sound.position >= sound.data.size()) {
            sound.playing = false;
        }
    }
}

SDL_AudioFormat sdlFormat(WaveSound::Format format) {
    switch (format) {
        case WaveSound::Format::Unsigned8:
            return AUDIO_U8;
        case WaveSound::Format::Signed16:
            return AUDIO_S16LSB;
        case WaveSound::Format::Signed32:
            return AUDIO_S32LSB;
        case WaveSound::Format::Float32:
            return AUDIO_F32LSB;
    }
    return AUDIO_S16LSB;
}

// The sound in the format the device plays: unchanged when it already matches, otherwise
// converted once here so that playing never converts.
std::optional<std::vector<Uint8>> toDeviceFormat(WaveSound&& wave, const SDL_AudioSpec& obtained) {
    const SDL_AudioFormat format = sdlFormat(wave.format);
    if (format == obtained.format && wave.channels == obtained.channels &&
        wave.sampleRate == obtained.freq) {
        return std::move(wave.samples);
    }
    const std::uint64_t frames = wave.samples.size() / static_cast<unsigned>(wave.bytesPerFrame());
    const std::uint64_t deviceFrameBytes =
        SDL_AUDIO_BITSIZE(obtained.format) / 8 * obtained.channels;
    const std::uint64_t expected =
        (frames * static_cast<unsigned>(obtained.freq) / static_cast<unsigned>(wave.sampleRate) +
         1) *
        deviceFrameBytes;
    if (expected > maxConvertedBytes) {
        return std::nullopt;
    }
    SDL_AudioStream* stream =
        SDL_NewAudioStream(format, static_cast<Uint8>(wave.channels), wave.sampleRate,
                           obtained.format, obtained.channels, obtained.freq);
    if (stream == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<Uint8>> converted;
    if (SDL_AudioStreamPut(stream, wave.samples.data(), static_cast<int>(wave.samples.size())) ==
            0 &&
        SDL_AudioStreamFlush(stream) == 0) {
        std::vector<Uint8> data(static_cast<std::size_t>(SDL_AudioStreamAvailable(stream)));
        const int got = SDL_AudioStreamGet(stream, data.data(), static_cast<int>(data.size()));
        if (got > 0) {
            data.resize(static_cast<std::size_t>(got) / deviceFrameBytes * deviceFrameBytes);
            converted = std::move(data);
        }
    }
    SDL_FreeAudioStream(stream);
    return converted;
}

// Initialises SDL's audio subsystem and opens the default device; sound stays off when
// either fails.
int openDevice(void* data) {
    Output& out = *static_cast<Output*>(data);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        return 0;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = 44100;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 1024;  // about 23 ms: a restart is heard at once
    wanted.callback = fillOutput;
    wanted.userdata = &out;
    // Whatever the device prefers is taken; sounds are converted to it when loaded. A
    // driver that initialises but has no device to open (no card, no sound server) fails
    // here, and sound stays off for the run.
    const SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &wanted, &out.obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
    if (device == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 0;
    }
    SDL_PauseAudioDevice(device, 0);
    out.device = device;
    return 0;
}

}  // namespace

void initSound() {
    Output& out = output();
    if (out.initialised) {
        return;
    }
    out.initialised = true;
    SDL_LogSetOutputFunction(discardLog, nullptr);
    quietenAlsa();
    // Ctrl+C and SIGTERM stay with the program (Qt), not with SDL's event queue.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    out.opener = SDL_CreateThread(openDevice, "quintaro-sound", &out);
    if (out.opener == nullptr) {
        openDevice(&out);
    }
}

void loadSound(int number, const std::string& fileName) {
    Output& out = output();
    if (!out.available()) {
        return;
    }
    freeSound(number);
    const auto bytes = readRegularFile(fileName, maxWaveFileBytes);
    if (!bytes) {
        return;
    }
    auto wave = parseWave(*bytes);
    if (!wave) {
        return;
    }
    auto data = toDeviceFormat(std::move(*wave), out.obtained);
    if (!data || data->empty()) {
        return;
    }
    LoadedSound sound;
    sound.data = std::move(*data);
    SDL_LockAudioDevice(out.device);
    out.sounds[number] = std::move(sound);
    SDL_UnlockAudioDevice(out.device);
}

void playSound(int number) {
    Output& out = output();
    if (!out.available()) {
        return;
    }
    SDL_LockAudioDevice(out.device);
    if (const auto found = out.sounds.find(number); found != out.sounds.end()) {
        // Whatever is left of an earlier play is dropped: the sound starts over, alone.
        found->second.position = 0;
        found->second.playing = true;
    }
    SDL_UnlockAudioDevice(out.device);
}

void freeSound(int number) {
    Output& out = output();
    if (!out.available()) {
        return;
    }
    SDL_LockAudioDevice(out.device);
    // Taken out under the lock, released after it: the audio thread waits only briefly.
    auto released = out.sounds.extract(number);
    SDL_UnlockAudioDevice(out.device);
}

void releaseSound() {
    output().close();
}

bool soundAvailable() {
    return output().available();
}

bool soundLoaded(int number) {
    Output& out = output();
    return out.available() && out.sounds.count(number) != 0;
}

}  // namespace quintaro
