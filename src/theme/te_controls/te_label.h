// TTeLabel, the skinned text label (a windowless control), and TTeAdvancedLabel, the
// label whose fonts can be fixed whatever the theme.
#pragma once

#include <QPointer>
#include <QShortcut>

#include "te_button.h"
#include "te_control.h"

enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };

// The text-format flags of a label.
struct TTeLabelTextOptions {
  TAlignment Alignment = taLeftJustify;
  TTextLayout Layout = tlTop;
  bool WordWrap = false;
  bool ShowAccelChar = true;
  bool RightToLeft = false;
};
uint32_t LabelTextFlags(const TTeLabelTextOptions& options);

class TTeLabel : public TTeGraphicControl {
  Q_OBJECT
 public:
  explicit TTeLabel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  // Re-fits the size when AutoSize is on; the accelerator focuses FocusControl.
  void SetCaption(const QString& caption);
  TAlignment Alignment() const { return options_.Alignment; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return options_.Layout; }
  void SetLayout(TTextLayout layout);
  bool WordWrap() const { return options_.WordWrap; }
  void SetWordWrap(bool wrap);
  bool ShowAccelChar() const { return options_.ShowAccelChar; }
  void SetShowAccelChar(bool show);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool on) { hotTrack_ = on; }
  const TTeFontOptions& FontOptions() const { return fontOptions_; }
  void SetFontOptions(const TTeFontOptions& options);
  QWidget* FocusControl() const { return focusControl_; }
  void SetFocusControl(QWidget* control) { focusControl_ = control; }

  // The glyph: a square as high as the label at its left edge, inset by 1, painted by
  // the theme's PaintButton for GlyphThemeObject; the text starts GlyphSpace after it.
  bool ShowGlyph() const { return showGlyph_; }
  void SetShowGlyph(bool show);
  QString GlyphThemeObject() const { return glyphThemeObject_; }
  void SetGlyphThemeObject(const QString& name);
  int GlyphSpace() const { return glyphSpace_; }
  void SetGlyphSpace(int space);
  // With ActiveGlyph the glyph alone reacts to the mouse (hot, pressed); without it
  // and with HotTrack the whole label does.
  bool ActiveGlyph() const { return activeGlyph_; }
  void SetActiveGlyph(bool on);
  TRect GlyphRect() const;
  // The button state the glyph is painted in.
  uint8_t GlyphState() const;

  // Fits the size to the caption (an empty caption measures as one space); the right
  // edge stays for right-aligned text.
  void AdjustBounds();
  // With AutoSize, the size AdjustBounds gave the text, so that layouts keep it.
  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

  void PaintControl(TCanvas& canvas) override;
  void ThemeChanged(int code, intptr_t lParam) override;

 protected:
  // Draws (or, with DT_CALCRECT, measures into r) the caption in the label's font.
  virtual void DrawLabelText(TCanvas& canvas, TRect& r, uint32_t flags);
  // The font the caption is drawn in, and whether the theme draws it.
  virtual TteTheme* LabelTheme() const;
  virtual TFont LabelFont(TteTheme* theme) const;
  void MouseEnter() override;
  void MouseLeave() override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  void UpdateShortcut();
  int TextLeft() const;
  bool HasGlyph() const { return showGlyph_ && !glyphThemeObject_.isEmpty(); }
  QString caption_;
  TTeLabelTextOptions options_;
  bool autoSize_ = true;
  QSize autoExtent_;
  bool transparent_ = true;
  bool hotTrack_ = false;
  TTeFontOptions fontOptions_;
  QPointer<QWidget> focusControl_;
  QShortcut* accel_ = nullptr;
  bool showGlyph_ = false;
  bool activeGlyph_ = false;
  QString glyphThemeObject_;
  int glyphSpace_ = 5;
  bool glyphPressed_ = false;
  bool glyphHot_ = false;
  bool labelPressed_ = false;
};

class TTeAdvancedLabel : public TTeLabel {
  Q_OBJECT
 public:
  explicit TTeAdvancedLabel(QWidget* parent = nullptr);

  bool AlwaysUseDefaultFont() const { return alwaysDefault_; }
  void SetAlwaysUseDefaultFont(bool on);
  bool AlwaysGetFontColorFromTheme() const { return colorFromTheme_; }
  void SetAlwaysGetFontColorFromTheme(bool on);
  const TFont& DefaultFont() const { return defaultFont_; }
  void SetDefaultFont(const TFont& font);
  const TFont& DefaultDisabledFont() const { return defaultDisabledFont_; }
  void SetDefaultDisabledFont(const TFont& font);

 protected:
  // Always the application's current theme, never the link's.
  TteTheme* LabelTheme() const override;
  TFont LabelFont(TteTheme* theme) const override;

 private:
  bool alwaysDefault_ = false;
  bool colorFromTheme_ = false;
  TFont defaultFont_;
  TFont defaultDisabledFont_;
};
