// A player at the keyboard and at a MIDI keyboard at once: random input bytes arrive in pushes
// of a MIDI library's thread into a small queue that overflows, and are read in portions, mixed
// with PC key presses and releases, clicks, the channel typed, Ctrl with the arrows, a device
// chosen, playback and the loss of the source. Whatever happens:
// - every message that goes out is well formed;
// - Ctrl with an arrow moves the octave or the transposition by one step;
// - once the MIDI keyboard has let go of every key and pedal, the input holds none;
// - once the player has let go of every key and pedal (and again once the window is closed),
//   every note that any device got has ended with a note-off on the channel it went to, and no
//   pedal stays down.
#include "../support/FakeKeyboardWindow.h"
#include "../support/ManualClock.h"
#include "../support/RecordingBackend.h"
#include "keyboard/Keyboard.h"
#include "keys/VirtualKeys.h"
#include "midi/InputStream.h"
#include "midi/MidiInputParser.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <tuple>

using namespace ladoton;
using namespace ladoton::testing;

namespace {

// MIDI_INPUT_FUZZ_TRACE=1 prints the player's actions and what went out, for a failing input.
const bool Tracing = std::getenv("MIDI_INPUT_FUZZ_TRACE") != nullptr;

void trace(const char* format, int a = 0, int b = 0, int c = 0) {
    if (Tracing) {
        std::fprintf(stderr, format, a, b, c);
    }
}

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "%s\n", what);
        std::abort();
    }
}

