// TteBitmap and its companions: pixel storage, the draw modes and their exact
// arithmetic, the bitmap record, and the canvas helpers built on TCanvas.
#include "te_bitmap.h"
#include "te_compress.h"

#include <QIODevice>
#include <QtEndian>
#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "app_error.h"
#include "pe_resources.h"

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "pixels and records are stored little-endian");

namespace {

// The largest bitmap we make: far beyond any theme image or screen buffer, and
// small enough that width * height * 4 never overflows.
constexpr int64_t kMaxSide = 1 << 16;
constexpr int64_t kMaxPixels = int64_t(1) << 28;
constexpr std::align_val_t kPixelAlignment{64};

// Bounds(x, y, w, h) without overflowing at the far end of the coordinate range.
TRect SafeBounds(int32_t x, int32_t y, int64_t w, int64_t h) {
  return {x, y, ClampToInt32(int64_t(x) + w), ClampToInt32(int64_t(y) + h)};
}

// round(num / den) with halves to even, for num >= 0 and den > 0.
int64_t RoundHalfEvenDiv(int64_t num, int64_t den) {
  const int64_t q = num / den, r = num % den;
  if (2 * r > den) return q + 1;
  if (2 * r == den) return q + (q & 1);
  return q;
}

// Source index for each destination index first..first + count - 1 of an axis that
// maps the source range [lo, hi) onto `size` destination pixels. The end pixels
// land on the end pixels: i -> round(i (hi - lo - 1) / (size - 1) + lo), halves
// to even on the exact quotient (the even one of the whole value, lo included).
void MapAxis(std::vector<int32_t>& map, int64_t first, int count, int64_t size, int32_t lo,
             int32_t hi) {
  map.resize(size_t(count));
  if (size < 2) {
    std::fill(map.begin(), map.end(), (lo + hi - 1) / 2);
    return;
  }
  const int64_t span = int64_t(hi) - lo - 1, den = size - 1;
  for (int i = 0; i < count; ++i) {
    const int64_t num = (first + i) * span;
    const int64_t q = num / den + lo, r = num % den;
    int64_t v = q;
    if (2 * r > den || (2 * r == den && (q & 1))) v = q + 1;
    map[size_t(i)] = int32_t(v);
  }
}

[[noreturn]] void ReadError() { throw EAppError(QStringLiteral("Stream read error")); }
[[noreturn]] void WriteError() { throw EAppError(QStringLiteral("Stream write error")); }


void WriteExact(QIODevice& stream, const char* data, int64_t count) {
  if (count > 0 && stream.write(data, count) != count) WriteError();
}

void WriteInt32(QIODevice& stream, int32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  WriteExact(stream, bytes, 4);
}

// The hue shift in whole numbers. The rule converts to HSL in fractions of 255 and
// back, rounding halves to even; done in floating point, an exact half such as
// H x 255 = 162.5 lands a hair above or below and rounds the wrong way. With M and m
// the largest and smallest of R, G, B and D = M - m > 0:
//   H = n / 6D with n = G - B (M = R; plus 6D when negative), B - R + 2D (M = G) or
//   R - G + 4D, so round(H x 255) = round(255 n / 6D).
// On the way back q and p are M / 255 and m / 255 whatever L and S are:
//   L <= 1/2: q = L (1 + S) = (M + m) / 510 * (1 + D / (M + m)) = 2M / 510;
//   L > 1/2:  q = L + S (1 - L) = (M + m) / 510 + D / (510 - M - m) * (510 - M - m) / 510
//                                = 2M / 510;
//   p = 2L - q = m / 255.
// A channel's t = h / 255 + k / 3 (k = 1 red, 0 green, -1 blue), less its whole part,
// is u / 765 with u = (3h + 255k) mod 765, and 255 f(t) is, by the four pieces,
//   u <= 127 (6t < 1): m + 2Du / 255;   u <= 382 (2t < 1): M;
//   u <= 509 (3t < 2): m + 2D (510 - u) / 255;   else: m
// (never a half, as 255 is odd).
int HueIndex(int r, int g, int b) {
  const int mx = std::max({r, g, b}), mn = std::min({r, g, b}), d = mx - mn;
  int n = 0;
  if (mx == r)
    n = g - b < 0 ? g - b + 6 * d : g - b;
  else if (mx == g)
    n = b - r + 2 * d;
  else
    n = r - g + 4 * d;
  return int(RoundHalfEvenDiv(255 * int64_t(n), 6 * int64_t(d)));
}

int HueChannel(int mx, int mn, int64_t h, int k) {
  const int64_t u = ((3 * h + 255 * k) % 765 + 765) % 765;
  const int64_t d = mx - mn;
  if (u <= 127) return mn + int(RoundHalfEvenDiv(2 * d * u, 255));
  if (u <= 382) return mx;
  if (u <= 509) return mn + int(RoundHalfEvenDiv(2 * d * (510 - u), 255));
  return mn;
}

}  // namespace

// ---- colour helpers

TteColor ColorToTeColor(TColor color, uint8_t alpha) {
  const TColor rgb = ColorToRGB(color);
  return TteColor(alpha) << 24 | TteColor(GetRValue(rgb)) << 16 | TteColor(GetGValue(rgb)) << 8 |
         TteColor(GetBValue(rgb));
}

TColor TeColorToColor(TteColor c) {
  return TColor((c & 0xFF) << 16 | (c & 0xFF00) | ((c >> 16) & 0xFF));
}

TteColor MakeTeColor(int r, int g, int b, int a) {
  auto clamp = [](int v) { return TteColor(std::clamp(v, 0, 255)); };
  return clamp(a) << 24 | clamp(r) << 16 | clamp(g) << 8 | clamp(b);
}

TteColor ChangeHue(TteColor color, int delta) {
  const int r = int((color >> 16) & 0xFF), g = int((color >> 8) & 0xFF), b = int(color & 0xFF);
  const int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  // Grey has no hue; its lightness (M + m) / 2 is M itself.
  if (mx == mn) return MakeTeColor(mx, mx, mx, 255);
  int64_t h = int64_t(delta) + HueIndex(r, g, b);
  // One step each way, by 255 rather than 256.
  if (h >= 256) h -= 255;
  if (h < 0) h += 255;
  return MakeTeColor(HueChannel(mx, mn, h, 1), HueChannel(mx, mn, h, 0), HueChannel(mx, mn, h, -1),
                     255);
}

