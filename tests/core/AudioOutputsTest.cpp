#include "audio/AudioOutputs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace ladoton {
namespace {

using ::testing::ElementsAre;
using Names = std::vector<std::string>;

struct Opened final : SynthOutput {
    explicit Opened(std::string name) : name(std::move(name)) {}
    std::string name;
};

// A table whose rows answer as given, and which remembers what was asked of it.
struct Table {
    Names tried;
    Names asked; // whose availability was asked
    AudioOutputs rows;

    void add(const std::string& name, bool available, bool opens) {
        rows.push_back({name,
                        [=, this] {
                            asked.push_back(name);
                            return available;
                        },
                        [=, this]() -> std::unique_ptr<SynthOutput> {
                            tried.push_back(name);
                            return opens ? std::make_unique<Opened>(name) : nullptr;
                        }});
    }
    std::string open(const Names& wanted, bool named, std::string* told = nullptr) {
        const auto output = openFirstAudioOutput(rows, wanted, named,
                                                 [&](const std::string& line) { *told = line; });
        return output ? static_cast<Opened&>(*output).name : "";
    }
};

// PipeWire's own stream comes first: through PulseAudio's layer the same desktop answers a
// key ten times slower. The outputs wanted are tried in their order, a machine's missing ones
// passed over (and named, when the user named them, with those it has), one that does not
// open giving way to the next.
TEST(AudioOutputs, TheFirstWantedOutputThatOpensPlaysAndTheMissingOnesAreNamed) {
    EXPECT_EQ(defaultAudioDrivers(), (Names{"pipewire", "pulseaudio", "alsa", "jack"}));
    Table table;
    table.add("pipewire", false, true);
    table.add("pulseaudio", true, false);
    table.add("alsa", true, true);
    table.add("jack", true, true);
    EXPECT_EQ(table.open(defaultAudioDrivers(), false), "alsa");
    EXPECT_THAT(table.tried, ElementsAre("pulseaudio", "alsa"));
    EXPECT_THAT(table.asked, ElementsAre("pipewire", "pulseaudio", "alsa", "jack"));

    std::string told;
    EXPECT_EQ(table.open({"oss", "pipewire", "jack"}, true, &told), "jack");
    EXPECT_EQ(told, "ladoton: нет звуковых драйверов oss, pipewire; есть: pulseaudio, alsa, jack");
    told.clear();
    EXPECT_EQ(table.open({"sndio"}, false, &told), "");
    EXPECT_EQ(told, ""); // not named by the user: not told
    Table none;
    EXPECT_EQ(none.open({"oss"}, true, &told), "");
    EXPECT_EQ(told, "ladoton: нет звукового драйвера oss; есть: никаких");
}

} // namespace
} // namespace ladoton
