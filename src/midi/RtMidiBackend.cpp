#include "midi/RtMidiBackend.h"

#include "midi/JackServerWatch.h"
#include "midi/MidiLibraryNoise.h"

#include <rtmidi/RtMidi.h>

namespace ladoton {

namespace {

constexpr const char* ClientName = "Ladoton";
constexpr const char* OutputPortName = "Ladoton Output";

void ignoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// RtMidi prints the failures of its constructor before an error callback can be set, so an
// output is only made for a system that was just found present.
std::unique_ptr<RtMidiOut> makeOutput(RtMidi::Api api) {
    try {
        auto output = std::make_unique<RtMidiOut>(api, ClientName);
        output->setErrorCallback(&ignoreRtMidiError, nullptr);
        return output;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

} // namespace

RtMidiBackend::RtMidiBackend() {
    silenceMidiLibraries();
}

RtMidiBackend::~RtMidiBackend() {
    close();
}

void RtMidiBackend::findApis() {
    if (alsa_ == nullptr && alsaSequencerPresent()) {
        alsa_ = makeOutput(RtMidi::LINUX_ALSA);
    }
    if (jackGone()) {
        abandonJack();
    }
    if (jackWatch_ == nullptr) {
        jackWatch_ = JackServerWatch::connect();
        if (jackWatch_ != nullptr) {
            jack_ = makeOutput(RtMidi::UNIX_JACK);
        }
    }
}

bool RtMidiBackend::jackGone() const {
    return jackWatch_ != nullptr && !jackWatch_->running();
}

// A JACK client of RtMidi 5 whose server has stopped must not be called again: closing its
// port waits a second for a process cycle that never comes, and once its queue is full a send
// waits for ever. So it is let go untouched; what it holds is returned when the program ends.
void RtMidiBackend::abandonJack() {
    if (open_ != nullptr && open_ == jack_.get()) {
        open_ = nullptr;
    }
    if (jack_ != nullptr && jack_->isPortOpen()) {
        static_cast<void>(jack_.release());
    }
    jack_.reset();
    jackWatch_.reset();
}

std::vector<RtMidiBackend::Port> RtMidiBackend::ports() {
    findApis();
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
    if (!openPort(port)) {
        return false;
    }
    open_ = port.api;
    return true;
}

bool RtMidiBackend::openPort(const Port& port) {
    try {
        port.api->openPort(port.number, OutputPortName);
    } catch (const RtMidiError&) {
        return false;
    }
    if (!port.api->isPortOpen()) {
        return false;
    }
    // RtMidi connects a JACK port without looking at the result; a port that went away since
    // the listing is a failed open.
    if (port.api == jack_.get() && !jackWatch_->hasPort(port.name)) {
        port.api->closePort();
        return false;
    }
    return true;
}

void RtMidiBackend::send(const ShortMessage& message) {
    if (open_ == nullptr) {
        return;
    }
    if (open_ == jack_.get() && jackGone()) {
        abandonJack();
        return;
    }
    try {
        open_->sendMessage(message.bytes.data(), message.size);
    } catch (const RtMidiError&) {
    }
}

void RtMidiBackend::close() {
    if (open_ == nullptr) {
        return;
    }
    if (open_ == jack_.get() && jackGone()) {
        abandonJack();
        return;
    }
    try {
        open_->closePort();
    } catch (const RtMidiError&) {
    }
    open_ = nullptr;
}

} // namespace ladoton
