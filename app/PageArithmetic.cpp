#include "app/PageArithmetic.h"

#include <cmath>

#include "app/Colours.h"
#include "download/Download.h"

namespace app {

TStatusLines SplitStatusText(const std::string& Text, const std::string& DefaultLine1,
                             const std::string& DefaultLine2) {
  const std::size_t Separator = Text.find(download::StatusSeparator);
  std::string Line1 = Text.substr(0, Separator);
  std::string Line2 = Separator == std::string::npos ? std::string() : Text.substr(Separator + 1);
  return {Line1.empty() ? DefaultLine1 : std::move(Line1), Line2.empty() ? DefaultLine2 : std::move(Line2)};
}

TProgressFrame ProgressFrame(int Step, int BarLeft, int FullWidth, int LabelWidth) {
  TProgressFrame Frame;
  Frame.BarWidth = static_cast<int>(std::trunc(FullWidth / 200.0 * Step));
  Frame.Percent = std::to_string(static_cast<int>(std::trunc(Step * 0.5))) + "%";
  const int Rightmost = BarLeft + FullWidth - LabelWidth - 10;
  const int BarEnd = BarLeft + Frame.BarWidth;
  if (Rightmost < BarEnd) {
    const int Overlap = BarEnd - Rightmost;
    Frame.LabelColour = ui::GreyColour(102 + static_cast<std::uint32_t>(std::trunc(153.0 / (LabelWidth + 10) * Overlap)));
    Frame.LabelLeft = Rightmost;
  } else {
    Frame.LabelColour = clGreyText;
    Frame.LabelLeft = BarEnd;
  }
  return Frame;
}

int ThumbTop(int Line, int Lines, int TrackHeight) {
  return Lines > 0 ? static_cast<int>(std::trunc(Line * (static_cast<double>(TrackHeight) / Lines))) : 0;
}

int LineAtThumb(int Y, int GrabOffset, int Lines, int TrackHeight) {
  return static_cast<int>(std::trunc(static_cast<double>(Lines) / TrackHeight * (Y - GrabOffset)));
}

}  // namespace app
