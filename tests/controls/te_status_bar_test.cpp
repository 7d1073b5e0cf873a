// The status bar: panel layout by priorities, embedded controls, panel clicks.
#include <QApplication>
#include <QMouseEvent>
#include <gtest/gtest.h>

#include "app_error.h"
#include "te_progress_bar.h"
#include "te_status_bar.h"
#include "theme_manager.h"

namespace {

std::vector<TTeStatusPanelMeasure> Panels(std::initializer_list<TTeStatusPanelMeasure> list) { return list; }

TEST(StatusLayout, PanelsThatFitKeepTheirWidths) {
  // A 405-pixel bar with border 2: the progress panel and the 300-pixel text panel.
  const auto places = LayoutStatusPanels(Panels({{100, 10000, 100, 0}, {300, 10000, 100, 0}}), {2, 2, 403, 20});
  ASSERT_TRUE(places[0].Visible && places[1].Visible);
  EXPECT_EQ(places[0].Rect, (TRect{2, 2, 102, 20}));
  EXPECT_EQ(places[1].Rect, (TRect{102, 2, 402, 20}));
}

TEST(StatusLayout, TooNarrowHidesTheLowestViewPriorityFirstButNeverOneOf100OrTheLast) {
  struct Case {
    int Available;
    std::vector<TTeStatusPanelMeasure> In;
    std::vector<bool> Visible;
  };
  const Case cases[] = {
      {250, {{100, 10000, 100, 0}, {100, 10000, 50, 0}, {100, 10000, 20, 0}}, {true, true, false}},
      {150, {{100, 10000, 100, 0}, {100, 10000, 50, 0}, {100, 10000, 20, 0}}, {true, false, false}},
      {150, {{100, 10000, 20, 0}, {100, 10000, 100, 0}, {100, 10000, 50, 0}}, {false, true, false}},
      {100, {{300, 10000, 10, 0}}, {true}},
      {100, {{60, 10000, 100, 0}, {60, 10000, 100, 0}}, {true, true}},
      {300, {{60, 10000, 0, 0}, {60, 10000, 100, 0}}, {false, true}},
  };
  for (const Case& c : cases) {
    const auto places = LayoutStatusPanels(c.In, {0, 0, c.Available, 20});
    std::vector<bool> visible;
    for (const auto& p : places) visible.push_back(p.Visible);
    EXPECT_EQ(visible, c.Visible) << "available " << c.Available;
  }
}

TEST(StatusLayout, LeftoverGoesToTheHighestStretchUpToItsMaximum) {
  const auto places = LayoutStatusPanels(
      Panels({{100, 10000, 100, 0}, {100, 130, 100, 90}, {50, 10000, 100, 40}}), {0, 0, 400, 20});
  // 150 left: the 90 panel takes 30 up to its maximum of 130, the 40 panel the other 120
  // and, stretching and last, reaches the right edge.
  EXPECT_EQ(places[0].Rect, (TRect{0, 0, 100, 20}));
  EXPECT_EQ(places[1].Rect, (TRect{100, 0, 230, 20}));
  EXPECT_EQ(places[2].Rect, (TRect{230, 0, 400, 20}));
}

TEST(StatusLayout, ImageAndTextSitByAlignmentAndLayout) {
  const TRect panel{100, 2, 300, 20};
  struct Case {
    TAlignment Alignment;
    TTeStatusGliphLayout Layout;
    int TextWidth;
    TRect Image, Text;
  };
  const Case cases[] = {
      {taLeftJustify, sglGlyphLeft, 50, {102, 3, 118, 19}, {122, 4, 172, 18}},
      {taLeftJustify, sglGlyphRight, 50, {156, 3, 172, 19}, {102, 4, 152, 18}},
      {taRightJustify, sglGlyphLeft, 50, {228, 3, 244, 19}, {248, 4, 298, 18}},
      {taCenter, sglGlyphLeft, 50, {165, 3, 181, 19}, {185, 4, 235, 18}},
      {taLeftJustify, sglGlyphLeft, 500, {102, 3, 118, 19}, {122, 4, 298, 18}},  // text cut to fit
  };
  for (const Case& c : cases) {
    const TTeStatusPanelContent p =
        StatusPanelContent(panel, 2, 4, {16, 16}, c.TextWidth, 14, c.Alignment, c.Layout);
    EXPECT_EQ(p.Image, c.Image) << "alignment " << int(c.Alignment) << " layout " << int(c.Layout);
    EXPECT_EQ(p.Text, c.Text) << "alignment " << int(c.Alignment) << " layout " << int(c.Layout);
  }
}

TEST(StatusBar, APanelShowsItsImageOnlyForAValidIndex) {
  ThemeManager().ClearCurrentTheme();
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(qRgb(0, 0, 255));
  TteImageList list{&strip, 16, false};
  TTeStatusBar bar;
  bar.resize(200, 22);
  bar.SetSizeGrip(false);
  bar.SetImages(&list);
  TTeStatusPanel* p = bar.AddPanel();
  p->SetWidth(100);
  p->SetImageIndex(1);
  const auto blueAt = [&](int x) { return bar.grab().toImage().pixel(x, 11) == qRgb(0, 0, 255); };
  EXPECT_TRUE(blueAt(4 + 8)) << "image missing at margin 2 inside the panel";
  p->SetImageIndex(2);
  EXPECT_FALSE(blueAt(4 + 8));
}

TEST(StatusBar, EmbeddedControlsFollowTheirPanelAndOwnParentsAreRefused) {
  QWidget form;
  auto* bar = new TTeStatusBar(&form);
  bar->resize(405, 22);
  TTeStatusPanel* progressPanel = bar->AddPanel();
  progressPanel->SetWidth(100);
  TTeStatusPanel* text = bar->AddPanel();
  text->SetWidth(300);
  auto* progress = new TTeProgressBar;
  progressPanel->SetControl(progress);
  EXPECT_EQ(progress->parentWidget(), bar);
  EXPECT_EQ(progress->geometry(), QRect(3, 3, 100 - 4, 16));  // panel inset 1, 2 more on the right
  EXPECT_EQ(bar->GetPanelRect(1), (TRect{102, 2, 402, 20}));
  text->SetControl(progress);  // moves from the first panel
  EXPECT_EQ(progressPanel->Control(), nullptr);
  try {
    text->SetControl(&form);
    FAIL() << "embedding the bar's own parent was accepted";
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Message(), "Can't insert own parent");
  }
  text->SetViewPriority(0);
  EXPECT_FALSE(text->Visible());
  EXPECT_TRUE(progress->isHidden()) << "the control of a hidden panel still shows";
}

