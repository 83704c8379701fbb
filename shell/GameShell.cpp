#include "shell/GameShell.h"

namespace quintaro {

namespace {
constexpr const char* rollSoundFile = "dice.wav";
constexpr int rollSound = 0;
}  // namespace

GameShell::GameShell(GameState& state, Frontend& frontend)
    : state_(state),
      frontend_(frontend),
      startUp_(state, frontend),
      commands_(state, frontend,
                {[this] { newGame(); }, [this] { exit(); }, [this] { showHint(); }}) {}

GameShell::~GameShell() = default;

void GameShell::startUp() {
    startUp_.begin(
        *this,
        [this] {
            // The main window takes the dialog's place: the dialog stays on screen until it is up.
            startGame();
            startUp_.closeDialog();
        },
        [this] { exit(); });
}

void GameShell::startGame() {
    frontend_.loadSound(rollSound, rollSoundFile);
    WindowSetup setup{readWindowTexts(state_.languageFile, TextsFor::NewWindow), state_.playerCount,
                      state_.playerNames, state_.playerNames[1]};
    window_ = &frontend_.openMainWindow(setup, *this);
    board_ = std::make_unique<AccessibleBoard>(window_->board(), window_->accessibleSink(),
                                               state_.playerCount, state_.playerNames);
    input_ = std::make_unique<InputRouter>(*window_, *board_);
    board_->onMessage = [this] { ++messagesOpen_; };
    commands_.attach(window_, board_.get(), setup.texts);
    hint_ = {};
    messagesOpen_ = 0;
    // The coach's table is computed in the background while the first turn begins.
    coach_.startComputing();
    turnFlow_ = std::make_unique<TurnFlow>(
        *board_, state_,
        TurnFlow::Hooks{[this] { frontend_.playSound(rollSound); },
                        [this](int milliseconds) { window_->startPause(milliseconds); }});
    // The score card opens for one booking after the second roll.
    board_->setControlEnabled(ScoreCard, false);
    board_->refreshAll(setup.texts.accessible);
    input_->focus(RollButton);
}

void GameShell::closeWindow() {
    commands_.attach(nullptr, nullptr, commands_.texts());
    turnFlow_.reset();
    input_.reset();
    board_.reset();
    if (window_ != nullptr) {
        window_ = nullptr;
        frontend_.closeMainWindow();
    }
}

void GameShell::shutdown() {
    frontend_.releaseSound();
    frontend_.freePictures();
    startUp_.closeDialog();
    closeWindow();
}

bool GameShell::takesInput() const {
    return turnFlow_ && !leaving_ && !turnFlow_->pausing() && messagesOpen_ == 0 &&
           !commands_.asking();
}

void GameShell::roll() {
    if (!takesInput() || !board_->controlEnabled(RollButton)) {
        return;
    }
    clearHint();
    turnFlow_->roll();
    // After the second roll the keys go to the score card.
    if (board_->controlEnabled(ScoreCard)) {
        input_->focus(ScoreCard);
    }
}

void GameShell::dieClicked(int die) {
    if (!takesInput() || die < Die1 || die > Die5) {
        return;
    }
    clearHint();
    board_->setDieHeld(die, !board_->dieHeld(die));
}

void GameShell::rowClicked(int row) {
    if (!takesInput() || !board_->controlEnabled(ScoreCard) || row < 0) {
        return;
    }
    input_->select(row);
    book(row);
}

void GameShell::book(int row) {
    clearHint();
    turnFlow_->book(row);
}

bool GameShell::keyPressed(const KeyEvent& key) {
    const std::optional<GameKey> action = gameKeyFor(key);
    if (action) {
        pressKey(*action);
    }
    return action.has_value();
}

void GameShell::pressKey(GameKey key) {
    if (!takesInput()) {
        return;
    }
    switch (key) {
        case GameKey::Die1:
        case GameKey::Die2:
        case GameKey::Die3:
        case GameKey::Die4:
        case GameKey::Die5:
            dieClicked(Die1 + (int(key) - int(GameKey::Die1)));
            break;
        case GameKey::Roll:
            roll();
            break;
        case GameKey::Up:
        case GameKey::Down:
            input_->moveSelection(*board_, turnFlow_->currentPlayer(), key == GameKey::Up ? -1 : 1);
            break;
        case GameKey::Book:
            if (board_->controlEnabled(ScoreCard) && input_->selectedRow() >= 0) {
                book(input_->selectedRow());
            }
            break;
        case GameKey::Hint:
            showHint();
            break;
    }
}

void GameShell::chooseMenuItem(int item) {
    // No command during the computer's turn, its pause, or while a box is open.
    if (takesInput()) {
        commands_.choose(item);
    }
}

bool GameShell::closeRequested() {
    // Even in the computer's pause (a hand-edited delay may be days long): the rest of its
    // turn then shows nothing, not even the end of the game.
    exit();
    return true;
}

void GameShell::pauseEnded() {
    if (turnFlow_ && !leaving_) {
        turnFlow_->pauseEnded();
    }
}

void GameShell::modeChosen(GameMode mode) {
    startUp_.modeChosen(mode);
}

void GameShell::newGameCloseRequested() {
    startUp_.closeRequested();
}

void GameShell::inputBoxAnswered(InputBoxAction action, const std::string& text) {
    startUp_.answered(action, text);
}

void GameShell::yesNoAnswered(bool yes) {
    commands_.yesNoAnswered(yes);
}

void GameShell::messageClosed() {
    messagesOpen_ = messagesOpen_ > 0 ? messagesOpen_ - 1 : 0;
}

void GameShell::optionsEdited(const OptionsEdit& edit) {
    commands_.optionsEdited(edit);
}

void GameShell::newGame() {
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

void GameShell::showHint() {
    if (!takesInput()) {
        return;
    }
    const WindowTexts& texts = commands_.texts();
    const std::optional<HintView> hint =
        advice(coach_, *board_, turnFlow_->currentPlayer(), input_->selectedRow(), texts.hintBest,
               texts.hintYours);
    if (hint) {
        clearHint();
        if (hint->row >= 0) {
            input_->select(hint->row);
        }
        hint_.show(*window_, *board_, *hint);
    }
}

void GameShell::clearHint() {
    if (board_) {
        hint_.clear(*window_, *board_);
    }
}

}  // namespace quintaro
