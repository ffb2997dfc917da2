#include "widgets/threaded_timer_win.h"

#include <mutex>
#include <stdexcept>
#include <string>

#include "widgets/window_win.h"

namespace kv {

namespace {

constexpr wchar_t kClassName[] = L"KvThreadedTimer";
constexpr UINT kTickMessage = WM_APP + 1;

[[noreturn]] void Fail(const char* function) {
  throw std::runtime_error(std::string("TThreadedTimer.Create: ") + function + " failed.");
}

}  // namespace

TThreadedTimer::TThreadedTimer() {
  static std::once_flag registered;
  std::call_once(registered, [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  });
  // A message-only window: the worker's ticks reach this thread through it.
  window_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) Fail("CreateWindowEx");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  event_.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));  // auto-reset
  if (!event_) {
    DestroyWindow(window_);
    Fail("CreateEvent");
  }
}

// The worker starts when the timer is first enabled: until then it would only
// wait, and under Wine each thread keeps about a megabyte of its own.
void TThreadedTimer::StartWorker() {
  if (thread_) return;
  thread_.reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
  if (!thread_) Fail("CreateThread");
  if (priority_ != THREAD_PRIORITY_NORMAL) ::SetThreadPriority(thread_.get(), priority_);
}

TThreadedTimer::~TThreadedTimer() {
  terminated_ = true;
  // Destroyed from inside OnTimer: the worker is waiting for that very tick.
  if (inTick_) ReplyMessage(0);
  SetEvent(event_.get());
  // Wait for the worker, answering (and dropping) any tick it sends meanwhile;
  // a plain wait would deadlock with a worker blocked in SendMessage.
  HANDLE thread = thread_.get();
  while (thread) {
    const DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE);
    if (r != WAIT_OBJECT_0 + 1) break;  // the worker ended (or the wait failed)
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  if (destroyedFlag_) *destroyedFlag_ = true;
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TThreadedTimer::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  if (enabled) StartWorker();
  enabled_ = enabled;
  // Either way the worker starts its wait afresh: with the interval when
  // enabled, without a time-out (suspended) when not.
  SetEvent(event_.get());
}

void TThreadedTimer::SetInterval(DWORD milliseconds) {
  if (interval_ == milliseconds) return;
  const bool wasEnabled = enabled_;
  SetEnabled(false);
  interval_ = milliseconds;
  SetEnabled(wasEnabled);
}

void TThreadedTimer::SetThreadPriority(int priority) {
  priority_ = priority;
  if (thread_) ::SetThreadPriority(thread_.get(), priority);
}

DWORD WINAPI TThreadedTimer::ThreadMain(void* self) {
  auto* timer = static_cast<TThreadedTimer*>(self);
  while (!timer->terminated_) {
    const DWORD timeout = timer->enabled_ ? timer->interval_.load() : INFINITE;
    const DWORD r = WaitForSingleObject(timer->event_.get(), timeout);
    if (timer->terminated_) break;
    if (r == WAIT_TIMEOUT) SendMessageW(timer->window_, kTickMessage, 0, 0);
  }
  return 0;
}

LRESULT CALLBACK TThreadedTimer::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kTickMessage) {
    auto* timer = reinterpret_cast<TThreadedTimer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (timer) timer->Tick();
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void TThreadedTimer::Tick() {
  if (terminated_ || !enabled_ || !OnTimer) return;
  // The handler may destroy this timer (and with it OnTimer): run a copy, and
  // learn of the destruction through a flag on this stack.
  const std::function<void()> handler = OnTimer;
  bool destroyed = false;
  destroyedFlag_ = &destroyed;
  inTick_ = true;
  try {
    handler();
  } catch (...) {
    ui::ReportCurrentException();
  }
  if (destroyed) return;
  inTick_ = false;
  destroyedFlag_ = nullptr;
}

}  // namespace kv
