#include "ui/AppTitle.h"

namespace ui {

std::wstring ApplicationTitle(const std::wstring& ModulePath) {
  const std::size_t Slash = ModulePath.find_last_of(L"\\/:");
  const std::wstring Name = Slash == std::wstring::npos ? ModulePath : ModulePath.substr(Slash + 1);
  return Name.substr(0, Name.find(L'.'));
}

}  // namespace ui
