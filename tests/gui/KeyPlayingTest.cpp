#include "TestDialog.h"
#include "app/Controls.h"
#include "keys/VirtualKeys.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
struct Event {
    int keyCode;
    int keyDown;
    uint32_t time;
    bool operator==(const Event&) const = default;
};
void PrintTo(const Event& e, std::ostream* out) {
    *out << "(" << e.keyCode << ", " << e.keyDown << ", " << e.time << ")";
}
std::vector<Event> recorded(TestDialog& t) {
    std::vector<Event> events;
    for (const MelodyEvent& e : t.keyboard().melody.events()) {
        events.push_back({e.keyCode, e.keyDown, e.time});
    }
    return events;
}

struct KeyPlaying : ::testing::Test {
    TestDialog t;
    void SetUp() override { t.takeSent(); }
};
} // namespace

TEST_F(KeyPlaying, QPlaysC2AndRecordsItsPressAndRelease) {
    const uint32_t start = t.clock.now;
    t.keyboard().pressKey('Q');
    t.clock.advance(300);
    t.keyboard().releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    // The press is recorded before its note sounds, the release after.
    EXPECT_THAT(recorded(t), ElementsAre(Event{81, 1, start}, Event{81, 0, start + 301 + 1}));
    EXPECT_EQ(t.keyboard().melodyText, "C2 ");
    EXPECT_EQ(t.keyboard().keyCodeText, "81");
    EXPECT_EQ(t->melodyEdit->text(), QStringLiteral("C2 "));
    EXPECT_EQ(t->melodyEdit->selectedText(), QStringLiteral("C2 "));
}

TEST_F(KeyPlaying, AutoRepeatGivesOneNoteOneNameOneEvent) {
    for (int i = 0; i < 10; ++i) {
        t.keyboard().pressKey('Q');
    }
    t.keyboard().releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(t.keyboard().melodyText, "C2 ");
    EXPECT_EQ(recorded(t).size(), 2u);
    EXPECT_EQ(t.keyboard().keyCodeText, "81");
}

TEST_F(KeyPlaying, EmptyNoteKeyRecordsAPressAndSendsNothing) {
    t.keyboard().pressKey('M');
    t.keyboard().releaseKey('M');
    EXPECT_THAT(t.takeSent(), IsEmpty()); // its release asks for EmptyNote, which sends no byte
    EXPECT_EQ(t.keyboard().melodyText, "? ");
    ASSERT_EQ(recorded(t).size(), 1u);
    EXPECT_EQ(recorded(t)[0].keyDown, 1);
    EXPECT_EQ(t.clock.sleptMs, 0u);
}

TEST_F(KeyPlaying, UnboundKeyShowsItsCodeAndSetsTheInstrumentSliderAgain) {
    t.keyboard().pressKey(vk::F5);
    t.keyboard().releaseKey(vk::F5);
    EXPECT_EQ(t.keyboard().keyCodeText, "116");
    EXPECT_EQ(t->instrumentSlider->value(), 62);
    EXPECT_EQ(t.keyboard().instrument, 62);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_THAT(recorded(t), IsEmpty());
    EXPECT_EQ(t.keyboard().melodyText, "");
}

TEST_F(KeyPlaying, KeyCodesOutsideTheTableAreIgnored) {
    t.keyboard().pressKey(256);
    t.keyboard().pressKey(-1);
    t.keyboard().releaseKey(300);
    EXPECT_EQ(t.keyboard().keyCodeText, "");
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST_F(KeyPlaying, NotesAboveTheMidiRangeAreNamedQuestionMarkAndNotSent) {
    t.keyboard().octave = 9;
    t->UpdateData(false);
    t.keyboard().pressKey(vk::Numpad0 + 6);
    EXPECT_EQ(t.keyboard().keyStates[102].note, 143);
    EXPECT_EQ(t.keyboard().melodyText, "? ");
    t.keyboard().releaseKey(vk::Numpad0 + 6);
    EXPECT_THAT(t.takeSent(), IsEmpty());
    EXPECT_EQ(recorded(t).size(), 2u);
}

TEST_F(KeyPlaying, UpAndDownStepTheProgramWithinOneTo128) {
    t.keyboard().currentProgram = 127;
    t.keyboard().pressKey(vk::Up);
    t.keyboard().pressKey(vk::Up);
    EXPECT_EQ(t.keyboard().currentProgram, 128);
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 127), programChange(0xC0, 127)));
    EXPECT_EQ(t->instrumentSlider->value(), 128);
    EXPECT_EQ(t.keyboard().instrument, 128);
    t.keyboard().currentProgram = 1;
    t.keyboard().pressKey(vk::Down);
    EXPECT_EQ(t.keyboard().currentProgram, 1);
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
}

