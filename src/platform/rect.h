// TRect and TPoint: the program's rectangles are four signed 32-bit edges with
// right and bottom exclusive, unlike QRect whose right() is inclusive.
#pragma once

#include <QRect>
#include <algorithm>
#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  // Empty when it covers no pixel (a reversed rectangle is empty too).
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  TRect Offset(int32_t dx, int32_t dy) const {
    return {Left + dx, Top + dy, Right + dx, Bottom + dy};
  }
  bool Contains(int32_t x, int32_t y) const {
    return x >= Left && x < Right && y >= Top && y < Bottom;
  }
  QRect ToQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
  static TRect FromQRect(const QRect& r) {
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// The rectangle an operation returns when it has none.
inline constexpr TRect kNullRect{-1, -1, -1, -1};

inline TRect Bounds(int32_t x, int32_t y, int32_t w, int32_t h) { return {x, y, x + w, y + h}; }

// A 64-bit coordinate brought into the 32-bit range (sums of outside values may not fit).
inline int32_t ClampToInt32(int64_t v) { return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// r moved in by dx on the left and right and by dy at the top and bottom.
inline TRect Inset(const TRect& r, int32_t dx, int32_t dy) {
  return {r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy};
}
inline TRect Inset(const TRect& r, int32_t by) { return Inset(r, by, by); }

// A w x h box centred in r, halves rounded toward zero (so it may start before r).
// Worked in 64 bits and clamped, so huge rectangles from outside cannot overflow.
inline TRect CenteredBox(const TRect& r, int32_t w, int32_t h) {
  const int64_t left = r.Left + (int64_t(r.Right) - r.Left - w) / 2;
  const int64_t top = r.Top + (int64_t(r.Bottom) - r.Top - h) / 2;
  return {ClampToInt32(left), ClampToInt32(top), ClampToInt32(left + w), ClampToInt32(top + h)};
}

// Intersection; an empty result is returned as (0, 0, 0, 0).
inline TRect IntersectRect(const TRect& a, const TRect& b) {
  TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
  return r.IsEmpty() ? TRect{} : r;
}
