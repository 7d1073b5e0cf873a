// The packed visual-style theme: its stream and files, the build of its element
// objects with the SysMetrics values, and the colour and font set-up it overrides.
#include "theme_msux.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include "te_compress.h"
#include "theme_manager.h"

namespace {

// Far more than any theme carries; a count beyond it is a corrupt stream, and the
// bound keeps a stream of empty image entries from making millions of objects.
constexpr int32_t kMaxImages = 65536;

const TteThemeClass kMsStylesClass = {
    "TTeThemeMsStyles", &TTeThemeMsStyles::GetThemeKindName, &TTeThemeMsStyles::GetThemeConfig,
    &TTeThemeMsStyles::IsThemeStream, &TTeThemeMsStyles::Create,
};

QByteArray ReadBodyString(QIODevice& stream) {
  return ReadCheckedBytes(stream, ReadCheckedInt32(stream));
}

void WriteBodyString(QIODevice& stream, const QByteArray& text) {
  WriteInt32LE(stream, int32_t(text.size()));
  if (stream.write(text) != text.size()) throw EAppError(QStringLiteral("Stream write error"));
}

void WriteByte(QIODevice& stream, bool value) {
  const char byte = value ? 1 : 0;
  if (stream.write(&byte, 1) != 1) throw EAppError(QStringLiteral("Stream write error"));
}

// Shifts a platform colour by hue and then brightness; "no colour" stays no colour.
TColor ShiftColor(TColor color, int hue, int brightness) {
  if (color == clNone) return color;
  if (hue != 0) color = ChangeHueColor(color, hue);
  if (brightness != 0) color = ChangeBrightnessColor(color, brightness);
  return color;
}

void SetFaceAndSize(TFont& font, const TmsuxFont& f) {
  font.setFamily(f.Face);
  SetFontSize(font, f.Size);
}

void SetWholeFont(TFont& font, const TmsuxFont& f) {
  SetFaceAndSize(font, f);
  font.setBold(f.Bold);
  font.setItalic(f.Italic);
  font.setUnderline(f.Underline);
  font.setStrikeOut(f.StrikeOut);
}

}  // namespace

const QByteArray& TTeThemeMsStyles::Magic() {
  static const QByteArray magic = QByteArrayLiteral("OVMSSTL");
  return magic;
}

TTeThemeMsStyles::TTeThemeMsStyles() {
  Name.clear();
  for (TFont* f : {&MenuFont, &StatusFont, &MsgBoxFont}) *f = DefaultThemeFont();
  ResetTheme();
}

TTeThemeMsStyles::~TTeThemeMsStyles() = default;

const TteThemeClass& TTeThemeMsStyles::ThemeClass() { return kMsStylesClass; }
std::unique_ptr<TteTheme> TTeThemeMsStyles::Create() { return std::make_unique<TTeThemeMsStyles>(); }
QString TTeThemeMsStyles::GetThemeKindName() { return QStringLiteral("Microsoft msstyles"); }

TteThemeConfig TTeThemeMsStyles::GetThemeConfig() {
  TteThemeConfig config;
  config.CanSave = true;
  config.CanLoad = true;
  config.Filter = GetThemeKindName() +
                  QStringLiteral(" (*.msstyles)|*.msstyles|RurerOraver themes (*.theme)|*.theme");
  config.Extension = QStringLiteral("msstyles");
  return config;
}

bool TTeThemeMsStyles::IsThemeStream(QIODevice& stream) { return StreamStartsWith(stream, Magic()); }

// ---- stream and files

void TTeThemeMsStyles::ReadBody(QIODevice& stream) {
  TDecompressionStream body(stream);
  body.SetMaxSize(kMaxBodySize);
  Name = QString::fromLatin1(ReadBodyString(body));
  ini_.SetText(QString::fromLatin1(ReadBodyString(body)));
  const int32_t count = ReadCheckedInt32(body);
  if (count < 0 || count > kMaxImages) throw EAppError(QStringLiteral("Stream read error"));
  for (int32_t i = 0; i < count; ++i) {
    auto image = std::make_unique<TteBitmap>();
    try {
      image->LoadFromStream(body);
    } catch (const EAppError&) {
      // The bitmap reader only sees a short read; say why when the zlib data was bad.
      body.CheckError();
      throw;
    }
    // The entry's own name wins over the one inside the bitmap record.
    image->Name = QString::fromLatin1(ReadBodyString(body));
    image->Transparent = ReadCheckedByte(body) != 0;
    image->AlphaBlend = ReadCheckedByte(body) != 0;
    images_.Add(std::move(image));
  }
}

