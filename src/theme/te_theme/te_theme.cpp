// The base theme: construction, reset and shifts, and the default and placeholder
// painting of every element family except the window frame and text.
#include "te_theme.h"

#include "menu_glyphs.h"
#include "te_bitmap.h"

namespace {

constexpr TColor kYellow = 0x00FFFF, kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x008000,
                 kNavy = 0x800000, kWhite = 0xFFFFFF, kSilver = 0xC0C0C0, kGrey = 0x808080,
                 kBlack = 0x000000;
constexpr TColor kBtnHighlight = TColor(0xFF000014), kBtnShadow = TColor(0xFF000010),
                 kBtnFace = TColor(0xFF00000F), kWindowColor = TColor(0xFF000005);

const TteThemeClass kBaseClass = {
    "TteTheme", &TteTheme::GetThemeKindName, &TteTheme::GetThemeConfig,
    &TteTheme::IsThemeStream, &TteTheme::Create,
};

}  // namespace

TteTheme::TteTheme() {
  colors_ = std::make_unique<TteThemeColors>(this);
  sysColors_ = std::make_unique<TteThemeSysColors>(this);
  fonts_ = std::make_unique<TteThemeFonts>(this);
  metrics_ = std::make_unique<TteThemeMetrics>(this);
  drawing_ = std::make_unique<TteThemeDrawing>(this);
  options_ = std::make_unique<TteThemeOptions>();
  // Virtual dispatch is off inside a constructor, so a subclass resets again in its own.
  TteTheme::ResetTheme();
}

TteTheme::~TteTheme() = default;

const TteThemeClass& TteTheme::ThemeClass() { return kBaseClass; }

void TteTheme::SetDeltaHue(int delta) {
  if (delta == deltaHue_) return;
  deltaHue_ = delta;
  ResetTheme();
}

void TteTheme::SetDeltaBrightness(int delta) {
  if (delta == deltaBrightness_) return;
  deltaBrightness_ = delta;
  ResetTheme();
}

void TteTheme::SetDeltaHueBrightness(int hue, int brightness) {
  if (hue == deltaHue_ && brightness == deltaBrightness_) return;
  deltaHue_ = hue;
  deltaBrightness_ = brightness;
  ResetTheme();
}

// ---- general operations

void TteTheme::AssignTo(TteTheme& dest) const { dest.Assign(*this); }
void TteTheme::DefineProperties(TteFiler&) {}

void TteTheme::Assign(const TteTheme& source) {
  if (&source == this) return;
  Name = source.Name;
  colors_->Assign(*source.colors_);
  sysColors_->Assign(*source.sysColors_);
  fonts_->Assign(*source.fonts_);
  options_->Assign(*source.options_);
}

void TteTheme::SetDefaultColors() {
  TteThemeColors& c = *colors_;
  c.RestoreUnshifted();
  c.SetColor(kcCaptionNormal, 0xFF0000);
  c.SetColor(kcCaptionInactive, 0xC0C0C0);
  c.SetColor(kcWindowBorder, 0x808080);
  c.SetColor(kcWindow, 0xC0C0C0);
  for (int i : {kcButtonNormal, kcButtonHot, kcButtonPressed, kcButtonFocused, kcButtonDisabled,
                kcPanelNormal, kcPanelDisabled, kcEditDisabled, kcBarDock})
    c.SetColor(i, kBtnFace);
  for (int i : {kcEditNormal, kcEditHot, kcEditFocused, kcList, kcTree, kcGrid})
    c.SetColor(i, kWindowColor);
  c.SetColor(kcEditSelection, TColor(0xFF00000D));
  c.SetColor(kcHint, TColor(0xFF000018));
  c.ApplyHue(deltaHue_);
  c.ApplyBrightness(deltaBrightness_);
}

void TteTheme::SetDefaultSysColors() {
  sysColors_->RestoreUnshifted();
  sysColors_->ApplyHue(deltaHue_);
  sysColors_->ApplyBrightness(deltaBrightness_);
}

