#include "web/WebFrontend.h"

#include <emscripten/emscripten.h>

#include <cstdio>

namespace quintaro {

// Every call goes to the page's front end object (web/page/game.js), which draws it.
// clang-format off
EM_JS(void, web_call, (const char* method, const char* json), {
    const frontend = Module.frontend;
    if (frontend) {
        frontend[UTF8ToString(method)](...JSON.parse(UTF8ToString(json)));
    }
});
EM_JS(int, web_focused_control, (), {
    return Module.frontend ? Module.frontend.focusedControl() : -1;
});
// clang-format on

namespace {

int rgb(Colour colour) {
    return int(colour.red) << 16 | int(colour.green) << 8 | int(colour.blue);
}

// The arguments of one call as a JSON array.
class Args {
  public:
    Args& operator<<(const std::string& text) { return add(jsonString(text)); }
    Args& operator<<(const char* text) { return add(jsonString(text)); }
    Args& operator<<(int number) { return add(std::to_string(number)); }
    Args& operator<<(bool value) { return add(value ? "true" : "false"); }
    Args& raw(const std::string& json) { return add(json); }
    std::string text() const { return "[" + out_ + "]"; }

  private:
    Args& add(const std::string& json) {
        out_ += out_.empty() ? json : "," + json;
        return *this;
    }
    std::string out_;
};

void call(const char* method, const Args& args = {}) {
    web_call(method, args.text().c_str());
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(byte));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

// ---- the board ------------------------------------------------------------------------------

void WebBoard::setCellText(int row, int column, const std::string& text) {
    MemoryBoard::setCellText(row, column, text);
    call("setCellText", Args() << row << column << text);
}

void WebBoard::setCellColour(int row, int column, Colour colour) {
    MemoryBoard::setCellColour(row, column, colour);
    call("setCellColour", Args() << row << column << rgb(colour));
}

void WebBoard::setRowColour(int row, Colour colour) {
    for (int column = 0; column < columnCount(); ++column) {
        setCellColour(row, column, colour);
    }
}

void WebBoard::setDieHeld(int die, bool held) {
    MemoryBoard::setDieHeld(die, held);
    call("setDieHeld", Args() << die << held);
}

void WebBoard::setControlText(int control, const std::string& text) {
    MemoryBoard::setControlText(control, text);
    call("setControlText", Args() << control << text);
}

void WebBoard::setControlEnabled(int control, bool enabled) {
    MemoryBoard::setControlEnabled(control, enabled);
    call("setControlEnabled", Args() << control << enabled);
}

void WebBoard::showMessage(const std::string& caption, const std::string& text) {
    call("showMessage", Args() << caption << text);
}

// ---- screen-reader names --------------------------------------------------------------------

void WebSink::nameControl(int control, const std::string& name) {
    call("nameControl", Args() << control << name);
}

void WebSink::nameCell(int row, int column, const std::string& name) {
    call("nameCell", Args() << row << column << name);
}

void WebSink::announce(int control) {
    call("announce", Args() << control);
}

// ---- the main window ------------------------------------------------------------------------

namespace {

std::string namesJson(const WindowSetup& setup) {
    Args names;
    for (int p = 0; p <= setup.playerCount && p < int(setup.playerNames.size()); ++p) {
        names << setup.playerNames[std::size_t(p)];
    }
    return names.text();
}

std::string textsJson(const std::array<std::string, menuTextCount>& texts) {
    Args all;
    for (const std::string& text : texts) {
        all << text;
    }
    return all.text();
}

}  // namespace

WebWindow::WebWindow(const WindowSetup& setup) : board_(setup.playerCount) {
    call("openMainWindow", (Args() << setup.playerCount << setup.texts.title)
                               .raw(namesJson(setup))
                               .raw(textsJson(setup.texts.menu)));
    for (int row = 0; row < rowCount; ++row) {
        board_.setCellText(row, 0, setup.texts.rowLabels[std::size_t(row)]);
    }
    board_.setRowColour(totalRow, fixedRowColour);
    board_.setRowColour(bonusRow, fixedRowColour);
    board_.setControlText(RollButton, setup.texts.roll);
    board_.setControlText(TurnLabel, setup.turnText);
    board_.setControlEnabled(ScoreCard, false);
}

void WebWindow::setTitle(const std::string& title) {
    call("setTitle", Args() << title);
}

void WebWindow::setMenuTexts(const std::array<std::string, menuTextCount>& texts) {
    call("setMenuTexts", Args().raw(textsJson(texts)));
}

void WebWindow::askYesNo(const std::string& caption, const std::string& text) {
    call("askYesNo", Args() << caption << text);
}

void WebWindow::showOptions(const OptionsTexts& texts, const OptionsView& view) {
    call("showOptions", Args() << texts.showComputerHand << texts.seconds << texts.stronger
                               << texts.apply << texts.cancel << view.secondsText << view.stronger);
}

void WebWindow::closeOptions() {
    call("closeOptions");
}

void WebWindow::startPause(int milliseconds) {
    call("startPause", Args() << milliseconds);
}

void WebWindow::showSelection(int row) {
    call("showSelection", Args() << row);
}

int WebWindow::focusedControl() const {
    return web_focused_control();
}

void WebWindow::focusControl(int control) {
    call("focusControl", Args() << control);
}

void WebWindow::frameDice(unsigned dice) {
    call("frameDice", Args() << int(dice));
}

void WebWindow::describeHint(const std::string& description) {
    call("describeHint", Args() << description);
}

// ---- the front end --------------------------------------------------------------------------

void WebFrontend::useToolkitLanguage(const std::string& languageCode) {
    call("useLanguage", Args() << languageCode);
}

void WebFrontend::loadSound(int number, const std::string& fileName) {
    call("loadSound", Args() << number << fileName);
}

void WebFrontend::playSound(int number) {
    call("playSound", Args() << number);
}

void WebFrontend::freeSound(int number) {
    call("freeSound", Args() << number);
}

void WebFrontend::releaseSound() {
    call("freeSound", Args() << -1);
}

void WebFrontend::openDocument(const std::string& fileName) {
    call("openDocument", Args() << fileName);
}

void WebFrontend::showNewGameDialog(const NewGameTexts& texts, DialogEvents& /*events*/) {
    call("showNewGameDialog", Args()
                                  << texts.gameMode << texts.peopleButton << texts.computerButton);
}

void WebFrontend::closeNewGameDialog() {
    call("closeNewGameDialog");
}

void WebFrontend::showInputBox(const std::string& title, const std::string& prompt,
                               const std::string& defaultText, DialogEvents& /*events*/) {
    call("showInputBox", Args() << title << prompt << defaultText);
}

GameWindow& WebFrontend::openMainWindow(const WindowSetup& setup, WindowEvents& /*events*/) {
    if (window_) {
        closeMainWindow();
    }
    window_ = std::make_unique<WebWindow>(setup);
    return *window_;
}

void WebFrontend::closeMainWindow() {
    if (window_) {
        closed_.push_back(std::move(window_));
        call("closeMainWindow");
    }
}

void WebFrontend::quit() {
    quitting_ = true;
    call("quit");
}

}  // namespace quintaro
