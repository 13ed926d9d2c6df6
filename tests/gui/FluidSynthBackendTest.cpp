// The built-in synthesizer as the device list has it: opening, starting in the background, and
// what is sent while it starts. Its sound goes to a file through FluidSynth's file driver.
#include "synth/FluidSynthBackend.h"
#include "AudioAnalysis.h"
#include "ManualClock.h"
#include "devices/BackgroundOpenBackend.h"
#include "midi/MidiMessage.h"
#include "midi/MidiOut.h"
#include "synth/SoundFontSynth.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>
#include <vector>

namespace ladoton {
namespace {

using namespace std::chrono_literals;
using testing::fundamental;
using testing::harmonicProfile;
using testing::noteFrequency;
using testing::profileDistance;
using testing::rms;

constexpr double SampleRate = 48000;

bool eventually(const std::function<bool()>& condition) {
    for (int tenth = 0; tenth < 100; ++tenth) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(100ms);
    }
    return condition();
}

// Note 69 of `instrument` rendered offline, 0.3 s to 0.6 s after its start.
std::vector<float> reference(int instrument) {
    SynthSettings settings;
    settings.sampleRate = SampleRate;
    auto synth = SoundFontSynth::create(*fluidSynth(), settings);
    synth->loadSoundFont(DefaultSoundFont);
    synth->play(*programChangeMessage(1, instrument));
    synth->play(*noteOnMessage(1, 69, 100));
    std::vector<float> left(SampleRate * 0.6), right(left.size());
    synth->render(left, right);
    return {left.begin() + static_cast<std::ptrdiff_t>(SampleRate * 0.3), left.end()};
}

// The left channel of a raw stereo float file.
std::vector<float> readLeft(const QString& path) {
    std::ifstream file(path.toStdString(), std::ios::binary);
    std::vector<float> left;
    float frame[2];
    while (file.read(reinterpret_cast<char*>(frame), sizeof frame)) {
        left.push_back(frame[0]);
    }
    return left;
}

// The synthesizer behind the device list's background start, as the program composes them.
struct StartedSynth {
    explicit StartedSynth(FluidSynthBackend::Options options)
        : synth(new FluidSynthBackend(std::move(options))),
          device(std::unique_ptr<MidiBackend>(synth), [this] { ++failures; }) {}

    std::atomic<int> failures = 0;
    FluidSynthBackend* synth;
    BackgroundOpenBackend device;
};

class FluidSynthBackendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!isSoundFont(DefaultSoundFont)) {
            GTEST_SKIP() << "no General MIDI SoundFont at " << DefaultSoundFont;
        }
        ASSERT_TRUE(folder.isValid());
    }

    FluidSynthBackend::Options toFile() const {
        FluidSynthBackend::Options options;
        options.synth.sampleRate = SampleRate;
        options.synth.audioDrivers = {"file"};
        options.synth.audioFile = audioFile.toStdString();
        return options;
    }

    QTemporaryDir folder;
    QString audioFile = folder.filePath(QStringLiteral("synth.raw"));
};

TEST(FluidSynthBackendDevices, IsOneDeviceWithARussianName) {
    FluidSynthBackend backend({});
    EXPECT_EQ(backend.listDevices(), std::vector<std::string>{"Встроенный синтезатор"});
    EXPECT_FALSE(backend.open(1));
    EXPECT_FALSE(backend.open(-1));
}

TEST(FluidSynthBackendDevices, DoesNotOpenWithoutItsSoundFont) {
    QTemporaryDir folder;
    const QString notASoundFont = folder.filePath(QStringLiteral("text.sf2"));
    std::ofstream(notASoundFont.toStdString()) << "RIFF....WAVE not a SoundFont";
    for (const QString& path : {folder.filePath(QStringLiteral("missing.sf2")), notASoundFont}) {
        FluidSynthBackend::Options options;
        options.soundFont = path.toStdString();
        FluidSynthBackend backend(std::move(options));
        EXPECT_FALSE(backend.open(0)) << path.toStdString();
        backend.send(*noteOnMessage(1, 60, 100)); // no device: nothing happens
    }
}

// The audio output starts before the SoundFont is read, so a file that only looks like a
// SoundFont serves here whatever SoundFont the system has.
TEST(FluidSynthBackendDevices, AChoiceAfterStartUpIsAnsweredInPlace) {
    QTemporaryDir folder;
    const QString lookalike = folder.filePath(QStringLiteral("lookalike.sf2"));
    std::ofstream(lookalike.toStdString()) << "RIFF1234sfbk";
    FluidSynthBackend::Options options;
    options.soundFont = lookalike.toStdString();
    options.synth.audioDrivers = {"no-such-driver"};
    StartedSynth started(std::move(options));
    std::atomic<int>& failures = started.failures;

    // start-up: the failure comes later, from the background
    ASSERT_TRUE(started.device.open(0));
    ASSERT_TRUE(eventually([&] { return failures == 1; }));

    EXPECT_FALSE(started.device.open(0)); // a choice from the menu: the failure is its answer
    EXPECT_FALSE(started.synth->ready());
    EXPECT_EQ(failures, 1);

    ladoton::testing::ManualClock clock;
    MidiOut midiOut(started.device, clock);
    std::vector<std::string> reported;
    midiOut.setErrorReporter([&](const std::string& text) { reported.push_back(text); });
    midiOut.selectDevice(0);
    EXPECT_EQ(reported, std::vector<std::string>{"Ошибка открытия устройства 0"});
    EXPECT_FALSE(midiOut.hasDevice());
    EXPECT_EQ(failures, 1);
}

