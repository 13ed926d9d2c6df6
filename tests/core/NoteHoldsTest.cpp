// What holds a synthesizer's notes on: keys and the pedals.
#include "synth/NoteHolds.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace ladoton {
namespace {

ShortMessage message(int status, int data1, int data2) {
    return {
        {static_cast<uint8_t>(status), static_cast<uint8_t>(data1), static_cast<uint8_t>(data2)},
        3};
}

TEST(NoteHolds, TheSustainPedalHoldsReleasedNotesUntilItIsLiftedOnItsOwnChannel) {
    NoteHolds holds;
    holds.apply(message(0x90, 60, 100));
    holds.apply(message(0x91, 60, 100)); // the same note on channel 2
    EXPECT_EQ(holds.count(), 2);
    holds.apply(message(0xB0, 64, 127));
    holds.apply(message(0x90, 60, 0)); // a note-on of velocity 0 releases
    holds.apply(message(0x81, 60, 64));
    EXPECT_EQ(holds.count(), 1) << "the pedal of channel 1 held a note of channel 2";
    holds.apply(message(0x90, 60, 90)); // struck again under the pedal, and released
    holds.apply(message(0x80, 60, 0));
    holds.apply(message(0x80, 61, 0)); // a note-off of a note never played holds nothing
    EXPECT_EQ(holds.count(), 1);
    holds.apply(message(0xB0, 64, 63)); // below 64 is up
    EXPECT_EQ(holds.count(), 0);
    holds.apply(message(0xC0, 5, 0));
    holds.apply(message(0xE0, 0, 64)); // programs and bends hold nothing
    EXPECT_EQ(holds.count(), 0);
}

// The sostenuto pedal catches the keys that are down when it goes down, and only those; it
// lets them go when lifted, even under the sustain pedal, as FluidSynth does.
TEST(NoteHolds, TheSostenutoPedalHoldsTheNotesItCaught) {
    NoteHolds holds;
    holds.apply(message(0x92, 48, 100));
    holds.apply(message(0xB2, 66, 127));
    holds.apply(message(0x92, 52, 100)); // pressed after the pedal
    holds.apply(message(0x82, 48, 0));
    holds.apply(message(0x82, 52, 0));
    EXPECT_EQ(holds.count(), 1);
    holds.apply(message(0xB2, 64, 127));
    holds.apply(message(0xB2, 66, 0));
    EXPECT_EQ(holds.count(), 0);

    holds.apply(message(0x92, 48, 100));
    holds.apply(message(0xB2, 66, 127));
    holds.apply(message(0x92, 48, 100)); // struck again: a new note the pedal did not catch
    holds.apply(message(0xB2, 64, 0));
    holds.apply(message(0x82, 48, 0));
    EXPECT_EQ(holds.count(), 0);
}

// All notes off lifts the keys, and the sustain pedal still holds them; all sound off ends
// everything; reset all controllers lifts the pedals.
TEST(NoteHolds, TheChannelModeMessagesEndWhatTheyEnd) {
    NoteHolds holds;
    for (const int note : {0, 64, 127}) {
        holds.apply(message(0x9F, note, 1));
    }
    holds.apply(message(0xBF, 64, 127));
    holds.apply(message(0xBF, 123, 0));
    EXPECT_EQ(holds.count(), 3);
    holds.apply(message(0xBF, 121, 0));
    EXPECT_EQ(holds.count(), 0);

    holds.apply(message(0x9F, 64, 1));
    holds.apply(message(0xBF, 66, 127));
    holds.apply(message(0xBF, 120, 0));
    EXPECT_EQ(holds.count(), 0);
}

} // namespace
} // namespace ladoton
