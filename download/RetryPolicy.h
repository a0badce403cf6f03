// When a download tries again after a failure, how long it waits first, and how
// it asks for the rest of a file it has begun: only the same file is continued.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace download {

// Tries again without a byte of progress at most this often, and no longer than this.
constexpr int MostRetriesWithoutProgress = 8;
constexpr std::uint32_t LongestWithoutProgressMs = 120000;

// A system error of the internet service that a poor line gives: a time-out, a
// failed connect, a connection aborted or reset (also as the sockets' own errors), a
// broken answer; or a network not there yet: a name not resolved, no connection,
// a network down or unreachable.
[[nodiscard]] bool IsTransientError(std::uint32_t SystemError);
// A status that says "try again later": 408, 429, 500, 502, 503, 504; or none (0), a
// connection that broke before its answer.
[[nodiscard]] bool IsTransientStatus(std::uint32_t Status);

// The pause before the Retry-th try in a row without progress (1 for the first):
// 1, 2, 4, 8 s, then 15 s; longer when the server asks for it in Retry-After, up to 30 s.
[[nodiscard]] std::uint32_t PauseBeforeRetryMs(int Retry, const std::string& RetryAfter);

// Seconds since 1 January 1970 of an HTTP date in any of its three forms
// ("Sun, 06 Nov 1994 08:49:37 GMT", "Sunday, 06-Nov-94 08:49:37 GMT",
// "Sun Nov  6 08:49:37 1994"); nothing when Text is none of them.
[[nodiscard]] std::optional<std::int64_t> HttpDateSeconds(const std::string& Text);

// What identifies the file across tries, sent back as If-Range; empty when there
// is none, and the file then starts over. A strong ETag; a weak one never (the
// server could not promise the same bytes). Without an ETag the Last-Modified
// date, when it is strong: the answer's Date at least a second after it.
[[nodiscard]] std::string ResumeValidator(const std::string& ETag, const std::string& LastModified,
                                          const std::string& Date);
// The request headers that ask for the rest of the file from byte From.
[[nodiscard]] std::string ResumeHeaders(std::uint64_t From, const std::string& Validator);
// True when a Content-Range ("bytes A-B/L") continues the file at From and ends
// at its end, Total bytes long.
[[nodiscard]] bool ContinuesAt(const std::string& ContentRange, std::uint64_t From, std::uint32_t Total);

}  // namespace download
