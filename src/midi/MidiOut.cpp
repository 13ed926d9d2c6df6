#include "midi/MidiOut.h"

namespace ladoton {

void MidiOut::openDevice() {
    if (deviceOpen_) {
        return;
    }
    deviceOpen_ = backend_.open(deviceId);
    if (!deviceOpen_) {
        report("Не могу открыть midi устройство!");
    }
}

void MidiOut::selectDevice(int index) {
    backend_.close();
    deviceOpen_ = false;
    deviceId = index;
    deviceOpen_ = backend_.open(index);
    if (!deviceOpen_) {
        report("Ошибка открытия устройства " + std::to_string(index));
    }
}

void MidiOut::sendNote(int channel, int note, int velocity) {
    if (!deviceOpen_) {
        return;
    }
    const auto message = noteOnMessage(channel, note, velocity);
    if (!message) {
        return;
    }
    backend_.send(*message);
    clock_.sleep(1);
}

void MidiOut::sendNoteNow(int channel, int note, int velocity) {
    if (!deviceOpen_) {
        return;
    }
    if (const auto message = noteOnMessage(channel, note, velocity)) {
        backend_.send(*message);
    }
}

void MidiOut::passOn(const ShortMessage& message) {
    if (deviceOpen_ && message.size > 0) {
        backend_.send(message);
    }
}

void MidiOut::sendProgramChange(int channel, int instrument) {
    if (!deviceOpen_) {
        return;
    }
    if (const auto message = programChangeMessage(channel, instrument)) {
        backend_.send(*message);
    }
}

void MidiOut::prepareChannel(int channel) {
    if (deviceOpen_) {
        backend_.prepareChannel(channel);
    }
}

void MidiOut::closeDevice() {
    backend_.close();
    deviceOpen_ = false;
}

std::vector<std::string> MidiOut::listDevices() {
    auto names = backend_.listDevices();
    deviceCount = static_cast<int>(names.size());
    return names;
}

void MidiOut::report(const std::string& text) {
    if (reportError_) {
        reportError_(text);
    }
}

} // namespace ladoton
