// sonolift-batch end to end with the real transcoder front on clips that
// FFmpeg generates for the test.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>
#include <unistd.h>

namespace {

struct Result {
  int exitCode = -1;
  QString out, err;
};

class BatchE2E : public ::testing::Test {
 protected:
  static inline QTemporaryDir* clips = nullptr;

  static void SetUpTestSuite() {
    clips = new QTemporaryDir();
    // One short clip per input container the program accepts.
    struct Make {
      const char* name;
      QStringList codec;
    };
    const Make makes[] = {
        {"clip.avi", {"-c:v", "mpeg4", "-c:a", "libmp3lame"}},
        {"clip.mpg", {"-c:v", "mpeg1video", "-c:a", "mp2", "-f", "mpeg"}},
        {"clip.vob", {"-c:v", "mpeg2video", "-c:a", "ac3", "-f", "vob"}},
        {"clip.wmv", {"-c:v", "wmv2", "-c:a", "wmav2"}},
        {"clip.asf", {"-c:v", "wmv1", "-c:a", "wmav1", "-f", "asf"}},
        {"clip.mov", {"-c:v", "mpeg4", "-c:a", "aac"}},
        {"clip.3gp", {"-c:v", "h263", "-c:a", "aac", "-ac", "1", "-ar", "8000"}},
        {"clip.mp4", {"-c:v", "mpeg4", "-c:a", "aac"}},
        {"clip.rm", {"-c:v", "rv10", "-c:a", "ac3", "-f", "rm"}},
    };
    for (const Make& m : makes) Generate(m.name, 2, m.codec);
  }
  static void TearDownTestSuite() {
    delete clips;
    clips = nullptr;
  }

  static void Generate(const QString& name, int seconds, const QStringList& codec,
                       const QString& picture = "size=176x144:rate=25") {
    QStringList args{"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                     QStringLiteral("testsrc=%1:duration=%2").arg(picture).arg(seconds), "-f", "lavfi", "-i",
                     QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(seconds), "-shortest"};
    args << codec << clips->filePath(name);
    QProcess p;
    p.start("ffmpeg", args);
    p.waitForFinished(120000);
    ASSERT_EQ(p.exitCode(), 0) << name.toStdString() << p.readAllStandardError().toStdString();
  }

  QTemporaryDir work;
  QString outDir = work.filePath("out dir");

  void SetUp() override { QDir().mkpath(outDir); }

  Result Batch(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SONOLIFT_INI", work.filePath("strings.ini"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SONOLIFT_BATCH), args);
    EXPECT_TRUE(p.waitForStarted());
    EXPECT_TRUE(p.waitForFinished(300000));
    return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
  }

  static QString Probe(const QString& file, const QString& entry) {
    QProcess p;
    p.start("ffprobe", {"-v", "error", "-select_streams", "a:0", "-show_entries", "stream=" + entry, "-of",
                        "default=nw=1:nk=1", file});
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
  }

  QStringList Outputs() const { return QDir(outDir).entryList(QDir::Files, QDir::Name); }

  // Starts the batch program over an FFmpeg that converts in real time (see
  // SlowFfmpeg); with slowProbes every probe hangs until it is killed.
  void StartSlow(QProcess& p, const QString& mark, const QStringList& args, bool slowProbes = false);
};

TEST_F(BatchE2E, EveryInputContainerGivesItsAudio) {
  QStringList args{"-f", "mp3", "-r", "22050", "-b", "64", "--mono", "-o", outDir};
  // 64 is not in the list: a usage error that names the allowed values.
  Result bad = Batch(args);
  EXPECT_EQ(bad.exitCode, 2);
  EXPECT_TRUE(bad.err.contains("16 24 32 48 56 96 112 128 160 192 224 256 320")) << bad.err.toStdString();

  args[5] = "96";
  for (const char* c : {"clip.avi", "clip.mpg", "clip.vob", "clip.wmv", "clip.asf", "clip.mov", "clip.3gp",
                        "clip.mp4", "clip.rm"})
    args << clips->filePath(c);
  const Result r = Batch(args);
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
  EXPECT_EQ(r.out.count(": Done\n"), 9) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains(clips->filePath("clip.avi") + ": 176X144 00:00:0")) << r.out.toStdString();
  // Nine inputs named "clip": one clip.MP3, then free names.
  ASSERT_EQ(Outputs().size(), 9);
  EXPECT_TRUE(Outputs().contains("clip.MP3"));
  EXPECT_TRUE(Outputs().contains("clip(8).MP3"));
  for (const QString& f : Outputs()) {
    EXPECT_EQ(Probe(outDir + "/" + f, "codec_name"), "mp3") << f.toStdString();
    EXPECT_EQ(Probe(outDir + "/" + f, "channels"), "1") << f.toStdString();
    EXPECT_EQ(Probe(outDir + "/" + f, "sample_rate"), "22050") << f.toStdString();
  }
}

