// TCanvas: shapes are rasterised aliased into a transparent layer and then laid onto
// the device, which is how a 32-bit surface keeps its alpha bytes untouched.
#include "canvas.h"

#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

QColor ToQColor(TColor c) {
  const TColor rgb = ColorToRGB(c);
  return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

uint32_t ToArgb(TColor c) { return ToQColor(c).rgb(); }

bool IsDirectFormat(const QImage* image) {
  return image && (image->format() == QImage::Format_ARGB32 ||
                   image->format() == QImage::Format_RGB32);
}

QImage As32Bit(const QImage& src) {
  return IsDirectFormat(&src) ? src : src.convertToFormat(QImage::Format_ARGB32);
}

// On/off run lengths of the platform's cosmetic pen styles, in pixels.
const std::vector<int>& DashPattern(TPenStyle style) {
  static const std::vector<int> kSolid, kDash{18, 6}, kDot{3, 3}, kDashDot{9, 6, 3, 6},
      kDashDotDot{9, 3, 3, 3, 3, 3};
  switch (style) {
    case TPenStyle::psDash: return kDash;
    case TPenStyle::psDot: return kDot;
    case TPenStyle::psDashDot: return kDashDot;
    case TPenStyle::psDashDotDot: return kDashDotDot;
    default: return kSolid;
  }
}

bool DashOn(const std::vector<int>& pattern, int pos) {
  if (pattern.empty()) return true;
  int period = 0;
  for (int n : pattern) period += n;
  pos %= period;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pos < pattern[i]) return i % 2 == 0;
    pos -= pattern[i];
  }
  return true;
}

TRect BoundsOf(const std::vector<TPoint>& points, int grow) {
  TRect r{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPoint& p : points) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return {r.Left - grow, r.Top - grow, r.Right + 1 + grow, r.Bottom + 1 + grow};
}

}  // namespace

void TCanvas::SetImage(QImage* image) {
  image_ = image;
  painter_ = nullptr;
}

void TCanvas::SetPainter(QPainter* painter) {
  painter_ = painter;
  image_ = nullptr;
}

TRect TCanvas::DeviceRect() const {
  if (image_) return {0, 0, image_->width(), image_->height()};
  if (painter_ && painter_->device())
    return {0, 0, painter_->device()->width(), painter_->device()->height()};
  return {};
}

QRegion TCanvas::DeviceClip() const {
  const QRect device = DeviceRect().ToQRect();
  return clip_ ? clip_->intersected(device) : QRegion(device);
}

TRect TCanvas::DrawableBounds(const TRect& deviceRect) const {
  TRect r = IntersectRect(deviceRect, DeviceRect());
  if (clip_ && !r.IsEmpty()) r = IntersectRect(r, TRect::FromQRect(clip_->boundingRect()));
  return r;
}

void TCanvas::SetClipRect(const TRect& r) { clip_ = QRegion(ToDevice(r).ToQRect()); }

void TCanvas::SetClipRegion(const QRegion& logical) {
  clip_ = logical.translated(-origin_.X, -origin_.Y);
}

void TCanvas::IntersectClipRect(const TRect& r) {
  const QRegion add(ToDevice(r).ToQRect());
  clip_ = clip_ ? clip_->intersected(add) : add;
}

void TCanvas::ExcludeClipRect(const TRect& r) {
  const QRegion base = clip_ ? *clip_ : QRegion(DeviceRect().ToQRect());
  clip_ = base.subtracted(QRegion(ToDevice(r).ToQRect()));
}

TRect TCanvas::ClipBox() const {
  return TRect::FromQRect(DeviceClip().boundingRect()).Offset(origin_.X, origin_.Y);
}

