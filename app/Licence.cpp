#include "app/Licence.h"

namespace app {

std::vector<std::string> SplitLicenceItems(std::string_view Text) {
  std::vector<std::string> Items;
  while (!Text.empty()) {
    const std::size_t End = Text.find('\n');
    Items.emplace_back(Text.substr(0, End));
    if (End == std::string_view::npos) break;
    Text.remove_prefix(End + 1);
  }
  return Items;
}

}  // namespace app
