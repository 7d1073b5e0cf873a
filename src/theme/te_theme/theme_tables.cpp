// Colour, system-colour and font tables of a theme, their text conversions and
// their stream forms (used by the skin-file container).
#include "theme_tables.h"

#include <QIODevice>
#include <QRegularExpression>
#include <QStringList>
#include <QtEndian>

#include "app_error.h"
#include "te_bitmap.h"
#include "te_compress.h"
#include "te_theme.h"

namespace {

struct NamedColor {
  TColor Value;
  const char* Name;
};

// The standard colour names first, then the system colours; a value with two names
// (there is none here) would print as the first.
constexpr NamedColor kColorNames[] = {
    {0x000000, "clBlack"}, {0x000080, "clMaroon"}, {0x008000, "clGreen"},
    {0x008080, "clOlive"}, {0x800000, "clNavy"}, {0x800080, "clPurple"},
    {0x808000, "clTeal"}, {0x808080, "clGray"}, {0xC0C0C0, "clSilver"},
    {0x0000FF, "clRed"}, {0x00FF00, "clLime"}, {0x00FFFF, "clYellow"},
    {0xFF0000, "clBlue"}, {0xFF00FF, "clFuchsia"}, {0xFFFF00, "clAqua"},
    {0xFFFFFF, "clWhite"}, {0xC0DCC0, "clMoneyGreen"}, {0xF0CAA6, "clSkyBlue"},
    {0xF0FBFF, "clCream"}, {0xA4A0A0, "clMedGray"},
    {TColor(0xFF000000), "clScrollBar"}, {TColor(0xFF000001), "clBackground"},
    {TColor(0xFF000002), "clActiveCaption"}, {TColor(0xFF000003), "clInactiveCaption"},
    {TColor(0xFF000004), "clMenu"}, {TColor(0xFF000005), "clWindow"},
    {TColor(0xFF000006), "clWindowFrame"}, {TColor(0xFF000007), "clMenuText"},
    {TColor(0xFF000008), "clWindowText"}, {TColor(0xFF000009), "clCaptionText"},
    {TColor(0xFF00000A), "clActiveBorder"}, {TColor(0xFF00000B), "clInactiveBorder"},
    {TColor(0xFF00000C), "clAppWorkSpace"}, {TColor(0xFF00000D), "clHighlight"},
    {TColor(0xFF00000E), "clHighlightText"}, {TColor(0xFF00000F), "clBtnFace"},
    {TColor(0xFF000010), "clBtnShadow"}, {TColor(0xFF000011), "clGrayText"},
    {TColor(0xFF000012), "clBtnText"}, {TColor(0xFF000013), "clInactiveCaptionText"},
    {TColor(0xFF000014), "clBtnHighlight"}, {TColor(0xFF000015), "cl3DDkShadow"},
    {TColor(0xFF000016), "cl3DLight"}, {TColor(0xFF000017), "clInfoText"},
    {TColor(0xFF000018), "clInfoBk"}, {TColor(0xFF00001A), "clHotLight"},
    {TColor(0xFF00001B), "clGradientActiveCaption"},
    {TColor(0xFF00001C), "clGradientInactiveCaption"},
    {TColor(0xFF00001D), "clMenuHighlight"}, {TColor(0xFF00001E), "clMenuBar"},
    {clNone, "clNone"}, {0x20000000, "clDefault"},
};

constexpr const char* kColorTableNames[kThemeColorCount] = {
    "CaptionNormal", "CaptionInactive", "WindowBorder", "Window", "Border", "PanelNormal",
    "PanelDisabled", "ButtonNormal", "ButtonHot", "ButtonPressed", "ButtonFocused",
    "ButtonDisabled", "EditNormal", "EditHot", "EditFocused", "EditDisabled", "EditSelection",
    "Hint", "List", "Tree", "Grid", "BarDock",
};

constexpr TteSysColorEntry kSysColorTable[kThemeSysColorTableSize] = {
    {TColor(0xFF00000A), "clActiveBorder"}, {TColor(0xFF000002), "clActiveCaption"},
    {TColor(0xFF00000C), "clAppWorkSpace"}, {TColor(0xFF000001), "clBackground"},
    {TColor(0xFF00000F), "clBtnFace"}, {TColor(0xFF000014), "clBtnHighlight"},
    {TColor(0xFF000010), "clBtnShadow"}, {TColor(0xFF000012), "clBtnText"},
    {TColor(0xFF000009), "clCaptionText"}, {TColor(0x20000000), "clDefault"},
    {TColor(0xFF000002), "clActiveCaption"}, {TColor(0xFF000011), "clGrayText"},
    {TColor(0xFF00000D), "clHighlight"}, {TColor(0xFF00000E), "clHighlightText"},
    {TColor(0xFF00000B), "clInactiveBorder"}, {TColor(0xFF000003), "clInactiveCaption"},
    {TColor(0xFF000013), "clInactiveCaptionText"}, {TColor(0xFF000018), "clInfoBk"},
    {TColor(0xFF000017), "clInfoText"}, {TColor(0xFF000004), "clMenu"},
    {TColor(0xFF000007), "clMenuText"}, {TColor(0xFF000000), "clScrollBar"},
    {TColor(0xFF000015), "cl3DDkShadow"}, {TColor(0xFF000016), "cl3DLight"},
    {TColor(0xFF000005), "clWindow"}, {TColor(0xFF000006), "clWindowFrame"},
    {TColor(0xFF000008), "clWindowText"},
};

constexpr const char* kFontNames[kThemeFontCount] = {
    "CaptionTextNormal", "CaptionTextInactive", "SmCaptionTextNormal", "SmCaptionTextInactive",
    "StaticTextNormal", "StaticTextHot", "StaticTextFocused", "StaticTextDisabled",
    "PanelTextNormal", "PanelTextDisabled", "ButtonTextNormal", "ButtonTextPressed",
    "ButtonTextHot", "ButtonTextFocused", "ButtonTextDisabled", "CheckBoxTextNormal",
    "CheckBoxTextPressed", "CheckBoxTextHot", "CheckBoxTextFocused", "CheckBoxTextDisabled",
    "RadioButtonTextNormal", "RadioButtonTextPressed", "RadioButtonTextHot",
    "RadioButtonTextFocused", "RadioButtonTextDisabled", "GroupBoxTextNormal",
    "GroupBoxTextDisabled", "WindowTextNormal", "WindowTextDisabled", "EditBoxTextNormal",
    "EditBoxTextFocused", "EditBoxTextHot", "EditBoxTextDisabled", "EditBoxTextSelected",
    "MenuItemTextNormal", "MenuItemTextSelected", "MenuItemTextHot", "MenuItemTextDisabled",
    "ToolItemTextNormal", "ToolItemTextSelected", "ToolItemTextHot", "ToolItemTextDisabled",
    "HeaderSectionTextNormal", "HeaderSectionTextPressed", "HeaderSectionTextDraggedOut",
    "HeaderSectionTextDragging", "HeaderSectionTextHot", "HeaderSectionTextUnderDrag",
    "HeaderSectionTextDisabled", "StatusPanelTextNormal", "StatusPanelTextDisabled",
    "TabTextInactiveNormal", "TabTextInactiveHot", "TabTextInactiveDisabled",
    "TabTextActiveNormal", "TabTextActiveHot", "TabTextActiveDisabled", "ListItemTextNormal",
    "ListItemTextHot", "ListItemTextSelected", "ListItemTextFocused", "ListItemTextDisabled",
    "PopupMenuItemTextNormal", "PopupMenuItemTextSelected", "PopupMenuItemTextHot",
    "PopupMenuItemTextDisabled",
};

void WriteBytes(QIODevice& stream, const char* data, qint64 size) {
  if (stream.write(data, size) != size) throw EAppError(QStringLiteral("Stream write error"));
}

uint8_t ReadByte(QIODevice& stream) { return ReadCheckedByte(stream); }
uint32_t ReadUInt32(QIODevice& stream) { return uint32_t(ReadCheckedInt32(stream)); }

void WriteUInt32(QIODevice& stream, uint32_t v) {
  uchar b[4];
  qToLittleEndian(v, b);
  WriteBytes(stream, reinterpret_cast<const char*>(b), 4);
}

// One "name", ":", "value" entry; only the value matters when reading.
QString ReadEntryValue(QIODevice& stream) {
  ReadStreamString(stream);
  ReadStreamString(stream);
  return QString::fromLatin1(ReadStreamString(stream));
}

void WriteEntry(QIODevice& stream, const char* name, const QString& value) {
  WriteStreamString(stream, QByteArray(name));
  WriteStreamString(stream, QByteArrayLiteral(":"));
  WriteStreamString(stream, value.toLatin1());
}

TColor Shift(TColor c, int delta, bool hue) {
  const TteColor te = ColorToTeColor(c, 255);
  return TeColorToColor(hue ? ChangeHue(te, delta) : ChangeBrightness(te, delta));
}

[[noreturn]] void NotANumber(const QString& text) {
  throw EAppError(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

// A number that ends at a space, parenthesis, comma, colon, semicolon or equals sign.
int ReadNumberField(const QString& field) {
  const QString trimmed = field.trimmed();
  qsizetype end = 0;
  while (end < trimmed.size() && !QStringLiteral(" (),:;=").contains(trimmed[end])) ++end;
  bool ok = false;
  const int v = trimmed.left(end).toInt(&ok);
  if (!ok) NotANumber(field);
  return v;
}

}  // namespace

QString ColorToString(TColor color) {
  for (const NamedColor& n : kColorNames)
    if (n.Value == color) return QString::fromLatin1(n.Name);
  return QStringLiteral("$%1").arg(uint32_t(color), 8, 16, QLatin1Char('0')).toUpper();
}

TColor StringToColor(const QString& text) {
  for (const NamedColor& n : kColorNames)
    if (text.compare(QLatin1String(n.Name), Qt::CaseInsensitive) == 0) return n.Value;
  const QString t = text.trimmed();
  bool ok = false;
  qlonglong v = 0;
  if (t.startsWith(QLatin1Char('$')))
    v = t.mid(1).toLongLong(&ok, 16);
  else if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
    v = t.mid(2).toLongLong(&ok, 16);
  else
    v = t.toLongLong(&ok, 10);
  if (!ok || v < INT32_MIN || v > qlonglong(UINT32_MAX)) NotANumber(text);
  return TColor(uint32_t(v));
}

void SetFontSize(TFont& font, int points) {
  font.setPixelSize(std::max(1, MulDiv(points, kThemeFontDpi, 72)));
}

int FontSize(const TFont& font) {
  if (font.pixelSize() > 0) return MulDiv(font.pixelSize(), 72, kThemeFontDpi);
  return qRound(font.pointSizeF());
}

TFont DefaultThemeFont() {
  TFont f;
  f.setFamily(QStringLiteral("Tahoma"));
  SetFontSize(f, 8);
  f.Color = TColor(0xFF000008);  // clWindowText
  return f;
}

QString FontToDescription(const TFont& font) {
  const TColor rgb = ColorToRGB(font.Color);
  // We keep no character set; 1 is the platform's "default character set".
  QString s = QStringLiteral("%1,%2,1,%3,%4,%5")
                  .arg(font.family())
                  .arg(FontSize(font))
                  .arg(GetRValue(rgb))
                  .arg(GetGValue(rgb))
                  .arg(GetBValue(rgb));
  if (font.bold()) s += QStringLiteral(",bold");
  if (font.italic()) s += QStringLiteral(",italic");
  if (font.underline()) s += QStringLiteral(",underline");
  if (font.strikeOut()) s += QStringLiteral(",strikeout");
  return s;
}

void FontFromDescription(TFont& font, const QString& description) {
  static const QRegularExpression kSeparators(QStringLiteral("[,;]"));
  const QStringList f = description.split(kSeparators);
  auto has = [&](int i) { return i < f.size() && !f[i].trimmed().isEmpty(); };
  // Each field is converted before anything is stored, so a bad one leaves the font alone.
  const QString face = has(0) ? f[0] : QStringLiteral("Tahoma");
  const int size = has(1) ? ReadNumberField(f[1]) : 8;
  const int r = has(3) ? ReadNumberField(f[3]) : 0;
  const int g = has(4) ? ReadNumberField(f[4]) : 0;
  const int b = has(5) ? ReadNumberField(f[5]) : 0;
  bool styles[4] = {false, false, false, false};
  static const char* const kStyles[4] = {"bold", "italic", "underline", "strikeout"};
  for (int i = 6; i < f.size(); ++i)
    for (int s = 0; s < 4; ++s)
      if (f[i].trimmed().compare(QLatin1String(kStyles[s]), Qt::CaseInsensitive) == 0)
        styles[s] = true;
  font.setFamily(face);
  SetFontSize(font, size);
  font.Color = RGB(r, g, b);
  font.setBold(styles[0]);
  font.setItalic(styles[1]);
  font.setUnderline(styles[2]);
  font.setStrikeOut(styles[3]);
}

void WriteStreamString(QIODevice& stream, const QByteArray& text) {
  WriteUInt32(stream, uint32_t(text.size()));
  WriteBytes(stream, text.constData(), text.size());
}

QByteArray ReadStreamString(QIODevice& stream) {
  // The count is not trusted: the checked read grows only as far as bytes arrive.
  return ReadCheckedBytes(stream, qint64(ReadUInt32(stream)));
}

const char* ThemeColorName(int index) {
  return index >= 0 && index < kThemeColorCount ? kColorTableNames[index] : "";
}

const char* ThemeFontName(int index) {
  return index >= 0 && index < kThemeFontCount ? kFontNames[index] : "";
}

const TteSysColorEntry& ThemeSysColorEntry(int index) {
  return kSysColorTable[std::clamp(index, 0, kThemeSysColorTableSize - 1)];
}

bool IsDefaultObject(const QString& objectName) {
  return objectName.compare(QLatin1String("default"), Qt::CaseInsensitive) == 0;
}

// ---- TteThemeColors

TColor TteThemeColors::GetColor(int index) const {
  return index >= 0 && index < kThemeColorCount ? colors_[size_t(index)] : clNone;
}

void TteThemeColors::SetColor(int index, TColor color) {
  if (index < 0 || index >= kThemeColorCount) return;
  colors_[size_t(index)] = color;
  unshifted_[size_t(index)] = color;
}

void TteThemeColors::Assign(const TteThemeColors& source) {
  colors_ = source.colors_;
  unshifted_ = source.unshifted_;
}

void TteThemeColors::ApplyHue(int delta) {
  if (delta == 0) return;
  for (TColor& c : colors_) c = Shift(c, delta, true);
}

void TteThemeColors::ApplyBrightness(int delta) {
  if (delta == 0) return;
  for (TColor& c : colors_) c = Shift(c, delta, false);
}

void TteThemeColors::ReadFromStream(QIODevice& stream) {
  const int last = ReadByte(stream);
  for (int i = 0; i <= last; ++i) {
    const QString value = ReadEntryValue(stream);
    if (i < kThemeColorCount) SetColor(i, StringToColor(value));
  }
}

void TteThemeColors::WriteToStream(QIODevice& stream) const {
  const char last = char(kThemeColorCount - 1);
  WriteBytes(stream, &last, 1);
  for (int i = 0; i < kThemeColorCount; ++i)
    WriteEntry(stream, kColorTableNames[i], ColorToString(colors_[size_t(i)]));
}

// ---- TteThemeSysColors

TteThemeSysColors::TteThemeSysColors(TteTheme* theme) : theme_(theme) {
  for (int i = 0; i < kThemeSysColorCount; ++i)
    unshifted_[size_t(i)] = ColorToRGB(kSysColorTable[i].Constant);
  current_ = unshifted_;
}

int TteThemeSysColors::IndexOf(TColor constant) const {
  for (int i = 0; i < kThemeSysColorCount; ++i)
    if (kSysColorTable[i].Constant == constant) return i;
  return -1;
}

TColor TteThemeSysColors::GetSysColor(TColor constant) const {
  const int i = IndexOf(constant);
  return i < 0 ? clNone : current_[size_t(i)];
}

void TteThemeSysColors::SetSysColor(TColor constant, TColor color) {
  const int i = IndexOf(constant);
  if (i < 0) return;
  current_[size_t(i)] = color;
  unshifted_[size_t(i)] = color;
}

TColor TteThemeSysColors::Substitute(int index) const {
  return index >= 0 && index < kThemeSysColorCount ? current_[size_t(index)] : clNone;
}

void TteThemeSysColors::Assign(const TteThemeSysColors& source) {
  current_ = source.current_;
  unshifted_ = source.unshifted_;
}

void TteThemeSysColors::ApplyHue(int delta) {
  if (delta == 0) return;
  for (TColor& c : current_) c = Shift(c, delta, true);
}

void TteThemeSysColors::ApplyBrightness(int delta) {
  if (delta == 0) return;
  for (TColor& c : current_) c = Shift(c, delta, false);
}

void TteThemeSysColors::ReadFromStream(QIODevice& stream) {
  const uint32_t n = ReadUInt32(stream);
  for (uint32_t i = 0; i < n; ++i) {
    const QString value = ReadEntryValue(stream);
    if (i < uint32_t(kThemeSysColorCount)) {
      current_[i] = StringToColor(value);
      unshifted_[i] = current_[i];
    }
  }
}

void TteThemeSysColors::WriteToStream(QIODevice& stream) const {
  WriteUInt32(stream, kThemeSysColorCount);
  for (int i = 0; i < kThemeSysColorCount; ++i)
    WriteEntry(stream, kSysColorTable[i].Name, ColorToString(current_[size_t(i)]));
}

// ---- TteThemeFonts

TteThemeFonts::TteThemeFonts(TteTheme* theme) : theme_(theme) {
  for (TFont& f : fonts_) f = DefaultThemeFont();
  scratch_ = DefaultThemeFont();
  KeepUnshiftedColors();
}

void TteThemeFonts::RestoreUnshiftedColors() {
  for (int i = 0; i < kThemeFontCount; ++i) fonts_[size_t(i)].Color = unshifted_[size_t(i)];
}

void TteThemeFonts::KeepUnshiftedColors() {
  for (int i = 0; i < kThemeFontCount; ++i) unshifted_[size_t(i)] = fonts_[size_t(i)].Color;
}

TFont& TteThemeFonts::GetFont(int index) {
  return fonts_[size_t(std::clamp(index, 0, kThemeFontCount - 1))];
}

const TFont& TteThemeFonts::GetFont(int index) const {
  return fonts_[size_t(std::clamp(index, 0, kThemeFontCount - 1))];
}

const TFont& TteThemeFonts::GetObjectFont(int index, const QString& objectName) {
  if (!theme_ || IsDefaultObject(objectName)) return GetFont(index);
  scratch_ = GetFont(index);
  theme_->AssignThemeFont(scratch_, index, objectName);
  return scratch_;
}

void TteThemeFonts::Assign(const TteThemeFonts& source) {
  fonts_ = source.fonts_;
  KeepUnshiftedColors();
}

void TteThemeFonts::AssignUnshifted(const TteThemeFonts& source) {
  fonts_ = source.fonts_;
  for (int i = 0; i < kThemeFontCount; ++i) fonts_[size_t(i)].Color = source.unshifted_[size_t(i)];
  KeepUnshiftedColors();
}

void TteThemeFonts::ApplyHue(int delta) {
  for (TFont& f : fonts_) f.Color = delta == 0 ? ColorToRGB(f.Color) : Shift(f.Color, delta, true);
}

void TteThemeFonts::ApplyBrightness(int delta) {
  for (TFont& f : fonts_)
    f.Color = delta == 0 ? ColorToRGB(f.Color) : Shift(f.Color, delta, false);
}

void TteThemeFonts::ReadFromStream(QIODevice& stream) {
  const int last = ReadByte(stream);
  for (int i = 0; i <= last; ++i) {
    const QString value = ReadEntryValue(stream);
    if (i < kThemeFontCount) {
      FontFromDescription(fonts_[size_t(i)], value);
      unshifted_[size_t(i)] = fonts_[size_t(i)].Color;
    }
  }
}

void TteThemeFonts::WriteToStream(QIODevice& stream) const {
  const char last = char(kThemeFontCount - 1);
  WriteBytes(stream, &last, 1);
  for (int i = 0; i < kThemeFontCount; ++i)
    WriteEntry(stream, kFontNames[i], FontToDescription(fonts_[size_t(i)]));
}
