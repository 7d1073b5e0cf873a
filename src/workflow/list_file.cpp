// List-file reader and writer. Paths are stored in the local 8-bit encoding
// of file names, so every name the file system gives back reads back the same.
#include "list_file.h"

#include <QFile>
#include <QSaveFile>

#include "app_error.h"

namespace {
// A line longer than any path the system allows is not a path; it is read
// in pieces and ignored rather than held whole.
constexpr qsizetype kMaxLine = 64 * 1024;
}  // namespace

void ReadFileList(const QString& path, const std::function<void(const QString&)>& onPath) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw EAppError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, f.errorString()));

  QByteArray line;
  bool tooLong = false;
  bool lastWasCr = false;
  auto finish = [&] {
    if (!tooLong && !line.isEmpty() && !line.startsWith('#')) onPath(QFile::decodeName(line));
    line.clear();
    tooLong = false;
  };
  char buf[16384];
  qint64 n;
  while ((n = f.read(buf, sizeof buf)) > 0) {
    for (qint64 i = 0; i < n; ++i) {
      const char c = buf[i];
      if (c == '\n' && lastWasCr) {
        lastWasCr = false;
        continue;
      }
      lastWasCr = c == '\r';
      if (c == '\r' || c == '\n') {
        finish();
        continue;
      }
      if (line.size() >= kMaxLine) {
        tooLong = true;
        continue;
      }
      line += c;
    }
  }
  finish();
}

void WriteFileList(const QString& path, const QStringList& paths) {
  QByteArray text = QByteArray(kListHeader) + "\r\n";
  for (const QString& p : paths) text += QFile::encodeName(p) + "\r\n";
  QSaveFile f(path);
  f.setDirectWriteFallback(true);
  if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
    throw EAppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString()));
}
