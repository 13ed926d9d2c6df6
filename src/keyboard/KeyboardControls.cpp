#include "keyboard/Keyboard.h"

#include <algorithm>

namespace ladoton {

void Keyboard::amplitudeMoved() {
    window().updateData(true);
    const int position = window().sliderPosition(Slider::Amplitude);
    if (position != 0) {
        amplitude = position;
    }
    window().updateData(false);
}

void Keyboard::instrumentMoved() {
    window().updateData(true);
    const int position = window().sliderPosition(Slider::Instrument);
    currentProgram = position;
    instrument = position;
    window().updateData(false);
    midiOut.sendProgramChange(channel, currentProgram);
}

void Keyboard::maxInstrumentMoved() {
    window().updateData(true);
    maxInstrument = static_cast<unsigned>(window().sliderPosition(Slider::MaxInstrument));
    window().updateData(false);
}

void Keyboard::tempoMoved() {
    window().updateData(true);
    tempoText = static_cast<unsigned>(tempo);
    window().updateData(false);
    if (tempoText != 0) {
        window().setTimer(MetronomeTimer, static_cast<int>(60000u / tempoText));
    }
}

void Keyboard::channelStep(int delta) {
    window().updateData(true);
    // The edit can hold any pasted number; step in 64 bits so no value overflows.
    const long long next = static_cast<long long>(channel) + (delta > 0 ? 1 : -1);
    channel = static_cast<int>(std::clamp<long long>(next, 1, 16));
    window().updateData(false);
}

} // namespace ladoton
