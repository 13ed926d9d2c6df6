// The device list with the built-in synthesizer ahead of the ports, and what a device that is
// still starting keeps of the messages it is sent.
#include "RecordingBackend.h"
#include "devices/CompositeBackend.h"
#include "devices/LazyBackend.h"
#include "midi/MidiMessage.h"
#include "midi/PendingMessages.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ladoton {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing::RecordingBackend;

ShortMessage noteOn(int channel, int note, int velocity) {
    return *noteOnMessage(channel, note, velocity);
}
ShortMessage program(int channel, int instrument) {
    return *programChangeMessage(channel, instrument);
}

TEST(PendingMessages, KeepsTheLastProgramOfEachChannelAndTheHeldNotes) {
    PendingMessages pending;
    pending.add(noteOn(1, 60, 90));
    pending.add(program(1, 63));
    pending.add(program(10, 1));
    pending.add(program(1, 41));
    pending.add(noteOn(10, 76, 120));
    pending.add(noteOn(1, 64, 70));
    EXPECT_THAT(pending.replay(), ElementsAre(program(1, 41), program(10, 1), noteOn(1, 60, 90),
                                              noteOn(1, 64, 70), noteOn(10, 76, 120)));
}

TEST(PendingMessages, LeavesOutNotesReleasedMeanwhile) {
    PendingMessages pending;
    pending.add(noteOn(1, 60, 90));
    pending.add(noteOn(1, 60, 0));
    pending.add(noteOn(2, 62, 90));
    pending.add(ShortMessage{{0x81, 62, 64}, 3}); // a note-off status ends it as well
    pending.add(noteOn(3, 48, 60));
    pending.add(noteOn(3, 48, 0));
    pending.add(noteOn(3, 48, 100)); // pressed again: held, at its latest velocity
    EXPECT_THAT(pending.replay(), ElementsAre(noteOn(3, 48, 100)));
    pending.clear();
    EXPECT_THAT(pending.replay(), IsEmpty());
}

ShortMessage control(int channel, int controller, int value) {
    return {{static_cast<uint8_t>(0xB0 | (channel - 1)), static_cast<uint8_t>(controller),
             static_cast<uint8_t>(value)},
            3};
}

// A pedal pressed, a bend and a pressure while the device starts are heard once it is ready,
// each at its latest value; the bank comes before the program it chooses from, the held notes
// after what shapes them, and the sostenuto pedal after the notes it is to hold.
TEST(PendingMessages, KeepsTheLatestOfEveryControllerBendAndPressureInAnOrderThatHolds) {
    PendingMessages pending;
    pending.add(noteOn(2, 50, 80));
    pending.add(control(2, 66, 127));
    pending.add(control(1, 64, 127));
    pending.add(control(1, 7, 90));
    pending.add(ShortMessage{{0xE0, 0x00, 0x50}, 3});
    pending.add(ShortMessage{{0xD0, 30, 0}, 2});
    pending.add(program(1, 20));
    pending.add(control(1, 0, 1));
    pending.add(control(1, 7, 100));
    pending.add(ShortMessage{{0xE0, 0x10, 0x60}, 3});
    pending.add(ShortMessage{{0xD0, 40, 0}, 2});
    pending.add(control(1, 126, 1)); // mono, then poly: one replaces the other
    pending.add(control(1, 127, 0));
    pending.add(noteOn(1, 60, 90));
    EXPECT_THAT(pending.replay(),
                ElementsAre(control(1, 0, 1), program(1, 20), control(1, 7, 100),
                            control(1, 64, 127), control(1, 127, 0),
                            ShortMessage{{0xE0, 0x10, 0x60}, 3}, ShortMessage{{0xD0, 40, 0}, 2},
                            noteOn(1, 60, 90), noteOn(2, 50, 80), control(2, 66, 127)));
}

// A parameter set by data entry (here the pitch bend range, then a fine tuning) keeps the
// selection it was set under, however the selection changed after; steps are not kept, and
// reset all controllers, all notes off and all sound off act on what is kept.
TEST(PendingMessages, KeepsParametersWithTheirSelectionAndActsOnResetAndAllNotesOff) {
    PendingMessages pending;
    for (const auto& message :
         {control(3, 101, 0), control(3, 100, 0), control(3, 6, 12), control(3, 96, 0),
          control(3, 100, 1), control(3, 38, 5), control(3, 6, 70), control(3, 101, 127),
          control(3, 100, 127), control(3, 6, 1)}) {
        pending.add(message);
    }
    EXPECT_THAT(pending.replay(),
                ElementsAre(control(3, 101, 0), control(3, 100, 0), control(3, 6, 12),
                            control(3, 101, 0), control(3, 100, 1), control(3, 38, 5),
                            control(3, 6, 70), control(3, 101, 127), control(3, 100, 127)));

    pending.clear();
    pending.add(control(4, 101, 0));
    pending.add(control(4, 100, 0));
    pending.add(control(4, 6, 7));
    pending.add(control(4, 7, 50));
    pending.add(control(4, 64, 127));
    pending.add(control(4, 1, 30));
    pending.add(ShortMessage{{0xE3, 0, 0}, 3});
    pending.add(control(4, 121, 0)); // the modulation, the pedal and the bend go; the volume stays
    pending.add(noteOn(4, 60, 90));
    pending.add(noteOn(5, 61, 90));
    pending.add(control(4, 123, 0));
    pending.add(noteOn(5, 62, 90));
    pending.add(control(5, 120, 0));
    pending.add(noteOn(5, 63, 90));
    EXPECT_THAT(pending.replay(),
                ElementsAre(control(4, 7, 50), control(4, 101, 0), control(4, 100, 0),
                            control(4, 6, 7), control(4, 101, 127), control(4, 100, 127),
                            noteOn(5, 63, 90)));
}

