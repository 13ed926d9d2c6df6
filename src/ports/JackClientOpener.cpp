#include "ports/JackClientOpener.h"

#include <jack/jack.h>

#include <thread>

namespace ladoton {

jack_client_t* JackClientOpener::open(std::chrono::milliseconds limit) {
    const std::lock_guard lock(mutex_);
    if (attempt_ == nullptr) {
        attempt_ = std::make_shared<Attempt>();
        // The thread holds the attempt, not the opener, so that it may outlive both.
        std::thread([attempt = attempt_, name = name_] {
            jack_client_t* client = jack_client_open(name, JackNoStartServer, nullptr);
            {
                const std::lock_guard done(attempt->mutex);
                attempt->client = client;
                attempt->done = true;
            }
            attempt->finished.notify_all();
        }).detach();
    }
    std::unique_lock wait(attempt_->mutex);
    if (!attempt_->finished.wait_for(wait, limit, [this] { return attempt_->done; })) {
        return nullptr;
    }
    jack_client_t* client = attempt_->client;
    wait.unlock();
    attempt_.reset();
    return client;
}

} // namespace ladoton
