#pragma once

#include <string>

namespace ladoton {

// The values the window's controls show and edit, in the order they are exchanged.
struct ExchangedValues {
    std::string melodyText;
    std::string keyCodeText;
    int amplitude = 60;
    std::string heldNotesText;
    int instrument = 0;
    int octave = 4;
    int transposition = 0;
    std::string intervalText;
    std::string octaveLabel1;
    std::string octaveLabel2;
    std::string octaveLabel3;
    int channel = 1;
    int randomInstrument = 0;
    unsigned maxInstrument = 127;
    int metronomeOn = 0;
    int tempo = 120;
    unsigned tempoText = 0;
    int accentOn = 0;
    int repaintCount = 0;
};

} // namespace ladoton
