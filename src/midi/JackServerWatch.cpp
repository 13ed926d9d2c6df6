#include "midi/JackServerWatch.h"

#include <jack/jack.h>

namespace ladoton {

std::unique_ptr<JackServerWatch> JackServerWatch::connect() {
    jack_client_t* client = jack_client_open("Ladoton watch", JackNoStartServer, nullptr);
    if (client == nullptr) {
        return nullptr;
    }
    std::unique_ptr<JackServerWatch> watch(new JackServerWatch(client));
    jack_on_info_shutdown(
        client,
        [](jack_status_t code, const char* reason, void* self) {
            onShutdown(static_cast<int>(code), reason, self);
        },
        watch.get());
    return watch;
}

JackServerWatch::JackServerWatch(_jack_client* client) : client_(client) {}

JackServerWatch::~JackServerWatch() {
    jack_client_close(client_);
}

void JackServerWatch::onShutdown(int /*code*/, const char* /*reason*/, void* watch) {
    static_cast<JackServerWatch*>(watch)->running_.store(false);
}

bool JackServerWatch::hasPort(const std::string& name) const {
    return running() && jack_port_by_name(client_, name.c_str()) != nullptr;
}

} // namespace ladoton
