// Watches a rectangle of the X server's screen, from outside the program that
// draws there, and tells how late after the true second's edge (the system
// clock) each change appears and how even the steps between changes are.
//   second_edge_watch X Y WIDTH HEIGHT SECONDS
// Prints one line: changes, lateness median / 95th percentile / max in ms,
// and the spread (longest minus shortest) of the intervals between changes.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double RealSeconds() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

std::uint64_t Fingerprint(Display* display, Window root, int x, int y, int w, int h) {
    XImage* image = XGetImage(display, root, x, y, static_cast<unsigned>(w),
                              static_cast<unsigned>(h), AllPlanes, ZPixmap);
    if (!image) {
        return 0;
    }
    std::uint64_t hash = 1469598103934665603ull;
    for (int row = 0; row < h; ++row) {
        for (int column = 0; column < w; ++column) {
            hash = (hash ^ XGetPixel(image, column, row)) * 1099511628211ull;
        }
    }
    XDestroyImage(image);
    return hash;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const auto index = static_cast<std::size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[index];
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: second_edge_watch X Y WIDTH HEIGHT SECONDS\n");
        return 2;
    }
    const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
    const int w = std::atoi(argv[3]), h = std::atoi(argv[4]);
    const double seconds = std::atof(argv[5]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "second_edge_watch: no display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    std::vector<double> changes;
    std::uint64_t last = Fingerprint(display, root, x, y, w, h);
    const double end = RealSeconds() + seconds;
    // Looked at every half millisecond: a change is seen at most that late.
    for (double now = RealSeconds(); now < end; now = RealSeconds()) {
        const std::uint64_t seen = Fingerprint(display, root, x, y, w, h);
        if (seen != last) {
            changes.push_back(now);
            last = seen;
        }
        timespec pause{0, 500'000};
        nanosleep(&pause, nullptr);
    }
    XCloseDisplay(display);
    if (changes.size() < 3) {
        std::printf("changes %zu: too few to tell\n", changes.size());
        return 1;
    }
    std::vector<double> lateness, intervals;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        lateness.push_back((changes[i] - static_cast<double>(static_cast<long long>(changes[i]))) *
                           1000);
        if (i > 0) {
            intervals.push_back((changes[i] - changes[i - 1]) * 1000);
        }
    }
    const auto [shortest, longest] = std::minmax_element(intervals.begin(), intervals.end());
    std::printf("changes %zu; after the edge median %.1f ms, 95th percentile %.1f ms, max %.1f ms; "
                "intervals %.1f to %.1f ms, spread %.1f ms\n",
                changes.size(), Percentile(lateness, 0.5), Percentile(lateness, 0.95),
                Percentile(lateness, 1.0), *shortest, *longest, *longest - *shortest);
    return 0;
}
