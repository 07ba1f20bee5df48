#pragma once
// When a clock that shows seconds wakes next: just after the next second of
// the system clock begins, worked out afresh from the clock at every tick so
// that no error adds up from one tick to the next.
#include <cstdint>

// Times in the system clock's units: 100 ns.
constexpr std::int64_t kClockUnitsPerSecond = 10'000'000;
// How long after a second's edge the tick comes: the second read then is the
// new one even on a clock that is read a little coarser than it is kept.
constexpr std::int64_t kTickAfterEdge = 15'000; // 1.5 ms

// The first moment after now that lies kTickAfterEdge past a second's edge.
std::int64_t NextSecondTick(std::int64_t now);