TteColor ChangeBrightness(TteColor c, int delta) {
  return MakeTeColor(int((c >> 16) & 0xFF) + delta, int((c >> 8) & 0xFF) + delta,
                     int(c & 0xFF) + delta, 255);
}

TteColor Lighten(TteColor c, int delta) {
  return MakeTeColor(int((c >> 16) & 0xFF) + delta, int((c >> 8) & 0xFF) + delta,
                     int(c & 0xFF) + delta, int(c >> 24));
}

TColor ChangeHueColor(TColor color, int delta) {
  return TeColorToColor(ChangeHue(ColorToTeColor(color), delta));
}
TColor ChangeBrightnessColor(TColor color, int delta) {
  return TeColorToColor(ChangeBrightness(ColorToTeColor(color), delta));
}
TColor LightenColor(TColor color, int delta) {
  return TeColorToColor(Lighten(ColorToTeColor(color), delta));
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return -1;
  const int64_t p = int64_t(a) * b;
  const bool negative = (p < 0) != (c < 0);
  const int64_t n = p < 0 ? -p : p, d = c < 0 ? -int64_t(c) : c;
  const int64_t q = (2 * n + d) / (2 * d);
  return ClampToInt32(negative ? -q : q);
}

// ---- registry

void TteBitmapRegistry::Add(TteBitmap* bitmap) {
  if (std::find(bitmaps_.begin(), bitmaps_.end(), bitmap) == bitmaps_.end())
    bitmaps_.push_back(bitmap);
}

void TteBitmapRegistry::Remove(TteBitmap* bitmap) {
  bitmaps_.erase(std::remove(bitmaps_.begin(), bitmaps_.end(), bitmap), bitmaps_.end());
}

TteBitmap* TteBitmapRegistry::FindByCanvas(const TCanvas* canvas) const {
  for (TteBitmap* b : bitmaps_)
    if (b->ExistingCanvas() == canvas) return b;
  return nullptr;
}

TteBitmapRegistry& BitmapRegistry() {
  // Never destroyed: bitmaps of process-wide objects (the current theme the manager
  // owns) are freed during exit after function statics made later than them, and
  // each one unregisters itself.
  static TteBitmapRegistry* registry = new TteBitmapRegistry;
  return *registry;
}

// ---- TteBitmap: storage

void TteBitmap::FreeAligned::operator()(TteColor* p) const {
  ::operator delete[](p, kPixelAlignment);
}

TteBitmap::TteBitmap() = default;

TteBitmap::~TteBitmap() { Clear(); }

void TteBitmap::Clear() {
  BitmapRegistry().Remove(this);
  if (canvas_) canvas_->SetImage(nullptr);
  surface_.reset();
  bits_.reset();
  width_ = height_ = 0;
}

void TteBitmap::SetSize(int32_t width, int32_t height) {
  const int64_t w = std::abs(int64_t(width)), h = std::abs(int64_t(height));
  if (w == 0 || h == 0 || (w == width_ && h == height_)) return;
  Clear();
  if (w > kMaxSide || h > kMaxSide || w * h > kMaxPixels)
    throw EAppError(QStringLiteral("Can't allocate the DIB handle"));
  void* memory = ::operator new[](size_t(w * h) * sizeof(TteColor), kPixelAlignment, std::nothrow);
  if (!memory) throw EAppError(QStringLiteral("Can't allocate the DIB handle"));
  bits_.reset(static_cast<TteColor*>(memory));
  surface_ = std::make_unique<QImage>(reinterpret_cast<uchar*>(memory), int(w), int(h),
                                      qsizetype(w * 4), QImage::Format_ARGB32);
  if (surface_->isNull()) {
    Clear();
    throw EAppError(QStringLiteral("Can't create compatible DC"));
  }
  width_ = int32_t(w);
  height_ = int32_t(h);
  if (canvas_) canvas_->SetImage(surface_.get());
  BitmapRegistry().Add(this);
}

TCanvas& TteBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(surface_.get());
  return *canvas_;
}

void TteBitmap::Assign(const TteBitmap& source) {
  if (&source == this) return;
  if (source.Empty()) {
    Clear();
  } else {
    SetSize(source.width_, source.height_);
    std::memcpy(bits_.get(), source.bits_.get(), size_t(width_) * height_ * sizeof(TteColor));
  }
  Name = source.Name;
  AlphaBlend = source.AlphaBlend;
  Transparent = source.Transparent;
}

void TteBitmap::Assign(const QImage& source) {
  if (source.isNull()) {
    Clear();
    return;
  }
  const bool withAlpha = source.hasAlphaChannel();
  const QImage image = source.convertToFormat(withAlpha ? QImage::Format_ARGB32
                                                        : QImage::Format_RGB32);
  SetSize(image.width(), image.height());
  for (int y = 0; y < height_; ++y)
    std::memcpy(ScanLine(y), image.constScanLine(y), size_t(width_) * sizeof(TteColor));
  if (withAlpha)
    CheckingAlpha();
  else
    SetAlpha(255);
}

QImage TteBitmap::AssignTo() const {
  if (Empty()) return {};
  QImage out(width_, height_, QImage::Format_ARGB32);
  out.fill(0);
  TCanvas canvas(&out);
  Draw(canvas, 0, 0);
  return out;
}

// ---- TteBitmap: pixels

void TteBitmap::Fill(TteColor color) {
  if (!Empty()) std::fill_n(bits_.get(), int64_t(width_) * height_, color);
}

