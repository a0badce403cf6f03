#include "platform/win/Internet_win.h"

#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/UrlReference.h"
#include "platform/win/SystemLibrary_win.h"

namespace platform::win {
namespace {

constexpr DWORD OpenTypePreconfig = 0;
// Redirects are followed here, one request each: WinInet's own following goes on
// in the background after its request is closed, without end on an endless chain.
constexpr DWORD UrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_AUTO_REDIRECT;
constexpr DWORD QueryStatusCodeNumber = HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER;
constexpr DWORD QueryContentLengthNumber = HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER;
constexpr std::size_t LongestHeader = 1024;

using TApi = TWinInternet::TApi;
using THandle = TWinInternet::THandle;
using TInternetHandle = TWinInternet::TInternetHandle;

template <typename T>
void Bind(HMODULE Module, const char* Name, T& Entry) {
  Entry = EntryPoint<T>(Module, Name);
}

// What WinInet's callback writes for one request. A cancelled operation may
// still complete into it later, so it keeps itself alive until WinInet
// announces that the request handle is closing.
struct TRequestState {
  TUniqueHandle Done{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
  std::atomic<THandle> Handle{nullptr};
  // Written by the callback before it sets Done.
  DWORD_PTR Result = 0;
  DWORD Error = 0;
  std::vector<char> Buffer;
  DWORD BytesRead = 0;
  DWORD Available = 0;

  std::atomic<std::shared_ptr<TRequestState>> KeepAlive;

  // The state may end here, once the exchange is complete.
  void Release() { (void)KeepAlive.exchange(nullptr); }
};

void CALLBACK OnStatus(THandle, DWORD_PTR Context, DWORD Status, LPVOID Info, DWORD InfoLength) {
  auto* State = reinterpret_cast<TRequestState*>(Context);
  if (State == nullptr) return;
  switch (Status) {
    case INTERNET_STATUS_HANDLE_CREATED:
      if (Info != nullptr && InfoLength >= sizeof(INTERNET_ASYNC_RESULT)) {
        State->Handle = reinterpret_cast<THandle>(static_cast<const INTERNET_ASYNC_RESULT*>(Info)->dwResult);
      }
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE: {
      if (Info != nullptr && InfoLength >= sizeof(INTERNET_ASYNC_RESULT)) {
        State->Result = static_cast<const INTERNET_ASYNC_RESULT*>(Info)->dwResult;
        State->Error = static_cast<const INTERNET_ASYNC_RESULT*>(Info)->dwError;
      }
      // An opening that failed before any handle was made gets no closing notice.
      const bool NoHandle = State->Result == 0 && State->Handle.load() == nullptr;
      ::SetEvent(State->Done.Get());
      if (NoHandle) State->Release();
      break;
    }
    case INTERNET_STATUS_HANDLE_CLOSING:
      // The last notice WinInet gives for the request: nothing writes to the state after it.
      if (Info != nullptr && InfoLength >= sizeof(THandle) && *static_cast<const THandle*>(Info) == State->Handle.load()) {
        State->Release();
      }
      break;
    default:
      break;
  }
}

// A session's cancel: read without a system call on every block, waited on
// together with an operation in progress.
class TCancel {
public:
  void Raise() {
    FRaised = true;
    ::SetEvent(FEvent.Get());
  }
  [[nodiscard]] bool Raised() const { return FRaised; }
  [[nodiscard]] bool Usable() const { return static_cast<bool>(FEvent); }
  // False when the cancel comes first.
  [[nodiscard]] bool Pause(std::uint32_t Milliseconds) const {
    return Usable() && ::WaitForSingleObject(FEvent.Get(), Milliseconds) == WAIT_TIMEOUT;
  }

