// Reversible file names and the file operations that use them.
#include "file_names.h"

#include <QDir>
#include <QStringDecoder>

#include <algorithm>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Length of the valid UTF-8 sequence at s[i], or 0 when it is not one
// (overlong forms, encoded surrogates and values past U+10FFFF included).
int ValidSequence(const QByteArray& s, qsizetype i, char32_t& cp) {
  const auto b = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = b(i);
  int len;
  char32_t min;
  if (c < 0x80) {
    cp = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (int k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

struct stat* StatOf(const QString& path, struct stat& st) {
  if (path.isEmpty() || ::stat(EncodeFileName(path).constData(), &st) != 0) return nullptr;
  return &st;
}

}  // namespace

QString DecodeFileName(const QByteArray& bytes) {
  // Valid UTF-8, nearly every name, in one go; the initial byte-order mark is
  // part of a name, not a mark.
  QStringDecoder utf8(QStringConverter::Utf8,
                      QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  QString whole = utf8(bytes);
  if (!utf8.hasError()) return whole;
  QString out;
  out.reserve(bytes.size());
  for (qsizetype i = 0; i < bytes.size();) {
    char32_t cp = 0;
    const int len = ValidSequence(bytes, i, cp);
    if (len == 0) {
      out += QChar(char16_t(0xDC00 + static_cast<unsigned char>(bytes[i])));
      ++i;
      continue;
    }
    out += QString::fromUcs4(&cp, 1);
    i += len;
  }
  return out;
}

QByteArray EncodeFileName(const QString& name) {
  const bool escapes = std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.isSurrogate(); });
  if (!escapes) return name.toUtf8();
  QByteArray out;
  out.reserve(name.size());
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t u = name[i].unicode();
    const bool pairedLow = i > 0 && QChar::isHighSurrogate(name[i - 1].unicode());
    if (u >= 0xDC80 && u <= 0xDCFF && !pairedLow) {
      out += char(u - 0xDC00);
      continue;
    }
    if (QChar::isHighSurrogate(u) && i + 1 < name.size() && QChar::isLowSurrogate(name[i + 1].unicode())) {
      out += name.mid(i, 2).toUtf8();
      ++i;
      continue;
    }
    out += QString(QChar(u)).toUtf8();  // a stray surrogate becomes U+FFFD
  }
  return out;
}

QStringList DecodeArguments(int argc, char** argv) {
  QStringList args;
  for (int i = 1; i < argc; ++i) args << DecodeFileName(QByteArray(argv[i]));
  return args;
}

QString PrintableFileName(const QString& name) {
  QString out;
  for (qsizetype i = 0; i < name.size(); ++i) {
    const char16_t u = name[i].unicode();
    const bool pairedLow = i > 0 && QChar::isHighSurrogate(name[i - 1].unicode());
    if (u == u'\n') {
      out += QLatin1String("\\n");
    } else if (u == u'\r') {
      out += QLatin1String("\\r");
    } else if (u == u'\t') {
      out += QLatin1String("\\t");
    } else if (u < 0x20 || u == 0x7F) {
      out += QStringLiteral("\\x%1").arg(uint(u), 2, 16, QLatin1Char('0'));
    } else if (u >= 0xDC80 && u <= 0xDCFF && !pairedLow) {
      out += QStringLiteral("\\x%1").arg(uint(u - 0xDC00), 2, 16, QLatin1Char('0'));
    } else {
      out += QChar(u);
    }
  }
  return out;
}

bool IsRegularFile(const QString& path) {
  struct stat st;
  return StatOf(path, st) && S_ISREG(st.st_mode);
}

bool IsDirectory(const QString& path) {
  struct stat st;
  return StatOf(path, st) && S_ISDIR(st.st_mode);
}

bool PathExists(const QString& path) {
  struct stat st;
  return !path.isEmpty() && ::lstat(EncodeFileName(path).constData(), &st) == 0;
}

bool SameFileOnDisk(const QString& a, const QString& b) {
  struct stat sa, sb;
  return StatOf(a, sa) && StatOf(b, sb) && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

qint64 FileSizeOf(const QString& path) {
  struct stat st;
  return StatOf(path, st) ? qint64(st.st_size) : -1;
}

std::optional<TFileStamp> FileStampOf(const QString& path) {
  struct stat st;
  if (!StatOf(path, st)) return std::nullopt;
  return TFileStamp{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000};
}

bool RemoveFile(const QString& path) { return !path.isEmpty() && ::unlink(EncodeFileName(path).constData()) == 0; }

bool MakeDirectories(const QString& path) {
  const QByteArray bytes = EncodeFileName(path);
  for (qsizetype i = 1; i <= bytes.size(); ++i) {
    if (i < bytes.size() && bytes[i] != '/') continue;
    const QByteArray prefix = bytes.left(i);
    if (::mkdir(prefix.constData(), 0777) != 0 && errno != EEXIST) return false;
  }
  return IsDirectory(path);
}

QString AbsoluteFileName(const QString& path) {
  if (path.isEmpty() || path.startsWith(u'/')) return path;
  char buf[4096];
  const char* cwd = ::getcwd(buf, sizeof buf);
  const QString dir = cwd ? DecodeFileName(QByteArray(cwd)) : QDir::currentPath();
  return dir.endsWith(u'/') ? dir + path : dir + u'/' + path;
}