class CompositeBackendTest : public ::testing::Test {
  protected:
    CompositeBackendTest() {
        synth->devices = {"Встроенный синтезатор"};
        ports->devices = {"Port A", "Port B"};
        std::vector<std::unique_ptr<MidiBackend>> parts;
        parts.push_back(std::unique_ptr<MidiBackend>(synth));
        parts.push_back(std::unique_ptr<MidiBackend>(ports));
        devices = std::make_unique<CompositeBackend>(std::move(parts));
    }

    RecordingBackend* synth = new RecordingBackend;
    RecordingBackend* ports = new RecordingBackend;
    std::unique_ptr<CompositeBackend> devices;
};

TEST_F(CompositeBackendTest, ListsTheSynthesizerFirst) {
    EXPECT_THAT(devices->listDevices(), ElementsAre("Встроенный синтезатор", "Port A", "Port B"));
}

TEST_F(CompositeBackendTest, OpensAndSendsToTheDeviceOfTheIndex) {
    ASSERT_TRUE(devices->open(0));
    devices->send(noteOn(1, 60, 60));
    ASSERT_TRUE(devices->open(2));
    devices->send(noteOn(1, 62, 60));
    EXPECT_THAT(synth->sent, ElementsAre(noteOn(1, 60, 60)));
    EXPECT_EQ(synth->closeCount, 1); // closed when port B was opened
    EXPECT_THAT(ports->opened, ElementsAre(1));
    EXPECT_THAT(ports->sent, ElementsAre(noteOn(1, 62, 60)));
}

TEST_F(CompositeBackendTest, AnIndexPastTheListOpensNothing) {
    ASSERT_TRUE(devices->open(1));
    EXPECT_FALSE(devices->open(3));
    EXPECT_FALSE(devices->open(-1));
    devices->send(noteOn(1, 60, 60));
    EXPECT_THAT(ports->sent, IsEmpty());
    EXPECT_EQ(ports->closeCount, 1);
}

TEST_F(CompositeBackendTest, AFailedOpenLeavesNoDeviceOpen) {
    ASSERT_TRUE(devices->open(0));
    synth->failOpen = true;
    EXPECT_FALSE(devices->open(0));
    devices->send(noteOn(1, 60, 60));
    EXPECT_THAT(synth->sent, IsEmpty());
}

TEST_F(CompositeBackendTest, FollowsTheListsAsTheyAreNow) {
    // A port that appeared since the last menu moves the later ones along.
    ports->devices = {"Port New", "Port A", "Port B"};
    ASSERT_TRUE(devices->open(2));
    EXPECT_THAT(ports->opened, ElementsAre(1));
}

TEST(LazyBackend, IsMadeOnlyWhenListedOrOpened) {
    int made = 0;
    RecordingBackend* ports = nullptr;
    std::vector<std::unique_ptr<MidiBackend>> parts;
    auto synth = std::make_unique<RecordingBackend>();
    synth->devices = {"Встроенный синтезатор"};
    parts.push_back(std::move(synth));
    parts.push_back(std::make_unique<LazyBackend>([&] {
        ++made;
        auto backend = std::make_unique<RecordingBackend>();
        ports = backend.get();
        return backend;
    }));
    CompositeBackend devices(std::move(parts));

    // Starting on the synthesizer, playing and closing it leave the ports alone.
    ASSERT_TRUE(devices.open(0));
    devices.send(noteOn(1, 60, 60));
    devices.close();
    EXPECT_EQ(made, 0);

    // The first device menu makes them, once.
    EXPECT_THAT(devices.listDevices(),
                ElementsAre("Встроенный синтезатор", "Test device 0", "Test device 1"));
    ASSERT_TRUE(devices.open(2));
    devices.send(noteOn(1, 62, 60));
    EXPECT_EQ(made, 1);
    EXPECT_THAT(ports->sent, ElementsAre(noteOn(1, 62, 60)));
}

} // namespace
} // namespace ladoton
