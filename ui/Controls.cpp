#include "ui/Controls.h"

namespace ui {

TControl* TPage::ControlAt(int X, int Y) const {
  for (auto it = Controls.rbegin(); it != Controls.rend(); ++it) {
    if ((*it)->Visible && (*it)->Bounds.Contains(X, Y)) return *it;
  }
  return nullptr;
}

}  // namespace ui