// The layer is premultiplied; opaque layer pixels replace the device's RGB, partly
// covered ones (smoothed text) mix with it, and the device's alpha never changes.
void TCanvas::Composite(const QImage& layer, QPoint devicePos) {
  const QRegion region = DeviceClip().intersected(QRect(devicePos, layer.size()));
  if (region.isEmpty()) return;
  if (IsDirectFormat(image_)) {
    for (const QRect& r : region) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(image_->scanLine(y));
        auto* src = reinterpret_cast<const uint32_t*>(layer.constScanLine(y - devicePos.y()));
        for (int x = r.left(); x <= r.right(); ++x) {
          const uint32_t s = src[x - devicePos.x()];
          const uint32_t a = s >> 24;
          if (a == 0) continue;
          uint32_t& d = dst[x];
          if (a == 255) {
            d = (d & 0xFF000000u) | (s & 0x00FFFFFFu);
            continue;
          }
          uint32_t out = d & 0xFF000000u;
          for (int shift = 0; shift < 24; shift += 8) {
            const uint32_t sc = (s >> shift) & 0xFF, dc = (d >> shift) & 0xFF;
            out |= std::min<uint32_t>(255, sc + (dc * (255 - a) + 127) / 255) << shift;
          }
          d = out;
        }
      }
    }
    return;
  }
  WithDevicePainter([&](QPainter& p) { p.drawImage(devicePos, layer); });
}

template <typename Draw>
void TCanvas::WithDevicePainter(Draw&& draw) {
  auto run = [&](QPainter& p) {
    p.save();
    if (clip_) p.setClipRegion(*clip_, Qt::IntersectClip);
    draw(p);
    p.restore();
  };
  if (painter_) {
    run(*painter_);
  } else if (image_) {
    QPainter p(image_);
    run(p);
  }
}

template <typename Paint>
void TCanvas::PaintShape(const TRect& logicalBounds, Paint&& paint) {
  const TRect dev = DrawableBounds(ToDevice(logicalBounds));
  if (dev.IsEmpty()) return;
  QImage layer(dev.Width(), dev.Height(), QImage::Format_ARGB32_Premultiplied);
  layer.fill(0);
  // Layer pixel (0, 0) is this logical point.
  const QPoint layerOrigin(dev.Left + origin_.X, dev.Top + origin_.Y);
  paint(layer, layerOrigin);
  Composite(layer, {dev.Left, dev.Top});
}

namespace {

// A painter on a layer whose coordinates are logical, drawing aliased, with the
// brush pattern aligned to device pixel (0, 0) like the platform's brush origin.
struct LayerPainter : QPainter {
  LayerPainter(QImage& layer, QPoint layerOrigin, TPoint canvasOrigin) : QPainter(&layer) {
    setRenderHint(QPainter::Antialiasing, false);
    translate(-layerOrigin);
    setBrushOrigin(canvasOrigin.X, canvasOrigin.Y);
  }
};

QBrush ToQBrush(const TBrush& brush) {
  if (brush.Style == TBrushStyle::bsClear) return Qt::NoBrush;
  if (brush.Style == TBrushStyle::bsPattern && !brush.Pattern.isNull())
    return QBrush(brush.Pattern.convertToFormat(QImage::Format_RGB32));
  return QBrush(ToQColor(brush.Color));
}

QPen ToQPen(const TPen& pen) {
  if (pen.Style == TPenStyle::psClear) return Qt::NoPen;
  QPen p(ToQColor(pen.Color));
  p.setWidth(std::max(1, pen.Width));
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::MiterJoin);
  return p;
}

}  // namespace

void TCanvas::FillDevice(const TRect& deviceRect, TColor color) {
  if (deviceRect.IsEmpty()) return;
  if (IsDirectFormat(image_)) {
    const uint32_t rgb = ToArgb(color) & 0x00FFFFFFu;
    for (const QRect& r : DeviceClip().intersected(deviceRect.ToQRect())) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image_->scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) row[x] = (row[x] & 0xFF000000u) | rgb;
      }
    }
    return;
  }
  PaintShape(deviceRect.Offset(origin_.X, origin_.Y), [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    p.fillRect(deviceRect.Offset(origin_.X, origin_.Y).ToQRect(), ToQColor(color));
  });
}

