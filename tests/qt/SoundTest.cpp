#include "qt/Sound.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/media/MediaTestSupport.h"

namespace quintaro {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// The format the output asks the device for, which the disk driver grants unchanged.
constexpr int deviceRate = 44100;
constexpr std::size_t frameBytes = 4;  // 16-bit stereo

std::string u32(std::uint32_t v) {
    return {char(v & 0xFF), char(v >> 8 & 0xFF), char(v >> 16 & 0xFF), char(v >> 24 & 0xFF)};
}

// `frames` frames of 16-bit stereo in which no frame is silent, different for every `seed`.
std::string distinctFrames(std::size_t frames, int seed) {
    std::string data;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto left = static_cast<std::int16_t>(static_cast<int>(i % 30000) + 1 + seed);
        const auto right = static_cast<std::int16_t>(-static_cast<int>(i * 3 % 30000) - 1);
        for (const std::int16_t sample : {left, right}) {
            data += char(sample & 0xFF);
            data += char(sample >> 8 & 0xFF);
        }
    }
    return data;
}

std::string stereo16Wave(const std::string& data) {
    std::string file = "RIFF" + u32(static_cast<std::uint32_t>(36 + data.size())) + "WAVE";
    file += "fmt " + u32(16) + std::string{1, 0, 2, 0} + u32(deviceRate) +
            u32(deviceRate * frameBytes) + std::string{4, 0, 16, 0};
    return file + "data" + u32(static_cast<std::uint32_t>(data.size())) + data;
}

bool silentFrame(std::string_view bytes, std::size_t at) {
    return bytes.substr(at, frameBytes).find_first_not_of('\0') == std::string_view::npos;
}

// What the disk driver has written between the first and the last frame that is not silent,
// and how many bytes of silence follow it.
struct Heard {
    std::string sound;
    std::size_t silenceAfter = 0;
};

Heard listen(const std::string& written) {
    const std::size_t frames = written.size() / frameBytes;
    std::size_t first = 0;
    while (first < frames && silentFrame(written, first * frameBytes)) {
        ++first;
    }
    std::size_t end = frames;
    while (end > first && silentFrame(written, (end - 1) * frameBytes)) {
        --end;
    }
    return {written.substr(first * frameBytes, (end - first) * frameBytes),
            (frames - end) * frameBytes};
}

// Sets the sound output's driver for this process; the output reads it when it starts.
class SoundOutput : public ::testing::Test {
  protected:
    void TearDown() override { releaseSound(); }

    void startDriver(const char* driver) {
        setenv("SDL_AUDIODRIVER", driver, 1);
        initSound();
    }

    // The disk driver writes what the device plays, in real time, to a file.
    void startDiskDriver() {
        diskFile_ = folder_.path() / "played.raw";
        setenv("SDL_DISKAUDIOFILE", diskFile_.c_str(), 1);
        startDriver("disk");
        ASSERT_TRUE(soundAvailable());
    }

    // Waits until something has been heard and then `silence` bytes of silence followed,
    // or until a few seconds have passed.
    Heard waitForSilenceAfterSound(std::size_t silence) {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        Heard heard;
        do {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            heard = listen(testing::readBytes(diskFile_));
        } while (Clock::now() < deadline && (heard.sound.empty() || heard.silenceAfter < silence));
        return heard;
    }

