// Compares a loaded skin with what a fixture's sidecar expects.
#include "skin_fixtures.h"

#include <QJsonValue>
#include <zlib.h>

#include "theme_tables.h"

namespace {

const char* const kStyleWords[] = {"bold", "italic", "underline", "strikeout"};

QJsonArray StyleWords(uint8_t style) {
  QJsonArray out;
  for (int i = 0; i < 4; ++i)
    if (style & (1 << i)) out.append(QLatin1String(kStyleWords[i]));
  return out;
}

QJsonValue Number(uint32_t v) { return QJsonValue(double(v)); }

// The stored properties of an object in the sidecar's terms.
class TJsonVisitor : public TSePropertyVisitor {
 public:
  QJsonObject Props;
  void Int(const char* name, int32_t& v) override { Props[QLatin1String(name)] = v; }
  void Bool(const char* name, bool& v) override { Props[QLatin1String(name)] = v; }
  void Enum(const char* name, uint8_t& v, const TSeEnumNames& names) override {
    Props[QLatin1String(name)] = v < names.Count ? QJsonValue(QLatin1String(names.Names[v])) : QJsonValue(v);
  }
  void Color(const char* name, TColor& v) override { Props[QLatin1String(name)] = Number(v); }
  void Font(const char* name, TSeFont& f) override {
    Props[QLatin1String(name)] = QJsonObject{{"name", f.Name},     {"size", f.Size()},
                                             {"height", f.Height}, {"color", Number(f.Color)},
                                             {"style", StyleWords(f.Style)}, {"charset", f.Charset}};
  }
  void Image(const char* name, TteBitmapLink& l) override {
    if (l.Name.isEmpty()) return;
    Props[QLatin1String(name)] = QJsonObject{
        {"name", l.Name}, {"left", l.Left}, {"top", l.Top}, {"right", l.Right}, {"bottom", l.Bottom}};
  }
  void String(const char* name, QString& v) override { Props[QLatin1String(name)] = v; }
};

QString Path(const TSeSkinObject* o) {
  QStringList parts;
  for (; o; o = o->Parent()) parts.prepend(o->Name);
  return parts.join(QLatin1Char('/'));
}

QString Show(const QJsonValue& v) {
  if (v.isObject()) return QString::fromUtf8(QJsonDocument(v.toObject()).toJson(QJsonDocument::Compact));
  if (v.isArray()) return QString::fromUtf8(QJsonDocument(v.toArray()).toJson(QJsonDocument::Compact));
  return v.toVariant().toString();
}

void CompareObject(TSeSkinObject& o, const QJsonObject& want, const QString& where, QStringList& out) {
  const QString at = where + QLatin1Char('/') + o.Name;
  if (want[QLatin1String("name")].toString() != o.Name)
    out << QStringLiteral("%1: name %2, expected %3").arg(at, o.Name, want["name"].toString());
  if (want["class"].toString() != QLatin1String(o.ClassName()))
    out << QStringLiteral("%1: class %2, expected %3").arg(at, QLatin1String(o.ClassName()), want["class"].toString());
  TJsonVisitor mine;
  o.VisitProperties(mine);
  const QJsonObject props = want["props"].toObject();
  for (auto it = props.begin(); it != props.end(); ++it) {
    QJsonValue have = mine.Props.value(it.key());
    QJsonValue expected = it.value();
    // Width and Height are set through SetBounds, which makes a negative size 0; the
    // writer's sidecars keep the stored number.
    if ((it.key() == QLatin1String("Width") || it.key() == QLatin1String("Height")) &&
        expected.toDouble() < 0)
      expected = 0;
    if (have.isObject() && expected.isObject()) {
      // Only the fields the sidecar names are asserted.
      QJsonObject h = have.toObject(), trimmed;
      for (const QString& k : expected.toObject().keys()) trimmed[k] = h.value(k);
      have = trimmed;
    }
    if (have != expected)
      out << QStringLiteral("%1: %2 = %3, expected %4").arg(at, it.key(), Show(have), Show(expected));
  }
  const QJsonArray children = want["children"].toArray();
  if (want.contains(QLatin1String("children")) && qsizetype(o.Children().size()) != children.size()) {
    out << QStringLiteral("%1: %2 children, expected %3").arg(at).arg(o.Children().size()).arg(children.size());
    return;
  }
  for (qsizetype i = 0; i < children.size(); ++i)
    CompareObject(*o.Children()[size_t(i)], children[i].toObject(), at, out);
}

QJsonObject TableFont(const TFont& f) {
  uint8_t style = (f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) | (f.underline() ? 4 : 0) |
                  (f.strikeOut() ? 8 : 0);
  return {{"name", f.family()}, {"size", FontSize(f)}, {"color", Number(f.Color)},
          {"style", StyleWords(style)}};
}

bool SameFont(const TFont& f, const QJsonValue& want) {
  const QJsonObject have = TableFont(f);
  for (const QString& k : want.toObject().keys())
    if (have.value(k) != want.toObject().value(k)) return false;
  return true;
}

}  // namespace