TEST_F(FluidSynthBackendTest, PlaysWhatWasSentWhileItStarted) {
    StartedSynth started(toFile());
    BackgroundOpenBackend& backend = started.device;
    ASSERT_TRUE(backend.open(0));
    // Sent at once, before the SoundFont can have been read: the program must not be lost,
    // the held note must sound, the note pressed and released must not.
    backend.send(*programChangeMessage(1, 41));
    backend.send(*noteOnMessage(1, 60, 100));
    backend.send(*noteOnMessage(1, 60, 0));
    backend.send(*noteOnMessage(1, 69, 100));
    EXPECT_FALSE(started.synth->ready());
    ASSERT_TRUE(eventually([&] { return started.synth->ready(); }));
    std::this_thread::sleep_for(600ms);
    backend.send(*noteOnMessage(1, 69, 0));
    backend.close();

    const std::vector<float> sound = readLeft(audioFile);
    ASSERT_GT(sound.size(), SampleRate * 0.4);
    const std::span<const float> tail = std::span<const float>(sound).last(SampleRate * 0.3);
    ASSERT_GT(rms(tail), 0.005);
    const auto pitch = fundamental(tail, SampleRate);
    ASSERT_TRUE(pitch.has_value());
    EXPECT_NEAR(*pitch, noteFrequency(69), noteFrequency(69) * 0.01);
    // The program sent before the start is the one heard.
    const auto heard = harmonicProfile(tail, SampleRate, noteFrequency(69));
    const auto violin = harmonicProfile(reference(41), SampleRate, noteFrequency(69));
    const auto piano = harmonicProfile(reference(1), SampleRate, noteFrequency(69));
    EXPECT_LT(profileDistance(heard, violin), profileDistance(heard, piano));
}

TEST_F(FluidSynthBackendTest, ReportsAnAudioOutputThatDoesNotOpen) {
    FluidSynthBackend::Options options = toFile();
    options.synth.audioDrivers = {"no-such-driver"};
    StartedSynth started(std::move(options));
    std::atomic<int>& failures = started.failures;
    BackgroundOpenBackend& backend = started.device;
    ASSERT_TRUE(backend.open(0));
    backend.send(*noteOnMessage(1, 60, 100));
    ASSERT_TRUE(eventually([&] { return failures == 1; }));
    EXPECT_FALSE(started.synth->ready());
    backend.send(*noteOnMessage(1, 60, 0)); // dropped, and nothing breaks
    backend.close();
    EXPECT_EQ(failures, 1);
}

// A driver named by the user that this machine lacks is named on standard error with those it
// has, and the next one named plays.
TEST_F(FluidSynthBackendTest, NamesAMissingDriverAndThoseThereAre) {
    SynthSettings settings = toFile().synth;
    settings.audioDrivers = {"no-such-driver", "file"};
    settings.driversChosen = true;
    auto synth = SoundFontSynth::create(*fluidSynth(), settings);
    ASSERT_NE(synth, nullptr);
    ::testing::internal::CaptureStderr();
    const bool started = synth->startAudio();
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(started);
    EXPECT_NE(said.find("no-such-driver; есть: "), std::string::npos) << said;
    EXPECT_NE(said.find("alsa"), std::string::npos) << said;
    EXPECT_NE(said.find("file"), std::string::npos) << said;
}

TEST_F(FluidSynthBackendTest, ClosesWhileStartingAndOpensAgain) {
    StartedSynth started(toFile());
    BackgroundOpenBackend& backend = started.device;
    ASSERT_TRUE(backend.open(0));
    backend.close();
    EXPECT_FALSE(started.synth->ready());
    backend.send(*noteOnMessage(1, 60, 100)); // closed: dropped
    ASSERT_TRUE(backend.open(0));
    EXPECT_TRUE(eventually([&] { return started.synth->ready(); }));
}

// Channel 10's kit is read only when channel 10 is about to be played: with the SoundFont when
// the hint comes during the start, on a thread of its own when it comes later.
TEST_F(FluidSynthBackendTest, ReadsTheDrumKitWhenChannelTenIsAboutToBePlayed) {
    StartedSynth started(toFile());
    BackgroundOpenBackend& backend = started.device;
    FluidSynthBackend& synth = *started.synth;
    ASSERT_TRUE(backend.open(0));
    ASSERT_TRUE(eventually([&] { return synth.ready(); }));
    backend.send(*noteOnMessage(1, 60, 100));
    backend.prepareChannel(1);
    EXPECT_FALSE(synth.drumKitReady());
    backend.prepareChannel(10);
    ASSERT_TRUE(eventually([&] { return synth.drumKitReady(); }));
    backend.send(*noteOnMessage(10, 60, 120));

    backend.close();
    ASSERT_TRUE(backend.open(0));
    backend.prepareChannel(10);
    ASSERT_TRUE(eventually([&] { return synth.ready(); }));
    EXPECT_TRUE(synth.drumKitReady());

    backend.close(); // a kit still being read is waited for
    ASSERT_TRUE(backend.open(0));
    ASSERT_TRUE(eventually([&] { return synth.ready(); }));
    backend.prepareChannel(10);
    backend.close();
    EXPECT_FALSE(synth.drumKitReady());
}

} // namespace
} // namespace ladoton
