// TteBitmap, the 32-bit picture every theme paints with, and its companions: the
// colour helpers, TteBitmapLink, TteBitmapList, the bitmap registry and the canvas
// helpers all theme kinds share.
#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "canvas.h"
#include "rect.h"
#include "sys_colors.h"
#include "te_bitmap_kernels.h"

class QIODevice;
class TPeResourceReader;

// 0xAARRGGBB, bytes blue, green, red, alpha in memory, alpha not premultiplied.
using TteColor = uint32_t;
using TArrayOfteColor = std::vector<TteColor>;

// Marks transparent pixels of keyed bitmaps; only its RGB part is compared.
inline constexpr TteColor kTeColorKey = 0x007F007F;

TteColor ColorToTeColor(TColor color, uint8_t alpha = 255);
TColor TeColorToColor(TteColor color);
// Each component clamped to 0..255.
TteColor MakeTeColor(int r, int g, int b, int a = 255);

// Rotates the hue by delta / 255 of a turn; the result is opaque.
TteColor ChangeHue(TteColor color, int delta);
// Adds delta to red, green and blue; the result is opaque.
TteColor ChangeBrightness(TteColor color, int delta);
// Adds delta to red, green and blue, keeping alpha.
TteColor Lighten(TteColor color, int delta);
// The same on platform colours (system colours resolved first).
TColor ChangeHueColor(TColor color, int delta);
TColor ChangeBrightnessColor(TColor color, int delta);
TColor LightenColor(TColor color, int delta);

class TteBitmap {
 public:
  TteBitmap();
  ~TteBitmap();
  TteBitmap(const TteBitmap&) = delete;
  TteBitmap& operator=(const TteBitmap&) = delete;

  // Size, pixels, name and both flags.
  void Assign(const TteBitmap& source);
  // From a platform image: with an alpha channel the pixels keep it and
  // CheckingAlpha runs; without one every alpha byte becomes 255.
  void Assign(const QImage& source);
  // A 32-bit image of the same size with this bitmap drawn onto it at (0, 0).
  QImage AssignTo() const;

  TteColor* Bits() { return bits_.get(); }
  const TteColor* Bits() const { return bits_.get(); }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  TRect BoundsRect() const { return {0, 0, width_, height_}; }
  QString Name;
  bool AlphaBlend = false;
  bool Transparent = false;

  // Negative sizes count as their absolute values; a zero or unchanged size does
  // nothing. Contents are undefined afterwards. Raises EAppError and leaves the
  // bitmap empty when the pixels cannot be had.
  void SetSize(int32_t width, int32_t height);
  bool Empty() const { return !bits_; }
  // Releases the pixels; the bitmap is empty afterwards.
  void Clear();

  void Fill(TteColor color);
  void FillRect(const TRect& r, TteColor color);
  void SetAlpha(uint8_t alpha);
  void SetAlphaRect(uint8_t alpha, const TRect& r);
  void CheckingAlpha();
  void CheckingTransparent(TteColor color);

  TteColor* PixelPtr(int x, int y) { return bits_.get() + int64_t(y) * width_ + x; }
  const TteColor* PixelPtr(int x, int y) const { return bits_.get() + int64_t(y) * width_ + x; }
  TteColor* ScanLine(int y) { return PixelPtr(0, y); }
  TteColor GetPixel(int x, int y) const;
  void SetPixel(int x, int y, TteColor color);

  void Draw(TCanvas& canvas, int x, int y) const;
  void Draw(TCanvas& canvas, int x, int y, const TRect& src) const;
  void Draw(TCanvas& canvas, const TRect& dst) const;
  void Draw(TCanvas& canvas, const TRect& dst, const TRect& src) const;
  void Draw(TteBitmap& target, int x, int y) const;
  void Draw(TteBitmap& target, int x, int y, const TRect& src) const;
  void Draw(TteBitmap& target, const TRect& dst, const TRect& src) const;

  // Lays uncut tiles of src from dst's top-left corner and cuts the last row and
  // column; with a non-empty clip only tiles touching it are drawn.
  void Tile(TCanvas& canvas, const TRect& dst, const TRect& src, const TRect& clip = {}) const;
  // Puts the source rectangle behind this bitmap's pixels at (x, y), clipped to this
  // bitmap's rectangle.
  void DrawUnder(const TteBitmap& source, int x, int y, const TRect& src);

  void FlipVert();
  void ChangeHue(int delta);
  void ChangeBrightness(int delta);
  // The non-key pixels as a region, offset by (x, y).
  QRegion CreateRegion(int x, int y) const;

  // The bitmap record: name, width, height (negative for bottom-up rows), pixels.
  // A malformed or truncated record raises EAppError and leaves the bitmap as it was.
  void LoadFromStream(QIODevice& stream);
  void SaveToStream(QIODevice& stream) const;

