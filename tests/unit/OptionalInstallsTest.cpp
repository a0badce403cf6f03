#include "tests/unit/WindowFixture.h"
#include "vestora/BuildConfig.h"

namespace {

using platform::TRootKey;

class OptionalInstalls : public wizard::WindowTest {
protected:
  OptionalInstalls() { Window.FormCreate(); }
};

TEST_F(OptionalInstalls, EachStateLineShowsItsCheck) {
  Registry.PutString(TRootKey::LocalMachine, L"SOFTWARE\\Microsoft\\Directx", L"Version", L"4.09.00.0904");
  Versions.Files[L"C:\\Windows\\system32\\wmp.dll"] = {12, 0, 7601, 17514};
  Window.tmrSWCheckTimer(nullptr);
  EXPECT_EQ(Window.lblDX2.Caption, "Installed");
  EXPECT_EQ(Window.lblDX2.Font.Color, app::clInstalledRed);
  EXPECT_EQ(Window.lblWMP2.Caption, "Installed");
  EXPECT_EQ(Window.lblAFP2.Caption, "Click to intstall");
  EXPECT_EQ(Window.lblAFP2.Font.Color, app::clGreyText);
  EXPECT_EQ(Window.lblQT2.Caption, "Click to intstall");
  EXPECT_TRUE(Window.lblQT2.Font.Bold);
  EXPECT_TRUE(Window.tmrSWCheck.Enabled());

  // Flash installed meanwhile: the next pass shows it, and the timer starts afresh.
  Flash.Version = 0x000B0002;
  const unsigned Starts = Window.tmrSWCheck.Starts();
  Window.tmrSWCheck.OnTimer(Window.tmrSWCheck);
  EXPECT_EQ(Window.lblAFP2.Caption, "Installed");
  EXPECT_EQ(Window.tmrSWCheck.Starts(), Starts + 1);
}

TEST_F(OptionalInstalls, AFailingCheckLeavesTheLaterLinesAndStillRearmsTheTimer) {
  Window.lblQT2.Caption = "before";
  Versions.Files.clear();
  Registry.PutString(TRootKey::ClassesRoot, L"CLSID\\{0A4286EA-E355-44FB-8086-AF3DF7645BD9}\\InprocServer32", L"",
                     L"x");
  Registry.PutNumber(TRootKey::ClassesRoot, L"CLSID\\{0A4286EA-E355-44FB-8086-AF3DF7645BD9}\\InprocServer32", L"");
  EXPECT_THROW(Window.tmrSWCheckTimer(nullptr), platform::ERegistryException);
  EXPECT_EQ(Window.lblDX2.Caption, "Click to intstall");
  EXPECT_EQ(Window.lblQT2.Caption, "before");
  EXPECT_TRUE(Window.tmrSWCheck.Enabled());
}

TEST_F(OptionalInstalls, TheCodecPackViewStopsTheChecksForGood) {
  Window.lblDone.Tag = 1;
  Window.lblDX2.Caption = "codec text";
  Window.tmrSWCheck.SetEnabled(true);
  Window.tmrSWCheckTimer(&Window.tmrSWCheck);
  EXPECT_FALSE(Window.tmrSWCheck.Enabled());
  EXPECT_EQ(Window.lblDX2.Caption, "codec text");
}

TEST_F(OptionalInstalls, CodecPacksFadeInThirtyTwoPaintedFrames) {
  std::vector<ui::TColor> Greys;
  Host.OnRepaint = [&] {
    Greys.push_back(Window.lblDX2.Font.Color & 0xFF);
    // The first row's changing logo, the old one closing, then the new one opening, keeps its bottom edge.
    const ui::TImage& Logo = Window.imgOpInst1a.Visible ? Window.imgOpInst1a : Window.imgOpInst1b;
    EXPECT_EQ(Logo.Bounds.Top + Logo.Bounds.Height, 95 + 64);
  };
  Window.lblDX2.Font.Color = app::clInstalledRed;
  Window.ShowCodecPacks();

  const std::vector<ui::TColor> Expected{159, 165, 172, 178, 184, 191, 197, 204, 210, 216, 223, 229, 235, 242, 248, 255,
                                         248, 242, 235, 229, 223, 216, 210, 204, 197, 191, 184, 178, 172, 165, 159, 153};
  EXPECT_EQ(Greys, Expected);
  EXPECT_EQ(Clock.Slept, 32u * 10u);
  EXPECT_EQ(Window.lblDone.Tag, 1);
  EXPECT_EQ(Window.lblDone.Caption, "Done");
  EXPECT_EQ(Window.lblOpInstTitle2.Caption, "You may also find the following codec packs useful: \x86");
  EXPECT_TRUE(Window.lblOptInstNote.Visible);

  for (ui::TImage* Old : {&Window.imgOpInst1a, &Window.imgOpInst2a, &Window.imgOpInst3a, &Window.imgOpInst4a}) {
    EXPECT_FALSE(Old->Visible);
    EXPECT_EQ(Old->Bounds.Height, 0);
  }
  const struct {
    ui::TImage& Logo;
    int Left;
    int Top;
  } NewLogos[] = {{Window.imgOpInst1b, 79, 95}, {Window.imgOpInst2b, 312, 95}, {Window.imgOpInst3b, 79, 195},
                  {Window.imgOpInst4b, 312, 195}};
  for (const auto& New : NewLogos) {
    EXPECT_TRUE(New.Logo.Visible);
    EXPECT_EQ(New.Logo.Bounds.Left, New.Left);
    EXPECT_EQ(New.Logo.Bounds.Top, New.Top);
    EXPECT_EQ(New.Logo.Bounds.Height, 64);
  }
  EXPECT_EQ(Window.lblWMP1.Caption, "3ivx");
  EXPECT_EQ(Window.lblWMP2.Caption, "Lets you play  Mpeg4, H.264 && .MP4 files. Click to install.");
  EXPECT_EQ(Window.lblWMP1.Bounds.Top, 72);
  EXPECT_EQ(Window.lblQT1.Bounds.Top, 172);
  EXPECT_EQ(Window.lblQT2.Bounds.Top, 215);
  EXPECT_EQ(Window.lblQT2.Bounds.Height, 54);
  EXPECT_FALSE(Window.lblQT2.Font.Bold);
  EXPECT_EQ(Window.lblQT2.Font.Height, 13);
  EXPECT_EQ(Window.lblDX2.Font.Color, app::clGreyText);
}

}  // namespace

