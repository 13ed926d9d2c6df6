#include "app/KeyboardDialog.h"

#include "app/ScreenReaderVoice.h"
#include "app/WindowTimers.h"
#include "widgets/Controls.h"

#include <QAccessible>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>

// What the keyboard asks of the window it is shown in (KeyboardWindow), besides the exchange of
// values (DataExchange.cpp), the painting (KeyboardPainting.cpp) and the boxes
// (WindowPrompts.cpp).
namespace ladoton {

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

void KeyboardDialog::endRun(bool accepted) {
    if (accepted) {
        accept();
    } else {
        reject();
    }
}

bool KeyboardDialog::screenReaderListens() const {
    return QAccessible::isActive();
}

void KeyboardDialog::announce(const std::string& text) {
    voice_->say(QString::fromStdString(text));
}

void KeyboardDialog::collapseWindow() {
    // Everything below the piano keys is cut off, for the rest of the run.
    client_->setFixedHeight(collapseMarker->y());
    repaint();
}

} // namespace ladoton
