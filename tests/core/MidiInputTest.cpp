#include "ShortMessages.h"
#include "midi/InputQueue.h"
#include "midi/InputStream.h"
#include "midi/MidiInputParser.h"

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
std::vector<ShortMessage> parse(const std::vector<uint8_t>& bytes) {
    MidiInputParser parser;
    std::vector<ShortMessage> messages;
    for (const uint8_t byte : bytes) {
        if (const auto message = parser.feed(byte)) {
            messages.push_back(*message);
        }
    }
    return messages;
}

bool readable(const InputWakeup& wakeup, int timeoutMs = 0) {
    pollfd fd{wakeup.fd(), POLLIN, 0};
    return ::poll(&fd, 1, timeoutMs) == 1;
}

// What a stream hands on, in order: each message's bytes, or "lost".
struct Heard final : InputReceiver {
    std::vector<std::string> items;
    void receive(const ShortMessage& message) override {
        std::string text;
        for (std::size_t i = 0; i < message.size; ++i) {
            text += (i > 0 ? " " : "") + std::to_string(message.bytes[i]);
        }
        items.push_back(text);
    }
    void lost() override { items.emplace_back("lost"); }
};

bool push(InputQueue& queue, std::vector<uint8_t> bytes) {
    return queue.push(bytes.data(), bytes.size());
}
} // namespace

TEST(MidiInputParser, FramesTheStreamAsADeviceReadsItsCable) {
    // Running status with a clock byte inside a message; program change and channel pressure
    // of one data byte each.
    EXPECT_THAT(parse({0x91, 60, 0xF8, 100, 64, 0, 0xC2, 5, 7, 0xD3, 33, 34}),
                ElementsAre(noteOn(0x91, 60, 100), noteOn(0x91, 64, 0), programChange(0xC2, 5),
                            programChange(0xC2, 7), ShortMessage{{0xD3, 33, 0}, 2},
                            ShortMessage{{0xD3, 34, 0}, 2}));
    // Data with no status yet, a message cut short by the next status, and system exclusive
    // or song position, whose data must not be read as notes under the old running status.
    EXPECT_THAT(parse({60, 100, 0x90, 60, 0xB0, 7, 100, 0xF0, 0x10, 60, 1, 0xF7, 62, 1}),
                ElementsAre(ShortMessage{{0xB0, 7, 100}, 3}));
    EXPECT_THAT(parse({0x90, 60, 1, 0xF2, 10, 20, 62, 1}), ElementsAre(noteOn(0x90, 60, 1)));
}

TEST(InputQueue, KeepsOrderAcrossTheRingsEndAndTakesWhatFitsExactly) {
    InputQueue queue(8);
    std::vector<uint8_t> out(8);
    for (int round = 0; round < 5; ++round) { // the indices pass the end of the ring
        ASSERT_TRUE(push(queue, {0x90, 60, 100}));
        ASSERT_EQ(queue.pop(out.data(), out.size()), 3u);
        EXPECT_THAT(std::vector<uint8_t>(out.begin(), out.begin() + 3), ElementsAre(0x90, 60, 100));
    }
    EXPECT_FALSE(queue.takeLoss());
    ASSERT_TRUE(push(queue, {0x90, 60, 100}));
    ASSERT_TRUE(push(queue, {0x80, 60, 0, 0xC0, 5})); // exactly the room left
    EXPECT_FALSE(queue.takeLoss());
    // A reader with less room than is queued takes what it has room for, in order.
    ASSERT_EQ(queue.pop(out.data(), 2), 2u);
    EXPECT_THAT(std::vector<uint8_t>(out.begin(), out.begin() + 2), ElementsAre(0x90, 60));
    ASSERT_EQ(queue.pop(out.data(), out.size()), 6u);
    EXPECT_THAT(std::vector<uint8_t>(out.begin(), out.begin() + 6),
                ElementsAre(100, 0x80, 60, 0, 0xC0, 5));
}

// What was queued before a loss is read before the loss is told, and what came after it, after.
TEST(InputQueue, ALossIsToldWhereItHappenedInTheStream) {
    InputQueue queue(6);
    std::vector<uint8_t> out(6);
    ASSERT_TRUE(push(queue, {0x90, 60, 100}));
    ASSERT_TRUE(push(queue, {0x90, 62, 100}));
    EXPECT_FALSE(push(queue, {0x80, 60, 0})); // full: dropped, and marked after 62
    EXPECT_EQ(queue.pop(out.data(), 3), 3u);
    EXPECT_FALSE(queue.takeLoss()); // 62 is still before it
    ASSERT_TRUE(push(queue, {0x90, 64, 1}));
    EXPECT_EQ(queue.pop(out.data(), out.size()), 3u); // 62, and not 64 past the loss
    EXPECT_EQ(out[1], 62);
    EXPECT_TRUE(queue.takeLoss());
    EXPECT_FALSE(queue.takeLoss());
    EXPECT_EQ(queue.pop(out.data(), out.size()), 3u);
    EXPECT_EQ(out[1], 64);
    // Two losses before the reader comes to the first are told once, at the second.
    queue.markLoss();
    ASSERT_TRUE(push(queue, {0x90, 65, 1}));
    queue.markLoss();
    EXPECT_EQ(queue.pop(out.data(), out.size()), 3u);
    EXPECT_TRUE(queue.takeLoss());
    EXPECT_EQ(queue.pop(out.data(), out.size()), 0u);
    EXPECT_FALSE(queue.takeLoss());
}

TEST(InputStream, ReadsInPortionsAndFramesAfreshAfterALoss) {
    InputStream stream(64);
    Heard heard;
    ASSERT_TRUE(push(stream.queue(), {0x90, 60, 100, 62}));
    stream.queue().markLoss(); // the source went away inside a running-status message
    ASSERT_TRUE(push(stream.queue(), {1, 0xB0, 64, 127}));
    EXPECT_TRUE(stream.read(heard, 3)); // the limit: more waits
    EXPECT_THAT(heard.items, ElementsAre("144 60 100"));
    EXPECT_FALSE(stream.read(heard, 100));
    EXPECT_THAT(heard.items, ElementsAre("144 60 100", "lost", "176 64 127"));
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

// A signal that comes while the woken thread clears must not be lost: every byte pushed is read
// without a wait of its own. Tens of thousands of wake-ups, one byte each, from another thread.
TEST(InputWakeup, NoSignalIsLostWhileTheWokenThreadClears) {
    constexpr std::size_t Pushes = 200000;
    InputWakeup wakeup;
    InputQueue queue(1024);
    std::atomic<bool> stop{false};
    std::thread pusher([&] {
        const uint8_t byte = 0x42;
        for (std::size_t pushed = 0; pushed < Pushes && !stop.load();) {
            if (queue.push(&byte, 1)) {
                ++pushed;
                wakeup.signal();
            } else {
                std::this_thread::yield();
            }
        }
    });
    std::size_t taken = 0;
    bool stalled = false;
    std::vector<uint8_t> out(1024);
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
    EXPECT_FALSE(stalled) << "no wake-up came after " << taken << " bytes";
    EXPECT_EQ(taken, Pushes);
}
