// Thread message queues: posting, cross-thread sending, retrieval order
// (WM_PAINT among it), timers and the tick count.
#include <algorithm>

#include "platform/core/state.h"
#include "runtime/codepage.h"

namespace plat::core {

namespace {

// The calling thread's queue; the state holds the reference. A thread's
// own storage may be gone when its thread_local destructors run (mingw-w64
// frees it first), so the one below keeps no data of its own.
thread_local ThreadQueue* tlsQueue = nullptr;
thread_local int tlsInSendFromOther = 0;

// Marks the thread's queue dead when the thread ends, answering waiting
// senders.
struct ThreadEnd {
    void Arm() {}
    ~ThreadEnd() {
        std::shared_ptr<ThreadQueue> q;  // released after the lock
        std::lock_guard lk(CoreState().mu);
        auto& live = CoreState().threadQueues;
        auto it = live.find(std::this_thread::get_id());
        if (it == live.end()) return;
        q = std::move(it->second);
        live.erase(it);
        q->alive = false;
        for (auto& item : q->sent) {
            item->done = true;
            if (item->sender) WakeLocked(*item->sender);
        }
        q->sent.clear();
    }
};

thread_local ThreadEnd tlsThreadEnd;

bool Matches(const MSG& m, Hwnd filter, UINT lo, UINT hi) {
    if (filter != nullptr && m.hwnd != filter) return false;
    if (lo == 0 && hi == 0) return true;
    return m.message >= lo && m.message <= hi;
}

bool TakeFrom(std::deque<MSG>& d, MSG* out, Hwnd filter, UINT lo, UINT hi, bool remove) {
    for (auto it = d.begin(); it != d.end(); ++it) {
        if (!Matches(*it, filter, lo, hi)) continue;
        *out = *it;
        if (remove) d.erase(it);
        return true;
    }
    return false;
}

// Handles one message sent from another thread, if any. Without the lock.
bool HandleOneSent(ThreadQueue& q) {
    std::shared_ptr<SentItem> item;
    {
        std::lock_guard lk(CoreState().mu);
        if (q.sent.empty()) return false;
        item = q.sent.front();
        q.sent.pop_front();
    }
    WndProc proc = GetWindowProc(item->msg.hwnd);
    LRESULT result = 0;
    if (IsWindow(item->msg.hwnd)) {
        ++tlsInSendFromOther;
        result = CallWindowProc(proc, item->msg.hwnd, item->msg.message, item->msg.wParam,
                                item->msg.lParam);
        --tlsInSendFromOther;
    }
    std::lock_guard lk(CoreState().mu);
    item->result = result;
    item->done = true;
    if (item->sender) WakeLocked(*item->sender);
    return true;
}

std::uint32_t TimerNow() { return static_cast<std::uint32_t>(backend::NowMs()); }

// Finds a message in the order the window system hands them out. Needs the
// lock; returns false when nothing is ready. `nextDue` receives the time of
// the next timer (or UINT64_MAX).
bool FindReady(ThreadQueue& q, MSG* out, Hwnd filter, UINT lo, UINT hi, bool remove,
               std::uint64_t* nextDue, std::function<void()>* internalFire) {
    *nextDue = UINT64_MAX;
    if (TakeFrom(q.posted, out, filter, lo, hi, remove)) return true;
    for (auto it = q.input.begin(); it != q.input.end(); ++it) {
        if (!Matches(it->msg, filter, lo, hi)) continue;
        *out = it->msg;
        if (remove) {
            q.syncKeys = it->keys;
            q.hasSyncKeys = true;
            q.input.erase(it);
        }
        return true;
    }
    if (q.quit && filter == nullptr) {
        *out = MSG{};
        out->message = WM_QUIT;
        out->wParam = static_cast<WPARAM>(q.quitCode);
        if (remove) q.quit = false;
        return true;
    }
    for (Hwnd h : CoreState().zorder) {
        WindowRecord* rec = Find(h);
        if (rec == nullptr || rec->queue.get() != &q || !rec->updatePending) continue;
        MSG m;
        m.hwnd = h;
        m.message = WM_PAINT;
        if (!Matches(m, filter, lo, hi)) continue;
        m.time = TimerNow();
        *out = m;
        return true;
    }
    std::uint64_t now = backend::NowMs();
    for (Timer& t : q.timers) {
        if (t.due > now) {
            *nextDue = std::min(*nextDue, t.due);
            continue;
        }
        if (t.internal) {
            if (!remove) continue;
            t.due = now + std::max<std::uint32_t>(t.interval, 1);
            *internalFire = t.internal;
            MSG m;
            *out = m;  // WM_NULL: handled internally by the caller
            return true;
        }
        MSG m;
        m.hwnd = t.hwnd;
        m.message = WM_TIMER;
        m.wParam = t.id;
        m.time = static_cast<DWORD>(now);
        if (!Matches(m, filter, lo, hi)) continue;
        if (remove) t.due = now + std::max<std::uint32_t>(t.interval, 1);
        *out = m;
        return true;
    }
    return false;
}

// Retrieves one message; `wait` blocks until one arrives.
bool Retrieve(MSG* msg, Hwnd filter, UINT lo, UINT hi, bool remove, bool wait) {
    auto q = CurrentQueue();
    bool polled = false;
    for (;;) {
        while (HandleOneSent(*q)) {}
        std::uint64_t nextDue;
        std::function<void()> fire;
        bool found;
        {
            std::lock_guard lk(CoreState().mu);
            q->wakePending = false;
            found = FindReady(*q, msg, filter, lo, hi, remove, &nextDue, &fire);
            if (found && !fire) {
                POINT cursor = CoreState().cursor;
                if (msg->time == 0) msg->time = TimerNow();
                if (msg->pt.x == 0 && msg->pt.y == 0) msg->pt = cursor;
            }
        }
        if (found && fire) {
            fire();
            continue;
        }
        if (found) return true;
        if (!wait) {
            if (polled) return false;
            polled = true;
            backend::Wait(*q, 0);
            continue;
        }
        int timeout = -1;
        if (nextDue != UINT64_MAX) {
            std::uint64_t now = backend::NowMs();
            timeout = nextDue > now
                          ? static_cast<int>(std::min<std::uint64_t>(nextDue - now, 1 << 30))
                          : 0;
        }
        backend::Wait(*q, timeout);
    }
}

}  // namespace

std::shared_ptr<ThreadQueue> CurrentQueue() {
    if (tlsQueue == nullptr) {
        auto q = std::make_shared<ThreadQueue>();
        q->thread = std::this_thread::get_id();
        q->native = backend::CreateQueue();
        tlsThreadEnd.Arm();
        std::lock_guard lk(CoreState().mu);
        auto& list = CoreState().queues;
        list.erase(std::remove_if(list.begin(), list.end(), [](auto& w) { return w.expired(); }),
                   list.end());
        list.push_back(q);
        CoreState().threadQueues[q->thread] = q;
        tlsQueue = q.get();
    }
    return tlsQueue->shared_from_this();
}

void WakeLocked(ThreadQueue& q) {
    q.wakePending = true;
    q.cv.NotifyAll();
    backend::Wake(q);
}

void QueueInputLocked(WindowRecord& rec, MSG msg) {
    msg.hwnd = rec.handle;
    if (msg.time == 0) msg.time = TimerNow();
    msg.pt = CoreState().cursor;
    InputItem item;
    item.msg = std::move(msg);
    std::copy(std::begin(CoreState().keys), std::end(CoreState().keys), item.keys.begin());
    rec.queue->input.push_back(std::move(item));
    WakeLocked(*rec.queue);
}

void PostLocked(WindowRecord& rec, MSG msg) {
    msg.hwnd = rec.handle;
    if (msg.time == 0) msg.time = TimerNow();
    msg.pt = CoreState().cursor;
    rec.queue->posted.push_back(std::move(msg));
    WakeLocked(*rec.queue);
}

void Deliver(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool own = WithWindow(hwnd, false, [&](WindowRecord& rec) {
        if (IsOwnerThread(rec)) return true;
        PostLocked(rec, MSG{nullptr, msg, wParam, lParam, 0, {}, {}});
        return false;
    });
    if (own) SendMessage(hwnd, msg, wParam, lParam);
}

void SetInternalTimerLocked(WindowRecord& rec, std::uintptr_t id, std::uint32_t ms,
                            std::function<void()> fn) {
    auto& timers = rec.queue->timers;
    for (Timer& t : timers) {
        if (t.hwnd == rec.handle && t.id == id && t.internal) {
            t.interval = ms;
            t.due = backend::NowMs() + ms;
            t.internal = std::move(fn);
            WakeLocked(*rec.queue);
            return;
        }
    }
    Timer t;
    t.hwnd = rec.handle;
    t.id = id;
    t.interval = ms;
    t.due = backend::NowMs() + ms;
    t.internal = std::move(fn);
    timers.push_back(std::move(t));
    WakeLocked(*rec.queue);
}

void KillInternalTimerLocked(WindowRecord& rec, std::uintptr_t id) {
    auto& timers = rec.queue->timers;
    timers.erase(std::remove_if(timers.begin(), timers.end(),
                                [&](const Timer& t) {
                                    return t.hwnd == rec.handle && t.id == id && t.internal;
                                }),
                 timers.end());
}

}  // namespace plat::core

