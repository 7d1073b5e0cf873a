// The two plain bases of skinned controls.
#include "te_control.h"

TTeControl::TTeControl(QWidget* parent) : TTeSkinned<QWidget>(parent) {}

TTeGraphicControl::TTeGraphicControl(QWidget* parent) : TTeSkinned<QWidget>(parent) {
  setFocusPolicy(Qt::NoFocus);
}

void TTeGraphicControl::PaintControl(TCanvas& canvas) {
  FillRectColor(canvas, {0, 0, width(), height()}, ColorToRGB(Color()));
}
