// Shapes shared by the element painters: rounded boxes, outlines, arrows and glyphs.
#include "shapes.h"

#include <QTransform>
#include <algorithm>
#include <cmath>

QImage Strip(int w, int h, int count, const std::function<void(int, QPainter&)>& paint) {
  QImage image(w, h * count, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < count; ++i) {
    p.save();
    p.translate(0, h * i);
    p.setClipRect(QRect(0, 0, w, h));
    paint(i, p);
    p.restore();
  }
  return image;
}

QColor Mix(const QColor& a, const QColor& b, qreal t) {
  auto lerp = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
  return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()),
                lerp(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor c, int alpha) {
  c.setAlpha(alpha);
  return c;
}

QLinearGradient VerticalGradient(const QRectF& r, const QColor& top, const QColor& bottom) {
  QLinearGradient g(r.topLeft(), r.bottomLeft());
  g.setColorAt(0, top);
  g.setColorAt(1, bottom);
  return g;
}

QPainterPath RoundedBox(const QRectF& r, qreal tl, qreal tr, qreal br, qreal bl) {
  // An arc's box is twice its radius; a zero (or, from a design with no rounding, a
  // negative) radius is a plain corner.
  tl = std::max<qreal>(tl, 0), tr = std::max<qreal>(tr, 0), br = std::max<qreal>(br, 0),
  bl = std::max<qreal>(bl, 0);
  QPainterPath path;
  path.moveTo(r.left() + tl, r.top());
  path.lineTo(r.right() - tr, r.top());
  if (tr > 0) path.arcTo(QRectF(r.right() - 2 * tr, r.top(), 2 * tr, 2 * tr), 90, -90);
  path.lineTo(r.right(), r.bottom() - br);
  if (br > 0) path.arcTo(QRectF(r.right() - 2 * br, r.bottom() - 2 * br, 2 * br, 2 * br), 0, -90);
  path.lineTo(r.left() + bl, r.bottom());
  if (bl > 0) path.arcTo(QRectF(r.left(), r.bottom() - 2 * bl, 2 * bl, 2 * bl), 270, -90);
  path.lineTo(r.left(), r.top() + tl);
  if (tl > 0) path.arcTo(QRectF(r.left(), r.top(), 2 * tl, 2 * tl), 180, -90);
  path.closeSubpath();
  return path;
}

QPainterPath InsetBox(const QRectF& r, qreal d, qreal tl, qreal tr, qreal br, qreal bl) {
  auto less = [d](qreal radius) { return radius > 0 ? std::max<qreal>(radius - d, 0) : 0; };
  return RoundedBox(r.adjusted(d, d, -d, -d), less(tl), less(tr), less(br), less(bl));
}

void Fill(QPainter& p, const QPainterPath& path, const QBrush& brush) { p.fillPath(path, brush); }

void FramedBox(QPainter& p, const QRectF& r, const qreal (&radii)[4], const QColor& border,
               const QBrush& fill, qreal width) {
  const QPainterPath outer = RoundedBox(r, radii[0], radii[1], radii[2], radii[3]);
  const QPainterPath inner = InsetBox(r, width, radii[0], radii[1], radii[2], radii[3]);
  if (fill.isOpaque()) {
    Fill(p, outer, border);
  } else {
    Fill(p, outer.subtracted(inner), border);
  }
  Fill(p, inner, fill);
}

void FramedBox(QPainter& p, const QRectF& r, qreal radius, const QColor& border, const QBrush& fill,
               qreal width) {
  const qreal radii[4] = {radius, radius, radius, radius};
  FramedBox(p, r, radii, border, fill, width);
}

void Ring(QPainter& p, const QRectF& r, qreal radius, const QColor& color, qreal width) {
  const QPainterPath outer = RoundedBox(r, radius);
  Fill(p, outer.subtracted(InsetBox(r, width, radius, radius, radius, radius)), color);
}

void PixelLine(QPainter& p, int x0, int y0, int x1, int y1, const QColor& color) {
  p.fillRect(QRectF(std::min(x0, x1), std::min(y0, y1), std::abs(x1 - x0) + 1, std::abs(y1 - y0) + 1), color);
}

void Transpose(QPainter& p) { p.setTransform(QTransform(0, 1, 1, 0, 0, 0), true); }

