#include "win32/Dialogs.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <vector>

#include "settings/KeyValueFile.h"
#include "win32/Media.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {

HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style, int x,
                int y, int width, int height, int id, DWORD extendedStyle = 0) {
    HWND control = CreateWindowExW(
        extendedStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    useFont(control, guiFont());
    return control;
}

// Runs messages until done is set; dialog keys (Tab, Enter, Escape) go to `dialog`.
void runModalLoop(HWND dialog, const bool& done) {
    MSG message{};
    while (!done) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            // WM_QUIT belongs to the outer loop: put it back and leave.
            if (got == 0) {
                PostQuitMessage(int(message.wParam));
            }
            return;
        }
        if (IsWindow(dialog) && IsDialogMessageW(dialog, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// ---- Text-input box ----------------------------------------------------------------------

struct InputBoxState {
    bool done = false;
    bool accepted = false;
    std::string text;
};

LRESULT CALLBACK inputBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (state != nullptr && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                state->accepted = LOWORD(wParam) == IDOK;
                if (state->accepted) {
                    state->text = windowText(GetDlgItem(window, InputField));
                }
                state->done = true;
            }
            return 0;
        case WM_CLOSE:
            // The system's close command answers with an empty text, like Escape.
            if (state != nullptr) {
                state->done = true;
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

BOOL CALLBACK collectEnabledWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

}  // namespace

std::string inputBox(const std::string& title, const std::string& prompt,
                     const std::string& defaultText) {
    registerWindowClass(inputBoxClass, inputBoxProcedure);
    // The box belongs to the program's window in front, and keeps every other one of its
    // windows from taking input while it is open.
    HWND owner = GetActiveWindow();
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), collectEnabledWindow,
                      reinterpret_cast<LPARAM>(&disabled));

    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 150;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - 65;
    HWND box =
        CreateWindowExW(WS_EX_DLGMODALFRAME, inputBoxClass, widen(title).c_str(),
                        WS_POPUP | WS_CAPTION, x, y, 300, 130, owner, nullptr, instance(), nullptr);
    InputBoxState state;
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    addControl(box, L"STATIC", widen(prompt), SS_LEFTNOWORDWRAP | SS_NOPREFIX, 10, 10, 280, 22,
               InputPrompt);
    HWND field = addControl(box, L"EDIT", widen(defaultText), WS_TABSTOP | ES_AUTOHSCROLL, 10, 32,
                            275, 21, InputField, WS_EX_CLIENTEDGE);
    addControl(box, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 110, 67, 80, 25, IDOK);

    for (HWND window : disabled) {
        EnableWindow(window, FALSE);
    }
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    SetFocus(field);
    // The caret after the last character, nothing selected.
    const LRESULT length = SendMessageW(field, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(field, EM_SETSEL, WPARAM(length), LPARAM(length));

    runModalLoop(box, state.done);

    for (HWND window : disabled) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
    if (owner != nullptr && IsWindow(owner)) {
        SetActiveWindow(owner);
    }
    DestroyWindow(box);
    return state.accepted ? state.text : std::string();
}

// ---- Picture buttons ---------------------------------------------------------------------

void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    int inset = 2;
    HTHEME theme = IsAppThemed() ? OpenThemeData(item.hwndItem, L"BUTTON") : nullptr;
    if (theme != nullptr) {
        const int state = pressed                                ? PBS_PRESSED
                          : (item.itemState & ODS_DISABLED) != 0 ? PBS_DISABLED
                          : (item.itemState & ODS_HOTLIGHT) != 0 ? PBS_HOT
                          : (item.itemState & ODS_FOCUS) != 0    ? PBS_DEFAULTED
                                                                 : PBS_NORMAL;
        DrawThemeParentBackground(item.hwndItem, dc, &frame);
        DrawThemeBackground(theme, dc, BP_PUSHBUTTON, state, &frame, nullptr);
        CloseThemeData(theme);
        inset = 4;
    } else {
        DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    }
    if (picture != nullptr) {
        BITMAP size{};
        GetObjectW(picture, sizeof size, &size);
        const int width = frame.right - frame.left;
        const int height = frame.bottom - frame.top;
        int x = frame.left + (width - size.bmWidth) / 2;
        int y = frame.top + (height - size.bmHeight) / 2;
        if (pressed) {
            ++x;
            ++y;
        }
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, frame.left + inset, frame.top + inset, frame.right - inset,
                          frame.bottom - inset);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ previous = SelectObject(source, picture);
        BitBlt(dc, x, y, size.bmWidth, size.bmHeight, source, 0, 0, SRCCOPY);
        SelectObject(source, previous);
        DeleteDC(source);
        RestoreDC(dc, saved);
    }
    if ((item.itemState & ODS_FOCUS) != 0) {
        RECT focus = frame;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
}

// ---- New-game dialog ---------------------------------------------------------------------

namespace {

enum class Mode { None, People, Computer };

struct NewGameState {
    Mode chosen = Mode::None;
    bool closeRequested = false;
    bool asking = false;
    bool done = false;
};

LRESULT CALLBACK newGameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<NewGameState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (state != nullptr && !state->asking && state->chosen == Mode::None &&
                HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                if (LOWORD(wParam) == PeopleButton) {
                    state->chosen = Mode::People;
                } else if (LOWORD(wParam) == ComputerButton) {
                    state->chosen = Mode::Computer;
                }
                state->done = state->chosen != Mode::None;
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            drawPictureButton(*item, pictureBitmap(int(item->CtlID)));
            return TRUE;
        }
        case WM_CLOSE:
            // Before a mode is chosen the close box ends the program; while the questions
            // are asked it does nothing.
            if (state != nullptr && !state->asking && state->chosen == Mode::None) {
                state->closeRequested = true;
                state->done = true;
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

void askPeople(GameState& state, const std::string& enterNrP, const std::string& enterName) {
    state.computerMode = 0;
    // Only a number from 2 to 4 leaves this question; Escape answers "" which reads as 0.
    while (state.playerCount < 2 || state.playerCount > 4) {
        state.playerCount = textToNumber(inputBox("PvP mode", enterNrP, "2"));
    }
    for (int i = 1; i <= state.playerCount; ++i) {
        state.playerNames[std::size_t(i)] = inputBox("", enterName, "Player " + std::to_string(i));
    }
}

void askComputer(GameState& state, const std::string& enterName) {
    state.computerMode = 1;
    state.playerCount = 2;
    state.playerNames[1] = inputBox("", enterName, "Player 1");
    state.playerNames[2] = "Computer";
}

}  // namespace

HWND runNewGameDialog(GameState& state) {
    KeyValueFile texts;
    texts.open(state.languageFile);
    const std::string enterName = texts.readText("enterName", "");
    const std::string enterNrP = texts.readText("enterNrP", "");
    const std::string gameMode = texts.readText("gameMode", "");
    texts.close();

    registerWindowClass(newGameDialogClass, newGameProcedure);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    RECT outer{0, 0, 405, 75};
    AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND dialog = CreateWindowExW(0, newGameDialogClass, widen(gameMode).c_str(), style, 0, 0,
                                  outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                  nullptr, instance(), nullptr);
    NewGameState dialogState;
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&dialogState));
    centreOnScreen(dialog);

    loadPicture(0, "pvp_0.jpg");
    loadPicture(1, "pvc_0.jpg");
    addControl(dialog, L"BUTTON", L"", WS_TABSTOP | BS_OWNERDRAW, 10, 10, 185, 40, PeopleButton);
    addControl(dialog, L"BUTTON", L"", WS_TABSTOP | BS_OWNERDRAW, 210, 10, 185, 40, ComputerButton);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);

    runModalLoop(dialog, dialogState.done);
    if (dialogState.chosen == Mode::None) {
        SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
        DestroyWindow(dialog);
        return nullptr;
    }
    dialogState.asking = true;
    if (dialogState.chosen == Mode::People) {
        askPeople(state, enterNrP, enterName);
    } else {
        askComputer(state, enterName);
    }
    // The window stays until the main window takes its place; its state goes with this call.
    SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
    return dialog;
}