// The bytes of the input, read one at a time; 0 once they are used up.
class Script {
  public:
    Script(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    uint8_t next() { return done() ? 0 : data_[at_++]; }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

class Receiver final : public InputReceiver {
  public:
    explicit Receiver(Keyboard& keyboard) : keyboard_(keyboard) {}
    void receive(const ShortMessage& message) override { keyboard_.receiveMidi(message); }
    void lost() override { keyboard_.releaseInputNotes(); }

  private:
    Keyboard& keyboard_;
};

// The MIDI keyboard at the other end: what it sends is pushed whole into the input's queue by the
// system's thread, and may be dropped there when the queue is full. It knows which of its keys
// and pedals it holds down, from what it sent, and lets go of them in the end.
class Source {
  public:
    explicit Source(InputQueue& queue) : queue_(queue) {}

    void send(const uint8_t* bytes, std::size_t length) {
        const bool pushed = queue_.push(bytes, length);
        trace(pushed ? "push %02x %02x %02x\n" : "push %02x %02x %02x: dropped\n", bytes[0],
              length > 1 ? bytes[1] : -1, length > 2 ? bytes[2] : -1);
        for (std::size_t i = 0; i < length; ++i) {
            if (const auto message = parser_.feed(bytes[i])) {
                follow(*message);
            }
        }
    }
    // Unplugged: whatever it held is gone with it.
    void unplug() {
        held_.clear();
        parser_ = {};
    }
    // Every key and pedal it holds is let go, each message read before the next is sent.
    template <typename Read> void letGo(Read read) {
        const std::set<std::pair<int, int>> held = held_;
        for (const auto& [status, data1] : held) {
            const bool pedal = (status & 0xF0) == 0xB0;
            const std::array<uint8_t, 3> off{static_cast<uint8_t>(pedal ? status : status - 0x10),
                                             static_cast<uint8_t>(data1), 0};
            send(off.data(), off.size());
            read();
        }
    }

  private:
    void follow(const ShortMessage& message) {
        const int kind = message.bytes[0] & 0xF0;
        const int status = message.bytes[0];
        const bool pedal = kind == 0xB0 && (message.bytes[1] == 64 || message.bytes[1] == 66 ||
                                            message.bytes[1] == 67);
        if (kind == 0x90 || kind == 0x80) {
            const std::pair<int, int> key{0x90 | (status & 0x0F), message.bytes[1]};
            if (kind == 0x90 && message.bytes[2] > 0) {
                held_.insert(key);
            } else {
                held_.erase(key);
            }
        } else if (pedal) {
            if (message.bytes[2] > 0) {
                held_.insert({status, message.bytes[1]});
            } else {
                held_.erase({status, message.bytes[1]});
            }
        }
    }

    InputQueue& queue_;
    MidiInputParser parser_;
    std::set<std::pair<int, int>> held_; // note-on status and note, or controller status and pedal
};

// Keys of the piano (two of them share note 59, M is the empty note, Tab is below the first C),
// the command keys and Ctrl with the arrows.
constexpr std::array<int, 17> Keys = {
    'Q',         '2',    'W',      'E',      'T',       vk::Tab,   '8',         'U',        'M',
    vk::Control, vk::Up, vk::Down, vk::Left, vk::Right, vk::Space, vk::LetterZ, vk::LetterX};

class Player {
  public:
    Player(Keyboard& keyboard, FakeKeyboardWindow& window, ManualClock& clock)
        : keyboard_(keyboard), window_(window), clock_(clock), receiver_(keyboard) {}

    void play(Script& script) {
        while (!script.done()) {
            step(script.next(), script);
        }
    }

  private:
    void step(uint8_t action, Script& script) {
        switch (action % 12) {
        case 0:
        case 1: { // a message of the system, pushed whole: 1 to 3 bytes of anything
            const std::array<uint8_t, 3> bytes{script.next(), script.next(), script.next()};
            source_.send(bytes.data(), 1 + action / 12 % 3);
            break;
        }
        case 2:
        case 3:
            sendNote(script.next(), script.next());
            break;
        case 4:
            sendPedal(script.next());
            break;
        case 5: {
            const int limit = 1 + script.next() % 16;
            trace("read %d bytes\n", limit);
            stream_.read(receiver_, static_cast<std::size_t>(limit));
            break;
        }
        case 6:
        case 7:
            toggleKey(Keys[script.next() % Keys.size()]);
            break;
        case 8:
            window_.controls.channel = 1 + script.next() % 16;
            trace("channel %d typed\n", window_.controls.channel);
            break;
        case 9: { // the device menu takes the keyboard; playback goes on while it is open
            keyboard_.keyboardLost();
            tick(script.next());
            const int device = script.next() % 3;
            trace("device %d chosen\n", device);
            keyboard_.runCommand(DeviceCommandBase + device);
            break;
        }
        case 10:
            tick(script.next());
            break;
        default:
            other(script.next());
            break;
        }
    }

    // A note of the few that the piano's first keys sound, on one of two channels, or note 0
    // or 127: on or off.
    void sendNote(uint8_t choice, uint8_t velocity) {
        static constexpr std::array<uint8_t, 4> Notes = {48, 59, 0, 127};
        const auto status = static_cast<uint8_t>((choice & 0x80 ? 0x80 : 0x90) | (choice & 1));
        const std::array<uint8_t, 3> bytes{status, Notes[choice / 2 % Notes.size()],
                                           static_cast<uint8_t>(velocity & 0x7F)};
        source_.send(bytes.data(), bytes.size());
    }

    void sendPedal(uint8_t choice) {
        static constexpr std::array<uint8_t, 3> Pedals = {64, 66, 67};
        static constexpr std::array<uint8_t, 4> Values = {0, 127, 40, 0};
        const std::array<uint8_t, 3> bytes{static_cast<uint8_t>(0xB0 | (choice & 1)),
                                           Pedals[choice / 2 % Pedals.size()],
                                           Values[choice / 8 % Values.size()]};
        source_.send(bytes.data(), bytes.size());
    }

    void other(uint8_t choice) {
        trace("other %d\n", choice % 4);
        switch (choice % 4) {
        case 0:
            loseSource();
            break;
        case 1:
            if (keyboard_.keyStates[vk::Control].pressed == 0) {
                keyboard_.clickPianoKey(choice / 4 % static_cast<int>(keyboard_.keyTable.size()));
            }
            break;
        case 2:
            keyboard_.keyboardLost();
            break;
        default:
            keyboard_.stopPlayback();
            break;
        }
    }

    void loseSource() {
        trace("source lost\n");
        source_.unplug();
        stream_.queue().markLoss();
    }

    void tick(uint8_t ms) {
        trace("tick after %d ms\n", ms);
        clock_.advance(ms);
        keyboard_.timerTick(StepTimer);
    }

    void toggleKey(int key) {
        if (held_.erase(key) != 0) {
            trace("release key %d\n", key);
            keyboard_.releaseKey(key);
            return;
        }
        trace("press key %d\n", key);
        held_.insert(key);
        const bool arrow = key >= vk::Left && key <= vk::Down;
        const bool ctrl = keyboard_.keyStates[vk::Control].pressed != 0;
        const int octave = keyboard_.octave;
        const int transposition = keyboard_.transposition;
        keyboard_.pressKey(key);
        if (arrow && ctrl) {
            const int step = key == vk::Up || key == vk::Right ? 1 : -1;
            const bool octaveKey = key == vk::Up || key == vk::Down;
            require(keyboard_.octave ==
                        (octaveKey ? std::clamp(octave + step, 1, 9) : std::clamp(octave, 1, 9)),
                    "the octave did not move by one step");
            require(keyboard_.transposition == transposition + (octaveKey ? 0 : step),
                    "the transposition did not move by one step");
        }
    }

  public:
    // The player lets go of every key and pedal of both keyboards, and playback is stopped.
    void letGo() {
        trace("let go\n");
        const auto readAll = [this] {
            while (stream_.read(receiver_, 1 << 20)) {
            }
        };
        readAll();
        source_.letGo(readAll);
        for (std::size_t note = 0; note < keyboard_.inputNotes.size(); ++note) {
            if (keyboard_.inputNotes[note].held) {
                std::fprintf(stderr, "note %zu still held by the input\n", note);
            }
            require(!keyboard_.inputNotes[note].held, "the input holds a note it was never sent");
        }
        for (const InputPedal& pedal : keyboard_.inputPedals) {
            require(!pedal.down, "the input holds a pedal it was never sent");
        }
        for (const int key : held_) {
            keyboard_.releaseKey(key);
        }
        held_.clear();
        keyboard_.stopPlayback();
    }

  private:
    Keyboard& keyboard_;
    FakeKeyboardWindow& window_;
    ManualClock& clock_;
    Receiver receiver_;
    InputStream stream_{12};
    Source source_{stream_.queue()};
    std::set<int> held_;
};

void requireEverythingEnded(const RecordingBackend& backend) {
    using Place = std::tuple<int, int, int>; // device, status, note or controller
    std::map<Place, bool> sounding;
    std::map<Place, int> pedals;
    for (std::size_t m = 0; m < backend.sent.size(); ++m) {
        const ShortMessage& message = backend.sent[m];
        require(message.size >= 2 && (message.bytes[0] & 0x80) != 0 && message.bytes[1] < 0x80 &&
                    message.bytes[2] < 0x80,
                "a message that breaks the MIDI stream");
        trace("sent to %d: %02x %02x", backend.sentTo[m], message.bytes[0], message.bytes[1]);
        trace(message.size > 2 ? " %02x\n" : "\n", message.bytes[2]);
        const int kind = message.bytes[0] & 0xF0;
        const int channel = message.bytes[0] & 0x0F;
        const Place place{backend.sentTo[m], channel, message.bytes[1]};
        if (kind == 0x90 || kind == 0x80) {
            sounding[place] = kind == 0x90 && message.bytes[2] > 0;
        } else if (kind == 0xB0 &&
                   (message.bytes[1] == 64 || message.bytes[1] == 66 || message.bytes[1] == 67)) {
            pedals[place] = message.bytes[2];
        }
    }
    for (const auto& [place, on] : sounding) {
        if (on) {
            const auto [device, channel, note] = place;
            std::fprintf(stderr, "device %d channel %d note %d still sounds\n", device, channel + 1,
                         note);
        }
        require(!on, "a note never ended");
    }
    for (const auto& [place, value] : pedals) {
        if (value != 0) {
            const auto [device, channel, pedal] = place;
            std::fprintf(stderr, "device %d channel %d pedal %d at %d\n", device, channel + 1,
                         pedal, value);
        }
        require(value == 0, "a pedal stays down");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static const std::filesystem::path settings = "/nonexistent/setting.dat";
    RecordingBackend backend;
    backend.devices.emplace_back("Test device 2");
    ManualClock clock;
    Keyboard keyboard(backend, clock, settings);
    FakeKeyboardWindow window(keyboard);
    keyboard.attach(window);
    keyboard.initialise();
    keyboard.midiOut.listDevices();
    Script script(data, size);
    Player player(keyboard, window, clock);
    player.play(script);
    player.letGo();
    requireEverythingEnded(backend);
    keyboard.close();
    requireEverythingEnded(backend);
    keyboard.detach();
    return 0;
}
