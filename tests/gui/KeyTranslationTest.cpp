#include "platform/KeyTranslation.h"
#include "TestDialog.h"
#include "keys/VirtualKeys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace ladoton;
using namespace ladoton::testing;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A physical key: its X11 key code, the Qt key it gives on a US and on a Russian layout,
// and the code Windows gives it on a US layout.
struct PositionCase {
    const char* name;
    uint32_t x11KeyCode;
    int usKey;
    int russianKey;
    int virtualKey;
    bool keypad = false;
};

// Every key of the key table; the keypad with Num Lock on.
const PositionCase KeyTableKeys[] = {
    {"Tab", 23, Qt::Key_Tab, Qt::Key_Tab, vk::Tab},
    {"Q", 24, Qt::Key_Q, 0x419, 'Q'}, // Й
    {"2", 11, Qt::Key_2, Qt::Key_2, '2'},
    {"W", 25, Qt::Key_W, 0x426, 'W'}, // Ц
    {"3", 12, Qt::Key_3, Qt::Key_3, '3'},
    {"E", 26, Qt::Key_E, 0x423, 'E'}, // У
    {"R", 27, Qt::Key_R, 0x41A, 'R'}, // К
    {"5", 14, Qt::Key_5, Qt::Key_5, '5'},
    {"T", 28, Qt::Key_T, 0x415, 'T'}, // Е
    {"6", 15, Qt::Key_6, Qt::Key_6, '6'},
    {"Y", 29, Qt::Key_Y, 0x41D, 'Y'}, // Н
    {"7", 16, Qt::Key_7, Qt::Key_7, '7'},
    {"U", 30, Qt::Key_U, 0x413, 'U'}, // Г
    {"8", 17, Qt::Key_8, Qt::Key_8, '8'},
    {"I", 31, Qt::Key_I, 0x428, 'I'}, // Ш
    {"9", 18, Qt::Key_9, Qt::Key_9, '9'},
    {"O", 32, Qt::Key_O, 0x429, 'O'}, // Щ
    {"0", 19, Qt::Key_0, Qt::Key_0, '0'},
    {"P", 33, Qt::Key_P, 0x417, 'P'},                           // З
    {"[", 34, Qt::Key_BracketLeft, 0x425, vk::Oem4},            // Х
    {"=", 21, Qt::Key_Equal, Qt::Key_Equal, vk::OemPlus},       //
    {"]", 35, Qt::Key_BracketRight, 0x42A, vk::Oem6},           // Ъ
    {"\\", 51, Qt::Key_Backslash, Qt::Key_Backslash, vk::Oem5}, //
    {"Enter", 36, Qt::Key_Return, Qt::Key_Return, vk::Return},  //
    {"Backspace", 22, Qt::Key_Backspace, Qt::Key_Backspace, vk::Back},
    {"Delete", 119, Qt::Key_Delete, Qt::Key_Delete, vk::Delete},
    {"End", 115, Qt::Key_End, Qt::Key_End, vk::End},
    {"Home", 110, Qt::Key_Home, Qt::Key_Home, vk::Home},
    {"Page Down", 117, Qt::Key_PageDown, Qt::Key_PageDown, vk::Next},
    {"Page Up", 112, Qt::Key_PageUp, Qt::Key_PageUp, vk::Prior},
    {"keypad 7", 79, Qt::Key_7, Qt::Key_7, vk::Numpad0 + 7, true},
    {"keypad 8", 80, Qt::Key_8, Qt::Key_8, vk::Numpad0 + 8, true},
    {"keypad /", 106, Qt::Key_Slash, Qt::Key_Slash, vk::Divide, true},
    {"keypad 9", 81, Qt::Key_9, Qt::Key_9, vk::Numpad0 + 9, true},
    {"keypad *", 63, Qt::Key_Asterisk, Qt::Key_Asterisk, vk::Multiply, true},
    {"keypad +", 86, Qt::Key_Plus, Qt::Key_Plus, vk::Add, true},
    {"keypad -", 82, Qt::Key_Minus, Qt::Key_Minus, vk::Subtract, true},
    {"M", 58, Qt::Key_M, 0x42C, 'M'}, // Ь
    {"keypad 6", 85, Qt::Key_6, Qt::Key_6, vk::Numpad0 + 6, true},
};

