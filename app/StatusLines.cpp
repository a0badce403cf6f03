#include "app/KIVWindow.h"

namespace app {

void TKIVWindow::SetStatusText(const std::string& Text, const std::string& DefaultLine1,
                               const std::string& DefaultLine2, bool IsError) {
  lblProgressInfo1.Font.Color = IsError ? clErrorRed : clGreyText;
  // Only the first separator divides; a later one shows on line 2.
  const std::size_t Separator = Text.find(StatusSeparator);
  std::string Line1 = Text.substr(0, Separator);
  std::string Line2 = Separator == std::string::npos ? std::string() : Text.substr(Separator + 1);
  lblProgressInfo1.Caption = Line1.empty() ? DefaultLine1 : std::move(Line1);
  lblProgressInfo2.Caption = Line2.empty() ? DefaultLine2 : std::move(Line2);
}

void TKIVWindow::GreyOutProgressBar() {
  // The grey bar is exactly as long as the progress reached.
  imgProgressGrey.Bounds = imgProgress.Bounds;
  imgProgressGrey.Visible = true;
  imgProgress.Visible = false;
}

}  // namespace app
