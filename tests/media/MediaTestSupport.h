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

class TempFolder {
  public:
    TempFolder() : previous_(std::filesystem::current_path()) {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("quintaro-media-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        std::filesystem::current_path(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace quintaro::test
