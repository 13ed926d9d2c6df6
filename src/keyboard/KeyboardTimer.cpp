#include "keyboard/Keyboard.h"
#include "melody/HeldNotes.h"
#include "midi/MidiVocabulary.h"
#include "time/Clock.h"

#include <algorithm>

namespace ladoton {

namespace {
constexpr int MetronomeChannel = midi::DrumChannel;
constexpr int ClickNote = 60;
constexpr int AccentNote = 64;
constexpr int ClickVelocity = 120;
} // namespace

void Keyboard::timerTick(int id) {
    window().updateData(true);
    // The tick after the metronome is switched on or channel 10 is chosen lets the device
    // get ready for channel 10 before its first note (a drum kit to read, for instance).
    if (metronomeOn != 0 || channel == MetronomeChannel) {
        midiOut.prepareChannel(MetronomeChannel);
    }
    if (id == RepaintTimer) {
        window().drawKeyboard();
    }
    if (id == MetronomeTimer && metronomeOn != 0) {
        metronomeClick();
    }
    // On a step tick nothing has happened since the read above, and a second read would only
    // read the same values again: it is left out, as the step timer runs a hundred times a
    // second also while nothing happens.
    if (id != StepTimer) {
        window().updateData(true);
    }
    tellScreenReader();
    if (melody.empty()) {
        return;
    }
    if (playback.isPlaying) {
        playbackStep();
    }
    updateHeldNotes();
    if (playback.playPosition >= melody.size()) {
        playback.playPosition = 0;
        if (randomInstrument != 0) {
            randomProgramChange();
        }
    }
}

bool Keyboard::restsUntilNextEvent() const {
    // Held keys need no tick: their notes and texts change only at the next key event. Only
    // keys with a piano key on the window are painted, so only their marks await a repaint.
    const bool marked = std::any_of(keyTable.begin(), keyTable.end(), [this](const KeyEntry& row) {
        return row.buttonId != 0 && isKeyCode(row.keyCode) &&
               keyStates[row.keyCode].needsRepaint != 0;
    });
    return !playback.isPlaying && !marked && !announcements_.waiting();
}

void Keyboard::playbackStep() {
    const uint32_t firstTime = melody[0].time;
    if (playback.playPosition == 0) {
        playback.playStartTime = clock_.tickCount();
    }
    if (playback.playPosition >= melody.size()) {
        return;
    }
    const MelodyEvent event = melody[playback.playPosition];
    const uint32_t elapsed = clock_.tickCount() - playback.playStartTime;
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
    ++playback.playPosition;
}

void Keyboard::metronomeClick() {
    midiOut.sendNote(MetronomeChannel, playback.lastClickNote, 0);
    playback.beatCount = (playback.beatCount + 1) % 4;
    const int note = playback.beatCount == 0 && accentOn != 0 ? AccentNote : ClickNote;
    midiOut.sendNote(MetronomeChannel, note, ClickVelocity);
    playback.lastClickNote = note;
}

void Keyboard::randomProgramChange() {
    // An upper bound of 0 can only come from pasted text; there is nothing to draw from.
    if (maxInstrument == 0) {
        return;
    }
    const auto drawn = static_cast<unsigned>(playback.random.next());
    const int program = static_cast<int>(1 + drawn % maxInstrument);
    const int before = currentProgram;
    currentProgram = program;
    midiOut.sendProgramChange(channel, program);
    if (program != before) {
        tellControl("Инструмент", program);
    }
}

void Keyboard::updateHeldNotes() {
    const std::vector<int32_t> notes = gatherHeldNotes(keyStates);
    window().updateData(true);
    HeldNotesTexts texts = describeHeldNotes(notes);
    heldNotesText = std::move(texts.heldNotesText);
    intervalText = std::move(texts.intervalText);
    window().updateData(false);
}

// Runs at every tick while a screen reader listens, after the notes of the tick have left.
void Keyboard::tellScreenReader() {
    if (!window().screenReaderListens()) {
        return;
    }
    std::vector<int32_t> notes = gatherHeldNotes(keyStates);
    if (playback.isPlaying && !speakDuringPlayback) {
        announcements_.heldNotesUntold(std::move(notes));
    } else {
        announcements_.heldNotes(std::move(notes), clock_.tickCount());
    }
    if (const std::string text = announcements_.due(clock_.tickCount()); !text.empty()) {
        window().announce(text);
    }
}

void Keyboard::tellControl(const char* label, int value) {
    if (window().screenReaderListens()) {
        announcements_.controlChanged(label, std::to_string(value), clock_.tickCount());
    }
}

} // namespace ladoton
