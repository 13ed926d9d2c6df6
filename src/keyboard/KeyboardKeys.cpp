#include "keyboard/Keyboard.h"
#include "keys/MelodyText.h"
#include "keys/VirtualKeys.h"
#include "time/Clock.h"

#include <algorithm>

namespace ladoton {

namespace {
// Transposition has no bounds; it wraps as 32-bit arithmetic does.
int stepWrapping(int value, int step) {
    return static_cast<int>(static_cast<uint32_t>(value) + static_cast<uint32_t>(step));
}
} // namespace

void Keyboard::pressKey(int keyCode) {
    window().updateData(true);
    if (!isKeyCode(keyCode)) {
        return;
    }
    keyCodeText = std::to_string(keyCode);
    window().updateData(false);
    runKeyCommand(keyCode);

    KeyState& key = keyStates[keyCode];
    if (key.pressed == 0) {
        playRows(keyCode, key, amplitude, false);
    }

    if (isCtrlHeld()) {
        shiftOctaveAndTransposition(keyCode);
        return;
    }
    if (keyCode == vk::Up || keyCode == vk::Down) {
        const int32_t before = currentProgram;
        currentProgram += keyCode == vk::Up ? 1 : -1;
        currentProgram = std::clamp(currentProgram, 1, 128);
        midiOut.sendProgramChange(channel, currentProgram);
        if (currentProgram != before) {
            tellControl("Инструмент", currentProgram);
        }
    }
    window().setInstrumentSlider(currentProgram);
    instrument = currentProgram;
    window().updateData(false);
}

void Keyboard::runKeyCommand(int keyCode) {
    switch (keyCode) {
    case vk::Space:
        startPlayback();
        break;
    case vk::LetterZ:
        resetMelody();
        break;
    case vk::LetterX:
        releaseInputNotes();
        for (int note = 0; note <= 254; ++note) {
            midiOut.sendNote(channel, note, 0);
        }
        break;
    case vk::Shift:
        window().collapseWindow();
        break;
    default:
        break;
    }
}

// Every row of the key sounds its note, is named in the melody text and recorded. A note of a
// MIDI input sounds with its own velocity and without the pause after it.
void Keyboard::playRows(int keyCode, KeyState& key, int velocity, bool fromInput) {
    key.note = EmptyNote;
    key.pressed = 1;
    key.started.clear();
    key.channel = channel;
    for (const KeyEntry& row : keyTable) {
        if (row.keyCode != keyCode) {
            continue;
        }
        int32_t note = key.note;
        if (row.noteOffset != EmptyNote) {
            note = noteNumber(row.noteOffset, transposition, octave);
        }
        if (!playback.isPlaying) {
            appendNoteName(melodyText, note);
        }
        key.note = note;
        window().updateData(false);
        window().focusAndSelectMelodyEdit();
        if (!playback.isPlaying) {
            appendEvent(keyCode, 1);
        }
        if (note != EmptyNote) {
            if (fromInput) {
                midiOut.sendNoteNow(channel, key.note, velocity);
            } else {
                midiOut.sendNote(channel, key.note, velocity);
            }
            key.started.add(key.note);
            key.needsRepaint = 1;
        }
    }
}

void Keyboard::shiftOctaveAndTransposition(int keyCode) {
    const int octaveBefore = octave;
    const int transpositionBefore = transposition;
    if (keyCode == vk::Left || keyCode == vk::Right) {
        window().updateData(true);
        transposition = stepWrapping(transposition, keyCode == vk::Left ? -1 : 1);
        window().updateData(false);
        redrawKeyboard();
    }
    // The settings file may hold any octave; step in 64 bits before clamping.
    int64_t nextOctave = octave;
    nextOctave += keyCode == vk::Up ? 1 : keyCode == vk::Down ? -1 : 0;
    octave = static_cast<int>(std::clamp<int64_t>(nextOctave, 1, 9));
    // The input's notes now belong to other keys: none may be left without its note-off.
    if (octave != octaveBefore || transposition != transpositionBefore) {
        releaseInputNotes();
    }
    if (octave != octaveBefore) {
        tellControl("Октава", octave);
    }
    if (transposition != transpositionBefore) {
        tellControl("Сдвиг", transposition);
    }
    instrument = currentProgram;
    window().updateData(false);
}

void Keyboard::releaseKey(int keyCode) {
    if (!isKeyCode(keyCode) || keyStates[keyCode].pressed == 0) {
        return;
    }
    window().updateData(true);
    KeyState& key = keyStates[keyCode];
    key.pressed = 0;
    key.needsRepaint = 1;
    endNotes(key);
    forgetInputNoteOf(keyCode);
    if (!playback.isPlaying && key.note != EmptyNote) {
        appendEvent(keyCode, 0);
    }
}

// The notes end on the channel they started on, whatever channel is chosen now.
void Keyboard::endNotes(KeyState& key) {
    if (key.started.empty()) {
        midiOut.sendNote(channel, key.note, 0);
        return;
    }
    for (const int32_t note : key.started) {
        midiOut.sendNote(key.channel, note, 0);
    }
    key.started.clear();
}

void Keyboard::clickPianoKey(int row) {
    if (isCtrlHeld()) {
        reassignKey(row);
        return;
    }
    const int keyCode = keyTable[row].keyCode;
    pressKey(keyCode);
    clock_.sleep(200);
    releaseKey(keyCode);
    markAllForRepaint();
}

void Keyboard::reassignKey(int row) {
    const int keyCode = window().assignKey();
    keyTable[row].keyCode = keyCode & 0xFF;
    keyTable[row].keyName = ReassignedKeyName;
}

bool Keyboard::isCtrlHeld() const {
    return keyStates[vk::Control].pressed != 0;
}

} // namespace ladoton
