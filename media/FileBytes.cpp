#include "media/FileBytes.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quintaro {

std::optional<std::string> readRegularFile(const std::string& fileName, std::size_t maxBytes) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error)) {
        return std::nullopt;
    }
    const std::uintmax_t size = std::filesystem::file_size(fileName, error);
    if (error || size > maxBytes) {
        return std::nullopt;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    // Sized from the file, plus one byte to notice a file that grew past the limit since.
    std::string bytes(std::size_t(size) + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > maxBytes) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace quintaro
