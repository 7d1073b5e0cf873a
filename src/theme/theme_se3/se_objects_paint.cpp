// Skin objects: layout, painting, caption buttons' visibility and window regions.
#include <cmath>

#include "se_objects.h"
#include "theme_tables.h"

namespace {

// Text is measured the way a screen canvas measures it; one scratch surface serves all.
TCanvas& MeasureCanvas() {
  static QImage image(1, 1, QImage::Format_ARGB32);
  static TCanvas canvas(&image);
  return canvas;
}

// A tile style that draws no piece at all.
constexpr uint8_t kNoPiece = 0xFF;

bool IsStretch(uint8_t style) {
  return style == tsStretch || style == tsVertCenterStretch || style == tsHorzCenterStretch;
}

// One piece of an image: stretched for the stretch styles, at its own size centred in
// the whole object for tsCenter, tiled otherwise. The image's colour key is on only when
// the piece holds key pixels, so opaque pieces are copied plainly.
void DrawPiece(TCanvas& canvas, TteBitmap& image, const TRect& src, const TRect& dst,
               uint8_t style, bool keyed, const TRect& whole, const TRect& clip) {
  if (src.IsEmpty() || dst.IsEmpty() || style == kNoPiece) return;
  const bool saved = image.Transparent;
  image.Transparent = keyed;
  if (IsStretch(style))
    image.Draw(canvas, dst, src);
  else if (style == tsCenter)
    image.Draw(canvas, CenteredBox(whole, src.Width(), src.Height()), src);
  else
    image.Tile(canvas, dst, src, clip);
  image.Transparent = saved;
}

struct TNineSlice {
  TRect Target;  // where the image goes
  int ml, mt, mr, mb;
  uint8_t CentreStyle, BorderStyle;
  bool CentreKey, EdgeKey, CornerKey, TopLeftKey;
};

// The centre into the target inset by the margins, the four edges into the bands between
// the corners, and the corners at their own size.
void PaintNineSlice(TCanvas& canvas, const TteBitmapLink& link, const TNineSlice& n,
                    const TRect& whole, const TRect& clip) {
  TteBitmap& image = *link.Bitmap;
  const TRect S = link.Rect(), T = n.Target;
  const int ml = n.ml, mt = n.mt, mr = n.mr, mb = n.mb;
  DrawPiece(canvas, image, {S.Left + ml, S.Top + mt, S.Right - mr, S.Bottom - mb},
            {T.Left + ml, T.Top + mt, T.Right - mr, T.Bottom - mb}, n.CentreStyle, n.CentreKey,
            whole, clip);
  const struct {
    TRect src, dst;
  } edges[] = {
      {{S.Left + ml, S.Top, S.Right - mr, S.Top + mt}, {T.Left + ml, T.Top, T.Right - mr, T.Top + mt}},
      {{S.Left + ml, S.Bottom - mb, S.Right - mr, S.Bottom},
       {T.Left + ml, T.Bottom - mb, T.Right - mr, T.Bottom}},
      {{S.Left, S.Top + mt, S.Left + ml, S.Bottom - mb}, {T.Left, T.Top + mt, T.Left + ml, T.Bottom - mb}},
      {{S.Right - mr, S.Top + mt, S.Right, S.Bottom - mb},
       {T.Right - mr, T.Top + mt, T.Right, T.Bottom - mb}},
  };
  for (const auto& e : edges) DrawPiece(canvas, image, e.src, e.dst, n.BorderStyle, n.EdgeKey, whole, clip);
  const struct {
    TRect src;
    int x, y;
    bool key;
  } corners[] = {
      {{S.Left, S.Top, S.Left + ml, S.Top + mt}, T.Left, T.Top, n.TopLeftKey},
      {{S.Right - mr, S.Top, S.Right, S.Top + mt}, T.Right - mr, T.Top, n.CornerKey},
      {{S.Left, S.Bottom - mb, S.Left + ml, S.Bottom}, T.Left, T.Bottom - mb, n.CornerKey},
      {{S.Right - mr, S.Bottom - mb, S.Right, S.Bottom}, T.Right - mr, T.Bottom - mb, n.CornerKey},
  };
  for (const auto& c : corners)
    DrawPiece(canvas, image, c.src, Bounds(c.x, c.y, c.src.Width(), c.src.Height()), tsStretch,
              c.key, whole, clip);
}

// Where an image of size w x h goes in bounds for a tile style: the whole bounds, the
// image's size centred, or a band as wide (high) as the image centred across the object.
TRect StyleTarget(const TRect& b, int w, int h, uint8_t style) {
  switch (style) {
    case tsCenter: return CenteredBox(b, w, h);
    case tsVertCenterStretch:
    case tsVertCenterTile: {
      const int x = b.Left + (b.Width() - w) / 2;
      return {x, b.Top, x + w, b.Bottom};
    }
    case tsHorzCenterStretch:
    case tsHorzCenterTile: {
      const int y = b.Top + (b.Height() - h) / 2;
      return {b.Left, y, b.Right, y + h};
    }
    default: return b;
  }
}

uint32_t TextAlignFlags(uint8_t align) {
  static constexpr uint32_t kFlags[] = {0x20, 0x21, 0x22, 0x24, 0x25, 0x26, 0x28, 0x29, 0x2A};
  return align < 9 ? kFlags[align] : 0x25;
}

uint8_t MirroredAlign(uint8_t align) {
  switch (align) {
    case taTopLeft: return taTopRight;
    case taTopRight: return taTopLeft;
    case taLeft: return taRight;
    case taRight: return taLeft;
    case taBottomLeft: return taBottomRight;
    case taBottomRight: return taBottomLeft;
    default: return align;
  }
}

bool Valid(const TteBitmapLink& link) { return link.IsValid(); }

}  // namespace

