#include "keyboard/Keyboard.h"

#include <algorithm>
#include <array>
#include <utility>

namespace ladoton {

Keyboard::Keyboard(MidiBackend& backend, Clock& clock, std::filesystem::path settingsFile)
    : midiOut(backend, clock), clock_(clock), settingsFile_(std::move(settingsFile)) {
    readSettings();
}

void Keyboard::initialise() {
    window().updateData(false);
    midiOut.openDevice();
    window().setTimer(StepTimer, 10);
    window().setTimer(MetronomeTimer, 500);
    window().setTimer(RepaintTimer, 100);
    window().setUpControls({amplitude, instrument, static_cast<int>(std::min(maxInstrument, 127u)),
                            static_cast<int>(std::min(tempoText, 200u))});
    midiOut.sendProgramChange(channel, instrument);
    window().updateData(false);
}

void Keyboard::runCommand(int id) {
    id &= 0xFFFF;
    if (id >= DeviceCommandBase && id < DeviceCommandBase + midiOut.deviceCount) {
        selectDevice(id - DeviceCommandBase);
        return;
    }
    const int row = firstRowForButton(keyTable, id);
    if (row >= 0) {
        clickPianoKey(row);
    }
    runMenuCommand(id);
}

void Keyboard::selectDevice(int index) {
    // Every note ends at the device it went to, also one that playback pressed while the
    // device menu was open.
    releaseAllKeys();
    midiOut.selectDevice(index);
    midiOut.sendProgramChange(channel, instrument);
}

void Keyboard::runMenuCommand(int id) {
    switch (id) {
    case command::KeyHelp:
        window().showKeyHelp();
        break;
    case command::About:
        window().showAbout();
        break;
    case command::Open:
        loadMelody();
        break;
    case command::Save:
        saveMelody();
        break;
    case command::ExportMidi:
        exportMidi();
        break;
    case command::Exit:
        if (window().updateData(true)) {
            releaseInputNotes();
            window().endRun(true);
        }
        break;
    case command::StartPlayback:
        startPlayback();
        break;
    case command::StopPlayback:
        stopPlayback();
        break;
    case command::ResetMelody:
        resetMelody();
        break;
    default:
        break;
    }
}

void Keyboard::close() {
    window().updateData(true);
    releaseInputNotes();
    writeSettings();
    midiOut.closeDevice();
    window().endRun(false);
}

void Keyboard::keyboardLost() {
    // Another window or a menu has the keyboard now, so no key-up will reach us: end
    // every held note rather than leave it sounding. The MIDI input's notes still get
    // their note-offs.
    releaseHeldKeys();
    markAllForRepaint();
}

void Keyboard::markAllForRepaint() {
    for (KeyState& key : keyStates) {
        key.needsRepaint = 1;
    }
}

void Keyboard::redrawKeyboard() {
    markAllForRepaint();
    window().repaintNow();
}

void Keyboard::releaseAllKeys() {
    releaseInputNotes();
    releaseHeldKeys();
}

void Keyboard::releaseHeldKeys() {
    std::array<bool, KeyCodeCount> heldByInput{};
    for (const InputNote& note : inputNotes) {
        if (note.held) {
            heldByInput[static_cast<std::size_t>(note.keyCode)] = true;
        }
    }
    for (int keyCode = 0; keyCode < KeyCodeCount; ++keyCode) {
        KeyState& key = keyStates[keyCode];
        if (key.pressed == 1 && !heldByInput[static_cast<std::size_t>(keyCode)]) {
            key.pressed = 0;
            key.needsRepaint = 1;
            endNotes(key);
        }
    }
}

} // namespace ladoton