TEST_F(KeyPlaying, CtrlWithArrowsChangesOctaveWithinOneToNineAndTranspositionWithoutBound) {
    t.keyboard().pressKey(vk::Control);
    t.keyboard().octave = 9;
    t->UpdateData(false);
    t.keyboard().pressKey(vk::Up);
    EXPECT_EQ(t.keyboard().octave, 9);
    t.keyboard().pressKey(vk::Down);
    EXPECT_EQ(t.keyboard().octave, 8);
    for (int i = 0; i < 7; ++i) {
        t.keyboard().pressKey(vk::Right);
    }
    EXPECT_EQ(t.keyboard().transposition, 7);
    EXPECT_EQ(t.keyboard().instrument, 62); // the program, not the slider
    EXPECT_THAT(t.takeSent(), IsEmpty());   // and nothing is sent
    t.keyboard().releaseKey(vk::Control);
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.keyboard().keyStates['Q'].note, 7 + 12 * 8);
}

TEST_F(KeyPlaying, CtrlQPlaysLikeQAndCtrlIsRecordedNowhere) {
    t.keyboard().pressKey(vk::Control);
    t.keyboard().pressKey('Q');
    t.keyboard().releaseKey('Q');
    t.keyboard().releaseKey(vk::Control);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(recorded(t).size(), 2u);
}

TEST_F(KeyPlaying, ReleaseEndsTheNoteSoundedAtThePressWhateverTheOctaveNow) {
    t.keyboard().pressKey('E');
    t.keyboard().pressKey(vk::Control);
    t.keyboard().pressKey(vk::Up);
    t.keyboard().releaseKey(vk::Up);
    t.keyboard().releaseKey(vk::Control);
    t.keyboard().releaseKey('E');
    EXPECT_EQ(t.keyboard().octave, 5);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 52, 60), noteOn(0x90, 52, 0)));
}

TEST_F(KeyPlaying, XSilences255NotesAndLeavesKeyStatesAlone) {
    t.keyboard().pressKey('Q');
    t.takeSent();
    t.keyboard().pressKey('X');
    const auto sent = t.takeSent();
    ASSERT_EQ(sent.size(), 128u); // notes 128..254 put nothing on the wire
    for (int note = 0; note < 128; ++note) {
        EXPECT_EQ(sent[static_cast<size_t>(note)], noteOn(0x90, note, 0));
    }
    EXPECT_EQ(t.keyboard().keyStates['Q'].pressed, 1);
    t.keyboard().releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
}

TEST_F(KeyPlaying, MelodyTextOverItsLimitStartsAfresh) {
    t.keyboard().melodyText = std::string(255, 'a');
    t->UpdateData(false);
    t.keyboard().octave = 5;
    t->UpdateData(false);
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.keyboard().melodyText, "");
    t.keyboard().releaseKey('Q');
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.keyboard().melodyText, "C3 ");
}

// Text pasted into the box counts by its characters, as the user sees them.
TEST_F(KeyPlaying, MelodyTextOfExactlyTheLimitIsKeptAndOneMoreCharacterStartsAfresh) {
    const QString pasted = QString(253, QChar(u'ж'));
    t->melodyEdit->setText(pasted);
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t->melodyEdit->text(), pasted + QStringLiteral("C2 "));
    t.keyboard().releaseKey('Q');

    t->melodyEdit->setText(pasted + QStringLiteral("ж"));
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.keyboard().melodyText, "");
    EXPECT_EQ(t->melodyEdit->text(), QString());
}

