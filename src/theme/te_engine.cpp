// The stored-theme container: the "ThemeStream" payload of an item, making theme
// objects from an item's bytes, and the list component that holds the items.
#include "te_engine.h"

#include <QBuffer>
#include <QtEndian>

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
  auto put = [&](const char* bytes, qint64 n) {
    if (stream.write(bytes, n) != n) throw EAppError(QStringLiteral("Stream write error"));
  };
  if (data_.isEmpty()) {
    const char version = char(ktsvEmpty);
    put(&version, 1);
    return;
  }
  const char version = char(ktsvCurrent);
  put(&version, 1);
  const QByteArray name = name_.toLatin1();
  WriteInt32LE(stream, int32_t(name.size()));
  put(name.constData(), name.size());
  WriteInt32LE(stream, int32_t(data_.size()));
  WriteInt32LE(stream, 0);
  put(data_.constData(), data_.size());
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
