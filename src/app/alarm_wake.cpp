#include "app/alarm_wake.h"

#include "rules/alarm_wake.h"
#include "toolkit/seams.h"

namespace {

using Kind = seams::PowerCall::Kind;

// How long the machine stays awake for an alarm without a message.
constexpr long long kRingingAwakeMs = 60 * 1000;

} // namespace

TAlarmWake::TAlarmWake() : timer_(CreateWaitableTimerW(nullptr, FALSE, nullptr)) {}

TAlarmWake::~TAlarmWake() {
    if (armed_) {
        seams::CallPower(timer_.get(), {Kind::CancelTimer});
    }
    if (awakeSince_) {
        StayAwake(false);
    }
}

void TAlarmWake::Follow(const StoredAlarm& alarm, const LocalTime& now, const AlarmLatch& latch) {
    if (awakeSince_ && !untilClosed_ &&
        seams::RealMilliseconds() - *awakeSince_ >= kRingingAwakeMs) {
        StayAwake(false);
    }
    const Followed current{alarm.time, alarm.on, alarm.wake, latch};
    if (!timer_ || followed_ == current) {
        return;
    }
    followed_ = current;
    if (const std::optional<long long> due = AlarmWakeTime(alarm, now, latch, seams::LocalTimeAt)) {
        // A system that refuses to wake for it keeps the timer without waking,
        // or none: the alarm still rings whenever the machine is awake.
        seams::CallPower(timer_.get(), {Kind::ArmTimer, *due, true});
        armed_ = true;
    } else if (armed_) {
        seams::CallPower(timer_.get(), {Kind::CancelTimer});
        armed_ = false;
    }
}

void TAlarmWake::Ringing(bool untilClosed) {
    if (!awakeSince_) {
        StayAwake(true);
    }
    awakeSince_ = seams::RealMilliseconds();
    untilClosed_ = untilClosed;
}

void TAlarmWake::MessageClosed() {
    untilClosed_ = false;
    if (awakeSince_) {
        StayAwake(false);
    }
}

void TAlarmWake::StayAwake(bool awake) {
    seams::CallPower(nullptr, {Kind::ExecutionState, 0, false,
                               awake ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED
                                     : ES_CONTINUOUS});
    if (!awake) {
        awakeSince_.reset();
    }
}
