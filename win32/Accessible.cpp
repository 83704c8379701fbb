#include "win32/Accessible.h"

// After windows.h: IAccessible.
#include <oleacc.h>

#include <algorithm>

#include "settings/WideText.h"
#include "win32/CommonControls.h"
#include "win32/SystemFunction.h"
#include "win32/UiText.h"

namespace quintaro {

namespace {

// The accessibility libraries load with the first question a screen reader asks.
HRESULT standardAccessible(HWND window, IAccessible** object) {
    static const auto create = systemFunction<decltype(&CreateStdAccessibleObject)>(
        L"oleacc.dll", "CreateStdAccessibleObject");
    return create != nullptr ? create(window, OBJID_CLIENT, __uuidof(IAccessible),
                                      reinterpret_cast<void**>(object))
                             : E_NOTIMPL;
}

LRESULT resultFromObject(WPARAM wParam, IAccessible* object) {
    static const auto result =
        systemFunction<decltype(&LresultFromObject)>(L"oleacc.dll", "LresultFromObject");
    return result != nullptr ? result(__uuidof(IAccessible), wParam, object) : 0;
}

BSTR allocateText(const std::wstring& text) {
    static const auto allocate =
        systemFunction<decltype(&SysAllocStringLen)>(L"oleaut32.dll", "SysAllocStringLen");
    return allocate != nullptr ? allocate(text.data(), UINT(text.size())) : nullptr;
}

// What VariantInit does.
void makeEmpty(VARIANT* variant) {
    variant->vt = VT_EMPTY;
}

}  // namespace

// The game's IAccessible for one control of the main window. The names, roles and states
// are the game's; the rest is asked of the standard proxy the system has for the window.
class ControlAccessible final : public IAccessible {
  public:
    ControlAccessible(WindowsAccessibleSink& sink, HWND window, int control)
        : sink_(&sink), window_(window), control_(control) {
        sink.served_.push_back(this);
        if (FAILED(standardAccessible(window, &standard_))) {
            standard_ = nullptr;
        }
    }
    ControlAccessible(const ControlAccessible&) = delete;
    ControlAccessible& operator=(const ControlAccessible&) = delete;

