#include "shell/GameShell.h"

#include <cmath>

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

std::string formatTotal(double total) {
    const long tenths = std::lround(total * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(std::labs(tenths % 10));
}

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
    // The coach's table is computed in the background while the first turn begins.
    coach_.startComputing();
    turnFlow_ = std::make_unique<TurnFlow>(
        window_->board(), state_,
        TurnFlow::Hooks{[this] { frontend_.playSound(rollSound); },
                        [this](int milliseconds) { pause(milliseconds); }});
    turnFlow_->setLeaving([this] { return leaving_; });
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
    if (!turnFlow_ || pausing_) {
        return;
    }
    window_->clearHint();
    turnFlow_->roll();
    // After the second roll the keys go to the score card.
    if (window_->board().controlEnabled(ScoreCard)) {
        window_->focusScoreCard();
    }
}

void GameShell::book(int selectedRow) {
    if (!turnFlow_ || pausing_) {
        return;
    }
    window_->clearHint();
    turnFlow_->book(selectedRow);
}

void GameShell::pressKey(GameKey key) {
    if (!turnFlow_ || pausing_) {
        return;
    }
    Board& board = window_->board();
    switch (key) {
        case GameKey::Die1:
        case GameKey::Die2:
        case GameKey::Die3:
        case GameKey::Die4:
        case GameKey::Die5: {
            const int die = Die1 + (int(key) - int(GameKey::Die1));
            window_->clearHint();
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
    Board& board = window_->board();
    if (!board.controlEnabled(ScoreCard)) {
        return;
    }
    const int player = turnFlow_->currentPlayer();
    const int from = window_->selectedRow();
    // With nothing selected, Down starts above the first row and Up below the last.
    int row = from < 0 ? (step > 0 ? -1 : rowCount) : from;
    for (row += step; row >= 0 && row < rowCount; row += step) {
        if (isBookableRow(row) && !isBooked(board, row, player)) {
            window_->selectRow(row);
            return;
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
    texts_ = readWindowTexts(state_.languageFile, TextsFor::LanguageSwitch);
    Board& board = window_->board();
    window_->setMenuTexts(texts_.menu);
    board.setControlText(RollButton, texts_.roll);
    window_->setTitle(texts_.title);
    // Labels missing from the new file come out empty, not in English.
    for (int row = 0; row < rowCount; ++row) {
        board.setCellText(row, 0, texts_.rowLabels[std::size_t(row)]);
    }
    window_->setAccessibleTexts(texts_.accessible);
    const std::string code = state_.languageFile.substr(0, 2);
    frontend_.useToolkitLanguage(code);
    writeOneText(std::string(settingsFileName), "lang", code);
}

void GameShell::showHint() {
    if (!turnFlow_ || pausing_ || !coach_.ready()) {
        return;
    }
    const Board& board = window_->board();
    const int player = turnFlow_->currentPlayer();
    HintView hint;
    double best = 0;
    std::optional<double> yours;
    if (board.controlEnabled(ScoreCard)) {
        // After the second roll: the row to book.
        const std::optional<RowAdvice> advice = coach_.adviseRow(board, player);
        if (!advice) {
            return;
        }
        best = advice->bestTotal;
        hint.row = advice->bestRow;
        const int selected = window_->selectedRow();
        if (selected >= 0 && selected < int(advice->totals.size()) &&
            advice->totals[std::size_t(selected)] >= 0) {
            yours = advice->totals[std::size_t(selected)];
        }
    } else if (!board.controlEnabled(RollButton)) {
        return;
    } else if (board.controlText(Die1).empty()) {
        // Before the first roll: what the rest of the game is worth.
        const std::optional<double> expected = coach_.expectedTotal(readPosition(board, player));
        if (!expected) {
            return;
        }
        best = *expected;
    } else {
        // After the first roll: the dice to hold.
        const std::optional<HoldAdvice> advice = coach_.adviseHold(board, player);
        if (!advice) {
            return;
        }
        best = advice->bestTotal;
        hint.holdDice = advice->bestHold;
        yours = advice->totals[heldDice(board)];
    }
    hint.label = "\u2248 " + formatTotal(best);
    hint.description = texts_.hintBest + ": " + formatTotal(best);
    if (yours) {
        hint.description += "; " + texts_.hintYours + ": " + formatTotal(*yours);
    }
    window_->showHint(hint);
}

void GameShell::pause(int milliseconds) {
    pausing_ = true;
    window_->pause(milliseconds);
    pausing_ = false;
}

}  // namespace quintaro
