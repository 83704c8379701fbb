#include "win32/MainWindow.h"

#include <commctrl.h>
#include <objbase.h>

#include "settings/KeyValueFile.h"
#include "win32/Dialogs.h"
#include "win32/Media.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {

struct RowLabel {
    const char* key;
    const char* defaultText;
};

// Score-card rows 0..14: language key and the label used when the key is missing.
constexpr std::array<RowLabel, rowCount> rowLabels = {{
    {"Nines", "Nines"},
    {"Tens", "Tens"},
    {"Jacks", "Jacks"},
    {"Queens", "Queens"},
    {"Kings", "Kings"},
    {"Aces", "Aces"},
    {"Bonus", "15+ BONUS (3)"},
    {"Pair", "Pair (1)"},
    {"TwoPair", "Two Pair (2)"},
    {"Trips", "Trips (3)"},
    {"Straight", "Straight (4)"},
    {"FH", "Full House (4)"},
    {"4K", "4 of a Kind (4)"},
    {"5K", "5 of a Kind (5)"},
    {"Total", "Total"},
}};

constexpr const char* aboutCredit =
    "Quintaro " QUINTARO_VERSION
    "\n\nA dice game for two to four players, or one player against the computer, with five "
    "dice showing 9, 10, J, Q, K and A.\n\nFree software under the MIT licence.";

constexpr DWORD mainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

bool isUserInput(UINT message) {
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCXBUTTONDBLCLK);
}

HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style, int x,
                int y, int width, int height, int id, HFONT font, DWORD extendedStyle = 0) {
    HWND control = CreateWindowExW(
        extendedStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    useFont(control, font);
    return control;
}

}  // namespace

MainWindow::MainWindow(GameState& state, HWND replacing) : state_(state) {
    build(replacing);
}

MainWindow::~MainWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

