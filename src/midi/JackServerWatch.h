#pragma once

#include <atomic>
#include <memory>
#include <string>

struct _jack_client; // NOLINT(bugprone-reserved-identifier): libjack's own name

namespace ladoton {

// A JACK client of its own that tells whether the server it reached still runs: libjack calls
// it back from its own thread when the server goes away.
class JackServerWatch {
  public:
    // Null when no JACK server runs; never starts one.
    static std::unique_ptr<JackServerWatch> connect();
    ~JackServerWatch();
    JackServerWatch(const JackServerWatch&) = delete;
    JackServerWatch& operator=(const JackServerWatch&) = delete;

    bool running() const { return running_.load(); }
    // Whether the server has a port of this full name ("client:port").
    bool hasPort(const std::string& name) const;

  private:
    explicit JackServerWatch(_jack_client* client);
    static void onShutdown(int code, const char* reason, void* watch);

    _jack_client* client_;
    std::atomic<bool> running_{true};
};

} // namespace ladoton
