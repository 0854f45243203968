// Waiting for messages: the thread's wake-up event and its native message
// queue are waited on together (MsgWaitForMultipleObjectsEx); native
// messages read meanwhile go to the core once no lock is held. The clock.
#include "platform/win32/events.h"
#include "platform/win32/window.h"

namespace plat::core::backend {

using namespace plat::win32;

std::unique_ptr<NativeQueue> CreateQueue() { return std::make_unique<Win32Queue>(); }

void Wake(ThreadQueue& queue) {
    auto* q = static_cast<Win32Queue*>(queue.native.get());
    if (q != nullptr && q->wake) ::SetEvent(q->wake.get());
}

void Wait(ThreadQueue& queue, int timeoutMs) {
    // Work from native messages read by an earlier call comes first.
    if (RunLater()) return;
    auto* q = static_cast<Win32Queue*>(queue.native.get());
    HANDLE wake = q != nullptr ? q->wake.get() : nullptr;
    // Inside the system's move or size loop the loop reads input itself.
    ::DWORD wakeOn =
        InSystemLoop() ? QS_POSTMESSAGE | QS_SENDMESSAGE | QS_TIMER | QS_PAINT : QS_ALLINPUT;
    ::DWORD timeout = timeoutMs < 0 ? INFINITE : static_cast<::DWORD>(timeoutMs);
    ::MsgWaitForMultipleObjectsEx(wake != nullptr ? 1 : 0, &wake, timeout, wakeOn,
                                  MWMO_INPUTAVAILABLE);
    PumpNative();
    RunLater();
}

std::uint64_t NowMs() { return ::GetTickCount64(); }

void SleepMs(std::uint32_t ms) { ::Sleep(ms); }

// There is always a desktop for a message box to wait on.
bool MessageBoxAutoClose() { return false; }

void MessageBoxShown(const rt::Text&, const rt::Text&) {}

}  // namespace plat::core::backend
