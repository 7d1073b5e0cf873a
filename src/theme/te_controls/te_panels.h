// The panels: TTePanel (themed face and caption), TTeTransPanel (only what lies under
// it), and TTeTransparentPanel, the see-through container of the extended controls.
#pragma once

#include "te_button.h"
#include "te_control.h"

// A panel with bevels and a caption; its face and content rectangle come from the theme
// when the theme defines the panel object.
class TTePanel : public TTeControl {
  Q_OBJECT
 public:
  explicit TTePanel(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

  // Where aligned children go: PanelContentRect of the whole control with the theme,
  // else the frame client rectangle. Kept as the widget's contents margins.
  TRect ContentRect() const;

  QSize sizeHint() const override { return {100, 90}; }
  void PaintFrame(TCanvas& canvas) override;
  void PaintBackground(TCanvas& canvas) override;
  void ThemeChanged(int code, intptr_t lParam) override;
  void FrameChanged() override { UpdateMargins(); }

 protected:
  void resizeEvent(QResizeEvent*) override { UpdateMargins(); }

 private:
  bool Themed() const { return ThemeHasPanel(0, ThemeObject(), ThemeLink()); }
  void UpdateMargins();
  QString caption_;
  TAlignment alignment_ = taCenter;
};

// Paints nothing but its parent's background.
class TTeTransPanel : public TTeControl {
  Q_OBJECT
 public:
  explicit TTeTransPanel(QWidget* parent = nullptr);
  QSize sizeHint() const override { return {100, 90}; }
  void PaintFrame(TCanvas&) override {}
  void PaintBackground(TCanvas& canvas) override { DrawParentBackground(this, canvas); }
  void ThemeChanged(int code, intptr_t) override;
};

// Base of the extended controls: every theme notification repaints.
class TTeExtraControl : public TTeControl {
  Q_OBJECT
 public:
  explicit TTeExtraControl(QWidget* parent = nullptr) : TTeControl(parent) {}
  static QString Version() { return QStringLiteral("2.0.6"); }
  void ThemeChanged(int, intptr_t) override { update(); }
};

// A container that shows its parent's background while Transparent, else Color.
class TTeTransparentPanel : public TTeExtraControl {
  Q_OBJECT
 public:
  explicit TTeTransparentPanel(QWidget* parent = nullptr);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  void PaintFrame(TCanvas&) override {}
  void PaintBackground(TCanvas& canvas) override;

 private:
  bool transparent_ = true;
};
