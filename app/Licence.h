#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace app {

// The stored licence: one item per line feed, Windows-1252 text. A final line
// feed ends the last item rather than starting an empty one.
[[nodiscard]] std::vector<std::string> SplitLicenceItems(std::string_view Text);

}  // namespace app
