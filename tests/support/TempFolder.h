#pragma once
// A fresh, empty folder under the system's temporary folder for one test, removed again at
// the end. By default it is also the current folder while it lives, since the game finds
// every file in its current folder.

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <system_error>

namespace quintaro::testing {

class TempFolder {
  public:
    enum class Enter { Yes, No };

    // base: where the folder is made, the system's temporary folder unless given.
    explicit TempFolder(Enter enter = Enter::Yes, const std::filesystem::path& base =
                                                      std::filesystem::temp_directory_path()) {
        static std::atomic<int> counter{0};
        path_ =
            base / ("quintaro-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
        if (enter == Enter::Yes) {
            previous_ = std::filesystem::current_path();
            std::filesystem::current_path(path_);
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!previous_.empty()) {
            std::filesystem::current_path(previous_, ignored);
        }
        // Tests take write access away; give it back so everything can be removed.
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            if (!entry.is_symlink()) {
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
            }
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes a file in the folder, byte for byte.
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path_ / name, std::ios::binary) << bytes;
    }
    // A file's bytes; empty when it does not exist.
    std::string read(const std::string& name) const {
        std::ifstream in(path_ / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    bool exists(const std::string& name) const { return std::filesystem::exists(path_ / name); }

  private:
    std::filesystem::path previous_;
    std::filesystem::path path_;
};

}  // namespace quintaro::testing
