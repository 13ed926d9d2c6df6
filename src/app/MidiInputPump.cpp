#include "app/MidiInputPump.h"

#include "keyboard/Keyboard.h"
#include "midi/SystemMidiInput.h"

#include <algorithm>

namespace ladoton {

namespace {
// Some hundreds of messages: a few milliseconds of the window's time at most.
constexpr std::size_t PortionBytes = 2048;
} // namespace

MidiInputPump::MidiInputPump(SystemMidiInput& input, Keyboard& keyboard, QObject* parent)
    : QObject(parent), input_(input), keyboard_(keyboard),
      notifier_(input.wakeupFd(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &MidiInputPump::takeArrived);
    serverCheck_.setInterval(1000);
    connect(&serverCheck_, &QTimer::timeout, this, [this] {
        input_.checkServer();
        if (!inputHoldsNotes()) {
            serverCheck_.stop();
        }
    });
}

bool MidiInputPump::inputHoldsNotes() const {
    return std::any_of(keyboard_.inputNotes.begin(), keyboard_.inputNotes.end(),
                       [](const InputNote& note) { return note.held; });
}

void MidiInputPump::receive(const ShortMessage& message) {
    keyboard_.receiveMidi(message);
}

void MidiInputPump::lost() {
    keyboard_.releaseInputNotes();
}

void MidiInputPump::takeArrived() {
    input_.takeArrived(*this, PortionBytes);
    if (inputHoldsNotes() && !serverCheck_.isActive()) {
        serverCheck_.start();
    }
}

} // namespace ladoton
