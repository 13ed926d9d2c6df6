#include "keys/VirtualKeys.h"
#include "melody/MidiFile.h"
#include "melody/PlaybackPass.h"

#include <array>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <numeric>

using namespace ladoton;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {
using Bytes = std::vector<uint8_t>;

TimedMessage on(uint32_t time, int note, int velocity = 60, int channel = 1) {
    return {time,
            {{static_cast<uint8_t>(0x8F + channel), static_cast<uint8_t>(note),
              static_cast<uint8_t>(velocity)},
             3}};
}
TimedMessage off(uint32_t time, int note, int channel = 1) {
    return on(time, note, 0, channel);
}
TimedMessage program(uint32_t time, int number, int channel = 1) {
    return {time, {{static_cast<uint8_t>(0xBF + channel), static_cast<uint8_t>(number - 1), 0}, 2}};
}

MelodyEvent down(int keyCode, uint32_t time) {
    return makeEvent(keyCode, 1, time);
}
MelodyEvent up(int keyCode, uint32_t time) {
    return makeEvent(keyCode, 0, time);
}

std::vector<TimedMessage> pass(const std::vector<MelodyEvent>& events,
                               const PlayingSettings& settings = {},
                               const KeyTable& table = initialKeyTable()) {
    return playbackPassMessages(events, table, settings);
}

// The notes after the leading program change.
std::vector<TimedMessage> notes(const std::vector<MelodyEvent>& events,
                                const PlayingSettings& settings = {}) {
    std::vector<TimedMessage> all = pass(events, settings);
    all.erase(all.begin());
    return all;
}

const Bytes FileHeader = {'M', 'T', 'h', 'd',  0,    0,   0,   6,   0,
                          0,   0,   1,   0x01, 0xF4, 'M', 'T', 'r', 'k'};

Bytes withHeader(const Bytes& track) {
    Bytes file = FileHeader;
    const auto length = static_cast<uint32_t>(track.size());
    for (int shift = 24; shift >= 0; shift -= 8) {
        file.push_back(static_cast<uint8_t>(length >> shift));
    }
    std::copy(track.begin(), track.end(), std::back_inserter(file));
    return file;
}

// The delta times of a track of note messages, decoded.
std::vector<uint32_t> deltas(const Bytes& file) {
    std::vector<uint32_t> found;
    std::size_t at = 22;
    while (at < file.size()) {
        uint32_t delta = 0;
        while ((file.at(at) & 0x80) != 0) {
            delta = (delta << 7) | (file[at++] & 0x7F);
        }
        delta = (delta << 7) | file[at++];
        found.push_back(delta);
        at += file.at(at) == 0xFF ? 3 + file.at(at + 2) : (file[at] & 0xF0) == 0xC0 ? 2 : 3;
    }
    return found;
}
} // namespace

TEST(PlaybackPass, KeysSoundAsPlaybackWouldWithTheCurrentValues) {
    // Q pressed and released; the times count from the first event.
    EXPECT_THAT(pass({down('Q', 5000), up('Q', 5250)}),
                ElementsAre(program(0, 62), on(0, 48), off(250, 48)));
    const PlayingSettings settings{3, 20, 5, -2, 100};
    EXPECT_THAT(pass({down('Q', 5000), up('Q', 5250)}, settings),
                ElementsAre(program(0, 20, 3), on(0, 58, 100, 3), off(250, 58, 3)));
}

TEST(PlaybackPass, ChordsSoundTogetherAndEachReleaseEndsItsOwnNote) {
    EXPECT_THAT(
        notes({down('Q', 100), down('E', 100), down('T', 100), up('E', 400), up('Q', 450),
               up('T', 450)}),
        ElementsAre(on(0, 48), on(0, 52), on(0, 55), off(300, 52), off(350, 48), off(350, 55)));
}

TEST(PlaybackPass, RestsAndKeysOutsideTheTableSoundNothing) {
    EXPECT_THAT(notes({down('Q', 0), up('Q', 100), down(vk::LetterM, 200), up(vk::LetterM, 300),
                       down(vk::F5, 350), up(vk::F5, 360), down(-4, 370), down(256, 380),
                       up(1000, 390), down('W', 400), up('W', 500)}),
                ElementsAre(on(0, 48), off(100, 48), on(400, 50), off(500, 50)));
}

