// THomeLabel: the maker label; blue, red while the mouse is over it, and
// clickable.
#pragma once

#include <QLabel>
#include <functional>

class THomeLabel : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;
  std::function<void()> OnClick;
  void SetHot(bool hot);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};
