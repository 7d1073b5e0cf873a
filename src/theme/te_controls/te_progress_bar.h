// TTeProgressBar: a bar filled by the fraction of Position between Min and Max.
#pragma once

#include "te_control.h"

enum TTeProgressOrientation : uint8_t { kpoHorizontal = 0, kpoVertical = 1 };

// (position - min) / (max - min); 0 when min < 0, when position lies outside min..max or
// when min = max (an empty bar rather than a division by zero).
double ProgressFraction(int min, int max, int position);

struct TTeProgressGeometry {
  TRect Area;    // the control inset by 2 with a border, then by BorderWidth
  TRect Filled;  // from the left, or from the bottom up
};
TTeProgressGeometry ProgressGeometry(int width, int height, bool showBorder, int borderWidth,
                                     TTeProgressOrientation orientation, double fraction);

class TTeProgressBar : public TTeControl {
  Q_OBJECT
 public:
  explicit TTeProgressBar(QWidget* parent = nullptr);

  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  int Step() const { return step_; }
  // Min and Max keep Min <= Max (the other end follows), and Position stays inside them.
  void SetMin(int min);
  void SetMax(int max);
  // Clamped into Min..Max. Repaints at once when the fraction changes, else not at all.
  void SetPosition(int position);
  // Never above Max.
  void SetStep(int step);
  TTeProgressOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTeProgressOrientation orientation);
  bool ShowBorder() const { return showBorder_; }
  void SetShowBorder(bool show);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool smooth);

  double Fraction() const { return ProgressFraction(min_, max_, position_); }
  TTeProgressGeometry Geometry() const;

  QSize sizeHint() const override { return {140, 16}; }
  void PaintFrame(TCanvas&) override {}
  void PaintBackground(TCanvas& canvas) override;
  void ThemeChanged(int code, intptr_t lParam) override;

 private:
  void Changed(double oldFraction);
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  TTeProgressOrientation orientation_ = kpoHorizontal;
  bool showBorder_ = true;
  bool smooth_ = false;
};
