#include "platform/KeyTranslation.h"

#include "keys/VirtualKeys.h"

#include <QKeyEvent>

namespace ladoton {

namespace {

// One physical key: its X11 key code, the virtual-key code of a US layout and, for the
// keypad keys that Num Lock switches, the code they have as navigation keys.
struct PhysicalKey {
    uint32_t x11KeyCode;
    int virtualKey;
    int withoutNumLock = 0;
};

constexpr int digit(int n) {
    return vk::Digit0 + n;
}
constexpr int letter(char c) {
    return vk::LetterA + (c - 'A');
}
constexpr int numpad(int n) {
    return vk::Numpad0 + n;
}
constexpr int function(int n) {
    return vk::F1 + n - 1;
}

// The PC keyboard by X11 key code (the kernel's key code + 8).
constexpr PhysicalKey PhysicalKeys[] = {
    {9, vk::Escape},
    {10, digit(1)},
    {11, digit(2)},
    {12, digit(3)},
    {13, digit(4)},
    {14, digit(5)},
    {15, digit(6)},
    {16, digit(7)},
    {17, digit(8)},
    {18, digit(9)},
    {19, digit(0)},
    {20, vk::OemMinus},
    {21, vk::OemPlus},
    {22, vk::Back},
    {23, vk::Tab},
    {24, letter('Q')},
    {25, letter('W')},
    {26, letter('E')},
    {27, letter('R')},
    {28, letter('T')},
    {29, letter('Y')},
    {30, letter('U')},
    {31, letter('I')},
    {32, letter('O')},
    {33, letter('P')},
    {34, vk::Oem4},
    {35, vk::Oem6},
    {36, vk::Return},
    {37, vk::Control},
    {38, letter('A')},
    {39, letter('S')},
    {40, letter('D')},
    {41, letter('F')},
    {42, letter('G')},
    {43, letter('H')},
    {44, letter('J')},
    {45, letter('K')},
    {46, letter('L')},
    {47, vk::Oem1},
    {48, vk::Oem7},
    {49, vk::Oem3},
    {50, vk::Shift},
    {51, vk::Oem5},
    {52, letter('Z')},
    {53, letter('X')},
    {54, letter('C')},
    {55, letter('V')},
    {56, letter('B')},
    {57, letter('N')},
    {58, letter('M')},
    {59, vk::OemComma},
    {60, vk::OemPeriod},
    {61, vk::Oem2},
    {62, vk::Shift},
    {63, vk::Multiply},
    {64, vk::Menu},
    {65, vk::Space},
    {66, vk::Capital},
    {67, function(1)},
    {68, function(2)},
    {69, function(3)},
    {70, function(4)},
    {71, function(5)},
    {72, function(6)},
    {73, function(7)},
    {74, function(8)},
    {75, function(9)},
    {76, function(10)},
    {77, vk::NumLock},
    {78, vk::Scroll},
    {79, numpad(7), vk::Home},
    {80, numpad(8), vk::Up},
    {81, numpad(9), vk::Prior},
    {82, vk::Subtract},
    {83, numpad(4), vk::Left},
    {84, numpad(5), vk::Clear},
    {85, numpad(6), vk::Right},
    {86, vk::Add},
    {87, numpad(1), vk::End},
    {88, numpad(2), vk::Down},
    {89, numpad(3), vk::Next},
    {90, numpad(0), vk::Insert},
    {91, vk::Decimal, vk::Delete},
    {94, vk::Oem102},
    {95, function(11)},
    {96, function(12)},
    {104, vk::Return}, // keypad Enter
    {105, vk::Control},
    {106, vk::Divide},
    {107, vk::Snapshot},
    {108, vk::Menu},
    {110, vk::Home},
    {111, vk::Up},
    {112, vk::Prior},
    {113, vk::Left},
    {114, vk::Right},
    {115, vk::End},
    {116, vk::Down},
    {117, vk::Next},
    {118, vk::Insert},
    {119, vk::Delete},
    {121, vk::VolumeMute},
    {122, vk::VolumeDown},
    {123, vk::VolumeUp},
    {127, vk::Pause},
    {133, vk::LeftWin},
    {134, vk::RightWin},
    {135, vk::Apps},
    {136, vk::BrowserStop},
    {146, vk::Help},
    {148, vk::LaunchApp2}, // calculator
    {150, vk::Sleep},
    {152, vk::LaunchApp1}, // file manager
    {163, vk::LaunchMail},
    {164, vk::BrowserFavorites},
    {165, vk::LaunchApp1}, // "My Computer"
    {166, vk::BrowserBack},
    {167, vk::BrowserForward},
    {171, vk::MediaNextTrack},
    {172, vk::MediaPlayPause},
    {173, vk::MediaPrevTrack},
    {174, vk::MediaStop},
    {180, vk::BrowserHome},
    {181, vk::BrowserRefresh},
    {191, function(13)},
    {192, function(14)},
    {193, function(15)},
    {194, function(16)},
    {195, function(17)},
    {196, function(18)},
    {197, function(19)},
    {198, function(20)},
    {199, function(21)},
    {200, function(22)},
    {201, function(23)},
    {202, function(24)},
    {208, vk::MediaPlayPause}, // play
    {209, vk::MediaPlayPause}, // pause
    {215, vk::MediaPlayPause}, // play
    {225, vk::BrowserSearch},
    {234, vk::LaunchMediaSelect},
};

constexpr std::size_t X11KeyCodeCount = 256;

// Row of PhysicalKeys by X11 key code; -1 where the code names no key.
constexpr std::array<int16_t, X11KeyCodeCount> rowsByKeyCode() {
    std::array<int16_t, X11KeyCodeCount> rows{};
    rows.fill(-1);
    for (std::size_t row = 0; row < std::size(PhysicalKeys); ++row) {
        rows[PhysicalKeys[row].x11KeyCode] = static_cast<int16_t>(row);
    }
    return rows;
}

constexpr std::array<int16_t, X11KeyCodeCount> RowsByKeyCode = rowsByKeyCode();

// With Num Lock off (or under Shift) the X server gives a keypad digit the keysym of a
// navigation key; keypad 5 becomes KP_Begin, which Qt calls Clear.
bool isNavigationKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Insert:
    case Qt::Key_Delete:
    case Qt::Key_Clear:
        return true;
    default:
        return false;
    }
}

