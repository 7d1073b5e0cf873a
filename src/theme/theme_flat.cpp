// The flat theme: its palette and fonts, its window frame geometry and every element
// painted as fills, one-pixel outlines and frame-control glyphs.
#include "theme_flat.h"

#include "menu_glyphs.h"
#include "te_bitmap.h"

namespace {

constexpr TColor kWhite = 0xFFFFFF, kBlack = 0x000000, kGrey = 0x808080, kSilver = 0xC0C0C0,
                 kRed = 0x0000FF;
constexpr TColor kBtnFace = TColor(0xFF00000F);

void Arrow(TCanvas& canvas, const TRect& r, uint32_t dfcs, TColor color) {
  DrawMaskedFrameControl(canvas, r, DFC_SCROLL, dfcs, color);
}

void CaptionGlyph(TCanvas& canvas, const TRect& r, uint32_t dfcs) {
  DrawMaskedFrameControl(canvas, r, DFC_CAPTION, dfcs, kBlack);
}

void FillIfAny(TCanvas& canvas, const TRect& r, TColor c) {
  if (!r.IsEmpty()) FillRectColor(canvas, r, c);
}

// The bitmap's top-left corner when it is centred in r at its own size.
TPoint CenteredAt(const TRect& r, const TteBitmap& bitmap) {
  const TRect box = CenteredBox(r, bitmap.Width(), bitmap.Height());
  return {box.Left, box.Top};
}

bool HasPixels(const TteBitmap* bitmap) { return bitmap && !bitmap->Empty(); }

const TteThemeClass kFlatClass = {
    "TTeFlatTheme", &TTeFlatTheme::GetThemeKindName, &TTeFlatTheme::GetThemeConfig,
    &TteTheme::IsThemeStream, &TTeFlatTheme::Create,
};

}  // namespace

TTeFlatTheme::TTeFlatTheme() {
  // The base constructor filled every table with its own defaults, so the entries this
  // theme leaves alone (Hint, BarDock, some fonts) start from those rather than black.
  TTeFlatTheme::ResetTheme();
}

const TteThemeClass& TTeFlatTheme::ThemeClass() { return kFlatClass; }
std::unique_ptr<TteTheme> TTeFlatTheme::Create() { return std::make_unique<TTeFlatTheme>(); }
QString TTeFlatTheme::GetThemeKindName() { return QStringLiteral("Flat"); }
TteThemeConfig TTeFlatTheme::GetThemeConfig() {
  TteThemeConfig config;
  config.BuiltIn = true;
  return config;
}

// ---- tables

void TTeFlatTheme::FillColors(const std::vector<ColorDefault>& table, bool shift) {
  TteThemeColors& c = Colors();
  c.RestoreUnshifted();
  for (const ColorDefault& row : table)
    for (int i : row.Indices) c.SetColor(i, row.Color);
  if (shift) {
    c.ApplyHue(DeltaHue());
    c.ApplyBrightness(DeltaBrightness());
  }
}

void TTeFlatTheme::FillFonts(const std::vector<FontDefault>& table) {
  TteThemeFonts& f = Fonts();
  f.RestoreUnshiftedColors();
  for (const FontDefault& row : table) {
    for (int i : row.Indices) {
      TFont& font = f.GetFont(i);
      font.setFamily(QStringLiteral("Tahoma"));
      SetFontSize(font, row.Size);
      font.Color = row.Color;
      font.setBold(row.Bold);
      font.setItalic(false);
      font.setUnderline(false);
      font.setStrikeOut(false);
    }
  }
  f.KeepUnshiftedColors();
  f.ApplyHue(DeltaHue());
  f.ApplyBrightness(DeltaBrightness());
}

void TTeFlatTheme::SetDefaultColors() {
  // The flat palette is fixed: hue and brightness reach only the fonts.
  static const std::vector<ColorDefault> kTable = {
      {{kcCaptionNormal}, 0x9CDEF7},
      {{kcCaptionInactive, kcWindow, kcButtonNormal, kcButtonDisabled, kcPanelNormal,
        kcPanelDisabled},
       kBtnFace},
      {{kcWindowBorder}, kGrey},
      {{kcBorder}, 0x8396A0},
      {{kcButtonHot}, 0xE1EAEB},
      {{kcButtonPressed, kcButtonFocused}, 0x996633},
      {{kcEditNormal, kcEditHot, kcEditFocused, kcEditDisabled, kcList, kcTree, kcGrid}, kWhite},
      {{kcEditSelection}, 0xB59285},
  };
  FillColors(kTable, false);
}

