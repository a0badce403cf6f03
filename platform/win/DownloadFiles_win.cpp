#include "platform/win/DownloadFiles_win.h"

#include <windows.h>

#include "platform/DecimalSeparator.h"
#include "platform/win/Handles.h"

namespace platform::win {
namespace {

class TStream final : public IFileStream {
public:
  explicit TStream(HANDLE File) : FFile(File) {}
  [[nodiscard]] std::uint32_t Write(const char* Data, std::uint32_t Size) override {
    DWORD Written = 0;
    if (!::WriteFile(FFile.Get(), Data, Size, &Written, nullptr)) return ::GetLastError();
    return Written == Size ? 0 : ERROR_DISK_FULL;
  }
  [[nodiscard]] std::uint32_t Size(std::uint64_t& Bytes) override {
    LARGE_INTEGER Size{};
    if (!::GetFileSizeEx(FFile.Get(), &Size)) return ::GetLastError();
    Bytes = static_cast<std::uint64_t>(Size.QuadPart);
    return 0;
  }

private:
  TUniqueHandle FFile;
};

HANDLE OrNull(HANDLE Handle) { return Handle == INVALID_HANDLE_VALUE ? nullptr : Handle; }

}  // namespace

void TWinDownloadFiles::Delete(const TPath& File) { ::DeleteFileW(File.c_str()); }

IDownloadFiles::TCreated TWinDownloadFiles::Create(const TPath& File) {
  HANDLE Handle = OrNull(::CreateFileW(File.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  if (Handle == nullptr) return {nullptr, ::GetLastError()};
  return {std::make_unique<TStream>(Handle), 0};
}

std::optional<std::uint64_t> TWinDownloadFiles::FreeSpace(const TPath& File) {
  ULARGE_INTEGER Free{};
  const TPath Folder = FolderPart(File);
  if (Folder.empty() || !::GetDiskFreeSpaceExW(Folder.c_str(), &Free, nullptr, nullptr)) return std::nullopt;
  return Free.QuadPart;
}

std::uint32_t TWinDownloadFiles::LastSystemError() { return ::GetLastError(); }

char UserDecimalSeparator() {
  wchar_t Value[8] = {};
  const int Length = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, Value, 8);
  return DecimalSeparatorOf(std::wstring_view(Value, Length > 0 ? static_cast<std::size_t>(Length) - 1 : 0),
                            [](wchar_t Character) -> std::optional<char> {
                              char Bytes[2] = {};
                              BOOL Replaced = FALSE;
                              const int Count = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &Character, 1,
                                                                      Bytes, 2, nullptr, &Replaced);
                              if (Count != 1 || Replaced) return std::nullopt;
                              return Bytes[0];
                            });
}

}  // namespace platform::win
