#include "ui/Accessibility.h"

#include <algorithm>

namespace ui {
namespace {

std::string TextOf(const TControl* Control) {
  const auto* Label = dynamic_cast<const TLabel*>(Control);
  return Label != nullptr ? ShownText(Label->Caption) : std::string();
}

unsigned CodePageOf(const TControl& Control) {
  const auto* Label = dynamic_cast<const TLabel*>(&Control);
  return Label != nullptr ? Label->CodePage : 1252;
}

TAccessibleItem Describe(TForm& Form, TControl& Control) {
  TAccessibleItem Item;
  Item.Control = &Control;
  Item.Role = Control.Role;
  Item.CodePage = CodePageOf(Control);
  const std::string Own = TextOf(&Control);
  const std::string Naming = TextOf(Control.NamedBy);
  switch (Control.Role) {
    case TRole::Link:
      Item.Name = Naming.empty() || Own.empty() ? Naming + Own : Naming + ", " + Own;
      break;
    case TRole::ProgressBar:
      Item.Name = Naming;
      Item.Value = Own;
      break;
    case TRole::List:
      Item.Name = Naming;
      break;
    default:
      Item.Name = Own;
      break;
  }
  Item.Unavailable = IsAction(Control.Role) && !Form.IsActionAvailable(Control);
  return Item;
}

}  // namespace

std::string ShownText(const std::string& Caption) {
  std::string Shown;
  const std::size_t End = std::min(Caption.find('\0'), Caption.size());
  for (std::size_t i = 0; i < End; ++i) {
    if (Caption[i] == '&' && i + 1 < End) ++i;
    Shown.push_back(Caption[i]);
  }
  return Shown;
}

bool IsAction(TRole Role) { return Role == TRole::Button || Role == TRole::Link || Role == TRole::List; }

std::vector<TAccessibleItem> AccessibleItems(TForm& Form) {
  // A page has a dozen controls: each goes in after those that read before it.
  std::vector<TAccessibleItem> Items;
  for (TControl* Control : Form.Pages().ActivePage().Controls) {
    if (!Control->Visible || Control->Role == TRole::None) continue;
    const auto After = std::find_if(Items.begin(), Items.end(), [Control](const TAccessibleItem& Item) {
      const TRect& A = Control->Bounds;
      const TRect& B = Item.Control->Bounds;
      return A.Bottom() < B.Bottom() || (A.Bottom() == B.Bottom() && A.Left < B.Left);
    });
    Items.insert(After, Describe(Form, *Control));
  }
  return Items;
}

TControl* NextFocus(TForm& Form, const TControl* Current, bool Backward) {
  std::vector<TControl*> Actions;
  for (const TAccessibleItem& Item : AccessibleItems(Form)) {
    if (IsAction(Item.Role) && !Item.Unavailable) Actions.push_back(Item.Control);
  }
  if (Actions.empty()) return nullptr;
  const auto At = std::find(Actions.begin(), Actions.end(), Current);
  if (At == Actions.end()) return Backward ? Actions.back() : Actions.front();
  const std::size_t Index = static_cast<std::size_t>(At - Actions.begin());
  const std::size_t Count = Actions.size();
  return Actions[Backward ? (Index + Count - 1) % Count : (Index + 1) % Count];
}

TRect FocusBox(const TControl& Control) {
  TRect Box = Control.Bounds;
  if (Control.Role == TRole::List) return {Box.Left - 1, Box.Top - 1, Box.Width + 2, Box.Height + 2};
  if (Control.NamedBy != nullptr) {
    const TRect& Other = Control.NamedBy->Bounds;
    const int Left = std::min(Box.Left, Other.Left);
    const int Top = std::min(Box.Top, Other.Top);
    Box = {Left, Top, std::max(Box.Right(), Other.Right()) - Left, std::max(Box.Bottom(), Other.Bottom()) - Top};
  }
  return Box;
}

std::vector<TAccessibleChange> AccessibleChanges(const std::vector<TAccessibleItem>& Before,
                                                 const std::vector<TAccessibleItem>& After) {
  std::vector<TAccessibleChange> Changes;
  for (std::size_t i = 0; i < After.size(); ++i) {
    const auto Old = std::find_if(Before.begin(), Before.end(),
                                  [&](const TAccessibleItem& Item) { return Item.Control == After[i].Control; });
    if (Old == Before.end()) continue;
    if (Old->Name != After[i].Name) Changes.push_back({TAccessibleEvent::NameChange, i});
    if (Old->Value != After[i].Value) Changes.push_back({TAccessibleEvent::ValueChange, i});
    if (Old->Unavailable != After[i].Unavailable) Changes.push_back({TAccessibleEvent::StateChange, i});
  }
  return Changes;
}

}  // namespace ui