void TTeFlatTheme::SetDefaultFonts() {
  static const std::vector<FontDefault> kTable = {
      {{kfCaptionTextNormal}, 10, kBlack, true},
      {{kfCaptionTextInactive}, 10, kGrey, true},
      {{kfSmCaptionTextNormal}, 8, kWhite, true},
      {{kfSmCaptionTextInactive}, 8, kSilver, true},
      {{4, 5, 6, 7, 10, 11, 12, 13, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29,
        30, 31, 42, 43, 44, 45, 46, 47, 48},
       8, kBlack, false},
      {{14, 32, 37, 41, 65}, 8, kGrey, false},
      {{kfEditBoxTextSelected}, 8, kWhite, false},
  };
  FillFonts(kTable);
}

// ---- shared painting

void TTeFlatTheme::FillFramed(TCanvas& canvas, const TRect& r, TColor c) const {
  if (r.IsEmpty()) return;
  FillRectColor(canvas, r, c);
  DrawRect(canvas, r, Color(kcBorder));
}

void TTeFlatTheme::PaintCheckMark(TCanvas& canvas, const TRect& box) const {
  // The middle is taken as (Left + Right) / 2, which is not the same as Left + Width / 2
  // for odd sums at negative coordinates; both halve toward zero.
  const int cx = (box.Left + box.Right) / 2, cy = (box.Top + box.Bottom) / 2;
  DrawCheckMarkLines(canvas, cx - 1, cy + 1, Color(kcBorder));
}

void TTeFlatTheme::PaintImageGlyph(TCanvas& canvas, const TteItemGlyphInfo& glyph) const {
  if (!HasPixels(glyph.Bitmap)) return;
  const TPoint at = CenteredAt(glyph.Rect, *glyph.Bitmap);
  if (glyph.GlyphKind == kgkImage && (glyph.State == 1 || glyph.State == 2)) {
    // The raised look wants the image opaque; that is done on a copy, the caller's
    // bitmap (often an image list's shared scratch) keeps its alpha.
    TteBitmap opaque;
    opaque.Assign(*glyph.Bitmap);
    opaque.SetAlpha(255);
    DrawSilhouette(canvas, at.X + 1, at.Y + 1, kGrey, opaque);
    opaque.Draw(canvas, at.X - 1, at.Y - 1);
    return;
  }
  glyph.Bitmap->Draw(canvas, at.X, at.Y);
}

// ---- window

bool TTeFlatTheme::HasWindow(uint8_t, const QString&) { return true; }

TRect TTeFlatTheme::WindowContentRect(uint8_t kind, const TteWindowInfo& info, const QString&) {
  const TRect& r = info.Rect;
  switch (kind) {
    case kwkSizeable:
    case kwkDialog: {
      TRect c = Inset(r, 3, 3);
      c.Top += 20;
      return c;
    }
    case kwkToolWindow: {
      TRect c = Inset(r, 3, 3);
      c.Top += 16;
      return c;
    }
    case kwkSingle:
      return Inset(r, 3, 3);
    default:
      return r;
  }
}

TRect TTeFlatTheme::WindowCaptionRect(uint8_t kind, const TteWindowInfo& info,
                                      const QString& objectName) {
  const TRect c = WindowContentRect(kind, info, objectName);
  return {c.Left, info.Rect.Top + 3, c.Right, c.Top};
}

TRect TTeFlatTheme::WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                                     const QString& objectName) {
  auto has = [&](int b) { return (info.Buttons & WindowButtonBit(b)) != 0; };
  if (button < 0 || button >= kbiCustom1 || !has(button)) return kNullRect;
  const TRect c = WindowContentRect(kind, info, objectName);
  if (button == kbiSysMenu) return {c.Left, 4, c.Left + 22, c.Top - 1};
  // Right to left, each present group pushes the ones after it 24 pixels further.
  const int nClose = has(kbiClose);
  const int nMaximize = has(kbiMaximize) || has(kbiRestore);
  const int nMinimize = has(kbiMinimize) || has(kbiRestoreMinimized);
  const int nRoll = has(kbiRollUp) || has(kbiRollDown);
  const int nTray = has(kbiTray);
  int steps = 0;
  switch (button) {
    case kbiClose: steps = 0; break;
    case kbiMaximize: case kbiRestore: steps = nClose; break;
    case kbiMinimize: case kbiRestoreMinimized: steps = nClose + nMaximize; break;
    case kbiRollUp: case kbiRollDown: steps = nClose + nMaximize + nMinimize; break;
    case kbiTray: steps = nClose + nMaximize + nMinimize + nRoll; break;
    case kbiHelp: steps = nClose + nMaximize + nMinimize + nRoll + nTray; break;
    default: return kNullRect;
  }
  return TRect{c.Right - 22, 3, c.Right, c.Top}.Offset(-24 * steps, 0);
}

void TTeFlatTheme::PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                               const QString& objectName) {
  TRect r = info.Rect;
  if (r.IsEmpty()) return;
  const TColor face = Color(kcButtonNormal);
  DrawRect(canvas, r, Color(kcBorder));
  r = Inset(r, 1, 1);
  DrawFrame3D(canvas, r, face, face);
  r = Inset(r, 1, 1);
  DrawFrame3D(canvas, r, face, face);
  FillFramed(canvas, WindowCaptionRect(kind, info, objectName),
             Color(info.Active ? kcCaptionNormal : kcCaptionInactive));
}

