#pragma once

// Windows virtual-key codes: the key codes the program plays, records and stores.
namespace ladoton::vk {
inline constexpr int Back = 8;
inline constexpr int Tab = 9;
inline constexpr int Clear = 12;
inline constexpr int Return = 13;
inline constexpr int Shift = 16;
inline constexpr int Control = 17;
inline constexpr int Menu = 18;
inline constexpr int Pause = 19;
inline constexpr int Capital = 20;
inline constexpr int Escape = 27;
inline constexpr int Space = 32;
inline constexpr int Prior = 33;
inline constexpr int Next = 34;
inline constexpr int End = 35;
inline constexpr int Home = 36;
inline constexpr int Left = 37;
inline constexpr int Up = 38;
inline constexpr int Right = 39;
inline constexpr int Down = 40;
inline constexpr int Snapshot = 44;
inline constexpr int Insert = 45;
inline constexpr int Delete = 46;
inline constexpr int Digit0 = 48; // '0'..'9' are 48..57
inline constexpr int LetterA = 65; // 'A'..'Z' are 65..90
inline constexpr int LetterM = 77;
inline constexpr int LetterQ = 81;
inline constexpr int LetterX = 88;
inline constexpr int LetterZ = 90;
inline constexpr int LeftWin = 91;
inline constexpr int RightWin = 92;
inline constexpr int Apps = 93;
inline constexpr int Numpad0 = 96; // keypad 0..9 are 96..105
inline constexpr int Multiply = 106;
inline constexpr int Add = 107;
inline constexpr int Subtract = 109;
inline constexpr int Decimal = 110;
inline constexpr int Divide = 111;
inline constexpr int F1 = 112; // F1..F24 are 112..135
inline constexpr int F5 = 116;
inline constexpr int F10 = 121;
inline constexpr int NumLock = 144;
inline constexpr int Scroll = 145;
inline constexpr int Oem1 = 186;      // ;
inline constexpr int OemPlus = 187;   // =
inline constexpr int OemComma = 188;  // ,
inline constexpr int OemMinus = 189;  // -
inline constexpr int OemPeriod = 190; // .
inline constexpr int Oem2 = 191;      // /
inline constexpr int Oem3 = 192;      // `
inline constexpr int Oem4 = 219;      // [
inline constexpr int Oem5 = 220;      // backslash
inline constexpr int Oem6 = 221;      // ]
inline constexpr int Oem7 = 222;      // '
inline constexpr int Oem102 = 226;    // the extra key of ISO keyboards
} // namespace ladoton::vk
