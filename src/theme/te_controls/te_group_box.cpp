// The skinned group box.
#include "te_group_box.h"

#include <QEvent>

TTeGroupBoxGeometry GroupBoxGeometry(int width, int height, int captionMargin, QSize captionSize,
                                     bool checkBox, bool emptyCaption, int tgHeight) {
  TTeGroupBoxGeometry g;
  const int h = captionSize.height() + (checkBox ? 6 : 0);
  g.Caption = Bounds(captionMargin, 0, captionSize.width(), h);
  g.Frame = {3, h / 2 + 1, width - 2, height - 2};
  const int top = emptyCaption && !checkBox ? tgHeight : h;
  g.Client = {12, top, width - 12, height - 8};
  return g;
}

TTeGroupBox::TTeGroupBox(QWidget* parent) : TTeControl(parent) { resize(100, 90); }

TFont TTeGroupBox::CaptionFont() const {
  if (ThemeHasGroupBox(0, ThemeObject(), ThemeLink()))
    return Theme()->Fonts().GetObjectFont(isEnabled() ? kfGroupBoxTextNormal : kfGroupBoxTextDisabled,
                                          ThemeObject());
  TFont f{font()};
  f.Color = ColorToRGB(FontColor());
  return f;
}

TTeGroupBoxGeometry TTeGroupBox::Geometry() const {
  QImage scratch(1, 1, QImage::Format_ARGB32);
  TCanvas canvas(&scratch);
  canvas.Font = CaptionFont();
  QSize caption(0, 0);
  if (checkBox_) {
    caption = QSize(checkBox_->width(), checkBox_->height() - 6);
  } else if (!caption_.isEmpty()) {
    TRect r{0, 0, 0, 0};
    canvas.DrawText(caption_, r, DT_CALCRECT | DT_SINGLELINE);
    caption = QSize(r.Width(), r.Height());
  }
  return GroupBoxGeometry(width(), height(), captionMargin_, caption, checkBox_ != nullptr,
                          caption_.isEmpty(), canvas.TextHeight(QStringLiteral("Tg")));
}

void TTeGroupBox::UpdateShortcut() {
  delete accel_;
  accel_ = nullptr;
  // With the check box its own accelerator applies.
  const QKeySequence key = QKeySequence::mnemonic(caption_);
  if (checkBox_ || key.isEmpty()) return;
  accel_ = new QShortcut(key, this);
  accel_->setContext(Qt::WindowShortcut);
  connect(accel_, &QShortcut::activated, this, [this] {
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      if (child->isEnabled() && child->isVisibleTo(this) && child->focusPolicy() != Qt::NoFocus) {
        child->setFocus(Qt::ShortcutFocusReason);
        return;
      }
  });
}

void TTeGroupBox::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  UpdateShortcut();
  if (checkBox_) checkBox_->SetCaption(caption);
  PlaceCheckBox();
  update();
}

void TTeGroupBox::SetCaptionMargin(int margin) {
  if (captionMargin_ == margin) return;
  captionMargin_ = margin;
  PlaceCheckBox();
  update();
}

void TTeGroupBox::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  update();
}

void TTeGroupBox::SetCheckBoxAlignment(TTeLeftRight alignment) {
  checkBoxAlignment_ = alignment;
  if (checkBox_) checkBox_->SetAlignment(alignment);
}

TTeCheckBox* TTeGroupBox::CreateCheckBox() { return new TTeCheckBox(this); }

void TTeGroupBox::SetUseCheckBox(bool use) {
  if (use == (checkBox_ != nullptr)) return;
  if (!use) {
    delete checkBox_;
    checkBox_ = nullptr;
    UpdateShortcut();
    update();
    return;
  }
  checkBox_ = CreateCheckBox();
  checkBox_->SetTransparent(true);
  checkBox_->SetAlignment(checkBoxAlignment_);
  checkBox_->SetChecked(checked_);
  checkBox_->SetCaption(caption_);
  checkBox_->SetAutoSize(true);
  checkBox_->OnClick = [this](TTeCheckBox& box) {
    checked_ = box.Checked();
    ApplyCheckedToChildren();
    if (OnCheckBoxClick) OnCheckBoxClick(*this);
  };
  checkBox_->show();
  UpdateShortcut();
  PlaceCheckBox();
  ApplyCheckedToChildren();
  update();
}