bool TTeThemeMsStyles::LoadFromStream(QIODevice& stream) {
  // Element objects point into the image list: they go first.
  for (auto& object : objects_) object.reset();
  images_.Clear();
  ini_.Clear();
  try {
    if (ReadCheckedBytes(stream, Magic().size()) == Magic()) ReadBody(stream);
  } catch (const EAppError&) {
    // Rebuild from what was read so far, so the theme stays whole, then report.
    pristine_.clear();
    ResetTheme();
    throw;
  }
  pristine_.clear();
  ResetTheme();
  return true;
}

bool TTeThemeMsStyles::SaveToStream(QIODevice& stream) const {
  if (stream.write(Magic()) != Magic().size()) throw EAppError(QStringLiteral("Stream write error"));
  TCompressionStream body(kclFastest, stream);
  WriteBodyString(body, Name.toLatin1());
  WriteBodyString(body, ini_.Text().toLatin1());
  WriteInt32LE(body, images_.Count());
  for (int i = 0; i < images_.Count(); ++i) {
    const TteBitmap& image = *images_.Items(i);
    image.SaveToStream(body);
    WriteBodyString(body, image.Name.toLatin1());
    WriteByte(body, image.Transparent);
    WriteByte(body, image.AlphaBlend);
  }
  body.Finish();
  return true;
}

namespace {
bool IsThemeFile(const QString& fileName) {
  return QFileInfo(fileName).suffix().compare(QLatin1String("theme"), Qt::CaseInsensitive) == 0;
}
}  // namespace

bool TTeThemeMsStyles::LoadFromFile(const QString& fileName) {
  if (!IsThemeFile(fileName)) return false;  // resource libraries are not read yet
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  FileName = fileName;
  return LoadFromStream(file);
}

bool TTeThemeMsStyles::SaveToFile(const QString& fileName) const {
  if (!IsThemeFile(fileName)) return false;
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  SaveToStream(buffer);
  QFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(buffer.data()) == buffer.data().size();
}

void TTeThemeMsStyles::Assign(const TteTheme& source) {
  const auto* other = dynamic_cast<const TTeThemeMsStyles*>(&source);
  if (!other) {
    TteTheme::Assign(source);
    return;
  }
  if (other == this) return;
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  other->SaveToStream(buffer);
  buffer.seek(0);
  LoadFromStream(buffer);
}

// ---- the build

TmsuxThemeObject* TTeThemeMsStyles::Object(TmsuxSection section) const {
  return section >= 0 && section < kMsuxSectionCount ? objects_[size_t(section)].get() : nullptr;
}

TmsuxThemeObject* TTeThemeMsStyles::FindObject(const QString& section) const {
  for (int i = 0; i < kMsuxSectionCount; ++i)
    if (section.compare(QLatin1String(MsuxSectionName(i)), Qt::CaseInsensitive) == 0)
      return objects_[size_t(i)].get();
  return nullptr;
}

int TTeThemeMsStyles::ObjectCount() const { return kMsuxSectionCount; }

bool TTeThemeMsStyles::IsEmptyTheme() const {
  const TmsuxThemeObject* button = Object(kmsButtonPushbutton);
  return images_.Count() == 0 || !button || !button->IsDefined();
}

QString TTeThemeMsStyles::SysMetric(const char* key, const char* def) const {
  return ini_.ReadString(QStringLiteral("SysMetrics"), QLatin1String(key), QLatin1String(def));
}

void TTeThemeMsStyles::BuildObjects() {
  for (auto& object : objects_) object.reset();
  TmsuxImageStore store;
  store.Images = &images_;
  for (int i = 0; i < kMsuxSectionCount; ++i) {
    auto object = std::make_unique<TmsuxThemeObject>();
    object->LoadFromIni(ini_, QLatin1String(MsuxSectionName(i)), store);
    objects_[size_t(i)] = std::move(object);
  }
}

void TTeThemeMsStyles::ResetTheme() {
  if (!pristine_.isEmpty()) {
    // Every rebuild starts from the unshifted data, so shifts never add up.
    for (auto& object : objects_) object.reset();
    images_.Clear();
    ini_.Clear();
    QByteArray copy = pristine_;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(Magic().size());
    ReadBody(buffer);
  }
  BuildObjects();
  CaptionBarHeight = ParseInt(SysMetric("CaptionBarHeight", "25"), 25);
  SMCaptionBarHeight = ParseInt(SysMetric("SMCaptionBarHeight", "17"), 17);
  BorderWidth = ParseInt(SysMetric("BorderWidth", "4"), 4);
  SMBorderWidth = ParseInt(SysMetric("SMBorderWidth", "3"), 3);
  if (pristine_.isEmpty()) {
    QBuffer buffer(&pristine_);
    buffer.open(QIODevice::WriteOnly);
    SaveToStream(buffer);
  }
  const int hue = DeltaHue(), brightness = DeltaBrightness();
  if (hue != 0 || brightness != 0) {
    for (int i = 0; i < images_.Count(); ++i) {
      images_.Items(i)->ChangeHue(hue);
      images_.Items(i)->ChangeBrightness(brightness);
    }
    for (auto& object : objects_) {
      if (!object->IsDefined()) continue;
      object->FillColor = ShiftColor(object->FillColor, hue, brightness);
      object->BorderColor = ShiftColor(object->BorderColor, hue, brightness);
      object->TextColor = ShiftColor(object->TextColor, hue, brightness);
    }
  }
  TteTheme::ResetTheme();
}

