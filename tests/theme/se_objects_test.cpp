// Skin objects: layout, exact pixels of image painting, states, regions, hit tests and
// caption-button visibility, on small trees built here.
#include <gtest/gtest.h>

#include "se_objects.h"

namespace {

// A w x h image whose pixel (x, y) is Cell(x, y): every pixel distinct and opaque.
TteColor Cell(int x, int y) { return 0xFF000000u | uint32_t(0x10 * (y + 1)) << 8 | uint32_t(0x10 * (x + 1)); }
constexpr TteColor kBack = 0xFF202020;

struct TSkin {
  TteBitmapList Images;
  TSkin() {
    auto grid = std::make_unique<TteBitmap>();
    grid->Name = QStringLiteral("GRID");
    grid->SetSize(4, 4);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) grid->SetPixel(x, y, Cell(x, y));
    Images.Add(std::move(grid));
    for (auto [name, color] : {std::pair{"RED", 0xFFFF0000u}, {"GREEN", 0xFF00FF00u}, {"BLUE", 0xFF0000FFu}}) {
      auto solid = std::make_unique<TteBitmap>();
      solid->Name = QLatin1String(name);
      solid->SetSize(2, 2);
      solid->Fill(color);
      Images.Add(std::move(solid));
    }
  }
  void Link(TteBitmapLink& link, const char* name, TRect r = {0, 0, 4, 4}) {
    link.Name = QLatin1String(name);
    link.Left = r.Left;
    link.Top = r.Top;
    link.Right = r.Right;
    link.Bottom = r.Bottom;
  }
  void Bind(TSeSkinObject& o) {
    o.BindBitmapList(&Images);
    o.Prepare();
  }
};

struct TPainted {
  TteBitmap Pixels;
  TPainted(TSeSkinObject& o, int w, int h) {
    Pixels.SetSize(w, h);
    Pixels.Fill(kBack);
    o.Paint(Pixels.Canvas(), {});
  }
  TteColor At(int x, int y) const { return Pixels.GetPixel(x, y); }
};

// Where an image column lands: tiled pieces repeat, stretched ones spread (nearest).
int Tiled(int d, int span, int first) { return first + d % span; }
int Stretched(int d, int length, int span, int first) { return first + d * span / length; }

}  // namespace

TEST(SkinObjectPaint, NineSliceTilesOrStretchesCentreAndEdgesByStyle) {
  // A 4 x 4 image with 1-pixel margins into an 8 x 6 object: corners once, edges and
  // centre (2 pixels of image) across 6 x 4 pixels.
  for (TscTileStyle style : {tsTile, tsStretch}) {
    TSkin skin;
    TSeBitmapObject o;
    skin.Link(o.Bitmap, "GRID");
    o.MarginLeft = o.MarginTop = o.MarginRight = o.MarginBottom = 1;
    o.TileStyle = o.BorderTileStyle = style;
    o.SetBounds({0, 0, 8, 6});
    skin.Bind(o);
    const TPainted p(o, 8, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 8; ++x) {
        auto map = [&](int d, int size) {
          if (d == 0) return 0;
          if (d == size - 1) return 3;
          return style == tsTile ? Tiled(d - 1, 2, 1) : Stretched(d - 1, size - 2, 2, 1);
        };
        ASSERT_EQ(p.At(x, y), Cell(map(x, 8), map(y, 6)))
            << "style " << int(style) << " at (" << x << ", " << y << ")";
      }
  }
}

TEST(SkinObjectPaint, ImageWithoutMarginsFollowsTileStyle) {
  // The 2 x 2 top-left quarter of the grid into a 6 x 6 object.
  const struct {
    TscTileStyle Style;
    TRect Covered;  // where the image lands; the rest keeps the background
    bool Tiles;
  } cases[] = {
      {tsTile, {0, 0, 6, 6}, true},
      {tsCenter, {2, 2, 4, 4}, true},
      {tsVertCenterTile, {2, 0, 4, 6}, true},
      {tsHorzCenterTile, {0, 2, 6, 4}, true},
      {tsStretch, {0, 0, 6, 6}, false},
  };
  for (const auto& c : cases) {
    TSkin skin;
    TSeBitmapObject o;
    skin.Link(o.Bitmap, "GRID", {0, 0, 2, 2});
    o.TileStyle = c.Style;
    o.SetBounds({0, 0, 6, 6});
    skin.Bind(o);
    const TPainted p(o, 6, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        TteColor want = kBack;
        if (c.Covered.Contains(x, y)) {
          const int dx = x - c.Covered.Left, dy = y - c.Covered.Top;
          want = c.Tiles ? Cell(dx % 2, dy % 2) : Cell(dx * 2 / 6, dy * 2 / 6);
        }
        ASSERT_EQ(p.At(x, y), want) << "style " << int(c.Style) << " at (" << x << ", " << y << ")";
      }
  }
}

