#pragma once
// A small random generator with a fixed seed for the asset generators: the same seed gives
// the same numbers on every machine and with every standard library, so the generated files
// come out byte for byte the same (std::uniform_*_distribution is not specified that tightly).

#include <cstdint>

namespace quintaro {

class FixedRandom {
  public:
    explicit FixedRandom(std::uint64_t seed) : state_(seed) {}

    // SplitMix64.
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return double(next() >> 11) * (1.0 / 9007199254740992.0); }
    // Uniform in [low, high).
    double between(double low, double high) { return low + (high - low) * unit(); }
    // Uniform in [-1, 1).
    double signedUnit() { return 2.0 * unit() - 1.0; }

  private:
    std::uint64_t state_;
};

}  // namespace quintaro
