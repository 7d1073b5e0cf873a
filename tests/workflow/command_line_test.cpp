// Splitting composed command lines into argument vectors.
#include "command_line.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(CommandLine, KeepsQuotedPathsWholeWhateverTheyContain) {
  struct Case {
    QString line;
    QStringList expected;
  };
  const Case cases[] = {
      {"/bin/v  -i \"a b.avi\"", {"/bin/v", "-i", "a b.avi"}},
      {"/bin/v -vn  -i \"my \"best\" clip.avi\"  -ac 2 -ar 44100 -ab 128000 \"/o/my \"best\" clip.MP3\"",
       {"/bin/v", "-vn", "-i", "my \"best\" clip.avi", "-ac", "2", "-ar", "44100", "-ab", "128000",
        "/o/my \"best\" clip.MP3"}},
      {"/bin/v  -i \"-leading dash.mp4\"", {"/bin/v", "-i", "-leading dash.mp4"}},
      {"/bin/v  -i \"quote at end\"\"", {"/bin/v", "-i", "quote at end\""}},
      {"/bin/v  -i \"a\" -x.avi\"", {"/bin/v", "-i", "a\" -x.avi"}},
      {"/bin/v  -i \"Grüße ünïcødé.mp4\"", {"/bin/v", "-i", "Grüße ünïcødé.mp4"}},
      {"/bin/v -acodec libamr_nb  -ac 1 -ar 8000 -ab 12200  \"o\"",
       {"/bin/v", "-acodec", "libamr_nb", "-ac", "1", "-ar", "8000", "-ab", "12200", "o"}},
      {"   ", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected) << c.line.toStdString();
}

TEST(CommandLine, UnquotedProgramPathWithBlanksFindsTheExecutable) {
  QTemporaryDir tmp;
  const QString dir = tmp.path() + "/my programs dir/";
  QDir().mkpath(dir);
  QFile f(dir + "videoenc.dll");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.close();
  f.setPermissions(QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
  EXPECT_EQ(SplitCommandLine(dir + "videoenc.dll  -i \"x y.avi\""),
            (QStringList{dir + "videoenc.dll", "-i", "x y.avi"}));
}
