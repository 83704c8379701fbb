#pragma once
// A function of a system library, loaded from the system folder when first needed: COM, the
// shell and the accessibility libraries are large under every Windows, and the first window
// needs none of them. The library stays loaded.

#include <windows.h>

#include <cwchar>

namespace quintaro {

template <typename Function>
Function systemFunction(const wchar_t* library, const char* name) {
    wchar_t path[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + 1 + std::wcslen(library) >= MAX_PATH) {
        return nullptr;
    }
    std::wcscat(path, L"\\");
    std::wcscat(path, library);
    HMODULE module = LoadLibraryW(path);
    return module == nullptr
               ? nullptr
               : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace quintaro
