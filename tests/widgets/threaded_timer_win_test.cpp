#include "widgets/threaded_timer_win.h"

#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

namespace kv {
namespace {

// Handles this thread's messages until done() or, as a guard against a hang,
// a generous time has passed.
template <typename Done>
bool PumpUntil(const Done& done, DWORD limitMs = 20000) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > limitMs) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  PumpUntil([&] { return GetTickCount() - start >= ms; });
}

// Keeps the processor busy, so that ticks and destruction race as they would
// on a loaded machine.
class Load {
 public:
  Load() {
    for (int i = 0; i < 2; ++i)
      threads_.emplace_back([this] {
        volatile unsigned x = 0;
        while (!stop_) x = x + 1;
      });
  }
  ~Load() {
    stop_ = true;
    for (auto& t : threads_) t.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

TEST(ThreadedTimer, StartsDisabledWithASecondAndNormalPriority) {
  TThreadedTimer timer;
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1000u);
  EXPECT_EQ(timer.ThreadPriority(), THREAD_PRIORITY_NORMAL);
}

// The threads of this process.
int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  CloseHandle(snapshot);
  return count;
}

// A timer that is never enabled never has a worker; the first enabling starts
// the one worker, with the priority set before, and it ticks at once.
TEST(ThreadedTimer, ItsWorkerStartsWhenTheTimerIsFirstEnabled) {
  const int before = ThreadCount();
  ASSERT_GT(before, 0);
  auto timer = std::make_unique<TThreadedTimer>();
  timer->SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL);
  timer->SetInterval(10);
  EXPECT_EQ(ThreadCount(), before);
  int ticks = 0;
  timer->OnTimer = [&] { ++ticks; };
  timer->SetEnabled(true);
  EXPECT_EQ(ThreadCount(), before + 1);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  timer->SetEnabled(false);
  timer->SetEnabled(true);
  EXPECT_EQ(ThreadCount(), before + 1);
  timer.reset();
  EXPECT_EQ(ThreadCount(), before);
  TThreadedTimer idle;  // ends without ever having a worker
}

TEST(ThreadedTimer, TicksRunOnTheCreatingThread) {
  TThreadedTimer timer;
  const DWORD self = GetCurrentThreadId();
  int ticks = 0;
  bool elsewhere = false;
  timer.OnTimer = [&] {
    ++ticks;
    elsewhere |= GetCurrentThreadId() != self;
  };
  timer.SetInterval(5);
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_FALSE(elsewhere);
}

TEST(ThreadedTimer, DisabledTimerDoesNotTick) {
  TThreadedTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(5);
  PumpFor(100);
  EXPECT_EQ(ticks, 0);
  timer.SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
  timer.SetEnabled(false);
  PumpFor(20);  // a tick already handed over may still arrive: it is dropped
  const int seen = ticks;
  PumpFor(150);
  EXPECT_EQ(ticks, seen);
}

TEST(ThreadedTimer, NewIntervalKeepsTheEnabledState) {
  TThreadedTimer timer;
  int ticks = 0;
  timer.OnTimer = [&] { ++ticks; };
  timer.SetInterval(50);
  EXPECT_FALSE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 50u);
  timer.SetEnabled(true);
  timer.SetInterval(5);
  EXPECT_TRUE(timer.Enabled());
  ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }));
}

TEST(ThreadedTimer, ATimerWithoutHandlerJustWaits) {
  TThreadedTimer timer;
  timer.SetInterval(1);
  timer.SetEnabled(true);
  PumpFor(30);
  timer.SetThreadPriority(THREAD_PRIORITY_BELOW_NORMAL);
  EXPECT_EQ(timer.ThreadPriority(), THREAD_PRIORITY_BELOW_NORMAL);
}

TEST(ThreadedTimer, NoTickRunsAfterDestructionUnderLoad) {
  Load load;
  int afterDestruction = 0;
  for (int round = 0; round < 40; ++round) {
    bool destroying = false;
    int ticks = 0;
    auto timer = std::make_unique<TThreadedTimer>();
    timer->OnTimer = [&] {
      ++ticks;
      if (destroying) ++afterDestruction;
    };
    timer->SetInterval(round % 3);  // 0 ms: a tick is always on its way
    timer->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 1 + round % 2; }));
    destroying = true;
    timer.reset();
    PumpFor(1);
  }
  PumpFor(30);
  EXPECT_EQ(afterDestruction, 0);
}

TEST(ThreadedTimer, HandlerMayDestroyItsOwnTimer) {
  auto timer = std::make_unique<TThreadedTimer>();
  int ticks = 0;
  timer->OnTimer = [&] {
    ++ticks;
    timer.reset();
  };
  timer->SetInterval(1);
  timer->SetEnabled(true);
  ASSERT_TRUE(PumpUntil([&] { return timer == nullptr; }));
  PumpFor(20);
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace kv