void TteTheme::SetDefaultFonts() {
  TteThemeFonts& f = *fonts_;
  f.RestoreUnshiftedColors();
  auto set = [&](int index, int size, TColor color, bool bold) {
    TFont& font = f.GetFont(index);
    font.setFamily(QStringLiteral("Tahoma"));
    SetFontSize(font, size);
    font.Color = color;
    font.setBold(bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
  };
  set(kfCaptionTextNormal, 10, kWhite, true);
  set(kfCaptionTextInactive, 10, kSilver, true);
  set(kfSmCaptionTextNormal, 8, kWhite, true);
  set(kfSmCaptionTextInactive, 8, kSilver, true);
  for (int i : {4, 5, 6, 7, 10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 27, 29, 30,
                31, 46})
    set(i, 8, kBlack, false);
  for (int i : {14, 26, 28, 32, 37, 41, 65}) set(i, 8, kBtnShadow, false);
  set(kfEditBoxTextSelected, 8, kWhite, false);
  f.KeepUnshiftedColors();
  f.ApplyHue(deltaHue_);
  f.ApplyBrightness(deltaBrightness_);
}

void TteTheme::AssignThemeFont(TFont& font, int index, const QString&) {
  font = fonts_->GetFont(index);
}

std::unique_ptr<TteTheme> TteTheme::Create() { return std::make_unique<TteTheme>(); }
QString TteTheme::GetThemeKindName() { return QStringLiteral("Default"); }
TteThemeConfig TteTheme::GetThemeConfig() { return {}; }
bool TteTheme::IsThemeStream(QIODevice&) { return false; }
bool TteTheme::LoadFromStream(QIODevice&) { return false; }
bool TteTheme::SaveToStream(QIODevice&) const { return false; }
bool TteTheme::LoadFromFile(const QString&) { return false; }
bool TteTheme::SaveToFile(const QString&) const { return false; }

void TteTheme::ResetTheme() {
  SetDefaultColors();
  SetDefaultSysColors();
  SetDefaultFonts();
}

// ---- shared painting helpers

void TteTheme::Placeholder(TCanvas& canvas, const TRect& rect, TColor fill, TColor frame) {
  if (rect.IsEmpty()) return;
  FillRectColor(canvas, rect, fill);
  DrawRect(canvas, rect, frame);
}

void TteTheme::PaintItemByState(TCanvas& canvas, const TRect& rect, int state) {
  if (rect.IsEmpty()) return;
  static constexpr TColor kFill[5] = {kWhite, kYellow, kNavy, kBlue, kSilver};
  if (state >= 0 && state < 5) FillRectColor(canvas, rect, kFill[state]);
  DrawRect(canvas, rect, kBlue);
}

void TteTheme::PaintItemGlyph(TCanvas& canvas, const TteItemGlyphInfo& glyph) {
  const TRect& r = glyph.Rect;
  if (PaintMenuMarkGlyph(canvas, r, glyph.GlyphKind)) return;
  switch (glyph.GlyphKind) {
    case kgkImage:
      if (glyph.Bitmap && !glyph.Bitmap->Empty()) {
        const TRect box = CenteredBox(r, glyph.Bitmap->Width(), glyph.Bitmap->Height());
        glyph.Bitmap->Draw(canvas, box, glyph.Bitmap->BoundsRect());
      }
      break;
    default:
      break;
  }
}

// ---- hint, label, panel

bool TteTheme::HasHint(uint8_t, const QString&) { return false; }
TRect TteTheme::HintContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 10, 13);
}
void TteTheme::PaintHint(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kYellow, kRed);
}
bool TteTheme::HasLabel(uint8_t, const QString&) { return false; }
bool TteTheme::IsLabelTransparent(uint8_t, const QString&) { return true; }
void TteTheme::PaintLabelText(uint8_t, TCanvas& canvas, uint8_t, const TteTextInfo& text,
                              const QString&) {
  PaintText(canvas, text);
}
bool TteTheme::HasPanel(uint8_t, const QString&) { return false; }
bool TteTheme::IsPanelTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::PanelContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }

void TteTheme::PaintPanel(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString&) {
  if (rect.IsEmpty()) return;
  if (kind == 0) {
    FillRectColor(canvas, rect, kSilver);
    DrawFrame3D(canvas, rect, kBtnHighlight, kBtnShadow);
  } else if (kind == 1) {
    FillRectColor(canvas, rect, kSilver);
    DrawRect(canvas, rect, kBlack);
    DrawFrame3D(canvas, Inset(rect, 1, 1), kBtnShadow, kBtnHighlight);
  }
}

void TteTheme::PaintPanelPart(uint8_t, TCanvas&, const TteStateWordInfo&, const QString&) {}
void TteTheme::PaintPanelText(uint8_t, TCanvas& canvas, const TRect&, const TteTextInfo& text,
                              const QString&) {
  PaintText(canvas, text);
}

// ---- button, check box

bool TteTheme::HasButton(uint8_t, const QString&) { return false; }
bool TteTheme::IsButtonTransparent(uint8_t, const QString&) { return false; }

void TteTheme::PaintButton(uint8_t, TCanvas& canvas, const TteButtonInfo& info, const QString&) {
  TRect r = info.Rect;
  if (r.IsEmpty() || info.State == kbsDisabled) return;
  // Hot takes ButtonNormal and every state without its own colour ButtonFocused; with
  // the base defaults all of them are the button face.
  const TColor e = ColorToRGB(colors_->GetColor(info.State == kbsPressed ? kcButtonPressed
                                                : info.State == kbsHot   ? kcButtonNormal
                                                                         : kcButtonFocused));
  const TColor light = LightenColor(e, 30), dark = LightenColor(e, -30);
  DrawRect(canvas, r, kBlack);
  r = Inset(r, 1, 1);
  if (info.State == kbsPressed) {
    DrawFrame3D(canvas, r, dark, light);
    r = Inset(r, 1, 1);
  }
  canvas.Pen = TPen{};
  if (info.State == kbsHot) {
    canvas.Pen.Color = light;
    canvas.MoveTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Left, r.Top);
    canvas.LineTo(r.Right, r.Top);
    // Only the lit edges step in; the fill reaches the right and bottom.
    r.Left += 1;
    r.Top += 1;
  }
  if (info.State == kbsFocused) {
    // The fill stops short of the two dark lines so that they stay visible.
    canvas.Pen.Color = dark;
    canvas.MoveTo(r.Left, r.Bottom - 1);
    canvas.LineTo(r.Right - 1, r.Bottom - 1);
    canvas.LineTo(r.Right - 1, r.Top - 1);
    r.Right -= 1;
    r.Bottom -= 1;
  }
  if (!r.IsEmpty()) FillRectColor(canvas, r, e);
}

void TteTheme::PaintButtonText(uint8_t, TCanvas& canvas, const TteButtonInfo&,
                               const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}

void TteTheme::PaintButtonGlyph(uint8_t, TCanvas& canvas, const TteButtonInfo&,
                                const TteGlyphInfo& glyph, const QString&) {
  if (glyph.Bitmap && !glyph.Bitmap->Empty())
    glyph.Bitmap->Draw(canvas, glyph.Rect.Left, glyph.Rect.Top);
}

bool TteTheme::HasCheckBox(uint8_t, const QString&) { return false; }
bool TteTheme::IsCheckBoxTransparent(uint8_t, const QString&) { return true; }
void TteTheme::PaintCheckBox(uint8_t, TCanvas&, const TteCheckBoxInfo&, const QString&) {}
void TteTheme::PaintCheckBoxText(uint8_t, TCanvas& canvas, const TteCheckBoxInfo&,
                                 const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}
