#include "app/instance_lock.h"

namespace {
// The session's namespace: another user logged on beside this one has a clock of their own.
constexpr wchar_t kLockName[] = L"Local\\Tikkora-SingleInstance";
} // namespace

TInstanceLock::TInstanceLock() {
    mutex_.reset(CreateMutexW(nullptr, FALSE, kLockName));
    if (!mutex_) {
        // Made by a clock of another account in this session, which this
        // account may not open.
        heldElsewhere_ = GetLastError() == ERROR_ACCESS_DENIED;
        return;
    }
    const DWORD result = WaitForSingleObject(mutex_.get(), 0);
    // Abandoned: a clock that was killed never let go, and it is ours now.
    held_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
    heldElsewhere_ = result == WAIT_TIMEOUT;
}

TInstanceLock::~TInstanceLock() {
    if (held_) {
        ReleaseMutex(mutex_.get());
    }
}
