// The wave files shipped for the alarm besides the default one.
#include "wave.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

TEST(AlarmSounds, EachChimeIsAFewSecondsLongFadesInAndOutAndNeverClips) {
    const struct {
        const char* name;
        std::vector<Note> notes;
    } chimes[] = {
        {"Glocke", WestminsterChime()}, {"Morgen", MorningRun()}, {"Spieluhr", MusicBox()}};
    for (const auto& chime : chimes) {
        const std::vector<std::int16_t> samples = RenderNotes(chime.notes);
        const double seconds = static_cast<double>(samples.size()) / kSampleRate;
        EXPECT_GT(seconds, 1.5) << chime.name;
        EXPECT_LT(seconds, 8.0) << chime.name;
        int peak = 0;
        for (std::int16_t s : samples) {
            peak = std::max(peak, std::abs(static_cast<int>(s)));
        }
        EXPECT_GT(peak, 20000) << chime.name;
        EXPECT_LT(peak, 32767) << chime.name;
        // No click at the start, and the last note has died away at the end.
        EXPECT_LT(std::abs(static_cast<int>(samples.front())), 200) << chime.name;
        EXPECT_LT(std::abs(static_cast<int>(samples.back())), 1000) << chime.name;
        const std::vector<std::uint8_t> wave = EncodeWave(samples);
        EXPECT_EQ(wave.size(), 44 + samples.size() * 2) << chime.name;
    }
}
