// window_wait NAME... -- COMMAND [ARG...]: runs COMMAND (a click, say) and
// prints, on one line, the milliseconds from its start until a top-level
// window whose title is one of the NAMEs is mapped, followed by that title. The window benchmark
// times the installer's run from the Extract click to its box this way, without polling.
#include "root_watch.h"

#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using root_watch::Clock;

std::string WindowTitle(xcb_connection_t* connection, xcb_window_t window)
{
    const xcb_get_property_cookie_t cookie = xcb_get_property(
        connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection, cookie, nullptr);
    if (!reply)
        return {};
    std::string title(static_cast<const char*>(xcb_get_property_value(reply)),
                      xcb_get_property_value_length(reply));
    std::free(reply);
    return title;
}

// The window of a map notice, or XCB_NONE for any other event.
xcb_window_t MappedWindow(const xcb_generic_event_t* event)
{
    if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
        return reinterpret_cast<const xcb_map_notify_event_t*>(event)->window;
    return XCB_NONE;
}

// Waits up to the deadline for a window named one of `names` to be mapped;
// answers its title, or empty on timeout.
std::string WaitForWindow(xcb_connection_t* connection, const std::vector<std::string>& names,
                          Clock::time_point deadline)
{
    while (Clock::now() < deadline && !xcb_connection_has_error(connection)) {
        xcb_generic_event_t* event = xcb_poll_for_event(connection);
        if (!event) {
            const int fd = xcb_get_file_descriptor(connection);
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval tick{0, 2000};
            select(fd + 1, &readable, nullptr, nullptr, &tick);
            continue;
        }
        const xcb_window_t window = MappedWindow(event);
        std::free(event);
        if (window == XCB_NONE)
            continue;
        std::string title = WindowTitle(connection, window);
        for (const std::string& name : names)
            if (title == name)
                return title;
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    int arg = 1;
    std::vector<std::string> names;
    for (; arg < argc && std::string(argv[arg]) != "--"; ++arg)
        names.emplace_back(argv[arg]);
    if (names.empty() || arg + 1 >= argc) {
        std::fprintf(stderr, "usage: window_wait NAME... -- COMMAND [ARG...]\n");
        return 2;
    }
    char** command = argv + arg + 1;
    xcb_connection_t* connection = root_watch::connectWatchingRoot("window_wait");
    if (!connection)
        return 2;

    const Clock::time_point start = Clock::now();
    const pid_t child = root_watch::startChild(command);
    int status = 0;
    waitpid(child, &status, 0);
    const std::string title = WaitForWindow(connection, names, start + std::chrono::minutes(30));
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    xcb_disconnect(connection);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "window_wait: %s failed\n", command[0]);
        return 1;
    }
    if (title.empty()) {
        std::fprintf(stderr, "window_wait: no window of that name\n");
        return 1;
    }
    std::printf("%.1f %s\n", milliseconds, title.c_str());
    return 0;
}
