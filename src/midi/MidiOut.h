#pragma once

#include "midi/MidiBackend.h"
#include "time/Clock.h"

#include <functional>
#include <string>
#include <vector>

namespace ladoton {

inline constexpr int DeviceCommandBase = 128;

// The one MIDI output of the program: an open device and the two messages it sends.
class MidiOut {
  public:
    using ErrorReporter = std::function<void(const std::string& text)>;

    MidiOut(MidiBackend& backend, Clock& clock) : backend_(backend), clock_(clock) {}
    MidiOut(const MidiOut&) = delete;
    MidiOut& operator=(const MidiOut&) = delete;

    // Where open failures are shown (a message box of the main window).
    void setErrorReporter(ErrorReporter reporter) { reportError_ = std::move(reporter); }

    void openDevice();
    void selectDevice(int index);
    // One note-on, then a pause of 1 ms; velocity 0 releases the note.
    void sendNote(int channel, int note, int velocity);
    // The same without the pause: a note played on a MIDI input, which must keep up with it.
    void sendNoteNow(int channel, int note, int velocity);
    // Any other channel message of a MIDI input, as it is.
    void passOn(const ShortMessage& message);
    void sendProgramChange(int channel, int instrument);
    // Tells the open device that `channel` is about to be played (see MidiBackend).
    void prepareChannel(int channel);
    void closeDevice();

    // Lists the devices afresh and sets deviceCount (for the device menu).
    std::vector<std::string> listDevices();

    bool hasDevice() const { return deviceOpen_; }
    int deviceId = 0;
    int deviceCount = 0;

  private:
    void report(const std::string& text);

    MidiBackend& backend_;
    Clock& clock_;
    ErrorReporter reportError_;
    bool deviceOpen_ = false;
};

} // namespace ladoton
