// The skinned labels.
#include "te_label.h"

#include <QEvent>

uint32_t LabelTextFlags(const TTeLabelTextOptions& o) {
  uint32_t flags = DT_EXPANDTABS;
  if (o.WordWrap) flags |= DT_WORDBREAK;
  flags |= o.Alignment == taRightJustify ? DT_RIGHT : o.Alignment == taCenter ? DT_CENTER : DT_LEFT;
  if (o.Layout == tlCenter) flags |= DT_VCENTER;
  if (o.Layout == tlBottom) flags |= DT_BOTTOM;
  if (!o.ShowAccelChar) flags |= DT_NOPREFIX;
  if (o.RightToLeft) flags |= DT_RTLREADING;
  return flags;
}

TTeLabel::TTeLabel(QWidget* parent) : TTeGraphicControl(parent) {
  resize(65, 17);
  AdjustBounds();
}

void TTeLabel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  UpdateShortcut();
  AdjustBounds();
  update();
}

void TTeLabel::SetAlignment(TAlignment alignment) {
  if (options_.Alignment == alignment) return;
  options_.Alignment = alignment;
  update();
}

void TTeLabel::SetLayout(TTextLayout layout) {
  if (options_.Layout == layout) return;
  options_.Layout = layout;
  update();
}

void TTeLabel::SetWordWrap(bool wrap) {
  if (options_.WordWrap == wrap) return;
  options_.WordWrap = wrap;
  AdjustBounds();
  update();
}

void TTeLabel::SetShowAccelChar(bool show) {
  if (options_.ShowAccelChar == show) return;
  options_.ShowAccelChar = show;
  UpdateShortcut();
  AdjustBounds();
  update();
}

void TTeLabel::SetAutoSize(bool on) {
  if (autoSize_ == on) return;
  autoSize_ = on;
  AdjustBounds();
}

void TTeLabel::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  update();
}

void TTeLabel::SetFontOptions(const TTeFontOptions& options) {
  if (fontOptions_ == options) return;
  fontOptions_ = options;
  AdjustBounds();
  update();
}

void TTeLabel::UpdateShortcut() {
  delete accel_;
  accel_ = nullptr;
  if (!options_.ShowAccelChar) return;
  const QKeySequence key = QKeySequence::mnemonic(caption_);
  if (key.isEmpty()) return;
  accel_ = new QShortcut(key, this);
  accel_->setContext(Qt::WindowShortcut);
  connect(accel_, &QShortcut::activated, this, [this] {
    if (focusControl_ && focusControl_->isEnabled() && focusControl_->focusPolicy() != Qt::NoFocus)
      focusControl_->setFocus(Qt::ShortcutFocusReason);
  });
}

TteTheme* TTeLabel::LabelTheme() const {
  return ThemeHasLabel(0, ThemeObject(), ThemeLink()) ? Theme() : nullptr;
}

TFont TTeLabel::LabelFont(TteTheme* theme) const {
  TFont font;
  if (theme) {
    const int index = !isEnabled() ? kfStaticTextDisabled
                      : (hotTrack_ && MouseIn()) ? kfStaticTextHot
                                                 : kfStaticTextNormal;
    font = theme->Fonts().GetObjectFont(index, ThemeObject());
  } else {
    font = TFont{this->font()};
    font.Color = ColorToRGB(FontColor());
  }
  fontOptions_.ApplyTo(font);
  return font;
}

void TTeLabel::DrawLabelText(TCanvas& canvas, TRect& r, uint32_t flags) {
  QString text = caption_;
  const bool measuring = flags & DT_CALCRECT;
  if (measuring && (text.isEmpty() || (options_.ShowAccelChar && text == QLatin1String("&"))))
    text = QStringLiteral(" ");
  TteTheme* theme = LabelTheme();
  canvas.Font = LabelFont(theme);
  canvas.Brush.Style = TBrushStyle::bsClear;
  if (measuring) {
    canvas.DrawText(text, r, flags);
    return;
  }
  if (theme) {
    theme->PaintLabelText(0, canvas, isEnabled() ? klsEnabled : klsDisabled, TextInfo(r, text, flags),
                          ThemeObject());
    return;
  }
  if (!isEnabled()) {
    TRect lit = r.Offset(1, 1);
    canvas.Font.Color = GetSysColor(COLOR_BTNHIGHLIGHT);
    canvas.DrawText(text, lit, flags);
    canvas.Font.Color = GetSysColor(COLOR_BTNSHADOW);
  }
  canvas.DrawText(text, r, flags);
}

