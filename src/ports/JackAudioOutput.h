#pragma once

#include "ports/JackClient.h"

#include <atomic>

namespace ladoton {

// The audio output ports "Ладотон:left" and "Ладотон:right" of the program's JACK client,
// connected to the system's playback ports and rendered by a source each period. When a
// server runs again after one went away, the ports come back, at the same sample rate.
class JackAudioOutput final : public JackPart {
  public:
    static constexpr const char* LeftPortName = "left";
    static constexpr const char* RightPortName = "right";

    // Renders the ports, on the server's process thread: nothing there may wait.
    class Source {
      public:
        virtual ~Source() = default;
        virtual void render(float* left, float* right, unsigned frames) = 0;
    };

    explicit JackAudioOutput(JackClient& client) : client_(client) {}

    // Renders `source` on the ports until close; false when they cannot be made.
    bool open(Source& source);
    void close();

  private:
    void attach(_jack_client* client) override;
    void detach() override;
    void connectWished(_jack_client* client) override;
    void process(unsigned frames) override;
    bool hasPorts() const override { return left_.load() != nullptr; }

    bool registerPorts(_jack_client* client);
    void unregisterPorts(_jack_client* client);

    JackClient& client_;
    std::atomic<_jack_port*> left_{nullptr};
    std::atomic<_jack_port*> right_{nullptr};
    std::atomic<Source*> source_{nullptr};
    // Under the client's request lock:
    Source* wished_ = nullptr;
    unsigned sampleRate_ = 0;
    bool playbackConnected_ = false;
};

} // namespace ladoton
