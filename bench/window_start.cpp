// window_start PROGRAM [ARG...]: starts PROGRAM on the X display and prints,
// on one line, the milliseconds from the start until its first window is
// mapped and its peak resident memory in MB after a further idle second.
// The benchmark runs the installer and a bare Qt window through it, so both
// are measured the same way.
#include "root_watch.h"

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using root_watch::Clock;

// The peak resident set (VmHWM) of a running process, in kB; -1 if unknown.
long PeakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Waits up to the deadline for a MapNotify on the root window's children.
bool WaitForFirstMap(xcb_connection_t* connection, Clock::time_point deadline)
{
    const int fd = xcb_get_file_descriptor(connection);
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        if (xcb_connection_has_error(connection))
            return false;
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(fd, &readable);
        timeval tick{0, 2000};
        select(fd + 1, &readable, nullptr, nullptr, &tick);
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: window_start PROGRAM [ARG...]\n");
        return 2;
    }
    xcb_connection_t* connection = root_watch::connectWatchingRoot("window_start");
    if (!connection)
        return 2;

    const Clock::time_point start = Clock::now();
    const pid_t child = root_watch::startChild(argv + 1);
    const bool mapped = WaitForFirstMap(connection, start + std::chrono::seconds(20));
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long peak_kb = PeakResidentKb(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(connection);
    if (!mapped || peak_kb < 0) {
        std::fprintf(stderr, "window_start: %s mapped no window\n", argv[1]);
        return 1;
    }
    std::printf("%.1f %.1f\n", milliseconds, peak_kb / 1024.0);
    return 0;
}