TEST(StatusBar, AChildGetsItsOwnPanelWhichGoesWhenTheChildMovesAway) {
  QWidget form;
  TTeStatusBar bar(&form);
  bar.resize(405, 22);
  auto* progress = new TTeProgressBar(&bar);
  ASSERT_EQ(bar.PanelCount(), 1);
  EXPECT_EQ(bar.Panel(0)->Control(), progress);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(progress->geometry(), QRect(3, 3, 50 - 4, 16)) << "not placed in its panel";
  progress->setParent(&form);
  EXPECT_EQ(bar.PanelCount(), 0) << "the panel of a control moved away stays";
  auto* gone = new TTeProgressBar(&bar);
  delete gone;
  ASSERT_EQ(bar.PanelCount(), 1) << "a destroyed control must leave its panel, emptied";
  EXPECT_EQ(bar.Panel(0)->Control(), nullptr);
}

TEST(StatusBar, AClickIsAPressAndReleaseOverTheSamePanel) {
  TTeStatusBar bar;
  bar.resize(405, 22);
  bar.AddPanel()->SetWidth(100);
  bar.AddPanel()->SetWidth(300);
  std::vector<int> clicked;
  bar.OnPanelClick = [&](TTeStatusBar& s, TTeStatusPanel& p) {
    for (int i = 0; i < s.PanelCount(); ++i)
      if (s.Panel(i) == &p) clicked.push_back(i);
  };
  const auto mouse = [&](QEvent::Type t, int x) {
    QMouseEvent e(t, QPointF(x, 10), QPointF(x, 10), Qt::LeftButton,
                  t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&bar, &e);
  };
  mouse(QEvent::MouseButtonPress, 50);
  mouse(QEvent::MouseButtonRelease, 150);
  mouse(QEvent::MouseButtonPress, 150);
  mouse(QEvent::MouseButtonRelease, 160);
  EXPECT_EQ(clicked, std::vector<int>{1});
  EXPECT_EQ(bar.PanelAt({1, 10}), nullptr) << "the border is no panel";
  EXPECT_EQ(bar.PanelAt({403, 10}), nullptr) << "beyond the last panel";
}

TEST(StatusBar, SizeGripOnlyInTheCornerOfASizeableNormalWindow) {
  QWidget form;
  form.resize(300, 200);
  auto* bar = new TTeStatusBar(&form);
  bar->setGeometry(0, 178, 300, 22);
  EXPECT_TRUE(bar->SizeGripShown());
  EXPECT_EQ(bar->GetSizeGripRect(), (TRect{280, 2, 298, 20}));
  bar->setGeometry(0, 170, 300, 22);
  EXPECT_FALSE(bar->SizeGripShown()) << "not at the window's corner";
  bar->setGeometry(0, 178, 300, 22);
  form.setFixedSize(300, 200);
  EXPECT_FALSE(bar->SizeGripShown()) << "the window cannot be sized";
  form.setMinimumSize(0, 0);
  form.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  form.setWindowState(Qt::WindowMaximized);
  EXPECT_FALSE(bar->SizeGripShown()) << "a maximised window";
  form.setWindowState(Qt::WindowNoState);
  bar->SetSizeGrip(false);
  EXPECT_TRUE(bar->GetSizeGripRect().IsEmpty());
}

}  // namespace