// Bresenham from a towards b; b itself is left out, as the platform's lines do.
void TCanvas::PlotLine(QImage& layer, QPoint layerOrigin, TPoint a, TPoint b, uint32_t argb,
                       int& dashPos) {
  const std::vector<int>& pattern = DashPattern(Pen.Style);
  const int64_t dx = std::abs(int64_t(b.X) - a.X), dy = -std::abs(int64_t(b.Y) - a.Y);
  const int sx = a.X < b.X ? 1 : -1, sy = a.Y < b.Y ? 1 : -1;
  int64_t err = dx + dy;
  int64_t x = a.X, y = a.Y;
  while (x != b.X || y != b.Y) {
    const int64_t lx = x - layerOrigin.x(), ly = y - layerOrigin.y();
    if (DashOn(pattern, dashPos++) && lx >= 0 && ly >= 0 && lx < layer.width() &&
        ly < layer.height())
      reinterpret_cast<uint32_t*>(layer.scanLine(int(ly)))[lx] = argb;
    const int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void TCanvas::LineTo(int x, int y) {
  const TPoint from = penPos_, to{x, y};
  penPos_ = to;
  if (Pen.Style == TPenStyle::psClear) return;
  Polyline({from, to});
  penPos_ = to;
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.size() < 2 || Pen.Style == TPenStyle::psClear) return;
  const int width = std::max(1, Pen.Width);
  PaintShape(BoundsOf(points, width), [&](QImage& layer, QPoint at) {
    if (width == 1) {
      int dashPos = 0;
      const uint32_t argb = ToArgb(Pen.Color);
      for (size_t i = 1; i < points.size(); ++i)
        PlotLine(layer, at, points[i - 1], points[i], argb, dashPos);
      return;
    }
    LayerPainter p(layer, at, origin_);
    p.setPen(ToQPen(Pen));
    QPolygon poly;
    for (const TPoint& pt : points) poly << QPoint(pt.X, pt.Y);
    p.drawPolyline(poly);
  });
  penPos_ = points.back();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.size() < 2) return;
  PaintShape(BoundsOf(points, std::max(1, Pen.Width)), [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    QPolygon poly;
    for (const TPoint& pt : points) poly << QPoint(pt.X, pt.Y);
    p.setPen(Qt::NoPen);
    p.setBrush(ToQBrush(Brush));
    p.drawPolygon(poly);
    if (Pen.Style == TPenStyle::psClear) return;
    p.setBrush(Qt::NoBrush);
    if (Pen.Width <= 1) {
      p.end();
      int dashPos = 0;
      const uint32_t argb = ToArgb(Pen.Color);
      for (size_t i = 0; i < points.size(); ++i)
        PlotLine(layer, at, points[i], points[(i + 1) % points.size()], argb, dashPos);
      return;
    }
    p.setPen(ToQPen(Pen));
    p.drawPolygon(poly);
  });
}

void TCanvas::Rectangle(const TRect& r) {
  if (r.IsEmpty()) return;
  if (Pen.Style == TPenStyle::psClear) {
    // The platform shrinks the filled area by one pixel when there is no pen.
    const TRect inner{r.Left, r.Top, r.Right - 1, r.Bottom - 1};
    if (!inner.IsEmpty()) FillRect(inner);
    return;
  }
  const int w = std::max(1, Pen.Width);
  PaintShape(r, [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    const TRect inner{r.Left + w, r.Top + w, r.Right - w, r.Bottom - w};
    if (!inner.IsEmpty()) p.fillRect(inner.ToQRect(), ToQBrush(Brush));
    const QColor pen = ToQColor(Pen.Color);
    if (Pen.Style == TPenStyle::psSolid) {
      p.fillRect(QRect(r.Left, r.Top, r.Width(), std::min(w, r.Height())), pen);
      p.fillRect(QRect(r.Left, r.Bottom - w, r.Width(), w), pen);
      p.fillRect(QRect(r.Left, r.Top, std::min(w, r.Width()), r.Height()), pen);
      p.fillRect(QRect(r.Right - w, r.Top, w, r.Height()), pen);
      return;
    }
    p.end();
    int dashPos = 0;
    const uint32_t argb = ToArgb(Pen.Color);
    const TPoint c[5] = {{r.Left, r.Top}, {r.Right - 1, r.Top}, {r.Right - 1, r.Bottom - 1},
                         {r.Left, r.Bottom - 1}, {r.Left, r.Top}};
    for (int i = 0; i < 4; ++i) PlotLine(layer, at, c[i], c[i + 1], argb, dashPos);
  });
}