TPoint TteTheme::CheckBoxSize(uint8_t, const QString&) { return {13, 13}; }

// ---- splitter, scroll bar

bool TteTheme::HasSplitter(uint8_t, const QString&) { return false; }
bool TteTheme::IsSplitterTransparent(uint8_t, const QString&) { return false; }
void TteTheme::PaintSplitter(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kYellow, kRed);
}
bool TteTheme::HasScrollBar(uint8_t, const QString&) { return false; }
bool TteTheme::IsScrollBarTransparent(uint8_t, const QString&) { return false; }
void TteTheme::PaintScrollBar(uint8_t, TCanvas&, const TRect&, const QString&) {}

void TteTheme::PaintScrollBarPart(uint8_t, TCanvas& canvas, const TteScrollPartInfo& info,
                                  const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const TColor fill = info.State == kssDisabled ? kSilver
                      : info.State == kssPressed ? kBlue
                      : info.State == kssHot     ? kRed
                                                 : kGrey;
  Placeholder(canvas, r, fill, kBlack);
  const TRect inner = Inset(r, 5, 4);
  if (inner.IsEmpty()) return;
  if (info.Part <= 3)
    DrawRoundRect(canvas, inner, 5, kNavy);
  else if (info.Part == kspHorzThumb || info.Part == kspVertThumb)
    DrawRect(canvas, inner, kNavy);
}

void TteTheme::PaintScrollBarTrack(uint8_t, TCanvas& canvas, const TteScrollPartInfo& info,
                                   const QString&) {
  const TColor fill = info.State == 1 ? kBlue : info.State == 2 ? kRed
                      : info.State == 3 ? kSilver : kGrey;
  Placeholder(canvas, info.Rect, fill, kBlack);
}

// ---- progress bar, track bar

bool TteTheme::HasProgressBar(uint8_t, const QString&) { return false; }
bool TteTheme::IsProgressBarTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::ProgressBarContentRect(uint8_t, const TteProgressInfo& info, const QString&) {
  return info.Rect;
}
void TteTheme::PaintProgressBar(uint8_t, TCanvas&, const TteProgressInfo&, const QString&) {}
bool TteTheme::HasTrackBar(uint8_t, const QString&) { return false; }
bool TteTheme::IsTrackBarTransparent(uint8_t, const QString&) { return true; }
void TteTheme::PaintTrackBar(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kBlue, kRed);
}
void TteTheme::PaintTrackBarTrack(uint8_t, TCanvas&, const TteStateWordInfo&, const QString&) {}
void TteTheme::PaintTrackBarThumb(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                  const QString&) {
  Placeholder(canvas, info.Rect, kYellow, kBlue);
}
TPoint TteTheme::TrackBarThumbSize(uint8_t, const TteStateWordInfo&, const QString&) {
  return {0, 0};
}

// ---- header, status bar

bool TteTheme::HasHeader(uint8_t, const QString&) { return false; }
bool TteTheme::IsHeaderTransparent(uint8_t, const QString&) { return false; }
void TteTheme::PaintHeader(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kWhite, kBlack);
}

void TteTheme::PaintHeaderSection(uint8_t, TCanvas& canvas, const TteHeaderSectionInfo& info,
                                  const QString&) {
  static constexpr TColor kFill[7] = {kSilver, kGrey, kGreen, kBlue, kYellow, kRed, kGrey};
  if (info.State < 7) Placeholder(canvas, info.Rect, kFill[info.State], kBlack);
}

void TteTheme::PaintHeaderSectionText(uint8_t, TCanvas& canvas, const TteHeaderSectionInfo&,
                                      const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}

void TteTheme::PaintHeaderSectionGlyph(uint8_t, TCanvas& canvas, const TteHeaderSectionInfo&,
                                       const TteGlyphInfo& glyph, const QString&) {
  if (glyph.Bitmap && !glyph.Bitmap->Empty())
    glyph.Bitmap->Draw(canvas, glyph.Rect, glyph.Bitmap->BoundsRect());
}

