#pragma once

#include "app/ProgramState.h"
#include "platform/Clock.h"
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
class QPushButton;
class QSlider;

namespace ladoton {

struct BoundControls;
class ClientSurface;
class KeyRouter;
class KeyboardCanvas;
class KeyboardOverlay;
class SpinArrows;
class TrackBar;
class WindowTimers;

// Window timers by the ids the timer handler knows them by.
inline constexpr int StepTimer = 0;
inline constexpr int MetronomeTimer = 2;
inline constexpr int RepaintTimer = 3;

// Menu command ids.
namespace command {
inline constexpr int KeyHelp = 32771;
inline constexpr int About = 32772;
inline constexpr int Open = 32774;
inline constexpr int Save = 32775;
inline constexpr int Exit = 32776;
inline constexpr int StartPlayback = 32777;
inline constexpr int StopPlayback = 32778;
inline constexpr int ResetMelody = 32779;
inline constexpr int ExportMidi = 32780;
} // namespace command

// The main window: the piano, its controls and everything they drive.
class KeyboardDialog : public QDialog {
    Q_OBJECT

  public:
    struct Seams {
        Clock& clock;
        Prompts& prompts;
        // Where the settings are read from and written to.
        std::filesystem::path settingsFile;
    };

    KeyboardDialog(ProgramState& state, Seams seams, QWidget* parent = nullptr);
    ~KeyboardDialog() override;

    // Initialisation and the modal run (OnInitDialog, then exec).
    int DoModal();
    bool OnInitDialog();

    // Data exchange: read = controls into members, write = members into controls.
    void DoDataExchange(bool read);
    bool UpdateData(bool read = true);

    bool OnCommand(int id);
    void OnClose();
    void OnTimer(int id);

    // Key handling.
    void pressKey(int keyCode);
    void releaseKey(int keyCode);
    void clickPianoKey(int row);
    void reassignKey(int row);

    void releaseAllKeys();
    // The window lost the keyboard to another window, a popup menu or a modal box.
    void keyboardLost();
    // Ends every note the key's press started (a key bound to two rows started two).
    void endNotes(KeyState& key);
    void RedrawKeyboard();
    void collapseWindow();

    // Melody.
    void appendEvent(int keyCode, uint8_t keyDown);
    void resetMelody();
    void startPlayback();
    void stopPlayback();
    void saveMelody();
    void loadMelody();
    void exportMidi();

    // Painting of the piano keys.
    void DrawKeyboard();
    // Composes one key off-screen (src/render); the drawing objects are made at first use.
    void DrawKey(const QFont* font, int keyCode, int row);
    KeyboardCanvas& canvas();

    void OnKeyHelp();
    void OnAbout();

    void showDeviceMenu(QPoint clientPoint);

    // Value members, in data-exchange order.
    std::string melodyText;
    std::string keyCodeText;
    int amplitude = 60;
    std::string heldNotesText;
    int instrument = 0;
    int octave = 4;
    int transposition = 0;
    std::string intervalText;
    std::string octaveLabel1;
    std::string octaveLabel2;
    std::string octaveLabel3;
    int channel = 1;
    int randomInstrument = 0;
    unsigned maxInstrument = 127;
    int metronomeOn = 0;
    int tempo = 120;
    unsigned tempoText = 0;
    int accentOn = 0;
    int repaintCount = 0;

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

    ProgramState& state() { return state_; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void buildWindow();
    void layOut(const DialogUnits& units);
    void buildMenu();
    void connectControls();
    void setTimer(int id, int periodMs);
    void killTimer(int id);
    void onAmplitudeDraw();
    void onInstrumentDraw();
    void onMaxInstrumentDraw();
    void onTempoDraw();
    void onChannelDelta(int delta);
    void onSurfacePaint();
    void runMenuCommand(int id);
    void markAllForRepaint();
    void playbackStep();
    void metronomeClick();
    void randomProgramChange();
    void updateHeldNotes();
    void readSettings();
    void writeSettings();
    bool isCtrlHeld() const;
    // No tick of the step or repaint timer would change anything until the next event.
    bool nothingToDo() const;

    ProgramState& state_;
    Clock& clock_;
    Prompts& prompts_;
    std::filesystem::path settingsFile_;
    MidiOut& midiOut_;
    KeyTable& keyTable_;
    KeyStates& keyStates_;
    Melody& melody_;
    PlaybackState& playback_;

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
};

} // namespace ladoton
