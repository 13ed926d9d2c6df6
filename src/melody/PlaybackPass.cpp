#include "melody/PlaybackPass.h"

#include "keys/VirtualKeys.h"

#include <algorithm>
#include <array>
#include <optional>

namespace ladoton {

namespace {

// The notes one key sounds until its release: one per table row bound to it.
struct SoundingKey {
    bool pressed = false;
    std::size_t count = 0;
    std::array<int32_t, KeyTableRows> notes{};
};

// Replays keystrokes the way the window's key handling does during playback, collecting
// the messages instead of sending them.
class PassReplay {
  public:
    PassReplay(const KeyTable& table, const PlayingSettings& settings,
               std::vector<TimedMessage>& out)
        : table_(table), settings_(settings), out_(out) {}

    bool ended() const { return ended_; }

    void replay(const MelodyEvent& event, uint32_t time) {
        time_ = time;
        if (!isKeyCode(event.keyCode)) {
            return;
        }
        if (event.keyDown != 0) {
            press(event.keyCode);
        } else {
            release(event.keyCode);
        }
    }

    void sendProgram() { send(programChangeMessage(settings_.channel, settings_.program)); }

    void releaseAll() {
        for (int keyCode = 0; keyCode < KeyCodeCount; ++keyCode) {
            release(keyCode);
        }
    }

  private:
    void press(int keyCode) {
        switch (keyCode) {
        case vk::Space:   // playback starts over: this pass is done
        case vk::LetterZ: // the melody is emptied and playback stops
            releaseAll();
            ended_ = true;
            return;
        case vk::LetterX:
            for (int note = 0; note <= 254; ++note) {
                send(noteOnMessage(settings_.channel, note, 0));
            }
            break;
        default:
            break;
        }
        if (!keys_[keyCode].pressed) {
            sound(keyCode);
        }
        followArrows(keyCode);
    }

    void sound(int keyCode) {
        SoundingKey& key = keys_[keyCode];
        key.pressed = true;
        key.count = 0;
        int32_t note = EmptyNote;
        for (const KeyEntry& row : table_) {
            if (row.keyCode != keyCode) {
                continue;
            }
            if (row.noteOffset != EmptyNote) {
                note = noteNumber(row.noteOffset, settings_.transposition, settings_.octave);
            }
            if (note != EmptyNote) {
                key.notes[key.count++] = note;
                send(noteOnMessage(settings_.channel, note, settings_.amplitude));
            }
        }
    }

    // The arrow keys step the instrument, and with Ctrl held the octave and transposition,
    // just as when the user presses them.
    void followArrows(int keyCode) {
        const bool up = keyCode == vk::Up;
        const bool down = keyCode == vk::Down;
        if (keys_[vk::Control].pressed) {
            if (keyCode == vk::Left || keyCode == vk::Right) {
                settings_.transposition =
                    static_cast<int>(static_cast<uint32_t>(settings_.transposition) +
                                     (keyCode == vk::Left ? -1U : 1U));
            }
            const int64_t octave = int64_t{settings_.octave} + (up ? 1 : down ? -1 : 0);
            settings_.octave = static_cast<int>(std::clamp<int64_t>(octave, 1, 9));
            return;
        }
        if (up || down) {
            const int64_t program = int64_t{settings_.program} + (up ? 1 : -1);
            settings_.program = static_cast<int>(std::clamp<int64_t>(program, 1, 128));
            sendProgram();
        }
    }

    // Every note the press started ends, whatever the octave is now.
    void release(int keyCode) {
        SoundingKey& key = keys_[keyCode];
        if (!key.pressed) {
            return;
        }
        key.pressed = false;
        for (std::size_t i = 0; i < key.count; ++i) {
            send(noteOnMessage(settings_.channel, key.notes[i], 0));
        }
    }

    void send(const std::optional<ShortMessage>& message) {
        if (message) {
            out_.push_back({time_, *message});
        }
    }

    const KeyTable& table_;
    PlayingSettings settings_;
    std::vector<TimedMessage>& out_;
    std::array<SoundingKey, KeyCodeCount> keys_{};
    uint32_t time_ = 0;
    bool ended_ = false;
};

} // namespace

std::vector<TimedMessage> playbackPassMessages(std::span<const MelodyEvent> events,
                                               const KeyTable& table,
                                               const PlayingSettings& settings) {
    std::vector<TimedMessage> messages;
    messages.reserve(events.size() + 1);
    PassReplay pass(table, settings, messages);
    pass.sendProgram();
    if (events.empty()) {
        return messages;
    }
    const uint32_t firstTime = events.front().time;
    uint32_t time = 0;
    for (const MelodyEvent& event : events) {
        // Playback replays an event once its offset from the first one has passed, and in
        // recorded order, so an event stamped earlier than its predecessor follows it at once.
        time = std::max(time, event.time - firstTime);
        pass.replay(event, time);
        if (pass.ended()) {
            return messages;
        }
    }
    pass.releaseAll();
    return messages;
}

} // namespace ladoton
