// sonolift-batch end to end with the real transcoder front on clips that
// FFmpeg generates for the test.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>

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

  Result Batch(const QStringList& args, int stopAfterMs = -1) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SONOLIFT_INI", work.filePath("strings.ini"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(SONOLIFT_BATCH), args);
    EXPECT_TRUE(p.waitForStarted());
    if (stopAfterMs >= 0) {
      p.waitForFinished(stopAfterMs);
      ::kill(pid_t(p.processId()), SIGINT);
    }
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

TEST_F(BatchE2E, CtrlCStopsAndRemovesThePartialOutput) {
  // Minutes of sound behind a tiny picture: quick to make, slow to convert.
  Generate("long clip.mp4", 400, {"-c:v", "mpeg4", "-c:a", "aac"}, "size=32x32:rate=1");
  const Result r = Batch({"-f", "mp3", "-b", "320", "-o", outDir, clips->filePath("long clip.mp4")}, 1500);
  EXPECT_EQ(r.exitCode, 130) << r.out.toStdString() << r.err.toStdString();
  EXPECT_TRUE(r.out.contains(": Abort")) << r.out.toStdString();
  EXPECT_TRUE(Outputs().isEmpty()) << Outputs().join(" ").toStdString();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
