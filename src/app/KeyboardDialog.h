#pragma once

#include "keyboard/Keyboard.h"
#include "keyboard/KeyboardWindow.h"
#include "platform/Prompts.h"
#include "widgets/DialogUnits.h"

#include <QDialog>
#include <QRect>
#include <QString>
#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

class QCheckBox;
class QFont;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPainter;
class QPushButton;
class QSlider;

namespace ladoton {

struct BoundControls;
class ClientSurface;
class InputMenu;
class KeyRouter;
class KeyboardCanvas;
class KeyboardOverlay;
class ScreenReaderVoice;
class SpinArrows;
class TrackBar;
class WindowTimers;

// The main window: the piano and its controls, which show the keyboard and hand it what the
// user does.
class KeyboardDialog : public QDialog, public KeyboardWindow {
    Q_OBJECT

  public:
    KeyboardDialog(Keyboard& keyboard, Prompts& prompts, QWidget* parent = nullptr);
    ~KeyboardDialog() override;

    // Initialisation and the modal run (OnInitDialog, then exec).
    int DoModal();
    bool OnInitDialog();

    // Data exchange: read = controls into the keyboard's values, write = values into controls.
    void DoDataExchange(bool read);
    bool UpdateData(bool read = true);

    bool OnCommand(int id);
    void OnClose();
    void OnTimer(int id);

    Keyboard& keyboard() { return keyboard_; }
    const Keyboard& keyboard() const { return keyboard_; }

    // The keyboard's window.
    bool updateData(bool read) override { return UpdateData(read); }
    void focusAndSelectMelodyEdit() override;
    void setUpControls(const SliderPositions& positions) override;
    int sliderPosition(Slider slider) const override;
    void setInstrumentSlider(int position) override;
    void setTimer(int id, int periodMs) override;
    void repaintNow() override { repaint(); }
    void drawKeyboard() override { DrawKeyboard(); }
    void collapseWindow() override;
    void endRun(bool accepted) override;
    void message(const std::string& caption, const std::string& text) override;
    std::filesystem::path openFileName(const std::string& filter,
                                       const std::string& defaultSuffix) override;
    std::filesystem::path saveFileName(const std::string& filter,
                                       const std::string& defaultSuffix) override;
    int assignKey() override;
    void showKeyHelp() override;
    void showAbout() override;
    bool screenReaderListens() const override;
    void announce(const std::string& text) override;

    // Painting of the piano keys.
    void DrawKeyboard();
    // Composes one key off-screen (src/render); the drawing objects are made at first use.
    void DrawKey(const QFont* font, int keyCode, int row);
    KeyboardCanvas& canvas();

    void showDeviceMenu(QPoint clientPoint);
    // The device menu's part for the MIDI input; none without one.
    void setInputMenu(std::unique_ptr<InputMenu> menu);

    // Control members.
    QLabel* collapseMarker = nullptr;
    TrackBar* tempoSlider = nullptr;
    TrackBar* maxInstrumentSlider = nullptr;
    TrackBar* amplitudeSlider = nullptr;
    SpinArrows* channelSpin = nullptr;
    TrackBar* instrumentSlider = nullptr;
    QLineEdit* melodyEdit = nullptr;

    // Any control of the window by its id; nullptr when there is none.
    QWidget* control(int id) const;
    QPushButton* pianoButton(int id) const;
    QWidget* clientArea() const;
    // The dialog units of the window's font, which every control is placed in.
    const DialogUnits& units() const { return units_; }
    KeyboardOverlay& overlay() const { return *overlay_; }
    QMenuBar* menuBar() const { return menuBar_; }
    // Period of a running window timer in ms, 0 when it is not running.
    int timerPeriod(int id) const;
    // The step and repaint timers are running but wait for the next event to tick again.
    bool timersResting() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildWindow();
    void layOut(const DialogUnits& units);
    void buildMenu();
    void connectControls();
    void onSurfacePaint();
    // Composes one key with a painter that paints on the canvas's frame buffer.
    void composeKey(QPainter& painter, int keyCode, int row);

    Keyboard& keyboard_;
    Prompts& prompts_;
    const KeyTable& keyTable_;
    KeyStates& keyStates_;

    DialogUnits units_;
    QMenuBar* menuBar_ = nullptr;
    ClientSurface* client_ = nullptr;
    KeyboardOverlay* overlay_ = nullptr;
    KeyboardCanvas* canvas_ = nullptr; // a child object: deleted with the window
    KeyRouter* keyRouter_ = nullptr;
    std::unordered_map<int, QWidget*> controls_;
    // The data exchange's controls, found in controls_ at the first exchange.
    std::unique_ptr<BoundControls> bound_;
    std::vector<std::pair<QWidget*, QRect>> templateRects_; // in dialog units
    WindowTimers* timers_ = nullptr; // a child object: deleted with the window
    std::unique_ptr<InputMenu> inputMenu_;
    ScreenReaderVoice* voice_ = nullptr; // a child object: deleted with the window
};

} // namespace ladoton
