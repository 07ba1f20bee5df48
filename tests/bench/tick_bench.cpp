// The cost of one clock tick in the main window: the analog clock's repaint,
// the six time cells drawn through the glyph strip, the alarm check, and the
// panel painting that follows. Printed beside the cost of repainting an empty
// window of the same size, measured in the same run.
#include "app/form1.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>

namespace {

double CpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return value(kernel) + value(user);
}

double Seconds() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

} // namespace

int main() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    TApplication application;
    application.Initialize();
    application.SetTitle("Tikkora");

    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string folder = Narrow(temp) + "tikkora-bench\\";
    CreateDirectoryW(Widen(folder).c_str(), nullptr);
    seams::SetProgramFilePathForTest(folder + "Tikkora.exe");
    LocalTime now{2024, 3, 1, 12, 0, 30};
    seams::SetClockForTest([&] { return now; });

    auto form = std::make_unique<TForm1>(application);
    form->CreateHandle();
    form->Show();
    form->AMClock1->SetVisible(true);  // one analog repaint per tick, as in analog mode
    form->AMClock1->SetEnabled(false); // the bench drives the ticks itself
    Pump();

    const int ticks = 3000;
    double start = Seconds(), startCpu = CpuSeconds();
    double paintWall = 0;
    for (int i = 0; i < ticks; ++i) {
        now.second = 2 + i % 57; // never second 00 or 01: no alarm minute
        now.minute = (i / 57) % 60;
        form->AMClock1->ClockTick();
        const double beforePaint = Seconds();
        // The cells the tick changed are painted as the message loop would.
        UpdateWindow(form->Panel1->Handle());
        paintWall += Seconds() - beforePaint;
    }
    const double tick = (Seconds() - start) / ticks * 1e6;
    const double tickCpu = (CpuSeconds() - startCpu) / ticks * 1e6;
    const double paint = paintWall / ticks * 1e6;

    // Baseline: invalidating and repainting the bare window, no drawing of ours.
    HWND plain = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 154, 69, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    Pump();
    start = Seconds();
    startCpu = CpuSeconds();
    for (int i = 0; i < ticks; ++i) {
        InvalidateRect(plain, nullptr, TRUE);
        UpdateWindow(plain);
    }
    const double baseline = (Seconds() - start) / ticks * 1e6;
    const double baselineCpu = (CpuSeconds() - startCpu) / ticks * 1e6;
    DestroyWindow(plain);

    std::printf("one tick (analog repaint, six cells, alarm check, panel paint): %7.1f us wall, "
                "%7.1f us CPU (of which panel paint %.1f us wall)\n",
                tick, tickCpu, paint);
    std::printf("baseline (repaint of an empty 154x69 window):                   %7.1f us wall, "
                "%7.1f us CPU\n",
                baseline, baselineCpu);
    form.reset();
    DeleteFileW(Widen(folder + "Tikkora.ini").c_str());
    RemoveDirectoryW(Widen(folder).c_str());
    return 0;
}
