// Drawing helpers the element painters share. Coordinates are pixel edges: a box from
// 0 to 13 covers pixels 0..12, so straight sides land on whole pixels and stay crisp.
#pragma once

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <functional>

// count frames of w x h stacked top to bottom on a clear background; paint draws frame
// i (from 0) with the origin at the frame's top-left corner, antialiased and clipped to
// the frame.
QImage Strip(int w, int h, int count, const std::function<void(int, QPainter&)>& paint);

// t of the way from a to b, alpha included.
QColor Mix(const QColor& a, const QColor& b, qreal t);
QColor WithAlpha(QColor c, int alpha);
QLinearGradient VerticalGradient(const QRectF& r, const QColor& top, const QColor& bottom);

// A rounded box; radius per corner in the order top-left, top-right, bottom-right,
// bottom-left (0 for a square corner).
QPainterPath RoundedBox(const QRectF& r, qreal tl, qreal tr, qreal br, qreal bl);
inline QPainterPath RoundedBox(const QRectF& r, qreal radius) {
  return RoundedBox(r, radius, radius, radius, radius);
}
// The same box shrunk by d on every side, its radii shrunk to match.
QPainterPath InsetBox(const QRectF& r, qreal d, qreal tl, qreal tr, qreal br, qreal bl);

// A box with an outline of the given width around fill. An opaque fill is laid over
// the outline colour so the two never leave a light seam along the curves.
void FramedBox(QPainter& p, const QRectF& r, qreal radius, const QColor& border, const QBrush& fill,
               qreal width = 1);
void FramedBox(QPainter& p, const QRectF& r, const qreal (&radii)[4], const QColor& border,
               const QBrush& fill, qreal width = 1);
// Only the outline: what lies between the box and the box inset by width.
void Ring(QPainter& p, const QRectF& r, qreal radius, const QColor& color, qreal width = 1);
void Fill(QPainter& p, const QPainterPath& path, const QBrush& brush);
// A crisp one-pixel-wide line of whole pixels from (x0, y0) to (x1, y1), inclusive.
void PixelLine(QPainter& p, int x0, int y0, int x1, int y1, const QColor& color);

// Swaps x and y for everything drawn after it: a horizontal design comes out as its
// vertical twin (pointing down becomes pointing right).
void Transpose(QPainter& p);

enum class Direction { Up, Down, Left, Right };
// A solid arrow head pointing dir centred in box; base is its width across the
// direction (odd, for a sharp tip on a pixel centre), its depth (base + 1) / 2.
void Triangle(QPainter& p, const QRectF& box, Direction dir, int base, const QColor& color);
// An open arrow head (a chevron) of the given span and depth, stroked with round ends.
void Chevron(QPainter& p, const QRectF& box, Direction dir, qreal span, qreal depth, qreal pen,
             const QColor& color);
void CheckMark(QPainter& p, const QRectF& box, qreal pen, const QColor& color);

enum class CaptionGlyph { Close, Minimize, Maximize, Restore, Help };
// A caption-button glyph filling an n x n box at the origin.
void DrawCaptionGlyph(QPainter& p, CaptionGlyph glyph, int n, const QColor& color);
