#include "tests/unit/WindowFixture.h"

namespace {

class LicenceViewer : public wizard::WindowTest {
protected:
  LicenceViewer() {
    Window.EULA.Items.assign(200, "line");  // more lines than the 138-pixel track
    Window.FormCreate();
  }
  void Wheel(int Delta) {
    bool Handled = false;
    Window.FormMouseWheel(Delta, Handled);
    EXPECT_FALSE(Handled);
  }
  // Paints the scrollbar and returns the thumb's rectangle.
  ui::TRect PaintThumb() {
    class TCanvas final : public ui::ICanvas {
    public:
      void FillRect(ui::TRect Rect, ui::TColor Color) override { Fills.emplace_back(Rect, Color); }
      void TextOut(int, int, const std::string&, const ui::TFont&) override {}
      void DrawFocusRect(ui::TRect) override {}
      std::vector<std::pair<ui::TRect, ui::TColor>> Fills;
    } Canvas;
    Window.pbScrollbar.OnPaint(Window.pbScrollbar, Canvas);
    EXPECT_EQ(Canvas.Fills.size(), 2u);
    EXPECT_EQ(Canvas.Fills[0].second, ui::clWhite);
    EXPECT_EQ(Canvas.Fills[0].first.Height, 168);
    EXPECT_EQ(Canvas.Fills[1].second, 0xCCCCCCu);
    return Canvas.Fills[1].first;
  }
  ui::TPaintBox& Bar() { return Window.pbScrollbar; }
};

TEST_F(LicenceViewer, TheWheelMovesOneLinePerEventWithinTheList) {
  EXPECT_EQ(Window.EULA.ItemIndex, -1);
  Wheel(-120);
  EXPECT_EQ(Window.EULA.ItemIndex, 0);
  Wheel(-480);  // one line whatever the delta
  EXPECT_EQ(Window.EULA.ItemIndex, 1);
  Wheel(120);
  Wheel(120);
  Wheel(120);
  EXPECT_EQ(Window.EULA.ItemIndex, 0);
  Window.EULA.ItemIndex = 199;
  Wheel(-120);
  EXPECT_EQ(Window.EULA.ItemIndex, 199);
  Wheel(0);
  EXPECT_EQ(Window.EULA.ItemIndex, 199);
}

TEST_F(LicenceViewer, TheWheelActsOnlyOnTheLicencePage) {
  Window.Notebook1.PageIndex = 1;
  Wheel(-120);
  EXPECT_EQ(Window.EULA.ItemIndex, -1);
}

TEST_F(LicenceViewer, TheThumbFollowsTheCurrentLineAndStaysInTheBar) {
  const struct {
    int Line;
    int Top;
  } Cases[] = {{-1, 0}, {0, 0}, {100, 69}, {199, 137}};
  for (const auto& Case : Cases) {
    Window.EULA.ItemIndex = Case.Line;
    const ui::TRect Thumb = PaintThumb();
    EXPECT_EQ(Thumb.Top, Case.Top) << Case.Line;
    EXPECT_EQ(Thumb.Height, 30);
    EXPECT_EQ(Thumb.Width, 5);
  }
  // Fewer lines than track pixels: with no current line the thumb starts just above the track.
  Window.EULA.Items.resize(100);
  Window.EULA.ItemIndex = -1;
  EXPECT_EQ(PaintThumb().Top, -1);
}

TEST_F(LicenceViewer, APressOnTheTrackCentresTheThumbAndADragOnItDoesNotJump) {
  PaintThumb();
  Bar().OnMouseDown(Bar(), ui::TMouseButton::Left, 2, 100);  // below the thumb: grab offset 15
  EXPECT_EQ(Window.EULA.ItemIndex, static_cast<int>(200.0 / 138 * 85));
  const ui::TRect Thumb = PaintThumb();
  EXPECT_NEAR(Thumb.Top, 100 - 15, 1);
  Bar().OnMouseDown(Bar(), ui::TMouseButton::Left, 2, Thumb.Top + 5);  // on the thumb
  Bar().OnMouseMove(Bar(), true, 2, Thumb.Top + 5 + 10);
  EXPECT_NEAR(PaintThumb().Top, Thumb.Top + 10, 1);
}

TEST_F(LicenceViewer, DraggingPastEitherEndStopsAtTheFirstOrLastLine) {
  Bar().OnMouseDown(Bar(), ui::TMouseButton::Right, 2, 50);
  Bar().OnMouseMove(Bar(), true, 2, -400);
  EXPECT_EQ(Window.EULA.ItemIndex, 0);
  Bar().OnMouseMove(Bar(), true, 2, 900);
  EXPECT_EQ(Window.EULA.ItemIndex, 199);
  Bar().OnMouseMove(Bar(), false, 2, 50);  // no button held: nothing moves
  EXPECT_EQ(Window.EULA.ItemIndex, 199);
}

TEST_F(LicenceViewer, HoverSetsTheFlagAndLeavesTheTrackWhite) {
  Bar().OnMouseEnter(Bar());
  EXPECT_EQ(Bar().Tag, 1);
  PaintThumb();
  Bar().OnMouseLeave(Bar());
  EXPECT_EQ(Bar().Tag, 0);
}

}  // namespace
