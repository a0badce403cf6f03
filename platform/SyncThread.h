// A worker thread whose synchronized calls run on the thread that owns it (the
// GUI thread). The owner's wait keeps serving those calls, so it cannot deadlock.
#pragma once

#include <functional>
#include <memory>

namespace platform {

class TSyncThread;

// The owning thread, as its workers see it.
class ISyncOwner {
public:
  virtual ~ISyncOwner() = default;
  // From any thread: asks the owner to call Serve of its live threads soon
  // (on Windows, a posted message).
  virtual void Wake() = 0;
  // On the owner while it waits: takes the messages sent to its windows meanwhile.
  virtual void Pump() = 0;
  // On the owner: the threads whose calls Wake serves.
  virtual void Register(TSyncThread& Thread) = 0;
  virtual void Unregister(TSyncThread& Thread) = 0;
};

class TSyncThread {
public:
  // Created on the owning thread.
  explicit TSyncThread(ISyncOwner& Owner);
  ~TSyncThread();
  TSyncThread(const TSyncThread&) = delete;
  TSyncThread& operator=(const TSyncThread&) = delete;

  void Start(std::function<void()> Body);
  // On the worker: runs Call on the owning thread and returns when it has.
  // On the owning thread: runs it at once.
  void Synchronize(const std::function<void()>& Call);
  // On the owning thread: runs a pending call, if any. True when one ran.
  bool Serve();
  // On the owning thread: returns when the body has returned, serving calls meanwhile.
  void WaitFor();

private:
  // The thread, its lock and its signals, as the platform provides them: the
  // standard library's natively, Win32's in the program.
  struct TState;
  ISyncOwner& FOwner;
  std::unique_ptr<TState> FState;
};

}  // namespace platform
