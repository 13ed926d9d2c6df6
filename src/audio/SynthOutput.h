#pragma once

namespace ladoton {

// The audio output a synthesizer plays on, rendering through its RestingRenderer.
class SynthOutput {
  public:
    virtual ~SynthOutput() = default;
    // After the renderer was woken: an output that stopped while it rested starts again.
    virtual void wake() {}
};

} // namespace ladoton
