#include "qt/Application.h"

// The command line is ignored; the game finds its files in the current folder.
int main(int /*argc*/, char** argv) {
    return quintaro::runQuintaro(argv[0]);
}
