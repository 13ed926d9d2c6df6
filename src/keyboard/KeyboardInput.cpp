#include "keyboard/Keyboard.h"
#include "keys/VirtualKeys.h"
#include "midi/MidiVocabulary.h"

#include <array>

namespace ladoton {

namespace {
using namespace midi;

// The pedal's place among the input's pedals; -1 for another controller.
int pedalIndex(int controller) {
    for (std::size_t index = 0; index < InputPedalControllers.size(); ++index) {
        if (InputPedalControllers[index] == controller) {
            return static_cast<int>(index);
        }
    }
    return -1;
}

ShortMessage onChannel(const ShortMessage& message, int channel) {
    ShortMessage moved = message;
    moved.bytes[0] = statusOf(message.kind(), channel);
    return moved;
}
} // namespace

// A note-on plays the piano key that sounds its note now, with the note's own velocity, as a
// press of that key's PC key (lit, recorded, named). Notes no key sounds, and notes whose key
// is already held, are passed on. Every other channel message is passed on to the chosen
// channel; a program change also moves the instrument. A pedal that is down keeps to the channel
// it went down on.
void Keyboard::receiveMidi(const ShortMessage& message) {
    if (message.size < 2 || message.bytes[1] > DataMask || message.bytes[2] > DataMask) {
        return;
    }
    const uint8_t kind = message.kind();
    const int data1 = message.bytes[1];
    const int data2 = message.bytes[2];
    if (kind == NoteOn && data2 > 0) {
        pressInputNote(data1, data2);
    } else if (kind == NoteOn || kind == NoteOff) {
        window().updateData(true);
        releaseInputNote(data1);
    } else if (kind == ProgramChange) {
        changeInputProgram(data1 + 1);
    } else {
        passOnInput(message);
    }
}

void Keyboard::passOnInput(const ShortMessage& message) {
    const int pedal = message.kind() == ControlChange ? pedalIndex(message.bytes[1]) : -1;
    if (pedal < 0) {
        if (isChannel(channel)) {
            midiOut.passOn(onChannel(message, channel));
        }
        return;
    }
    InputPedal& held = inputPedals[static_cast<std::size_t>(pedal)];
    const int to = held.down ? held.channel : channel;
    if (!isChannel(to)) {
        return;
    }
    midiOut.passOn(onChannel(message, to));
    held = message.bytes[2] > 0 ? InputPedal{true, to} : InputPedal{};
}

void Keyboard::pressInputNote(int note, int velocity) {
    window().updateData(true);
    // A second note-on without a note-off in between: the note starts again.
    releaseInputNote(note);
    InputNote& held = inputNotes[static_cast<std::size_t>(note)];
    held = {true, 0, channel};
    const int keyCode = keyCodeSounding(note);
    if (keyCode == 0 || keyStates[keyCode].pressed != 0) {
        midiOut.sendNoteNow(channel, note, velocity);
        return;
    }
    held.keyCode = keyCode;
    held.recorded = !playback.isPlaying;
    playRows(keyCode, keyStates[keyCode], velocity, true);
    window().updateData(false);
}

void Keyboard::releaseInputNote(int note) {
    InputNote& held = inputNotes[static_cast<std::size_t>(note)];
    if (!held.held) {
        return; // never started here, or already ended
    }
    const InputNote ended = held;
    held = {};
    if (ended.keyCode == 0) {
        midiOut.sendNoteNow(ended.channel, note, 0);
        return;
    }
    KeyState& key = keyStates[ended.keyCode];
    if (key.pressed == 0) {
        return; // its key was released otherwise (playback, Space)
    }
    // No exchange with the controls here: this also ends notes in the midst of other
    // handlers, whose values the controls do not show yet.
    key.pressed = 0;
    key.needsRepaint = 1;
    for (const int32_t started : key.started) {
        midiOut.sendNoteNow(ended.channel, started, 0);
    }
    key.started.clear();
    if (ended.recorded && !playback.isPlaying && key.note != EmptyNote) {
        appendEvent(ended.keyCode, 0);
    }
}

// A key that the input pressed has been released otherwise (a PC key, playback, a click): the
// input's note has ended with it, and its note-off must not release a later press of the key.
void Keyboard::forgetInputNoteOf(int keyCode) {
    for (InputNote& note : inputNotes) {
        if (note.held && note.keyCode == keyCode) {
            note = {};
        }
    }
}

// The melody was emptied or replaced: the presses of the input's notes are no longer in it.
void Keyboard::unrecordInputNotes() {
    for (InputNote& note : inputNotes) {
        note.recorded = false;
    }
}

void Keyboard::releaseInputNotes() {
    for (int note = 0; note < static_cast<int>(inputNotes.size()); ++note) {
        releaseInputNote(note);
    }
    liftInputPedals();
}

void Keyboard::liftInputPedals() {
    for (std::size_t pedal = 0; pedal < inputPedals.size(); ++pedal) {
        if (inputPedals[pedal].down) {
            const auto controller = static_cast<uint8_t>(InputPedalControllers[pedal]);
            midiOut.passOn(
                onChannel({{ControlChange, controller, 0}, 3}, inputPedals[pedal].channel));
            inputPedals[pedal] = {};
        }
    }
}

void Keyboard::changeInputProgram(int program) {
    window().updateData(true);
    currentProgram = program;
    midiOut.sendProgramChange(channel, currentProgram);
    window().setInstrumentSlider(currentProgram);
    instrument = currentProgram;
    window().updateData(false);
}

// The PC key of the first piano key that sounds `note` at the current octave and
// transposition; 0 when none does.
int Keyboard::keyCodeSounding(int note) const {
    for (const KeyEntry& row : keyTable) {
        if (row.buttonId == 0 || row.noteOffset == EmptyNote || !isKeyCode(row.keyCode) ||
            row.keyCode == vk::Control) {
            continue;
        }
        if (noteNumber(row.noteOffset, transposition, octave) == note) {
            return row.keyCode;
        }
    }
    return 0;
}

} // namespace ladoton
