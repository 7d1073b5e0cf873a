// The control base: frame geometry and painting, the buffering modes, the shared
// surface, theme notifications and object bounds, hot and focus tracking, scroll bars
// and parent backgrounds.
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "recording_theme.h"
#include "te_control.h"
#include "theme_kinds.h"
#include "theme_manager.h"

namespace {

class ControlBaseTest : public ::testing::Test {
 protected:
  void TearDown() override { ThemeManager().ClearCurrentTheme(); }
};

// A control that records the theme codes its own handler receives.
class RecordingControl : public TTeControl {
 public:
  using TTeControl::TTeControl;
  std::vector<int> Codes;
  int LinkChanges = 0;
  void ThemeChanged(int code, intptr_t lParam) override {
    Codes.push_back(code);
    TTeControl::ThemeChanged(code, lParam);
  }
  void ThemeLinkChanged() override {
    ++LinkChanges;
    TTeControl::ThemeLinkChanged();
  }
};

struct FixedLink : TteCustomThemeLink {
  TteTheme* Theme = nullptr;
  TteTheme* GetTheme() const override { return Theme; }
};

TEST(FrameGeometry, ClientRectIsInsetByBorderAndEveryBevelOnItsSides) {
  struct Case {
    TTeFrameGeometry Frame;
    TRect Expected;
  };
  const Case cases[] = {
      {{0, kbvLowered, kbvLowered, kbsAllSides, 0}, {0, 0, 100, 30}},
      {{0, kbvLowered, kbvRaised, kbsAllSides, 2}, {4, 4, 96, 26}},
      {{1, kbvLowered, kbvRaised, kbsAllSides, 2}, {5, 5, 95, 25}},
      {{0, kbvNone, kbvRaised, kbsAllSides, 3}, {3, 3, 97, 27}},
      {{0, kbvNone, kbvNone, kbsAllSides, 3}, {0, 0, 100, 30}},
      {{2, kbvSpace, kbvBorder, kbsLeft | kbsBottom, 1}, {4, 2, 98, 26}},
  };
  for (const Case& c : cases) {
    const TRect r = FrameClientRect(c.Frame, 100, 30);
    EXPECT_EQ(r, c.Expected) << "border " << c.Frame.BorderWidth << " bevel width " << c.Frame.BevelWidth
                             << " sides " << int(c.Frame.BevelSides) << ": got " << r.Left << ","
                             << r.Top << "," << r.Right << "," << r.Bottom;
  }
}

TEST(FrameGeometry, BevelKindSetsBothCutsAndADirectCutClearsTheKind) {
  const std::pair<TTeBevelKind, TTeBevelCut> kinds[] = {
      {kbkSingle, kbvLowered}, {kbkTile, kbvLowered}, {kbkSoft, kbvLowered},
      {kbkBorder, kbvBorder},  {kbkFlat, kbvFlatBorder},
  };
  for (auto [kind, cut] : kinds) {
    TTeControl c;
    c.SetBevelInner(kbvRaised);
    c.SetBevelKind(kind);
    EXPECT_EQ(c.BevelInner(), cut) << "kind " << int(kind);
    EXPECT_EQ(c.BevelOuter(), cut) << "kind " << int(kind);
    c.SetBevelInner(kbvSpace);
    EXPECT_EQ(c.BevelKind(), kbkNone) << "kind " << int(kind) << " survived a direct cut";
  }
}

TEST(FrameGeometry, ObjectBoundsKeepWhatTheThemeLeavesOpen) {
  const TRect current{10, 20, 110, 50};
  struct Case {
    TRect Bounds;
    std::optional<TRect> Expected;
  };
  const Case cases[] = {
      {kNullRect, std::nullopt},
      {{5, 5, 5, 40}, std::nullopt},           // no width
      {{1, 2, 61, 32}, TRect{1, 2, 61, 32}},   // taken as it stands
      {{-1, 4, 60, 44}, TRect{10, 4, 60, 44}}, // left kept
      {{-5, -5, 8, 9}, TRect{10, 20, 110, 50}}, // both kept; right and bottom would be reversed
  };
  for (const Case& c : cases) {
    const auto r = ObjectBoundsRect(current, c.Bounds);
    ASSERT_EQ(r.has_value(), c.Expected.has_value()) << c.Bounds.Left << "," << c.Bounds.Top;
    if (r) {
      EXPECT_EQ(*r, *c.Expected) << c.Bounds.Left << "," << c.Bounds.Top;
    }
  }
}

// Every buffering mode must give the same pixels: raised bevels, a border in Color
// and the background, across the pipeline's three targets.
TEST_F(ControlBaseTest, BufferingModesPaintTheSamePixels) {
  // As a child, so that the grab has an alpha channel the pixels must fill.
  std::vector<QImage> shots;
  for (TTePerformance mode : {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}) {
    QWidget parent;
    auto& c = *new TTeControl(&parent);
    c.resize(40, 24);
    c.SetBevelOuter(kbvRaised);
    c.SetBevelInner(kbvLowered);
    c.SetBevelWidth(1);
    c.SetBorderWidth(1);
    c.SetColor(RGB(200, 10, 10));
    c.SetPerformance(mode);
    shots.push_back(Grab(c));
  }
  const QImage& img = shots[0];
  EXPECT_EQ(img.pixel(0, 0), Rgb(SysColor(COLOR_BTNHIGHLIGHT)));     // outer raised, top-left
  EXPECT_EQ(img.pixel(39, 23), Rgb(SysColor(COLOR_3DDKSHADOW)));     // outer raised, bottom-right
  EXPECT_EQ(img.pixel(1, 1), Rgb(SysColor(COLOR_3DDKSHADOW)));       // inner lowered, top-left
  EXPECT_EQ(img.pixel(38, 22), Rgb(SysColor(COLOR_BTNFACE)));        // inner lowered, bottom-right
  EXPECT_EQ(img.pixel(2, 2), Rgb(RGB(200, 10, 10)));                 // border
  EXPECT_EQ(img.pixel(20, 12), Rgb(RGB(200, 10, 10)));               // background
  EXPECT_EQ(shots[1], shots[0]) << "shared surface differs from painting directly";
  EXPECT_EQ(shots[2], shots[0]) << "private buffer differs from painting directly";
}

// The shared surface was sized once from the screen; a larger control painted past
// its end. It grows now, and its memory goes when the last control does.
TEST_F(ControlBaseTest, SharedSurfaceGrowsForLargeControlsAndIsFreedWithTheLast) {
  const QSize screen = QGuiApplication::primaryScreen()->size();
  const int w = screen.width() + 900, h = screen.height() + 700;
  {
    TTeControl big;
    big.SetPerformance(kspSharedBuffer);
    big.SetColor(RGB(0, 128, 255));
    big.resize(w, h);
    const QImage img = Grab(big);
    EXPECT_EQ(img.pixel(w - 1, h - 1), Rgb(RGB(0, 128, 255)));
    EXPECT_GE(TTeSharedPaintSurface::Instance().Bitmap().Width(), w);
    EXPECT_GE(TTeSharedPaintSurface::Instance().Bitmap().Height(), h);
  }
  EXPECT_EQ(TTeSharedPaintSurface::Instance().Users(), 0);
  EXPECT_TRUE(TTeSharedPaintSurface::Instance().Bitmap().Empty()) << "surface kept after the last control";
}

// Code 3 at registration was delivered during the base constructor, so only the
// base's handler saw it. It is posted now and reaches the finished control once.
TEST_F(ControlBaseTest, BecameCurrentAtConstructionReachesTheDerivedHandlerOnce) {
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  RecordingControl c;
  EXPECT_TRUE(c.Codes.empty());
  QCoreApplication::sendPostedEvents(&c);
  EXPECT_EQ(c.Codes, std::vector<int>{ktcBecameCurrent});
}

TEST_F(ControlBaseTest, ThemeChangesArriveAsEventsInTheManagersOrder) {
  RecordingControl c;
  QCoreApplication::sendPostedEvents(&c);
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  ThemeManager().SetCurrentThemeHue(10);  // hidden: no code 5
  c.show();
  ThemeManager().SetCurrentThemeHue(20);
  ThemeManager().ClearCurrentTheme();
  const std::vector<int> expected{ktcChanging, ktcBecameCurrent, ktcChanged,
                                  ktcChanging, ktcReplaced,      ktcChanged,
                                  ktcLookChanged,
                                  ktcChanging, ktcRemoved,       ktcChanged};
  EXPECT_EQ(c.Codes, expected);
}

TEST_F(ControlBaseTest, OnlyTheOwnLinkChangeIsTakenAndAppliesBounds) {
  RecordingTheme linked;
  linked.BoundsObject = "panel";
  linked.Bounds = {7, 8, 57, 38};
  FixedLink own, other;
  own.Theme = &linked;
  RecordingControl c;
  c.setGeometry(0, 0, 20, 20);
  c.SetThemeObject("panel");
  c.SetThemeLink(&own);
  EXPECT_EQ(c.geometry(), QRect(7, 8, 50, 30)) << "bounds not applied when the link was set";
  c.setGeometry(0, 0, 20, 20);
  ThemeManager().NotifyLinkChanged(&other);
  EXPECT_EQ(c.LinkChanges, 0);
  ThemeManager().NotifyLinkChanged(&own);
  EXPECT_EQ(c.LinkChanges, 1);
  EXPECT_EQ(c.geometry(), QRect(7, 8, 50, 30));
}

TEST_F(ControlBaseTest, ThemeOfAControlIsItsLinksWhenItHasOneElseTheCurrent) {
  auto current = std::make_unique<RecordingTheme>();
  TteTheme* currentTheme = current.get();
  ThemeManager().SetCurrentTheme(std::move(current));
  RecordingTheme linkTheme;
  FixedLink link;
  TTeControl c;
  EXPECT_EQ(c.Theme(), currentTheme);
  c.SetThemeLink(&link);
  EXPECT_EQ(c.Theme(), currentTheme) << "a link without a theme must fall back";
  link.Theme = &linkTheme;
  EXPECT_EQ(c.Theme(), &linkTheme);
}

TEST_F(ControlBaseTest, BoundsFromTheCurrentThemeApplyOnceTheControlIsBuilt) {
  auto theme = std::make_unique<RecordingTheme>();
  theme->BoundsObject = "default";
  theme->Bounds = {-1, 12, 80, 40};
  ThemeManager().SetCurrentTheme(std::move(theme));
  TTeControl c;
  c.move(30, 0);
  QCoreApplication::sendPostedEvents(&c);
  EXPECT_EQ(c.geometry(), QRect(30, 12, 50, 28));
}

TEST_F(ControlBaseTest, MouseAndFocusTrackingAndHidingClearsFocus) {
  // Mouse first, on a window never shown, so that no real pointer interferes.
  TTeControl hot;
  int entered = 0, left = 0;
  hot.OnMouseEnter = [&](QWidget& sender) { entered += &sender == &hot; };
  hot.OnMouseLeave = [&](QWidget& sender) { left += &sender == &hot; };
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&hot, &enter);
  EXPECT_TRUE(hot.MouseIn());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&hot, &leave);
  EXPECT_FALSE(hot.MouseIn());
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);

  QWidget window;
  window.resize(200, 100);
  auto* c = new TTeControl(&window);
  c->setFocusPolicy(Qt::StrongFocus);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  window.activateWindow();
  c->setFocus();
  EXPECT_TRUE(QTest::qWaitFor([&] { return c->Focused(); }));
  c->hide();
  EXPECT_FALSE(c->Focused()) << "a hidden control still counts as focused";
}

