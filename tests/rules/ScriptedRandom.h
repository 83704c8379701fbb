#pragma once
// A random source that plays back a fixed list of draws. While it lives it replaces the
// game's generator; the test fails when a draw is asked for after the list has run out,
// when a scripted value lies outside the range asked for, or when draws are left over.

#include <gtest/gtest.h>

#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

#include "rules/Random.h"

namespace quintaro::testing {

class ScriptedRandom : public RandomSource {
  public:
    explicit ScriptedRandom(std::vector<int> script, bool checkLeftOver = true)
        : script_(std::move(script)), checkLeftOver_(checkLeftOver) {
        previous_ = setRandomSource(this);
    }
    ScriptedRandom(std::initializer_list<int> script) : ScriptedRandom(std::vector<int>(script)) {}
    ~ScriptedRandom() override {
        setRandomSource(previous_);
        if (checkLeftOver_) {
            EXPECT_EQ(next_, script_.size()) << "scripted draws left unused";
        }
    }
    ScriptedRandom(const ScriptedRandom&) = delete;
    ScriptedRandom& operator=(const ScriptedRandom&) = delete;

    int draw(int maximum) override {
        maxima_.push_back(maximum);
        if (next_ >= script_.size()) {
            ADD_FAILURE() << "draw " << next_ + 1 << " (maximum " << maximum
                          << ") asked for beyond the script";
            return 0;
        }
        const int value = script_[next_++];
        EXPECT_GE(value, 0) << "scripted draw " << next_;
        EXPECT_LE(value, maximum) << "scripted draw " << next_;
        return value;
    }

    // The maximum of every draw asked for, in order.
    const std::vector<int>& maxima() const { return maxima_; }
    std::size_t used() const { return next_; }

  private:
    std::vector<int> script_;
    std::size_t next_ = 0;
    bool checkLeftOver_;
    std::vector<int> maxima_;
    RandomSource* previous_ = nullptr;
};

// Face indexes for scripting dice: rollFace turns draw r into faceLabels[r].
enum ScriptFace : int { A = 0, K = 1, Q = 2, J = 3, T = 4, N = 5 };

}  // namespace quintaro::testing
