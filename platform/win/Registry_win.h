#pragma once

#include "platform/Registry.h"

namespace platform::win {

// Keys are opened in the 32-bit view (KEY_WOW64_32KEY): what the 32-bit
// program sees, also when the tests run as a 64-bit process.
class TWinRegistry final : public IRegistry {
public:
  [[nodiscard]] TLookup Read(TRootKey Root, const std::wstring& Key, const std::wstring& ValueName) override;
  [[nodiscard]] bool WriteDword(TRootKey Root, const std::wstring& Key, const std::wstring& ValueName,
                                std::uint32_t Value) override;
};

}  // namespace platform::win
