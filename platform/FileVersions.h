#pragma once

#include <cstdint>
#include <optional>

#include "platform/Path.h"

namespace platform {

// The file version of a file's fixed version information.
struct TFixedVersion {
  std::uint16_t Major = 0;
  std::uint16_t Minor = 0;
  std::uint16_t Release = 0;
  std::uint16_t Build = 0;
};

class IFileVersions {
public:
  virtual ~IFileVersions() = default;
  // Nothing when the file is missing or has no readable version information.
  [[nodiscard]] virtual std::optional<TFixedVersion> Read(const TPath& File) = 0;
  // The system folder, as the system reports it.
  [[nodiscard]] virtual TPath SystemDirectory() = 0;
};

}  // namespace platform
