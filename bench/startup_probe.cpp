// Times the game's start-up: from the fork of the process to the first window the X server
// maps (the new-game dialog), and reads the process's peak resident memory then and a
// moment later. Run under Xvfb through bench/startup.sh.
//
//   startup_probe GAME_EXECUTABLE GAME_FOLDER
// prints "startup_ms=<ms> rss_kib=<KiB at map> peak_kib=<VmHWM after settling>".

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace {

long statusKib(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
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
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s GAME_EXECUTABLE GAME_FOLDER\n", argv[0]);
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        if (chdir(argv[2]) != 0) {
            _exit(127);
        }
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        _exit(127);
    }

    double mappedMs = -1;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const int type = event->response_type & 0x7f;
        std::free(event);
        if (type == XCB_MAP_NOTIFY) {
            mappedMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            break;
        }
    }
    const long rssAtMap = statusKib(child, "VmRSS");
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long peak = statusKib(child, "VmHWM");
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    std::printf("startup_ms=%.1f rss_kib=%ld peak_kib=%ld\n", mappedMs, rssAtMap, peak);
    return mappedMs < 0 ? 1 : 0;
}
