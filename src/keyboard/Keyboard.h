#pragma once

#include "keyboard/Announcements.h"
#include "keyboard/Commands.h"
#include "keyboard/ExchangedValues.h"
#include "keyboard/InputNotes.h"
#include "keyboard/KeyboardWindow.h"
#include "keys/KeyTable.h"
#include "melody/Melody.h"
#include "midi/MidiOut.h"

#include <cstdint>
#include <filesystem>

namespace ladoton {

class Clock;
class MidiBackend;

// The virtual keyboard: its keys, the MIDI output, the recorded melody and its playback,
// the metronome and the values its window shows. It owns the program's state for the whole
// run and reaches its window only through KeyboardWindow.
class Keyboard : public ExchangedValues {
  public:
    // Reads the settings file; the window's controls get the values when it opens.
    Keyboard(MidiBackend& backend, Clock& clock, std::filesystem::path settingsFile);

    // The window shown from now on; detach before it goes away.
    void attach(KeyboardWindow& window) { window_ = &window; }
    void detach() { window_ = nullptr; }

    // The window opens: the device, the timers and the controls' ranges.
    void initialise();
    // The open device came back after it went away (its server stopped, or its program): it
    // gets the program again, as when it is chosen.
    void deviceReturned();
    // A menu command, a piano-key button or a device of the device menu by its id.
    void runCommand(int id);
    // The window is closed: the settings are kept and the device closed.
    void close();
    void timerTick(int id);
    // No tick of the step or repaint timer would change anything before the next event: nothing
    // plays and no key waits to be painted.
    bool restsUntilNextEvent() const;

    // Keys.
    void pressKey(int keyCode);
    void releaseKey(int keyCode);
    void clickPianoKey(int row);
    void reassignKey(int row);
    void releaseAllKeys();
    // The window lost the keyboard to another window, a popup menu or a modal box.
    void keyboardLost();
    // Ends every note the key's press started (a key bound to two rows started two).
    void endNotes(KeyState& key);
    void markAllForRepaint();
    void redrawKeyboard();

    // A channel message of the MIDI input (see KeyboardInput.cpp).
    void receiveMidi(const ShortMessage& message);
    // Ends every note the MIDI input started and holds, at the device that received it, and
    // lifts the pedals it holds down: the source changed or went away, or its messages were lost.
    void releaseInputNotes();

    // Melody.
    void appendEvent(int keyCode, uint8_t keyDown);
    void resetMelody();
    void startPlayback();
    void stopPlayback();
    void saveMelody();
    void loadMelody();
    void exportMidi();

    // The controls' notifications.
    void amplitudeMoved();
    void instrumentMoved();
    void maxInstrumentMoved();
    void tempoMoved();
    void channelStep(int delta);

    void writeSettings();

    MidiOut midiOut;
    KeyTable keyTable = initialKeyTable();
    KeyStates keyStates{};
    Melody melody;
    PlaybackState playback;
    int32_t currentProgram = 62;
    InputNotes inputNotes;
    InputPedals inputPedals;
    // The screen reader hears the chords of melody playback too.
    bool speakDuringPlayback = false;

  private:
    void selectDevice(int index);
    void runMenuCommand(int id);
    void playbackStep();
    void metronomeClick();
    void randomProgramChange();
    void updateHeldNotes();
    // What was played and which control changed, told to a screen reader once settled.
    void tellScreenReader();
    void tellControl(const char* label, int value);
    void readSettings();
    bool isCtrlHeld() const;
    void shiftOctaveAndTransposition(int keyCode);
    void playRows(int keyCode, KeyState& key, int velocity, bool fromInput);
    // MIDI input.
    void pressInputNote(int note, int velocity);
    void releaseInputNote(int note);
    void changeInputProgram(int program);
    void passOnInput(const ShortMessage& message);
    void liftInputPedals();
    void forgetInputNoteOf(int keyCode);
    void unrecordInputNotes();
    int keyCodeSounding(int note) const;
    void releaseHeldKeys();
    void runKeyCommand(int keyCode);

    KeyboardWindow& window() { return *window_; }

    Clock& clock_;
    std::filesystem::path settingsFile_;
    KeyboardWindow* window_ = nullptr;
    Announcements announcements_;
};

} // namespace ladoton