void TTeLabel::AdjustBounds() {
  if (!autoSize_) return;
  QImage scratch(1, 1, QImage::Format_ARGB32);
  TCanvas canvas(&scratch);
  TRect r{0, 0, width(), 0};
  DrawLabelText(canvas, r, LabelTextFlags(options_) | DT_CALCRECT);
  const int right = x() + width();
  const QSize size(r.Width(), r.Height());
  if (options_.Alignment == taRightJustify && !options_.RightToLeft)
    setGeometry(right - size.width(), y(), size.width(), size.height());
  else
    resize(size);
}

void TTeLabel::PaintControl(TCanvas& canvas) {
  const TRect whole{0, 0, width(), height()};
  TteTheme* theme = LabelTheme();
  const bool seeThrough = theme ? theme->IsLabelTransparent(0, ThemeObject()) : transparent_;
  if (seeThrough) DrawParentBackground(this, canvas);
  else FillRectColor(canvas, whole, ColorToRGB(Color()));
  TRect r = whole;
  DrawLabelText(canvas, r, LabelTextFlags(options_));
}

void TTeLabel::ThemeChanged(int code, intptr_t) {
  switch (code) {
    case ktcReplaced:
    case ktcBecameCurrent:
    case ktcRemoved:
      AdjustBounds();
      ApplyObjectBounds(true);
      break;
    case ktcLookChanged:
      update();
      break;
    default:
      break;
  }
}

void TTeLabel::MouseEnter() {
  TTeGraphicControl::MouseEnter();
  if (hotTrack_) update();
}

void TTeLabel::MouseLeave() {
  TTeGraphicControl::MouseLeave();
  if (hotTrack_) update();
}

void TTeLabel::changeEvent(QEvent* e) {
  if (e->type() == QEvent::FontChange) AdjustBounds();
  TTeGraphicControl::changeEvent(e);
}

TTeAdvancedLabel::TTeAdvancedLabel(QWidget* parent) : TTeLabel(parent) {}

void TTeAdvancedLabel::SetAlwaysUseDefaultFont(bool on) {
  if (alwaysDefault_ == on) return;
  alwaysDefault_ = on;
  AdjustBounds();
  update();
}

void TTeAdvancedLabel::SetAlwaysGetFontColorFromTheme(bool on) {
  if (colorFromTheme_ == on) return;
  colorFromTheme_ = on;
  update();
}

void TTeAdvancedLabel::SetDefaultFont(const TFont& font) {
  defaultFont_ = font;
  AdjustBounds();
  update();
}

void TTeAdvancedLabel::SetDefaultDisabledFont(const TFont& font) {
  defaultDisabledFont_ = font;
  update();
}

TteTheme* TTeAdvancedLabel::LabelTheme() const {
  return ThemeHasLabel(0, ThemeObject(), nullptr) ? ThemeManager().CurrentTheme() : nullptr;
}

TFont TTeAdvancedLabel::LabelFont(TteTheme* theme) const {
  // Skin-file themes, the only kind that can lack a named object, are not built here,
  // so the object always counts as present.
  if (alwaysDefault_) {
    TFont font = isEnabled() ? defaultFont_ : defaultDisabledFont_;
    if (colorFromTheme_ && theme)
      font.Color = theme->Fonts().GetObjectFont(isEnabled() ? kfStaticTextNormal : kfStaticTextDisabled,
                                                ThemeObject()).Color;
    return font;
  }
  if (!theme) {
    TFont font{this->font()};
    font.Color = ColorToRGB(FontColor());
    return font;
  }
  return theme->Fonts().GetObjectFont(isEnabled() ? kfStaticTextNormal : kfStaticTextDisabled, ThemeObject());
}
