#include "melody/HeldNotes.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;

namespace {
void expectTexts(std::vector<int32_t> notes, const std::string& held,
                 const std::string& intervals) {
    const HeldNotesTexts texts = describeHeldNotes(std::move(notes));
    EXPECT_EQ(texts.heldNotesText, held);
    EXPECT_EQ(texts.intervalText, intervals);
}
} // namespace

TEST(HeldNotes, WorkedExamples) {
    expectTexts({}, "", "");
    expectTexts({60}, "C3 (до3 )", "");
    expectTexts({67, 60, 64}, "C3 E3 G3 (до3 ми3 соль3 )",
                "4(больш. терция) 3(малая терция) (до-мажор)");
    expectTexts({57, 64, 60}, "A2 C3 E3 (ля2 до3 ми3 )",
                "3(малая терция) 4(больш. терция) (ля-минор)");
    expectTexts({48, 67}, "C2 G3 (до2 соль3 )", "19 ");
    expectTexts({71, 71}, "B3 B3 (си3 си3 )", "0(чист. прима) ");
}

TEST(HeldNotes, OnlyRootPositionTriadsOfThreeNotesAreNamed) {
    expectTexts({64, 67, 72}, "E3 G3 C4 (ми3 соль3 до4 )", "3(малая терция) 5(чистая кварта) ");
    expectTexts({48, 60, 64, 67}, "C2 C3 E3 G3 (до2 до3 ми3 соль3 )",
                "12(чистая октава) 4(больш. терция) 3(малая терция) ");
}

TEST(HeldNotes, NotesOutsideTheMidiRangeKeepTheirIntervalsButLoseTheirNames) {
    // A root below 0 leaves the chord name without its root.
    expectTexts({-5, -1, 2}, "D-2 (ре-2 )", "4(больш. терция) 3(малая терция) (-мажор)");
    expectTexts({130, 134}, "()", "4(больш. терция) ");
}

TEST(HeldNotes, GatheringSkipsReleasedKeysAndKeysWithoutANote) {
    KeyStates states{};
    const auto held = [](uint8_t pressed, int32_t note) {
        KeyState state;
        state.pressed = pressed;
        state.note = note;
        return state;
    };
    states[81] = held(1, 48);
    states[77] = held(1, EmptyNote); // the empty-note key
    states[87] = held(0, 50);
    states[50] = held(1, 49);
    EXPECT_THAT(gatherHeldNotes(states), ::testing::ElementsAre(49, 48));
}
