// Unique temporary files through mkstemps: created exclusively with mode 0600,
// so no other user can plant or read them.
#include "temp_file.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <stdlib.h>
#include <unistd.h>

#include "app_error.h"

QString CreateUniqueTempFile(const QString& prefix, const QString& suffix) {
  QByteArray templ = QFile::encodeName(QDir::tempPath() + u'/' + prefix + QStringLiteral("XXXXXX") + suffix);
  const QByteArray suffixBytes = QFile::encodeName(suffix);
  const int fd = mkstemps(templ.data(), int(suffixBytes.size()));
  if (fd < 0)
    throw EAppError(QStringLiteral("Cannot create a temporary file: ") + QString::fromLocal8Bit(std::strerror(errno)));
  ::close(fd);
  return QFile::decodeName(templ);
}
