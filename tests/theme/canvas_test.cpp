// TCanvas on a bitmap's pixels: shapes, clipping, origin, glyphs, and the untouched alpha byte.
#include "canvas.h"

#include <gtest/gtest.h>

#include <functional>

#include "te_bitmap.h"

namespace {

std::unique_ptr<TteBitmap> Filled(int w, int h, TteColor c) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h);
  b->Fill(c);
  return b;
}

// The pixels whose value differs from `background`, as a picture of '#' and '.'.
std::string Picture(const TteBitmap& b, TteColor background) {
  std::string out;
  for (int y = 0; y < b.Height(); ++y) {
    for (int x = 0; x < b.Width(); ++x) out += b.GetPixel(x, y) == background ? '.' : '#';
    out += '\n';
  }
  return out;
}

void Solid(TCanvas& c, TColor color) {
  c.Pen.Style = TPenStyle::psSolid;
  c.Pen.Width = 1;
  c.Pen.Color = color;
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = color;
}

}  // namespace

TEST(Canvas, DrawingChangesColourButNeverTheAlphaByte) {
  const std::pair<const char*, std::function<void(TCanvas&)>> ops[] = {
      {"FillRect", [](TCanvas& c) { c.FillRect({0, 0, 20, 20}); }},
      {"Rectangle", [](TCanvas& c) { c.Rectangle({2, 2, 18, 18}); }},
      {"LineTo", [](TCanvas& c) { c.MoveTo(0, 0); c.LineTo(19, 13); }},
      {"Polygon", [](TCanvas& c) { c.Polygon({{1, 1}, {18, 4}, {6, 17}}); }},
      {"Ellipse", [](TCanvas& c) { c.Ellipse({0, 0, 20, 20}); }},
      {"RoundRect", [](TCanvas& c) { c.RoundRect({0, 0, 20, 20}, 6, 6); }},
      {"DrawText", [](TCanvas& c) { TRect r{0, 0, 20, 20}; c.DrawText("Hg", r, DT_SINGLELINE); }},
      {"FrameControl", [](TCanvas& c) { c.DrawFrameControl({0, 0, 20, 20}, DFC_CAPTION, 0); }},
      {"FocusRect", [](TCanvas& c) { c.DrawFocusRect({0, 0, 20, 20}); }},
      {"Dither", [](TCanvas& c) { FillDither(c, {0, 0, 20, 20}, clWhite, clBlack); }},
  };
  for (const auto& [name, op] : ops) {
    auto b = Filled(20, 20, 0x12A0B0C0u);
    Solid(b->Canvas(), RGB(1, 2, 3));
    b->Canvas().Font.Color = RGB(1, 2, 3);
    op(b->Canvas());
    bool changed = false;
    for (int i = 0; i < 400; ++i) {
      ASSERT_EQ(b->Bits()[i] >> 24, 0x12u) << name << " touched the alpha of pixel " << i;
      changed |= b->Bits()[i] != 0x12A0B0C0u;
    }
    EXPECT_TRUE(changed) << name << " drew nothing";
  }
}

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
  struct Case {
    TPoint from, to;
    const char* picture;
  } cases[] = {
      {{0, 0}, {4, 0}, "####.\n.....\n.....\n"},
      {{4, 2}, {0, 2}, ".....\n.....\n.####\n"},
      {{1, 0}, {1, 3}, ".#...\n.#...\n.#...\n"},
      {{0, 0}, {3, 3}, "#....\n.#...\n..#..\n"},
      {{2, 1}, {2, 1}, ".....\n.....\n.....\n"},
  };
  for (const Case& c : cases) {
    auto b = Filled(5, 3, 0);
    Solid(b->Canvas(), clWhite);
    b->Canvas().MoveTo(c.from.X, c.from.Y);
    b->Canvas().LineTo(c.to.X, c.to.Y);
    EXPECT_EQ(Picture(*b, 0), c.picture);
    EXPECT_EQ(b->Canvas().PenPos(), c.to);
  }
}

TEST(Canvas, PolylineLeavesOutOnlyItsLastPoint) {
  auto b = Filled(4, 3, 0);
  Solid(b->Canvas(), clWhite);
  b->Canvas().Polyline({{0, 0}, {3, 0}, {3, 2}});
  EXPECT_EQ(Picture(*b, 0), "####\n...#\n....\n");
}

