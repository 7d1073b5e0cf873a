// The text painter every theme uses for captions, and the TteTextInfo builder from
// text-format flags.
#include "te_theme.h"

#include "te_bitmap.h"

TteTextInfo TextInfo(const TRect& rect, const QString& text, uint32_t flags) {
  TteTextInfo info;
  info.Rect = rect;
  info.Text = text;
  const int column = (flags & DT_RIGHT) ? 2 : (flags & DT_CENTER) ? 1 : 0;
  const int row = (flags & DT_VCENTER) ? 1 : (flags & DT_BOTTOM) ? 2 : 0;
  info.Alignment = uint8_t(column * 3 + row);
  if (flags & DT_RTLREADING) info.Options |= ktoRtlReading;
  if (flags & DT_NOPREFIX) info.Options |= ktoNoPrefix;
  if (flags & DT_SINGLELINE) info.Options |= ktoSingleLine;
  if (flags & DT_WORDBREAK) info.Options |= ktoWordWrap;
  return info;
}

TteTextLayout LayoutText(TCanvas& canvas, const TteTextInfo& text) {
  TteTextLayout out;
  int alignment = text.Alignment;
  if (text.Options & ktoRtlReading) {
    // Right-to-left reading starts at the right: the left column moves over.
    if (alignment <= ktaBottomLeft) alignment += 6;
    out.Flags |= DT_RTLREADING;
  }
  if (text.Options & ktoNoPrefix) out.Flags |= DT_NOPREFIX;
  if (text.Options & ktoWordWrap) out.Flags |= DT_WORDBREAK;
  if (text.Options & ktoSingleLine) out.Flags |= DT_SINGLELINE;
  const uint32_t measure = out.Flags | DT_CALCRECT;
  const TRect& box = text.Rect;
  const int W = box.Width(), H = box.Height();
  out.Vertical = text.Orientation != ktoHorizontal;
  out.Upwards = text.Orientation == ktoVerticalUp;

  if (!out.Vertical) {
    out.Draw = true;
    if (alignment == ktaTopLeft) {
      out.Box = box;
      return out;
    }
    TRect r2 = box;
    canvas.DrawText(text.Text, r2, measure);
    const int w = r2.Width(), h = r2.Height();
    const int column = alignment / 3, row = alignment % 3;
    // Halves round toward zero, as signed integer division does.
    const int dx = column == 0 ? 0 : column == 1 ? (W - w) / 2 : W - w;
    const int dy = row == 0 ? 0 : row == 1 ? (H - h) / 2 : H - h;
    out.Box = r2.Offset(dx, dy);
    // The box is as wide as the widest line; the lines of wrapped text keep
    // their alignment inside it (a single line fills it either way).
    if (text.Options & ktoWordWrap) out.Flags |= column == 1 ? uint32_t(DT_CENTER) : column == 2 ? uint32_t(DT_RIGHT) : 0u;
    return out;
  }
  if (alignment == ktaTopLeft) {
    out.Draw = true;
    out.Box = box;
  } else if (alignment == ktaCenter) {
    // Measured as laid out before the quarter turn: as wide as the box is high.
    TRect r2{box.Left, box.Top, box.Left + H, box.Top + W};
    canvas.DrawText(text.Text, r2, measure);
    const int w = r2.Width(), h = r2.Height();
    TRect d{box.Left, box.Top, box.Left + h, box.Top + w};
    d = d.Offset((W - h) / 2, (H - w) / 2);
    d.Top -= 2;
    d.Bottom += 2;
    out.Draw = true;
    out.Box = d;
  }
  return out;
}

void TteTheme::PaintText(TCanvas& canvas, const TteTextInfo& text) {
  const TteTextLayout layout = LayoutText(canvas, text);
  if (!layout.Draw) return;
  if (layout.Vertical)
    DrawVerticalText(canvas, text.Text, layout.Box, layout.Upwards, layout.Flags);
  else
    DrawWideText(canvas, text.Text, layout.Box, layout.Flags);
}
