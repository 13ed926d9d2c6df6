#include "midi/SystemMidiInput.h"

#include "midi/AlsaMidiInput.h"
#include "midi/JackSession.h"
#include "midi/MidiLibraryNoise.h" // alsaSequencerPresent

#include <algorithm>
#include <array>

namespace ladoton {

SystemMidiInput::SystemMidiInput()
    : jack_(std::make_shared<JackSession>(
          JackMidiClient::Input{jackStream_.queue, wakeup_, sourceLost_})) {}

SystemMidiInput::~SystemMidiInput() {
    waitUntilStarted();
}

void SystemMidiInput::start(std::string source) {
    // silenceMidiLibraries() has been called by the owner: setenv must not race this thread.
    starter_ = std::thread([this, source = std::move(source)] {
        if (alsaSequencerPresent()) {
            alsa_ = AlsaMidiInput::open(alsaStream_.queue, wakeup_, sourceLost_);
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

SystemMidiInput::Arrived
SystemMidiInput::takeArrived(const std::function<void(const ShortMessage&)>& receive,
                             std::size_t limit) {
    wakeup_.clear();
    Arrived arrived;
    arrived.moreWaiting = read(alsaStream_, receive, limit);
    arrived.moreWaiting = read(jackStream_, receive, limit) || arrived.moreWaiting;
    // What a full queue dropped may have held note-offs.
    const bool alsaDropped = alsaStream_.queue.takeOverflow();
    const bool dropped = jackStream_.queue.takeOverflow() || alsaDropped;
    arrived.notesLost = sourceLost_.exchange(false) || dropped;
    if (arrived.moreWaiting) {
        wakeup_.signal();
    }
    return arrived;
}

bool SystemMidiInput::read(Stream& stream, const std::function<void(const ShortMessage&)>& receive,
                           std::size_t limit) {
    std::array<uint8_t, 512> bytes{};
    std::size_t total = 0;
    while (total < limit) {
        const std::size_t count =
            stream.queue.pop(bytes.data(), std::min(bytes.size(), limit - total));
        if (count == 0) {
            return false;
        }
        total += count;
        for (std::size_t i = 0; i < count; ++i) {
            if (const auto message = stream.parser.feed(bytes[i])) {
                receive(*message);
            }
        }
    }
    return true;
}

} // namespace ladoton
