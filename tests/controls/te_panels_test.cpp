// Panels: the themed face and content rectangle, and the see-through panels.
#include <QApplication>
#include <gtest/gtest.h>

#include "te_panels.h"
#include "theme_kinds.h"

namespace {

TEST(Panel, ThemedFaceAndContentRectangleComeFromTheTheme) {
  for (const ThemeKind& kind : ThemeKinds()) {
    auto made = kind.Make();
    TteTheme* theme = MakeCurrent(std::move(made));
    TTeControl parent;
    parent.resize(140, 120);
    auto* panel = new TTePanel(&parent);
    panel->resize(100, 90);
    const QImage shot = Grab(*panel);
    if (!theme || !theme->HasPanel(0, "default")) {
      // The ordinary panel: one raised bevel around the face.
      EXPECT_EQ(shot.pixel(0, 0), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT))) << kind.Name;
      EXPECT_EQ(shot.pixel(99, 89), Rgb(GetSysColor(COLOR_3DDKSHADOW))) << kind.Name;
      EXPECT_EQ(panel->ContentRect(), (TRect{1, 1, 99, 89})) << kind.Name;
      continue;
    }
    const TRect content = theme->PanelContentRect(0, {0, 0, 100, 90}, "default");
    EXPECT_EQ(panel->ContentRect(), content) << kind.Name;
    EXPECT_EQ(panel->contentsRect(), content.ToQRect()) << kind.Name;
    auto ref = FaceBitmap(100, 90);
    theme->PaintPanel(0, ref->Canvas(), {0, 0, 100, 90}, "default");
    EXPECT_EQ(FirstDifference(shot, *ref), "") << kind.Name;
  }
  ThemeManager().ClearCurrentTheme();
}

TEST(Panel, SeeThroughPanelsShowTheirParentAndAnOpaqueOneItsColour) {
  TTeControl parent;
  parent.resize(100, 100);
  parent.SetColor(RGB(10, 120, 230));
  auto* trans = new TTeTransPanel(&parent);
  auto* clear = new TTeTransparentPanel(&parent);
  trans->setGeometry(0, 0, 40, 40);
  clear->setGeometry(50, 50, 40, 40);
  EXPECT_EQ(Grab(*trans).pixel(20, 20), qRgb(10, 120, 230));
  EXPECT_EQ(Grab(*clear).pixel(20, 20), qRgb(10, 120, 230));
  clear->SetTransparent(false);
  clear->SetColor(RGB(250, 250, 0));
  EXPECT_EQ(Grab(*clear).pixel(20, 20), qRgb(250, 250, 0));
}

}  // namespace
