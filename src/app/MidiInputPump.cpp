#include "app/MidiInputPump.h"

#include "keyboard/Keyboard.h"
#include "ports/SystemMidiInput.h"

namespace ladoton {

namespace {
// Some hundreds of messages: a few milliseconds of the window's time at most.
constexpr std::size_t PortionMessages = 682;
} // namespace

MidiInputPump::MidiInputPump(SystemMidiInput& input, Keyboard& keyboard, QObject* parent)
    : QObject(parent), input_(input), keyboard_(keyboard),
      notifier_(input.wakeupFd(), QSocketNotifier::Read) {
    connect(&notifier_, &QSocketNotifier::activated, this, &MidiInputPump::takeArrived);
}

void MidiInputPump::receive(const ShortMessage& message) {
    keyboard_.receiveMidi(message);
}

void MidiInputPump::lost() {
    keyboard_.releaseInputNotes();
}

void MidiInputPump::takeArrived() {
    input_.takeArrived(*this, PortionMessages);
}

} // namespace ladoton
