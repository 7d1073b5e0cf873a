// TCanvas: the drawing surface the theme code paints on, with the device-context
// habits it was written against (pen, brush, font, window origin, clipping, text-format
// flags, aliased shapes with right and bottom exclusive, frame-control glyphs).
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "rect.h"
#include "sys_colors.h"


enum class TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
enum class TBrushStyle : uint8_t { bsSolid, bsClear, bsPattern };

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = TBrushStyle::bsSolid;
  // 8 x 8 pattern for bsPattern, aligned to device pixel (0, 0).
  QImage Pattern;
};

struct TFont : QFont {
  TColor Color = clBlack;
};

// Text-format flags (the platform's DT_ values).
enum : uint32_t {
  DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_TABSTOP = 0x80,
  DT_NOCLIP = 0x100, DT_EXTERNALLEADING = 0x200, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
  DT_INTERNAL = 0x1000, DT_EDITCONTROL = 0x2000, DT_PATH_ELLIPSIS = 0x4000,
  DT_END_ELLIPSIS = 0x8000, DT_MODIFYSTRING = 0x10000, DT_RTLREADING = 0x20000,
  DT_WORD_ELLIPSIS = 0x40000, DT_NOFULLWIDTHCHARBREAK = 0x80000, DT_HIDEPREFIX = 0x100000,
  DT_PREFIXONLY = 0x200000,
};

// Frame-control kinds and states (the platform's DFC_ and DFCS_ values).
enum : uint32_t {
  DFC_CAPTION = 1, DFC_MENU = 2, DFC_SCROLL = 3, DFC_BUTTON = 4,
  DFCS_CAPTIONCLOSE = 0x0, DFCS_CAPTIONMIN = 0x1, DFCS_CAPTIONMAX = 0x2,
  DFCS_CAPTIONRESTORE = 0x3, DFCS_CAPTIONHELP = 0x4,
  DFCS_MENUARROW = 0x0, DFCS_MENUCHECK = 0x1, DFCS_MENUBULLET = 0x2, DFCS_MENUARROWRIGHT = 0x4,
  DFCS_SCROLLUP = 0x0, DFCS_SCROLLDOWN = 0x1, DFCS_SCROLLLEFT = 0x2, DFCS_SCROLLRIGHT = 0x3,
  DFCS_SCROLLCOMBOBOX = 0x5, DFCS_SCROLLSIZEGRIP = 0x8,
  DFCS_BUTTONCHECK = 0x0, DFCS_BUTTONRADIO = 0x4, DFCS_BUTTON3STATE = 0x8, DFCS_BUTTONPUSH = 0x10,
  DFCS_INACTIVE = 0x100, DFCS_PUSHED = 0x200, DFCS_CHECKED = 0x400, DFCS_TRANSPARENT = 0x800,
  DFCS_HOT = 0x1000, DFCS_ADJUSTRECT = 0x2000, DFCS_FLAT = 0x4000, DFCS_MONO = 0x8000,
};

