// The progress bar: fraction and geometry, clamping, repaint only on a new fraction,
// classic chunks, and pixels against the theme's own painting.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "te_progress_bar.h"
#include "theme_kinds.h"

namespace {

TEST(ProgressFraction, ZeroOutsideTheRangeForNegativeMinAndForAnEmptyRange) {
  struct Case {
    int Min, Max, Position;
    double Expected;
  };
  const Case cases[] = {
      {0, 100, 50, 0.5}, {0, 100, 100, 1.0}, {20, 40, 25, 0.25}, {0, 100, 101, 0.0},
      {5, 5, 5, 0.0},    {-10, 10, 0, 0.0},  {0, 0, 0, 0.0},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(ProgressFraction(c.Min, c.Max, c.Position), c.Expected)
        << c.Min << ".." << c.Max << " at " << c.Position;
}

TEST(ProgressGeometry, AreaInsideBorderAndFillFromLeftOrBottom) {
  const TTeProgressGeometry h = ProgressGeometry(96, 16, true, 0, kpoHorizontal, 0.5);
  EXPECT_EQ(h.Area, (TRect{2, 2, 94, 14}));
  EXPECT_EQ(h.Filled, (TRect{2, 2, 48, 14}));
  // 0.25 x 98 = 24.5 rounds to the even 24.
  const TTeProgressGeometry v = ProgressGeometry(16, 100, false, 1, kpoVertical, 0.25);
  EXPECT_EQ(v.Area, (TRect{1, 1, 15, 99}));
  EXPECT_EQ(v.Filled, (TRect{1, 75, 15, 99}));
}

// Position used to be stored as given; now it stays in Min..Max, and Min = Max paints
// an empty bar.
TEST(ProgressBar, PositionIsClampedAndAnEmptyRangePaintsNoBar) {
  TTeProgressBar bar;
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  bar.SetPosition(-5);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(80);
  bar.SetMax(60);
  EXPECT_EQ(bar.Position(), 60);
  bar.SetMin(70);
  EXPECT_EQ(bar.Min(), 70);
  EXPECT_EQ(bar.Max(), 70);
  EXPECT_EQ(bar.Position(), 70);
  bar.SetSmooth(true);
  bar.resize(96, 16);
  const QImage img = Grab(bar);
  const QRgb highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
  for (int x = 0; x < 96; ++x) ASSERT_NE(img.pixel(x, 8), highlight) << "filled at x " << x;
  bar.SetStep(500);
  EXPECT_EQ(bar.Step(), 70);
}

class CountingBar : public TTeProgressBar {
 public:
  int Paints = 0;
  void paintEvent(QPaintEvent* e) override {
    ++Paints;
    TTeProgressBar::paintEvent(e);
  }
};

TEST(ProgressBar, RepaintsAtOnceOnlyWhenTheFractionChanges) {
  CountingBar bar;
  bar.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  QApplication::processEvents();
  bar.SetPosition(10);
  const int afterChange = bar.Paints;
  EXPECT_GT(afterChange, 0);
  bar.SetPosition(10);
  bar.SetMax(100);
  bar.SetPosition(100);
  const int atEnd = bar.Paints;
  bar.SetPosition(150);  // clamped to 100: the same fraction
  EXPECT_EQ(bar.Paints, atEnd);
  EXPECT_EQ(atEnd, afterChange + 1);
}

TEST(ProgressBar, ClassicChunksAreTwoPixelsApartAndCountedFromTheFraction) {
  ThemeManager().ClearCurrentTheme();
  TTeProgressBar bar;
  bar.resize(96, 16);
  bar.SetPosition(50);
  const QImage img = Grab(bar);
  const QRgb highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
  // Thickness 12: chunks of 8 at a pitch of 10; 92 div 10 = 9, round(4.5) + 1 = 5 chunks
  // (halves round to even).
  std::string row;
  for (int x = 2; x < 94; ++x) row += img.pixel(x, 8) == highlight ? '#' : '.';
  std::string expected(92, '.');
  for (int chunk = 0; chunk < 5; ++chunk) expected.replace(size_t(chunk) * 10, 8, 8, '#');
  EXPECT_EQ(row, expected);
}

TEST(ProgressBar, PixelsEqualTheThemesOwnPainting) {
  for (const ThemeKind& kind : ThemeKinds()) {
    auto made = kind.Make();
    if (!made) continue;  // the classic look has its own test
    TteTheme* theme = made.get();
    ThemeManager().SetCurrentTheme(std::move(made));
    for (bool smooth : {false, true}) {
      TTeControl parent;  // the face colour under a see-through bar
      parent.resize(120, 40);
      auto& bar = *new TTeProgressBar(&parent);
      bar.resize(96, 16);
      bar.SetSmooth(smooth);
      bar.SetPosition(40);
      const QImage shot = Grab(bar);
      auto ref = FaceBitmap(96, 16);
      theme->PaintProgressBar(0, ref->Canvas(), ProgressInfo({0, 0, 96, 16}, kppHorzFrame), "default");
      theme->PaintProgressBar(0, ref->Canvas(), ProgressInfo(bar.Geometry().Filled, smooth ? kppHorzSolid : kppHorzBar),
                              "default");
      EXPECT_EQ(FirstDifference(shot, *ref), "") << kind.Name << (smooth ? " smooth" : " chunked");
    }
  }
  ThemeManager().ClearCurrentTheme();
}

}  // namespace
