#pragma once
// Alarm sounds made from code: 16-bit mono PCM wave files.
#include <cstdint>
#include <vector>

struct Note {
    double frequency;  // Hz
    double start;      // seconds from the beginning
    double length;     // seconds until it has died away
    double loudness;   // 0..1
};

constexpr int kSampleRate = 22050;

// Sums bell-like notes (a fundamental with a few soft partials and an
// exponential decay) into samples, scaled to leave headroom.
std::vector<std::int16_t> RenderNotes(const std::vector<Note>& notes);
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples);

// The default alarm: a short rising three-note chime.
std::vector<Note> DefaultChime();
