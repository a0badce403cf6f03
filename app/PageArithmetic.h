// The arithmetic of the install page and the licence viewer, apart from the
// window so that it can be checked case by case.
#pragma once

#include <string>

#include "ui/Controls.h"

namespace app {

struct TStatusLines {
  std::string Line1;
  std::string Line2;
};

// Divides a status message at its first separator (a later one shows on line 2);
// an empty line takes its default.
[[nodiscard]] TStatusLines SplitStatusText(const std::string& Text, const std::string& DefaultLine1,
                                           const std::string& DefaultLine2);

// The progress bar below its last step (0 to 199 of 200).
struct TProgressFrame {
  int BarWidth = 0;
  std::string Percent;  // the label's text
  int LabelLeft = 0;
  ui::TColor LabelColour = 0;
};

// The label travels with the bar's end until it reaches its last place, then
// brightens from dark grey to white as the bar passes under it.
[[nodiscard]] TProgressFrame ProgressFrame(int Step, int BarLeft, int FullWidth, int LabelWidth);

// The painted scrollbar: the thumb's top for the current line, and the line for
// a pointer at Y that holds the thumb GrabOffset pixels below its top.
[[nodiscard]] int ThumbTop(int Line, int Lines, int TrackHeight);
[[nodiscard]] int LineAtThumb(int Y, int GrabOffset, int Lines, int TrackHeight);

}  // namespace app
