#include "audio/RestingRenderer.h"

#include <algorithm>
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

RestingRenderer::RestingRenderer(SoundSource& source, Clock& clock, uint32_t restAfterMs,
                                 int sampleRate)
    : source_(source), clock_(clock), restAfterMs_(restAfterMs), sampleRate_(sampleRate),
      fadeFrames_(sampleRate * FadeInMs / 1000), lastHeard_(clock.tickCount()),
      faded_(fadeFrames_) {}

bool RestingRenderer::process(const StereoBlock& block) {
    const uint32_t now = clock_.tickCount();
    if (interrupted(block, now)) {
        faded_ = 0;
        // The pause was the output's, not the synthesizer's: its sound has not gone on meanwhile.
        lastHeard_ = now;
    }
    lastAsked_ = now;
    if (woken_.exchange(false)) {
        lastHeard_ = now;
        resting_.store(false);
    }
    rendered_ = !resting_.load();
    if (!rendered_) {
        silence(block);
        return false;
    }
    source_.render(block);
    fadeIn(block);
    if (source_.sounding() || heard(block)) {
        lastHeard_ = now;
        return true;
    }
    if (now - lastHeard_ < restAfterMs_) {
        return true;
    }
    rendered_ = !rest(now);
    return rendered_;
}

bool RestingRenderer::rest(uint32_t now) {
    // A wake between these two steps is seen by the second: the note it brought is not left
    // waiting for another one.
    resting_.store(true);
    if (woken_.exchange(false)) {
        lastHeard_ = now;
        resting_.store(false);
        return false;
    }
    return true;
}

bool RestingRenderer::interrupted(const StereoBlock& block, uint32_t now) const {
    if (!rendered_) {
        return false; // at rest, or the first block: nothing was cut off
    }
    const auto blockMs = static_cast<uint32_t>(block.frames * 1000 / std::max(sampleRate_, 1));
    constexpr uint32_t Jitter = 10;
    return now - lastAsked_ > 2 * blockMs + Jitter;
}

void RestingRenderer::fadeIn(const StereoBlock& block) {
    for (int frame = 0; frame < block.frames && faded_ < fadeFrames_; ++frame, ++faded_) {
        const float gain = static_cast<float>(faded_) / static_cast<float>(fadeFrames_);
        block.left[frame * block.step] *= gain;
        block.right[frame * block.step] *= gain;
    }
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