TEST(SkinObjectPaint, ImageWithoutMarginsNeedsAColour) {
  TSkin skin;
  TSeBitmapObject o;
  skin.Link(o.Bitmap, "RED", {0, 0, 2, 2});
  o.Color = clNone;
  o.SetBounds({0, 0, 4, 4});
  skin.Bind(o);
  EXPECT_EQ(TPainted(o, 4, 4).At(1, 1), kBack);
}

TEST(SkinObjectPaint, StateChoosesTheImage) {
  const struct {
    uint8_t State;
    TteColor Want;
  } cases[] = {{0, 0xFFFF0000}, {5, 0xFF00FF00}, {6, 0xFF0000FF}, {7, 0xFFFF0000}, {8, 0xFFFF0000}};
  for (const auto& c : cases) {
    TSkin skin;
    TSeButtonObject button;
    skin.Link(button.Bitmap, "RED", {0, 0, 2, 2});
    skin.Link(button.BitmapHot, "GREEN", {0, 0, 2, 2});
    skin.Link(button.BitmapPressed, "BLUE", {0, 0, 2, 2});
    button.SetBounds({0, 0, 4, 4});
    skin.Bind(button);
    button.SetState(c.State);
    EXPECT_EQ(TPainted(button, 4, 4).At(3, 3), c.Want) << "state " << int(c.State);
    EXPECT_TRUE(button.Bitmap.Name == QLatin1String("RED")) << "the swap is undone";
  }
}

TEST(SkinObjectPaint, BoxDrawsPiecesAndNothingForUnknownStyles) {
  TSkin skin;
  TSeButtonBitmapBoxObject box;
  skin.Link(box.Bitmap, "GRID");
  box.MarginLeft = box.MarginTop = box.MarginRight = box.MarginBottom = 1;
  box.TileStyle = tsVertCenterTile;  // not known to boxes: no centre
  box.BorderTileStyle = tsStretch;
  box.SetBounds({0, 0, 6, 6});
  skin.Bind(box);
  const TPainted p(box, 6, 6);
  EXPECT_EQ(p.At(0, 0), Cell(0, 0));
  EXPECT_EQ(p.At(5, 5), Cell(3, 3));
  EXPECT_EQ(p.At(1, 0), Cell(1, 0));
  EXPECT_EQ(p.At(4, 0), Cell(2, 0));
  EXPECT_EQ(p.At(2, 2), kBack) << "no centre for an unknown style";
}

TEST(SkinObjectPaint, OwnerFillsOnlyWithDrawIfOwner) {
  for (bool drawIfOwner : {false, true}) {
    TSeSkinObject parent;
    parent.Color = 0x0000FF;  // red as a platform colour
    parent.DrawIfOwner = drawIfOwner;
    auto* child = new TSeSkinObject(&parent);
    child->Align = saLeft;
    child->Width = 2;
    child->Color = 0x00FF00;
    parent.SetBounds({0, 0, 6, 4});
    const TPainted p(parent, 6, 4);
    EXPECT_EQ(p.At(1, 1), 0xFF00FF00u);
    EXPECT_EQ(p.At(4, 1), drawIfOwner ? 0xFFFF0000u : kBack) << "DrawIfOwner " << drawIfOwner;
  }
}

