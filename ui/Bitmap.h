// 32-bit pictures and the software blits that put them on the page buffer.
#pragma once

#include <cstdint>
#include <vector>

#include "ui/Controls.h"

namespace ui {

// Top-down rows of 0x00RRGGBB pixels: the memory layout of a 32-bit DIB.
struct TBitmap32 {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint32_t> Pixels;
};

// A writable window onto pixels owned elsewhere (a DIB section).
struct TPixelTarget {
  std::uint32_t* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
};

// JPEG pictures carry no transparency: they are always drawn opaque.
struct TPictureStyle {
  bool Stretch = false;
  bool Center = false;
};

// Draws Picture into Box (a control's bounds on the target), clipped to both.
// Stretched pictures fill Box; others keep their size, at Box's top-left or centred in it.
void DrawPicture(TPixelTarget Target, const TBitmap32& Picture, TRect Box, TPictureStyle Style);

// Where a picture of Width x Height goes in Box.
[[nodiscard]] TRect PictureArea(int Width, int Height, TRect Box, TPictureStyle Style);

// Draws Picture stretched over Dest, only where Dest meets Clip.
void DrawPictureClipped(TPixelTarget Target, const TBitmap32& Picture, TRect Dest, TRect Clip);

// Picture at Width x Height, each pixel interpolated between its four nearest
// source pixels (bilinear), so that a page drawn at a larger scale stays smooth.
[[nodiscard]] TBitmap32 Resampled(const TBitmap32& Picture, int Width, int Height);

// 0x00BBGGRR to the 0x00RRGGBB of a pixel.
[[nodiscard]] constexpr std::uint32_t PixelOf(TColor Color) {
  return ((Color & 0xFFu) << 16) | (Color & 0xFF00u) | ((Color >> 16) & 0xFFu);
}

}  // namespace ui
