// The shared menu glyphs.
#include "menu_glyphs.h"

#include <vector>

#include "te_bitmap.h"
#include "theme_types.h"

void DrawCheckMarkLines(TCanvas& canvas, int32_t dx, int32_t dy, TColor color) {
  static constexpr TPoint kFirst[] = {{-2, -2}, {0, 0}, {4, -4}, {4, -3}, {0, 1}, {-2, -1}, {-2, -2}};
  static constexpr TPoint kSecond[] = {{-3, -2}, {-3, -1}, {0, 2}, {5, -3}, {5, -5}};
  canvas.Pen = TPen{color, 1, TPenStyle::psSolid};
  auto line = [&](const auto& points) {
    std::vector<TPoint> moved;
    for (const TPoint& p : points) moved.push_back({p.X + dx, p.Y + dy});
    canvas.Polyline(moved);
  };
  line(kFirst);
  line(kSecond);
}

bool PaintMenuMarkGlyph(TCanvas& canvas, const TRect& r, uint8_t glyphKind) {
  switch (glyphKind) {
    case kgkCheck: {
      const TRect box = CenteredBox(r, 16, 16);
      const int32_t cx = int32_t((int64_t(box.Left) + box.Right) / 2);
      const int32_t cy = int32_t((int64_t(box.Top) + box.Bottom) / 2);
      DrawCheckMarkLines(canvas, cx - 2, cy + 1, canvas.Font.Color);
      return true;
    }
    case kgkRadio:
      FillRoundRect(canvas, CenteredBox(r, 6, 6), 3, clBlack);
      return true;
    case kgkSubMenu:
      DrawMaskedFrameControl(canvas, CenteredBox(r, 16, 16), DFC_MENU, DFCS_MENUARROW,
                             canvas.Font.Color);
      return true;
    default:
      return false;
  }
}