void TCanvas::RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight) {
  if (r.IsEmpty()) return;
  PaintShape(r, [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    p.setPen(ToQPen(Pen));
    p.setBrush(ToQBrush(Brush));
    // An aliased one-pixel outline of (x, y, w, h) covers x..x + w, so this rectangle
    // puts the outline on the outermost pixels of r.
    const QRectF box(r.Left, r.Top, r.Width() - 1, r.Height() - 1);
    p.drawRoundedRect(box, ellipseWidth / 2.0, ellipseHeight / 2.0);
  });
}

void TCanvas::Ellipse(const TRect& r) {
  if (r.IsEmpty()) return;
  PaintShape(r, [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    p.setPen(ToQPen(Pen));
    p.setBrush(ToQBrush(Brush));
    p.drawEllipse(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
  });
}

void TCanvas::FillRect(const TRect& r) {
  if (r.IsEmpty() || Brush.Style == TBrushStyle::bsClear) return;
  if (Brush.Style == TBrushStyle::bsSolid) {
    FillDevice(DrawableBounds(ToDevice(r)), Brush.Color);
    return;
  }
  PaintShape(r, [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    p.fillRect(r.ToQRect(), ToQBrush(Brush));
  });
}

void TCanvas::FrameRect(const TRect& r) {
  if (r.IsEmpty()) return;
  FillRect({r.Left, r.Top, r.Right, r.Top + 1});
  FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
  FillRect({r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1});
  FillRect({r.Right - 1, r.Top + 1, r.Right, r.Bottom - 1});
}

void TCanvas::InvertPixel(int dx, int dy) {
  if (!DeviceRect().Contains(dx, dy) || (clip_ && !clip_->contains(QPoint(dx, dy)))) return;
  if (IsDirectFormat(image_)) {
    reinterpret_cast<uint32_t*>(image_->scanLine(dy))[dx] ^= 0x00FFFFFFu;
  } else if (painter_) {
    painter_->save();
    painter_->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter_->fillRect(QRect(dx, dy, 1, 1), Qt::white);
    painter_->restore();
  }
}

// The platform lays a checkerboard brush over the frame with exclusive-or; the pixels
// whose device coordinates sum to an even number are the ones that flip.
void TCanvas::DrawFocusRect(const TRect& r) {
  if (r.IsEmpty()) return;
  const TRect d = ToDevice(r);
  auto flip = [&](int x, int y) {
    if (((x + y) & 1) == 0) InvertPixel(x, y);
  };
  for (int x = d.Left; x < d.Right; ++x) {
    flip(x, d.Top);
    if (d.Bottom - 1 > d.Top) flip(x, d.Bottom - 1);
  }
  for (int y = d.Top + 1; y < d.Bottom - 1; ++y) {
    flip(d.Left, y);
    if (d.Right - 1 > d.Left) flip(d.Right - 1, y);
  }
}

TColor TCanvas::GetPixel(int x, int y) const {
  const int dx = x - origin_.X, dy = y - origin_.Y;
  if (!image_ || !DeviceRect().Contains(dx, dy)) return clNone;
  const QRgb c = image_->pixel(dx, dy);
  return RGB(qRed(c), qGreen(c), qBlue(c));
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  FillDevice(DrawableBounds(ToDevice(Bounds(x, y, 1, 1))), color);
}

int TCanvas::TextWidth(const QString& text) const { return TextExtent(text).width(); }
int TCanvas::TextHeight(const QString& text) const { return TextExtent(text).height(); }

namespace {

// Shaping a caption to measure it costs more than painting it, and controls
// measure the same few captions in the same few fonts on every paint: the
// advances are kept, per thread, until there are too many to keep.
int Advance(const QFontMetrics& fm, const QFont& font, const QString& text) {
  thread_local QHash<std::pair<QFont, QString>, int> advances;
  const std::pair<QFont, QString> key(font, text);
  if (const auto it = advances.constFind(key); it != advances.cend()) return *it;
  if (advances.size() >= 4096) advances.clear();
  const int advance = fm.horizontalAdvance(text);
  advances.insert(key, advance);
  return advance;
}

}  // namespace

QSize TCanvas::TextExtent(const QString& text) const {
  const QFontMetrics fm(Font);
  return QSize(Advance(fm, Font, text), fm.height());
}

void TCanvas::TextOut(int x, int y, const QString& text) {
  TRect r{x, y, x, y};
  DrawText(text, r, DT_NOCLIP | DT_SINGLELINE | DT_NOPREFIX);
  penPos_ = {x + TextWidth(text), y};
}

namespace {

struct TextLine {
  QString Text;
  int Underline = -1;  // index of the prefixed character, -1 for none
  int Width = 0;
};

// Removes the '&' prefixes: "&&" is a literal ampersand, "&x" underlines x.
QString StripPrefixes(const QString& text, int& underline) {
  QString out;
  underline = -1;
  for (int i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) {
      ++i;
      if (text[i] != u'&') underline = int(out.size());
    } else if (text[i] == u'&') {
      continue;
    }
    out += text[i];
  }
  return out;
}

QString ExpandTabs(const QString& text) {
  QString out;
  int column = 0;
  for (QChar c : text) {
    if (c == u'\t') {
      do {
        out += u' ';
        ++column;
      } while (column % 8 != 0);
    } else {
      out += c;
      column = (c == u'\n' || c == u'\r') ? 0 : column + 1;
    }
  }
  return out;
}

QString EndEllipsis(const QFontMetrics& fm, const QString& text, int width) {
  if (fm.horizontalAdvance(text) <= width) return text;
  int n = int(text.size());
  while (n > 0 && fm.horizontalAdvance(text.left(n) + QStringLiteral("...")) > width) --n;
  return text.left(n) + QStringLiteral("...");
}

// Keeps the last path component and shortens what comes before it.
QString PathEllipsis(const QFontMetrics& fm, const QString& text, int width) {
  if (fm.horizontalAdvance(text) <= width) return text;
  const qsizetype slash = std::max(text.lastIndexOf(u'/'), text.lastIndexOf(u'\\'));
  if (slash < 0) return EndEllipsis(fm, text, width);
  const QString tail = text.mid(slash);
  for (qsizetype n = slash; n >= 0; --n) {
    const QString candidate = text.left(n) + QStringLiteral("...") + tail;
    if (fm.horizontalAdvance(candidate) <= width) return candidate;
  }
  return EndEllipsis(fm, QStringLiteral("...") + tail, width);
}

// Greedy breaking at blanks; a word wider than the width stands alone on its line.
std::vector<std::pair<int, int>> WrapParagraph(const QFontMetrics& fm, const QString& text,
                                               int width) {
  std::vector<std::pair<int, int>> lines;  // start, length
  int start = 0;
  const int n = int(text.size());
  while (start < n) {
    int end = start, lastFit = -1;
    while (end < n) {
      int wordEnd = end;
      while (wordEnd < n && text[wordEnd] == u' ') ++wordEnd;
      while (wordEnd < n && text[wordEnd] != u' ') ++wordEnd;
      if (fm.horizontalAdvance(text.mid(start, wordEnd - start)) > width && lastFit >= 0) break;
      lastFit = end = wordEnd;
    }
    lines.emplace_back(start, end - start);
    start = end;
    while (start < n && text[start] == u' ') ++start;
  }
  if (lines.empty()) lines.emplace_back(0, 0);
  return lines;
}

}  // namespace

