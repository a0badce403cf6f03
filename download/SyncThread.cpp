#include "download/SyncThread.h"

#include <chrono>

namespace download {

TSyncThread::TSyncThread(ISyncOwner& Owner) : FOwner(Owner), FOwnerThread(std::this_thread::get_id()) {
  FOwner.Register(*this);
}

TSyncThread::~TSyncThread() {
  if (FThread.joinable()) WaitFor();
  FOwner.Unregister(*this);
}

void TSyncThread::Start(std::function<void()> Body) {
  FThread = std::thread([this, Body = std::move(Body)] {
    Body();
    {
      const std::lock_guard<std::mutex> Guard(FLock);
      FFinished = true;
    }
    FChanged.notify_all();
  });
}

void TSyncThread::Synchronize(const std::function<void()>& Call) {
  if (std::this_thread::get_id() == FOwnerThread) {
    Call();
    return;
  }
  std::unique_lock<std::mutex> Guard(FLock);
  FPending = &Call;
  Guard.unlock();
  FChanged.notify_all();
  FOwner.Wake();
  Guard.lock();
  FChanged.wait(Guard, [this] { return FPending == nullptr; });
}

bool TSyncThread::Serve() {
  const std::function<void()>* Call = nullptr;
  {
    const std::lock_guard<std::mutex> Guard(FLock);
    Call = FPending;
  }
  if (Call == nullptr) return false;
  // Releases the worker however the call ends; an error goes on to the owner's caller.
  struct TRelease {
    TSyncThread& Thread;
    ~TRelease() {
      {
        const std::lock_guard<std::mutex> Guard(Thread.FLock);
        Thread.FPending = nullptr;
      }
      Thread.FChanged.notify_all();
    }
  } Release{*this};
  // The worker is blocked until the call has run, so Call stays valid.
  (*Call)();
  return true;
}

void TSyncThread::WaitFor() {
  if (!FThread.joinable()) return;
  for (;;) {
    Serve();
    {
      std::unique_lock<std::mutex> Guard(FLock);
      // Short waits, so that messages sent to the owner's windows are taken too.
      FChanged.wait_for(Guard, std::chrono::milliseconds(10), [this] { return FFinished || FPending != nullptr; });
      if (FFinished && FPending == nullptr) break;
    }
    FOwner.Pump();
  }
  FThread.join();
}

}  // namespace download
