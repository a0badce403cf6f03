#include "platform/RegistryText.h"

#include <algorithm>
#include <vector>

namespace platform {
namespace {

// A value that grows at every read is given up, not chased for ever; so is
// one larger than any text the program reads could be.
constexpr int MostReads = 8;
constexpr std::uint32_t MostBytes = 16u << 20;

}  // namespace

std::optional<std::wstring> ReadRegistryString(std::uint32_t Bytes, const TRawStringQuery& Query) {
  for (int Reads = 0; Reads < MostReads && Bytes <= MostBytes; ++Reads) {
    // Two spare bytes, so that an odd size still fits whole.
    std::vector<std::uint8_t> Buffer(static_cast<std::size_t>(Bytes) + 2, 0);
    std::uint32_t Got = static_cast<std::uint32_t>(Buffer.size());
    const TQueryResult Result = Query(Buffer.data(), Got);
    if (Result == TQueryResult::Failed) return std::nullopt;
    if (Result == TQueryResult::MoreData || Got > Buffer.size()) {
      Bytes = std::max(Got, Bytes + 2);
      continue;
    }
    std::wstring Text;
    for (std::uint32_t i = 0; i + 1 < Got; i += 2) {
      const auto Unit = static_cast<wchar_t>(Buffer[i] | (Buffer[i + 1] << 8));
      if (Unit == L'\0') break;
      Text.push_back(Unit);
    }
    return Text;
  }
  return std::nullopt;
}

}  // namespace platform
