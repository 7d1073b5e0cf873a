// The process runner: its errors, delivery on the UI thread and draining.
#include "redirect.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <gtest/gtest.h>

#include "app_error.h"
#include "ui_thread.h"

namespace {

struct Recorder {
  QByteArray out, err;
  int terminated = 0;
  bool dataAfterEnd = false;
  bool offUiThread = false;
  void Attach(TRedirector& r) {
    r.OnData = [this](TRedirector*, const char* d, unsigned n) { Note(out, d, n); };
    r.OnErrorData = [this](TRedirector*, const char* d, unsigned n) { Note(err, d, n); };
    r.OnTerminated = [this](TRedirector*) {
      ++terminated;
      if (QThread::currentThread() != QCoreApplication::instance()->thread()) offUiThread = true;
    };
  }
  void Note(QByteArray& to, const char* d, unsigned n) {
    if (terminated) dataAfterEnd = true;
    if (QThread::currentThread() != QCoreApplication::instance()->thread()) offUiThread = true;
    to.append(d, qsizetype(n));
  }
};

void WaitEnd(TRedirector& r) {
  while (r.Running()) ProcessUiEventsWaiting();
}

QString ErrorOf(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const EAppError& e) {
    return e.Message();
  }
  return QString();
}

}  // namespace

TEST(Redirector, RefusesWhatTheStateForbids) {
  TRedirector r;
  EXPECT_EQ(ErrorOf([&] { r.Execute(); }), "No commandline to run");
  r.SetCommandLine(" \t ");
  EXPECT_EQ(ErrorOf([&] { r.Execute(); }), "No commandline to run");
  EXPECT_EQ(ErrorOf([&] { r.Terminate(0); }), "Cannot Terminate an inactive process");

  r.SetCommandLine("/bin/sleep 5");
  r.Execute();
  EXPECT_TRUE(r.Running());
  EXPECT_EQ(ErrorOf([&] { r.Execute(); }), "Process is already active");
  EXPECT_EQ(ErrorOf([&] { r.SetCommandLine("/bin/sleep 6"); }), "Cannot change Commandline while process is active");
  EXPECT_EQ(ErrorOf([&] { r.SetCommandLine("/BIN/SLEEP 5"); }), "");  // same text in another case
  EXPECT_EQ(ErrorOf([&] { r.SetDefaultErrorMode(true); }), "Cannot change DefaultErrorMode while process is active");
  r.Terminate(0);
  WaitEnd(r);
  EXPECT_FALSE(r.LastExitClean());
}

TEST(Redirector, MissingProgramGivesErrnoAndLeavesRunnerIdle) {
  TRedirector r;
  r.SetCommandLine("/nonexistent/videoenc.dll  -i \"x\"");
  EXPECT_EQ(ErrorOf([&] { r.Execute(); }), "Error creating process : 2");
  EXPECT_FALSE(r.Running());
  r.SetCommandLine("/bin/true");
  r.Execute();
  WaitEnd(r);
  EXPECT_TRUE(r.LastExitClean());
}

TEST(Redirector, DeliversEveryByteOnTheUiThreadBeforeTheEnd) {
  TRedirector r;
  Recorder rec;
  rec.Attach(r);
  // 300 KB on each stream, more than a pipe holds, then an immediate exit.
  r.SetCommandLine("/bin/sh -c \"yes o | head -c 300000; yes e | head -c 300000 >&2; exit 3\"");
  r.Execute();
  WaitEnd(r);
  EXPECT_EQ(rec.out.size(), 300000);
  EXPECT_EQ(rec.err.size(), 300000);
  EXPECT_EQ(rec.out.count('o'), 150000);
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_FALSE(rec.dataAfterEnd);
  EXPECT_FALSE(rec.offUiThread);
  EXPECT_FALSE(r.LastExitClean());
  EXPECT_EQ(r.LastExitStatus(), 3);
}

