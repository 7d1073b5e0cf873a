// Packing, unpacking, converting and describing theme files for sonolift-theme.
#include "theme_files.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringDecoder>
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "app_error.h"
#include "te_bitmap.h"
#include "theme_manager.h"
#include "theme_msux.h"
#include "theme_skinfile.h"

#include <zlib.h>

namespace {

// An INI of a few thousand lines is a few hundred kilobytes, and a theme stores at most
// TTeThemeMsStyles::kMaxIniSize of it. Comments and blank lines may make the file longer
// than what is stored, but not four times: a larger file is refused before it is parsed
// (parsing millions of tiny lines would cost far more memory than the file).
constexpr qint64 kMaxIniBytes = 4 * qint64(TTeThemeMsStyles::kMaxIniSize);

// The flags a packed image carries travel in text chunks of its PNG, so that an unpacked
// image packs back exactly (a keyed image's key pixels are see-through in the PNG, which
// alone would not say whether the image was keyed or blended).
const QString kTransparentText = QStringLiteral("Transparent");
const QString kAlphaBlendText = QStringLiteral("AlphaBlend");

const char* const kImageKeys[] = {"ImageFile", "ImageFile1", "ImageFile2", "ImageFile3",
                                  "GlyphImageFile"};

[[noreturn]] void Fail(const QString& message) { throw ToolFailure{message}; }

QString UpperImageName(const QString& fileName) { return ImageFileToName(fileName).toUpper(); }

void RequireLatin1(const QString& text, const QString& what) {
  for (QChar c : text)
    if (c.unicode() > 0xFF)
      Fail(QStringLiteral("%1 holds characters a theme cannot store (only Latin-1): \"%2\"")
               .arg(what, QString(c)));
}

// UTF-16/32 and UTF-8 with a byte-order mark, then UTF-8 when the bytes are valid UTF-8,
// else Latin-1 (what older INI files are written in).
QString ReadIniText(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    Fail(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
  if (file.size() > kMaxIniBytes)
    Fail(QStringLiteral("%1 is larger than %2 MiB; not a theme INI")
             .arg(path, QString::number(kMaxIniBytes >> 20)));
  const QByteArray bytes = file.read(kMaxIniBytes + 1);
  if (const std::optional<QStringConverter::Encoding> bom =
          QStringConverter::encodingForData(bytes)) {
    QStringDecoder decode(*bom);
    const QString text = decode(bytes);
    if (decode.hasError()) Fail(QStringLiteral("%1 is not valid text").arg(path));
    return text;
  }
  QStringDecoder utf8(QStringConverter::Utf8);
  const QString text = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

// Image names come from a theme's own bytes; one that climbs out of the folder or is
// no file name at all is refused rather than written somewhere unexpected.
bool IsSafeRelativePath(const QString& path) {
  if (path.isEmpty() || path.startsWith(QLatin1Char('/'))) return false;
  for (QChar c : path)
    if (c.unicode() < 0x20 || c == QLatin1Char('\\')) return false;
  for (const QString& part : path.split(QLatin1Char('/')))
    if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) return false;
  return true;
}

// relative below root, each component matched exactly when it exists, else the first
// entry (in name order) equal without regard to case. Empty when no file matches.
QString ResolveNoCase(const QString& root, const QString& relative) {
  QString path = root;
  for (const QString& part : relative.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    if (part == QLatin1String(".")) continue;
    const QString exact = path + QLatin1Char('/') + part;
    if (QFileInfo::exists(exact)) {
      path = exact;
      continue;
    }
    const QStringList entries = QDir(path).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    const auto match = std::find_if(entries.begin(), entries.end(), [&](const QString& entry) {
      return entry.compare(part, Qt::CaseInsensitive) == 0;
    });
    if (match == entries.end()) return {};
    path += QLatin1Char('/') + *match;
  }
  return QFileInfo(path).isFile() ? path : QString();
}

// The file an INI image value names inside dir, or empty.
QString FindImageFile(const QString& dir, const QString& value) {
  QString relative = value.trimmed();
  relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (QDir::isAbsolutePath(relative) ||
      relative.split(QLatin1Char('/')).contains(QLatin1String("..")))
    Fail(QStringLiteral("theme.ini names the image \"%1\" outside the theme folder").arg(value));
  QStringList candidates{relative};
  const qsizetype slash = relative.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = relative.lastIndexOf(QLatin1Char('.'));
  if (dot > slash + 1) {
    const QString stem = relative.left(dot);
    candidates << stem + QLatin1String(".png") << stem + QLatin1String(".bmp");
  }
  candidates << relative + QLatin1String(".png") << relative + QLatin1String(".bmp");
  for (const QString& candidate : candidates)
    if (const QString path = ResolveNoCase(dir, candidate); !path.isEmpty()) return path;
  return {};
}

// An image file as the theme's bitmap. Flags recorded by unpack are taken as they are;
// a plain image with an alpha channel that only says "shown" or "not shown" gets its
// see-through pixels keyed, since an unblended, unkeyed bitmap would paint them.
std::unique_ptr<TteBitmap> ReadImageFile(const QString& path, const QString& name) {
  QImageReader reader(path);
  reader.setAutoTransform(false);
  const QImage image = reader.read();
  if (image.isNull())
    Fail(QStringLiteral("cannot read image %1: %2").arg(path, reader.errorString()));
  auto bitmap = std::make_unique<TteBitmap>();
  try {
    bitmap->Assign(image);
  } catch (const EAppError& e) {
    Fail(QStringLiteral("cannot use image %1: %2").arg(path, e.Message()));
  }
  bitmap->Name = name;
  const QString transparent = image.text(kTransparentText);
  const QString alphaBlend = image.text(kAlphaBlendText);
  if (!transparent.isEmpty() || !alphaBlend.isEmpty()) {
    bitmap->Transparent = transparent == QLatin1String("1");
    bitmap->AlphaBlend = alphaBlend == QLatin1String("1");
  } else if (image.hasAlphaChannel() && !bitmap->AlphaBlend) {
    TteColor* p = bitmap->Bits();
    for (int64_t i = 0, n = int64_t(bitmap->Width()) * bitmap->Height(); i < n; ++i)
      if ((p[i] >> 24) == 0) {
        p[i] = kTeColorKey;
        bitmap->Transparent = true;
      }
  }
  return bitmap;
}

// The bitmap's pixels exactly (alpha not premultiplied) with its flags as text.
QImage RawImage(const TteBitmap& bitmap) {
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.Height(); ++y)
    std::memcpy(image.scanLine(y), bitmap.PixelPtr(0, y),
                size_t(bitmap.Width()) * sizeof(TteColor));
  image.setText(kTransparentText, bitmap.Transparent ? QStringLiteral("1") : QStringLiteral("0"));
  image.setText(kAlphaBlendText, bitmap.AlphaBlend ? QStringLiteral("1") : QStringLiteral("0"));
  return image;
}

void CommitOrFail(QSaveFile& file) {
  if (!file.commit())
    Fail(QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString()));
}

