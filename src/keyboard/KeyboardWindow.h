#pragma once

#include <filesystem>
#include <string>

namespace ladoton {

// The window's timers, by the ids the keyboard knows them by.
inline constexpr int StepTimer = 0;
inline constexpr int MetronomeTimer = 2;
inline constexpr int RepaintTimer = 3;

// The sliders whose positions the keyboard reads.
enum class Slider { Amplitude, Instrument, MaxInstrument, Tempo };

// Where the sliders stand when the window opens.
struct SliderPositions {
    int amplitude;
    int instrument;
    int maxInstrument;
    int tempo;
};

// What the keyboard needs of the window it is shown in. The keyboard calls each of these at
// the very point its rules touch the window, so a window sees the same exchanges, boxes and
// repaints in the same order whichever window it is.
class KeyboardWindow {
  public:
    virtual ~KeyboardWindow() = default;

    // Exchanges the keyboard's values with the controls: read = controls into values.
    virtual bool updateData(bool read) = 0;
    // The melody edit takes the focus with all its text selected.
    virtual void focusAndSelectMelodyEdit() = 0;
    // Gives the sliders and the channel arrows their ranges, and the sliders these positions.
    virtual void setUpControls(const SliderPositions& positions) = 0;
    virtual int sliderPosition(Slider slider) const = 0;
    virtual void setInstrumentSlider(int position) = 0;

    // (Re)starts the timer of id with the period.
    virtual void setTimer(int id, int periodMs) = 0;
    // Repaints the window at once.
    virtual void repaintNow() = 0;
    // Composes the keys marked for repaint and shows them.
    virtual void drawKeyboard() = 0;
    // Cuts off everything below the piano keys.
    virtual void collapseWindow() = 0;
    // Ends the window's run: accepted by the Exit command, rejected when it is closed.
    virtual void endRun(bool accepted) = 0;

    // A message box with one OK button.
    virtual void message(const std::string& caption, const std::string& text) = 0;
    // File dialogs starting in the current folder; an empty path when the user cancelled.
    virtual std::filesystem::path openFileName(const std::string& filter,
                                               const std::string& defaultSuffix) = 0;
    virtual std::filesystem::path saveFileName(const std::string& filter,
                                               const std::string& defaultSuffix) = 0;
    // The key reassignment dialog: the virtual-key code of the last key pressed in it, 0 when
    // none was.
    virtual int assignKey() = 0;
    virtual void showKeyHelp() = 0;
    virtual void showAbout() = 0;

    // Whether a screen reader listens; nothing is prepared for one while none does.
    virtual bool screenReaderListens() const { return false; }
    // Has the screen reader say the text.
    virtual void announce(const std::string& /*text*/) {}
};

} // namespace ladoton
