// TPeResourceReader: finds resources in a resource library (a PE/COFF module such as a
// .msstyles file) read as plain data, never loaded or run.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// The type or name of a resource: a 16-bit number or a string. Strings match without
// regard to case; "#123" stands for the number 123, as resource compilers write it.
struct TPeResourceId {
  TPeResourceId(uint16_t number) : IsNumber(true), Number(number) {}
  TPeResourceId(const QString& name);
  TPeResourceId(const char* name) : TPeResourceId(QString::fromLatin1(name)) {}

  bool IsNumber = false;
  uint16_t Number = 0;
  QString Name;
};

inline constexpr uint16_t kRtBitmap = 2;

class TPeResourceReader {
 public:
  // Theme libraries are a few megabytes; anything past this is not one.
  static constexpr qint64 kMaxFileSize = qint64(256) << 20;

  // Reads the whole file and checks its headers down to the root of the resource
  // directory. False for an unreadable or oversized file, or one that is not a module
  // with resources; the reader is closed then.
  bool Open(const QString& fileName);
  // The same over bytes in memory.
  bool OpenData(QByteArray bytes);
  void Close();
  bool IsOpen() const { return rootOffset_ >= 0; }

  // The data of the resource's first language, valid while the reader stays open and
  // unchanged. Nothing when the resource is absent or its directory or data do not lie
  // within the file.
  std::optional<QByteArrayView> Find(const TPeResourceId& type, const TPeResourceId& name) const;

 private:
  struct Section {
    uint32_t VirtualAddress;
    uint32_t Extent;  // bytes of the section backed by the file
    uint32_t FileOffset;
  };
  // The section whose file-backed part holds all of [rva, rva + size), or null.
  const Section* SectionOf(uint32_t rva, uint32_t size) const;
  // File offset of [rva, rva + size) when one section holds it, else -1.
  qint64 RvaToOffset(uint32_t rva, uint32_t size) const;
  // The entry of directory dir (offset from the root) whose name matches id; its
  // target word, or nothing.
  std::optional<uint32_t> FindEntry(uint32_t dir, const TPeResourceId* id) const;
  bool NameMatches(uint32_t nameOffset, const QString& name) const;
  bool InRoot(uint64_t offset, uint64_t size) const;
  uint16_t U16(qint64 offset) const;
  uint32_t U32(qint64 offset) const;

  QByteArray data_;
  std::vector<Section> sections_;
  qint64 rootOffset_ = -1;  // file offset of the root directory
  qint64 rootSize_ = 0;     // bytes from the root to the end of its section's file data
};

// A run of zero-terminated UTF-16 strings ended by an empty one (or by the end of the
// data), as resource libraries store lists of names.
QStringList ReadResourceStrings(QByteArrayView data);
