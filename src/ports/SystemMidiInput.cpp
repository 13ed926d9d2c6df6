#include "ports/SystemMidiInput.h"

#include "ports/AlsaMidiInput.h"
#include "ports/JackClient.h"
#include "ports/JackMidiInput.h"
#include "ports/MidiLibraryNoise.h" // alsaSequencerPresent

#include <algorithm>

namespace ladoton {

SystemMidiInput::SystemMidiInput()
    : jack_(std::make_shared<JackClient>(JackClient::Input{jackStream_.queue(), wakeup_})) {}

SystemMidiInput::~SystemMidiInput() {
    waitUntilStarted();
}

void SystemMidiInput::start(std::string source) {
    // silenceMidiLibraries() has been called by the owner: setenv must not race this thread.
    starter_ = std::thread([this, source = std::move(source)] {
        if (alsaSequencerPresent()) {
            alsa_ = AlsaMidiInput::open(alsaStream_.queue(), wakeup_);
        }
        jack_->reach();
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
    if (jack_->reach()) {
        for (std::string& name : jack_->midiInput()->sources()) {
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
    if (!jack_->reach()) {
        return false;
    }
    const std::vector<std::string> ports = jack_->midiInput()->sources();
    return std::find(ports.begin(), ports.end(), name) != ports.end() &&
           jack_->midiInput()->connectSource(name);
}

void SystemMidiInput::disconnect(const std::string& name) {
    if (alsa_ != nullptr) {
        alsa_->disconnectSource(name);
    }
    jack_->midiInput()->disconnectSource(name);
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
