// TTeGroupBox: a frame with a caption, optionally a check box in the caption that
// enables or disables everything inside.
#pragma once

#include <QPointer>
#include <QShortcut>

#include "te_check_box.h"
#include "te_control.h"

enum TTeGroupBoxState : uint8_t { kgdsNormal = 0, kgdsDisabled = 1 };

struct TTeGroupBoxGeometry {
  TRect Caption;  // from CaptionMargin, caption (or check box) wide, text high (+6 with a check box)
  TRect Frame;    // (3, h / 2 + 1, width - 2, height - 2), h the check box's or the caption's height
  TRect Client;   // (12, h, width - 12, height - 8), h for an empty caption that of "Tg"
};
// captionSize: the measured caption (or the check box's size); tgHeight the height of "Tg".
TTeGroupBoxGeometry GroupBoxGeometry(int width, int height, int captionMargin, QSize captionSize,
                                     bool checkBox, bool emptyCaption, int tgHeight);

class TTeGroupBox : public TTeControl {
  Q_OBJECT
 public:
  explicit TTeGroupBox(QWidget* parent = nullptr);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  int CaptionMargin() const { return captionMargin_; }
  void SetCaptionMargin(int margin);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  // The caption check box exists only while UseCheckBox is on.
  bool UseCheckBox() const { return checkBox_ != nullptr; }
  void SetUseCheckBox(bool use);
  TTeCheckBox* CheckBox() const { return checkBox_; }
  TTeLeftRight CheckBoxAlignment() const { return checkBoxAlignment_; }
  void SetCheckBoxAlignment(TTeLeftRight alignment);
  // With the check box: enables or disables every other child.
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);

  std::function<void(TTeGroupBox& sender)> OnCheckBoxClick;

  TTeGroupBoxGeometry Geometry() const;
  QSize sizeHint() const override { return {100, 90}; }
  void PaintFrame(TCanvas&) override {}
  void PaintBackground(TCanvas& canvas) override;
  void ThemeChanged(int code, intptr_t lParam) override;

 protected:
  virtual TTeCheckBox* CreateCheckBox();
  void resizeEvent(QResizeEvent*) override { PlaceCheckBox(); }
  void changeEvent(QEvent* e) override;

 private:
  TFont CaptionFont() const;
  void PlaceCheckBox();  // and the contents margins of the client area
  void ApplyCheckedToChildren();
  void UpdateShortcut();
  QString caption_;
  int captionMargin_ = 12;
  bool transparent_ = true;
  bool checked_ = true;
  TTeLeftRight checkBoxAlignment_ = kalLeftJustify;
  TTeCheckBox* checkBox_ = nullptr;
  QShortcut* accel_ = nullptr;
};
