#pragma once

#include "ManualClock.h"
#include "PrintMessage.h"
#include "RecordingBackend.h"
#include "ScriptedPrompts.h"
#include "ShortMessages.h"
#include "TemporaryFolder.h"
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
    Keyboard& keyboard() { return *keyboard_; }

    // Shows the window and lets it paint once.
    void show();
    // Shows the window as the active one, holding the keyboard, and forgets what it sent so far.
    void showActive();
    // Messages sent since the last call.
    std::vector<ShortMessage> takeSent();
    std::filesystem::path folder() const { return folder_.path(); }
    std::filesystem::path settingsFile() const { return folder_.path() / "setting.dat"; }
    // Recreates the window (and the keyboard) reading the settings file again.
    void restart(bool initialise = true);

    RecordingBackend backend;
    ManualClock clock;
    ScriptedPrompts prompts;

  private:
    TemporaryFolder folder_;
    std::unique_ptr<Keyboard> keyboard_;
    std::unique_ptr<KeyboardDialog> dialog_;
};

} // namespace ladoton::testing