void TteBitmap::FillRect(const TRect& r, TteColor color) {
  const TRect v = IntersectRect(r, BoundsRect());
  if (Empty() || v.IsEmpty()) return;
  if (!AlphaBlend) {
    for (int y = v.Top; y < v.Bottom; ++y) std::fill_n(PixelPtr(v.Left, y), v.Width(), color);
    return;
  }
  const TArrayOfteColor run(size_t(v.Width()), color);
  const TteRowOp blend = RowKernels().Blend;
  for (int y = v.Top; y < v.Bottom; ++y) blend(PixelPtr(v.Left, y), run.data(), v.Width());
}

void TteBitmap::SetAlpha(uint8_t alpha) { SetAlphaRect(alpha, BoundsRect()); }

void TteBitmap::SetAlphaRect(uint8_t alpha, const TRect& r) {
  const TRect v = IntersectRect(r, BoundsRect());
  if (Empty() || v.IsEmpty()) return;
  const TteColor a = TteColor(alpha) << 24;
  for (int y = v.Top; y < v.Bottom; ++y) {
    TteColor* p = PixelPtr(v.Left, y);
    for (int x = 0; x < v.Width(); ++x) p[x] = (p[x] & 0x00FFFFFFu) | a;
  }
}

void TteBitmap::CheckingAlpha() {
  AlphaBlend = false;
  const int64_t n = int64_t(width_) * height_;
  for (int64_t i = 0; i < n; ++i) {
    const TteColor a = bits_[size_t(i)] >> 24;
    if (a != 0 && a != 255) {
      AlphaBlend = true;
      return;
    }
  }
}

void TteBitmap::CheckingTransparent(TteColor color) {
  Transparent = false;
  auto near = [](TteColor a, TteColor b, int shift) {
    return std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) < 6;
  };
  const int64_t n = int64_t(width_) * height_;
  for (int64_t i = 0; i < n; ++i) {
    TteColor& p = bits_[size_t(i)];
    if (near(p, color, 16) && near(p, color, 8) && near(p, color, 0)) {
      p = kTeColorKey;
      Transparent = true;
    }
  }
}

TteColor TteBitmap::GetPixel(int x, int y) const {
  if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return *PixelPtr(x, y);
}

void TteBitmap::SetPixel(int x, int y, TteColor color) {
  if (!Empty() && x >= 0 && y >= 0 && x < width_ && y < height_) *PixelPtr(x, y) = color;
}

void TteBitmap::FlipVert() {
  for (int i = 0; i < height_ / 2; ++i)
    std::swap_ranges(ScanLine(i), ScanLine(i) + width_, ScanLine(height_ - 1 - i));
}

void TteBitmap::ChangeHue(int delta) {
  if (delta == 0 || Empty()) return;
  // Theme images repeat a few colours many times; remember the last one.
  TteColor lastIn = 0, lastOut = ::ChangeHue(0, delta);
  const int64_t n = int64_t(width_) * height_;
  for (int64_t i = 0; i < n; ++i) {
    TteColor& p = bits_[size_t(i)];
    if ((p >> 24) == 0) continue;
    const TteColor rgb = p & 0x00FFFFFFu;
    if (rgb != lastIn) {
      lastIn = rgb;
      lastOut = ::ChangeHue(rgb, delta);
    }
    p = (lastOut & 0x00FFFFFFu) | (p & 0xFF000000u);
  }
}

void TteBitmap::ChangeBrightness(int delta) {
  if (delta == 0 || Empty()) return;
  const int64_t n = int64_t(width_) * height_;
  for (int64_t i = 0; i < n; ++i) {
    TteColor& p = bits_[size_t(i)];
    if ((p >> 24) != 0) p = (::ChangeBrightness(p, delta) & 0x00FFFFFFu) | (p & 0xFF000000u);
  }
}

QRegion TteBitmap::CreateRegion(int x, int y) const {
  // Rows with the same runs are merged into one band, which keeps the region small
  // for the usual window shapes (straight sides, a few rounded corner rows).
  std::vector<QRect> rects;
  std::vector<std::pair<int, int>> runs, previous;
  size_t bandStart = 0;
  for (int row = 0; row < height_; ++row) {
    runs.clear();
    const TteColor* p = PixelPtr(0, row);
    for (int i = 0; i < width_;) {
      if (IsKeyPixel(p[i])) {
        ++i;
        continue;
      }
      const int start = i;
      while (i < width_ && !IsKeyPixel(p[i])) ++i;
      runs.emplace_back(start, i);
    }
    if (row > 0 && runs == previous) {
      for (size_t k = bandStart; k < rects.size(); ++k) rects[k].setBottom(rects[k].bottom() + 1);
      continue;
    }
    bandStart = rects.size();
    for (auto [start, end] : runs) rects.emplace_back(x + start, y + row, end - start, 1);
    previous = runs;
  }
  QRegion region;
  region.setRects(rects.data(), int(rects.size()));
  return region;
}

// ---- TteBitmap: drawing

// Only the flags make a draw see-through. A copy covers every pixel, alpha 0 included:
// theme painting draws an image opaque by clearing its flags, and bitmaps painted
// through the canvas (which never writes alpha) must show when drawn.
TteRowOp TteBitmap::RowOp() const {
  const TteRowKernels& k = RowKernels();
  if (AlphaBlend) return k.Blend;
  if (Transparent) return k.KeyCopy;
  return k.Copy;
}

void TteBitmap::Draw(TteBitmap& target, int x, int y) const {
  DrawTo(target, SafeBounds(x, y, width_, height_), BoundsRect());
}

void TteBitmap::Draw(TteBitmap& target, int x, int y, const TRect& src) const {
  DrawTo(target, SafeBounds(x, y, src.Width(), src.Height()), src);
}

void TteBitmap::Draw(TteBitmap& target, const TRect& dst, const TRect& src) const {
  DrawTo(target, dst, src);
}

