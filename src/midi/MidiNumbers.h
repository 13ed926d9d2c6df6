#pragma once

#include <cstdint>

// The numbers of MIDI's channel messages (the upper half of the status byte) and of the
// controllers whose meaning the program knows.
namespace ladoton::midi {

inline constexpr uint8_t NoteOff = 0x80;
inline constexpr uint8_t NoteOn = 0x90;
inline constexpr uint8_t KeyPressure = 0xA0;
inline constexpr uint8_t ControlChange = 0xB0;
inline constexpr uint8_t ProgramChange = 0xC0;
inline constexpr uint8_t ChannelPressure = 0xD0;
inline constexpr uint8_t PitchBend = 0xE0;

inline constexpr int BankMsb = 0;
inline constexpr int DataEntryMsb = 6;
inline constexpr int BankLsb = 32;
inline constexpr int DataEntryLsb = 38;
inline constexpr int SustainPedal = 64;
inline constexpr int SostenutoPedal = 66;
inline constexpr int DataIncrement = 96;
inline constexpr int DataDecrement = 97;
inline constexpr int UnregisteredLsb = 98;
inline constexpr int UnregisteredMsb = 99;
inline constexpr int RegisteredLsb = 100;
inline constexpr int RegisteredMsb = 101;
inline constexpr int AllSoundOff = 120;
inline constexpr int ResetAllControllers = 121;
inline constexpr int AllNotesOff = 123;
inline constexpr int OmniOff = 124;
inline constexpr int MonoOn = 126;

// A pedal's value from which it is down.
inline constexpr int PedalDown = 64;

} // namespace ladoton::midi
