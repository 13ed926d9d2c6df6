#include "melody/SpokenChord.h"

#include <gtest/gtest.h>

using namespace ladoton;

// The notes from the lowest by syllable and octave, then the triad, or the interval of two.
TEST(SpokenChord, NamesNotesThenTriadOrInterval) {
    EXPECT_EQ(spokenChord({55, 48, 52}), "до2 ми2 соль2, до-мажор");
    EXPECT_EQ(spokenChord({57, 60, 64}), "ля2 до3 ми3, ля-минор");
    EXPECT_EQ(spokenChord({48, 52}), "до2 ми2, большая терция");
    EXPECT_EQ(spokenChord({48, 48}), "до2 до2, чистая прима");
    EXPECT_EQ(spokenChord({48, 60}), "до2 до3, чистая октава");
    // Wider than an octave: counted in semitones, in the right Russian form.
    EXPECT_EQ(spokenChord({48, 69}), "до2 ля3, 21 полутон");
    EXPECT_EQ(spokenChord({48, 70}), "до2 ля-диез3, 22 полутона");
    EXPECT_EQ(spokenChord({48, 60 + 14}), "до2 ре4, 26 полутонов");
    // Three notes that are no triad: the notes alone.
    EXPECT_EQ(spokenChord({48, 50, 52}), "до2 ре2 ми2");
    EXPECT_EQ(spokenChord({61, 65, 68}), "до-диез3 фа3 соль-диез3, до-диез-мажор");
    EXPECT_EQ(spokenChord({54}), "фа-диез2");
}

// Notes outside MIDI's range are not named in the window either; with none left, nothing.
TEST(SpokenChord, LeavesOutNotesOutsideMidi) {
    EXPECT_EQ(spokenChord({}), "");
    EXPECT_EQ(spokenChord({0x8000, -3}), "");
    EXPECT_EQ(spokenChord({48, 200}), "до2");
}