// A canvas draws either into a QImage it does not own or through a QPainter that
// someone else keeps active (a widget's paint event). All coordinates are logical:
// logical point p lands on device pixel p - Origin().
//
// On a Format_ARGB32 image every shape, fill and text changes only the red, green
// and blue bytes and leaves the alpha byte as it was, as a device context does on a
// 32-bit surface; theme code relies on that (a glyph drawn in black on a zeroed
// bitmap leaves the pixels at exactly 0). Shapes are aliased; text is not compared
// pixel for pixel and may be smoothed.
class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(QImage* image) { SetImage(image); }
  explicit TCanvas(QPainter* painter) { SetPainter(painter); }
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // Rebinds the canvas to another surface; pen, brush, font, origin and clip stay.
  void SetImage(QImage* image);
  void SetPainter(QPainter* painter);
  QImage* Image() const { return image_; }
  bool HasSurface() const { return image_ != nullptr || painter_ != nullptr; }
  // The device's pixel rectangle (device coordinates).
  TRect DeviceRect() const;

  TPen Pen;
  TBrush Brush;
  TFont Font;

  TPoint Origin() const { return origin_; }
  void SetOrigin(TPoint origin) { origin_ = origin; }
  void MoveOrigin(int dx, int dy) { origin_ = {origin_.X + dx, origin_.Y + dy}; }

  // Clipping, in logical coordinates at the time of the call; the clip is kept in
  // device coordinates, so a later origin change does not move it.
  void SetClipRect(const TRect& r);
  void SetClipRegion(const QRegion& logical);
  void IntersectClipRect(const TRect& r);
  void ExcludeClipRect(const TRect& r);
  void ResetClip() { clip_.reset(); }
  // The clip as kept, for painting that narrows it for a while and must hand the
  // caller's clip back unchanged.
  std::optional<QRegion> SavedClip() const { return clip_; }
  void RestoreClip(std::optional<QRegion> saved) { clip_ = std::move(saved); }
  bool HasClip() const { return clip_.has_value(); }
  // Logical bounds of what can be drawn (the clip within the device).
  TRect ClipBox() const;

  // Lines leave out their end point; a polyline only its last one.
  void MoveTo(int x, int y) { penPos_ = {x, y}; }
  void LineTo(int x, int y);
  TPoint PenPos() const { return penPos_; }
  void Polyline(const std::vector<TPoint>& points);
  void Polygon(const std::vector<TPoint>& points);
  // Pen outline on the outermost pixels, brush inside; with a clear pen the brush
  // fills one pixel less to the right and bottom, as the platform does.
  void Rectangle(const TRect& r);
  void RoundRect(const TRect& r, int ellipseWidth, int ellipseHeight);
  void Ellipse(const TRect& r);
  // Brush only: fills r / draws a one-pixel frame of r.
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  // The platform focus rectangle: every other pixel of the one-pixel frame inverted.
  void DrawFocusRect(const TRect& r);

  TColor GetPixel(int x, int y) const;  // RGB; clNone outside or without pixels
  void SetPixel(int x, int y, TColor color);

  int TextWidth(const QString& text) const;
  int TextHeight(const QString& text) const;
  QSize TextExtent(const QString& text) const;
  void TextOut(int x, int y, const QString& text);
  // Lays out and draws text in r by the DT_ flags and returns the text height; with
  // DT_CALCRECT nothing is drawn and r receives the extent. The background is the
  // brush's colour unless the brush is clear.
  int DrawText(const QString& text, TRect& r, uint32_t format);

  // Frame-control glyphs of our own drawing (kind DFC_, state DFCS_); false for
  // a kind or glyph we do not draw.
  bool DrawFrameControl(const TRect& r, uint32_t kind, uint32_t state);

  // Copies of 32-bit pixels. src is an image in Format_ARGB32 or Format_RGB32;
  // stretching samples the nearest pixel. StretchCopy ignores the source's alpha
  // on a device without one; TransparentStretch skips pixels whose RGB is key.
  void StretchCopy(const TRect& dst, const QImage& src, const TRect& srcRect);
  void TransparentStretch(const TRect& dst, const QImage& src, const TRect& srcRect, TColor key);
  // Source-over of a Format_ARGB32 (not premultiplied) image, nearest sampling.
  void BlendStretch(const TRect& dst, const QImage& src, const TRect& srcRect);
  // The device pixels under r in Format_ARGB32 (with their alpha); a null image when
  // the device cannot be read back (a painter's device) or r misses it.
  QImage Grab(const TRect& r) const;

 private:
  TRect ToDevice(const TRect& r) const { return r.Offset(-origin_.X, -origin_.Y); }
  QRegion DeviceClip() const;
  TRect DrawableBounds(const TRect& deviceRect) const;
  template <typename Paint>
  void PaintShape(const TRect& logicalBounds, Paint&& paint);
  void Composite(const QImage& layer, QPoint devicePos);
  // Runs draw with the device's painter (or one opened on the image), clipped to the
  // canvas clip; the painter's state is restored afterwards.
  template <typename Draw>
  void WithDevicePainter(Draw&& draw);
  void FillDevice(const TRect& deviceRect, TColor color);
  void PlotLine(QImage& layer, QPoint layerOffset, TPoint a, TPoint b, uint32_t rgb, int& dashPos);
  void InvertPixel(int dx, int dy);
  void PaintImage(const TRect& deviceDst, const QImage& src, const QRect& srcRect,
                  QPainter::CompositionMode mode);

  QImage* image_ = nullptr;
  QPainter* painter_ = nullptr;
  TPoint origin_;
  TPoint penPos_;
  std::optional<QRegion> clip_;
};
