#include "audio/AudioDrivers.h"

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

} // namespace

std::vector<std::string> defaultAudioDrivers() {
    return {"pipewire", "pulseaudio", "alsa", "jack"};
}

AudioDriverChoice chooseAudioDrivers(const std::vector<std::string>& wanted,
                                     const std::vector<std::string>& available) {
    AudioDriverChoice choice;
    for (const std::string& name : wanted) {
        const bool present = std::find(available.begin(), available.end(), name) != available.end();
        (present ? choice.toTry : choice.missing).push_back(name);
    }
    return choice;
}

std::string missingDriversMessage(const std::vector<std::string>& missing,
                                  const std::vector<std::string>& available) {
    return "ladoton: " +
           std::string(missing.size() == 1 ? "нет звукового драйвера "
                                           : "нет звуковых драйверов ") +
           joined(missing) + "; есть: " + (available.empty() ? "никаких" : joined(available));
}

} // namespace ladoton