int TCanvas::DrawText(const QString& source, TRect& r, uint32_t format) {
  const QFontMetrics fm(Font);
  QString text = (format & DT_EXPANDTABS) ? ExpandTabs(source) : source;
  QStringList paragraphs;
  if (format & DT_SINGLELINE) {
    text.remove(u'\r');
    text.remove(u'\n');
    paragraphs << text;
  } else {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    paragraphs = text.split(u'\n');
  }

  std::vector<TextLine> lines;
  const int width = r.Width();
  for (const QString& paragraph : paragraphs) {
    int underline = -1;
    const QString plain =
        (format & DT_NOPREFIX) ? paragraph : StripPrefixes(paragraph, underline);
    if (format & DT_HIDEPREFIX) underline = -1;
    if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE)) {
      for (auto [start, length] : WrapParagraph(fm, plain, width)) {
        const int u = (underline >= start && underline < start + length) ? underline - start : -1;
        lines.push_back({plain.mid(start, length), u, 0});
      }
    } else {
      lines.push_back({plain, underline, 0});
    }
  }
  int maxWidth = 0;
  for (TextLine& line : lines) {
    if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS))
      line.Text = EndEllipsis(fm, line.Text, width);
    else if (format & DT_PATH_ELLIPSIS)
      line.Text = PathEllipsis(fm, line.Text, width);
    if (line.Underline >= line.Text.size()) line.Underline = -1;
    line.Width = Advance(fm, Font, line.Text);
    maxWidth = std::max(maxWidth, line.Width);
  }
  const int lineHeight = fm.height() + ((format & DT_EXTERNALLEADING) ? fm.leading() : 0);
  const int totalHeight = lineHeight * int(lines.size());

  if (format & DT_CALCRECT) {
    if (!(format & DT_WORDBREAK) || maxWidth > width) r.Right = r.Left + maxWidth;
    r.Bottom = r.Top + totalHeight;
    return totalHeight;
  }

  int top = r.Top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      top = (r.Top + r.Bottom - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      top = r.Bottom - lineHeight;
  }
  auto lineLeft = [&](const TextLine& line) {
    if (format & DT_CENTER) return (r.Left + r.Right - line.Width) / 2;
    if (format & DT_RIGHT) return r.Right - line.Width;
    return r.Left;
  };
  TRect bounds = r;
  if (format & DT_NOCLIP) {
    bounds = {r.Left, top, r.Left, top + totalHeight};
    for (const TextLine& line : lines) {
      bounds.Left = std::min(bounds.Left, lineLeft(line));
      bounds.Right = std::max(bounds.Right, lineLeft(line) + line.Width);
    }
  }
  PaintShape(bounds, [&](QImage& layer, QPoint at) {
    LayerPainter p(layer, at, origin_);
    p.setClipRect(bounds.ToQRect());
    p.setFont(Font);
    p.setPen(ToQColor(Font.Color));
    int y = top;
    for (const TextLine& line : lines) {
      const int x = lineLeft(line);
      if (Brush.Style != TBrushStyle::bsClear)
        p.fillRect(QRect(x, y, line.Width, lineHeight), ToQColor(Brush.Color));
      p.drawText(QPoint(x, y + fm.ascent()), line.Text);
      if (line.Underline >= 0) {
        const int ux = x + fm.horizontalAdvance(line.Text.left(line.Underline));
        const int uw = fm.horizontalAdvance(line.Text.mid(line.Underline, 1));
        p.fillRect(QRect(ux, y + fm.ascent() + fm.underlinePos(), uw, std::max(1, fm.lineWidth())),
                   ToQColor(Font.Color));
      }
      y += lineHeight;
    }
  });
  return (format & DT_SINGLELINE) ? top - r.Top + lineHeight : totalHeight;
}

