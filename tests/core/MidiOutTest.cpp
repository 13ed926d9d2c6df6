#include "midi/MidiOut.h"
#include "ManualClock.h"
#include "PrintMessage.h"
#include "RecordingBackend.h"
#include "keys/KeyTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using ladoton::testing::ManualClock;
using ladoton::testing::RecordingBackend;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
ShortMessage bytes(uint8_t a, uint8_t b, uint8_t c) {
    return {{a, b, c}, 3};
}
ShortMessage bytes(uint8_t a, uint8_t b) {
    return {{a, b, 0}, 2};
}

struct MidiOutTest : ::testing::Test {
    RecordingBackend backend;
    ManualClock clock;
    MidiOut out{backend, clock};
    std::vector<std::string> errors;

    void SetUp() override {
        out.setErrorReporter([this](const std::string& text) { errors.push_back(text); });
    }
};
} // namespace

TEST(MidiMessages, StatusAndDataBytesOnEveryChannelEdge) {
    EXPECT_EQ(noteOnMessage(1, 48, 60), bytes(0x90, 48, 60));
    EXPECT_EQ(noteOnMessage(10, 60, 120), bytes(0x99, 60, 120));
    EXPECT_EQ(noteOnMessage(16, 127, 0), bytes(0x9F, 127, 0));
    EXPECT_EQ(programChangeMessage(1, 1), bytes(0xC0, 0));
    EXPECT_EQ(programChangeMessage(10, 128), bytes(0xC9, 127));
    EXPECT_EQ(programChangeMessage(16, 62), bytes(0xCF, 61));
}

TEST(MidiMessages, NothingOutsideTheMidiRangesBreaksTheStream) {
    EXPECT_FALSE(noteOnMessage(1, 128, 60));
    EXPECT_FALSE(noteOnMessage(1, -1, 60));
    EXPECT_FALSE(noteOnMessage(1, EmptyNote, 0));
    EXPECT_FALSE(noteOnMessage(0, 60, 60));
    EXPECT_FALSE(noteOnMessage(17, 60, 60));
    EXPECT_EQ(noteOnMessage(1, 60, 300), bytes(0x90, 60, 127));
    EXPECT_EQ(noteOnMessage(1, 60, -5), bytes(0x90, 60, 0));
    EXPECT_EQ(programChangeMessage(1, 0), bytes(0xC0, 0));
    EXPECT_EQ(programChangeMessage(1, 500), bytes(0xC0, 127));
    EXPECT_FALSE(programChangeMessage(0, 5));
}

TEST_F(MidiOutTest, NotesPauseOneMillisecondAndOnlyWhenSent) {
    out.openDevice();
    out.sendNote(1, 48, 60);
    EXPECT_EQ(clock.sleptMs, 1u);
    out.sendNote(1, 200, 0); // nothing goes out, so no pause either
    out.sendProgramChange(1, 5);
    EXPECT_EQ(clock.sleptMs, 1u);
    EXPECT_THAT(backend.sent, ElementsAre(bytes(0x90, 48, 60), bytes(0xC0, 4)));
}

TEST_F(MidiOutTest, WithoutADeviceNothingIsSentAndStartUpFailureIsReported) {
    backend.failOpen = true;
    out.openDevice();
    EXPECT_THAT(errors, ElementsAre("Не могу открыть midi устройство!"));
    out.sendNote(1, 48, 60);
    out.sendProgramChange(1, 1);
    EXPECT_THAT(backend.sent, IsEmpty());
    EXPECT_EQ(clock.sleptMs, 0u);
}

TEST_F(MidiOutTest, OpenDeviceOpensOnlyOnce) {
    out.openDevice();
    out.openDevice();
    EXPECT_THAT(backend.opened, ElementsAre(0));
}

TEST_F(MidiOutTest, SelectingADeviceClosesTheOldOneAndReportsAFailure) {
    out.openDevice();
    out.selectDevice(1);
    EXPECT_EQ(out.deviceId, 1);
    EXPECT_EQ(backend.closeCount, 1);
    EXPECT_TRUE(out.hasDevice());
    out.selectDevice(5);
    EXPECT_THAT(errors, ElementsAre("Ошибка открытия устройства 5"));
    EXPECT_FALSE(out.hasDevice());
    EXPECT_EQ(out.deviceId, 5);
}

TEST_F(MidiOutTest, ListingDevicesCountsThem) {
    EXPECT_EQ(out.deviceCount, 0);
    EXPECT_THAT(out.listDevices(), ElementsAre("Test device 0", "Test device 1"));
    EXPECT_EQ(out.deviceCount, 2);
    backend.devices.clear();
    out.listDevices();
    EXPECT_EQ(out.deviceCount, 0);
}
