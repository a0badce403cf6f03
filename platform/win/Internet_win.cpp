#include "platform/win/Internet_win.h"

#include <atomic>

namespace platform::win {
namespace {

constexpr DWORD OpenTypePreconfig = 0;
// INTERNET_FLAG_RELOAD | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS
constexpr DWORD UrlFlags = 0x8000C000;
constexpr DWORD QueryStatusCodeNumber = 0x20000013;
constexpr DWORD QueryContentLengthNumber = 0x20000005;

using TApi = TWinInternet::TApi;
using THandle = TWinInternet::THandle;

template <typename T>
void Bind(HMODULE Module, const char* Name, T& Entry) {
  Entry = Module != nullptr ? reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(Module, Name))) : nullptr;
}

class TRequest final : public IInternetRequest {
public:
  TRequest(const TApi& Api, THandle Handle) : FApi(Api), FHandle(Handle) {}
  ~TRequest() override { FApi.CloseHandle(FHandle); }
  TRequest(const TRequest&) = delete;
  TRequest& operator=(const TRequest&) = delete;

  [[nodiscard]] bool QueryStatusCode(std::uint32_t& Code) override { return QueryNumber(QueryStatusCodeNumber, Code); }
  [[nodiscard]] bool QueryContentLength(std::uint32_t& Length) override {
    return QueryNumber(QueryContentLengthNumber, Length);
  }
  [[nodiscard]] TRead Read(char* Buffer, std::uint32_t Size) override {
    DWORD Bytes = 0;
    if (!FApi.ReadFile(FHandle, Buffer, Size, &Bytes)) return {false, static_cast<std::uint32_t>(::GetLastError()), 0};
    return {true, 0, Bytes};
  }

private:
  bool QueryNumber(DWORD Query, std::uint32_t& Value) {
    DWORD Number = 0;
    DWORD Length = sizeof(Number);
    if (!FApi.QueryInfoA(FHandle, Query, &Number, &Length, nullptr)) return false;
    Value = Number;
    return true;
  }

  const TApi& FApi;
  THandle FHandle;
};

class TSession final : public IInternetSession {
public:
  TSession(const TApi& Api, THandle Handle) : FApi(Api), FHandle(Handle) {}
  ~TSession() override { Close(); }
  TSession(const TSession&) = delete;
  TSession& operator=(const TSession&) = delete;

  [[nodiscard]] std::unique_ptr<IInternetRequest> OpenUrl(const std::string& Url) override {
    THandle Root = FHandle.load();
    if (Root == nullptr) return nullptr;
    THandle Request = FApi.OpenUrlA(Root, Url.c_str(), nullptr, 0, UrlFlags, 0);
    if (Request == nullptr) return nullptr;
    return std::make_unique<TRequest>(FApi, Request);
  }
  // Closing the root handle makes a read blocked under it return.
  void Close() override {
    if (THandle Root = FHandle.exchange(nullptr)) FApi.CloseHandle(Root);
  }

private:
  const TApi& FApi;
  std::atomic<THandle> FHandle;
};

}  // namespace

TWinInternet::TWinInternet() : FWinInet(::LoadLibraryExW(L"wininet.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
  HMODULE Module = FWinInet.Get();
  Bind(Module, "InternetOpenA", FApi.OpenA);
  Bind(Module, "InternetOpenUrlA", FApi.OpenUrlA);
  Bind(Module, "HttpQueryInfoA", FApi.QueryInfoA);
  Bind(Module, "InternetReadFile", FApi.ReadFile);
  Bind(Module, "InternetCloseHandle", FApi.CloseHandle);
}

std::shared_ptr<IInternetSession> TWinInternet::Open() {
  if (FApi.OpenA == nullptr || FApi.OpenUrlA == nullptr || FApi.QueryInfoA == nullptr || FApi.ReadFile == nullptr ||
      FApi.CloseHandle == nullptr) {
    return nullptr;
  }
  THandle Root = FApi.OpenA("", OpenTypePreconfig, nullptr, nullptr, 0);
  if (Root == nullptr) return nullptr;
  return std::make_shared<TSession>(FApi, Root);
}

}  // namespace platform::win
