// TTeCheckBox, the skinned two- or three-state check box: a QCheckBox (Space,
// mnemonics, Tab order and accessibility are Qt's) painted through the control base.
#pragma once

#include <QCheckBox>

#include "te_button.h"
#include "te_control_base.h"

enum TTeLeftRight : uint8_t { kalLeftJustify = 0, kalRightJustify = 1 };
enum TTeCheckBoxState : uint8_t { kcbsUnChecked = 0, kcbsChecked = 1, kcbsMixed = 2 };

// The box's state number for PaintCheckBox: checked 0-3, unchecked 5-8, mixed 10-13,
// each normal, hot, pressed, disabled (disabled over pressed over hot).
uint8_t CheckBoxBoxState(TTeCheckBoxState state, bool enabled, bool pressed, bool hot);
// The state after a click: unchecked goes to mixed only when grayed is allowed.
TTeCheckBoxState NextCheckBoxState(TTeCheckBoxState state, bool allowGrayed);
// The theme font of a check-box text state (the button text states).
int CheckBoxTextFont(uint8_t textState);

struct TTeCheckBoxLayout {
  TRect Box;
  TRect Text;
};
// The box vertically centred at the left or right edge; the measured text vertically
// centred Spacing right of a left box, or 2 pixels from the left before a right box.
TTeCheckBoxLayout CheckBoxLayout(int width, int height, QSize box, QSize text,
                                 TTeLeftRight alignment, int spacing);

class TTeCheckBox : public TTeSkinned<QCheckBox> {
  Q_OBJECT
 public:
  explicit TTeCheckBox(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  // Also re-sizes an AutoSize box.
  void SetCaption(const QString& caption);

  TTeCheckBoxState State() const;
  // A new value fires OnClick, also from code; the same value does nothing.
  void SetState(TTeCheckBoxState state);
  bool Checked() const { return State() == kcbsChecked; }
  void SetChecked(bool checked) { SetState(checked ? kcbsChecked : kcbsUnChecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool allow) { allowGrayed_ = allow; }
  TTeLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TTeLeftRight alignment);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap);
  bool AutoSize() const { return autoSize_; }

  std::function<void(TTeCheckBox& sender)> OnClick;

  QSize sizeHint() const override { return {98, 20}; }

  // ---- overridable, in the original slot order
  virtual void SetAutoSize(bool on);
  virtual void Changed();
  virtual QSize GetCheckSize();
  virtual void PaintCheck(TCanvas& canvas);
  virtual void PaintCaption(TCanvas& canvas);
  virtual void Toggle();

  void PaintBackground(TCanvas& canvas) override;
  // Where box and text go now.
  TTeCheckBoxLayout Geometry();

 protected:
  bool hitButton(const QPoint& pos) const override { return rect().contains(pos); }
  void nextCheckState() override { Toggle(); }
  void MouseEnter() override;
  void MouseLeave() override;

 private:
  struct Look {
    TteTheme* Theme = nullptr;  // null: the classic look
    uint8_t BoxState = 0;
    uint8_t TextState = 0;
    TFont Font;
    TTeCheckBoxLayout Layout;
  };
  Look Gather();
  QSize MeasureText(const TFont& font, int width) const;
  void AdjustSize();

  bool allowGrayed_ = false;
  TTeLeftRight alignment_ = kalLeftJustify;
  int spacing_ = 5;
  bool transparent_ = true;
  bool wordWrap_ = false;
  bool autoSize_ = false;
  Look look_;
};