QImage TCanvas::Grab(const TRect& r) const {
  if (!image_ || r.IsEmpty()) return {};
  const TRect d = ToDevice(r);
  const TRect part = IntersectRect(d, DeviceRect());
  if (part.IsEmpty()) return {};
  QImage out(r.Width(), r.Height(), QImage::Format_ARGB32);
  out.fill(0);
  const QImage src = As32Bit(*image_);
  for (int y = part.Top; y < part.Bottom; ++y) {
    const auto* s = reinterpret_cast<const uint32_t*>(src.constScanLine(y));
    auto* o = reinterpret_cast<uint32_t*>(out.scanLine(y - d.Top));
    std::copy(s + part.Left, s + part.Right, o + (part.Left - d.Left));
  }
  return out;
}

namespace {

// The centre of destination pixel i falls on source pixel (2i + 1) w / 2W.
inline int SampleIndex(int64_t i, int64_t srcSize, int64_t dstSize) {
  return int((2 * i + 1) * srcSize / (2 * dstSize));
}

}  // namespace

void TCanvas::StretchCopy(const TRect& dst, const QImage& source, const TRect& srcRect) {
  const TRect s = IntersectRect(srcRect, {0, 0, source.width(), source.height()});
  if (dst.IsEmpty() || s != srcRect || s.IsEmpty()) return;
  const QImage src = As32Bit(source);
  const TRect d = ToDevice(dst);
  if (IsDirectFormat(image_)) {
    const uint32_t forceAlpha = image_->format() == QImage::Format_RGB32 ? 0xFF000000u : 0;
    for (const QRect& r : DeviceClip().intersected(d.ToQRect())) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* srow = reinterpret_cast<const uint32_t*>(
            src.constScanLine(s.Top + SampleIndex(y - d.Top, s.Height(), d.Height())));
        auto* drow = reinterpret_cast<uint32_t*>(image_->scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x)
          drow[x] = srow[s.Left + SampleIndex(x - d.Left, s.Width(), d.Width())] | forceAlpha;
      }
    }
    return;
  }
  // Through a painter the copy is of colour only; the source's alpha byte means nothing.
  const QImage opaque(src.constBits(), src.width(), src.height(), src.bytesPerLine(),
                      QImage::Format_RGB32);
  PaintImage(d, opaque, s.ToQRect(), QPainter::CompositionMode_Source);
}

