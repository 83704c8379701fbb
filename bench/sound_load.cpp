// Loading the roll sound: how long loadSound keeps its caller (the window) waiting, how long
// until the sound is ready to play, and the peak memory of the process meanwhile.
//   sound_load FILE   (with SDL_AUDIODRIVER=dummy, say)
// prints "call_ms=<loadSound's own time> ready_ms=<until loaded> loaded=<0|1>
// rss_before_kib=<resident before> peak_kib=<VmHWM after>".

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "qt/Sound.h"

namespace {

long statusKib(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    quintaro::initSound();
    quintaro::soundAvailable();  // the device is open before the clock starts
    const long before = statusKib("VmRSS");
    const auto start = Clock::now();
    quintaro::loadSound(0, argv[1]);
    const auto returned = Clock::now();
    const bool loaded = quintaro::soundLoaded(0);  // waits for the load to finish
    const auto ready = Clock::now();
    const auto ms = [](auto d) { return std::chrono::duration<double, std::milli>(d).count(); };
    std::printf("call_ms=%.1f ready_ms=%.1f loaded=%d rss_before_kib=%ld peak_kib=%ld\n",
                ms(returned - start), ms(ready - start), loaded ? 1 : 0, before,
                statusKib("VmHWM"));
    quintaro::releaseSound();
    return 0;
}
