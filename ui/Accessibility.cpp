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
  Item.Live = Control.Live;
  return Item;
}

// The item of Items that presents the control of Item; nullptr when none does.
const TAccessibleItem* Presenting(const std::vector<TAccessibleItem>& Items, const TAccessibleItem& Item) {
  const auto Found = std::find_if(Items.begin(), Items.end(),
                                  [&](const TAccessibleItem& Other) { return Other.Control == Item.Control; });
  return Found != Items.end() ? &*Found : nullptr;
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
    const TAccessibleItem* Old = Presenting(Before, After[i]);
    if (Old == nullptr) continue;
    if (Old->Name != After[i].Name) Changes.push_back({TAccessibleEvent::NameChange, i});
    if (Old->Value != After[i].Value) Changes.push_back({TAccessibleEvent::ValueChange, i});
    if (Old->Unavailable != After[i].Unavailable) Changes.push_back({TAccessibleEvent::StateChange, i});
  }
  return Changes;
}

std::vector<std::size_t> Announcements(const std::vector<TAccessibleItem>& Before,
                                       const std::vector<TAccessibleItem>& After) {
  std::vector<std::size_t> News;
  for (std::size_t i = 0; i < After.size(); ++i) {
    if (!After[i].Live || After[i].Name.empty()) continue;
    const TAccessibleItem* Old = Presenting(Before, After[i]);
    if (Old == nullptr || Old->Name != After[i].Name) News.push_back(i);
  }
  return News;
}

}  // namespace ui