// Through a temporary file renamed into place, so a failed save leaves any old file whole.
void SaveThemeAtomically(const TTeThemeMsStyles& theme, const QString& out) {
  QSaveFile file(out);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("cannot write %1: %2").arg(out, file.errorString()));
  try {
    theme.SaveToStream(file);
  } catch (const std::exception& e) {
    Fail(QStringLiteral("cannot write %1: %2").arg(out, ExceptionMessage(e)));
  }
  CommitOrFail(file);
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    Fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
  CommitOrFail(file);
}

void WriteImageAtomically(const QString& path, const QImage& image) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    Fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
  QImageWriter writer(&file, "png");
  if (!writer.write(image))
    Fail(QStringLiteral("cannot write %1: %2").arg(path, writer.errorString()));
  CommitOrFail(file);
}

TTeThemeMsStyles& PackedThemeOrFail(TteTheme& theme, const QString& file, const char* verb) {
  auto* packed = dynamic_cast<TTeThemeMsStyles*>(&theme);
  if (!packed)
    Fail(QStringLiteral("%1 holds a \"%2\" theme; only visual-style themes %3")
             .arg(file, theme.Class().GetThemeKindName(), QLatin1String(verb)));
  return *packed;
}

// Every image-key entry, in INI order: the section, the entry's key and its value.
template <typename Fn>
void ForEachImageEntry(const TmsuxIni& ini, Fn&& fn) {
  for (const TmsuxIni::Section& section : ini.Sections())
    for (const auto& [key, value] : section.Entries)
      if (IsImageKey(key) && !value.trimmed().isEmpty()) fn(section, key, value);
}

}  // namespace

