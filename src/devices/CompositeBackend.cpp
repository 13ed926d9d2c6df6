#include "devices/CompositeBackend.h"

namespace ladoton {

CompositeBackend::CompositeBackend(std::vector<std::unique_ptr<MidiBackend>> parts)
    : parts_(std::move(parts)) {}

CompositeBackend::~CompositeBackend() {
    close();
}

std::vector<std::string> CompositeBackend::listDevices() {
    std::vector<std::string> names;
    for (const auto& part : parts_) {
        for (std::string& name : part->listDevices()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool CompositeBackend::open(int index) {
    close();
    if (index < 0) {
        return false;
    }
    // The index is counted over the lists as they are now, as the device menu shows them.
    for (const auto& part : parts_) {
        const auto count = static_cast<int>(part->listDevices().size());
        if (index < count) {
            if (!part->open(index)) {
                return false;
            }
            open_ = part.get();
            return true;
        }
        index -= count;
    }
    return false;
}

bool CompositeBackend::finishOpen() {
    return open_ == nullptr || open_->finishOpen();
}

void CompositeBackend::prepareChannel(int channel) {
    if (open_ != nullptr) {
        open_->prepareChannel(channel);
    }
}

void CompositeBackend::send(const ShortMessage& message) {
    if (open_ != nullptr) {
        open_->send(message);
    }
}

void CompositeBackend::close() {
    if (open_ != nullptr) {
        open_->close();
        open_ = nullptr;
    }
}

} // namespace ladoton