TEST_F(BatchE2E, EveryOutputFormatIsPlayable) {
  struct Case {
    const char* format;
    const char* codec;
  };
  const Case cases[] = {{"MP3", "mp3"},       {"MP4", "aac"},        {"3GP", "amr_nb"}, {"WMA", "wmav2"},
                        {"WAV", "pcm_s16le"}, {"AU", "pcm_s16be"},   {"AIFF", "pcm_s16be"}, {"OGG", "vorbis"}};
  for (const Case& c : cases) {
    const Result r = Batch({"-f", c.format, "-r", "44100", "-b", "128", "--stereo", "-o", outDir, "--overwrite",
                            clips->filePath("clip.mp4")});
    const QString out = outDir + "/clip." + c.format;
    EXPECT_EQ(r.exitCode, 0) << c.format << r.err.toStdString();
    EXPECT_GT(QFileInfo(out).size(), 0) << c.format;
    EXPECT_EQ(Probe(out, "codec_name"), c.codec) << c.format;
  }
}

TEST_F(BatchE2E, RejectedFilesAndListFiles) {
  const QString junk = work.filePath("not a video.avi");
  QFile f(junk);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("this is text, not a video");
  f.close();
  const QString list = work.filePath("batch.LsT");
  QFile l(list);
  ASSERT_TRUE(l.open(QIODevice::WriteOnly));
  l.write(("#Sonolift File List\r\n# comment\r\n\r\n" + clips->filePath("clip.mov") + "\r\n" +
           work.filePath("missing.mp4") + "\r\n")
              .toUtf8());
  l.close();

  Result r = Batch({"-o", outDir, junk});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("Unsupported or bad video file: " + junk + "!")) << r.err.toStdString();
  EXPECT_TRUE(Outputs().isEmpty());

  r = Batch({"-o", outDir, "-f", "wav", "-n", "number", list, junk});
  EXPECT_EQ(r.exitCode, 1);  // one file rejected, the list's file converted
  EXPECT_EQ(Outputs(), QStringList{"0.WAV"});
}

