#include "app/LicenceWrap.h"

#include <cstddef>

namespace app {
namespace {

// Position (1-based) of the last space within the fitting prefix, or 0.
std::size_t BreakPosition(const std::string& Line, const std::vector<int>& PrefixWidths, int Limit) {
  std::size_t Break = 0;
  for (std::size_t p = 1; p <= Line.size(); ++p) {
    if (PrefixWidths[p - 1] > Limit) break;
    if (Line[p - 1] == ' ') Break = p;
  }
  return Break;
}

}  // namespace

void WrapLicenceLines(std::vector<std::string>& Items, int Limit, ui::ITextMeasurer& Measurer,
                      platform::IClock& Clock) {
  const std::uint32_t Start = Clock.TickCount();
  // Unsigned difference, so the budget holds across the 2^32 wrap of the tick count.
  auto OverBudget = [&] { return static_cast<std::uint32_t>(Clock.TickCount() - Start) > WrapBudgetMs; };

  bool Changed = true;
  while (Changed) {
    Changed = false;
    for (std::size_t i = 0; i < Items.size();) {
      const std::string& Line = Items[i];
      const std::vector<int> Widths = Measurer.PrefixWidths(Line);
      if (!Widths.empty() && Widths.back() > Limit) {
        const std::size_t Break = BreakPosition(Line, Widths, Limit);
        if (Break > 0) {
          std::string Rest = Line.substr(Break);
          Items[i].resize(Break);
          Items.insert(Items.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(Rest));
          Changed = true;
          ++i;  // the remainder waits for the next pass
        }
      }
      ++i;
      if (i < Items.size() && OverBudget()) break;
    }
    if (OverBudget()) break;
  }
}

}  // namespace app