TEST(PlaybackPass, AReleaseEndsTheNoteOfItsPressAfterTheOctaveChanged) {
    // Ctrl and the arrows come only from a file or a reassigned key, and act as when typed.
    EXPECT_THAT(
        notes({down('E', 0), down(vk::Control, 10), down(vk::Up, 20), up(vk::Up, 30),
               down(vk::Right, 40), up(vk::Control, 50), up('E', 60), down('E', 70), up('E', 80)}),
        ElementsAre(on(0, 52), off(60, 52), on(70, 65), off(80, 65)));
}

TEST(PlaybackPass, ArrowsWithoutCtrlStepTheInstrumentWithinItsRange) {
    EXPECT_THAT(notes({down(vk::Up, 0), down(vk::Up, 10), up(vk::Up, 20)}, {1, 127, 4, 0, 60}),
                ElementsAre(program(0, 128), program(10, 128)));
    EXPECT_THAT(notes({down(vk::Down, 0)}, {1, 1, 4, 0, 60}), ElementsAre(program(0, 1)));
    EXPECT_THAT(notes({down(vk::Up, 0)}, {1, INT32_MAX, 4, 0, 60}), ElementsAre(program(0, 128)));
}

TEST(PlaybackPass, RepeatedPressesOfAHeldKeySoundNothingMore) {
    EXPECT_THAT(notes({down('Q', 0), down('Q', 30), down('Q', 60), up('Q', 90), up('Q', 95)}),
                ElementsAre(on(0, 48), off(90, 48)));
}

TEST(PlaybackPass, KeysStillHeldAtTheEndAreReleasedThere) {
    EXPECT_THAT(
        notes({down('W', 0), down('Q', 40), up('Q', 70), down('E', 90)}),
        ElementsAre(on(0, 50), on(40, 48), off(70, 48), on(90, 52), off(90, 52), off(90, 50)));
}

TEST(PlaybackPass, SpaceOrZEndThePassReleasingHeldNotes) {
    for (const int key : {vk::Space, vk::LetterZ}) {
        EXPECT_THAT(notes({down('Q', 0), down('W', 10), up('W', 20), down(key, 30), down('E', 40),
                           up('E', 50)}),
                    ElementsAre(on(0, 48), on(10, 50), off(20, 50), off(30, 48)))
            << key;
    }
}

TEST(PlaybackPass, XSilencesEveryNoteOfTheChannelAndLeavesKeysHeld) {
    const std::vector<TimedMessage> sent =
        notes({down('Q', 0), down(vk::LetterX, 10), up('Q', 20)}, {2, 62, 4, 0, 60});
    ASSERT_EQ(sent.size(), 1 + 128 + 1u);
    EXPECT_EQ(sent[1], off(10, 0, 2));
    EXPECT_EQ(sent[128], off(10, 127, 2));
    EXPECT_EQ(sent.back(), off(20, 48, 2));
}

TEST(PlaybackPass, ValuesOutsideTheMidiRangesFollowTheOutputRules) {
    // Octave 9 puts keypad 6 at 143: neither its press nor its release is sent.
    EXPECT_THAT(notes({down(vk::Numpad0 + 6, 0), up(vk::Numpad0 + 6, 10), down('Q', 20)},
                      {1, 62, 9, 0, 60}),
                ElementsAre(on(20, 108), off(20, 108)));
    EXPECT_THAT(pass({down('Q', 0)}, {1, 300, 4, 0, 500}),
                ElementsAre(program(0, 128), on(0, 48, 127), off(0, 48)));
    EXPECT_THAT(pass({down('Q', 0)}, {1, -3, 4, 0, -5}),
                ElementsAre(program(0, 1), on(0, 48, 0), off(0, 48)));
    EXPECT_THAT(pass({down('Q', 0), up('Q', 10)}, {17, 62, 4, 0, 60}), IsEmpty());
}

TEST(PlaybackPass, AKeyOnTwoRowsSoundsBothNotesAndItsReleaseEndsBoth) {
    KeyTable table = initialKeyTable();
    table[3].keyCode = 'Q'; // the row of W, reassigned to Q
    EXPECT_THAT(playbackPassMessages(std::vector{down('Q', 0), up('Q', 10)}, table, {}),
                ElementsAre(program(0, 62), on(0, 48), on(0, 50), off(10, 48), off(10, 50)));
}

TEST(PlaybackPass, TimesFollowTheOrderPlaybackReplaysIn) {
    // An event stamped before its predecessor is due at once; the tick counter may wrap.
    EXPECT_THAT(notes({down('Q', 0xFFFFFF00), up('Q', 0x100), down('W', 0x80), up('W', 0x300)}),
                ElementsAre(on(0, 48), off(512, 48), on(512, 50), off(1024, 50)));
}

