#include "analogclock/thread_timer.h"

#include "analogclock/second_edge_rules.h"
#include "toolkit/exceptions.h"
#include "toolkit/gdi.h"
#include "toolkit/precise_clock.h"

#include <atomic>
#include <process.h>

namespace {

constexpr UINT kTickMessage = WM_APP + 1;

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

// A high-resolution timer keeps its moment to well under a millisecond
// without raising the whole system's timer rate; older systems refuse the
// flag and get an ordinary one.
HANDLE CreateTickTimer() {
    HANDLE timer = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                          TIMER_ALL_ACCESS);
    return timer ? timer : CreateWaitableTimerW(nullptr, FALSE, nullptr);
}

} // namespace

int PlatformThreadPriority(TThreadPriority priority) {
    switch (priority) {
    case TThreadPriority::tpIdle:
        return THREAD_PRIORITY_IDLE;
    case TThreadPriority::tpLowest:
        return THREAD_PRIORITY_LOWEST;
    case TThreadPriority::tpLower:
        return THREAD_PRIORITY_BELOW_NORMAL;
    case TThreadPriority::tpNormal:
        return THREAD_PRIORITY_NORMAL;
    case TThreadPriority::tpHigher:
        return THREAD_PRIORITY_ABOVE_NORMAL;
    case TThreadPriority::tpHighest:
        return THREAD_PRIORITY_HIGHEST;
    case TThreadPriority::tpTimeCritical:
        return THREAD_PRIORITY_TIME_CRITICAL;
    }
    return THREAD_PRIORITY_NORMAL;
}

// What the worker and the user-interface thread both see. The worker keeps its
// own reference, so nothing it touches goes away under it.
//
// The worker is paused by an event rather than by suspending the thread: a
// thread suspended at an arbitrary point may hold a lock (the heap's, the
// loader's) that the user-interface thread needs next, and a suspended thread
// can never be ended cleanly. Every wait of the worker also watches `stop`, so
// the destructor can end and join it without ever waiting on a worker that
// waits on the user-interface thread.
struct TThrdTimer::Shared {
    UniqueKernelHandle stop{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    // Set while ticks are allowed (Enabled and a non-zero Interval).
    UniqueKernelHandle resume{CreateEventW(nullptr, TRUE, TRUE, nullptr)};
    // Mirrors `resume`, so that a running worker need not ask the system
    // about it at every tick; a tick that slips through as the timer pauses
    // is dropped on the user-interface thread.
    std::atomic<bool> running{true};
    // Set by the user-interface thread when a handed-over tick has run.
    UniqueKernelHandle done{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::atomic<std::uint16_t> interval{250};
    std::atomic<bool> onTheSecond{false};
    // Set to make a worker waiting for a second's edge aim again.
    UniqueKernelHandle reaim{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    UniqueKernelHandle edgeTimer{CreateTickTimer()};
    std::atomic<int> priority{THREAD_PRIORITY_NORMAL};
    // Set from a failed tick to the next one that succeeds; user-interface
    // thread only.
    bool failureReported = false;
    HWND window = nullptr;
};

TThrdTimer::TThrdTimer() : shared_(std::make_shared<Shared>()) {
    if (!shared_->stop || !shared_->resume || !shared_->done || !shared_->reaim ||
        !shared_->edgeTimer) {
        throw Exception("Der Zeitgeber kann nicht angelegt werden.");
    }
    // A message-only window: it belongs to this thread, so the ticks run here.
    if (!window_.Open()) {
        throw Exception("Der Zeitgeber kann nicht angelegt werden.");
    }
    shared_->window = window_.Handle();
    shared_->interval = interval_;
    shared_->priority = PlatformThreadPriority(priority_);

    // The worker must know everything above before it first runs.
    auto* context = new std::shared_ptr<Shared>(shared_);
    worker_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, WorkerMain, context, 0, nullptr));
    if (!worker_) {
        delete context;
        throw Exception("Der Zeitgeber kann nicht gestartet werden.");
    }
}

TThrdTimer::~TThrdTimer() {
    enabled_ = false;
    // From here on no tick reaches this object, even one already on its way.
    window_.Close();
    SetEvent(shared_->stop.get());
    // Every wait of the worker ends on `stop`, and its hand-off does not block,
    // so this join is short even when the tick handler itself is destroying the
    // timer.
    WaitForSingleObject(worker_, INFINITE);
    CloseHandle(worker_);
}

void TThrdTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) {
        return;
    }
    enabled_ = enabled;
    UpdateTimer();
}

void TThrdTimer::SetInterval(std::uint16_t interval) {
    if (interval == interval_) {
        return;
    }
    interval_ = interval;
    UpdateTimer();
}

