#include "TestDialog.h"
#include "widgets/Controls.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {
QString editText(TestDialog& t, int id) {
    return qobject_cast<QLineEdit*>(t->control(id))->text();
}
} // namespace

TEST(MainWindow, InitialisationOpensDeviceZeroAndSendsTheProgramOfInstrumentZeroAsProgramZero) {
    TestDialog t;
    EXPECT_THAT(t.backend.opened, ElementsAre(0));
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
    EXPECT_EQ(t->tempoSlider->value(), 120);
    EXPECT_EQ(t->amplitudeSlider->value(), 60);
    EXPECT_EQ(t->instrumentSlider->value(), 1);
    EXPECT_EQ(t->maxInstrumentSlider->value(), 127);
    EXPECT_EQ(editText(t, 1058), "0"); // until the slider's first repaint
    EXPECT_TRUE(t->windowTitle().startsWith(QStringLiteral("Ладотон(версия от ")));
    EXPECT_TRUE(t->windowTitle().endsWith(QStringLiteral(")")));
    EXPECT_EQ(t->timerPeriod(StepTimer), 10);
    EXPECT_EQ(t->timerPeriod(MetronomeTimer), 500);
    EXPECT_EQ(t->timerPeriod(RepaintTimer), 100);
}

TEST(MainWindow, StartUpWithoutADeviceReportsItOnceAndRunsSilently) {
    TestDialog t(false);
    t.backend.failOpen = true;
    t->OnInitDialog();
    ASSERT_EQ(t.prompts.messages.size(), 1u);
    EXPECT_EQ(t.prompts.messages[0].text, QStringLiteral("Не могу открыть midi устройство!"));
    EXPECT_EQ(t.prompts.messages[0].caption, QStringLiteral("ladoton_gui_tests"));
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.keyboard().melodyText, "C2 ");
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST(MainWindow, OctaveLabelsAreBlankedByTheFirstExchange) {
    TestDialog t;
    for (int id : {1074, 1075, 1076}) {
        EXPECT_EQ(qobject_cast<QLabel*>(t->control(id))->text(), QString()) << id;
    }
}

TEST(MainWindow, TemplateControlsStandAtTheirPlaces) {
    TestDialog t;
    const DialogUnits& units = t->units();
    EXPECT_EQ(t->clientArea()->size(), QSize(units.x(531), units.y(183)));
    EXPECT_EQ(t->pianoButton(1022)->geometry(), units.rect(24, 24, 28, 96));  // "C"
    EXPECT_EQ(t->pianoButton(1029)->geometry(), units.rect(44, 20, 15, 60));  // "C#"
    EXPECT_EQ(t->pianoButton(1072)->geometry(), units.rect(504, 24, 28, 96)); // "+B"
    EXPECT_EQ(t->control(1045)->geometry(), units.rect(201, 125, 323, 12));
    EXPECT_FALSE(t->control(1086)->isVisibleTo(t.operator->()));
    ASSERT_EQ(t->menuBar()->actions().size(), 3);
    EXPECT_EQ(t->menuBar()->actions()[2]->text(), QStringLiteral("&Помощь"));
}

TEST(MainWindow, EveryRepaintOfTheInstrumentSliderSendsTheProgram) {
    TestDialog t;
    t.show();
    t.takeSent();
    t->instrumentSlider->repaint();
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
    EXPECT_EQ(t.keyboard().instrument, 1);
    EXPECT_EQ(t.keyboard().currentProgram, 1);
    t->instrumentSlider->setValue(41);
    t->instrumentSlider->repaint();
    t->instrumentSlider->repaint();
    EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 40), programChange(0xC0, 40)));
    EXPECT_EQ(editText(t, 1058), "41");
}

TEST(MainWindow, AmplitudeAndRandomMaximumFollowTheirSliders) {
    TestDialog t;
    t.show();
    t->amplitudeSlider->setValue(100);
    t->amplitudeSlider->repaint();
    t->maxInstrumentSlider->setValue(5);
    t->maxInstrumentSlider->repaint();
    EXPECT_EQ(t.keyboard().amplitude, 100);
    EXPECT_EQ(t.keyboard().maxInstrument, 5u);
    EXPECT_EQ(editText(t, 1019), "100");
}

TEST(MainWindow, TempoSetsTheMetronomePeriod) {
    TestDialog t;
    t.show();
    for (const auto& [tempo, period] : {std::pair{20, 3000}, {120, 500}, {200, 300}}) {
        t->tempoSlider->setValue(tempo);
        t->tempoSlider->repaint();
        EXPECT_EQ(t.keyboard().tempoText, static_cast<unsigned>(tempo));
        EXPECT_EQ(t->timerPeriod(MetronomeTimer), period) << tempo;
    }
}

