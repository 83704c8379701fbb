#include "win32/Dialogs.h"

#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "win32/CommonControls.h"
#include "win32/Media.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {

// The controls of one dialog with their places in the layout table, so that a change of
// the screen's density can lay them out again.
struct PlacedControls {
    int dpi = baseDpi;
    std::vector<std::pair<HWND, LayoutRect>> controls;

    HWND add(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style,
             const LayoutRect& where, int id, DWORD extendedStyle = 0) {
        HWND control =
            addControl(parent, kind, text, style, where, dpi, id, guiFont(dpi), extendedStyle);
        controls.emplace_back(control, where);
        return control;
    }

    // WM_DPICHANGED: the window takes the suggested rectangle, its controls their new places
    // and fonts.
    void changeDpi(HWND window, WPARAM wParam, LPARAM lParam) {
        dpi = HIWORD(wParam);
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        for (const auto& [control, where] : controls) {
            placeControl(control, where, dpi);
            useFont(control, guiFont(dpi));
        }
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    }
};

// A box's state lives as long as its window; it goes with WM_NCDESTROY.
template <typename State>
State* stateOf(HWND window) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

template <typename State>
void attachState(HWND window, State* state) {
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
}

template <typename State>
void freeState(HWND window) {
    delete stateOf<State>(window);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
}

BOOL CALLBACK collectEnabledWindow(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
}

// The windows of this thread that a box keeps from taking input while it is open.
std::vector<HWND> disableThreadWindows() {
    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), collectEnabledWindow,
                      reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled) {
        EnableWindow(window, FALSE);
    }
    return disabled;
}

void enableAgain(const std::vector<HWND>& windows) {
    for (HWND window : windows) {
        if (IsWindow(window)) {
            EnableWindow(window, TRUE);
        }
    }
}

bool classIs(HWND window, const wchar_t* name) {
    wchar_t kind[64] = {};
    GetClassNameW(window, kind, 64);
    return lstrcmpW(kind, name) == 0;
}

}  // namespace

bool isGameDialog(HWND window) {
    return window != nullptr &&
           (classIs(window, inputBoxClass) || classIs(window, newGameDialogClass) ||
            classIs(window, optionsDialogClass) || classIs(window, messageBoxClass));
}

// ---- Text-input box ----------------------------------------------------------------------

