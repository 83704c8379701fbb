#pragma once
// A fresh temporary folder that becomes the current folder while the object lives, with
// helpers to write language files into it. The previous folder is restored afterwards.

#include <gtest/gtest.h>

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace quintaro::test {

class TempLanguageDir {
  public:
    TempLanguageDir() {
        static std::atomic<int> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir_ = std::filesystem::temp_directory_path() /
               ("quintaro-rules-" + std::to_string(::getpid()) + "-" + std::to_string(stamp) + "-" +
                std::to_string(serial++));
        std::filesystem::create_directories(dir_);
        previous_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    ~TempLanguageDir() {
        std::error_code ignored;
        std::filesystem::current_path(previous_, ignored);
        std::filesystem::remove_all(dir_, ignored);
    }
    TempLanguageDir(const TempLanguageDir&) = delete;
    TempLanguageDir& operator=(const TempLanguageDir&) = delete;

    // Writes a file in the folder with the given content, byte for byte.
    void write(const std::string& name, const std::string& content) const {
        std::ofstream out(dir_ / name, std::ios::binary);
        out << content;
        ASSERT_TRUE(out.good()) << "could not write " << name;
    }

  private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
};

}  // namespace quintaro::test
