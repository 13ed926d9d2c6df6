// Gives a wlroots compositor (sway) a pointer: a seat without an input device offers its windows
// no pointer, and the compositor's own commands (swaymsg seat - cursor ...) move and click this
// one. Prints "ok" once the pointer exists and keeps it until it is ended.

#include "virtual_pointer-client-protocol.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstring>

namespace {

zwlr_virtual_pointer_manager_v1* manager = nullptr;

void announce(void* /*data*/, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t /*version*/) {
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void withdraw(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener RegistryListener = {announce, withdraw};

} // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no Wayland display\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &RegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (manager == nullptr) {
        std::fprintf(stderr, "the compositor has no virtual pointer\n");
        return 1;
    }
    // On the compositor's default seat.
    zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, nullptr);
    wl_display_roundtrip(display);
    std::printf("ok\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
