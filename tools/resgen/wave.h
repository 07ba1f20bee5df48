#pragma once
// Alarm sounds made from code: 16-bit mono PCM wave files.
#include <cstdint>
#include <vector>

struct Note {
    double frequency; // Hz
    double start;     // seconds from the beginning
    double length;    // seconds until it has died away
    double loudness;  // 0..1
};

constexpr int kSampleRate = 22050;

// Sums bell-like notes (a fundamental with a few soft partials and an
// exponential decay) into samples, scaled to leave headroom.
std::vector<std::int16_t> RenderNotes(const std::vector<Note>& notes);
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples);

// The default alarm: a short rising three-note chime.
std::vector<Note> DefaultChime();
// "Glocke.wav": the Westminster quarters on a warm bell, as a clock would chime.
std::vector<Note> WestminsterChime();
// "Morgen.wav": a soft rising pentatonic run, played twice, for a gentle wake-up.
std::vector<Note> MorningRun();
// "Spieluhr.wav": a short music-box tune in a high, light register.
std::vector<Note> MusicBox();
