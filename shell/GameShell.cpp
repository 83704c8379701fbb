#include "shell/GameShell.h"

#include "settings/KeyValueFile.h"
#include "shell/NewGame.h"

namespace quintaro {

namespace {
constexpr const char* rollSoundFile = "dice.wav";
constexpr int rollSound = 0;
}  // namespace

GameShell::GameShell(GameState& state, Frontend& frontend) : state_(state), frontend_(frontend) {}

GameShell::~GameShell() = default;

bool GameShell::startUp() {
    state_ = loadGameState();
    frontend_.useToolkitLanguage(state_.languageCode);
    frontend_.initSound();

    const NewGameTexts texts = readNewGameTexts(state_.languageFile);
    const GameMode mode =
        frontend_.chooseGameMode(texts.gameMode, texts.peopleButton, texts.computerButton);
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
    texts_ = readWindowTexts(state_.languageFile, TextsFor::NewWindow);
    window_ = &frontend_.openMainWindow(texts_, *this);
    board_ = std::make_unique<AccessibleBoard>(window_->board(), window_->accessibleSink(),
                                               state_.playerCount, state_.playerNames);
    hintShown_ = false;
    // The coach's table is computed in the background while the first turn begins.
    coach_.startComputing();
    turnFlow_ = std::make_unique<TurnFlow>(
        *board_, state_,
        TurnFlow::Hooks{[this] { frontend_.playSound(rollSound); },
                        [this](int milliseconds) { pause(milliseconds); }});
    turnFlow_->setLeaving([this] { return leaving_; });
    // The score card opens for one booking after the second roll.
    board_->setControlEnabled(ScoreCard, false);
    board_->refreshAll(texts_.accessible);
}

void GameShell::closeWindow() {
    turnFlow_.reset();
    board_.reset();
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
    if (!turnFlow_ || pausing_) {
        return;
    }
    clearHint();
    turnFlow_->roll();
    // After the second roll the keys go to the score card.
    if (board_->controlEnabled(ScoreCard)) {
        window_->focusScoreCard();
    }
}

void GameShell::dieToggled(int die) {
    if (!board_) {
        return;
    }
    clearHint();
    board_->refreshDie(die);
}

void GameShell::book(int selectedRow) {
    if (!turnFlow_ || pausing_) {
        return;
    }
    clearHint();
    turnFlow_->book(selectedRow);
}

bool GameShell::keyPressed(PortableKey key, int focusedControl) {
    const std::optional<GameKey> action = gameKeyFor(key, focusedControl);
    if (action) {
        pressKey(*action);
    }
    return action.has_value();
}

void GameShell::pressKey(GameKey key) {
    if (!turnFlow_ || pausing_) {
        return;
    }
    Board& board = *board_;
    switch (key) {
        case GameKey::Die1:
        case GameKey::Die2:
        case GameKey::Die3:
        case GameKey::Die4:
        case GameKey::Die5: {
            const int die = Die1 + (int(key) - int(GameKey::Die1));
            clearHint();
            board.setDieHeld(die, !board.dieHeld(die));
            break;
        }
        case GameKey::Roll:
            if (board.controlEnabled(RollButton)) {
                roll();
            }
            break;
        case GameKey::Up:
            moveSelection(-1);
            break;
        case GameKey::Down:
            moveSelection(+1);
            break;
        case GameKey::Book:
            if (board.controlEnabled(ScoreCard)) {
                book(window_->selectedRow());
            }
            break;
        case GameKey::Hint:
            showHint();
            break;
    }
}

void GameShell::moveSelection(int step) {
    if (board_->controlEnabled(ScoreCard)) {
        const int row =
            nextFreeRow(*board_, turnFlow_->currentPlayer(), window_->selectedRow(), step);
        if (row >= 0) {
            window_->selectRow(row);
        }
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
        case HintItem:
            showHint();
            break;
        default:
            if (isLanguageItem(item)) {
                switchLanguage(item - firstLanguageItem);
            }
            break;
    }
}

bool GameShell::closeRequested() {
    // Input waits for the computer's pause to end; the wish to leave does not (a hand-edited
    // delay may be days long). The pause ends at once, and the rest of the computer's turn
    // shows nothing: no end-of-game message after the close box.
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
    leaving_ = true;
    frontend_.quit();
}

void GameShell::showRules() {
    frontend_.openDocument("rules.txt");
}

void GameShell::showAbout() {
    const std::string caption = readOneText(state_.languageFile, "MenuAbout", "") + " Quintaro";
    board_->showMessage(caption, aboutText(state_.languageFile));
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
    texts_ = readWindowTexts(state_.languageFile, TextsFor::LanguageSwitch);
    Board& board = *board_;
    window_->setMenuTexts(texts_.menu);
    board.setControlText(RollButton, texts_.roll);
    window_->setTitle(texts_.title);
    // Labels missing from the new file come out empty, not in English.
    for (int row = 0; row < rowCount; ++row) {
        board.setCellText(row, 0, texts_.rowLabels[std::size_t(row)]);
    }
    board_->refreshAll(texts_.accessible);
    const std::string code = state_.languageFile.substr(0, 2);
    frontend_.useToolkitLanguage(code);
    writeOneText(std::string(settingsFileName), "lang", code);
}

void GameShell::showHint() {
    if (!turnFlow_ || pausing_) {
        return;
    }
    const std::optional<HintFacts> facts =
        hintFacts(coach_, *board_, turnFlow_->currentPlayer(), window_->selectedRow());
    if (!facts) {
        return;
    }
    const HintView hint = composeHint(*facts, texts_.hintBest, texts_.hintYours);
    clearHint();
    if (hint.row >= 0) {
        window_->selectRow(hint.row);
    }
    handTextBeforeHint_ = board_->controlText(HandLabel);
    hintShown_ = true;
    board_->setControlText(HandLabel, hint.label);
    window_->frameDice(hint.holdDice);
    window_->describeHint(hint.description);
}

void GameShell::clearHint() {
    if (!hintShown_ || !board_) {
        return;
    }
    hintShown_ = false;
    window_->frameDice(0);
    window_->describeHint("");
    board_->setControlText(HandLabel, handTextBeforeHint_);
}

void GameShell::pause(int milliseconds) {
    pausing_ = true;
    window_->pause(milliseconds);
    pausing_ = false;
}

}  // namespace quintaro