void Triangle(QPainter& p, const QRectF& box, Direction dir, int base, const QColor& color) {
  // The base sits on a pixel edge and the tip on a pixel centre; the base is moved
  // towards the tip's side so that the shape's centre of area, a third of the way
  // from the base, lands on the box's centre.
  const qreal cx = box.center().x(), cy = box.center().y(), half = base / 2.0;
  const int depth = (base + 1) / 2;
  QPolygonF shape;
  switch (dir) {
    case Direction::Up: {
      const qreal b = std::floor(cy + depth / 2.0);
      shape << QPointF(cx - half, b) << QPointF(cx + half, b) << QPointF(cx, b - depth);
      break;
    }
    case Direction::Down: {
      const qreal b = std::ceil(cy - depth / 2.0);
      shape << QPointF(cx - half, b) << QPointF(cx + half, b) << QPointF(cx, b + depth);
      break;
    }
    case Direction::Left: {
      const qreal b = std::floor(cx + depth / 2.0);
      shape << QPointF(b, cy - half) << QPointF(b, cy + half) << QPointF(b - depth, cy);
      break;
    }
    case Direction::Right: {
      const qreal b = std::ceil(cx - depth / 2.0);
      shape << QPointF(b, cy - half) << QPointF(b, cy + half) << QPointF(b + depth, cy);
      break;
    }
  }
  QPainterPath path;
  path.addPolygon(shape);
  path.closeSubpath();
  Fill(p, path, color);
}

void Chevron(QPainter& p, const QRectF& box, Direction dir, qreal span, qreal depth, qreal pen,
             const QColor& color) {
  const qreal cx = box.center().x(), cy = box.center().y(), s = span / 2, d = depth / 2;
  QPolygonF line;
  switch (dir) {
    case Direction::Up:
      line << QPointF(cx - s, cy + d) << QPointF(cx, cy - d) << QPointF(cx + s, cy + d);
      break;
    case Direction::Down:
      line << QPointF(cx - s, cy - d) << QPointF(cx, cy + d) << QPointF(cx + s, cy - d);
      break;
    case Direction::Left:
      line << QPointF(cx + d, cy - s) << QPointF(cx - d, cy) << QPointF(cx + d, cy + s);
      break;
    case Direction::Right:
      line << QPointF(cx - d, cy - s) << QPointF(cx + d, cy) << QPointF(cx - d, cy + s);
      break;
  }
  p.setPen(QPen(color, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(line);
}

void CheckMark(QPainter& p, const QRectF& box, qreal pen, const QColor& color) {
  auto at = [&](qreal fx, qreal fy) {
    return QPointF(box.left() + fx * box.width(), box.top() + fy * box.height());
  };
  p.setPen(QPen(color, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  const QPointF points[] = {at(0.24, 0.52), at(0.43, 0.71), at(0.77, 0.31)};
  p.drawPolyline(points, 3);
}

void DrawCaptionGlyph(QPainter& p, CaptionGlyph glyph, int n, const QColor& color) {
  // Thin strokes, a touch heavier on the larger sizes so all three read as one weight.
  const qreal stroke = n >= 12 ? 1.35 : n >= 10 ? 1.2 : 1.1;
  const QRectF box(0, 0, n, n);
  switch (glyph) {
    case CaptionGlyph::Close: {
      p.setPen(QPen(color, stroke, Qt::SolidLine, Qt::FlatCap));
      const qreal a = 0.5, b = n - 0.5;
      p.drawLine(QPointF(a, a), QPointF(b, b));
      p.drawLine(QPointF(b, a), QPointF(a, b));
      break;
    }
    case CaptionGlyph::Minimize:
      p.fillRect(QRectF(0, n / 2, n, 1), color);
      break;
    case CaptionGlyph::Maximize:
      Ring(p, box, 1.5, color);
      break;
    case CaptionGlyph::Restore: {
      // The window behind shows only its top and right edges around the front one.
      const qreal offset = 2;
      const QRectF back(offset, 0, n - offset, n - offset), front(0, offset, n - offset, n - offset);
      QPainterPath behind = RoundedBox(back, 1.5).subtracted(InsetBox(back, 1, 1.5, 1.5, 1.5, 1.5));
      Fill(p, behind.subtracted(RoundedBox(front.adjusted(-1, -1, 1, 1), 2)), color);
      Ring(p, front, 1.5, color);
      break;
    }
    case CaptionGlyph::Help: {
      const qreal cx = n / 2.0, r = n * 0.25, cy = 0.5 + r;
      QPainterPath hook;
      hook.moveTo(cx - r, cy);
      hook.arcTo(QRectF(cx - r, cy - r, 2 * r, 2 * r), 180, -235);
      hook.lineTo(cx, cy + r + n * 0.08);
      hook.lineTo(cx, n * 0.68);
      p.setPen(QPen(color, stroke + 0.1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      p.drawPath(hook);
      p.setPen(Qt::NoPen);
      p.setBrush(color);
      const qreal dot = stroke * 0.7;
      p.drawEllipse(QPointF(cx, n - dot), dot, dot);
      break;
    }
  }
}
