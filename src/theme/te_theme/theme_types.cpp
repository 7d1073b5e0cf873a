// Record builders that do more than copy their arguments: window-button hit codes
// and the glyph records made from an image list.
#include "theme_types.h"

#include <QImage>
#include <memory>

#include "te_bitmap.h"

int WindowButtonHitCode(int button) {
  static constexpr int kCodes[kWindowButtonCount] = {17, 11, 12, 13, 13, 14, 14, 15, 15, 16,
                                                     0,  0,  0};
  return button >= 0 && button < kWindowButtonCount ? kCodes[button] : 0;
}

TteWindowInfo WindowInfo(const TRect& rect, bool active, uint16_t buttons,
                         const QString& caption) {
  TteWindowInfo info;
  info.Rect = rect;
  info.Active = active;
  info.Buttons = buttons;
  info.Caption = caption;
  return info;
}

namespace {

// The one scratch bitmap the image-list builders render into. A plain pointer, which
// has no destructor of its own: the manager frees the bitmap when it goes, and a static
// unique_ptr made after the manager would already be gone by then.
TteBitmap*& GlyphScratch() {
  static TteBitmap* scratch = nullptr;
  return scratch;
}

const TteBitmap* RenderListImage(const TteImageList& list, int index, bool enabled) {
  if (!list.Strip || list.Strip->isNull() || index < 0) return nullptr;
  const int h = list.Strip->height();
  const int w = list.Width > 0 ? list.Width : h;
  if (w <= 0 || (int64_t(index) + 1) * w > list.Strip->width()) return nullptr;
  TteBitmap*& scratch = GlyphScratch();
  delete scratch;
  scratch = new TteBitmap;
  scratch->SetSize(w, h);
  const QImage image =
      list.Strip->copy(index * w, 0, w, h).convertToFormat(QImage::Format_ARGB32);
  if (list.Masked) {
    // Only the image's own pixels show: the rest stays key colour.
    scratch->Fill(kTeColorKey);
    scratch->Transparent = true;
  }
  for (int y = 0; y < h; ++y) {
    const auto* src = reinterpret_cast<const TteColor*>(image.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      TteColor p = src[x];
      if (list.Masked && (p >> 24) < 128) continue;
      if (!enabled) {
        // Disabled images are drawn as their grey level.
        const int g = (int((p >> 16) & 0xFF) * 30 + int((p >> 8) & 0xFF) * 59 + int(p & 0xFF) * 11) / 100;
        p = (p & 0xFF000000u) | uint32_t(g << 16 | g << 8 | g);
      }
      *scratch->PixelPtr(x, y) = list.Masked ? (p | 0xFF000000u) : p;
    }
  }
  return scratch;
}

}  // namespace

TteGlyphInfo GlyphInfo(const TRect& r, const TteImageList& list, int index, uint8_t state) {
  return {r, RenderListImage(list, index, true), state};
}

TteItemGlyphInfo ItemGlyphInfo(const TRect& r, const TteImageList& list, int index, bool enabled,
                               uint8_t state) {
  return {r, RenderListImage(list, index, enabled), state, kgkImage};
}

void FreeGlyphScratch() {
  delete GlyphScratch();
  GlyphScratch() = nullptr;
}