namespace {

struct InputBoxState {
    InputBoxAnswer answered;
    std::vector<HWND> disabled;
    HWND owner = nullptr;
    PlacedControls placed;
};

// The box goes, the windows it kept off take input again, and then the answer is told: the
// shell may open the next box at once.
void leaveInputBox(HWND box, InputBoxAction action) {
    InputBoxState* state = stateOf<InputBoxState>(box);
    if (state == nullptr) {
        return;
    }
    const std::string text =
        action == InputBoxAction::Ok ? windowText(GetDlgItem(box, InputField)) : std::string();
    InputBoxAnswer answered = std::move(state->answered);
    enableAgain(state->disabled);
    HWND owner = state->owner;
    if (owner != nullptr && IsWindow(owner)) {
        SetActiveWindow(owner);
    }
    DestroyWindow(box);
    answered(action, text);
}

LRESULT CALLBACK inputBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = stateOf<InputBoxState>(window);
    switch (message) {
        case WM_COMMAND:
            if (state != nullptr && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                leaveInputBox(window,
                              LOWORD(wParam) == IDOK ? InputBoxAction::Ok : InputBoxAction::Cancel);
            }
            return 0;
        case WM_CLOSE:
            // The system's close command answers with an empty text, like Escape.
            leaveInputBox(window, InputBoxAction::Cancel);
            return 0;
        case WM_DPICHANGED:
            if (state != nullptr) {
                state->placed.changeDpi(window, wParam, lParam);
            }
            return 0;
        case WM_NCDESTROY:
            freeState<InputBoxState>(window);
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND showInputBox(const std::string& title, const std::string& prompt,
                  const std::string& defaultText, InputBoxAnswer answered) {
    registerWindowClass(inputBoxClass, inputBoxProcedure);
    // The box belongs to the program's window in front.
    HWND owner = GetActiveWindow();
    // The whole window, frame included, sits left of and above the middle of the screen.
    const InputBoxLayout& layout = inputBoxLayout;
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, inputBoxClass, widen(title).c_str(),
                               WS_POPUP | WS_CAPTION, 0, 0, layout.outer.width, layout.outer.height,
                               owner, nullptr, instance(), nullptr);
    auto* state = new InputBoxState{std::move(answered), {}, owner, {}};
    attachState(box, state);
    state->placed.dpi = windowDpi(box);
    const int dpi = state->placed.dpi;
    const LayoutSize outer = scaled(layout.outer, dpi);
    SetWindowPos(box, nullptr, GetSystemMetrics(SM_CXSCREEN) / 2 - scaled(layout.leftOfCentre, dpi),
                 GetSystemMetrics(SM_CYSCREEN) / 2 - scaled(layout.aboveCentre, dpi), outer.width,
                 outer.height, SWP_NOZORDER | SWP_NOACTIVATE);
    state->placed.add(box, L"STATIC", widen(prompt), SS_LEFTNOWORDWRAP | SS_NOPREFIX, layout.prompt,
                      InputPrompt);
    HWND field = state->placed.add(box, L"EDIT", widen(defaultText), WS_TABSTOP | ES_AUTOHSCROLL,
                                   layout.field, InputField, WS_EX_CLIENTEDGE);
    state->placed.add(box, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, layout.okButton, IDOK);

    // Every other window of the program waits for the answer.
    state->disabled = disableThreadWindows();
    EnableWindow(box, TRUE);
    state->disabled.erase(std::remove(state->disabled.begin(), state->disabled.end(), box),
                          state->disabled.end());
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    SetFocus(field);
    // The caret after the last character, nothing selected.
    const LRESULT length = SendMessageW(field, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(field, EM_SETSEL, WPARAM(length), LPARAM(length));
    return box;
}

// ---- Picture buttons ---------------------------------------------------------------------

void drawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const int dpi = windowDpi(item.hwndItem);
    int inset = scaled(newGameLayout.pictureInset, dpi);
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
        inset = scaled(newGameLayout.themedPictureInset, dpi);
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
            x += scaled(1, dpi);
            y += scaled(1, dpi);
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
        InflateRect(&focus, -scaled(3, dpi), -scaled(3, dpi));
        DrawFocusRect(dc, &focus);
    }
}

// ---- New-game dialog ---------------------------------------------------------------------

