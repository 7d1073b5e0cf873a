// Reading the resource directory of a PE/COFF module from its bytes: the headers, the
// section table and the three-level type / name / language tree.
#include "pe_resources.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cstring>

namespace {

// Header layout (offsets in bytes). The optional header differs between PE32 and PE32+
// only in where the data directories start.
constexpr qint64 kDosHeaderSize = 64;
constexpr qint64 kLfanewOffset = 0x3C;
constexpr qint64 kCoffHeaderSize = 20;
constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr qint64 kPe32DirCountOffset = 92;
constexpr qint64 kPe32PlusDirCountOffset = 108;
constexpr uint32_t kResourceDirIndex = 2;
constexpr qint64 kSectionHeaderSize = 40;
// The loader refuses more sections than this.
constexpr uint16_t kMaxSections = 96;

constexpr qint64 kDirHeaderSize = 16;
constexpr qint64 kDirEntrySize = 8;
constexpr qint64 kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;

}  // namespace

TPeResourceId::TPeResourceId(const QString& name) : Name(name) {
  if (name.size() > 1 && name.front() == QLatin1Char('#')) {
    bool ok = false;
    const uint number = QStringView(name).mid(1).toUInt(&ok, 10);
    if (ok && number <= 0xFFFF) {
      IsNumber = true;
      Number = uint16_t(number);
      Name.clear();
    }
  }
}

uint16_t TPeResourceReader::U16(qint64 offset) const {
  return qFromLittleEndian<uint16_t>(data_.constData() + offset);
}

uint32_t TPeResourceReader::U32(qint64 offset) const {
  return qFromLittleEndian<uint32_t>(data_.constData() + offset);
}

void TPeResourceReader::Close() {
  data_.clear();
  sections_.clear();
  rootOffset_ = -1;
  rootSize_ = 0;
}

bool TPeResourceReader::Open(const QString& fileName) {
  Close();
  QFile file(fileName);
  // Read rather than mapped: a file cut short by someone else while we hold it would
  // fault a mapping, while a copy stays whole. Only as much as the file says it holds is
  // asked for (a device of no stated size gives nothing and is refused).
  if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize) return false;
  return OpenData(file.read(file.size()));
}

bool TPeResourceReader::OpenData(QByteArray bytes) {
  Close();
  if (bytes.size() > kMaxFileSize) return false;
  data_ = std::move(bytes);
  const qint64 size = data_.size();
  auto fail = [this] {
    Close();
    return false;
  };

  if (size < kDosHeaderSize || data_[0] != 'M' || data_[1] != 'Z') return fail();
  const qint64 pe = U32(kLfanewOffset);
  if (pe > size - 4 - kCoffHeaderSize || std::memcmp(data_.constData() + pe, "PE\0\0", 4) != 0)
    return fail();
  const qint64 coff = pe + 4;
  const uint16_t sectionCount = U16(coff + 2);
  const uint16_t optionalSize = U16(coff + 16);
  const qint64 optional = coff + kCoffHeaderSize;
  if (sectionCount == 0 || sectionCount > kMaxSections || optional + optionalSize > size)
    return fail();

  if (optionalSize < 2) return fail();
  const uint16_t magic = U16(optional);
  qint64 dirCountOffset;
  if (magic == kPe32Magic)
    dirCountOffset = kPe32DirCountOffset;
  else if (magic == kPe32PlusMagic)
    dirCountOffset = kPe32PlusDirCountOffset;
  else
    return fail();
  const qint64 resourceDir = dirCountOffset + 4 + kResourceDirIndex * 8;
  if (optionalSize < resourceDir + 8) return fail();
  if (U32(optional + dirCountOffset) <= kResourceDirIndex) return fail();
  const uint32_t resourceRva = U32(optional + resourceDir);
  const uint32_t resourceSize = U32(optional + resourceDir + 4);
  if (resourceRva == 0 || resourceSize == 0) return fail();

  const qint64 table = optional + optionalSize;
  if (table + sectionCount * kSectionHeaderSize > size) return fail();
  for (uint16_t i = 0; i < sectionCount; ++i) {
    const qint64 h = table + i * kSectionHeaderSize;
    const uint32_t virtualSize = U32(h + 8);
    const uint32_t address = U32(h + 12);
    const uint32_t rawSize = U32(h + 16);
    const uint32_t rawOffset = U32(h + 20);
    // Only the bytes that are both mapped and present in the file can be read: a
    // section cut short by the end of the file keeps what is there.
    uint64_t extent = virtualSize != 0 ? std::min(virtualSize, rawSize) : rawSize;
    extent =
        rawOffset < uint64_t(size) ? std::min<uint64_t>(extent, uint64_t(size) - rawOffset) : 0;
    if (extent != 0) sections_.push_back({address, uint32_t(extent), rawOffset});
  }

  const Section* root = SectionOf(resourceRva, uint32_t(kDirHeaderSize));
  if (!root) return fail();
  const uint32_t within = resourceRva - root->VirtualAddress;
  rootOffset_ = qint64(root->FileOffset) + within;
  rootSize_ = root->Extent - within;
  return true;
}