void TTeFlatTheme::PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                                      const TRect& rect, const QString& objectName) {
  canvas.Font = Fonts().GetObjectFont(info.Active ? kfCaptionTextNormal : kfCaptionTextInactive,
                                      objectName);
  TRect r = rect;
  if (kind == kwkSizeable || kind == kwkDialog)
    r.Left += 20;  // room for the system-menu icon
  else if (kind == kwkToolWindow)
    r.Left += 5;
  PaintText(canvas, TextInfo(r, info.Caption, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX));
}

void TTeFlatTheme::PaintWindowButton(uint8_t, TCanvas& canvas, const TteWindowButtonInfo& info,
                                     const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  if (info.Button == kbiSysMenu) {
    if (HasPixels(info.Icon)) {
      const TPoint at = CenteredAt(r, *info.Icon);
      info.Icon->Draw(canvas, at.X, at.Y);
    }
    return;
  }
  const bool pressed = info.State == kwbsPressed;
  const TColor face = Color(info.State == kwbsHot ? kcButtonHot : kcButtonNormal);
  FillFramed(canvas, r, face);
  const TColor light = LightenColor(face, 100), dark = LightenColor(face, -100);
  if (pressed)
    DrawFrame3D(canvas, Inset(r, 1, 1), dark, light);
  else if (info.State == kwbsHot)
    DrawFrame3D(canvas, Inset(r, 1, 1), light, dark);
  const uint32_t push = pressed ? uint32_t(DFCS_PUSHED) : 0u;
  switch (info.Button) {
    case kbiClose: CaptionGlyph(canvas, r, DFCS_CAPTIONCLOSE | push); break;
    case kbiHelp: CaptionGlyph(canvas, r, DFCS_CAPTIONHELP | push); break;
    case kbiMinimize: CaptionGlyph(canvas, r, DFCS_CAPTIONMIN | push); break;
    case kbiRestoreMinimized:
    case kbiRestore: CaptionGlyph(canvas, r, DFCS_CAPTIONRESTORE | push); break;
    case kbiMaximize: CaptionGlyph(canvas, r, DFCS_CAPTIONMAX | push); break;
    case kbiRollUp:
    case kbiRollDown: {
      TRect t = Inset(r, 5, 7);
      if (pressed) t = t.Offset(-1, -1);
      if (t.IsEmpty()) break;
      const int mid = t.Left + t.Width() / 2;
      // Shapes leave out their right and bottom edges, so the corners sit on the last
      // pixel row and column inside t.
      const TPoint up[3] = {{t.Left, t.Bottom - 1}, {t.Right - 1, t.Bottom - 1}, {mid, t.Top}};
      const TPoint down[3] = {{t.Left, t.Top}, {t.Right - 1, t.Top}, {mid, t.Bottom - 1}};
      FillPolygon(canvas, info.Button == kbiRollUp ? up : down, 3, kBlack);
      break;
    }
    case kbiTray: {
      const TRect in = Inset(r, 3, 3);
      TRect square{in.Right - 3, in.Bottom - 3, in.Right, in.Bottom};
      if (!pressed) square = square.Offset(1, 1);
      FillRectColor(canvas, square, kBlack);
      break;
    }
    default:
      break;
  }
}

// ---- label, panel

bool TTeFlatTheme::HasLabel(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::HasPanel(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsPanelTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::PanelContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TTeFlatTheme::PaintPanel(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcPanelNormal));
}

// ---- button, check box

