#pragma once

// The ids of the main window's controls, by the members they show. The piano keys' ids are
// the key table's (keys/KeyTable.h).
namespace ladoton::control {

inline constexpr int HeldNotes = 1060;
inline constexpr int Octave = 1042;
inline constexpr int Transposition = 1051;
inline constexpr int Channel = 1077;
inline constexpr int ChannelArrows = 1078;
inline constexpr int InstrumentSlider = 1057;
inline constexpr int Instrument = 1058;
inline constexpr int OctaveLabel1 = 1074;
inline constexpr int OctaveLabel2 = 1075;
inline constexpr int OctaveLabel3 = 1076;
inline constexpr int Interval = 1053;
inline constexpr int CollapseMarker = 1088;
inline constexpr int Melody = 1045;
inline constexpr int RepaintCount = 1086;
inline constexpr int AmplitudeSlider = 1054;
inline constexpr int Amplitude = 1019;
inline constexpr int MetronomeOn = 1083;
inline constexpr int TempoSlider = 1084;
inline constexpr int Tempo = 1085;
inline constexpr int Accent = 1080;
inline constexpr int KeyCode = 1050;
inline constexpr int MaxInstrumentSlider = 1082;
inline constexpr int MaxInstrument = 1081;
inline constexpr int RandomInstrument = 1079;

} // namespace ladoton::control
