// What a screen reader finds on the skinned controls.
#include <QAccessible>
#include <QAccessibleValueInterface>
#include <gtest/gtest.h>

#include "te_accessibility.h"
#include "te_button.h"
#include "te_check_box.h"
#include "te_group_box.h"
#include "te_label.h"
#include "te_progress_bar.h"
#include "te_status_bar.h"

namespace {

TEST(Accessibility, EveryControlHasItsRoleAndName) {
  TTeControl window;
  auto* label = new TTeLabel(&window);
  label->SetCaption("&Name && more");
  auto* group = new TTeGroupBox(&window);
  group->SetCaption("Encoding:");
  auto* button = new TTeButton(&window);
  button->SetCaption("&Extract");
  auto* box = new TTeCheckBox(&window);
  box->SetCaption("Mono");
  auto* bar = new TTeStatusBar(&window);
  auto* progress = new TTeProgressBar(bar);
  progress->SetPosition(40);
  bar->AddPanel()->SetText("Ready");

  const struct {
    QObject* Control;
    QAccessible::Role Role;
    QString Name;
  } cases[] = {
      {label, QAccessible::StaticText, "Name & more"},
      {group, QAccessible::Grouping, "Encoding:"},
      {button, QAccessible::Button, "Extract"},
      {box, QAccessible::CheckBox, "Mono"},
      {bar, QAccessible::StatusBar, "Ready"},
      {progress, QAccessible::ProgressBar, ""},
  };
  for (const auto& c : cases) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(c.Control);
    ASSERT_NE(a, nullptr) << c.Control->metaObject()->className();
    EXPECT_EQ(a->role(), c.Role) << c.Control->metaObject()->className();
    EXPECT_EQ(a->text(QAccessible::Name), c.Name) << c.Control->metaObject()->className();
  }
  QAccessibleValueInterface* value = QAccessible::queryAccessibleInterface(progress)->valueInterface();
  ASSERT_NE(value, nullptr);
  EXPECT_EQ(value->currentValue().toInt(), 40);
  EXPECT_EQ(value->maximumValue().toInt(), 100);
}

TEST(Accessibility, CaptionsLoseTheirAccelerators) {
  const struct {
    const char* Caption;
    const char* Spoken;
  } cases[] = {{"&Batch      ", "Batch"}, {"a&&b", "a&b"}, {"end&", "end"}, {"", ""}, {"&&&x", "&x"}};
  for (const auto& c : cases) EXPECT_EQ(AccessibleCaption(c.Caption), c.Spoken) << c.Caption;
}

}  // namespace
