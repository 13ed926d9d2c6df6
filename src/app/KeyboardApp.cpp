#include "app/KeyboardApp.h"

#include "app/KeyboardDialog.h"
#include "midi/RtMidiBackend.h"
#include "platform/KeyRepeat.h"
#include "platform/QtPrompts.h"
#include "platform/Resources.h"
#include "platform/RuntimeFolder.h"

#include <QApplication>
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
    RtMidiBackend backend;
    ProgramState state(backend, clock);
    KeyboardDialog dialog(state, {clock, prompts, settingsFile});
    dialog.DoModal();
    return false;
}

} // namespace ladoton
