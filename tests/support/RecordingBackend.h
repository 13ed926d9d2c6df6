#pragma once

#include "midi/MidiBackend.h"

#include <string>
#include <vector>

namespace ladoton::testing {

// A device list whose devices record every message sent to them.
class RecordingBackend final : public MidiBackend {
  public:
    std::vector<std::string> devices{"Test device 0", "Test device 1"};
    std::vector<ShortMessage> sent;
    std::vector<int> sentTo;   // the device each message of `sent` went to
    std::vector<int> opened;   // every open request, by index
    std::vector<int> prepared; // every channel the open device was told to get ready
    int closeCount = 0;
    bool failOpen = false;
    int openIndex = -1;

    std::vector<std::string> listDevices() override { return devices; }
    bool open(int index) override {
        opened.push_back(index);
        if (failOpen || index < 0 || index >= static_cast<int>(devices.size())) {
            openIndex = -1;
            return false;
        }
        openIndex = index;
        return true;
    }
    void send(const ShortMessage& message) override {
        if (openIndex >= 0) {
            sent.push_back(message);
            sentTo.push_back(openIndex);
        }
    }
    void prepareChannel(int channel) override {
        if (openIndex >= 0) {
            prepared.push_back(channel);
        }
    }
    void close() override {
        ++closeCount;
        openIndex = -1;
    }
};

} // namespace ladoton::testing
