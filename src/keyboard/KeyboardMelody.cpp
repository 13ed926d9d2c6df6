#include "keyboard/Keyboard.h"
#include "platform/Clock.h"

namespace ladoton {

void Keyboard::startPlayback() {
    releaseAllKeys();
    playback.playPosition = 0;
    playback.isPlaying = true;
}

void Keyboard::stopPlayback() {
    playback.isPlaying = false;
    playback.playPosition = 0;
    releaseAllKeys();
}

void Keyboard::appendEvent(int keyCode, uint8_t keyDown) {
    melody.append(makeEvent(keyCode, keyDown, clock_.tickCount()));
}

void Keyboard::resetMelody() {
    melody.clear();
    unrecordInputNotes();
    melodyText.clear();
    playback.isPlaying = false;
    releaseAllKeys();
    window().updateData(false);
}

} // namespace ladoton
