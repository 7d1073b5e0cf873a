// A controller over the fake view and the fake transcoder, in a private
// temporary program directory (with a blank in its name).
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

#include "fake_view.h"
#include "main_form.h"
#include "ui_thread.h"

class WorkflowTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QString programDir, outDir, inDir, settingsFile, logFile, scriptLog;
  TFakeView view;
  std::unique_ptr<TfrmMain> ctl;

  void SetUp() override {
    programDir = tmp.path() + "/prog dir/";
    outDir = tmp.path() + "/out/";
    inDir = tmp.path() + "/in/";
    for (const QString& d : {programDir, outDir, inDir}) QDir().mkpath(d);
    QFile::copy(QStringLiteral(FAKE_VIDEOENC), programDir + "videoenc.dll");
    QFile::setPermissions(programDir + "videoenc.dll", QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
    settingsFile = tmp.path() + "/strings.ini";
    logFile = tmp.path() + "/calls.log";
    qputenv("FAKE_LOG", QFile::encodeName(logFile));
    scriptLog = tmp.path() + "/scripts.log";
    qputenv("FAKE_SCRIPTS", QFile::encodeName(scriptLog));
    WriteText(settingsFile, "[Common]\r\nstrOutputDir=" + outDir.toUtf8() + "\r\ncbFileFormat=0\r\n");
  }

  void TearDown() override {
    ctl.reset();
    qunsetenv("FAKE_LOG");
    qunsetenv("FAKE_SCRIPTS");
  }

  static void WriteText(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }
  static QByteArray ReadText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // A file the fake accepts, converting it in about `seconds`.
  QString Clip(const QString& name, const QByteArray& convert = "C write\nC exit 0\n", const QByteArray& probe = {}) {
    const QString path = inDir + name;
    QByteArray text = probe.isEmpty() ? QByteArray("P   Duration: 00:01:23.45, start: 0.000000, bitrate: 100 kb/s\n"
                                                   "P     Stream #0:0: Video: h264, yuv420p, 320x240, 25 fps\n"
                                                   "P     Stream #0:1: Audio: aac, 44100 Hz, stereo\n")
                                      : probe;
    text += "C say   Duration: 00:01:23.45, start: 0.000000\n" + convert;
    WriteText(path, text);
    return path;
  }
  QString BadClip(const QString& name) {
    const QString path = inDir + name;
    WriteText(path, "P Invalid data found when processing input\n");
    return path;
  }

  TfrmMain& Start(const QStringList& args = {}) {
    TStartOptions o;
    o.ExecutablePath = QCoreApplication::applicationFilePath();
    o.ProgramDir = programDir;
    o.SettingsFile = settingsFile;
    ctl = std::make_unique<TfrmMain>(view, o);
    ctl->FormCreate(args);
    return *ctl;
  }

  void RunBatch() {
    ctl->btnConvertClick();
    WaitIdle();
  }
  void WaitIdle() {
    while (ctl->Busy() || ctl->Runner()->Running()) ProcessUiEventsWaiting();
  }
  // Runs the event queue until pred holds (bounded, so a fault fails the test).
  template <typename Pred>
  bool WaitFor(Pred pred, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
      if (t.elapsed() > ms) return false;
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
  }

  // Each call's arguments, as the fake received them.
  std::vector<QStringList> Calls() const {
    std::vector<QStringList> calls(1);
    for (const QByteArray& line : ReadText(logFile).split('\n')) {
      if (line == "--") calls.emplace_back();
      else if (!line.isEmpty() || !calls.back().isEmpty()) calls.back() << QString::fromUtf8(line);
    }
    calls.pop_back();
    return calls;
  }

  // A gate the fake waits at (W or C wait): the test sees it reached and
  // opens it, so nothing depends on how fast the machine is.
  QString Gate(const QString& name) const { return tmp.path() + "/gate-" + name; }
  bool Reached(const QString& gate) const { return QFileInfo::exists(gate + ".started"); }
  void Open(const QString& gate) { WriteText(gate, ""); }

  // Adds a clip whose conversion waits at the gate it returns, starts the
  // batch and waits until its job has reached the gate.
  QString StartGatedJob(const QString& name) {
    const QString gate = Gate(name);
    ctl->AddVideoFile(Clip(name + ".mp4", "C wait " + gate.toUtf8() + "\nC write\nC exit 0\n"));
    ctl->btnConvertClick();
    EXPECT_TRUE(WaitFor([&] { return Reached(gate); })) << "the job never reached its gate";
    return gate;
  }

  QStringList OutFiles() const { return QDir(outDir).entryList(QDir::Files, QDir::Name); }
  QStringList States() const {
    QStringList s;
    for (const auto& r : view.rows) s << r.progress;
    return s;
  }
};
