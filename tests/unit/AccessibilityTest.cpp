// What the keyboard and screen readers meet on each page: reading order, roles,
// names and values, the focus order and what counts as a change.
#include "ui/Accessibility.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "tests/unit/WindowFixture.h"

namespace {

using ui::TRole;
using wizard::WindowTest;

std::string RoleName(TRole Role) {
  switch (Role) {
    case TRole::Text: return "text";
    case TRole::Button: return "button";
    case TRole::Link: return "link";
    case TRole::ProgressBar: return "progress";
    case TRole::List: return "list";
    default: return "none";
  }
}

TEST(ShownText, DropsAcceleratorMarksAndStopsAtAZeroByte) {
  const struct {
    std::string Caption;
    std::string Shown;
  } Cases[] = {
      {"Agree && Install", "Agree & Install"}, {"&Help", "Help"},   {"&&&x", "&x"},
      {"ends with &", "ends with &"},           {std::string("Copying\0files", 13), "Copying"}, {"", ""},
  };
  for (const auto& Case : Cases) EXPECT_EQ(ui::ShownText(Case.Caption), Case.Shown) << Case.Caption;
}

class Accessibility : public WindowTest {
protected:
  Accessibility() { CreateAndShow(); }

  // Each item as "role name", with "=value" for a value and "(grey)" when unavailable.
  std::vector<std::string> Presented() {
    std::vector<std::string> Lines;
    for (const ui::TAccessibleItem& Item : ui::AccessibleItems(Window)) {
      std::string Line = RoleName(Item.Role) + " " + Item.Name;
      if (!Item.Value.empty()) Line += "=" + Item.Value;
      if (Item.Unavailable) Line += " (grey)";
      Lines.push_back(Line);
    }
    return Lines;
  }

  // The controls Tab reaches from the page's first focus, until one comes round again.
  std::vector<std::string> TabOrder(bool Backward) {
    std::vector<std::string> Names;
    const ui::TControl* At = Window.Notebook1.ActivePage().FirstFocus;
    while (Names.size() < 10) {
      At = ui::NextFocus(Window, At, Backward);
      const std::string Name = At != nullptr ? At->Name : "none";
      const bool Again = std::find(Names.begin(), Names.end(), Name) != Names.end();
      Names.push_back(Name);
      if (Again) break;
    }
    return Names;
  }

