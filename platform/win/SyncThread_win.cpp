// The worker as a Win32 thread, with events and a slim lock: the program needs
// no thread library of the compiler's.
#include "platform/SyncThread.h"

#include <windows.h>

#include "platform/Error.h"
#include "platform/ScopeExit.h"
#include "platform/win/Handles.h"

namespace platform {

struct TSyncThread::TState {
  DWORD OwnerThread = ::GetCurrentThreadId();
  platform::win::TUniqueHandle Thread;
  SRWLOCK Lock = SRWLOCK_INIT;
  platform::win::TUniqueHandle Posted{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // a call waits
  platform::win::TUniqueHandle Served{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // it has run
  const std::function<void()>* Pending = nullptr;
  std::function<void()> Body;

  const std::function<void()>* Exchange(const std::function<void()>* Call) {
    ::AcquireSRWLockExclusive(&Lock);
    const std::function<void()>* Was = Pending;
    Pending = Call;
    ::ReleaseSRWLockExclusive(&Lock);
    return Was;
  }
  const std::function<void()>* Peek() {
    ::AcquireSRWLockShared(&Lock);
    const std::function<void()>* Call = Pending;
    ::ReleaseSRWLockShared(&Lock);
    return Call;
  }
  static DWORD WINAPI Run(void* State) {
    static_cast<TState*>(State)->Body();
    return 0;
  }
};

TSyncThread::TSyncThread(ISyncOwner& Owner) : FOwner(Owner), FState(std::make_unique<TState>()) {
  if (!FState->Posted || !FState->Served) throw platform::EError("the download thread cannot be prepared");
  FOwner.Register(*this);
}

TSyncThread::~TSyncThread() {
  WaitFor();
  FOwner.Unregister(*this);
}

void TSyncThread::Start(std::function<void()> Body) {
  FState->Body = std::move(Body);
  FState->Thread.Reset(::CreateThread(nullptr, 0, &TState::Run, FState.get(), 0, nullptr));
  if (!FState->Thread) throw platform::EError("the download thread cannot be started");
}

void TSyncThread::Synchronize(const std::function<void()>& Call) {
  if (::GetCurrentThreadId() == FState->OwnerThread) {
    Call();
    return;
  }
  FState->Exchange(&Call);
  ::SetEvent(FState->Posted.Get());
  FOwner.Wake();
  ::WaitForSingleObject(FState->Served.Get(), INFINITE);
}

bool TSyncThread::Serve() {
  const std::function<void()>* Call = FState->Peek();
  if (Call == nullptr) return false;
  // Releases the worker however the call ends; an error goes on to the owner's caller.
  TState& State = *FState;
  const TScopeExit Release([&State] {
    State.Exchange(nullptr);
    ::SetEvent(State.Served.Get());
  });
  // The worker is blocked until the call has run, so Call stays valid.
  (*Call)();
  return true;
}

void TSyncThread::WaitFor() {
  if (!FState->Thread) return;
  const HANDLE Events[] = {FState->Thread.Get(), FState->Posted.Get()};
  for (;;) {
    Serve();
    // Short waits, so that messages sent to the owner's windows are taken too.
    // A worker that has ended has no call pending: it waits for each call to be served.
    if (::WaitForMultipleObjects(2, Events, FALSE, 10) == WAIT_OBJECT_0) break;
    FOwner.Pump();
  }
  FState->Thread.Reset();
}

}  // namespace platform
