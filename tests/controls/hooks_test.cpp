// Hooks: the order events meet hooks and the control, handling, errors, and what
// attaching and detaching leave behind.
#include <QApplication>
#include <QCoreApplication>
#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

#include "app_error.h"
#include "te_hooks.h"

namespace {

// The events of this type are the ones the tests follow.
const QEvent::Type kProbe = QEvent::Type(QEvent::User + 77);

class LoggingWidget : public QWidget {
 public:
  explicit LoggingWidget(QStringList* log) : log_(log) {}
  bool event(QEvent* e) override {
    if (e->type() == kProbe) *log_ << "control";
    return QWidget::event(e);
  }

 private:
  QStringList* log_;
};

class LoggingHook : public TTeHook {
 public:
  LoggingHook(QString name, QStringList* log) : name_(std::move(name)), log_(log) {}
  void Hook(QWidget* w) { SetHookedControl(w); }
  bool Handles = false;
  bool Throws = false;
  int UnhookedCount = 0;
  void AfterMessage(QEvent* e, bool& handled) override {
    if (e->type() == kProbe) *log_ << name_ + ".after";
    TTeHook::AfterMessage(e, handled);
  }
  void Unhooked() override { ++UnhookedCount; }

 protected:
  void HandleMessage(QEvent* e) override {
    if (e->type() != kProbe) return;
    *log_ << name_ + ".before";
    if (Throws) throw std::runtime_error("hook failed");
    if (Handles) Handled();
  }

 private:
  QString name_;
  QStringList* log_;
};

void Probe(QWidget* w) {
  QEvent e(kProbe);
  QCoreApplication::sendEvent(w, &e);
}

class HooksTest : public ::testing::Test {
 protected:
  QStringList log;
  std::unique_ptr<LoggingWidget> widget = std::make_unique<LoggingWidget>(&log);
  void TearDown() override {
    SetApplicationErrorHandler(nullptr);
    QCoreApplication::sendPostedEvents(&THookList::Instance());
  }
};

TEST_F(HooksTest, MostRecentHookFirstThenTheControlThenAfterInTheSameOrder) {
  LoggingHook a("a", &log), b("b", &log);
  a.Hook(widget.get());
  b.Hook(widget.get());
  Probe(widget.get());
  EXPECT_EQ(log, QStringList({"b.before", "a.before", "control", "b.after", "a.after"}));
}

TEST_F(HooksTest, AHandledEventSkipsLaterHooksAndTheControlButNotAfterMessage) {
  LoggingHook a("a", &log), b("b", &log);
  a.Hook(widget.get());
  b.Hook(widget.get());
  b.Handles = true;
  Probe(widget.get());
  EXPECT_EQ(log, QStringList({"b.before", "b.after", "a.after"}));
}

TEST_F(HooksTest, AHookThatThrowsIsReportedAndTheOthersStillRun) {
  QStringList errors;
  SetApplicationErrorHandler([&](const QString& m) { errors << m; });
  LoggingHook a("a", &log), b("b", &log);
  a.Hook(widget.get());
  b.Hook(widget.get());
  b.Throws = true;
  Probe(widget.get());
  EXPECT_EQ(errors, QStringList{"hook failed"});
  EXPECT_EQ(log, QStringList({"b.before", "a.before", "control", "b.after", "a.after"}));
}

TEST_F(HooksTest, RemovingTheLastHookRestoresTheControlAndFreesItsControlHook) {
  auto a = std::make_unique<LoggingHook>("a", &log);
  a->Hook(widget.get());
  ASSERT_NE(THookList::Instance().Find(widget.get()), nullptr);
  a->SetActive(false);
  EXPECT_EQ(a->UnhookedCount, 1);
  Probe(widget.get());
  EXPECT_EQ(log, QStringList{"control"});
  QCoreApplication::sendPostedEvents(&THookList::Instance());
  EXPECT_EQ(THookList::Instance().Find(widget.get()), nullptr);

  log.clear();
  a->SetActive(true);  // re-attaching hooks the control again
  Probe(widget.get());
  EXPECT_EQ(log, QStringList({"a.before", "control", "a.after"}));
  a.reset();  // a destroyed hook detaches
  log.clear();
  Probe(widget.get());
  EXPECT_EQ(log, QStringList{"control"});
}

TEST_F(HooksTest, HooksSurviveReparentingAndLearnWhenTheControlIsDestroyed) {
  LoggingHook a("a", &log);
  a.Hook(widget.get());
  QWidget other;
  widget->setParent(&other);
  widget->setParent(nullptr);
  Probe(widget.get());
  EXPECT_EQ(log, QStringList({"a.before", "control", "a.after"}));
  widget.reset();
  EXPECT_EQ(a.UnhookedCount, 1);
  EXPECT_EQ(a.HookedControl(), nullptr);
  QCoreApplication::sendPostedEvents(&THookList::Instance());
  EXPECT_EQ(THookList::Instance().Count(), 0);
}

}  // namespace
