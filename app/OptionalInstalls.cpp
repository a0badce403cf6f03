// Page 2: the component view with its periodic checks, and its one-way change
// into the codec-pack view.
#include "app/KIVWindow.h"

#include <cmath>

#include "platform/ScopeExit.h"
#include "vestora/BuildConfig.h"

namespace app {
namespace {

constexpr int LogoStep = 4;
constexpr int LogoHeight = 64;
constexpr double GreyStep = 1.59375 * LogoStep;  // the grey range 102 over the logo height, per frame
constexpr double GreyNormal = 153;
constexpr double GreyWhite = 255;
constexpr std::uint32_t FramePauseMs = 10;

ui::TColor Grey(double Level) { return ui::GreyColour(static_cast<std::uint32_t>(std::trunc(Level))); }

}  // namespace

void TKIVWindow::tmrSWCheckTimer(ui::TTimer* /*Sender*/) {
  tmrSWCheck.SetEnabled(false);
  if (lblDone.Tag > 0) return;  // the codec-pack view: no more checks
  // An error from a check ends the pass with the later lines as they were; the timer runs on.
  const platform::TScopeExit Reenable([this] { tmrSWCheck.SetEnabled(true); });
  checks::IFunctions& Checks = FServices.Functions;
  ShowInstallState(lblDX2, Checks.IsDirectXInstalled());
  ShowInstallState(lblWMP2, Checks.IsMediaPlayerInstalled());
  ShowInstallState(lblAFP2, Checks.IsFlashInstalled());
  ShowInstallState(lblQT2, Checks.IsQuickTimeInstalled());
}

void TKIVWindow::imgOpInstHLMouseUp(ui::TControl& Sender, ui::TMouseButton /*Button*/, int /*X*/, int /*Y*/) {
  // Any button's release acts, on a logo, a name or a state line alike.
  static const char* const ComponentPages[] = {VESTORA_URL_DIRECTX, VESTORA_URL_MEDIAPLAYER, VESTORA_URL_FLASH,
                                               VESTORA_URL_QUICKTIME};
  static const char* const CodecPackPages[] = {VESTORA_URL_DIVX, VESTORA_URL_3IVX, VESTORA_URL_CCCP,
                                               VESTORA_URL_FFDSHOW};
  if (Sender.Tag < 0 || Sender.Tag > 3) return;
  const char* const* Pages = lblDone.Tag == 0 ? ComponentPages : CodecPackPages;
  FServices.Shell.OpenAddress(Pages[Sender.Tag], Host()->WindowHandle());
}

void TKIVWindow::ShowInstallState(ui::TLabel& Label, bool Present) {
  Label.Caption = Present ? "Installed" : "Click to intstall";
  Label.Font.Color = Present ? clInstalledRed : clGreyText;
}

std::vector<ui::TLabel*> TKIVWindow::OfferLabels() {
  return {&lblDX1, &lblDX2, &lblWMP1, &lblWMP2, &lblAFP1, &lblAFP2, &lblQT1, &lblQT2};
}

void TKIVWindow::ShowCodecPacks() {
  lblDone.Tag = 1;
  lblDone.Caption = "Done";
  ++PageOpInstall.View;
  lblOpInstTitle2.Caption = "You may also find the following codec packs useful: \x86";
  lblOptInstNote.Visible = true;
  const std::vector<ui::TImage*> OldLogos{&imgOpInst1a, &imgOpInst2a, &imgOpInst3a, &imgOpInst4a};
  const std::vector<ui::TImage*> NewLogos{&imgOpInst1b, &imgOpInst2b, &imgOpInst3b, &imgOpInst4b};
  for (std::size_t i = 0; i < OldLogos.size(); ++i) {
    NewLogos[i]->Bounds.Left = OldLogos[i]->Bounds.Left;
    NewLogos[i]->Bounds.Top = OldLogos[i]->Bounds.Top;
  }
  const std::vector<ui::TLabel*> Labels = OfferLabels();
  FadeOutOffers(OldLogos, Labels);
  SetOfferTexts(lblDX1, lblDX2, "DivX", "Lets you play DivX, H.264, .MP4 && MKV files.");
  SetOfferTexts(lblWMP1, lblWMP2, "3ivx", "Lets you play  Mpeg4, H.264 && .MP4 files.");
  SetOfferTexts(lblAFP1, lblAFP2, "CCCP", "Combined Community Codec Pack. Plays almost anything.");
  SetOfferTexts(lblQT1, lblQT2, "FFDShow", "Based around FFMpeg. Plays almost anything.");
  FadeInOffers(NewLogos, Labels);
  for (ui::TLabel* Label : Labels) Label->Font.Color = clGreyText;
}

void TKIVWindow::SetOfferTexts(ui::TLabel& NameLabel, ui::TLabel& StateLabel, const std::string& Name,
                               const std::string& Description) {
  NameLabel.Caption = Name;
  if (!Name.empty()) NameLabel.Bounds.Top -= 15;
  StateLabel.Caption = Description;
  if (!Name.empty()) {
    StateLabel.Bounds.Top -= 15;
    StateLabel.Bounds.Height += 15;
    StateLabel.Font.Height = 13;  // 10 points at 96 pixels per inch
    StateLabel.Font.Bold = false;
    StateLabel.Caption += " Click to install.";
  }
}

void TKIVWindow::FadeOutOffers(const std::vector<ui::TImage*>& Logos, const std::vector<ui::TLabel*>& Labels) {
  double Level = GreyNormal;
  do {
    Level = std::min(Level + GreyStep, GreyWhite);
    for (ui::TLabel* Label : Labels) Label->Font.Color = Grey(Level);
    // The bottom edge stays: each logo closes towards it.
    for (ui::TImage* Logo : Logos) {
      Logo->Bounds.Top += LogoStep;
      Logo->Bounds.Height = std::max(Logo->Bounds.Height - LogoStep, 0);
    }
    ShowAnimationFrame();
  } while (Logos.front()->Bounds.Height != 0);
  for (ui::TImage* Logo : Logos) Logo->Visible = false;
}

void TKIVWindow::FadeInOffers(const std::vector<ui::TImage*>& Logos, const std::vector<ui::TLabel*>& Labels) {
  for (ui::TImage* Logo : Logos) {
    Logo->Bounds.Top += LogoHeight;
    Logo->Bounds.Height = 0;
    Logo->Visible = true;
  }
  double Level = GreyWhite;
  do {
    Level = std::max(Level - GreyStep, GreyNormal);
    for (ui::TLabel* Label : Labels) Label->Font.Color = Grey(Level);
    for (ui::TImage* Logo : Logos) {
      Logo->Bounds.Top -= LogoStep;
      Logo->Bounds.Height = std::min(Logo->Bounds.Height + LogoStep, LogoHeight);
    }
    ShowAnimationFrame();
  } while (Logos.front()->Bounds.Height != LogoHeight);
}

// The change runs in one go on the GUI thread: each frame is painted at once.
void TKIVWindow::ShowAnimationFrame() {
  Host()->RepaintNow();
  FServices.Clock.Sleep(FramePauseMs);
}

}  // namespace app
