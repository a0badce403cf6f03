#include "platform/SystemLibrary.h"

namespace platform {
namespace {

constexpr std::uint32_t ErrorInvalidParameter = 87;

}  // namespace

void* LoadSystemLibrary(ISystemLoader& Loader, const TPath& Name) {
  const ISystemLoader::TLoaded Loaded = Loader.LoadFromSystem32(Name);
  if (Loaded.Module != nullptr || Loaded.Error != ErrorInvalidParameter) return Loaded.Module;
  TPath Folder = Loader.SystemDirectory();
  if (Folder.empty()) return nullptr;
  if (Folder.back() != L'\\') Folder += L'\\';
  return Loader.LoadFullPath(Folder + Name).Module;
}

}  // namespace platform