struct QtKeyCode {
    int qtKey;
    int virtualKey;
};

// Keys that keep their code whatever the keypad flag says.
constexpr QtKeyCode CommonQtKeys[] = {
    {Qt::Key_Escape, vk::Escape},
    {Qt::Key_Tab, vk::Tab},
    {Qt::Key_Backtab, vk::Tab},
    {Qt::Key_Backspace, vk::Back},
    {Qt::Key_Return, vk::Return},
    {Qt::Key_Enter, vk::Return},
    {Qt::Key_Insert, vk::Insert},
    {Qt::Key_Delete, vk::Delete},
    {Qt::Key_Pause, vk::Pause},
    {Qt::Key_Print, vk::Snapshot},
    {Qt::Key_SysReq, vk::Snapshot},
    {Qt::Key_Clear, vk::Clear},
    {Qt::Key_Home, vk::Home},
    {Qt::Key_End, vk::End},
    {Qt::Key_Left, vk::Left},
    {Qt::Key_Up, vk::Up},
    {Qt::Key_Right, vk::Right},
    {Qt::Key_Down, vk::Down},
    {Qt::Key_PageUp, vk::Prior},
    {Qt::Key_PageDown, vk::Next},
    {Qt::Key_Shift, vk::Shift},
    {Qt::Key_Control, vk::Control},
    {Qt::Key_Alt, vk::Menu},
    {Qt::Key_Meta, vk::LeftWin},
    {Qt::Key_Super_L, vk::LeftWin},
    {Qt::Key_Super_R, vk::RightWin},
    {Qt::Key_Menu, vk::Apps},
    {Qt::Key_CapsLock, vk::Capital},
    {Qt::Key_NumLock, vk::NumLock},
    {Qt::Key_ScrollLock, vk::Scroll},
    {Qt::Key_Space, vk::Space},
    {Qt::Key_VolumeMute, vk::VolumeMute},
    {Qt::Key_VolumeDown, vk::VolumeDown},
    {Qt::Key_VolumeUp, vk::VolumeUp},
    {Qt::Key_MediaNext, vk::MediaNextTrack},
    {Qt::Key_MediaPrevious, vk::MediaPrevTrack},
    {Qt::Key_MediaStop, vk::MediaStop},
    {Qt::Key_MediaPlay, vk::MediaPlayPause},
    {Qt::Key_MediaTogglePlayPause, vk::MediaPlayPause},
    {Qt::Key_MediaPause, vk::MediaPlayPause},
    {Qt::Key_Back, vk::BrowserBack},
    {Qt::Key_Forward, vk::BrowserForward},
    {Qt::Key_Refresh, vk::BrowserRefresh},
    {Qt::Key_Stop, vk::BrowserStop},
    {Qt::Key_Search, vk::BrowserSearch},
    {Qt::Key_Favorites, vk::BrowserFavorites},
    {Qt::Key_HomePage, vk::BrowserHome},
    {Qt::Key_LaunchMail, vk::LaunchMail},
    {Qt::Key_LaunchMedia, vk::LaunchMediaSelect},
    {Qt::Key_Launch0, vk::LaunchApp1}, // "My Computer"
    {Qt::Key_Explorer, vk::LaunchApp1},
    {Qt::Key_Launch1, vk::LaunchApp2},
    {Qt::Key_Calculator, vk::LaunchApp2},
    {Qt::Key_Sleep, vk::Sleep},
    {Qt::Key_Help, vk::Help},
};