// The command keys and keys whose Russian character sits elsewhere on a US layout.
const PositionCase OtherKeys[] = {
    {"Space", 65, Qt::Key_Space, Qt::Key_Space, vk::Space},
    {"Z", 52, Qt::Key_Z, 0x42F, 'Z'}, // Я
    {"X", 53, Qt::Key_X, 0x427, 'X'}, // Ч
    {"left Shift", 50, Qt::Key_Shift, Qt::Key_Shift, vk::Shift},
    {"right Shift", 62, Qt::Key_Shift, Qt::Key_Shift, vk::Shift},
    {"left Ctrl", 37, Qt::Key_Control, Qt::Key_Control, vk::Control},
    {"right Ctrl", 105, Qt::Key_Control, Qt::Key_Control, vk::Control},
    {"left Alt", 64, Qt::Key_Alt, Qt::Key_Alt, vk::Menu},
    {"Up", 111, Qt::Key_Up, Qt::Key_Up, vk::Up},
    {"Down", 116, Qt::Key_Down, Qt::Key_Down, vk::Down},
    {"Left", 113, Qt::Key_Left, Qt::Key_Left, vk::Left},
    {"Right", 114, Qt::Key_Right, Qt::Key_Right, vk::Right},
    {"Escape", 9, Qt::Key_Escape, Qt::Key_Escape, vk::Escape},
    {"F1", 67, Qt::Key_F1, Qt::Key_F1, vk::F1},
    {"F5", 71, Qt::Key_F5, Qt::Key_F5, vk::F5},
    {"F11", 95, Qt::Key_F11, Qt::Key_F11, vk::F1 + 10},
    {"F12", 96, Qt::Key_F12, Qt::Key_F12, vk::F1 + 11},
    {"digit 1", 10, Qt::Key_1, Qt::Key_1, '1'},
    {"digit 4", 13, Qt::Key_4, Qt::Key_4, '4'},
    {"-", 20, Qt::Key_Minus, Qt::Key_Minus, vk::OemMinus},
    {";", 47, Qt::Key_Semicolon, 0x416, vk::Oem1},      // Ж
    {"'", 48, Qt::Key_Apostrophe, 0x42D, vk::Oem7},     // Э
    {"`", 49, Qt::Key_QuoteLeft, 0x401, vk::Oem3},      // Ё
    {",", 59, Qt::Key_Comma, 0x411, vk::OemComma},      // Б
    {".", 60, Qt::Key_Period, 0x42E, vk::OemPeriod},    // Ю
    {"/", 61, Qt::Key_Slash, Qt::Key_Period, vk::Oem2}, // the Russian full stop
    {"ISO extra key", 94, Qt::Key_Less, Qt::Key_Slash, vk::Oem102},
    {"keypad Enter", 104, Qt::Key_Enter, Qt::Key_Enter, vk::Return, true},
    {"Caps Lock", 66, Qt::Key_CapsLock, Qt::Key_CapsLock, vk::Capital},
    {"Num Lock", 77, Qt::Key_NumLock, Qt::Key_NumLock, vk::NumLock},
    {"Print", 107, Qt::Key_Print, Qt::Key_Print, vk::Snapshot},
    {"Pause", 127, Qt::Key_Pause, Qt::Key_Pause, vk::Pause},
    {"Insert", 118, Qt::Key_Insert, Qt::Key_Insert, vk::Insert},
    {"left Win", 133, Qt::Key_Super_L, Qt::Key_Super_L, vk::LeftWin},
    {"Menu", 135, Qt::Key_Menu, Qt::Key_Menu, vk::Apps},
};

int translated(uint32_t x11KeyCode, int qtKey, bool keypad) {
    const QKeyEvent event(QEvent::KeyPress, qtKey, keypad ? Qt::KeypadModifier : Qt::NoModifier,
                          x11KeyCode, 0, 0);
    return virtualKeyFromEvent(event);
}

void expectSameCodeOnBothLayouts(const PositionCase& key) {
    EXPECT_EQ(translated(key.x11KeyCode, key.usKey, key.keypad), key.virtualKey)
        << key.name << " on a US layout";
    EXPECT_EQ(translated(key.x11KeyCode, key.russianKey, key.keypad), key.virtualKey)
        << key.name << " on a Russian layout";
}

} // namespace

