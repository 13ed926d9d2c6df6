#include "TestDialog.h"
#include "app/Controls.h"

#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;

TEST(MainWindow, StartsWithInitialValues) {
    TestDialog t(false);
    EXPECT_EQ(t->amplitude, 60);
    EXPECT_EQ(t->instrument, 0);
    EXPECT_EQ(t->octave, 4);
    EXPECT_EQ(t->transposition, 0);
    EXPECT_EQ(t->channel, 1);
    EXPECT_EQ(t->tempo, 120);
    EXPECT_EQ(t->tempoText, 0u);
    EXPECT_EQ(t->maxInstrument, 127u);
    EXPECT_EQ(t->metronomeOn, 0);
    EXPECT_EQ(t->accentOn, 0);
    EXPECT_EQ(t->randomInstrument, 0);
    EXPECT_EQ(t.state().currentProgram, 62);
}

TEST(MainWindow, InitialisationOpensDeviceZeroAndSendsProgramZeroForInstrumentZero) {
    TestDialog t;
    EXPECT_THAT(t.backend.opened, ElementsAre(0));
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
    EXPECT_EQ(t->tempo, 120);
    EXPECT_EQ(t->tempoSlider->value(), 120);
    EXPECT_TRUE(t->windowTitle().startsWith(QStringLiteral("Ладотон(версия от ")));
}

TEST(MainWindow, PressingQPlaysC2) {
    TestDialog t;
    t.takeSent();
    t->pressKey('Q');
    t->releaseKey('Q');
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(t->melodyText, "C2 ");
    EXPECT_EQ(t->keyCodeText, "81");
}