TEST(Canvas, RectanglesExcludeRightAndBottom) {
  auto b = Filled(5, 4, 0);
  TCanvas& c = b->Canvas();
  Solid(c, RGB(0, 0, 1));
  c.Brush.Color = RGB(0, 0, 2);
  c.Rectangle({0, 0, 4, 4});
  EXPECT_EQ(b->GetPixel(3, 3), 1u);
  EXPECT_EQ(b->GetPixel(1, 1), 2u);
  EXPECT_EQ(b->GetPixel(4, 0), 0u);
  auto clearPen = Filled(4, 4, 0);
  clearPen->Canvas().Pen.Style = TPenStyle::psClear;
  clearPen->Canvas().Brush.Color = clWhite;
  clearPen->Canvas().Rectangle({0, 0, 4, 4});
  EXPECT_EQ(Picture(*clearPen, 0), "###.\n###.\n###.\n....\n") << "no pen fills one pixel less";
  auto framed = Filled(4, 3, 0);
  framed->Canvas().Brush.Color = clWhite;
  framed->Canvas().FrameRect({0, 0, 4, 3});
  EXPECT_EQ(Picture(*framed, 0), "####\n#..#\n####\n");
}

TEST(Canvas, OriginAndClipBothApply) {
  auto b = Filled(6, 3, 0);
  TCanvas& c = b->Canvas();
  c.SetOrigin({10, 0});   // logical x 10 is device x 0
  c.SetClipRect({11, 0, 14, 3});
  c.ExcludeClipRect({12, 1, 13, 2});
  c.Brush.Color = clWhite;
  c.FillRect({0, 0, 100, 100});
  EXPECT_EQ(Picture(*b, 0), ".###..\n.#.#..\n.###..\n");
  EXPECT_EQ(c.ClipBox(), (TRect{11, 0, 14, 3}));
  c.ResetClip();
  c.SetOrigin({});
  c.IntersectClipRect({5, 0, 6, 1});
  b->Fill(0);
  c.FillRect({0, 0, 6, 3});
  EXPECT_EQ(Picture(*b, 0), ".....#\n......\n......\n");
}

TEST(Canvas, FocusRectInvertsEveryOtherPixelAndUndoesItself) {
  auto b = Filled(4, 3, 0xFF000000u);
  b->Canvas().DrawFocusRect({0, 0, 4, 3});
  EXPECT_EQ(Picture(*b, 0xFF000000u), "#.#.\n...#\n#.#.\n");
  EXPECT_EQ(b->GetPixel(0, 0), 0xFFFFFFFFu);
  b->Canvas().DrawFocusRect({0, 0, 4, 3});
  EXPECT_EQ(Picture(*b, 0xFF000000u), "....\n....\n....\n");
}

