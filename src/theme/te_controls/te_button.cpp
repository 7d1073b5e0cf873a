// The skinned push button: state numbers, content layout, glyph preparation, the
// theme and classic painting, and the dialog roles.
#include "te_button.h"

#include <QApplication>
#include <QDialog>
#include <QPainter>
#include <cmath>

#include "te_kind_glyphs.h"

// ---- pure parts

void TTeFontOptions::ApplyTo(TFont& font) const {
  if (Bold) font.setBold(true);
  if (Italic) font.setItalic(true);
  if (Underline) font.setUnderline(true);
  if (StrikeOut) font.setStrikeOut(true);
  if (SizeDelta != 0) {
    if (font.pointSize() > 0) font.setPointSize(std::max(1, font.pointSize() + SizeDelta));
    else if (font.pixelSize() > 0) font.setPixelSize(std::max(1, font.pixelSize() + SizeDelta));
  }
  if (!FontName.isEmpty()) font.setFamily(FontName);
  if (FontColor != clNone) font.Color = FontColor;
}

uint8_t ButtonFaceState(const TTeButtonStateInput& in) {
  if (!in.Enabled) return kbsDisabled;
  if (in.Pressed) return kbsPressed;
  if (in.Hot) return kbsHot;
  if (in.Focused) return kbsFocused;
  if (in.ActiveDefault) return kbsDefault;
  return kbsNormal;
}

uint8_t ButtonTextState(const TTeButtonStateInput& in) {
  const uint8_t s = ButtonFaceState(in);
  return s == kbsDefault ? uint8_t(kbsNormal) : s;
}

int ButtonTextFont(uint8_t textState) {
  switch (textState) {
    case kbsPressed: return kfButtonTextPressed;
    case kbsHot: return kfButtonTextHot;
    case kbsFocused: return kfButtonTextFocused;
    case kbsDisabled: return kfButtonTextDisabled;
    default: return kfButtonTextNormal;
  }
}

TTeButtonLayout ButtonContentLayout(const TTeButtonLayoutInput& in) {
  const int gw = in.Glyph.width(), gh = in.Glyph.height();
  const bool glyph = gw > 0 && gh > 0;
  const bool vertical = in.Layout == blGlyphTop || in.Layout == blGlyphBottom;
  int bw = in.Caption.width(), bh = in.Caption.height();
  if (glyph) {
    if (vertical) {
      bh += gh + in.Spacing;
      bw = std::max(bw, gw);
    } else {
      bw += gw + in.Spacing;
      bh = std::max(bh, gh);
    }
  }
  int x = (in.Width - bw) / 2;
  if (in.Alignment == taLeftJustify) x = 4;
  if (in.Alignment == taRightJustify) x = in.Width - 4 - bw;
  int y = (in.Height - bh) / 2;
  if (in.Pressed) {
    ++x;
    ++y;
  }
  TTeButtonLayout out;
  out.Content = Bounds(x, y, bw, bh);
  out.Text = out.Content;
  if (!glyph) return out;
  TRect strip = out.Content;
  const int sw = gw + in.Spacing, sh = gh + in.Spacing;
  switch (in.Layout) {
    case blGlyphLeft: strip.Right = strip.Left + sw; out.Text.Left = strip.Right; break;
    case blGlyphRight: strip.Left = strip.Right - sw; out.Text.Right = strip.Left; break;
    case blGlyphTop: strip.Bottom = strip.Top + sh; out.Text.Top = strip.Bottom; break;
    case blGlyphBottom: strip.Top = strip.Bottom - sh; out.Text.Bottom = strip.Top; break;
  }
  out.Glyph = CenteredBox(strip, gw, gh);
  return out;
}

std::optional<int> GlyphCountOf(const QSize& glyph) {
  // The original divided by the height before asking whether there was a glyph at
  // all; an empty glyph is no glyph and leaves NumGlyphs alone.
  if (glyph.width() <= 0 || glyph.height() <= 0) return std::nullopt;
  if (glyph.width() % glyph.height() != 0) return std::nullopt;
  const int n = glyph.width() / glyph.height();
  return n < 5 ? n : 1;
}

