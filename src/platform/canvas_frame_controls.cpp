// TCanvas::DrawFrameControl: caption buttons, scroll and combo arrows, menu glyphs and
// classic buttons, drawn with our own shapes in the classic system colours. Glyphs are
// pure black, so a caller that draws onto a zeroed 32-bit surface finds them as the
// pixels still at 0 (the surface's alpha is never touched).
#include <algorithm>

#include "canvas.h"

namespace {

// Saves the pen and brush and restores them when the glyph is done.
class StyleGuard {
 public:
  explicit StyleGuard(TCanvas& c) : canvas_(c), pen_(c.Pen), brush_(c.Brush) {}
  ~StyleGuard() {
    canvas_.Pen = pen_;
    canvas_.Brush = brush_;
  }

 private:
  TCanvas& canvas_;
  TPen pen_;
  TBrush brush_;
};

void Fill(TCanvas& c, const TRect& r, TColor color) {
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = color;
  c.FillRect(r);
}

// One ring of a 3-D edge: top and left in tl, bottom and right in br.
void Ring(TCanvas& c, const TRect& r, TColor tl, TColor br) {
  if (r.IsEmpty()) return;
  Fill(c, {r.Left, r.Top, r.Right - 1, r.Top + 1}, tl);
  Fill(c, {r.Left, r.Top + 1, r.Left + 1, r.Bottom - 1}, tl);
  Fill(c, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, br);
  Fill(c, {r.Right - 1, r.Top, r.Right, r.Bottom - 1}, br);
}

TRect Deflate(const TRect& r, int dx, int dy) {
  return {r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy};
}

// The classic button: face, two rings raised or sunk, or one flat ring.
TRect ButtonFrame(TCanvas& c, const TRect& r, uint32_t state) {
  if (state & DFCS_FLAT) {
    Ring(c, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
  } else if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    Ring(c, r, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    Ring(c, Deflate(r, 1, 1), GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_3DLIGHT));
  } else {
    Ring(c, r, GetSysColor(COLOR_3DLIGHT), GetSysColor(COLOR_3DDKSHADOW));
    Ring(c, Deflate(r, 1, 1), GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
  }
  const TRect face = Deflate(r, (state & DFCS_FLAT) ? 1 : 2, (state & DFCS_FLAT) ? 1 : 2);
  Fill(c, face, GetSysColor(COLOR_BTNFACE));
  return face;
}

// A square of side n centred in r.
TRect CentredBox(const TRect& r, int n) {
  const int left = r.Left + (r.Width() - n) / 2, top = r.Top + (r.Height() - n) / 2;
  return {left, top, left + n, top + n};
}

enum class Arrow { Up, Down, Left, Right };

// A solid triangle of `size` rows, its base 2 * size - 1 wide, centred in r.
void DrawArrow(TCanvas& c, const TRect& r, Arrow dir, int size, TColor color) {
  const bool vertical = dir == Arrow::Up || dir == Arrow::Down;
  const int cx = r.Left + (r.Width() - (vertical ? 2 * size - 1 : size)) / 2;
  const int cy = r.Top + (r.Height() - (vertical ? size : 2 * size - 1)) / 2;
  for (int k = 0; k < size; ++k) {
    const int half = (dir == Arrow::Up || dir == Arrow::Left) ? k : size - 1 - k;
    if (vertical)
      Fill(c, {cx + size - 1 - half, cy + k, cx + size + half, cy + k + 1}, color);
    else
      Fill(c, {cx + k, cy + size - 1 - half, cx + k + 1, cy + size + half}, color);
  }
}

void DrawCaptionGlyph(TCanvas& c, const TRect& box, uint32_t glyph, TColor color) {
  const int n = box.Width();
  const int thick = n >= 6 ? 2 : 1;
  switch (glyph) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i < n; ++i) {
        Fill(c, {box.Left + i, box.Top + i, std::min(box.Right, box.Left + i + thick), box.Top + i + 1}, color);
        Fill(c, {std::max(box.Left, box.Right - i - thick), box.Top + i, box.Right - i, box.Top + i + 1}, color);
      }
      break;
    case DFCS_CAPTIONMIN:
      Fill(c, {box.Left, box.Bottom - thick, box.Left + std::max(3, n * 2 / 3), box.Bottom}, color);
      break;
    case DFCS_CAPTIONMAX:
      Fill(c, {box.Left, box.Top, box.Right, box.Top + thick}, color);
      Ring(c, box, color, color);
      break;
    case DFCS_CAPTIONRESTORE: {
      const int s = std::max(3, n * 2 / 3);
      const TRect back{box.Right - s, box.Top, box.Right, box.Top + s};
      const TRect front{box.Left, box.Bottom - s, box.Left + s, box.Bottom};
      Fill(c, {back.Left, back.Top, back.Right, back.Top + thick}, color);
      Ring(c, back, color, color);
      Fill(c, front, GetSysColor(COLOR_BTNFACE));
      Fill(c, {front.Left, front.Top, front.Right, front.Top + thick}, color);
      Ring(c, front, color, color);
      break;
    }
    case DFCS_CAPTIONHELP: {
      static const char* const kQuestion[] = {".###.", "#...#", "....#", "...#.",
                                              "..#..", "..#..", ".....", "..#.."};
      const int scale = std::max(1, n / 8);
      const int left = box.Left + (n - 5 * scale) / 2, top = box.Top + (n - 8 * scale) / 2;
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 5; ++x)
          if (kQuestion[y][x] == '#')
            Fill(c, Bounds(left + x * scale, top + y * scale, scale, scale), color);
      break;
    }
    default: break;
  }
}