QStringList CompareSkin(const TSeSkinSource& s, const QJsonObject& expect) {
  QStringList out;
  const QJsonObject meta = expect["meta"].toObject();
  const std::pair<const char*, const QString*> fields[] = {
      {"SkinName", &s.SkinName}, {"SkinVersion", &s.SkinVersion}, {"Author", &s.Author},
      {"AuthorEMail", &s.AuthorEMail}, {"AuthorURL", &s.AuthorURL}};
  for (const auto& [key, value] : fields)
    if (meta.contains(QLatin1String(key)) && meta[QLatin1String(key)].toString() != *value)
      out << QStringLiteral("meta %1 = %2, expected %3").arg(QLatin1String(key), *value, meta[QLatin1String(key)].toString());

  if (expect.contains(QLatin1String("images"))) {
    const QJsonArray images = expect["images"].toArray();
    if (images.size() != s.Bitmaps.Count())
      out << QStringLiteral("%1 images, expected %2").arg(s.Bitmaps.Count()).arg(images.size());
    for (qsizetype i = 0; i < std::min<qsizetype>(images.size(), s.Bitmaps.Count()); ++i) {
      const QJsonObject want = images[i].toObject();
      const TteBitmap& b = *s.Bitmaps.Items(int(i));
      const uLong crc = b.Empty() ? crc32(0, nullptr, 0)
                                  : crc32(0, reinterpret_cast<const Bytef*>(b.Bits()),
                                          uInt(int64_t(b.Width()) * b.Height() * 4));
      const QJsonObject have{{"name", b.Name},
                             {"width", b.Width()},
                             {"height", b.Height()},
                             {"transparent", b.Transparent},
                             {"alpha_blend", b.AlphaBlend},
                             {"crc32", double(uint32_t(crc))}};
      for (const QString& k : have.keys())
        if (want.contains(k) && want[k] != have[k])
          out << QStringLiteral("image %1 %2 = %3, expected %4").arg(i).arg(k, Show(have[k]), Show(want[k]));
      for (const QJsonValue& p : want["pixels"].toArray()) {
        const QJsonArray xyv = p.toArray();
        const uint32_t v = b.GetPixel(xyv[0].toInt(), xyv[1].toInt());
        if (double(v) != xyv[2].toDouble())
          out << QStringLiteral("image %1 pixel (%2, %3) = %4, expected %5")
                     .arg(i).arg(xyv[0].toInt()).arg(xyv[1].toInt()).arg(v, 8, 16, QLatin1Char('0'))
                     .arg(uint32_t(xyv[2].toDouble()), 8, 16, QLatin1Char('0'));
      }
    }
  }

  if (expect.contains(QLatin1String("roots"))) {
    const QJsonArray roots = expect["roots"].toArray();
    if (roots.size() != s.ObjectCount())
      out << QStringLiteral("%1 roots, expected %2").arg(s.ObjectCount()).arg(roots.size());
    else
      for (qsizetype i = 0; i < roots.size(); ++i)
        CompareObject(*s.ObjectAt(int(i)), roots[i].toObject(), QString(), out);
  }

  const QJsonArray colors = expect["colors"].toArray();
  for (qsizetype i = 0; i < std::min<qsizetype>(colors.size(), kThemeColorCount); ++i)
    if (!colors[i].isNull() && double(uint32_t(s.Colors.GetColor(int(i)))) != colors[i].toDouble())
      out << QStringLiteral("colour %1 = %2, expected %3").arg(QLatin1String(ThemeColorName(int(i))))
                 .arg(uint32_t(s.Colors.GetColor(int(i))), 8, 16).arg(uint32_t(colors[i].toDouble()), 8, 16);
  const QJsonArray sys = expect["syscolors"].toArray();
  for (qsizetype i = 0; i < std::min<qsizetype>(sys.size(), kThemeSysColorCount); ++i)
    if (!sys[i].isNull() && double(uint32_t(s.SysColors.Substitute(int(i)))) != sys[i].toDouble())
      out << QStringLiteral("system colour %1 = %2, expected %3").arg(i)
                 .arg(uint32_t(s.SysColors.Substitute(int(i))), 8, 16).arg(uint32_t(sys[i].toDouble()), 8, 16);
  const QJsonArray fonts = expect["fonts"].toArray();
  for (qsizetype i = 0; i < std::min<qsizetype>(fonts.size(), kThemeFontCount); ++i)
    if (!fonts[i].isNull() && !SameFont(s.Fonts.GetFont(int(i)), fonts[i]))
      out << QStringLiteral("font %1 = %2, expected %3").arg(QLatin1String(ThemeFontName(int(i))),
                 Show(TableFont(s.Fonts.GetFont(int(i)))), Show(fonts[i]));

  const QJsonObject derivedColors = expect["derived_colors"].toObject();
  for (int i = 0; i < kThemeColorCount; ++i) {
    const QJsonValue want = derivedColors.value(QLatin1String(ThemeColorName(i)));
    if (!want.isUndefined() && double(uint32_t(s.Colors.GetColor(i))) != want.toDouble())
      out << QStringLiteral("derived colour %1 = %2, expected %3").arg(QLatin1String(ThemeColorName(i)))
                 .arg(uint32_t(s.Colors.GetColor(i)), 8, 16).arg(uint32_t(want.toDouble()), 8, 16);
  }
  const QJsonObject derivedFonts = expect["derived_fonts"].toObject();
  for (int i = 0; i < kThemeFontCount; ++i) {
    const QJsonValue want = derivedFonts.value(QLatin1String(ThemeFontName(i)));
    if (!want.isUndefined() && !SameFont(s.Fonts.GetFont(i), want))
      out << QStringLiteral("derived font %1 = %2, expected %3").arg(QLatin1String(ThemeFontName(i)),
                 Show(TableFont(s.Fonts.GetFont(i))), Show(want));
  }

  for (const QJsonValue& v : expect["lookups"].toArray()) {
    const QJsonObject l = v.toObject();
    const TSeSkinObject* found = s.FindObject(l["query"].toString());
    const QString have = found ? Path(found) : QStringLiteral("(none)");
    const QString want = l["found"].isNull() ? QStringLiteral("(none)") : l["found"].toString();
    if (have != want) out << QStringLiteral("look-up %1 finds %2, expected %3").arg(l["query"].toString(), have, want);
    if (found && !l["class"].isNull() && QLatin1String(found->ClassName()) != l["class"].toString())
      out << QStringLiteral("look-up %1 is a %2, expected %3")
                 .arg(l["query"].toString(), QLatin1String(found->ClassName()), l["class"].toString());
  }
  return out;
}