  // After a call that did not complete at once: waits for it unless the cancel
  // comes first; Ok when it completed with success.
  [[nodiscard]] IInternetRequest::TRead AwaitPending(const TRequestState& State) const {
    const DWORD Error = ::GetLastError();
    if (Error != ERROR_IO_PENDING) return {false, static_cast<std::uint32_t>(Error), 0};
    const HANDLE Events[] = {State.Done.Get(), FEvent.Get()};
    const bool Cancelled = ::WaitForMultipleObjects(2, Events, FALSE, INFINITE) != WAIT_OBJECT_0;
    if (Cancelled) return {false, ErrorOperationCancelled, 0};
    if (State.Result == 0) return {false, static_cast<std::uint32_t>(State.Error), 0};
    return {true, 0, 0};
  }

private:
  TUniqueHandle FEvent{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::atomic<bool> FRaised{false};
};

class TRequest final : public IInternetRequest {
public:
  TRequest(const TApi& Api, std::shared_ptr<TRequestState> State, const TCancel& Cancel, std::string Url)
      : FApi(Api),
        FState(std::move(State)),
        FCancel(Cancel),
        FUrl(std::move(Url)),
        FHandle(FState->Handle.load(), {Api.CloseHandle}) {}

  [[nodiscard]] const std::string& Url() const { return FUrl; }

  [[nodiscard]] bool QueryStatusCode(std::uint32_t& Code) override { return QueryNumber(QueryStatusCodeNumber, Code); }
  [[nodiscard]] bool QueryContentLength(std::uint32_t& Length) override {
    return QueryNumber(QueryContentLengthNumber, Length);
  }
  // Only what WinInet already holds is read, so that a read never waits for a
  // whole block: a pending read goes on after a cancel, holding its connection and
  // a thread until the server has sent the rest of the block. When WinInet holds
  // nothing, one byte is read: at the end of the data it returns none at once,
  // otherwise it waits for that single byte. WinInet may still finish an operation
  // after a cancel, so it writes into the state, never into Buffer.
  [[nodiscard]] TRead Read(char* Buffer, std::uint32_t Size) override {
    if (FCancel.Raised()) return {false, ErrorOperationCancelled, 0};
    if (FAvailable == 0) {
      const TRead Query = QueryAvailable();
      if (!Query.Ok) return Query;
      FAvailable = Query.Bytes;
    }
    TRequestState& State = *FState;
    const DWORD Wanted = std::min<DWORD>(Size, std::max<DWORD>(FAvailable, 1));
    if (State.Buffer.size() < Wanted) State.Buffer.resize(Wanted);
    State.BytesRead = 0;
    if (!FApi.ReadFile(FHandle.Get(), State.Buffer.data(), Wanted, &State.BytesRead)) {
      const TRead Failed = FCancel.AwaitPending(State);
      if (!Failed.Ok) return Failed;
    }
    const DWORD Bytes = std::min(State.BytesRead, Wanted);
    FAvailable = Bytes >= FAvailable ? 0 : FAvailable - Bytes;
    std::memcpy(Buffer, State.Buffer.data(), Bytes);
    return {true, 0, Bytes};
  }

  [[nodiscard]] std::string QueryHeader(THeader Header) override {
    const DWORD Query = Header == THeader::ETag           ? HTTP_QUERY_ETAG
                        : Header == THeader::LastModified ? HTTP_QUERY_LAST_MODIFIED
                        : Header == THeader::Date         ? HTTP_QUERY_DATE
                        : Header == THeader::ContentRange ? HTTP_QUERY_CONTENT_RANGE
                                                          : HTTP_QUERY_RETRY_AFTER;
    // Longer values than any of these takes are no value: the caller then does without.
    return QueryText(Query, LongestHeader).value_or(std::string());
  }

  [[nodiscard]] bool PromptProxyPassword() override { return FApi.Prompt.Ask(FHandle.Get()); }

  [[nodiscard]] TRead SendAgain() {
    if (FCancel.Raised()) return {false, ErrorOperationCancelled, 0};
    FAvailable = 0;
    ::ResetEvent(FState->Done.Get());
    if (FApi.Prompt.SendAgain(FHandle.Get())) return {true, 0, 0};
    return FCancel.AwaitPending(*FState);
  }

