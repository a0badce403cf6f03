// People, not just a mouse: a double-click acts once, the keyboard alone goes
// through the wizard, the focus cue shows only after a key, and a screen reader
// reads the page.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/KIVWindow.h"
#include "platform/win/ComPtr.h"
#include "platform/win/Clock_win.h"
#include "tests/fakes/WindowFakes.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Scale.h"
#include "ui/win/FormHost_win.h"

namespace {

constexpr POINT RestartSpot{481 + 42, 286 + 14};

class FormInput : public ::testing::Test, protected fakes::TWindowFakes {
protected:
  FormInput() {
    Host.Create(nullptr);
    Host.Show();
    wintest::Pump();
  }

  // A key press as the system delivers it; Repeated marks a key held down.
  void Key(WPARAM Code, bool Repeated = false) {
    ::SendMessageW(Host.Handle(), WM_KEYDOWN, Code, Repeated ? (1 << 30) | 1 : 1);
    wintest::Pump();
  }
  [[nodiscard]] std::string Focused() const { return Host.Focused() != nullptr ? Host.Focused()->Name : "none"; }
  // The installer has run and reported completion: "Continue".
  void Install() {
    Downloads.Calls.back().OnProgress("Downloaded\xAC" "2 of 2mb", 100);
    COPYDATASTRUCT Done{200, 0, nullptr};
    ::SendMessageW(Host.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&Done));
  }
  [[nodiscard]] std::vector<std::uint32_t> Pixels() { return wintest::ClientPixels(Host.Handle(), 600, 338); }

  platform::win::TWinClock Clock;
  app::TKIVWindow Window{Services(Clock), {"Licence", "", "text"}};
  ui::win::TFormHost Host{Window, ::GetModuleHandleW(nullptr)};
};

TEST_F(FormInput, ASecondPressOfADoubleClickOrAPressOnAnotherPageIsNoClick) {
  Window.Notebook1.PageIndex = 3;
  ::SendMessageW(Host.Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(RestartSpot.x, RestartSpot.y));
  ::SendMessageW(Host.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(RestartSpot.x, RestartSpot.y));
  // "Done" and "Restart" share their place: a press on one page, a release on the next.
  Window.Notebook1.PageIndex = 2;
  ::SendMessageW(Host.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(RestartSpot.x, RestartSpot.y));
  Window.Notebook1.PageIndex = 3;
  ::SendMessageW(Host.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(RestartSpot.x, RestartSpot.y));
  wintest::Pump();
  EXPECT_EQ(Restart.Calls, 0);
  EXPECT_TRUE(::GetClassLongPtrW(Host.Handle(), GCL_STYLE) & CS_DBLCLKS);
  wintest::Click(Host.Handle(), RestartSpot.x, RestartSpot.y);
  EXPECT_EQ(Restart.Calls, 1);
}

TEST_F(FormInput, TheKeyboardAloneInstallsAndNoEnterMeantForAnEarlierPageRestarts) {
  const struct {
    WPARAM Key;
    bool Repeated;
    int Page;
    const char* Focus;
  } Steps[] = {
      {VK_TAB, false, 0, "lblDontAgree"}, {VK_TAB, false, 0, "EULA"},      {VK_TAB, false, 0, "lblAgree"},
      {VK_RETURN, false, 1, "lblInstall"}, {VK_TAB, false, 1, "lblHelp"}, {VK_TAB, true, 1, "lblInstall"},
  };
  for (const auto& Step : Steps) {
    Key(Step.Key, Step.Repeated);
    EXPECT_EQ(Window.Notebook1.PageIndex, Step.Page) << Step.Focus;
    EXPECT_EQ(Focused(), Step.Focus);
  }
  EXPECT_EQ(Window.lblInstall.Caption, "Cancel");
  Install();
  ASSERT_EQ(Window.lblInstall.Caption, "Continue");
  Key(VK_RETURN);
  EXPECT_EQ(Window.Notebook1.PageIndex, 2);
  EXPECT_EQ(Focused(), "lblDone");
  Key(VK_SPACE);
  EXPECT_EQ(Window.lblDone.Caption, "Done");
  Key(VK_RETURN, true);  // held down since "More...": acts no more
  EXPECT_EQ(Window.Notebook1.PageIndex, 2);
  Key(VK_RETURN);
  EXPECT_EQ(Window.Notebook1.PageIndex, 3);
  Key(VK_RETURN);
  Key(VK_SPACE);
  EXPECT_EQ(Restart.Calls, 0);
  Key(VK_TAB);
  Key(VK_RETURN);
  EXPECT_EQ(Restart.Calls, 1);
}