// ---- Options dialog ----------------------------------------------------------------------

namespace {

enum class Outcome { Open, Apply, Cancel };

struct OptionsState {
    Outcome outcome = Outcome::Open;
    HWND arrows = nullptr;
    HWND field = nullptr;
    bool refreshing = false;
};

int secondsValue(HWND arrows) {
    return int(SendMessageW(arrows, UDM_GETPOS32, 0, 0));
}

void showSeconds(OptionsState& state, int seconds) {
    state.refreshing = true;
    SetWindowTextW(state.field, std::to_wstring(seconds).c_str());
    state.refreshing = false;
}

LRESULT CALLBACK optionsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<OptionsState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case WM_VSCROLL:
            // A change notice of the arrows: the field shows the new value.
            if (reinterpret_cast<HWND>(lParam) == state->arrows) {
                showSeconds(*state, secondsValue(state->arrows));
            }
            return 0;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case ApplyButton:
                    state->outcome = Outcome::Apply;
                    break;
                case CancelButton:
                case IDCANCEL:  // Escape
                    state->outcome = Outcome::Cancel;
                    break;
                case SecondsField:
                    // Typed text is read with the number rules and kept within 0 to 5; once
                    // the field loses the focus it shows what will be stored.
                    if (HIWORD(wParam) == EN_CHANGE && !state->refreshing) {
                        const int typed = textToNumber(windowText(state->field));
                        SendMessageW(state->arrows, UDM_SETPOS32, 0, std::clamp(typed, 0, 5));
                    } else if (HIWORD(wParam) == EN_KILLFOCUS) {
                        showSeconds(*state, secondsValue(state->arrows));
                    }
                    break;
                default:
                    break;
            }
            return 0;
        case WM_CLOSE:
            state->outcome = Outcome::Cancel;
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

