// The skinned progress bar.
#include "te_progress_bar.h"

#include <cmath>

double ProgressFraction(int min, int max, int position) {
  if (min < 0 || min == max || position < min || position > max) return 0.0;
  return (double(position) - min) / (double(max) - min);
}

// Rounding as the original's: halves go to the even neighbour (nearbyint in the
// default rounding mode).
static int RoundEven(double v) { return int(std::nearbyint(v)); }

TTeProgressGeometry ProgressGeometry(int width, int height, bool showBorder, int borderWidth,
                                     TTeProgressOrientation orientation, double fraction) {
  TTeProgressGeometry g;
  g.Area = Inset(Inset(TRect{0, 0, width, height}, showBorder ? 2 : 0), borderWidth);
  g.Filled = g.Area;
  if (orientation == kpoHorizontal)
    g.Filled.Right = g.Area.Left + RoundEven(fraction * std::max(0, g.Area.Width()));
  else
    g.Filled.Top = g.Area.Bottom - RoundEven(fraction * std::max(0, g.Area.Height()));
  return g;
}

TTeProgressBar::TTeProgressBar(QWidget* parent) : TTeControl(parent) {
  SetPerformance(kspDoubleBuffer);
  resize(140, 16);
}

void TTeProgressBar::Changed(double oldFraction) {
  if (Fraction() != oldFraction) repaint();
}

void TTeProgressBar::SetMin(int min) {
  const double old = Fraction();
  min_ = min;
  max_ = std::max(max_, min_);
  position_ = std::clamp(position_, min_, max_);
  Changed(old);
}

void TTeProgressBar::SetMax(int max) {
  const double old = Fraction();
  max_ = max;
  min_ = std::min(min_, max_);
  position_ = std::clamp(position_, min_, max_);
  step_ = std::min(step_, max_);
  Changed(old);
}

void TTeProgressBar::SetPosition(int position) {
  // The original stored any position and divided by Max - Min; a position outside the
  // range now stops at its end.
  const double old = Fraction();
  position_ = std::clamp(position, min_, max_);
  Changed(old);
}

void TTeProgressBar::SetStep(int step) { step_ = std::min(step, max_); }

void TTeProgressBar::SetOrientation(TTeProgressOrientation orientation) {
  if (orientation_ == orientation) return;
  orientation_ = orientation;
  update();
}

void TTeProgressBar::SetShowBorder(bool show) {
  if (showBorder_ == show) return;
  showBorder_ = show;
  update();
}

void TTeProgressBar::SetSmooth(bool smooth) {
  if (smooth_ == smooth) return;
  smooth_ = smooth;
  update();
}

TTeProgressGeometry TTeProgressBar::Geometry() const {
  return ProgressGeometry(width(), height(), showBorder_, BorderWidth(), orientation_, Fraction());
}

void TTeProgressBar::ThemeChanged(int code, intptr_t) {
  if (code != ktcChanging && code != ktcChanged) update();
}

void TTeProgressBar::PaintBackground(TCanvas& canvas) {
  const TRect whole{0, 0, width(), height()};
  const TTeProgressGeometry g = Geometry();
  const bool horizontal = orientation_ == kpoHorizontal;
  if (ThemeHasProgressBar(0, ThemeObject(), ThemeLink())) {
    TteTheme* theme = Theme();
    if (theme->IsProgressBarTransparent(0, ThemeObject())) DrawParentBackground(this, canvas);
    else FillRectColor(canvas, whole, ColorToRGB(Color()));
    theme->PaintProgressBar(0, canvas, ProgressInfo(whole, horizontal ? kppHorzFrame : kppVertFrame),
                            ThemeObject());
    if (g.Filled.IsEmpty()) return;
    const uint8_t part = horizontal ? (smooth_ ? kppHorzSolid : kppHorzBar)
                                    : (smooth_ ? kppVertSolid : kppVertBar);
    theme->PaintProgressBar(0, canvas, ProgressInfo(g.Filled, part), ThemeObject());
    return;
  }
  FillRectColor(canvas, whole, ColorToRGB(Color()));
  if (showBorder_) DrawFrame3D(canvas, whole, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
  const double fraction = Fraction();
  const TColor bar = GetSysColor(COLOR_HIGHLIGHT);
  if (smooth_) {
    FillRectColor(canvas, g.Filled, bar);
    return;
  }
  if (fraction < 0.01 || g.Area.IsEmpty()) return;
  // Chunks of 0.64 x the bar's thickness, two pixels apart, each clipped to the area.
  const int thickness = horizontal ? g.Area.Height() : g.Area.Width();
  const int length = horizontal ? g.Area.Width() : g.Area.Height();
  const int chunk = std::max(1, RoundEven(0.64 * thickness));
  const int pitch = chunk + 2;
  const int count = RoundEven(fraction * (length / pitch)) + 1;
  for (int i = 0; i < count; ++i) {
    TRect c = horizontal ? TRect{g.Area.Left + i * pitch, g.Area.Top, g.Area.Left + i * pitch + chunk, g.Area.Bottom}
                         : TRect{g.Area.Left, g.Area.Bottom - i * pitch - chunk, g.Area.Right, g.Area.Bottom - i * pitch};
    c = IntersectRect(c, g.Area);
    if (!c.IsEmpty()) FillRectColor(canvas, c, bar);
  }
}
