#include <gtest/gtest.h>

#include <vector>

#include "rules/Random.h"
#include "tests/rules/ScriptedRandom.h"

namespace quintaro {
namespace {

struct RangeCase {
    int maximum;
    int draws;
};

// Every value of the closed range comes up, none outside it, and none far from its share.
TEST(DrawUniform, CoversTheClosedRangeEvenly) {
    const std::vector<RangeCase> cases = {{0, 100}, {1, 20000}, {4, 50000}, {5, 60000}};
    for (const RangeCase& c : cases) {
        std::vector<int> seen(std::size_t(c.maximum) + 1, 0);
        for (int i = 0; i < c.draws; ++i) {
            const int value = drawUniform(c.maximum);
            ASSERT_GE(value, 0);
            ASSERT_LE(value, c.maximum);
            ++seen[std::size_t(value)];
        }
        const double share = double(c.draws) / double(c.maximum + 1);
        for (int value = 0; value <= c.maximum; ++value) {
            // Ten standard deviations and more: only a broken generator falls outside.
            EXPECT_GT(seen[std::size_t(value)], share * 0.9) << value << " of 0.." << c.maximum;
            EXPECT_LT(seen[std::size_t(value)], share * 1.1) << value << " of 0.." << c.maximum;
        }
    }
}

TEST(DrawUniform, ScriptedSourceReplacesTheGeneratorUntilRestored) {
    struct Fixed : RandomSource {
        int value;
        explicit Fixed(int v) : value(v) {}
        int draw(int) override { return value; }
    };
    Fixed three(3);
    Fixed one(1);
    EXPECT_EQ(setRandomSource(&three), nullptr);
    EXPECT_EQ(drawUniform(5), 3);
    EXPECT_EQ(setRandomSource(&one), &three);
    EXPECT_EQ(drawUniform(5), 1);
    EXPECT_EQ(setRandomSource(nullptr), &one);
    {
        testing::ScriptedRandom scripted{4, 0};
        EXPECT_EQ(drawUniform(4), 4);
        EXPECT_EQ(drawUniform(5), 0);
        EXPECT_EQ(scripted.maxima(), (std::vector<int>{4, 5}));
    }
    // Back on the built-in generator: a long run of draws is not constant.
    int first = drawUniform(1000000);
    bool varied = false;
    for (int i = 0; i < 20 && !varied; ++i) {
        varied = drawUniform(1000000) != first;
    }
    EXPECT_TRUE(varied);
}

}  // namespace
}  // namespace quintaro
