// wayland_pointer WIDTH HEIGHT: a virtual mouse for a wlroots compositor
// whose headless back end has no input device. It adds one pointer to the
// compositor's seat and reads commands from standard input, one a line:
//   move X Y     put the pointer at X, Y of the WIDTH x HEIGHT layout
//   press        press the left button
//   release      release it
// Each command is answered with "ok" once the compositor has taken it.
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The compositor's virtual pointer interface, written out by hand: its
// requests in their protocol order (only motion_absolute, button and frame
// are sent).
const wl_interface* noTypes[5] = {};
extern const wl_interface virtualPointerInterface;
const wl_interface* createTypes[2] = {&wl_seat_interface, &virtualPointerInterface};

const wl_message pointerRequests[] = {
    {"motion", "uff", noTypes},   {"motion_absolute", "uuuuu", noTypes},
    {"button", "uuu", noTypes},   {"axis", "uuf", noTypes},
    {"frame", "", noTypes},       {"axis_source", "u", noTypes},
    {"axis_stop", "uu", noTypes}, {"axis_discrete", "uufi", noTypes},
    {"destroy", "", noTypes},
};
const wl_message managerRequests[] = {
    {"create_virtual_pointer", "?on", createTypes},
    {"destroy", "", noTypes},
};
const wl_interface virtualPointerInterface = {"zwlr_virtual_pointer_v1", 1, 9,
                                              pointerRequests,           0, nullptr};
const wl_interface managerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, managerRequests, 0, nullptr};

enum PointerRequest { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kDestroy = 8 };
constexpr uint32_t kLeftButton = 0x110; // BTN_LEFT

struct Globals {
    wl_seat* seat = nullptr;
    wl_proxy* manager = nullptr;
};

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat)
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (std::strcmp(interface, managerInterface.name) == 0)
        globals->manager =
            static_cast<wl_proxy*>(wl_registry_bind(registry, name, &managerInterface, 1));
}
void withdraw(void*, wl_registry*, uint32_t) {}
const wl_registry_listener registryListener = {announce, withdraw};

uint32_t now(uint32_t& clock)
{
    return clock += 10;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: wayland_pointer WIDTH HEIGHT\n");
        return 2;
    }
    const uint32_t width = std::stoul(argv[1]), height = std::stoul(argv[2]);
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "wayland_pointer: no Wayland display\n");
        return 1;
    }
    Globals globals;
    wl_registry_add_listener(wl_display_get_registry(display), &registryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.seat || !globals.manager) {
        std::fprintf(stderr, "wayland_pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    auto* pointer = wl_proxy_marshal_constructor(globals.manager, 0, &virtualPointerInterface,
                                                 globals.seat, nullptr);
    wl_display_roundtrip(display);

    uint32_t clock = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream words(line);
        std::string command;
        words >> command;
        if (command == "move") {
            uint32_t x = 0, y = 0;
            words >> x >> y;
            wl_proxy_marshal(pointer, kMotionAbsolute, now(clock), x, y, width, height);
        } else if (command == "press" || command == "release") {
            wl_proxy_marshal(pointer, kButton, now(clock), kLeftButton,
                             command == "press" ? 1u : 0u);
        } else {
            std::fprintf(stderr, "wayland_pointer: unknown command \"%s\"\n", line.c_str());
            return 2;
        }
        wl_proxy_marshal(pointer, kFrame);
        if (wl_display_roundtrip(display) < 0)
            return 1;
        std::cout << "ok" << std::endl;
    }
    wl_proxy_marshal(pointer, kDestroy);
    wl_proxy_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