TEST(Redirector, SilentChildGivesOnlyTheEnd) {
  TRedirector r;
  Recorder rec;
  rec.Attach(r);
  r.SetCommandLine("/bin/sleep 1");
  r.Execute();
  WaitEnd(r);
  EXPECT_TRUE(rec.out.isEmpty());
  EXPECT_TRUE(rec.err.isEmpty());
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_TRUE(r.LastExitClean());
}

TEST(Redirector, EndCallbackMayStartTheNextChild) {
  TRedirector r;
  QStringList seen;
  int ends = 0;
  r.OnData = [&](TRedirector*, const char* d, unsigned n) { seen << QString::fromLatin1(d, n).trimmed(); };
  r.OnTerminated = [&](TRedirector* sender) {
    if (++ends < 3) {
      sender->SetCommandLine(QStringLiteral("/bin/echo run%1").arg(ends + 1));
      sender->Execute();
    }
  };
  r.SetCommandLine("/bin/echo run1");
  r.Execute();
  while (ends < 3) ProcessUiEventsWaiting();
  EXPECT_EQ(seen, (QStringList{"run1", "run2", "run3"}));
}

TEST(Redirector, TerminateTakesTheWholeProcessGroup) {
  TRedirector r;
  QByteArray out;
  r.OnData = [&](TRedirector*, const char* d, unsigned n) { out.append(d, qsizetype(n)); };
  // The shell starts a grandchild and reports its pid.
  r.SetCommandLine("/bin/sh -c \"sleep 30 & echo $!; wait\"");
  r.Execute();
  while (!out.contains('\n')) ProcessUiEventsWaiting();
  const pid_t grandchild = out.trimmed().toInt();
  ASSERT_GT(grandchild, 0);
  r.Terminate(0);
  WaitEnd(r);
  QElapsedTimer t;
  t.start();
  while (::kill(grandchild, 0) == 0 && t.elapsed() < 5000) QThread::msleep(20);
  EXPECT_NE(::kill(grandchild, 0), 0) << "grandchild survived";
}

TEST(Redirector, DestroyedWhileRunningKillsWithoutNotifying) {
  int ends = 0;
  {
    TRedirector r;
    r.KillOnDestroy = true;
    r.OnTerminated = [&](TRedirector*) { ++ends; };
    r.SetCommandLine("/bin/sleep 30");
    r.Execute();
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(ends, 0);
}

namespace {
// A runner whose first read of a pipe fails, as a broken pipe would.
class TFailingFirstRead : public TRedirector {
 protected:
  ssize_t ReadFromPipe(int fd, char* buffer, size_t size) override {
    if (failed_) return TRedirector::ReadFromPipe(fd, buffer, size);
    failed_ = true;
    errno = EIO;
    return -1;
  }

 private:
  bool failed_ = false;
};
}  // namespace

TEST(Redirector, AFailedReadIsReportedAndTheEndStillComes) {
  QStringList errors;
  SetApplicationErrorHandler([&](const QString& text) { errors << text; });
  TFailingFirstRead r;
  Recorder rec;
  rec.Attach(r);
  r.SetCommandLine("/bin/sh -c \"echo one; echo two >&2\"");
  r.Execute();
  QElapsedTimer t;
  t.start();
  while (r.Running() && t.elapsed() < 30000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  SetApplicationErrorHandler(nullptr);
  EXPECT_FALSE(r.Running()) << "the end never came";
  EXPECT_EQ(rec.terminated, 1);
  EXPECT_EQ(errors, QStringList{"Error reading STDOUT pipe : 5"});
  EXPECT_EQ(rec.err, "two\n");  // the other pipe is still read
}

TEST(Redirector, AnArgumentVectorRunsAsGivenWhateverTheText) {
  TRedirector r;
  Recorder rec;
  rec.Attach(r);
  r.SetCommand("shown only", {"/bin/printf", "%s|", "a\" \"b", " c ", ""});
  EXPECT_EQ(r.CommandLine(), "shown only");
  r.Execute();
  WaitEnd(r);
  EXPECT_EQ(rec.out, "a\" \"b| c ||");
}
