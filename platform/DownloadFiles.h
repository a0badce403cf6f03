#pragma once

#include <cstdint>
#include <memory>

#include "platform/Error.h"
#include "platform/Path.h"

namespace platform {

class IFileStream {
public:
  virtual ~IFileStream() = default;
  // Writes all of Data; raises ESystemError when the write fails or falls short.
  virtual void Write(const char* Data, std::uint32_t Size) = 0;
  [[nodiscard]] virtual std::uint64_t Size() = 0;
};

class IDownloadFiles {
public:
  virtual ~IDownloadFiles() = default;
  virtual void Delete(const TPath& File) = 0;
  // Creates or truncates the file for reading and writing, without sharing.
  // Raises ESystemError when it cannot.
  [[nodiscard]] virtual std::unique_ptr<IFileStream> Create(const TPath& File) = 0;
  // The size of the file on disk, or 0 when it cannot be opened.
  [[nodiscard]] virtual std::uint64_t SizeByName(const TPath& File) = 0;
};

}  // namespace platform
