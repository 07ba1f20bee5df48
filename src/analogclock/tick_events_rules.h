#pragma once
// Which change events one tick of the analog clock raises, and in what order.
#include <cstdint>
#include <vector>

struct ClockReading {
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
};

enum class ClockEvent { Second, Minute, Hour };

struct ClockEventCall {
    ClockEvent event;
    std::uint16_t value;
    friend bool operator==(const ClockEventCall&, const ClockEventCall&) = default;
};

// Second, then minute, then hour, each only when it differs from the value it
// was last raised for. A change in either direction counts (the system time
// may have been set back), and values skipped in between are not made up.
std::vector<ClockEventCall> ChangedClockEvents(const ClockReading& last, const ClockReading& now);
