// The worker with the standard library's thread, lock and condition, for the
// native build and its tests; the program uses SyncThread_win.cpp.
#include "platform/SyncThread.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "platform/ScopeExit.h"

namespace platform {

struct TSyncThread::TState {
  std::thread::id OwnerThread = std::this_thread::get_id();
  std::thread Thread;
  std::mutex Lock;
  std::condition_variable Changed;
  const std::function<void()>* Pending = nullptr;
  bool Finished = false;
};

TSyncThread::TSyncThread(ISyncOwner& Owner) : FOwner(Owner), FState(std::make_unique<TState>()) {
  FOwner.Register(*this);
}

TSyncThread::~TSyncThread() {
  WaitFor();
  FOwner.Unregister(*this);
}

void TSyncThread::Start(std::function<void()> Body) {
  TState& State = *FState;
  State.Thread = std::thread([&State, Body = std::move(Body)] {
    Body();
    {
      const std::lock_guard<std::mutex> Guard(State.Lock);
      State.Finished = true;
    }
    State.Changed.notify_all();
  });
}

void TSyncThread::Synchronize(const std::function<void()>& Call) {
  TState& State = *FState;
  if (std::this_thread::get_id() == State.OwnerThread) {
    Call();
    return;
  }
  std::unique_lock<std::mutex> Guard(State.Lock);
  State.Pending = &Call;
  Guard.unlock();
  State.Changed.notify_all();
  FOwner.Wake();
  Guard.lock();
  State.Changed.wait(Guard, [&State] { return State.Pending == nullptr; });
}

bool TSyncThread::Serve() {
  TState& State = *FState;
  const std::function<void()>* Call = nullptr;
  {
    const std::lock_guard<std::mutex> Guard(State.Lock);
    Call = State.Pending;
  }
  if (Call == nullptr) return false;
  // Releases the worker however the call ends; an error goes on to the owner's caller.
  const TScopeExit Release([&State] {
    {
      const std::lock_guard<std::mutex> Guard(State.Lock);
      State.Pending = nullptr;
    }
    State.Changed.notify_all();
  });
  // The worker is blocked until the call has run, so Call stays valid.
  (*Call)();
  return true;
}

void TSyncThread::WaitFor() {
  TState& State = *FState;
  if (!State.Thread.joinable()) return;
  for (;;) {
    Serve();
    {
      std::unique_lock<std::mutex> Guard(State.Lock);
      // Short waits, so that messages sent to the owner's windows are taken too.
      State.Changed.wait_for(Guard, std::chrono::milliseconds(10),
                             [&State] { return State.Finished || State.Pending != nullptr; });
      if (State.Finished && State.Pending == nullptr) break;
    }
    FOwner.Pump();
  }
  State.Thread.join();
}

}  // namespace platform