// ---- layout

void TSeSkinObject::SetBounds(const TRect& r) {
  const int32_t w = std::max(0, r.Width()), h = std::max(0, r.Height());
  if (r.Left == Left && r.Top == Top && w == Width && h == Height) return;
  OldLeft = Left;
  OldTop = Top;
  OldWidth = Width;
  OldHeight = Height;
  Left = r.Left;
  Top = r.Top;
  Width = w;
  Height = h;
  AlignChildren();
  OldLeft = Left;
  OldTop = Top;
  OldWidth = Width;
  OldHeight = Height;
}

void TSeSkinObject::AlignChildren() {
  TRect r = BoundsRect();
  auto visible = [this](auto&& each) {
    for (auto& child : children_)
      if (child->Visible) each(*child);
  };
  // Steps 1 to 4: bands taken off the top and bottom, then off the left and right, first
  // for the "most" alignments, then for the plain ones.
  auto bands = [&](TSeAlign top, TSeAlign bottom, TSeAlign left, TSeAlign right) {
    visible([&](TSeSkinObject& c) {
      const int h = c.Height;
      if (c.Align == top) {
        c.SetBounds({r.Left, r.Top, r.Right, r.Top + h});
        r.Top += h;
      } else if (c.Align == bottom) {
        c.SetBounds({r.Left, r.Bottom - h, r.Right, r.Bottom});
        r.Bottom -= h;
      }
    });
    visible([&](TSeSkinObject& c) {
      const int w = c.Width;
      if (c.Align == left) {
        c.SetBounds({r.Left, r.Top, r.Left + w, r.Bottom});
        r.Left += w;
      } else if (c.Align == right) {
        c.SetBounds({r.Right - w, r.Top, r.Right, r.Bottom});
        r.Right -= w;
      }
    });
  };
  bands(saMostTop, saMostBottom, saMostLeft, saMostRight);
  bands(saTop, saBottom, saLeft, saRight);
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    TSeSkinObject& c = **it;
    if (!c.Visible || c.Align != saText) continue;
    TCanvas& measure = MeasureCanvas();
    measure.Font = c.GetFont().ToFont();
    const int w = (c.Text.isEmpty() ? 0 : measure.TextWidth(c.Text)) + c.TextMarginLeft +
                  c.TextMarginRight;
    c.SetBounds(Bounds(c.Left, c.Top, w, c.Height));
  }
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    TSeSkinObject& c = **it;
    if (c.Visible && c.Align == saCenter) c.SetBounds(CenteredBox(r, c.Width, c.Height));
  }
  visible([&](TSeSkinObject& c) {
    if (c.Align == saClient) c.SetBounds(r);
  });
  visible([&](TSeSkinObject& c) {
    if (c.Align == saAll) c.SetBounds({0, 0, Width, Height});
  });
  for (auto& child : children_) {
    TSeSkinObject& c = *child;
    switch (c.Align) {
      case saTopRightAngle: c.SetBounds({Width - c.Width, 0, Width, c.Height}); break;
      case saTopLeft:
        if (OldWidth > 0)
          c.SetBounds(Bounds(Left + c.Left - OldLeft, Top + c.Top - OldTop, c.Width, c.Height));
        break;
      case saTopRight:
        if (OldWidth > 0)
          c.SetBounds(Bounds(Left + Width + c.Left - OldLeft - OldWidth, Top + c.Top - OldTop,
                             c.Width, c.Height));
        break;
      case saBottomLeft: c.Top += Height - OldHeight; break;
      case saBottomRight:
        // Anchored to the bottom-right corner: the child follows the object's right and
        // bottom edges, so its distance to them stays as the skin author drew it.
        if (OldWidth > 0 || OldHeight > 0)
          c.SetBounds(Bounds(Left + Width + c.Left - OldLeft - OldWidth,
                             Top + Height + c.Top - OldTop - OldHeight, c.Width, c.Height));
        break;
      default: break;
    }
  }
}

