#include <windows.h>

#include "win32/WindowsFrontend.h"

// The command line is ignored; the game finds its files in the current folder. The exit code
// is 0 on every path.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return quintaro::runQuintaro();
}
