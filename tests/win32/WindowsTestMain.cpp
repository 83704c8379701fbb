// The Windows edition's tests run with COM (for the picture decoder); the common controls load
// with the first control of theirs, as in the game.
#include <windows.h>
// After windows.h.
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
    // Every line goes out at once: a run stopped from outside still shows how far it came.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    CoInitialize(nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
