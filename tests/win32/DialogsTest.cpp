// The Windows edition's new-game questions, text-input box, sound loader and pictures.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>

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

using testing::ScratchFolder;

std::filesystem::path corpus(const std::string& name) {
    return std::filesystem::path(QUINTARO_TESTS_DIR) / "media" / name;
}

const std::string ivan = "\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD";  // Иван

// What a test does with an open input box.
using BoxAction = std::function<void(HWND box)>;

TEST(InputBox, AnswersAndTheirLayout) {
    struct Case {
        const char* what;
        BoxAction act;
        InputBoxAction action;
        std::string expected;
    };
    const auto type = [](const std::string& text) {
        return [text](HWND box) { testing::typeAnswer(box, text); };
    };
    const Case cases[] = {
        {"Enter keeps the default", type("Player 1"), InputBoxAction::Ok, "Player 1"},
        {"typed Cyrillic", type(ivan), InputBoxAction::Ok, ivan},
        {"empty answer", type(""), InputBoxAction::Ok, ""},
        {"OK button", [](HWND box) { testing::pressBoxButton(box, IDOK); }, InputBoxAction::Ok,
         "Player 1"},
        {"Escape", testing::escapeBox, InputBoxAction::Cancel, ""},
        {"close command", [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
         InputBoxAction::Cancel, ""},
    };
    WindowsFrontend frontend;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<std::pair<InputBoxAction, std::string>> answer;
        HWND box = showInputBox(
            "Title " + ivan, "Prompt", "Player 1",
            [&](InputBoxAction action, const std::string& text) { answer.emplace(action, text); });
        // The call returns at once, with the box open.
        ASSERT_EQ(testing::openBox(inputBoxClass), box);
        EXPECT_FALSE(answer.has_value());
        RECT outer{};
        GetWindowRect(box, &outer);
        const RECT field = testing::childRect(GetDlgItem(box, InputField));
        EXPECT_EQ(testing::windowTextOf(box), "Title " + ivan);
        EXPECT_EQ(testing::boxText(box), "Prompt");
        EXPECT_EQ(outer.left, GetSystemMetrics(SM_CXSCREEN) / 2 - 150);
        EXPECT_EQ(outer.top, GetSystemMetrics(SM_CYSCREEN) / 2 - 65);
        EXPECT_EQ(outer.right - outer.left, 300);
        EXPECT_EQ(outer.bottom - outer.top, 130);
        EXPECT_EQ(field.left, 10);
        EXPECT_EQ(field.top, 32);
        EXPECT_EQ(field.right - field.left, 275);
        EXPECT_EQ(GetWindowLongW(box, GWL_STYLE) & WS_SYSMENU, 0);
        // The caret after the last character, nothing selected.
        const DWORD selection = DWORD(SendMessageW(GetDlgItem(box, InputField), EM_GETSEL, 0, 0));
        EXPECT_EQ(LOWORD(selection), 8);
        EXPECT_EQ(HIWORD(selection), 8);
        c.act(box);
        ASSERT_TRUE(testing::waitFor(
            frontend, [&] { return answer.has_value(); },
            std::string(c.what) + ": the input box answers"));
        EXPECT_EQ(answer->first, c.action);
        EXPECT_EQ(answer->second, c.expected);
        EXPECT_FALSE(IsWindow(box));
    }
}

// Runs start-up: the new-game dialog, the mode button (or the close box for -1), then each
// input box as it opens, with the answers in order.
struct StartUp {
    StartUp(std::vector<BoxAction> answers, int mode) : shell(state, frontend) {
        shell.startUp();
        HWND dialog = frontend.newGameDialog();
        if (dialog == nullptr) {
            ADD_FAILURE() << "no new-game dialog";
            return;
        }
        if (mode < 0) {
            PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            testing::waitFor(
                frontend, [this] { return frontend.quitting(); },
                "the close box of the new-game dialog ends the program");
            return;
        }
        testing::clickButton(GetDlgItem(dialog, mode));
        for (std::size_t i = 0; i < answers.size(); ++i) {
            const std::string step = "answer " + std::to_string(i + 1);
            HWND box = nullptr;
            if (!testing::waitFor(
                    frontend, [&] { return (box = testing::openBox(inputBoxClass)) != nullptr; },
                    step + ": an input box opens")) {
                return;
            }
            // The dialog waits while the box asks.
            EXPECT_FALSE(IsWindowEnabled(dialog));
            seen.push_back({testing::windowTextOf(box), testing::boxText(box)});
            answers[i](box);
            testing::waitFor(
                frontend, [box] { return !IsWindow(box); }, step + ": the box closes");
        }
        started = testing::waitFor(
            frontend, [this] { return frontend.mainWindow() != nullptr; },
            "the main window opens after the last answer");
    }
    ~StartUp() { shell.shutdown(); }

    GameState state;
    WindowsFrontend frontend;
    GameShell shell;
    bool started = false;
    std::vector<std::pair<std::string, std::string>> seen;  // title, prompt
};

BoxAction type(const std::string& text) {
    return [text](HWND box) { testing::typeAnswer(box, text); };
}

TEST(NewGameDialog, NumberQuestionRepeatsUntilTwoToFour) {
    ScratchFolder folder;
    StartUp run({type("5"), testing::escapeBox, type("abc"), type(" 3 players"), type(ivan),
                 type(""), type(ivan)},
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
        EXPECT_EQ(run.seen[std::size_t(i)].first, "PvP mode");
        EXPECT_EQ(run.seen[std::size_t(i)].second, enterNrP);
    }
    EXPECT_EQ(run.seen[4].first, "");
    EXPECT_EQ(run.seen[4].second, testing::languageText("en.lang", "enterName"));
    // The main window took the dialog's place, with the names as column headers.
    EXPECT_EQ(FindWindowW(newGameDialogClass, nullptr), nullptr);
    ASSERT_NE(run.frontend.mainWindow(), nullptr);
    EXPECT_EQ(run.frontend.mainWindow()->board().controlText(TurnLabel), ivan);
}

TEST(NewGameDialog, AgainstTheComputerOnlyOneName) {
    ScratchFolder folder;
    StartUp run({type("Ann")}, ComputerButton);
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
    EXPECT_TRUE(run.frontend.quitting());
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
