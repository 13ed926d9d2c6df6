#include "midi/OutputBacklog.h"
#include "ShortMessages.h"
#include "midi/BackloggedSender.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
ShortMessage cc(int status, int controller, int value) {
    return {{static_cast<uint8_t>(status), static_cast<uint8_t>(controller),
             static_cast<uint8_t>(value)},
            3};
}

std::vector<ShortMessage> drain(OutputBacklog& backlog, std::size_t room = 10000) {
    std::vector<ShortMessage> written;
    backlog.drain([&](const ShortMessage& message) {
        if (written.size() == room) {
            return false;
        }
        written.push_back(message);
        return true;
    });
    return written;
}
} // namespace

// A burst that found the device's queue full: every ending goes first, every controller keeps
// its latest value, and a note that ended before it could start is not started.
TEST(OutputBacklog, KeepsEveryEndingFirstAndTheLatestOfEverythingElse) {
    OutputBacklog backlog;
    backlog.add(noteOn(0x90, 60, 100)); // sounded before the burst ends it: only the end goes
    backlog.add(noteOn(0x91, 62, 90));
    for (int value = 0; value < 3568; ++value) {
        backlog.add(cc(0xB0, 1, value % 128));
    }
    backlog.add(cc(0xB1, 64, 127));
    backlog.add(cc(0xB1, 64, 0));   // the pedal lifted ...
    backlog.add(cc(0xB1, 64, 100)); // ... and pressed again: the lift goes first
    backlog.add(noteOn(0x90, 60, 0));
    backlog.add(programChange(0xC0, 5));
    backlog.add(programChange(0xC0, 7));
    backlog.add(ShortMessage{{0xE0, 0, 80}, 3});
    backlog.add(ShortMessage{{0xD0, 20, 0}, 2});
    backlog.add(noteOn(0x90, 64, 70)); // a note that starts after all that
    backlog.add(cc(0xB2, 123, 0));     // all notes off ends what channel 3 would start
    backlog.add(noteOn(0x92, 40, 0));
    EXPECT_THAT(drain(backlog),
                ElementsAre(noteOn(0x90, 60, 0), noteOn(0x92, 40, 0), cc(0xB1, 64, 0),
                            cc(0xB2, 123, 0), programChange(0xC0, 7), cc(0xB0, 1, 3567 % 128),
                            cc(0xB1, 64, 100), ShortMessage{{0xD0, 20, 0}, 2},
                            ShortMessage{{0xE0, 0, 80}, 3}, noteOn(0x90, 64, 70),
                            noteOn(0x91, 62, 90)));
    EXPECT_TRUE(backlog.empty());
}

TEST(OutputBacklog, WhatFindsNoRoomWaitsForTheNextDrain) {
    OutputBacklog backlog;
    for (int note = 0; note < 128; ++note) {
        backlog.add(noteOn(0x95, note, 0));
    }
    backlog.add(noteOn(0x90, 60, 1));
    std::vector<ShortMessage> written = drain(backlog, 100);
    EXPECT_EQ(written.size(), 100u);
    EXPECT_FALSE(backlog.empty());
    for (const ShortMessage& message : drain(backlog)) {
        written.push_back(message);
    }
    ASSERT_EQ(written.size(), 129u);
    for (int note = 0; note < 128; ++note) {
        EXPECT_EQ(written[static_cast<std::size_t>(note)], noteOn(0x95, note, 0));
    }
    EXPECT_EQ(written.back(), noteOn(0x90, 60, 1));
    EXPECT_TRUE(backlog.empty());
    EXPECT_THAT(drain(backlog), IsEmpty());
}

// A device with no room now and then: what it refused goes first when it has room again, and
// nothing newer overtakes it.
TEST(BackloggedSender, WhatTheDeviceRefusedGoesBeforeAnythingNewer) {
    std::vector<ShortMessage> device;
    bool full = false;
    BackloggedSender sender([&](const ShortMessage& message) {
        if (full) {
            return false;
        }
        device.push_back(message);
        return true;
    });
    sender.send(noteOn(0x90, 60, 100));
    full = true;
    sender.send(noteOn(0x90, 60, 0));
    sender.send(cc(0xB0, 7, 90));
    EXPECT_TRUE(sender.waiting());
    EXPECT_FALSE(sender.retry());
    full = false;
    sender.send(noteOn(0x90, 62, 100));
    EXPECT_FALSE(sender.waiting());
    EXPECT_THAT(device, ElementsAre(noteOn(0x90, 60, 100), noteOn(0x90, 60, 0), cc(0xB0, 7, 90),
                                    noteOn(0x90, 62, 100)));
}
