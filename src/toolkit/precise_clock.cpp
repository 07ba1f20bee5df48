#include "toolkit/precise_clock.h"

namespace {

FILETIME PreciseFileTime() {
    // Windows 8 and later; older systems keep the time to their tick only.
    using Precise = void(WINAPI*)(FILETIME*);
    static const auto precise = reinterpret_cast<Precise>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now;
    if (precise) {
        precise(&now);
    } else {
        GetSystemTimeAsFileTime(&now);
    }
    return now;
}

} // namespace

std::int64_t PreciseSystemTime() {
    const FILETIME now = PreciseFileTime();
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                     now.dwLowDateTime);
}

SYSTEMTIME PreciseLocalTime() {
    const FILETIME now = PreciseFileTime();
    // The bias in force now, as GetLocalTime applies it.
    FILETIME local;
    SYSTEMTIME time;
    if (!FileTimeToLocalFileTime(&now, &local) || !FileTimeToSystemTime(&local, &time)) {
        GetLocalTime(&time);
    }
    return time;
}