TEST(Canvas, FrameControlsDrawTheirGlyphsInsideTheRectangle) {
  struct Case {
    uint32_t kind, state;
  } cases[] = {
      {DFC_CAPTION, DFCS_CAPTIONCLOSE}, {DFC_CAPTION, DFCS_CAPTIONMIN},
      {DFC_CAPTION, DFCS_CAPTIONMAX},   {DFC_CAPTION, DFCS_CAPTIONRESTORE},
      {DFC_CAPTION, DFCS_CAPTIONHELP},  {DFC_SCROLL, DFCS_SCROLLUP},
      {DFC_SCROLL, DFCS_SCROLLDOWN},    {DFC_SCROLL, DFCS_SCROLLLEFT},
      {DFC_SCROLL, DFCS_SCROLLRIGHT},   {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
      {DFC_MENU, DFCS_MENUARROW},       {DFC_MENU, DFCS_MENUCHECK},
      {DFC_MENU, DFCS_MENUBULLET},      {DFC_MENU, DFCS_MENUARROWRIGHT},
      {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
      {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED},
  };
  for (const Case& c : cases) {
    auto b = Filled(20, 18, 0x00808080u);
    ASSERT_TRUE(b->Canvas().DrawFrameControl({2, 2, 18, 16}, c.kind, c.state))
        << c.kind << "/" << c.state;
    int black = 0;
    for (int y = 0; y < 18; ++y)
      for (int x = 0; x < 20; ++x) {
        const bool inside = x >= 2 && x < 18 && y >= 2 && y < 16;
        if (!inside) {
          EXPECT_EQ(b->GetPixel(x, y), 0x00808080u) << c.kind << "/" << c.state;
        }
        black += inside && b->GetPixel(x, y) == 0;
      }
    EXPECT_GT(black, 0) << c.kind << "/" << c.state << " has no black glyph";
  }
  auto b = Filled(4, 4, 0);
  EXPECT_FALSE(b->Canvas().DrawFrameControl({0, 0, 4, 4}, 99, 0));
}

TEST(Canvas, ArrowGlyphsPointTheirWay) {
  // The row (or column) of the triangle nearest the tip is the narrowest.
  auto widthAt = [](const TteBitmap& b, int line, bool row) {
    int n = 0;
    for (int i = 0; i < 16; ++i) n += (row ? b.GetPixel(i, line) : b.GetPixel(line, i)) == 0;
    return n;
  };
  auto firstLast = [&](uint32_t glyph, bool rows) {
    auto b = Filled(16, 16, 0);
    b->Canvas().DrawFrameControl({0, 0, 16, 16}, DFC_MENU, glyph);
    int first = -1, last = -1;
    for (int i = 0; i < 16; ++i)
      if (widthAt(*b, i, rows) > 0) {
        if (first < 0) first = i;
        last = i;
      }
    return std::pair{widthAt(*b, first, rows), widthAt(*b, last, rows)};
  };
  auto [left, right] = firstLast(DFCS_MENUARROW, false);
  EXPECT_GT(left, right) << "the sub-menu arrow points right";
  auto [l2, r2] = firstLast(DFCS_MENUARROWRIGHT, false);
  EXPECT_LT(l2, r2);
}

TEST(Canvas, TextMeasuringAndLayout) {
  auto b = Filled(200, 100, 0);
  TCanvas& c = b->Canvas();
  c.Font.setPixelSize(12);
  const int lineHeight = c.TextHeight("Xy");
  TRect r{0, 0, 200, 0};
  EXPECT_EQ(c.DrawText("&File", r, DT_CALCRECT | DT_SINGLELINE), lineHeight);
  EXPECT_EQ(r.Width(), c.TextWidth("File")) << "the prefix ampersand takes no room";
  r = {0, 0, 200, 0};
  c.DrawText("a&&b", r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(r.Width(), c.TextWidth("a&b"));
  r = {0, 0, 200, 0};
  EXPECT_EQ(c.DrawText("one\ntwo\r\nthree", r, DT_CALCRECT), 3 * lineHeight);
  EXPECT_EQ(r.Width(), c.TextWidth("three"));
  r = {0, 0, c.TextWidth("word word") - 1, 0};
  c.DrawText("word word", r, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(r.Height(), 2 * lineHeight) << "breaks at the blank";
}

TEST(Canvas, TextStaysInsideItsRectangleUnlessNoClip) {
  auto b = Filled(60, 20, 0xFFFFFFFFu);
  TCanvas& c = b->Canvas();
  c.Font.setPixelSize(14);
  c.Brush.Style = TBrushStyle::bsClear;
  TRect r{0, 0, 10, 20};
  c.DrawText("WWWWWW", r, DT_SINGLELINE);
  for (int y = 0; y < 20; ++y)
    for (int x = 10; x < 60; ++x) ASSERT_EQ(b->GetPixel(x, y), 0xFFFFFFFFu) << x << "," << y;
  r = {0, 0, 10, 20};
  c.DrawText("WWWWWW", r, DT_SINGLELINE | DT_NOCLIP);
  bool beyond = false;
  for (int y = 0; y < 20; ++y)
    for (int x = 10; x < 60; ++x) beyond |= b->GetPixel(x, y) != 0xFFFFFFFFu;
  EXPECT_TRUE(beyond);
}

TEST(Canvas, PainterCanvasDrawsThroughTheGivenPainter) {
  QImage img(4, 4, QImage::Format_ARGB32_Premultiplied);
  img.fill(0);
  {
    QPainter painter(&img);
    TCanvas c(&painter);
    c.Brush.Color = RGB(255, 0, 0);
    c.FillRect({1, 1, 3, 3});
    EXPECT_TRUE(c.Grab({0, 0, 4, 4}).isNull()) << "a painter's device is not read back";
  }
  EXPECT_EQ(img.pixel(1, 1), 0xFFFF0000u);
  EXPECT_EQ(img.pixel(3, 3), 0u);
}

TEST(Canvas, EmptyCanvasIgnoresEverything) {
  TCanvas c;
  c.FillRect({0, 0, 10, 10});
  c.LineTo(5, 5);
  TRect r{0, 0, 10, 10};
  c.DrawText("x", r, 0);
  EXPECT_EQ(c.GetPixel(0, 0), clNone);
}
