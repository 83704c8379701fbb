#include "tests/support/FakeFrontend.h"

namespace quintaro::testing {

FakeWindow::FakeWindow(FakeFrontend& frontend, const WindowSetup& setup, WindowEvents& events)
    : title(setup.texts.title),
      menu(setup.texts.menu),
      frontend_(frontend),
      events_(events),
      board_(setup.playerCount) {
    for (int row = 0; row < rowCount; ++row) {
        board_.setCellText(row, 0, setup.texts.rowLabels[std::size_t(row)]);
    }
    board_.setControlText(RollButton, setup.texts.roll);
    board_.setControlText(TurnLabel, setup.turnText);
    board_.setControlEnabled(RollButton, true);
}

void FakeWindow::setTitle(const std::string& text) {
    frontend_.log.push_back("title " + text);
    title = text;
}

void FakeWindow::setMenuTexts(const std::array<std::string, menuTextCount>& texts) {
    frontend_.log.push_back("menu texts");
    menu = texts;
}

void FakeWindow::askYesNo(const std::string& caption, const std::string& text) {
    frontend_.log.push_back("ask " + caption + " / " + text);
    frontend_.later([this] { events_.yesNoAnswered(yesAnswer); });
}

void FakeWindow::showOptions(const OptionsTexts& texts, const OptionsView& view) {
    optionsTexts = texts;
    optionsShown = view;
    if (optionsOpen) {
        return;
    }
    frontend_.log.push_back("options");
    optionsOpen = true;
    frontend_.later([this] {
        // Every edit goes in from the loop; the form answers each with what to show.
        for (const OptionsEdit& edit : optionsEdits) {
            if (!optionsOpen) {
                break;
            }
            events_.optionsEdited(edit);
        }
    });
}

void FakeWindow::closeOptions() {
    frontend_.log.push_back("close options");
    optionsOpen = false;
}

void FakeWindow::startPause(int milliseconds) {
    frontend_.log.push_back("pause " + std::to_string(milliseconds));
    pauseRunning = true;
    frontend_.later([this] {
        if (!holdPause && pauseRunning) {
            pauseRunning = false;
            events_.pauseEnded();
        }
    });
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

void FakeFrontend::showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) {
    log.push_back("new-game dialog " + texts.gameMode);
    modeButtonNames = {texts.peopleButton, texts.computerButton};
    newGameDialogOpen = true;
    later([this, &events] {
        if (mode == GameMode::None) {
            events.newGameCloseRequested();
        } else {
            events.modeChosen(mode);
        }
    });
}

void FakeFrontend::closeNewGameDialog() {
    log.push_back("close new-game dialog");
    newGameDialogOpen = false;
}

void FakeFrontend::showInputBox(const std::string& title, const std::string& prompt,
                                const std::string& defaultText, DialogEvents& events) {
    questions.push_back({title, prompt, defaultText});
    later([this, &events] {
        if (answers.empty()) {
            events.inputBoxAnswered(InputBoxAction::Cancel, "ignored");
            return;
        }
        const std::string answer = answers.front();
        answers.pop_front();
        events.inputBoxAnswered(InputBoxAction::Ok, answer);
    });
}

GameWindow& FakeFrontend::openMainWindow(const WindowSetup& setup, WindowEvents& events) {
    log.push_back("open window");
    ++windowsOpened;
    window_ = std::make_unique<FakeWindow>(*this, setup, events);
    return *window_;
}

void FakeFrontend::closeMainWindow() {
    log.push_back("close window");
    if (window_) {
        window_->pauseRunning = false;
        closed_.push_back(std::move(window_));
    }
}

void FakeFrontend::quit() {
    log.push_back("quit");
    quitCalled = true;
}

void FakeFrontend::runLoop() {
    // A script that keeps asking would loop for ever; no test needs this many answers.
    for (int steps = 0; steps < 100000; ++steps) {
        if (closeMessages && window_ &&
            window_->board().messages().size() > window_->messagesClosed) {
            ++window_->messagesClosed;
            window_->events().messageClosed();
            continue;
        }
        if (due_.empty()) {
            closed_.clear();
            return;
        }
        std::function<void()> answer = std::move(due_.front());
        due_.pop_front();
        answer();
    }
}

}  // namespace quintaro::testing
