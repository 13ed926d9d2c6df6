#include "app/KeyboardDialog.h"
#include "keys/MelodyText.h"
#include "keys/VirtualKeys.h"
#include "widgets/Controls.h"

#include <QLineEdit>
#include <algorithm>

namespace ladoton {

namespace {
// Transposition has no bounds; it wraps as 32-bit arithmetic does.
int stepWrapping(int value, int step) {
    return static_cast<int>(static_cast<uint32_t>(value) + static_cast<uint32_t>(step));
}
} // namespace

void KeyboardDialog::pressKey(int keyCode) {
    UpdateData(true);
    if (!isKeyCode(keyCode)) {
        return;
    }
    keyCodeText = std::to_string(keyCode);
    UpdateData(false);

    switch (keyCode) {
    case vk::Space:
        startPlayback();
        break;
    case vk::LetterZ:
        resetMelody();
        break;
    case vk::LetterX:
        for (int note = 0; note <= 254; ++note) {
            midiOut_.sendNote(channel, note, 0);
        }
        break;
    case vk::Shift:
        collapseWindow();
        break;
    default:
        break;
    }

    KeyState& key = keyStates_[keyCode];
    if (key.pressed == 0) {
        key.note = EmptyNote;
        key.pressed = 1;
        key.started.clear();
        for (const KeyEntry& row : keyTable_) {
            if (row.keyCode != keyCode) {
                continue;
            }
            int32_t note = key.note;
            if (row.noteOffset != EmptyNote) {
                note = noteNumber(row.noteOffset, transposition, octave);
            }
            if (!playback_.isPlaying) {
                appendNoteName(melodyText, note);
            }
            key.note = note;
            UpdateData(false);
            melodyEdit->setFocus();
            melodyEdit->setSelection(0, static_cast<int>(melodyEdit->text().size()));
            if (!playback_.isPlaying) {
                appendEvent(keyCode, 1);
            }
            if (note != EmptyNote) {
                midiOut_.sendNote(channel, key.note, amplitude);
                key.started.add(key.note);
                key.needsRepaint = 1;
            }
        }
    }

    if (isCtrlHeld()) {
        if (keyCode == vk::Left || keyCode == vk::Right) {
            UpdateData(true);
            transposition = stepWrapping(transposition, keyCode == vk::Left ? -1 : 1);
            UpdateData(false);
            RedrawKeyboard();
        }
        // The settings file may hold any octave; step in 64 bits before clamping.
        int64_t nextOctave = octave;
        nextOctave += keyCode == vk::Up ? 1 : keyCode == vk::Down ? -1 : 0;
        octave = static_cast<int>(std::clamp<int64_t>(nextOctave, 1, 9));
        instrument = state_.currentProgram;
        UpdateData(false);
        return;
    }
    if (keyCode == vk::Up || keyCode == vk::Down) {
        state_.currentProgram += keyCode == vk::Up ? 1 : -1;
        state_.currentProgram = std::clamp(state_.currentProgram, 1, 128);
        midiOut_.sendProgramChange(channel, state_.currentProgram);
    }
    instrumentSlider->setValue(state_.currentProgram);
    instrument = state_.currentProgram;
    UpdateData(false);
}

void KeyboardDialog::releaseKey(int keyCode) {
    if (!isKeyCode(keyCode) || keyStates_[keyCode].pressed == 0) {
        return;
    }
    UpdateData(true);
    KeyState& key = keyStates_[keyCode];
    key.pressed = 0;
    key.needsRepaint = 1;
    endNotes(key);
    if (!playback_.isPlaying && key.note != EmptyNote) {
        appendEvent(keyCode, 0);
    }
}

void KeyboardDialog::endNotes(KeyState& key) {
    if (key.started.empty()) {
        midiOut_.sendNote(channel, key.note, 0);
        return;
    }
    for (const int32_t note : key.started) {
        midiOut_.sendNote(channel, note, 0);
    }
    key.started.clear();
}

void KeyboardDialog::clickPianoKey(int row) {
    if (isCtrlHeld()) {
        reassignKey(row);
        return;
    }
    const int keyCode = keyTable_[row].keyCode;
    pressKey(keyCode);
    clock_.sleep(200);
    releaseKey(keyCode);
    markAllForRepaint();
}

} // namespace ladoton
