// The transcoder's command lines, the script that stands in front of some
// input types, and output naming. Pure text work: nothing here runs anything.
#pragma once

#include <QString>
#include <QStringList>

// The choice lists; their texts go verbatim into commands and file names.
const QStringList& FormatList();      // MP3 MP4 3GP WMA WAV AU AIFF OGG
const QStringList& SampleRateList();  // 11025 22050 44100
const QStringList& BitRateList();     // 16 ... 320 (kbit/s)
const QStringList& NamingList();      // according to input file name / with number

inline constexpr char kTranscoderName[] = "videoenc.dll";

// Double quote, the path, double quote; never escaped.
QString QuotePath(const QString& path);

// A transcoder command in its two forms, built together from the same pieces:
// Text is the command line as composed (shown and compared), Arguments the
// vector that is started, the program first. A path is one argument whatever
// it contains, so no name can add or split arguments.
struct TCommand {
  QString Text;
  QStringList Arguments;
};

// programDir ends in a separator.
TCommand ProbeCommand(const QString& programDir, const QString& input);

struct TEncodeChoice {
  QString Format;      // text of the format entry
  QString SampleRate;  // text of the sample-rate entry
  QString BitRate;     // text of the bit-rate entry
  bool Mono = false;
};
TCommand ConvertCommand(const QString& programDir, const QString& input, const QString& output,
                       const TEncodeChoice& choice);

// The command that keeps the input's audio stream as it is (no -ac, -ar or
// -ab: the source's own), for a container that can hold its codec.
TCommand CopyAudioCommand(const QString& programDir, const QString& input, const QString& output);
// True when an output of this format (the list's text) can hold an audio
// stream of this codec (as FFmpeg names it) as it is.
bool FormatHoldsCodec(const QString& format, const QString& codec);

// The upper-cased extension of the file-name part, with its dot ("" when none).
QString UpperExtension(const QString& path);
// Inputs of these types are first tried through a script.
bool IsScriptType(const QString& path);
// The script's only line, with its CR LF.
QByteArray ScriptText(const QString& input);

// The base of an output name: the job number, or the input's file name without
// its last extension.
QString OutputBaseName(const QString& input, int namingMode, int jobIndex);
