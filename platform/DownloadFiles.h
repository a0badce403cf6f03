#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/Path.h"

namespace platform {

class IFileStream {
public:
  virtual ~IFileStream() = default;
  // Writes all of Data: 0, or the system error when the write fails or falls short.
  [[nodiscard]] virtual std::uint32_t Write(const char* Data, std::uint32_t Size) = 0;
  // 0 with the size on disk, or the system error.
  [[nodiscard]] virtual std::uint32_t Size(std::uint64_t& Bytes) = 0;
};

class IDownloadFiles {
public:
  virtual ~IDownloadFiles() = default;
  virtual void Delete(const TPath& File) = 0;
  struct TCreated {
    std::unique_ptr<IFileStream> File;  // set when it could be created
    std::uint32_t Error = 0;            // the system error when not
  };
  // Creates or truncates the file for reading and writing, without sharing.
  [[nodiscard]] virtual TCreated Create(const TPath& File) = 0;
  // The bytes free to this user on the volume of File's folder; nothing when unknown.
  [[nodiscard]] virtual std::optional<std::uint64_t> FreeSpace(const TPath& File) = 0;
  // The calling thread's last system error: what a failure that came as an exception left.
  [[nodiscard]] virtual std::uint32_t LastSystemError() = 0;
};

}  // namespace platform