namespace {

// HSL lightness in 0..1. Rounding below sends halves to the even neighbour, as the
// original did.
double Lightness(QRgb c) {
  const int mx = std::max({qRed(c), qGreen(c), qBlue(c)});
  const int mn = std::min({qRed(c), qGreen(c), qBlue(c)});
  return (mx + mn) / 510.0;
}

TteColor Grey(int level) { return MakeTeColor(level, level, level); }

}  // namespace

void PrepareButtonGlyph(const QImage& source, QRgb transparent, const TTeGlyphOptions& options,
                        TteBitmap& out) {
  out.Clear();
  const int cells = std::max(1, options.NumGlyphs);
  const int cw = source.width() / cells, ch = source.height();
  if (cw <= 0 || ch <= 0) return;
  int cell = 0;
  if (!options.Enabled && cells > 1) cell = 1;
  else if (options.Pressed && cells > 2) cell = 2;
  const QImage src = source.convertToFormat(QImage::Format_RGB32);
  out.SetSize(cw, ch);
  out.Fill(kTeColorKey);
  out.Transparent = true;
  const bool grey = options.BlackAndWhite && !options.MouseIn;
  const bool dim = cells == 1 && !options.Enabled;
  const QRgb key = transparent & 0xFFFFFF;
  for (int y = 0; y < ch; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(src.constScanLine(y)) + cell * cw;
    for (int x = 0; x < cw; ++x) {
      const QRgb p = row[x] & 0xFFFFFF;
      if (p == key) continue;
      TteColor c = 0xFF000000u | p;
      if (grey) c = Grey(int(std::nearbyint(Lightness(c) * 255)));
      if (dim) c = Grey((160 + int(std::nearbyint(Lightness(c) * 50))) % 256);
      out.SetPixel(x, y, c);
    }
  }
}

// ---- the button

namespace {

struct KindInfo {
  const char* Caption;
  int ModalResult;
};
// Captions and modal results of the predefined kinds (bkCustom first).
constexpr KindInfo kKinds[] = {
    {"", 0},        {"OK", 1},      {"Cancel", 2},  {"&Help", 0},   {"&Yes", 6},    {"&No", 7},
    {"&Close", 0},  {"Abort", 3},   {"&Retry", 4},  {"&Ignore", 5}, {"&All", 8},
};

}  // namespace

TTeButton::TTeButton(QWidget* parent) : TTeSkinned<QPushButton>(parent) {
  SetPerformance(kspDoubleBuffer);
  resize(75, 25);
  setFocusPolicy(Qt::StrongFocus);
  // A focused button takes Enter anywhere, not only in a dialog.
  setAutoDefault(true);
  connect(this, &QAbstractButton::clicked, this, [this] { Click(); });
}

void TTeButton::SetAlignment(TAlignment alignment) {
  if (alignment_ == alignment) return;
  alignment_ = alignment;
  update();
}

void TTeButton::SetLayout(TButtonLayout layout) {
  if (layout_ == layout) return;
  layout_ = layout;
  update();
}

void TTeButton::SetSpacing(int spacing) {
  if (spacing_ == spacing) return;
  spacing_ = spacing;
  update();
}

void TTeButton::SetWordWrap(bool wrap) {
  if (wordWrap_ == wrap) return;
  wordWrap_ = wrap;
  update();
}

void TTeButton::SetTransparent(bool transparent) {
  if (transparent_ == transparent) return;
  transparent_ = transparent;
  update();
}

void TTeButton::SetBlackAndWhiteGlyph(bool on) {
  if (blackAndWhite_ == on) return;
  blackAndWhite_ = on;
  update();
}

void TTeButton::SetFontOptions(const TTeFontOptions& options) {
  if (fontOptions_ == options) return;
  fontOptions_ = options;
  update();
}

void TTeButton::SetGlyph(const QImage& glyph) {
  glyph_ = glyph;
  if (const auto n = GlyphCountOf(glyph_.size())) numGlyphs_ = *n;
  update();
}

void TTeButton::SetNumGlyphs(int count) {
  count = std::clamp(count, 1, 4);
  if (numGlyphs_ == count) return;
  numGlyphs_ = count;
  update();
}

void TTeButton::SetImages(const TteImageList* images) {
  if (images_ == images) return;
  images_ = images;
  update();
}

void TTeButton::SetImageIndex(int index) {
  if (imageIndex_ == index) return;
  imageIndex_ = index;
  update();
}