void TSeSkinObject::AlignTree() {
  AlignChildren();
  for (auto& child : children_) child->AlignTree();
}

// ---- caption buttons

namespace {

// The window-button bit that shows a caption button of this action, or -1.
int ButtonBit(TSeAction action, uint8_t windowState) {
  switch (action) {
    case sbaClose: return 1;
    case sbaHelp: return 2;
    case sbaMinimize: return 3;
    case sbaMaximize: return 5;
    case sbaRestore: return windowState == 2 ? 6 : 4;
    case sbaRollUp: return 7;
    case sbaRollDown: return 8;
    case sbaTray: return 9;
    case sbaSysMenu: return 0;
    default: return -1;
  }
}

void ShowForButtons(TSeSkinObject& button, TSeAction action, uint16_t buttons) {
  const int bit = ButtonBit(action, button.State);
  if (bit >= 0) button.Visible = (buttons >> bit) & 1;
}

void ShowForState(TSeSkinObject& button, TSeAction action, uint8_t state) {
  button.Visible = true;
  auto hideIf = [&](std::initializer_list<TSeAction> hidden) {
    for (TSeAction a : hidden)
      if (a == action) button.Visible = false;
  };
  switch (state) {
    case 0: hideIf({sbaRestore, sbaRollDown}); break;
    case 2: hideIf({sbaMaximize, sbaRollDown}); break;
    case 3: hideIf({sbaMinimize, sbaMaximize, sbaRollUp, sbaRollDown}); break;
    case 4: hideIf({sbaRestore, sbaRollUp}); break;
    default: break;
  }
}

}  // namespace

void TSeSystemButton::SetButtons(uint16_t buttons) {
  TSeActiveBitmap::SetButtons(buttons);
  ShowForButtons(*this, Action, buttons);
}

void TSeSystemButton::SetState(uint8_t state) {
  TSeActiveBitmap::SetState(state);
  ShowForState(*this, Action, state);
}

void TSeSysButtonSkinObject::SetButtons(uint16_t buttons) {
  TSeBitmapSkinObject::SetButtons(buttons);
  ShowForButtons(*this, Action, buttons);
}

void TSeSysButtonSkinObject::SetState(uint8_t state) {
  TSeBitmapSkinObject::SetState(state);
  ShowForState(*this, Action, state);
}

// ---- painting

bool TSeSkinObject::Intersects(const TRect& clip) const {
  return !IntersectRect(clip, BoundsRect()).IsEmpty();
}

void TSeSkinObject::Paint(TCanvas& canvas, const TRect& clip) { PaintAs(canvas, clip, Color, Font); }

