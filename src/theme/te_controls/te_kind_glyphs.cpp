// Drawn here rather than loaded: sharp pixels only (no smoothing), so that no
// pixel mixes with the transparent colour.
#include "te_kind_glyphs.h"

#include <QPainter>
#include <QPainterPath>

namespace {

constexpr int kCell = 16;

void Check(QPainter& p, const QColor& c, int dx = 0) {
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.drawPolyline(QPolygon({QPoint(3 + dx, 8), QPoint(6 + dx, 11), QPoint(12 + dx, 4)}));
}

void Cross(QPainter& p, const QColor& c) {
  p.setPen(QPen(c, 2, Qt::SolidLine, Qt::SquareCap));
  p.drawLine(4, 4, 11, 11);
  p.drawLine(11, 4, 4, 11);
}

void Draw(QPainter& p, TBitBtnKind kind) {
  const QColor green(0, 128, 0), red(192, 0, 0), blue(0, 0, 160), dark(64, 64, 64);
  switch (kind) {
    case bkOK:
    case bkYes:
      Check(p, green);
      break;
    case bkAll:
      Check(p, green, -2);
      Check(p, green, 2);
      break;
    case bkCancel:
      Cross(p, red);
      break;
    case bkNo:
      p.setPen(QPen(red, 2));
      p.drawEllipse(QRect(3, 3, 10, 10));
      p.drawLine(5, 11, 11, 5);
      break;
    case bkAbort:
      p.setPen(Qt::NoPen);
      p.setBrush(red);
      p.drawEllipse(QRect(2, 2, 12, 12));
      p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap));
      p.drawLine(6, 6, 9, 9);
      p.drawLine(9, 6, 6, 9);
      break;
    case bkHelp: {
      p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      p.drawPolyline(QPolygon({QPoint(5, 5), QPoint(6, 3), QPoint(10, 3), QPoint(11, 5), QPoint(8, 8),
                               QPoint(8, 9)}));
      p.fillRect(QRect(7, 12, 2, 2), blue);
      break;
    }
    case bkClose:
      // A door ajar with the way out.
      p.setPen(QPen(dark, 1));
      p.setBrush(QColor(160, 112, 48));
      p.drawRect(QRect(3, 2, 7, 12));
      p.setPen(QPen(green, 2, Qt::SolidLine, Qt::SquareCap));
      p.drawLine(8, 8, 13, 8);
      p.drawLine(11, 6, 13, 8);
      p.drawLine(11, 10, 13, 8);
      break;
    case bkRetry:
      p.setPen(QPen(green, 2, Qt::SolidLine, Qt::SquareCap));
      p.drawArc(QRect(3, 3, 10, 10), 90 * 16, 270 * 16);
      p.setPen(Qt::NoPen);
      p.setBrush(green);
      p.drawPolygon(QPolygon({QPoint(8, 0), QPoint(12, 4), QPoint(8, 7)}));
      break;
    case bkIgnore:
      p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
      p.drawPolyline(QPolygon({QPoint(3, 4), QPoint(7, 8), QPoint(3, 12)}));
      p.drawPolyline(QPolygon({QPoint(8, 4), QPoint(12, 8), QPoint(8, 12)}));
      break;
    case bkCustom:
      break;
  }
}

}  // namespace

QImage KindGlyph(TBitBtnKind kind) {
  if (kind == bkCustom) return {};
  QImage cell(kCell, kCell, QImage::Format_RGB32);
  cell.fill(kKindGlyphTransparent);
  {
    QPainter p(&cell);
    p.setRenderHint(QPainter::Antialiasing, false);
    Draw(p, kind);
  }
  // The disabled cell: the picture's shape, embossed in the button shadow and
  // highlight colours as disabled glyphs are.
  QImage glyph(2 * kCell, kCell, QImage::Format_RGB32);
  glyph.fill(kKindGlyphTransparent);
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x) {
      const QRgb c = cell.pixel(x, y);
      if (c == kKindGlyphTransparent) continue;
      glyph.setPixel(x, y, c);
      if (x + 1 < kCell && y + 1 < kCell) glyph.setPixel(kCell + x + 1, y + 1, qRgb(255, 255, 255));
    }
  for (int y = 0; y < kCell; ++y)
    for (int x = 0; x < kCell; ++x)
      if (cell.pixel(x, y) != kKindGlyphTransparent) glyph.setPixel(kCell + x, y, qRgb(128, 128, 128));
  return glyph;
}
