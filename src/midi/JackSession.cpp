#include "midi/JackSession.h"

namespace ladoton {

std::shared_ptr<JackMidiClient> JackSession::client() {
    const std::lock_guard lock(mutex_);
    if (client_ != nullptr && !client_->running()) {
        client_->release();
        client_.reset();
    }
    if (client_ == nullptr) {
        client_ = JackMidiClient::connect(input_ ? &*input_ : nullptr);
    }
    return client_;
}

std::shared_ptr<JackMidiClient> JackSession::lastClient() {
    const std::lock_guard lock(mutex_);
    return client_;
}

} // namespace ladoton
