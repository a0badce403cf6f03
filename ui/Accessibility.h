// What the keyboard and assistive technology see of a form: the active page's
// controls in reading order, each with a role, a name and a value, and the order
// in which the keyboard focus moves among the actions. The host only translates.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ui/Controls.h"
#include "ui/Form.h"

namespace ui {

// A caption as a label shows it: up to its first zero byte, "&&" as one "&",
// and the single "&" that marks an accelerator left out.
[[nodiscard]] std::string ShownText(const std::string& Caption);

// Buttons, links and lists take the keyboard focus.
[[nodiscard]] bool IsAction(TRole Role);

struct TAccessibleItem {
  TControl* Control = nullptr;
  TRole Role = TRole::None;
  std::string Name;   // in CodePage
  std::string Value;  // a progress bar's percentage as shown; otherwise empty
  unsigned CodePage = 1252;
  bool Unavailable = false;  // an action that ignores input now
  bool Live = false;         // told wherever the focus is

  friend bool operator==(const TAccessibleItem&, const TAccessibleItem&) = default;
};

// The visible controls of the active page that have a role, in reading order:
// by bottom edge, then from the left.
[[nodiscard]] std::vector<TAccessibleItem> AccessibleItems(TForm& Form);

// The available action after Current in reading order (before it when
// Backward), round the end of the page; nullptr when the page has none.
[[nodiscard]] TControl* NextFocus(TForm& Form, const TControl* Current, bool Backward);

// Where the focus cue is drawn: around the control and the control that names
// it; around a list from outside, since the list is a window of its own.
[[nodiscard]] TRect FocusBox(const TControl& Control);

enum class TAccessibleEvent { NameChange, ValueChange, StateChange };
struct TAccessibleChange {
  TAccessibleEvent Event;
  std::size_t Index;  // in After

  friend bool operator==(const TAccessibleChange&, const TAccessibleChange&) = default;
};

// What changed for the controls present both Before and After.
[[nodiscard]] std::vector<TAccessibleChange> AccessibleChanges(const std::vector<TAccessibleItem>& Before,
                                                               const std::vector<TAccessibleItem>& After);

// The live items of After that have a name, new since Before or named otherwise:
// told without the focus moving, in reading order.
[[nodiscard]] std::vector<std::size_t> Announcements(const std::vector<TAccessibleItem>& Before,
                                                     const std::vector<TAccessibleItem>& After);

}  // namespace ui