void TThrdTimer::SetPriority(TThreadPriority priority) {
    if (priority == priority_) {
        return;
    }
    priority_ = priority;
    shared_->priority = PlatformThreadPriority(priority_);
    // The running worker takes the new priority at once rather than only at
    // its start.
    SetThreadPriority(worker_, shared_->priority);
    UpdateTimer();
}

void TThrdTimer::SetOnTheSecond(bool onTheSecond) {
    if (onTheSecond == onTheSecond_) {
        return;
    }
    onTheSecond_ = onTheSecond;
    shared_->onTheSecond = onTheSecond;
    Reaim();
}

void TThrdTimer::Reaim() {
    SetEvent(shared_->reaim.get());
}

void TThrdTimer::DoTimer() {
    if (OnTimer) {
        // A copy, so a handler may reassign OnTimer while it runs.
        auto handler = OnTimer;
        handler(this);
    }
}

void TThrdTimer::UpdateTimer() {
    shared_->interval = interval_;
    if (enabled_ && interval_ != 0) {
        shared_->running = true;
        SetEvent(shared_->resume.get());
    } else {
        shared_->running = false;
        ResetEvent(shared_->resume.get());
    }
}

bool TThrdTimer::Receive(UINT message) {
    if (message != kTickMessage) {
        return false;
    }
    // Held here because the handler may destroy the timer.
    std::shared_ptr<Shared> shared = shared_;
    // A tick that was already on its way when the timer was disabled is dropped.
    if (enabled_ && interval_ != 0) {
        try {
            DoTimer();
            shared->failureReported = false;
        } catch (...) {
            // Shown, while the next tick comes as usual: the next second is
            // drawn afresh and may well succeed. A failure that comes back at
            // every tick is told once, not every second.
            if (!shared->failureReported) {
                shared->failureReported = true;
                ReportCurrentException();
            }
        }
    }
    SetEvent(shared->done.get());
    return true;
}

unsigned __stdcall TThrdTimer::WorkerMain(void* context) {
    std::shared_ptr<Shared> shared = std::move(*static_cast<std::shared_ptr<Shared>*>(context));
    delete static_cast<std::shared_ptr<Shared>*>(context);
    HANDLE stop = shared->stop.get();
    HANDLE whileRunning[2] = {stop, shared->resume.get()};
    HANDLE whileTicking[2] = {stop, shared->done.get()};
    HANDLE whileAiming[3] = {stop, shared->reaim.get(), shared->edgeTimer.get()};

    SetThreadPriority(GetCurrentThread(), shared->priority);
    for (;;) {
        if (shared->onTheSecond) {
            // Aimed at the clock at every tick, so it never drifts. The
            // timer takes a span rather than a moment: high-resolution timers
            // take no other, and a change of the system time aims again.
            const std::int64_t now = PreciseSystemTime();
            LARGE_INTEGER due;
            due.QuadPart = -(NextSecondTick(now) - now);
            if (!SetWaitableTimer(whileAiming[2], &due, 0, nullptr, nullptr, FALSE)) {
                // A system that makes a high-resolution timer but will not
                // set it gets an ordinary one, as fine as the system's tick.
                shared->edgeTimer.reset(CreateWaitableTimerW(nullptr, FALSE, nullptr));
                whileAiming[2] = shared->edgeTimer.get();
                if (!whileAiming[2] ||
                    !SetWaitableTimer(whileAiming[2], &due, 0, nullptr, nullptr, FALSE)) {
                    return 0;
                }
            }
            const DWORD woken = WaitForMultipleObjects(3, whileAiming, FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0 + 1) {
                continue;
            }
            if (woken != WAIT_OBJECT_0 + 2) {
                return 0;
            }
        } else if (const std::uint16_t interval = shared->interval; interval == 0) {
            // Interval 0 only occurs while paused; wait for a usable one.
            if (WaitForMultipleObjects(2, whileRunning, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
                return 0;
            }
            continue;
        } else if (WaitForSingleObject(stop, interval) != WAIT_TIMEOUT) {
            // The sleep, not corrected for drift. A pause does not cut it
            // short: after it the tick follows the resume at once if the time
            // has run out.
            return 0;
        }
        if (!shared->running &&
            WaitForMultipleObjects(2, whileRunning, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            return 0;
        }
        // A sent message without waiting in the send: it is delivered like any
        // sent message, in the main loop or any modal one, and the wait below
        // can be broken off by `stop`.
        if (!SendNotifyMessageW(shared->window, kTickMessage, 0, 0)) {
            return 0;
        }
        if (WaitForMultipleObjects(2, whileTicking, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) {
            return 0;
        }
    }
}
