// Labels: auto-size, the accelerator, and the fonts the advanced label keeps.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "recording_theme.h"
#include "te_label.h"

namespace {

class LabelTest : public ::testing::Test {
 protected:
  void TearDown() override { ThemeManager().ClearCurrentTheme(); }
};

int SpaceHeight(const QFont& font) {
  QImage scratch(1, 1, QImage::Format_ARGB32);
  TCanvas canvas(&scratch);
  canvas.Font = TFont{font};
  TRect r{0, 0, 0, 0};
  canvas.DrawText(" ", r, DT_CALCRECT | DT_EXPANDTABS);
  return r.Height();
}

TEST_F(LabelTest, AutoSizeFitsTheCaptionAndAnEmptyCaptionIsOneSpaceHigh) {
  TTeLabel label;
  EXPECT_EQ(label.height(), SpaceHeight(label.font()));
  EXPECT_GT(label.height(), 0);
  label.SetCaption("A longer caption");
  const int wide = label.width();
  label.SetCaption("A");
  EXPECT_LT(label.width(), wide);
}

TEST_F(LabelTest, RightAlignedAutoSizeKeepsTheRightEdge) {
  QWidget parent;
  auto* label = new TTeLabel(&parent);
  label->SetAlignment(taRightJustify);
  label->setGeometry(100, 10, 80, 17);
  label->SetCaption("Right");
  EXPECT_EQ(label->x() + label->width(), 180);
  label->SetCaption("Much further right");
  EXPECT_EQ(label->x() + label->width(), 180);
}

TEST_F(LabelTest, TheAcceleratorFocusesTheFocusControl) {
  QWidget window;
  auto* label = new TTeLabel(&window);
  auto* edit = new QLineEdit(&window);
  auto* other = new QLineEdit(&window);
  edit->move(0, 30);
  other->move(0, 60);
  label->SetCaption("&Output folder");
  label->SetFocusControl(edit);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  other->setFocus();
  QTest::keyClick(other, Qt::Key_O, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return edit->hasFocus(); }));
}

TEST_F(LabelTest, AdvancedLabelKeepsItsDefaultFontWhateverTheTheme) {
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  auto* theme = static_cast<RecordingTheme*>(ThemeManager().CurrentTheme());
  theme->Fonts().GetFont(kfStaticTextNormal).setFamily("Courier");
  theme->Fonts().GetFont(kfStaticTextNormal).Color = RGB(0, 0, 200);
  TTeAdvancedLabel label;
  label.SetCaption("Title");
  label.grab();
  EXPECT_EQ(theme->LabelFont.family(), "Courier") << "without the default font the theme's is used";

  TFont georgia;
  georgia.setFamily("Georgia");
  georgia.setPixelSize(20);
  georgia.Color = RGB(200, 0, 0);
  label.SetDefaultFont(georgia);
  label.SetAlwaysUseDefaultFont(true);
  label.grab();
  EXPECT_EQ(theme->LabelFont.family(), "Georgia");
  EXPECT_EQ(theme->LabelFont.pixelSize(), 20);
  EXPECT_EQ(theme->LabelFont.Color, RGB(200, 0, 0));
  label.SetAlwaysGetFontColorFromTheme(true);
  label.grab();
  EXPECT_EQ(theme->LabelFont.family(), "Georgia");
  EXPECT_EQ(theme->LabelFont.Color, RGB(0, 0, 200));
  label.setEnabled(false);
  theme->LabelStates.clear();
  label.grab();
  EXPECT_EQ(theme->LabelStates, std::vector<int>{klsDisabled});
}

}  // namespace
