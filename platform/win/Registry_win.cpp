#include "platform/win/Registry_win.h"

#include <windows.h>

#include "platform/RegistryText.h"
#include "platform/win/Handles.h"

namespace platform::win {
namespace {

// Only the rights each call needs: keys that Windows installs give Administrators
// read access only, and a request for more is refused.
constexpr REGSAM ReadAccess = KEY_QUERY_VALUE | KEY_WOW64_32KEY;
constexpr REGSAM WriteAccess = KEY_SET_VALUE | KEY_WOW64_32KEY;

HKEY RootHandle(TRootKey Root) {
  switch (Root) {
    case TRootKey::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case TRootKey::CurrentUser:
      return HKEY_CURRENT_USER;
    case TRootKey::LocalMachine:
      break;
  }
  return HKEY_LOCAL_MACHINE;
}

// Windows takes "A\B\" as "A\B"; a leading backslash is the root itself.
std::wstring Relative(std::wstring Key) {
  while (!Key.empty() && Key.back() == L'\\') Key.pop_back();
  if (!Key.empty() && Key.front() == L'\\') Key.erase(0, 1);
  return Key;
}

}  // namespace

IRegistry::TLookup TWinRegistry::Read(TRootKey Root, const std::wstring& Key, const std::wstring& ValueName) {
  TLookup Result;
  TRegistryKey Opened;
  if (::RegOpenKeyExW(RootHandle(Root), Relative(Key).c_str(), 0, ReadAccess, Opened.Out()) != ERROR_SUCCESS) {
    return Result;
  }
  Result.KeyOpened = true;
  DWORD Type = 0;
  DWORD Bytes = 0;
  if (::RegQueryValueExW(Opened.Get(), ValueName.c_str(), nullptr, &Type, nullptr, &Bytes) != ERROR_SUCCESS) {
    return Result;
  }
  TRegistryValue Value;
  Value.IsString = Type == REG_SZ || Type == REG_EXPAND_SZ;
  if (Value.IsString) {
    std::optional<std::wstring> Text =
        ReadRegistryString(Bytes, [&](std::uint8_t* Buffer, std::uint32_t& Size) {
          DWORD Got = Size;
          DWORD GotType = 0;
          const LONG Status = ::RegQueryValueExW(Opened.Get(), ValueName.c_str(), nullptr, &GotType, Buffer, &Got);
          Size = Got;
          if (Status == ERROR_MORE_DATA) return TQueryResult::MoreData;
          return Status == ERROR_SUCCESS && GotType == Type ? TQueryResult::Ok : TQueryResult::Failed;
        });
    if (!Text) return Result;
    Value.Text = std::move(*Text);
  }
  Result.Value = std::move(Value);
  return Result;
}

bool TWinRegistry::WriteDword(TRootKey Root, const std::wstring& Key, const std::wstring& ValueName,
                              std::uint32_t Value) {
  TRegistryKey Opened;
  if (::RegCreateKeyExW(RootHandle(Root), Relative(Key).c_str(), 0, nullptr, 0, WriteAccess, nullptr, Opened.Out(),
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  const DWORD Data = Value;
  return ::RegSetValueExW(Opened.Get(), ValueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Data),
                          sizeof(Data)) == ERROR_SUCCESS;
}

}  // namespace platform::win
