#include "win32/MainWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "win32/Dialogs.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {

constexpr DWORD mainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
constexpr UINT_PTR pauseTimer = 1;

}  // namespace

MainWindow::MainWindow(const WindowSetup& setup, WindowEvents& events)
    : layout_(mainWindowLayout(setup.playerCount)),
      playerCount_(setup.playerCount),
      events_(&events) {
    const WindowTexts& texts = setup.texts;
    registerWindowClass(mainWindowClass, procedure);
    // The outer size is that of the layout's client area without a menu bar, at the density
    // of the screen the window opens on; the menu bar then takes its height from the client
    // area.
    window_ = createCentredWindow(0, mainWindowClass, widen(texts.title), mainWindowStyle,
                                  layout_.client, nullptr, this, dpi_);
    buildMenuBar(texts);

    scoreCard_ = addControl(window_, WC_LISTVIEWW, L"",
                            WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER,
                            layout_.scoreCard, dpi_, ScoreCard, guiFont(dpi_), WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(scoreCard_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    std::wstring header;
    for (int p = 0; p <= playerCount_; ++p) {
        header = p == 0 ? std::wstring() : widen(setup.playerNames[std::size_t(p)]);
        column.pszText = header.data();
        column.cx = scaled(layout_.columnWidths[std::size_t(p)], dpi_);
        column.iSubItem = p;
        ListView_InsertColumn(scoreCard_, p, &column);
    }
    for (int row = 0; row < rowCount; ++row) {
        std::wstring label = widen(texts.rowLabels[std::size_t(row)]);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = label.data();
        ListView_InsertItem(scoreCard_, &item);
    }
    rollButton_ = addControl(window_, L"BUTTON", widen(texts.roll), WS_TABSTOP | BS_PUSHBUTTON,
                             layout_.rollButton, dpi_, RollButton, guiFont(dpi_));
    turnLabel_ = addControl(window_, L"STATIC", widen(setup.turnText), SS_NOPREFIX,
                            layout_.turnLabel, dpi_, TurnLabel, guiFont(dpi_));
    // A die does not flip by itself: a click is reported and the shell sets its state.
    for (int number = 1; number <= 5; ++number) {
        dice_[std::size_t(number - 1)] =
            addControl(window_, L"BUTTON", L"", WS_TABSTOP | BS_CHECKBOX | BS_PUSHLIKE,
                       layout_.dice[std::size_t(number - 1)], dpi_, number, diceFont(dpi_));
    }
    // SS_NOTIFY: the label sees the mouse, so the hint's tooltip can show over it.
    handLabel_ = addControl(window_, L"STATIC", L"", SS_NOPREFIX | SS_NOTIFY, layout_.handLabel,
                            dpi_, HandLabel, diceFont(dpi_));
    board_ = std::make_unique<WindowsBoard>(
        WindowsBoard::Controls{window_, scoreCard_, dice_, rollButton_, turnLabel_, handLabel_},
        playerCount_, [this] {
            if (events_ != nullptr) {
                events_->messageClosed();
            }
        });
    board_->setRowColour(totalRow, fixedRowColour);
    board_->setRowColour(bonusRow, fixedRowColour);
    EnableWindow(scoreCard_, FALSE);

    hintTip_ =
        CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance(), nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(handLabel_);
    tool.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(hintTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(hintTip_, TTM_SETMAXTIPWIDTH, 0, 400);
    SendMessageW(hintTip_, TTM_ACTIVATE, FALSE, 0);

    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    SetForegroundWindow(window_);
}

MainWindow::~MainWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void MainWindow::detach() {
    events_ = nullptr;
    KillTimer(window_, pauseTimer);
    ShowWindow(window_, SW_HIDE);
}

void MainWindow::layOut() {
    placeControl(scoreCard_, layout_.scoreCard, dpi_);
    useFont(scoreCard_, guiFont(dpi_));
    for (int column = 0; column < layout_.columns; ++column) {
        ListView_SetColumnWidth(scoreCard_, column,
                                scaled(layout_.columnWidths[std::size_t(column)], dpi_));
    }
    placeControl(rollButton_, layout_.rollButton, dpi_);
    useFont(rollButton_, guiFont(dpi_));
    placeControl(turnLabel_, layout_.turnLabel, dpi_);
    useFont(turnLabel_, guiFont(dpi_));
    for (std::size_t die = 0; die < dice_.size(); ++die) {
        placeControl(dice_[die], layout_.dice[die], dpi_);
        useFont(dice_[die], diceFont(dpi_));
    }
    placeControl(handLabel_, layout_.handLabel, dpi_);
    useFont(handLabel_, diceFont(dpi_));
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::buildMenuBar(const WindowTexts& texts) {
    menu_ = CreateMenu();
    HMENU current = nullptr;
    HMENU outer = nullptr;  // the menu that holds an open submenu
    for (const MenuEntry& entry : menuBarLayout) {
        const std::wstring text = widen(texts.menuText(entry.text));
        MenuPlace& place = menuPlaces_[std::size_t(entry.text)];
        switch (entry.kind) {
            case MenuEntryKind::Menu:
                current = CreatePopupMenu();
                place = {menu_, UINT(GetMenuItemCount(menu_)), true, current, L""};
                AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(current), text.c_str());
                break;
            case MenuEntryKind::Submenu: {
                HMENU submenu = CreatePopupMenu();
                place = {current, UINT(GetMenuItemCount(current)), true, submenu, L""};
                AppendMenuW(current, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), text.c_str());
                outer = current;
                current = submenu;
                break;
            }
            case MenuEntryKind::EndSubmenu:
                current = outer;
                break;
            case MenuEntryKind::Separator:
                AppendMenuW(current, MF_SEPARATOR, 0, nullptr);
                break;
            case MenuEntryKind::Item: {
                // The key that chooses an item is shown after a tab, as Windows menus do.
                const std::string keyText = menuKeyText(entry);
                const std::wstring key = keyText.empty() ? L"" : L"\t" + widen(keyText);
                place = {current, UINT(entry.item), false, nullptr, key};
                AppendMenuW(current, MF_STRING, UINT_PTR(entry.item), (text + key).c_str());
                break;
            }
        }
    }
    SetMenu(window_, menu_);
}

void MainWindow::setMenuTexts(const std::array<std::string, menuTextCount>& texts) {
    // The menu bar is off the window while its texts change, and drawn once after.
    SetMenu(window_, nullptr);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const MenuPlace& place = menuPlaces_[i];
        if (place.owner == nullptr) {
            continue;
        }
        const std::wstring text = widen(texts[i]) + place.key;
        if (place.byPosition) {
            ModifyMenuW(place.owner, place.id, MF_BYPOSITION | MF_POPUP,
                        reinterpret_cast<UINT_PTR>(place.popup), text.c_str());
        } else {
            ModifyMenuW(place.owner, place.id, MF_BYCOMMAND | MF_STRING, place.id, text.c_str());
        }
    }
    SetMenu(window_, menu_);
    DrawMenuBar(window_);
}

void MainWindow::setTitle(const std::string& title) {
    setWindowText(window_, title);
}

void MainWindow::askYesNo(const std::string& caption, const std::string& text) {
    showMessageBox(window_, caption, text, BoxButtons::YesNo, [this](int button) {
        if (events_ != nullptr) {
            events_->yesNoAnswered(button == IDYES);
        }
    });
}

void MainWindow::showOptions(const OptionsTexts& texts, const OptionsView& view) {
    if (options_ == nullptr) {
        options_ = showOptionsDialog(window_, texts, *events_);
    }
    showOptionsView(options_, view);
}

void MainWindow::closeOptions() {
    HWND dialog = options_;
    options_ = nullptr;
    closeOptionsDialog(dialog, window_);
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* created = static_cast<MainWindow*>(create->lpCreateParams);
        created->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || (self->window_ != nullptr && self->window_ != window)) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (events_ != nullptr && lParam == 0 && HIWORD(wParam) == 0) {
                // A menu command may close this very window: nothing of it is touched after.
                events_->chooseMenuItem(LOWORD(wParam));
                return 0;
            }
            if (events_ != nullptr && LOWORD(wParam) == RollButton &&
                HIWORD(wParam) == BN_CLICKED) {
                events_->roll();
                return 0;
            }
            // A click on a die: the shell holds or releases it.
            if (events_ != nullptr && lParam != 0 && LOWORD(wParam) >= Die1 &&
                LOWORD(wParam) <= Die5 && HIWORD(wParam) == BN_CLICKED) {
                events_->dieClicked(LOWORD(wParam));
            }
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == scoreCard_ && header->code == NM_CUSTOMDRAW) {
                return customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            }
            if (header->code == NM_CUSTOMDRAW) {
                for (int die = Die1; die <= Die5; ++die) {
                    if (header->hwndFrom == dice_[std::size_t(die - Die1)]) {
                        return drawDie(*reinterpret_cast<NMCUSTOMDRAW*>(lParam), die);
                    }
                }
            }
            // The card's selection is the shell's: the control changes none by itself.
            if (header->hwndFrom == scoreCard_ && header->code == LVN_ITEMCHANGING) {
                const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
                const UINT marks = LVIS_SELECTED | LVIS_FOCUSED;
                const bool marking = (change->uChanged & LVIF_STATE) != 0 &&
                                     ((change->uNewState ^ change->uOldState) & marks) != 0;
                return marking && !showingSelection_ ? TRUE : FALSE;
            }
            if (events_ != nullptr && header->hwndFrom == scoreCard_ && header->code == NM_CLICK) {
                events_->rowClicked(clickedRow());
            }
            return 0;
        }
        case WM_DPICHANGED: {
            // Moved to a screen of another density, or its scale changed: the system suggests
            // the new outer rectangle, and every size follows the new density.
            dpi_ = HIWORD(wParam);
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            layOut();
            return 0;
        }
        case WM_TIMER:
            if (wParam == pauseTimer) {
                KillTimer(window_, pauseTimer);
                pausing_ = false;
                if (events_ != nullptr) {
                    events_->pauseEnded();
                }
            }
            return 0;
        case WM_ACTIVATE:
            // A box over the window takes the keys; they come back to where they were, or to
            // where the shell has sent them meanwhile.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const int focused = board_->controlNumber(GetFocus());
                if (focused >= 0) {
                    wantedFocus_ = focused;
                }
            } else if (HIWORD(wParam) == 0) {
                HWND target = wantedFocus_ >= 0 ? control(wantedFocus_) : nullptr;
                SetFocus(target != nullptr && IsWindowEnabled(target) ? target : window_);
            }
            return 0;
        case WM_CLOSE:
            // The close box is the shell's to answer, even during the computer's pause.
            if (events_ != nullptr) {
                events_->closeRequested();
            }
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