void TCanvas::TransparentStretch(const TRect& dst, const QImage& source, const TRect& srcRect,
                                 TColor key) {
  const TRect s = IntersectRect(srcRect, {0, 0, source.width(), source.height()});
  if (dst.IsEmpty() || s != srcRect || s.IsEmpty()) return;
  const QImage src = As32Bit(source);
  const TRect d = ToDevice(dst);
  const TColor k = ColorToRGB(key);
  const uint32_t keyRgb = uint32_t(GetRValue(k) << 16 | GetGValue(k) << 8 | GetBValue(k));
  if (IsDirectFormat(image_)) {
    for (const QRect& r : DeviceClip().intersected(d.ToQRect())) {
      for (int y = r.top(); y <= r.bottom(); ++y) {
        const auto* srow = reinterpret_cast<const uint32_t*>(
            src.constScanLine(s.Top + SampleIndex(y - d.Top, s.Height(), d.Height())));
        auto* drow = reinterpret_cast<uint32_t*>(image_->scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) {
          const uint32_t p = srow[s.Left + SampleIndex(x - d.Left, s.Width(), d.Width())];
          if ((p & 0x00FFFFFFu) != keyRgb) drow[x] = p | 0xFF000000u;
        }
      }
    }
    return;
  }
  QImage masked = src.copy(s.ToQRect()).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < masked.height(); ++y) {
    auto* row = reinterpret_cast<uint32_t*>(masked.scanLine(y));
    for (int x = 0; x < masked.width(); ++x)
      row[x] = (row[x] & 0x00FFFFFFu) == keyRgb ? 0 : row[x] | 0xFF000000u;
  }
  PaintImage(d, masked, masked.rect(), QPainter::CompositionMode_SourceOver);
}

void TCanvas::BlendStretch(const TRect& dst, const QImage& source, const TRect& srcRect) {
  const TRect s = IntersectRect(srcRect, {0, 0, source.width(), source.height()});
  if (dst.IsEmpty() || s != srcRect || s.IsEmpty()) return;
  PaintImage(ToDevice(dst), source.convertToFormat(QImage::Format_ARGB32), s.ToQRect(),
             QPainter::CompositionMode_SourceOver);
}

void TCanvas::PaintImage(const TRect& d, const QImage& src, const QRect& srcRect,
                         QPainter::CompositionMode mode) {
  WithDevicePainter([&](QPainter& p) {
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p.setCompositionMode(mode);
    p.drawImage(d.ToQRect(), src, srcRect);
  });
}
