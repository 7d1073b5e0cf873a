// List-file reader and writer. Paths are stored as the exact bytes of the
// file names, so every name the file system gives back reads back the same.
#include "list_file.h"

#include <QFile>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "app_error.h"
#include "file_names.h"

namespace {
// A line longer than any path the system allows is not a path; it is read
// in pieces and ignored rather than held whole.
constexpr qsizetype kMaxLine = 64 * 1024;

QString OpenError(const QString& path, int code) {
  return QStringLiteral("Cannot open file \"%1\". %2")
      .arg(PrintableFileName(path), QString::fromLocal8Bit(std::strerror(code)));
}
}  // namespace

TListRead ReadFileList(const QString& path, const std::function<bool(const QString&)>& onPath) {
  const int fd = ::open(EncodeFileName(path).constData(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EAppError(OpenError(path, errno));
  QFile f;
  if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    ::close(fd);
    throw EAppError(OpenError(path, EIO));
  }

  TListRead result;
  QByteArray line;
  bool tooLong = false;
  bool lastWasCr = false;
  bool first = true;
  // false when onPath asked to stop
  auto finish = [&]() -> bool {
    if (first) result.HasHeader = !tooLong && line == kListHeader;
    first = false;
    const bool take = !tooLong && !line.isEmpty() && !line.startsWith('#');
    const QByteArray taken = line;
    line.clear();
    tooLong = false;
    if (take && !onPath(DecodeFileName(taken))) {
      result.Stopped = true;
      return false;
    }
    return true;
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
        if (!finish()) return result;
        continue;
      }
      if (line.size() >= kMaxLine) {
        tooLong = true;
        continue;
      }
      line += c;
    }
  }
  if (n < 0) throw EAppError(QStringLiteral("Cannot read file \"%1\". %2").arg(PrintableFileName(path), f.errorString()));
  if (!line.isEmpty() || tooLong || first) finish();
  return result;
}

void WriteFileList(const QString& path, const QStringList& paths) {
  QByteArray text = QByteArray(kListHeader) + "\r\n";
  for (const QString& p : paths) {
    if (p.contains(u'\n') || p.contains(u'\r'))
      throw EAppError(QStringLiteral("Cannot save the list: the file name \"%1\" contains a line break, which a "
                                     "list file cannot hold. Remove that file from the list and save again.")
                          .arg(PrintableFileName(p)));
    text += EncodeFileName(p) + "\r\n";
  }
  QSaveFile f(path);
  f.setDirectWriteFallback(true);
  if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.commit())
    throw EAppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString()));
}