TEST(MainWindow, ChannelSpinStaysWithinOneToSixteen) {
    TestDialog t;
    t->channelSpin->click(-1);
    EXPECT_EQ(t.keyboard().channel, 1);
    for (int i = 0; i < 20; ++i) {
        t->channelSpin->click(1);
    }
    EXPECT_EQ(t.keyboard().channel, 16);
    t->channelSpin->click(0); // a step of 0 counts as down
    EXPECT_EQ(t.keyboard().channel, 15);
    EXPECT_EQ(editText(t, 1077), "15");
    t.takeSent();
    t.keyboard().pressKey('Q');
    EXPECT_EQ(t.takeSent().at(0), noteOn(0x9E, 48, 60));
}

TEST(MainWindow, PastedTextThatIsNoNumberLeavesTheMemberAndRaisesNoPrompt) {
    TestDialog t;
    qobject_cast<QLineEdit*>(t->control(1042))->setText(QStringLiteral("abc"));
    qobject_cast<QLineEdit*>(t->control(1077))->setText(QStringLiteral(" 3 "));
    for (int tick = 0; tick < 5; ++tick) {
        t->OnTimer(StepTimer);
    }
    t->UpdateData(true);
    EXPECT_EQ(t.keyboard().octave, 4);
    EXPECT_EQ(t.keyboard().channel, 3);
    EXPECT_THAT(t.prompts.messages, IsEmpty());
    t->UpdateData(false);
    EXPECT_EQ(editText(t, 1042), "4");
}

TEST(MainWindow, NumbersAreReadWithSignBlanksAndLeadingZerosButOnlyAsciiDigits) {
    TestDialog t;
    auto readOctave = [&](const QString& text) {
        qobject_cast<QLineEdit*>(t->control(1042))->setText(text);
        t->OnTimer(StepTimer);
        return t.keyboard().octave;
    };
    EXPECT_EQ(readOctave(QStringLiteral("+7")), 7);
    EXPECT_EQ(readOctave(QStringLiteral("\t5 ")), 5);
    EXPECT_EQ(readOctave(QString(70, u'0') + QStringLiteral("3")), 3);
    EXPECT_EQ(readOctave(QString::fromUtf8("\u0663")), 3) << "an Arabic-Indic three was read";
    EXPECT_EQ(readOctave(QStringLiteral("6\u00A0")), 6); // a no-break space is a blank
    EXPECT_EQ(readOctave(QStringLiteral("99999999999")), 6);
}

TEST(MainWindow, CloseRequestClosesTheDeviceButExitDoesNot) {
    {
        TestDialog t;
        t->show();
        t->close();
        EXPECT_EQ(t.backend.closeCount, 1);
        EXPECT_EQ(t->result(), QDialog::Rejected);
        t.keyboard().pressKey('Q');
        EXPECT_THAT(t.takeSent(), ElementsAre(programChange(0xC0, 0)));
    }
    {
        TestDialog t;
        t->show();
        t->OnCommand(command::Exit);
        EXPECT_EQ(t.backend.closeCount, 0);
        EXPECT_EQ(t->result(), QDialog::Accepted);
        EXPECT_FALSE(t->isVisible());
    }
}

TEST(MainWindow, FailedDeviceChoiceIsReportedAndSilencesTheProgram) {
    TestDialog t;
    t.keyboard().midiOut.listDevices();
    t.backend.failOpen = true;
    t.takeSent();
    t->OnCommand(DeviceCommandBase + 1);
    ASSERT_EQ(t.prompts.messages.size(), 1u);
    EXPECT_EQ(t.prompts.messages[0].text, QStringLiteral("Ошибка открытия устройства 1"));
    EXPECT_THAT(t.takeSent(), IsEmpty());
}

TEST(MainWindow, EnterEscapeAndTabArePlayedAndNeitherCloseNorMoveFocus) {
    TestDialog t;
    t.show();
    t->activateWindow();
    t->melodyEdit->setFocus();
    t.takeSent();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Tab}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(t->melodyEdit, &press);
        QApplication::sendEvent(t->melodyEdit, &release);
    }
    EXPECT_TRUE(t->isVisible());
    EXPECT_EQ(t.keyboard().keyCodeText, "9");
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 69, 60), noteOn(0x90, 69, 0),
                                          noteOn(0x90, 47, 60), noteOn(0x90, 47, 0)));
}

TEST(MainWindow, LosingTheKeyboardToAnotherWindowEndsHeldNotes) {
    TestDialog t;
    t.showActive();
    t.keyboard().pressKey('Q');
    t.takeSent();
    const size_t recorded = t.keyboard().melody.size();
    QWidget other;
    other.show();
    other.activateWindow();
    QApplication::processEvents();
    ASSERT_FALSE(t->isActiveWindow());
    EXPECT_THAT(t.takeSent(), ElementsAre(noteOn(0x90, 48, 0)));
    EXPECT_EQ(t.keyboard().keyStates['Q'].pressed, 0);
    EXPECT_EQ(t.keyboard().melody.size(), recorded);
    for (const KeyState& key : t.keyboard().keyStates) {
        EXPECT_EQ(key.needsRepaint, 1);
    }
}