TEST_F(FormInput, EscapeClosesAsTheCloseBoxDoes) {
  Key(VK_RETURN);
  Key(VK_ESCAPE);
  EXPECT_TRUE(::IsWindow(Host.Handle())) << "refused while downloading";
  Key(VK_RETURN);  // Cancel
  Key(VK_ESCAPE);
  EXPECT_FALSE(::IsWindow(Host.Handle()));
}

TEST_F(FormInput, TheLicenceListsKeysMoveItsCurrentLine) {
  Window.EULA.Items.assign(40, "line");
  Key(VK_TAB);
  wintest::Click(Host.Handle(), 5, 5);  // the list takes the new lines
  Key(VK_TAB);
  ASSERT_EQ(Focused(), "EULA");
  const struct {
    WPARAM Key;
    int Line;
  } Steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_NEXT, 9}, {VK_END, 39}, {VK_UP, 38}, {VK_PRIOR, 30}, {VK_HOME, 0}};
  for (const auto& Step : Steps) {
    Key(Step.Key);
    EXPECT_EQ(Window.EULA.ItemIndex, Step.Line) << Step.Key;
  }
}

TEST_F(FormInput, TheFocusCueShowsOnlyAfterAKeyAndOnlyAroundTheFocus) {
  const std::vector<std::uint32_t> MouseOnly = Pixels();
  wintest::Click(Host.Handle(), 5, 5);
  EXPECT_EQ(Pixels(), MouseOnly);
  Key(VK_TAB);
  Key(VK_TAB, true);
  Key(VK_TAB);
  ASSERT_EQ(Focused(), "lblAgree");
  const std::vector<std::uint32_t> WithCue = Pixels();
  const ui::TRect Box = ui::FocusBox(Window.lblAgree);
  int Changed = 0;
  for (int Y = 0; Y < 338; ++Y) {
    for (int X = 0; X < 600; ++X) {
      const std::size_t At = static_cast<std::size_t>(Y) * 600 + X;
      if (WithCue[At] == MouseOnly[At]) continue;
      ++Changed;
      EXPECT_TRUE(Box.Contains(X, Y)) << X << "," << Y;
    }
  }
  EXPECT_GT(Changed, Box.Width);  // a dotted frame: every other pixel of its edges
}

TEST_F(FormInput, AScreenReaderReadsThePageAndPressesItsButtons) {
  platform::win::TComPtr<IAccessible> Client;
  ASSERT_EQ(::AccessibleObjectFromWindow(Host.Handle(), OBJID_CLIENT, __uuidof(IAccessible), Client.Out()), S_OK);
  long Count = 0;
  ASSERT_EQ(Client->get_accChildCount(&Count), S_OK);
  ASSERT_EQ(Count, 5);
  const struct {
    long Child;
    const wchar_t* Name;
    long Role;
    long State;
  } Children[] = {
      {1, L"Thank you for choosing Vestora", ROLE_SYSTEM_STATICTEXT, STATE_SYSTEM_READONLY},
      {4, L"Agree & Install", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED},
      {5, L"Disagree", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE},
  };
  for (const auto& Child : Children) {
    VARIANT Id{};
    Id.vt = VT_I4;
    Id.lVal = Child.Child;
    BSTR Name = nullptr;
    ASSERT_EQ(Client->get_accName(Id, &Name), S_OK);
    EXPECT_STREQ(Name, Child.Name);
    ::SysFreeString(Name);
    platform::win::TVariant Role;
    platform::win::TVariant State;
    EXPECT_EQ(Client->get_accRole(Id, &Role.Value), S_OK);
    EXPECT_EQ(Role.Value.lVal, Child.Role) << Child.Child;
    EXPECT_EQ(Client->get_accState(Id, &State.Value), S_OK);
    EXPECT_EQ(State.Value.lVal, Child.State) << Child.Child;
  }
  VARIANT Disagree{};
  Disagree.vt = VT_I4;
  Disagree.lVal = 5;
  EXPECT_EQ(Client->accSelect(SELFLAG_TAKEFOCUS | 0x20, Disagree), E_INVALIDARG);
  // While a modal box of the form's holds the window disabled, a screen reader acts
  // no more than a click does, and an action asked for just before does nothing.
  EXPECT_EQ(Client->accDoDefaultAction(Disagree), S_OK);
  ::EnableWindow(Host.Handle(), FALSE);
  wintest::Pump();
  EXPECT_EQ(Client->accDoDefaultAction(Disagree), E_FAIL);
  EXPECT_EQ(Client->accSelect(SELFLAG_TAKEFOCUS, Disagree), E_FAIL);
  platform::win::TVariant Grey;
  EXPECT_EQ(Client->get_accState(Disagree, &Grey.Value), S_OK);
  EXPECT_EQ(Grey.Value.lVal, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_UNAVAILABLE);
  ASSERT_TRUE(::IsWindow(Host.Handle()));
  EXPECT_EQ(Focused(), "lblAgree");
  ::EnableWindow(Host.Handle(), TRUE);
  EXPECT_EQ(Client->accDoDefaultAction(Disagree), S_OK);
  Disagree.lVal = 6;
  EXPECT_EQ(Client->accDoDefaultAction(Disagree), E_INVALIDARG);
  wintest::Pump();
  wintest::Pump();
  EXPECT_FALSE(::IsWindow(Host.Handle()));
}

