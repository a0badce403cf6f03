// Runs an action when a scope ends, however it ends: the one scope guard of the program.
#pragma once

#include <utility>

namespace platform {

template <typename F>
class [[nodiscard]] TScopeExit {
public:
  explicit TScopeExit(F Action) : FAction(std::move(Action)) {}
  ~TScopeExit() { FAction(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

private:
  F FAction;
};

}  // namespace platform
