#pragma once
// A timer whose ticks come from a worker thread instead of the message queue,
// so they keep coming while the user-interface thread is busy in a modal loop
// or the queue is flooded, and arrive on the user-interface thread all the same.
//
// The worker waits on an auto-reset event with the interval as time-out; on
// each time-out it sends the tick to a message-only window of the thread that
// created the timer and waits until it has run there, where OnTimer runs when
// the timer is enabled and a handler is set. While disabled the worker waits
// without a time-out; enabling signals the event, so the wait starts afresh.
//
// Create, use and destroy a timer on one thread, the user-interface thread.

#include <windows.h>

#include <atomic>
#include <functional>

#include "base/handle_win.h"

namespace kv {

class TThreadedTimer {
 public:
  TThreadedTimer();
  // Stops the worker and waits for it; a tick already on its way is dropped,
  // so no OnTimer runs once destruction has begun. May run inside OnTimer.
  ~TThreadedTimer();
  TThreadedTimer(const TThreadedTimer&) = delete;
  TThreadedTimer& operator=(const TThreadedTimer&) = delete;

  [[nodiscard]] bool Enabled() const noexcept { return enabled_.load(); }
  void SetEnabled(bool enabled);
  // Milliseconds between ticks, counted from the end of the previous tick's
  // handler (or from enabling).
  [[nodiscard]] DWORD Interval() const noexcept { return interval_.load(); }
  // A different interval restarts the wait; the enabled state stays as it was.
  void SetInterval(DWORD milliseconds);
  [[nodiscard]] int ThreadPriority() const noexcept { return priority_; }
  void SetThreadPriority(int priority);

  std::function<void()> OnTimer;

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void StartWorker();
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Tick();

  std::atomic<bool> enabled_{false};
  std::atomic<bool> terminated_{false};
  std::atomic<DWORD> interval_{1000};
  int priority_ = THREAD_PRIORITY_NORMAL;
  bool inTick_ = false;
  bool* destroyedFlag_ = nullptr;  // set while OnTimer runs
  HWND window_ = nullptr;
  KernelHandle event_;
  KernelHandle thread_;
};

}  // namespace kv