void TteBitmap::DrawTo(TteBitmap& target, TRect dst, const TRect& src) const {
  if (Empty() || target.Empty()) return;
  if (src.IsEmpty() || src.Left < 0 || src.Top < 0 || src.Right > width_ || src.Bottom > height_)
    return;
  const TRect v = IntersectRect(dst, target.BoundsRect());
  if (v.IsEmpty()) return;
  if (&target == this) {
    // Drawing a bitmap onto itself reads from a copy, so overlapping rectangles
    // see the pixels as they were before the draw.
    TteBitmap copy;
    copy.SetSize(src.Width(), src.Height());
    for (int y = 0; y < src.Height(); ++y)
      std::memcpy(copy.ScanLine(y), PixelPtr(src.Left, src.Top + y), size_t(src.Width()) * 4);
    copy.AlphaBlend = AlphaBlend;
    copy.Transparent = Transparent;
    copy.DrawTo(target, dst, copy.BoundsRect());
    return;
  }

  const TteRowOp op = RowOp();
  const int64_t dw = int64_t(dst.Right) - dst.Left, dh = int64_t(dst.Bottom) - dst.Top;
  if (dw == src.Width() && dh == src.Height()) {
    const int sx = src.Left + (v.Left - dst.Left);
    for (int y = v.Top; y < v.Bottom; ++y)
      op(target.PixelPtr(v.Left, y), PixelPtr(sx, src.Top + (y - dst.Top)), v.Width());
    return;
  }

  thread_local std::vector<int32_t> columns, rows;
  thread_local TArrayOfteColor scratch;
  MapAxis(columns, int64_t(v.Left) - dst.Left, v.Width(), dw, src.Left, src.Right);
  MapAxis(rows, int64_t(v.Top) - dst.Top, v.Height(), dh, src.Top, src.Bottom);
  const int n = v.Width();
  const int32_t* col = columns.data();
  auto resample = [n, col](TteColor* __restrict out, const TteColor* __restrict in) {
    int i = 0;
    for (; i + 4 <= n; i += 4) {
      const TteColor a = in[col[i]], b = in[col[i + 1]], c = in[col[i + 2]], d = in[col[i + 3]];
      out[i] = a;
      out[i + 1] = b;
      out[i + 2] = c;
      out[i + 3] = d;
    }
    for (; i < n; ++i) out[i] = in[col[i]];
  };
  // A plain copy resamples straight into the target and repeats a finished row;
  // the other modes resample into the scratch row and reuse it while the source
  // row stays the same.
  const bool plainCopy = !AlphaBlend && !Transparent;
  scratch.resize(size_t(n));
  int32_t previous = -1;
  for (int i = 0; i < v.Height(); ++i) {
    const int32_t sy = rows[size_t(i)];
    TteColor* out = target.PixelPtr(v.Left, v.Top + i);
    if (i + 1 < v.Height() && rows[size_t(i) + 1] != sy) {
      // A shrinking draw jumps rows; ask for the next source row's span early.
      const char* next = reinterpret_cast<const char*>(PixelPtr(col[0], rows[size_t(i) + 1]));
      const char* end = reinterpret_cast<const char*>(PixelPtr(col[n - 1], rows[size_t(i) + 1]));
      for (; next <= end; next += 64) __builtin_prefetch(next);
    }
    if (plainCopy) {
      if (sy == previous)
        std::memcpy(out, out - target.width_, size_t(n) * sizeof(TteColor));
      else
        resample(out, PixelPtr(0, sy));
    } else {
      if (sy != previous) resample(scratch.data(), PixelPtr(0, sy));
      op(out, scratch.data(), n);
    }
    previous = sy;
  }
}

void TteBitmap::Draw(TCanvas& canvas, int x, int y) const {
  DrawToCanvas(canvas, SafeBounds(x, y, width_, height_), BoundsRect());
}

void TteBitmap::Draw(TCanvas& canvas, int x, int y, const TRect& src) const {
  DrawToCanvas(canvas, SafeBounds(x, y, src.Width(), src.Height()), src);
}

void TteBitmap::Draw(TCanvas& canvas, const TRect& dst) const {
  DrawToCanvas(canvas, dst, BoundsRect());
}

void TteBitmap::Draw(TCanvas& canvas, const TRect& dst, const TRect& src) const {
  DrawToCanvas(canvas, dst, src);
}

void TteBitmap::DrawToCanvas(TCanvas& canvas, const TRect& dst, const TRect& src) const {
  if (Empty() || src.IsEmpty() || src.Left < 0 || src.Top < 0 || src.Right > width_ ||
      src.Bottom > height_)
    return;
  const TPoint origin = canvas.Origin();
  if (TteBitmap* target = BitmapRegistry().FindByCanvas(&canvas)) {
    DrawTo(*target, dst.Offset(-origin.X, -origin.Y), src);
    return;
  }
  if (!canvas.HasSurface() || dst.IsEmpty()) return;
  if (!AlphaBlend && Transparent) {
    canvas.TransparentStretch(dst, *surface_, src, TColor(0x7F007F));
    return;
  }
  if (!AlphaBlend) {
    canvas.StretchCopy(dst, *surface_, src);
    return;
  }
  // Blend through a bitmap holding the canvas's pixels under the visible part of dst.
  const TRect visible = IntersectRect(dst, canvas.DeviceRect().Offset(origin.X, origin.Y));
  const QImage under = canvas.Grab(visible);
  if (under.isNull()) {
    // A device we cannot read back: the painter blends, close to but not exactly our
    // arithmetic, which only bitmap targets promise.
    canvas.BlendStretch(dst, *surface_, src);
    return;
  }
  TteBitmap work;
  work.SetSize(under.width(), under.height());
  for (int y = 0; y < work.height_; ++y)
    std::memcpy(work.ScanLine(y), under.constScanLine(y), size_t(work.width_) * 4);
  DrawTo(work, dst.Offset(-visible.Left, -visible.Top), src);
  canvas.StretchCopy(visible, *work.surface_, work.BoundsRect());
}

namespace {

// The tiles [first, last) along one axis whose span, cut at the destination's end,
// meets [lo, hi); tile k spans [start + k * size, start + (k + 1) * size).
std::pair<int64_t, int64_t> TileRange(int64_t start, int64_t end, int64_t size, int64_t lo,
                                      int64_t hi) {
  hi = std::min(hi, end);
  if (hi <= start || hi <= lo) return {0, 0};
  const int64_t first = lo > start ? (lo - start) / size : 0;
  const int64_t last = (hi - start + size - 1) / size;
  return {first, last};
}

}  // namespace

