#pragma once
// The Windows edition's media services: the roll sound on DirectSound (loaded at run time),
// the mode pictures through the Windows Imaging Component, and handing the rules to the
// shell. Every failure is silent.

#include <windows.h>
// After windows.h: the wave formats.
#include <mmreg.h>
#include <mmsystem.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "media/Pictures.h"
#include "shell/Layout.h"

namespace quintaro {

// Loads dsound.dll and opens the default device; without either, sound stays off.
void initSound();
// Loads a RIFF WAVE file as sound `number` (freeing the old one first).
void loadSound(int number, const std::string& fileName);
// Stops the sound, rewinds it and plays it once; returns at once.
void playSound(int number);
void freeSound(int number);
// Releases every sound, the device and the library (at shutdown).
void releaseSound();
bool soundAvailable();
bool soundLoaded(int number);

// What a sound buffer is made from: the wave format and the sample bytes, from our own
// parser. Nothing for a file that is not a playable RIFF WAVE file.
struct SoundData {
    WAVEFORMATEXTENSIBLE format{};
    std::vector<unsigned char> samples;
};
std::optional<SoundData> soundData(std::string_view fileBytes);

// "BM" files as bitmaps, then icon files, then JPEG; a 24-bit top-down DIB section of the
// picture's own size (at 96 DPI; scaled smoothly by dpi / 96 for a denser screen), or
// nullptr when refused.
HBITMAP decodePicture(std::string_view bytes, int dpi = baseDpi);
void loadPicture(int number, const std::string& fileName, int dpi = baseDpi);
// The picture's bitmap (still owned by the table), or nullptr.
HBITMAP pictureBitmap(int number);
void freePictures();
// Frees the pictures and ends COM, if the first picture started it (at shutdown).
void endPictures();

// Hands a file of the current folder to the program the shell associates with it, if it is a
// regular file; never starts the file itself as a program, never waits.
void openDocument(const std::string& fileName);

}  // namespace quintaro
