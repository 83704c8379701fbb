#include "win32/WindowsFrontend.h"

#include <objbase.h>

#include "shell/GameShell.h"
#include "win32/Dialogs.h"
#include "win32/Media.h"
#include "win32/UiText.h"

namespace quintaro {

WindowsFrontend::WindowsFrontend() = default;

WindowsFrontend::~WindowsFrontend() {
    window_.reset();
    closed_.clear();
    if (dialog_ != nullptr && IsWindow(dialog_)) {
        DestroyWindow(dialog_);
    }
}

void WindowsFrontend::useToolkitLanguage(const std::string& /*languageCode*/) {
    // Message boxes take their button texts from the language of Windows itself.
}

void WindowsFrontend::initSound() {
    // Opening the device loads the sound system and its drivers, which would keep the first
    // window waiting: it is opened when the first sound is loaded, once a game starts.
    soundWanted_ = true;
}

void WindowsFrontend::loadSound(int number, const std::string& fileName) {
    if (soundWanted_) {
        soundWanted_ = false;
        quintaro::initSound();
    }
    quintaro::loadSound(number, fileName);
}

void WindowsFrontend::playSound(int number) {
    quintaro::playSound(number);
}

void WindowsFrontend::freeSound(int number) {
    quintaro::freeSound(number);
}

void WindowsFrontend::releaseSound() {
    quintaro::releaseSound();
}

void WindowsFrontend::freePictures() {
    quintaro::freePictures();
}

void WindowsFrontend::openDocument(const std::string& fileName) {
    quintaro::openDocument(fileName);
}

void WindowsFrontend::showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) {
    dialog_ = quintaro::showNewGameDialog(texts, events);
}

void WindowsFrontend::closeNewGameDialog() {
    if (dialog_ != nullptr && IsWindow(dialog_)) {
        DestroyWindow(dialog_);
    }
    dialog_ = nullptr;
    if (window_) {
        SetForegroundWindow(window_->handle());
    }
}

void WindowsFrontend::showInputBox(const std::string& title, const std::string& prompt,
                                   const std::string& defaultText, DialogEvents& events) {
    quintaro::showInputBox(title, prompt, defaultText,
                           [&events](InputBoxAction action, const std::string& text) {
                               events.inputBoxAnswered(action, text);
                           });
}

GameWindow& WindowsFrontend::openMainWindow(const WindowSetup& setup, WindowEvents& events) {
    window_ = std::make_unique<MainWindow>(setup, events);
    // A window that made way for this one goes once it is up.
    destroyClosedWindows();
    return *window_;
}

void WindowsFrontend::closeMainWindow() {
    // The window may be in the middle of handling its own message: it goes later.
    if (window_) {
        window_->detach();
        closed_.push_back(std::move(window_));
    }
}

void WindowsFrontend::quit() {
    quitting_ = true;
    // The window goes at once, even while the computer's turn still plays out.
    if (window_) {
        ShowWindow(window_->handle(), SW_HIDE);
    }
}

void WindowsFrontend::destroyClosedWindows() {
    closed_.clear();
}

bool WindowsFrontend::handleGameKey(const MSG& message) {
    // With the focus on no window at all, Windows hands keys to the active window as system
    // keys even without Alt (bit 29 of lParam tells Alt apart): they are keys like any other.
    const bool withoutAlt = (message.lParam & (LPARAM(1) << 29)) == 0;
    const bool keyDown = message.message == WM_KEYDOWN ||
                         (message.message == WM_SYSKEYDOWN && withoutAlt && GetFocus() == nullptr);
    const bool ours =
        window_ && (message.hwnd == window_->handle() || IsChild(window_->handle(), message.hwnd));
    return keyDown && ours && window_->handleKey(UINT(message.wParam));
}

void WindowsFrontend::dispatch(const MSG& message) {
    MSG copy = message;
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (!handleGameKey(copy) && !(isGameDialog(root) && IsDialogMessageW(root, &copy))) {
        TranslateMessage(&copy);
        DispatchMessageW(&copy);
    }
    destroyClosedWindows();
}

void WindowsFrontend::run() {
    MSG message{};
    while (!quitting_) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            break;
        }
        dispatch(message);
    }
    // A window that ends the program goes at once.
    if (window_) {
        ShowWindow(window_->handle(), SW_HIDE);
    }
}

void WindowsFrontend::processPending() {
    MSG message{};
    while (!quitting_ && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        dispatch(message);
    }
}

int runQuintaro() {
    // COM starts with the first picture, the common controls with the first control of theirs.
    {
        GameState state;
        WindowsFrontend frontend;
        GameShell shell(state, frontend);
        shell.startUp();
        frontend.run();
        shell.shutdown();
    }
    freeFonts();
    endPictures();
    return 0;
}

}  // namespace quintaro
