#pragma once

#include <string>

namespace quintaro {

// Hands a file from the current folder to the desktop's program for its type, without
// waiting, ignoring every failure. The file itself is never run as a program.
void openDocument(const std::string& fileName);

}  // namespace quintaro
