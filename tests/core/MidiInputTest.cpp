#include "ShortMessages.h"
#include "midi/InputQueue.h"
#include "midi/InputStream.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;

namespace {
std::optional<ShortMessage> message(std::vector<uint8_t> bytes) {
    return channelMessage(bytes.data(), bytes.size());
}

bool readable(const InputWakeup& wakeup, int timeoutMs = 0) {
    pollfd fd{wakeup.fd(), POLLIN, 0};
    return ::poll(&fd, 1, timeoutMs) == 1;
}

// What a stream hands on, in order: each message's first data byte, or "lost".
struct Heard final : InputReceiver {
    std::vector<std::string> items;
    void receive(const ShortMessage& message) override {
        items.push_back(std::to_string(message.bytes[1]));
    }
    void lost() override { items.emplace_back("lost"); }
};

ShortMessage note(int number) {
    return noteOn(0x90, number, 100);
}
} // namespace

// What a MIDI system hands over whole: a channel message of its own length, with its status.
TEST(ChannelMessage, IsAWholeChannelMessageOrNone) {
    EXPECT_EQ(message({0x91, 60, 100}), noteOn(0x91, 60, 100));
    EXPECT_EQ(message({0xC2, 5}), programChange(0xC2, 5));
    EXPECT_EQ(message({0xD3, 33}), (ShortMessage{{0xD3, 33, 0}, 2}));
    EXPECT_EQ(message({0xEF, 0, 127}), (ShortMessage{{0xEF, 0, 127}, 3}));
    for (const std::vector<uint8_t>& bytes : std::vector<std::vector<uint8_t>>{{},
                                                                               {0x90, 60},
                                                                               {0x90, 60, 1, 2},
                                                                               {0xC0, 5, 7},
                                                                               {60, 100},
                                                                               {0x90, 0x80, 1},
                                                                               {0xF0, 1, 0xF7},
                                                                               {0xF8},
                                                                               {0xF2, 10, 20}}) {
        EXPECT_EQ(message(bytes), std::nullopt) << bytes.size();
    }
}

TEST(InputQueue, KeepsOrderAcrossTheRingsEndAndTakesWhatFitsExactly) {
    InputQueue queue(3);
    std::vector<ShortMessage> out(3);
    for (int round = 0; round < 5; ++round) { // the indices pass the end of the ring
        ASSERT_TRUE(queue.push(note(round)));
        ASSERT_EQ(queue.pop(out.data(), out.size()), 1u);
        EXPECT_EQ(out[0], note(round));
    }
    EXPECT_FALSE(queue.takeLoss());
    for (int number = 10; number < 13; ++number) { // exactly the room there is
        ASSERT_TRUE(queue.push(note(number)));
    }
    EXPECT_FALSE(queue.takeLoss());
    // A reader with less room than is queued takes what it has room for, in order.
    ASSERT_EQ(queue.pop(out.data(), 2), 2u);
    EXPECT_THAT(std::vector(out.begin(), out.begin() + 2), ElementsAre(note(10), note(11)));
    ASSERT_EQ(queue.pop(out.data(), out.size()), 1u);
    EXPECT_EQ(out[0], note(12));
}

// What was queued before a loss is read before the loss is told, and what came after it, after.
TEST(InputQueue, ALossIsToldWhereItHappenedInTheStream) {
    InputQueue queue(2);
    std::vector<ShortMessage> out(2);
    ASSERT_TRUE(queue.push(note(60)));
    ASSERT_TRUE(queue.push(note(62)));
    EXPECT_FALSE(queue.push(note(0))); // full: dropped, and marked after 62
    EXPECT_EQ(queue.pop(out.data(), 1), 1u);
    EXPECT_FALSE(queue.takeLoss()); // 62 is still before it
    ASSERT_TRUE(queue.push(note(64)));
    EXPECT_EQ(queue.pop(out.data(), out.size()), 1u); // 62, and not 64 past the loss
    EXPECT_EQ(out[0], note(62));
    EXPECT_TRUE(queue.takeLoss());
    EXPECT_FALSE(queue.takeLoss());
    EXPECT_EQ(queue.pop(out.data(), out.size()), 1u);
    EXPECT_EQ(out[0], note(64));
    // Two losses before the reader comes to the first are told once, at the second.
    queue.markLoss();
    ASSERT_TRUE(queue.push(note(65)));
    queue.markLoss();
    EXPECT_EQ(queue.pop(out.data(), out.size()), 1u);
    EXPECT_TRUE(queue.takeLoss());
    EXPECT_EQ(queue.pop(out.data(), out.size()), 0u);
    EXPECT_FALSE(queue.takeLoss());
}

TEST(InputStream, ReadsInPortionsAndTellsALossInItsPlace) {
    InputStream stream(8);
    Heard heard;
    ASSERT_TRUE(stream.queue().push(note(60)));
    ASSERT_TRUE(stream.queue().push(note(62)));
    stream.queue().markLoss(); // the source went away
    ASSERT_TRUE(stream.queue().push(note(64)));
    EXPECT_TRUE(stream.read(heard, 1)); // the limit: more waits
    EXPECT_THAT(heard.items, ElementsAre("60"));
    EXPECT_FALSE(stream.read(heard, 100));
    EXPECT_THAT(heard.items, ElementsAre("60", "62", "lost", "64"));
    // A loss with nothing queued around it is told at the next read.
    stream.queue().markLoss();
    EXPECT_FALSE(stream.read(heard, 100));
    EXPECT_EQ(heard.items.back(), "lost");
}

TEST(InputWakeup, IsReadableFromASignalUntilClearedAndAgainAtTheNext) {
    InputWakeup wakeup;
    EXPECT_FALSE(readable(wakeup));
    wakeup.signal();
    wakeup.signal();
    EXPECT_TRUE(readable(wakeup));
    wakeup.clear();
    EXPECT_FALSE(readable(wakeup));
    wakeup.signal();
    EXPECT_TRUE(readable(wakeup));
}

// A signal that comes while the woken thread clears must not be lost: every message pushed is
// read without a wait of its own. Tens of thousands of wake-ups, one message each, from another
// thread.
TEST(InputWakeup, NoSignalIsLostWhileTheWokenThreadClears) {
    constexpr std::size_t Pushes = 200000;
    InputWakeup wakeup;
    InputQueue queue(1024);
    const ShortMessage message = note(60);
    std::atomic<bool> stop{false};
    std::thread pusher([&] {
        for (std::size_t pushed = 0; pushed < Pushes && !stop.load();) {
            if (queue.push(message)) {
                ++pushed;
                wakeup.signal();
            } else {
                std::this_thread::yield();
            }
        }
    });
    std::size_t taken = 0;
    bool stalled = false;
    std::vector<ShortMessage> out(1024);
    while (taken < Pushes && !stalled) {
        stalled = !readable(wakeup, 2000);
        wakeup.clear();
        do { // past the marks of the pushes that found the queue full
            while (const std::size_t count = queue.pop(out.data(), out.size())) {
                taken += count;
            }
        } while (queue.takeLoss());
    }
    stop.store(true);
    pusher.join();
    EXPECT_FALSE(stalled) << "no wake-up came after " << taken << " messages";
    EXPECT_EQ(taken, Pushes);
}
