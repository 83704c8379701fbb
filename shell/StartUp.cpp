#include "shell/StartUp.h"

namespace quintaro {

std::string inputBoxAnswer(InputBoxAction action, const std::string& text) {
    return action == InputBoxAction::Ok ? text : std::string();
}

StartUp::StartUp(GameState& state, Frontend& frontend) : state_(state), frontend_(frontend) {}

void StartUp::begin(DialogEvents& events, std::function<void()> ready,
                    std::function<void()> leave) {
    events_ = &events;
    ready_ = std::move(ready);
    leave_ = std::move(leave);
    state_ = loadGameState();
    frontend_.useToolkitLanguage(state_.languageCode);
    frontend_.initSound();
    const NewGameTexts texts = readNewGameTexts(state_.languageFile);
    questions_.emplace(state_, texts);
    phase_ = Phase::ChoosingMode;
    dialogShown_ = true;
    frontend_.showNewGameDialog(texts, events);
}

void StartUp::closeDialog() {
    if (dialogShown_) {
        dialogShown_ = false;
        frontend_.closeNewGameDialog();
    }
}

void StartUp::modeChosen(GameMode mode) {
    if (phase_ != Phase::ChoosingMode || mode == GameMode::None) {
        return;
    }
    phase_ = Phase::Asking;
    ask(questions_->begin(mode == GameMode::Computer));
}

void StartUp::closeRequested() {
    // Before a mode is chosen the close box ends the program: no game starts. While the
    // questions are asked it does nothing; they have to be answered first.
    if (phase_ != Phase::ChoosingMode) {
        return;
    }
    phase_ = Phase::Idle;
    closeDialog();
    leave_();
}

void StartUp::answered(InputBoxAction action, const std::string& text) {
    if (phase_ != Phase::Asking) {
        return;
    }
    if (const std::optional<InputQuestion> next =
            questions_->answer(inputBoxAnswer(action, text))) {
        ask(*next);
        return;
    }
    phase_ = Phase::Idle;
    ready_();
}

void StartUp::ask(const InputQuestion& question) {
    frontend_.showInputBox(question.title, question.prompt, question.defaultText, *events_);
}

}  // namespace quintaro