  // A device-independent bitmap as libraries keep it (header, masks, palette, rows; no
  // file header): 1, 4, 8, 16, 24 or 32 bits per pixel, plain or with bit-field masks,
  // rows bottom-up or top-down. 32-bit pixels keep their alpha and CheckingAlpha sets
  // AlphaBlend; other depths become opaque. Anything else (run-length or embedded
  // compression, data shorter than its header says) gives false and leaves the bitmap
  // as it was.
  bool LoadFromDib(QByteArrayView dib);
  // The bitmap resource of that name from a library; false, bitmap unchanged, when
  // there is none or it cannot be decoded.
  bool LoadFromResource(const QString& libraryFile, const QString& name);
  bool LoadFromResource(const TPeResourceReader& library, const QString& name);

  // The drawing surface over the pixels, made on first request and owned here.
  TCanvas& Canvas();
  // The canvas if one was made, else null.
  const TCanvas* ExistingCanvas() const { return canvas_.get(); }

 private:
  struct FreeAligned {
    void operator()(TteColor* p) const;
  };
  void DrawTo(TteBitmap& target, TRect dst, const TRect& src) const;
  void DrawToCanvas(TCanvas& canvas, const TRect& dst, const TRect& src) const;
  // The row operation the flags choose.
  TteRowOp RowOp() const;

  std::unique_ptr<TteColor[], FreeAligned> bits_;
  int32_t width_ = 0;
  int32_t height_ = 0;
  std::unique_ptr<QImage> surface_;
  std::unique_ptr<TCanvas> canvas_;
};

// Every bitmap that has pixels, so that a draw onto a canvas can tell whether the
// canvas is a bitmap's own and work on its pixels directly.
class TteBitmapRegistry {
 public:
  void Add(TteBitmap* bitmap);
  void Remove(TteBitmap* bitmap);
  TteBitmap* FindByCanvas(const TCanvas* canvas) const;
  size_t Count() const { return bitmaps_.size(); }

 private:
  std::vector<TteBitmap*> bitmaps_;
};
TteBitmapRegistry& BitmapRegistry();

class TteBitmapLink {
 public:
  TteBitmap* Bitmap = nullptr;  // not owned
  int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
  QString Name;
  bool MarginTransparent = false;
  bool CornerTransparent = false;
  bool CenterTransparent = false;

  void Assign(const TteBitmapLink& source);
  TRect Rect() const { return {Left, Top, Right, Bottom}; }
  bool IsValid() const;
  void CheckTransparency(int marginLeft, int marginTop, int marginRight, int marginBottom);
};

class TteBitmapList {
 public:
  void Clear() { items_.clear(); }
  // Takes ownership; returns the index.
  int Add(std::unique_ptr<TteBitmap> bitmap);
  int Count() const { return int(items_.size()); }
  TteBitmap* Items(int index) const;
  // First bitmap whose name matches without regard to case, else null.
  TteBitmap* Find(const QString& name) const;
  // A new link on the named bitmap with the given rectangle, or null.
  std::unique_ptr<TteBitmapLink> GetLink(const QString& name, const TRect& rect) const;

 private:
  std::vector<std::unique_ptr<TteBitmap>> items_;
};

// Canvas helpers shared by every theme kind.
void FillRectColor(TCanvas& canvas, const TRect& r, TColor color);
void DrawRect(TCanvas& canvas, const TRect& r, TColor color);
void DrawFrame3D(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight);
void DrawFocusRect(TCanvas& canvas, const TRect& r, TColor color);
void DrawRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color);
void FillRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color);
void DrawPolygon(TCanvas& canvas, const TPoint* points, int count, TColor color);
void FillPolygon(TCanvas& canvas, const TPoint* points, int count, TColor color);
// Up to 255 solid bands from c1 towards c2 (c2 itself is never reached).
void DrawGradient(TCanvas& canvas, const TRect& r, TColor c1, bool vertical, TColor c2);
void FillDither(TCanvas& canvas, const TRect& r, TColor c1, TColor c2);
void DrawWideText(TCanvas& canvas, const QString& text, TRect r, uint32_t format);
int TextWidth(TCanvas& canvas, const QString& text);
int TextHeight(TCanvas& canvas, const QString& text);
// The text, or its longest prefix followed by "..." that fits in width.
QString EllipsizeText(TCanvas& canvas, const QString& text, int width);
// Text turned by 90 degrees: counter-clockwise (reading upwards) when flag is true,
// clockwise otherwise.
void DrawVerticalText(TCanvas& canvas, const QString& text, const TRect& r, bool flag,
                      uint32_t format);
void DrawMaskedFrameControl(TCanvas& canvas, const TRect& r, uint32_t kind, uint32_t state,
                            TColor color);
void DrawSilhouette(TCanvas& canvas, int x, int y, TColor color, const TteBitmap& bitmap);

// MulDiv: a * b / c rounded to nearest, halves away from zero; -1 when c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);