TEST(KeyTranslation, EveryKeyOfTheKeyTableGivesItsCodeOnUsAndRussianLayouts) {
    for (const PositionCase& key : KeyTableKeys) {
        expectSameCodeOnBothLayouts(key);
    }
    // The cases above cover the whole table, row for row.
    const KeyTable table = initialKeyTable();
    ASSERT_EQ(std::size(KeyTableKeys), table.size());
    for (std::size_t row = 0; row < table.size(); ++row) {
        EXPECT_EQ(KeyTableKeys[row].virtualKey, table[row].keyCode) << "row " << row;
    }
}

TEST(KeyTranslation, CommandAndPunctuationKeysGiveTheirUsCodesOnBothLayouts) {
    for (const PositionCase& key : OtherKeys) {
        expectSameCodeOnBothLayouts(key);
    }
}

TEST(KeyTranslation, KeypadDigitsFollowNumLockAndOperatorsDoNot) {
    struct KeypadCase {
        uint32_t x11KeyCode;
        int numLockOnKey;
        int numLockOnCode;
        int numLockOffKey;
        int numLockOffCode;
    };
    const KeypadCase cases[] = {
        {79, Qt::Key_7, 103, Qt::Key_Home, vk::Home},
        {80, Qt::Key_8, 104, Qt::Key_Up, vk::Up},
        {81, Qt::Key_9, 105, Qt::Key_PageUp, vk::Prior},
        {83, Qt::Key_4, 100, Qt::Key_Left, vk::Left},
        {84, Qt::Key_5, 101, Qt::Key_Clear, vk::Clear},
        {85, Qt::Key_6, 102, Qt::Key_Right, vk::Right},
        {87, Qt::Key_1, 97, Qt::Key_End, vk::End},
        {88, Qt::Key_2, 98, Qt::Key_Down, vk::Down},
        {89, Qt::Key_3, 99, Qt::Key_PageDown, vk::Next},
        {90, Qt::Key_0, 96, Qt::Key_Insert, vk::Insert},
        {91, Qt::Key_Period, vk::Decimal, Qt::Key_Delete, vk::Delete},
        {91, Qt::Key_Comma, vk::Decimal, Qt::Key_Delete, vk::Delete}, // a Russian layout
        {106, Qt::Key_Slash, vk::Divide, Qt::Key_Slash, vk::Divide},
        {63, Qt::Key_Asterisk, vk::Multiply, Qt::Key_Asterisk, vk::Multiply},
        {82, Qt::Key_Minus, vk::Subtract, Qt::Key_Minus, vk::Subtract},
        {86, Qt::Key_Plus, vk::Add, Qt::Key_Plus, vk::Add},
        {104, Qt::Key_Enter, vk::Return, Qt::Key_Enter, vk::Return},
    };
    for (const KeypadCase& key : cases) {
        EXPECT_EQ(translated(key.x11KeyCode, key.numLockOnKey, true), key.numLockOnCode)
            << "X11 key " << key.x11KeyCode << " with Num Lock on";
        EXPECT_EQ(translated(key.x11KeyCode, key.numLockOffKey, true), key.numLockOffCode)
            << "X11 key " << key.x11KeyCode << " with Num Lock off";
    }
    // The grey navigation keys are not keypad keys: Num Lock leaves them alone.
    EXPECT_EQ(translated(110, Qt::Key_Home, false), vk::Home);
    EXPECT_EQ(translated(118, Qt::Key_Insert, false), vk::Insert);
}

TEST(KeyTranslation, UnknownPositionsFallBackToTheQtKey) {
    EXPECT_EQ(virtualKeyFromScanCode(0, Qt::Key_Q), 0);
    EXPECT_EQ(virtualKeyFromScanCode(255, Qt::Key_Q), 0);
    EXPECT_EQ(virtualKeyFromScanCode(100000, Qt::Key_Q), 0);
    // No scan code at all, as on the offscreen platform and for synthetic events.
    EXPECT_EQ(translated(0, Qt::Key_Q, false), 'Q');
    EXPECT_EQ(translated(0, Qt::Key_7, true), vk::Numpad0 + 7);
    EXPECT_EQ(translated(0, Qt::Key_7, false), '7');
    // A Cyrillic letter says nothing about where its key is.
    EXPECT_EQ(translated(0, 0x419, false), 0);
}

