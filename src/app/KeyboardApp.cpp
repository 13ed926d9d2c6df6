#include "app/KeyboardApp.h"

#include "app/CaretBlinkTimeout.h"
#include "app/InputMenu.h"
#include "app/KeyboardDialog.h"
#include "app/MidiInputPump.h"
#include "app/OnceActive.h"
#include "app/WindowIcon.h"
#include "platform/KeyRepeat.h"
#include "platform/QtTranslations.h"
#include "platform/Resources.h"
#include "platform/RuntimeFolder.h"
#include "platform/SystemMidiBackend.h"
#include "ports/SystemMidiInput.h"
#include "settings/InputSourceFile.h"
#include "ui/QtPrompts.h"

#include <QApplication>
#include <QFileInfo>

namespace ladoton {

KeyboardApp::KeyboardApp(int& argc, char** argv) : argc_(argc), argv_(argv) {}

bool KeyboardApp::InitInstance() {
    provideRuntimeFolder();
    QApplication application(argc_, argv_);
    loadResources();
    loadRussianQtTexts(application);
    requestPressOnlyKeyRepeat();
    // The settings live where the program was started, whatever folder the melody
    // dialogs move the current directory to later.
    const std::filesystem::path settingsFile = std::filesystem::current_path() / "setting.dat";
    const std::filesystem::path inputSourceFile =
        std::filesystem::current_path() / "midi-input.txt";

    SteadyClock clock;
    QtPrompts prompts;
    SystemMidiBackend backend;
    backend.input().start(readInputSourceFile(inputSourceFile));
    Keyboard keyboard(backend, clock, settingsFile);
    // A screen reader is told what melody playback plays only when asked for.
    keyboard.speakDuringPlayback = qEnvironmentVariable("LADOTON_SPEAK_PLAYBACK") == u"1";
    KeyboardDialog dialog(keyboard, prompts);
    dialog.setInputMenu(std::make_unique<InputMenu>(backend.input(), inputSourceFile));
    const MidiInputPump inputPump(backend.input(), keyboard);
    // Device 0 opens in the background, and the built-in synthesizer starts there too; if
    // either then fails, that is reported as any device that does not open.
    QObject::connect(&backend, &SystemMidiBackend::startFailed, &dialog, [&] {
        runOnceActive(dialog, [&] {
            const QString caption =
                QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
            prompts.message(&dialog, caption, QStringLiteral("Не могу открыть midi устройство!"));
        });
    });
    QObject::connect(&backend, &SystemMidiBackend::deviceReturned, &dialog,
                     [&] { keyboard.deviceReturned(); });
    setWindowIconOnceShown(dialog, QStringLiteral(":/ladoton.svg"));
    const CaretBlinkTimeout caretBlink;
    dialog.DoModal();
    return false;
}

} // namespace ladoton
