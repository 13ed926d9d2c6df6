#include "app/KeyboardDialog.h"
#include "melody/HeldNotes.h"

namespace ladoton {

namespace {
constexpr int MetronomeChannel = 10;
constexpr int ClickNote = 60;
constexpr int AccentNote = 64;
constexpr int ClickVelocity = 120;
} // namespace

void KeyboardDialog::OnTimer(int id) {
    UpdateData(true);
    if (id == RepaintTimer) {
        DrawKeyboard();
    }
    if (id == MetronomeTimer && metronomeOn != 0) {
        metronomeClick();
    }
    // On a step tick nothing has happened since the read above, and a second read would only
    // read the same values again: it is left out, as the step timer runs a hundred times a
    // second also while nothing happens.
    if (id != StepTimer) {
        UpdateData(true);
    }
    if (melody_.empty()) {
        return;
    }
    if (playback_.isPlaying) {
        playbackStep();
    }
    updateHeldNotes();
    if (playback_.playPosition >= melody_.size()) {
        playback_.playPosition = 0;
        if (randomInstrument != 0) {
            randomProgramChange();
        }
    }
}

void KeyboardDialog::playbackStep() {
    const uint32_t firstTime = melody_[0].time;
    if (playback_.playPosition == 0) {
        playback_.playStartTime = clock_.tickCount();
    }
    if (playback_.playPosition >= melody_.size()) {
        return;
    }
    const MelodyEvent event = melody_[playback_.playPosition];
    const uint32_t elapsed = clock_.tickCount() - playback_.playStartTime;
    if (event.time - firstTime > elapsed) {
        return;
    }
    if (isKeyCode(event.keyCode)) {
        if (event.keyDown != 0) {
            pressKey(event.keyCode);
        } else {
            releaseKey(event.keyCode);
        }
    }
    ++playback_.playPosition;
}

void KeyboardDialog::metronomeClick() {
    midiOut_.sendNote(MetronomeChannel, playback_.lastClickNote, 0);
    playback_.beatCount = (playback_.beatCount + 1) % 4;
    const int note = playback_.beatCount == 0 && accentOn != 0 ? AccentNote : ClickNote;
    midiOut_.sendNote(MetronomeChannel, note, ClickVelocity);
    playback_.lastClickNote = note;
}

void KeyboardDialog::randomProgramChange() {
    // An upper bound of 0 can only come from pasted text; there is nothing to draw from.
    if (maxInstrument == 0) {
        return;
    }
    const auto drawn = static_cast<unsigned>(playback_.random.next());
    const int program = static_cast<int>(1 + drawn % maxInstrument);
    state_.currentProgram = program;
    midiOut_.sendProgramChange(channel, program);
}

void KeyboardDialog::updateHeldNotes() {
    const std::vector<int32_t> notes = gatherHeldNotes(keyStates_);
    UpdateData(true);
    HeldNotesTexts texts = describeHeldNotes(notes);
    heldNotesText = std::move(texts.heldNotesText);
    intervalText = std::move(texts.intervalText);
    UpdateData(false);
}

void KeyboardDialog::startPlayback() {
    releaseAllKeys();
    playback_.playPosition = 0;
    playback_.isPlaying = true;
}

void KeyboardDialog::stopPlayback() {
    playback_.isPlaying = false;
    playback_.playPosition = 0;
    releaseAllKeys();
}

void KeyboardDialog::appendEvent(int keyCode, uint8_t keyDown) {
    melody_.append(makeEvent(keyCode, keyDown, clock_.tickCount()));
}

void KeyboardDialog::resetMelody() {
    melody_.clear();
    melodyText.clear();
    playback_.isPlaying = false;
    releaseAllKeys();
    UpdateData(false);
}

} // namespace ladoton