  void Report(const std::string& Text, std::int32_t Percent) { Downloads.Calls.back().OnProgress(Text, Percent); }
};

TEST_F(Accessibility, EachPageReadsInOrderWithRolesNamesAndValues) {
  EXPECT_EQ(Presented(), (std::vector<std::string>{"text Thank you for choosing Vestora",
                                                   "text To begin your experience read and agree the terms below:",
                                                   "list To begin your experience read and agree the terms below:",
                                                   "button Agree & Install", "button Disagree"}));
  Click(Window.lblAgree);
  Report("Downloading...\xAC" "1 of 2mb", 47);
  EXPECT_EQ(Presented(), (std::vector<std::string>{"text Thank you", "text We will now download and install Vestora",
                                                   "text Overall progress:", "progress Overall progress:=23%",
                                                   "text Downloading...", "text 1 of 2mb", "button Help",
                                                   "button Cancel"}));
  Report("Downloaded\xAC" "2 of 2mb", 100);
  EXPECT_EQ(Presented().back(), "button Cancel (grey)");

  Window.Notebook1.PageIndex = 2;
  Window.tmrSWCheckTimer(nullptr);
  const std::vector<std::string> Components = Presented();
  ASSERT_EQ(Components.size(), 7u);
  EXPECT_EQ(Components[2], "link DirectX, Click to intstall");
  EXPECT_EQ(Components[3], "link Windows Media Player, Click to intstall");
  EXPECT_EQ(Components[6], "button More...");
  Window.ShowCodecPacks();
  EXPECT_EQ(Presented()[2], "link DivX, Lets you play DivX, H.264, .MP4 & MKV files. Click to install.");
  EXPECT_EQ(Presented()[6], "text \x86 You may need to purchase/licence these products from their suppliers or may be "
                            "used for educational purposes only.");
}

TEST_F(Accessibility, TabVisitsTheAvailableActionsInReadingOrderRoundThePage) {
  const struct {
    int Page;
    const char* FirstFocus;
    std::vector<std::string> Forward;
    std::vector<std::string> Backward;
  } Pages[] = {
      {0, "lblAgree", {"lblDontAgree", "EULA", "lblAgree", "lblDontAgree"}, {"EULA", "lblDontAgree", "lblAgree", "EULA"}},
      {1, "lblInstall", {"lblHelp", "lblInstall", "lblHelp"}, {"lblHelp", "lblInstall", "lblHelp"}},
      {2,
       "lblDone",
       {"lblDX2", "lblWMP2", "lblAFP2", "lblQT2", "lblDone", "lblDX2"},
       {"lblQT2", "lblAFP2", "lblWMP2", "lblDX2", "lblDone", "lblQT2"}},
      {3, "none", {"lblRestart", "lblRestart"}, {"lblRestart", "lblRestart"}},
  };
  for (const auto& Page : Pages) {
    Window.Notebook1.PageIndex = Page.Page;
    const ui::TControl* First = Window.Notebook1.ActivePage().FirstFocus;
    EXPECT_EQ(First != nullptr ? First->Name : "none", Page.FirstFocus) << Page.Page;
    EXPECT_EQ(TabOrder(false), Page.Forward) << Page.Page;
    EXPECT_EQ(TabOrder(true), Page.Backward) << Page.Page;
  }
}

TEST_F(Accessibility, AGreyActionIsPassedOverAndAPageWithoutActionsHasNoFocus) {
  Click(Window.lblAgree);
  Report("Downloaded\xAC" "2 of 2mb", 100);
  EXPECT_EQ(TabOrder(false), (std::vector<std::string>{"lblHelp", "lblHelp"}));
  Window.lblHelp.Visible = false;
  EXPECT_EQ(ui::NextFocus(Window, nullptr, false), nullptr);
}

ui::TAccessibleItem Item(ui::TControl& Control, TRole Role, std::string Name, std::string Value = "",
                        bool Unavailable = false) {
  return {&Control, Role, std::move(Name), std::move(Value), 1252, Unavailable};
}

TEST(AccessibleChanges, NameValueAndStateOfControlsPresentBeforeAndAfter) {
  ui::TLabel Status{"status", {}};
  ui::TLabel Bar{"bar", {}};
  ui::TLabel Action{"action", {}};
  const std::vector<ui::TAccessibleItem> Before{Item(Status, TRole::Text, "Downloading..."),
                                                Item(Bar, TRole::ProgressBar, "Overall", "1%"),
                                                Item(Action, TRole::Button, "Cancel")};
  const std::vector<ui::TAccessibleItem> After{Item(Bar, TRole::ProgressBar, "Overall", "2%"),
                                               {&Status, TRole::Text, "Downloaded", "", 1252, false, true},
                                               Item(Action, TRole::Button, "Cancel", "", true)};
  using ui::TAccessibleEvent;
  EXPECT_EQ(ui::AccessibleChanges(Before, After),
            (std::vector<ui::TAccessibleChange>{{TAccessibleEvent::ValueChange, 0},
                                                {TAccessibleEvent::NameChange, 1},
                                                {TAccessibleEvent::StateChange, 2}}));
  EXPECT_TRUE(ui::AccessibleChanges(Before, {Item(Bar, TRole::ProgressBar, "Overall", "1%")}).empty());
  EXPECT_TRUE(ui::AccessibleChanges({}, After).empty());
  EXPECT_EQ(ui::Announcements(Before, After), std::vector<std::size_t>{1});
  EXPECT_EQ(ui::Announcements({}, After), std::vector<std::size_t>{1});
  EXPECT_TRUE(ui::Announcements(After, After).empty());
  EXPECT_TRUE(ui::Announcements(Before, {{&Status, TRole::Text, "", "", 1252, false, true}}).empty());
}

TEST(FocusBox, SpansARowsNameAndStateAndSurroundsAList) {
  ui::TLabel Product{"product", {145, 87, 147, 43}};
  ui::TLabel State{"state", {145, 130, 146, 39}};
  State.NamedBy = &Product;
  const ui::TRect Row = ui::FocusBox(State);
  EXPECT_EQ((std::vector<int>{Row.Left, Row.Top, Row.Width, Row.Height}), (std::vector<int>{145, 87, 147, 82}));
  ui::TListBox List{"list", {39, 95, 521, 168}};
  List.Role = TRole::List;
  const ui::TRect Around = ui::FocusBox(List);
  EXPECT_EQ((std::vector<int>{Around.Left, Around.Top, Around.Width, Around.Height}),
            (std::vector<int>{38, 94, 523, 170}));
}

}  // namespace
