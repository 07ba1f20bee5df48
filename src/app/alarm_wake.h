#pragma once
// The alarm wakes a sleeping machine: a waitable timer stands armed, with the
// resume flag, for the moment the next alarm minute begins. While the alarm
// rings, the machine and its display stay on: a machine a timer woke goes back
// to sleep after two minutes without input. Nothing of this is ever told to
// the user: a system that will not wake for a timer sleeps on as before.
#include "rules/alarm_check.h"
#include "rules/stored_alarm.h"
#include "toolkit/gdi.h"
#include "toolkit/local_time_rules.h"

#include <optional>
#include <string>

class TAlarmWake {
  public:
    TAlarmWake();
    ~TAlarmWake();
    TAlarmWake(const TAlarmWake&) = delete;
    TAlarmWake& operator=(const TAlarmWake&) = delete;

    // At each check: the timer follows the stored alarm and the alarm minutes
    // rung or missed, and is set again only when one of them changed.
    void Follow(const StoredAlarm& alarm, const LocalTime& now, const AlarmLatch& latch);
    // The machine woke, or the time or the time zone changed: armed afresh at
    // the next check.
    void ArmAgain() { followed_.reset(); }
    // The alarm sounds: awake until its message is closed, or for a minute.
    void Ringing(bool untilClosed);
    void MessageClosed();

  private:
    // What the timer was last set for: all AlarmWakeTime looks at but the clock.
    struct Followed {
        std::string time;
        bool on = false;
        bool wake = false;
        AlarmLatch latch;
        bool operator==(const Followed&) const = default;
    };
    void StayAwake(bool awake);

    UniqueKernelHandle timer_;
    std::optional<Followed> followed_;
    bool armed_ = false;
    // While the alarm rings: since when (real milliseconds), and whether its
    // message holds the machine awake.
    std::optional<long long> awakeSince_;
    bool untilClosed_ = false;
};
