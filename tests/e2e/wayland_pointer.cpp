// Moves and clicks a pointer on a wlroots compositor (sway) through its virtual pointer
// protocol, so that a test clicks a Wayland window as a user's mouse does. The pointer exists
// while the sender runs: start it once and keep it running, as a seat without a pointer gives
// its windows none either.
//
// Usage: ladoton_wayland_pointer WIDTH HEIGHT   (the size of the compositor's output)
// Reads one command a line from standard input and answers "ok" once the compositor has it:
//   move X Y      the pointer to X, Y of the output
//   press BUTTON  a button down: left, right or middle
//   release BUTTON

#include "virtual_pointer-client-protocol.h"

#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <sstream>
#include <string>

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t /*version*/) {
    auto& globals = *static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && globals.seat == nullptr) {
        globals.seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals.manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void withdraw(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener RegistryListener = {announce, withdraw};

bool buttonCode(const std::string& name, uint32_t& code) {
    if (name == "left") {
        code = BTN_LEFT;
    } else if (name == "right") {
        code = BTN_RIGHT;
    } else if (name == "middle") {
        code = BTN_MIDDLE;
    } else {
        return false;
    }
    return true;
}

bool perform(zwlr_virtual_pointer_v1* pointer, const std::string& line, uint32_t width,
             uint32_t height, uint32_t& time) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    time += 10;
    if (command == "move") {
        uint32_t x = 0;
        uint32_t y = 0;
        if (!(words >> x >> y) || x >= width || y >= height) {
            return false;
        }
        zwlr_virtual_pointer_v1_motion_absolute(pointer, time, x, y, width, height);
    } else if (command == "press" || command == "release") {
        std::string name;
        uint32_t code = 0;
        if (!(words >> name) || !buttonCode(name, code)) {
            return false;
        }
        zwlr_virtual_pointer_v1_button(pointer, time, code,
                                       command == "press" ? WL_POINTER_BUTTON_STATE_PRESSED
                                                          : WL_POINTER_BUTTON_STATE_RELEASED);
    } else {
        return false;
    }
    zwlr_virtual_pointer_v1_frame(pointer);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const auto width = static_cast<uint32_t>(std::stoul(argv[1]));
    const auto height = static_cast<uint32_t>(std::stoul(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &RegistryListener, &globals);
    wl_display_roundtrip(display);
    if (globals.manager == nullptr) {
        std::fprintf(stderr, "the compositor has no virtual pointer\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    wl_display_roundtrip(display);
    std::cout << "ok" << std::endl;
    uint32_t time = 0;
    for (std::string line; std::getline(std::cin, line);) {
        if (!perform(pointer, line, width, height, time)) {
            std::fprintf(stderr, "bad command: %s\n", line.c_str());
            return 2;
        }
        if (wl_display_roundtrip(display) < 0) {
            std::fprintf(stderr, "the compositor went away\n");
            return 1;
        }
        std::cout << "ok" << std::endl;
    }
    wl_display_disconnect(display);
    return 0;
}