bool TTeFlatTheme::HasButton(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsButtonTransparent(uint8_t, const QString&) { return true; }

void TTeFlatTheme::PaintButton(uint8_t kind, TCanvas& canvas, const TteButtonInfo& info,
                               const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  int fill = kcButtonNormal;
  switch (info.State) {
    case kbsDisabled: fill = kcButtonDisabled; break;
    case kbsPressed: fill = kcButtonPressed; break;
    case kbsHot: fill = kcButtonHot; break;
    case kbsFocused: case kbsDefault: fill = kcButtonFocused; break;
    default: break;
  }
  FillFramed(canvas, r, Color(fill));
  const TRect glyph = info.State == kbsPressed ? r.Offset(1, 1) : r;
  switch (kind) {
    case kbkDot: FillRoundRect(canvas, CenteredBox(r, 5, 5), 3, kRed); break;
    case kbkArrowUp: Arrow(canvas, glyph, DFCS_SCROLLUP, Color(kcBorder)); break;
    case kbkArrowDown: Arrow(canvas, glyph, DFCS_SCROLLDOWN, Color(kcBorder)); break;
    case kbkArrowLeft: Arrow(canvas, glyph, DFCS_SCROLLLEFT, Color(kcBorder)); break;
    case kbkArrowRight: Arrow(canvas, glyph, DFCS_SCROLLRIGHT, Color(kcBorder)); break;
    default: break;
  }
}

bool TTeFlatTheme::HasCheckBox(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsCheckBoxTransparent(uint8_t, const QString&) { return true; }

void TTeFlatTheme::PaintCheckBox(uint8_t kind, TCanvas& canvas, const TteCheckBoxInfo& info,
                                 const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const uint8_t s = info.State;
  const bool checked = s <= kcsCheckedDisabled;
  const TColor border = Color(kcBorder);
  if (kind == kckRadioButton) {
    const TColor fill = Color(s == 1 || s == 6 ? kcButtonHot
                              : s == 2 || s == 7 ? kcButtonFocused
                                                 : kcButtonNormal);
    FillRoundRect(canvas, r, 10, fill);
    DrawRoundRect(canvas, r, 10, border);
    const TRect dot = Inset(r, 3, 3);
    if (checked && !dot.IsEmpty()) FillRoundRect(canvas, dot, 10, border);
    return;
  }
  const TColor fill = Color(s == 1 || s == 6 || s == 11   ? kcButtonHot
                            : s == 2 || s == 7 || s == 12 ? kcButtonFocused
                                                          : kcButtonNormal);
  FillFramed(canvas, r, fill);
  if (checked)
    PaintCheckMark(canvas, r);
  else if (s >= kcsMixedNormal && s <= kcsMixedDisabled)
    FillIfAny(canvas, Inset(r, 3, 3), border);
}

// ---- splitter, scroll bar

bool TTeFlatTheme::HasSplitter(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsSplitterTransparent(uint8_t, const QString&) { return false; }
void TTeFlatTheme::PaintSplitter(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcButtonNormal));
}

bool TTeFlatTheme::HasScrollBar(uint8_t kind, const QString&) { return kind == 0; }
bool TTeFlatTheme::IsScrollBarTransparent(uint8_t, const QString&) { return false; }

void TTeFlatTheme::PaintScrollBarPart(uint8_t, TCanvas& canvas, const TteScrollPartInfo& info,
                                      const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const int fill = info.State == kssDisabled  ? kcButtonDisabled
                   : info.State == kssPressed ? kcButtonFocused
                   : info.State == kssHot     ? kcButtonHot
                                              : kcButtonNormal;
  FillFramed(canvas, r, Color(fill));
  switch (info.Part) {
    case kspUpButton: Arrow(canvas, r, DFCS_SCROLLUP, Color(kcBorder)); break;
    case kspDownButton: Arrow(canvas, r, DFCS_SCROLLDOWN, Color(kcBorder)); break;
    case kspLeftButton: Arrow(canvas, r, DFCS_SCROLLLEFT, Color(kcBorder)); break;
    case kspRightButton: Arrow(canvas, r, DFCS_SCROLLRIGHT, Color(kcBorder)); break;
    default: break;
  }
}

void TTeFlatTheme::PaintScrollBarTrack(uint8_t, TCanvas& canvas, const TteScrollPartInfo& info,
                                       const QString&) {
  if (!info.Rect.IsEmpty()) FillDither(canvas, info.Rect, kBtnFace, kWhite);
}

// ---- progress bar, track bar

bool TTeFlatTheme::HasProgressBar(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsProgressBarTransparent(uint8_t, const QString&) { return false; }

void TTeFlatTheme::PaintProgressBar(uint8_t, TCanvas& canvas, const TteProgressInfo& info,
                                    const QString&) {
  if (info.Part <= kppHorzFrame)
    FillFramed(canvas, info.Rect, Color(kcButtonNormal));
  else if (info.Part <= kppHorzSolid)
    FillFramed(canvas, info.Rect, Color(kcButtonHot));
}

bool TTeFlatTheme::HasTrackBar(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsTrackBarTransparent(uint8_t, const QString&) { return true; }
void TTeFlatTheme::PaintTrackBar(uint8_t, TCanvas&, const TRect&, const QString&) {}

void TTeFlatTheme::PaintTrackBarTrack(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                      const QString&) {
  FillFramed(canvas, Inset(info.Rect, 2, 2), Color(kcButtonNormal));
}

void TTeFlatTheme::PaintTrackBarThumb(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                      const QString&) {
  const bool lit = info.High == 1 || info.High == 2;
  FillFramed(canvas, info.Rect, Color(lit ? kcButtonHot : kcButtonNormal));
}

// ---- header, status bar

bool TTeFlatTheme::HasHeader(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsHeaderTransparent(uint8_t, const QString&) { return false; }
void TTeFlatTheme::PaintHeader(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillIfAny(canvas, rect, Color(kcButtonNormal));
}

void TTeFlatTheme::PaintHeaderSection(uint8_t, TCanvas& canvas, const TteHeaderSectionInfo& info,
                                      const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  static constexpr int kFill[7] = {kcButtonNormal, kcButtonFocused, kcButtonDisabled,
                                   kcButtonHot,    kcButtonHot,     kcButtonFocused,
                                   kcButtonDisabled};
  if (info.State < 7) FillRectColor(canvas, r, Color(kFill[info.State]));
  DrawRect(canvas, r, Color(kcBorder));
}

void TTeFlatTheme::PaintHeaderSectionText(uint8_t, TCanvas& canvas,
                                          const TteHeaderSectionInfo& info,
                                          const TteTextInfo& text, const QString&) {
  TteTextInfo moved = text;
  if (info.State == khsHot) moved.Rect = moved.Rect.Offset(-1, -1);
  PaintText(canvas, moved);
}

void TTeFlatTheme::PaintHeaderSectionGlyph(uint8_t, TCanvas& canvas,
                                           const TteHeaderSectionInfo& info,
                                           const TteGlyphInfo& glyph, const QString&) {
  if (!HasPixels(glyph.Bitmap)) return;
  const TRect r = info.State == khsHot ? glyph.Rect.Offset(-1, -1) : glyph.Rect;
  glyph.Bitmap->Draw(canvas, r, glyph.Bitmap->BoundsRect());
}

bool TTeFlatTheme::HasStatusBar(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsStatusBarTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::StatusBarContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 5, 2);
}
void TTeFlatTheme::PaintStatusBar(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillIfAny(canvas, rect, Color(kcButtonNormal));
}

void TTeFlatTheme::PaintStatusPanel(uint8_t, TCanvas& canvas, const TteStatusPanelInfo& info,
                                    const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  FillRectColor(canvas, r, Color(kcButtonNormal));
  const TColor shade = LightenColor(Color(kcButtonNormal), -40);
  if (info.PanelKind == kspkSeparated || info.PanelKind == 1) {
    const TRect in = Inset(r, 1, 1);
    const TRect line{in.Right - 1, in.Top, in.Right, in.Bottom};
    if (!line.IsEmpty()) DrawRect(canvas, line, shade);
  } else if (info.PanelKind == kspkSizeGrip) {
    const TRect g = Inset(r, 5, 5).Offset(3, 3);
    const int L = g.Left, T = g.Top, R = g.Right, B = g.Bottom;
    const TPoint outer[4] = {{R, T - 2}, {R, T}, {L, B}, {L - 2, B}};
    const TPoint inner[3] = {{R, T + 2}, {R, B}, {L + 2, B}};
    FillPolygon(canvas, outer, 4, shade);
    FillPolygon(canvas, inner, 3, shade);
  }
}

// ---- edit, group box

bool TTeFlatTheme::HasEdit(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsEditTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::EditContentRect(uint8_t, const TteEditInfo& info, const QString&) {
  return Inset(info.Rect, 4, 4);
}

void TTeFlatTheme::PaintEdit(uint8_t, TCanvas& canvas, const TteEditInfo& info, const QString&) {
  if (info.State == kesSelection)
    FillIfAny(canvas, info.Rect, Color(kcEditSelection));
  else
    FillFramed(canvas, info.Rect, Color(kcEditNormal));
}

void TTeFlatTheme::PaintEditButton(uint8_t, TCanvas& canvas, const TteEditButtonInfo& info,
                                   const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const int fill = info.State == 1   ? kcButtonHot
                   : info.State == 2 ? kcButtonPressed
                   : info.State == 4 ? kcButtonDisabled
                                     : kcButtonNormal;
  FillFramed(canvas, r, Color(fill));
  if (info.Glyph == kebgDropDown || info.Glyph == kebgDown)
    Arrow(canvas, r, DFCS_SCROLLDOWN, Color(kcBorder));
  else if (info.Glyph == kebgUp)
    Arrow(canvas, r, DFCS_SCROLLUP, Color(kcBorder));
}

bool TTeFlatTheme::HasGroupBox(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsGroupBoxTransparent(uint8_t, const QString&) { return true; }
TRect TTeFlatTheme::GroupBoxContentRect(uint8_t, const TteGroupBoxInfo& info, const QString&) {
  return Inset(info.Rect, 6, 6);
}

void TTeFlatTheme::PaintGroupBox(uint8_t, TCanvas& canvas, const TteGroupBoxInfo& info,
                                 const QString&) {
  if (info.Rect.IsEmpty()) return;
  // The caption is written into EraseRect afterwards, so the clip that keeps the outline
  // out of it must not outlive this call.
  const std::optional<QRegion> saved = canvas.SavedClip();
  if (!info.EraseRect.IsEmpty()) canvas.ExcludeClipRect(info.EraseRect);
  DrawRoundRect(canvas, info.Rect, 5, Color(kcBorder));
  canvas.RestoreClip(saved);
}

// ---- text area

bool TTeFlatTheme::HasTextArea(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsTextAreaTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::TextAreaContentRect(uint8_t, const TteRectByteInfo& info, const QString&) {
  return info.Rect;
}
void TTeFlatTheme::PaintTextArea(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                 const QString&) {
  FillFramed(canvas, info.Rect, Color(kcEditNormal));
}
bool TTeFlatTheme::HasTextAreaPart(uint8_t, const QString&) { return true; }
TRect TTeFlatTheme::TextAreaPartContentRect(uint8_t, const TteRectByteInfo& info,
                                            const QString&) {
  return Inset(info.Rect, 2, 2);
}
void TTeFlatTheme::PaintTextAreaPart(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                     const QString&) {
  FillFramed(canvas, info.Rect, Color(kcButtonNormal));
}

// ---- menu

bool TTeFlatTheme::HasMenu(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsMenuTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::MenuContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}

void TTeFlatTheme::PaintMenu(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString&) {
  if (rect.IsEmpty()) return;
  if (kind == kmkMenuBar) {
    FillRectColor(canvas, rect, Color(kcButtonNormal));
    return;
  }
  FillRectColor(canvas, rect, kWhite);
  FillIfAny(canvas, {rect.Left, rect.Top, rect.Left + MenuStripWidth + 2, rect.Bottom},
            Color(kcButtonNormal));
  DrawRect(canvas, rect, kGrey);
}

void TTeFlatTheme::PaintMenuItem(uint8_t kind, TCanvas& canvas, const TteMenuItemInfo& info,
                                 const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const TRect strip{r.Left, r.Top, r.Left + MenuStripWidth, r.Bottom};
  auto popupBackground = [&] {
    FillRectColor(canvas, r, kWhite);
    FillIfAny(canvas, strip, Color(kcButtonNormal));
  };
  const bool lit = info.State == kmisHot || info.State == kmisSelected;
  switch (info.ItemKind) {
    case kmikItem:
      if (kind == kmkMenuBar) {
        if (info.State == kmisHot) {
          FillFramed(canvas, r, Color(kcButtonHot));
        } else {
          FillRectColor(canvas, r, Color(kcButtonNormal));
          if (info.State == kmisSelected) DrawRect(canvas, r, kGrey);
        }
      } else if (lit) {
        FillFramed(canvas, r, Color(kcButtonHot));
      } else {
        popupBackground();
      }
      break;
    case kmikSeparator: {
      popupBackground();
      // Always the one middle row: insetting by half the height leaves that row for an
      // odd height and nothing at all for an even one.
      const int mid = r.Top + r.Height() / 2;
      FillIfAny(canvas, {r.Left + 5 + MenuStripWidth + 2, mid, r.Right - 5, mid + 1}, kGrey);
      break;
    }
    case kmikScrollUp:
    case kmikScrollDown:
      popupBackground();
      if (lit) DrawRect(canvas, r, kGrey);
      Arrow(canvas, CenteredBox(r, 14, 14),
            info.ItemKind == kmikScrollUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN, kGrey);
      break;
    case kmikMinimize: CaptionGlyph(canvas, r, DFCS_CAPTIONMIN); break;
    case kmikRestore: CaptionGlyph(canvas, r, DFCS_CAPTIONRESTORE); break;
    case kmikClose: CaptionGlyph(canvas, r, DFCS_CAPTIONCLOSE); break;
    default: break;
  }
}

void TTeFlatTheme::PaintMenuItemGlyph(uint8_t, TCanvas& canvas, const TteMenuItemInfo&,
                                      const TteItemGlyphInfo& glyph, const QString&) {
  const TRect& r = glyph.Rect;
  // The check mark stands on a framed hot square.
  if (glyph.GlyphKind == kgkCheck) FillFramed(canvas, Inset(r, 1, 1), Color(kcButtonHot));
  if (PaintMenuMarkGlyph(canvas, r, glyph.GlyphKind)) return;
  switch (glyph.GlyphKind) {
    case kgkImage:
    case kgkIcon:
      PaintImageGlyph(canvas, glyph);
      break;
    default:
      break;
  }
}

// ---- dock, tool bar, scroll box

bool TTeFlatTheme::HasDock(uint8_t, const QString&) { return true; }
TRect TTeFlatTheme::DockContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }
void TTeFlatTheme::PaintDock(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillIfAny(canvas, rect, Color(kcButtonNormal));
}

bool TTeFlatTheme::HasTool(uint8_t, const QString&) { return true; }

void TTeFlatTheme::PaintTool(uint8_t kind, TCanvas& canvas, const TRect& rect, const QString&) {
  if (rect.IsEmpty()) return;
  if (kind == 2) {
    FillRectColor(canvas, rect, kWhite);
    DrawRect(canvas, rect, kGrey);
    return;
  }
  const TColor face = Color(kcButtonNormal);
  FillRectColor(canvas, rect, LightenColor(face, 10));
  DrawFrame3D(canvas, rect, LightenColor(face, 30), LightenColor(face, -30));
}

void TTeFlatTheme::PaintToolButton(uint8_t, TCanvas& canvas, const TteToolButtonInfo& info,
                                   const QString&) {
  TRect r = info.Rect;
  if (r.IsEmpty()) return;
  auto face = [&] {
    switch (info.State) {
      case ktbsHot:
      case ktbsHotChecked: FillFramed(canvas, r, Color(kcButtonHot)); break;
      case ktbsPressed: FillFramed(canvas, r, Color(kcButtonPressed)); break;
      case ktbsChecked: FillFramed(canvas, r, LightenColor(Color(kcButtonPressed), 10)); break;
      default: break;  // the tool bar shows through
    }
  };
  switch (info.ButtonKind) {
    case 0:
    case 3:
    case 5:
    case 8:
      face();
      break;
    case 4:
      face();
      r.Left -= 2;
      r.Right += 2;
      Arrow(canvas, r, DFCS_SCROLLDOWN, Color(kcBorder));
      break;
    case 1: {
      const int half = r.Width() / 2;
      FillIfAny(canvas, {r.Left + 5, r.Top + half, r.Left + 6, r.Bottom - half}, kGrey);
      break;
    }
    case 10: CaptionGlyph(canvas, r, DFCS_CAPTIONMIN); break;
    case 11: CaptionGlyph(canvas, r, DFCS_CAPTIONRESTORE); break;
    case 12: CaptionGlyph(canvas, r, DFCS_CAPTIONCLOSE); break;
    case 13:
    case 14:
      FillFramed(canvas, Inset(r, 1, 1), Color(kcButtonHot));
      break;
    default:
      break;
  }
}

void TTeFlatTheme::PaintToolButtonGlyph(uint8_t, TCanvas& canvas, const TteToolButtonInfo&,
                                        const TteItemGlyphInfo& glyph, const QString&) {
  switch (glyph.GlyphKind) {
    case kgkSubMenu:
      PaintMenuMarkGlyph(canvas, glyph.Rect, kgkSubMenu);
      break;
    case kgkImage:
    case kgkIcon:
      PaintImageGlyph(canvas, glyph);
      break;
    default:
      break;  // check mark and radio dot belong to menus
  }
}

bool TTeFlatTheme::HasScrollBox(uint8_t, const QString&) { return true; }
TRect TTeFlatTheme::ScrollBoxContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TTeFlatTheme::PaintScrollBox(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcButtonNormal));
}

// ---- collapse panel

bool TTeFlatTheme::HasCollapsePanel(uint8_t, const QString&) { return true; }
// Fills its whole background, like the other families that do.
bool TTeFlatTheme::IsCollapsePanelTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::CollapsePanelContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TTeFlatTheme::PaintCollapsePanel(uint8_t, TCanvas& canvas, const TRect& rect,
                                      const QString&) {
  FillFramed(canvas, rect, Color(kcButtonNormal));
}
void TTeFlatTheme::PaintCollapsePanelCaption(uint8_t, TCanvas& canvas, const TteRectByteInfo& info,
                                             const QString&) {
  FillFramed(canvas, info.Rect, Color(kcButtonNormal));
}

namespace {
// Fill index of the small buttons whose state is the info's high byte.
int SmallButtonFill(uint8_t state) {
  switch (state) {
    case 1: return kcButtonHot;
    case 2: return kcButtonPressed;
    case 3: return kcButtonDisabled;
    default: return kcButtonNormal;
  }
}
}  // namespace

void TTeFlatTheme::PaintCollapsePanelButton(uint8_t, TCanvas& canvas,
                                            const TteStateWordInfo& info, const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  FillFramed(canvas, r, Color(SmallButtonFill(info.High)));
  switch (info.Low) {
    case 1: Arrow(canvas, r, DFCS_SCROLLUP, Color(kcBorder)); break;
    case 2: Arrow(canvas, r, DFCS_SCROLLDOWN, Color(kcBorder)); break;
    case 3: DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE, Color(kcBorder)); break;
    default: break;
  }
}

void TTeFlatTheme::PaintCollapsePanelPart(uint8_t, TCanvas&, const TteStateWordInfo&,
                                          const QString&) {}

// ---- tab

bool TTeFlatTheme::HasTab(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsTabTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::TabContentRect(uint8_t, const TRect& rect, const QString&) { return rect; }
void TTeFlatTheme::PaintTabPage(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcButtonNormal));
}

void TTeFlatTheme::PaintTab(uint8_t, TCanvas& canvas, const TteTabInfo& info, const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const std::optional<QRegion> saved = canvas.SavedClip();
  if (info.State >= ktsActiveNormal && info.State <= ktsActiveDisabled) {
    // The edge the tab shares with its page, by where the tabs stand.
    TRect edge = kNullRect;
    if (info.TabKind <= 2)
      edge = {r.Left, r.Bottom - 1, r.Right, r.Bottom};
    else if (info.TabKind <= 5)
      edge = {r.Right - 1, r.Top, r.Right, r.Bottom};
    else if (info.TabKind <= 8)
      edge = {r.Left, r.Top, r.Left + 1, r.Bottom};
    else if (info.TabKind <= 11)
      edge = {r.Left, r.Top, r.Right, r.Top + 1};
    if (!edge.IsEmpty()) canvas.ExcludeClipRect(edge);
  }
  FillFramed(canvas, r, Color(info.State == ktsInactiveHot ? kcButtonHot : kcButtonNormal));
  canvas.RestoreClip(saved);
}

void TTeFlatTheme::PaintTabScrollButton(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                        const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  FillFramed(canvas, r, Color(SmallButtonFill(info.High)));
  const TColor border = Color(kcBorder);
  switch (info.Low) {
    case 0: DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE, border); break;
    case 1: Arrow(canvas, r, DFCS_SCROLLLEFT, border); break;
    case 2: Arrow(canvas, r, DFCS_SCROLLDOWN, border); break;
    case 3: Arrow(canvas, r, DFCS_SCROLLUP, border); break;
    case 4: Arrow(canvas, r, DFCS_SCROLLRIGHT, border); break;
    default: break;
  }
}