void TteBitmap::Tile(TCanvas& canvas, const TRect& dst, const TRect& src, const TRect& clip) const {
  const int64_t w = src.Width(), h = src.Height();
  if (Empty() || w <= 0 || h <= 0 || dst.IsEmpty()) return;
  if (src.Left < 0 || src.Top < 0 || src.Right > width_ || src.Bottom > height_) return;
  // Only tiles that meet the device (they draw nothing elsewhere) and, with a clip,
  // the clip rectangle are visited, so a huge destination costs no more than the device.
  const TPoint origin = canvas.Origin();
  const TRect device = canvas.DeviceRect().Offset(origin.X, origin.Y);
  auto [k0, k1] = TileRange(dst.Left, dst.Right, w, device.Left, device.Right);
  auto [j0, j1] = TileRange(dst.Top, dst.Bottom, h, device.Top, device.Bottom);
  if (!clip.IsEmpty()) {
    // A tile is drawn whole when it meets the clip; the columns and rows that meet
    // the clip and those that meet the device are both intervals, so intersect them.
    const auto [ck0, ck1] = TileRange(dst.Left, dst.Right, w, clip.Left, clip.Right);
    const auto [cj0, cj1] = TileRange(dst.Top, dst.Bottom, h, clip.Top, clip.Bottom);
    k0 = std::max(k0, ck0);
    k1 = std::min(k1, ck1);
    j0 = std::max(j0, cj0);
    j1 = std::min(j1, cj1);
  }
  if (k0 >= k1 || j0 >= j1) return;

  TteBitmap* target = BitmapRegistry().FindByCanvas(&canvas);
  if (target && target != this) {
    // Onto a bitmap every drawn pixel is the row operation of source pixel
    // ((x - left) mod w, (y - top) mod h), so the tiles of one source row are laid
    // out once as a whole row and written with one row operation per target row.
    const TRect tiles{ClampToInt32(dst.Left + k0 * w), ClampToInt32(dst.Top + j0 * h),
                      ClampToInt32(std::min<int64_t>(dst.Right, dst.Left + k1 * w)),
                      ClampToInt32(std::min<int64_t>(dst.Bottom, dst.Top + j1 * h))};
    const TRect area = IntersectRect(tiles.Offset(-origin.X, -origin.Y), target->BoundsRect());
    if (area.IsEmpty()) return;
    const int64_t left = int64_t(dst.Left) - origin.X, top = int64_t(dst.Top) - origin.Y;
    const TteRowOp op = RowOp();
    thread_local TArrayOfteColor row;
    row.resize(size_t(area.Width()));
    for (int64_t sy = 0; sy < h; ++sy) {
      int64_t y = area.Top + ((sy - (area.Top - top)) % h + h) % h;
      if (y >= area.Bottom) continue;
      const TteColor* in = PixelPtr(src.Left, int(src.Top + sy));
      int64_t sx = ((area.Left - left) % w + w) % w;
      for (int i = 0; i < area.Width(); ++i) {
        row[size_t(i)] = in[sx];
        if (++sx == w) sx = 0;
      }
      for (; y < area.Bottom; y += h) op(target->PixelPtr(area.Left, int(y)), row.data(), area.Width());
    }
    return;
  }
  for (int64_t j = j0; j < j1; ++j) {
    for (int64_t k = k0; k < k1; ++k) {
      const TRect tile = IntersectRect(SafeBounds(ClampToInt32(dst.Left + k * w),
                                                  ClampToInt32(dst.Top + j * h), w, h),
                                       dst);
      if (tile.IsEmpty()) continue;
      Draw(canvas, tile.Left, tile.Top,
           TRect{src.Left, src.Top, src.Left + tile.Width(), src.Top + tile.Height()});
    }
  }
}

void TteBitmap::DrawUnder(const TteBitmap& source, int x, int y, const TRect& src) {
  if (Empty() || source.Empty()) return;
  if (&source == this) {
    TteBitmap copy;
    copy.Assign(source);
    DrawUnder(copy, x, y, src);
    return;
  }
  TRect r = src;
  int64_t tx = x, ty = y;
  if (r.Left < 0) {
    tx -= r.Left;
    r.Left = 0;
  }
  if (r.Top < 0) {
    ty -= r.Top;
    r.Top = 0;
  }
  r.Right = std::min(r.Right, source.width_);
  r.Bottom = std::min(r.Bottom, source.height_);
  if (r.IsEmpty()) return;
  // Clipped to this bitmap's rectangle, so a run past the right edge does not
  // continue on the next row.
  for (int j = 0; j < r.Height(); ++j) {
    const int64_t py = ty + j;
    if (py < 0 || py >= height_) continue;
    for (int i = 0; i < r.Width(); ++i) {
      const int64_t px = tx + i;
      if (px < 0 || px >= width_) continue;
      TteColor& p = *PixelPtr(int(px), int(py));
      const TteColor q = *source.PixelPtr(r.Left + i, r.Top + j);
      const TteColor a = p >> 24;
      if (a == 0)
        p = q;
      else if (a < 255)
        p = BlendPixel(p, q);
    }
  }
}

// ---- bitmap record

void TteBitmap::LoadFromStream(QIODevice& stream) {
  const int32_t nameLength = ReadCheckedInt32(stream);
  if (nameLength < 0) ReadError();
  const QString name = QString::fromLatin1(ReadCheckedBytes(stream, nameLength));
  const int32_t width = ReadCheckedInt32(stream);
  const int32_t height = ReadCheckedInt32(stream);
  if (width < 0 || height == std::numeric_limits<int32_t>::min()) ReadError();
  const int64_t rows = std::abs(int64_t(height));
  if (width > kMaxSide || rows > kMaxSide || width * rows > kMaxPixels) ReadError();
  const int64_t bytes = width * rows * int64_t(sizeof(TteColor));

  if (bytes == 0) {
    // A record of no pixels gives an empty bitmap, not the previous pixels.
    Clear();
    Name = name;
    return;
  }
  if (!stream.isSequential()) {
    if (stream.size() - stream.pos() < bytes) ReadError();
    SetSize(width, int32_t(rows));
    Name = name;
    ReadCheckedInto(stream, reinterpret_cast<char*>(bits_.get()), bytes);
  } else {
    const QByteArray pixels = ReadCheckedBytes(stream, bytes);
    SetSize(width, int32_t(rows));
    Name = name;
    std::memcpy(bits_.get(), pixels.constData(), size_t(bytes));
  }
  if (height < 0) FlipVert();
}

