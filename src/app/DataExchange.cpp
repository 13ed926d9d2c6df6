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
    c.melody.exchange(read, melodyText);
    c.keyCode.exchange(read, keyCodeText);
    c.amplitude.exchange(read, amplitude);
    c.heldNotes.exchange(read, heldNotesText);
    c.instrument.exchange(read, instrument);
    c.octave.exchange(read, octave);
    c.transposition.exchange(read, transposition);
    c.interval.exchange(read, intervalText);
    c.octaveLabel1.exchange(read, octaveLabel1);
    c.octaveLabel2.exchange(read, octaveLabel2);
    c.octaveLabel3.exchange(read, octaveLabel3);
    c.channel.exchange(read, channel);
    c.randomInstrument.exchange(read, randomInstrument);
    c.maxInstrument.exchange(read, maxInstrument);
    c.metronomeOn.exchange(read, metronomeOn);
    c.tempo.exchange(read, tempo);
    c.tempoText.exchange(read, tempoText);
    c.accentOn.exchange(read, accentOn);
    c.repaintCount.exchange(read, repaintCount);
}

bool KeyboardDialog::UpdateData(bool read) {
    DoDataExchange(read);
    return true;
}

} // namespace ladoton
