// The device list with the built-in synthesizer ahead of the ports, and what a device that is
// still starting keeps of the messages it is sent.
#include "RecordingBackend.h"
#include "midi/CompositeBackend.h"
#include "midi/LazyBackend.h"
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
