// The MIDI input on arbitrary bytes: the stream is framed and every message played on the
// keyboard, with the octave and transposition moving now and then. Whatever arrives, the
// messages that go out are well formed, and once the input's notes are released no note
// sounds that was started from the input.
#include "../support/FakeKeyboardWindow.h"
#include "../support/ManualClock.h"
#include "../support/RecordingBackend.h"
#include "keyboard/Keyboard.h"
#include "keys/VirtualKeys.h"
#include "midi/MidiInputParser.h"

#include <cstdlib>
#include <map>
#include <utility>

using namespace ladoton;
using namespace ladoton::testing;

namespace {
void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void requireNothingSounds(const std::vector<ShortMessage>& sent) {
    std::map<std::pair<int, int>, int> sounding; // by status and note
    for (const ShortMessage& message : sent) {
        require(message.size >= 2 && (message.bytes[0] & 0x80) != 0 && message.bytes[1] < 0x80 &&
                message.bytes[2] < 0x80);
        if ((message.bytes[0] & 0xF0) == 0x90) {
            sounding[{message.bytes[0], message.bytes[1]}] += message.bytes[2] > 0 ? 1 : -1;
        }
    }
    for (const auto& [note, count] : sounding) {
        require(count <= 0);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::filesystem::path settings = "/nonexistent/setting.dat";
    RecordingBackend backend;
    ManualClock clock;
    Keyboard keyboard(backend, clock, settings);
    FakeKeyboardWindow window(keyboard);
    keyboard.attach(window);
    keyboard.initialise();
    MidiInputParser parser;
    for (std::size_t i = 0; i < size; ++i) {
        // An undefined system byte moves the octave or the transposition as Ctrl+arrows do.
        if (data[i] == 0xF4 || data[i] == 0xF5) {
            keyboard.keyStates[vk::Control].pressed = 1;
            keyboard.pressKey(data[i] == 0xF4 ? vk::Up : vk::Right);
            keyboard.keyStates[vk::Control].pressed = 0;
        }
        if (const auto message = parser.feed(data[i])) {
            keyboard.receiveMidi(*message);
        }
    }
    keyboard.releaseInputNotes();
    requireNothingSounds(backend.sent);
    keyboard.detach();
    return 0;
}
