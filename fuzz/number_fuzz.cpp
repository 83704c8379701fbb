// Text to number on any bytes, against a plain reference: leading blanks and tabs, one
// sign, "$" for hexadecimal or "%" for binary digits, digits up to the first other
// character, saturating at the int range. Number to text and back gives the number again.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "settings/KeyValueFile.h"

namespace {

int digitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return 99;
}

// The rules, spelled out the slow way: the magnitude grows without wrapping (it stops at a
// bound far above the int range, which is enough to tell a saturated value).
long long reference(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i < text.size() && text[i] == '%') {
        base = 2;
        ++i;
    }
    long long magnitude = 0;
    for (; i < text.size() && digitValue(text[i]) < base; ++i) {
        magnitude = magnitude * base + digitValue(text[i]);
        if (magnitude > (1LL << 40)) {
            magnitude = 1LL << 40;
        }
    }
    const long long value = negative ? -magnitude : magnitude;
    return value < INT_MIN ? INT_MIN : value > INT_MAX ? INT_MAX : value;
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "number_fuzz: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    check(quintaro::textToNumber(text) == reference(text), "text to number differs");
    if (size >= sizeof(int)) {
        int value = 0;
        std::memcpy(&value, data, sizeof value);
        const std::string written = quintaro::numberToText(value);
        check(quintaro::textToNumber(written) == value, "a written number reads differently");
        check(written.find_first_not_of("-0123456789") == std::string::npos,
              "a written number is not plain decimal");
    }
    return 0;
}