void TTeButton::SetDefault(bool on) {
  if (default_ == on) return;
  default_ = on;
  setDefault(on);
  FollowFocus(on);
  update();
}

void TTeButton::FollowFocus(bool follow) {
  QObject::disconnect(focusWatch_);
  if (follow)
    focusWatch_ = connect(qApp, &QApplication::focusChanged, this, [this] { update(); });
}

bool TTeButton::ActiveDefault() const {
  if (!default_) return false;
  // Another button with the focus takes the default role while it has it.
  const QWidget* focus = window()->focusWidget();
  return !(focus && focus != this && focus->hasFocus() && qobject_cast<const TTeButton*>(focus));
}

void TTeButton::SetCancel(bool on) {
  if (cancel_ == on) return;
  cancel_ = on;
  delete escape_;
  escape_ = nullptr;
  if (on) {
    escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape_->setContext(Qt::WindowShortcut);
    connect(escape_, &QShortcut::activated, this, [this] {
      if (isEnabled() && isVisible()) click();
    });
  }
}

void TTeButton::SetKind(TBitBtnKind kind) {
  kind_ = kind;
  if (kind == bkCustom) {
    update();
    return;
  }
  SetDefault(kind == bkOK || kind == bkYes);
  SetCaption(QString::fromLatin1(kKinds[kind].Caption));
  modalResult_ = kKinds[kind].ModalResult;
  glyph_ = KindGlyph(kind);
  numGlyphs_ = 2;
  update();
}

void TTeButton::Click() {
  if (kind_ == bkClose) {
    window()->close();
  } else if (auto* dialog = qobject_cast<QDialog*>(window())) {
    dialog->setResult(modalResult_);
    if (modalResult_ != 0) dialog->done(modalResult_);
  }
  if (OnClick) OnClick(*this);
}

void TTeButton::MouseEnter() {
  TTeControlBase::MouseEnter();
  update();
}

void TTeButton::MouseLeave() {
  TTeControlBase::MouseLeave();
  update();
}

TTeButtonStateInput TTeButton::StateInput() const {
  return {isEnabled(), isDown(), MouseIn(), Focused(), ActiveDefault()};
}

// ---- painting

bool TTeButton::PrepareGlyph() {
  TTeGlyphOptions options{numGlyphs_, isEnabled(), isDown(), blackAndWhite_, MouseIn()};
  if (!glyph_.isNull() && glyph_.width() > 0 && glyph_.height() > 0) {
    PrepareButtonGlyph(glyph_, glyph_.pixel(0, glyph_.height() - 1), options, glyphBitmap_);
  } else if (images_ && images_->Strip && !images_->Strip->isNull()) {
    const int iw = images_->Width > 0 ? images_->Width : images_->Strip->height();
    const int ih = images_->Strip->height();
    const int count = iw > 0 ? images_->Strip->width() / iw : 0;
    if (imageIndex_ < 0 || imageIndex_ >= count) {
      glyphBitmap_.Clear();
    } else {
      QImage cell(iw, ih, QImage::Format_RGB32);
      cell.fill(QColor(255, 0, 255));
      QPainter p(&cell);
      p.drawImage(QPoint(0, 0), *images_->Strip, QRect(imageIndex_ * iw, 0, iw, ih));
      p.end();
      PrepareButtonGlyph(cell, qRgb(255, 0, 255), options, glyphBitmap_);
    }
  } else {
    glyphBitmap_.Clear();
  }
  return !glyphBitmap_.Empty();
}

QSize TTeButton::MeasureCaption(const TFont& font, int wrapWidth, int wrapHeight) const {
  if (text().isEmpty()) return {0, 0};
  QImage scratch(1, 1, QImage::Format_ARGB32);
  TCanvas canvas(&scratch);
  canvas.Font = font;
  if (wordWrap_) return {wrapWidth, wrapHeight};
  TRect r{0, 0, 0, 0};
  canvas.DrawText(text(), r, DT_CALCRECT | DT_SINGLELINE);
  return {r.Width(), r.Height()};
}

