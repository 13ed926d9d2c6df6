#pragma once

#include "FakeKeyboardWindow.h"
#include "ManualClock.h"
#include "PrintMessage.h"
#include "RecordingBackend.h"
#include "ShortMessages.h"
#include "TemporaryFolder.h"
#include "keyboard/Keyboard.h"

#include <filesystem>
#include <memory>
#include <vector>

namespace ladoton::testing {

// The keyboard on a recording MIDI backend, a manual clock and a window of plain values,
// with the settings file in a fresh temporary folder.
class TestKeyboard {
  public:
    // initialise: open the window as the program does (device, timers, controls).
    explicit TestKeyboard(bool initialise = true) { restart(initialise); }
    ~TestKeyboard() { keyboard_->detach(); }

    Keyboard& keyboard() { return *keyboard_; }
    Keyboard* operator->() { return keyboard_.get(); }
    FakeKeyboardWindow& window() { return *window_; }

    // Messages sent since the last call.
    std::vector<ShortMessage> takeSent() {
        std::vector<ShortMessage> sent;
        sent.swap(backend.sent);
        backend.sentTo.clear();
        return sent;
    }
    std::filesystem::path folder() const { return folder_.path(); }
    std::filesystem::path settingsFile() const { return folder_.path() / "setting.dat"; }
    // A new keyboard and window, reading the settings file again.
    void restart(bool initialise = true) {
        window_.reset();
        keyboard_ = std::make_unique<Keyboard>(backend, clock, settingsFile());
        window_ = std::make_unique<FakeKeyboardWindow>(*keyboard_);
        keyboard_->attach(*window_);
        if (initialise) {
            keyboard_->initialise();
        }
    }

    RecordingBackend backend;
    ManualClock clock;

  private:
    TemporaryFolder folder_;
    std::unique_ptr<Keyboard> keyboard_;
    std::unique_ptr<FakeKeyboardWindow> window_;
};

} // namespace ladoton::testing