const TPeResourceReader::Section* TPeResourceReader::SectionOf(uint32_t rva, uint32_t size) const {
  for (const Section& s : sections_) {
    if (rva < s.VirtualAddress) continue;
    const uint64_t within = uint64_t(rva) - s.VirtualAddress;
    if (within < s.Extent && size <= s.Extent - within) return &s;
  }
  return nullptr;
}

qint64 TPeResourceReader::RvaToOffset(uint32_t rva, uint32_t size) const {
  const Section* s = SectionOf(rva, size);
  return s ? qint64(s->FileOffset) + (rva - s->VirtualAddress) : -1;
}

bool TPeResourceReader::InRoot(uint64_t offset, uint64_t size) const {
  return offset <= uint64_t(rootSize_) && size <= uint64_t(rootSize_) - offset;
}

bool TPeResourceReader::NameMatches(uint32_t nameOffset, const QString& name) const {
  if (!InRoot(nameOffset, 2)) return false;
  const qint64 at = rootOffset_ + nameOffset;
  const uint16_t length = U16(at);
  if (length != name.size() || !InRoot(nameOffset + uint64_t(2), uint64_t(length) * 2))
    return false;
  QString stored(length, Qt::Uninitialized);
  for (uint16_t i = 0; i < length; ++i) stored[i] = QChar(U16(at + 2 + qint64(i) * 2));
  return stored.compare(name, Qt::CaseInsensitive) == 0;
}

std::optional<uint32_t> TPeResourceReader::FindEntry(uint32_t dir, const TPeResourceId* id) const {
  if (!InRoot(dir, kDirHeaderSize)) return std::nullopt;
  const qint64 at = rootOffset_ + dir;
  const uint32_t count = uint32_t(U16(at + 12)) + U16(at + 14);
  // The count is believed only as far as the entries lie within the directory's bytes,
  // so a huge count costs no more than a scan of what the file holds.
  if (!InRoot(uint64_t(dir) + kDirHeaderSize, uint64_t(count) * kDirEntrySize)) return std::nullopt;
  for (uint32_t i = 0; i < count; ++i) {
    const qint64 entry = at + kDirHeaderSize + qint64(i) * kDirEntrySize;
    const uint32_t nameWord = U32(entry);
    const uint32_t target = U32(entry + 4);
    if (!id) return target;  // the first entry, whatever its name
    // Each entry's own flag decides what its name is; the split of the count into
    // named and numbered entries is not trusted.
    const bool named = (nameWord & kHighBit) != 0;
    if (id->IsNumber ? !named && nameWord == id->Number
                     : named && NameMatches(nameWord & ~kHighBit, id->Name))
      return target;
  }
  return std::nullopt;
}

std::optional<QByteArrayView> TPeResourceReader::Find(const TPeResourceId& type,
                                                      const TPeResourceId& name) const {
  if (!IsOpen()) return std::nullopt;
  // The depth is fixed: type and name lead to subdirectories, the language to the data.
  // An entry that points back up is then read as a directory of the wrong level and
  // ends the search; it can never loop.
  const std::optional<uint32_t> names = FindEntry(0, &type);
  if (!names || !(*names & kHighBit)) return std::nullopt;
  const std::optional<uint32_t> languages = FindEntry(*names & ~kHighBit, &name);
  if (!languages || !(*languages & kHighBit)) return std::nullopt;
  const std::optional<uint32_t> data = FindEntry(*languages & ~kHighBit, nullptr);
  if (!data || (*data & kHighBit) || !InRoot(*data, kDataEntrySize)) return std::nullopt;
  const qint64 entry = rootOffset_ + *data;
  const uint32_t rva = U32(entry);
  const uint32_t size = U32(entry + 4);
  const qint64 offset = RvaToOffset(rva, size);
  if (offset < 0) return std::nullopt;
  return QByteArrayView(data_.constData() + offset, qsizetype(size));
}

QStringList ReadResourceStrings(QByteArrayView data) {
  QStringList list;
  const qsizetype units = data.size() / 2;
  QString current;
  for (qsizetype i = 0; i < units; ++i) {
    const char16_t c = qFromLittleEndian<char16_t>(data.data() + i * 2);
    if (c != 0) {
      current.append(QChar(c));
      continue;
    }
    if (current.isEmpty()) return list;
    list.append(current);
    current.clear();
  }
  // Data that ends inside a string still gives it.
  if (!current.isEmpty()) list.append(current);
  return list;
}
