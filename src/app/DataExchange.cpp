#include "app/BoundControls.h"

#include "app/KeyboardDialog.h"
#include "widgets/ControlIds.h"

namespace ladoton {

BoundControls::BoundControls(const KeyboardDialog& dialog)
    : melody(dialog.control(control::Melody)),
      keyCode(dialog.control(control::KeyCode), Shown::FromStart),
      amplitude(dialog.control(control::Amplitude)),
      heldNotes(dialog.control(control::HeldNotes), Shown::FromStart),
      instrument(dialog.control(control::Instrument)), octave(dialog.control(control::Octave)),
      transposition(dialog.control(control::Transposition)),
      interval(dialog.control(control::Interval), Shown::FromStart),
      octaveLabel1(dialog.control(control::OctaveLabel1)),
      octaveLabel2(dialog.control(control::OctaveLabel2)),
      octaveLabel3(dialog.control(control::OctaveLabel3)),
      channel(dialog.control(control::Channel)),
      randomInstrument(dialog.control(control::RandomInstrument)),
      maxInstrument(dialog.control(control::MaxInstrument)),
      metronomeOn(dialog.control(control::MetronomeOn)),
      tempo(dialog.control(control::TempoSlider)), tempoText(dialog.control(control::Tempo)),
      accentOn(dialog.control(control::Accent)),
      repaintCount(dialog.control(control::RepaintCount)) {}

void KeyboardDialog::DoDataExchange(bool read) {
    if (!bound_) {
        bound_ = std::make_unique<BoundControls>(*this);
    }
    BoundControls& c = *bound_;
    ExchangedValues& v = keyboard_;
    c.melody.exchange(read, v.melodyText);
    c.keyCode.exchange(read, v.keyCodeText);
    c.amplitude.exchange(read, v.amplitude);
    c.heldNotes.exchange(read, v.heldNotesText);
    c.instrument.exchange(read, v.instrument);
    c.octave.exchange(read, v.octave);
    c.transposition.exchange(read, v.transposition);
    c.interval.exchange(read, v.intervalText);
    c.octaveLabel1.exchange(read, v.octaveLabel1);
    c.octaveLabel2.exchange(read, v.octaveLabel2);
    c.octaveLabel3.exchange(read, v.octaveLabel3);
    c.channel.exchange(read, v.channel);
    c.randomInstrument.exchange(read, v.randomInstrument);
    c.maxInstrument.exchange(read, v.maxInstrument);
    c.metronomeOn.exchange(read, v.metronomeOn);
    c.tempo.exchange(read, v.tempo);
    c.tempoText.exchange(read, v.tempoText);
    c.accentOn.exchange(read, v.accentOn);
    c.repaintCount.exchange(read, v.repaintCount);
}

bool KeyboardDialog::UpdateData(bool read) {
    DoDataExchange(read);
    return true;
}

} // namespace ladoton
