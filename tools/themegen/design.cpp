// Reading the design file: one table names every key with its section and the field it
// fills, so reading, checking for unknown keys and checking for missing ones agree.
#include "design.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <set>
#include <variant>

namespace {

using Field = std::variant<QString ThemeDesign::*, int ThemeDesign::*, QColor ThemeDesign::*>;

struct Key {
  const char* Section;
  const char* Name;
  Field Target;
};

using D = ThemeDesign;
const Key kKeys[] = {
    {"Metrics", "CaptionBarHeight", &D::CaptionBarHeight},
    {"Metrics", "BorderWidth", &D::BorderWidth},
    {"Metrics", "SmallCaptionBarHeight", &D::SmallCaptionBarHeight},
    {"Metrics", "SmallBorderWidth", &D::SmallBorderWidth},
    {"Metrics", "CaptionRadius", &D::CaptionRadius},
    {"Metrics", "SmallCaptionRadius", &D::SmallCaptionRadius},
    {"Metrics", "ControlRadius", &D::ControlRadius},
    {"Fonts", "Face", &D::FontFace},
    {"Fonts", "CaptionSize", &D::CaptionFontSize},
    {"Fonts", "TextSize", &D::TextFontSize},
    {"Colors", "Accent", &D::Accent},
    {"Colors", "AccentHot", &D::AccentHot},
    {"Colors", "AccentPressed", &D::AccentPressed},
    {"Colors", "AccentText", &D::AccentText},
    {"Colors", "Face", &D::Face},
    {"Colors", "Window", &D::Window},
    {"Colors", "Page", &D::Page},
    {"Colors", "Text", &D::Text},
    {"Colors", "DisabledText", &D::DisabledText},
    {"Colors", "Border", &D::Border},
    {"Colors", "BorderStrong", &D::BorderStrong},
    {"Colors", "BorderHot", &D::BorderHot},
    {"Colors", "BorderDisabled", &D::BorderDisabled},
    {"Colors", "ButtonTop", &D::ButtonTop},
    {"Colors", "ButtonBottom", &D::ButtonBottom},
    {"Colors", "ButtonHotTop", &D::ButtonHotTop},
    {"Colors", "ButtonHotBottom", &D::ButtonHotBottom},
    {"Colors", "ButtonPressed", &D::ButtonPressed},
    {"Colors", "ButtonDisabled", &D::ButtonDisabled},
    {"Colors", "Hover", &D::Hover},
    {"Colors", "Pressed", &D::Pressed},
    {"Colors", "Checked", &D::Checked},
    {"Colors", "Track", &D::Track},
    {"Colors", "Thumb", &D::Thumb},
    {"Colors", "ThumbHot", &D::ThumbHot},
    {"Colors", "ThumbPressed", &D::ThumbPressed},
    {"Colors", "Groove", &D::Groove},
    {"Colors", "Glyph", &D::Glyph},
    {"Colors", "GlyphHot", &D::GlyphHot},
    {"Colors", "CaptionActive", &D::CaptionActive},
    {"Colors", "CaptionActiveTop", &D::CaptionActiveTop},
    {"Colors", "CaptionInactive", &D::CaptionInactive},
    {"Colors", "CaptionText", &D::CaptionText},
    {"Colors", "CaptionTextInactive", &D::CaptionTextInactive},
    {"Colors", "FrameActive", &D::FrameActive},
    {"Colors", "FrameInactive", &D::FrameInactive},
    {"Colors", "CaptionButtonHot", &D::CaptionButtonHot},
    {"Colors", "CaptionButtonPressed", &D::CaptionButtonPressed},
    {"Colors", "CloseHot", &D::CloseHot},
    {"Colors", "ClosePressed", &D::ClosePressed},
    {"Colors", "Menu", &D::Menu},
    {"Colors", "MenuHilight", &D::MenuHilight},
    {"Colors", "Highlight", &D::Highlight},
    {"Colors", "HighlightText", &D::HighlightText},
};

// Sizes beyond this are typing mistakes, and would make images of absurd size.
constexpr int kMaxMetric = 64;

QString Where(const QString& fileName, int line) {
  return line > 0 ? QStringLiteral("%1:%2: ").arg(fileName).arg(line) : fileName + QStringLiteral(": ");
}

[[noreturn]] void Fail(const QString& where, const QString& what) {
  throw DesignError((where + what).toStdString());
}

void Assign(ThemeDesign& d, const Field& field, const QString& value, const QString& where) {
  if (auto* text = std::get_if<QString ThemeDesign::*>(&field)) {
    // The face goes into the theme's Latin-1 text.
    if (value.isEmpty() || value.toLatin1() != value.toUtf8())
      Fail(where, QStringLiteral("wants plain text"));
    d.*(*text) = value;
  } else if (auto* number = std::get_if<int ThemeDesign::*>(&field)) {
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok || v < 0 || v > kMaxMetric)
      Fail(where, QStringLiteral("wants a number from 0 to %1").arg(kMaxMetric));
    d.*(*number) = v;
  } else {
    static const QRegularExpression hex(QStringLiteral("^#([0-9A-Fa-f]{6}|[0-9A-Fa-f]{8})$"));
    if (!hex.match(value).hasMatch()) Fail(where, QStringLiteral("wants #RRGGBB or #AARRGGBB"));
    d.*std::get<QColor ThemeDesign::*>(field) = QColor::fromString(value);
  }
}

}  // namespace

ThemeDesign ReadDesign(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) Fail(Where(fileName, 0), file.errorString());
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  ThemeDesign d;
  std::set<const Key*> seen;
  QString section;
  for (int i = 0; i < lines.size(); ++i) {
    const QString line = lines[i].trimmed();
    const QString where = Where(fileName, i + 1);
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      section = line.mid(1, line.size() - 2).trimmed();
      continue;
    }
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) Fail(where, QStringLiteral("expected key=value"));
    const QString name = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
    const Key* key = nullptr;
    for (const Key& k : kKeys)
      if (section == QLatin1String(k.Section) && name == QLatin1String(k.Name)) key = &k;
    if (!key) Fail(where, QStringLiteral("unknown key [%1] %2").arg(section, name));
    if (!seen.insert(key).second) Fail(where, QStringLiteral("%1 given twice").arg(name));
    Assign(d, key->Target, value, where + name + QStringLiteral(" "));
  }
  for (const Key& k : kKeys)
    if (!seen.count(&k))
      Fail(Where(fileName, 0),
           QStringLiteral("missing [%1] %2").arg(QLatin1String(k.Section), QLatin1String(k.Name)));
  return d;
}
