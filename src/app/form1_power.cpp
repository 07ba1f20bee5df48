// The clock after a sleep or a change of the system time: drawn at once and
// its ticks aimed afresh, the alarm's wake timer set anew. An alarm slept
// through is the alarm check's to tell, at that first tick. And the end of the
// Windows session.
#include "analogclock/amclock.h"
#include "app/alarm_runner.h"
#include "app/clock_layout.h"
#include "app/form1.h"
#include "app/power_watch.h"
#include "toolkit/application.h"

void TForm1::BindPowerWatch() {
    PowerWatch1->OnResume = [this](TPowerWatch*) { ClockTimeChanged(); };
    PowerWatch1->OnTimeChange = [this](TPowerWatch*) { ClockTimeChanged(); };
    // Closes the clock as any close request does, a transfer under way included.
    PowerWatch1->OnSessionEnd = [this](TPowerWatch*) { Close(); };
    PowerWatch1->Hook(application_.Handle());
}

void TForm1::ClockTimeChanged() {
    AlarmRunner1->TimeChanged();
    if (layout_ && layout_->Created() && layout_->AnalogClock().Enabled()) {
        layout_->AnalogClock().TimeChanged();
    }
}
