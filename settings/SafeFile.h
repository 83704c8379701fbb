#pragma once
// The file system under the key=value component: reading a small file whole, and replacing
// it so that a crash at any moment leaves either the old or the new content. Each platform
// has its own implementation (SafeFile.cpp for POSIX systems, SafeFileWin32.cpp for Windows).

#include <string>
#include <string_view>

namespace quintaro {

enum class ReadResult { Read, Missing, Unusable };

// Reads the whole file into bytes. Missing: there is no such file (a later save may create
// it). Unusable: it exists but can't be read, is no regular file, or is too large; such a
// file is also never written. writable tells whether a later save may replace the file.
ReadResult readFile(const std::string& fileName, std::string& bytes, bool& writable);

// Replaces the file's content with bytes, crash-safe. Returns false and leaves the old file
// as it was when that can't be done.
bool saveFile(const std::string& fileName, std::string_view bytes);

}  // namespace quintaro
