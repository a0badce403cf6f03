#include "ui/LabelRules.h"

namespace ui {

TLabelFormat LabelFormat(const TLabel& Label) {
  TLabelFormat Format;
  Format.Text = Label.Caption.substr(0, Label.Caption.find('\0'));
  Format.Alignment = Label.Alignment;
  Format.WordWrap = Label.WordWrap;
  Format.PathEllipsis = Label.PathEllipsis;
  // Shortening a path only means something within the bounds.
  Format.Clipped = Label.PathEllipsis;
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