TEST(SkinObjectLayout, ChildrenTakeTheirPlacesByAlignment) {
  TSeSkinObject parent;
  auto add = [&](TSeAlign align, int w, int h) {
    auto* c = new TSeSkinObject(&parent);
    c->Align = align;
    c->Width = w;
    c->Height = h;
    return c;
  };
  TSeSkinObject* top = add(saMostTop, 0, 5);
  TSeSkinObject* left = add(saLeft, 10, 0);
  TSeSkinObject* right = add(saRight, 7, 0);
  TSeSkinObject* client = add(saClient, 0, 0);
  TSeSkinObject* centre = add(saCenter, 4, 3);
  TSeSkinObject* all = add(saAll, 0, 0);
  TSeSkinObject* angle = add(saTopRightAngle, 6, 2);
  parent.SetBounds(Bounds(10, 20, 100, 50));
  EXPECT_EQ(top->BoundsRect(), Bounds(10, 20, 100, 5));
  EXPECT_EQ(left->BoundsRect(), Bounds(10, 25, 10, 45));
  EXPECT_EQ(right->BoundsRect(), Bounds(103, 25, 7, 45));
  EXPECT_EQ(client->BoundsRect(), TRect(20, 25, 103, 70));
  EXPECT_EQ(centre->BoundsRect(), Bounds(20 + (83 - 4) / 2, 25 + (45 - 3) / 2, 4, 3));
  EXPECT_EQ(all->BoundsRect(), Bounds(0, 0, 100, 50));
  EXPECT_EQ(angle->BoundsRect(), Bounds(94, 0, 6, 2));
}

// A bottom-right child keeps its distance to the parent's right and bottom edges however
// often the parent is laid out.
TEST(SkinObjectLayout, BottomRightChildFollowsTheCorner) {
  TSeSkinObject parent;
  parent.SetBounds(Bounds(0, 0, 50, 40));
  auto* grip = new TSeSkinObject(&parent);
  grip->Align = saBottomRight;
  grip->SetBounds(Bounds(40, 30, 8, 8));
  parent.SetBounds(Bounds(0, 0, 70, 60));
  EXPECT_EQ(grip->BoundsRect(), Bounds(60, 50, 8, 8));
  parent.AlignTree();
  parent.AlignTree();
  EXPECT_EQ(grip->BoundsRect(), Bounds(60, 50, 8, 8)) << "stable across passes";
  parent.SetBounds(Bounds(5, 5, 30, 30));
  EXPECT_EQ(grip->BoundsRect(), Bounds(25, 25, 8, 8));
}

TEST(SkinObjectLayout, SetBoundsSkipsTheSameBoundsAndClampsNegativeSizes) {
  TSeSkinObject parent;
  auto* child = new TSeSkinObject(&parent);
  child->Align = saClient;
  parent.SetBounds(Bounds(0, 0, 10, 10));
  child->Left = 3;  // moved by hand; a layout would put it back
  parent.SetBounds(Bounds(0, 0, 10, 10));
  EXPECT_EQ(child->Left, 3);
  parent.SetBounds({0, 0, -5, 4});
  EXPECT_EQ(parent.Width, 0);
  EXPECT_EQ(parent.Height, 4);
}

TEST(SkinObjectLayout, TextChildIsAsWideAsItsMargins) {
  TSeSkinObject parent;
  auto* text = new TSeTextObject(&parent);
  text->Align = saText;
  text->TextMarginLeft = 3;
  text->TextMarginRight = 4;
  parent.SetBounds(Bounds(0, 0, 40, 10));
  EXPECT_EQ(text->Width, 7);
  text->Text = QStringLiteral("Caption");
  parent.AlignChildren();
  EXPECT_GT(text->Width, 7);
}

