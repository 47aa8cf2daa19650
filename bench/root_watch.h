#pragma once

// What the window benchmarks' helpers share: a connection to the X display
// that hears every top-level window being mapped or unmapped, and a child
// started after it, so no window of the child's can be missed.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <sys/types.h>
#include <unistd.h>

namespace root_watch {

using Clock = std::chrono::steady_clock;

// Connects and asks for the root window's structure events; nullptr (with a
// message naming `tool`) when there is no display.
inline xcb_connection_t* connectWatchingRoot(const char* tool)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "%s: no X display\n", tool);
        return nullptr;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    return connection;
}

// Starts `argv[0]` (looked up on PATH) with its arguments.
inline pid_t startChild(char** argv)
{
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return child;
}

} // namespace root_watch
