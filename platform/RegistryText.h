// Reading a registry string whose stored size nobody vouches for: any byte
// count, no terminator, several NULs, or a value that changes while it is read.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace platform {

enum class TQueryResult { Ok, MoreData, Failed };

// One read of the value's data into Buffer of Bytes bytes; on Ok and MoreData,
// Bytes becomes the size the value has now.
using TRawStringQuery = std::function<TQueryResult(std::uint8_t* Buffer, std::uint32_t& Bytes)>;

// The string up to its first NUL (UTF-16, little-endian; an odd last byte is
// dropped). Starts with the size of the first query; reads again while the
// value grows, a bounded number of times. Nothing when a read fails.
[[nodiscard]] std::optional<std::wstring> ReadRegistryString(std::uint32_t Bytes, const TRawStringQuery& Query);

}  // namespace platform
