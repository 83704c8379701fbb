#pragma once
// Helpers shared by the media tests: whole-file bytes, the corpus folder, and a fresh
// temporary folder that is the current folder while it lives.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "tests/support/TempFolder.h"

namespace quintaro::test {

inline std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A file of this folder's corpus, e.g. corpusPath("wav/pcm8_mono.wav").
inline std::filesystem::path corpusPath(const std::string& name) {
    return std::filesystem::path(QUINTARO_TEST_DATA) / name;
}

}  // namespace quintaro::test
