// The stored-theme container: TTeThemeStream keeps one theme's bytes and its name,
// TTeThemeCollection and TTeThemeList hold them as the main window's stored theme list.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class QIODevice;
class TteTheme;
class TteThemeManager;
class TTeThemeCollection;

// Layout versions of the "ThemeStream" payload.
enum TTeThemeStreamVersion : uint8_t {
  ktsvEmpty = 0,   // no theme
  ktsvLegacy = 1,  // a theme object's own stream follows
  ktsvCurrent = 2, // name and sized theme data follow
};

class TTeThemeStream {
 public:
  explicit TTeThemeStream(TTeThemeCollection* collection = nullptr);
  ~TTeThemeStream();
  TTeThemeStream(const TTeThemeStream&) = delete;
  TTeThemeStream& operator=(const TTeThemeStream&) = delete;

  // The theme's name; writing is ignored, as the name belongs to the data.
  const QString& ThemeStore() const { return name_; }
  void SetThemeStore(const QString&) {}
  QString GetDisplayName() const { return name_; }
  int32_t Tag = 0;
  TTeThemeCollection* Collection() const { return collection_; }

  // The packed theme bytes, exactly as the theme class wrote them.
  const QByteArray& ThemeData() const { return data_; }
  // Stores a theme's stream and name (how a theme is put into the list).
  void SetTheme(const QString& name, const QByteArray& data);
  // Saves the theme through the manager (only classes that can save write anything)
  // and takes its name.
  void StoreTheme(const TteTheme& theme, const TteThemeManager& manager);

  // The "ThemeStream" property payload. Reading checks every length against what the
  // stream holds: a truncated or inconsistent payload raises EAppError("Stream read
  // error") and leaves the item as it was. The legacy layout loads its theme through
  // the manager, keeps it as LegacyTheme and stores it back as bytes.
  void ReadThemeStream(QIODevice& stream, const TteThemeManager& manager);
  void WriteThemeStream(QIODevice& stream) const;

  // A new theme object made from the bytes by the first registered class that knows
  // them; null when the buffer is empty, no class knows it or the load reports
  // false. Exceptions of the theme's own loading reach the caller.
  std::unique_ptr<TteTheme> CreateTheme(const TteThemeManager& manager) const;

  TteTheme* LegacyTheme() const { return legacy_.get(); }
  void FreeLegacyTheme();

 private:
  TTeThemeCollection* collection_;
  QString name_ = QStringLiteral("(empty)");
  QByteArray data_;
  std::unique_ptr<TteTheme> legacy_;
};

class TTeThemeList;

class TTeThemeCollection {
 public:
  explicit TTeThemeCollection(TTeThemeList* owner = nullptr) : owner_(owner) {}
  TTeThemeList* Owner() const { return owner_; }
  int Count() const { return int(items_.size()); }
  // Null outside 0..Count-1.
  TTeThemeStream* Items(int index) const;
  TTeThemeStream& Add();
  void Clear() { items_.clear(); }

 private:
  TTeThemeList* owner_;
  std::vector<std::unique_ptr<TTeThemeStream>> items_;
};

class TTeThemeList {
 public:
  TTeThemeList() : themes_(this) {}
  TTeThemeCollection& Themes() { return themes_; }
  const TTeThemeCollection& Themes() const { return themes_; }
  static QString Version() { return QStringLiteral("6.0"); }
  // After the stored data has been read: frees the legacy theme objects.
  void Loaded();

 private:
  TTeThemeCollection themes_;
};
