// The least a clock of this design can cost: the reference the benchmarks put
// beside Tikkora's ticking figures. A worker thread sleeps 250 ms and hands
// each tick synchronously to the window; when the second has changed, the
// window composes a 47×47 face with three hands off screen and blits it
// (argument "analog"), or blits six 16×27 digit cells (no argument).
#include <windows.h>

#include "message_loop.h"

#include <cmath>

namespace {

constexpr UINT kTickMessage = WM_APP + 1;
constexpr int kFaceSize = 47;
constexpr int kDigitWidth = 16;
constexpr int kDigitHeight = 27;
constexpr int kDigitLefts[] = {25, 41, 64, 80, 103, 119};

struct Clock {
    HWND window = nullptr;
    bool analog = false;
    int lastSecond = -1;
    SYSTEMTIME now{};
    HDC stripDc = nullptr; // ten digit glyphs side by side
    HDC faceDc = nullptr;  // the face without hands
    HDC frameDc = nullptr; // the face with hands, composed here
    HPEN pens[2] = {};
};

Clock clock;

HDC MemoryBitmap(HDC screen, int width, int height) {
    HDC dc = CreateCompatibleDC(screen);
    SelectObject(dc, CreateCompatibleBitmap(screen, width, height));
    return dc;
}

void MakePictures() {
    HDC screen = GetDC(nullptr);
    clock.stripDc = MemoryBitmap(screen, 10 * kDigitWidth, kDigitHeight);
    RECT strip{0, 0, 10 * kDigitWidth, kDigitHeight};
    FillRect(clock.stripDc, &strip, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(clock.stripDc, RGB(0, 255, 0));
    SetBkMode(clock.stripDc, TRANSPARENT);
    for (int digit = 0; digit < 10; ++digit) {
        wchar_t text = static_cast<wchar_t>(L'0' + digit);
        TextOutW(clock.stripDc, digit * kDigitWidth + 4, 6, &text, 1);
    }
    clock.faceDc = MemoryBitmap(screen, kFaceSize, kFaceSize);
    RECT face{0, 0, kFaceSize, kFaceSize};
    FillRect(clock.faceDc, &face, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    for (int hour = 0; hour < 12; ++hour) {
        const double angle = hour * 3.14159265358979 / 6;
        const int x = 23 + static_cast<int>(std::lround(21 * std::sin(angle)));
        const int y = 23 - static_cast<int>(std::lround(21 * std::cos(angle)));
        RECT mark{x - 1, y - 1, x + 2, y + 2};
        FillRect(clock.faceDc, &mark, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    clock.frameDc = MemoryBitmap(screen, kFaceSize, kFaceSize);
    clock.pens[0] = CreatePen(PS_SOLID, 2, RGB(0, 0, 0));
    clock.pens[1] = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    ReleaseDC(nullptr, screen);
}

void Hand(HDC dc, HPEN pen, double turns, int radius) {
    SelectObject(dc, pen);
    const double angle = turns * 2 * 3.14159265358979;
    MoveToEx(dc, 23, 23, nullptr);
    LineTo(dc, 23 + static_cast<int>(std::lround(radius * std::sin(angle))),
           23 - static_cast<int>(std::lround(radius * std::cos(angle))));
}

void Draw(HDC dc) {
    if (clock.analog) {
        BitBlt(clock.frameDc, 0, 0, kFaceSize, kFaceSize, clock.faceDc, 0, 0, SRCCOPY);
        Hand(clock.frameDc, clock.pens[0], (clock.now.wHour % 12 + clock.now.wMinute / 60.0) / 12,
             12);
        Hand(clock.frameDc, clock.pens[0], clock.now.wMinute / 60.0, 17);
        Hand(clock.frameDc, clock.pens[1], clock.now.wSecond / 60.0, 19);
        BitBlt(dc, 21, 8, kFaceSize, kFaceSize, clock.frameDc, 0, 0, SRCCOPY);
        return;
    }
    const int digits[] = {clock.now.wHour / 10,   clock.now.wHour % 10,   clock.now.wMinute / 10,
                          clock.now.wMinute % 10, clock.now.wSecond / 10, clock.now.wSecond % 10};
    for (int cell = 0; cell < 6; ++cell) {
        BitBlt(dc, kDigitLefts[cell], 12, kDigitWidth, kDigitHeight, clock.stripDc,
               digits[cell] * kDigitWidth, 0, SRCCOPY);
    }
}

void Tick() {
    GetLocalTime(&clock.now);
    if (clock.now.wSecond == clock.lastSecond) {
        return;
    }
    clock.lastSecond = clock.now.wSecond;
    HDC dc = GetDC(clock.window);
    Draw(dc);
    ReleaseDC(clock.window, dc);
}

DWORD WINAPI Worker(void*) {
    for (;;) {
        SleepEx(250, FALSE);
        SendMessageW(clock.window, kTickMessage, 0, 0);
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kTickMessage:
        Tick();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        GetLocalTime(&clock.now);
        Draw(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
    clock.analog = commandLine && lstrcmpiW(commandLine, L"analog") == 0;
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"MinimalClock";
    RegisterClassW(&windowClass);
    MakePictures();
    clock.window =
        CreateWindowExW(WS_EX_TOPMOST, L"MinimalClock", L"Minimal clock", WS_POPUP | WS_BORDER, 100,
                        100, 154, 69, nullptr, nullptr, instance, nullptr);
    ShowWindow(clock.window, SW_SHOW);
    UpdateWindow(clock.window);
    HANDLE worker = CreateThread(nullptr, 0, Worker, nullptr, 0, nullptr);
    RunMessageLoop();
    // The worker may be inside its hand-off; ending the process ends it.
    CloseHandle(worker);
    ExitProcess(0);
}
