#include "download/ResellerId.h"

#include "checks/IntegerText.h"

namespace download {

std::int32_t TResellerId::GetResellerId() {
  std::int32_t Result = DefaultResellerId;
  if (const std::optional<std::string> Data = FResources.RcData("RESELLER")) {
    // The text ends at the first NUL or at the end of the resource.
    const std::string_view Text = std::string_view(*Data).substr(0, Data->find('\0'));
    Result = checks::ParseInteger(Text).value_or(DefaultResellerId);
  }
  // A failed write (no administrator rights, say) changes nothing for the caller.
  (void)FRegistry.RegWriteInteger(platform::TRootKey::LocalMachine, L"SOFTWARE\\Ostrevane\\Referrer\\", L"ID", Result);
  return Result;
}

}  // namespace download
