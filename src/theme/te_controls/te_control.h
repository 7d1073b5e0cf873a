// TTeControl and TTeGraphicControl: the two bases of skinned controls that have no Qt
// behaviour of their own to keep (panels, labels, bars). Controls that do (buttons,
// check boxes) join their Qt class with the same skin through TTeSkinned.
#pragma once

#include <QWidget>

#include "te_control_base.h"

// A control that can take the focus and has a frame of bevels and border.
class TTeControl : public TTeSkinned<QWidget> {
  Q_OBJECT
 public:
  explicit TTeControl(QWidget* parent = nullptr);
};

// A windowless control: no focus and no frame; it paints through PaintControl.
class TTeGraphicControl : public TTeSkinned<QWidget> {
  Q_OBJECT
 public:
  explicit TTeGraphicControl(QWidget* parent = nullptr);

  // Fills the client rectangle with Color.
  virtual void PaintControl(TCanvas& canvas);

 protected:
  void PaintContent(TCanvas& canvas) override { PaintControl(canvas); }
  void FocusEnter() override {}
  void FocusLeave() override {}
};