void TSeSkinObject::PaintAs(TCanvas& canvas, const TRect& clip, TColor color, const TSeFont& font) {
  if (!Visible || Empty() || (!clip.IsEmpty() && !Intersects(clip)) || Kind == skRoundMask) return;
  if (children_.empty() || DrawIfOwner) {
    if (color != clNone) FillRectColor(canvas, BoundsRect(), color);
    PaintCaption(canvas, font);
  }
  PaintChildren(canvas, clip);
}

void TSeSkinObject::PaintChildren(TCanvas& canvas, const TRect& clip) {
  for (auto& child : children_)
    if (child->Visible && !child->Empty() && (clip.IsEmpty() || child->Intersects(clip)))
      child->Paint(canvas, clip);
}

void TSeSkinObject::PaintCaption(TCanvas& canvas, const TSeFont& font) {
  if (Text.isEmpty()) return;
  if (Text == QLatin1String("-")) {
    const int y = Top + Height / 2;
    FillRectColor(canvas, {Left + 3, y, Left + Width - 3, y + 1}, font.Color);
    return;
  }
  const TFont savedFont = canvas.Font;
  const TBrush savedBrush = canvas.Brush;
  TRect r{Left + TextMarginLeft, Top + TextMarginTop, Left + Width - TextMarginRight, Top + Height};
  const uint32_t flags = TextAlignFlags(TextAlign) | DT_NOPREFIX;
  canvas.Font = font.ToFont();
  if (!Enabled) canvas.Font.Color = 0x808080;
  canvas.Brush.Style = TBrushStyle::bsClear;
  const QString text =
      Kind == skTitle ? EllipsizeText(canvas, Text, Width - TextMarginLeft - TextMarginRight) : Text;
  if (TextEffect == teShadow) {
    const TColor color = canvas.Font.Color;
    canvas.Font.Color = 0x808080;
    TRect shadow = r.Offset(1, 1);
    canvas.DrawText(text, shadow, flags);
    canvas.Font.Color = color;
  }
  TRect main = r;
  canvas.DrawText(text, main, flags);
  if (!Text2.isEmpty()) {
    TRect second = r;
    canvas.DrawText(Text2, second, TextAlignFlags(MirroredAlign(TextAlign)) | DT_NOPREFIX);
  }
  canvas.Font = savedFont;
  canvas.Brush = savedBrush;
}

void TSeActiveObject::Paint(TCanvas& canvas, const TRect& clip) {
  const bool active = Active || (State >= 5 && State <= 7);
  PaintAs(canvas, clip, active ? ActiveColor : Color, active ? ActiveFont : FontForState(State));
}

void TSeActiveSkinObject::Paint(TCanvas& canvas, const TRect& clip) {
  PaintAs(canvas, clip, State == 5 || State == 7 ? ActiveColor : Color, FontForState(State));
}

void TSeColorButtonObject::Paint(TCanvas& canvas, const TRect& clip) {
  const TColor colors[] = {HotColor, PressedColor, FocusedColor, DisabledColor};
  PaintAs(canvas, clip, State >= 5 && State <= 8 ? colors[State - 5] : Color, FontForState(State));
}

void TSeTextObject::Paint(TCanvas& canvas, const TRect& clip) { PaintAs(canvas, clip, Color, GetFont()); }

void TSeBitmapObject::Paint(TCanvas& canvas, const TRect& clip) { PaintWith(canvas, clip, Bitmap, Font); }

void TSeBitmapObject::PaintWith(TCanvas& canvas, const TRect& clip, TteBitmapLink& image,
                                const TSeFont& font) {
  if (!Visible || Empty() || (!clip.IsEmpty() && !Intersects(clip))) return;
  if (!Valid(image)) return;
  const TRect b = BoundsRect();
  const TteBitmapLink& link = image;
  if (MarginLeft == 0 && MarginTop == 0 && MarginRight == 0 && MarginBottom == 0) {
    if (Color == clNone) {
      PaintAs(canvas, clip, Color, font);
      return;
    }
    const TRect s = link.Rect();
    const TRect target = StyleTarget(b, s.Width(), s.Height(), TileStyle);
    DrawPiece(canvas, *link.Bitmap, s, target, TileStyle, link.CenterTransparent, b, clip);
  } else {
    TNineSlice n{StyleTarget(b, link.Right - link.Left, link.Bottom - link.Top, TileStyle),
                 MarginLeft, MarginTop, MarginRight, MarginBottom, TileStyle, BorderTileStyle,
                 link.CenterTransparent, link.MarginTransparent, link.CornerTransparent,
                 link.CornerTransparent};
    PaintNineSlice(canvas, link, n, b, clip);
  }
  PaintCaption(canvas, font);
  AlignChildren();
  PaintChildren(canvas, clip);
}

