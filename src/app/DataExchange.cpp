#include "app/BoundControls.h"
#include "app/KeyboardDialog.h"

namespace ladoton {

BoundControls::BoundControls(const KeyboardDialog& dialog)
    : melody(dialog.control(1045)), keyCode(dialog.control(1050), Shown::FromStart),
      amplitude(dialog.control(1019)), heldNotes(dialog.control(1060), Shown::FromStart),
      instrument(dialog.control(1058)), octave(dialog.control(1042)),
      transposition(dialog.control(1051)), interval(dialog.control(1053), Shown::FromStart),
      octaveLabel1(dialog.control(1074)), octaveLabel2(dialog.control(1075)),
      octaveLabel3(dialog.control(1076)), channel(dialog.control(1077)),
      randomInstrument(dialog.control(1079)), maxInstrument(dialog.control(1081)),
      metronomeOn(dialog.control(1083)), tempo(dialog.control(1084)),
      tempoText(dialog.control(1085)), accentOn(dialog.control(1080)),
      repaintCount(dialog.control(1086)) {}

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
