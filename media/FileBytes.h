#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace quintaro {

// The whole content of a regular file, or nothing when it is missing, unreadable, not a
// regular file (a FIFO or a device would block or never end) or larger than maxBytes.
std::optional<std::string> readRegularFile(const std::string& fileName, std::size_t maxBytes);

}  // namespace quintaro