    // The window is going: from now on every question is answered with "disconnected".
    void disconnect() { sink_ = nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    // IDispatch: no type information; clients use the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        return standard_ != nullptr ? standard_->get_accParent(parent) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        *count = control_ == ScoreCard ? cellCount() : 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (child.vt != VT_I4) {
            return E_INVALIDARG;
        }
        if (child.lVal == CHILDID_SELF) {
            return QueryInterface(__uuidof(IDispatch), reinterpret_cast<void**>(object));
        }
        // The cells are simple children: the card answers for them by child id.
        return isCell(child) ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return answerText(child, name, [this](int row, int column) {
            return row < 0 ? sink_->controlName(control_) : sink_->cellName(row, column);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        // A cell's value is its points as the card shows them.
        return answerText(child, value, [this](int row, int column) {
            return row < 0 ? std::wstring() : cellText(row, column);
        });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return delegateText(&IAccessible::get_accDescription, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) {
            return E_POINTER;
        }
        makeEmpty(role);
        int row = 0;
        int column = 0;
        const HRESULT known = place(child, row, column);
        if (known != S_OK) {
            return known;
        }
        role->vt = VT_I4;
        if (row >= 0) {
            role->lVal = ROLE_SYSTEM_CELL;
        } else if (control_ == ScoreCard) {
            role->lVal = ROLE_SYSTEM_TABLE;
        } else if (control_ == RollButton) {
            role->lVal = ROLE_SYSTEM_PUSHBUTTON;
        } else if (control_ >= Die1 && control_ <= Die5) {
            // A die is a push-like toggle: pressed is held.
            role->lVal = ROLE_SYSTEM_CHECKBUTTON;
        } else {
            role->lVal = ROLE_SYSTEM_STATICTEXT;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) {
            return E_POINTER;
        }
        makeEmpty(state);
        int row = 0;
        int column = 0;
        const HRESULT known = place(child, row, column);
        if (known != S_OK) {
            return known;
        }
        long flags = 0;
        if (!IsWindowEnabled(window_)) {
            flags |= STATE_SYSTEM_UNAVAILABLE;
        }
        if (!IsWindowVisible(window_)) {
            flags |= STATE_SYSTEM_INVISIBLE;
        }
        if (row >= 0) {
            flags |= STATE_SYSTEM_SELECTABLE;
            if (ListView_GetItemState(window_, row, LVIS_SELECTED) != 0) {
                flags |= STATE_SYSTEM_SELECTED;
            }
        } else {
            if ((GetWindowLongW(window_, GWL_STYLE) & WS_TABSTOP) != 0) {
                flags |= STATE_SYSTEM_FOCUSABLE;
            }
            if (GetFocus() == window_) {
                flags |= STATE_SYSTEM_FOCUSED;
            }
            if (control_ >= Die1 && control_ <= Die5 &&
                SendMessageW(window_, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                flags |= STATE_SYSTEM_CHECKED;
            }
            if (control_ == HandLabel || control_ == TurnLabel) {
                flags |= STATE_SYSTEM_READONLY;
            }
        }
        state->vt = VT_I4;
        state->lVal = flags;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return delegateText(&IAccessible::get_accHelp, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (file != nullptr) {
            *file = nullptr;
        }
        if (isCell(child) || standard_ == nullptr) {
            return S_FALSE;
        }
        return standard_->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return delegateText(&IAccessible::get_accKeyboardShortcut, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        return standard_ != nullptr ? standard_->get_accFocus(child) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        return standard_ != nullptr ? standard_->get_accSelection(children) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return delegateText(&IAccessible::get_accDefaultAction, child, text);
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (isCell(child)) {
            return S_FALSE;
        }
        return standard_ != nullptr ? standard_->accSelect(flags, child) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) {
            return E_POINTER;
        }
        int row = 0;
        int column = 0;
        const HRESULT known = place(child, row, column);
        if (known != S_OK) {
            return known;
        }
        RECT rect{};
        if (row < 0) {
            GetWindowRect(window_, &rect);
        } else {
            ListView_GetSubItemRect(window_, row, column, LVIR_BOUNDS, &rect);
            MapWindowPoints(window_, HWND_DESKTOP, reinterpret_cast<POINT*>(&rect), 2);
        }
        *left = rect.left;
        *top = rect.top;
        *width = rect.right - rect.left;
        *height = rect.bottom - rect.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) {
            return E_POINTER;
        }
        makeEmpty(end);
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (control_ != ScoreCard || start.vt != VT_I4) {
            return standard_ != nullptr ? standard_->accNavigate(direction, start, end) : E_NOTIMPL;
        }
        // Between the cells in reading order; from the card to its first or last cell.
        long target = 0;
        const long id = start.lVal;
        const bool self = id == CHILDID_SELF;
        if (self && direction == NAVDIR_FIRSTCHILD) {
            target = 1;
        } else if (self && direction == NAVDIR_LASTCHILD) {
            target = cellCount();
        } else if (!self && (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT)) {
            target = id + 1;
        } else if (!self && (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT)) {
            target = id - 1;
        } else if (!self && direction == NAVDIR_DOWN) {
            target = id + sink_->playerCount();
        } else if (!self && direction == NAVDIR_UP) {
            target = id - sink_->playerCount();
        } else if (self) {
            return standard_ != nullptr ? standard_->accNavigate(direction, start, end) : E_NOTIMPL;
        }
        if (target < 1 || target > cellCount()) {
            return S_FALSE;
        }
        end->vt = VT_I4;
        end->lVal = target;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override {
        if (child == nullptr) {
            return E_POINTER;
        }
        makeEmpty(child);
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        POINT point{x, y};
        ScreenToClient(window_, &point);
        RECT client{};
        GetClientRect(window_, &client);
        if (!PtInRect(&client, point)) {
            return S_FALSE;
        }
        child->vt = VT_I4;
        child->lVal = CHILDID_SELF;
        if (control_ == ScoreCard) {
            LVHITTESTINFO hit{};
            hit.pt = point;
            if (ListView_SubItemHitTest(window_, &hit) >= 0 && hit.iSubItem >= 1 &&
                hit.iSubItem <= sink_->playerCount()) {
                child->lVal = cellChildId(hit.iItem, hit.iSubItem, sink_->playerCount());
            }
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (isCell(child)) {
            return DISP_E_MEMBERNOTFOUND;
        }
        return standard_ != nullptr ? standard_->accDoDefaultAction(child) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

  private:
    ~ControlAccessible() {
        if (standard_ != nullptr) {
            standard_->Release();
        }
        if (sink_ != nullptr) {
            auto& served = sink_->served_;
            served.erase(std::remove(served.begin(), served.end(), this), served.end());
        }
    }

    long cellCount() const { return long(rowCount) * sink_->playerCount(); }

    bool isCell(VARIANT child) const {
        return control_ == ScoreCard && child.vt == VT_I4 && child.lVal >= 1 && sink_ != nullptr &&
               child.lVal <= cellCount();
    }

    // Which part of the control a child id names: row -1 for the control itself, else the
    // cell. S_OK, E_INVALIDARG for an unknown id, or disconnected.
    HRESULT place(VARIANT child, int& row, int& column) const {
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (child.vt != VT_I4) {
            return E_INVALIDARG;
        }
        if (child.lVal == CHILDID_SELF) {
            row = -1;
            column = 0;
            return S_OK;
        }
        if (!isCell(child)) {
            return E_INVALIDARG;
        }
        const int players = sink_->playerCount();
        row = int((child.lVal - 1) / players);
        column = int((child.lVal - 1) % players) + 1;
        return S_OK;
    }

    std::wstring cellText(int row, int column) const {
        wchar_t text[256] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = int(std::size(text));
        SendMessageW(window_, LVM_GETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    template <typename Compose>
    HRESULT answerText(VARIANT child, BSTR* out, Compose compose) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        int row = 0;
        int column = 0;
        const HRESULT known = place(child, row, column);
        if (known != S_OK) {
            return known;
        }
        const std::wstring text = compose(row, column);
        if (text.empty()) {
            return S_FALSE;
        }
        *out = allocateText(text);
        return *out != nullptr ? S_OK : E_OUTOFMEMORY;
    }

    HRESULT delegateText(HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*),
                         VARIANT child, BSTR* out) const {
        if (out == nullptr) {
            return E_POINTER;
        }
        *out = nullptr;
        if (sink_ == nullptr) {
            return RPC_E_DISCONNECTED;
        }
        if (isCell(child) || standard_ == nullptr) {
            return S_FALSE;
        }
        return (standard_->*ask)(child, out);
    }

    WindowsAccessibleSink* sink_;
    HWND window_;
    int control_;
    IAccessible* standard_ = nullptr;
    ULONG references_ = 1;
};

WindowsAccessibleSink::WindowsAccessibleSink(HWND window, int playerCount)
    : window_(window), playerCount_(playerCount) {}

WindowsAccessibleSink::~WindowsAccessibleSink() {
    for (ControlAccessible* object : served_) {
        object->disconnect();
    }
    for (int number = ScoreCard; number <= HandLabel; ++number) {
        if (HWND handle = control(number)) {
            removeWindowSubclass(handle, subclass, UINT_PTR(number));
        }
    }
}

HWND WindowsAccessibleSink::control(int number) const {
    if (number < ScoreCard || number > HandLabel || number == 7 || !IsWindow(window_)) {
        return nullptr;
    }
    return GetDlgItem(window_, number);
}

void WindowsAccessibleSink::serve(int number) {
    if (HWND handle = control(number)) {
        setWindowSubclass(handle, subclass, UINT_PTR(number), reinterpret_cast<DWORD_PTR>(this));
    }
}

void WindowsAccessibleSink::nameControl(int number, const std::string& name) {
    if (number < ScoreCard || number > HandLabel) {
        return;
    }
    std::wstring wide = widen(name);
    const auto index = std::size_t(number);
    const bool changed = !named_[index] || controlNames_[index] != wide;
    controlNames_[index] = std::move(wide);
    named_[index] = true;
    // A label's change is read out when the shell announces it; a button's name is news at
    // once.
    if (changed && number != TurnLabel && number != HandLabel) {
        if (HWND handle = control(number)) {
            NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, handle, OBJID_CLIENT, CHILDID_SELF);
        }
    }
}

void WindowsAccessibleSink::nameCell(int row, int column, const std::string& name) {
    if (row < 0 || row >= rowCount || column < 1 || column > playerCount_ || column >= 5) {
        return;
    }
    std::wstring wide = widen(name);
    std::wstring& stored = cellNames_[std::size_t(row)][std::size_t(column)];
    if (stored == wide) {
        return;
    }
    stored = std::move(wide);
    if (HWND card = control(ScoreCard)) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, card, OBJID_CLIENT,
                       cellChildId(row, column, playerCount_));
    }
}

void WindowsAccessibleSink::announce(int number) {
    if (HWND handle = control(number)) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, handle, OBJID_CLIENT, CHILDID_SELF);
    }
}

std::wstring WindowsAccessibleSink::controlName(int number) const {
    if (number >= ScoreCard && number <= HandLabel && named_[std::size_t(number)]) {
        return controlNames_[std::size_t(number)];
    }
    HWND handle = control(number);
    return handle != nullptr && number != ScoreCard ? widen(windowText(handle)) : std::wstring();
}

std::wstring WindowsAccessibleSink::cellName(int row, int column) const {
    if (row < 0 || row >= rowCount || column < 1 || column >= 5) {
        return {};
    }
    return cellNames_[std::size_t(row)][std::size_t(column)];
}

LRESULT CALLBACK WindowsAccessibleSink::subclass(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam, UINT_PTR control, DWORD_PTR self) {
    if (message == WM_GETOBJECT && DWORD(lParam) == DWORD(OBJID_CLIENT)) {
        auto* sink = reinterpret_cast<WindowsAccessibleSink*>(self);
        auto* object = new ControlAccessible(*sink, window, int(control));
        const LRESULT result = resultFromObject(wParam, object);
        object->Release();
        return result;
    }
    if (message == WM_NCDESTROY) {
        removeWindowSubclass(window, subclass, control);
    }
    return defSubclassProc(window, message, wParam, lParam);
}

}  // namespace quintaro