// A move to a monitor of another scale (Windows sends WM_DPICHANGED): the form is the
// design times the scale at the suggested place, its list and what a screen reader
// locates follow, and so do clicks; back at 96 DPI the page is the same picture.
TEST_F(FormInput, AnotherScaleScalesTheFormAndBackAt96ItIsTheSamePicture) {
  const std::vector<std::uint32_t> At96 = Pixels();
  platform::win::TComPtr<IAccessible> Client;
  ASSERT_EQ(::AccessibleObjectFromWindow(Host.Handle(), OBJID_CLIENT, __uuidof(IAccessible), Client.Out()), S_OK);
  VARIANT Agree{};
  Agree.vt = VT_I4;
  Agree.lVal = 4;
  const auto MoveTo = [this](int Dpi) {
    RECT Suggested{7, 9, 7, 9};
    ::SendMessageW(Host.Handle(), WM_DPICHANGED, MAKEWPARAM(Dpi, Dpi), reinterpret_cast<LPARAM>(&Suggested));
  };
  const struct {
    int Dpi, Width, Height;
  } Scales[] = {{120, 750, 423}, {144, 900, 507}, {240, 1500, 845}, {96, 600, 338}};
  for (const auto& Scale : Scales) {
    MoveTo(Scale.Dpi);
    RECT Area{};
    ::GetClientRect(Host.Handle(), &Area);
    EXPECT_EQ(Area.right, Scale.Width);
    EXPECT_EQ(Area.bottom, Scale.Height);
    POINT Origin{};
    ::ClientToScreen(Host.Handle(), &Origin);
    RECT Frame{};
    ::GetWindowRect(Host.Handle(), &Frame);
    EXPECT_EQ(Frame.left + Frame.top, 7 + 9) << Scale.Dpi;
    HWND List = Host.ListHandle(Window.EULA);
    RECT Lines{};
    ::GetWindowRect(List, &Lines);
    EXPECT_EQ(Lines.left - Origin.x, ui::Scaled(39, Scale.Dpi)) << Scale.Dpi;
    EXPECT_EQ(Lines.bottom - Origin.y, ui::Scaled(95 + 168, Scale.Dpi)) << Scale.Dpi;
    EXPECT_EQ(::SendMessageW(List, LB_GETITEMHEIGHT, 0, 0), ui::Scaled(17, Scale.Dpi)) << Scale.Dpi;
    long Left = 0, Top = 0, Width = 0, Height = 0;
    ASSERT_EQ(Client->accLocation(&Left, &Top, &Width, &Height, Agree), S_OK);
    EXPECT_EQ(Left - Origin.x, ui::Scaled(250, Scale.Dpi)) << Scale.Dpi;
    EXPECT_EQ(Top + Height - Origin.y, ui::Scaled(287 + 28, Scale.Dpi)) << Scale.Dpi;
  }
  EXPECT_EQ(Pixels(), At96);
  MoveTo(144);
  wintest::Click(Host.Handle(), ui::Scaled(452 + 57, 144), ui::Scaled(287 + 14, 144));  // "Disagree"
  wintest::Pump();
  EXPECT_FALSE(::IsWindow(Host.Handle()));
}