// A glyph drawn embossed when inactive, shifted one pixel when pushed.
template <typename Glyph>
void PaintGlyph(const TRect& box, uint32_t state, Glyph&& glyph) {
  const TRect at = (state & DFCS_PUSHED) ? box.Offset(1, 1) : box;
  if (state & DFCS_INACTIVE) {
    glyph(at.Offset(1, 1), GetSysColor(COLOR_BTNHIGHLIGHT));
    glyph(at, GetSysColor(COLOR_GRAYTEXT));
  } else {
    glyph(at, clBlack);
  }
}

bool DrawCaption(TCanvas& c, const TRect& r, uint32_t state) {
  const uint32_t glyph = state & 0xFF;
  if (glyph > DFCS_CAPTIONHELP) return false;
  const TRect face = (state & DFCS_TRANSPARENT) ? Deflate(r, 2, 2) : ButtonFrame(c, r, state);
  const int n = std::max(1, std::min(face.Width(), face.Height()) - 2);
  PaintGlyph(CentredBox(face, n), state, [&](const TRect& box, TColor color) {
    DrawCaptionGlyph(c, box, glyph, color);
  });
  return true;
}

bool DrawScroll(TCanvas& c, const TRect& r, uint32_t state) {
  const uint32_t glyph = state & 0xFF;
  if (glyph == DFCS_SCROLLSIZEGRIP) {
    if (!(state & DFCS_TRANSPARENT)) Fill(c, r, GetSysColor(COLOR_BTNFACE));
    const int n = std::min(r.Width(), r.Height());
    c.Pen.Style = TPenStyle::psSolid;
    c.Pen.Width = 1;
    for (int k = 1; k + 1 < n; k += 4) {
      for (int line = 0; line < 3; ++line) {
        c.Pen.Color = line == 0 ? GetSysColor(COLOR_BTNHIGHLIGHT) : GetSysColor(COLOR_BTNSHADOW);
        const int o = k + line;
        if (o >= n) break;
        c.MoveTo(r.Right - 1, r.Bottom - 1 - o);
        c.LineTo(r.Right - 2 - o, r.Bottom);
      }
    }
    return true;
  }
  Arrow dir;
  switch (glyph) {
    case DFCS_SCROLLUP: dir = Arrow::Up; break;
    case DFCS_SCROLLDOWN: case DFCS_SCROLLCOMBOBOX: dir = Arrow::Down; break;
    case DFCS_SCROLLLEFT: dir = Arrow::Left; break;
    case DFCS_SCROLLRIGHT: dir = Arrow::Right; break;
    default: return false;
  }
  const TRect face = (state & DFCS_TRANSPARENT) ? Deflate(r, 2, 2) : ButtonFrame(c, r, state);
  const int size = std::max(1, (std::min(r.Width(), r.Height()) - 3) / 3);
  PaintGlyph(face, state, [&](const TRect& box, TColor color) {
    DrawArrow(c, box, dir, size, color);
  });
  return true;
}

