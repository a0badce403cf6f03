// Move-only owners of Win32 handles: each releases its handle exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace platform::win {

// Traits give Invalid() and Close(); a closer that must be looked up at run
// time (a function of a library loaded on demand) is a traits object with state.
template <typename T, typename Traits>
class TUnique {
public:
  TUnique() = default;
  explicit TUnique(T Value, Traits ATraits = {}) : FValue(Value), FTraits(ATraits) {}
  ~TUnique() { Reset(); }
  TUnique(const TUnique&) = delete;
  TUnique& operator=(const TUnique&) = delete;
  TUnique(TUnique&& Other) noexcept
      : FValue(std::exchange(Other.FValue, Traits::Invalid())), FTraits(Other.FTraits) {}
  TUnique& operator=(TUnique&& Other) noexcept {
    if (this != &Other) {
      Reset();
      FValue = std::exchange(Other.FValue, Traits::Invalid());
      FTraits = Other.FTraits;
    }
    return *this;
  }

  [[nodiscard]] T Get() const { return FValue; }
  // For out-parameters: releases what is held and lends the slot.
  [[nodiscard]] T* Out() {
    Reset();
    return &FValue;
  }
  [[nodiscard]] explicit operator bool() const { return FValue != Traits::Invalid(); }
  // Gives up ownership without closing, for a handle the system has already released.
  [[nodiscard]] T Release() { return std::exchange(FValue, Traits::Invalid()); }
  void Reset(T Value = Traits::Invalid()) {
    if (FValue != Traits::Invalid()) FTraits.Close(FValue);
    FValue = Value;
  }

private:
  T FValue = Traits::Invalid();
  [[no_unique_address]] Traits FTraits{};
};

struct THandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE Handle) { ::CloseHandle(Handle); }
};
struct TGdiTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Close(HGDIOBJ Object) { ::DeleteObject(Object); }
};
struct TDcTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC Dc) { ::DeleteDC(Dc); }
};
struct TWindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND Window) { ::DestroyWindow(Window); }
};
struct TKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY Key) { ::RegCloseKey(Key); }
};
struct TModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE Module) { ::FreeLibrary(Module); }
};

using TUniqueHandle = TUnique<HANDLE, THandleTraits>;
using TGdiObject = TUnique<HGDIOBJ, TGdiTraits>;
using TMemoryDc = TUnique<HDC, TDcTraits>;
using TWindow = TUnique<HWND, TWindowTraits>;
using TModule = TUnique<HMODULE, TModuleTraits>;
using TRegistryKey = TUnique<HKEY, TKeyTraits>;

// Selects an object into a DC for one scope.
class TSelect {
public:
  TSelect(HDC Dc, HGDIOBJ Object) : FDc(Dc), FOld(::SelectObject(Dc, Object)) {}
  ~TSelect() { ::SelectObject(FDc, FOld); }
  TSelect(const TSelect&) = delete;
  TSelect& operator=(const TSelect&) = delete;

private:
  HDC FDc;
  HGDIOBJ FOld;
};

}  // namespace platform::win
