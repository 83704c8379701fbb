#include "tests/win32/WindowsTestSupport.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "settings/WideText.h"
#include "win32/Dialogs.h"
#include "win32/UiText.h"

namespace quintaro::testing {

namespace {

// Every input the tests send carries a number of its own, so that settle knows when the
// last one has been taken from the queue.
ULONG_PTR lastSent = 0;
ULONG_PTR lastTaken = 0;
constexpr ULONG_PTR inputMark = 0x51000000;

void handleWaiting(WindowsFrontend& frontend) {
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        const ULONG_PTR extra = ULONG_PTR(GetMessageExtraInfo());
        if ((extra & 0xFF000000) == inputMark) {
            lastTaken = std::max(lastTaken, extra & 0x00FFFFFF);
        }
        frontend.dispatch(message);
    }
}

void send(INPUT* inputs, UINT count) {
    for (UINT i = 0; i < count; ++i) {
        ++lastSent;
        if (inputs[i].type == INPUT_KEYBOARD) {
            inputs[i].ki.dwExtraInfo = inputMark | lastSent;
        } else {
            inputs[i].mi.dwExtraInfo = inputMark | lastSent;
        }
    }
    SendInput(count, inputs, sizeof(INPUT));
}

INPUT keyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

namespace {

// The test whose wait ran out last: its further waits are short, so that one thing that never
// comes does not hold the whole run up to the runner's limit.
std::string currentTest() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    return test != nullptr ? std::string(test->test_suite_name()) + "." + test->name() : "";
}
std::string waitedInVain;

}  // namespace

bool waitFor(WindowsFrontend& frontend, const std::function<bool()>& done, const std::string& what,
             DWORD deadlineMs) {
    if (!waitedInVain.empty() && waitedInVain == currentTest()) {
        deadlineMs = std::min<DWORD>(deadlineMs, 1000);
    }
    const ULONGLONG deadline = GetTickCount64() + deadlineMs;
    while (true) {
        handleWaiting(frontend);
        if (done()) {
            return true;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) {
            ADD_FAILURE() << "waited " << deadlineMs << " ms in vain for: " << what;
            waitedInVain = currentTest();
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(deadline - now, 50)),
                                  QS_ALLINPUT);
    }
}

bool settle(WindowsFrontend& frontend, const std::string& what, DWORD deadlineMs) {
    return waitFor(
        frontend, [] { return lastTaken >= lastSent && GetQueueStatus(QS_ALLINPUT) == 0; },
        what + " (the input handled)", deadlineMs);
}

void typeKey(WORD key, bool ctrl) {
    INPUT inputs[4]{};
    UINT count = 0;
    if (ctrl) {
        inputs[count++] = keyInput(VK_CONTROL, false);
    }
    inputs[count++] = keyInput(key, false);
    inputs[count++] = keyInput(key, true);
    if (ctrl) {
        inputs[count++] = keyInput(VK_CONTROL, true);
    }
    send(inputs, count);
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
    send(inputs, 3);
}

void clickControl(HWND control) {
    RECT area{};
    GetClientRect(control, &area);
    clickAt(control, {(area.left + area.right) / 2, (area.top + area.bottom) / 2});
}

void clickCell(MainWindow& window, int row, int column) {
    HWND card = window.control(ScoreCard);
    RECT cell{};
    ListView_GetSubItemRect(card, row, column, LVIR_BOUNDS, &cell);
    clickAt(card, {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
}

void clickButton(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
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

HWND openBox(const wchar_t* kind) {
    HWND box = FindWindowW(kind, nullptr);
    return box != nullptr && IsWindowVisible(box) ? box : nullptr;
}

std::string boxText(HWND box) {
    HWND text = GetDlgItem(box, MessageText);
    return windowText(text != nullptr ? text : GetDlgItem(box, InputPrompt));
}

void pressBoxButton(HWND box, int id) {
    SendMessageW(GetDlgItem(box, id), BM_CLICK, 0, 0);
}

void typeAnswer(HWND box, const std::string& text) {
    HWND field = GetDlgItem(box, InputField);
    SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
    // Enter in the field, as a person ends the answer; the dialog keys go through the loop.
    PostMessageW(field, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(field, WM_KEYUP, VK_RETURN, 0);
}

void escapeBox(HWND box) {
    HWND field = GetDlgItem(box, InputField);
    PostMessageW(field, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(field, WM_KEYUP, VK_ESCAPE, 0);
}

bool Game::toFront(const std::string& what) {
    HWND handle = window().handle();
    SetForegroundWindow(handle);
    return waitFor(
        frontend, [handle] { return GetForegroundWindow() == handle; }, what);
}

std::string windowTextOf(HWND window) {
    return windowText(window);
}

}  // namespace quintaro::testing
