#include "audio/AudioDrivers.h"

#include <gtest/gtest.h>

namespace ladoton {
namespace {

using Names = std::vector<std::string>;

// PipeWire's own stream comes first: through PulseAudio's layer the same desktop answers a
// key ten times slower.
TEST(AudioDrivers, PipeWireFirstAndWhatIsMissingNamedWithWhatThereIs) {
    EXPECT_EQ(defaultAudioDrivers(), (Names{"pipewire", "pulseaudio", "alsa", "jack"}));

    const Names available{"pulseaudio", "alsa", "jack", "file"};
    const AudioDriverChoice choice = chooseAudioDrivers({"jack", "pipewire", "alsa"}, available);
    EXPECT_EQ(choice.toTry, (Names{"jack", "alsa"}));
    EXPECT_EQ(choice.missing, Names{"pipewire"});
    EXPECT_EQ(missingDriversMessage(choice.missing, available),
              "ladoton: нет звукового драйвера pipewire; есть: pulseaudio, alsa, jack, file");
    EXPECT_EQ(missingDriversMessage({"oss", "sndio"}, {}),
              "ladoton: нет звуковых драйверов oss, sndio; есть: никаких");
}

} // namespace
} // namespace ladoton
