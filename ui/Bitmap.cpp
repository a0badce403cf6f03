#include "ui/Bitmap.h"

#include <algorithm>

namespace ui {

void DrawPicture(TPixelTarget Target, const TBitmap32& Picture, TRect Box, TPictureStyle Style) {
  if (Picture.Width <= 0 || Picture.Height <= 0 || Box.Width <= 0 || Box.Height <= 0) return;

  TRect Dest{Box.Left, Box.Top, Picture.Width, Picture.Height};
  if (Style.Stretch) {
    Dest = Box;
  } else if (Style.Center) {
    Dest.Left += (Box.Width - Picture.Width) / 2;
    Dest.Top += (Box.Height - Picture.Height) / 2;
  }

  const int Left = std::max({Dest.Left, Box.Left, 0});
  const int Top = std::max({Dest.Top, Box.Top, 0});
  const int Right = std::min({Dest.Right(), Box.Right(), Target.Width});
  const int Bottom = std::min({Dest.Bottom(), Box.Bottom(), Target.Height});

  for (int y = Top; y < Bottom; ++y) {
    // Nearest source row and column; exact for pictures drawn at their own size.
    const int sy = static_cast<int>(static_cast<long long>(y - Dest.Top) * Picture.Height / Dest.Height);
    const std::uint32_t* Source = Picture.Pixels.data() + static_cast<std::size_t>(sy) * static_cast<std::size_t>(Picture.Width);
    std::uint32_t* Row = Target.Pixels + static_cast<std::size_t>(y) * static_cast<std::size_t>(Target.Width);
    for (int x = Left; x < Right; ++x) {
      const int sx = static_cast<int>(static_cast<long long>(x - Dest.Left) * Picture.Width / Dest.Width);
      Row[x] = Source[sx] & 0xFFFFFFu;
    }
  }
}

}  // namespace ui
