#include "audio/PipeWireSynthOutput.h"

#include "audio/PipeWireOutput.h"

namespace ladoton {

namespace {

class PipeWireSynthOutput final : public SynthOutput {
  public:
    explicit PipeWireSynthOutput(std::unique_ptr<PipeWireOutput> stream)
        : stream_(std::move(stream)) {}
    void wake() override { stream_->wake(); }

  private:
    std::unique_ptr<PipeWireOutput> stream_;
};

} // namespace

std::unique_ptr<SynthOutput> openPipeWireOutput(RestingRenderer& renderer, int sampleRate,
                                                int quantum) {
    const PipeWireApi* api = pipeWire();
    if (api == nullptr) {
        return nullptr;
    }
    auto stream = PipeWireOutput::open(*api, renderer, {sampleRate, quantum});
    if (stream == nullptr) {
        return nullptr;
    }
    return std::make_unique<PipeWireSynthOutput>(std::move(stream));
}

} // namespace ladoton