    void waitUntilSomethingIsHeard() {
        const auto deadline = Clock::now() + std::chrono::seconds(5);
        while (Clock::now() < deadline && listen(testing::readBytes(diskFile_)).sound.empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    // Closes the output, which flushes the disk file, and returns what it heard.
    Heard stopAndListen() {
        releaseSound();
        return listen(testing::readBytes(diskFile_));
    }

    testing::TempFolder folder_;
    fs::path diskFile_;
};

constexpr std::size_t oneBuffer = 1024 * frameBytes;

TEST_F(SoundOutput, PlaysTheDataChunkUnchangedWhenTheFormatMatchesTheDevice) {
    startDiskDriver();
    const std::string data = distinctFrames(deviceRate / 5, 0);
    testing::writeBytes("dice.wav", stereo16Wave(data));
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    playSound(0);
    waitForSilenceAfterSound(2 * oneBuffer);
    const Heard heard = stopAndListen();
    ASSERT_EQ(heard.sound.size(), data.size());
    EXPECT_TRUE(heard.sound == data);
}

TEST_F(SoundOutput, ASecondPlayRestartsTheSoundInsteadOfOverlapping) {
    startDiskDriver();
    const std::size_t frames = deviceRate;  // one second: still playing when restarted
    const std::string data = distinctFrames(frames, 0);
    testing::writeBytes("dice.wav", stereo16Wave(data));
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    playSound(0);
    waitUntilSomethingIsHeard();
    playSound(0);
    waitForSilenceAfterSound(2 * oneBuffer);
    const Heard heard = stopAndListen();

    // Heard: the start of the first play, cut off, then the whole sound once from its
    // beginning. Overlapping plays would be mixed, queued ones would be heard twice in full,
    // and an ignored second play would leave just one whole sound.
    ASSERT_GT(heard.sound.size(), data.size());
    const std::size_t cut = heard.sound.size() - data.size();
    ASSERT_LT(cut, data.size());
    EXPECT_TRUE(heard.sound.compare(0, cut, data, 0, cut) == 0) << "first play, cut at " << cut;
    EXPECT_TRUE(heard.sound.compare(cut, data.size(), data) == 0) << "second play";
}

TEST_F(SoundOutput, AReplacedFilePlaysAfterFreeingAndLoadingAgain) {
    startDiskDriver();
    const std::string before = distinctFrames(deviceRate / 10, 0);
    const std::string after = distinctFrames(deviceRate / 10, 500);
    testing::writeBytes("dice.wav", stereo16Wave(before));
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    freeSound(0);
    EXPECT_FALSE(soundLoaded(0));
    testing::writeBytes("dice.wav", stereo16Wave(after));
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    playSound(0);
    waitForSilenceAfterSound(2 * oneBuffer);
    const Heard heard = stopAndListen();
    EXPECT_TRUE(heard.sound == after);
}

TEST_F(SoundOutput, AMonoSoundIsConvertedOnceToTheDevicesStereo) {
    startDiskDriver();
    // 16-bit mono at the device's rate: each sample is heard on both channels.
    std::string mono;
    const std::size_t frames = deviceRate / 10;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto sample = static_cast<std::int16_t>(static_cast<int>(i % 20000) + 100);
        mono += char(sample & 0xFF);
        mono += char(sample >> 8 & 0xFF);
    }
    std::string file = "RIFF" + u32(static_cast<std::uint32_t>(36 + mono.size())) + "WAVE";
    file += "fmt " + u32(16) + std::string{1, 0, 1, 0} + u32(deviceRate) + u32(deviceRate * 2) +
            std::string{2, 0, 16, 0};
    testing::writeBytes("dice.wav",
                        file + "data" + u32(static_cast<std::uint32_t>(mono.size())) + mono);
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    playSound(0);
    waitForSilenceAfterSound(2 * oneBuffer);
    const Heard heard = stopAndListen();
    // Both channels carry the sample; SDL's conversion goes through floating point and may
    // round a sample by one step.
    ASSERT_EQ(heard.sound.size(), frames * frameBytes);
    const auto sampleAt = [](const std::string& bytes, std::size_t i) {
        return static_cast<std::int16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    };
    for (std::size_t i = 0; i < frames; ++i) {
        const int expected = sampleAt(mono, i);
        ASSERT_NEAR(sampleAt(heard.sound, 2 * i), expected, 1) << "left, frame " << i;
        ASSERT_NEAR(sampleAt(heard.sound, 2 * i + 1), expected, 1) << "right, frame " << i;
    }
}

// A roll right after the sound was given to load (the game loads it in the background while
// the window comes up) is heard once the sound is ready, in full.
TEST_F(SoundOutput, ARollWhileTheSoundIsLoadingIsHeard) {
    startDiskDriver();
    const std::string data = distinctFrames(deviceRate / 5, 0);
    testing::writeBytes("dice.wav", stereo16Wave(data));
    loadSound(0, "dice.wav");
    playSound(0);
    waitForSilenceAfterSound(2 * oneBuffer);
    const Heard heard = stopAndListen();
    ASSERT_EQ(heard.sound.size(), data.size());
    EXPECT_TRUE(heard.sound == data);
}

// A file that would play for minutes is refused from its header, whatever its size on disk;
// ten seconds load. (The long file is sparse: nothing of it need be read.)
TEST_F(SoundOutput, SoundsLongerThanTenSecondsAreNotLoaded) {
    startDriver("dummy");
    const struct {
        std::size_t frames;
        bool loads;
    } cases[] = {{std::size_t(deviceRate) * 10, true},
                 {std::size_t(deviceRate) * 10 + 1, false},
                 {std::size_t(deviceRate) * 360, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frames);
        const std::string header = stereo16Wave("");
        std::string file = header.substr(0, header.size() - 4) +
                           u32(static_cast<std::uint32_t>(c.frames * frameBytes));
        testing::writeBytes("dice.wav", file);
        fs::resize_file("dice.wav", file.size() + c.frames * frameBytes);
        loadSound(0, "dice.wav");
        EXPECT_EQ(soundLoaded(0), c.loads);
    }
}

TEST_F(SoundOutput, PlayingAFreedSoundIsSilent) {
    startDiskDriver();
    testing::writeBytes("dice.wav", stereo16Wave(distinctFrames(deviceRate / 10, 0)));
    loadSound(0, "dice.wav");
    freeSound(0);
    playSound(0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const Heard heard = stopAndListen();
    EXPECT_TRUE(heard.sound.empty());
}

// Whatever the driver, found or not, with a device or without: nothing is printed. With
// nothing configured SDL picks the machine's own; without a card ALSA would complain.
class QuietOutput : public SoundOutput, public ::testing::WithParamInterface<const char*> {};

TEST_P(QuietOutput, NothingIsPrinted) {
    diskFile_ = folder_.path() / "played.raw";
    setenv("SDL_DISKAUDIOFILE", diskFile_.c_str(), 1);
    if (GetParam() == std::string("(unset)")) {
        unsetenv("SDL_AUDIODRIVER");
    } else {
        setenv("SDL_AUDIODRIVER", GetParam(), 1);
    }
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    initSound();
    soundAvailable();  // the device is opened in the background; this waits for it
    testing::writeBytes("dice.wav", stereo16Wave(distinctFrames(100, 0)));
    loadSound(0, "dice.wav");
    soundLoaded(0);
    playSound(0);
    releaseSound();
    const std::string out = ::testing::internal::GetCapturedStdout();
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(out, "");
    EXPECT_EQ(err, "");
}

INSTANTIATE_TEST_SUITE_P(Drivers, QuietOutput,
                         ::testing::Values("disk", "dummy", "alsa", "no_such_driver", "(unset)"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             return name == "(unset)" ? std::string("unset") : name;
                         });

TEST_F(SoundOutput, TheDummyDriverTakesEveryCall) {
    startDriver("dummy");
    ASSERT_TRUE(soundAvailable());
    testing::writeBytes("dice.wav", stereo16Wave(distinctFrames(100, 0)));
    loadSound(0, "dice.wav");
    EXPECT_TRUE(soundLoaded(0));
    playSound(0);
    playSound(0);
    playSound(1);
    freeSound(0);
    freeSound(0);
    EXPECT_FALSE(soundLoaded(0));
    initSound();  // a second start changes nothing
    EXPECT_TRUE(soundAvailable());
    releaseSound();
    EXPECT_FALSE(soundAvailable());
    releaseSound();
}

TEST_F(SoundOutput, WithoutADeviceEveryCallDoesNothing) {
    startDriver("no_such_driver");
    EXPECT_FALSE(soundAvailable());
    testing::writeBytes("dice.wav", stereo16Wave(distinctFrames(100, 0)));
    loadSound(0, "dice.wav");
    EXPECT_FALSE(soundLoaded(0));
    playSound(0);
    freeSound(0);
    // Sound stays off for the run, even if a device would now be found.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    initSound();
    EXPECT_FALSE(soundAvailable());
    releaseSound();
    releaseSound();
}

TEST_F(SoundOutput, CallsBeforeTheStartAndAfterTheReleaseAreHarmless) {
    testing::writeBytes("dice.wav", stereo16Wave(distinctFrames(100, 0)));
    loadSound(0, "dice.wav");
    EXPECT_FALSE(soundLoaded(0));
    playSound(0);
    freeSound(0);
    releaseSound();

    startDriver("dummy");
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    releaseSound();
    EXPECT_FALSE(soundLoaded(0));
    loadSound(0, "dice.wav");
    EXPECT_FALSE(soundLoaded(0));
    playSound(0);
    freeSound(0);
}

TEST_F(SoundOutput, FilesThatAreNotPlainFilesAreNotRead) {
    startDriver("dummy");
    fs::create_directory("folder.wav");
    ASSERT_EQ(mkfifo("fifo.wav", 0600), 0);
    for (const char* name : {"missing.wav", "folder.wav", "fifo.wav", ""}) {
        loadSound(0, name);  // a FIFO without a writer would block an open for reading
        EXPECT_FALSE(soundLoaded(0)) << name;
    }
}

TEST_F(SoundOutput, ReloadingAnUnplayableFileLeavesNoSound) {
    startDriver("dummy");
    testing::writeBytes("dice.wav", stereo16Wave(distinctFrames(100, 0)));
    loadSound(0, "dice.wav");
    ASSERT_TRUE(soundLoaded(0));
    testing::writeBytes("dice.wav", "RIFF");
    loadSound(0, "dice.wav");
    EXPECT_FALSE(soundLoaded(0));
}

// Every file of the WAVE corpus, loaded into the running output: the playable ones whatever
// their format (converted to the device's), none of the others.
struct LoadCase {
    const char* file;
    bool loads;
};

std::ostream& operator<<(std::ostream& out, const LoadCase& c) {
    return out << c.file;
}

class SoundCorpus : public SoundOutput, public ::testing::WithParamInterface<LoadCase> {};

TEST_P(SoundCorpus, LoadsExactlyThePlayableFiles) {
    startDriver("dummy");
    ASSERT_TRUE(soundAvailable());
    loadSound(3, testing::corpusPath(std::string("wav/") + GetParam().file).string());
    EXPECT_EQ(soundLoaded(3), GetParam().loads);
    playSound(3);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SoundCorpus,
    ::testing::Values(LoadCase{"pcm8_mono.wav", true}, LoadCase{"pcm8_stereo.wav", true},
                      LoadCase{"pcm16_mono.wav", true}, LoadCase{"pcm16_stereo.wav", true},
                      LoadCase{"pcm24_stereo.wav", true}, LoadCase{"pcm32_mono.wav", true},
                      LoadCase{"float32_stereo.wav", true}, LoadCase{"extensible_pcm16.wav", true},
                      LoadCase{"extensible_float.wav", true},
                      LoadCase{"list_before_data.wav", true}, LoadCase{"truncated_data.wav", true},
                      LoadCase{"first_chunk_not_fmt.wav", false},
                      LoadCase{"zero_channels.wav", false},
                      LoadCase{"wrong_block_align.wav", false}, LoadCase{"not_riff.wav", false},
                      LoadCase{"empty.wav", false}),
    [](const ::testing::TestParamInfo<LoadCase>& info) {
        std::string name = info.param.file;
        return name.substr(0, name.find('.'));
    });

}  // namespace
}  // namespace quintaro
