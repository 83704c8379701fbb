// The Windows edition's new-game questions, text-input box, sound loader and pictures.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "shell/GameShell.h"
#include "tests/support/Files.h"
#include "tests/support/GameSupport.h"
#include "tests/win32/WindowsTestSupport.h"
#include "win32/Dialogs.h"
#include "win32/Media.h"
#include "win32/UiText.h"
#include "win32/WindowsFrontend.h"

namespace quintaro {
namespace {

using testing::BoxAnswerer;
using testing::ScratchFolder;

std::filesystem::path corpus(const std::string& name) {
    return std::filesystem::path(QUINTARO_TESTS_DIR) / "media" / name;
}

const std::string ivan = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD";  // Иван

TEST(InputBox, AnswersAndTheirLayout) {
    struct Case {
        const char* what;
        BoxAnswerer::Answer answer;
        std::string expected;
    };
    const Case cases[] = {
        {"Enter keeps the default", BoxAnswerer::type("Player 1"), "Player 1"},
        {"typed Cyrillic", BoxAnswerer::type(ivan), ivan},
        {"empty answer", BoxAnswerer::type(""), ""},
        {"OK button", BoxAnswerer::pressButton(IDOK), "Player 1"},
        {"Escape", BoxAnswerer::escape(), ""},
        {"close command", BoxAnswerer::closeCommand(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RECT outer{};
        RECT field{};
        LONG style = 0;
        DWORD selection = 0;
        BoxAnswerer answerer({[&](HWND box) {
            GetWindowRect(box, &outer);
            field = testing::childRect(GetDlgItem(box, InputField));
            style = GetWindowLongW(box, GWL_STYLE);
            selection = DWORD(SendMessageW(GetDlgItem(box, InputField), EM_GETSEL, 0, 0));
            c.answer(box);
        }});
        EXPECT_EQ(inputBox("Title " + ivan, "Prompt", "Player 1"), c.expected);
        ASSERT_EQ(answerer.seen().size(), 1u);
        EXPECT_EQ(answerer.seen()[0].title, "Title " + ivan);
        EXPECT_EQ(answerer.seen()[0].text, "Prompt");
        EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 150);
        EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 65);
        EXPECT_EQ(outer.right - outer.left, 300);
        EXPECT_EQ(outer.bottom - outer.top, 130);
        EXPECT_EQ(field.left, 10);
        EXPECT_EQ(field.top, 32);
        EXPECT_EQ(field.right - field.left, 275);
        EXPECT_EQ(style & WS_SYSMENU, 0);
        // The caret after the last character, nothing selected.
        EXPECT_EQ(LOWORD(selection), 8);
        EXPECT_EQ(HIWORD(selection), 8);
    }
}

// Runs start-up with the new-game dialog; `dialog` acts on the dialog once it is up.
struct StartUp {
    explicit StartUp(std::vector<BoxAnswerer::Answer> answers, int mode)
        : frontend(state), shell(state, frontend) {
        BoxAnswerer answerer(std::move(answers));
        std::thread clicker([mode] {
            HWND dialog = nullptr;
            for (int i = 0; i < 200 && dialog == nullptr; ++i) {
                Sleep(20);
                dialog = FindWindowW(newGameDialogClass, nullptr);
            }
            if (dialog == nullptr) {
                return;
            }
            if (mode < 0) {
                PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            } else {
                PostMessageW(GetDlgItem(dialog, mode), BM_CLICK, 0, 0);
            }
        });
        started = shell.startUp();
        clicker.join();
        seen = answerer.seen();
    }
    ~StartUp() { shell.shutdown(); }

    GameState state;
    WindowsFrontend frontend;
    GameShell shell;
    bool started = false;
    std::vector<BoxAnswerer::Seen> seen;
};

TEST(NewGameDialog, NumberQuestionRepeatsUntilTwoToFour) {
    ScratchFolder folder;
    StartUp run({BoxAnswerer::type("5"), BoxAnswerer::escape(), BoxAnswerer::type("abc"),
                 BoxAnswerer::type(" 3 players"), BoxAnswerer::type(ivan), BoxAnswerer::type(""),
                 BoxAnswerer::type(ivan)},
                PeopleButton);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.state.computerMode, 0);
    EXPECT_EQ(run.state.playerCount, 3);
    EXPECT_EQ(run.state.playerNames[1], ivan);
    EXPECT_EQ(run.state.playerNames[2], "");
    EXPECT_EQ(run.state.playerNames[3], ivan);
    ASSERT_EQ(run.seen.size(), 7u);
    const std::string enterNrP = testing::languageText("en.lang", "enterNrP");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(run.seen[std::size_t(i)].title, "PvP mode");
        EXPECT_EQ(run.seen[std::size_t(i)].text, enterNrP);
    }
    EXPECT_EQ(run.seen[4].title, "");
    EXPECT_EQ(run.seen[4].text, testing::languageText("en.lang", "enterName"));
    // The main window took the dialog's place, with the names as column headers.
    EXPECT_EQ(FindWindowW(newGameDialogClass, nullptr), nullptr);
    ASSERT_NE(run.frontend.mainWindow(), nullptr);
    EXPECT_EQ(run.frontend.mainWindow()->board().controlText(TurnLabel), ivan);
}

