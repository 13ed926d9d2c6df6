#include "audio/AudioOutputs.h"

#include <algorithm>

namespace ladoton {

namespace {

std::string joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

const AudioOutput* rowOf(const AudioOutputs& table, const std::string& name) {
    const auto row = std::find_if(table.begin(), table.end(),
                                  [&](const AudioOutput& output) { return output.name == name; });
    return row != table.end() ? &*row : nullptr;
}

// The line for standard error naming the missing outputs and those there are instead.
std::string missingMessage(const std::vector<std::string>& missing, const AudioOutputs& table) {
    std::vector<std::string> available;
    for (const AudioOutput& output : table) {
        if (output.available()) {
            available.push_back(output.name);
        }
    }
    return "ladoton: " +
           std::string(missing.size() == 1 ? "нет звукового драйвера "
                                           : "нет звуковых драйверов ") +
           joined(missing) + "; есть: " + (available.empty() ? "никаких" : joined(available));
}

} // namespace

std::vector<std::string> defaultAudioDrivers() {
    return {"pipewire", "pulseaudio", "alsa", "jack"};
}

std::unique_ptr<SynthOutput>
openFirstAudioOutput(const AudioOutputs& table, const std::vector<std::string>& wanted, bool named,
                     const std::function<void(const std::string&)>& tell) {
    std::vector<const AudioOutput*> toTry;
    std::vector<std::string> missing;
    for (const std::string& name : wanted) {
        const AudioOutput* row = rowOf(table, name);
        if (row != nullptr && row->available()) {
            toTry.push_back(row);
        } else {
            missing.push_back(name);
        }
    }
    if (named && !missing.empty() && tell) {
        tell(missingMessage(missing, table));
    }
    for (const AudioOutput* row : toTry) {
        if (std::unique_ptr<SynthOutput> output = row->open()) {
            return output;
        }
    }
    return nullptr;
}

} // namespace ladoton