// A line edit scrolls to its end when its text is set; the displays read from their start,
// while the melody box keeps the caret at its end with the whole text selected.
TEST_F(KeyPlaying, DisplayEditsShowTheirTextFromItsStart) {
    t.show();
    // C E G B D F ([ is 219): five intervals, far wider than the box in any face.
    for (const int key : std::initializer_list<int>{'Q', 'E', 'T', 'U', 'O', 219}) {
        t.keyboard().pressKey(key);
    }
    t->OnTimer(StepTimer);
    ASSERT_EQ(t.keyboard().intervalText.rfind("4(больш. терция) 3(малая терция)", 0), 0u)
        << t.keyboard().intervalText;
    auto* intervalEdit = qobject_cast<QLineEdit*>(t->control(1053));
    ASSERT_GT(intervalEdit->fontMetrics().horizontalAdvance(intervalEdit->text()),
              intervalEdit->width());
    for (const int id : {1053, 1060, 1050}) {
        auto* edit = qobject_cast<QLineEdit*>(t->control(id));
        EXPECT_FALSE(edit->text().isEmpty()) << id;
        EXPECT_EQ(edit->cursorPosition(), 0) << id;
    }
    EXPECT_EQ(t->melodyEdit->cursorPosition(), t->melodyEdit->text().size());
    EXPECT_EQ(t->melodyEdit->selectedText(), t->melodyEdit->text());
}

TEST_F(KeyPlaying, AClickIsAPressAndA200msLaterRelease) {
    const uint32_t start = t.clock.now;
    t->OnCommand(1028); // "B": the U row comes before the 8 row
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 59, 60), noteOn(0x90, 59, 0)));
    const auto events = recorded(t);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0], (Event{'U', 1, start}));
    EXPECT_EQ(events[1].keyCode, 'U');
    EXPECT_GE(events[1].time - events[0].time, 200u);
    for (const KeyState& key : t.keyboard().keyStates) {
        EXPECT_EQ(key.needsRepaint, 1);
    }
}

TEST_F(KeyPlaying, ClickingAKeyThatIsHeldEndsItsNote) {
    t.keyboard().pressKey('Q');
    t->OnCommand(1022);
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(t.keyboard().keyStates['Q'].pressed, 0);
}

TEST_F(KeyPlaying, DuringPlaybackKeysSoundButAreNotRecorded) {
    t.keyboard().pressKey('Q');
    t.keyboard().releaseKey('Q');
    t.keyboard().pressKey(vk::Space);
    t.takeSent();
    t.keyboard().pressKey('W');
    t.keyboard().releaseKey('W');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 50, 60), noteOn(0x90, 50, 0)));
    EXPECT_EQ(t.keyboard().melodyText, "C2 ");
    EXPECT_EQ(t.keyboard().keyCodeText, "87");
    EXPECT_EQ(recorded(t).size(), 2u);
}

TEST_F(KeyPlaying, ResetWhilePlayingStopsEmptiesAndSilences) {
    t.keyboard().pressKey('Q');
    t.keyboard().releaseKey('Q');
    t.keyboard().pressKey(vk::Space);
    t.keyboard().pressKey('W'); // held while playing
    t.takeSent();
    t.keyboard().pressKey('Z');
    EXPECT_FALSE(t.keyboard().playback.isPlaying);
    EXPECT_TRUE(t.keyboard().melody.empty());
    EXPECT_EQ(t.keyboard().melodyText, "");
    EXPECT_EQ(t->melodyEdit->text(), QString());
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 50, 0)));
    // Z itself is no table key, so the next bound key starts the new melody.
    t.keyboard().pressKey('E');
    EXPECT_EQ(recorded(t).at(0).keyCode, 'E');
}

TEST_F(KeyPlaying, ShiftCollapsesTheWindowBelowThePiano) {
    t.show();
    const int before = t->height();
    t.keyboard().pressKey(vk::Shift);
    QApplication::processEvents();
    EXPECT_LT(t->height(), before);
    EXPECT_EQ(t->clientArea()->height(), t->collapseMarker->y());
}
