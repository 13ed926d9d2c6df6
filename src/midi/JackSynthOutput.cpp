#include "midi/JackSynthOutput.h"

#include "midi/JackSession.h"

namespace ladoton {

namespace {

class JackSynthOutput final : public SynthOutput, private JackMidiClient::AudioSource {
  public:
    JackSynthOutput(std::shared_ptr<JackMidiClient> client, RestingRenderer& renderer)
        : client_(std::move(client)), renderer_(renderer) {}
    ~JackSynthOutput() override { client_->closeAudio(); }
    JackSynthOutput(const JackSynthOutput&) = delete;
    JackSynthOutput& operator=(const JackSynthOutput&) = delete;

    bool open() { return client_->openAudio(*this); }

  private:
    void render(float* left, float* right, unsigned frames) override {
        renderer_.process({left, right, static_cast<int>(frames), 1});
    }

    std::shared_ptr<JackMidiClient> client_;
    RestingRenderer& renderer_;
};

} // namespace

std::unique_ptr<SynthOutput> openJackSynthOutput(JackSession& session, RestingRenderer& renderer,
                                                 int sampleRate) {
    std::shared_ptr<JackMidiClient> client = session.client();
    if (client == nullptr || client->sampleRate() != static_cast<unsigned>(sampleRate)) {
        return nullptr;
    }
    auto output = std::make_unique<JackSynthOutput>(std::move(client), renderer);
    if (!output->open()) {
        return nullptr;
    }
    return output;
}

} // namespace ladoton
