#include "rules/Random.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

#include <cstdint>
#include <random>

namespace quintaro {

namespace {

RandomSource* replacement = nullptr;

// Milliseconds of a monotonic clock, the game's tick counter.
std::uint32_t tickCount() {
#ifdef _WIN32
    return static_cast<std::uint32_t>(GetTickCount64());
#else
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
#endif
}

// Built on the first draw, so the seed is the tick count at that moment.
std::mt19937& generator() {
    static std::mt19937 engine(tickCount());
    return engine;
}

}  // namespace

int drawUniform(int maximum) {
    if (replacement != nullptr) {
        return replacement->draw(maximum);
    }
    if (maximum <= 0) {
        return 0;
    }
    std::uniform_int_distribution<int> range(0, maximum);
    return range(generator());
}

RandomSource* setRandomSource(RandomSource* source) {
    RandomSource* previous = replacement;
    replacement = source;
    return previous;
}

}  // namespace quintaro