TEST(NewGameDialog, AgainstTheComputerOnlyOneName) {
    ScratchFolder folder;
    StartUp run({BoxAnswerer::type("Ann")}, ComputerButton);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.state.computerMode, 1);
    EXPECT_EQ(run.state.playerCount, 2);
    EXPECT_EQ(run.state.playerNames[1], "Ann");
    EXPECT_EQ(run.state.playerNames[2], "Computer");
    EXPECT_EQ(run.seen.size(), 1u);
}

TEST(NewGameDialog, CloseBoxBeforeAChoiceStartsNoGame) {
    ScratchFolder folder;
    StartUp run({}, -1);
    EXPECT_FALSE(run.started);
    EXPECT_EQ(run.frontend.mainWindow(), nullptr);
    EXPECT_TRUE(run.seen.empty());
    EXPECT_FALSE(std::filesystem::exists("settings.ini"));
}

TEST(SoundLoader, NamedWaveFiles) {
    const struct {
        const char* file;
        bool plays;
        WORD tag;
    } cases[] = {
        {"pcm8_mono.wav", true, WAVE_FORMAT_PCM},
        {"pcm8_stereo.wav", true, WAVE_FORMAT_PCM},
        {"pcm16_mono.wav", true, WAVE_FORMAT_PCM},
        {"pcm16_stereo.wav", true, WAVE_FORMAT_PCM},
        {"pcm24_stereo.wav", true, WAVE_FORMAT_EXTENSIBLE},
        {"pcm32_mono.wav", true, WAVE_FORMAT_EXTENSIBLE},
        {"float32_stereo.wav", true, WAVE_FORMAT_EXTENSIBLE},
        {"extensible_pcm16.wav", true, WAVE_FORMAT_PCM},
        {"extensible_float.wav", true, WAVE_FORMAT_EXTENSIBLE},
        {"list_before_data.wav", true, WAVE_FORMAT_PCM},
        {"truncated_data.wav", true, WAVE_FORMAT_PCM},
        {"first_chunk_not_fmt.wav", false, 0},
        {"zero_channels.wav", false, 0},
        {"wrong_block_align.wav", false, 0},
        {"not_riff.wav", false, 0},
        {"empty.wav", false, 0},
        {"data_empty.wav", false, 0},
        {"adpcm.wav", false, 0},
        {"chunk_size_huge.wav", false, 0},
        {"data_size_ffffffff.wav", true, WAVE_FORMAT_PCM},
        {"no_data_chunk.wav", false, 0},
        {"nine_channels.wav", false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = testing::readBytes(corpus(std::string("wav/") + c.file));
        const auto data = soundData(bytes);
        ASSERT_EQ(data.has_value(), c.plays);
        if (data) {
            const WAVEFORMATEX& format = data->format.Format;
            EXPECT_EQ(format.wFormatTag, c.tag);
            EXPECT_EQ(format.nBlockAlign, format.nChannels * format.wBitsPerSample / 8);
            EXPECT_EQ(data->samples.size() % format.nBlockAlign, 0u);
            EXPECT_FALSE(data->samples.empty());
        }
    }
}

TEST(SoundLoader, MissingFilesAndNoDeviceAreSilent) {
    ScratchFolder folder;
    initSound();  // under a test machine there may be no device: either way nothing fails
    std::filesystem::create_directory("folder.wav");
    for (const char* name : {"missing.wav", "folder.wav", "", "NUL"}) {
        loadSound(0, name);
        EXPECT_FALSE(soundLoaded(0)) << name;
        playSound(0);
    }
    testing::writeBytes("dice.wav", testing::readBytes(corpus("wav/pcm16_stereo.wav")));
    loadSound(0, "dice.wav");
    EXPECT_EQ(soundLoaded(0), soundAvailable());
    playSound(0);
    playSound(0);  // a second roll restarts the sound
    freeSound(0);
    EXPECT_FALSE(soundLoaded(0));
    releaseSound();
}

TEST(Pictures, NamedPictureFiles) {
    const struct {
        const char* file;
        bool loads;
        int width;
        int height;
        COLORREF middle;  // CLR_NONE: not checked
    } cases[] = {
        {"valid.jpg", true, 48, 20, RGB(0x33, 0x66, 0xcc)},
        {"grayscale.jpg", true, 30, 10, RGB(128, 128, 128)},
        {"progressive.jpg", true, 40, 30, CLR_NONE},
        {"gradient.jpg", true, 64, 64, CLR_NONE},
        {"wide_8192.jpg", true, 8192, 8, CLR_NONE},
        {"tall_8193.jpg", false, 0, 0, CLR_NONE},
        {"huge_header.jpg", false, 0, 0, CLR_NONE},
        {"huge_30000.jpg", false, 0, 0, CLR_NONE},
        {"too_many_pixels.jpg", false, 0, 0, CLR_NONE},
        {"truncated.jpg", false, 0, 0, CLR_NONE},
        {"garbage.jpg", false, 0, 0, CLR_NONE},
        {"garbage_after_soi.jpg", false, 0, 0, CLR_NONE},
        {"empty.jpg", false, 0, 0, CLR_NONE},
        {"bm_then_jpeg.jpg", false, 0, 0, CLR_NONE},
        {"picture.bmp", true, 20, 12, RGB(0, 255, 0)},
        {"bmp_huge_header.bmp", false, 0, 0, CLR_NONE},
        {"picture.ico", true, 16, 16, CLR_NONE},
        {"icon_huge_png.ico", false, 0, 0, CLR_NONE},
    };
    // Wine's JPEG decoder refuses grey JPEGs and this 8192-pixel-wide one, which Windows
    // decodes; their refusal is no crash either.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        if (wine &&
            (std::string(c.file) == "grayscale.jpg" || std::string(c.file) == "wide_8192.jpg")) {
            continue;
        }
        const std::string bytes = testing::readBytes(corpus(std::string("pictures/") + c.file));
        HBITMAP bitmap = decodePicture(bytes);
        EXPECT_EQ(bitmap != nullptr, c.loads);
        if (bitmap == nullptr) {
            continue;
        }
        DIBSECTION dib{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), int(sizeof dib));
        EXPECT_EQ(dib.dsBm.bmWidth, c.width);
        EXPECT_EQ(dib.dsBm.bmHeight, c.height);
        EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
        if (c.middle != CLR_NONE) {
            const auto* pixels = static_cast<const unsigned char*>(dib.dsBm.bmBits);
            const unsigned char* at =
                pixels + (c.height / 2) * dib.dsBm.bmWidthBytes + (c.width / 2) * 3;
            EXPECT_NEAR(at[2], GetRValue(c.middle), 6);
            EXPECT_NEAR(at[1], GetGValue(c.middle), 6);
            EXPECT_NEAR(at[0], GetBValue(c.middle), 6);
        }
        DeleteObject(bitmap);
    }
}

