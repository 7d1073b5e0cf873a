// The check box: box state numbers, toggling, OnClick, keyboard, geometry and exact
// pixels against the theme's own painting.
#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

#include "recording_theme.h"
#include "te_check_box.h"
#include "te_control.h"
#include "theme_kinds.h"

namespace {

class CheckBoxTest : public ::testing::Test {
 protected:
  void TearDown() override { ThemeManager().ClearCurrentTheme(); }
};

struct Look {
  TTeCheckBoxState State;
  bool Enabled, Pressed, Hot;
  int Expected;
};
// Disabled over pressed over hot, for each of the three states.
const Look kLooks[] = {
    {kcbsChecked, true, false, false, 0},    {kcbsChecked, true, false, true, 1},
    {kcbsChecked, true, true, true, 2},      {kcbsChecked, false, true, true, 3},
    {kcbsUnChecked, true, false, false, 5},  {kcbsUnChecked, true, false, true, 6},
    {kcbsUnChecked, true, true, false, 7},   {kcbsUnChecked, false, false, false, 8},
    {kcbsMixed, true, false, false, 10},     {kcbsMixed, true, false, true, 11},
    {kcbsMixed, true, true, false, 12},      {kcbsMixed, false, false, true, 13},
};

void MakeLook(TTeCheckBox& c, const Look& l) {
  c.SetState(l.State);
  c.setEnabled(l.Enabled);
  c.setDown(l.Pressed);
  if (l.Hot) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(&c, &e);
  }
}

TEST_F(CheckBoxTest, EveryBoxStateReachesPaintCheckBox) {
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  auto* theme = static_cast<RecordingTheme*>(ThemeManager().CurrentTheme());
  for (const Look& l : kLooks) {
    TTeCheckBox c;
    MakeLook(c, l);
    theme->Clear();
    Grab(c);
    EXPECT_EQ(theme->CheckBoxStates, std::vector<int>{l.Expected}) << "expected state " << l.Expected;
  }
}

TEST_F(CheckBoxTest, TogglingCyclesThroughMixedOnlyWhenGrayedIsAllowed) {
  for (bool grayed : {false, true}) {
    TTeCheckBox c;
    c.SetAllowGrayed(grayed);
    std::vector<int> seen;
    for (int i = 0; i < 3; ++i) {
      c.click();
      seen.push_back(c.State());
    }
    const std::vector<int> expected = grayed ? std::vector<int>{kcbsMixed, kcbsChecked, kcbsUnChecked}
                                             : std::vector<int>{kcbsChecked, kcbsUnChecked, kcbsChecked};
    EXPECT_EQ(seen, expected) << "AllowGrayed " << grayed;
  }
  // Mixed set from code goes to checked even without AllowGrayed.
  TTeCheckBox c;
  c.SetState(kcbsMixed);
  c.click();
  EXPECT_EQ(c.State(), kcbsChecked);
}

TEST_F(CheckBoxTest, OnClickFiresForEveryChangeAndOnlyForAChange) {
  TTeCheckBox c;
  int clicks = 0;
  c.OnClick = [&](TTeCheckBox&) { ++clicks; };
  c.SetState(kcbsUnChecked);
  EXPECT_EQ(clicks, 0);
  c.SetChecked(true);
  EXPECT_EQ(clicks, 1);
  QTest::keyClick(&c, Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(c.Checked());
  c.SetState(kcbsMixed);
  EXPECT_EQ(clicks, 3);
}

TEST_F(CheckBoxTest, MnemonicTogglesTheBox) {
  QWidget window;
  auto* c = new TTeCheckBox(&window);
  c->SetCaption("&Mono");
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_M, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return c->Checked(); })) << "Alt+M did not toggle";
  EXPECT_TRUE(c->hasFocus());
}

TEST(CheckBoxGeometry, BoxAtTheChosenEdgeAndTextBesideIt) {
  const TTeCheckBoxLayout left = CheckBoxLayout(98, 20, {13, 13}, {40, 14}, kalLeftJustify, 5);
  EXPECT_EQ(left.Box, (TRect{0, 3, 13, 16}));
  EXPECT_EQ(left.Text, (TRect{18, 3, 58, 17}));
  const TTeCheckBoxLayout right = CheckBoxLayout(98, 20, {13, 13}, {40, 14}, kalRightJustify, 5);
  EXPECT_EQ(right.Box, (TRect{85, 3, 98, 16}));
  EXPECT_EQ(right.Text, (TRect{2, 3, 42, 17}));
}

TEST_F(CheckBoxTest, AutoSizeFitsBoxSpacingAndText) {
  TTeCheckBox c;
  c.SetCaption("Overwrite existing file");
  c.SetAutoSize(true);
  const int text = c.Geometry().Text.Width();
  EXPECT_GT(text, 0);
  EXPECT_EQ(c.width(), 13 + text + 5 + 2);
  EXPECT_EQ(c.height(), 20);
}

// With no caption and no focus the whole control is the parent's face and the
// theme's check box: compared pixel for pixel with PaintCheckBox into a bitmap.
TEST_F(CheckBoxTest, PixelsEqualTheThemesOwnPainting) {
  for (const ThemeKind& kind : ThemeKinds()) {
    auto made = kind.Make();
    TteTheme* theme = MakeCurrent(std::move(made));
    for (const Look& l : kLooks) {
      TTeControl parent;
      parent.resize(120, 40);
      auto* c = new TTeCheckBox(&parent);
      c->move(4, 4);
      MakeLook(*c, l);
      const QImage shot = Grab(*c);
      auto ref = FaceBitmap(98, 20);
      if (theme) {
        const TPoint size = theme->CheckBoxSize(0, "default");
        const TRect box = Bounds(0, (20 - size.Y) / 2, size.X, size.Y);
        theme->PaintCheckBox(0, ref->Canvas(), CheckBoxInfo(box, uint8_t(l.Expected)), "default");
      } else {
        uint32_t state = DFCS_BUTTONCHECK;
        if (l.State == kcbsChecked) state |= DFCS_CHECKED;
        if (l.State == kcbsMixed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
        if (!l.Enabled) state |= DFCS_INACTIVE;
        ref->Canvas().DrawFrameControl(Bounds(0, 3, 13, 13), DFC_BUTTON, state);
      }
      EXPECT_EQ(FirstDifference(shot, *ref), "") << kind.Name << " state " << l.Expected;
      c->SetCaption("&Mono");
      const TRect text = Inset(c->Geometry().Text, -2);
      ASSERT_FALSE(text.IsEmpty());
      EXPECT_EQ(FirstDifference(Grab(*c), *ref, text), "") << kind.Name << " state " << l.Expected << " with caption";
    }
  }
}

}  // namespace