void MainWindow::build(HWND replacing) {
    loadSound(0, "dice.wav");
    KeyValueFile texts;
    texts.open(state_.languageFile);

    registerWindowClass(mainWindowClass, procedure);
    // The outer size is that of a 600 x 300 client area without a menu bar; the menu bar
    // then takes its height from the client area.
    RECT outer{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&outer, mainWindowStyle, FALSE, 0);
    window_ = CreateWindowExW(0, mainWindowClass, readUiText(texts, "Title", "Quintaro").c_str(),
                              mainWindowStyle, 0, 0, outer.right - outer.left,
                              outer.bottom - outer.top, nullptr, nullptr, instance(), this);
    centreOnScreen(window_);
    buildMenuBar(texts);

    scoreCard_ = addControl(window_, WC_LISTVIEWW, L"",
                            WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER, 5, 5, 305,
                            245, ScoreCard, guiFont(), WS_EX_CLIENTEDGE);
    ListView_SetExtendedListViewStyle(scoreCard_, LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    std::wstring header;
    for (int p = 0; p <= state_.playerCount; ++p) {
        header = p == 0 ? std::wstring() : widen(state_.playerNames[std::size_t(p)]);
        column.pszText = header.data();
        column.cx = p == 0 ? 90 : 210 / state_.playerCount;
        column.iSubItem = p;
        ListView_InsertColumn(scoreCard_, p, &column);
    }
    for (int row = 0; row < rowCount; ++row) {
        std::wstring label = readUiText(texts, rowLabels[std::size_t(row)].key,
                                        rowLabels[std::size_t(row)].defaultText);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = row;
        item.pszText = label.data();
        ListView_InsertItem(scoreCard_, &item);
    }
    setRowColour(totalRow, fixedRowColour);
    setRowColour(bonusRow, fixedRowColour);

    rollButton_ = addControl(window_, L"BUTTON", readUiText(texts, "roll", ""),
                             WS_TABSTOP | BS_PUSHBUTTON, 330, 200, 120, 40, RollButton, guiFont());
    turnLabel_ = addControl(window_, L"STATIC", widen(state_.playerNames[1]), SS_NOPREFIX, 330, 10,
                            100, 20, TurnLabel, guiFont());
    texts.close();

    for (int number = 1; number <= 5; ++number) {
        dice_[std::size_t(number - 1)] =
            addControl(window_, L"BUTTON", L"", WS_TABSTOP | BS_AUTOCHECKBOX | BS_PUSHLIKE,
                       330 + 50 * (number - 1), 45, 40, 40, number, diceFont());
    }
    handLabel_ =
        addControl(window_, L"STATIC", L"", SS_NOPREFIX, 330, 150, 120, 40, HandLabel, diceFont());

    turnFlow_ = std::make_unique<TurnFlow>(
        *this, state_,
        TurnFlow::Hooks{[] { playSound(0); }, [this](int milliseconds) { pause(milliseconds); }});
    EnableWindow(scoreCard_, FALSE);

    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    // The dialog or the previous game's window stayed on screen until now.
    if (replacing != nullptr && IsWindow(replacing)) {
        DestroyWindow(replacing);
    }
    SetForegroundWindow(window_);
}

void MainWindow::buildMenuBar(const KeyValueFile& texts) {
    menu_ = CreateMenu();
    gameMenu_ = CreatePopupMenu();
    AppendMenuW(gameMenu_, MF_STRING, NewGameItem, readUiText(texts, "MenuNewGame", "").c_str());
    AppendMenuW(gameMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(gameMenu_, MF_STRING, ExitItem, readUiText(texts, "MenuExit", "").c_str());
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(gameMenu_),
                readUiText(texts, "MenuTitleGame", "").c_str());

    toolsMenu_ = CreatePopupMenu();
    AppendMenuW(toolsMenu_, MF_STRING, OptionsItem, readUiText(texts, "MenuOptions", "").c_str());
    AppendMenuW(toolsMenu_, MF_SEPARATOR, 0, nullptr);
    // The language names stay the same in every language.
    HMENU languages = CreatePopupMenu();
    AppendMenuW(languages, MF_STRING, EnglishItem, L"English");
    AppendMenuW(languages, MF_STRING, GermanItem, L"German");
    AppendMenuW(languages, MF_STRING, BulgarianItem, L"Bulgarian");
    AppendMenuW(toolsMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(languages), L"Language");
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(toolsMenu_),
                readUiText(texts, "MenuTitleTools", "").c_str());

    // The rules item bears the Help menu's own title.
    helpMenu_ = CreatePopupMenu();
    AppendMenuW(helpMenu_, MF_STRING, RulesItem, readUiText(texts, "MenuTitleHelp", "").c_str());
    AppendMenuW(helpMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(helpMenu_, MF_STRING, AboutItem,
                (readUiText(texts, "MenuAbout", "") + L"...").c_str());
    AppendMenuW(menu_, MF_POPUP, reinterpret_cast<UINT_PTR>(helpMenu_),
                readUiText(texts, "MenuTitleHelp", "").c_str());
    SetMenu(window_, menu_);
}

LRESULT CALLBACK MainWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->window_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->onMessage(message, wParam, lParam);
}

LRESULT MainWindow::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam == 0 && HIWORD(wParam) == 0) {
                chooseMenuItem(LOWORD(wParam));
            } else if (LOWORD(wParam) == RollButton && HIWORD(wParam) == BN_CLICKED) {
                turnFlow_->roll();
            }
            // A click on a die flips its own pressed state: that is the hold.
            return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == scoreCard_ && header->code == NM_CUSTOMDRAW) {
                return customDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            }
            if (header->hwndFrom == scoreCard_ && header->code == NM_CLICK) {
                turnFlow_->book(ListView_GetNextItem(scoreCard_, -1, LVNI_SELECTED));
                if (closeDuringPause_) {
                    end(Ending::Exit);
                }
            }
            return 0;
        }
        case WM_CLOSE:
            if (pausing_) {
                // The pause ends at once and the program then shuts down as usual.
                closeDuringPause_ = true;
            } else {
                end(Ending::Exit);
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
            return CDRF_NOTIFYSUBITEMDRAW;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM:
            draw.clrTextBk = cellBackground(int(draw.nmcd.dwItemSpec), draw.iSubItem);
            draw.clrText = GetSysColor(COLOR_WINDOWTEXT);
            return CDRF_NEWFONT;
        default:
            return CDRF_DODEFAULT;
    }
}

