#include "keyboard/Announcements.h"

#include <gtest/gtest.h>

using namespace ladoton;

namespace {
constexpr uint32_t Settle = Announcements::SettleMs;
}

// C, E and G struck 40 ms apart are one utterance, 150 ms after the last key; the chord held
// on is not told again, nor after a key that came and went before it settled.
TEST(Announcements, TellsAChordOnceItSettled) {
    Announcements news;
    news.heldNotes({48}, 1000);
    news.heldNotes({52, 48}, 1040);
    news.heldNotes({48, 52, 55}, 1080);
    EXPECT_TRUE(news.waiting());
    EXPECT_EQ(news.due(1080 + Settle - 1), "");
    EXPECT_EQ(news.due(1080 + Settle), "до2 ми2 соль2, до-мажор");
    EXPECT_FALSE(news.waiting());
    news.heldNotes({55, 52, 48}, 1300); // the same notes in another order
    EXPECT_FALSE(news.waiting());
    news.heldNotes({48, 52, 55, 60}, 1400);
    news.heldNotes({48, 52, 55}, 1450);
    EXPECT_TRUE(news.waiting());
    EXPECT_EQ(news.due(1450 + Settle), "");
    EXPECT_FALSE(news.waiting());
}

// Letting go is not told; the same chord struck again afterwards is. A run whose keys come
// faster than the chord settles is told as where it stops.
TEST(Announcements, TellsAChordAgainAfterItWasLetGo) {
    Announcements news;
    news.heldNotes({48, 52}, 0);
    EXPECT_EQ(news.due(Settle), "до2 ми2, большая терция");
    news.heldNotes({}, 500);
    EXPECT_EQ(news.due(500 + Settle), "");
    news.heldNotes({48, 52}, 1000);
    EXPECT_EQ(news.due(1000 + Settle), "до2 ми2, большая терция");
    for (uint32_t key = 0; key < 8; ++key) {
        news.heldNotes({static_cast<int32_t>(50 + key)}, 2000 + 60 * key);
        EXPECT_EQ(news.due(2000 + 60 * key + 59), "");
    }
    EXPECT_EQ(news.due(2000 + 60 * 7 + Settle), "ля2");
}

// Notes nobody is to hear about (playback) count as told, also when they stay after it.
TEST(Announcements, UntoldNotesAreNotToldLater) {
    Announcements news;
    news.heldNotes({48}, 0);
    news.heldNotesUntold({48, 52});
    EXPECT_FALSE(news.waiting());
    news.heldNotes({48, 52}, 100);
    EXPECT_EQ(news.due(100 + Settle), "");
}

// A control's changes settle too and end as its last value; controls come before the chord.
TEST(Announcements, TellsControlsByTheirLastValueBeforeTheChord) {
    Announcements news;
    news.controlChanged("Инструмент", "63", 0);
    news.controlChanged("Инструмент", "64", 30);
    news.controlChanged("Октава", "5", 60);
    news.heldNotes({60}, 60);
    EXPECT_EQ(news.due(60 + Settle - 1), "");
    EXPECT_TRUE(news.waiting());
    EXPECT_EQ(news.due(60 + Settle), "Инструмент 64, Октава 5. до3");
    EXPECT_FALSE(news.waiting());
}
