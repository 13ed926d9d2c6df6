#include "midi/RtMidiBackend.h"

#include "midi/JackMidiClient.h"
#include "midi/MidiLibraryNoise.h"

#include <rtmidi/RtMidi.h>

namespace ladoton {

namespace {

constexpr const char* ClientName = "Ladoton";
constexpr const char* OutputPortName = "Ladoton Output";

void ignoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// RtMidi prints the failures of its constructor before an error callback can be set, so an
// output is only made for a sequencer that was just found present.
std::unique_ptr<RtMidiOut> makeAlsaOutput() {
    try {
        auto output = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, ClientName);
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

void RtMidiBackend::findSystems() {
    if (alsa_ == nullptr && alsaSequencerPresent()) {
        alsa_ = makeAlsaOutput();
    }
    // A client whose server has stopped is closed; a server running now gets a new one.
    if (jack_ != nullptr && !jack_->running()) {
        jack_.reset();
    }
    if (jack_ == nullptr) {
        jack_ = JackMidiClient::connect();
    }
}

std::vector<RtMidiBackend::Port> RtMidiBackend::ports() {
    findSystems();
    std::vector<Port> result;
    if (alsa_ != nullptr) {
        try {
            const unsigned count = alsa_->getPortCount();
            for (unsigned number = 0; number < count; ++number) {
                result.push_back({System::Alsa, number, alsa_->getPortName(number)});
            }
        } catch (const RtMidiError&) {
        }
    }
    if (jack_ != nullptr) {
        unsigned number = 0;
        for (std::string& name : jack_->inputPorts()) {
            result.push_back({System::Jack, number++, std::move(name)});
        }
    }
    return result;
}

std::vector<std::string> RtMidiBackend::listDevices() {
    std::vector<std::string> names;
    for (Port& port : ports()) {
        names.push_back(std::move(port.name));
    }
    return names;
}

bool RtMidiBackend::open(int index) {
    close();
    const std::vector<Port> available = ports();
    if (index < 0 || index >= static_cast<int>(available.size())) {
        return false;
    }
    return openPort(available[static_cast<std::size_t>(index)]);
}

bool RtMidiBackend::openPort(const Port& port) {
    if (port.system == System::Jack) {
        return jack_->open(port.name);
    }
    try {
        alsa_->openPort(port.number, OutputPortName);
    } catch (const RtMidiError&) {
        return false;
    }
    alsaOpen_ = alsa_->isPortOpen();
    return alsaOpen_;
}

void RtMidiBackend::send(const ShortMessage& message) {
    if (alsaOpen_) {
        try {
            alsa_->sendMessage(message.bytes.data(), message.size);
        } catch (const RtMidiError&) {
        }
    } else if (jack_ != nullptr) {
        jack_->send(message);
    }
}

void RtMidiBackend::close() {
    if (alsaOpen_) {
        try {
            alsa_->closePort();
        } catch (const RtMidiError&) {
        }
        alsaOpen_ = false;
    }
    if (jack_ != nullptr) {
        jack_->close();
    }
}

} // namespace ladoton
