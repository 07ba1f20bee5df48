#pragma once
// The system clock (UTC, in 100 ns units since 1601) as finely as the system
// keeps it: the moment a tick aims at and the time it then reads must be the
// same clock, or a tick just after a second's edge could still read the
// second before it.
#include <windows.h>

#include <cstdint>

std::int64_t PreciseSystemTime();
// The local time of day at that moment, as GetLocalTime gives it.
SYSTEMTIME PreciseLocalTime();
