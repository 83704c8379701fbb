#pragma once
// The roll sound on SDL2's audio output. Every failure is silent: without a device, or
// without a playable file, the game simply makes no sound.

#include <string>

namespace quintaro {

// Opens the audio output once; when no device can be opened, sound stays off for the run.
void initSound();
// Loads a RIFF WAVE file as sound `number` (freeing the old one first); a missing or
// unplayable file leaves no sound under that number.
void loadSound(int number, const std::string& fileName);
// Stops the sound, rewinds it and plays it once from the start; returns at once.
void playSound(int number);
// Stops and releases sound `number`.
void freeSound(int number);
// Releases every sound and closes the audio output (at shutdown).
void releaseSound();

// Whether the audio output could be opened (for tests and diagnostics).
bool soundAvailable();
// Whether sound `number` is loaded.
bool soundLoaded(int number);

}  // namespace quintaro