void TTeThemeMsStyles::SetDefaultColors() {
  TteTheme::SetDefaultColors();
  if (IsEmptyTheme()) return;
  Colors().SetColor(kcButtonNormal, Object(kmsButtonPushbutton)->FillColorHint);
  const TColor list = Object(kmsListview)->FillColor;
  for (int i : {kcList, kcTree, kcGrid, kcBarDock}) Colors().SetColor(i, list);
}

void TTeThemeMsStyles::SetDefaultSysColors() {
  TteTheme::SetDefaultSysColors();
  if (IsEmptyTheme()) return;
  const int hue = DeltaHue(), brightness = DeltaBrightness();
  TteThemeSysColors& sys = SysColors();
  // The base has shifted the table already: start again from the unshifted values so
  // that the shift below is the only one.
  sys.RestoreUnshifted();
  const struct {
    TColor Constant;
    const char* Key;
  } kSubstitutes[] = {
      {SysColor(COLOR_WINDOW), "Window"},       {SysColor(COLOR_BTNFACE), "BtnFace"},
      {SysColor(COLOR_HIGHLIGHT), "Highlight"}, {SysColor(COLOR_BTNSHADOW), "BtnShadow"},
      {SysColor(COLOR_HIGHLIGHTTEXT), "HighlightText"},
  };
  for (const auto& s : kSubstitutes) sys.SetSysColor(s.Constant, ParseColor(SysMetric(s.Key, "100 100 100")));
  MenuColor = ShiftColor(ParseColor(SysMetric("Menu", "100 100 100")), hue, brightness);
  MenuBarColor = ShiftColor(ParseColor(SysMetric("MenuBar", "100 100 100")), hue, brightness);
  MenuHilightColor = ShiftColor(ParseColor(SysMetric("MenuHilight", "100 100 100")), hue, brightness);
  sys.ApplyHue(hue);
  sys.ApplyBrightness(brightness);
}

void TTeThemeMsStyles::SetDefaultFonts() {
  TteTheme::SetDefaultFonts();
  if (IsEmptyTheme()) return;
  TteThemeFonts& fonts = Fonts();
  const TmsuxFont caption = ParseFont(SysMetric("CaptionFont", "Tahoma,10"));
  for (int i : {kfCaptionTextNormal, kfCaptionTextInactive}) SetFaceAndSize(fonts.GetFont(i), caption);
  fonts.GetFont(kfCaptionTextNormal).Color = ParseColor(SysMetric("CaptionText", "255 255 255"));
  fonts.GetFont(kfCaptionTextInactive).Color =
      ParseColor(SysMetric("InactiveCaptionText", "255 255 255"));
  SetWholeFont(MenuFont, ParseFont(SysMetric("MenuFont", "Tahoma, 8")));
  SetWholeFont(StatusFont, ParseFont(SysMetric("StatusFont", "Tahoma, 8")));
  const TmsuxFont msgBox = ParseFont(SysMetric("MsgBoxFont", "Tahoma, 8"));
  SetWholeFont(MsgBoxFont, msgBox);
  const TColor highlightText = ParseColor(SysMetric("HighlightText", "100 100 100"));
  for (int i : {kfMenuItemTextSelected, kfMenuItemTextHot, kfPopupMenuItemTextSelected,
                kfPopupMenuItemTextHot})
    fonts.GetFont(i).Color = highlightText;
  const TColor buttonText = Object(kmsButtonPushbutton)->TextColor;
  for (int i : {kfButtonTextNormal, kfButtonTextHot, kfButtonTextPressed, kfButtonTextFocused,
                kfButtonTextDisabled}) {
    SetWholeFont(fonts.GetFont(i), msgBox);
    fonts.GetFont(i).Color = buttonText;
  }
  fonts.GetFont(kfButtonTextDisabled).Color = Object(kmsButtonPushbuttonDisabled)->TextColor;
}