void runOptionsDialog(HWND mainWindow, GameState& state) {
    registerWindowClass(optionsDialogClass, optionsProcedure);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    RECT outer{0, 0, 280, 120};
    AdjustWindowRectEx(&outer, style, FALSE, WS_EX_DLGMODALFRAME);
    HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, optionsDialogClass, L"Options", style, 0, 0,
                                  outer.right - outer.left, outer.bottom - outer.top, mainWindow,
                                  nullptr, instance(), nullptr);
    centreOnScreen(dialog);

    KeyValueFile language;
    language.open(state.languageFile);
    addControl(dialog, L"STATIC", readUiText(language, "ShowCPUhand", ""), SS_NOPREFIX, 5, 20, 165,
               20, -1);
    OptionsState options;
    // A hand-edited delay beyond the range still shows its own number until the first change.
    const int seconds = state.delayMs / 1000;
    options.field = addControl(dialog, L"EDIT", std::to_wstring(seconds),
                               WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, 170, 15, 20, 20,
                               SecondsField, WS_EX_CLIENTEDGE);
    options.arrows = addControl(dialog, UPDOWN_CLASSW, L"", UDS_ARROWKEYS | UDS_NOTHOUSANDS, 190,
                                15, 10, 20, SecondsControl);
    SendMessageW(options.arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(options.field), 0);
    SendMessageW(options.arrows, UDM_SETRANGE32, 0, 5);
    SendMessageW(options.arrows, UDM_SETPOS32, 0, std::clamp(seconds, 0, 5));
    addControl(dialog, L"STATIC", readUiText(language, "sec", ""), SS_NOPREFIX, 205, 20, 60, 20,
               -1);
    HWND stronger = addControl(dialog, L"BUTTON", readUiText(language, "strongerCPU", ""),
                               WS_TABSTOP | BS_AUTOCHECKBOX, 5, 45, 255, 20, StrongerBox);
    SendMessageW(stronger, BM_SETCHECK, state.strongerCPU != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    addControl(dialog, L"BUTTON", readUiText(language, "apply", ""), WS_TABSTOP | BS_PUSHBUTTON, 5,
               80, 75, 30, ApplyButton);
    addControl(dialog, L"BUTTON", readUiText(language, "cancel", ""), WS_TABSTOP | BS_PUSHBUTTON,
               195, 80, 75, 30, CancelButton);
    language.close();

    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&options));
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);

    bool done = false;
    MSG message{};
    while (!done) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) {
                PostQuitMessage(int(message.wParam));
            }
            break;
        }
        if (!IsDialogMessageW(dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        done = options.outcome != Outcome::Open;
    }

    if (options.outcome == Outcome::Apply) {
        state.delayMs = secondsValue(options.arrows) * 1000;
        state.strongerCPU = SendMessageW(stronger, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
        KeyValueFile settings;
        settings.open(std::string(settingsFileName));
        settings.writeText("delay", numberToText(state.delayMs));
        settings.writeText("strongerCPU", state.strongerCPU != 0 ? "1" : "0");
        // A file that cannot be written keeps its old values; the new ones still apply now.
        settings.close();
    }
    // The main window takes input again before the dialog goes, so it gets the focus back.
    if (mainWindow != nullptr) {
        EnableWindow(mainWindow, TRUE);
    }
    SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
    DestroyWindow(dialog);
}

}  // namespace quintaro
