#include "platform/win/Clock_win.h"

#include <windows.h>

namespace platform::win {

std::uint32_t TWinClock::TickCount() { return ::GetTickCount(); }

}  // namespace platform::win
