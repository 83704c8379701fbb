#include "qt/Sound.h"

#include <SDL.h>
#include <dlfcn.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "media/WaveFile.h"

namespace quintaro {

namespace {

// SDL is loaded at run time, by the loader thread at the first sound: with the thirty-odd
// libraries it brings (sound servers, codecs, display servers) it would add a tenth to the
// game's memory and start-up before the first window, for a sound heard only at the first
// roll. Without the library the game is silent, as without a device.
#define QUINTARO_SDL_FUNCTIONS(X) \
    X(SDL_SetHint)                \
    X(SDL_LogSetOutputFunction)   \
    X(SDL_InitSubSystem)          \
    X(SDL_QuitSubSystem)          \
    X(SDL_OpenAudioDevice)        \
    X(SDL_CloseAudioDevice)       \
    X(SDL_PauseAudioDevice)       \
    X(SDL_LockAudioDevice)        \
    X(SDL_UnlockAudioDevice)      \
    X(SDL_MixAudioFormat)         \
    X(SDL_NewAudioStream)         \
    X(SDL_AudioStreamPut)         \
    X(SDL_AudioStreamGet)         \
    X(SDL_AudioStreamAvailable)   \
    X(SDL_AudioStreamFlush)       \
    X(SDL_FreeAudioStream)        \
    X(SDL_TLSCleanup)

struct SdlLibrary {
#define QUINTARO_SDL_POINTER(name) decltype(&::name) name = nullptr;
    QUINTARO_SDL_FUNCTIONS(QUINTARO_SDL_POINTER)
#undef QUINTARO_SDL_POINTER
};

// The library's functions, or nullptr when it is missing or lacks one of them. Loaded once
// and kept for the rest of the run.
const SdlLibrary* sdl() {
    static const SdlLibrary* const loaded = []() -> const SdlLibrary* {
        void* library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) {
            return nullptr;
        }
        static SdlLibrary functions;
        bool complete = true;
#define QUINTARO_SDL_LOAD(name)                                                  \
    functions.name = reinterpret_cast<decltype(&::name)>(dlsym(library, #name)); \
    complete = complete && functions.name != nullptr;
        QUINTARO_SDL_FUNCTIONS(QUINTARO_SDL_LOAD)
#undef QUINTARO_SDL_LOAD
        return complete ? &functions : nullptr;
    }();
    return loaded;
}

// One loaded sound in the device's own format, with its play position. The audio thread
// reads `position` and `playing`; every change from our side happens under the device lock.
struct LoadedSound {
    std::vector<Uint8> data;
    std::size_t position = 0;
    bool playing = false;
};

// A sound to load in the background, valid while its number's generation is unchanged.
struct LoadJob {
    int number = 0;
    std::string fileName;
    unsigned generation = 0;
};

// The sound output. Opening the device (a tenth of a second without a sound server) and
// loading a sound (reading, converting) happen on a loader thread, so neither the first
// window nor a new game waits for them: the device is opened at the first load, after the
// new-game dialog is up, and a roll asked for before its sound is ready plays it once it is.
//
// Lock order: `mutex`, then the device lock. The audio thread takes only the device lock.
struct Output {
    std::mutex mutex;
    std::condition_variable changed;  // a job was queued, or the loader went idle
    bool initialised = false;         // initSound has run
    bool deviceTried = false;         // the loader has tried to open the device
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec obtained{};
    std::map<int, LoadedSound> sounds;
    std::map<int, unsigned> generations;  // bumped by every load and free of a number
    std::map<int, bool> playWhenLoaded;   // rolls made while the number was loading
    std::deque<LoadJob> jobs;
    bool loaderBusy = false;
    int loadingNumber = -1;  // the number of the job the loader runs, -1 for none
    std::atomic<bool> quitting{false};
    std::thread loader;

    ~Output() { close(); }

    // Starts the loader thread if it is not running; with the mutex held.
    void startLoader();
    // Waits until every queued job is done; with the mutex held through `lock`.
    void awaitIdle(std::unique_lock<std::mutex>& lock) {
        startLoader();
        if (!deviceTried && jobs.empty()) {
            jobs.push_back(LoadJob{-1, {}, 0});  // only open the device
            changed.notify_all();
        }
        changed.wait(lock, [this] { return !loader.joinable() || (jobs.empty() && !loaderBusy); });
    }

    void close() {
        {
            const std::lock_guard lock(mutex);
            quitting = true;
            jobs.clear();
            changed.notify_all();
        }
        if (loader.joinable()) {
            loader.join();
        }
        const std::lock_guard lock(mutex);
        if (device != 0) {
            sdl()->SDL_CloseAudioDevice(device);  // waits for the audio thread to stop
            device = 0;
            sdl()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
        sounds.clear();
        generations.clear();
        playWhenLoaded.clear();
        initialised = false;
        deviceTried = false;
        loaderBusy = false;
        quitting = false;
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
            sdl()->SDL_MixAudioFormat(stream, from, out.obtained.format, static_cast<Uint32>(chunk),
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

// Whether the job has been overtaken (the number loaded again or freed) or the output is
// closing: its result would be thrown away.
bool stale(Output& out, const LoadJob& job) {
    if (out.quitting) {
        return true;
    }
    const std::lock_guard lock(out.mutex);
    return out.generations[job.number] != job.generation;
}

// The sound in the format the device plays, read and converted a piece at a time, so that
// neither the file nor an intermediate copy is ever held whole: memory stays at the
// converted sound (at most maxWaveSeconds of it) plus one piece.
std::optional<std::vector<Uint8>> readInDeviceFormat(Output& out, const LoadJob& job) {
    constexpr std::size_t framesPerPiece = 16384;
    WaveFileReader reader;
    if (!reader.open(job.fileName)) {
        return std::nullopt;
    }
    const WaveLayout& layout = reader.layout();
    const SDL_AudioSpec& device = out.obtained;
    const SDL_AudioFormat format = sdlFormat(layout.format);
    const std::size_t deviceFrameBytes = SDL_AUDIO_BITSIZE(device.format) / 8 * device.channels;
    std::vector<Uint8> converted;
    converted.reserve(static_cast<std::size_t>((layout.frames * static_cast<unsigned>(device.freq) /
                                                    static_cast<unsigned>(layout.sampleRate) +
                                                1) *
                                               deviceFrameBytes));
    std::vector<std::uint8_t> piece;
    if (format == device.format && layout.channels == device.channels &&
        layout.sampleRate == device.freq) {
        while (reader.read(framesPerPiece, piece)) {
            converted.insert(converted.end(), piece.begin(), piece.end());
        }
        return converted;
    }
    SDL_AudioStream* stream =
        sdl()->SDL_NewAudioStream(format, static_cast<Uint8>(layout.channels), layout.sampleRate,
                                  device.format, device.channels, device.freq);
    if (stream == nullptr) {
        return std::nullopt;
    }
    const auto drain = [&] {
        const int available = sdl()->SDL_AudioStreamAvailable(stream);
        if (available <= 0) {
            return true;
        }
        const std::size_t start = converted.size();
        converted.resize(start + static_cast<std::size_t>(available));
        const int got = sdl()->SDL_AudioStreamGet(stream, converted.data() + start, available);
        converted.resize(start + static_cast<std::size_t>(std::max(got, 0)));
        return got >= 0;
    };
    bool ok = true;
    while (ok && reader.read(framesPerPiece, piece)) {
        ok = !stale(out, job) &&
             sdl()->SDL_AudioStreamPut(stream, piece.data(), static_cast<int>(piece.size())) == 0 &&
             drain();
    }
    ok = ok && sdl()->SDL_AudioStreamFlush(stream) == 0 && drain();
    sdl()->SDL_FreeAudioStream(stream);
    if (!ok) {
        return std::nullopt;
    }
    converted.resize(converted.size() / deviceFrameBytes * deviceFrameBytes);
    return converted;
}

// Initialises SDL's audio subsystem and opens the default device; sound stays off when
// either fails. Runs on the loader thread; the result is published under the mutex.
void openDevice(Output& out) {
    SDL_AudioDeviceID device = 0;
    SDL_AudioSpec obtained{};
    const SdlLibrary* library = sdl();
    if (library != nullptr) {
        library->SDL_LogSetOutputFunction(discardLog, nullptr);
        // Ctrl+C and SIGTERM stay with the program (Qt), not with SDL's event queue.
        library->SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        quietenAlsa();
    }
    if (library != nullptr && library->SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        SDL_AudioSpec wanted{};
        wanted.freq = 44100;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 1024;  // about 23 ms: a restart is heard at once
        wanted.callback = fillOutput;
        wanted.userdata = &out;
        // Whatever the device prefers is taken; sounds are converted to it when loaded. A
        // driver that initialises but has no device to open (no card, no sound server)
        // fails here, and sound stays off for the run.
        device =
            sdl()->SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_ANY_CHANGE);
        if (device == 0) {
            sdl()->SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }
    const std::lock_guard lock(out.mutex);
    out.obtained = obtained;
    out.device = device;
    out.deviceTried = true;
    if (device != 0) {
        sdl()->SDL_PauseAudioDevice(device, 0);
    }
}

void runJob(Output& out, const LoadJob& job) {
    bool tried = false;
    {
        const std::lock_guard lock(out.mutex);
        tried = out.deviceTried;
    }
    if (!tried) {
        openDevice(out);
    }
    if (job.number < 0 || out.device == 0 || stale(out, job)) {
        return;
    }
    auto data = readInDeviceFormat(out, job);
    const std::lock_guard lock(out.mutex);
    if (out.generations[job.number] != job.generation || out.quitting) {
        return;
    }
    const bool play = out.playWhenLoaded[job.number];
    out.playWhenLoaded.erase(job.number);
    if (!data || data->empty()) {
        return;
    }
    LoadedSound sound;
    sound.data = std::move(*data);
    sound.playing = play;
    sdl()->SDL_LockAudioDevice(out.device);
    std::swap(out.sounds[job.number], sound);
    sdl()->SDL_UnlockAudioDevice(out.device);
}

void runLoader(Output& out) {
    std::unique_lock lock(out.mutex);
    while (!out.quitting) {
        if (out.jobs.empty()) {
            out.loaderBusy = false;
            out.changed.notify_all();
            out.changed.wait(lock, [&] { return out.quitting || !out.jobs.empty(); });
            continue;
        }
        const LoadJob job = std::move(out.jobs.front());
        out.jobs.pop_front();
        out.loaderBusy = true;
        out.loadingNumber = job.number;
        lock.unlock();
        runJob(out, job);
        lock.lock();
        out.loadingNumber = -1;
    }
    out.loaderBusy = false;
    out.changed.notify_all();
    lock.unlock();
    // SDL keeps an error text per thread; this thread is not SDL's own, so it is freed here.
    if (out.deviceTried && sdl() != nullptr) {
        sdl()->SDL_TLSCleanup();
    }
}

void Output::startLoader() {
    if (loader.joinable() || !initialised) {
        return;
    }
    try {
        loader = std::thread(runLoader, std::ref(*this));
    } catch (const std::system_error&) {
        // No thread to load on: the game stays silent.
    }
}

}  // namespace

void initSound() {
    Output& out = output();
    const std::lock_guard lock(out.mutex);
    if (out.initialised) {
        return;
    }
    // Nothing else yet: SDL is loaded and the device opened by the first load, on the loader
    // thread.
    out.initialised = true;
}

void loadSound(int number, const std::string& fileName) {
    Output& out = output();
    std::unique_lock lock(out.mutex);
    if (!out.initialised || (out.deviceTried && out.device == 0)) {
        return;
    }
    // The old sound goes first, as when it is freed; a load still queued is overtaken.
    const unsigned generation = ++out.generations[number];
    out.playWhenLoaded.erase(number);
    std::optional<LoadedSound> released;
    if (out.device != 0) {
        sdl()->SDL_LockAudioDevice(out.device);
        if (auto found = out.sounds.extract(number)) {
            released = std::move(found.mapped());
        }
        sdl()->SDL_UnlockAudioDevice(out.device);
    }
    out.startLoader();
    if (!out.loader.joinable()) {
        return;  // no thread to load on: the game stays silent
    }
    out.jobs.push_back(LoadJob{number, fileName, generation});
    out.changed.notify_all();
    lock.unlock();
}

void playSound(int number) {
    Output& out = output();
    const std::lock_guard lock(out.mutex);
    if (!out.initialised) {
        return;
    }
    if (out.device != 0) {
        sdl()->SDL_LockAudioDevice(out.device);
        const auto found = out.sounds.find(number);
        if (found != out.sounds.end()) {
            // Whatever is left of an earlier play is dropped: the sound starts over, alone.
            found->second.position = 0;
            found->second.playing = true;
        }
        sdl()->SDL_UnlockAudioDevice(out.device);
        if (found != out.sounds.end()) {
            return;
        }
    }
    // Still loading (or the device still opening): it plays as soon as it is ready.
    const bool loading = std::any_of(out.jobs.begin(), out.jobs.end(),
                                     [&](const LoadJob& job) { return job.number == number; }) ||
                         out.loadingNumber == number;
    if (loading) {
        out.playWhenLoaded[number] = true;
    }
}

void freeSound(int number) {
    Output& out = output();
    std::unique_lock lock(out.mutex);
    ++out.generations[number];
    out.playWhenLoaded.erase(number);
    if (out.device == 0) {
        return;
    }
    // Taken out under the lock, released after it: the audio thread waits only briefly.
    sdl()->SDL_LockAudioDevice(out.device);
    auto released = out.sounds.extract(number);
    sdl()->SDL_UnlockAudioDevice(out.device);
    lock.unlock();
}

void releaseSound() {
    output().close();
}

bool soundAvailable() {
    Output& out = output();
    std::unique_lock lock(out.mutex);
    if (!out.initialised) {
        return false;
    }
    out.awaitIdle(lock);
    return out.device != 0;
}

bool soundLoaded(int number) {
    Output& out = output();
    std::unique_lock lock(out.mutex);
    if (!out.initialised) {
        return false;
    }
    out.awaitIdle(lock);
    return out.sounds.count(number) != 0;
}

}  // namespace quintaro