void TTeFlatTheme::PaintTabText(uint8_t, TCanvas& canvas, const TteTabInfo& info,
                                const TteTextInfo& text, const QString&) {
  TteTextInfo turned = text;
  // Tabs at the left read downwards, tabs at the right upwards.
  if (info.TabKind >= 3 && info.TabKind <= 5)
    turned.Orientation = ktoVerticalDown;
  else if (info.TabKind >= 6 && info.TabKind <= 8)
    turned.Orientation = ktoVerticalUp;
  PaintText(canvas, turned);
}

// ---- list, tree, grid

bool TTeFlatTheme::HasList(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsListTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::ListContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TTeFlatTheme::PaintList(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcList));
}

void TTeFlatTheme::PaintListItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                                 const QString&) {
  switch (info.State) {
    case klisSelected:
    case klisSelectedFocused: FillFramed(canvas, info.Rect, Color(kcButtonHot)); break;
    case klisNormal:
    case klisHot:
    case klisDisabled: FillIfAny(canvas, info.Rect, Color(kcList)); break;
    default: break;
  }
}

void TTeFlatTheme::PaintListItemCheck(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                                      const TteListCheckInfo& check, const QString&) {
  if (check.CheckKind == klckBitmap) {
    if (HasPixels(check.Bitmap)) {
      const TPoint at = CenteredAt(check.Rect, *check.Bitmap);
      check.Bitmap->Draw(canvas, at.X, at.Y);
    }
    return;
  }
  if (check.CheckKind > klckMixed) return;
  const TRect box = CenteredBox(check.Rect, 13, 13);
  const int fill = info.State == klisHot ? kcButtonHot
                   : info.State == klisSelected || info.State == klisSelectedFocused
                       ? kcButtonFocused
                       : kcButtonNormal;
  FillFramed(canvas, box, Color(fill));
  if (check.CheckKind == klckChecked)
    PaintCheckMark(canvas, box);
  else if (check.CheckKind == klckMixed)
    FillIfAny(canvas, Inset(box, 3, 3), Color(kcBorder));
}

