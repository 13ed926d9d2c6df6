#include "app/KeyboardDialog.h"

#include "app/BoundControls.h"
#include "app/ControlNames.h"
#include "app/InputMenu.h"
#include "app/KeyRouter.h"
#include "app/PianoAccessible.h"
#include "app/ScreenReaderVoice.h"
#include "app/WindowTimers.h"
#include "keys/VirtualKeys.h"
#include "platform/InputMethods.h"
#include "render/KeyboardOverlay.h"
#include "widgets/Controls.h"
#include "widgets/DialogFont.h"
#include "widgets/DialogUnits.h"
#include "widgets/MainWindowTemplate.h"
#include "widgets/TextRoom.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace ladoton {

namespace {

QString applicationName() {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

// Labels and frames are drawings on the surface: a click on one reaches what lies below
// it, a piano key (the blank octave labels stand over three of them) or the surface.
void letMouseThrough(QWidget* widget) {
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
}

// The program's one window is an ordinary application window, shown on the task bar
// and minimised like any other, not a dialog that the window manager may hide behind
// or tie to another window. Its size follows its font, so it has no maximise box.
constexpr Qt::WindowFlags ApplicationWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

QWidget* makeControl(const ControlSpec& spec, QWidget* parent) {
    const QString text = QString::fromUtf8(spec.text);
    switch (spec.kind) {
    case ControlKind::Edit:
    case ControlKind::HiddenEdit: {
        auto* edit = new LineEdit(parent);
        edit->setVisible(spec.kind == ControlKind::Edit);
        return edit;
    }
    case ControlKind::Static: {
        auto* label = new QLabel(text, parent);
        label->setTextFormat(Qt::PlainText);
        letMouseThrough(label);
        return label;
    }
    case ControlKind::GroupBox: {
        auto* box = new QGroupBox(text, parent);
        letMouseThrough(box);
        return box;
    }
    case ControlKind::TrackBar:
        return new TrackBar(parent);
    case ControlKind::UpDown:
        return new SpinArrows(parent);
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    }
    return nullptr;
}

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
    keyRouter_ = new KeyRouter(*this);
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

void KeyboardDialog::buildWindow() {
    QFont font = dialogFont(QStringLiteral("Tahoma"), 9);
    // The edits are rewritten at every key press; shaping their plain note names
    // with kerning would cost more than all the rest of a key press.
    font.setStyleStrategy(QFont::PreferNoShaping);
    setFont(font);

    client_ = new ClientSurface(this);
    client_->onRightClick = [this](QPoint point) { showDeviceMenu(point); };
    client_->onPaint = [this](const QRegion& region) {
        if (overlay_ != nullptr && region.intersects(overlay_->geometry())) {
            onSurfacePaint();
        }
    };

    for (const PianoKeySpec& key : PianoKeys) {
        const bool black = std::string_view(key.caption).find('#') != std::string_view::npos;
        // Marked before its caption is set: with a screen reader listening, setting the
        // caption already makes the button's accessible interface.
        auto* button = new QPushButton(client_);
        markPianoKey(*button, static_cast<int>(&key - PianoKeys.data()));
        button->setText(QString::fromUtf8(key.caption));
        button->setFocusPolicy(Qt::NoFocus);
        templateRects_.emplace_back(
            button, black ? QRect(key.x, BlackKeyTopDu, BlackKeyWidthDu, BlackKeyHeightDu)
                          : QRect(key.x, WhiteKeyTopDu, WhiteKeyWidthDu, WhiteKeyHeightDu));
        controls_[key.id] = button;
        connect(button, &QPushButton::clicked, this, [this, id = key.id] { OnCommand(id); });
    }
    for (const PianoKeySpec& key : PianoKeys) {
        if (std::string_view(key.caption).find('#') != std::string_view::npos) {
            controls_[key.id]->raise();
        }
    }

    for (const ControlSpec& placed : MainWindowControls) {
        QWidget* widget = makeControl(placed, client_);
        templateRects_.emplace_back(widget, QRect(placed.x, placed.y, placed.width, placed.height));
        if (placed.kind == ControlKind::GroupBox) {
            widget->lower();
        }
        if (placed.id > 0) {
            controls_[placed.id] = widget;
        }
    }

    overlay_ = new KeyboardOverlay(units_, client_);
    // The piano keys' own captions lie under the picture and are never seen.
    units_ = unitsThatFit(
        *client_, dialogUnitsOf(font), [this](const DialogUnits& units) { layOut(units); },
        [](const QWidget& widget) { return qobject_cast<const QPushButton*>(&widget) == nullptr; });

    collapseMarker = qobject_cast<QLabel*>(control(1088));
    tempoSlider = qobject_cast<TrackBar*>(control(1084));
    maxInstrumentSlider = qobject_cast<TrackBar*>(control(1082));
    amplitudeSlider = qobject_cast<TrackBar*>(control(1054));
    channelSpin = qobject_cast<SpinArrows*>(control(1078));
    instrumentSlider = qobject_cast<TrackBar*>(control(1057));
    melodyEdit = qobject_cast<QLineEdit*>(control(1045));
}

void KeyboardDialog::layOut(const DialogUnits& units) {
    client_->setFixedSize(units.x(MainWindowWidthDu), units.y(MainWindowHeightDu));
    for (const auto& [widget, rect] : templateRects_) {
        widget->setGeometry(units.rect(rect.x(), rect.y(), rect.width(), rect.height()));
    }
    overlay_->setUnits(units);
}

void KeyboardDialog::buildMenu() {
    menuBar_ = new QMenuBar(this);
    QMenu* menu = nullptr;
    const char* menuTitle = nullptr;
    for (const MenuItemSpec& item : MainMenu) {
        if (menuTitle == nullptr || std::string_view(menuTitle) != item.menu) {
            menuTitle = item.menu;
            menu = menuBar_->addMenu(QString::fromUtf8(item.menu));
        }
        QAction* action = menu->addAction(QString::fromUtf8(item.item));
        connect(action, &QAction::triggered, this, [this, id = item.id] { OnCommand(id); });
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar_);
    layout->addWidget(client_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void KeyboardDialog::connectControls() {
    connect(amplitudeSlider, &TrackBar::customDraw, this, [this] { keyboard_.amplitudeMoved(); });
    connect(instrumentSlider, &TrackBar::customDraw, this, [this] { keyboard_.instrumentMoved(); });
    connect(maxInstrumentSlider, &TrackBar::customDraw, this,
            [this] { keyboard_.maxInstrumentMoved(); });
    connect(tempoSlider, &TrackBar::customDraw, this, [this] { keyboard_.tempoMoved(); });
    connect(channelSpin, &SpinArrows::delta, this,
            [this](int delta) { keyboard_.channelStep(delta); });
}

QWidget* KeyboardDialog::control(int id) const {
    const auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

QPushButton* KeyboardDialog::pianoButton(int id) const {
    return qobject_cast<QPushButton*>(control(id));
}

QWidget* KeyboardDialog::clientArea() const {
    return client_;
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

void KeyboardDialog::setUpControls(const SliderPositions& positions) {
    amplitudeSlider->setRange(1, 127);
    amplitudeSlider->setValue(positions.amplitude);
    instrumentSlider->setRange(1, 128);
    instrumentSlider->setValue(positions.instrument);
    maxInstrumentSlider->setRange(1, 127);
    maxInstrumentSlider->setValue(positions.maxInstrument);
    tempoSlider->setRange(20, 200);
    tempoSlider->setValue(positions.tempo);
    channelSpin->setRange(1, 16);
}

int KeyboardDialog::sliderPosition(Slider slider) const {
    switch (slider) {
    case Slider::Amplitude:
        return amplitudeSlider->value();
    case Slider::Instrument:
        return instrumentSlider->value();
    case Slider::MaxInstrument:
        return maxInstrumentSlider->value();
    case Slider::Tempo:
        return tempoSlider->value();
    }
    return 0;
}

void KeyboardDialog::setInstrumentSlider(int position) {
    instrumentSlider->setValue(position);
}

void KeyboardDialog::focusAndSelectMelodyEdit() {
    melodyEdit->setFocus();
    melodyEdit->setSelection(0, static_cast<int>(melodyEdit->text().size()));
}

void KeyboardDialog::setTimer(int id, int periodMs) {
    timers_->start(id, periodMs);
}

int KeyboardDialog::timerPeriod(int id) const {
    return timers_->period(id);
}
bool KeyboardDialog::timersResting() const {
    return timers_->resting();
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

void KeyboardDialog::endRun(bool accepted) {
    if (accepted) {
        accept();
    } else {
        reject();
    }
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

bool KeyboardDialog::screenReaderListens() const {
    return QAccessible::isActive();
}

void KeyboardDialog::announce(const std::string& text) {
    voice_->say(QString::fromStdString(text));
}

void KeyboardDialog::setInputMenu(std::unique_ptr<InputMenu> menu) {
    inputMenu_ = std::move(menu);
}

void KeyboardDialog::collapseWindow() {
    // Everything below the piano keys is cut off, for the rest of the run.
    client_->setFixedHeight(collapseMarker->y());
    repaint();
}

} // namespace ladoton
