#pragma once

#include "ManualClock.h"
#include "PrintMessage.h"
#include "RecordingBackend.h"
#include "ScriptedPrompts.h"
#include "app/KeyboardDialog.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace ladoton::testing {

// The real main window on a recording MIDI backend, a manual clock and scripted
// prompts, with the settings file in a fresh temporary folder.
class TestDialog {
  public:
    // initialise: run the window's initialisation (device opened, timers, ranges).
    explicit TestDialog(bool initialise = true);
    ~TestDialog();

    KeyboardDialog& dialog() { return *dialog_; }
    KeyboardDialog* operator->() { return dialog_.get(); }
    ProgramState& state() { return *state_; }

    // Shows the window and lets it paint once.
    void show();
    // Messages sent since the last call.
    std::vector<ShortMessage> takeSent();
    std::filesystem::path folder() const { return folder_; }
    std::filesystem::path settingsFile() const { return folder_ / "setting.dat"; }
    // Recreates the window (and program state) reading the settings file again.
    void restart(bool initialise = true);

    RecordingBackend backend;
    ManualClock clock;
    ScriptedPrompts prompts;

  private:
    std::filesystem::path folder_;
    std::unique_ptr<ProgramState> state_;
    std::unique_ptr<KeyboardDialog> dialog_;
};

ShortMessage noteOn(int status, int note, int velocity);
ShortMessage programChange(int status, int program);

} // namespace ladoton::testing
