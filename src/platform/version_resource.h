// Version resources for ELF programs. A program carries its version strings in
// a section of its own ("sonolift_version"): a magic line, then "key=value"
// entries separated by NUL bytes, ended by an empty entry. The reader finds
// the section through the ELF section headers of the file on disk.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <optional>

struct TVersionResource {
  QMap<QString, QString> Strings;  // keys as stored; look up with FindString
  quint32 FileFlags = 0;
  quint32 FileFlagsMask = 0;
  quint32 FileType = 0;
  quint32 FileSubtype = 0;
  bool HasFixedInfo = false;

  // Keys compare without regard to letter case.
  std::optional<QString> FindString(const QString& key) const;
};

// True when the file is an ELF executable or shared object.
bool IsExecutableFile(const QString& path);

// Reads the version section of an ELF file; nullopt when it has none or the
// file is not a well-formed ELF image. Never trusts an offset from the file.
std::optional<TVersionResource> ReadVersionResource(const QString& path);

// Parses the section's bytes (exposed for tests and the fuzzer).
std::optional<TVersionResource> ParseVersionBlock(const QByteArray& block);

inline constexpr char kVersionSectionName[] = "sonolift_version";
inline constexpr char kVersionMagic[] = "SONOLIFT-VERSION-1";
