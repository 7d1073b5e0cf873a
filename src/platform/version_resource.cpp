// ELF version-section reader.
#include "version_resource.h"

#include <QFile>
#include <elf.h>

#include <cstring>

namespace {

constexpr qint64 kMaxSectionBytes = 64 * 1024;

template <typename T>
bool ReadAt(QFile& f, quint64 offset, T& out) {
  if (offset > quint64(f.size()) || sizeof(T) > quint64(f.size()) - offset) return false;
  if (!f.seek(qint64(offset))) return false;
  return f.read(reinterpret_cast<char*>(&out), sizeof(T)) == qint64(sizeof(T));
}

bool ReadBytes(QFile& f, quint64 offset, quint64 size, QByteArray& out) {
  if (size > quint64(kMaxSectionBytes) || offset > quint64(f.size()) || size > quint64(f.size()) - offset)
    return false;
  if (!f.seek(qint64(offset))) return false;
  out = f.read(qint64(size));
  return out.size() == qint64(size);
}

bool ParseUInt(const QString& text, quint32& v) {
  bool ok = false;
  const qulonglong x = text.trimmed().toULongLong(&ok, 0);
  if (!ok || x > 0xFFFFFFFFull) return false;
  v = quint32(x);
  return true;
}

}  // namespace

std::optional<QString> TVersionResource::FindString(const QString& key) const {
  for (auto it = Strings.cbegin(); it != Strings.cend(); ++it)
    if (it.key().compare(key, Qt::CaseInsensitive) == 0) return it.value();
  return std::nullopt;
}

bool IsExecutableFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return false;
  Elf64_Ehdr eh;
  if (!ReadAt(f, 0, eh)) return false;
  return std::memcmp(eh.e_ident, ELFMAG, SELFMAG) == 0 && eh.e_ident[EI_CLASS] == ELFCLASS64 &&
         (eh.e_type == ET_EXEC || eh.e_type == ET_DYN);
}

std::optional<TVersionResource> ParseVersionBlock(const QByteArray& block) {
  const QList<QByteArray> entries = block.split('\0');
  if (entries.isEmpty() || entries.first() != kVersionMagic) return std::nullopt;
  TVersionResource res;
  for (qsizetype i = 1; i < entries.size(); ++i) {
    const QByteArray& e = entries[i];
    if (e.isEmpty()) break;
    const qsizetype eq = e.indexOf('=');
    if (eq <= 0) continue;
    const QString key = QString::fromUtf8(e.left(eq));
    const QString value = QString::fromUtf8(e.mid(eq + 1));
    if (key.startsWith(u'@')) {
      quint32 v = 0;
      if (!ParseUInt(value, v)) continue;
      if (key == u"@FileFlags") res.FileFlags = v;
      else if (key == u"@FileFlagsMask") res.FileFlagsMask = v;
      else if (key == u"@FileType") res.FileType = v;
      else if (key == u"@FileSubtype") res.FileSubtype = v;
      else continue;
      res.HasFixedInfo = true;
    } else {
      res.Strings.insert(key, value);
    }
  }
  return res;
}

std::optional<TVersionResource> ReadVersionResource(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return std::nullopt;
  Elf64_Ehdr eh;
  if (!ReadAt(f, 0, eh)) return std::nullopt;
  if (std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 || eh.e_ident[EI_CLASS] != ELFCLASS64) return std::nullopt;
  if (eh.e_shentsize != sizeof(Elf64_Shdr) || eh.e_shnum == 0 || eh.e_shstrndx >= eh.e_shnum) return std::nullopt;

  auto header = [&](quint32 index, Elf64_Shdr& sh) {
    return ReadAt(f, eh.e_shoff + quint64(index) * sizeof(Elf64_Shdr), sh);
  };
  Elf64_Shdr names;
  if (!header(eh.e_shstrndx, names)) return std::nullopt;
  QByteArray nameTable;
  if (!ReadBytes(f, names.sh_offset, std::min<quint64>(names.sh_size, kMaxSectionBytes), nameTable))
    return std::nullopt;

  for (quint32 i = 0; i < eh.e_shnum; ++i) {
    Elf64_Shdr sh;
    if (!header(i, sh)) return std::nullopt;
    if (sh.sh_name >= quint64(nameTable.size())) continue;
    if (std::strncmp(nameTable.constData() + sh.sh_name, kVersionSectionName,
                     size_t(nameTable.size()) - sh.sh_name) != 0)
      continue;
    if (sh.sh_type == SHT_NOBITS) return std::nullopt;
    QByteArray block;
    if (!ReadBytes(f, sh.sh_offset, sh.sh_size, block)) return std::nullopt;
    return ParseVersionBlock(block);
  }
  return std::nullopt;
}
