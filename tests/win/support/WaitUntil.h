// Waiting for a state, the one way tests wait: the condition is looked at
// again every 50 ms until it holds. The time limit is a generous bound that
// only turns a hang into a failure; nothing waits for a fixed time.
#pragma once
#include <windows.h>

// True once `predicate` holds; false when `timeoutMs` passed without it.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs = 30000) {
    const DWORD start = GetTickCount();
    while (!predicate()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(50);
    }
    return true;
}
