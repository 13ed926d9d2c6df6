#include "midi/RtMidiBackend.h"

#include <alsa/asoundlib.h>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

namespace ladoton {

namespace {

// ALSA and JACK print their own complaints when there is no sequencer or server;
// for the program that only means fewer devices.
void silenceAlsa(const char*, int, const char*, int, const char*, ...) {}
void silenceJack(const char*) {}
void silenceRtMidi(RtMidiError::Type, const std::string&, void*) {}

std::unique_ptr<RtMidiOut> makeOutput(RtMidi::Api api) {
    try {
        auto output = std::make_unique<RtMidiOut>(api, "Ladoton");
        output->setErrorCallback(&silenceRtMidi, nullptr);
        return output;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

} // namespace

RtMidiBackend::RtMidiBackend() {
    snd_lib_error_set_handler(&silenceAlsa);
    jack_set_error_function(&silenceJack);
    jack_set_info_function(&silenceJack);
    alsa_ = makeOutput(RtMidi::LINUX_ALSA);
    jack_ = makeOutput(RtMidi::UNIX_JACK);
}

RtMidiBackend::~RtMidiBackend() { close(); }

std::vector<RtMidiBackend::Port> RtMidiBackend::ports() {
    std::vector<Port> result;
    for (RtMidiOut* api : {alsa_.get(), jack_.get()}) {
        if (api == nullptr) {
            continue;
        }
        try {
            const unsigned count = api->getPortCount();
            for (unsigned number = 0; number < count; ++number) {
                result.push_back({api, number, api->getPortName(number)});
            }
        } catch (const RtMidiError&) {
        }
    }
    return result;
}

std::vector<std::string> RtMidiBackend::listDevices() {
    std::vector<std::string> names;
    for (const Port& port : ports()) {
        names.push_back(port.name);
    }
    return names;
}

bool RtMidiBackend::open(int index) {
    close();
    const std::vector<Port> available = ports();
    if (index < 0 || index >= static_cast<int>(available.size())) {
        return false;
    }
    const Port& port = available[static_cast<std::size_t>(index)];
    try {
        port.api->openPort(port.number, "Ladoton Output");
    } catch (const RtMidiError&) {
        return false;
    }
    if (!port.api->isPortOpen()) {
        return false;
    }
    open_ = port.api;
    return true;
}

void RtMidiBackend::send(const ShortMessage& message) {
    if (open_ == nullptr) {
        return;
    }
    try {
        open_->sendMessage(message.bytes.data(), message.size);
    } catch (const RtMidiError&) {
    }
}

void RtMidiBackend::close() {
    if (open_ != nullptr) {
        try {
            open_->closePort();
        } catch (const RtMidiError&) {
        }
        open_ = nullptr;
    }
}

} // namespace ladoton
