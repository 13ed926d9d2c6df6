#include "app/KeyboardDialog.h"

#include "app/BoundControls.h"
#include "app/ControlNames.h"
#include "app/InputMenu.h"
#include "app/KeyRouter.h"
#include "app/PianoAccessible.h"
#include "app/ScreenReaderVoice.h"
#include "app/WindowTimers.h"
#include "platform/InputMethods.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>

// The main window: its making, and the entry points through which the run, its commands, its
// timers and its closing reach the keyboard. Its building is WindowBuilding.cpp, what the
// keyboard asks of it KeyboardWindowCalls.cpp.
namespace ladoton {

namespace {

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

// The program's one window is an ordinary application window, shown on the task bar
// and minimised like any other, not a dialog that the window manager may hide behind
// or tie to another window. Its size follows its font, so it has no maximise box.
constexpr Qt::WindowFlags ApplicationWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

} // namespace

KeyboardDialog::KeyboardDialog(Keyboard& keyboard, Prompts& prompts, QWidget* parent)
    : QDialog(parent, ApplicationWindowFlags), keyboard_(keyboard), prompts_(prompts),
      keyTable_(keyboard.keyTable), keyStates_(keyboard.keyStates) {
    setWindowTitle(QStringLiteral("Ладотон"));
    installWindowAccessibility();
    buildWindow();
    nameControls(*this);
    voice_ = new ScreenReaderVoice(this);
    buildMenu();
    turnOffInputMethods(*this);
    connectControls();
    keyboard_.midiOut.setErrorReporter([this](const std::string& text) {
        prompts_.message(this, applicationName(), QString::fromStdString(text));
    });
    keyRouter_ = new KeyRouter(*this, keyboard_, [this] { showKeyHelp(); });
    timers_ = new WindowTimers(this, [this](int id) { OnTimer(id); });
    timers_->restWhen({StepTimer, RepaintTimer},
                      [this] { return keyboard_.restsUntilNextEvent(); });
    // The metronome's beat rests too while it is switched off.
    timers_->restWhen({MetronomeTimer}, [this] {
        return keyboard_.metronomeOn == 0 && keyboard_.restsUntilNextEvent();
    });
    keyboard_.attach(*this);
}

KeyboardDialog::~KeyboardDialog() {
    keyboard_.detach();
    keyboard_.midiOut.setErrorReporter(nullptr);
    delete keyRouter_;
}

int KeyboardDialog::DoModal() {
    OnInitDialog();
    // The window runs until it is done, as a modal run would, but is not made modal: a
    // modal window is announced to the window manager as a modal dialog, while this is
    // the application's own window with nothing behind it to block.
    QEventLoop run;
    connect(this, &QDialog::finished, &run, &QEventLoop::quit);
    show();
    run.exec(QEventLoop::DialogExec);
    return result();
}

bool KeyboardDialog::OnInitDialog() {
    setWindowTitle(windowTitle() + QStringLiteral("(версия от ") +
                   QStringLiteral(__DATE__ " " __TIME__) + QStringLiteral(")"));
    keyboard_.initialise();
    return false;
}

bool KeyboardDialog::OnCommand(int id) {
    keyboard_.runCommand(id);
    return true;
}

void KeyboardDialog::OnTimer(int id) {
    keyboard_.timerTick(id);
}

void KeyboardDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnClose();
}

void KeyboardDialog::OnClose() {
    keyboard_.close();
}

void KeyboardDialog::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        keyboard_.keyboardLost();
    }
}

void KeyboardDialog::onSurfacePaint() {
    if (!isMinimized()) {
        keyboard_.markAllForRepaint();
    }
}

void KeyboardDialog::setInputMenu(std::unique_ptr<InputMenu> menu) {
    inputMenu_ = std::move(menu);
}

} // namespace ladoton
