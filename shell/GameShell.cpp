#include "shell/GameShell.h"

#include "settings/KeyValueFile.h"
#include "shell/NewGame.h"

namespace quintaro {

namespace {
constexpr const char* rollSoundFile = "dice.wav";
constexpr int rollSound = 0;
}  // namespace

std::string aboutText() {
    return "Quintaro " QUINTARO_VERSION
           "\n\nA dice game for two to four players, or one player against the computer, with "
           "five dice showing 9, 10, J, Q, K and A.\n\nFree software under the MIT licence.";
}

GameShell::GameShell(GameState& state, Frontend& frontend) : state_(state), frontend_(frontend) {}

GameShell::~GameShell() = default;

bool GameShell::startUp() {
    state_ = loadGameState();
    frontend_.useToolkitLanguage(state_.languageCode);
    frontend_.initSound();

    const NewGameTexts texts = readNewGameTexts(state_.languageFile);
    const GameMode mode = frontend_.chooseGameMode(texts.gameMode);
    if (mode == GameMode::None) {
        return false;
    }
    const AskFunction ask = [this](const std::string& title, const std::string& prompt,
                                   const std::string& defaultText) {
        return frontend_.inputBox(title, prompt, defaultText);
    };
    if (mode == GameMode::People) {
        askPeople(state_, texts, ask);
    } else {
        askComputer(state_, texts, ask);
    }
    // The main window takes the dialog's place: the dialog stays on screen until it is up.
    startGame();
    frontend_.closeNewGameDialog();
    return true;
}

void GameShell::startGame() {
    frontend_.loadSound(rollSound, rollSoundFile);
    const WindowTexts texts = readWindowTexts(state_.languageFile, TextsFor::NewWindow);
    window_ = &frontend_.openMainWindow(texts, *this);
    turnFlow_ = std::make_unique<TurnFlow>(
        window_->board(), state_,
        TurnFlow::Hooks{[this] { frontend_.playSound(rollSound); },
                        [this](int milliseconds) { pause(milliseconds); }});
    // The score card opens for one booking after the second roll.
    window_->board().setControlEnabled(ScoreCard, false);
}

void GameShell::closeWindow() {
    turnFlow_.reset();
    if (window_ != nullptr) {
        window_ = nullptr;
        frontend_.closeMainWindow();
    }
}

void GameShell::shutdown() {
    frontend_.releaseSound();
    frontend_.freePictures();
    closeWindow();
}

void GameShell::roll() {
    if (turnFlow_ && !pausing_) {
        turnFlow_->roll();
    }
}

void GameShell::book(int selectedRow) {
    if (turnFlow_ && !pausing_) {
        turnFlow_->book(selectedRow);
    }
}

void GameShell::chooseMenuItem(int item) {
    // During the computer's turn and the pause after it no command is handled.
    if (pausing_ || window_ == nullptr) {
        return;
    }
    switch (item) {
        case NewGameItem:
            askNewGame();
            break;
        case ExitItem:
            exit();
            break;
        case RulesItem:
            showRules();
            break;
        case AboutItem:
            showAbout();
            break;
        case OptionsItem:
            showOptions();
            break;
        case EnglishItem:
        case GermanItem:
        case BulgarianItem:
            switchLanguage(item - EnglishItem);
            break;
        default:
            break;
    }
}

bool GameShell::closeRequested() {
    if (pausing_) {
        return false;
    }
    exit();
    return true;
}

void GameShell::askNewGame() {
    KeyValueFile texts;
    texts.open(state_.languageFile);
    const std::string caption = texts.readText("NewGame", "");
    const std::string question = texts.readText("NewGameDesc", "");
    texts.close();
    if (!window_->askYesNo(caption, question)) {
        return;
    }
    // Same players, names, mode and language; the old game is gone.
    state_.resetProgress();
    frontend_.freeSound(rollSound);
    closeWindow();
    startGame();
}

void GameShell::exit() {
    frontend_.quit();
}

void GameShell::showRules() {
    frontend_.openDocument("rules.txt");
}

void GameShell::showAbout() {
    const std::string caption = readOneText(state_.languageFile, "MenuAbout", "") + " Quintaro";
    window_->board().showMessage(caption, aboutText());
}

void GameShell::showOptions() {
    const OptionsTexts texts = readOptionsTexts(state_.languageFile);
    OptionsChoice choice = currentOptions(state_);
    if (window_->runOptionsDialog(texts, shownSeconds(state_), choice)) {
        applyOptions(state_, choice);
    }
}

void GameShell::switchLanguage(int index) {
    state_.languageFile = state_.languageFiles.at(std::size_t(index));
    const WindowTexts texts = readWindowTexts(state_.languageFile, TextsFor::LanguageSwitch);
    Board& board = window_->board();
    window_->setMenuTexts(texts.menu);
    board.setControlText(RollButton, texts.roll);
    window_->setTitle(texts.title);
    // Labels missing from the new file come out empty, not in English.
    for (int row = 0; row < rowCount; ++row) {
        board.setCellText(row, 0, texts.rowLabels[std::size_t(row)]);
    }
    const std::string code = state_.languageFile.substr(0, 2);
    frontend_.useToolkitLanguage(code);
    writeOneText(std::string(settingsFileName), "lang", code);
}

void GameShell::pause(int milliseconds) {
    pausing_ = true;
    window_->pause(milliseconds);
    pausing_ = false;
}

}  // namespace quintaro
