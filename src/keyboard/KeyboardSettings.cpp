#include "keyboard/Keyboard.h"
#include "settings/SettingsRecord.h"

namespace ladoton {

void Keyboard::readSettings() {
    const std::optional<SettingsRecord> record = readSettingsFile(settingsFile_);
    if (!record) {
        return;
    }
    amplitude = record->amplitude;
    instrument = record->instrument;
    octave = record->octave;
    transposition = record->transposition;
}

void Keyboard::writeSettings() {
    SettingsRecord record;
    record.amplitude = amplitude;
    // Where the instrument slider stands now, not the last program a random change sent.
    record.instrument = window().sliderPosition(Slider::Instrument);
    record.octave = octave;
    record.transposition = transposition;
    // A settings file that cannot be written is not worth interrupting the close for.
    writeSettingsFile(settingsFile_, record);
}

} // namespace ladoton
