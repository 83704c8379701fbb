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

// ---- Text-input box ----------------------------------------------------------------------

struct InputBoxState {
    bool done = false;
    bool accepted = false;
    std::string text;
    PlacedControls placed;
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
        case WM_DPICHANGED:
            if (state != nullptr) {
                state->placed.changeDpi(window, wParam, lParam);
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

    // The whole window, frame included, sits left of and above the middle of the screen.
    const InputBoxLayout& layout = inputBoxLayout;
    HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME, inputBoxClass, widen(title).c_str(),
                               WS_POPUP | WS_CAPTION, 0, 0, layout.outer.width, layout.outer.height,
                               owner, nullptr, instance(), nullptr);
    InputBoxState state;
    state.placed.dpi = windowDpi(box);
    const LayoutSize outer = scaled(layout.outer, state.placed.dpi);
    SetWindowPos(box, nullptr,
                 GetSystemMetrics(SM_CXSCREEN) / 2 - scaled(layout.leftOfCentre, state.placed.dpi),
                 GetSystemMetrics(SM_CYSCREEN) / 2 - scaled(layout.aboveCentre, state.placed.dpi),
                 outer.width, outer.height, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowLongPtrW(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    state.placed.add(box, L"STATIC", widen(prompt), SS_LEFTNOWORDWRAP | SS_NOPREFIX, layout.prompt,
                     InputPrompt);
    HWND field = state.placed.add(box, L"EDIT", widen(defaultText), WS_TABSTOP | ES_AUTOHSCROLL,
                                  layout.field, InputField, WS_EX_CLIENTEDGE);
    state.placed.add(box, L"BUTTON", L"OK", WS_TABSTOP | BS_DEFPUSHBUTTON, layout.okButton, IDOK);

    for (HWND window : disabled) {
        EnableWindow(window, FALSE);
    }
    ShowWindow(box, SW_SHOW);
    SetForegroundWindow(box);
    SetFocus(field);
    // The caret after the last character, nothing selected.
    const LRESULT length = SendMessageW(field, WM_GETTEXTLENGTH, 0, 0);
    SendMessageW(field, EM_SETSEL, WPARAM(length), LPARAM(length));

    runModalLoop(box, [&state] { return state.done; });

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
    GameMode chosen = GameMode::None;
    bool done = false;
    PlacedControls placed;
};

// The mode pictures, scaled smoothly to the dialog's density.
void loadModePictures(int dpi) {
    for (std::size_t number = 0; number < modePictureFiles.size(); ++number) {
        loadPicture(int(number), std::string(modePictureFiles[number]), dpi);
    }
}

LRESULT CALLBACK newGameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<NewGameState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_COMMAND:
            if (state != nullptr && !state->done && HIWORD(wParam) == BN_CLICKED && lParam != 0) {
                if (LOWORD(wParam) == PeopleButton) {
                    state->chosen = GameMode::People;
                } else if (LOWORD(wParam) == ComputerButton) {
                    state->chosen = GameMode::Computer;
                }
                state->done = state->chosen != GameMode::None;
            }
            return 0;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            drawPictureButton(*item, pictureBitmap(int(item->CtlID)));
            return TRUE;
        }
        case WM_DPICHANGED:
            if (state != nullptr) {
                state->placed.changeDpi(window, wParam, lParam);
                loadModePictures(state->placed.dpi);
            }
            return 0;
        case WM_CLOSE:
            // Before a mode is chosen the close box ends the program; after that it does
            // nothing until the main window takes the dialog's place.
            if (state != nullptr && !state->done) {
                state->done = true;
            }
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

GameMode chooseGameMode(const std::string& title, const std::string& peopleName,
                        const std::string& computerName, HWND& dialog) {
    registerWindowClass(newGameDialogClass, newGameProcedure);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    NewGameState state;
    dialog = createCentredWindow(0, newGameDialogClass, widen(title), style, newGameLayout.client,
                                 nullptr, nullptr, state.placed.dpi);
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));

    // The pictures are drawn; the texts are the buttons' names.
    HWND people = state.placed.add(dialog, L"BUTTON", widen(peopleName), WS_TABSTOP | BS_OWNERDRAW,
                                   newGameLayout.peopleButton, PeopleButton);
    HWND computer =
        state.placed.add(dialog, L"BUTTON", widen(computerName), WS_TABSTOP | BS_OWNERDRAW,
                         newGameLayout.computerButton, ComputerButton);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    SetForegroundWindow(dialog);
    // Decoding the pictures (and starting the imaging component) and loading the common
    // controls wait until the dialog is on screen; the buttons show the pictures a moment
    // later.
    loadModePictures(state.placed.dpi);
    useCommonControls();
    InvalidateRect(people, nullptr, TRUE);
    InvalidateRect(computer, nullptr, TRUE);

    runModalLoop(dialog, [&state] { return state.done; });
    // From here on the dialog ignores its close box: a static state says it is done.
    static NewGameState finished{GameMode::None, true, {}};
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&finished));
    if (state.chosen == GameMode::None) {
        DestroyWindow(dialog);
        dialog = nullptr;
    }
    return state.chosen;
}