bool IsImageKey(const QString& key) {
  for (const char* name : kImageKeys)
    if (key.trimmed().compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
  return false;
}

std::unique_ptr<TteTheme> LoadThemeOrFail(const QString& file) {
  if (!QFileInfo(file).isFile()) Fail(QStringLiteral("no such file: %1").arg(file));
  std::unique_ptr<TteTheme> theme;
  try {
    theme = ThemeManager().LoadThemeFromFile(QFileInfo(file).absoluteFilePath());
  } catch (const std::exception& e) {
    Fail(QStringLiteral("cannot read %1: %2").arg(file, ExceptionMessage(e)));
  }
  if (!theme) Fail(QStringLiteral("not a theme this program can read: %1").arg(file));
  return theme;
}

int PackThemeDir(const PackOptions& options, Warnings& warnings) {
  const QFileInfo dirInfo(options.Dir);
  if (!dirInfo.isDir()) Fail(QStringLiteral("no such folder: %1").arg(options.Dir));
  const QString dir = dirInfo.absoluteFilePath();
  const QString iniPath = ResolveNoCase(dir, QStringLiteral("theme.ini"));
  if (iniPath.isEmpty()) Fail(QStringLiteral("no theme.ini in %1").arg(options.Dir));
  const QString text = ReadIniText(iniPath);
  const QString name = options.Name.isEmpty() ? QDir(dir).dirName() : options.Name;
  RequireLatin1(name, QStringLiteral("the theme name"));
  RequireLatin1(text, iniPath);

  TTeThemeMsStyles theme;
  theme.Name = name;
  theme.Ini().SetText(text);
  // A theme whose INI, as stored, passes the readers' bound would not load again.
  if (theme.Ini().Text().size() > TTeThemeMsStyles::kMaxIniSize)
    Fail(QStringLiteral("%1 is too long for a theme (at most %2 KiB as stored)")
             .arg(iniPath, QString::number(TTeThemeMsStyles::kMaxIniSize >> 10)));
  QStringList missing;
  ForEachImageEntry(
      theme.Ini(), [&](const TmsuxIni::Section& section, const QString& key, const QString& value) {
        const QString imageName = UpperImageName(value);
        if (imageName.isEmpty() || theme.Images().Find(imageName) ||
            missing.contains(imageName, Qt::CaseInsensitive))
          return;
        const QString path = FindImageFile(dir, value);
        if (!path.isEmpty()) {
          theme.Images().Add(ReadImageFile(path, imageName));
          return;
        }
        const QString message = QStringLiteral(
                                    "[%1] %2=%3: no such image file in %4 (tried as named, "
                                    "as .png and as .bmp)")
                                    .arg(section.Name, key.trimmed(), value.trimmed(), options.Dir);
        if (!options.AllowMissing) Fail(message);
        warnings << message;
        missing << imageName;
      });
  // The build keys each image with the colour of the first element that shows it, as
  // loading would; the packed file then holds the images ready to paint.
  theme.ClearPristineCopy();
  theme.ResetTheme();
  SaveThemeAtomically(theme, options.Out);
  return theme.Images().Count();
}

int UnpackThemeFile(const QString& file, const QString& dirPath, Warnings& warnings) {
  const std::unique_ptr<TteTheme> loaded = LoadThemeOrFail(file);
  const TTeThemeMsStyles& theme = PackedThemeOrFail(*loaded, file, "unpack");
  const TteBitmapList& images = theme.Images();

  QStringList named;
  ForEachImageEntry(theme.Ini(), [&](const TmsuxIni::Section&, const QString&, const QString& v) {
    named << UpperImageName(v);
  });

  // Every name is checked before anything is written, so a bad theme leaves no half folder.
  std::vector<const TteBitmap*> written;
  for (int i = 0; i < images.Count(); ++i) {
    const TteBitmap* image = images.Items(i);
    if (images.Find(image->Name) != image) {
      warnings
          << QStringLiteral("image %1 appears twice; only the first is ever used").arg(image->Name);
      continue;
    }
    if (image->Empty()) {
      warnings << QStringLiteral("image %1 has no pixels; not written").arg(image->Name);
      continue;
    }
    if (!IsSafeRelativePath(image->Name))
      Fail(QStringLiteral("image name \"%1\" cannot be a file name inside the folder")
               .arg(image->Name));
    if (!named.contains(image->Name, Qt::CaseInsensitive))
      warnings << QStringLiteral(
                      "image %1 is not named by theme.ini; packing the folder leaves it out")
                      .arg(image->Name);
    written.push_back(image);
  }

  // The INI as the theme holds it, each image value replaced by the name of the file
  // written for it (whose image name is the packed name again).
  QString ini;
  const QLatin1String eol("\r\n");
  for (const TmsuxIni::Section& section : theme.Ini().Sections()) {
    ini += QLatin1Char('[') + section.Name + QLatin1Char(']') + eol;
    for (const auto& [key, value] : section.Entries) {
      QString out = value;
      if (IsImageKey(key) && !value.trimmed().isEmpty()) {
        if (const TteBitmap* image = images.Find(UpperImageName(value)); image && !image->Empty())
          out = image->Name;
        else
          warnings << QStringLiteral(
                          "[%1] %2=%3 names an image the theme does not hold; pack the "
                          "folder with --allow-missing")
                          .arg(section.Name, key, value);
      }
      ini += key + QLatin1Char('=') + out + eol;
    }
    ini += eol;
  }

  if (!QDir().mkpath(dirPath)) Fail(QStringLiteral("cannot make the folder %1").arg(dirPath));
  const QDir dir(dirPath);
  WriteFileAtomically(dir.filePath(QStringLiteral("theme.ini")), ini.toLatin1());
  for (const TteBitmap* image : written) {
    const QString path = dir.filePath(image->Name + QLatin1String(".png"));
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
      Fail(QStringLiteral("cannot make the folder for %1").arg(path));
    WriteImageAtomically(path, RawImage(*image));
  }
  return int(written.size());
}

bool IsSkinFileName(const QString& file) { return FindSkinFilterByFile(file) != nullptr; }

void ConvertThemeFile(const QString& file, const QString& out) {
  const std::unique_ptr<TteTheme> loaded = LoadThemeOrFail(file);
  if (auto* skin = dynamic_cast<TTeSkinFile*>(loaded.get())) {
    if (!IsSkinFileName(out))
      Fail(QStringLiteral("%1 is a skin file; convert it to .uskn, .oskn, .xskn or .mskn").arg(file));
    try {
      skin->SaveToFile(out);
    } catch (const std::exception& e) {
      Fail(QStringLiteral("cannot write %1: %2").arg(out, ExceptionMessage(e)));
    }
    return;
  }
  if (IsSkinFileName(out))
    Fail(QStringLiteral("%1 holds a \"%2\" theme; only skin files convert to skin files")
             .arg(file, loaded->Class().GetThemeKindName()));
  SaveThemeAtomically(PackedThemeOrFail(*loaded, file, "convert"), out);
}

namespace {

const char* const kFontStyleWords[] = {"bold", "italic", "underline", "strikeout"};

uint32_t PixelCrc(const TteBitmap& image) {
  uLong crc = crc32(0, nullptr, 0);
  // The pixels as they lie in memory: little-endian 0xAARRGGBB words, rows top-down.
  if (!image.Empty())
    crc = crc32_z(crc, reinterpret_cast<const Bytef*>(image.Bits()),
                  size_t(int64_t(image.Width()) * image.Height() * 4));
  return uint32_t(crc);
}

QJsonValue ColorNumber(TColor c) { return double(uint32_t(c)); }

QJsonArray ObjectTree(const TSeObjectList& objects) {
  QJsonArray out;
  for (const auto& o : objects)
    out.append(QJsonObject{{"name", o->Name},
                           {"class", QLatin1String(o->ClassName())},
                           {"children", ObjectTree(o->Children())}});
  return out;
}

void DescribeObjects(const TSeObjectList& objects, int depth, QString& text) {
  for (const auto& o : objects) {
    text += QStringLiteral("%1%2 (%3)\n").arg(QString(2 * depth, QLatin1Char(' ')), o->Name,
                                               QLatin1String(o->ClassName()));
    DescribeObjects(o->Children(), depth + 1, text);
  }
}

QString DescribeSkin(const TSeSkinSource& s) {
  QString text = QStringLiteral("version: %1\nauthor: %2 <%3> %4\n")
                     .arg(s.SkinVersion, s.Author, s.AuthorEMail, s.AuthorURL);
  text += QStringLiteral("images: %1\n").arg(s.Bitmaps.Count());
  for (int i = 0; i < s.Bitmaps.Count(); ++i) {
    const TteBitmap& image = *s.Bitmaps.Items(i);
    QStringList flags;
    if (image.Transparent) flags << kTransparentText;
    if (image.AlphaBlend) flags << kAlphaBlendText;
    if (flags.isEmpty()) flags << QStringLiteral("opaque");
    text += QStringLiteral("  %1 %2x%3 %4\n")
                .arg(image.Name).arg(image.Width()).arg(image.Height()).arg(flags.join(QLatin1Char(' ')));
  }
  text += QStringLiteral("objects: %1\n").arg(s.ObjectCount());
  DescribeObjects(s.Objects, 1, text);
  return text;
}

}  // namespace

QByteArray DescribeThemeFileJson(const QString& file) {
  const std::unique_ptr<TteTheme> loaded = LoadThemeOrFail(file);
  QJsonObject out{{"kind", loaded->Class().GetThemeKindName()}};
  const auto* skin = dynamic_cast<const TTeSkinFile*>(loaded.get());
  if (!skin) {
    out[QStringLiteral("name")] = loaded->Name;
    return QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n';
  }
  const TSeSkinSource& s = skin->Source();
  out[QStringLiteral("meta")] = QJsonObject{{"SkinName", s.SkinName},
                                            {"SkinVersion", s.SkinVersion},
                                            {"Author", s.Author},
                                            {"AuthorEMail", s.AuthorEMail},
                                            {"AuthorURL", s.AuthorURL}};
  QJsonArray images;
  for (int i = 0; i < s.Bitmaps.Count(); ++i) {
    const TteBitmap& image = *s.Bitmaps.Items(i);
    images.append(QJsonObject{{"name", image.Name},
                              {"width", image.Width()},
                              {"height", image.Height()},
                              {"transparent", image.Transparent},
                              {"alpha_blend", image.AlphaBlend},
                              {"crc32", double(PixelCrc(image))}});
  }
  out[QStringLiteral("images")] = images;
  out[QStringLiteral("objects")] = ObjectTree(s.Objects);
  QJsonArray colors, syscolors, fonts;
  for (int i = 0; i < kThemeColorCount; ++i) colors.append(ColorNumber(s.Colors.GetColor(i)));
  for (int i = 0; i < kThemeSysColorCount; ++i) syscolors.append(ColorNumber(s.SysColors.Substitute(i)));
  for (int i = 0; i < kThemeFontCount; ++i) {
    const TFont& f = s.Fonts.GetFont(i);
    QJsonArray style;
    const bool styles[] = {f.bold(), f.italic(), f.underline(), f.strikeOut()};
    for (int k = 0; k < 4; ++k)
      if (styles[k]) style.append(QLatin1String(kFontStyleWords[k]));
    fonts.append(QJsonObject{{"name", f.family()}, {"size", FontSize(f)}, {"color", ColorNumber(f.Color)},
                             {"style", style}});
  }
  out[QStringLiteral("colors")] = colors;
  out[QStringLiteral("syscolors")] = syscolors;
  out[QStringLiteral("fonts")] = fonts;
  return QJsonDocument(out).toJson(QJsonDocument::Compact) + '\n';
}

QString DescribeThemeFile(const QString& file) {
  const std::unique_ptr<TteTheme> loaded = LoadThemeOrFail(file);
  QString text =
      QStringLiteral("kind: %1\nname: %2\n").arg(loaded->Class().GetThemeKindName(), loaded->Name);
  if (const auto* skin = dynamic_cast<const TTeSkinFile*>(loaded.get())) return text + DescribeSkin(skin->Source());
  const auto* theme = dynamic_cast<const TTeThemeMsStyles*>(loaded.get());
  if (!theme) return text;

  const TmsuxIni& ini = theme->Ini();
  text += QStringLiteral("sections: %1\n").arg(ini.Sections().size());
  for (const TmsuxIni::Section& section : ini.Sections())
    text += QStringLiteral("  [%1]\n").arg(section.Name);

  const TteBitmapList& images = theme->Images();
  std::vector<QStringList> users(size_t(images.Count()));
  QStringList missing;
  ForEachImageEntry(
      ini, [&](const TmsuxIni::Section& section, const QString& key, const QString& value) {
        const TteBitmap* image = images.Find(UpperImageName(value));
        for (int i = 0; image && i < images.Count(); ++i)
          if (images.Items(i) == image && !users[size_t(i)].contains(section.Name))
            users[size_t(i)] << section.Name;
        if (!image) missing << QStringLiteral("  [%1] %2=%3\n").arg(section.Name, key, value);
      });
  text += QStringLiteral("images: %1\n").arg(images.Count());
  for (int i = 0; i < images.Count(); ++i) {
    const TteBitmap& image = *images.Items(i);
    QStringList flags;
    if (image.Transparent) flags << kTransparentText;
    if (image.AlphaBlend) flags << kAlphaBlendText;
    if (flags.isEmpty()) flags << QStringLiteral("opaque");
    const QStringList& used = users[size_t(i)];
    // One arg() for all: a name is outside text and may itself hold "%2".
    text += QStringLiteral("  %1 %2x%3 %4 %5\n")
                .arg(image.Name, QString::number(image.Width()), QString::number(image.Height()),
                     flags.join(QLatin1Char(' ')),
                     used.isEmpty() ? QStringLiteral("unused")
                                    : QStringLiteral("used by ") + used.join(QStringLiteral(", ")));
  }
  if (!missing.isEmpty())
    text += QStringLiteral("missing images: %1\n").arg(missing.size()) + missing.join(QString());
  return text;
}