void TSeActiveBitmap::Paint(TCanvas& canvas, const TRect& clip) {
  const bool active = Active || (State >= 5 && State <= 7);
  PaintWith(canvas, clip, active && Valid(ActiveBitmap) ? ActiveBitmap : Bitmap, GetFont());
}

void TSeButtonObject::Paint(TCanvas& canvas, const TRect& clip) {
  TteBitmapLink* byState[] = {&BitmapHot, &BitmapPressed, &BitmapFocused, &BitmapDisabled};
  TteBitmapLink* image = &Bitmap;
  if (State >= 5 && State <= 8 && Valid(*byState[State - 5])) image = byState[State - 5];
  PaintWith(canvas, clip, *image, Font);
}

void TSeSystemButton::Paint(TCanvas& canvas, const TRect& clip) {
  // The window icon needs the window; the skin-file theme paints it after the button.
  if (Empty() || Action == sbaSysMenu) return;
  if (!Active) {
    SetChildrenState(8);
    TSeActiveBitmap::Paint(canvas, clip);
    SetChildrenState(State);
    return;
  }
  if (ButtonState == 0) {
    TSeActiveBitmap::Paint(canvas, clip);
    return;
  }
  TteBitmapLink& swap = ButtonState == 1 ? BitmapHot : BitmapPressed;
  Active = false;
  SetChildrenState(ButtonState == 1 ? 5 : 6);
  PaintWith(canvas, clip, Valid(swap) ? swap : Bitmap, Font);
  SetChildrenState(State);
  Active = true;
}

void TSeBitmapSkinObject::Paint(TCanvas& canvas, const TRect&) { PaintWith(canvas, Bitmap); }

void TSeBitmapSkinObject::PaintWith(TCanvas& canvas, TteBitmapLink& image) {
  if (!Visible || Empty() || !Valid(image)) return;
  const TRect b = BoundsRect(), s = image.Rect();
  if (TileStyle == tsTile || TileStyle == tsStretch || TileStyle == tsCenter)
    DrawPiece(canvas, *image.Bitmap, s, b, TileStyle, image.CenterTransparent, b, {});
  PaintCaption(canvas, Font);
}

void TSeFormBitmapSkinObject::Paint(TCanvas& canvas, const TRect&) {
  PaintWith(canvas, !Active && Valid(InactiveBitmap) ? InactiveBitmap : Bitmap);
}

void TSeSysButtonSkinObject::Paint(TCanvas& canvas, const TRect&) {
  if (Action == sbaSysMenu) return;
  TteBitmapLink* image = &Bitmap;
  if (ButtonState == 1 && Valid(BitmapHover)) image = &BitmapHover;
  if (ButtonState == 2 && Valid(BitmapDown)) image = &BitmapDown;
  PaintWith(canvas, *image);
}

void TSeBitmapBoxObject::Paint(TCanvas& canvas, const TRect&) { PaintBox(canvas, Bitmap); }

void TSeBitmapBoxObject::PaintBox(TCanvas& canvas, TteBitmapLink& image) {
  if (!Visible || Empty() || !Valid(image)) return;
  // Only the three plain styles are known to boxes; any other draws no piece.
  auto known = [](TscTileStyle s) { return s <= tsCenter ? uint8_t(s) : kNoPiece; };
  const TRect b = BoundsRect();
  const bool key = image.CenterTransparent;
  const TNineSlice n{b, MarginLeft, MarginTop, MarginRight, MarginBottom, known(TileStyle),
                     known(BorderTileStyle), key, key, key, Masked};
  PaintNineSlice(canvas, image, n, b, {});
  PaintCaption(canvas, Font);
}

