// Word-wrapping of the licence paragraphs into display lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "ui/Canvas.h"

namespace app {

constexpr std::uint32_t WrapBudgetMs = 3000;

// Splits every line wider than Limit pixels at the last space that still fits,
// the space staying at the end of the first part. Each pass splits a line once;
// passes repeat while something changed, within WrapBudgetMs of elapsed time.
// Lines still too wide when the budget is spent stay as they are.
void WrapLicenceLines(std::vector<std::string>& Items, int Limit, ui::ITextMeasurer& Measurer,
                      platform::IClock& Clock);

}  // namespace app
