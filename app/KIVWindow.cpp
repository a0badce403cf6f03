#include "app/KIVWindow.h"

#include <string_view>
#include <utility>

#include "app/LicenceWrap.h"
#include "platform/ScopeExit.h"

namespace app {
namespace {

using ui::TAlignment;
using ui::TFont;
using ui::TLabel;
using ui::TTextLayout;

TFont Corbel(int Height, ui::TColor Color, bool Bold = false) { return {"Corbel", Height, Bold, Color}; }
TFont Arial(int Height, ui::TColor Color) { return {"Arial", Height, false, Color}; }

void Style(TLabel& Label, TFont Font, bool WordWrap, TAlignment Alignment = TAlignment::Left,
           TTextLayout Layout = TTextLayout::Top) {
  Label.Font = std::move(Font);
  Label.WordWrap = WordWrap;
  Label.Alignment = Alignment;
  Label.Layout = Layout;
}

// The white text of a button face drawn in the page picture.
void StyleAction(TLabel& Label) { Style(Label, Corbel(17, ui::clWhite), true, TAlignment::Center, TTextLayout::Center); }

}  // namespace

TKIVWindow::TKIVWindow(TKIVServices Services, std::vector<std::string> LicenceItems)
    : FServices(Services) {
  ClientWidth = 600;
  ClientHeight = 338;
  Color = ui::clSilver;
  StayOnTop = true;
  EULA.Items = std::move(LicenceItems);
  LayOutPages();
}

void TKIVWindow::LayOutPages() {
  const ui::TColor Grey = clGreyText;

  imgEULAback.Stretch = true;
  StyleAction(lblDontAgree);
  StyleAction(lblAgree);
  Style(lblEULATitle1, Corbel(24, Grey), true);
  Style(lblEULATitle2, Corbel(17, Grey), true);
  EULA.Font = Corbel(11, Grey);
  EULA.Color = ui::clWhite;
  EULA.ItemHeight = 17;
  const ui::TNotifyEvent AgreeClick = [this](ui::TControl& Sender) { lblAgreeClick(Sender); };
  for (ui::TLabel* Action : {&lblAgree, &lblInstall, &lblHelp, &lblDone, &lblRestart}) Action->OnClick = AgreeClick;
  lblDontAgree.OnClick = [this](ui::TControl& Sender) { lblDontAgreeClick(Sender); };
  lblEULATitle1.OnClick = [this](ui::TControl& Sender) { lblEULATitle1Click(Sender); };
  EULA.OnDrawItem = [this](ui::TListBox& Sender, ui::ICanvas& Canvas, int Index, ui::TRect Rect) {
    EULADrawItem(Sender, Canvas, Index, Rect);
  };
  pbScrollbar.OnPaint = [this](ui::TPaintBox& Sender, ui::ICanvas& Canvas) { pbScrollbarPaint(Sender, Canvas); };
  pbScrollbar.OnMouseDown = [this](ui::TControl& Sender, ui::TMouseButton Button, int X, int Y) {
    pbScrollbarMouseDown(Sender, Button, X, Y);
  };
  pbScrollbar.OnMouseMove = [this](ui::TControl& Sender, bool LeftHeld, int X, int Y) {
    pbScrollbarMouseMove(Sender, LeftHeld, X, Y);
  };
  pbScrollbar.OnMouseEnter = [this](ui::TControl& Sender) { pbScrollbarMouseEnter(Sender); };
  pbScrollbar.OnMouseLeave = [this](ui::TControl& Sender) { pbScrollbarMouseLeave(Sender); };
  PageEULA.Panels = {{33, 89, 543, 180}};
  PageEULA.Controls = {&imgEULAback, &lblDontAgree, &lblAgree, &pbScrollbar, &lblEULATitle1, &lblEULATitle2, &EULA};

  Image1.Stretch = true;
  Style(lblTitle1, Corbel(24, Grey), true);
  Style(lblProgressInfo1, Arial(13, Grey), true);
  imgProgress.Stretch = true;
  imgProgress.Visible = false;
  Style(lblProgress, Arial(17, Grey), true, TAlignment::Right, TTextLayout::Center);
  imgProgressGrey.Stretch = true;
  imgProgressGrey.Visible = false;
  imgProgress.Meaning = ui::TPictureMeaning::Bar;
  imgProgressGrey.Meaning = ui::TPictureMeaning::DimmedBar;
  Style(lblTitle2, Corbel(17, Grey), true);
  imgInstallHL.Stretch = true;
  imgInstallHL.Visible = false;
  StyleAction(lblInstall);
  StyleAction(lblHelp);
  Style(lblProgressInfo2, Arial(13, Grey), false);
  lblProgressInfo2.PathEllipsis = true;
  // Status texts may come from the installer, in the system code page.
  lblProgressInfo1.CodePage = lblProgressInfo2.CodePage = 0;
  Style(Label1, Corbel(17, Grey), true);
  Label1.Caption = "Overall progress:";
  PageInstall.Panels = {{158, 122, 405, 131}, {170, 158, 373, 38}};
  PageInstall.Controls = {&Image1,   &lblTitle1,    &lblProgressInfo1, &imgProgress,     &lblProgress, &imgProgressGrey,
                          &lblTitle2, &imgInstallHL, &lblInstall,       &lblHelp, &lblProgressInfo2, &Label1};

  imgOpInstallBack.Stretch = true;
  StyleAction(lblDone);
  Style(lblOpInstTitle1, Corbel(24, Grey), true);
  Style(lblOpInstTitle2, Corbel(17, Grey), true);
  for (ui::TImage* Logo : {&imgOpInst1b, &imgOpInst3b, &imgOpInst3a, &imgOpInst4b, &imgOpInst4a, &imgOpInst2b,
                           &imgOpInst1a, &imgOpInst2a}) {
    Logo->Center = true;
  }
  for (ui::TImage* Codec : {&imgOpInst1b, &imgOpInst2b, &imgOpInst3b, &imgOpInst4b}) Codec->Visible = false;
  const struct {
    TLabel& Label;
    const char* Caption;
    int Tag;
  } Rows[] = {
      {lblWMP1, "Windows Media Player", 1}, {lblWMP2, "Installed", 1},       {lblQT1, "Quicktime", 3},
      {lblQT2, "Click to install", 3},      {lblAFP2, "Click to install", 2}, {lblAFP1, "Adobe Flash Player", 2},
      {lblDX2, "Installed", 0},             {lblDX1, "DirectX", 0},
  };
  for (const auto& Row : Rows) {
    Row.Label.Caption = Row.Caption;
    Row.Label.Tag = Row.Tag;
  }
  Style(lblWMP1, Corbel(15, Grey), false, TAlignment::Left, TTextLayout::Bottom);
  Style(lblWMP2, Corbel(15, clInstalledRed, true), true);
  Style(lblQT1, Corbel(15, Grey), true, TAlignment::Left, TTextLayout::Bottom);
  Style(lblQT2, Corbel(15, Grey, true), true);
  Style(lblAFP2, Corbel(15, Grey, true), true);
  Style(lblAFP1, Corbel(15, Grey), false, TAlignment::Left, TTextLayout::Bottom);
  Style(lblDX2, Corbel(15, clInstalledRed, true), true);
  Style(lblDX1, Corbel(15, Grey), true, TAlignment::Left, TTextLayout::Bottom);
  imgOpInst3b.Tag = imgOpInst3a.Tag = 2;
  imgOpInst4b.Tag = imgOpInst4a.Tag = 3;
  imgOpInst2b.Tag = imgOpInst2a.Tag = 1;
  Style(lblOptInstNote, Corbel(11, Grey), true);
  lblOptInstNote.AutoHeight = true;
  lblOptInstNote.Visible = false;
  lblOptInstNote.Caption =
      "\x86 You may need to purchase/licence these products from their suppliers or may be used for educational "
      "purposes only.";
  const ui::TMouseEvent OfferMouseUp = [this](ui::TControl& Sender, ui::TMouseButton Button, int X, int Y) {
    imgOpInstHLMouseUp(Sender, Button, X, Y);
  };
  for (ui::TControl* Row : std::initializer_list<ui::TControl*>{
           &imgOpInst1a, &imgOpInst1b, &imgOpInst2a, &imgOpInst2b, &imgOpInst3a, &imgOpInst3b, &imgOpInst4a,
           &imgOpInst4b, &lblDX1, &lblDX2, &lblWMP1, &lblWMP2, &lblAFP1, &lblAFP2, &lblQT1, &lblQT2}) {
    Row->OnMouseUp = OfferMouseUp;
  }
  PageOpInstall.Panels = {{72, 84, 227, 91}, {305, 84, 224, 91}, {72, 184, 227, 91}, {305, 184, 224, 91}};
  PageOpInstall.Controls = {&imgOpInstallBack, &lblDone, &lblOpInstTitle1, &lblOpInstTitle2, &imgOpInst1b,
                            &imgOpInst3b,      &imgOpInst3a, &imgOpInst4b, &imgOpInst4a,         &imgOpInst2b,
                            &lblWMP1,          &lblWMP2, &lblQT1,          &lblQT2,          &lblAFP2,
                            &lblAFP1,          &lblDX2,  &lblDX1,          &lblOptInstNote,  &imgOpInst1a,
                            &imgOpInst2a};

  Image2.Stretch = true;
  StyleAction(lblRestart);
  lblRestart.Caption = "Restart";
  Style(Label2, Corbel(24, Grey), true);
  Label2.Caption = "Thank you!";
  Style(Label5, Corbel(17, Grey), true);
  Label5.Caption = "Please restart your system to complete the installation.";
  PageReboot.Controls = {&Image2, &lblRestart, &Label2, &Label5};

  tmrSWCheck.OnTimer = [this](ui::TTimer& Sender) { tmrSWCheckTimer(&Sender); };
  tmrInstallerMonitor.OnTimer = [this](ui::TTimer& Sender) { tmrInstallerMonitorTimer(&Sender); };

  // How the keyboard and assistive technology meet the pages.
  for (ui::TControl* Text : std::initializer_list<ui::TControl*>{
           &lblEULATitle1, &lblEULATitle2, &lblTitle1, &lblTitle2, &Label1, &lblProgressInfo1, &lblProgressInfo2,
           &lblOpInstTitle1, &lblOpInstTitle2, &lblOptInstNote, &Label2, &Label5}) {
    Text->Role = ui::TRole::Text;
  }
  for (ui::TControl* Action : {&lblAgree, &lblDontAgree, &lblInstall, &lblHelp, &lblDone, &lblRestart}) {
    Action->Role = ui::TRole::Button;
  }
  // News wherever the focus is: the install page's title, which tells when the
  // installation is complete, and the restart page's lines.
  for (ui::TControl* News : {&lblTitle2, &Label2, &Label5}) News->Live = true;
  // A component row is its state line, named by the product above it.
  const std::pair<TLabel*, const TLabel*> OfferRows[] = {
      {&lblDX2, &lblDX1}, {&lblWMP2, &lblWMP1}, {&lblAFP2, &lblAFP1}, {&lblQT2, &lblQT1}};
  for (const auto& [State, Product] : OfferRows) {
    State->Role = ui::TRole::Link;
    State->NamedBy = Product;
  }
  lblProgress.Role = ui::TRole::ProgressBar;
  lblProgress.NamedBy = &Label1;
  EULA.Role = ui::TRole::List;
  EULA.NamedBy = &lblEULATitle2;
  PageEULA.FirstFocus = &lblAgree;
  PageInstall.FirstFocus = &lblInstall;
  PageOpInstall.FirstFocus = &lblDone;

  Notebook1.Pages = {&PageEULA, &PageInstall, &PageOpInstall, &PageReboot};
  // The design page; FormCreate shows the licence page.
  Notebook1.PageIndex = 1;
}

void TKIVWindow::FormCreate() {
  DoubleBuffered = true;
  Notebook1.DoubleBuffered = true;
  for (ui::TPage* Page : {&PageEULA, &PageInstall, &PageOpInstall}) Page->DoubleBuffered = true;
  FDownloader.reset();
  Notebook1.PageIndex = 0;
  FResellerId = 0;
  FProgressFullWidth = imgProgress.Bounds.Width;

  FDownloadFolder.clear();
  if (std::optional<platform::TPath> Profile = FServices.Folders.ProfileFolder()) {
    FDownloadFolder = *Profile;
    if (FDownloadFolder.empty() || FDownloadFolder.back() != L'\\') FDownloadFolder += L'\\';
    FDownloadFolder += L"Downloads\\";
  }
  if (!FDownloadFolder.empty()) FServices.Folders.CreateFolderTree(FDownloadFolder);

  Caption = "Vestora Installer";
  lblEULATitle1.Caption = "Thank you for choosing Vestora";
  lblEULATitle2.Caption = "To begin your experience read and agree the terms below:";
  lblAgree.Caption = "Agree && Install";
  lblDontAgree.Caption = "Disagree";
  lblTitle1.Caption = "Thank you";
  lblTitle2.Caption = "We will now download and install Vestora";
  lblProgress.Caption.clear();
  lblProgressInfo1.Caption.clear();
  lblProgressInfo2.Caption.clear();
  lblInstall.Caption = "Install";
  lblInstall.Tag = 0;
  lblHelp.Caption = "Help";
  lblOpInstTitle1.Caption = "Almost there";
  lblOpInstTitle2.Caption = "For optimum performance install the recommended components:";
  lblDone.Caption = "More...";
}

void TKIVWindow::FormShow() {
  // Called for its effect of recording the number; FResellerId is set when the licence is accepted.
  (void)FServices.Reseller.GetResellerId();
  WrapLicenceLines();
}

void TKIVWindow::WrapLicenceLines() {
  const std::unique_ptr<ui::ITextMeasurer> Measurer = Host()->CreateMeasurer(EULA.Font);
  app::WrapLicenceLines(EULA.Items, EULA.Bounds.Width - 10, *Measurer, FServices.Clock);
}

platform::TPath TKIVWindow::InstallerPath() const {
  const std::string_view Name = InstallerFileName;
  return FDownloadFolder + platform::TPath(Name.begin(), Name.end());
}

void TKIVWindow::FormCloseQuery(bool& CanClose) { CanClose = lblInstall.Tag != 1; }

// Told to the user when the close that FormCloseQuery refuses is Windows' own.
std::string TKIVWindow::ShutdownBlockReason() const {
  return lblInstall.Tag == 1 ? "Vestora Editor is being installed. Please wait until it has finished." : "";
}

// Only lblInstall turns grey: while the installer runs it ignores clicks.
bool TKIVWindow::IsActionAvailable(const ui::TControl& Control) const {
  return &Control != &lblInstall || lblInstall.Font.Color == ui::clWhite;
}

void TKIVWindow::FormDestroy() { StopDownload(); }

void TKIVWindow::StopDownload() {
  if (!FDownloader) return;
  // Reports that arrive during the wait know that the download was stopped.
  FStoppingDownload = true;
  const platform::TScopeExit Stopped([this] { FStoppingDownload = false; });
  FDownloader->Terminate();
  FDownloader->WaitFor();
  FDownloader.reset();
}

bool TKIVWindow::Dispatch(ui::TMessage& Message) {
  if (Message.Msg == ui::MsgEraseBackground) {
    WMEraseBkgnd(Message);
    return true;
  }
  return false;
}

// Every page is covered by its picture, so there is nothing to erase.
void TKIVWindow::WMEraseBkgnd(ui::TMessage& Message) { Message.Result = 1; }

void TKIVWindow::EULADrawItem(ui::TListBox& Control, ui::ICanvas& Canvas, int Index, ui::TRect Rect) {
  // The same white for every state, so no line ever looks selected.
  Canvas.FillRect(Rect, Control.Color);
  if (Index >= 0 && static_cast<std::size_t>(Index) < Control.Items.size()) {
    Canvas.TextOut(Rect.Left + 1, Rect.Top, Control.Items[static_cast<std::size_t>(Index)], Control.Font);
  }
}

}  // namespace app
