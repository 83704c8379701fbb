// The lenient text-to-number conversion behind every numeric setting, and its way back.

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "settings/KeyValueFile.h"

namespace quintaro {
namespace {

struct NumberCase {
    std::string text;
    int value;
};

void expectNumbers(const std::vector<NumberCase>& cases) {
    for (const NumberCase& c : cases) {
        EXPECT_EQ(textToNumber(c.text), c.value) << '"' << c.text << '"';
    }
}

TEST(TextToNumber, Decimal) {
    expectNumbers({
        {"3", 3},      {" 3", 3},   {"\t 3", 3}, {"+3", 3},      {"3 players", 3},
        {"3 s", 3},    {"-2", -2},  {"007", 7},  {"1500", 1500}, {"3.9", 3},
        {"12abc", 12}, {"-0", 0},   {"abc", 0},  {"", 0},        {"   ", 0},
        {"+", 0},      {"-", 0},    {"- 3", 0},  {"+-3", 0},     {"--3", 0},
        {"3 4", 3},    {"0x10", 0}, {"1e3", 1},  {"\n3", 0},     {"\xD9\xA3", 0},
    });
}

TEST(TextToNumber, HexadecimalAndBinary) {
    expectNumbers({
        {"$4", 4},
        {"$ff", 255},
        {"$FF", 255},
        {"$fG", 15},
        {"$", 0},
        {"$g", 0},
        {" $10", 16},
        {"%11", 3},
        {"%1012", 5},
        {"%", 0},
        {"%2", 0},
        {"$-10", 0},
        {"%-1", 0},
        {"$7FFFFFFF", INT_MAX},
    });
}

TEST(TextToNumber, SignComesBeforeThePrefix) {
    expectNumbers({{"-$10", -16}, {"+$10", 16}, {"-%101", -5}, {"\t-$ff", -255}, {"$$1", 0}});
}

TEST(TextToNumber, SaturatesAtTheIntLimits) {
    expectNumbers({
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-2147483649", INT_MIN},
        {"99999999999999999999999999999999", INT_MAX},
        {"-99999999999999999999999999999999", INT_MIN},
        {"$80000000", INT_MAX},
        {"-$80000000", INT_MIN},
        {"-$80000001", INT_MIN},
        {"$FFFFFFFFFFFFFFFFFFFF", INT_MAX},
        {"%" + std::string(31, '1'), INT_MAX},
        {"%1" + std::string(31, '0'), INT_MAX},
        {"-%1" + std::string(31, '0'), INT_MIN},
        {"%" + std::string(200, '1'), INT_MAX},
        {std::string(100000, '9'), INT_MAX},
    });
}

TEST(NumberToText, PlainDecimalRoundTrip) {
    const std::vector<NumberCase> cases = {
        {"0", 0},
        {"1", 1},
        {"-1", -1},
        {"3000", 3000},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
    };
    for (const NumberCase& c : cases) {
        EXPECT_EQ(numberToText(c.value), c.text);
        EXPECT_EQ(textToNumber(numberToText(c.value)), c.value);
    }
}

}  // namespace
}  // namespace quintaro