COLORREF MainWindow::cellBackground(int row, int column) const {
    if (row >= 0 && row < rowCount && column >= 0 && column < 5) {
        if (const auto& colour = colours_[std::size_t(row)][std::size_t(column)]) {
            return COLORREF(colour->bgr());
        }
    }
    return GetSysColor(COLOR_WINDOW);
}

void MainWindow::end(Ending how) {
    if (ending_ != Ending::Running) {
        return;
    }
    ending_ = how;
    // The message loop sees the ending after this message. A window that ends the program
    // goes at once; one that makes way for a new game stays until the new one is up.
    if (how == Ending::Exit) {
        ShowWindow(window_, SW_HIDE);
    }
}

void MainWindow::chooseMenuItem(int item) {
    if (pausing_ || ending_ != Ending::Running) {
        return;
    }
    switch (item) {
        case NewGameItem:
            askNewGame();
            break;
        case ExitItem:
            end(Ending::Exit);
            break;
        case RulesItem:
            openDocument("rules.txt");
            break;
        case AboutItem:
            showAbout();
            break;
        case OptionsItem:
            showOptions();
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

void MainWindow::askNewGame() {
    KeyValueFile texts;
    texts.open(state_.languageFile);
    const std::wstring title = readUiText(texts, "NewGame", "");
    const std::wstring question = readUiText(texts, "NewGameDesc", "");
    texts.close();
    if (MessageBoxW(window_, question.c_str(), title.c_str(), MB_YESNO) == IDYES) {
        end(Ending::NewGame);
    }
}

void MainWindow::showAbout() {
    KeyValueFile texts;
    texts.open(state_.languageFile);
    const std::wstring title = readUiText(texts, "MenuAbout", "") + L" Quintaro";
    texts.close();
    MessageBoxW(window_, widen(aboutCredit).c_str(), title.c_str(), MB_OK);
}

void MainWindow::showOptions() {
    EnableWindow(window_, FALSE);
    runOptionsDialog(window_, state_);
    EnableWindow(window_, TRUE);
    SetActiveWindow(window_);
}

void MainWindow::switchLanguage(int index) {
    state_.languageFile = state_.languageFiles.at(std::size_t(index));
    KeyValueFile texts;
    texts.open(state_.languageFile);

    // The menu bar is off the window while its texts change.
    SetMenu(window_, nullptr);
    const auto setTitle = [this](int position, const std::wstring& text) {
        ModifyMenuW(menu_, UINT(position), MF_BYPOSITION | MF_POPUP,
                    reinterpret_cast<UINT_PTR>(GetSubMenu(menu_, position)), text.c_str());
    };
    const auto setItem = [this](HMENU popup, int item, const std::wstring& text) {
        ModifyMenuW(popup, UINT(item), MF_BYCOMMAND | MF_STRING, UINT_PTR(item), text.c_str());
    };
    setTitle(0, readUiText(texts, "MenuTitleGame", ""));
    setItem(gameMenu_, NewGameItem, readUiText(texts, "MenuNewGame", ""));
    setItem(gameMenu_, ExitItem, readUiText(texts, "MenuExit", ""));
    setTitle(1, readUiText(texts, "MenuTitleTools", ""));
    setItem(toolsMenu_, OptionsItem, readUiText(texts, "MenuOptions", ""));
    setTitle(2, readUiText(texts, "MenuTitleHelp", ""));
    setItem(helpMenu_, RulesItem, readUiText(texts, "MenuTitleHelp", ""));
    // After a switch the About item carries the text alone.
    setItem(helpMenu_, AboutItem, readUiText(texts, "MenuAbout", ""));
    SetWindowTextW(rollButton_, readUiText(texts, "roll", "").c_str());
    SetWindowTextW(window_, readUiText(texts, "Title", "Quintaro").c_str());
    SetMenu(window_, menu_);
    DrawMenuBar(window_);

    // Labels missing from the new file come out empty, not in English.
    for (int row = 0; row < rowCount; ++row) {
        setCellText(row, 0, texts.readText(rowLabels[std::size_t(row)].key, ""));
    }
    texts.close();

    KeyValueFile settings;
    settings.open(std::string(settingsFileName));
    settings.writeText("lang", state_.languageFile.substr(0, 2));
    settings.close();
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
                    closeDuringPause_ = true;
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

HWND MainWindow::control(int number) const {
    switch (number) {
        case ScoreCard:
            return scoreCard_;
        case RollButton:
            return rollButton_;
        case TurnLabel:
            return turnLabel_;
        case HandLabel:
            return handLabel_;
        default:
            if (number >= Die1 && number <= Die5) {
                return dice_[std::size_t(number - 1)];
            }
            return nullptr;
    }
}

std::string MainWindow::cellText(int row, int column) const {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = int(std::size(text));
    SendMessageW(scoreCard_, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
    return narrow(text);
}

void MainWindow::setCellText(int row, int column, const std::string& text) {
    std::wstring wide = widen(text);
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = wide.data();
    SendMessageW(scoreCard_, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
}

bool MainWindow::cellColourSet(int row, int column) const {
    return row >= 0 && row < rowCount && column >= 0 && column < 5 &&
           colours_[std::size_t(row)][std::size_t(column)].has_value();
}

void MainWindow::setCellColour(int row, int column, Colour colour) {
    if (row >= 0 && row < rowCount && column >= 0 && column < 5) {
        colours_[std::size_t(row)][std::size_t(column)] = colour;
        ListView_RedrawItems(scoreCard_, row, row);
    }
}

void MainWindow::setRowColour(int row, Colour colour) {
    for (int column = 0; column <= state_.playerCount && column < 5; ++column) {
        setCellColour(row, column, colour);
    }
}

bool MainWindow::dieHeld(int die) const {
    return SendMessageW(control(die), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainWindow::setDieHeld(int die, bool held) {
    SendMessageW(control(die), BM_SETCHECK, held ? BST_CHECKED : BST_UNCHECKED, 0);
}

std::string MainWindow::controlText(int control) const {
    HWND window = this->control(control);
    return window != nullptr && control != ScoreCard ? windowText(window) : std::string();
}

void MainWindow::setControlText(int control, const std::string& text) {
    HWND window = this->control(control);
    if (window != nullptr && control != ScoreCard) {
        setWindowText(window, text);
    }
}

bool MainWindow::controlEnabled(int control) const {
    HWND window = this->control(control);
    return window != nullptr && IsWindowEnabled(window);
}

void MainWindow::setControlEnabled(int control, bool enabled) {
    if (HWND window = this->control(control)) {
        EnableWindow(window, enabled ? TRUE : FALSE);
    }
}

void MainWindow::showMessage(const std::string& caption, const std::string& text) {
    MessageBoxW(window_, widen(text).c_str(), widen(caption).c_str(), MB_OK);
}

int runQuintaro() {
    // Start-up: COM for the picture decoder, the common controls with visual styles.
    const HRESULT com = CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);

    GameState state = loadGameState();
    initSound();
    // Closing the new-game dialog goes straight to shutdown: no game starts.
    HWND replacing = runNewGameDialog(state);
    std::unique_ptr<MainWindow> window;
    while (replacing != nullptr) {
        // The new window takes the place of the dialog or of the previous game's window.
        window = std::make_unique<MainWindow>(state, replacing);
        replacing = nullptr;
        MSG message{};
        while (window->ending() == MainWindow::Ending::Running &&
               GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (window->ending() == MainWindow::Ending::NewGame) {
            // Same players, names, mode and language; the old game is gone.
            state.resetProgress();
            freeSound(0);
            replacing = window->handle();
        }
    }
    window.reset();

    // Shutdown.
    releaseSound();
    freePictures();
    freeFonts();
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return 0;
}

}  // namespace quintaro