// An FFmpeg that converts in real time (-re), so a job runs for as long as
// its clip lasts on any machine; it notes its pid in $MARK when a conversion
// starts, and every probe in $MARK.probes.
QString SlowFfmpeg(const QString& dir) {
  const QString path = dir + "/slow-ffmpeg";
  QFile f(path);
  f.open(QIODevice::WriteOnly);
  f.write("#!/bin/sh\n"
          "case \" $* \" in\n"
          "  *\" -vn \"*) echo $$ >> \"$MARK.pids\"; echo $$ > \"$MARK.$$\"; mv \"$MARK.$$\" \"$MARK\" ;;\n"
          "  *) echo probe >> \"$MARK.probes\"; [ -n \"$SLOW_PROBE\" ] && exec sleep 600 ;;\n"
          "esac\n"
          "exec ffmpeg -re \"$@\"\n");
  f.close();
  f.setPermissions(QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
  return path;
}

// Waits, without a time guess, until a file appears (bounded so that a fault fails).
bool WaitForFile(const QString& path) {
  for (int i = 0; i < 6000 && !QFileInfo::exists(path); ++i) QThread::msleep(20);
  return QFileInfo::exists(path);
}

// True once the process holds a file in dir open (its output, named or not).
bool WaitForOutputOpen(pid_t pid, const QString& dir) {
  for (int i = 0; i < 6000; ++i) {
    const QString fds = QStringLiteral("/proc/%1/fd").arg(pid);
    for (const QString& fd : QDir(fds).entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
      if (QFile::symLinkTarget(fds + "/" + fd).startsWith(dir + "/")) return true;
    QThread::msleep(20);
  }
  return false;
}

// Gone, or a zombie nobody reaps yet: either way it no longer runs.
bool ProcessGone(pid_t pid) {
  for (int i = 0; i < 3000; ++i) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    if (close > 0 && text.mid(close + 2, 1) == "Z") return true;
    QThread::msleep(20);
  }
  return false;
}

void BatchE2E::StartSlow(QProcess& p, const QString& mark, const QStringList& args, bool slowProbes) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SONOLIFT_INI", work.filePath("strings.ini"));
  env.insert("SONOLIFT_FFMPEG", SlowFfmpeg(work.path()));
  env.insert("MARK", mark);
  if (slowProbes) env.insert("SLOW_PROBE", "1");
  p.setProcessEnvironment(env);
  p.start(QStringLiteral(SONOLIFT_BATCH), args);
  ASSERT_TRUE(p.waitForStarted());
}

