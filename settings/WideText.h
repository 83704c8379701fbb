#pragma once
// Windows only: the game's texts are UTF-8 in its files and in memory, the Windows API takes
// UTF-16. Every conversion between the two goes through these two functions.

#include <string>
#include <string_view>

namespace quintaro {

// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::wstring widen(std::string_view text);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string narrow(std::wstring_view text);

}  // namespace quintaro
