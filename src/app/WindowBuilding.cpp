#include "app/KeyboardDialog.h"

#include "app/BoundControls.h"
#include "app/PianoAccessible.h"
#include "keys/VirtualKeys.h"
#include "render/KeyboardOverlay.h"
#include "widgets/ControlIds.h"
#include "widgets/Controls.h"
#include "widgets/DialogFont.h"
#include "widgets/DialogUnits.h"
#include "widgets/MainWindowTemplate.h"
#include "widgets/TextRoom.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

// The main window's building: its controls at the template's places, the piano keys, the menu.
namespace ladoton {

namespace {

// Labels and frames are drawings on the surface: a click on one reaches what lies below
// it, a piano key (the blank octave labels stand over three of them) or the surface.
void letMouseThrough(QWidget* widget) {
    widget->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QWidget* makeControl(const ControlSpec& entry, QWidget* parent) {
    const QString text = QString::fromUtf8(entry.text);
    switch (entry.kind) {
    case ControlKind::Edit:
    case ControlKind::HiddenEdit: {
        auto* edit = new LineEdit(parent);
        edit->setVisible(entry.kind == ControlKind::Edit);
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

    collapseMarker = qobject_cast<QLabel*>(control(control::CollapseMarker));
    tempoSlider = qobject_cast<TrackBar*>(control(control::TempoSlider));
    maxInstrumentSlider = qobject_cast<TrackBar*>(control(control::MaxInstrumentSlider));
    amplitudeSlider = qobject_cast<TrackBar*>(control(control::AmplitudeSlider));
    channelSpin = qobject_cast<SpinArrows*>(control(control::ChannelArrows));
    instrumentSlider = qobject_cast<TrackBar*>(control(control::InstrumentSlider));
    melodyEdit = qobject_cast<QLineEdit*>(control(control::Melody));
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

} // namespace ladoton
