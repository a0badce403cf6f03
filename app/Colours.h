// The wizard's colours, 0x00BBGGRR.
#pragma once

#include "ui/Controls.h"

namespace app {

constexpr ui::TColor clGreyText = 0x999999;
constexpr ui::TColor clInstalledRed = 0x1413B1;
constexpr ui::TColor clErrorRed = 0x0000FF;
constexpr ui::TColor clInactiveGrey = 0x444444;

}  // namespace app