namespace {

struct NewGameState {
    DialogEvents* events = nullptr;
    PlacedControls placed;
    std::size_t picturesLoaded = 0;
};

// Loads the mode pictures one at a time from a timer, whose messages come after the player's
// input: a click or the close box is answered between two pictures, however large they are.
constexpr UINT_PTR pictureTimer = 1;

// The mode pictures, scaled smoothly to the dialog's density.
void loadModePictures(int dpi) {
    for (std::size_t number = 0; number < modePictureFiles.size(); ++number) {
        loadPicture(int(number), std::string(modePictureFiles[number]), dpi);
    }
}

LRESULT CALLBACK newGameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = stateOf<NewGameState>(window);
    switch (message) {
        case WM_COMMAND:
            if (state != nullptr && HIWORD(wParam) == BN_CLICKED && lParam != 0 &&
                (LOWORD(wParam) == PeopleButton || LOWORD(wParam) == ComputerButton)) {
                state->events->modeChosen(LOWORD(wParam) == PeopleButton ? GameMode::People
                                                                         : GameMode::Computer);
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            drawPictureButton(*item, pictureBitmap(int(item->CtlID)));
            return TRUE;
        }
        case WM_TIMER:
            if (state != nullptr && wParam == pictureTimer) {
                if (state->picturesLoaded >= modePictureFiles.size()) {
                    KillTimer(window, pictureTimer);
                    return 0;
                }
                const std::size_t number = state->picturesLoaded++;
                loadPicture(int(number), std::string(modePictureFiles[number]), state->placed.dpi);
                InvalidateRect(GetDlgItem(window, int(number)), nullptr, TRUE);
            }
            return 0;
        case WM_DPICHANGED:
            if (state != nullptr) {
                state->placed.changeDpi(window, wParam, lParam);
                loadModePictures(state->placed.dpi);
                state->picturesLoaded = modePictureFiles.size();
            }
            return 0;
        case WM_CLOSE:
            // The shell decides: before a mode is chosen the dialog closes and the program
            // ends; while the questions are asked nothing happens.
            if (state != nullptr) {
                state->events->newGameCloseRequested();
            }
            return 0;
        case WM_NCDESTROY:
            freeState<NewGameState>(window);
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND showNewGameDialog(const NewGameTexts& texts, DialogEvents& events) {
    registerWindowClass(newGameDialogClass, newGameProcedure);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    auto* state = new NewGameState{&events, {}};
    HWND dialog = createCentredWindow(0, newGameDialogClass, widen(texts.gameMode), style,
                                      newGameLayout.client, nullptr, nullptr, state->placed.dpi);
    attachState(dialog, state);

    // The pictures are drawn; the texts are the buttons' names.
    state->placed.add(dialog, L"BUTTON", widen(texts.peopleButton), WS_TABSTOP | BS_OWNERDRAW,
                      newGameLayout.peopleButton, PeopleButton);
    state->placed.add(dialog, L"BUTTON", widen(texts.computerButton), WS_TABSTOP | BS_OWNERDRAW,
                      newGameLayout.computerButton, ComputerButton);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    SetForegroundWindow(dialog);
    // Decoding the pictures (and starting the imaging component) and loading the common
    // controls wait until the dialog is on screen; the buttons show the pictures a moment
    // later, one after the other.
    useCommonControls();
    SetTimer(dialog, pictureTimer, 0, nullptr);
    return dialog;
}

// ---- Options dialog ----------------------------------------------------------------------

namespace {

struct OptionsState {
    DialogEvents* events = nullptr;
    HWND field = nullptr;
    HWND stronger = nullptr;
    // The dialog writes the field itself: no edit to report.
    bool refreshing = false;
    PlacedControls placed;
};

LRESULT CALLBACK optionsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = stateOf<OptionsState>(window);
    if (state == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    DialogEvents& events = *state->events;
    switch (message) {
        case WM_NOTIFY: {
            // The arrows, and Up and Down in the field: the step is the shell's to take; the
            // arrows keep no value of their own.
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->idFrom == SecondsControl && header->code == UDN_DELTAPOS) {
                const auto* change = reinterpret_cast<const NMUPDOWN*>(lParam);
                if (change->iDelta != 0) {
                    events.optionsEdited(OptionsEdit::stepped(change->iDelta > 0 ? 1 : -1));
                }
                return TRUE;
            }
            return 0;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case ApplyButton:
                    events.optionsEdited(OptionsEdit::plain(OptionsEditKind::Apply));
                    break;
                case CancelButton:
                case IDCANCEL:  // Escape
                    events.optionsEdited(OptionsEdit::plain(OptionsEditKind::Cancel));
                    break;
                case StrongerBox:
                    if (HIWORD(wParam) == BN_CLICKED) {
                        events.optionsEdited(OptionsEdit::strongerBox(
                            SendMessageW(state->stronger, BM_GETCHECK, 0, 0) == BST_CHECKED));
                    }
                    break;
                case SecondsField:
                    if (HIWORD(wParam) == EN_CHANGE && !state->refreshing) {
                        events.optionsEdited(OptionsEdit::typed(windowText(state->field)));
                    } else if (HIWORD(wParam) == EN_KILLFOCUS) {
                        events.optionsEdited(OptionsEdit::plain(OptionsEditKind::FieldLeft));
                    }
                    break;
                default:
                    break;
            }
            return 0;
        case WM_CLOSE:
            events.optionsEdited(OptionsEdit::plain(OptionsEditKind::Cancel));
            return 0;
        case WM_DPICHANGED:
            state->placed.changeDpi(window, wParam, lParam);
            return 0;
        case WM_NCDESTROY:
            freeState<OptionsState>(window);
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND showOptionsDialog(HWND owner, const OptionsTexts& texts, DialogEvents& events) {
    registerWindowClass(optionsDialogClass, optionsProcedure);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const OptionsLayout& layout = optionsLayout;
    auto* state = new OptionsState{&events, nullptr, nullptr, false, {}};
    PlacedControls& placed = state->placed;
    HWND dialog = createCentredWindow(WS_EX_DLGMODALFRAME, optionsDialogClass, L"Options", style,
                                      layout.client, owner, nullptr, placed.dpi);

    placed.add(dialog, L"STATIC", widen(texts.showComputerHand), SS_NOPREFIX, layout.handLabel, -1);
    state->field = placed.add(dialog, L"EDIT", L"", WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL,
                              layout.secondsField, SecondsField, WS_EX_CLIENTEDGE);
    HWND arrows = placed.add(dialog, UPDOWN_CLASSW, L"", UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                             layout.secondsArrows, SecondsControl);
    SendMessageW(arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(state->field), 0);
    // Taking a buddy may resize the arrows to a width of the control's own: they keep the
    // table's, half as wide as they are high.
    placeControl(arrows, layout.secondsArrows, placed.dpi);
    // Both arrows always step: the value and its limits are the shell's.
    SendMessageW(arrows, UDM_SETRANGE32, WPARAM(-1), 1);
    SendMessageW(arrows, UDM_SETPOS32, 0, 0);
    placed.add(dialog, L"STATIC", widen(texts.seconds), SS_NOPREFIX, layout.secondsLabel, -1);
    state->stronger = placed.add(dialog, L"BUTTON", widen(texts.stronger),
                                 WS_TABSTOP | BS_AUTOCHECKBOX, layout.strongerBox, StrongerBox);
    placed.add(dialog, L"BUTTON", widen(texts.apply), WS_TABSTOP | BS_PUSHBUTTON,
               layout.applyButton, ApplyButton);
    placed.add(dialog, L"BUTTON", widen(texts.cancel), WS_TABSTOP | BS_PUSHBUTTON,
               layout.cancelButton, CancelButton);

    attachState(dialog, state);
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    return dialog;
}

void showOptionsView(HWND dialog, const OptionsView& view) {
    auto* state = stateOf<OptionsState>(dialog);
    if (state == nullptr) {
        return;
    }
    // The same text is left alone, so that typing keeps its caret.
    if (windowText(state->field) != view.secondsText) {
        state->refreshing = true;
        setWindowText(state->field, view.secondsText);
        state->refreshing = false;
    }
    SendMessageW(state->stronger, BM_SETCHECK, view.stronger ? BST_CHECKED : BST_UNCHECKED, 0);
}

void closeOptionsDialog(HWND dialog, HWND owner) {
    // The owner takes input again before the dialog goes, so it gets the focus back.
    if (owner != nullptr && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    if (dialog != nullptr && IsWindow(dialog)) {
        // Leaving the field on the way out is no edit: the dialog reports nothing more.
        freeState<OptionsState>(dialog);
        DestroyWindow(dialog);
    }
    if (owner != nullptr && IsWindow(owner)) {
        SetActiveWindow(owner);
    }
}

// ---- Message boxes -----------------------------------------------------------------------

namespace {

struct MessageBoxState {
    std::function<void(int button)> closed;
    BoxButtons buttons = BoxButtons::Ok;
    HWND owner = nullptr;
};

// The system's own texts for the buttons, in the language of Windows; English where it has
// none to give.
std::wstring buttonText(int button) {
    // The string numbers of the message box buttons in the system's user32.
    const UINT number = button == IDYES ? 805 : button == IDNO ? 806 : 800;
    wchar_t text[64] = {};
    if (LoadStringW(GetModuleHandleW(L"user32.dll"), number, text, 64) > 0) {
        return text;
    }
    return button == IDYES ? L"&Yes" : button == IDNO ? L"&No" : L"OK";
}

void leaveMessageBox(HWND box, int button) {
    auto* state = stateOf<MessageBoxState>(box);
    if (state == nullptr) {
        return;
    }
    std::function<void(int)> closed = std::move(state->closed);
    HWND owner = state->owner;
    if (owner != nullptr && IsWindow(owner)) {
        EnableWindow(owner, TRUE);
    }
    DestroyWindow(box);
    if (owner != nullptr && IsWindow(owner)) {
        SetActiveWindow(owner);
    }
    closed(button);
}

LRESULT CALLBACK messageBoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = stateOf<MessageBoxState>(window);
    switch (message) {
        case WM_COMMAND:
            if (state == nullptr) {
                return 0;
            }
            if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDYES || LOWORD(wParam) == IDNO) {
                // Enter on a box with Yes and No answers the focused button.
                int button = LOWORD(wParam);
                if (button == IDOK && state->buttons == BoxButtons::YesNo) {
                    const int focused = GetDlgCtrlID(GetFocus());
                    button = focused == IDNO ? IDNO : IDYES;
                }
                leaveMessageBox(window, button);
            } else if (LOWORD(wParam) == IDCANCEL && state->buttons == BoxButtons::Ok) {
                leaveMessageBox(window, IDOK);
            }
            return 0;
        case WM_CLOSE:
            if (state != nullptr && state->buttons == BoxButtons::Ok) {
                leaveMessageBox(window, IDOK);
            }
            return 0;
        case WM_NCDESTROY:
            freeState<MessageBoxState>(window);
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

HWND showMessageBox(HWND owner, const std::string& caption, const std::string& text,
                    BoxButtons buttons, std::function<void(int button)> closed) {
    registerWindowClass(messageBoxClass, messageBoxProcedure);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const DWORD extendedStyle = WS_EX_DLGMODALFRAME;
    HWND box = CreateWindowExW(extendedStyle, messageBoxClass, widen(caption).c_str(), style, 0, 0,
                               100, 100, owner, nullptr, instance(), nullptr);
    const int dpi = windowDpi(box);
    HFONT font = guiFont(dpi);
    // The text as the system's boxes set it: wrapped within three fifths of the screen, with
    // a margin all round, and the buttons centred below it.
    const std::wstring wide = widen(text);
    const int margin = scaled(12, dpi);
    const LONG widthLimit = GetSystemMetrics(SM_CXSCREEN) * 3 / 5;
    HWND textControl = addControl(box, L"STATIC", wide, SS_LEFT | SS_NOPREFIX, margin, margin,
                                  widthLimit, 1, MessageText, font);
    // Measured as the text control draws: its own device context and font. The widest line
    // sets the width, up to the limit; the height follows from the wrapping at that width.
    HDC dc = GetDC(textControl);
    HGDIOBJ previous = SelectObject(dc, font);
    LONG widest = 0;
    for (std::size_t start = 0; start <= wide.size();) {
        std::size_t end = wide.find(L'\n', start);
        end = end == std::wstring::npos ? wide.size() : end;
        SIZE line{};
        GetTextExtentPoint32W(dc, wide.c_str() + start, int(end - start), &line);
        widest = std::max(widest, line.cx);
        start = end + 1;
    }
    RECT textRect{0, 0, std::min<LONG>(widest + 1, widthLimit), 0};
    const LONG lineWidth = textRect.right;
    DrawTextW(dc, wide.c_str(), -1, &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    // Text drawn with hinting may come out a little wider than measured: two average
    // characters of room, so that the end of the longest line is never cut.
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    textRect.right = std::max(textRect.right, lineWidth) + 2 * metrics.tmAveCharWidth;
    SelectObject(dc, previous);
    ReleaseDC(textControl, dc);
    SetWindowPos(textControl, nullptr, margin, margin, textRect.right, textRect.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int buttonWidth = scaled(75, dpi);
    const int buttonHeight = scaled(23, dpi);
    const int gap = scaled(6, dpi);
    const int count = buttons == BoxButtons::YesNo ? 2 : 1;
    const int buttonsWidth = count * buttonWidth + (count - 1) * gap;
    const int clientWidth = std::max(int(textRect.right) + 2 * margin, buttonsWidth + 2 * margin);
    const int clientHeight = margin + int(textRect.bottom) + margin + buttonHeight + margin;
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, style, FALSE, extendedStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(box, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const int buttonTop = clientHeight - margin - buttonHeight;
    int left = (clientWidth - buttonsWidth) / 2;
    HWND first = nullptr;
    for (const int id :
         buttons == BoxButtons::YesNo ? std::vector<int>{IDYES, IDNO} : std::vector<int>{IDOK}) {
        HWND button = addControl(box, L"BUTTON", buttonText(id),
                                 WS_TABSTOP | (first == nullptr ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                 left, buttonTop, buttonWidth, buttonHeight, id, font);
        first = first != nullptr ? first : button;
        left += buttonWidth + gap;
    }
    if (buttons == BoxButtons::YesNo) {
        // Yes or No must be chosen: no close box.
        EnableMenuItem(GetSystemMenu(box, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
    }
    attachState(box, new MessageBoxState{std::move(closed), buttons, owner});
    if (owner != nullptr) {
        EnableWindow(owner, FALSE);
    }
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    SetFocus(first);
    // The sound a message box without an icon makes.
    MessageBeep(MB_OK);
    return box;
}

}  // namespace quintaro
