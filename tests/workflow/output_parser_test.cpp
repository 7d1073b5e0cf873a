// The transcoder output parser: facts, progress and line handling.
#include "output_parser.h"

#include <QLocale>
#include <gtest/gtest.h>

namespace {

struct ParseRun {
  TMediaFacts facts;
  TEncoderOutputParser parser;
  std::vector<QString> progress;
  void Feed(const QByteArray& chunk, TEncoderOutputParser::Stream s = TEncoderOutputParser::kStdErr) {
    parser.Feed(s, chunk.constData(), unsigned(chunk.size()), facts,
                [this](double p) { progress.push_back(FormatProgress(p)); });
  }
  void End() {
    parser.Flush(facts, [this](double p) { progress.push_back(FormatProgress(p)); });
  }
};

}  // namespace

TEST(OutputParser, ReadsDurationSizeAndAudioFromFfmpegLines) {
  struct Case {
    const char* text;
    int duration, width, height;
    bool audio;
  };
  const Case cases[] = {
      {"  Duration: 00:01:23.45, start: 0.000000, bitrate: 1234 kb/s\n", 83, 0, 0, false},
      {"Duration: 01:02:03.99\n", 3723, 0, 0, false},
      {"    Stream #0.0: Video: mpeg4, yuv420p, 320x240, 25.00 fps\n    Stream #0:1: Video: h264, 640x480\n", 0, 320,
       240, false},
      {"    Stream #0:1(und): Audio: aac (LC), 44100 Hz, stereo\n", 0, 0, 0, true},
      {"    Stream #0:1: Audio:aac\n", 0, 0, 0, false},  // no blank after the colon
      // File names and metadata that look like FFmpeg's own lines count for nothing.
      {"Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'clip, 1280x720 Audio: x.mp4':\n", 0, 0, 0, false},
      {"    title           : Duration: 09:00:00 Video: a, 1280x720\n", 0, 0, 0, false},
      {"Duration: N/A, bitrate: N/A\n", 0, 0, 0, false},
      {"Duration: 99999999999:00:00.00\n", 0, 0, 0, false},  // absurd hours are not a duration
  };
  for (const Case& c : cases) {
    ParseRun r;
    r.Feed(c.text);
    r.End();
    EXPECT_EQ(r.facts.Duration, c.duration) << c.text;
    EXPECT_EQ(r.facts.VideoWidth, c.width) << c.text;
    EXPECT_EQ(r.facts.VideoHeight, c.height) << c.text;
    EXPECT_EQ(r.facts.HasAudio, c.audio) << c.text;
  }
}

TEST(OutputParser, ProgressFromTimePositionRoundsHalfToEvenAndCapsAt100) {
  QLocale::setDefault(QLocale::c());
  struct Case {
    const char* line;
    const char* expected;  // nullptr: nothing written
  };
  const Case cases[] = {
      {"size= 123kB time=41.50 bitrate= 128.0kbits/s", "50.6%"},
      {"size= 123kB time=40.50 bitrate= 128.0kbits/s", "48.2%"},  // 40.5 rounds to the even 40
      {"size= 123kB time=00:00:41.50 bitrate= 128.0kbits/s", "50.6%"},
      {"time=90.00 bitrate=1", "100.0%"},
      {"time=41.50", nullptr},  // no blank within reach
      {"size=N/A time=N/A bitrate=N/A", nullptr},
      {"size=0kB time=-00:00:00.02 bitrate=N/A", nullptr},
  };
  for (const Case& c : cases) {
    ParseRun r;
    r.facts.Duration = 83;
    r.Feed(QByteArray(c.line) + "\r");
    r.End();
    if (c.expected) {
      ASSERT_EQ(r.progress.size(), 1u) << c.line;
      EXPECT_EQ(r.progress[0], QString::fromLatin1(c.expected)) << c.line;
    } else {
      EXPECT_TRUE(r.progress.empty()) << c.line;
    }
  }
  ParseRun noDuration;
  noDuration.Feed("time=10.00 bitrate=1\r");
  EXPECT_TRUE(noDuration.progress.empty());
}

TEST(OutputParser, BareCarriageReturnsSeparateUpdatesAndCutLinesAreJoined) {
  ParseRun r;
  r.Feed("  Dura");
  r.Feed("tion: 00:00:10.00, start: 0\n");
  EXPECT_EQ(r.facts.Duration, 10);
  r.Feed("size= 1kB time=00:00:01.00 bitrate=1\rsize= 2kB time=00:00:02.00 bitrate=1\rsize= 3kB time=00:00:0");
  r.Feed("3.00 bitrate=1\r");
  EXPECT_EQ(r.progress, (std::vector<QString>{"10.0%", "20.0%", "30.0%"}));
  // stdout and stderr keep their unfinished lines apart.
  r.Feed("Stream #0:0: Vid", TEncoderOutputParser::kStdOut);
  r.Feed("noise\n", TEncoderOutputParser::kStdErr);
  r.Feed("eo: h264, 160x120\n", TEncoderOutputParser::kStdOut);
  EXPECT_EQ(r.facts.VideoWidth, 160);
  // A zero byte ends the chunk's text.
  r.Feed(QByteArray("Stream #0:1: Audio: aac\n", 24).prepend(QByteArray(1, '\0')));
  EXPECT_FALSE(r.facts.HasAudio);
}

TEST(OutputParser, PercentageUsesTheUsersDecimalSeparator) {
  QLocale::setDefault(QLocale(QLocale::German));
  EXPECT_EQ(FormatProgress(50.6024), "50,6%");
  QLocale::setDefault(QLocale::c());
}

TEST(OutputParser, CountsAudioStreamsAndNamesTheFirstOnesCodec) {
  struct Case {
    const char* text;
    int streams;
    const char* codec;
  };
  const Case cases[] = {
      {"  Stream #0:1(und): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, mono\n", 1, "aac"},
      {"  Stream #0:1: Audio: pcm_s16le ([1][0][0][0] / 0x0001), 8000 Hz\n"
       "  Stream #0:2: Audio: mp3, 44100 Hz\n",
       2, "pcm_s16le"},
      {"  Stream #0:0: Audio: wmav2, 44100 Hz, 1 channels\n", 1, "wmav2"},
      {"  Stream #0:0: Video: h264, 64x48\n", 0, ""},
  };
  for (const Case& c : cases) {
    ParseRun run;
    run.Feed(c.text);
    EXPECT_EQ(run.facts.AudioStreams, c.streams) << c.text;
    EXPECT_EQ(run.facts.AudioCodec, c.codec) << c.text;
  }
}
