// The toolkit's control model: windowless labels, pictures and paint boxes,
// the licence list, pages, the notebook and timers. Plain objects with the
// properties the pages use; the Win32 host paints them and feeds them input.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {

// 0x00BBGGRR, red in the low byte.
using TColor = std::uint32_t;

constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clWindowText = 0x000000;

// The grey whose red, green and blue are all Level (0 to 255).
[[nodiscard]] constexpr TColor GreyColour(std::uint32_t Level) { return Level | Level << 8 | Level << 16; }

struct TRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;

  [[nodiscard]] int Right() const { return Left + Width; }
  [[nodiscard]] int Bottom() const { return Top + Height; }
  [[nodiscard]] bool Contains(int X, int Y) const {
    return X >= Left && X < Right() && Y >= Top && Y < Bottom();
  }
};

// Height is the character height in pixels without internal leading
// (a negative LOGFONT height), at 96 pixels per inch.
struct TFont {
  std::string Name;
  int Height = 11;
  bool Bold = false;
  TColor Color = clWindowText;

  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TAlignment { Left, Center, Right };
enum class TTextLayout { Top, Center, Bottom };
enum class TMouseButton { Left, Right, Middle };
// What a control is to the keyboard and to assistive technology. Buttons, links
// and lists are actions the keyboard reaches; None is not presented at all.
enum class TRole { None, Text, Button, Link, ProgressBar, List };

class TControl;
using TNotifyEvent = std::function<void(TControl& Sender)>;
using TMouseEvent = std::function<void(TControl& Sender, TMouseButton Button, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TControl& Sender, bool LeftHeld, int X, int Y)>;

class TControl {
public:
  TControl(std::string AName, TRect ABounds) : Name(std::move(AName)), Bounds(ABounds) {}
  virtual ~TControl() = default;
  TControl(const TControl&) = delete;
  TControl& operator=(const TControl&) = delete;

  std::string Name;
  TRect Bounds;
  bool Visible = true;
  int Tag = 0;
  TRole Role = TRole::None;
  // The control whose caption names this one: a row's product, a bar's title.
  const TControl* NamedBy = nullptr;
  // News: a screen reader is told its text when it shows and when it changes,
  // wherever the focus is.
  bool Live = false;

  TNotifyEvent OnClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
};

class TLabel : public TControl {
public:
  using TControl::TControl;

  // Single-byte text in the code page of CodePage; "&&" shows as one "&".
  std::string Caption;
  unsigned CodePage = 1252;
  TFont Font;
  TAlignment Alignment = TAlignment::Left;
  TTextLayout Layout = TTextLayout::Top;
  bool WordWrap = false;
  bool PathEllipsis = false;
  // The height follows the text (word-wrapped within the width).
  bool AutoHeight = false;
};

// What a picture stands for where no pictures are drawn (a contrast theme): art
// is left out; a bar is filled in the theme's highlight, a dimmed one in its grey.
enum class TPictureMeaning { Art, Bar, DimmedBar };

class TImage : public TControl {
public:
  TImage(std::string AName, TRect ABounds, std::string APicture)
      : TControl(std::move(AName), ABounds), Picture(std::move(APicture)) {}

  // Name of the JPEG resource that holds the picture.
  std::string Picture;
  bool Stretch = false;
  bool Center = false;
  TPictureMeaning Meaning = TPictureMeaning::Art;
};

class ICanvas;
class TPaintBox : public TControl {
public:
  using TControl::TControl;
  std::function<void(TPaintBox& Sender, ICanvas& Canvas)> OnPaint;
};

// The owner-drawn list: a real child window in the host.
class TListBox : public TControl {
public:
  using TControl::TControl;

  std::vector<std::string> Items;
  // The current line: selected, and scrolled into view by the least amount; -1 for none.
  int ItemIndex = -1;
  TFont Font;
  TColor Color = clWhite;
  int ItemHeight = 16;
  // Draws one item; the list itself draws no selection and no focus mark.
  std::function<void(TListBox& Sender, ICanvas& Canvas, int Index, TRect Rect)> OnDrawItem;
};

class TPage {
public:
  explicit TPage(std::string ACaption) : Caption(std::move(ACaption)) {}
  std::string Caption;
  // Paint order: a later control is painted over an earlier one.
  std::vector<TControl*> Controls;
  bool DoubleBuffered = false;
  // The action that has the keyboard focus when the page is shown; none: a key
  // meant for the page before cannot act here.
  TControl* FirstFocus = nullptr;
  // Raised when the page shows other content in its place: the focus and assistive
  // technology start afresh, as on a new page.
  unsigned View = 0;
  // The panels that the page's pictures draw, outlined where no pictures are drawn.
  std::vector<TRect> Panels;

  // The topmost visible control at the point, or nullptr.
  [[nodiscard]] TControl* ControlAt(int X, int Y) const;
};

class TNotebook {
public:
  std::vector<TPage*> Pages;
  int PageIndex = 0;
  bool DoubleBuffered = false;

  [[nodiscard]] TPage& ActivePage() const { return *Pages.at(static_cast<std::size_t>(PageIndex)); }
};

class TTimer {
public:
  TTimer(std::string AName, unsigned AInterval) : Name(std::move(AName)), Interval(AInterval) {}
  std::string Name;
  unsigned Interval;  // milliseconds
  std::function<void(TTimer& Sender)> OnTimer;

  [[nodiscard]] bool Enabled() const { return FEnabled; }
  // Enabling a disabled timer starts a fresh interval.
  void SetEnabled(bool Value) {
    if (Value && !FEnabled) ++FStarts;
    FEnabled = Value;
  }
  // Counts the times the timer was enabled, so the host can tell a restart.
  [[nodiscard]] unsigned Starts() const { return FStarts; }

private:
  bool FEnabled = false;
  unsigned FStarts = 0;
};

}  // namespace ui
