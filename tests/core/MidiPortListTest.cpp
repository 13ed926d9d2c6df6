#include "ports/MidiPortList.h"

#include <gtest/gtest.h>

using namespace ladoton;

namespace {

using Names = std::vector<std::string>;

Names namesOf(const std::vector<MidiPort>& ports) {
    Names names;
    for (const MidiPort& port : ports) {
        names.push_back(port.name);
    }
    return names;
}

} // namespace

TEST(MidiPortList, OwnPortsComeAfterEveryListedPortSoTheListedIndicesStay) {
    const Names alsa{"Synth:in", "Piano:in"};
    const Names jack{"monitor:input"};
    const auto withSystems = listMidiPorts(alsa, jack);
    EXPECT_EQ(namesOf(withSystems), (Names{"Synth:in", "Piano:in", "monitor:input",
                                           "Порт ALSA: Ладотон", "Порт JACK: Ладотон"}));

    // Another program's port keeps its number in its own system, which is what is opened.
    EXPECT_EQ(withSystems[1].system, MidiSystem::Alsa);
    EXPECT_EQ(withSystems[1].number, 1U);
    EXPECT_FALSE(withSystems[1].own);
    EXPECT_EQ(withSystems[2].system, MidiSystem::Jack);
    EXPECT_EQ(withSystems[2].number, 0U);
    EXPECT_FALSE(withSystems[2].own);
    EXPECT_EQ(withSystems[3].system, MidiSystem::Alsa);
    EXPECT_TRUE(withSystems[3].own);
    EXPECT_EQ(withSystems[4].system, MidiSystem::Jack);
    EXPECT_TRUE(withSystems[4].own);
}

TEST(MidiPortList, AnAbsentSystemHasNoOwnPortAndMovesNoOtherEntry) {
    const Names alsa{"Synth:in"};
    const Names jack{"monitor:input", "sampler:midi_in"};
    EXPECT_EQ(namesOf(listMidiPorts(std::nullopt, jack)),
              (Names{"monitor:input", "sampler:midi_in", "Порт JACK: Ладотон"}));
    EXPECT_EQ(namesOf(listMidiPorts(alsa, std::nullopt)),
              (Names{"Synth:in", "Порт ALSA: Ладотон"}));
    EXPECT_TRUE(listMidiPorts(std::nullopt, std::nullopt).empty());
}

TEST(MidiPortList, ASystemWithoutPortsStillOffersItsOwnPort) {
    // A JACK server with no MIDI input yet is where a user connects the own port first.
    const auto ports = listMidiPorts(Names{}, Names{});
    EXPECT_EQ(namesOf(ports), (Names{"Порт ALSA: Ладотон", "Порт JACK: Ладотон"}));
    EXPECT_TRUE(ports[0].own);
    EXPECT_TRUE(ports[1].own);
}
