#pragma once

namespace ladoton::command {

// The menu commands, by id.
inline constexpr int KeyHelp = 32771;
inline constexpr int About = 32772;
inline constexpr int Open = 32774;
inline constexpr int Save = 32775;
inline constexpr int Exit = 32776;
inline constexpr int StartPlayback = 32777;
inline constexpr int StopPlayback = 32778;
inline constexpr int ResetMelody = 32779;
inline constexpr int ExportMidi = 32780;

} // namespace ladoton::command
