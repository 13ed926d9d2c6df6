#include "keyboard/Keyboard.h"
#include "keys/VirtualKeys.h"

#include <array>

namespace ladoton {

namespace {
constexpr uint8_t NoteOff = 0x80;
constexpr uint8_t NoteOn = 0x90;
constexpr uint8_t ProgramChange = 0xC0;
} // namespace

// A note-on plays the piano key that sounds its note now, with the note's own velocity, as a
// press of that key's PC key (lit, recorded, named). Notes no key sounds, and notes whose key
// is already held, are passed on. Every other channel message is passed on to the chosen
// channel; a program change also moves the instrument.
void Keyboard::receiveMidi(const ShortMessage& message) {
    if (message.size < 2 || message.bytes[1] > 127 || message.bytes[2] > 127) {
        return;
    }
    const uint8_t kind = message.bytes[0] & 0xF0;
    const int data1 = message.bytes[1];
    const int data2 = message.bytes[2];
    if (kind == NoteOn && data2 > 0) {
        pressInputNote(data1, data2);
    } else if (kind == NoteOn || kind == NoteOff) {
        releaseInputNote(data1);
    } else if (kind == ProgramChange) {
        changeInputProgram(data1 + 1);
    } else if (channel >= 1 && channel <= 16) {
        ShortMessage passed = message;
        passed.bytes[0] = static_cast<uint8_t>(kind | (channel - 1));
        midiOut.passOn(passed);
    }
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
    window().updateData(true);
    key.pressed = 0;
    key.needsRepaint = 1;
    for (const int32_t started : key.started) {
        midiOut.sendNoteNow(ended.channel, started, 0);
    }
    key.started.clear();
    if (!playback.isPlaying && key.note != EmptyNote) {
        appendEvent(ended.keyCode, 0);
    }
}

void Keyboard::releaseInputNotes() {
    for (int note = 0; note < static_cast<int>(inputNotes.size()); ++note) {
        releaseInputNote(note);
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
