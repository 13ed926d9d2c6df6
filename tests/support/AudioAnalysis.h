#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <optional>
#include <span>
#include <vector>

namespace ladoton::testing {

inline double rms(std::span<const float> samples) {
    if (samples.empty()) {
        return 0;
    }
    double sum = 0;
    for (const float sample : samples) {
        sum += double(sample) * sample;
    }
    return std::sqrt(sum / double(samples.size()));
}

// The fundamental frequency of a periodic stretch of sound, by normalised autocorrelation:
// the first peak after the correlation has gone negative that comes close to the highest,
// refined by a parabola through its neighbours. Nothing when no lag between the periods of
// `highest` and `lowest` Hz repeats the signal.
inline std::optional<double> fundamental(std::span<const float> samples, double sampleRate,
                                         double lowest = 40, double highest = 2000) {
    const auto minLag = static_cast<std::size_t>(sampleRate / highest);
    const auto maxLag = static_cast<std::size_t>(sampleRate / lowest) + 1;
    if (samples.size() < 2 * maxLag + 2) {
        return std::nullopt;
    }
    const std::size_t length = samples.size() - maxLag - 1;
    auto correlation = [&](std::size_t lag) {
        double product = 0, first = 0, second = 0;
        for (std::size_t i = 0; i < length; ++i) {
            product += double(samples[i]) * samples[i + lag];
            first += double(samples[i]) * samples[i];
            second += double(samples[i + lag]) * samples[i + lag];
        }
        return first > 0 && second > 0 ? product / std::sqrt(first * second) : 0.0;
    };
    std::vector<double> r(maxLag + 2);
    for (std::size_t lag = 1; lag <= maxLag + 1; ++lag) {
        r[lag] = correlation(lag);
    }
    std::size_t start = 1;
    while (start <= maxLag && r[start] > 0) {
        ++start;
    }
    start = std::max(start, minLag);
    double best = 0;
    for (std::size_t lag = start; lag <= maxLag; ++lag) {
        best = std::max(best, r[lag]);
    }
    if (best < 0.5) {
        return std::nullopt;
    }
    for (std::size_t lag = start; lag <= maxLag; ++lag) {
        if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
            const double left = r[lag - 1], middle = r[lag], right = r[lag + 1];
            const double curvature = left - 2 * middle + right;
            const double shift = curvature != 0 ? 0.5 * (left - right) / curvature : 0;
            return sampleRate / (double(lag) + shift);
        }
    }
    return std::nullopt;
}

// The amplitude of one frequency in the sound (Goertzel), relative to the sound's RMS.
inline double presence(std::span<const float> samples, double sampleRate, double frequency) {
    const double omega = 2 * std::numbers::pi * frequency / sampleRate;
    const double coefficient = 2 * std::cos(omega);
    double previous = 0, beforePrevious = 0;
    for (const float sample : samples) {
        const double current = sample + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = current;
    }
    const double power = previous * previous + beforePrevious * beforePrevious -
                         coefficient * previous * beforePrevious;
    const double level = rms(samples);
    return level > 0
               ? std::sqrt(std::max(power, 0.0)) * std::sqrt(2.0) / double(samples.size()) / level
               : 0;
}

// The strength of the first eight harmonics of `frequency`: a fingerprint of a timbre.
inline std::array<double, 8> harmonicProfile(std::span<const float> samples, double sampleRate,
                                             double frequency) {
    std::array<double, 8> strengths{};
    for (std::size_t k = 0; k < strengths.size(); ++k) {
        strengths[k] = presence(samples, sampleRate, frequency * double(k + 1));
    }
    return strengths;
}

inline double profileDistance(const std::array<double, 8>& a, const std::array<double, 8>& b) {
    double distance = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        distance += std::abs(a[k] - b[k]);
    }
    return distance;
}

// The MIDI note's frequency in equal temperament, A4 (note 69) = 440 Hz.
inline double noteFrequency(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

} // namespace ladoton::testing