LRESULT MainWindow::customDraw(NMLVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            draw.nmcd.uItemState &= ~UINT(CDIS_SELECTED);
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            // The control's own selection would paint over every cell of the row: the
            // colours are given here instead. A cell with a colour of its own (booked, or
            // the bonus and total rows) always shows it; free cells of the selected row show
            // the selection.
            const int row = int(draw.nmcd.dwItemSpec);
            // Only the shell's selection shows.
            const bool selected = row == selected_;
            draw.nmcd.uItemState &= ~UINT(CDIS_SELECTED);
            if (selected && !board_->cellColourSet(row, draw.iSubItem)) {
                draw.clrTextBk = GetSysColor(COLOR_HIGHLIGHT);
                draw.clrText = GetSysColor(COLOR_HIGHLIGHTTEXT);
            } else {
                draw.clrTextBk = cellBackground(row, draw.iSubItem);
                draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
            }
            return CDRF_NEWFONT;
        }
        default:
            return CDRF_DODEFAULT;
    }
}

// The coach's hint frames the dice to hold in green, over the button's own drawing.
LRESULT MainWindow::drawDie(NMCUSTOMDRAW& draw, int die) {
    const bool framed = (hintedDice_ & (1u << (die - 1))) != 0;
    if (draw.dwDrawStage == CDDS_PREPAINT) {
        return framed ? CDRF_NOTIFYPOSTPAINT : CDRF_DODEFAULT;
    }
    if (draw.dwDrawStage == CDDS_POSTPAINT && framed) {
        HBRUSH green = CreateSolidBrush(
            RGB(hintFrameRgb >> 16 & 0xff, hintFrameRgb >> 8 & 0xff, hintFrameRgb & 0xff));
        RECT edge = draw.rc;
        const int lines = scaled(layout_.hintFrameWidth, dpi_);
        for (int line = 0; line < lines; ++line) {
            FrameRect(draw.hdc, &edge, green);
            InflateRect(&edge, -1, -1);
        }
        DeleteObject(green);
    }
    return CDRF_DODEFAULT;
}

