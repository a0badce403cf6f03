#include "ui/LabelRules.h"

namespace ui {

TLabelFormat LabelFormat(const TLabel& Label) {
  TLabelFormat Format;
  Format.Text = Label.Caption.substr(0, Label.Caption.find('\0'));
  Format.Alignment = Label.Alignment;
  Format.WordWrap = Label.WordWrap;
  Format.PathEllipsis = Label.PathEllipsis;
  // Each label is cut at its box; only one that sizes itself to its text has none.
  Format.Clipped = !Label.AutoHeight;
  Format.Measured = Label.AutoHeight || Label.Layout != TTextLayout::Top;
  return Format;
}

int LabelTextTop(const TLabel& Label, int TextHeight) {
  const int Spare = Label.Bounds.Height - TextHeight;
  if (Label.AutoHeight) return Label.Bounds.Top;
  switch (Label.Layout) {
    case TTextLayout::Center:
      return Label.Bounds.Top + Spare / 2;
    case TTextLayout::Bottom:
      return Label.Bounds.Top + Spare;
    case TTextLayout::Top:
      break;
  }
  return Label.Bounds.Top;
}

}  // namespace ui
