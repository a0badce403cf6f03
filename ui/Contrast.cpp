#include "ui/Contrast.h"

#include <algorithm>

namespace ui {
namespace {

// How far a colour's channels lie apart: 0 for every grey.
std::uint32_t Chroma(TColor Colour) {
  const std::uint32_t Red = Colour & 0xFF, Green = Colour >> 8 & 0xFF, Blue = Colour >> 16 & 0xFF;
  return std::max({Red, Green, Blue}) - std::min({Red, Green, Blue});
}

// The least chroma that reads as a colour rather than a tinted grey.
constexpr std::uint32_t ColouredFrom = 0x40;

}  // namespace

TSystemColour ContrastFill(TColor Colour) {
  return (Colour & 0xFFFFFF) == clWhite ? TSystemColour::Window : TSystemColour::WindowText;
}

TSystemColour ContrastText(TColor Colour) {
  return Chroma(Colour) >= ColouredFrom ? TSystemColour::Highlight : TSystemColour::WindowText;
}

TContrastLook ContrastLook(const TLabel& Label, bool Available) {
  if (Label.Role == TRole::Button) return {Available ? TSystemColour::ButtonText : TSystemColour::GrayText, true};
  return {ContrastText(Label.Font.Color), false};
}

}  // namespace ui
