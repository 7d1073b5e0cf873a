// Button pictures drawn with QPainter on a 16 x 16 grid.
#include "button_images.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x2b, 0x3a, 0x55);
const QColor kBlue(0x2f, 0x7d, 0xd1);
const QColor kGreen(0x2e, 0x9d, 0x4f);
const QColor kRed(0xd1, 0x3b, 0x3b);
const QColor kFolder(0xe8, 0xb3, 0x3c);

void Folder(QPainter& p, bool open) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(kFolder.darker(110));
  p.drawPolygon(QPolygonF({{1.5, 3.5}, {6.5, 3.5}, {8, 5}, {14.5, 5}, {14.5, 13.5}, {1.5, 13.5}}));
  p.setBrush(kFolder);
  if (open)
    p.drawPolygon(QPolygonF({{3.5, 7.5}, {15.5, 7.5}, {13.5, 13.5}, {1.5, 13.5}}));
  else
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
}

void ListLines(QPainter& p) {
  p.setPen(QPen(kInk, 1));
  p.setBrush(Qt::white);
  p.drawRect(QRectF(1.5, 1.5, 11, 13));
  p.setPen(QPen(kBlue, 1));
  for (int y : {5, 8, 11}) p.drawLine(QPointF(4, y + 0.5), QPointF(10, y + 0.5));
}

void Arrow(QPainter& p, bool down, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  if (down)
    p.drawPolygon(QPolygonF({{9, 6}, {15, 6}, {12, 10}}));
  else
    p.drawPolygon(QPolygonF({{12, 6}, {15, 10}, {9, 10}}));
  p.drawRect(QRectF(11, down ? 1 : 10, 2, 5));
}

QPixmap Draw(int index) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 1: {  // options: a gear
      p.setPen(Qt::NoPen);
      p.setBrush(kInk);
      p.translate(8, 8);
      for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-1.5, -7.5, 3, 4));
        p.rotate(45);
      }
      p.drawEllipse(QPointF(0, 0), 5, 5);
      p.setBrush(Qt::white);
      p.drawEllipse(QPointF(0, 0), 2, 2);
      break;
    }
    case 3: {  // help: a question mark in a circle
      p.setPen(Qt::NoPen);
      p.setBrush(kBlue);
      p.drawEllipse(QRectF(1, 1, 14, 14));
      QFont f = p.font();
      f.setPixelSize(12);
      f.setBold(true);
      p.setFont(f);
      p.setPen(Qt::white);
      p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case 6: Folder(p, true); break;
    case 8:  // stop
      p.setPen(QPen(kRed.darker(130), 1));
      p.setBrush(kRed);
      p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2, 2);
      break;
    case 9:  // add file: a page with a plus
      p.setPen(QPen(kInk, 1));
      p.setBrush(Qt::white);
      p.drawPolygon(QPolygonF({{2.5, 1.5}, {9.5, 1.5}, {12.5, 4.5}, {12.5, 14.5}, {2.5, 14.5}}));
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawRect(QRectF(9, 9, 6, 2));
      p.drawRect(QRectF(11, 7, 2, 6));
      break;
    case 11: ListLines(p); Arrow(p, false, kGreen); break;   // load list
    case 12: ListLines(p); Arrow(p, true, kBlue); break;     // save list
    case 15:  // batch: stacked pages
      p.setPen(QPen(kInk, 1));
      for (int i = 2; i >= 0; --i) {
        p.setBrush(i == 0 ? QColor(Qt::white) : QColor(0xdd, 0xe6, 0xf3));
        p.drawRect(QRectF(1.5 + i * 2, 1.5 + i * 2, 9, 10));
      }
      break;
    case 17: {  // extract: a note leaving a film frame
      p.setPen(QPen(kInk, 1));
      p.setBrush(QColor(0xdd, 0xe6, 0xf3));
      p.drawRect(QRectF(0.5, 3.5, 8, 9));
      p.setPen(Qt::NoPen);
      p.setBrush(kGreen);
      p.drawEllipse(QRectF(9, 10, 4, 3.5));
      p.drawRect(QRectF(12, 2, 1.5, 10));
      p.drawPolygon(QPolygonF({{12, 2}, {15.5, 3.5}, {15.5, 5.5}, {12, 4}}));
      break;
    }
    default: break;
  }
  return pm;
}

}  // namespace

QIcon ButtonImage(int index) { return QIcon(Draw(index)); }

QIcon ApplicationIcon() {
  QPixmap pm(64, 64);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(kBlue);
  p.drawRoundedRect(QRectF(4, 4, 56, 56), 12, 12);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(16, 38, 14, 11));
  p.drawRect(QRectF(26, 14, 4, 30));
  p.drawPolygon(QPolygonF({{26, 14}, {46, 20}, {46, 27}, {26, 21}}));
  return QIcon(pm);
}
