// THomeLabel: the maker label; blue, red while the mouse is over it, and
// clickable. Its own font and colour hold under every theme.
#pragma once

#include <functional>

#include "te_label.h"

class THomeLabel : public TTeAdvancedLabel {
  Q_OBJECT
 public:
  explicit THomeLabel(const QString& caption, QWidget* parent = nullptr);
  std::function<void()> OnClick;
  void SetHot(bool hot);
  bool Hot() const { return hot_; }

 protected:
  void MouseEnter() override;
  void MouseLeave() override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool hot_ = false;
  bool pressed_ = false;
};