TEST(Pictures, MissingCorruptAndReplacedFiles) {
    ScratchFolder folder;
    std::filesystem::create_directory("folder.jpg");
    for (const char* name : {"missing.jpg", "folder.jpg", "", "NUL"}) {
        loadPicture(0, name);
        EXPECT_EQ(pictureBitmap(0), nullptr) << name;
    }
    testing::writeBytes("pvp_0.jpg", testing::readBytes(corpus("pictures/valid.jpg")));
    loadPicture(0, "pvp_0.jpg");
    EXPECT_NE(pictureBitmap(0), nullptr);
    testing::writeBytes("pvp_0.jpg", testing::readBytes(corpus("pictures/truncated.jpg")));
    loadPicture(0, "pvp_0.jpg");
    EXPECT_EQ(pictureBitmap(0), nullptr);
    // Files beyond 64 MiB are refused before they are read.
    testing::writeBytes("pvp_0.jpg", testing::readBytes(corpus("pictures/valid.jpg")));
    std::filesystem::resize_file("pvp_0.jpg", 64u * 1024 * 1024 + 1);
    loadPicture(0, "pvp_0.jpg");
    EXPECT_EQ(pictureBitmap(0), nullptr);
    freePictures();
}

TEST(Rules, OnlyARegularFileIsHandedOn) {
    ScratchFolder folder;
    std::filesystem::create_directory("rules.txt");
    openDocument("rules.txt");  // a folder: nothing happens, nothing is started
    openDocument("missing.txt");
    openDocument("");
    SUCCEED();
}

}  // namespace
}  // namespace quintaro
