// How a label shows its caption: the rules the host hands to the system's text
// drawing, which also shows "&&" as one "&".
#pragma once

#include <string>

#include "ui/Controls.h"

namespace ui {

struct TLabelFormat {
  std::string Text;  // the caption up to its first zero byte, as a C string ends; empty: nothing to draw
  TAlignment Alignment = TAlignment::Left;
  bool WordWrap = false;      // lines break between words within the width
  bool PathEllipsis = false;  // one line; the middle of a long path gives way to "..."
  bool Clipped = false;       // cut at the bounds; otherwise (a label sized to its text) it may run past them
  bool Measured = false;      // the text's height is needed before it is drawn
};

[[nodiscard]] TLabelFormat LabelFormat(const TLabel& Label);

// The top of the text within the label for text TextHeight pixels high: at the
// top, centred (halves rounded towards the top) or at the bottom of the bounds.
[[nodiscard]] int LabelTextTop(const TLabel& Label, int TextHeight);

}  // namespace ui
