#include "app/KeyboardApp.h"

#include "app/KeyboardDialog.h"
#include "midi/SystemMidiBackend.h"
#include "platform/KeyRepeat.h"
#include "platform/QtPrompts.h"
#include "platform/Resources.h"
#include "platform/RuntimeFolder.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>

namespace ladoton {

KeyboardApp::KeyboardApp(int& argc, char** argv) : argc_(argc), argv_(argv) {}

bool KeyboardApp::InitInstance() {
    provideRuntimeFolder();
    QApplication application(argc_, argv_);
    loadResources();
    requestPressOnlyKeyRepeat();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/ladoton.svg")));
    // The settings live where the program was started, whatever folder the melody
    // dialogs move the current directory to later.
    const std::filesystem::path settingsFile = std::filesystem::current_path() / "setting.dat";

    SteadyClock clock;
    QtPrompts prompts;
    SystemMidiBackend backend;
    ProgramState state(backend, clock);
    KeyboardDialog dialog(state, {clock, prompts, settingsFile});
    // The built-in synthesizer opens at once and starts in the background; if it then finds
    // no audio output, that is reported as any device that does not open.
    QObject::connect(&backend, &SystemMidiBackend::synthFailed, &dialog, [&] {
        const QString caption =
            QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
        prompts.message(&dialog, caption, QStringLiteral("Не могу открыть midi устройство!"));
    });
    dialog.DoModal();
    return false;
}

} // namespace ladoton
