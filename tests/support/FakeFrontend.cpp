#include "tests/support/FakeFrontend.h"

namespace quintaro::testing {

FakeWindow::FakeWindow(const GameState& state, const WindowTexts& texts,
                       std::vector<std::string>& log)
    : title(texts.title), menu(texts.menu), board_(state.playerCount), log_(log) {
    for (int row = 0; row < rowCount; ++row) {
        board_.setCellText(row, 0, texts.rowLabels[std::size_t(row)]);
    }
    board_.setControlText(RollButton, texts.roll);
    board_.setControlText(TurnLabel, state.playerNames[1]);
    board_.setControlEnabled(RollButton, true);
}

void FakeWindow::setTitle(const std::string& text) {
    log_.push_back("title " + text);
    title = text;
}

void FakeWindow::setMenuTexts(const std::array<std::string, menuTextCount>& texts) {
    log_.push_back("menu texts");
    menu = texts;
}

bool FakeWindow::askYesNo(const std::string& caption, const std::string& text) {
    log_.push_back("ask " + caption + " / " + text);
    return yesAnswer;
}

bool FakeWindow::runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                                  OptionsChoice& choice) {
    log_.push_back("options");
    optionsTexts = texts;
    optionsShownSeconds = shownSeconds;
    optionsOffered = choice;
    if (!optionsAnswer) {
        return false;
    }
    choice = *optionsAnswer;
    return true;
}

void FakeWindow::pause(int milliseconds) {
    log_.push_back("pause " + std::to_string(milliseconds));
    if (duringPause) {
        duringPause();
    }
}

void FakeFrontend::useToolkitLanguage(const std::string& languageCode) {
    log.push_back("toolkit language " + languageCode);
}
void FakeFrontend::initSound() {
    log.push_back("init sound");
}
void FakeFrontend::loadSound(int number, const std::string& fileName) {
    log.push_back("load sound " + std::to_string(number) + " " + fileName);
}
void FakeFrontend::playSound(int number) {
    log.push_back("play sound " + std::to_string(number));
}
void FakeFrontend::freeSound(int number) {
    log.push_back("free sound " + std::to_string(number));
}
void FakeFrontend::releaseSound() {
    log.push_back("release sound");
}
void FakeFrontend::freePictures() {
    log.push_back("free pictures");
}
void FakeFrontend::openDocument(const std::string& fileName) {
    log.push_back("open " + fileName);
}

GameMode FakeFrontend::chooseGameMode(const std::string& title, const std::string& peopleName,
                                      const std::string& computerName) {
    log.push_back("new-game dialog " + title);
    modeButtonNames = {peopleName, computerName};
    return mode;
}

void FakeFrontend::closeNewGameDialog() {
    log.push_back("close new-game dialog");
}

std::string FakeFrontend::inputBox(const std::string& title, const std::string& prompt,
                                   const std::string& defaultText) {
    questions.push_back({title, prompt, defaultText});
    if (answers.empty()) {
        // A script that runs out answers like Escape, which the number question repeats.
        throw std::runtime_error("the input box was asked more often than scripted");
    }
    std::string answer = answers.front();
    answers.pop_front();
    return answer;
}

GameWindow& FakeFrontend::openMainWindow(const WindowTexts& texts, WindowEvents&) {
    log.push_back("open window");
    ++windowsOpened;
    window_ = std::make_unique<FakeWindow>(*state, texts, log);
    return *window_;
}

void FakeFrontend::closeMainWindow() {
    log.push_back("close window");
    window_.reset();
}

void FakeFrontend::quit() {
    log.push_back("quit");
}

}  // namespace quintaro::testing