TEST(MidiFile, HeaderAndFirstEvents) {
    const std::vector<TimedMessage> sent = pass({down('Q', 1000), up('Q', 1250), down('E', 1250)});
    EXPECT_THAT(midiFileBytes(sent), ElementsAreArray(withHeader({
                                         0x00, 0xC0, 61,            // program 62 on channel 1
                                         0x00, 0x90, 48,   60,      // Q
                                         0x81, 0x7A, 0x90, 48,   0, // 250 ms later, released
                                         0x00, 0x90, 52,   60,      // E
                                         0x00, 0x90, 52,   0,       // the pass ends
                                         0x00, 0xFF, 0x2F, 0x00,
                                     })));
}

TEST(MidiFile, AnEmptyMelodyHoldsTheProgramAndTheEndOfTrack) {
    EXPECT_THAT(midiFileBytes(pass({})),
                ElementsAreArray(withHeader({0x00, 0xC0, 61, 0x00, 0xFF, 0x2F, 0x00})));
}

TEST(MidiFile, DeltaTimesUseAsFewBytesAsTheyNeed) {
    const std::vector<uint32_t> times = {0, 127, 255, 16638, 2113790, 270549245U, 4294967295U};
    std::vector<TimedMessage> sent;
    sent.reserve(times.size());
    for (const uint32_t time : times) {
        sent.push_back(on(time, 60));
    }
    const Bytes file = midiFileBytes(sent);
    // 127, 128, 16383, 16384 + ..., the largest delta, then the rest in spacers.
    EXPECT_THAT(Bytes(file.begin() + 26, file.begin() + 32),
                ElementsAre(0x7F, 0x90, 60, 60, 0x81, 0x00));
    std::vector<uint32_t> expected = {0, 127, 128, 16383, 2097152, MidiFileMaxDelta};
    uint32_t remaining = times.back() - times[5];
    while (remaining > MidiFileMaxDelta) {
        expected.push_back(MidiFileMaxDelta);
        remaining -= MidiFileMaxDelta;
    }
    expected.push_back(remaining);
    expected.push_back(0); // the end of the track
    EXPECT_THAT(deltas(file), ElementsAreArray(expected));
}

TEST(MidiFile, AHundredThousandEventMelody) {
    std::vector<MelodyEvent> events;
    for (uint32_t i = 0; i < 100000; ++i) {
        constexpr std::array<int, 7> Keys = {'Q', 'W', 'E', 'R', 'T', 'Y', 'U'};
        const int key = Keys[i / 2 % Keys.size()];
        events.push_back(makeEvent(key, i % 2 == 0 ? 1 : 0, 7000 + i * 3));
    }
    const std::vector<TimedMessage> sent = pass(events);
    ASSERT_EQ(sent.size(), 100001u);
    EXPECT_EQ(sent.back(), off(299997, 57));
    const Bytes file = midiFileBytes(sent);
    // Delta 0 or 3: one byte each, then 3 bytes of message.
    EXPECT_EQ(file.size(), 22 + 3 + 100000 * 4 + 4u);
    const uint32_t trackLength = (file[18] << 24) | (file[19] << 16) | (file[20] << 8) | file[21];
    EXPECT_EQ(trackLength, file.size() - 22);
    const std::vector<uint32_t> found = deltas(file);
    EXPECT_EQ(std::accumulate(found.begin(), found.end(), uint64_t{0}), 299997u);
}

TEST(MidiFile, TheSinkGetsTheSameBytesInPiecesAndCanStopTheWriting) {
    std::vector<MelodyEvent> events;
    for (uint32_t i = 0; i < 40000; ++i) {
        events.push_back(makeEvent('Q', i % 2 == 0 ? 1 : 0, i));
    }
    const std::vector<TimedMessage> sent = pass(events);
    Bytes joined;
    int pieces = 0;
    EXPECT_TRUE(writeMidiFile(sent, [&](std::span<const uint8_t> piece) {
        joined.insert(joined.end(), piece.begin(), piece.end());
        return ++pieces > 0;
    }));
    EXPECT_GT(pieces, 1);
    EXPECT_EQ(joined, midiFileBytes(sent));
    EXPECT_FALSE(writeMidiFile(sent, [](std::span<const uint8_t>) { return false; }));
}