void TTeGroupBox::SetChecked(bool checked) {
  if (checked_ == checked) return;
  checked_ = checked;
  if (checkBox_) checkBox_->SetChecked(checked);  // runs the check box's OnClick
  else ApplyCheckedToChildren();
}

void TTeGroupBox::ApplyCheckedToChildren() {
  if (!checkBox_) return;
  for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (child != checkBox_) child->setEnabled(checked_);
}

void TTeGroupBox::PlaceCheckBox() {
  if (checkBox_) checkBox_->move(captionMargin_, 0);
  // A layout on the box keeps its children inside the client area.
  const TRect c = Geometry().Client;
  setContentsMargins(c.Left, c.Top, std::max(0, width() - c.Right), std::max(0, height() - c.Bottom));
}

void TTeGroupBox::changeEvent(QEvent* e) {
  // Qt passes a disabled state to the children itself; with the check box the group
  // stays enabled so that the box can turn them back on.
  if (e->type() == QEvent::EnabledChange && checkBox_ && !isEnabled()) setEnabled(true);
  if (e->type() == QEvent::FontChange) PlaceCheckBox();
  TTeControl::changeEvent(e);
}

void TTeGroupBox::ThemeChanged(int code, intptr_t) {
  if (code == ktcReplaced || code == ktcBecameCurrent || code == ktcRemoved) PlaceCheckBox();
  if (code != ktcChanging && code != ktcChanged) update();
}

void TTeGroupBox::PaintBackground(TCanvas& canvas) {
  const TRect whole{0, 0, width(), height()};
  const TTeGroupBoxGeometry g = Geometry();
  const uint32_t captionFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (ThemeHasGroupBox(0, ThemeObject(), ThemeLink())) {
    TteTheme* theme = Theme();
    if (theme->IsGroupBoxTransparent(0, ThemeObject())) DrawParentBackground(this, canvas);
    else FillRectColor(canvas, whole, ColorToRGB(Color()));
    const uint8_t state = isEnabled() ? kgdsNormal : kgdsDisabled;
    const TteGroupBoxInfo info = GroupBoxInfo(g.Frame, g.Caption, state);
    theme->PaintGroupBox(0, canvas, info, QStringLiteral("default"));
    if (checkBox_ || caption_.isEmpty()) return;
    canvas.Font = CaptionFont();
    canvas.Brush.Style = TBrushStyle::bsClear;
    theme->PaintGroupBoxText(0, canvas, info, TextInfo(g.Caption, caption_, captionFlags), ThemeObject());
    return;
  }
  if (transparent_) DrawParentBackground(this, canvas);
  else FillRectColor(canvas, whole, ColorToRGB(Color()));
  {
    // Etched: the highlight frame one pixel down-right, the shadow frame over it; the
    // caption's rectangle stays clear of both.
    const auto saved = canvas.SavedClip();
    if (!g.Caption.IsEmpty()) canvas.ExcludeClipRect(g.Caption);
    canvas.Brush.Style = TBrushStyle::bsSolid;
    canvas.Brush.Color = GetSysColor(COLOR_BTNHIGHLIGHT);
    canvas.FrameRect(g.Frame.Offset(1, 1));
    canvas.Brush.Color = GetSysColor(COLOR_BTNSHADOW);
    canvas.FrameRect(g.Frame);
    canvas.RestoreClip(saved);
  }
  if (checkBox_ || caption_.isEmpty()) return;
  canvas.Font = CaptionFont();
  canvas.Brush.Style = TBrushStyle::bsClear;
  DrawClassicText(canvas, caption_, g.Caption, captionFlags, isEnabled());
}
