#pragma once

#include <cstdint>

#include "checks/Functions.h"
#include "platform/Resources.h"

namespace download {

// The reseller (referrer) number built into the program; reading it also
// records it in the machine-wide registry.
class IResellerId {
public:
  virtual ~IResellerId() = default;
  [[nodiscard]] virtual std::int32_t GetResellerId() = 0;
};

constexpr std::int32_t DefaultResellerId = 1;

// Reads the RESELLER resource afresh at every call and writes the number to
// HKLM "SOFTWARE\Ostrevane\Referrer\" value "ID".
class TResellerId final : public IResellerId {
public:
  TResellerId(platform::IResources& Resources, checks::IRegistryWriter& Registry)
      : FResources(Resources), FRegistry(Registry) {}
  [[nodiscard]] std::int32_t GetResellerId() override;

private:
  platform::IResources& FResources;
  checks::IRegistryWriter& FRegistry;
};

}  // namespace download
