// The panels.
#include "te_panels.h"

TTePanel::TTePanel(QWidget* parent) : TTeControl(parent) {
  // The ordinary panel: one raised bevel.
  SetBevelOuter(kbvRaised);
  SetBevelInner(kbvNone);
  SetBevelWidth(1);
  resize(100, 90);
}

void TTePanel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  update();
}

void TTePanel::SetAlignment(TAlignment alignment) {
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  update();
}

TRect TTePanel::ContentRect() const {
  if (Themed()) return Theme()->PanelContentRect(0, {0, 0, width(), height()}, ThemeObject());
  return GetFrameClientRect();
}

void TTePanel::UpdateMargins() {
  const TRect c = ContentRect();
  setContentsMargins(c.Left, c.Top, std::max(0, width() - c.Right), std::max(0, height() - c.Bottom));
}

void TTePanel::ThemeChanged(int code, intptr_t lParam) {
  TTeControl::ThemeChanged(code, lParam);
  UpdateMargins();
}

void TTePanel::PaintFrame(TCanvas& canvas) {
  if (!Themed()) TTeControl::PaintFrame(canvas);
}

void TTePanel::PaintBackground(TCanvas& canvas) {
  const TRect whole{0, 0, width(), height()};
  const uint32_t align = alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  if (Themed()) {
    TteTheme* theme = Theme();
    if (theme->IsPanelTransparent(0, ThemeObject())) DrawParentBackground(this, canvas);
    theme->PaintPanel(0, canvas, whole, ThemeObject());
    if (caption_.isEmpty()) return;
    canvas.Font = theme->Fonts().GetObjectFont(isEnabled() ? kfPanelTextNormal : kfPanelTextDisabled, ThemeObject());
    // As wide as the control and as high as a "W", centred vertically.
    const int h = canvas.TextHeight(QStringLiteral("W"));
    const TRect r = Bounds(0, (height() - h) / 2, width(), h);
    theme->PaintPanelText(0, canvas, r, TextInfo(r, caption_, align | DT_EXPANDTABS | DT_SINGLELINE), ThemeObject());
    return;
  }
  const TRect client = GetFrameClientRect();
  FillRectColor(canvas, client, ColorToRGB(Color()));
  if (caption_.isEmpty()) return;
  TRect r = Inset(client, 1);
  canvas.Brush.Style = TBrushStyle::bsClear;
  if (!isEnabled()) canvas.Font.Color = GetSysColor(COLOR_GRAYTEXT);
  canvas.DrawText(caption_, r, align | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

TTeTransPanel::TTeTransPanel(QWidget* parent) : TTeControl(parent) { resize(100, 90); }

void TTeTransPanel::ThemeChanged(int code, intptr_t) {
  if (code != ktcChanging && code != ktcChanged) update();
}

TTeTransparentPanel::TTeTransparentPanel(QWidget* parent) : TTeExtraControl(parent) {}

void TTeTransparentPanel::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  update();
}

void TTeTransparentPanel::PaintBackground(TCanvas& canvas) {
  if (transparent_) DrawParentBackground(this, canvas);
  else FillRectColor(canvas, {0, 0, width(), height()}, ColorToRGB(Color()));
}