void TteBitmap::SaveToStream(QIODevice& stream) const {
  const QByteArray name = Name.toLatin1();
  WriteInt32(stream, int32_t(name.size()));
  WriteExact(stream, name.constData(), name.size());
  WriteInt32(stream, width_);
  WriteInt32(stream, height_);
  if (!Empty())
    WriteExact(stream, reinterpret_cast<const char*>(bits_.get()),
               int64_t(width_) * height_ * int64_t(sizeof(TteColor)));
}

// ---- device-independent bitmaps

namespace {

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitfields = 3;
constexpr int64_t kDibInfoHeaderSize = 40;
// Headers this long carry the colour masks themselves (and from 56 bytes the alpha mask).
constexpr int64_t kDibMasksInHeaderSize = 52;
constexpr int64_t kDibAlphaMaskInHeaderSize = 56;
// Theme images are small; the bound keeps a one-bit bitmap of a few megabytes from
// asking for gigabytes of 32-bit pixels.
constexpr int64_t kMaxDibPixels = int64_t(1) << 24;

// One channel of a bit-field pixel, scaled to 0..255: round(v * 255 / max) where max is
// the mask shifted down, so five bits give 0, 8, 16, ... 255 and eight bits stay as
// they are.
class TDibChannel {
 public:
  explicit TDibChannel(uint32_t mask) : mask_(mask) {
    if (mask == 0) return;
    shift_ = std::countr_zero(mask);
    max_ = mask >> shift_;
  }
  bool Present() const { return mask_ != 0; }
  uint32_t Get(uint32_t pixel) const {
    if (mask_ == 0) return 0;
    const uint64_t v = (pixel & mask_) >> shift_;
    return uint32_t((v * 255 + max_ / 2) / max_);
  }

 private:
  uint32_t mask_;
  int shift_ = 0;
  uint64_t max_ = 1;
};

TteColor Opaque(uint32_t r, uint32_t g, uint32_t b) { return 0xFF000000u | r << 16 | g << 8 | b; }

}  // namespace

bool TteBitmap::LoadFromDib(QByteArrayView dib) {
  const int64_t size = dib.size();
  const char* d = dib.data();
  auto u16 = [d](int64_t at) { return qFromLittleEndian<uint16_t>(d + at); };
  auto u32 = [d](int64_t at) { return qFromLittleEndian<uint32_t>(d + at); };
  if (size < kDibInfoHeaderSize) return false;
  const int64_t headerSize = u32(0);
  if (headerSize < kDibInfoHeaderSize || headerSize > size) return false;
  const int32_t width = int32_t(u32(4));
  const int32_t height = int32_t(u32(8));
  const int bpp = u16(14);
  const uint32_t compression = u32(16);
  const uint32_t colorsUsed = u32(32);
  if (width <= 0 || height == 0 || height == std::numeric_limits<int32_t>::min()) return false;
  const bool topDown = height < 0;
  const int64_t rows = std::abs(int64_t(height));
  if (width > kMaxSide || rows > kMaxSide || width * rows > kMaxDibPixels) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  const bool bitfields = compression == kBiBitfields;
  if (compression != kBiRgb && !(bitfields && (bpp == 16 || bpp == 32))) return false;

  // Red, green, blue, alpha.
  uint32_t masks[4] = {};
  int64_t at = headerSize;
  if (bitfields) {
    if (headerSize >= kDibMasksInHeaderSize) {
      for (int i = 0; i < 3; ++i) masks[i] = u32(40 + 4 * i);
      if (headerSize >= kDibAlphaMaskInHeaderSize) masks[3] = u32(52);
    } else {
      // The plain header is followed by the three colour masks.
      if (size - at < 12) return false;
      for (int i = 0; i < 3; ++i) masks[i] = u32(at + 4 * i);
      at += 12;
    }
  } else if (bpp == 16) {
    masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
  } else if (bpp == 32) {
    masks[0] = 0x00FF0000, masks[1] = 0x0000FF00, masks[2] = 0x000000FF;
  }
  // 32-bit rows carry alpha in the byte the colours leave free, unless a mask says
  // otherwise; 16-bit ones never do.
  if (bpp == 32 && masks[3] == 0 && ~(masks[0] | masks[1] | masks[2]) == 0xFF000000u)
    masks[3] = 0xFF000000u;
  if (bpp != 32) masks[3] = 0;

  // A palette sits before the rows at every depth; above eight bits it is only a hint
  // for display and is skipped.
  int64_t paletteCount = colorsUsed;
  if (bpp <= 8 && paletteCount == 0) paletteCount = int64_t(1) << bpp;
  if (paletteCount > (size - at) / 4) return false;
  std::vector<TteColor> palette;
  if (bpp <= 8) {
    palette.resize(size_t(std::min<int64_t>(paletteCount, int64_t(1) << bpp)));
    for (size_t i = 0; i < palette.size(); ++i) {
      const uint8_t* q = reinterpret_cast<const uint8_t*>(d + at + 4 * int64_t(i));
      palette[i] = Opaque(q[2], q[1], q[0]);
    }
  }
  at += paletteCount * 4;

  const int64_t stride = (width * bpp + 31) / 32 * 4;
  if (stride * rows > size - at) return false;
  const TDibChannel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  std::vector<TteColor> pixels(size_t(width * rows));
  for (int64_t y = 0; y < rows; ++y) {
    const uint8_t* src =
        reinterpret_cast<const uint8_t*>(d + at + stride * (topDown ? y : rows - 1 - y));
    TteColor* out = pixels.data() + y * width;
    for (int64_t x = 0; x < width; ++x) {
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          const int64_t bit = x * bpp;
          const uint32_t index = (src[bit / 8] >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
          // An index past a short palette shows black, as the display would.
          out[x] = index < palette.size() ? palette[index] : Opaque(0, 0, 0);
          break;
        }
        case 24:
          out[x] = Opaque(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
          break;
        default: {
          const uint32_t p = bpp == 16 ? qFromLittleEndian<uint16_t>(src + 2 * x)
                                       : qFromLittleEndian<uint32_t>(src + 4 * x);
          const uint32_t a = alpha.Present() ? alpha.Get(p) : 255;
          out[x] = a << 24 | red.Get(p) << 16 | green.Get(p) << 8 | blue.Get(p);
        }
      }
    }
  }

  SetSize(width, int32_t(rows));
  std::memcpy(bits_.get(), pixels.data(), pixels.size() * sizeof(TteColor));
  Transparent = false;
  if (bpp == 32)
    CheckingAlpha();
  else
    AlphaBlend = false;
  return true;
}

