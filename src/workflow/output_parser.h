// Reads the transcoder's console text: stream duration, picture size, audio
// presence, and the running time position as a per-file percentage.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// What the parser found in the current child's output.
struct TMediaFacts {
  int Duration = 0;  // whole seconds
  int VideoWidth = 0;
  int VideoHeight = 0;
  bool HasAudio = false;
  int AudioStreams = 0;  // "Stream #" lines with an audio stream
  QString AudioCodec;    // the first audio stream's codec, as FFmpeg names it
};

// Compiles the two patterns once for the program's life; called at start-up
// (later uses compile them on demand if start-up did not).
void CompileOutputPatterns();

// Parses one line (line breaks already removed) into facts. Returns the
// percentage the line's "time=" position gives, when it gives one.
std::optional<double> ParseEncoderLine(const QByteArray& line, TMediaFacts& facts);

// The percentage as shown in the list: one decimal in the user's locale and "%".
QString FormatProgress(double percent);

// Splits the runner's chunks into lines. A line cut by the chunking is kept
// until its end arrives (or the child ends), so that no "Duration:" line is
// lost to a read that happened to fall in its middle.
class TEncoderOutputParser {
 public:
  enum Stream { kStdOut = 0, kStdErr = 1 };
  using TProgressSink = std::function<void(double percent)>;

  void Reset();
  void Feed(Stream stream, const char* data, unsigned count, TMediaFacts& facts, const TProgressSink& progress);
  // Parses what is left of unfinished lines (at the child's end).
  void Flush(TMediaFacts& facts, const TProgressSink& progress);

 private:
  void ParseText(const QByteArray& text, TMediaFacts& facts, const TProgressSink& progress);
  QByteArray pending_[2];
};
