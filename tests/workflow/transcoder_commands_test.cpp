// Command lines to the character, and output base names.
#include "transcoder_commands.h"

#include <gtest/gtest.h>

TEST(TranscoderCommands, ComposedExactlyForEveryFormatFamily) {
  const QString dir = "/opt/so lift/";
  struct Case {
    TEncodeChoice choice;
    QString expected;
  };
  const Case cases[] = {
      {{"MP3", "44100", "128", false},
       "/opt/so lift/videoenc.dll -vn  -i \"in put.avi\"  -ac 2 -ar 44100 -ab 128000 \"/o/out.MP3\""},
      {{"AIFF", "11025", "16", true},
       "/opt/so lift/videoenc.dll -vn  -i \"in put.avi\"  -ac 1 -ar 11025 -ab 16000 \"/o/out.MP3\""},
      {{"WMA", "44100", "128", true},
       "/opt/so lift/videoenc.dll -vn  -i \"in put.avi\"  -ac 1  -acodec wmav2 -ar 44100 -ab 128000 \"/o/out.MP3\""},
      {{"OGG", "44100", "128", true},
       "/opt/so lift/videoenc.dll -vn  -i \"in put.avi\"  -acodec vorbis -ar 44100 -ab 128000 \"/o/out.MP3\""},
      {{"3GP", "22050", "320", false},
       "/opt/so lift/videoenc.dll -vn  -i \"in put.avi\"  -acodec libamr_nb  -ac 1 -ar 8000 -ab 12200  \"/o/out.MP3\""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertCommand(dir, "in put.avi", "/o/out.MP3", c.choice).Text, c.expected)
        << c.choice.Format.toStdString();
  EXPECT_EQ(ProbeCommand(dir, "a \"b\".mpg").Text, "/opt/so lift/videoenc.dll  -i \"a \"b\".mpg\"");
}

// The text is only shown; what runs is the vector, where every path is one
// argument whatever quotes and blanks it holds.
TEST(TranscoderCommands, NoFileNameAddsOrSplitsArguments) {
  const QString names[] = {
      "/v/p\" -y -f wav \"victim.wav\" \"q.avi",
      "/v/x\" \"y.mp4",
      "/v/\"quoted\" \"both\".avi",
      "/v/x\" -i \"y.avi",
      "/v/ leading and trailing blank ",
      "/v/new\nline\ttab.mp4",
      "/v/-dash.mp4",
  };
  const QString dir = "/opt/so \"lift\" dir/";
  const QString program = dir + "videoenc.dll";
  for (const QString& in : names) {
    const QString out = in + ".MP3";
    EXPECT_EQ(ConvertCommand(dir, in, out, {"MP3", "44100", "128", false}).Arguments,
              (QStringList{program, "-vn", "-i", in, "-ac", "2", "-ar", "44100", "-ab", "128000", out}))
        << in.toStdString();
    EXPECT_EQ(ConvertCommand(dir, in, out, {"3GP", "44100", "128", true}).Arguments,
              (QStringList{program, "-vn", "-i", in, "-acodec", "libamr_nb", "-ac", "1", "-ar", "8000", "-ab",
                           "12200", out}))
        << in.toStdString();
    EXPECT_EQ(ProbeCommand(dir, in).Arguments, (QStringList{program, "-i", in})) << in.toStdString();
    EXPECT_EQ(ProbeCommand(dir, in).Text, program + "  -i \"" + in + "\"");
  }
}

TEST(TranscoderCommands, NamesAndTypes) {
  EXPECT_EQ(OutputBaseName("/v/clip.avi", 0, 5), "clip");
  EXPECT_EQ(OutputBaseName("/v/archive.tar.avi", 0, 5), "archive.tar");
  EXPECT_EQ(OutputBaseName("/v.d/noext", 0, 5), "noext");
  EXPECT_EQ(OutputBaseName("/v/clip.avi", 1, 2), "2");
  for (const char* s : {"a.rm", "a.RMVB", "a.Wmv", "a.avi", "a.asf"}) EXPECT_TRUE(IsScriptType(s)) << s;
  for (const char* s : {"a.mpg", "a.mp4", "avi", "/x.avi/file"}) EXPECT_FALSE(IsScriptType(s)) << s;
  EXPECT_EQ(ScriptText("/v/a \"q\".wmv"), "DirectShowSource(\"/v/a \"q\".wmv\", fps=30, convertfps=true)\r\n");
}
