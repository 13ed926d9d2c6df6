#pragma once

#include "midi/InputQueue.h"
#include "midi/InputStream.h"
#include "midi/MidiInput.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace ladoton {

class AlsaMidiInput;
class JackMidiClient;
class JackSession;

// The program's MIDI input on the system: the ALSA sequencer port "Ладотон:input" and the
// JACK port "Ладотон:input", the sources being the readable ports of both (ALSA's first).
// The ports are made on a thread of their own, so that the window does not wait for them;
// every other call waits until they are made.
class SystemMidiInput final : public MidiInput {
  public:
    SystemMidiInput();
    ~SystemMidiInput() override;
    SystemMidiInput(const SystemMidiInput&) = delete;
    SystemMidiInput& operator=(const SystemMidiInput&) = delete;

    // Makes the ports and connects `source` to them where it is present. Call after
    // silenceMidiLibraries().
    void start(std::string source);

    std::vector<std::string> listSources() override;
    bool chooseSource(const std::string& name) override;
    std::string chosenSource() override;

    // The client the MIDI output shares.
    std::shared_ptr<JackSession> jackSession() const { return jack_; }
    // Readable when something arrived; see takeArrived.
    int wakeupFd() const { return wakeup_.fd(); }

    // Looks whether the JACK server still runs; one that stopped loses its sources, and the
    // wake-up says so. For while the input holds notes.
    void checkServer();

    // Hands what arrived to `receiver`, reading at most `limit` bytes of each system; true when
    // the limit was reached and more waits.
    bool takeArrived(InputReceiver& receiver, std::size_t limit);

  private:
    void waitUntilStarted();
    void disconnect(const std::string& name);
    bool connect(const std::string& name);

    InputWakeup wakeup_;
    InputStream alsaStream_;
    InputStream jackStream_;
    std::shared_ptr<JackSession> jack_;
    std::unique_ptr<AlsaMidiInput> alsa_;
    std::string chosen_;
    std::thread starter_;
};

} // namespace ladoton
