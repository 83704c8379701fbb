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

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace quintaro::testing {

// A file of this folder's corpus, e.g. corpusPath("wav/pcm8_mono.wav").
inline std::filesystem::path corpusPath(const std::string& name) {
    return std::filesystem::path(QUINTARO_TESTS_DIR) / "media" / name;
}

}  // namespace quintaro::testing
