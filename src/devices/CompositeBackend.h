#pragma once

#include "midi/MidiBackend.h"

#include <memory>
#include <vector>

namespace ladoton {

// Several device lists shown as one: the devices of the first part, then those of the next,
// and so on. At most one device of all of them is open.
class CompositeBackend final : public MidiBackend {
  public:
    explicit CompositeBackend(std::vector<std::unique_ptr<MidiBackend>> parts);
    ~CompositeBackend() override;
    CompositeBackend(const CompositeBackend&) = delete;
    CompositeBackend& operator=(const CompositeBackend&) = delete;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;
    bool finishOpen() override;
    void prepareChannel(int channel) override;

  private:
    std::vector<std::unique_ptr<MidiBackend>> parts_;
    MidiBackend* open_ = nullptr;
};

} // namespace ladoton
