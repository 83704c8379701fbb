#include "win32/CommonControls.h"

namespace quintaro {

namespace {

// The manifest that asks for version 6: a resource of its own, beside the program's manifest,
// so that nothing at start-up loads the library.
constexpr WORD commonControlsManifest = 2;

struct Library {
    decltype(&InitCommonControlsEx) initialise = nullptr;
    decltype(&SetWindowSubclass) setSubclass = nullptr;
    decltype(&RemoveWindowSubclass) removeSubclass = nullptr;
    decltype(&DefSubclassProc) defaultProcedure = nullptr;
};

template <typename Function>
void find(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const Library& library() {
    static const Library loaded = [] {
        ACTCTXW context{};
        context.cbSize = sizeof context;
        context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
        context.hModule = GetModuleHandleW(nullptr);
        context.lpResourceName = MAKEINTRESOURCEW(commonControlsManifest);
        // Left active: every control made from here on is a version 6 control. Without the
        // manifest the program's own context decides the version.
        const HANDLE handle = CreateActCtxW(&context);
        ULONG_PTR cookie = 0;
        if (handle != INVALID_HANDLE_VALUE) {
            ActivateActCtx(handle, &cookie);
        }
        Library made;
        if (HMODULE module = LoadLibraryW(L"comctl32.dll")) {
            find(module, "InitCommonControlsEx", made.initialise);
            find(module, "SetWindowSubclass", made.setSubclass);
            find(module, "RemoveWindowSubclass", made.removeSubclass);
            find(module, "DefSubclassProc", made.defaultProcedure);
        }
        if (made.initialise != nullptr) {
            INITCOMMONCONTROLSEX classes{};
            classes.dwSize = sizeof classes;
            classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES;
            made.initialise(&classes);
        }
        return made;
    }();
    return loaded;
}

}  // namespace

void useCommonControls() {
    library();
}

BOOL setWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    const auto function = library().setSubclass;
    return function != nullptr && function(window, procedure, id, data);
}

BOOL removeWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    const auto function = library().removeSubclass;
    return function != nullptr && function(window, procedure, id);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto function = library().defaultProcedure;
    return function != nullptr ? function(window, message, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace quintaro