void TSeActiveBitmapBoxObject::Paint(TCanvas& canvas, const TRect&) {
  PaintBox(canvas, (State == 5 || State == 7) && Valid(FocusedBitmap) ? FocusedBitmap : Bitmap);
}

void TSeButtonBitmapBoxObject::Paint(TCanvas& canvas, const TRect&) {
  TteBitmapLink* byState[] = {&HotBitmap, &PressedBitmap, &FocusedBitmap, &DisabledBitmap};
  TteBitmapLink* image = &Bitmap;
  if (State >= 5 && State <= 8 && Valid(*byState[State - 5])) image = byState[State - 5];
  PaintBox(canvas, *image);
}

void TSeLinkSkinObject::Paint(TCanvas& canvas, const TRect&) {
  if (!Visible || Empty() || State != 1) return;
  FillRectColor(canvas, BoundsRect(), clWhite);
  DrawRect(canvas, BoundsRect(), clBlack);
  const TFont savedFont = canvas.Font;
  const TBrush savedBrush = canvas.Brush;
  canvas.Font = DefaultThemeFont();
  canvas.Font.setFamily(QStringLiteral("Arial"));
  canvas.Font.setItalic(true);
  canvas.Font.Color = clBlack;
  canvas.Brush.Style = TBrushStyle::bsClear;
  TRect r = BoundsRect();
  canvas.DrawText(LinkControl, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  canvas.Font = savedFont;
  canvas.Brush = savedBrush;
}

// ---- regions

namespace {

// The rounded rectangle (l, t, r, b) with corner ellipses ew x eh, row by row.
QRegion RoundRectRegion(const TRect& rect, int ew, int eh) {
  const int w = rect.Width(), h = rect.Height();
  ew = std::clamp(ew, 0, w);
  eh = std::clamp(eh, 0, h);
  if (ew < 2 || eh < 2) return QRegion(rect.ToQRect());
  QRegion region;
  const double a = ew / 2.0, b = eh / 2.0;
  for (int y = 0; y < h; ++y) {
    const double fromEdge = std::min(y + 0.5, h - y - 0.5);
    int inset = 0;
    if (fromEdge < b) {
      const double dy = (b - fromEdge) / b;
      inset = int(std::lround(a - a * std::sqrt(std::max(0.0, 1 - dy * dy))));
    }
    if (w - 2 * inset > 0) region += QRect(rect.Left + inset, rect.Top + y, w - 2 * inset, 1);
  }
  return region;
}

}  // namespace

std::optional<QRegion> TSeSkinObject::Region() {
  if (!Visible || Kind == skTranparentOnly || Kind == skTranparent || Kind == skNoMask || Empty())
    return std::nullopt;
  if (!children_.empty() && !DrawIfOwner && Masked) {
    QRegion all;
    for (auto& child : children_)
      if (std::optional<QRegion> r = child->Region()) all += *r;
    return all;
  }
  return CreateRegion();
}

std::optional<QRegion> TSeSkinObject::CreateRegion() {
  if (Kind == skRoundMask)
    return RoundRectRegion({Left, Top, Left + Width + 1, Top + Height + 1}, MarginLeft, MarginTop);
  return QRegion(BoundsRect().ToQRect());
}

std::optional<QRegion> TSeBitmapObject::CreateRegion() {
  if (!Valid(Bitmap)) return std::nullopt;
  // Window parts are small; a shape larger than any screen is taken as its rectangle.
  constexpr int64_t kMaxShapePixels = int64_t(1) << 24;
  if (Kind == skClient || !Masked || int64_t(Width) * Height > kMaxShapePixels)
    return QRegion(BoundsRect().ToQRect());
  TteBitmap scratch;
  scratch.SetSize(Width, Height);
  scratch.Fill(kTeColorKey);
  TCanvas& canvas = scratch.Canvas();
  canvas.SetOrigin({Left, Top});
  Paint(canvas, {});
  return scratch.CreateRegion(Left, Top);
}
