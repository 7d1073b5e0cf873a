// Labels: auto-size, the accelerator, and the fonts the advanced label keeps.
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
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

void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(at), QPointF(at), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

TEST_F(LabelTest, TheGlyphIsAThemeButtonThatFollowsTheMouse) {
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  auto* theme = static_cast<RecordingTheme*>(ThemeManager().CurrentTheme());
  TTeLabel label;
  label.SetCaption("More");
  label.SetGlyphThemeObject("arrow");
  label.SetShowGlyph(true);
  const int h = label.height();
  EXPECT_EQ(label.GlyphRect(), (TRect{1, 1, h - 1, h - 1}));
  EXPECT_GT(label.width(), h + 5) << "the text starts after the glyph and its space";
  const auto stateAfter = [&](auto&& act) {
    act();
    theme->Clear();
    label.grab();
    return theme->ButtonStates;
  };
  const QPoint onGlyph(h / 2, h / 2), onText(label.width() - 2, h / 2);
  label.SetActiveGlyph(true);
  EXPECT_EQ(stateAfter([&] { Mouse(&label, QEvent::MouseMove, onGlyph, Qt::NoButton); }), std::vector<int>{1});
  EXPECT_EQ(stateAfter([&] { Mouse(&label, QEvent::MouseButtonPress, onGlyph, Qt::LeftButton); }),
            std::vector<int>{2});
  EXPECT_EQ(stateAfter([&] {
              Mouse(&label, QEvent::MouseMove, onText, Qt::LeftButton);
              Mouse(&label, QEvent::MouseButtonRelease, onText, Qt::NoButton);
            }),
            std::vector<int>{0});
  EXPECT_EQ(stateAfter([&] { Mouse(&label, QEvent::MouseButtonPress, onText, Qt::LeftButton); }),
            std::vector<int>{0});
  Mouse(&label, QEvent::MouseButtonRelease, onText, Qt::NoButton);
  EXPECT_EQ(theme->PaintedObjects, QStringList{"arrow"});

  label.SetActiveGlyph(false);
  label.SetHotTrack(true);
  EXPECT_EQ(stateAfter([&] {
              const QPointF at(onText);
              QEnterEvent e(at, at, at);
              QApplication::sendEvent(&label, &e);
            }),
            std::vector<int>{1});
  EXPECT_EQ(stateAfter([&] { Mouse(&label, QEvent::MouseButtonPress, onText, Qt::LeftButton); }),
            std::vector<int>{2});
}

}  // namespace
