// The pages in the user's contrast theme: the model's colours mapped to the few
// colours the theme defines, at paint time; the model itself keeps its colours.
#pragma once

#include "ui/Controls.h"

namespace ui {

// The theme's colours that the pages use; the host looks each one up.
enum class TSystemColour { Window, WindowText, Highlight, HighlightText, GrayText, ButtonFace, ButtonText };

// A fill: the white paper stays the window's colour; any other fill is a mark.
[[nodiscard]] TSystemColour ContrastFill(TColor Colour);
// A text: a coloured one (an error, an installed component) stands out in the
// highlight colour; every grey is plain text.
[[nodiscard]] TSystemColour ContrastText(TColor Colour);

// How a label is drawn: its text colour, and whether it is a button (its face,
// with a border in the text's colour). A grey action's text and border are grey.
struct TContrastLook {
  TSystemColour Text = TSystemColour::WindowText;
  bool Button = false;
  friend bool operator==(const TContrastLook&, const TContrastLook&) = default;
};
[[nodiscard]] TContrastLook ContrastLook(const TLabel& Label, bool Available);

}  // namespace ui