TEST_F(ControlBaseTest, BothScrollBarsLeaveTheCornerToTheControlAndNeverOverlap) {
  TTeControl c;
  c.resize(120, 80);
  c.SetColor(RGB(0, 200, 0));
  c.SetBorderWidth(2);
  c.SetScrollBars(ksbBoth);
  ASSERT_TRUE(c.HorzScrollBar() && c.VertScrollBar());
  const QRect h = c.HorzScrollBar()->geometry(), v = c.VertScrollBar()->geometry();
  EXPECT_EQ(h, QRect(2, 62, 100, 16));
  EXPECT_EQ(v, QRect(102, 2, 16, 60));
  EXPECT_FALSE(h.intersects(v));
  EXPECT_EQ(c.ClientRect(), (TRect{2, 2, 102, 62}));
  c.HorzScrollBar()->hide();
  c.VertScrollBar()->hide();
  EXPECT_EQ(Grab(c).pixel(110, 70), Rgb(RGB(0, 200, 0))) << "corner square not painted";
  c.SetScrollBars(ksbVertical);
  EXPECT_EQ(c.HorzScrollBar(), nullptr);
  EXPECT_EQ(c.VertScrollBar()->geometry(), QRect(102, 2, 16, 76));
}

// A windowless control that shows only what lies under it.
class SeeThrough : public TTeGraphicControl {
 public:
  using TTeGraphicControl::TTeGraphicControl;
  void PaintControl(TCanvas& canvas) override { DrawParentBackground(this, canvas); }
};