// What a screen reader hears: the events of this process, as its hook receives them.
std::vector<std::pair<DWORD, LONG>> GHeard;
void CALLBACK Hear(HWINEVENTHOOK, DWORD Event, HWND, LONG Object, LONG Child, DWORD, DWORD) {
  const bool Told = Event == EVENT_OBJECT_REORDER || Event == EVENT_OBJECT_FOCUS || Event == ui::win::EventLiveRegionChanged;
  if (Object == OBJID_CLIENT && Told) GHeard.emplace_back(Event, Child);
}

TEST_F(FormInput, TheLicenceListIsNamedItsLineAndTheCodecPacksAreAnnounced) {
  const HWINEVENTHOOK Hook = ::SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_FOCUS, nullptr, &Hear,
                                               ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(Hook, nullptr);
  Window.EULA.Items.assign(40, "line");
  Key(VK_TAB);
  wintest::Click(Host.Handle(), 5, 5);  // the list takes the new lines
  Key(VK_TAB);
  ASSERT_EQ(Focused(), "EULA");
  GHeard.clear();
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(GHeard, (std::vector<std::pair<DWORD, LONG>>{{EVENT_OBJECT_FOCUS, 1}, {EVENT_OBJECT_FOCUS, 2}}));
  platform::win::TComPtr<IAccessible> List;
  ASSERT_EQ(::AccessibleObjectFromWindow(Host.ListHandle(Window.EULA), OBJID_CLIENT, __uuidof(IAccessible), List.Out()),
            S_OK);
  VARIANT Self{};
  Self.vt = VT_I4;
  BSTR Name = nullptr;
  ASSERT_EQ(List->get_accName(Self, &Name), S_OK);
  EXPECT_STREQ(Name, L"To begin your experience read and agree the terms below:");
  ::SysFreeString(Name);
  // Wine's list object has no line children to ask; its focus names the current line.
  platform::win::TVariant State;
  EXPECT_EQ(List->get_accState(Self, &State.Value), S_OK);
  EXPECT_NE(State.Value.lVal & STATE_SYSTEM_FOCUSED, 0);
  platform::win::TVariant Current;
  EXPECT_EQ(List->get_accFocus(&Current.Value), S_OK);
  EXPECT_EQ(Current.Value.lVal, 2);
  // "More..." shows other rows in the page's place: announced as a new page is.
  Host.RunGuarded([this] { Window.Notebook1.PageIndex = 2; });
  GHeard.clear();
  Key(VK_RETURN);
  ASSERT_EQ(Window.lblDone.Caption, "Done");
  ASSERT_GE(GHeard.size(), 2u);
  EXPECT_EQ(GHeard.front(), std::make_pair(static_cast<DWORD>(EVENT_OBJECT_REORDER), static_cast<LONG>(CHILDID_SELF)));
  EXPECT_EQ(GHeard.back().first, static_cast<DWORD>(EVENT_OBJECT_FOCUS));
  ::UnhookWinEvent(Hook);
}

TEST_F(FormInput, TheFocusIsToldAgainOnActivationAndErrorsAndMomentsButNoStepWhereverTheFocusIs) {
  constexpr DWORD Focus = EVENT_OBJECT_FOCUS, Told = ui::win::EventLiveRegionChanged;
  const HWINEVENTHOOK Hook = ::SetWinEventHook(Focus, Told, nullptr, &Hear, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  // As the download thread reports: through the window's handler boundary.
  const auto Report = [this](const char* Text, int Percent) {
    Host.RunGuarded([&] { Downloads.Calls.back().OnProgress(Text, Percent); });
  };
  const struct { const char* Name; std::function<void()> Provoke; std::vector<std::pair<DWORD, LONG>> Heard; } Steps[] = {
      {"activation", [this] { ::SetFocus(nullptr); ::SetFocus(Host.Handle()); }, {{Focus, 4}}},
      {"the install page", [this] { Key(VK_RETURN); }, {{Focus, 8}, {Told, 2}}},
      {"a step", [&] { Report("Downloading...\xAC" "1 of 2mb", 47); }, {}},
      {"an error", [&] { Report("Download Error [1]\xAC" "Please check internet connection", -1); }, {{Told, 5}, {Told, 6}}},
      {"the installation complete", [this] { Key(VK_RETURN); Install(); }, {{Told, 2}}},
  };
  for (const auto& Step : Steps) {
    GHeard.clear();
    Step.Provoke();
    wintest::Pump();
    EXPECT_EQ(GHeard, Step.Heard) << Step.Name;
  }
  ::UnhookWinEvent(Hook);
}

}  // namespace
