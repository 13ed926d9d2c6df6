#pragma once

namespace ladoton {

// ALSA and JACK report a missing sequencer or server on the terminal by themselves; for the
// program that only means fewer devices. Turns their printing off and forbids libjack to start
// a JACK server of its own. Call before any other ALSA or JACK call.
void silenceMidiLibraries();

// Whether an ALSA sequencer can be opened (probed without printing anything).
bool alsaSequencerPresent();

} // namespace ladoton