// A parent that paints two halves in its own paint event.
class HalvesParent : public QWidget {
 public:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(0, 0, width() / 2, height(), QColor(255, 0, 0));
    p.fillRect(width() / 2, 0, width() - width() / 2, height(), QColor(0, 0, 255));
  }
};

TEST_F(ControlBaseTest, ParentBackgroundIsWhatTheParentPaintsUnderTheControl) {
  HalvesParent parent;
  parent.resize(100, 40);
  auto* child = new SeeThrough(&parent);
  child->setGeometry(40, 10, 20, 10);  // straddles the middle at x = 50
  const QImage img = Grab(*child);
  EXPECT_EQ(img.pixel(9, 5), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(10, 5), qRgb(0, 0, 255));
}

TEST_F(ControlBaseTest, ParentBackgroundOfASkinnedParentIsItsFrameAndBackground) {
  TTeControl parent;
  parent.resize(60, 40);
  parent.SetColor(RGB(9, 99, 199));
  parent.SetBevelOuter(kbvRaised);
  parent.SetBevelInner(kbvNone);
  parent.SetBevelWidth(1);
  auto* child = new SeeThrough(&parent);
  child->setGeometry(0, 0, 10, 10);
  const QImage img = Grab(*child);
  EXPECT_EQ(img.pixel(0, 0), Rgb(SysColor(COLOR_BTNHIGHLIGHT)));
  EXPECT_EQ(img.pixel(5, 5), Rgb(RGB(9, 99, 199)));
}

