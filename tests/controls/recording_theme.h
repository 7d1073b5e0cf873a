// A theme that defines the button and check-box families for the object names it is
// given, records the states that reach its paint operations and names bounds.
#pragma once

#include <QStringList>
#include <vector>

#include "te_theme.h"

class RecordingTheme : public TteTheme {
 public:
  explicit RecordingTheme(QStringList objects = {QStringLiteral("default")})
      : objects_(std::move(objects)) {}

  std::vector<int> ButtonStates, ButtonTextStates, CheckBoxStates;
  QStringList PaintedObjects;
  TRect Bounds = kNullRect;
  QString BoundsObject;

  TFont LabelFont;
  std::vector<int> LabelStates;

  bool HasButton(uint8_t, const QString& name) override { return Defines(name); }
  bool HasLabel(uint8_t, const QString& name) override { return Defines(name); }
  void PaintLabelText(uint8_t, TCanvas& c, uint8_t state, const TteTextInfo&, const QString&) override {
    LabelFont = c.Font;
    LabelStates.push_back(state);
  }
  bool HasCheckBox(uint8_t, const QString& name) override { return Defines(name); }
  void PaintButton(uint8_t k, TCanvas& c, const TteButtonInfo& info, const QString& name) override {
    ButtonStates.push_back(info.State);
    PaintedObjects << name;
    TteTheme::PaintButton(k, c, info, name);
  }
  void PaintButtonText(uint8_t k, TCanvas& c, const TteButtonInfo& info, const TteTextInfo& text,
                       const QString& name) override {
    ButtonTextStates.push_back(info.State);
    TteTheme::PaintButtonText(k, c, info, text, name);
  }
  void PaintCheckBox(uint8_t, TCanvas&, const TteCheckBoxInfo& info, const QString& name) override {
    CheckBoxStates.push_back(info.State);
    PaintedObjects << name;
  }
  TRect GetObjectBounds(const QString& name) override {
    return name.compare(BoundsObject, Qt::CaseInsensitive) == 0 ? Bounds : kNullRect;
  }
  void Clear() {
    ButtonStates.clear();
    ButtonTextStates.clear();
    CheckBoxStates.clear();
    PaintedObjects.clear();
  }

 private:
  bool Defines(const QString& name) const { return objects_.contains(name, Qt::CaseInsensitive); }
  QStringList objects_;
};
