#pragma once

#include "keyboard/ExchangedValues.h"
#include "keyboard/KeyboardWindow.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace ladoton::testing {

// A window without widgets: its controls are plain values, its boxes and dialogs are
// answered from a script, and it remembers what the keyboard asked of it.
class FakeKeyboardWindow final : public KeyboardWindow {
  public:
    explicit FakeKeyboardWindow(ExchangedValues& values) : values_(values) {}

    // What the controls hold; a test types into them by setting these.
    ExchangedValues controls;
    SliderPositions sliders{0, 0, 0, 0};
    int reads = 0;
    int writes = 0;
    // Every exchange in order: 'r' read, 'w' write, 'f' focus of the melody edit.
    std::string exchanges;
    int focusCount = 0;
    // The melody edit's selected text: all of it when it took the focus, none once it changed.
    std::string selectedMelodyText;
    bool controlsSetUp = false;
    std::map<int, int> timers; // period by timer id
    int repaints = 0;
    int draws = 0;
    int collapses = 0;
    std::vector<bool> runsEnded; // accepted or not, in order

    struct Shown {
        std::string caption;
        std::string text;
    };
    std::vector<Shown> messages;
    struct FileDialogShown {
        bool save;
        std::string filter;
        std::string defaultSuffix;
    };
    std::vector<FileDialogShown> fileDialogs;
    std::vector<std::filesystem::path> fileFolders; // the current folder each dialog starts in
    std::deque<std::filesystem::path> fileAnswers;  // empty path: cancelled
    std::deque<int> keyAnswers;
    int keyHelpCount = 0;
    int aboutCount = 0;
    bool screenReader = false;
    std::vector<std::string> announced;

    bool updateData(bool read) override {
        if (read) {
            values_ = controls;
            ++reads;
        } else {
            if (controls.melodyText != values_.melodyText) {
                selectedMelodyText.clear();
            }
            controls = values_;
            ++writes;
        }
        exchanges += read ? 'r' : 'w';
        return true;
    }
    void focusAndSelectMelodyEdit() override {
        ++focusCount;
        selectedMelodyText = controls.melodyText;
        exchanges += 'f';
    }
    // The sliders keep within the ranges the window gives them.
    void setUpControls(const SliderPositions& positions) override {
        sliders = {
            std::clamp(positions.amplitude, 1, 127), std::clamp(positions.instrument, 1, 128),
            std::clamp(positions.maxInstrument, 1, 127), std::clamp(positions.tempo, 20, 200)};
        controlsSetUp = true;
    }
    int sliderPosition(Slider slider) const override {
        switch (slider) {
        case Slider::Amplitude:
            return sliders.amplitude;
        case Slider::Instrument:
            return sliders.instrument;
        case Slider::MaxInstrument:
            return sliders.maxInstrument;
        case Slider::Tempo:
            return sliders.tempo;
        }
        return 0;
    }
    void setInstrumentSlider(int position) override {
        sliders.instrument = controlsSetUp ? std::clamp(position, 1, 128) : position;
    }
    void setTimer(int id, int periodMs) override { timers[id] = periodMs; }
    void repaintNow() override { ++repaints; }
    void drawKeyboard() override { ++draws; }
    void collapseWindow() override { ++collapses; }
    void endRun(bool accepted) override { runsEnded.push_back(accepted); }
    void message(const std::string& caption, const std::string& text) override {
        messages.push_back({caption, text});
    }
    std::filesystem::path openFileName(const std::string& filter,
                                       const std::string& defaultSuffix) override {
        return nextFile({false, filter, defaultSuffix});
    }
    std::filesystem::path saveFileName(const std::string& filter,
                                       const std::string& defaultSuffix) override {
        return nextFile({true, filter, defaultSuffix});
    }
    int assignKey() override {
        if (keyAnswers.empty()) {
            return 0;
        }
        const int code = keyAnswers.front();
        keyAnswers.pop_front();
        return code;
    }
    void showKeyHelp() override { ++keyHelpCount; }
    void showAbout() override { ++aboutCount; }
    bool screenReaderListens() const override { return screenReader; }
    void announce(const std::string& text) override { announced.push_back(text); }

  private:
    std::filesystem::path nextFile(FileDialogShown shown) {
        fileDialogs.push_back(std::move(shown));
        fileFolders.push_back(std::filesystem::current_path());
        if (fileAnswers.empty()) {
            return {};
        }
        std::filesystem::path answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }

    ExchangedValues& values_;
};

} // namespace ladoton::testing