// ---- Options dialog ----------------------------------------------------------------------

namespace {

enum class Outcome { Open, Apply, Cancel };

struct OptionsState {
    Outcome outcome = Outcome::Open;
    HWND arrows = nullptr;
    HWND field = nullptr;
    bool refreshing = false;
    PlacedControls placed;
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
                        SendMessageW(state->arrows, UDM_SETPOS32, 0,
                                     typedSeconds(windowText(state->field)));
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
        case WM_DPICHANGED:
            state->placed.changeDpi(window, wParam, lParam);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

bool runOptionsDialog(HWND mainWindow, const OptionsTexts& texts, int shownSeconds,
                      OptionsChoice& choice) {
    registerWindowClass(optionsDialogClass, optionsProcedure);
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const OptionsLayout& layout = optionsLayout;
    OptionsState options;
    PlacedControls& placed = options.placed;
    HWND dialog = createCentredWindow(WS_EX_DLGMODALFRAME, optionsDialogClass, L"Options", style,
                                      layout.client, mainWindow, nullptr, placed.dpi);

    placed.add(dialog, L"STATIC", widen(texts.showComputerHand), SS_NOPREFIX, layout.handLabel, -1);
    // A hand-edited delay beyond the range still shows its own number until the first change.
    options.field = placed.add(dialog, L"EDIT", std::to_wstring(shownSeconds),
                               WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, layout.secondsField,
                               SecondsField, WS_EX_CLIENTEDGE);
    options.arrows = placed.add(dialog, UPDOWN_CLASSW, L"", UDS_ARROWKEYS | UDS_NOTHOUSANDS,
                                layout.secondsArrows, SecondsControl);
    SendMessageW(options.arrows, UDM_SETBUDDY, reinterpret_cast<WPARAM>(options.field), 0);
    // Taking a buddy may resize the arrows to a width of the control's own: they keep the
    // table's, half as wide as they are high.
    placeControl(options.arrows, layout.secondsArrows, placed.dpi);
    SendMessageW(options.arrows, UDM_SETRANGE32, 0, maxDelaySeconds);
    SendMessageW(options.arrows, UDM_SETPOS32, 0, clampSeconds(choice.seconds));
    placed.add(dialog, L"STATIC", widen(texts.seconds), SS_NOPREFIX, layout.secondsLabel, -1);
    HWND stronger = placed.add(dialog, L"BUTTON", widen(texts.stronger),
                               WS_TABSTOP | BS_AUTOCHECKBOX, layout.strongerBox, StrongerBox);
    SendMessageW(stronger, BM_SETCHECK, choice.stronger ? BST_CHECKED : BST_UNCHECKED, 0);
    placed.add(dialog, L"BUTTON", widen(texts.apply), WS_TABSTOP | BS_PUSHBUTTON,
               layout.applyButton, ApplyButton);
    placed.add(dialog, L"BUTTON", widen(texts.cancel), WS_TABSTOP | BS_PUSHBUTTON,
               layout.cancelButton, CancelButton);

    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&options));
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);

    runModalLoop(dialog, [&options] { return options.outcome != Outcome::Open; });

    const bool applied = options.outcome == Outcome::Apply;
    if (applied) {
        choice.seconds = clampSeconds(secondsValue(options.arrows));
        choice.stronger = SendMessageW(stronger, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // The main window takes input again before the dialog goes, so it gets the focus back.
    if (mainWindow != nullptr) {
        EnableWindow(mainWindow, TRUE);
    }
    SetWindowLongPtrW(dialog, GWLP_USERDATA, 0);
    DestroyWindow(dialog);
    return applied;
}

}  // namespace quintaro
