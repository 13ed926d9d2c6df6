#include "platform/SystemMidiBackend.h"

#include "audio/JackSynthOutput.h"
#include "devices/BackgroundOpenBackend.h"
#include "devices/CompositeBackend.h"
#include "devices/LazyBackend.h"
#include "ports/JackClient.h"
#include "ports/JackMidiOutput.h"
#include "ports/MidiLibraryNoise.h"
#include "ports/RtMidiBackend.h"
#include "ports/SystemMidiInput.h"
#include "synth/FluidSynthBackend.h"

#include <QMetaObject>

namespace ladoton {

namespace {

std::vector<std::string> audioDriversFromEnvironment(std::vector<std::string> drivers) {
    const QString chosen = qEnvironmentVariable("LADOTON_SYNTH_AUDIO");
    if (chosen.isEmpty()) {
        return drivers;
    }
    drivers.clear();
    for (const QString& name : chosen.split(u',', Qt::SkipEmptyParts)) {
        drivers.push_back(name.trimmed().toStdString());
    }
    return drivers;
}

} // namespace

SystemMidiBackend::SystemMidiBackend() : input_(std::make_unique<SystemMidiInput>()) {
    input_->jackClient()->midiOutput().setOnReconnected([this] {
        QMetaObject::invokeMethod(this, &SystemMidiBackend::deviceReturned, Qt::QueuedConnection);
    });
    // Before any thread of the synthesizer exists: FluidSynth's ALSA and JACK drivers print
    // through the same libraries, and its JACK driver would start a server of its own.
    silenceMidiLibraries();
    std::vector<std::unique_ptr<MidiBackend>> parts;
    if (qEnvironmentVariable("LADOTON_BUILTIN_SYNTH") != QStringLiteral("0")) {
        FluidSynthBackend::Options options;
        options.synth.audioDrivers = audioDriversFromEnvironment(options.synth.audioDrivers);
        options.synth.driversChosen = qEnvironmentVariableIsSet("LADOTON_SYNTH_AUDIO");
        // Another SoundFont than the system's, for this program alone.
        if (const QByteArray soundFont = qgetenv("LADOTON_SOUNDFONT"); !soundFont.isEmpty()) {
            options.soundFont = soundFont.toStdString();
        }
        // On JACK the synthesizer plays through the program's one client, the MIDI ports' own.
        options.synth.jackOutput = [jack = input_->jackClient()](RestingRenderer& renderer,
                                                                 int sampleRate) {
            return openJackSynthOutput(*jack, renderer, sampleRate);
        };
        parts.push_back(std::make_unique<FluidSynthBackend>(std::move(options)));
    }
    // Connecting to the ALSA sequencer and to JACK takes a good part of the start-up; with the
    // synthesizer as device 0 it waits for the first device menu.
    parts.push_back(std::make_unique<LazyBackend>(
        [jack = input_->jackClient()] { return std::make_unique<RtMidiBackend>(jack); }));
    // The window is shown while device 0 opens.
    devices_ = std::make_unique<BackgroundOpenBackend>(
        std::make_unique<CompositeBackend>(std::move(parts)), [this] { reportStartFailure(); });
}

void SystemMidiBackend::reportStartFailure() {
    // Called on a thread of the devices; the object outlives those threads (they end in the
    // destructor, before QObject's).
    QMetaObject::invokeMethod(this, &SystemMidiBackend::startFailed, Qt::QueuedConnection);
}

SystemMidiBackend::~SystemMidiBackend() {
    devices_.reset();
}

std::vector<std::string> SystemMidiBackend::listDevices() {
    return devices_->listDevices();
}

bool SystemMidiBackend::open(int index) {
    return devices_->open(index);
}

void SystemMidiBackend::send(const ShortMessage& message) {
    devices_->send(message);
}

void SystemMidiBackend::prepareChannel(int channel) {
    devices_->prepareChannel(channel);
}

void SystemMidiBackend::close() {
    devices_->close();
}

} // namespace ladoton
