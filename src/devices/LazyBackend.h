#pragma once

#include "midi/MidiBackend.h"

#include <functional>
#include <memory>

namespace ladoton {

// A device list made only when it is first needed: listed or opened. Until then a send or a
// close has nothing to do. Lets the program start without connecting to the MIDI services
// when the device it opens at start is another one.
class LazyBackend final : public MidiBackend {
  public:
    using Factory = std::function<std::unique_ptr<MidiBackend>()>;

    explicit LazyBackend(Factory factory) : factory_(std::move(factory)) {}

    std::vector<std::string> listDevices() override { return backend().listDevices(); }
    bool open(int index) override { return backend().open(index); }
    bool finishOpen() override { return backend().finishOpen(); }
    void send(const ShortMessage& message) override;
    void close() override;
    void prepareChannel(int channel) override;

    bool made() const { return backend_ != nullptr; }

  private:
    MidiBackend& backend();

    Factory factory_;
    std::unique_ptr<MidiBackend> backend_;
};

} // namespace ladoton