class PaintedParent : public QWidget {
  Q_OBJECT
};
class MorePaintedParent : public PaintedParent {
  Q_OBJECT
};

TEST_F(ControlBaseTest, TheMostDerivedRegisteredPainterWinsAndTheEarlierOfTwoEqual) {
  const auto fill = [](QRgb rgb) {
    return [rgb](TCanvas& canvas, const TTeBackgroundPaintInfo& info) {
      FillRectColor(canvas, info.ControlRect, RGB(qRed(rgb), qGreen(rgb), qBlue(rgb)));
    };
  };
  RegisterBackgroundPainter(&PaintedParent::staticMetaObject, fill(qRgb(1, 1, 1)));
  RegisterBackgroundPainter(&MorePaintedParent::staticMetaObject, fill(qRgb(2, 2, 2)));
  RegisterBackgroundPainter(&MorePaintedParent::staticMetaObject, fill(qRgb(3, 3, 3)));
  PaintedParent plain;
  MorePaintedParent derived;
  for (QWidget* parent : {static_cast<QWidget*>(&plain), static_cast<QWidget*>(&derived)}) {
    parent->resize(50, 50);
    auto* child = new SeeThrough(parent);
    child->setGeometry(20, 20, 8, 8);
  }
  EXPECT_EQ(Grab(*plain.findChild<SeeThrough*>()).pixel(4, 4), qRgb(1, 1, 1));
  EXPECT_EQ(Grab(*derived.findChild<SeeThrough*>()).pixel(4, 4), qRgb(2, 2, 2));
  UnregisterBackgroundPainter(&PaintedParent::staticMetaObject);
  UnregisterBackgroundPainter(&MorePaintedParent::staticMetaObject);
}

}  // namespace

#include "control_base_test.moc"