  // Where a redirect sends, made absolute against From. Final when the answer is
  // no redirect, or sends elsewhere than to HTTP or HTTPS; Refused when the
  // address is longer than the system takes.
  struct TRedirect {
    enum { Final, Follow, Refused } Kind = Final;
    std::string Target;
  };
  [[nodiscard]] TRedirect Redirect(const std::string& From) {
    std::uint32_t Status = 0;
    if (!QueryStatusCode(Status) || (Status != 301 && Status != 302 && Status != 303 && Status != 307 && Status != 308)) {
      return {};
    }
    // A Location longer than any address the system takes is refused, as is one that resolves to such.
    const std::optional<std::string> Location = QueryText(HTTP_QUERY_LOCATION, LongestUrl);
    if (!Location) return {::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? TRedirect::Refused : TRedirect::Final, {}};
    std::string Target = ResolveReference(From, *Location);
    if (Target.size() > LongestUrl) return {TRedirect::Refused, {}};
    if (!IsWebAddress(Target)) return {};
    return {TRedirect::Follow, std::move(Target)};
  }

private:
  // How much WinInet holds, readable at once; 0 may mean the end of the data or
  // nothing yet. A query that had to wait asks again, since the count its
  // completion carries differs between WinInet's versions.
  [[nodiscard]] TRead QueryAvailable() {
    TRequestState& State = *FState;
    for (;;) {
      State.Available = 0;
      // Only a call that goes pending signals; this clears one that a cancel left unheard.
      ::ResetEvent(State.Done.Get());
      if (FApi.QueryDataAvailable(FHandle.Get(), &State.Available, 0, 0)) return {true, 0, State.Available};
      const TRead Failed = FCancel.AwaitPending(State);
      if (!Failed.Ok) return Failed;
    }
  }

  // A header's text of at most Longest bytes; nothing when it is missing or longer (the
  // thread's last error tells which).
  [[nodiscard]] std::optional<std::string> QueryText(DWORD Query, std::size_t Longest) {
    std::string Value(Longest + 1, '\0');
    DWORD Length = static_cast<DWORD>(Value.size());
    if (!FApi.QueryInfoA(FHandle.Get(), Query, Value.data(), &Length, nullptr)) return std::nullopt;
    Value.resize(std::min<std::size_t>(Length, Longest));
    return Value;
  }

  bool QueryNumber(DWORD Query, std::uint32_t& Value) {
    DWORD Number = 0;
    DWORD Length = sizeof(Number);
    if (!FApi.QueryInfoA(FHandle.Get(), Query, &Number, &Length, nullptr)) return false;
    Value = Number;
    return true;
  }

  const TApi& FApi;
  std::shared_ptr<TRequestState> FState;
  const TCancel& FCancel;
  std::string FUrl;
  // What WinInet said it holds and was not read yet.
  DWORD FAvailable = 0;
  // Closing ends WinInet's work on the request; its closing notice then frees the state.
  TInternetHandle FHandle;
};

class TSession final : public IInternetSession {
public:
  TSession(const TApi& Api, TInternetHandle Handle) : FApi(Api), FHandle(std::move(Handle)) {
    FApi.SetStatusCallback(FHandle.Get(), &OnStatus);
  }

  // Each redirect's request is closed before the next is opened, so nothing of a
  // chain goes on once the download is done with it.
  [[nodiscard]] TOpened OpenUrl(const std::string& Url, const std::string& Headers) override {
    FHeaders = Headers;
    return Follow(OpenOnce(Url));
  }

  [[nodiscard]] TOpened SendAgain(std::unique_ptr<IInternetRequest> Request) override {
    const IInternetRequest::TRead Sent = static_cast<TRequest&>(*Request).SendAgain();
    if (!Sent.Ok) return {nullptr, Sent.Error};
    return Follow({std::move(Request), 0});
  }

  [[nodiscard]] bool Pause(std::uint32_t Milliseconds) override { return FCancel.Pause(Milliseconds); }

  void Cancel() override { FCancel.Raise(); }

private:
  [[nodiscard]] TOpened Follow(TOpened Opened) {
    for (int Redirects = 0;; ++Redirects) {
      if (!Opened.Request) return Opened;
      auto& Request = static_cast<TRequest&>(*Opened.Request);
      TRequest::TRedirect Redirect = Request.Redirect(Request.Url());
      if (Redirect.Kind == TRequest::TRedirect::Final) return Opened;
      if (Redirect.Kind == TRequest::TRedirect::Refused || Redirects == MostRedirects) return {};
      Opened = OpenOnce(Redirect.Target);
    }
  }