// Menu glyphs come black on white, the form a caller can use as a mask.
bool DrawMenu(TCanvas& c, const TRect& r, uint32_t state) {
  const uint32_t glyph = state & 0xFF;
  if (glyph != DFCS_MENUARROW && glyph != DFCS_MENUCHECK && glyph != DFCS_MENUBULLET &&
      glyph != DFCS_MENUARROWRIGHT)
    return false;
  if (!(state & DFCS_TRANSPARENT)) Fill(c, r, clWhite);
  const int n = std::min(r.Width(), r.Height());
  switch (glyph) {
    case DFCS_MENUARROW:
    case DFCS_MENUARROWRIGHT:
      DrawArrow(c, r, glyph == DFCS_MENUARROW ? Arrow::Right : Arrow::Left,
                std::max(1, (n - 3) / 3), clBlack);
      break;
    case DFCS_MENUCHECK: {
      // A tick three pixels thick: down-right for a third, up-right for the rest.
      const int w = std::max(3, n / 2), left = r.Left + (r.Width() - w) / 2;
      const int bottom = r.Top + (r.Height() + w / 2) / 2 + 1;
      const int knee = w / 3;
      for (int x = 0; x < w; ++x) {
        const int y = x <= knee ? bottom - 1 - (knee - x) : bottom - 1 - (x - knee);
        Fill(c, {left + x, y - 2, left + x + 1, y + 1}, clBlack);
      }
      break;
    }
    case DFCS_MENUBULLET: {
      const int d = std::max(2, n / 3);
      c.Pen.Style = TPenStyle::psSolid;
      c.Pen.Width = 1;
      c.Pen.Color = clBlack;
      c.Brush.Style = TBrushStyle::bsSolid;
      c.Brush.Color = clBlack;
      c.Ellipse(CentredBox(r, d));
      break;
    }
  }
  return true;
}

bool DrawButton(TCanvas& c, const TRect& r, uint32_t state) {
  if (state & DFCS_BUTTONPUSH) {
    ButtonFrame(c, r, state);
    return true;
  }
  const bool radio = (state & 0xF) == DFCS_BUTTONRADIO;
  const TRect box = CentredBox(r, std::min({13, r.Width(), r.Height()}));
  const TColor face = (state & (DFCS_INACTIVE | DFCS_PUSHED)) ? GetSysColor(COLOR_BTNFACE)
                                                               : GetSysColor(COLOR_WINDOW);
  const TColor mark = (state & DFCS_INACTIVE) ? GetSysColor(COLOR_GRAYTEXT) : clBlack;
  if (radio) {
    c.Pen.Style = TPenStyle::psSolid;
    c.Pen.Width = 1;
    c.Pen.Color = GetSysColor(COLOR_BTNSHADOW);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = face;
    c.Ellipse(box);
    if (state & DFCS_CHECKED) {
      c.Pen.Color = mark;
      c.Brush.Color = mark;
      c.Ellipse(CentredBox(box, 4));
    }
    return true;
  }
  if (state & DFCS_FLAT) {
    Ring(c, box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNSHADOW));
    Fill(c, Deflate(box, 1, 1), face);
  } else {
    Ring(c, box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
    Ring(c, Deflate(box, 1, 1), GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
    Fill(c, Deflate(box, 2, 2), face);
  }
  if (state & DFCS_CHECKED) {
    const TColor tick = ((state & 0xF) == DFCS_BUTTON3STATE) ? GetSysColor(COLOR_BTNSHADOW) : mark;
    const TRect inner = Deflate(box, 2, 2);
    const int w = std::max(3, inner.Width() - 2), knee = w / 3;
    const int left = inner.Left + (inner.Width() - w) / 2, bottom = inner.Bottom - 2;
    for (int x = 0; x < w; ++x) {
      const int y = x <= knee ? bottom - (knee - x) : bottom - (x - knee);
      Fill(c, {left + x, y - 2, left + x + 1, y + 1}, tick);
    }
  }
  return true;
}

}  // namespace

bool TCanvas::DrawFrameControl(const TRect& r, uint32_t kind, uint32_t state) {
  if (r.IsEmpty()) return false;
  StyleGuard guard(*this);
  switch (kind) {
    case DFC_CAPTION: return DrawCaption(*this, r, state);
    case DFC_SCROLL: return DrawScroll(*this, r, state);
    case DFC_MENU: return DrawMenu(*this, r, state);
    case DFC_BUTTON: return DrawButton(*this, r, state);
    default: return false;
  }
}
