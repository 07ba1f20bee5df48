#pragma once
// One clock per session. Of several starts at the same moment (the autostart
// and a double click on the shortcut) each would look for the running
// clock's window before any had made it; a named mutex decides at once.
// Held for the whole run: it goes when the object goes.
#include "toolkit/gdi.h"

class TInstanceLock {
  public:
    TInstanceLock();
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // True when another clock of this session holds the lock. A lock the
    // system could not make at all says nothing: the clock then starts.
    bool HeldElsewhere() const { return heldElsewhere_; }

  private:
    UniqueHandle<HANDLE, KernelHandleDeleter> mutex_;
    bool held_ = false;
    bool heldElsewhere_ = false;
};
