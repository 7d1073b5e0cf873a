// The stored-theme container (the "ThemeStream" payload of an item, making theme
// objects from an item's bytes, the list that holds the items) and the engine and link
// that make themes from it.
#include "te_engine.h"

#include <QBuffer>
#include <QtEndian>
#include <algorithm>

#include "te_compress.h"
#include "theme_manager.h"

TTeThemeStream::TTeThemeStream(TTeThemeCollection* collection) : collection_(collection) {}
TTeThemeStream::~TTeThemeStream() = default;

void TTeThemeStream::SetTheme(const QString& name, const QByteArray& data) {
  name_ = name;
  data_ = data;
}

void TTeThemeStream::StoreTheme(const TteTheme& theme, const TteThemeManager& manager) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  manager.SaveThemeToStream(&theme, buffer);
  data_ = buffer.data();
  name_ = theme.Name;
}

void TTeThemeStream::ReadThemeStream(QIODevice& stream, const TteThemeManager& manager) {
  const uint8_t version = ReadCheckedByte(stream);
  if (version == ktsvCurrent) {
    const int32_t nameLength = ReadCheckedInt32(stream);
    const QByteArray name = ReadCheckedBytes(stream, nameLength);
    // Eight bytes of size, of which only the low half counts: unsigned, so that a
    // size past 2 GiB is refused by the length check rather than read as negative.
    const QByteArray sizeField = ReadCheckedBytes(stream, 8);
    const uint32_t size = qFromLittleEndian<uint32_t>(sizeField.constData());
    QByteArray data = ReadCheckedBytes(stream, qint64(size));
    name_ = QString::fromLatin1(name);
    data_ = std::move(data);
  } else if (version == ktsvLegacy) {
    std::unique_ptr<TteTheme> theme = manager.LoadThemeFromStream(stream);
    if (!theme) return;
    legacy_ = std::move(theme);
    StoreTheme(*legacy_, manager);
  }
  // Version 0 and unknown versions carry nothing further.
}

void TTeThemeStream::WriteThemeStream(QIODevice& stream) const {
  if (data_.isEmpty()) {
    const char version = char(ktsvEmpty);
    WriteCheckedBytes(stream, &version, 1);
    return;
  }
  const char version = char(ktsvCurrent);
  WriteCheckedBytes(stream, &version, 1);
  const QByteArray name = name_.toLatin1();
  WriteInt32LE(stream, int32_t(name.size()));
  WriteCheckedBytes(stream, name.constData(), name.size());
  WriteInt32LE(stream, int32_t(data_.size()));
  WriteInt32LE(stream, 0);
  WriteCheckedBytes(stream, data_.constData(), data_.size());
}

std::unique_ptr<TteTheme> TTeThemeStream::CreateTheme(const TteThemeManager& manager) const {
  if (data_.isEmpty()) return nullptr;
  // A buffer of its own, so that making a theme never moves anything in the item.
  QByteArray bytes = data_;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  return manager.LoadThemeFromStream(buffer);
}

void TTeThemeStream::FreeLegacyTheme() { legacy_.reset(); }

TTeThemeStream* TTeThemeCollection::Items(int index) const {
  return index >= 0 && index < Count() ? items_[size_t(index)].get() : nullptr;
}

TTeThemeStream& TTeThemeCollection::Add() {
  items_.push_back(std::make_unique<TTeThemeStream>(this));
  return *items_.back();
}

void TTeThemeList::Loaded() {
  for (int i = 0; i < themes_.Count(); ++i) themes_.Items(i)->FreeLegacyTheme();
}

TTeThemeList::~TTeThemeList() {
  // One at a time, so an observer that removes another while being told is honoured.
  while (!observers_.empty()) {
    TTeThemeListObserver* observer = observers_.front();
    observers_.erase(observers_.begin());
    observer->ThemeListDestroyed(this);
  }
}

void TTeThemeList::AddObserver(TTeThemeListObserver* observer) {
  if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
    observers_.push_back(observer);
}

