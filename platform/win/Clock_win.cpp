#include "platform/win/Clock_win.h"

#include <windows.h>

namespace platform::win {

std::uint32_t TWinClock::TickCount() { return ::GetTickCount(); }

void TWinClock::Sleep(std::uint32_t Milliseconds) { ::Sleep(Milliseconds); }

}  // namespace platform::win
