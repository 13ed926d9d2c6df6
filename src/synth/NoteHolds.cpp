#include "synth/NoteHolds.h"

#include "midi/MidiVocabulary.h"

namespace ladoton {

using namespace midi;

void NoteHolds::apply(const ShortMessage& message) {
    const int channelIndex = message.channelIndex();
    const int data1 = message.data1();
    const int data2 = message.data2();
    Channel& channel = channels_[channelIndex];
    switch (message.kind()) {
    case NoteOn:
        if (data2 != 0) {
            channel.press(data1);
        } else {
            channel.release(data1);
        }
        break;
    case NoteOff:
        channel.release(data1);
        break;
    case ControlChange:
        channel.control(data1, data2);
        break;
    default:
        return;
    }
    count_ -= held_[channelIndex];
    held_[channelIndex] = channel.held();
    count_ += held_[channelIndex];
}

void NoteHolds::Channel::press(int note) {
    // A note struck again is a new voice: held by its key, and not by what held the old one.
    keys.set(note);
    sustained.reset(note);
    caught.reset(note);
}

void NoteHolds::Channel::release(int note) {
    if (!keys.test(note)) {
        return;
    }
    keys.reset(note);
    // The sostenuto pedal holds what it caught, and lets it go when lifted even if the sustain
    // pedal is down, as FluidSynth does.
    if (sustain && !(sostenuto && caught.test(note))) {
        sustained.set(note);
    }
}

void NoteHolds::Channel::control(int controller, int value) {
    switch (controller) {
    case SustainPedal:
        sustain = value >= PedalDown;
        if (!sustain) {
            sustained.reset();
        }
        break;
    case SostenutoPedal:
        if (value >= PedalDown) {
            // Each press catches the keys down now; what it caught before stays caught.
            caught |= keys;
            sostenuto = true;
        } else {
            caught.reset();
            sostenuto = false;
        }
        break;
    case AllNotesOff:
        for (int note = 0; note < Notes; ++note) {
            release(note);
        }
        break;
    case AllSoundOff:
        keys.reset();
        sustained.reset();
        caught.reset();
        break;
    case ResetAllControllers:
        control(SustainPedal, 0);
        control(SostenutoPedal, 0);
        break;
    default:
        break;
    }
}

int NoteHolds::Channel::held() const {
    std::bitset<Notes> notes = keys | sustained;
    if (sostenuto) {
        notes |= caught;
    }
    return static_cast<int>(notes.count());
}

} // namespace ladoton
