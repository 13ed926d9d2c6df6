#include "app/KeyboardDialog.h"
#include "settings/SettingsRecord.h"
#include "widgets/Controls.h"

namespace ladoton {

void KeyboardDialog::readSettings() {
    const std::optional<SettingsRecord> record = readSettingsFile(settingsFile_);
    if (!record) {
        return;
    }
    amplitude = record->amplitude;
    instrument = record->instrument;
    octave = record->octave;
    transposition = record->transposition;
}

void KeyboardDialog::writeSettings() {
    SettingsRecord record;
    record.amplitude = amplitude;
    // Where the instrument slider stands now, not the last program a random change sent.
    record.instrument = instrumentSlider->value();
    record.octave = octave;
    record.transposition = transposition;
    // A settings file that cannot be written is not worth interrupting the close for.
    writeSettingsFile(settingsFile_, record);
}

} // namespace ladoton
