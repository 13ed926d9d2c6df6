#pragma once

namespace ladoton {

// Starts the program: the application object, the MIDI output and the main window
// run modally until it ends.
class KeyboardApp {
  public:
    KeyboardApp(int& argc, char** argv);
    bool InitInstance();

  private:
    int& argc_;
    char** argv_;
};

} // namespace ladoton
