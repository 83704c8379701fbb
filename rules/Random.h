#pragma once
// The one random generator of the game. It seeds itself from a millisecond clock on its
// first draw; nothing seeds it explicitly. Tests swap in a scripted source.

namespace quintaro {

class RandomSource {
  public:
    virtual ~RandomSource() = default;
    // A uniform integer from 0 to maximum, both included (maximum >= 0).
    virtual int draw(int maximum) = 0;
};

// A uniform integer from 0 to maximum, both included, from the current source.
int drawUniform(int maximum);

// Replaces the source for the running process; nullptr restores the built-in generator.
// Returns the previous replacement (or nullptr).
RandomSource* setRandomSource(RandomSource* source);

}  // namespace quintaro
