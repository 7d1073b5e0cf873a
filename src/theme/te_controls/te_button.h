// TTeButton, the skinned push button: a QPushButton (so Space, mnemonics, Enter in a
// dialog, Tab order and accessibility are Qt's) painted through the control base.
#pragma once

#include <QImage>
#include <QPushButton>
#include <QShortcut>

#include "te_control_base.h"

enum TBitBtnKind : uint8_t {
  bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll,
};
enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

// Styles, size and face a text control lays over its font.
struct TTeFontOptions {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int SizeDelta = 0;
  QString FontName;     // empty: keep the font's
  TColor FontColor = clNone;  // clNone: keep the font's
  void ApplyTo(TFont& font) const;
  friend bool operator==(const TTeFontOptions&, const TTeFontOptions&) = default;
};

// What decides a button's state numbers.
struct TTeButtonStateInput {
  bool Enabled = true;
  bool Pressed = false;
  bool Hot = false;
  bool Focused = false;
  bool ActiveDefault = false;
};
// For PaintButton and PaintButtonGlyph: 3 disabled, 2 pressed, 1 hot, 4 focused,
// 6 active default, 0 normal, in that order of precedence.
uint8_t ButtonFaceState(const TTeButtonStateInput& in);
// For PaintButtonText: the same without the default state.
uint8_t ButtonTextState(const TTeButtonStateInput& in);
// The theme font of a button text state.
int ButtonTextFont(uint8_t textState);

// Where caption and glyph go in a button.
struct TTeButtonLayoutInput {
  int Width = 0;
  int Height = 0;
  QSize Caption;  // measured (or the word-wrap box)
  QSize Glyph;    // 0 x 0 without a glyph
  int Spacing = 4;
  TButtonLayout Layout = blGlyphLeft;
  TAlignment Alignment = taCenter;
  bool Pressed = false;
};
struct TTeButtonLayout {
  TRect Content;  // caption and glyph together
  TRect Text;     // the content without the glyph's strip
  TRect Glyph;    // the glyph, centred in its strip
};
TTeButtonLayout ButtonContentLayout(const TTeButtonLayoutInput& in);

// How a glyph cell becomes the bitmap handed to the theme.
struct TTeGlyphOptions {
  int NumGlyphs = 1;
  bool Enabled = true;
  bool Pressed = false;
  bool BlackAndWhite = false;
  bool MouseIn = false;
};
// Cell 0 normally, 1 when disabled (NumGlyphs > 1), 2 while pressed (NumGlyphs > 2);
// pixels of the transparent colour become the colour key, the others opaque, grey
// where the options say. out is empty when the source has no pixels.
void PrepareButtonGlyph(const QImage& source, QRgb transparent, const TTeGlyphOptions& options,
                        TteBitmap& out);
// NumGlyphs a glyph of this size implies: width / height when that is whole and below
// 5, else 1; nothing for an empty glyph.
std::optional<int> GlyphCountOf(const QSize& glyph);

class TTeButton : public TTeSkinned<QPushButton> {
  Q_OBJECT
 public:
  explicit TTeButton(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout layout);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool BlackAndWhiteGlyph() const { return blackAndWhite_; }
  void SetBlackAndWhiteGlyph(bool on);
  const TTeFontOptions& FontOptions() const { return fontOptions_; }
  void SetFontOptions(const TTeFontOptions& options);

  // The glyph is copied; its bottom-left pixel is its transparent colour.
  const QImage& Glyph() const { return glyph_; }
  void SetGlyph(const QImage& glyph);
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int count);
  // An image of an image list instead of a glyph; an index outside the list shows none.
  const TteImageList* Images() const { return images_; }
  void SetImages(const TteImageList* images);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);

  // Default: Enter in the window clicks it while no other button has the focus.
  bool Default() const { return default_; }
  void SetDefault(bool on);
  bool ActiveDefault() const;
  // Cancel: Escape in the window clicks it.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool on);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int result) { modalResult_ = result; }
  TBitBtnKind Kind() const { return kind_; }
  // A predefined kind sets Default, the caption, the modal result and two glyph cells.
  void SetKind(TBitBtnKind kind);

  std::function<void(TTeButton& sender)> OnClick;

  QSize sizeHint() const override { return {75, 25}; }

  // The state numbers this button paints with now.
  TTeButtonStateInput StateInput() const;

  // ---- overridable, in the original slot order
  virtual TRect GetContentRect();
  virtual TRect GetTextRect();
  virtual TRect GetGlyphRect();
  virtual void PaintFace(TCanvas& canvas);
  virtual void PaintGlyph(TCanvas& canvas);
  virtual void PaintCaption(TCanvas& canvas);

  void PaintBackground(TCanvas& canvas) override;

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  // Runs after every click: a close button closes its window; on a dialog the
  // modal result ends it (0 only sets the result); then OnClick.
  void Click();
  // Everything a paint needs, gathered once per paint.
  struct Look {
    TteTheme* Theme = nullptr;  // null: the classic look
    uint8_t State = 0;
    uint8_t TextState = 0;
    TFont Font;
    bool HasGlyph = false;
    TTeButtonLayout Layout;
  };
  Look Gather();
  QSize MeasureCaption(const TFont& font, int wrapWidth, int wrapHeight) const;
  // The glyph source of this paint (Glyph, else the image-list image) into glyphBitmap_.
  bool PrepareGlyph();
  void FollowFocus(bool follow);

  TAlignment alignment_ = taCenter;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  bool wordWrap_ = false;
  bool transparent_ = false;
  bool blackAndWhite_ = false;
  TTeFontOptions fontOptions_;
  QImage glyph_;
  int numGlyphs_ = 1;
  const TteImageList* images_ = nullptr;
  int imageIndex_ = -1;
  bool default_ = false;
  bool cancel_ = false;
  int modalResult_ = 0;
  TBitBtnKind kind_ = bkCustom;
  QShortcut* escape_ = nullptr;
  QMetaObject::Connection focusWatch_;
  TteBitmap glyphBitmap_;
  Look look_;
};
