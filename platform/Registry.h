#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/Error.h"

namespace platform {

enum class TRootKey { ClassesRoot, CurrentUser, LocalMachine };

// What a registry value holds, as far as the program cares.
struct TRegistryValue {
  bool IsString = false;  // REG_SZ or REG_EXPAND_SZ (not expanded)
  std::wstring Text;      // the string, when IsString
};

class IRegistry {
public:
  virtual ~IRegistry() = default;
  // Opens Key under Root with full access. Nothing when the key cannot be opened;
  // a key with no value of that name gives a key result without a value.
  struct TLookup {
    bool KeyOpened = false;
    std::optional<TRegistryValue> Value;
  };
  [[nodiscard]] virtual TLookup Read(TRootKey Root, const std::wstring& Key, const std::wstring& ValueName) = 0;
  // Opens or creates Key and writes a REG_DWORD; false on any failure.
  [[nodiscard]] virtual bool WriteDword(TRootKey Root, const std::wstring& Key, const std::wstring& ValueName,
                                        std::uint32_t Value) = 0;
};

// A value of a type the caller cannot read as text.
class ERegistryException : public EError {
public:
  using EError::EError;
};

}  // namespace platform
