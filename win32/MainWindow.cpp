#include "win32/MainWindow.h"

#include "win32/Dialogs.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {

constexpr DWORD mainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

bool isUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

}  // namespace

MainWindow::MainWindow(const GameState& state, const WindowTexts& texts, WindowEvents& events)
    : layout_(mainWindowLayout(state.playerCount)),
      playerCount_(state.playerCount),
      events_(&events) {
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
        header = p == 0 ? std::wstring() : widen(state.playerNames[std::size_t(p)]);
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
    turnLabel_ = addControl(window_, L"STATIC", widen(state.playerNames[1]), SS_NOPREFIX,
                            layout_.turnLabel, dpi_, TurnLabel, guiFont(dpi_));
    for (int number = 1; number <= 5; ++number) {
        dice_[std::size_t(number - 1)] =
            addControl(window_, L"BUTTON", L"", WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE,
                       layout_.dice[std::size_t(number - 1)], dpi_, number, diceFont(dpi_));
    }
    // SS_NOTIFY: the label sees the mouse, so the hint's tooltip can show over it.
    handLabel_ = addControl(window_, L"STATIC", L"", SS_NOPREFIX | SS_NOTIFY, layout_.handLabel,
                            dpi_, HandLabel, diceFont(dpi_));
    board_ = std::make_unique<WindowsBoard>(
        WindowsBoard::Controls{window_, scoreCard_, dice_, rollButton_, turnLabel_, handLabel_},
        playerCount_);
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
    // The keys start at the roll button, the first thing to press.
    SetFocus(rollButton_);
}

MainWindow::~MainWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void MainWindow::detach() {
    events_ = nullptr;
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

bool MainWindow::askYesNo(const std::string& caption, const std::string& text) {
    return MessageBoxW(window_, widen(text).c_str(), widen(caption).c_str(), MB_YESNO) == IDYES;
}

bool MainWindow::runOptionsDialog(const OptionsTexts& texts, int shownSeconds,
                                  OptionsChoice& choice) {
    EnableWindow(window_, FALSE);
    const bool applied = quintaro::runOptionsDialog(window_, texts, shownSeconds, choice);
    EnableWindow(window_, TRUE);
    SetActiveWindow(window_);
    return applied;
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
            // A click on a die flips its own pressed state: that is the hold.
            if (events_ != nullptr && lParam != 0 && LOWORD(wParam) >= Die1 &&
                LOWORD(wParam) <= Die5 && HIWORD(wParam) == BN_CLICKED) {
                events_->dieToggled(LOWORD(wParam));
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
            if (events_ != nullptr && header->hwndFrom == scoreCard_ && header->code == NM_CLICK) {
                events_->book(ListView_GetNextItem(scoreCard_, -1, LVNI_SELECTED));
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
        case WM_CLOSE:
            // The close box ends the computer's pause at once, and then the program; the rest
            // of the computer's turn plays out unseen.
            if (pausing_) {
                closeDuringPause_ = true;
            }
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
            // Once a booking has closed the card, an old selection shows nothing either.
            const bool selected =
                scoreCard_ != nullptr && IsWindowEnabled(scoreCard_) &&
                (ListView_GetItemState(scoreCard_, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
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
        HBRUSH green = CreateSolidBrush(RGB(0x1f, 0x8a, 0x3b));
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

void MainWindow::pause(int milliseconds) {
    // The computer's dice and hand name are drawn before the pause and repainted during it;
    // input is dropped until it ends. The close box ends the pause, and then the program.
    pausing_ = true;
    RedrawWindow(window_, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const ULONGLONG deadline = GetTickCount64() + ULONGLONG(milliseconds);
    bool quit = false;
    int quitCode = 0;
    while (!closeDuringPause_ && !quit) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(deadline - now), QS_ALLINPUT);
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                quitCode = int(message.wParam);
                break;
            }
            if (isUserInput(message.message)) {
                const bool closeBox =
                    message.message == WM_NCLBUTTONDOWN && message.wParam == HTCLOSE;
                const bool altF4 = message.message == WM_SYSKEYDOWN && message.wParam == VK_F4;
                if (closeBox || altF4) {
                    SendMessageW(window_, WM_CLOSE, 0, 0);
                }
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    if (quit) {
        PostQuitMessage(quitCode);
    }
    pausing_ = false;
}

int MainWindow::selectedRow() const {
    return ListView_GetNextItem(scoreCard_, -1, LVNI_SELECTED);
}

void MainWindow::selectRow(int row) {
    ListView_SetItemState(scoreCard_, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row >= 0 && row < rowCount) {
        ListView_SetItemState(scoreCard_, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(scoreCard_, row, FALSE);
    }
}

void MainWindow::focusScoreCard() {
    SetFocus(scoreCard_);
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
    if (events_ == nullptr || pausing_) {
        return false;
    }
    PortableKey portable;
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
    return events_->keyPressed(portable, board_->controlNumber(GetFocus()));
}

}  // namespace quintaro
