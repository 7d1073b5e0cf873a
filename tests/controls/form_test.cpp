// The skinned window frame and its option classes, offscreen.
#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>
#include <QWindow>
#include <gtest/gtest.h>

#include "te_form.h"
#include "theme_kinds.h"

namespace {

TEST(FormOptions, SettersClampAndTellTheirOwner) {
  TTeAnimation a;
  a.SetTime(30);
  EXPECT_EQ(a.Time(), 50);
  a.SetTime(10000);
  EXPECT_EQ(a.Time(), 9000);
  a.SetResolution(0);
  EXPECT_EQ(a.Resolution(), 1);
  a.SetTileCount(25);
  EXPECT_EQ(a.TileCount(), 20);
  a.SetDirection(kdNoRotate);
  EXPECT_EQ(a.Direction(), kdNone);
  a.SetDirection(kdRotate180);
  EXPECT_EQ(a.Direction(), kdRotate180);
  EXPECT_FALSE(a.EffectKindStored());
  a.SetEffectKind("[ FADE ] - FadeIn");
  EXPECT_TRUE(a.EffectKindStored());

  TTeFormOptions options;
  int changes = 0;
  options.OnChange = [&] { ++changes; };
  options.Blending().SetValue(300);
  EXPECT_EQ(options.Blending().Value(), 255);
  EXPECT_EQ(changes, 1);
  options.Blending().SetValue(255);  // no change, no notification
  EXPECT_EQ(changes, 1);
  options.Shadow().SetEnabled(true);
  options.Shadow().SetSize(30);
  EXPECT_EQ(options.Shadow().Size(), 20);
  EXPECT_TRUE(options.Shadow().Enabled());
  options.Shadow().SetSize(-5);  // off, and kept as 0 rather than negative
  EXPECT_EQ(options.Shadow().Size(), 0);
  EXPECT_FALSE(options.Shadow().Enabled());
  EXPECT_EQ(changes, 4);

  TTeGravitation g;
  EXPECT_TRUE(g.Enabled());
  EXPECT_EQ(g.Size(), 20);
  EXPECT_TRUE(g.SnapToDesktop());
  EXPECT_FALSE(g.SnapToForms());
  g.SetSize(0);
  EXPECT_EQ(g.Size(), 1);
  g.SetSize(80);
  EXPECT_EQ(g.Size(), 50);
  const TTeDragging d;
  EXPECT_TRUE(d.Moveable && d.Sizeable);
  EXPECT_EQ(d.DragMode, kfdmFullDrag);
}

TEST(FormButtons, ShownByStyleIconsAndState) {
  const TTeBorderIcons main = BorderIcon(TTeBorderIcon::kbiClose) | BorderIcon(TTeBorderIcon::kbiSystemMenu) |
                              BorderIcon(TTeBorderIcon::kbiMinimize) | BorderIcon(TTeBorderIcon::kbiMaximize) |
                              BorderIcon(TTeBorderIcon::kbiTray);
  const auto bits = [](std::initializer_list<int> list) {
    uint16_t b = 0;
    for (int i : list) b |= uint16_t(1u << i);
    return b;
  };
  EXPECT_EQ(FormButtonsShown(TTeBorderStyle::kbsStandard, main, kwsNormal), bits({0, 1, 3, 5, 9, 10, 11, 12}));
  EXPECT_EQ(FormButtonsShown(TTeBorderStyle::kbsStandard, main, kwsMaximized), bits({0, 1, 3, 6, 9, 10, 11, 12}));
  EXPECT_EQ(FormButtonsShown(TTeBorderStyle::kbsStandard, kDefaultBorderIcons, kwsRollup),
            bits({0, 1, 3, 5, 6, 8, 9, 10, 11, 12}));
  EXPECT_EQ(FormButtonsShown(TTeBorderStyle::kbsStandard, main, kwsMinimized), bits({0, 1, 4, 5, 9, 10, 11, 12}));
  EXPECT_EQ(FormButtonsShown(TTeBorderStyle::kbsNone, main, kwsNormal), 0);
  EXPECT_EQ(FormButtonsShown(TTeBorderStyle::kbsBorder, kDefaultBorderIcons, kwsTray), 0);
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(window.get());
    layout->addWidget(new QWidget(window.get()));
    form = new TTeForm(window.get());
    form->SetBorderIcons(kDefaultBorderIcons);
    window->setGeometry(100, 100, 400, 300);
  }
  void TearDown() override { ThemeManager().ClearCurrentTheme(); }
  // The middle of a rectangle; (-1, -1) for an empty one.
  QPoint Center(const TRect& r) const {
    return r.IsEmpty() ? QPoint(-1, -1) : QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  std::unique_ptr<QWidget> window;
  TTeForm* form = nullptr;
};

// Every frame area answers its code under each theme kind; the client is 0.
TEST_F(FormTest, HitTestNamesEveryFrameArea) {
  for (const ThemeKind& kind : ThemeKinds()) {
    MakeCurrent(kind.Make());
    form->ApplyFrame();
    const TRect c = form->GetFrameClientRect();
    ASSERT_FALSE(c.IsEmpty()) << kind.Name;
    ASSERT_GT(c.Top, 0) << kind.Name;
    const int w = window->width(), h = window->height();
    const struct {
      QPoint At;
      int Code;
    } cases[] = {
        {Center(c), 0},
        {Center(form->GetButtonRect(0)), 11},
        {Center(form->GetButtonRect(1)), 17},
        {Center(form->GetButtonRect(2)), 13},
        {Center(form->GetButtonRect(3)), 14},
        {Center(form->GetButtonRect(5)), 15},
        {{w / 2, h - 1}, 5},
        {{0, h / 2}, 2},
        {{w - 1, h / 2}, 4},
        {{0, h - 1}, 9},
        {{w - 1, h - 1}, 10},
        {{0, 0}, 7},
        {{w - 1, 0}, 8},
        {{w / 2, 0}, 3},
        {{w / 3, (form->GetCaptionRect().Top + form->GetCaptionRect().Bottom) / 2}, 1},
    };
    for (const auto& t : cases) {
      if (t.At == QPoint(-1, -1)) continue;  // a button this theme does not draw
      EXPECT_EQ(form->HitTest(t.At.x(), t.At.y()), t.Code) << kind.Name << " at " << t.At.x() << "," << t.At.y();
    }
  }
}

TEST_F(FormTest, TheClassicFrameHasCornerZonesAndNoEdgesWhenMaximised) {
  MakeCurrent(nullptr);
  form->ApplyFrame();
  EXPECT_FALSE(form->Themed());
  EXPECT_EQ(form->HitTest(15, 1), 7);
  EXPECT_EQ(form->HitTest(window->width() - 15, 1), 8);
  EXPECT_EQ(form->HitTest(1, 15), 7);
  EXPECT_EQ(form->HitTest(1, window->height() - 15), 9);
  window->show();
  form->Maximize();
  EXPECT_EQ(form->WindowState(), kwsMaximized);
  for (QPoint p : {QPoint(1, window->height() / 2), QPoint(window->width() / 2, window->height() - 1)}) {
    const int code = form->HitTest(p.x(), p.y());
    EXPECT_TRUE(code < 2 || code > 10) << p.x() << "," << p.y() << " gave " << code;
  }
}

TEST_F(FormTest, MaximiseRollUpRestoreAndTrayKeepTheirBounds) {
  MakeCurrent(nullptr);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  const QRect normal = window->geometry();
  const QRect work = window->screen()->availableGeometry();

  form->Maximize();
  EXPECT_EQ(form->WindowState(), kwsMaximized);
  EXPECT_EQ(window->geometry(), work);
  form->Rollup();
  EXPECT_EQ(form->WindowState(), kwsRollup);
  EXPECT_EQ(window->width(), work.width());
  EXPECT_EQ(window->height(), form->GetFrameClientRect().Top + (window->height() - form->GetFrameClientRect().Bottom));
  form->Restore();  // back to maximised, although the rolled-up window is as wide as that
  EXPECT_EQ(form->WindowState(), kwsMaximized);
  EXPECT_EQ(window->geometry(), work);
  form->Restore();  // and then to the bounds before maximising
  EXPECT_EQ(form->WindowState(), kwsNormal);
  EXPECT_EQ(window->geometry(), normal);

  form->Rollup();
  form->Rollup();  // a toggle
  EXPECT_EQ(form->WindowState(), kwsNormal);
  EXPECT_EQ(window->geometry(), normal);

  // A veto leaves everything as it was.
  form->OnMaximize = [](TTeDefaultForm&, bool& allow) { allow = false; };
  form->Maximize();
  EXPECT_EQ(form->WindowState(), kwsNormal);
  form->OnMaximize = nullptr;

  // No tray here: the window minimises instead of vanishing.
  ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
  form->MinimizeToTray();
  EXPECT_EQ(form->WindowState(), kwsMinimized);
  EXPECT_TRUE(window->isVisible());
  form->Restore();
  EXPECT_EQ(form->WindowState(), kwsNormal);
  EXPECT_EQ(window->geometry(), normal);
}

TEST_F(FormTest, TheWindowCanVetoGoingToTheTray) {
  struct Veto : QObject {
    bool eventFilter(QObject*, QEvent* e) override {
      if (e->type() == kFormQueryTrayEvent) static_cast<TTeFormQueryTrayEvent*>(e)->Answer = 1;
      return false;
    }
  } veto;
  window->installEventFilter(&veto);
  window->show();
  form->MinimizeToTray();
  EXPECT_EQ(form->WindowState(), kwsNormal);
}

TEST_F(FormTest, CaptionButtonsActOnlyWhenReleasedWhereTheyWerePressed) {
  MakeCurrent(nullptr);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  int closes = 0;
  form->OnClose = [&](TTeDefaultForm&, bool& allow) {
    ++closes;
    allow = false;
  };
  QWindow* w = window->windowHandle();
  const QPoint close = Center(form->GetButtonRect(0));
  QTest::mousePress(w, Qt::LeftButton, {}, close);
  EXPECT_EQ(form->PressedArea(), 11);
  QTest::mouseRelease(w, Qt::LeftButton, {}, Center(form->GetFrameClientRect()));
  QCoreApplication::processEvents();
  EXPECT_EQ(closes, 0);
  QTest::mousePress(w, Qt::LeftButton, {}, close);
  QTest::mouseRelease(w, Qt::LeftButton, {}, close);
  QCoreApplication::processEvents();
  EXPECT_EQ(closes, 1);
  // A double-click on the system icon closes through the same path.
  QTest::mouseDClick(w, Qt::LeftButton, {}, Center(form->GetButtonRect(1)));
  QCoreApplication::processEvents();
  EXPECT_GE(closes, 2);
}

TEST_F(FormTest, DraggingTheCaptionMovesAndAnEdgeSizes) {
  MakeCurrent(nullptr);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  QWindow* w = window->windowHandle();
  const QRect before = window->geometry();
  const QPoint grip(window->width() / 3, (form->GetCaptionRect().Top + form->GetCaptionRect().Bottom) / 2);
  // Positions are the window's own: once it has moved, the pointer's place on
  // the screen is the same window point as at the press.
  QTest::mousePress(w, Qt::LeftButton, {}, grip);
  QTest::mouseMove(w, grip + QPoint(30, 20));
  QTest::mouseRelease(w, Qt::LeftButton, {}, grip);
  EXPECT_EQ(window->geometry(), before.translated(30, 20));

  const QRect moved = window->geometry();
  const QPoint edge(window->width() - 1, window->height() / 2);
  QTest::mousePress(w, Qt::LeftButton, {}, edge);
  QTest::mouseMove(w, edge - QPoint(40, 0));
  QTest::mouseRelease(w, Qt::LeftButton, {}, edge - QPoint(40, 0));
  EXPECT_EQ(window->geometry(), moved.adjusted(0, 0, -40, 0));
}

// With two monitors side by side the maximised window fills its own one, not
// the first and not a spill onto its neighbour. (Runs with two offscreen screens.)
TEST_F(FormTest, MaximisedFillsTheWindowsOwnMonitor) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.size() < 2) GTEST_SKIP() << "one screen only";
  MakeCurrent(nullptr);
  QScreen* right = screens[1];
  window->setGeometry(right->geometry().left() + 100, 100, 400, 300);
  window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  ASSERT_EQ(window->screen(), right);
  form->Maximize();
  EXPECT_EQ(window->geometry(), right->availableGeometry());
  form->Restore();
  EXPECT_EQ(window->geometry(), QRect(right->geometry().left() + 100, 100, 400, 300));
}

