#pragma once
// The screen's DPI of the test's Wine prefix: "LogPixels", which Wine reads
// when a process starts. The test has its slot's prefix to itself while it
// runs; what was there before comes back however the test ends.
#include <windows.h>

class LogPixels {
  public:
    explicit LogPixels(DWORD dpi) {
        had_ = RegGetValueW(HKEY_CURRENT_USER, kDesktop_, L"LogPixels", RRF_RT_REG_DWORD, nullptr,
                            &previous_, &size_) == ERROR_SUCCESS;
        RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop_, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
    }
    ~LogPixels() {
        if (had_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop_, L"LogPixels", REG_DWORD, &previous_,
                            sizeof(previous_));
        } else {
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kDesktop_, L"LogPixels");
        }
    }

  private:
    static constexpr wchar_t kDesktop_[] = L"Control Panel\\Desktop";
    DWORD previous_ = 0, size_ = sizeof(previous_);
    bool had_ = false;
};
