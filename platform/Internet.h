// HTTP through the system's internet service, as the download thread uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// The system error of an operation that a cancel ended (ERROR_INTERNET_OPERATION_CANCELLED).
constexpr std::uint32_t ErrorOperationCancelled = 12017;

class IInternetRequest {
public:
  virtual ~IInternetRequest() = default;
  // Numeric header queries of the final response; false when the query fails.
  [[nodiscard]] virtual bool QueryStatusCode(std::uint32_t& Code) = 0;
  [[nodiscard]] virtual bool QueryContentLength(std::uint32_t& Length) = 0;
  struct TRead {
    bool Ok = false;
    std::uint32_t Error = 0;  // the system error when not Ok
    std::uint32_t Bytes = 0;
  };
  // Fails with ErrorOperationCancelled as soon as the session is cancelled,
  // whatever the server does.
  [[nodiscard]] virtual TRead Read(char* Buffer, std::uint32_t Size) = 0;
  enum class THeader { ETag, LastModified, Date, ContentRange, RetryAfter };
  // A header of the final response as the server sent it; empty when it has none.
  [[nodiscard]] virtual std::string QueryHeader(THeader Header) = 0;
  // After a 407, the proxy asking who the user is: the system's own prompt for the
  // proxy's user name and password, owned by the program's window, which waits for
  // it. True when the user gave them: the request may then be sent again. Called
  // on the thread that owns the window.
  [[nodiscard]] virtual bool PromptProxyPassword() = 0;
};

// The root handle: open while one download runs.
class IInternetSession {
public:
  virtual ~IInternetSession() = default;
  struct TOpened {
    std::unique_ptr<IInternetRequest> Request;
    std::uint32_t Error = 0;  // the system error when there is no request (0 for a refused redirect)
  };
  // A GET with the extra Headers (lines, each ending in CR LF) on every request,
  // answered by the server (never the cache), following at most MostRedirects
  // redirects to HTTP or HTTPS addresses. No request when it fails, is cancelled,
  // or the server redirects more often.
  [[nodiscard]] virtual TOpened OpenUrl(const std::string& Url, const std::string& Headers) = 0;
  // Sends Request again as it was, with what its prompt took, and follows its
  // redirects as OpenUrl does.
  [[nodiscard]] virtual TOpened SendAgain(std::unique_ptr<IInternetRequest> Request) = 0;
  // Waits, unless the session is cancelled first: then false, at once.
  [[nodiscard]] virtual bool Pause(std::uint32_t Milliseconds) = 0;
  // Ends the opening, read or pause in progress, and every later one, at once.
  // May be called from another thread, and more than once.
  virtual void Cancel() = 0;
};

constexpr int MostRedirects = 10;

class IInternet {
public:
  virtual ~IInternet() = default;
  // Nothing when the root handle cannot be opened.
  [[nodiscard]] virtual std::shared_ptr<IInternetSession> Open() = 0;
};

}  // namespace platform
