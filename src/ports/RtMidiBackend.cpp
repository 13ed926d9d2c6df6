#include "ports/RtMidiBackend.h"

#include "midi/MidiVocabulary.h"
#include "ports/JackClient.h"
#include "ports/JackMidiOutput.h"
#include "ports/MidiLibraryNoise.h"

#include <jack/jack.h>
#include <rtmidi/RtMidi.h>

namespace ladoton {

namespace {

constexpr const char* ClientName = "Ladoton";
constexpr const char* OutputPortName = "Ladoton Output";
constexpr const char* OwnPortName = "output";

void ignoreRtMidiError(RtMidiError::Type, const std::string&, void*) {}

// With an error callback set, RtMidi reports a failure through it instead of throwing.
void noteRtMidiFailure(RtMidiError::Type type, const std::string&, void* failed) {
    if (type != RtMidiError::WARNING && type != RtMidiError::DEBUG_WARNING) {
        *static_cast<bool*>(failed) = true;
    }
}

// RtMidi prints the failures of its constructor before an error callback can be set, so an
// output is only made for a sequencer that was just found present.
std::unique_ptr<RtMidiOut> makeAlsaOutput(const char* clientName) {
    try {
        auto output = std::make_unique<RtMidiOut>(RtMidi::LINUX_ALSA, clientName);
        output->setErrorCallback(&ignoreRtMidiError, nullptr);
        return output;
    } catch (const RtMidiError&) {
        return nullptr;
    }
}

} // namespace

RtMidiBackend::RtMidiBackend(std::shared_ptr<JackClient> jack) : jack_(std::move(jack)) {
    silenceMidiLibraries();
    if (jack_ == nullptr) {
        jack_ = std::make_shared<JackClient>();
    }
}

RtMidiBackend::~RtMidiBackend() {
    close();
}

void RtMidiBackend::findSystems() {
    if (alsa_ == nullptr && alsaSequencerPresent()) {
        alsa_ = makeAlsaOutput(ClientName);
    }
    jackPresent_ = jack_->reach();
}

std::vector<MidiPort> RtMidiBackend::ports() {
    findSystems();
    std::optional<std::vector<std::string>> alsaPorts;
    if (alsa_ != nullptr) {
        alsaPorts.emplace();
        try {
            const unsigned count = alsa_->getPortCount();
            for (unsigned number = 0; number < count; ++number) {
                alsaPorts->push_back(alsa_->getPortName(number));
            }
        } catch (const RtMidiError&) {
        }
    }
    std::optional<std::vector<std::string>> jackPorts;
    if (jackPresent_) {
        jackPorts = jack_->otherPorts(JACK_DEFAULT_MIDI_TYPE, JackPortIsInput);
    }
    return listMidiPorts(alsaPorts, jackPorts);
}

std::vector<std::string> RtMidiBackend::listDevices() {
    std::vector<std::string> names;
    for (MidiPort& port : ports()) {
        names.push_back(std::move(port.name));
    }
    return names;
}

bool RtMidiBackend::open(int index) {
    close();
    const std::vector<MidiPort> available = ports();
    if (index < 0 || index >= static_cast<int>(available.size())) {
        return false;
    }
    return openPort(available[static_cast<std::size_t>(index)]);
}

bool RtMidiBackend::openPort(const MidiPort& port) {
    if (port.system == MidiSystem::Jack) {
        JackMidiOutput& output = jack_->midiOutput();
        jackOpen_ = port.own ? output.openOwnPort() : output.open(port.name);
        return jackOpen_;
    }
    const bool opened = port.own ? openOwnAlsaPort() : openAlsaPort(port.number);
    alsaSender_.setOutput(openAlsaOutput());
    return opened;
}

bool RtMidiBackend::openAlsaPort(unsigned number) {
    try {
        alsa_->openPort(number, OutputPortName);
    } catch (const RtMidiError&) {
        return false;
    }
    alsaOpen_ = alsa_->isPortOpen();
    return alsaOpen_;
}

bool RtMidiBackend::openOwnAlsaPort() {
    if (ownAlsa_ == nullptr) {
        auto output = makeAlsaOutput(midi::ClientName);
        if (output == nullptr) {
            return false;
        }
        bool failed = false;
        output->setErrorCallback(&noteRtMidiFailure, &failed);
        output->openVirtualPort(OwnPortName);
        output->setErrorCallback(&ignoreRtMidiError, nullptr);
        if (failed) {
            return false;
        }
        ownAlsa_ = std::move(output);
    }
    ownAlsaOpen_ = true;
    return true;
}

RtMidiOut* RtMidiBackend::openAlsaOutput() const {
    if (alsaOpen_) {
        return alsa_.get();
    }
    return ownAlsaOpen_ ? ownAlsa_.get() : nullptr;
}

void RtMidiBackend::send(const ShortMessage& message) {
    if (openAlsaOutput() != nullptr) {
        alsaSender_.send(message);
    } else if (jackOpen_) {
        jack_->midiOutput().send(message);
    }
}

void RtMidiBackend::close() {
    alsaSender_.setOutput(nullptr);
    if (alsaOpen_) {
        try {
            alsa_->closePort();
        } catch (const RtMidiError&) {
        }
        alsaOpen_ = false;
    }
    ownAlsaOpen_ = false;
    if (jackOpen_) {
        jack_->midiOutput().close();
        jackOpen_ = false;
    }
}

} // namespace ladoton