TEST(KeyTranslation, QtKeysReadAsAUsLayout) {
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_A, false), 'A');
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Z, false), 'Z');
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_0, false), '0');
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_0, true), vk::Numpad0);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_9, true), vk::Numpad0 + 9);
    // Shifted characters come from the key that types them.
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Exclam, false), '1');
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_ParenRight, false), '0');
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_BraceLeft, false), vk::Oem4);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Bar, false), vk::Oem5);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Underscore, false), vk::OemMinus);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Question, false), vk::Oem2);
    // The same characters on the keypad are the keypad's own keys.
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Plus, false), vk::OemPlus);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Plus, true), vk::Add);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Asterisk, false), '8');
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Asterisk, true), vk::Multiply);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Minus, true), vk::Subtract);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Slash, true), vk::Divide);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Period, true), vk::Decimal);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Home, true), vk::Home);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Enter, true), vk::Return);
    // Shift+Tab still is Tab.
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Backtab, false), vk::Tab);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_F1, false), vk::F1);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_F24, false), vk::F24);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Control, false), vk::Control);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_Escape, false), vk::Escape);
    EXPECT_EQ(virtualKeyFromQtKey(Qt::Key_unknown, false), 0);
}

TEST(KeyTranslation, MultimediaAndBrowserKeysGetTheirWindowsCodes) {
    struct Case {
        uint32_t x11KeyCode;
        int qtKey;
        int virtualKey;
    };
    const Case cases[] = {
        {166, Qt::Key_Back, vk::BrowserBack},
        {167, Qt::Key_Forward, vk::BrowserForward},
        {181, Qt::Key_Refresh, vk::BrowserRefresh},
        {136, Qt::Key_Stop, vk::BrowserStop},
        {225, Qt::Key_Search, vk::BrowserSearch},
        {164, Qt::Key_Favorites, vk::BrowserFavorites},
        {180, Qt::Key_HomePage, vk::BrowserHome},
        {121, Qt::Key_VolumeMute, vk::VolumeMute},
        {122, Qt::Key_VolumeDown, vk::VolumeDown},
        {123, Qt::Key_VolumeUp, vk::VolumeUp},
        {171, Qt::Key_MediaNext, vk::MediaNextTrack},
        {173, Qt::Key_MediaPrevious, vk::MediaPrevTrack},
        {174, Qt::Key_MediaStop, vk::MediaStop},
        {172, Qt::Key_MediaTogglePlayPause, vk::MediaPlayPause},
        {163, Qt::Key_LaunchMail, vk::LaunchMail},
        {234, Qt::Key_LaunchMedia, vk::LaunchMediaSelect},
        {165, Qt::Key_Launch0, vk::LaunchApp1},
        {148, Qt::Key_Calculator, vk::LaunchApp2},
        {150, Qt::Key_Sleep, vk::Sleep},
    };
    for (const Case& key : cases) {
        EXPECT_EQ(virtualKeyFromScanCode(key.x11KeyCode, key.qtKey), key.virtualKey)
            << key.x11KeyCode;
        EXPECT_EQ(virtualKeyFromQtKey(key.qtKey, false), key.virtualKey) << key.x11KeyCode;
    }
    EXPECT_EQ(vk::BrowserBack, 0xA6);
    EXPECT_EQ(vk::LaunchApp2, 0xB7);
}

TEST(KeyTranslation, KeysWithoutAWindowsCodeAreNoKey) {
    EXPECT_EQ(translated(232, Qt::Key_MonBrightnessDown, false), NoKey);
    EXPECT_EQ(translated(233, Qt::Key_MonBrightnessUp, false), NoKey);
    EXPECT_EQ(translated(124, Qt::Key_PowerOff, false), NoKey);
    EXPECT_EQ(translated(0, Qt::Key_WLAN, false), NoKey);
}