bool TteTheme::HasStatusBar(uint8_t, const QString&) { return false; }
bool TteTheme::IsStatusBarTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::StatusBarContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 5, 2);
}
void TteTheme::PaintStatusBar(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kSilver, kBlack);
}
void TteTheme::PaintStatusPanel(uint8_t, TCanvas& canvas, const TteStatusPanelInfo& info,
                                const QString&) {
  Placeholder(canvas, info.Rect, kGrey, kBlack);
}
void TteTheme::PaintStatusPanelText(uint8_t, TCanvas& canvas, const TteStatusPanelInfo&,
                                    const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}
void TteTheme::PaintStatusPanelGlyph(uint8_t, TCanvas& canvas, const TteStatusPanelInfo&,
                                     const TteGlyphInfo& glyph, const QString&) {
  if (glyph.Bitmap && !glyph.Bitmap->Empty())
    glyph.Bitmap->Draw(canvas, glyph.Rect, glyph.Bitmap->BoundsRect());
}

// ---- edit, group box

bool TteTheme::HasEdit(uint8_t, const QString&) { return false; }
bool TteTheme::IsEditTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::EditContentRect(uint8_t, const TteEditInfo& info, const QString&) {
  return Inset(info.Rect, 3, 3);
}
void TteTheme::PaintEdit(uint8_t, TCanvas& canvas, const TteEditInfo& info, const QString&) {
  Placeholder(canvas, info.Rect, kBlue, kRed);
}
void TteTheme::PaintEditButton(uint8_t, TCanvas& canvas, const TteEditButtonInfo& info,
                               const QString&) {
  Placeholder(canvas, info.Rect, kGreen, kYellow);
}
bool TteTheme::HasGroupBox(uint8_t, const QString&) { return false; }
bool TteTheme::IsGroupBoxTransparent(uint8_t, const QString&) { return true; }
TRect TteTheme::GroupBoxContentRect(uint8_t, const TteGroupBoxInfo& info, const QString&) {
  return info.Rect;
}
void TteTheme::PaintGroupBox(uint8_t, TCanvas& canvas, const TteGroupBoxInfo& info,
                             const QString&) {
  TRect r = Inset(info.Rect, 5, 5);
  r.Top += 4;
  if (!r.IsEmpty()) DrawRect(canvas, r, kBlack);
}
void TteTheme::PaintGroupBoxText(uint8_t, TCanvas& canvas, const TteGroupBoxInfo&,
                                 const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}

// ---- text area

bool TteTheme::HasTextArea(uint8_t, const QString&) { return false; }
bool TteTheme::IsTextAreaTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::TextAreaContentRect(uint8_t, const TteRectByteInfo& info, const QString&) {
  return info.Rect;
}
void TteTheme::PaintTextArea(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                             const QString&) {
  Placeholder(canvas, info.Rect, kBlue, kRed);
}
bool TteTheme::HasTextAreaPart(uint8_t, const QString&) { return false; }
bool TteTheme::IsTextAreaPartTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::TextAreaPartContentRect(uint8_t, const TteRectByteInfo& info, const QString&) {
  return info.Rect;
}
void TteTheme::PaintTextAreaPart(uint8_t, TCanvas&, const TteRectByteInfo&, const QString&) {}

// ---- menu

bool TteTheme::HasMenu(uint8_t, const QString&) { return false; }
bool TteTheme::IsMenuTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::MenuContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 3, 5);
}
void TteTheme::PaintMenu(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kWhite, kRed);
}

