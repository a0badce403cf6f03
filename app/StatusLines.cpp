#include "app/KIVWindow.h"
#include "app/PageArithmetic.h"

namespace app {

void TKIVWindow::SetStatusText(const std::string& Text, const std::string& DefaultLine1,
                               const std::string& DefaultLine2, bool IsError) {
  lblProgressInfo1.Font.Color = IsError ? clErrorRed : clGreyText;
  // An error is news wherever the focus is; a step of progress is not.
  lblProgressInfo1.Live = lblProgressInfo2.Live = IsError;
  TStatusLines Lines = SplitStatusText(Text, DefaultLine1, DefaultLine2);
  lblProgressInfo1.Caption = std::move(Lines.Line1);
  lblProgressInfo2.Caption = std::move(Lines.Line2);
}

void TKIVWindow::GreyOutProgressBar() {
  // The grey bar is exactly as long as the progress reached.
  imgProgressGrey.Bounds = imgProgress.Bounds;
  imgProgressGrey.Visible = true;
  imgProgress.Visible = false;
}

}  // namespace app
