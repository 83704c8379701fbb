#include "tests/win32/WindowsTestSupport.h"

#include <cstdlib>

#include <commctrl.h>

#include <algorithm>

#include "settings/WideText.h"
#include "win32/Dialogs.h"
#include "win32/UiText.h"

namespace quintaro::testing {

void pumpMessages() {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void clickButton(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void clickRow(MainWindow& window, int row) {
    HWND card = window.control(ScoreCard);
    if (!IsWindowEnabled(card)) {
        return;
    }
    ListView_SetItemState(card, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (row >= 0) {
        ListView_SetItemState(card, row, LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
    }
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = card;
    click.hdr.idFrom = ScoreCard;
    click.hdr.code = NM_CLICK;
    click.iItem = row;
    click.iSubItem = 1;
    SendMessageW(window.handle(), WM_NOTIFY, ScoreCard, reinterpret_cast<LPARAM>(&click));
}

void clickBelowRows(MainWindow& window) {
    clickRow(window, -1);
}

void chooseMenu(MainWindow& window, int item) {
    SendMessageW(window.handle(), WM_COMMAND, MAKEWPARAM(item, 0), 0);
}

std::string menuText(HMENU menu, UINT item, bool byPosition) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, item, text, 256, byPosition ? MF_BYPOSITION : MF_BYCOMMAND);
    return narrow(text);
}

COLORREF drawnCellColour(MainWindow& window, int row, int column) {
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdr.hwndFrom = window.control(ScoreCard);
    draw.nmcd.hdr.idFrom = ScoreCard;
    draw.nmcd.hdr.code = NM_CUSTOMDRAW;
    draw.nmcd.dwDrawStage = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
    draw.nmcd.dwItemSpec = DWORD_PTR(row);
    draw.iSubItem = column;
    draw.clrTextBk = CLR_NONE;
    SendMessageW(window.handle(), WM_NOTIFY, ScoreCard, reinterpret_cast<LPARAM>(&draw));
    return draw.clrTextBk;
}

RECT childRect(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void typeKey(WORD key) {
    INPUT inputs[2]{};
    inputs[0].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = key;
    inputs[0].ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    inputs[1] = inputs[0];
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void clickAt(HWND window, POINT point) {
    ClientToScreen(window, &point);
    // Absolute positions run from 0 to 65535 across the primary screen.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = LONG((point.x * 65535 + width / 2) / (width - 1));
        input.mi.dy = LONG((point.y * 65535 + height / 2) / (height - 1));
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    SendInput(3, inputs, sizeof(INPUT));
}

bool waitFor(const std::function<void()>& handle, const std::function<bool()>& done) {
    const ULONGLONG deadline = GetTickCount64() + 2000;
    while (true) {
        handle();
        if (done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(deadline - now, 50)),
                                  QS_ALLINPUT);
    }
}

LayoutRect layoutRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

COLORREF screenPixel(HWND window, POINT point) {
    RedrawWindow(GetAncestor(window, GA_ROOT), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    ClientToScreen(window, &point);
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

bool nearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(int(GetRValue(a)) - int(GetRValue(b))) <= tolerance &&
           std::abs(int(GetGValue(a)) - int(GetGValue(b))) <= tolerance &&
           std::abs(int(GetBValue(a)) - int(GetBValue(b))) <= tolerance;
}

SIZE textExtent(HWND control, const std::wstring& text) {
    SIZE extent{};
    HDC dc = GetDC(control);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &extent);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return extent;
}

BoxAnswerer::BoxAnswerer(std::vector<Answer> answers)
    : thread_(GetCurrentThreadId()), answers_(std::move(answers)) {
    watcher_ = std::thread([this] { watch(); });
}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    watcher_.join();
}

std::vector<BoxAnswerer::Seen> BoxAnswerer::seen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
}

namespace {

struct Search {
    std::vector<HWND>* handled;
    HWND found = nullptr;
    std::wstring kind;
};

BOOL CALLBACK findBox(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    wchar_t kind[64] = {};
    GetClassNameW(window, kind, 64);
    const std::wstring name = kind;
    const bool box = name == L"#32770" || name == inputBoxClass || name == optionsDialogClass;
    if (box && IsWindowVisible(window) &&
        std::find(search->handled->begin(), search->handled->end(), window) ==
            search->handled->end()) {
        search->found = window;
        search->kind = name;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

void BoxAnswerer::watch() {
    while (!stop_) {
        Sleep(20);
        // Boxes answered before and gone are forgotten, so a handle used again is seen anew.
        handled_.erase(std::remove_if(handled_.begin(), handled_.end(),
                                      [](HWND window) { return !IsWindow(window); }),
                       handled_.end());
        Search search{&handled_, nullptr, {}};
        EnumThreadWindows(thread_, findBox, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr) {
            continue;
        }
        HWND box = search.found;
        // Let the box finish opening (the input box sets its caret after showing).
        Sleep(30);
        Seen seen{search.kind, windowText(box), ""};
        if (search.kind == L"#32770") {
            seen.text = windowText(GetDlgItem(box, 0xFFFF));
        } else if (search.kind == inputBoxClass) {
            seen.text = windowText(GetDlgItem(box, InputPrompt));
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            seen_.push_back(seen);
        }
        handled_.push_back(box);
        Answer answer;
        if (next_ < answers_.size()) {
            answer = answers_[next_++];
        } else if (search.kind == L"#32770") {
            answer = pressButton(IDOK);
        } else {
            answer = pressButton(IDOK);
        }
        answer(box);
    }
}

BoxAnswerer::Answer BoxAnswerer::pressButton(int id) {
    return [id](HWND box) {
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
    };
}

BoxAnswerer::Answer BoxAnswerer::type(const std::string& text) {
    return [text](HWND box) {
        HWND field = GetDlgItem(box, InputField);
        SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
        // Enter in the field, as a person would end the answer.
        PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(field, WM_KEYUP, VK_RETURN, 0);
    };
}

BoxAnswerer::Answer BoxAnswerer::escape() {
    return [](HWND box) {
        HWND field = GetDlgItem(box, InputField);
        PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageW(field, WM_KEYUP, VK_ESCAPE, 0);
    };
}

BoxAnswerer::Answer BoxAnswerer::closeCommand() {
    return [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); };
}

}  // namespace quintaro::testing

namespace quintaro::testing {
std::string windowTextOf(HWND window) {
    return windowText(window);
}
}  // namespace quintaro::testing
