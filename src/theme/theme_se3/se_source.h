// TSeSkinSource holds one skin file in memory (metadata, images, object tree, colour,
// system-colour and font tables); the four TSeSkinFilter classes read and write its
// byte layouts (.uskn plain, .oskn and .xskn zlib-packed, .mskn packed binary forms).
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

#include "se_objects.h"
#include "te_bitmap.h"
#include "theme_tables.h"

class QIODevice;
class TSeSkinSource;
class TSeSkinFilter;

// What the registry knows of a filter class without an instance.
struct TSeSkinFilterClass {
  const char* ClassName;
  std::unique_ptr<TSeSkinFilter> (*Create)();
};

class TSeSkinFilter {
 public:
  virtual ~TSeSkinFilter() = default;
  virtual QByteArray Signature() const { return QByteArray("0000\0", 5); }
  virtual QString GetExtension() const { return {}; }
  virtual QString GetDescription() const { return {}; }
  void SetSource(TSeSkinSource* source) { source_ = source; }

  // The 5-byte signature (a stream without it is read from its start), then the body.
  // Damaged data raises EAppError or the decompressor's error.
  virtual void LoadFromStream(QIODevice& stream);
  virtual void SaveToStream(QIODevice& stream);
  // The body: the common layout; the maximum filter overrides with the binary layout.
  virtual void ReadData(QIODevice& stream);
  virtual void WriteData(QIODevice& stream);

  // The most bytes a packed body may inflate to: skins are a few megabytes, and the bound
  // keeps a small hostile file from inflating without end.
  static constexpr qint64 kMaxBodySize = qint64(256) << 20;

 protected:
  TSeSkinSource* source_ = nullptr;
};

class TSeSkinFilterUncompressed : public TSeSkinFilter {
 public:
  static const TSeSkinFilterClass& Class();
  QByteArray Signature() const override { return QByteArray("_UCT\0", 5); }
  QString GetExtension() const override { return QStringLiteral("uskn"); }
  QString GetDescription() const override { return QStringLiteral("Uncompressed Skin"); }
};

// Marker "OVLZ" (read, never checked), then zlib at Level() over the body.
class TSeSkinFilterCompressed : public TSeSkinFilter {
 public:
  static const TSeSkinFilterClass& Class();
  QByteArray Signature() const override { return QByteArray("_DCT\0", 5); }
  QString GetExtension() const override { return QStringLiteral("oskn"); }
  QString GetDescription() const override { return QStringLiteral("Compressed Skin"); }
  void LoadFromStream(QIODevice& stream) override;
  void SaveToStream(QIODevice& stream) override;
  virtual int Level() const { return 1; }
};

class TSeSkinFilterUltraCompressed : public TSeSkinFilterCompressed {
 public:
  static const TSeSkinFilterClass& Class();
  QByteArray Signature() const override { return QByteArray("_TCT\0", 5); }
  QString GetExtension() const override { return QStringLiteral("xskn"); }
  QString GetDescription() const override { return QStringLiteral("Ultra Compressed Skin"); }
  int Level() const override { return -1; }
};

class TSeSkinFilterMaxCompression : public TSeSkinFilterUltraCompressed {
 public:
  static const TSeSkinFilterClass& Class();
  QByteArray Signature() const override { return QByteArray("_MCT\0", 5); }
  QString GetExtension() const override { return QStringLiteral("mskn"); }
  QString GetDescription() const override { return QStringLiteral("Maximum Compressed"); }
  void ReadData(QIODevice& stream) override;
  void WriteData(QIODevice& stream) override;
  // The flag-byte image word holds at most 12 bits of count.
  static constexpr int kMaxImages = 0xFFF;
};

// The registry: the four filters are registered in the order above on first use.
void RegisterSkinFilter(const TSeSkinFilterClass& filterClass);
void UnregisterSkinFilter(const TSeSkinFilterClass& filterClass);
const std::vector<const TSeSkinFilterClass*>& SkinFilters();
// The first filter whose extension equals the file's, without regard to case; else null.
const TSeSkinFilterClass* FindSkinFilterByFile(const QString& fileName);
// The first filter whose signature the stream starts with; the position is kept.
const TSeSkinFilterClass* FindSkinFilterByStream(QIODevice& stream);
// "Uncompressed Skin (*.uskn)|*.uskn|Compressed Skin (*.oskn)|*.oskn|..."
QString SkinFilterString();

class TSeSkinSource {
 public:
  TSeSkinSource();
  ~TSeSkinSource();
  TSeSkinSource(const TSeSkinSource&) = delete;
  TSeSkinSource& operator=(const TSeSkinSource&) = delete;

  QString SkinName = QStringLiteral("RurerOraver Theme");
  QString SkinVersion = QStringLiteral("6.0");
  QString Author = QStringLiteral("Orvane");
  QString AuthorEMail = QStringLiteral("skins@sonolift.invalid");
  QString AuthorURL = QStringLiteral("https://sonolift.invalid/skins");
  TSeObjectList Objects;
  TteBitmapList Bitmaps;
  TteThemeColors Colors;
  TteThemeSysColors SysColors;
  TteThemeFonts Fonts;

  void Clear();
  // Metadata, images, object trees (bound to this source's images) and tables.
  void Assign(const TSeSkinSource& source);

  // A load reads into a fresh source and takes its content only when the whole skin was
  // read: a damaged skin raises and leaves this source as it was. Streams are read by the
  // filter whose signature they carry, else by fallback; files by their extension.
  void LoadFromStream(QIODevice& stream, const TSeSkinFilterClass& fallback);
  void SaveToStream(QIODevice& stream, const TSeSkinFilterClass& filter);
  // False, nothing read, for an empty name, a missing file or an extension without a
  // filter; true once the file was read; damaged contents raise.
  bool LoadFromFile(const QString& fileName);
  // Through a temporary file that replaces fileName only once everything was written.
  void SaveToFile(const QString& fileName, const TSeSkinFilterClass& fallback);

  TSeSkinObject* FindObject(const QString& name) const;
  int ObjectCount() const { return int(Objects.size()); }
  TSeSkinObject* ObjectAt(int index) const;
  void SetHue(int delta);
  void SetBrightness(int delta);
  void ClearClientMasks();
  void DeriveTables();
  // Adds a root read from the stream (bound and prepared when the whole skin is in).
  void AddRoot(std::unique_ptr<TSeSkinObject> root);

 private:
  void TakeContent(TSeSkinSource& other);
  void Read(QIODevice& stream, const TSeSkinFilterClass& filterClass);
};