namespace plat {

using namespace core;

int GetMessage(MSG* msg, Hwnd hwnd, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) return -1;
    Retrieve(msg, hwnd, filterMin, filterMax, true, true);
    return msg->message == WM_QUIT ? 0 : 1;
}

bool PeekMessage(MSG* msg, Hwnd hwnd, UINT filterMin, UINT filterMax, UINT remove) {
    if (msg == nullptr) return false;
    return Retrieve(msg, hwnd, filterMin, filterMax, (remove & PM_REMOVE) != 0, false);
}

bool WaitMessage() {
    MSG m;
    return Retrieve(&m, nullptr, 0, 0, false, true);
}

bool TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->input.empty()) return false;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return false;
    return WithWindow(msg->hwnd, false, [&](WindowRecord& rec) -> bool {
        bool sys = msg->message == WM_SYSKEYDOWN;
        // Control characters produced with Ctrl held are not typed text.
        const std::uint8_t* keys =
            rec.queue->hasSyncKeys ? rec.queue->syncKeys.data() : CoreState().keys;
        bool ctrl = (keys[VK_CONTROL] & 0x80) != 0 && !(keys[VK_MENU] & 0x80);
        std::size_t i = 0;
        const std::string& s = msg->input;
        std::string nonAscii;
        auto flushNonAscii = [&] {
            if (nonAscii.empty()) return;
            if (rec.imeAttached && !sys) {
                rt::Text cp = rt::Utf8ToCp936(nonAscii);
                MSG m;
                m.message = WM_IME_COMPOSITION;
                m.wParam = cp.size() >= 2 ? (static_cast<std::uint8_t>(cp[0]) << 8) |
                                                static_cast<std::uint8_t>(cp[1])
                                          : 0;
                m.lParam = GCS_RESULTSTR;
                m.input = nonAscii;
                PostLocked(rec, m);
            } else {
                for (unsigned char c : rt::Utf8ToCp936(nonAscii)) {
                    MSG m;
                    m.message = sys ? WM_SYSCHAR : WM_CHAR;
                    m.wParam = c;
                    m.lParam = msg->lParam;
                    PostLocked(rec, m);
                }
            }
            nonAscii.clear();
        };
        while (i < s.size()) {
            unsigned char c = static_cast<unsigned char>(s[i]);
            if (c < 0x80) {
                flushNonAscii();
                MSG m;
                m.message = sys ? WM_SYSCHAR : WM_CHAR;
                m.wParam = c;
                m.lParam = msg->lParam;
                if (ctrl && c >= 0x20 && c < 0x7F) {
                    // Ctrl+letter types the control code, as on the classic system.
                    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) m.wParam = (c & 0x1F);
                    else {
                        ++i;
                        continue;
                    }
                }
                PostLocked(rec, m);
                ++i;
            } else {
                std::size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
                nonAscii.append(s, i, len);
                i += len;
            }
        }
        flushNonAscii();
        return true;
    });
}

