// The scroll bar a control makes for its optional pair. For now a plain Qt scroll bar
// stands in for the skinned one; controls make theirs only through CreateScrollBar.
#pragma once

#include <QScrollBar>

class TTeScrollBar : public QScrollBar {
  Q_OBJECT
 public:
  TTeScrollBar(Qt::Orientation orientation, QWidget* parent) : QScrollBar(orientation, parent) {}
};
