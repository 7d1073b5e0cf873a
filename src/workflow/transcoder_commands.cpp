// Transcoder command lines and output naming.
#include "transcoder_commands.h"

#include <QHash>

#include "file_names.h"

const QStringList& FormatList() {
  static const QStringList list{"MP3", "MP4", "3GP", "WMA", "WAV", "AU", "AIFF", "OGG"};
  return list;
}
const QStringList& SampleRateList() {
  static const QStringList list{"11025", "22050", "44100"};
  return list;
}
const QStringList& BitRateList() {
  static const QStringList list{"16", "24", "32", "48", "56", "96", "112", "128", "160", "192", "224", "256", "320"};
  return list;
}
const QStringList& NamingList() {
  static const QStringList list{"according to input file name", "with number"};
  return list;
}

QString QuotePath(const QString& path) { return u'"' + path + u'"'; }

namespace {

// Appends to both forms of a command: our own literal pieces are split at
// their blanks (they hold no quotes), a path is quoted in the text and one
// argument in the vector.
class TCommandBuilder {
 public:
  explicit TCommandBuilder(const QString& program) {
    c_.Text = program;
    c_.Arguments << program;
  }
  TCommandBuilder& Literal(const QString& text) {
    c_.Text += text;
    c_.Arguments << text.split(u' ', Qt::SkipEmptyParts);
    return *this;
  }
  TCommandBuilder& Path(const QString& path) {
    c_.Text += QuotePath(path);
    c_.Arguments << path;
    return *this;
  }
  TCommand Take() { return std::move(c_); }

 private:
  TCommand c_;
};

}  // namespace

TCommand ProbeCommand(const QString& programDir, const QString& input) {
  return TCommandBuilder(programDir + QLatin1String(kTranscoderName))
      .Literal(QStringLiteral("  -i "))
      .Path(input)
      .Take();
}

TCommand ConvertCommand(const QString& programDir, const QString& input, const QString& output,
                        const TEncodeChoice& c) {
  TCommandBuilder cmd(programDir + QLatin1String(kTranscoderName));
  cmd.Literal(QStringLiteral(" -vn ")).Literal(QStringLiteral(" -i ")).Path(input).Literal(QStringLiteral(" "));
  if (c.Format != u"3GP" && c.Format != u"OGG") cmd.Literal(c.Mono ? QStringLiteral(" -ac 1 ") : QStringLiteral(" -ac 2 "));
  const QString rates = QStringLiteral("-ar ") + c.SampleRate + u' ' + QStringLiteral("-ab ") + c.BitRate + QStringLiteral("000");
  if (c.Format == u"WMA")
    cmd.Literal(QStringLiteral(" -acodec wmav2 ") + rates);
  else if (c.Format == u"OGG")
    cmd.Literal(QStringLiteral(" -acodec vorbis ") + rates);
  else if (c.Format == u"3GP")
    cmd.Literal(QStringLiteral(" -acodec libamr_nb  -ac 1 -ar 8000 -ab 12200 "));
  else
    cmd.Literal(rates);
  cmd.Literal(QStringLiteral(" ")).Path(output);
  return cmd.Take();
}

TCommand CopyAudioCommand(const QString& programDir, const QString& input, const QString& output) {
  return TCommandBuilder(programDir + QLatin1String(kTranscoderName))
      .Literal(QStringLiteral(" -vn "))
      .Literal(QStringLiteral(" -i "))
      .Path(input)
      .Literal(QStringLiteral("  -acodec copy "))
      .Literal(QStringLiteral(" "))
      .Path(output)
      .Take();
}

bool FormatHoldsCodec(const QString& format, const QString& codec) {
  // What each container takes and players play from it.
  static const QHash<QString, QStringList> holds{
      {"MP3", {"mp3"}},
      {"MP4", {"aac", "mp3", "ac3", "eac3", "alac", "opus", "flac"}},
      {"3GP", {"amr_nb", "amr_wb", "aac"}},
      {"WMA", {"wmav1", "wmav2", "wmapro"}},
      {"WAV", {"pcm_s16le", "pcm_u8", "pcm_s24le", "pcm_s32le", "pcm_f32le", "pcm_alaw", "pcm_mulaw"}},
      {"AU", {"pcm_s16be", "pcm_s8", "pcm_s24be", "pcm_s32be", "pcm_f32be", "pcm_alaw", "pcm_mulaw"}},
      {"AIFF", {"pcm_s16be", "pcm_s8", "pcm_s24be", "pcm_s32be", "pcm_f32be", "pcm_f64be"}},
      {"OGG", {"vorbis", "opus", "flac", "speex"}},
  };
  return holds.value(format.toUpper()).contains(codec);
}

namespace {
QString NamePart(const QString& path) { return path.mid(path.lastIndexOf(u'/') + 1); }
}  // namespace

QString UpperExtension(const QString& path) {
  const QString name = NamePart(path);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? QString() : name.mid(dot).toUpper();
}

bool IsScriptType(const QString& path) {
  static const QStringList types{".RM", ".RMVB", ".WMV", ".AVI", ".ASF"};
  return types.contains(UpperExtension(path));
}

QByteArray ScriptText(const QString& input) {
  return "DirectShowSource(\"" + EncodeFileName(input) + "\", fps=30, convertfps=true)\r\n";
}

QString OutputBaseName(const QString& input, int namingMode, int jobIndex) {
  if (namingMode == 1) return QString::number(jobIndex);
  const QString name = NamePart(input);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? name : name.left(dot);
}
