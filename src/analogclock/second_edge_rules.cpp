#include "analogclock/second_edge_rules.h"

std::int64_t NextSecondTick(std::int64_t now) {
    const std::int64_t sinceTick = now - kTickAfterEdge;
    // Rounded down for times before the clock's zero as well.
    std::int64_t edge = sinceTick / kClockUnitsPerSecond * kClockUnitsPerSecond;
    if (edge > sinceTick) {
        edge -= kClockUnitsPerSecond;
    }
    return edge + kClockUnitsPerSecond + kTickAfterEdge;
}
