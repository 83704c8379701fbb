#include "shell/Commands.h"

#include "settings/KeyValueFile.h"

namespace quintaro {

MenuCommands::MenuCommands(GameState& state, Frontend& frontend, Hooks hooks)
    : state_(state), frontend_(frontend), hooks_(std::move(hooks)) {}

void MenuCommands::attach(GameWindow* window, AccessibleBoard* board, const WindowTexts& texts) {
    window_ = window;
    board_ = board;
    texts_ = texts;
    askingNewGame_ = false;
    options_.reset();
}

void MenuCommands::choose(int item) {
    if (window_ == nullptr) {
        return;
    }
    switch (item) {
        case NewGameItem:
            askNewGame();
            break;
        case ExitItem:
            hooks_.exit();
            break;
        case RulesItem:
            frontend_.openDocument("rules.txt");
            break;
        case AboutItem:
            showAbout();
            break;
        case OptionsItem:
            showOptions();
            break;
        case HintItem:
            hooks_.hint();
            break;
        default:
            if (isLanguageItem(item)) {
                switchLanguage(item - firstLanguageItem);
            }
            break;
    }
}

void MenuCommands::askNewGame() {
    KeyValueFile texts;
    texts.open(state_.languageFile);
    const std::string caption = texts.readText("NewGame", "");
    const std::string question = texts.readText("NewGameDesc", "");
    texts.close();
    askingNewGame_ = true;
    window_->askYesNo(caption, question);
}

void MenuCommands::yesNoAnswered(bool yes) {
    if (!askingNewGame_) {
        return;
    }
    askingNewGame_ = false;
    if (yes) {
        hooks_.newGame();
    }
}

void MenuCommands::showAbout() {
    const std::string caption = readOneText(state_.languageFile, "MenuAbout", "") + " Quintaro";
    board_->showMessage(caption, aboutText(state_.languageFile));
}

void MenuCommands::showOptions() {
    optionsTexts_ = readOptionsTexts(state_.languageFile);
    options_.emplace(state_);
    window_->showOptions(optionsTexts_, options_->view());
}

void MenuCommands::optionsEdited(const OptionsEdit& edit) {
    if (!options_) {
        return;
    }
    if (options_->edit(state_, edit) == OptionsForm::Outcome::Open) {
        window_->showOptions(optionsTexts_, options_->view());
        return;
    }
    options_.reset();
    window_->closeOptions();
}

void MenuCommands::switchLanguage(int index) {
    state_.languageFile = state_.languageFiles.at(std::size_t(index));
    texts_ = readWindowTexts(state_.languageFile, TextsFor::LanguageSwitch);
    window_->setMenuTexts(texts_.menu);
    board_->setControlText(RollButton, texts_.roll);
    window_->setTitle(texts_.title);
    // Labels missing from the new file come out empty, not in English.
    for (int row = 0; row < rowCount; ++row) {
        board_->setCellText(row, 0, texts_.rowLabels[std::size_t(row)]);
    }
    board_->refreshAll(texts_.accessible);
    const std::string code = state_.languageFile.substr(0, 2);
    frontend_.useToolkitLanguage(code);
    writeOneText(std::string(settingsFileName), "lang", code);
}

}  // namespace quintaro