LRESULT DispatchMessage(const MSG* msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) return 0;
    TimerProc timerProc;
    WndProc proc;
    {
        std::lock_guard lk(CoreState().mu);
        WindowRecord* rec = Find(msg->hwnd);
        if (rec == nullptr) return 0;
        if (msg->message == WM_TIMER) {
            for (const Timer& t : rec->queue->timers)
                if (t.hwnd == msg->hwnd && t.id == msg->wParam && !t.internal) timerProc = t.proc;
        }
        if (msg->message == WM_IME_COMPOSITION && (msg->lParam & GCS_RESULTSTR))
            rec->compositionResult = msg->input;
        proc = rec->proc;
    }
    if (timerProc) {
        timerProc(msg->hwnd, WM_TIMER, msg->wParam, msg->time);
        return 0;
    }
    return CallWindowProc(proc, msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

bool PostMessage(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (hwnd == nullptr) {
        auto q = CurrentQueue();
        std::lock_guard lk(CoreState().mu);
        MSG m;
        m.message = msg;
        m.wParam = wParam;
        m.lParam = lParam;
        m.time = TimerNow();
        q->posted.push_back(m);
        WakeLocked(*q);
        return true;
    }
    return WithWindow(hwnd, [&](WindowRecord& rec) {
        PostLocked(rec, MSG{nullptr, msg, wParam, lParam, 0, {}, {}});
    });
}

LRESULT SendMessage(Hwnd hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<SentItem> item;
    std::shared_ptr<ThreadQueue> self;
    WndProc proc;
    {
        std::unique_lock lk(CoreState().mu);
        WindowRecord* rec = Find(hwnd);
        if (rec == nullptr) return 0;
        if (IsOwnerThread(*rec)) {
            proc = rec->proc;
        } else {
            if (!rec->queue->alive) return 0;
            lk.unlock();
            self = CurrentQueue();
            lk.lock();
            rec = Find(hwnd);
            if (rec == nullptr) return 0;
            item = std::make_shared<SentItem>();
            item->msg.hwnd = hwnd;
            item->msg.message = msg;
            item->msg.wParam = wParam;
            item->msg.lParam = lParam;
            item->sender = self;
            rec->queue->sent.push_back(item);
            WakeLocked(*rec->queue);
        }
    }
    if (!item) return CallWindowProc(proc, hwnd, msg, wParam, lParam);
    // Wait, handling what others send to this thread meanwhile.
    for (;;) {
        while (HandleOneSent(*self)) {}
        {
            std::lock_guard lk(CoreState().mu);
            self->wakePending = false;
            if (item->done) return item->result;
        }
        backend::Wait(*self, -1);
    }
}

void PostQuitMessage(int exitCode) {
    auto q = CurrentQueue();
    std::lock_guard lk(CoreState().mu);
    q->quit = true;
    q->quitCode = exitCode;
    WakeLocked(*q);
}

bool InSendMessage() { return tlsInSendFromOther > 0; }

std::uintptr_t SetTimer(Hwnd hwnd, std::uintptr_t id, UINT elapse, TimerProc proc) {
    return WithWindow(hwnd, 0, [&](WindowRecord& rec) -> std::uintptr_t {
        if (id == 0) id = 0x7FFF;
        elapse = std::max<UINT>(elapse, 1);
        std::uint64_t due = backend::NowMs() + elapse;
        for (Timer& t : rec.queue->timers) {
            if (t.hwnd == hwnd && t.id == id && !t.internal) {
                t.interval = elapse;
                t.due = due;
                t.proc = std::move(proc);
                WakeLocked(*rec.queue);
                return id;
            }
        }
        Timer t;
        t.hwnd = hwnd;
        t.id = id;
        t.interval = elapse;
        t.due = due;
        t.proc = std::move(proc);
        rec.queue->timers.push_back(std::move(t));
        WakeLocked(*rec.queue);
        return id;
    });
}

bool KillTimer(Hwnd hwnd, std::uintptr_t id) {
    return WithWindow(hwnd, false, [&](WindowRecord& rec) -> bool {
        auto& timers = rec.queue->timers;
        auto it = std::find_if(timers.begin(), timers.end(), [&](const Timer& t) {
            return t.hwnd == hwnd && t.id == id && !t.internal;
        });
        if (it == timers.end()) return false;
        timers.erase(it);
        return true;
    });
}

DWORD GetTickCount() { return static_cast<DWORD>(backend::NowMs()); }

void Sleep(DWORD ms) { backend::SleepMs(ms); }

}  // namespace plat