// The frame rendered into a surface (the render message) is the theme's own
// painting for that size and state; the client its client colour.
TEST_F(FormTest, RenderedFrameIsTheThemesPainting) {
  for (const ThemeKind& kind : ThemeKinds()) {
    TteTheme* theme = MakeCurrent(kind.Make());
    form->ApplyFrame();
    const int w = window->width(), h = window->height();
    TteBitmap surface;
    surface.SetSize(w + 10, h + 10);
    surface.Fill(0xFF000000u);
    TTeFormRenderEvent render(&surface, QPoint(5, 5));
    QCoreApplication::sendEvent(window.get(), &render);

    if (!theme || !theme->HasWindow(kwkSizeable, "default")) theme = nullptr;
    std::unique_ptr<TteTheme> classic;
    if (!theme) {
      classic = TteTheme::ThemeClass().Create();
      theme = classic.get();
    }
    TteBitmap ref;
    ref.SetSize(w + 10, h + 10);
    ref.Fill(0xFF000000u);
    TCanvas& canvas = ref.Canvas();
    canvas.SetOrigin({-5, -5});
    const TRect client = form->GetFrameClientRect();
    canvas.SetClipRegion(QRegion(0, 0, w, h) - client.ToQRect());
    const TteWindowInfo info = WindowInfo({0, 0, w, h}, false, FormButtonsShown(TTeBorderStyle::kbsStandard,
                                                                                 kDefaultBorderIcons, kwsNormal),
                                          QString());
    theme->PaintWindow(kwkSizeable, canvas, info, "default");
    for (int index : {0, 2, 3, 5, 6}) {
      const TRect r = form->GetButtonRect(index);
      if (r.IsEmpty()) continue;
      const uint8_t kinds[] = {kbiClose, kbiSysMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollUp, kbiTray};
      theme->PaintWindowButton(kwkSizeable, canvas, TteWindowButtonInfo{r, kinds[index], kwbsInactive, nullptr},
                               "default");
    }
    canvas.SetClipRect(client);
    theme->PaintWindowClient(kwkSizeable, canvas, client, "default");
    // The system icon (the application's, none here) is left out.
    const TRect icon = form->GetButtonRect(1).Offset(5, 5);
    for (int y = 0; y < h + 10; ++y)
      for (int x = 0; x < w + 10; ++x) {
        if (icon.Contains(x, y)) continue;
        ASSERT_EQ(surface.GetPixel(x, y) & 0xFFFFFF, ref.GetPixel(x, y) & 0xFFFFFF)
            << kind.Name << " at " << x << "," << y;
      }
  }
}

}  // namespace