TEST(KeyTranslation, AReleaseEndsTheCodeOfItsPress) {
    HeldKeyCodes held;
    // Keypad 7 pressed with Num Lock on, released under Shift as Home.
    const QKeyEvent press(QEvent::KeyPress, Qt::Key_7, Qt::KeypadModifier, 79, 0, 0);
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_Home,
                            Qt::KeypadModifier | Qt::ShiftModifier, 79, 0, 0);
    EXPECT_EQ(held.pressed(press), vk::Numpad0 + 7);
    EXPECT_EQ(held.released(release), vk::Numpad0 + 7);
    EXPECT_EQ(held.released(release), vk::Numpad0 + 7);
    // A key whose press was not seen is translated as it comes.
    const QKeyEvent other(QEvent::KeyRelease, Qt::Key_PageUp, Qt::KeypadModifier, 81, 0, 0);
    EXPECT_EQ(held.released(other), vk::Prior);
}

namespace {

// Real key events sent to the focused edit of the real window, as Qt delivers X11 keys.
class WindowKeys : public ::testing::Test {
  protected:
    void SetUp() override { window.takeSent(); }

    bool send(QEvent::Type type, uint32_t x11KeyCode, int qtKey,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool autoRepeat = false) {
        QKeyEvent event(type, qtKey, modifiers, x11KeyCode, 0, 0, QString(), autoRepeat);
        return QApplication::sendEvent(window->melodyEdit, &event);
    }
    void tap(uint32_t x11KeyCode, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        send(QEvent::KeyPress, x11KeyCode, qtKey, modifiers);
        send(QEvent::KeyRelease, x11KeyCode, qtKey, modifiers);
    }

    TestDialog window;
};

} // namespace

