#pragma once

#include "midi/MidiBackend.h"
#include "midi/PendingMessages.h"

#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace ladoton {

// The program's one way of making a device ready in the background, so that the window goes on
// meanwhile: the device chosen at start is opened on a thread of its own (a JACK client alone
// takes some 15 ms to connect, the built-in synthesizer reads its library and SoundFont), and
// every later choice is opened in place, so that it answers for itself, while what its open
// leaves (`MidiBackend::finishOpen`) is made in the background.
//
// What is sent meanwhile is kept in reduced form (`PendingMessages`: the latest programs,
// controllers, bend and pressure, the held notes) and sent once the device is ready. If the
// background part fails, `onFailure` is called on that thread, without the lock, and sends are
// dropped until the next open.
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
    // Opening: the first open runs in the background, and the devices are not to be called.
    // Finishing: the open device finishes in the background and takes hints meanwhile.
    enum class State { Idle, Opening, Finishing, Open, Failed };

    void startInBackground(State state, std::function<bool()> start);
    void finish(const std::function<bool()>& start);
    void waitForBackground();

    std::unique_ptr<MidiBackend> devices_;
    std::function<void()> onFailure_;
    std::mutex mutex_;
    State state_ = State::Idle;
    bool firstOpenMade_ = false;
    PendingMessages pending_;
    std::thread starter_;
};

} // namespace ladoton
