#include <climits>
#include <cstdint>
#include <string>

#include "settings/KeyValueFile.h"

namespace quintaro {

namespace {

std::string_view trimLeft(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    return text.substr(i);
}

}  // namespace

int textToNumber(std::string_view text) {
    text = trimLeft(text);
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    // The sign comes before the base prefix: "-$10" is -16, while "$-10" has no digits.
    int base = 10;
    if (!text.empty() && text[0] == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (!text.empty() && text[0] == '%') {
        base = 2;
        text.remove_prefix(1);
    }
    const std::int64_t limit = negative ? -std::int64_t(INT_MIN) : std::int64_t(INT_MAX);
    std::int64_t magnitude = 0;
    for (char c : text) {
        int digit = -1;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        }
        if (digit < 0 || digit >= base) {
            break;
        }
        // Saturates: the magnitude never grows past the limit, so it can't overflow.
        magnitude = std::min(magnitude * base + digit, limit);
    }
    return int(negative ? -magnitude : magnitude);
}

std::string numberToText(int value) {
    return std::to_string(value);
}

}  // namespace quintaro
