// Painting a theme element onto a bitmap filled with a marker no theme paints, so the
// pixels the element leaves alone show.
#pragma once

#include <functional>
#include <memory>

#include "te_bitmap.h"

inline constexpr TteColor kMarker = 0x12345678;

struct Painted {
  TteBitmap Bitmap;
  // RGB of a pixel; the canvas never touches alpha, so that is checked separately.
  TColor At(int x, int y) const { return TeColorToColor(Bitmap.GetPixel(x, y)); }
  bool Untouched(int x, int y) const { return Bitmap.GetPixel(x, y) == kMarker; }
  bool AllUntouched() const {
    for (int y = 0; y < Bitmap.Height(); ++y)
      for (int x = 0; x < Bitmap.Width(); ++x)
        if (!Untouched(x, y)) return false;
    return true;
  }
};

template <class Theme>
using ThemePaintFn = std::function<void(Theme&, TCanvas&, const TRect&)>;

// A w x h marker bitmap painted by fn with one default-made theme of the kind, which
// is given the whole bitmap as its rectangle.
template <class Theme>
std::unique_ptr<Painted> PaintWith(const ThemePaintFn<Theme>& fn, int w, int h) {
  static Theme theme;
  auto p = std::make_unique<Painted>();
  p->Bitmap.SetSize(w, h);
  p->Bitmap.Fill(kMarker);
  fn(theme, p->Bitmap.Canvas(), TRect{0, 0, w, h});
  return p;
}