bool TTeFlatTheme::HasTree(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsTreeTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::TreeContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TTeFlatTheme::PaintTree(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcTree));
}

void TTeFlatTheme::PaintTreeItem(uint8_t, TCanvas& canvas, const TteListItemInfo& info,
                                 const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  switch (info.State) {
    case klisNormal:
    case klisHot:
    case klisDisabled: FillRectColor(canvas, r, Color(kcTree)); break;
    case klisSelected:
    case klisSelectedFocused: FillRectColor(canvas, r, Color(kcButtonHot)); break;
    default: break;
  }
  DrawRect(canvas, r, Color(kcBorder));
}

bool TTeFlatTheme::HasGrid(uint8_t, const QString&) { return true; }
bool TTeFlatTheme::IsGridTransparent(uint8_t, const QString&) { return false; }
TRect TTeFlatTheme::GridContentRect(uint8_t, const TRect& rect, const QString&) {
  return Inset(rect, 2, 2);
}
void TTeFlatTheme::PaintGrid(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  FillFramed(canvas, rect, Color(kcGrid));
}

void TTeFlatTheme::PaintGridCell(uint8_t, TCanvas& canvas, const TteStateWordInfo& info,
                                 const QString&) {
  const TRect& r = info.Rect;
  if (info.High == 1) {
    FillIfAny(canvas, r, Color(kcButtonNormal));
    return;
  }
  switch (info.Low) {
    case 0:
    case 4: FillIfAny(canvas, r, Color(kcGrid)); break;
    case 1: FillIfAny(canvas, r, Color(kcButtonHot)); break;
    case 2:
    case 3: FillFramed(canvas, r, Color(kcButtonFocused)); break;
    default: break;
  }
}