TEST_F(BatchE2E, SignalsStopTheJobAndLeaveNothingBehind) {
  Generate("minute clip.mp4", 60, {"-c:v", "mpeg4", "-c:a", "aac"}, "size=32x32:rate=1");
  struct Case {
    int signal;
    int exitCode;  // -1: killed, no exit code of its own
  };
  const Case cases[] = {{SIGINT, 130}, {SIGTERM, 143}, {SIGHUP, 129}, {SIGKILL, -1}};
  for (const Case& c : cases) {
    const QString mark = work.filePath(QStringLiteral("mark%1").arg(c.signal));
    QProcess p;
    StartSlow(p, mark, {"-f", "mp3", "-o", outDir, clips->filePath("minute clip.mp4")});
    ASSERT_TRUE(WaitForFile(mark)) << "the conversion never started";
    QFile m(mark);
    ASSERT_TRUE(m.open(QIODevice::ReadOnly));
    const pid_t ffmpeg = pid_t(m.readAll().trimmed().toInt());
    ASSERT_GT(ffmpeg, 0);
    ASSERT_TRUE(WaitForOutputOpen(ffmpeg, QDir(outDir).canonicalPath())) << "FFmpeg never opened its output";
    // The job lasts a minute: the program is certainly still there.
    ASSERT_EQ(p.state(), QProcess::Running);
    ASSERT_GT(p.processId(), 0);
    ::kill(pid_t(p.processId()), c.signal);
    ASSERT_TRUE(p.waitForFinished(120000));
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    if (c.exitCode >= 0) {
      EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << c.signal;
      EXPECT_EQ(p.exitCode(), c.exitCode) << c.signal;
      EXPECT_TRUE(out.contains(": Abort")) << c.signal << out.toStdString();
    }
    EXPECT_TRUE(ProcessGone(ffmpeg)) << "FFmpeg outlived the program after signal " << c.signal;
    EXPECT_TRUE(QDir(outDir).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << c.signal << " " << QDir(outDir).entryList(QDir::Files | QDir::Hidden).join(" ").toStdString();
  }
}

TEST_F(BatchE2E, SideBySideJobsGiveWhatOneAtATimeGives) {
  // Inputs whose names clash in the output folder.
  const QString in = work.filePath("in");
  for (const char* d : {"/x", "/y"}) QDir().mkpath(in + d);
  const QStringList inputs{in + "/x/clip.mp4", in + "/y/clip.mp4", in + "/clip.avi", in + "/clip.mov", in + "/other.mpg"};
  for (const QString& f : inputs) QFile::copy(clips->filePath("clip" + f.mid(f.lastIndexOf('.'))), f);
  struct Case {
    QStringList options;
    bool oldOutput;  // a clip.MP3 is there before the batch
  };
  const Case cases[] = {{{}, false}, {{"-n", "number"}, false}, {{"--overwrite"}, true}, {{}, true}};
  for (const Case& c : cases) {
    QStringList results[2], files[2];
    for (int j = 0; j < 2; ++j) {
      const QString out = work.filePath(QStringLiteral("out-%1").arg(j));
      QDir(out).removeRecursively();
      QDir().mkpath(out);
      if (c.oldOutput) {
        QFile old(out + "/clip.MP3");
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
      }
      const Result r = Batch(QStringList{"-j", j == 0 ? "1" : "2", "-o", out} + c.options + inputs);
      EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
      for (QString line : r.out.split('\n'))
        if (line.contains(" -> ")) results[j] << line.replace(out, "OUT");
      for (const QString& f : QDir(out).entryList(QDir::Files, QDir::Name))
        files[j] << f + (QFileInfo(out + "/" + f).size() > 100 ? " audio" : " old");
    }
    const std::string what = c.options.join(" ").toStdString() + (c.oldOutput ? " with an old output" : "");
    EXPECT_EQ(results[0].size(), inputs.size()) << what;
    EXPECT_EQ(results[1], results[0]) << what;
    EXPECT_EQ(files[1], files[0]) << what;
  }
}

TEST_F(BatchE2E, CtrlCStopsEveryJobRunningSideBySide) {
  Generate("minute clip.mp4", 60, {"-c:v", "mpeg4", "-c:a", "aac"}, "size=32x32:rate=1");
  QFile::copy(clips->filePath("minute clip.mp4"), clips->filePath("second minute.mp4"));
  const QString mark = work.filePath("mark");
  QProcess p;
  StartSlow(p, mark, {"-j", "2", "-o", outDir, clips->filePath("minute clip.mp4"), clips->filePath("second minute.mp4"),
                      clips->filePath("clip.mp4")});
  std::vector<pid_t> ffmpegs;
  for (int i = 0; i < 6000 && ffmpegs.size() < 2; ++i) {
    ffmpegs.clear();
    QFile pids(mark + ".pids");
    if (pids.open(QIODevice::ReadOnly))
      for (const QByteArray& line : pids.readAll().split('\n'))
        if (line.toInt() > 0) ffmpegs.push_back(pid_t(line.toInt()));
    if (ffmpegs.size() < 2) QThread::msleep(20);
  }
  ASSERT_EQ(ffmpegs.size(), 2u) << "two conversions never ran at once";
  for (pid_t f : ffmpegs) ASSERT_TRUE(WaitForOutputOpen(f, QDir(outDir).canonicalPath()));
  ASSERT_EQ(p.state(), QProcess::Running);
  ::kill(pid_t(p.processId()), SIGINT);
  ASSERT_TRUE(p.waitForFinished(120000));
  const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
  EXPECT_EQ(p.exitCode(), 130) << out.toStdString();
  EXPECT_EQ(out.count(": Abort\n"), 2) << out.toStdString();
  // The third file may or may not have been added when Ctrl-C came: adding
  // goes on while the first jobs run.
  EXPECT_TRUE(out.contains(QRegularExpression("\n0 done, 0 failed, 0 skipped, [23] stopped"))) << out.toStdString();
  for (pid_t f : ffmpegs) EXPECT_TRUE(ProcessGone(f));
  EXPECT_TRUE(QDir(outDir).entryList(QDir::Files | QDir::Hidden).isEmpty())
      << QDir(outDir).entryList(QDir::Files | QDir::Hidden).join(" ").toStdString();
}

// FFmpeg's checksum of the first audio stream's packets, as stored.
QString AudioPacketsHash(const QString& file) {
  QProcess p;
  p.start("ffmpeg", {"-nostdin", "-v", "error", "-i", file, "-map", "0:a:0", "-c", "copy", "-f", "streamhash", "-hash",
                     "md5", "-"});
  p.waitForFinished(60000);
  return QString::fromLatin1(p.readAllStandardOutput()).trimmed().section(',', 2);
}

TEST_F(BatchE2E, CopyAudioKeepsTheStreamWhereTheFormatHoldsItAndConvertsElsewhere) {
  struct Case {
    const char* input;
    const char* format;
    bool copies;
  };
  const Case cases[] = {{"clip.mp4", "MP4", true},  {"clip.avi", "MP3", true},  {"clip.wmv", "WMA", true},
                        {"clip.mp4", "MP3", false}, {"clip.mpg", "OGG", false}, {"clip.mov", "WAV", false}};
  for (const Case& c : cases) {
    QDir(outDir).removeRecursively();
    QDir().mkpath(outDir);
    const Result r = Batch({"--copy-audio", "-f", c.format, "-r", "22050", "-o", outDir, clips->filePath(c.input)});
    const std::string what = std::string(c.input) + " to " + c.format;
    EXPECT_EQ(r.exitCode, 0) << what << r.out.toStdString() << r.err.toStdString();
    ASSERT_EQ(Outputs().size(), 1) << what;
    const QString out = outDir + "/" + Outputs().first();
    EXPECT_TRUE(r.out.contains(c.copies ? ": Done (audio copied: " : ": Done (converted: ")) << what << r.out.toStdString();
    if (c.copies) {
      EXPECT_EQ(AudioPacketsHash(out), AudioPacketsHash(clips->filePath(c.input))) << what;
      EXPECT_NE(Probe(out, "sample_rate"), "22050") << what;  // the source's rate, not the one asked
    } else {
      EXPECT_EQ(Probe(out, "sample_rate"), "22050") << what;
    }
  }
}

TEST_F(BatchE2E, CtrlCWhileAListLoadsStopsAtOnce) {
  const QString mark = work.filePath("mark-list");
  const QString list = work.filePath("three.lst");
  QFile l(list);
  ASSERT_TRUE(l.open(QIODevice::WriteOnly));
  l.write(("#Sonolift File List\r\n" + clips->filePath("clip.mp4") + "\r\n" + clips->filePath("clip.mov") + "\r\n" +
           clips->filePath("clip.mpg") + "\r\n")
              .toUtf8());
  l.close();
  QProcess p;
  StartSlow(p, mark, {"-o", outDir, list}, /*slowProbes=*/true);
  ASSERT_TRUE(WaitForFile(mark + ".probes"));
  ASSERT_EQ(p.state(), QProcess::Running);
  ::kill(pid_t(p.processId()), SIGINT);
  ASSERT_TRUE(p.waitForFinished(120000));
  EXPECT_EQ(p.exitCode(), 130);
  QFile probes(mark + ".probes");
  ASSERT_TRUE(probes.open(QIODevice::ReadOnly));
  EXPECT_EQ(probes.readAll().count('\n'), 1) << "probing went on after Ctrl-C";
}

TEST_F(BatchE2E, NamesAndRelativePathsConvertTheFileTheUserMeant) {
  // A longer decoy of the same name in the temporary folder, where scripts are written.
  Generate("decoy.avi", 7, {"-c:v", "mpeg4", "-c:a", "libmp3lame"});
  const QString decoys = work.filePath("tmp");
  QDir().mkpath(decoys);
  QFile::copy(clips->filePath("decoy.avi"), decoys + "/clip.avi");
  const QString here = work.filePath("here");
  QDir().mkpath(here);
  const QStringList names{"clip.avi", "p\" -y -f wav \"victim.wav\" \"q.avi", "x\" \"y.mp4", "x\" -i \"y.avi",
                          "\"quoted\" \"both\".avi"};
  for (const QString& n : names) ASSERT_TRUE(QFile::copy(clips->filePath("clip.avi"), here + "/" + n)) << n.toStdString();
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SONOLIFT_INI", work.filePath("strings.ini"));
  env.insert("TMPDIR", decoys);
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(here);
  p.start(QStringLiteral(SONOLIFT_BATCH), QStringList{"-f", "wav", "-o", outDir, "-n", "number"} + names);
  ASSERT_TRUE(p.waitForFinished(300000));
  const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
  EXPECT_EQ(p.exitCode(), 0) << out.toStdString() << p.readAllStandardError().toStdString();
  EXPECT_EQ(out.count(": Done\n"), names.size()) << out.toStdString();
  QStringList sorted = names;
  sorted.sort();
  EXPECT_EQ(QDir(here).entryList(QDir::Files, QDir::Name), sorted);  // nothing written beside them
  EXPECT_EQ(Outputs(), (QStringList{"0.WAV", "1.WAV", "2.WAV", "3.WAV", "4.WAV"}));
  // The two-second clip beside us, not the seven-second decoy.
  EXPECT_LT(Probe(outDir + "/0.WAV", "duration").toDouble(), 4.0);
}

TEST_F(BatchE2E, NamesThatAreNotUtf8AndListProblems) {
  const QString dir = work.filePath("raw");
  QDir().mkpath(dir);
  const QByteArray raw = QFile::encodeName(dir) + "/caf\xe9.mp4";
  ASSERT_EQ(::link(QFile::encodeName(clips->filePath("clip.mp4")).constData(), raw.constData()), 0);
  // The shell hands the program the name's own bytes.
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SONOLIFT_INI", work.filePath("strings.ini"));
  p.setProcessEnvironment(env);
  p.setWorkingDirectory(dir);
  p.start("/bin/sh", {"-c", "exec \"$0\" -o \"$1\" caf*.mp4", QStringLiteral(SONOLIFT_BATCH), outDir});
  ASSERT_TRUE(p.waitForFinished(300000));
  const QString out = QString::fromUtf8(p.readAllStandardOutput());
  EXPECT_EQ(p.exitCode(), 0) << out.toStdString() << p.readAllStandardError().toStdString();
  EXPECT_TRUE(out.contains("caf\\xe9.mp4: 176X144")) << out.toStdString();
  EXPECT_EQ(::access((QFile::encodeName(outDir) + "/caf\xe9.MP3").constData(), F_OK), 0);

  // A list without its header and with a missing entry: both said, status 1.
  const QString list = work.filePath("plain.lst");
  QFile l(list);
  ASSERT_TRUE(l.open(QIODevice::WriteOnly));
  l.write(raw + "\r\n" + QFile::encodeName(work.filePath("missing.mp4")) + "\r\n");
  l.close();
  const Result r = Batch({"-o", outDir, "--overwrite", list});
  EXPECT_EQ(r.exitCode, 1) << r.out.toStdString() << r.err.toStdString();
  EXPECT_TRUE(r.out.contains("caf\\xe9.mp4 -> ")) << r.out.toStdString();
  EXPECT_TRUE(r.err.contains("No such file: " + work.filePath("missing.mp4"))) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("Not a Sonolift list file")) << r.err.toStdString();

  const Result help = Batch({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_TRUE(help.out.contains(work.filePath("strings.ini"))) << help.out.toStdString();
  // Qt's own removal of the folders cannot name these.
  ::unlink(raw.constData());
  ::unlink((QFile::encodeName(outDir) + "/caf\xe9.MP3").constData());
}

TEST_F(BatchE2E, AListThatCannotBeReadIsAFailure) {
  // A folder anyone may enter, holding a list nobody may read; root runs the
  // program as nobody so that the permission holds.
  char templ[] = "/tmp/sonolift-unreadable-XXXXXX";
  ASSERT_TRUE(::mkdtemp(templ));
  const QString dir = QString::fromLocal8Bit(templ);
  QFile::setPermissions(dir, QFileDevice::Permissions(0x7777));
  const QString list = dir + "/secret.lst";
  QFile l(list);
  ASSERT_TRUE(l.open(QIODevice::WriteOnly));
  l.write("#Sonolift File List\r\n");
  l.close();
  QFile::setPermissions(list, {});
  QStringList command{QStringLiteral(SONOLIFT_BATCH), "-o", dir, list};
  if (::geteuid() == 0) command = QStringList{"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups", "--"} + command;
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SONOLIFT_INI", dir + "/strings.ini");
  p.setProcessEnvironment(env);
  p.start(command.takeFirst(), command);
  ASSERT_TRUE(p.waitForFinished(60000));
  const QString err = QString::fromLocal8Bit(p.readAllStandardError());
  QDir(dir).removeRecursively();
  if (err.contains("setpriv")) GTEST_SKIP() << err.toStdString();
  EXPECT_EQ(p.exitCode(), 1) << err.toStdString();
  EXPECT_TRUE(err.contains("Permission denied")) << err.toStdString();
}

TEST_F(BatchE2E, FoldersKeepTheirTreeAndExistingOutputsAreSkipped) {
  // Videos by content, not by extension: a text file named .mp4 is passed
  // over in silence; hidden folders are left out.
  const QString in = work.filePath("in");
  for (const char* d : {"/a/b", "/.hidden"}) QDir().mkpath(in + d);
  QFile::copy(clips->filePath("clip.mp4"), in + "/one.mp4");
  QFile::copy(clips->filePath("clip.avi"), in + "/a/two.avi");
  QFile::copy(clips->filePath("clip.mov"), in + "/a/b/three.mov");
  QFile::copy(clips->filePath("clip.mp4"), in + "/.hidden/four.mp4");
  QFile text(in + "/a/notes.mp4");
  ASSERT_TRUE(text.open(QIODevice::WriteOnly));
  text.write("just words");
  text.close();

  // No settings file: 44100 Hz at 128 kbit/s rather than the window's first
  // entries. Two jobs side by side start while the folder is still walked.
  Result r = Batch({"-j", "2", "-o", outDir, "--keep-tree", in});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
  EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(QRegularExpression("\n3 done, 0 failed, 0 skipped, 0 stopped in \\d+:\\d\\d\n$")))
      << r.out.toStdString();
  QStringList made;
  for (const char* f : {"one.MP3", "a/two.MP3", "a/b/three.MP3"})
    if (QFileInfo(outDir + "/" + f).size() > 0) made << f;
  EXPECT_EQ(made.size(), 3) << made.join(" ").toStdString();
  EXPECT_EQ(Probe(outDir + "/one.MP3", "sample_rate"), "44100");
  EXPECT_EQ(Probe(outDir + "/one.MP3", "bit_rate"), "128000");

  // Again with --skip-existing: nothing to do, and that is no failure.
  QFile::remove(outDir + "/a/two.MP3");
  r = Batch({"-o", outDir, "--keep-tree", "--skip-existing", in});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
  EXPECT_EQ(r.out.count(": Skipped\n"), 2) << r.out.toStdString();
  EXPECT_TRUE(r.out.contains("1 done, 0 failed, 2 skipped, 0 stopped")) << r.out.toStdString();
  EXPECT_GT(QFileInfo(outDir + "/a/two.MP3").size(), 0);
  EXPECT_FALSE(QFileInfo::exists(outDir + "/a/two(1).MP3"));
}

TEST_F(BatchE2E, TheWindowProgramAnswersHelpAndVersionAndSaysWhyItEnds) {
  struct Case {
    QStringList args;
    int exitCode;
    QString out, err;
  };
  const Case cases[] = {
      {{"--help"}, 0, "Usage: sonolift [FILE...]", ""},
      {{"--version"}, 0, "Sonolift ", ""},
      {{work.filePath("missing.mp4")}, 1, "", "nothing to do"},
  };
  for (const Case& c : cases) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SONOLIFT_INI", work.filePath("strings.ini"));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SONOLIFT_GUI), c.args);
    ASSERT_TRUE(p.waitForFinished(60000)) << c.args.join(" ").toStdString();
    EXPECT_EQ(p.exitCode(), c.exitCode) << c.args.join(" ").toStdString();
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    const QString err = QString::fromLocal8Bit(p.readAllStandardError());
    EXPECT_TRUE(out.contains(c.out)) << out.toStdString();
    EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