void MainWindow::redrawDice() {
    for (HWND die : dice_) {
        InvalidateRect(die, nullptr, TRUE);
    }
}

void MainWindow::startPause(int milliseconds) {
    // The computer's dice and hand name are drawn before the pause; the shell drops the
    // player's input until it ends. The close box still reaches the shell.
    pausing_ = true;
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    SetTimer(window_, pauseTimer, UINT(std::clamp(milliseconds, 1, int(USER_TIMER_MAXIMUM))),
             nullptr);
}

void MainWindow::showSelection(int row) {
    selected_ = row >= 0 && row < rowCount ? row : -1;
    // The list control's own selection follows, for screen readers; it draws only this one.
    showingSelection_ = true;
    ListView_SetItemState(scoreCard_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (selected_ >= 0) {
        ListView_SetItemState(scoreCard_, selected_, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(scoreCard_, selected_, FALSE);
    }
    showingSelection_ = false;
    InvalidateRect(scoreCard_, nullptr, FALSE);
}

int MainWindow::clickedRow() const {
    const DWORD at = GetMessagePos();
    LVHITTESTINFO hit{};
    hit.pt = {GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    ScreenToClient(scoreCard_, &hit.pt);
    const int row = ListView_SubItemHitTest(scoreCard_, &hit);
    return row >= 0 && row < rowCount ? row : -1;
}

int MainWindow::focusedControl() const {
    // With a box over the window the keys come back to the control they left.
    if (GetActiveWindow() != window_) {
        return wantedFocus_;
    }
    HWND focus = GetFocus();
    if (focus == nullptr && board_->focusLost() >= 0) {
        return board_->focusLost();
    }
    return board_->controlNumber(focus);
}

void MainWindow::focusControl(int control) {
    board_->forgetFocusLost();
    wantedFocus_ = control;
    if (GetActiveWindow() == window_) {
        HWND target = control >= 0 ? this->control(control) : nullptr;
        SetFocus(target != nullptr ? target : window_);
    }
}

void MainWindow::frameDice(unsigned dice) {
    hintedDice_ = dice;
    redrawDice();
}

void MainWindow::describeHint(const std::string& description) {
    std::wstring text = widen(description);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(handLabel_);
    tool.lpszText = text.data();
    SendMessageW(hintTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    if (description.empty()) {
        SendMessageW(hintTip_, TTM_POP, 0, 0);
    }
    SendMessageW(hintTip_, TTM_ACTIVATE, description.empty() ? FALSE : TRUE, 0);
}

std::string MainWindow::hintTip() const {
    wchar_t text[512] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(handLabel_);
    tool.lpszText = text;
    SendMessageW(hintTip_, TTM_GETTEXTW, WPARAM(std::size(text)), reinterpret_cast<LPARAM>(&tool));
    return narrow(text);
}

bool MainWindow::handleKey(UINT key) {
    if (events_ == nullptr) {
        return false;
    }
    PortableKey portable;
    unsigned modifiers = NoModifier;
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) {
        // The keypad's digits are the same keys as the row of digits.
        key = '0' + (key - VK_NUMPAD0);
        modifiers = KeypadModifier;
    }
    switch (key) {
        case VK_UP:
            portable = namedKey(NamedKey::Up);
            break;
        case VK_DOWN:
            portable = namedKey(NamedKey::Down);
            break;
        case VK_RETURN:
            portable = namedKey(NamedKey::Enter);
            break;
        default:
            // The virtual keys of Space, the digits and the letters are their characters.
            if (key != VK_SPACE && !(key >= '0' && key <= '9') && !(key >= 'A' && key <= 'Z')) {
                return false;
            }
            portable = characterKey(char(key));
            break;
    }
    // Which keys count with which modifiers held is the shell's to decide.
    const auto held = [](int virtualKey) { return GetKeyState(virtualKey) < 0; };
    modifiers |= held(VK_SHIFT) ? ShiftModifier : 0u;
    modifiers |= held(VK_CONTROL) ? ControlModifier : 0u;
    modifiers |= held(VK_MENU) ? AltModifier : 0u;
    modifiers |= held(VK_LWIN) || held(VK_RWIN) ? MetaModifier : 0u;
    return events_->keyPressed({portable, modifiers, focusedControl()});
}

}  // namespace quintaro
