// The skinned check box: state numbers, geometry, theme and classic painting.
#include "te_check_box.h"

uint8_t CheckBoxBoxState(TTeCheckBoxState state, bool enabled, bool pressed, bool hot) {
  const uint8_t base = state == kcbsChecked ? kcsCheckedNormal
                       : state == kcbsMixed ? kcsMixedNormal
                                            : kcsUncheckedNormal;
  if (!enabled) return base + 3;
  if (pressed) return base + 2;
  if (hot) return base + 1;
  return base;
}

TTeCheckBoxState NextCheckBoxState(TTeCheckBoxState state, bool allowGrayed) {
  switch (state) {
    case kcbsUnChecked: return allowGrayed ? kcbsMixed : kcbsChecked;
    case kcbsChecked: return kcbsUnChecked;
    case kcbsMixed: return kcbsChecked;
  }
  return kcbsUnChecked;
}

int CheckBoxTextFont(uint8_t textState) {
  switch (textState) {
    case kbsPressed: return kfCheckBoxTextPressed;
    case kbsHot: return kfCheckBoxTextHot;
    case kbsFocused: return kfCheckBoxTextFocused;
    case kbsDisabled: return kfCheckBoxTextDisabled;
    default: return kfCheckBoxTextNormal;
  }
}

TTeCheckBoxLayout CheckBoxLayout(int width, int height, QSize box, QSize text,
                                 TTeLeftRight alignment, int spacing) {
  TTeCheckBoxLayout out;
  const int boxTop = (height - box.height()) / 2;
  const int boxLeft = alignment == kalLeftJustify ? 0 : width - box.width();
  out.Box = Bounds(boxLeft, boxTop, box.width(), box.height());
  const int textLeft = alignment == kalLeftJustify ? box.width() + spacing : 2;
  out.Text = Bounds(textLeft, (height - text.height()) / 2, text.width(), text.height());
  return out;
}

TTeCheckBox::TTeCheckBox(QWidget* parent) : TTeSkinned<QCheckBox>(parent) {
  SetPerformance(kspDoubleBuffer);
  resize(98, 20);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QCheckBox::stateChanged, this, [this] { Changed(); });
}

void TTeCheckBox::SetCaption(const QString& caption) {
  setText(caption);
  AdjustSize();
  update();
}

TTeCheckBoxState TTeCheckBox::State() const {
  switch (checkState()) {
    case Qt::Checked: return kcbsChecked;
    case Qt::PartiallyChecked: return kcbsMixed;
    default: return kcbsUnChecked;
  }
}

void TTeCheckBox::SetState(TTeCheckBoxState state) {
  if (State() == state) return;
  // Qt announces the change (stateChanged), which runs Changed.
  setCheckState(state == kcbsChecked ? Qt::Checked
                : state == kcbsMixed ? Qt::PartiallyChecked
                                     : Qt::Unchecked);
}

void TTeCheckBox::Toggle() { SetState(NextCheckBoxState(State(), allowGrayed_)); }

void TTeCheckBox::Changed() {
  if (OnClick) OnClick(*this);
  update();
}

void TTeCheckBox::SetAlignment(TTeLeftRight alignment) {
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  update();
}

void TTeCheckBox::SetSpacing(int spacing) {
  if (spacing_ == spacing) return;
  spacing_ = spacing;
  AdjustSize();
  update();
}

void TTeCheckBox::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  update();
}

void TTeCheckBox::SetWordWrap(bool wrap) {
  if (wordWrap_ == wrap) return;
  wordWrap_ = wrap;
  update();
}

void TTeCheckBox::SetAutoSize(bool on) {
  if (autoSize_ == on) return;
  autoSize_ = on;
  AdjustSize();
}

void TTeCheckBox::AdjustSize() {
  if (!autoSize_) return;
  const bool themed = ThemeHasCheckBox(kckCheckBox, ThemeObject(), ThemeLink());
  TFont font = themed ? Theme()->Fonts().GetObjectFont(kfCheckBoxTextNormal, ThemeObject())
                      : TFont{this->font()};
  const QSize box = GetCheckSize();
  const QSize text = MeasureText(font, 0x7FFF);
  resize(box.width() + text.width() + spacing_ + 2, height());
}