bool TteBitmap::LoadFromResource(const TPeResourceReader& library, const QString& name) {
  const std::optional<QByteArrayView> dib = library.Find(kRtBitmap, name);
  return dib && LoadFromDib(*dib);
}

bool TteBitmap::LoadFromResource(const QString& libraryFile, const QString& name) {
  TPeResourceReader library;
  return library.Open(libraryFile) && LoadFromResource(library, name);
}

// ---- TteBitmapLink

void TteBitmapLink::Assign(const TteBitmapLink& source) {
  Bitmap = source.Bitmap;
  Left = source.Left;
  Top = source.Top;
  Right = source.Right;
  Bottom = source.Bottom;
  Name = source.Name;
  MarginTransparent = source.MarginTransparent;
  CornerTransparent = source.CornerTransparent;
  CenterTransparent = source.CenterTransparent;
}

bool TteBitmapLink::IsValid() const {
  return Bitmap && (int64_t(Right) - Left) * (int64_t(Bottom) - Top) > 0;
}

void TteBitmapLink::CheckTransparency(int ml, int mt, int mr, int mb) {
  MarginTransparent = CornerTransparent = CenterTransparent = false;
  if (!Bitmap) return;
  const int w = Right - Left, h = Bottom - Top;
  auto transparent = [&](int px, int py) {
    const TteColor c = Bitmap->GetPixel(Left + px, Top + py);
    return c != 0x33333333u && (c == kTeColorKey || (c >> 24) < 255);
  };
  const bool noMargins = ml == 0 && mt == 0 && mr == 0 && mb == 0;
  const TRect corners[4] = {{0, 0, ml, mt}, {w - mr, 0, w, mt}, {w - mr, h - mb, w, h},
                            {0, h - mb, ml, h}};
  const TRect margins[4] = {{ml, 0, w - mr, mt}, {ml, h - mb, w - mr, h},
                            {0, mt, ml, h - mb}, {w - mr, mt, w, h - mb}};
  const TRect centre{ml, mt, w - mr, h - mb};
  for (int py = 0; py < h; ++py) {
    for (int px = 0; px < w; ++px) {
      if (!transparent(px, py)) continue;
      if (noMargins) {
        CenterTransparent = true;
        return;
      }
      for (const TRect& r : corners)
        if (r.Contains(px, py)) CornerTransparent = true;
      for (const TRect& r : margins)
        if (r.Contains(px, py)) MarginTransparent = true;
      if (centre.Contains(px, py)) CenterTransparent = true;
    }
  }
}

// ---- TteBitmapList

int TteBitmapList::Add(std::unique_ptr<TteBitmap> bitmap) {
  items_.push_back(std::move(bitmap));
  return int(items_.size()) - 1;
}

TteBitmap* TteBitmapList::Items(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[size_t(index)].get();
}

TteBitmap* TteBitmapList::Find(const QString& name) const {
  for (const auto& b : items_)
    if (b && b->Name.compare(name, Qt::CaseInsensitive) == 0) return b.get();
  return nullptr;
}

std::unique_ptr<TteBitmapLink> TteBitmapList::GetLink(const QString& name, const TRect& rect) const {
  TteBitmap* bitmap = Find(name);
  if (!bitmap) return nullptr;
  auto link = std::make_unique<TteBitmapLink>();
  link->Bitmap = bitmap;
  link->Name = bitmap->Name;
  link->Left = rect.Left;
  link->Top = rect.Top;
  link->Right = rect.Right;
  link->Bottom = rect.Bottom;
  return link;
}

// ---- canvas helpers

void FillRectColor(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = color;
  canvas.FillRect(r);
}

namespace {
void SolidPen(TCanvas& canvas, TColor color) {
  canvas.Pen.Style = TPenStyle::psSolid;
  canvas.Pen.Width = 1;
  canvas.Pen.Color = color;
}
}  // namespace

void DrawRect(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Brush.Style = TBrushStyle::bsClear;
  SolidPen(canvas, color);
  canvas.Rectangle(r);
}

void DrawFrame3D(TCanvas& canvas, const TRect& r, TColor topLeft, TColor bottomRight) {
  SolidPen(canvas, topLeft);
  canvas.MoveTo(r.Left, r.Bottom - 2);
  canvas.LineTo(r.Left, r.Top);
  canvas.LineTo(r.Right - 1, r.Top);
  SolidPen(canvas, bottomRight);
  canvas.LineTo(r.Right - 1, r.Bottom - 1);
  canvas.LineTo(r.Left - 1, r.Bottom - 1);
}

void DrawFocusRect(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = color;
  canvas.DrawFocusRect(r);
}

void DrawRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color) {
  canvas.Brush.Style = TBrushStyle::bsClear;
  SolidPen(canvas, color);
  canvas.RoundRect(r, radius, radius);
}

void FillRoundRect(TCanvas& canvas, const TRect& r, int radius, TColor color) {
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = color;
  SolidPen(canvas, color);
  canvas.RoundRect(r, radius, radius);
}

