#include "midi/RestingRenderer.h"

#include <cmath>

namespace ladoton {

namespace {

void silence(const StereoBlock& block) {
    for (int frame = 0; frame < block.frames; ++frame) {
        block.left[frame * block.step] = 0;
        block.right[frame * block.step] = 0;
    }
}

} // namespace

RestingRenderer::RestingRenderer(SoundSource& source, Clock& clock, uint32_t restAfterMs)
    : source_(source), clock_(clock), restAfterMs_(restAfterMs), lastHeard_(clock.tickCount()) {}

bool RestingRenderer::process(const StereoBlock& block) {
    const uint32_t now = clock_.tickCount();
    if (woken_.exchange(false)) {
        lastHeard_ = now;
        resting_.store(false);
    }
    if (resting_.load()) {
        silence(block);
        return false;
    }
    source_.render(block);
    if (source_.sounding() || heard(block)) {
        lastHeard_ = now;
        return true;
    }
    if (now - lastHeard_ < restAfterMs_) {
        return true;
    }
    // A wake between these two steps is seen by the second: the note it brought is not left
    // waiting for another one.
    resting_.store(true);
    if (woken_.exchange(false)) {
        lastHeard_ = now;
        resting_.store(false);
        return true;
    }
    return false;
}

void RestingRenderer::wake() {
    woken_.store(true);
    resting_.store(false);
}

bool RestingRenderer::heard(const StereoBlock& block) const {
    for (int frame = 0; frame < block.frames; ++frame) {
        if (std::fabs(block.left[frame * block.step]) >= Silence ||
            std::fabs(block.right[frame * block.step]) >= Silence) {
            return true;
        }
    }
    return false;
}

} // namespace ladoton