QSize TTeCheckBox::GetCheckSize() {
  if (ThemeHasCheckBox(kckCheckBox, ThemeObject(), ThemeLink())) {
    const TPoint p = Theme()->CheckBoxSize(kckCheckBox, ThemeObject());
    return {p.X, p.Y};
  }
  return {13, 13};
}

QSize TTeCheckBox::MeasureText(const TFont& font, int width) const {
  if (text().isEmpty()) return {0, 0};
  QImage scratch(1, 1, QImage::Format_ARGB32);
  TCanvas canvas(&scratch);
  canvas.Font = font;
  TRect r{0, 0, std::max(0, width), canvas.TextHeight(text())};
  canvas.DrawText(text(), r, DT_CALCRECT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
  return {r.Width(), r.Height()};
}

void TTeCheckBox::MouseEnter() {
  TTeControlBase::MouseEnter();
  update();
}

void TTeCheckBox::MouseLeave() {
  TTeControlBase::MouseLeave();
  update();
}

TTeCheckBox::Look TTeCheckBox::Gather() {
  Look look;
  const TTeButtonStateInput in{isEnabled(), isDown(), MouseIn(), Focused(), false};
  look.BoxState = CheckBoxBoxState(State(), in.Enabled, in.Pressed, in.Hot);
  look.TextState = ButtonTextState(in);
  look.Theme = ThemeHasCheckBox(kckCheckBox, ThemeObject(), ThemeLink()) ? Theme() : nullptr;
  look.Font = look.Theme ? look.Theme->Fonts().GetObjectFont(CheckBoxTextFont(look.TextState), ThemeObject())
                         : PaintFont();
  const QSize box = GetCheckSize();
  const QSize text = MeasureText(look.Font, width() - box.width() - 10);
  look.Layout = CheckBoxLayout(width(), height(), box, text, alignment_, spacing_);
  return look;
}

TTeCheckBoxLayout TTeCheckBox::Geometry() { return Gather().Layout; }

void TTeCheckBox::PaintBackground(TCanvas& canvas) {
  look_ = Gather();
  const bool seeThrough = look_.Theme ? look_.Theme->IsCheckBoxTransparent(kckCheckBox, ThemeObject())
                                      : transparent_;
  if (seeThrough) DrawParentBackground(this, canvas);
  else FillRectColor(canvas, {0, 0, width(), height()}, ColorToRGB(Color()));
  PaintCheck(canvas);
  PaintCaption(canvas);
  if (Focused()) canvas.DrawFocusRect(Inset(look_.Layout.Text, -2));
}

void TTeCheckBox::PaintCheck(TCanvas& canvas) {
  const TRect& box = look_.Layout.Box;
  if (look_.Theme) {
    look_.Theme->PaintCheckBox(kckCheckBox, canvas, CheckBoxInfo(box, look_.BoxState), ThemeObject());
    return;
  }
  uint32_t state = DFCS_BUTTONCHECK;
  if (State() == kcbsChecked) state |= DFCS_CHECKED;
  if (State() == kcbsMixed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!isEnabled()) state |= DFCS_INACTIVE;
  canvas.DrawFrameControl(box, DFC_BUTTON, state);
}

void TTeCheckBox::PaintCaption(TCanvas& canvas) {
  if (text().isEmpty()) return;
  TRect r = look_.Layout.Text;
  const uint32_t flags = DT_LEFT | DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  canvas.Font = look_.Font;
  canvas.Brush.Style = TBrushStyle::bsClear;
  if (look_.Theme) {
    // The text goes to the theme's standard object, whatever the box's.
    look_.Theme->PaintCheckBoxText(kckCheckBox, canvas,
                                   CheckBoxInfo({0, 0, width(), height()}, look_.TextState),
                                   TextInfo(r, text(), flags | DT_VCENTER), QStringLiteral("default"));
    return;
  }
  DrawClassicText(canvas, text(), r, flags, isEnabled());
}
