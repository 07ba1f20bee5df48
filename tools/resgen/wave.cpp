#include "wave.h"

#include <algorithm>
#include <cmath>

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

} // namespace

std::vector<std::int16_t> RenderNotes(const std::vector<Note>& notes) {
    double end = 0;
    for (const Note& note : notes) {
        end = std::max(end, note.start + note.length);
    }
    std::vector<double> mix(static_cast<std::size_t>(end * kSampleRate) + 1, 0.0);
    const double pi = std::acos(-1.0);
    // Partials of a small bell: ratio and relative level.
    const double partials[][2] = {{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}, {4.2, 0.06}};
    for (const Note& note : notes) {
        const auto first = static_cast<std::size_t>(note.start * kSampleRate);
        const auto count = static_cast<std::size_t>(note.length * kSampleRate);
        for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            const double attack = std::min(1.0, t / 0.004); // no click at the onset
            const double decay = std::exp(-4.0 * t / note.length);
            double sample = 0;
            for (const auto& partial : partials) {
                // Higher partials fade faster, as on a real bell.
                sample += partial[1] * std::exp(-2.0 * partial[0] * t / note.length) *
                          std::sin(2 * pi * note.frequency * partial[0] * t);
            }
            mix[first + i] += note.loudness * attack * decay * sample;
        }
    }
    double peak = 1e-9;
    for (double v : mix) {
        peak = std::max(peak, std::abs(v));
    }
    std::vector<std::int16_t> samples(mix.size());
    const double scale = 0.8 * 32767.0 / peak; // about -2 dB of headroom
    for (std::size_t i = 0; i < mix.size(); ++i) {
        samples[i] = static_cast<std::int16_t>(std::lround(mix[i] * scale));
    }
    return samples;
}

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples) {
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    Put32(out, 36 + dataBytes);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, kSampleRate);
    Put32(out, kSampleRate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    Put32(out, dataBytes);
    for (std::int16_t s : samples) {
        Put16(out, static_cast<std::uint16_t>(s));
    }
    return out;
}

std::vector<Note> DefaultChime() {
    // C6, E6, G6, then the chord together: bright but soft.
    return {{1046.5, 0.00, 0.9, 0.8},
            {1318.5, 0.22, 0.9, 0.7},
            {1568.0, 0.44, 1.4, 0.7},
            {1046.5, 0.44, 1.4, 0.35},
            {2093.0, 0.44, 1.2, 0.2}};
}

std::vector<Note> WestminsterChime() {
    // E5 C5 D5 G4, then G4 D5 E5 C5; each bell rings on under the next.
    const double e5 = 659.25, c5 = 523.25, d5 = 587.33, g4 = 392.0;
    const double tune[] = {e5, c5, d5, g4, g4, d5, e5, c5};
    std::vector<Note> notes;
    for (int i = 0; i < 8; ++i) {
        const double start = i * 0.55 + (i >= 4 ? 0.4 : 0.0);
        const double length = i == 3 || i == 7 ? 2.6 : 1.6;
        notes.push_back({tune[i], start, length, i == 3 || i == 7 ? 0.8 : 0.65});
    }
    return notes;
}

std::vector<Note> MorningRun() {
    // C5 D5 E5 G5 A5 C6, the second time a little louder.
    const double run[] = {523.25, 587.33, 659.25, 783.99, 880.0, 1046.5};
    std::vector<Note> notes;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < 6; ++i) {
            const double start = round * 1.6 + i * 0.16;
            notes.push_back({run[i], start, i == 5 ? 1.4 : 0.7, 0.35 + 0.15 * round});
        }
    }
    return notes;
}

std::vector<Note> MusicBox() {
    // G6 E6 C6 E6 G6 C7, then D7 B6 G6: short plucked notes.
    const double tune[] = {1567.98, 1318.51, 1046.5,  1318.51, 1567.98,
                           2093.0,  2349.32, 1975.53, 1567.98};
    std::vector<Note> notes;
    for (int i = 0; i < 9; ++i) {
        notes.push_back({tune[i], i * 0.2, i == 8 ? 1.2 : 0.5, 0.5});
    }
    return notes;
}
