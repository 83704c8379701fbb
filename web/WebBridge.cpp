#include "web/WebBridge.h"

#include <emscripten/emscripten.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "coach/Coach.h"
#include "media/WaveFile.h"
#include "settings/KeyValueFile.h"
#include "settings/MemoryFiles.h"
#include "shell/Layout.h"
#include "shell/Menu.h"

namespace quintaro {

namespace {

Coach*& webCoach() {
    static Coach* coach = nullptr;
    return coach;
}

std::string& merged() {
    static std::string bytes;
    return bytes;
}

// The roll sound as the page's audio wants it: 32-bit floats, one channel after the other.
struct DecodedSound {
    int channels = 0;
    int sampleRate = 0;
    int frames = 0;
    std::vector<float> samples;
};

DecodedSound& sound() {
    static DecodedSound decoded;
    return decoded;
}

float sampleAt(const WaveSound& wave, std::size_t index) {
    const std::uint8_t* at = wave.samples.data();
    switch (wave.format) {
        case WaveSound::Format::Unsigned8:
            return (float(at[index]) - 128.0f) / 128.0f;
        case WaveSound::Format::Signed16: {
            const auto value =
                std::int16_t(unsigned(at[2 * index]) | unsigned(at[2 * index + 1]) << 8);
            return float(value) / 32768.0f;
        }
        case WaveSound::Format::Signed32: {
            std::uint32_t bits = 0;
            for (int b = 3; b >= 0; --b) {
                bits = bits << 8 | at[4 * index + std::size_t(b)];
            }
            return float(double(std::int32_t(bits)) / 2147483648.0);
        }
        case WaveSound::Format::Float32: {
            float value = 0;
            std::memcpy(&value, at + 4 * index, sizeof value);
            return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
        }
    }
    return 0.0f;
}

std::string& layoutText() {
    static std::string text;
    return text;
}

void appendRect(std::string& out, const char* name, const LayoutRect& rect) {
    out += '"';
    out += name;
    out += "\":[" + std::to_string(rect.x) + ',' + std::to_string(rect.y) + ',' +
           std::to_string(rect.width) + ',' + std::to_string(rect.height) + "],";
}

void appendSize(std::string& out, const char* name, const LayoutSize& size) {
    out += '"';
    out += name;
    out += "\":[" + std::to_string(size.width) + ',' + std::to_string(size.height) + "],";
}

void appendNumber(std::string& out, const char* name, int value) {
    out += '"';
    out += name;
    out += "\":" + std::to_string(value) + ',';
}

void closeObject(std::string& out) {
    if (out.back() == ',') {
        out.back() = '}';
    } else {
        out += '}';
    }
}

// The layout table as JSON, for the page to place its controls from.
std::string layoutJson(int players) {
    const MainWindowLayout main = mainWindowLayout(players);
    std::string out = "{\"main\":{";
    appendSize(out, "client", main.client);
    appendRect(out, "scoreCard", main.scoreCard);
    out += "\"columnWidths\":[";
    for (int column = 0; column < main.columns; ++column) {
        out += std::to_string(main.columnWidths[std::size_t(column)]);
        out += column + 1 < main.columns ? "," : "],";
    }
    appendNumber(out, "headerHeight", main.headerHeight);
    appendNumber(out, "rowHeight", main.rowHeight);
    appendRect(out, "rollButton", main.rollButton);
    appendRect(out, "turnLabel", main.turnLabel);
    out += "\"dice\":[";
    for (std::size_t die = 0; die < main.dice.size(); ++die) {
        const LayoutRect& rect = main.dice[die];
        out += '[' + std::to_string(rect.x) + ',' + std::to_string(rect.y) + ',' +
               std::to_string(rect.width) + ',' + std::to_string(rect.height) + ']';
        out += die + 1 < main.dice.size() ? "," : "],";
    }
    appendRect(out, "handLabel", main.handLabel);
    appendNumber(out, "hintFrameWidth", main.hintFrameWidth);
    appendNumber(out, "hintFrameRgb", int(hintFrameRgb));
    appendNumber(out, "diceFontPoints", main.diceFontPoints);
    closeObject(out);
    out += ",\"options\":{";
    const OptionsLayout& options = optionsLayout;
    appendSize(out, "client", options.client);
    appendRect(out, "handLabel", options.handLabel);
    appendRect(out, "secondsControl", options.secondsControl);
    appendRect(out, "secondsField", options.secondsField);
    appendRect(out, "secondsArrows", options.secondsArrows);
    appendRect(out, "secondsLabel", options.secondsLabel);
    appendRect(out, "strongerBox", options.strongerBox);
    appendRect(out, "applyButton", options.applyButton);
    appendRect(out, "cancelButton", options.cancelButton);
    closeObject(out);
    out += ",\"newGame\":{";
    appendSize(out, "client", newGameLayout.client);
    appendRect(out, "peopleButton", newGameLayout.peopleButton);
    appendRect(out, "computerButton", newGameLayout.computerButton);
    appendNumber(out, "pictureInset", newGameLayout.pictureInset);
    closeObject(out);
    out += ",\"inputBox\":{";
    appendSize(out, "client", inputBoxLayout.client);
    appendRect(out, "prompt", inputBoxLayout.prompt);
    appendRect(out, "field", inputBoxLayout.field);
    appendRect(out, "okButton", inputBoxLayout.okButton);
    closeObject(out);
    out += '}';
    return out;
}

// The menu bar's entries as JSON: kind, text index, item number, key text.
std::string menuJson() {
    static constexpr const char* kinds[] = {"menu", "item", "separator", "submenu", "end"};
    std::string out = "[";
    for (const MenuEntry& entry : menuBarLayout) {
        out += "{\"kind\":\"";
        out += kinds[int(entry.kind)];
        out += "\",\"text\":" + std::to_string(int(entry.text)) +
               ",\"item\":" + std::to_string(entry.item) + ",\"key\":\"" + menuKeyText(entry) +
               "\"},";
    }
    out.back() = ']';
    return out;
}

}  // namespace

void setWebCoach(Coach* coach) {
    webCoach() = coach;
}

}  // namespace quintaro

