#include "download/RetryPolicy.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string_view>
#include <vector>

namespace download {
namespace {

constexpr std::uint32_t FirstPauseMs = 1000;
constexpr std::uint32_t LongestPauseMs = 15000;
constexpr std::uint32_t LongestRetryAfterS = 30;

// Decimal digits at Text[At] onwards, up to Limit; nothing when there are none or they exceed it.
std::optional<std::uint64_t> Number(const std::string& Text, std::size_t& At, std::uint64_t Limit) {
  const std::size_t Start = At;
  std::uint64_t Value = 0;
  for (; At < Text.size() && Text[At] >= '0' && Text[At] <= '9'; ++At) {
    Value = Value * 10 + static_cast<std::uint64_t>(Text[At] - '0');
    if (Value > Limit) return std::nullopt;
  }
  if (At == Start) return std::nullopt;
  return Value;
}

}  // namespace

bool IsTransientError(std::uint32_t SystemError) {
  switch (SystemError) {
    case 12002:  // ERROR_INTERNET_TIMEOUT
    case 12007:  // ERROR_INTERNET_NAME_NOT_RESOLVED: no network yet, as while Wi-Fi connects
    case 12029:  // ERROR_INTERNET_CANNOT_CONNECT
    case 12030:  // ERROR_INTERNET_CONNECTION_ABORTED
    case 12031:  // ERROR_INTERNET_CONNECTION_RESET
    case 12152:  // ERROR_HTTP_INVALID_SERVER_RESPONSE
    case 12163:  // ERROR_INTERNET_DISCONNECTED
    // The same as the sockets report them, which some WinInets (Wine's) pass on as they are.
    case 10050:  // WSAENETDOWN
    case 10051:  // WSAENETUNREACH
    case 10053:  // WSAECONNABORTED
    case 10054:  // WSAECONNRESET
    case 10060:  // WSAETIMEDOUT
    case 10065:  // WSAEHOSTUNREACH
      return true;
    default:
      return false;
  }
}

bool IsTransientStatus(std::uint32_t Status) {
  // 0: no status line at all, a connection that broke before the answer (so Wine reports it).
  return Status == 0 || Status == 408 || Status == 429 || Status == 500 || Status == 502 || Status == 503 ||
         Status == 504;
}

std::uint32_t PauseBeforeRetryMs(int Retry, const std::string& RetryAfter) {
  const int Doublings = std::clamp(Retry - 1, 0, 4);
  const std::uint32_t Pause = std::min(FirstPauseMs << Doublings, LongestPauseMs);
  // Only a delay in seconds is honoured, up to a limit; a date names a moment this clock cannot place.
  std::size_t At = 0;
  const std::optional<std::uint64_t> Asked = Number(RetryAfter, At, UINT32_MAX);
  if (!Asked || At != RetryAfter.size()) return Pause;
  return std::max(Pause, static_cast<std::uint32_t>(std::min<std::uint64_t>(*Asked, LongestRetryAfterS)) * 1000);
}

std::optional<std::int64_t> HttpDateSeconds(const std::string& Text) {
  std::vector<std::string> Words;
  for (std::size_t At = 0; At < Text.size();) {
    const std::size_t End = std::min(Text.find_first_of(" ,-:", At), Text.size());
    if (End > At) Words.push_back(Text.substr(At, End - At));
    At = End + 1;
  }
  // The day of the week is left to the reader; the asctime form puts the month before the day.
  if (Words.size() < 7) return std::nullopt;
  const bool Asctime = Words.size() == 7 && Words[1].size() == 3 && std::isalpha(static_cast<unsigned char>(Words[1][0]));
  if (!Asctime && (Words.size() != 8 || Words[7] != "GMT")) return std::nullopt;
  // Where the day, year, hours, minutes and seconds stand, and the month.
  constexpr std::size_t FixdateAt[] = {1, 3, 4, 5, 6, 2}, AsctimeAt[] = {2, 6, 3, 4, 5, 1};
  const std::size_t* Where = Asctime ? AsctimeAt : FixdateAt;
  std::int64_t Values[5] = {};
  for (int i = 0; i < 5; ++i) {
    std::size_t At = 0;
    const auto Value = Number(Words[Where[i]], At, 9999);
    if (!Value || At != Words[Where[i]].size()) return std::nullopt;
    Values[i] = static_cast<std::int64_t>(*Value);
  }
  const std::string& MonthName = Words[Where[5]];
  constexpr std::string_view Months = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const std::size_t Month = MonthName.size() == 3 ? Months.find(MonthName) : std::string_view::npos;
  auto [Day, Year, Hours, Minutes, Seconds] = Values;
  if (Month == std::string_view::npos || Month % 3 != 0 || Day < 1 || Day > 31 || Hours > 23 || Minutes > 59 ||
      Seconds > 60) {
    return std::nullopt;
  }
  if (Words[Where[1]].size() == 2) Year += Year < 70 ? 2000 : 1900;  // the old form's two digits
  // Days since 1970 of a date of the proleptic Gregorian calendar, the year starting in March.
  const std::int64_t M = static_cast<std::int64_t>(Month / 3) + 1;
  const std::int64_t Y = Year - (M <= 2 ? 1 : 0);
  const std::int64_t DayOfYear = (153 * (M > 2 ? M - 3 : M + 9) + 2) / 5 + Day - 1;
  const std::int64_t Days = Y * 365 + Y / 4 - Y / 100 + Y / 400 + DayOfYear - 719468;
  return ((Days * 24 + Hours) * 60 + Minutes) * 60 + Seconds;
}

std::string ResumeValidator(const std::string& ETag, const std::string& LastModified, const std::string& Date) {
  if (!ETag.empty()) {
    const bool Strong = ETag.size() >= 2 && ETag.front() == '"' && ETag.back() == '"';
    return Strong ? ETag : std::string();
  }
  const std::optional<std::int64_t> Modified = HttpDateSeconds(LastModified);
  const std::optional<std::int64_t> Answered = HttpDateSeconds(Date);
  return Modified && Answered && *Answered >= *Modified + 1 ? LastModified : std::string();
}

std::string ResumeHeaders(std::uint64_t From, const std::string& Validator) {
  return "Range: bytes=" + std::to_string(From) + "-\r\nIf-Range: " + Validator + "\r\n";
}

bool ContinuesAt(const std::string& ContentRange, std::uint64_t From, std::uint32_t Total) {
  constexpr char Unit[] = "bytes ";
  if (ContentRange.compare(0, sizeof(Unit) - 1, Unit) != 0 || Total == 0) return false;
  std::size_t At = sizeof(Unit) - 1;
  const auto First = Number(ContentRange, At, Total);
  if (!First || At >= ContentRange.size() || ContentRange[At++] != '-') return false;
  const auto Last = Number(ContentRange, At, Total);
  if (!Last || At >= ContentRange.size() || ContentRange[At++] != '/') return false;
  const auto Length = Number(ContentRange, At, Total);
  return Length && At == ContentRange.size() && *First == From && *Last + 1 == Total && *Length == Total;
}

}  // namespace download
