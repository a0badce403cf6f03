#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ui/Pictures.h"
#include "ui/Scale.h"

namespace {

constexpr std::uint32_t Bg = 0x00C0C0C0;

struct TCanvasPixels {
  TCanvasPixels(int W, int H) : Width(W), Height(H), Pixels(static_cast<std::size_t>(W * H), Bg) {}
  ui::TPixelTarget Target() { return {Pixels.data(), Width, Height}; }
  [[nodiscard]] std::uint32_t At(int X, int Y) const { return Pixels[static_cast<std::size_t>(Y * Width + X)]; }
  int Width;
  int Height;
  std::vector<std::uint32_t> Pixels;
};

// A 2 x 2 picture: red, green / blue, white (bottom-left is blue).
ui::TBitmap32 Quad() { return {2, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}}; }

TEST(DrawPicture, StretchedFillsTheBoxWithNearestPixels) {
  TCanvasPixels Canvas(8, 8);
  ui::DrawPicture(Canvas.Target(), Quad(), {2, 2, 4, 4}, {true, false});
  EXPECT_EQ(Canvas.At(2, 2), 0xFF0000u);
  EXPECT_EQ(Canvas.At(5, 2), 0x00FF00u);
  EXPECT_EQ(Canvas.At(2, 5), 0x0000FFu);
  EXPECT_EQ(Canvas.At(5, 5), 0xFFFFFFu);
  EXPECT_EQ(Canvas.At(1, 1), Bg);
  EXPECT_EQ(Canvas.At(6, 6), Bg);
}

TEST(DrawPicture, CentredKeepsItsSizeInTheMiddleOfTheBox) {
  TCanvasPixels Canvas(8, 8);
  ui::DrawPicture(Canvas.Target(), Quad(), {0, 0, 6, 6}, {false, true});
  EXPECT_EQ(Canvas.At(2, 2), 0xFF0000u);
  EXPECT_EQ(Canvas.At(3, 3), 0xFFFFFFu);
  EXPECT_EQ(Canvas.At(1, 1), Bg);
  EXPECT_EQ(Canvas.At(4, 4), Bg);
}

TEST(DrawPicture, ClipsToTheBoxAndTheTarget) {
  TCanvasPixels Canvas(4, 4);
  // A shrinking box (as when a logo closes up) shows only its part of the picture.
  ui::DrawPicture(Canvas.Target(), Quad(), {0, 0, 2, 1}, {false, false});
  EXPECT_EQ(Canvas.At(0, 0), 0xFF0000u);
  EXPECT_EQ(Canvas.At(0, 1), Bg);
  // A box hanging over the edge draws what lies inside and nothing outside.
  ui::DrawPicture(Canvas.Target(), Quad(), {3, 3, 2, 2}, {true, false});
  EXPECT_EQ(Canvas.At(3, 3), 0xFF0000u);
  // Empty boxes and pictures draw nothing.
  ui::DrawPicture(Canvas.Target(), Quad(), {-5, -5, 0, 3}, {true, false});
  ui::DrawPicture(Canvas.Target(), ui::TBitmap32{}, {0, 0, 4, 4}, {true, false});
  EXPECT_EQ(Canvas.At(1, 1), Bg);
}

TEST(Resampled, InterpolatesEachChannelAndIsTheIdentityAtItsOwnSize) {
  const ui::TBitmap32 BlueRed{2, 1, {0x0000FF, 0xFF0000}};
  EXPECT_EQ(ui::Resampled(BlueRed, 2, 1).Pixels, BlueRed.Pixels);
  EXPECT_EQ(ui::Resampled(BlueRed, 4, 1).Pixels, (std::vector<std::uint32_t>{0x0000FF, 0x4000BF, 0xBF0040, 0xFF0000}));
  EXPECT_EQ(ui::Resampled(Quad(), 1, 1).Pixels, (std::vector<std::uint32_t>{0x808080}));
  // Rows and columns each by their own measure: black over white, and a picture wider than high.
  const ui::TBitmap32 Tall = ui::Resampled({1, 2, {0x000000, 0xFFFFFF}}, 1, 4);
  EXPECT_EQ(Tall.Pixels, (std::vector<std::uint32_t>{0x000000, 0x404040, 0xBFBFBF, 0xFFFFFF}));
  const ui::TBitmap32 Wide = ui::Resampled(BlueRed, 4, 2);
  EXPECT_EQ(std::vector<int>({Tall.Height, Wide.Width, Wide.Height}), std::vector<int>({4, 4, 2}));
  EXPECT_EQ(Wide.Pixels[4], 0x0000FFu);
}