TEST(SkinObjectLookup, FindChildHitTestAndActions) {
  TSeSkinObject root;
  root.Name = QStringLiteral("Caption");
  EXPECT_EQ(root.FindChild(QStringLiteral("caption")), &root);
  auto* a = new TSeSkinObject(&root);
  a->Name = QStringLiteral("a");
  auto* b = new TSeSystemButton(a);
  b->Name = QStringLiteral("b");
  b->Action = sbaClose;
  auto* over = new TSeSkinObject(&root);
  over->Kind = skTranparent;
  EXPECT_EQ(root.FindChild(QStringLiteral("A\\x")), a) << "only the first segment counts";
  EXPECT_EQ(root.FindByAction(sbaClose), b);
  EXPECT_EQ(root.FindByKind(skSysButton), b);
  root.SetBounds(Bounds(0, 0, 20, 20));
  a->SetBounds(Bounds(0, 0, 10, 10));
  b->SetBounds(Bounds(2, 2, 4, 4));
  over->SetBounds(Bounds(0, 0, 20, 20));
  EXPECT_EQ(root.HitTest({3, 3}), b) << "a transparent object is not hit";
  EXPECT_EQ(root.HitTest({15, 15}), &root);
  b->Visible = false;
  EXPECT_EQ(root.HitTest({3, 3}), a);
}

TEST(SkinObjectButtons, RestoreShowsByWindowState) {
  const struct {
    uint8_t State;
    uint16_t Buttons;
    bool Visible;
  } cases[] = {{2, 1 << 6, true}, {2, 1 << 4, false}, {0, 1 << 4, true}, {0, 1 << 6, false}};
  for (const auto& c : cases) {
    TSeSystemButton restore;
    restore.Action = sbaRestore;
    restore.SetState(c.State);
    restore.SetButtons(c.Buttons);
    EXPECT_EQ(restore.Visible, c.Visible) << "state " << int(c.State) << " buttons " << c.Buttons;
  }
  TSeSystemButton maximize;
  maximize.Action = sbaMaximize;
  maximize.SetState(2);
  EXPECT_FALSE(maximize.Visible) << "a maximized window shows no maximize button";
  EXPECT_EQ(maximize.Kind, skSysButton);
}

TEST(SkinObjectRegion, RegionsFollowKindsMasksAndKeyedPixels) {
  TSkin skin;
  auto key = std::make_unique<TteBitmap>();
  key->Name = QStringLiteral("SHAPE");
  key->SetSize(3, 3);
  key->Fill(0xFF808080);
  key->SetPixel(0, 0, kTeColorKey);
  skin.Images.Add(std::move(key));

  TSeSkinObject form;
  auto* shaped = new TSeBitmapObject(&form);
  skin.Link(shaped->Bitmap, "SHAPE", {0, 0, 3, 3});
  shaped->Align = saMostTop;
  shaped->Height = 3;
  auto* ignored = new TSeSkinObject(&form);
  ignored->Kind = skNoMask;
  ignored->Align = saClient;
  form.SetBounds(Bounds(10, 10, 3, 6));
  skin.Bind(form);
  const std::optional<QRegion> r = form.Region();
  ASSERT_TRUE(r);
  EXPECT_FALSE(r->contains(QPoint(10, 10))) << "the key pixel is cut out";
  EXPECT_TRUE(r->contains(QPoint(11, 10)));
  EXPECT_FALSE(r->contains(QPoint(11, 14))) << "skNoMask takes no part";
  ignored->Kind = skNone;
  EXPECT_TRUE(form.Region()->contains(QPoint(11, 14)));
  form.Kind = skNoMask;
  EXPECT_FALSE(form.Region());
}

TEST(SkinObjectCopy, CloneCopiesEveryPropertyAndTheChildren) {
  TSkin skin;
  TSeActiveBitmap o;
  o.Name = QStringLiteral("Frame");
  skin.Link(o.ActiveBitmap, "GREEN", {0, 0, 2, 2});
  o.ActiveFont.Height = -20;
  o.MarginTop = 3;
  o.Color = 0x123456;
  new TSeTextObject(&o);
  std::unique_ptr<TSeSkinObject> copy = o.Clone(nullptr);
  auto* c = dynamic_cast<TSeActiveBitmap*>(copy.get());
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Name, o.Name);
  EXPECT_EQ(c->ActiveBitmap.Name, QStringLiteral("GREEN"));
  EXPECT_EQ(c->ActiveFont.Height, -20);
  EXPECT_EQ(c->MarginTop, 3);
  EXPECT_EQ(c->Color, TColor(0x123456));
  ASSERT_EQ(c->Children().size(), 1u);
  EXPECT_STREQ(c->Children()[0]->ClassName(), "TSeTextObject");
  EXPECT_EQ(c->Children()[0]->Parent(), c);
}