void TTeThemeList::RemoveObserver(TTeThemeListObserver* observer) {
  observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

// ---- what engine and link share

TTeThemeSource::~TTeThemeSource() {
  if (list_) list_->RemoveObserver(this);
}

void TTeThemeSource::SetThemeFile(const QString& name) {
  // Loaded before anything is stored, so a theme whose loading raises changes nothing.
  std::unique_ptr<TteTheme> theme = manager_.LoadThemeFromFile(name);
  if (!theme) {
    // The theme in place stays and is still described by the properties, unless the
    // owner has no stored theme to fall back on and lets it go.
    if (DropsOnFailedFile()) {
      themeFile_ = name;
      Drop();
    }
    return;
  }
  themeFile_ = name;
  themeIndex_ = -1;
  themeBuilding_ = NoTheme();
  Install(std::move(theme));
}

void TTeThemeSource::SetThemeList(TTeThemeList* list) {
  if (list != list_) {
    if (list_) list_->RemoveObserver(this);
    list_ = list;
    if (list_) list_->AddObserver(this);
  }
  if (!list_) themeIndex_ = -1;
}

void TTeThemeSource::SetThemeIndex(int index) {
  const int count = list_ ? list_->Themes().Count() : 0;
  if (count > 0 && index >= 0) {
    index = std::min(index, count - 1);
    std::unique_ptr<TteTheme> theme = list_->Themes().Items(index)->CreateTheme(manager_);
    if (!theme) return;
    themeIndex_ = index;
    themeFile_.clear();
    themeBuilding_ = NoTheme();
    Install(std::move(theme));
    return;
  }
  themeIndex_ = std::max(index, -1);
  if (themeFile_.isEmpty()) Drop();
}

void TTeThemeSource::SetThemeBuilding(const QString& name) {
  themeBuilding_ = name;
  if (name == NoTheme()) return;
  const TteThemeClass* builtIn = manager_.FindBuiltInThemeClass(name);
  if (!builtIn) {
    themeBuilding_ = NoTheme();
    return;
  }
  themeFile_.clear();
  themeIndex_ = -1;
  themeBuilding_ = builtIn->GetThemeKindName();
  Install(builtIn->Create());
}

void TTeThemeSource::Loaded() {
  loading_ = false;
  if (list_ && themeIndex_ >= 0) SetThemeIndex(themeIndex_);
}

void TTeThemeSource::ApplyShifts(TteTheme& theme, const std::function<void()>& afterEach) const {
  if (deltaHue_ != 0) {
    theme.SetDeltaHue(deltaHue_);
    if (afterEach) afterEach();
  }
  if (deltaBrightness_ != 0) {
    theme.SetDeltaBrightness(deltaBrightness_);
    if (afterEach) afterEach();
  }
}

void TTeThemeSource::ThemeListDestroyed(TTeThemeList* list) {
  if (list != list_) return;
  list_ = nullptr;
  themeIndex_ = -1;
  ListDestroyed();
}

// ---- engine

TTeThemeEngine::TTeThemeEngine(TteThemeManager& manager) : TTeThemeSource(manager) {
  manager_.AddThemeClient(this);
}

TTeThemeEngine::~TTeThemeEngine() { manager_.RemoveThemeClient(this); }

void TTeThemeEngine::SetDeltaHue(int delta) {
  if (delta == deltaHue_) return;
  deltaHue_ = delta;
  SetShifts(deltaHue_, deltaBrightness_);
}

void TTeThemeEngine::SetDeltaBrightness(int delta) {
  if (delta == deltaBrightness_) return;
  deltaBrightness_ = delta;
  SetShifts(deltaHue_, deltaBrightness_);
}

void TTeThemeEngine::SetShifts(int hue, int brightness) {
  // Both values always travel together, so a shift set back to 0 is undone on the
  // current theme too and the engine never reads 0 over a shifted theme.
  TteTheme* theme = manager_.CurrentTheme();
  if (!theme) return;
  theme->SetDeltaHueBrightness(hue, brightness);
  manager_.Broadcast(ktcLookChanged, 1);
}

void TTeThemeEngine::Install(std::unique_ptr<TteTheme> theme) {
  TteTheme* made = theme.get();
  {
    struct Reset {
      bool& Flag;
      ~Reset() { Flag = false; }
    } reset{installing_};
    installing_ = true;
    manager_.SetCurrentTheme(std::move(theme));
  }
  // A client may have replaced it while being told; shift only our own.
  if (manager_.IsCurrentTheme(made))
    ApplyShifts(*made, [this] { manager_.Broadcast(ktcLookChanged, 1); });
}

void TTeThemeEngine::Drop() { manager_.ClearCurrentTheme(); }

void TTeThemeEngine::ListDestroyed() { manager_.ClearCurrentTheme(); }

void TTeThemeEngine::Follow(const TteTheme& theme) {
  const TteThemeClass& themeClass = theme.Class();
  if (themeClass.GetThemeConfig().BuiltIn) {
    themeBuilding_ = themeClass.GetThemeKindName();
    themeIndex_ = -1;
    themeFile_.clear();
    return;
  }
  themeBuilding_ = NoTheme();
  if (list_ && (!themeFile_.isEmpty() || theme.FileName.isEmpty())) {
    const TTeThemeCollection& items = list_->Themes();
    for (int i = 0; i < items.Count(); ++i)
      if (items.Items(i)->ThemeStore() == theme.Name) {
        themeIndex_ = i;
        themeFile_.clear();
        return;
      }
  }
  // Neither a stored theme nor a built-in kind: the file it came from, if any; the
  // previous choice never stays behind to describe a theme that is gone.
  themeFile_ = theme.FileName;
  themeIndex_ = -1;
}

void TTeThemeEngine::ThemeMessage(uint32_t message, intptr_t wParam, intptr_t) {
  if (message != kThemeChangeMessage || loading_) return;
  switch (wParam) {
    case ktcReplaced:
    case ktcBecameCurrent: {
      const TteTheme* theme = manager_.CurrentTheme();
      if (!theme) return;
      // Our own setter has described the theme already, and better: it knows which
      // item or file it was even when several carry the same name.
      if (!installing_) Follow(*theme);
      break;
    }
    case ktcRemoved:
      themeFile_.clear();
      themeBuilding_ = NoTheme();
      themeIndex_ = -1;
      break;
    default: return;
  }
  if (OnThemeChanged) OnThemeChanged(*this);
}

// ---- link

TTeThemeLink::TTeThemeLink(TteThemeManager& manager) : TTeThemeSource(manager) {}

TTeThemeLink::~TTeThemeLink() = default;

void TTeThemeLink::SetDeltaHue(int delta) {
  deltaHue_ = delta;
  if (theme_) theme_->SetDeltaHue(delta);
  NotifyChanged();
}

void TTeThemeLink::SetDeltaBrightness(int delta) {
  deltaBrightness_ = delta;
  if (theme_) theme_->SetDeltaBrightness(delta);
  NotifyChanged();
}

void TTeThemeLink::Install(std::unique_ptr<TteTheme> theme) {
  theme_ = std::move(theme);
  ApplyShifts(*theme_);
  NotifyChanged();
}

void TTeThemeLink::Drop() {
  // While persisted properties are read the theme stays: Loaded decides.
  if (loading_) return;
  theme_.reset();
  themeBuilding_ = NoTheme();
  themeIndex_ = -1;
  NotifyChanged();
}

void TTeThemeLink::NotifyChanged() { manager_.NotifyLinkChanged(this); }
