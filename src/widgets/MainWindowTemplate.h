#pragma once

#include "widgets/ControlIds.h"

#include <array>

namespace ladoton {

// The main window's layout in dialog units.
inline constexpr int MainWindowWidthDu = 531;
inline constexpr int MainWindowHeightDu = 183;

struct PianoKeySpec {
    const char* caption;
    int id;
    int x;
};

inline constexpr int WhiteKeyTopDu = 24;
inline constexpr int WhiteKeyWidthDu = 28;
inline constexpr int WhiteKeyHeightDu = 96;
inline constexpr int BlackKeyTopDu = 20;
inline constexpr int BlackKeyWidthDu = 15;
inline constexpr int BlackKeyHeightDu = 60;

inline constexpr std::array<PianoKeySpec, 37> PianoKeys = {{
    {"B-", 1044, 0},    {"C", 1022, 24},    {"C#", 1029, 44},   {"D", 1023, 48},
    {"D#", 1030, 68},   {"E", 1024, 72},    {"F", 1025, 96},    {"F#", 1031, 115},
    {"G", 1026, 120},   {"G#", 1032, 140},  {"A", 1027, 144},   {"A#", 1033, 164},
    {"B", 1028, 168},   {"^C", 1034, 192},  {"^C#", 1039, 211}, {"^D", 1035, 216},
    {"^D#", 1040, 235}, {"^E", 1036, 240},  {"^F", 1037, 264},  {"^F#", 1041, 283},
    {"^G", 1038, 288},  {"^G#", 1048, 308}, {"^A", 1046, 312},  {"^A#", 1049, 332},
    {"^B", 1047, 336},  {"+C", 1052, 360},  {"+C#", 1063, 379}, {"+D", 1056, 384},
    {"+D#", 1064, 404}, {"+E", 1059, 408},  {"+F", 1065, 432},  {"+F#", 1068, 451},
    {"+G", 1066, 456},  {"+G#", 1069, 475}, {"+A", 1067, 480},  {"+A#", 1070, 499},
    {"+B", 1072, 504},
}};

enum class ControlKind { Edit, HiddenEdit, Static, GroupBox, TrackBar, UpDown, CheckBox };

struct ControlSpec {
    int id; // -1: no id
    ControlKind kind;
    const char* text;
    int x, y, width, height;
};

inline constexpr std::array<ControlSpec, 33> MainWindowControls = {{
    {control::HeldNotes, ControlKind::Edit, "", 0, 0, 180, 15},
    {-1, ControlKind::Static, "Октава", 182, 2, 23, 8},
    {control::Octave, ControlKind::Edit, "", 208, 0, 15, 12},
    {-1, ControlKind::Static, "Сдвиг", 235, 2, 21, 8},
    {control::Transposition, ControlKind::Edit, "", 259, 0, 16, 12},
    {-1, ControlKind::Static, "Канал", 283, 2, 20, 8},
    {control::Channel, ControlKind::Edit, "", 305, 0, 20, 12},
    {control::ChannelArrows, ControlKind::UpDown, "", 325, 0, 10, 10},
    {-1, ControlKind::Static, "Инструмент:", 342, 1, 47, 8},
    {control::InstrumentSlider, ControlKind::TrackBar, "", 385, 2, 115, 10},
    {control::Instrument, ControlKind::Edit, "", 504, 1, 25, 12},
    {control::OctaveLabel1, ControlKind::Static, "1", 30, 20, 8, 10},
    {control::OctaveLabel2, ControlKind::Static, "2", 205, 20, 8, 10},
    {control::OctaveLabel3, ControlKind::Static, "3", 380, 20, 8, 10},
    {control::Interval, ControlKind::Edit, "", 8, 125, 187, 12},
    {control::CollapseMarker, ControlKind::Static, "D", 0, 126, 8, 8},
    {control::Melody, ControlKind::Edit, "", 201, 125, 323, 12},
    {control::RepaintCount, ControlKind::HiddenEdit, "", 490, 125, 35, 14},
    {-1, ControlKind::GroupBox, "Амплитуда", 5, 145, 92, 30},
    {control::AmplitudeSlider, ControlKind::TrackBar, "", 8, 156, 53, 10},
    {control::Amplitude, ControlKind::Edit, "", 67, 155, 24, 12},
    {-1, ControlKind::GroupBox, "Метроном", 100, 145, 151, 30},
    {control::MetronomeOn, ControlKind::CheckBox, "вкл.", 108, 157, 29, 10},
    {control::TempoSlider, ControlKind::TrackBar, "", 134, 157, 45, 10},
    {control::Tempo, ControlKind::Edit, "", 184, 156, 31, 12},
    {control::Accent, ControlKind::CheckBox, "4/4", 220, 157, 27, 10},
    {-1, ControlKind::GroupBox, "Клавиша", 255, 145, 35, 30},
    {control::KeyCode, ControlKind::Edit, "", 260, 156, 25, 12},
    {-1, ControlKind::GroupBox, "Максимальный инструмент при случайном воспроизв.", 295, 145, 190,
     30},
    {control::MaxInstrumentSlider, ControlKind::TrackBar, "", 300, 157, 41, 10},
    {control::MaxInstrument, ControlKind::Edit, "", 345, 156, 20, 12},
    {control::RandomInstrument, ControlKind::CheckBox, "Случайно менять инстр.", 387, 157, 93, 10},
    {-1, ControlKind::Static, "<F1> \nпомощь", 493, 153, 32, 20},
}};

struct MenuItemSpec {
    const char* menu;
    const char* item;
    int id;
};

inline constexpr std::array<MenuItemSpec, 9> MainMenu = {{
    {"Файл", "Открыть", 32774},
    {"Файл", "Сохранить", 32775},
    {"Файл", "Экспорт в MIDI…", 32780},
    {"Файл", "Выход", 32776},
    {"Мелодия", "Начать проигрывание (пробел)", 32777},
    {"Мелодия", "Остановить проигрывание", 32778},
    {"Мелодия", "Обнулить (Z)", 32779},
    {"&Помощь", "Клавиши", 32771},
    {"&Помощь", "О программе", 32772},
}};

} // namespace ladoton
