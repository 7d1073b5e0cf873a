// The in-memory INI of packed visual-style themes and the parsers of its values.
#include "theme_msuxtypes.h"

#include <algorithm>

#include "ini_file.h"

namespace {

bool SameName(const QString& a, const QString& b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool IsWord(const QString& a, const char* word) {
  return a.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

QString TakeFront(QString& s, const QString& delimiters) {
  qsizetype i = 0;
  while (i < s.size() && !delimiters.contains(s[i])) ++i;
  const QString front = s.left(i).trimmed();
  s = i < s.size() ? s.mid(i + 1).trimmed() : QString();
  return front;
}

// A word that must be a number; false when it is not.
bool WordNumber(QString& s, int32_t& out) {
  const QString word = NextWord(s);
  int v = 0;
  if (!ParseIniInteger(word, v)) return false;
  out = v;
  return true;
}

}  // namespace

// ---- TmsuxIni

void TmsuxIni::SetText(const QString& text) {
  sections_.clear();
  const QStringList lines = text.split(QLatin1Char('\n'));
  for (const QString& raw : lines) {
    const QString line = raw.trimmed();
    if (line.isEmpty() || line.startsWith(QLatin1Char(';'))) continue;
    if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
      sections_.push_back({line.mid(1, line.size() - 2).trimmed(), {}});
      continue;
    }
    if (sections_.empty()) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0) {
      sections_.back().Entries.emplace_back(line, QString());
    } else {
      sections_.back().Entries.emplace_back(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
  }
}

QString TmsuxIni::Text() const {
  QString out;
  const QLatin1String eol("\r\n");
  for (const Section& section : sections_) {
    out += QLatin1Char('[') + section.Name + QLatin1Char(']') + eol;
    for (const auto& [key, value] : section.Entries) out += key + QLatin1Char('=') + value + eol;
    out += eol;
  }
  return out;
}

const TmsuxIni::Section* TmsuxIni::FindSection(const QString& name) const {
  for (const Section& section : sections_)
    if (SameName(section.Name, name)) return &section;
  return nullptr;
}

QString TmsuxIni::ReadString(const QString& section, const QString& key, const QString& def) const {
  if (const Section* s = FindSection(section))
    for (const auto& [k, v] : s->Entries)
      if (SameName(k, key)) return v;
  return def;
}

void TmsuxIni::WriteString(const QString& section, const QString& key, const QString& value) {
  auto it = std::find_if(sections_.begin(), sections_.end(),
                         [&](const Section& s) { return SameName(s.Name, section); });
  if (it == sections_.end()) it = sections_.insert(sections_.end(), Section{section, {}});
  for (auto& [k, v] : it->Entries)
    if (SameName(k, key)) {
      v = value;
      return;
    }
  it->Entries.emplace_back(key, value);
}

// ---- tokens and values

QString NextWord(QString& s) { return TakeFront(s, QStringLiteral(" (),:;=")); }
QString NextField(QString& s) { return TakeFront(s, QStringLiteral(",")); }

bool ParseBool(const QString& value) {
  const QString v = value.trimmed();
  return IsWord(v, "true") || v == QLatin1String("1") || IsWord(v, "yes");
}

int32_t ParseInt(const QString& value, int32_t def) {
  int v = 0;
  return ParseIniInteger(value, v) ? v : def;
}

TColor ParseColor(const QString& value) {
  QString rest = value;
  int channel[3] = {0, 0, 0};
  for (int& c : channel) {
    const QString word = NextWord(rest);
    int v = 0;
    // Each channel is one byte: a larger number would spill into its neighbour.
    if (ParseIniInteger(word, v)) c = std::clamp(v, 0, 255);
  }
  return RGB(channel[0], channel[1], channel[2]);
}

TmsuxMargins ParseMargins(const QString& value) {
  QString rest = value;
  TmsuxMargins m;
  if (WordNumber(rest, m.Left) && WordNumber(rest, m.Right) && WordNumber(rest, m.Top) &&
      WordNumber(rest, m.Bottom))
    return m;
  return {};
}

TmsuxPoint ParsePoint(const QString& value) {
  QString rest = value;
  TmsuxPoint p;
  if (WordNumber(rest, p.X) && WordNumber(rest, p.Y)) return p;
  return {};
}

TmsuxBgType ParseBgType(const QString& value) {
  if (IsWord(value, "borderfill")) return kbtBorderFill;
  if (IsWord(value, "imagefile")) return kbtImageFile;
  if (IsWord(value, "none")) return kbtNone;
  return kbtUnset;
}

TmsuxSizingType ParseSizingType(const QString& value) {
  static const char* const kNames[] = {"tile",     "stretch", "tilevertical",
                                       "tilehorizontal", "truesize", "bordertileclientstretch",
                                       "borderstretchclienttile"};
  for (int i = 0; i < 7; ++i)
    if (IsWord(value, kNames[i])) return TmsuxSizingType(i);
  return kstTile;
}

bool ParseImageLayoutHorizontal(const QString& value) { return IsWord(value, "horizontal"); }

TmsuxImageSelectType ParseImageSelectType(const QString& value) {
  QString rest = value;
  const QString word = NextWord(rest);
  if (IsWord(word, "dpi")) return kistDpi;
  if (IsWord(word, "size")) return kistSize;
  return kistNone;
}

bool ParseGlyphTypeImage(const QString& value) { return IsWord(value, "imageglyph"); }

TmsuxContentAlignment ParseContentAlignment(const QString& value) {
  if (IsWord(value, "center")) return kcaCenter;
  if (IsWord(value, "right")) return kcaRight;
  return kcaLeft;
}

TmsuxTextShadowType ParseTextShadowType(const QString& value) {
  if (IsWord(value, "single")) return ktstSingle;
  if (IsWord(value, "continuous")) return ktstContinuous;
  return ktstNone;
}

TmsuxFont ParseFont(const QString& value, const TmsuxFont& def) {
  QString rest = value;
  TmsuxFont font = def;
  font.Bold = font.Italic = font.Underline = font.StrikeOut = false;
  const QString face = NextField(rest);
  if (!face.isEmpty()) font.Face = face;
  font.Size = ParseInt(NextField(rest), def.Size);
  bool* styles[] = {&font.Bold, &font.Italic, &font.Underline, &font.StrikeOut};
  for (bool* style : styles) *style = !NextField(rest).isEmpty();
  return font;
}

QString ImageFileToName(const QString& fileName) {
  QString name = fileName;
  for (qsizetype i = 0; i < name.size(); ++i) {
    if (name[i] == QLatin1Char('\\')) {
      name[i] = QLatin1Char('_');
    } else if (name[i] == QLatin1Char('.') && i + 2 < name.size() &&
               (name[i + 1] == QLatin1Char('B') || name[i + 1] == QLatin1Char('b'))) {
      name[i] = QLatin1Char('_');
    }
  }
  return name.trimmed();
}