TEST_F(WindowKeys, ARussianLayoutPlaysWhatAUsLayoutPlays) {
    tap(24, 0x419); // Й, where a US layout has Q
    EXPECT_EQ(window.keyboard().keyCodeText, "81");
    EXPECT_THAT(window.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    tap(34, 0x425); // Х, where a US layout has [
    EXPECT_EQ(window.keyboard().keyCodeText, "219");
    EXPECT_THAT(window.takeSent(), ElementsAre(noteOn(0x90, 65, 60), noteOn(0x90, 65, 0)));
    tap(61, Qt::Key_Period); // the Russian full stop, where a US layout has /
    EXPECT_EQ(window.keyboard().keyCodeText, "191");
    EXPECT_THAT(window.takeSent(), IsEmpty());
    EXPECT_EQ(window.keyboard().melodyText, "C2 F3 ");
}

// What reaches the window once no input method takes the keys: a dead key's press and
// release as they come from the X server, with no text.
TEST_F(WindowKeys, DeadKeysPlayTheKeyAtTheirPlaceAndTypeNothing) {
    tap(21, Qt::Key_Dead_Acute); // German layout, where a US layout has =
    tap(26, Qt::Key_E);
    tap(34, Qt::Key_Dead_Circumflex); // French layout, where a US layout has [
    tap(26, Qt::Key_E);
    EXPECT_THAT(window.takeSent(),
                ElementsAre(noteOn(0x90, 66, 60), noteOn(0x90, 66, 0), noteOn(0x90, 52, 60),
                            noteOn(0x90, 52, 0), noteOn(0x90, 65, 60), noteOn(0x90, 65, 0),
                            noteOn(0x90, 52, 60), noteOn(0x90, 52, 0)));
    EXPECT_EQ(window->melodyEdit->text(), QStringLiteral("F#3 E2 F3 E2 "));
}

// Qt's input contexts (compose, ibus) take a key, and commit text, only for a focus object
// that answers ImEnabled; the melody box has the focus after every note.
TEST_F(WindowKeys, NoWidgetOfTheWindowAcceptsAnInputMethod) {
    window.show();
    window->activateWindow();
    tap(24, Qt::Key_Q);
    ASSERT_EQ(QApplication::focusWidget(), window->melodyEdit);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.append(&window.dialog());
    for (QWidget* widget : widgets) {
        QInputMethodQueryEvent query(Qt::ImEnabled);
        QApplication::sendEvent(widget, &query);
        EXPECT_FALSE(query.value(Qt::ImEnabled).toBool()) << widget->metaObject()->className();
    }
}

TEST_F(WindowKeys, KeysWithoutAWindowsCodeAreNotPlayed) {
    // A row whose reassignment dialog was closed without a key holds code 0.
    window.keyboard().keyTable[1].keyCode = 0;
    tap(232, Qt::Key_MonBrightnessDown);
    EXPECT_THAT(window.takeSent(), IsEmpty());
    EXPECT_EQ(window.keyboard().keyCodeText, "");
    EXPECT_EQ(window.keyboard().melodyText, "");
    EXPECT_TRUE(window.keyboard().melody.empty());
    tap(148, Qt::Key_Calculator);
    EXPECT_EQ(window.keyboard().keyCodeText, "183");
}

TEST_F(WindowKeys, AHeldKeyPlaysOnceHoweverLongItRepeats) {
    EXPECT_TRUE(send(QEvent::KeyPress, 24, Qt::Key_Q));
    for (int repeat = 0; repeat < 5; ++repeat) {
        send(QEvent::KeyRelease, 24, Qt::Key_Q, Qt::NoModifier, true);
        send(QEvent::KeyPress, 24, Qt::Key_Q, Qt::NoModifier, true);
        EXPECT_EQ(window.keyboard().keyCodeText, "81");
    }
    send(QEvent::KeyRelease, 24, Qt::Key_Q);
    EXPECT_THAT(window.takeSent(), ElementsAre(noteOn(0x90, 48, 60), noteOn(0x90, 48, 0)));
    EXPECT_EQ(window.keyboard().melodyText, "C2 ");
    const Melody& melody = window.keyboard().melody;
    ASSERT_EQ(melody.size(), 2u);
    EXPECT_EQ(melody[0].keyCode, 81);
    EXPECT_EQ(melody[0].keyDown, 1);
    EXPECT_EQ(melody[1].keyCode, 81);
    EXPECT_EQ(melody[1].keyDown, 0);
}

TEST_F(WindowKeys, HeldUpStepsTheInstrumentAtEveryRepeat) {
    window.keyboard().currentProgram = 10;
    send(QEvent::KeyPress, 111, Qt::Key_Up);
    send(QEvent::KeyRelease, 111, Qt::Key_Up, Qt::NoModifier, true);
    send(QEvent::KeyPress, 111, Qt::Key_Up, Qt::NoModifier, true);
    send(QEvent::KeyRelease, 111, Qt::Key_Up);
    EXPECT_EQ(window.keyboard().currentProgram, 12);
    EXPECT_EQ(window.keyboard().keyCodeText, "38");
}

TEST_F(WindowKeys, KeypadSevenFollowsNumLock) {
    tap(79, Qt::Key_7, Qt::KeypadModifier);
    EXPECT_EQ(window.keyboard().keyCodeText, "103");
    tap(79, Qt::Key_Home, Qt::KeypadModifier);
    EXPECT_EQ(window.keyboard().keyCodeText, "36");
    // Keypad 7 is "+E" (offset 28), Home "+C#" (offset 25), from C2 = 48.
    EXPECT_THAT(window.takeSent(), ElementsAre(noteOn(0x90, 76, 60), noteOn(0x90, 76, 0),
                                               noteOn(0x90, 73, 60), noteOn(0x90, 73, 0)));
}

TEST_F(WindowKeys, AKeypadKeyReleasedUnderShiftEndsItsNote) {
    send(QEvent::KeyPress, 79, Qt::Key_7, Qt::KeypadModifier);
    send(QEvent::KeyPress, 50, Qt::Key_Shift, Qt::ShiftModifier);
    send(QEvent::KeyRelease, 79, Qt::Key_Home, Qt::KeypadModifier | Qt::ShiftModifier);
    send(QEvent::KeyRelease, 50, Qt::Key_Shift);
    EXPECT_THAT(window.takeSent(), ElementsAre(noteOn(0x90, 76, 60), noteOn(0x90, 76, 0)));
    EXPECT_EQ(window.keyboard().keyStates[vk::Numpad0 + 7].pressed, 0);
    EXPECT_EQ(window.keyboard().keyStates[vk::Home].pressed, 0);
}

TEST_F(WindowKeys, EventsWithoutAScanCodeAreReadFromTheQtKey) {
    tap(0, Qt::Key_6, Qt::KeypadModifier);
    EXPECT_EQ(window.keyboard().keyCodeText, "102");
    EXPECT_THAT(window.takeSent(), ElementsAre(noteOn(0x90, 83, 60), noteOn(0x90, 83, 0)));
}