  [[nodiscard]] TOpened OpenOnce(const std::string& Url) {
    auto State = std::make_shared<TRequestState>();
    if (!State->Done || !FCancel.Usable()) return {nullptr, static_cast<std::uint32_t>(::GetLastError())};
    if (FCancel.Raised()) return {nullptr, ErrorOperationCancelled};
    State->KeepAlive.store(State);
    const LPCSTR ExtraHeaders = FHeaders.empty() ? nullptr : FHeaders.c_str();
    THandle Request = FApi.OpenUrlA(FHandle.Get(), Url.c_str(), ExtraHeaders, static_cast<DWORD>(FHeaders.size()),
                                    UrlFlags, reinterpret_cast<DWORD_PTR>(State.get()));
    if (Request != nullptr) {
      State->Handle = Request;
      return {std::make_unique<TRequest>(FApi, std::move(State), FCancel, Url), 0};
    }
    const DWORD Error = ::GetLastError();
    if (Error != ERROR_IO_PENDING) {
      // No handle was made, so no closing notice will come.
      State->Release();
      return {nullptr, static_cast<std::uint32_t>(Error)};
    }
    const IInternetRequest::TRead Opened = FCancel.AwaitPending(*State);
    if (Opened.Ok) State->Handle = reinterpret_cast<THandle>(State->Result);
    // A request that failed or was cancelled is closed by its owner.
    auto Owner = std::make_unique<TRequest>(FApi, std::move(State), FCancel, Url);
    if (!Opened.Ok) return {nullptr, Opened.Error};
    return {std::move(Owner), 0};
  }

  const TApi& FApi;
  std::string FHeaders;  // of the download's current request, sent on each of its redirects
  TCancel FCancel;
  // Closed first, before the cancel event its requests wait on.
  TInternetHandle FHandle;
};

}  // namespace

// On the first download's thread, so that start-up does not pay for WinInet.
// One download runs at a time, each after the last has ended.
void TWinInternet::Load() {
  if (FLoaded) return;
  FLoaded = true;
  FWinInet = LoadSystemLibrary(L"wininet.dll");
  HMODULE Module = FWinInet.Get();
  // WinInet's own threads may still run for a while after its last handle has
  // closed (a cancelled read, a connection being shut); unloading the library
  // under them would crash the program, so it stays for the process's life.
  HMODULE Pinned = nullptr;
  if (Module != nullptr) {
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                         reinterpret_cast<LPCWSTR>(Module), &Pinned);
  }
  Bind(Module, "InternetOpenA", FApi.OpenA);
  Bind(Module, "InternetOpenUrlA", FApi.OpenUrlA);
  Bind(Module, "HttpQueryInfoA", FApi.QueryInfoA);
  Bind(Module, "InternetReadFile", FApi.ReadFile);
  Bind(Module, "InternetQueryDataAvailable", FApi.QueryDataAvailable);
  Bind(Module, "InternetCloseHandle", FApi.CloseHandle);
  Bind(Module, "InternetSetStatusCallbackA", FApi.SetStatusCallback);
  FApi.Prompt.Bind(Module);
}

std::shared_ptr<IInternetSession> TWinInternet::Open() {
  Load();
  if (FApi.OpenA == nullptr || FApi.OpenUrlA == nullptr || FApi.QueryInfoA == nullptr || FApi.ReadFile == nullptr ||
      FApi.QueryDataAvailable == nullptr || FApi.CloseHandle == nullptr || FApi.SetStatusCallback == nullptr ||
      !FApi.Prompt.Bound()) {
    return nullptr;
  }
  TInternetHandle Root(FApi.OpenA("", OpenTypePreconfig, nullptr, nullptr, INTERNET_FLAG_ASYNC), {FApi.CloseHandle});
  if (!Root) return nullptr;
  return std::make_shared<TSession>(FApi, std::move(Root));
}

}  // namespace platform::win
