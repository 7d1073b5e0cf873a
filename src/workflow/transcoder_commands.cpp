// Transcoder command lines and output naming.
#include "transcoder_commands.h"

#include <QFile>

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

QString ProbeCommand(const QString& programDir, const QString& input) {
  return programDir + QLatin1String(kTranscoderName) + u' ' + QStringLiteral(" -i ") + QuotePath(input);
}

QString ConvertCommand(const QString& programDir, const QString& input, const QString& output,
                       const TEncodeChoice& c) {
  QString cmd = programDir + QLatin1String(kTranscoderName) + QStringLiteral(" -vn ");
  cmd += QStringLiteral(" -i ") + QuotePath(input) + u' ';
  if (c.Format != u"3GP" && c.Format != u"OGG") cmd += c.Mono ? QStringLiteral(" -ac 1 ") : QStringLiteral(" -ac 2 ");
  const QString rates = QStringLiteral("-ar ") + c.SampleRate + u' ' + QStringLiteral("-ab ") + c.BitRate + QStringLiteral("000");
  if (c.Format == u"WMA")
    cmd += QStringLiteral(" -acodec wmav2 ") + rates;
  else if (c.Format == u"OGG")
    cmd += QStringLiteral(" -acodec vorbis ") + rates;
  else if (c.Format == u"3GP")
    cmd += QStringLiteral(" -acodec libamr_nb  -ac 1 -ar 8000 -ab 12200 ");
  else
    cmd += rates;
  cmd += u' ' + QuotePath(output);
  return cmd;
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
  return "DirectShowSource(\"" + QFile::encodeName(input) + "\", fps=30, convertfps=true)\r\n";
}

QString OutputBaseName(const QString& input, int namingMode, int jobIndex) {
  if (namingMode == 1) return QString::number(jobIndex);
  const QString name = NamePart(input);
  const qsizetype dot = name.lastIndexOf(u'.');
  return dot < 0 ? name : name.left(dot);
}