namespace {

class VendorLinks : public wizard::WindowTest {
protected:
  VendorLinks() { Window.FormCreate(); }
  void Release(ui::TControl& Control, ui::TMouseButton Button = ui::TMouseButton::Left) {
    Control.OnMouseUp(Control, Button, 3, 4);
  }
};

// Every logo and every public label of a row (the window keeps two names to itself).
TEST_F(VendorLinks, EachControlOfARowOpensItsPageInEitherView) {
  const struct {
    std::vector<ui::TControl*> Controls;
    const char* Component;
    const char* CodecPack;
  } Rows[] = {
      {{&Window.imgOpInst1a, &Window.imgOpInst1b, &Window.lblDX2}, VESTORA_URL_DIRECTX, VESTORA_URL_DIVX},
      {{&Window.imgOpInst2a, &Window.imgOpInst2b, &Window.lblWMP1, &Window.lblWMP2}, VESTORA_URL_MEDIAPLAYER,
       VESTORA_URL_3IVX},
      {{&Window.imgOpInst3a, &Window.imgOpInst3b, &Window.lblAFP2}, VESTORA_URL_FLASH, VESTORA_URL_CCCP},
      {{&Window.imgOpInst4a, &Window.imgOpInst4b, &Window.lblQT1, &Window.lblQT2}, VESTORA_URL_QUICKTIME,
       VESTORA_URL_FFDSHOW}};
  const ui::TMouseButton Buttons[] = {ui::TMouseButton::Left, ui::TMouseButton::Right, ui::TMouseButton::Middle};
  std::vector<std::string> Expected;
  for (const bool CodecPacks : {false, true}) {
    if (CodecPacks) Window.ShowCodecPacks();
    for (const auto& Row : Rows) {
      for (ui::TControl* Control : Row.Controls) {
        Release(*Control, Buttons[Expected.size() % 3]);  // any button opens the page
        Expected.emplace_back(CodecPacks ? Row.CodecPack : Row.Component);
      }
    }
  }
  EXPECT_EQ(Shell.Opened, Expected);
  EXPECT_EQ(Shell.Owners, std::vector<std::uintptr_t>(Expected.size(), Host.Handle));
}

TEST_F(VendorLinks, ARowTagOutsideTheTableOpensNothing) {
  Window.lblQT1.Tag = 4;
  Release(Window.lblQT1);
  Window.lblQT1.Tag = -1;
  Release(Window.lblQT1);
  EXPECT_TRUE(Shell.Opened.empty());
}

}  // namespace
