#include <windows.h>

#include "runtime/sync.h"

namespace rt {

static_assert(sizeof(void*) == sizeof(SRWLOCK) && sizeof(void*) == sizeof(CONDITION_VARIABLE));

namespace {
SRWLOCK* Native(void*& lock) { return reinterpret_cast<SRWLOCK*>(&lock); }
CONDITION_VARIABLE* NativeCondition(void*& condition) {
    return reinterpret_cast<CONDITION_VARIABLE*>(&condition);
}
}  // namespace

void Mutex::lock() { AcquireSRWLockExclusive(Native(lock_)); }
void Mutex::unlock() { ReleaseSRWLockExclusive(Native(lock_)); }

void Condition::SleepOnce(Mutex& mutex, unsigned long timeoutMs) {
    SleepConditionVariableSRW(NativeCondition(condition_), Native(mutex.lock_), timeoutMs, 0);
}
void Condition::NotifyOne() { WakeConditionVariable(NativeCondition(condition_)); }
void Condition::NotifyAll() { WakeAllConditionVariable(NativeCondition(condition_)); }
unsigned long long Condition::NowMs() { return GetTickCount64(); }

}  // namespace rt
