#pragma once

#include "app/ExchangedControls.h"

namespace ladoton {

class KeyboardDialog;

// The controls of the window's data exchange, found by their ids once.
struct BoundControls {
    explicit BoundControls(const KeyboardDialog& dialog);

    TextSlot melody;
    TextSlot keyCode;
    NumberSlot<int> amplitude;
    TextSlot heldNotes;
    NumberSlot<int> instrument;
    NumberSlot<int> octave;
    NumberSlot<int> transposition;
    TextSlot interval;
    TextSlot octaveLabel1;
    TextSlot octaveLabel2;
    TextSlot octaveLabel3;
    NumberSlot<int> channel;
    CheckSlot randomInstrument;
    NumberSlot<unsigned> maxInstrument;
    CheckSlot metronomeOn;
    SliderSlot tempo;
    NumberSlot<unsigned> tempoText;
    CheckSlot accentOn;
    NumberSlot<int> repaintCount;
};

} // namespace ladoton