void TteTheme::PaintMenuItem(uint8_t, TCanvas& canvas, const TteMenuItemInfo& info,
                             const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  if (info.ItemKind == kmikItem) {
    static constexpr TColor kFill[4] = {kSilver, kYellow, kGrey, kWhite};
    if (info.State < 4) FillRectColor(canvas, r, kFill[info.State]);
    DrawRect(canvas, r, kRed);
  } else if (info.ItemKind == kmikSeparator) {
    // A one-pixel band on the middle row.
    const int mid = r.Top + r.Height() / 2;
    const TRect band{r.Left + 3, mid, r.Right - 3, mid + 1};
    if (!band.IsEmpty()) FillRectColor(canvas, band, kRed);
  }
}

void TteTheme::PaintMenuItemText(uint8_t, TCanvas& canvas, const TteMenuItemInfo&,
                                 const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}
void TteTheme::PaintMenuItemGlyph(uint8_t, TCanvas& canvas, const TteMenuItemInfo&,
                                  const TteItemGlyphInfo& glyph, const QString&) {
  PaintItemGlyph(canvas, glyph);
}

// ---- dock, tool bar, scroll box

bool TteTheme::HasDock(uint8_t, const QString&) { return false; }
TRect TteTheme::DockContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }
void TteTheme::PaintDock(uint8_t, TCanvas&, const TRect&, const QString&) {}
bool TteTheme::HasTool(uint8_t, const QString&) { return false; }
TRect TteTheme::ToolContentRect(uint8_t, const TRect& rect, const QString&) {
  TRect r = Inset(rect, 2, 2);
  r.Left += 9;  // room for the grabber
  return r;
}
void TteTheme::PaintTool(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kGreen, kBlue);
}
void TteTheme::PaintToolButton(uint8_t, TCanvas&, const TteToolButtonInfo&, const QString&) {}
void TteTheme::PaintToolButtonText(uint8_t, TCanvas& canvas, const TteToolButtonInfo&,
                                   const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}
void TteTheme::PaintToolButtonGlyph(uint8_t, TCanvas& canvas, const TteToolButtonInfo&,
                                    const TteItemGlyphInfo& glyph, const QString&) {
  PaintItemGlyph(canvas, glyph);
}
bool TteTheme::HasScrollBox(uint8_t, const QString&) { return false; }
TRect TteTheme::ScrollBoxContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 3, 3);
}
void TteTheme::PaintScrollBox(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kYellow, kRed);
}

// ---- collapse panel

bool TteTheme::HasCollapsePanel(uint8_t, const QString&) { return false; }
bool TteTheme::IsCollapsePanelTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::CollapsePanelContentRect(uint8_t, const TRect& rect, const QString&) {
  return rect;
}
void TteTheme::PaintCollapsePanel(uint8_t, TCanvas&, const TRect&, const QString&) {}
void TteTheme::PaintCollapsePanelCaption(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                         const QString&) {
  Placeholder(canvas, info.Rect, kGreen, kBlack);
}
void TteTheme::PaintCollapsePanelButton(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                        const QString&) {
  Placeholder(canvas, info.Rect, kRed, kBlue);
}
void TteTheme::PaintCollapsePanelPart(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                      const QString&) {
  Placeholder(canvas, info.Rect, kGreen, kYellow);
}
void TteTheme::PaintCollapsePanelText(uint8_t, TCanvas& canvas, const TteTextInfo& text,
                                      const QString&) {
  PaintText(canvas, text);
}

// ---- tab

bool TteTheme::HasTab(uint8_t, const QString&) { return false; }
bool TteTheme::IsTabTransparent(uint8_t, const QString&) { return true; }
TRect TteTheme::TabContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }
void TteTheme::PaintTabPage(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kSilver, kYellow);
}
void TteTheme::PaintTab(uint8_t, TCanvas& canvas, const TteTabInfo& info, const QString&) {
  if (!info.Rect.IsEmpty()) DrawRect(canvas, info.Rect, kBlue);
}
void TteTheme::PaintTabScrollButton(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                    const QString&) {
  Placeholder(canvas, info.Rect, kYellow, kRed);
}
void TteTheme::PaintTabText(uint8_t, TCanvas& canvas, const TteTabInfo&, const TteTextInfo& text,
                            const QString&) {
  PaintText(canvas, text);
}
void TteTheme::PaintTabGlyph(uint8_t, TCanvas& canvas, const TteTabInfo&,
                             const TteGlyphInfo& glyph, const QString&) {
  if (glyph.Bitmap && !glyph.Bitmap->Empty())
    glyph.Bitmap->Draw(canvas, glyph.Rect.Left, glyph.Rect.Top);
}

