// How a label's caption is laid out: the rules the host hands to the system.
#include "ui/LabelRules.h"
#include "ui/Contrast.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using ui::TAlignment;
using ui::TTextLayout;

// A label's properties, as the pages set them; the label spans 100 to 130.
struct TProps {
  std::string_view Caption;
  TAlignment Alignment = TAlignment::Left;
  TTextLayout Layout = TTextLayout::Top;
  bool WordWrap = false;
  bool PathEllipsis = false;
  bool AutoHeight = false;
};

void Apply(ui::TLabel& Label, const TProps& Props) {
  Label.Caption = std::string(Props.Caption);
  Label.Alignment = Props.Alignment;
  Label.Layout = Props.Layout;
  Label.WordWrap = Props.WordWrap;
  Label.PathEllipsis = Props.PathEllipsis;
  Label.AutoHeight = Props.AutoHeight;
}

TEST(LabelFormat, FollowsTheLabelsProperties) {
  const struct {
    const char* Name;
    TProps Props;
    std::string_view Text;
    bool Clipped;
    bool Measured;
  } Cases[] = {
      {"plain", {"Thank you"}, "Thank you", true, false},
      {"centred action", {"Agree && Install", TAlignment::Center, TTextLayout::Center, true}, "Agree && Install",
       true, true},
      {"right-aligned progress", {"50%", TAlignment::Right, TTextLayout::Center}, "50%", true, true},
      {"path ellipsis", {"C:\\Users\\ann\\x.exe", TAlignment::Left, TTextLayout::Top, false, true},
       "C:\\Users\\ann\\x.exe", true, false},
      {"bottom layout is measured", {"Quicktime", TAlignment::Left, TTextLayout::Bottom, true}, "Quicktime", true, true},
      {"auto height is measured, never clipped", {"note", TAlignment::Left, TTextLayout::Top, true, false, true}, "note",
       false, true},
      {"cut at a zero byte", {std::string_view("Copying\0files", 13)}, "Copying", true, false},
      {"a leading zero byte shows nothing", {std::string_view("\0x", 2)}, "", true, false},
  };
  for (const auto& Case : Cases) {
    ui::TLabel Label{"lbl", {10, 100, 200, 30}};
    Apply(Label, Case.Props);
    const ui::TLabelFormat Format = ui::LabelFormat(Label);
    EXPECT_EQ(Format.Text, Case.Text) << Case.Name;
    EXPECT_EQ(Format.Alignment, Case.Props.Alignment) << Case.Name;
    EXPECT_EQ(Format.WordWrap, Case.Props.WordWrap) << Case.Name;
    EXPECT_EQ(Format.PathEllipsis, Case.Props.PathEllipsis) << Case.Name;
    EXPECT_EQ(Format.Clipped, Case.Clipped) << Case.Name;
    EXPECT_EQ(Format.Measured, Case.Measured) << Case.Name;
  }
}

TEST(LabelTextTop, PlacesTheTextAtTheTopTheMiddleOrTheBottom) {
  const struct {
    TTextLayout Layout;
    bool AutoHeight;
    int TextHeight;
    int Top;
  } Cases[] = {
      {TTextLayout::Top, false, 17, 100},    {TTextLayout::Center, false, 17, 106},
      {TTextLayout::Center, false, 18, 106}, {TTextLayout::Bottom, false, 17, 113},
      {TTextLayout::Center, false, 40, 95},  // taller than the label: it overhangs both edges
      {TTextLayout::Bottom, false, 40, 90},  {TTextLayout::Center, true, 17, 100},
  };
  for (const auto& Case : Cases) {
    ui::TLabel Label{"lbl", {10, 100, 200, 30}};
    Apply(Label, {"x", TAlignment::Left, Case.Layout, true, false, Case.AutoHeight});
    EXPECT_EQ(ui::LabelTextTop(Label, Case.TextHeight), Case.Top)
        << static_cast<int>(Case.Layout) << " " << Case.TextHeight << " " << Case.AutoHeight;
  }
}

// In a contrast theme: an action is a button, grey when it takes no input; a
// coloured text stands out, every grey (a channel spread under 0x40) is plain text.
TEST(Contrast, MapsTheModelsColoursToTheThemesRoles) {
  using ui::TSystemColour;
  const auto Look = [](ui::TRole Role, ui::TColor Colour, bool Available = true) {
    ui::TLabel Label("Label", {});
    Label.Role = Role;
    Label.Font.Color = Colour;
    const ui::TContrastLook Drawn = ui::ContrastLook(Label, Available);
    return std::make_pair(Drawn.Text, Drawn.Button);
  };
  EXPECT_EQ(Look(ui::TRole::Button, ui::clWhite), std::make_pair(TSystemColour::ButtonText, true));
  EXPECT_EQ(Look(ui::TRole::Button, 0x444444, false), std::make_pair(TSystemColour::GrayText, true));
  EXPECT_EQ(Look(ui::TRole::Link, 0x1413B1), std::make_pair(TSystemColour::Highlight, false));
  EXPECT_EQ(Look(ui::TRole::Text, 0x808040).first, TSystemColour::Highlight);
  EXPECT_EQ(Look(ui::TRole::Text, 0x808041).first, TSystemColour::WindowText);
  EXPECT_EQ(ui::ContrastFill(ui::clWhite), TSystemColour::Window);  // only white paper stays paper
  EXPECT_EQ(ui::ContrastFill(0xFEFFFF), TSystemColour::WindowText);
}

}  // namespace
