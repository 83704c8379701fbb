#include "settings/WideText.h"

#include <windows.h>

#include <climits>

namespace quintaro {

std::wstring widen(std::string_view text) {
    if (text.empty() || text.size() > std::size_t(INT_MAX)) {
        return {};
    }
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring wide(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string narrow(std::wstring_view text) {
    if (text.empty() || text.size() > std::size_t(INT_MAX)) {
        return {};
    }
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    if (length <= 0) {
        return {};
    }
    std::string bytes(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

}  // namespace quintaro