void DrawPolygon(TCanvas& canvas, const TPoint* points, int count, TColor color) {
  if (!points || count < 2) return;
  canvas.Brush.Style = TBrushStyle::bsClear;
  SolidPen(canvas, color);
  canvas.Polygon(std::vector<TPoint>(points, points + count));
}

void FillPolygon(TCanvas& canvas, const TPoint* points, int count, TColor color) {
  if (!points || count < 2) return;
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = color;
  SolidPen(canvas, color);
  canvas.Polygon(std::vector<TPoint>(points, points + count));
}

void DrawGradient(TCanvas& canvas, const TRect& r, TColor c1, bool vertical, TColor c2) {
  if (r.IsEmpty()) return;
  const TColor from = ColorToRGB(c1), to = ColorToRGB(c2);
  const int size = vertical ? r.Height() : r.Width();
  const int n = std::min(255, size);
  auto channel = [&](int a, int b, int k) {
    // a + k (b - a) / n, rounded half to even on the exact value (never negative).
    return int(RoundHalfEvenDiv(int64_t(a) * n + int64_t(k) * (b - a), n));
  };
  for (int k = 0; k < n; ++k) {
    const int lo = MulDiv(k, size, n), hi = MulDiv(k + 1, size, n);
    const TRect band = vertical ? TRect{r.Left, r.Top + lo, r.Right, r.Top + hi}
                                : TRect{r.Left + lo, r.Top, r.Left + hi, r.Bottom};
    FillRectColor(canvas, band,
                  RGB(channel(GetRValue(from), GetRValue(to), k),
                      channel(GetGValue(from), GetGValue(to), k),
                      channel(GetBValue(from), GetBValue(to), k)));
  }
}

void FillDither(TCanvas& canvas, const TRect& r, TColor c1, TColor c2) {
  const TRect area{std::max(0, r.Left), std::max(0, r.Top), r.Right, r.Bottom};
  if (area.IsEmpty()) return;
  QImage pattern(8, 8, QImage::Format_RGB32);
  const TColor a = ColorToRGB(c1), b = ColorToRGB(c2);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) {
      const TColor c = ((x & 1) == (y & 1)) ? b : a;
      pattern.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
  const TBrush saved = canvas.Brush;
  canvas.Brush.Style = TBrushStyle::bsPattern;
  canvas.Brush.Pattern = pattern;
  canvas.FillRect(area);
  canvas.Brush = saved;
}

void DrawWideText(TCanvas& canvas, const QString& text, TRect r, uint32_t format) {
  const TBrushStyle saved = canvas.Brush.Style;
  canvas.Brush.Style = TBrushStyle::bsClear;
  canvas.DrawText(text, r, format);
  canvas.Brush.Style = saved;
}

int TextWidth(TCanvas& canvas, const QString& text) { return canvas.TextWidth(text); }
int TextHeight(TCanvas& canvas, const QString& text) { return canvas.TextHeight(text); }

QString EllipsizeText(TCanvas& canvas, const QString& text, int width) {
  if (canvas.TextWidth(text) <= width) return text;
  const QString dots = QStringLiteral("...");
  QString prefix;
  for (qsizetype i = 0; i < text.size();) {
    // Whole characters only: a surrogate pair moves as one.
    const qsizetype step = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
    const QString longer = prefix + text.mid(i, step);
    if (canvas.TextWidth(longer + dots) > width) break;
    prefix = longer;
    i += step;
  }
  return prefix + dots;
}

void DrawVerticalText(TCanvas& canvas, const QString& text, const TRect& r, bool flag,
                      uint32_t format) {
  if (r.IsEmpty()) return;
  const int w = r.Width(), h = r.Height();
  TteBitmap flat;
  flat.SetSize(h, w);
  flat.Fill(kTeColorKey);
  TCanvas& fc = flat.Canvas();
  fc.Font = canvas.Font;
  // Smoothed edges would mix with the key colour into a fringe the key copy keeps.
  fc.Font.setStyleStrategy(QFont::NoAntialias);
  DrawWideText(fc, text, {0, 0, h, w}, format);
  TteBitmap turned;
  turned.SetSize(w, h);
  for (int sy = 0; sy < w; ++sy)
    for (int sx = 0; sx < h; ++sx) {
      const TteColor p = *flat.PixelPtr(sx, sy);
      if (flag)
        *turned.PixelPtr(sy, h - 1 - sx) = p;
      else
        *turned.PixelPtr(w - 1 - sy, sx) = p;
    }
  turned.Transparent = true;
  turned.Draw(canvas, r.Left, r.Top);
}

void DrawMaskedFrameControl(TCanvas& canvas, const TRect& r, uint32_t kind, uint32_t state,
                            TColor color) {
  if (r.IsEmpty()) return;
  TteBitmap mask;
  mask.SetSize(r.Width(), r.Height());
  mask.Fill(0);
  mask.Canvas().DrawFrameControl(mask.BoundsRect(), kind, state);
  // The glyph is what the drawing left at exactly 0: black, with the alpha byte the
  // canvas never touches.
  const TteColor glyph = ColorToTeColor(color, 255);
  const int64_t n = int64_t(mask.Width()) * mask.Height();
  for (int64_t i = 0; i < n; ++i) mask.Bits()[i] = mask.Bits()[i] == 0 ? glyph : kTeColorKey;
  mask.Transparent = true;
  mask.Draw(canvas, r.Left, r.Top);
}

void DrawSilhouette(TCanvas& canvas, int x, int y, TColor color, const TteBitmap& bitmap) {
  if (bitmap.Empty()) return;
  TteBitmap shade;
  shade.Assign(bitmap);
  shade.CheckingTransparent(kTeColorKey);
  const TteColor c = ColorToTeColor(color, 100);
  const int64_t n = int64_t(shade.Width()) * shade.Height();
  for (int64_t i = 0; i < n; ++i)
    if (shade.Bits()[i] > 0x00FFFFFFu) shade.Bits()[i] = c;
  shade.AlphaBlend = true;
  shade.Transparent = false;
  shade.Draw(canvas, x, y);
}
