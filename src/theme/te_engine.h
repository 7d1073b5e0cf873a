// The stored-theme container (TTeThemeStream items in a TTeThemeList) and what turns
// its items into live themes: TTeThemeEngine for the current theme, TTeThemeLink for a
// private theme of the controls that name the link.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "theme_manager.h"

class QIODevice;
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

// Whoever refers to a list and must let go of it when the list is destroyed.
class TTeThemeListObserver {
 public:
  virtual void ThemeListDestroyed(TTeThemeList* list) = 0;

 protected:
  ~TTeThemeListObserver() = default;
};

class TTeThemeList {
 public:
  TTeThemeList() : themes_(this) {}
  // Tells every observer, in the order they came, before the items go.
  ~TTeThemeList();
  TTeThemeList(const TTeThemeList&) = delete;
  TTeThemeList& operator=(const TTeThemeList&) = delete;

  TTeThemeCollection& Themes() { return themes_; }
  const TTeThemeCollection& Themes() const { return themes_; }
  static QString Version() { return QStringLiteral("6.0"); }
  // After the stored data has been read: frees the legacy theme objects.
  void Loaded();

  // An observer is added once however often it asks.
  void AddObserver(TTeThemeListObserver* observer);
  void RemoveObserver(TTeThemeListObserver* observer);

 private:
  TTeThemeCollection themes_;
  std::vector<TTeThemeListObserver*> observers_;
};

// What engine and link share: the choice of a stored theme (ThemeList, ThemeIndex), a
// theme file (ThemeFile) or a built-in kind (ThemeBuilding), which are exclusive after
// every setter, the hue and brightness shifts, and the loading state.
class TTeThemeSource : private TTeThemeListObserver {
 public:
  // The ThemeBuilding value that names no built-in kind.
  static QString NoTheme() { return QStringLiteral("No theme"); }
  static QString Version() { return QStringLiteral("6.0"); }
  void SetVersion(const QString&) {}

  int DeltaHue() const { return deltaHue_; }
  int DeltaBrightness() const { return deltaBrightness_; }
  const QString& ThemeFile() const { return themeFile_; }
  TTeThemeList* ThemeList() const { return list_; }
  int ThemeIndex() const { return themeIndex_; }
  const QString& ThemeBuilding() const { return themeBuilding_; }

  // Loads the file through the manager (a relative name is also tried beside the
  // program). A file that does not load leaves the theme in place and ThemeFile as it
  // was, except where the owner drops its theme instead (the engine with no stored
  // theme selected).
  void SetThemeFile(const QString& name);
  // Nothing more is done to the theme in place; null also unselects the stored theme.
  void SetThemeList(TTeThemeList* list);
  // With a list that has items and an index of 0 or more: the item (the index limited
  // to the last one) makes the theme; an item that makes none changes nothing at all.
  // Otherwise the index is stored and, unless a theme file is in use, the theme goes.
  void SetThemeIndex(int index);
  // A built-in kind by its name without regard to case; it reads back as the kind
  // names itself. An unknown name reads back as NoTheme() and changes nothing else.
  void SetThemeBuilding(const QString& name);

  // Around the reading of persisted properties: in between, the engine ignores theme
  // changes and the link keeps its theme; Loaded then loads the stored theme selected.
  void BeginLoading() { loading_ = true; }
  void Loaded();
  bool IsLoading() const { return loading_; }

 protected:
  explicit TTeThemeSource(TteThemeManager& manager) : manager_(manager) {}
  ~TTeThemeSource();
  TTeThemeSource(const TTeThemeSource&) = delete;
  TTeThemeSource& operator=(const TTeThemeSource&) = delete;

  // Puts a theme just made into service; the choice properties are already final.
  virtual void Install(std::unique_ptr<TteTheme> theme) = 0;
  // No stored theme and no file is selected any more.
  virtual void Drop() = 0;
  // Whether a file that does not load drops the theme (else ThemeFile is put back).
  virtual bool DropsOnFailedFile() const = 0;
  // The list has gone; ThemeList and ThemeIndex are already cleared.
  virtual void ListDestroyed() = 0;
  // DeltaHue and then DeltaBrightness, each only when not 0; after each, when given.
  void ApplyShifts(TteTheme& theme, const std::function<void()>& afterEach = {}) const;

  TteThemeManager& manager_;
  int deltaHue_ = 0;
  int deltaBrightness_ = 0;
  QString themeFile_;
  TTeThemeList* list_ = nullptr;
  int themeIndex_ = -1;
  QString themeBuilding_ = NoTheme();
  bool loading_ = false;

 private:
  void ThemeListDestroyed(TTeThemeList* list) override;
};

// Makes a stored theme, a theme file or a built-in kind the application's current
// theme (owned by the manager), follows the current theme whoever sets it, and fires
// OnThemeChanged after every change.
class TTeThemeEngine : public TTeThemeSource, public TteThemeClient {
 public:
  // Registers with the manager, which at once reports a theme that is already current.
  explicit TTeThemeEngine(TteThemeManager& manager = ThemeManager());
  ~TTeThemeEngine() override;

  // Both shifts go to the current theme together (it rebuilds once if either differs),
  // followed by the colour-change broadcast; an unchanged value does nothing.
  void SetDeltaHue(int delta);
  void SetDeltaBrightness(int delta);

  std::function<void(TTeThemeEngine& sender)> OnThemeChanged;

  void ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override;

 protected:
  void Install(std::unique_ptr<TteTheme> theme) override;
  void Drop() override;
  bool DropsOnFailedFile() const override { return themeIndex_ == -1; }
  void ListDestroyed() override;

 private:
  // Points the choice properties at a theme someone else made current.
  void Follow(const TteTheme& theme);
  void SetShifts(int hue, int brightness);
  // Set while this engine makes a theme current: it knows the choice already.
  bool installing_ = false;
};

// Holds a private theme for the controls that name the link; it tells every theme
// client (message 0x801) whenever that theme or its shifts change.
class TTeThemeLink : public TteCustomThemeLink, public TTeThemeSource {
 public:
  explicit TTeThemeLink(TteThemeManager& manager = ThemeManager());
  ~TTeThemeLink() override;

  TteTheme* GetTheme() const override { return theme_.get(); }

  // Stored and given to the private theme (rebuilding when it changes, back to 0
  // included); the link-changed message follows in every case.
  void SetDeltaHue(int delta);
  void SetDeltaBrightness(int delta);

 protected:
  void Install(std::unique_ptr<TteTheme> theme) override;
  void Drop() override;
  bool DropsOnFailedFile() const override { return false; }
  void ListDestroyed() override {}

 private:
  void NotifyChanged();
  std::unique_ptr<TteTheme> theme_;
};
