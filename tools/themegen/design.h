// ThemeDesign: the palette and metrics a theme is drawn from, read from a small design
// file (assets/theme/*.ini) so that a look can be changed and regenerated as text.
#pragma once

#include <QColor>
#include <QString>
#include <stdexcept>

struct ThemeDesign {
  // Window frame, in pixels.
  int CaptionBarHeight = 28;
  int BorderWidth = 4;
  int SmallCaptionBarHeight = 20;
  int SmallBorderWidth = 3;
  int CaptionRadius = 8;
  int SmallCaptionRadius = 6;
  int ControlRadius = 3;

  QString FontFace;
  int CaptionFontSize = 9;
  int TextFontSize = 9;

  // Accent: selection, checked and default states, progress, slider knobs.
  QColor Accent, AccentHot, AccentPressed, AccentText;
  // Surfaces: dialog face, edit and list background, tab page.
  QColor Face, Window, Page;
  QColor Text, DisabledText;
  // Control outlines: plain, strong (small boxes that need to stand out), hot, disabled.
  QColor Border, BorderStrong, BorderHot, BorderDisabled;
  QColor ButtonTop, ButtonBottom, ButtonHotTop, ButtonHotBottom, ButtonPressed, ButtonDisabled;
  // Flat controls (tool buttons, header items, scroll arrows): hover, pressed, checked fills.
  QColor Hover, Pressed, Checked;
  QColor Track, Thumb, ThumbHot, ThumbPressed, Groove;
  // Arrow and chevron glyphs on flat controls.
  QColor Glyph, GlyphHot;
  QColor CaptionActive, CaptionActiveTop, CaptionInactive, CaptionText, CaptionTextInactive;
  QColor FrameActive, FrameInactive;
  QColor CaptionButtonHot, CaptionButtonPressed, CloseHot, ClosePressed;
  QColor Menu, MenuHilight, Highlight, HighlightText;
};

struct DesignError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Reads a design file: sections [Metrics], [Fonts], [Colors]; colours as #RRGGBB
// or #AARRGGBB. Every key must be present and known, so a typo fails rather than
// silently drawing with a default. Raises DesignError with the file and line.
ThemeDesign ReadDesign(const QString& fileName);
