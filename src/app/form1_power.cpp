// The clock after a sleep or a change of the system time: drawn at once and
// its ticks aimed afresh. An alarm slept through is the alarm check's to tell,
// at that first tick.
#include "app/form1.h"
#include "toolkit/application.h"

void TForm1::BindPowerWatch() {
    PowerWatch1.OnResume = [this](TPowerWatch*) { ClockTimeChanged(); };
    PowerWatch1.OnTimeChange = [this](TPowerWatch*) { ClockTimeChanged(); };
    PowerWatch1.Hook(application_.Handle());
}

void TForm1::ClockTimeChanged() {
    if (AMClock1 && AMClock1->Enabled()) {
        AMClock1->TimeChanged();
    }
}