// The page is told of every save, so that it stores the queued changes under its lock.
EM_JS(void, quintaro_settings_saved, (const char* name, int queued), {
    if (Module.onSettingsSaved) {
        Module.onSettingsSaved(UTF8ToString(name), queued);
    }
});

extern "C" {

// A file the page fetched (a language file) or restored (settings.ini); missing when bytes
// is null.
EMSCRIPTEN_KEEPALIVE void quintaro_put_file(const char* name, const char* bytes, int size) {
    if (bytes == nullptr || size < 0) {
        quintaro::removeMemoryFile(name);
    } else {
        quintaro::putMemoryFile(name, std::string_view(bytes, std::size_t(size)));
    }
}

// One key of a key=value file read or written through the game's own component, as the
// shell's options and language switch do it.
EMSCRIPTEN_KEEPALIVE void quintaro_write_text(const char* name, const char* key,
                                              const char* value) {
    quintaro::writeOneText(name, key, value);
}

EMSCRIPTEN_KEEPALIVE const char* quintaro_read_text(const char* name, const char* key,
                                                    const char* defaultText) {
    quintaro::layoutText() = quintaro::readOneText(name, key, defaultText);
    return quintaro::layoutText().c_str();
}

EMSCRIPTEN_KEEPALIVE void quintaro_watch_saves() {
    quintaro::setSaveListener([](const std::string& name, std::size_t queued) {
        quintaro_settings_saved(name.c_str(), int(queued));
    });
}

// Applies the file's queued saves to the stored bytes (stored: 0 missing, 1 read, 2 not one
// to replace). Returns how many changes went in, 0 when there is nothing to store; the
// result is then at quintaro_merged_data, quintaro_merged_size bytes.
EMSCRIPTEN_KEEPALIVE int quintaro_settings_merge(const char* name, int stored, const char* bytes,
                                                 int size) {
    const quintaro::ReadResult read = stored == 1   ? quintaro::ReadResult::Read
                                      : stored == 0 ? quintaro::ReadResult::Missing
                                                    : quintaro::ReadResult::Unusable;
    const std::string_view content =
        bytes != nullptr && size > 0 ? std::string_view(bytes, std::size_t(size)) : "";
    if (!quintaro::mergeQueuedChanges(name, read, content, quintaro::merged())) {
        return 0;
    }
    return int(quintaro::queuedChanges(name));
}

EMSCRIPTEN_KEEPALIVE const char* quintaro_merged_data() {
    return quintaro::merged().data();
}

EMSCRIPTEN_KEEPALIVE int quintaro_merged_size() {
    return int(quintaro::merged().size());
}

// The merged bytes are stored for good, with the first count changes in them.
EMSCRIPTEN_KEEPALIVE void quintaro_settings_stored(const char* name, int count) {
    quintaro::dropQueuedChanges(name, std::size_t(count), quintaro::merged());
}

// The worker's table: count values at values (memory the page allocated in this module).
// Returns 1 when the coach took it.
EMSCRIPTEN_KEEPALIVE int quintaro_adopt_coach_table(const double* values, int count) {
    if (quintaro::webCoach() == nullptr || values == nullptr || count <= 0) {
        return 0;
    }
    std::optional<quintaro::CoachValueTable> table =
        quintaro::CoachValueTable::fromValues(std::vector<double>(values, values + count));
    return table && quintaro::webCoach()->adoptTable(std::move(*table)) ? 1 : 0;
}

EMSCRIPTEN_KEEPALIVE int quintaro_coach_ready() {
    return quintaro::webCoach() != nullptr && quintaro::webCoach()->ready() ? 1 : 0;
}

// Decodes the roll sound with the game's own WAVE parser, so that the same files play as on
// the desktop. Returns the number of frames (0: no sound); the samples are then at
// quintaro_sound_samples, one channel after the other.
EMSCRIPTEN_KEEPALIVE int quintaro_sound_decode(const char* bytes, int size) {
    quintaro::DecodedSound& decoded = quintaro::sound();
    decoded = {};
    if (bytes == nullptr || size <= 0) {
        return 0;
    }
    const std::optional<quintaro::WaveSound> wave =
        quintaro::parseWave(std::string_view(bytes, std::size_t(size)));
    if (!wave || wave->channels <= 0 || wave->bytesPerFrame() <= 0) {
        return 0;
    }
    const std::size_t channels = std::size_t(wave->channels);
    const std::size_t frames = wave->samples.size() / std::size_t(wave->bytesPerFrame());
    decoded.samples.resize(frames * channels);
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (std::size_t channel = 0; channel < channels; ++channel) {
            decoded.samples[channel * frames + frame] =
                quintaro::sampleAt(*wave, frame * channels + channel);
        }
    }
    decoded.channels = wave->channels;
    decoded.sampleRate = wave->sampleRate;
    decoded.frames = int(frames);
    return decoded.frames;
}

EMSCRIPTEN_KEEPALIVE int quintaro_sound_channels() {
    return quintaro::sound().channels;
}

EMSCRIPTEN_KEEPALIVE int quintaro_sound_rate() {
    return quintaro::sound().sampleRate;
}

EMSCRIPTEN_KEEPALIVE const float* quintaro_sound_samples() {
    return quintaro::sound().samples.data();
}

EMSCRIPTEN_KEEPALIVE const char* quintaro_menu() {
    quintaro::layoutText() = quintaro::menuJson();
    return quintaro::layoutText().c_str();
}

EMSCRIPTEN_KEEPALIVE const char* quintaro_layout(int players) {
    quintaro::layoutText() = quintaro::layoutJson(players);
    return quintaro::layoutText().c_str();
}
}
