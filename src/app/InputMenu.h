#pragma once

#include <QString>

#include <filesystem>

class QAction;
class QMenu;
class QWidget;

namespace ladoton {

class Keyboard;
class MidiInput;
class Prompts;

// The device menu's second part: the source of the MIDI input, chosen among the system's
// readable MIDI ports, or none. The choice is kept in `choiceFile` for the next run.
class InputMenu {
  public:
    InputMenu(MidiInput& input, std::filesystem::path choiceFile)
        : input_(input), choiceFile_(std::move(choiceFile)) {}

    // Appends the part to `menu`, listing the sources present now.
    void addTo(QMenu& menu);
    // Carries out `action` when it is one of this part's; false when it is not.
    bool run(QAction* action, Keyboard& keyboard, Prompts& prompts, QWidget* window);

  private:
    MidiInput& input_;
    std::filesystem::path choiceFile_;
};

} // namespace ladoton
