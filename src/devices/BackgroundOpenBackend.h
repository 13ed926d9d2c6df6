#pragma once

#include "midi/MidiBackend.h"
#include "midi/PendingMessages.h"

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ladoton {

// Opens the device chosen at start on a thread of its own, so that the window is shown while
// the MIDI services are still being reached (a JACK client alone takes some 15 ms to connect).
// Only the first open is made in the background; every later call is made in place, after
// that open has ended.
//
// What is sent while the first open runs is kept in reduced form (`PendingMessages`: the
// latest programs, controllers, bend and pressure, the held notes) and sent once the device is
// open. If the open fails, `onFailure` is called on that thread
// and sends are dropped until the next open.
class BackgroundOpenBackend final : public MidiBackend {
  public:
    BackgroundOpenBackend(std::unique_ptr<MidiBackend> devices, std::function<void()> onFailure);
    ~BackgroundOpenBackend() override;
    BackgroundOpenBackend(const BackgroundOpenBackend&) = delete;
    BackgroundOpenBackend& operator=(const BackgroundOpenBackend&) = delete;

    std::vector<std::string> listDevices() override;
    bool open(int index) override;
    void send(const ShortMessage& message) override;
    void close() override;
    void prepareChannel(int channel) override;

  private:
    enum class State { Idle, Opening, Open, Failed };

    void openInBackground(int index);
    void waitForFirstOpen();

    std::unique_ptr<MidiBackend> devices_;
    std::function<void()> onFailure_;
    std::mutex mutex_;
    State state_ = State::Idle;
    bool firstOpenMade_ = false;
    PendingMessages pending_;
    std::thread opener_;
};

} // namespace ladoton
