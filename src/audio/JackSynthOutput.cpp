#include "audio/JackSynthOutput.h"

#include "ports/JackAudioOutput.h"
#include "ports/JackClient.h"

namespace ladoton {

namespace {

class JackSynthOutput final : public SynthOutput, private JackAudioOutput::Source {
  public:
    JackSynthOutput(JackAudioOutput& ports, RestingRenderer& renderer)
        : ports_(ports), renderer_(renderer) {}
    ~JackSynthOutput() override { ports_.close(); }
    JackSynthOutput(const JackSynthOutput&) = delete;
    JackSynthOutput& operator=(const JackSynthOutput&) = delete;

    bool open() { return ports_.open(*this); }

  private:
    void render(float* left, float* right, unsigned frames) override {
        renderer_.process({left, right, static_cast<int>(frames), 1});
    }

    JackAudioOutput& ports_;
    RestingRenderer& renderer_;
};

} // namespace

std::unique_ptr<SynthOutput> openJackSynthOutput(JackClient& client, RestingRenderer& renderer,
                                                 int sampleRate) {
    if (!client.reach() || client.sampleRate() != static_cast<unsigned>(sampleRate)) {
        return nullptr;
    }
    auto output = std::make_unique<JackSynthOutput>(client.audioOutput(), renderer);
    if (!output->open()) {
        return nullptr;
    }
    return output;
}

} // namespace ladoton
