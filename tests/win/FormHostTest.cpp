// The wizard window as Windows sees it: size, style, close answers, the
// licence list, clicks and the handler boundary.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <vector>

#include "app/Colours.h"
#include "app/KIVWindow.h"
#include "app/Licence.h"
#include "platform/win/Clock_win.h"
#include "tests/fakes/WindowFakes.h"
#include "tests/win/WinTestSupport.h"
#include "ui/win/FormHost_win.h"
#include "ui/win/Gdi_win.h"
#include "platform/win/Resources_win.h"

namespace {

class FormHost : public ::testing::Test, protected fakes::TWindowFakes {
protected:
  FormHost() {
    Host.Create(nullptr);
    Host.Show();
    wintest::Pump();
  }

  platform::win::TWinClock Clock;
  app::TKIVWindow Window{Services(Clock),
                         app::SplitLicenceItems(platform::win::RcData(::GetModuleHandleW(nullptr), "LICENCE"))};
  ui::win::TFormHost Host{Window, ::GetModuleHandleW(nullptr)};
};

TEST_F(FormHost, WindowHasTheWizardsSizeStyleCaptionAndZOrder) {
  HWND Hwnd = Host.Handle();
  RECT Client{};
  ::GetClientRect(Hwnd, &Client);
  EXPECT_EQ(Client.right, 600);
  EXPECT_EQ(Client.bottom, 338);

  const LONG_PTR Style = ::GetWindowLongPtrW(Hwnd, GWL_STYLE);
  EXPECT_TRUE(Style & WS_CAPTION);
  EXPECT_TRUE(Style & WS_SYSMENU);
  EXPECT_FALSE(Style & WS_THICKFRAME);
  EXPECT_FALSE(Style & WS_MINIMIZEBOX);
  EXPECT_FALSE(Style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(::GetWindowLongPtrW(Hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

  wchar_t Caption[64] = {};
  ::GetWindowTextW(Hwnd, Caption, 64);
  EXPECT_STREQ(Caption, L"Vestora Installer");

  RECT Frame{};
  ::GetWindowRect(Hwnd, &Frame);
  const int ScreenWidth = ::GetSystemMetrics(SM_CXSCREEN);
  EXPECT_NEAR((Frame.left + Frame.right) / 2, ScreenWidth / 2, 1);
}

TEST_F(FormHost, CloseAndEndSessionAreRefusedWhileTheInstallActionRuns) {
  HWND Hwnd = Host.Handle();
  Window.lblInstall.Tag = 1;
  EXPECT_EQ(::SendMessageW(Hwnd, WM_QUERYENDSESSION, 0, 0), FALSE);
  ::SendMessageW(Hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(Hwnd));

  Window.lblInstall.Tag = 3;
  EXPECT_EQ(::SendMessageW(Hwnd, WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageW(Hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(Hwnd));
}

TEST_F(FormHost, LicenceListIsAnOwnerDrawnChildWithoutScrollBarAndWrappedRows) {
  HWND List = Host.ListHandle(Window.EULA);
  ASSERT_NE(List, nullptr);
  const LONG_PTR Style = ::GetWindowLongPtrW(List, GWL_STYLE);
  EXPECT_FALSE(Style & WS_VSCROLL);
  EXPECT_FALSE(Style & WS_TABSTOP);
  EXPECT_TRUE(Style & LBS_OWNERDRAWFIXED);
  EXPECT_TRUE(::IsWindowVisible(List));
  EXPECT_EQ(::SendMessageW(List, LB_GETITEMHEIGHT, 0, 0), 17);

  const LRESULT Count = ::SendMessageW(List, LB_GETCOUNT, 0, 0);
  EXPECT_GT(Count, 110);
  EXPECT_EQ(static_cast<std::size_t>(Count), Window.EULA.Items.size());

  ui::win::TFontCache Fonts;
  ui::win::TGdiMeasurer Measurer(Fonts.Get(Window.EULA.Font));
  for (const std::string& Item : Window.EULA.Items) {
    const std::vector<int> Widths = Measurer.PrefixWidths(Item);
    if (!Widths.empty()) {
      EXPECT_LE(Widths.back(), 511) << Item;
    }
  }
}

TEST_F(FormHost, ListHidesWithItsPage) {
  HWND List = Host.ListHandle(Window.EULA);
  Window.Notebook1.PageIndex = 1;
  // Any handled input brings the window in line with the model.
  wintest::Click(Host.Handle(), 5, 5);
  EXPECT_FALSE(::IsWindowVisible(List));
}

TEST_F(FormHost, ClickOnDisagreeClosesTheWindow) {
  HWND Hwnd = Host.Handle();
  wintest::Click(Hwnd, 452 + 57, 287 + 14);
  wintest::Pump();
  EXPECT_FALSE(::IsWindow(Hwnd));
}

TEST_F(FormHost, OnlyALeftPressAndReleaseOnTheSameControlIsAClick) {
  HWND Hwnd = Host.Handle();
  wintest::Click(Hwnd, 452 + 57, 287 + 14, WM_RBUTTONDOWN, WM_RBUTTONUP);
  // Pressed on Disagree, released elsewhere.
  ::SendMessageW(Hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(452 + 57, 287 + 14));
  ::SendMessageW(Hwnd, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
  wintest::Pump();
  EXPECT_TRUE(::IsWindow(Hwnd));
}

// An error escaping a click handler, a paint or a change of scale is shown, and
// the program goes on as it was.
TEST_F(FormHost, AnErrorEscapingAHandlerOrAPaintIsShownAndTheProgramGoesOn) {
  const struct {
    const char* Name;
    std::function<void()> Provoke;
    const wchar_t* Shown = L"Invalid registry value type";
  } Cases[] = {
      {"click",
       [this] {
         Window.lblEULATitle1.OnClick = [](ui::TControl&) { throw std::runtime_error("Invalid registry value type"); };
         wintest::Click(Host.Handle(), 40, 20);
       }},
      {"paint",
       [this] {
         Window.pbScrollbar.OnPaint = [](ui::TPaintBox&, ui::ICanvas&) {
           throw std::runtime_error("Invalid registry value type");
         };
         ::InvalidateRect(Host.Handle(), nullptr, FALSE);
         ::UpdateWindow(Host.Handle());
       }},
      {"scale",
       [this] {
         RECT Suggested{0, 0, 640, 400};  // a page buffer of 400,000 x 225,000 pixels is more than GDI makes
         ::SendMessageW(Host.Handle(), WM_DPICHANGED, MAKEWPARAM(64000, 64000), reinterpret_cast<LPARAM>(&Suggested));
       },
       L"the page buffer cannot be created"},
  };
  for (const auto& Case : Cases) {
    {
      wintest::TMessageBoxAnswerer Answerer;
      Case.Provoke();
      EXPECT_TRUE(Answerer.Seen()) << Case.Name;
      EXPECT_EQ(Answerer.Text(), Case.Shown) << Case.Name;
    }
    Window.pbScrollbar.OnPaint = nullptr;
    wintest::Pump();
    EXPECT_TRUE(::IsWindow(Host.Handle())) << Case.Name;
    RECT Area{};
    ::GetClientRect(Host.Handle(), &Area);
    EXPECT_EQ(std::vector<LONG>({Area.right, Area.bottom, Host.Dpi()}), std::vector<LONG>({600, 338, 96})) << Case.Name;
  }
}

// In the contrast theme every page is drawn in the theme's colours without its
// pictures, every distinction still seen; without it the page is as designed.
TEST_F(FormHost, TheContrastThemeDrawsThePagesInItsColoursAndOffIsTheDesignAgain) {
  // The classic dark theme: window, button face, window text, highlight, highlight text, button text, grey text.
  constexpr int Parts[] = {COLOR_WINDOW,        COLOR_BTNFACE, COLOR_WINDOWTEXT, COLOR_HIGHLIGHT,
                           COLOR_HIGHLIGHTTEXT, COLOR_BTNTEXT, COLOR_GRAYTEXT};
  constexpr COLORREF Dark[] = {0x000000, 0x000000, 0xFFFFFF, 0xFFFF00, 0x000000, 0x00FFFF, 0x00FF00};
  constexpr std::uint32_t White = 0xFFFFFF, Yellow = 0xFFFF00, Cyan = 0x00FFFF, Green = 0x00FF00;
  const auto Pixels = [this] { return wintest::ClientPixels(Host.Handle(), 600, 338); };
  const auto Count = [](const std::vector<std::uint32_t>& Shown, ui::TRect Box, std::uint32_t Colour) {
    int Found = 0;
    for (int Y = Box.Top; Y < Box.Bottom(); ++Y) {
      for (int X = Box.Left; X < Box.Right(); ++X) Found += (Shown[Y * 600 + X] & 0xFFFFFF) == Colour;
    }
    return Found;
  };
  const std::vector<std::uint32_t> Designed = Pixels();
  const std::vector<ui::TAccessibleItem> Read = Host.Items();
  COLORREF Saved[std::size(Parts)] = {};
  for (std::size_t i = 0; i < std::size(Parts); ++i) Saved[i] = ::GetSysColor(Parts[i]);
  ::SetSysColors(static_cast<int>(std::size(Parts)), Parts, Dark);
  wintest::Pump();
  Host.SetContrast(true);
  EXPECT_EQ(Host.Items(), Read);  // a screen reader reads the same page
  const std::vector<std::uint32_t> Licence = Pixels();
  wintest::SavePicture("contrast-licence", Licence, 600, 338);
  EXPECT_EQ(Count(Licence, {33, 150, 1, 1}, White), 1);                 // the licence's panel
  EXPECT_EQ(Count(Licence, {250, 300, 1, 1}, Yellow), 1);               // "Agree & Install" as a button
  EXPECT_EQ(Count(Licence, {0, 0, 600, 338}, 0xB11314), 0);             // no picture
  EXPECT_GT(Count(Licence, Window.lblEULATitle1.Bounds, White), 50);
  Host.RunGuarded([this] {
    Window.Notebook1.PageIndex = 1;
    Window.imgProgress.Bounds.Width = 120;
    Window.GreyOutProgressBar();
    Window.SetStatusText("Download Error [1]\xAC" "Please check your internet connection and try again.", "", "", true);
  });
  const std::vector<std::uint32_t> Failed = Pixels();
  wintest::SavePicture("contrast-install-error", Failed, 600, 338);
  EXPECT_GT(Count(Failed, Window.lblProgressInfo1.Bounds, Cyan), 20);  // the error line stands out
  EXPECT_EQ(Count(Failed, {171, 219, 376, 18}, Cyan), 0);              // the line below it does not
  EXPECT_EQ(Count(Failed, {175, 190, 1, 1}, Green), 1);                // the dimmed bar
  EXPECT_EQ(Count(Failed, {452, 300, 1, 1}, Yellow), 1);               // an active action's border
  Host.RunGuarded([this] { Window.lblInstall.Font.Color = app::clInactiveGrey; });
  EXPECT_EQ(Count(Pixels(), {452, 300, 1, 1}, Green), 1);              // a grey one's
  Host.RunGuarded([this] {
    Window.lblInstall.Font.Color = ui::clWhite;
    Window.Notebook1.PageIndex = 0;
  });
  Host.SetContrast(false);
  ::SetSysColors(static_cast<int>(std::size(Parts)), Parts, Saved);
  wintest::Pump();
  EXPECT_EQ(Pixels(), Designed);
}

TEST_F(FormHost, TimersFollowTheModel) {
  int Ticks = 0;
  Window.tmrSWCheck.Interval = 10;
  Window.tmrSWCheck.OnTimer = [&](ui::TTimer& Timer) {
    if (++Ticks == 2) Timer.SetEnabled(false);
  };
  Window.tmrSWCheck.SetEnabled(true);
  wintest::Click(Host.Handle(), 5, 5);  // any handled event re-arms the timers
  // Each tick is a WM_TIMER message: wait for the second, however long the system takes
  // (a thread timer of ten seconds only keeps a broken host from hanging the test).
  const UINT_PTR Guard = ::SetTimer(nullptr, 0, 10000, nullptr);
  MSG Message{};
  while (Ticks < 2 && ::GetMessageW(&Message, nullptr, 0, 0) > 0) {
    if (Message.hwnd == nullptr && Message.message == WM_TIMER && Message.wParam == Guard) break;
    ::DispatchMessageW(&Message);
  }
  ::KillTimer(nullptr, Guard);
  EXPECT_EQ(Ticks, 2);
  // The second tick disabled the model's timer, so the host has killed the window's.
  EXPECT_FALSE(::KillTimer(Host.Handle(), 1));
}

// A form that records the copy-data reports the host decodes for it.
class TReportForm final : public ui::TForm {
public:
  TReportForm() {
    ClientWidth = 100;
    ClientHeight = 100;
    FPages.Pages = {&FPage};
  }
  [[nodiscard]] ui::TNotebook& Pages() override { return FPages; }
  [[nodiscard]] std::vector<ui::TTimer*> Timers() override { return {}; }
  void CopyData(const ui::TCopyData& Data) override { Reports.push_back(Data); }
  std::vector<ui::TCopyData> Reports;

private:
  ui::TPage FPage{"Only"};
  ui::TNotebook FPages;
};

TEST(FormHostCopyData, IsCheckedAndCopiedBeforeTheFormSeesIt) {
  TReportForm Form;
  ui::win::TFormHost Host(Form, ::GetModuleHandleW(nullptr));
  Host.Create(nullptr);
  const std::string Bytes("A\0B", 3);
  const struct {
    const char* Name;
    ULONG_PTR Number;
    DWORD Size;
    const void* Data;
    std::int32_t Code;
    std::string Text;
  } Cases[] = {
      {"text with a zero inside", 50, 3, Bytes.data(), 50, Bytes},
      {"a size without data", 10, 4096, nullptr, 10, ""},
      {"minus one", static_cast<ULONG_PTR>(-1), 0, nullptr, -1, ""},
      // Only the low 32 bits of the number count: 2^32 + 5 is 5.
      {"a number beyond 32 bits", sizeof(ULONG_PTR) > 4 ? static_cast<ULONG_PTR>(0x100000005ULL) : 5u, 1, "x", 5, "x"},
  };
  for (const auto& Case : Cases) {
    Form.Reports.clear();
    COPYDATASTRUCT Record{Case.Number, Case.Size, const_cast<void*>(Case.Data)};
    EXPECT_EQ(::SendMessageW(Host.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&Record)), 0) << Case.Name;
    ASSERT_EQ(Form.Reports.size(), 1u) << Case.Name;
    EXPECT_EQ(Form.Reports[0].Code, Case.Code) << Case.Name;
    EXPECT_EQ(Form.Reports[0].Text, Case.Text) << Case.Name;
  }
  // No record at all: nothing reaches the form.
  Form.Reports.clear();
  EXPECT_EQ(::SendMessageW(Host.Handle(), WM_COPYDATA, 0, 0), 0);
  EXPECT_TRUE(Form.Reports.empty());
}

}  // namespace

namespace {

TEST_F(FormHost, AgreeShowsTheInstallPageWithCancelAndTheCloseIsThenRefused) {
  HWND Hwnd = Host.Handle();
  wintest::Click(Hwnd, 250 + 94, 287 + 14);
  wintest::Pump();
  EXPECT_EQ(Window.Notebook1.PageIndex, 1);
  EXPECT_EQ(Window.lblInstall.Caption, "Cancel");
  EXPECT_FALSE(::IsWindowVisible(Host.ListHandle(Window.EULA)));
  ::SendMessageW(Hwnd, WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(Hwnd));
  // Cancel, then the close is granted.
  wintest::Click(Hwnd, 452 + 57, 286 + 14);
  EXPECT_EQ(Window.lblInstall.Caption, "Install");
  ::SendMessageW(Hwnd, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(Hwnd));
}

TEST_F(FormHost, TheExistingInstallationQuestionIsAModalYesNoBoxOwnedByTheWindow) {
  Registry.PutString(platform::TRootKey::LocalMachine, L"SOFTWARE\\Ostrevane\\vestora\\", L"MainExe", L"C:\\A\\x.exe");
  Folders.Existing.insert(L"C:\\A\\VestoraEditorPremier.exe");
  {
    wintest::TMessageBoxAnswerer Answerer(IDNO);
    wintest::Click(Host.Handle(), 250 + 94, 287 + 14);
    EXPECT_TRUE(Answerer.Seen());
    EXPECT_EQ(Answerer.Text(), L"Vestora Editor v is already installed on this PC.\r\rAre you sure you want to replace it?");
  }
  wintest::Pump();
  EXPECT_FALSE(::IsWindow(Host.Handle()));
}

TEST_F(FormHost, AMainExeValueThatIsNoStringIsReportedAndTheWizardStaysOnItsPage) {
  Registry.PutNumber(platform::TRootKey::LocalMachine, L"SOFTWARE\\Ostrevane\\vestora\\", L"MainExe");
  {
    wintest::TMessageBoxAnswerer Answerer;
    wintest::Click(Host.Handle(), 250 + 94, 287 + 14);
    EXPECT_EQ(Answerer.Text(), L"Invalid data type for 'MainExe'");
  }
  wintest::Pump();
  EXPECT_TRUE(::IsWindow(Host.Handle()));
  EXPECT_EQ(Window.Notebook1.PageIndex, 0);
}

TEST_F(FormHost, ALabelIsCutAtItsBoxSoALongStatusLineLeavesTheSecondAsItIs) {
  Host.RunGuarded([this] { Window.Notebook1.PageIndex = 1; });
  // Status line 2's rows below line 1's box: 224 to 241, columns 171 to 546.
  const auto LineTwo = [this] {
    const std::vector<std::uint32_t> All = wintest::ClientPixels(Host.Handle(), 600, 338);
    std::vector<std::uint32_t> Rows;
    for (int Y = 224; Y < 242; ++Y) Rows.insert(Rows.end(), All.begin() + Y * 600 + 171, All.begin() + Y * 600 + 547);
    return Rows;
  };
  Window.SetStatusText("Installing\xAC" "Copying files", "", "", false);
  const std::vector<std::uint32_t> Short = LineTwo();
  Window.SetStatusText(std::string(90, 'W') + " wraps\xAC" "Copying files", "", "", false);
  EXPECT_TRUE(LineTwo() == Short);
}

TEST_F(FormHost, TheCodecPackChangePaintsWhileItRuns) {
  // A paint box on the page counts the paints the change makes before it returns.
  int Paints = 0;
  ui::TPaintBox Counter{"Counter", {0, 0, 1, 1}};
  Counter.OnPaint = [&](ui::TPaintBox&, ui::ICanvas&) { ++Paints; };
  Window.PageOpInstall.Controls.push_back(&Counter);
  Host.RunGuarded([this] { Window.Notebook1.PageIndex = 2; });
  Window.ShowCodecPacks();
  EXPECT_GE(Paints, 32);  // 16 frames out, 16 in
  EXPECT_EQ(Window.lblDone.Caption, "Done");
}

}  // namespace

namespace {

TEST_F(FormHost, TheWheelStepsTheLicenceListOneLineAndItScrollsOnlyWhenNeeded) {
  HWND List = Host.ListHandle(Window.EULA);
  auto WheelDown = [&](int Times) {
    for (int i = 0; i < Times; ++i) ::SendMessageW(List, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(300, 200));
  };
  WheelDown(9);
  EXPECT_EQ(::SendMessageW(List, LB_GETCURSEL, 0, 0), 8);
  EXPECT_EQ(::SendMessageW(List, LB_GETTOPINDEX, 0, 0), 0);
  WheelDown(21);
  EXPECT_EQ(::SendMessageW(List, LB_GETCURSEL, 0, 0), 29);
  const LRESULT Top = ::SendMessageW(List, LB_GETTOPINDEX, 0, 0);
  EXPECT_GT(Top, 0);
  EXPECT_GE(29, Top);
  // Back up through the visible rows: no scrolling until the top is passed.
  for (int i = 0; i < 3; ++i) ::SendMessageW(List, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(300, 200));
  EXPECT_EQ(::SendMessageW(List, LB_GETTOPINDEX, 0, 0), Top);
}

TEST_F(FormHost, AClickInTheListMovesTheCurrentLine) {
  HWND List = Host.ListHandle(Window.EULA);
  ::SendMessageW(List, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 17 * 3 + 5));
  ::SendMessageW(List, WM_LBUTTONUP, 0, MAKELPARAM(20, 17 * 3 + 5));
  wintest::Pump();
  EXPECT_EQ(Window.EULA.ItemIndex, 3);
}

}  // namespace