// The keypad's own keys.
constexpr QtKeyCode KeypadQtKeys[] = {
    {Qt::Key_Asterisk, vk::Multiply}, {Qt::Key_Plus, vk::Add},       {Qt::Key_Minus, vk::Subtract},
    {Qt::Key_Slash, vk::Divide},      {Qt::Key_Period, vk::Decimal}, {Qt::Key_Comma, vk::Decimal},
};

// Punctuation and shifted digits where a US layout has them.
constexpr QtKeyCode MainQtKeys[] = {
    {Qt::Key_Minus, vk::OemMinus},    {Qt::Key_Underscore, vk::OemMinus},
    {Qt::Key_Equal, vk::OemPlus},     {Qt::Key_Plus, vk::OemPlus},
    {Qt::Key_BracketLeft, vk::Oem4},  {Qt::Key_BraceLeft, vk::Oem4},
    {Qt::Key_BracketRight, vk::Oem6}, {Qt::Key_BraceRight, vk::Oem6},
    {Qt::Key_Backslash, vk::Oem5},    {Qt::Key_Bar, vk::Oem5},
    {Qt::Key_Semicolon, vk::Oem1},    {Qt::Key_Colon, vk::Oem1},
    {Qt::Key_Apostrophe, vk::Oem7},   {Qt::Key_QuoteDbl, vk::Oem7},
    {Qt::Key_QuoteLeft, vk::Oem3},    {Qt::Key_AsciiTilde, vk::Oem3},
    {Qt::Key_Comma, vk::OemComma},    {Qt::Key_Less, vk::OemComma},
    {Qt::Key_Period, vk::OemPeriod},  {Qt::Key_Greater, vk::OemPeriod},
    {Qt::Key_Slash, vk::Oem2},        {Qt::Key_Question, vk::Oem2},
    {Qt::Key_Exclam, digit(1)},       {Qt::Key_At, digit(2)},
    {Qt::Key_NumberSign, digit(3)},   {Qt::Key_Dollar, digit(4)},
    {Qt::Key_Percent, digit(5)},      {Qt::Key_AsciiCircum, digit(6)},
    {Qt::Key_Ampersand, digit(7)},    {Qt::Key_Asterisk, digit(8)},
    {Qt::Key_ParenLeft, digit(9)},    {Qt::Key_ParenRight, digit(0)},
};

template <std::size_t N> int lookUp(const QtKeyCode (&table)[N], int qtKey) {
    for (const QtKeyCode& entry : table) {
        if (entry.qtKey == qtKey) {
            return entry.virtualKey;
        }
    }
    return 0;
}

bool isDigitKey(int qtKey) {
    return qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9;
}

int keypadVirtualKey(int qtKey) {
    if (isDigitKey(qtKey)) {
        return numpad(qtKey - Qt::Key_0);
    }
    return lookUp(KeypadQtKeys, qtKey);
}

int mainVirtualKey(int qtKey) {
    if (isDigitKey(qtKey) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
        return qtKey; // Qt and Windows both use the ASCII code of the digit or capital
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return function(1 + qtKey - Qt::Key_F1);
    }
    return lookUp(MainQtKeys, qtKey);
}

} // namespace

int virtualKeyFromScanCode(uint32_t x11KeyCode, int qtKey) {
    if (x11KeyCode >= X11KeyCodeCount || RowsByKeyCode[x11KeyCode] < 0) {
        return 0;
    }
    const PhysicalKey& key = PhysicalKeys[RowsByKeyCode[x11KeyCode]];
    if (key.withoutNumLock != 0 && isNavigationKey(qtKey)) {
        return key.withoutNumLock;
    }
    return key.virtualKey;
}

int virtualKeyFromQtKey(int qtKey, bool keypad) {
    if (keypad) {
        if (const int code = keypadVirtualKey(qtKey); code != 0) {
            return code;
        }
    }
    if (const int code = lookUp(CommonQtKeys, qtKey); code != 0) {
        return code;
    }
    return mainVirtualKey(qtKey);
}

int virtualKeyFromEvent(const QKeyEvent& event) {
    const int fromPosition = virtualKeyFromScanCode(event.nativeScanCode(), event.key());
    if (fromPosition != 0) {
        return fromPosition;
    }
    return virtualKeyFromQtKey(event.key(), (event.modifiers() & Qt::KeypadModifier) != 0);
}

int HeldKeyCodes::pressed(const QKeyEvent& event) {
    const int code = virtualKeyFromEvent(event);
    if (const uint32_t key = event.nativeScanCode(); key != 0 && key < codeAtPress_.size()) {
        codeAtPress_[key] = code;
    }
    return code;
}

int HeldKeyCodes::released(const QKeyEvent& event) const {
    if (const uint32_t key = event.nativeScanCode(); key != 0 && key < codeAtPress_.size()) {
        if (codeAtPress_[key] != 0) {
            return codeAtPress_[key];
        }
    }
    return virtualKeyFromEvent(event);
}

} // namespace ladoton