// ---- list

bool TteTheme::HasList(uint8_t, const QString&) { return false; }
bool TteTheme::IsListTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::ListContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 4, 5);
}
void TteTheme::PaintList(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, colors_->GetColor(kcList), kRed);
}
void TteTheme::PaintListPart(uint8_t, TCanvas&, const TRect&, const QString&) {}
void TteTheme::PaintListItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                             const QString&) {
  PaintItemByState(canvas, info.Rect, info.State);
}
void TteTheme::PaintListItemText(uint8_t, TCanvas& canvas, const TteListItemInfo&,
                                 const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}

void TteTheme::PaintListItemCheck(uint8_t, TCanvas& canvas, const TteListItemInfo&,
                                  const TteListCheckInfo& check, const QString&) {
  if (check.CheckKind == klckBitmap) {
    if (check.Bitmap && !check.Bitmap->Empty()) {
      const TRect box = CenteredBox(check.Rect, check.Bitmap->Width(), check.Bitmap->Height());
      check.Bitmap->Draw(canvas, box.Left, box.Top);
    }
    return;
  }
  const TRect box = CenteredBox(check.Rect, 16, 16);
  Placeholder(canvas, box, kRed, kBlack);
  if (check.CheckKind == klckChecked)
    FillRectColor(canvas, CenteredBox(box, 10, 10), kBlack);
  else if (check.CheckKind == klckMixed)
    FillRectColor(canvas, CenteredBox(box, 10, 10), kGrey);
}

// ---- tree

bool TteTheme::HasTree(uint8_t, const QString&) { return false; }
bool TteTheme::IsTreeTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::TreeContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TteTheme::PaintTree(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, colors_->GetColor(kcTree), kRed);
}
void TteTheme::PaintTreeItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                             const QString&) {
  PaintItemByState(canvas, info.Rect, info.State);
}
void TteTheme::PaintTreeItemText(uint8_t, TCanvas& canvas, const TteListItemInfo&,
                                 const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}
void TteTheme::PaintTreeItemGlyph(uint8_t, TCanvas&, const TteListItemInfo&, const TteGlyphInfo&,
                                  const QString&) {}

// ---- grid

bool TteTheme::HasGrid(uint8_t, const QString&) { return false; }
bool TteTheme::IsGridTransparent(uint8_t, const QString&) { return false; }
TRect TteTheme::GridContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TteTheme::PaintGrid(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  Placeholder(canvas, rect, kWhite, kRed);
}
void TteTheme::PaintGridCell(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                             const QString&) {
  if (info.Rect.IsEmpty()) return;
  if (info.High == 1)
    DrawRect(canvas, info.Rect, kGrey);
  else
    PaintItemByState(canvas, info.Rect, info.Low);
}
void TteTheme::PaintGridCellText(uint8_t, TCanvas& canvas, const TteStateWordInfo&,
                                 const TteTextInfo& text, const QString&) {
  PaintText(canvas, text);
}
void TteTheme::PaintGridCellGlyph(uint8_t, TCanvas&, const TteStateWordInfo&, const TteGlyphInfo&,
                                  const QString&) {}

// ---- named extras

TRect TteTheme::GetObjectBounds(const QString&) { return kNullRect; }
TColor TteTheme::GetCustomColor(const QString&) { return clNone; }
