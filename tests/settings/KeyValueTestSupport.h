#pragma once
// Helpers for the key=value file tests: a fresh folder to work in, and whole-file bytes.

#include <sys/stat.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/TempFolder.h"

namespace quintaro::testing {

// A data file of this folder's tests, e.g. dataFile("golden/missing_apply.ini").
inline std::string dataFile(const std::string& name) {
    return readBytes(std::filesystem::path(QUINTARO_TEST_DATA) / name);
}

// The names in a folder, sorted: shows stray temporary files.
inline std::vector<std::string> folderListing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

#ifndef _WIN32
inline mode_t permissionsOf(const std::filesystem::path& path) {
    struct stat info {};
    lstat(path.c_str(), &info);
    return info.st_mode & 07777;
}
#endif

}  // namespace quintaro::testing
