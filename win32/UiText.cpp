#include "win32/UiText.h"

#include <string_view>
#include <utility>
#include <vector>

#include "win32/CommonControls.h"

namespace quintaro {

HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style, int x,
                int y, int width, int height, int id, HFONT font, DWORD extendedStyle) {
    // An owner-drawn button looks the same in either version of the controls, so it does not
    // wait for the common controls; every other control does.
    const bool ownerDrawnButton =
        std::wstring_view(kind) == L"BUTTON" && (style & BS_TYPEMASK) == BS_OWNERDRAW;
    if (!ownerDrawnButton) {
        useCommonControls();
    }
    HWND control = CreateWindowExW(
        extendedStyle, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, width, height,
        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance(), nullptr);
    useFont(control, font);
    return control;
}

HWND addControl(HWND parent, const wchar_t* kind, const std::wstring& text, DWORD style,
                const LayoutRect& where, int dpi, int id, HFONT font, DWORD extendedStyle) {
    const LayoutRect at = scaled(where, dpi);
    return addControl(parent, kind, text, style, at.x, at.y, at.width, at.height, id, font,
                      extendedStyle);
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(std::size_t(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    text.resize(std::size_t(copied > 0 ? copied : 0));
    return narrow(text);
}

void setWindowText(HWND window, std::string_view text) {
    SetWindowTextW(window, widen(text).c_str());
}

namespace {

// The functions of the per-screen density came with Windows 10 (1607); on older systems
// every window has the system's density.
template <typename Function>
Function user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// Fonts made for one density each, kept until shutdown.
using FontTable = std::vector<std::pair<int, HFONT>>;
FontTable guiFonts;
FontTable diceFonts;

HFONT findFont(const FontTable& table, int dpi) {
    for (const auto& [madeFor, font] : table) {
        if (madeFor == dpi) {
            return font;
        }
    }
    return nullptr;
}

}  // namespace

int systemDpi() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int made = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : baseDpi;
        ReleaseDC(nullptr, screen);
        return made > 0 ? made : baseDpi;
    }();
    return dpi;
}

int windowDpi(HWND window) {
    static const auto forWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (forWindow != nullptr && window != nullptr) {
        if (const UINT dpi = forWindow(window); dpi > 0) {
            return int(dpi);
        }
    }
    return systemDpi();
}

SIZE outerSize(LayoutSize client, DWORD style, DWORD extendedStyle, int dpi) {
    static const auto adjust =
        user32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    const LayoutSize inside = scaled(client, dpi);
    RECT outer{0, 0, inside.width, inside.height};
    if (adjust != nullptr) {
        adjust(&outer, style, FALSE, extendedStyle, UINT(dpi));
    } else {
        AdjustWindowRectEx(&outer, style, FALSE, extendedStyle);
    }
    return {outer.right - outer.left, outer.bottom - outer.top};
}

void placeControl(HWND control, const LayoutRect& rect, int dpi) {
    const LayoutRect at = scaled(rect, dpi);
    SetWindowPos(control, nullptr, at.x, at.y, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT guiFont(int dpi) {
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    if (dpi == systemDpi()) {
        return stock;
    }
    if (HFONT font = findFont(guiFonts, dpi)) {
        return font;
    }
    // The same face, its height scaled from the density the stock font was made for.
    LOGFONTW face{};
    GetObjectW(stock, sizeof face, &face);
    face.lfHeight = MulDiv(face.lfHeight, dpi, systemDpi());
    face.lfWidth = 0;
    HFONT font = CreateFontIndirectW(&face);
    if (font == nullptr) {
        return stock;
    }
    guiFonts.emplace_back(dpi, font);
    return font;
}

HFONT guiFont() {
    return guiFont(systemDpi());
}

HFONT diceFont(int dpi) {
    if (HFONT font = findFont(diceFonts, dpi)) {
        return font;
    }
    const int height = -MulDiv(mainWindowLayout(2).diceFontPoints, dpi, 72);
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, L"Arial");
    diceFonts.emplace_back(dpi, font);
    return font;
}

HFONT diceFont() {
    return diceFont(systemDpi());
}

void freeFonts() {
    for (FontTable* table : {&guiFonts, &diceFonts}) {
        for (const auto& [dpi, font] : *table) {
            DeleteObject(font);
        }
        table->clear();
    }
}

void useFont(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

namespace {

POINT centredOrigin(SIZE outer) {
    return {(GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2,
            (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2};
}

}  // namespace

HWND createCentredWindow(DWORD extendedStyle, const wchar_t* className, const std::wstring& title,
                         DWORD style, LayoutSize client, HWND owner, void* parameter, int& dpi) {
    const int madeFor = systemDpi();
    const SIZE start = outerSize(client, style, extendedStyle, madeFor);
    const POINT at = centredOrigin(start);
    HWND window = CreateWindowExW(extendedStyle, className, title.c_str(), style, at.x, at.y,
                                  start.cx, start.cy, owner, nullptr, instance(), parameter);
    dpi = windowDpi(window);
    if (window != nullptr && dpi != madeFor) {
        const SIZE outer = outerSize(client, style, extendedStyle, dpi);
        const POINT centred = centredOrigin(outer);
        SetWindowPos(window, nullptr, centred.x, centred.y, outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return window;
}

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

void registerWindowClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance(), name, &existing)) {
        return;
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance();
    // Icon group 1 of the resources; the tests run without it and get the default icon.
    windowClass.hIcon = LoadIconW(instance(), MAKEINTRESOURCEW(1));
    windowClass.hIconSm = static_cast<HICON>(
        LoadImageW(instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                   GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

}  // namespace quintaro