// One rounding rule for every measure: halves away from zero, as MulDiv.
TEST(Scale, EveryMeasureByOneRuleAndEveryDisplayPixelBackToItsDesignPixel) {
  const struct {
    int Value, Dpi, Scaled;
  } Cases[] = {{600, 120, 750}, {338, 120, 423}, {17, 144, 26}, {338, 144, 507}, {600, 240, 1500}, {-1, 144, -2}};
  for (const auto& Case : Cases) {
    EXPECT_EQ(ui::Scaled(Case.Value, Case.Dpi), Case.Scaled) << Case.Value << "@" << Case.Dpi;
  }
  const ui::TRect List = ui::Scaled(ui::TRect{39, 95, 521, 168}, 144);
  EXPECT_EQ(std::vector<int>({List.Left, List.Top, List.Right(), List.Bottom()}),
            std::vector<int>({59, 143, 840, 395}));
  for (const int Dpi : {96, 120, 144, 240}) {
    for (int X = -4; X < 40; ++X) {
      const int Design = ui::Unscaled(X, Dpi);
      EXPECT_TRUE(ui::Scaled(Design, Dpi) <= X && X < ui::Scaled(Design + 1, Dpi)) << X << "@" << Dpi;
    }
  }
}

// A per-monitor window's frame is the monitor's: an 8-pixel border and a 31-pixel
// caption at 96 DPI, 12 and 47 at 144 DPI; the system's own where that is all it has.
TEST(FrameAround, IsMeasuredAtTheWindowsScaleWhereTheSystemCanAndWithinAPixelIsTheForm) {
  const auto Around = [](ui::TRect Client, int Dpi) {
    const int Border = ui::Scaled(8, Dpi), Caption = ui::Scaled(31, Dpi);
    return ui::TRect{-Border, -Border - Caption, Client.Width + 2 * Border, Client.Height + 2 * Border + Caption};
  };
  const ui::TRect PerMonitor = ui::FrameAround(600, 338, 144, {Around, [&](ui::TRect C) { return Around(C, 96); }});
  const ui::TRect SystemOnly = ui::FrameAround(600, 338, 144, {nullptr, [&](ui::TRect C) { return Around(C, 96); }});
  EXPECT_EQ(std::vector<int>({PerMonitor.Width, PerMonitor.Height, SystemOnly.Width, SystemOnly.Height}),
            std::vector<int>({924, 578, 916, 554}));
  EXPECT_TRUE(ui::IsClientAt(901, 506, 600, 338, 144));
  EXPECT_FALSE(ui::IsClientAt(900, 505, 600, 338, 144));
  EXPECT_FALSE(ui::IsClientAt(902, 507, 600, 338, 144));
}

TEST(PixelOf, SwapsRedAndBlue) { EXPECT_EQ(ui::PixelOf(0x1413B1), 0xB11314u); }

// A decoder that counts its calls and makes a 1 x 1 picture of the first byte.
class TFakeDecoder final : public ui::IPictureDecoder {
public:
  [[nodiscard]] std::optional<ui::TBitmap32> Decode(const unsigned char* Data, std::size_t Size) override {
    ++Calls;
    if (Size == 0 || Data[0] == 'x') return std::nullopt;
    return ui::TBitmap32{1, 1, {Data[0]}};
  }
  int Calls = 0;
};

TEST(PictureCache, DecodesEachPictureOnceOnFirstUseAndNeverRetriesAFailure) {
  const std::map<std::string, std::string> Stored{{"EULABACK", "a"}, {"BROKEN", "x"}};
  int Reads = 0;
  TFakeDecoder Decoder;
  ui::TPictureCache Cache(
      [&](const std::string& Name) -> std::string_view {
        ++Reads;
        const auto Found = Stored.find(Name);
        return Found == Stored.end() ? std::string_view() : std::string_view(Found->second);
      },
      Decoder);
  EXPECT_EQ(Decoder.Calls, 0);  // nothing is decoded before it is drawn
  for (int Paint = 0; Paint < 3; ++Paint) {
    const ui::TBitmap32* Back = Cache.Get("EULABACK");
    ASSERT_NE(Back, nullptr);
    EXPECT_EQ(Back->Pixels, std::vector<std::uint32_t>{'a'});
    EXPECT_EQ(Cache.Get("BROKEN"), nullptr);
    EXPECT_EQ(Cache.Get("MISSING"), nullptr);
  }
  EXPECT_EQ(Decoder.Calls, 2);  // the missing picture is never handed to the decoder
  EXPECT_EQ(Reads, 3);
}

}  // namespace
