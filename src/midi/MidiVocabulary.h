#pragma once

#include <cstdint>

// The program's MIDI vocabulary: the kinds of channel message (the upper half of the status
// byte), the channels, the data bytes, the controllers whose meaning the program knows, and the
// name by which the program shows itself to the MIDI and sound systems.
namespace ladoton::midi {

// The name of the program's JACK and ALSA clients and of its sound stream.
inline constexpr const char* ClientName = "Ладотон";

inline constexpr uint8_t NoteOff = 0x80;
inline constexpr uint8_t NoteOn = 0x90;
inline constexpr uint8_t KeyPressure = 0xA0;
inline constexpr uint8_t ControlChange = 0xB0;
inline constexpr uint8_t ProgramChange = 0xC0;
inline constexpr uint8_t ChannelPressure = 0xD0;
inline constexpr uint8_t PitchBend = 0xE0;
// System messages (system exclusive, common and real-time) from here up.
inline constexpr uint8_t SystemMessage = 0xF0;

// Data bytes are 0..127; a byte with the top bit set is a status byte.
inline constexpr uint8_t StatusBit = 0x80;
inline constexpr uint8_t DataMask = 0x7F;

// Channels as the user sees them, 1..16; on the wire 0..15 in the lower half of the status.
inline constexpr int Channels = 16;
// The General MIDI drum channel (the metronome's).
inline constexpr int DrumChannel = 10;

constexpr bool isStatus(uint8_t byte) {
    return (byte & StatusBit) != 0;
}
constexpr bool isChannelStatus(uint8_t byte) {
    return isStatus(byte) && byte < SystemMessage;
}
constexpr uint8_t kindOf(uint8_t status) {
    return status & 0xF0;
}
// 0..15.
constexpr int channelIndexOf(uint8_t status) {
    return status & 0x0F;
}
constexpr bool isChannel(int channel) {
    return channel >= 1 && channel <= Channels;
}
// The status byte of a message of `kind` on `channel` (1..16).
constexpr uint8_t statusOf(uint8_t kind, int channel) {
    return static_cast<uint8_t>(kind | (channel - 1));
}
// How many data bytes follow a channel status byte: one for program change and channel
// pressure, two for the others.
constexpr int dataLength(uint8_t status) {
    const uint8_t kind = kindOf(status);
    return kind == ProgramChange || kind == ChannelPressure ? 1 : 2;
}

inline constexpr int BankMsb = 0;
inline constexpr int DataEntryMsb = 6;
inline constexpr int BankLsb = 32;
inline constexpr int DataEntryLsb = 38;
inline constexpr int SustainPedal = 64;
inline constexpr int SostenutoPedal = 66;
inline constexpr int SoftPedal = 67;
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
