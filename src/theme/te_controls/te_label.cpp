// The skinned labels.
#include "te_label.h"

#include <QEvent>
#include <QMouseEvent>

#include "te_accessibility.h"

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
  NameChanged(this);
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
  updateGeometry();
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

void TTeLabel::SetShowGlyph(bool show) {
  if (showGlyph_ == show) return;
  showGlyph_ = show;
  AdjustBounds();
  update();
}

void TTeLabel::SetGlyphThemeObject(const QString& name) {
  if (glyphThemeObject_ == name) return;
  glyphThemeObject_ = name;
  AdjustBounds();
  update();
}

void TTeLabel::SetGlyphSpace(int space) {
  if (glyphSpace_ == space) return;
  glyphSpace_ = space;
  AdjustBounds();
  update();
}

void TTeLabel::SetActiveGlyph(bool on) {
  activeGlyph_ = on;
  setMouseTracking(on);  // the glyph is hot without a button held
  update();
}

TRect TTeLabel::GlyphRect() const {
  return HasGlyph() ? Inset(TRect{0, 0, height(), height()}, 1) : TRect{};
}

int TTeLabel::TextLeft() const { return HasGlyph() ? height() + glyphSpace_ : 0; }

uint8_t TTeLabel::GlyphState() const {
  if (activeGlyph_) return glyphPressed_ ? kbsPressed : glyphHot_ ? kbsHot : kbsNormal;
  if (hotTrack_) return labelPressed_ ? kbsPressed : MouseIn() ? kbsHot : kbsNormal;
  return kbsNormal;
}

void TTeLabel::mousePressEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (e->button() == Qt::LeftButton) {
    if (activeGlyph_ && GlyphRect().Contains(p.x(), p.y())) glyphPressed_ = true;
    else if (!activeGlyph_ && hotTrack_) labelPressed_ = true;
    update();
  }
  TTeGraphicControl::mousePressEvent(e);
}

void TTeLabel::mouseMoveEvent(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const bool hot = activeGlyph_ && GlyphRect().Contains(p.x(), p.y());
  if (hot != glyphHot_) {
    glyphHot_ = hot;
    update();
  }
  TTeGraphicControl::mouseMoveEvent(e);
}

void TTeLabel::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && (glyphPressed_ || labelPressed_)) {
    glyphPressed_ = labelPressed_ = false;
    update();
  }
  TTeGraphicControl::mouseReleaseEvent(e);
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
  DrawClassicText(canvas, text, r, flags, isEnabled());
}

void TTeLabel::AdjustBounds() {
  if (!autoSize_) return;
  QImage scratch(1, 1, QImage::Format_ARGB32);
  TCanvas canvas(&scratch);
  const int left = TextLeft();
  TRect r{0, 0, std::max(0, width() - left), 0};
  DrawLabelText(canvas, r, LabelTextFlags(options_) | DT_CALCRECT);
  const int right = x() + width();
  const QSize size(left + r.Width(), r.Height());
  if (size != autoExtent_) {
    autoExtent_ = size;
    updateGeometry();
  }
  if (options_.Alignment == taRightJustify && !options_.RightToLeft)
    setGeometry(right - size.width(), y(), size.width(), size.height());
  else
    resize(size);
}

QSize TTeLabel::sizeHint() const {
  return autoSize_ && autoExtent_.isValid() ? autoExtent_ : TTeGraphicControl::sizeHint();
}

void TTeLabel::PaintControl(TCanvas& canvas) {
  const TRect whole{0, 0, width(), height()};
  TteTheme* theme = LabelTheme();
  const bool seeThrough = theme ? theme->IsLabelTransparent(0, ThemeObject()) : transparent_;
  if (seeThrough) DrawParentBackground(this, canvas);
  else FillRectColor(canvas, whole, ColorToRGB(Color()));
  if (HasGlyph())
    if (TteTheme* any = Theme())
      any->PaintButton(kbkPushButton, canvas, ButtonInfo(GlyphRect(), GlyphState()), glyphThemeObject_);
  TRect r{TextLeft(), 0, width(), height()};
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
  glyphHot_ = false;
  if (hotTrack_ || activeGlyph_) update();
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