TTeButton::Look TTeButton::Gather() {
  Look look;
  const TTeButtonStateInput in = StateInput();
  look.State = ButtonFaceState(in);
  look.TextState = ButtonTextState(in);
  look.Theme = ThemeHasButton(kbkPushButton, ThemeObject(), ThemeLink()) ? Theme() : nullptr;
  look.Font = look.Theme ? look.Theme->Fonts().GetObjectFont(ButtonTextFont(look.TextState), ThemeObject())
                         : PaintFont();
  fontOptions_.ApplyTo(look.Font);
  look.HasGlyph = PrepareGlyph();
  const QSize glyph = look.HasGlyph ? QSize(glyphBitmap_.Width(), glyphBitmap_.Height()) : QSize();
  const QSize caption = MeasureCaption(look.Font, width() - spacing_ - glyph.width() - 10,
                                       height() - spacing_ - glyph.height() - 10);
  look.Layout = ButtonContentLayout(
      {width(), height(), caption, glyph, spacing_, layout_, alignment_, in.Pressed});
  return look;
}

TRect TTeButton::GetContentRect() { return Gather().Layout.Content; }
TRect TTeButton::GetTextRect() { return Gather().Layout.Text; }
TRect TTeButton::GetGlyphRect() { return Gather().Layout.Glyph; }

void TTeButton::PaintBackground(TCanvas& canvas) {
  look_ = Gather();
  const bool seeThrough = look_.Theme ? look_.Theme->IsButtonTransparent(kbkPushButton, ThemeObject())
                                      : transparent_;
  if (seeThrough) DrawParentBackground(this, canvas);
  else FillRectColor(canvas, {0, 0, width(), height()}, ColorToRGB(Color()));
  PaintFace(canvas);
  PaintCaption(canvas);
  PaintGlyph(canvas);
}

void TTeButton::PaintFace(TCanvas& canvas) {
  TRect r{0, 0, width(), height()};
  if (look_.Theme) {
    look_.Theme->PaintButton(kbkPushButton, canvas, ButtonInfo(r, look_.State), ThemeObject());
    return;
  }
  const TTeButtonStateInput in = StateInput();
  const TColor face = ColorToRGB(Color());
  if (in.Focused || in.ActiveDefault) {
    DrawRect(canvas, r, clBlack);
    r = Inset(r, 1);
  }
  FillRectColor(canvas, r, face);
  if (!in.Pressed) {
    DrawFrame3D(canvas, r, GetSysColor(COLOR_BTNHIGHLIGHT), clBlack);
    DrawFrame3D(canvas, Inset(r, 1), face, GetSysColor(COLOR_BTNSHADOW));
  } else {
    DrawRect(canvas, r, GetSysColor(COLOR_BTNSHADOW));
  }
  if (in.Focused) canvas.DrawFocusRect(Inset(GetFrameClientRect(), 4));
}

void TTeButton::PaintCaption(TCanvas& canvas) {
  if (text().isEmpty()) return;
  const TRect& box = look_.Layout.Text;
  canvas.Font = look_.Font;
  // Measured in the text rectangle's width, centred vertically; centred across for
  // taCenter, else flush with the text rectangle's right edge.
  TRect r{0, 0, box.Width(), 0};
  canvas.DrawText(text(), r, DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE));
  const int tw = r.Width(), th = r.Height();
  const int left = alignment_ == taCenter ? box.Left + (box.Width() - tw) / 2 : box.Right - tw;
  r = Bounds(left, box.Top + (box.Height() - th) / 2, tw, th);
  const uint32_t flags = DT_CENTER | (wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE);
  canvas.Brush.Style = TBrushStyle::bsClear;
  if (look_.Theme) {
    look_.Theme->PaintButtonText(kbkPushButton, canvas, ButtonInfo(r, look_.TextState),
                                 TextInfo(r, text(), flags | DT_VCENTER), ThemeObject());
    return;
  }
  DrawClassicText(canvas, text(), r, flags, isEnabled());
}

void TTeButton::PaintGlyph(TCanvas& canvas) {
  if (!look_.HasGlyph) return;
  const TRect& g = look_.Layout.Glyph;
  if (look_.Theme) {
    look_.Theme->PaintButtonGlyph(kbkPushButton, canvas, ButtonInfo(g, look_.State),
                                  GlyphInfo(g, &glyphBitmap_, look_.State), ThemeObject());
    return;
  }
  glyphBitmap_.Draw(canvas, g.Left, g.Top);
}
