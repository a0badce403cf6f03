#include "ui/Bitmap.h"

#include <algorithm>

namespace ui {

TRect PictureArea(int Width, int Height, TRect Box, TPictureStyle Style) {
  if (Style.Stretch) return Box;
  TRect Dest{Box.Left, Box.Top, Width, Height};
  if (Style.Center) {
    Dest.Left += (Box.Width - Width) / 2;
    Dest.Top += (Box.Height - Height) / 2;
  }
  return Dest;
}

void DrawPicture(TPixelTarget Target, const TBitmap32& Picture, TRect Box, TPictureStyle Style) {
  if (Picture.Width <= 0 || Picture.Height <= 0 || Box.Width <= 0 || Box.Height <= 0) return;
  DrawPictureClipped(Target, Picture, PictureArea(Picture.Width, Picture.Height, Box, Style), Box);
}

void DrawPictureClipped(TPixelTarget Target, const TBitmap32& Picture, TRect Dest, TRect Clip) {
  if (Picture.Width <= 0 || Picture.Height <= 0 || Dest.Width <= 0 || Dest.Height <= 0) return;
  const int Left = std::max({Dest.Left, Clip.Left, 0});
  const int Top = std::max({Dest.Top, Clip.Top, 0});
  const int Right = std::min({Dest.Right(), Clip.Right(), Target.Width});
  const int Bottom = std::min({Dest.Bottom(), Clip.Bottom(), Target.Height});

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

TBitmap32 Resampled(const TBitmap32& Picture, int Width, int Height) {
  TBitmap32 Out;
  if (Picture.Width <= 0 || Picture.Height <= 0 || Width <= 0 || Height <= 0) return Out;
  Out.Width = Width;
  Out.Height = Height;
  Out.Pixels.resize(static_cast<std::size_t>(Width) * static_cast<std::size_t>(Height));
  // Pixel centres map onto pixel centres; positions in 1/256 of a source pixel.
  const auto Position = [](int At, int From, int To) {
    const long long Scaled = ((2LL * At + 1) * From * 256) / (2LL * To) - 128;
    return std::clamp<long long>(Scaled, 0, (From - 1) * 256LL);
  };
  const auto Pixel = [&Picture](long long X, long long Y) {
    return Picture.Pixels[static_cast<std::size_t>(Y) * static_cast<std::size_t>(Picture.Width) +
                          static_cast<std::size_t>(X)];
  };
  for (int y = 0; y < Height; ++y) {
    const long long Sy = Position(y, Picture.Height, Height);
    const long long Y0 = Sy >> 8;
    const long long Y1 = std::min<long long>(Y0 + 1, Picture.Height - 1);
    const std::uint32_t Fy = static_cast<std::uint32_t>(Sy & 0xFF);
    for (int x = 0; x < Width; ++x) {
      const long long Sx = Position(x, Picture.Width, Width);
      const long long X0 = Sx >> 8;
      const long long X1 = std::min<long long>(X0 + 1, Picture.Width - 1);
      const std::uint32_t Fx = static_cast<std::uint32_t>(Sx & 0xFF);
      const std::uint32_t Corners[4] = {Pixel(X0, Y0), Pixel(X1, Y0), Pixel(X0, Y1), Pixel(X1, Y1)};
      const std::uint32_t Weights[4] = {(256 - Fx) * (256 - Fy), Fx * (256 - Fy), (256 - Fx) * Fy, Fx * Fy};
      std::uint32_t Result = 0;
      for (const int Shift : {0, 8, 16}) {
        std::uint32_t Sum = 0;
        for (int i = 0; i < 4; ++i) Sum += ((Corners[i] >> Shift) & 0xFFu) * Weights[i];
        Result |= ((Sum + 32768) >> 16) << Shift;
      }
      Out.Pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) + static_cast<std::size_t>(x)] = Result;
    }
  }
  return Out;
}

}  // namespace ui
