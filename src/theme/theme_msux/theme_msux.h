// TTeThemeMsStyles: the packed visual-style theme, an INI text of element sections plus
// a table of images, read from and written to the "OVMSSTL" stream and ".theme" files.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <array>
#include <memory>

#include "te_bitmap.h"
#include "te_theme.h"
#include "theme_msuxobjects.h"
#include "theme_msuxtypes.h"

class TTeThemeMsStyles : public TteTheme {
 public:
  // The type magic: seven bytes, no length, no terminator.
  static const QByteArray& Magic();
  // The most decompressed body bytes a packed stream may hold. Themes are a few
  // megabytes; the bound keeps a small hostile stream from inflating without end.
  static constexpr qint64 kMaxBodySize = qint64(256) << 20;

  TTeThemeMsStyles();
  ~TTeThemeMsStyles() override;

  static const TteThemeClass& ThemeClass();
  const TteThemeClass& Class() const override { return ThemeClass(); }
  static std::unique_ptr<TteTheme> Create();
  static QString GetThemeKindName();
  static TteThemeConfig GetThemeConfig();
  static bool IsThemeStream(QIODevice& stream);

  // Wrong magic leaves an empty theme and still succeeds. Corrupt or truncated data
  // raises (EDecompressionError or EAppError "Stream read error"); the theme is then
  // rebuilt from whatever was read, so it is always consistent.
  bool LoadFromStream(QIODevice& stream) override;
  bool SaveToStream(QIODevice& stream) const override;
  // ".theme" files (any case) hold the packed stream; other files would be resource
  // libraries, which this build does not read yet (false).
  bool LoadFromFile(const QString& fileName) override;
  bool SaveToFile(const QString& fileName) const override;
  void Assign(const TteTheme& source) override;
  void ResetTheme() override;
  void SetDefaultColors() override;
  void SetDefaultSysColors() override;
  void SetDefaultFonts() override;

  // No images, or no Button.Pushbutton keys.
  bool IsEmptyTheme() const;

  TmsuxIni& Ini() { return ini_; }
  const TmsuxIni& Ini() const { return ini_; }
  TteBitmapList& Images() { return images_; }
  const TteBitmapList& Images() const { return images_; }
  // The element object of a listed section (never null once built).
  TmsuxThemeObject* Object(TmsuxSection section) const;
  // The element object of a section name (no case), or null when not in the list.
  TmsuxThemeObject* FindObject(const QString& section) const;
  int ObjectCount() const;

  int32_t CaptionBarHeight = 25;
  int32_t SMCaptionBarHeight = 17;
  int32_t BorderWidth = 4;
  int32_t SMBorderWidth = 3;
  TColor MenuColor = RGB(100, 100, 100);
  TColor MenuBarColor = RGB(100, 100, 100);
  TColor MenuHilightColor = RGB(100, 100, 100);
  TFont MenuFont, StatusFont, MsgBoxFont;

  // The theme as saved right after its first build, before any hue or brightness
  // shift; every rebuild starts from it.
  const QByteArray& PristineCopy() const { return pristine_; }
  void ClearPristineCopy() { pristine_.clear(); }

  QString SourceFileName;
  int32_t ColorSchemeIndex = 0;
  int32_t SizeIndex = 0;
  QStringList ColorNames, SizeNames, FileResNames;

 private:
  // Magic already consumed: the zlib body into name, INI and images.
  void ReadBody(QIODevice& stream);
  void BuildObjects();
  QString SysMetric(const char* key, const char* def) const;

  TmsuxIni ini_;
  TteBitmapList images_;
  std::array<std::unique_ptr<TmsuxThemeObject>, kMsuxSectionCount> objects_;
  QByteArray pristine_;
};
