#include "devices/LazyBackend.h"

namespace ladoton {

void LazyBackend::send(const ShortMessage& message) {
    if (backend_ != nullptr) {
        backend_->send(message);
    }
}

void LazyBackend::prepareChannel(int channel) {
    if (backend_ != nullptr) {
        backend_->prepareChannel(channel);
    }
}

void LazyBackend::close() {
    if (backend_ != nullptr) {
        backend_->close();
    }
}

MidiBackend& LazyBackend::backend() {
    if (backend_ == nullptr) {
        backend_ = factory_();
    }
    return *backend_;
}

} // namespace ladoton
