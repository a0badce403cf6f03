#pragma once

#include <oleauto.h>
#include <unknwn.h>

#include <utility>

namespace platform::win {

// Move-only owners of COM objects.

// Owns one reference to a COM interface.
template <typename T>
class TComPtr {
public:
  TComPtr() = default;
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;
  TComPtr(TComPtr&& Other) noexcept : FPointer(std::exchange(Other.FPointer, nullptr)) {}
  TComPtr& operator=(TComPtr&& Other) noexcept {
    if (this != &Other) {
      Reset();
      FPointer = std::exchange(Other.FPointer, nullptr);
    }
    return *this;
  }

  [[nodiscard]] T* Get() const { return FPointer; }
  [[nodiscard]] T* operator->() const { return FPointer; }
  [[nodiscard]] explicit operator bool() const { return FPointer != nullptr; }
  // For out-parameters: releases what is held and lends the slot.
  [[nodiscard]] void** Out() {
    Reset();
    return reinterpret_cast<void**>(&FPointer);
  }
  void Reset() {
    if (FPointer != nullptr) std::exchange(FPointer, nullptr)->Release();
  }

private:
  T* FPointer = nullptr;
};

// Owns a VARIANT: initialised empty, cleared once.
class TVariant {
public:
  TVariant() { ::VariantInit(&Value); }
  explicit TVariant(long Number) : TVariant() {
    Value.vt = VT_I4;
    Value.lVal = Number;
  }
  // An owned copy of the text (a BSTR).
  explicit TVariant(const wchar_t* Text) : TVariant() {
    Value.vt = VT_BSTR;
    Value.bstrVal = ::SysAllocString(Text);
  }
  ~TVariant() { ::VariantClear(&Value); }
  TVariant(const TVariant&) = delete;
  TVariant& operator=(const TVariant&) = delete;
  VARIANT Value;
};

}  // namespace platform::win
