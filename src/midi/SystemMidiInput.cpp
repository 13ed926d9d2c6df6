#include "midi/SystemMidiInput.h"

#include "midi/AlsaMidiInput.h"
#include "midi/JackSession.h"
#include "midi/MidiLibraryNoise.h" // alsaSequencerPresent

#include <algorithm>

namespace ladoton {

SystemMidiInput::SystemMidiInput()
    : jack_(std::make_shared<JackSession>(JackMidiClient::Input{jackStream_.queue(), wakeup_})) {}

SystemMidiInput::~SystemMidiInput() {
    waitUntilStarted();
}

void SystemMidiInput::start(std::string source) {
    // silenceMidiLibraries() has been called by the owner: setenv must not race this thread.
    starter_ = std::thread([this, source = std::move(source)] {
        if (alsaSequencerPresent()) {
            alsa_ = AlsaMidiInput::open(alsaStream_.queue(), wakeup_);
        }
        jack_->client();
        if (!source.empty() && connect(source)) {
            chosen_ = source;
        }
    });
}

void SystemMidiInput::waitUntilStarted() {
    if (starter_.joinable()) {
        starter_.join();
    }
}

std::vector<std::string> SystemMidiInput::listSources() {
    waitUntilStarted();
    std::vector<std::string> names;
    if (alsa_ != nullptr) {
        names = alsa_->sourcePorts();
    }
    if (const auto jack = jack_->client(); jack != nullptr) {
        for (std::string& name : jack->sourcePorts()) {
            names.push_back(std::move(name));
        }
    }
    return names;
}

bool SystemMidiInput::chooseSource(const std::string& name) {
    waitUntilStarted();
    if (!chosen_.empty()) {
        disconnect(chosen_);
    }
    chosen_.clear();
    if (name.empty()) {
        return true;
    }
    if (!connect(name)) {
        return false;
    }
    chosen_ = name;
    return true;
}

std::string SystemMidiInput::chosenSource() {
    waitUntilStarted();
    return chosen_;
}

bool SystemMidiInput::connect(const std::string& name) {
    if (alsa_ != nullptr && alsa_->connectSource(name)) {
        return true;
    }
    const auto jack = jack_->client();
    if (jack == nullptr) {
        return false;
    }
    const std::vector<std::string> ports = jack->sourcePorts();
    return std::find(ports.begin(), ports.end(), name) != ports.end() && jack->connectSource(name);
}

void SystemMidiInput::disconnect(const std::string& name) {
    if (alsa_ != nullptr) {
        alsa_->disconnectSource(name);
    }
    if (const auto jack = jack_->client(); jack != nullptr) {
        jack->disconnectSource(name);
    }
}

void SystemMidiInput::checkServer() {
    if (const auto jack = jack_->lastClient(); jack != nullptr) {
        jack->running();
    }
}

bool SystemMidiInput::takeArrived(InputReceiver& receiver, std::size_t limit) {
    wakeup_.clear();
    bool more = alsaStream_.read(receiver, limit);
    more = jackStream_.read(receiver, limit) || more;
    if (more) {
        wakeup_.signal();
    }
    return more;
}

} // namespace ladoton
