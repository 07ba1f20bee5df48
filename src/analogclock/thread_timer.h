#pragma once
// TThrdTimer: periodic ticks paced by a worker thread and run on the thread
// that made the timer (the user-interface thread). The worker sleeps for the
// interval, hands the tick over and waits until it has run, so ticks never
// overlap and are never queued or made up. The hand-off is a sent message to a
// hidden message window of the timer, which every message loop delivers, modal
// ones included.
#include "toolkit/message_window.h"

#include <cstdint>
#include <functional>
#include <memory>

enum class TThreadPriority : std::uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// The platform priority that each value stands for (THREAD_PRIORITY_*).
int PlatformThreadPriority(TThreadPriority priority);

class TThrdTimer {
  public:
    // The worker starts at once; its first tick comes one interval after the
    // thread next retrieves messages.
    TThrdTimer();
    virtual ~TThrdTimer();
    TThrdTimer(const TThrdTimer&) = delete;
    TThrdTimer& operator=(const TThrdTimer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    // Milliseconds between the end of one tick and the next; 0 stops the ticks.
    // A sleep under way keeps the length it started with.
    std::uint16_t Interval() const { return interval_; }
    void SetInterval(std::uint16_t interval);
    TThreadPriority Priority() const { return priority_; }
    void SetPriority(TThreadPriority priority);
    // Ticks just after each second of the system clock begins, once a second,
    // instead of every Interval; Enabled still starts and stops them.
    bool OnTheSecond() const { return onTheSecond_; }
    void SetOnTheSecond(bool onTheSecond);
    // Aims the next tick afresh at the clock as it is now: after the system
    // time was set or the machine woke, a wait under way may aim at a moment
    // that no longer follows the next second's edge.
    void Reaim();

    // Run at every tick with the timer as sender. A handler that fails is
    // shown in the application's error report, once for a run of failing
    // ticks, and the ticks go on: the next one may well succeed.
    std::function<void(TThrdTimer* sender)> OnTimer;

  protected:
    virtual void DoTimer();

  private:
    struct Shared;
    void UpdateTimer();
    bool Receive(UINT message);
    static unsigned __stdcall WorkerMain(void* context);

    bool enabled_ = true;
    std::uint16_t interval_ = 250;
    bool onTheSecond_ = false;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    std::shared_ptr<Shared> shared_;
    TMessageWindow window_{[this](UINT message, WPARAM, LPARAM) { return Receive(message); }};
    HANDLE worker_ = nullptr;
};
