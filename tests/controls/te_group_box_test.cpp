// The group box: geometry, the caption check box and what it does to the children.
#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "te_group_box.h"

namespace {

TEST(GroupBoxGeometry, FrameAndClientFollowTheCaptionHeight) {
  const TTeGroupBoxGeometry g = GroupBoxGeometry(200, 100, 12, {40, 14}, false, false, 15);
  EXPECT_EQ(g.Caption, (TRect{12, 0, 52, 14}));
  EXPECT_EQ(g.Frame, (TRect{3, 8, 198, 98}));
  EXPECT_EQ(g.Client, (TRect{12, 14, 188, 92}));
  const TTeGroupBoxGeometry empty = GroupBoxGeometry(200, 100, 12, {0, 0}, false, true, 15);
  EXPECT_EQ(empty.Client.Top, 15) << "an empty caption leaves the height of \"Tg\"";
  const TTeGroupBoxGeometry boxed = GroupBoxGeometry(200, 100, 12, {60, 14}, true, false, 15);
  EXPECT_EQ(boxed.Caption, (TRect{12, 0, 72, 20}));
  EXPECT_EQ(boxed.Frame.Top, 11);
}

TEST(GroupBox, ClearingTheCaptionCheckBoxDisablesTheOtherChildrenNotTheGroup) {
  QWidget form;
  auto* group = new TTeGroupBox(&form);
  group->resize(200, 100);
  group->SetCaption("Output");
  auto* edit = new QLineEdit(group);
  int boxClicks = 0;
  group->OnCheckBoxClick = [&](TTeGroupBox&) { ++boxClicks; };
  group->SetUseCheckBox(true);
  ASSERT_NE(group->CheckBox(), nullptr);
  EXPECT_EQ(group->CheckBox()->Caption(), "Output");
  EXPECT_TRUE(group->CheckBox()->Checked());
  EXPECT_TRUE(edit->isEnabled());

  group->CheckBox()->click();
  EXPECT_FALSE(group->Checked());
  EXPECT_FALSE(edit->isEnabled());
  EXPECT_TRUE(group->isEnabled());
  EXPECT_TRUE(group->CheckBox()->isEnabled());
  EXPECT_EQ(boxClicks, 1);

  group->setEnabled(false);
  EXPECT_TRUE(group->isEnabled()) << "with its check box the group stays enabled";
  group->SetChecked(true);
  EXPECT_TRUE(edit->isEnabled());
  group->SetUseCheckBox(false);
  EXPECT_EQ(group->CheckBox(), nullptr);
}

TEST(GroupBox, TheCaptionAcceleratorFocusesTheFirstChildThatTakesFocus) {
  QWidget form;
  auto* other = new QLineEdit(&form);
  auto* group = new TTeGroupBox(&form);
  group->setGeometry(0, 30, 200, 100);
  group->SetCaption("&Encoding:");
  auto* label = new QWidget(group);  // takes no focus
  auto* first = new QLineEdit(group);
  first->move(12, 40);
  (void)label;
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  other->setFocus();
  QTest::keyClick(other, Qt::Key_E, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&] { return first->hasFocus(); }));
}

}  // namespace
