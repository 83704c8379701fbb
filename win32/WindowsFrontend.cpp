#include "win32/WindowsFrontend.h"

#include <objbase.h>

#include "shell/GameShell.h"
#include "win32/Dialogs.h"
#include "win32/Media.h"
#include "win32/UiText.h"

namespace quintaro {

WindowsFrontend::WindowsFrontend(const GameState& state) : state_(state) {}

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

GameMode WindowsFrontend::chooseGameMode(const std::string& title, const std::string& peopleName,
                                         const std::string& computerName) {
    return quintaro::chooseGameMode(title, peopleName, computerName, dialog_);
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

std::string WindowsFrontend::inputBox(const std::string& title, const std::string& prompt,
                                      const std::string& defaultText) {
    return quintaro::inputBox(title, prompt, defaultText);
}

GameWindow& WindowsFrontend::openMainWindow(const WindowTexts& texts, WindowEvents& events) {
    window_ = std::make_unique<MainWindow>(state_, texts, events);
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

void WindowsFrontend::dispatch(const MSG& message) {
    // The keys of play reach the game from whichever control of the main window has the
    // focus; with Alt or Ctrl held they are left to the menus. With the focus on no window
    // at all, Windows hands keys to the active window as system keys even without Alt (bit
    // 29 of lParam tells Alt apart): they are keys of play too.
    const bool withoutAlt = (message.lParam & (LPARAM(1) << 29)) == 0;
    const bool keyDown = message.message == WM_KEYDOWN ||
                         (message.message == WM_SYSKEYDOWN && withoutAlt && GetFocus() == nullptr);
    const bool plainKey = keyDown && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
    const bool ours =
        window_ && (message.hwnd == window_->handle() || IsChild(window_->handle(), message.hwnd));
    if (plainKey && ours && GetFocus() == nullptr) {
        // The window takes the focus back, so the next keys arrive as plain keys again.
        SetFocus(window_->handle());
    }
    if (plainKey && ours && window_->handleKey(UINT(message.wParam))) {
        destroyClosedWindows();
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
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
        WindowsFrontend frontend(state);
        GameShell shell(state, frontend);
        if (shell.startUp()) {
            frontend.run();
        }
        shell.shutdown();
    }
    freeFonts();
    endPictures();
    return 0;
}

}  // namespace quintaro
