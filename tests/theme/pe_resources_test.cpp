// Resource-library themes: the resource reader, bitmaps from resources at every depth,
// and TTeThemeMsStyles loading a library. Libraries are made here: one by the MinGW
// resource compiler and linker from our own INI text and bitmaps, others by a small
// writer of our own that also lets a test break chosen fields.
#include "pe_resources.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <map>

#include "theme_msux.h"

namespace {

// ---- device-independent bitmaps written for the tests

struct DibSpec {
  const char* Resource;  // the resource name; its lower case plus ".bmp" is the file
  int Bpp;
  int Width, Height;              // a negative height stores the rows top-down
  uint32_t Compression;           // 0 plain, 3 bit fields
  std::vector<uint32_t> Masks;    // written right after the header
  std::vector<uint32_t> Palette;  // 0x00RRGGBB; a full palette is written with count 0
  uint32_t (*Raw)(int x, int y);  // the stored value of pixel (x, y), y from the top
  TteColor (*Expected)(int x, int y);
  bool AlphaBlend;
};

void Put16(QByteArray& b, uint16_t v) {
  char c[2];
  qToLittleEndian(v, c);
  b.append(c, 2);
}

void Put32(QByteArray& b, uint32_t v) {
  char c[4];
  qToLittleEndian(v, c);
  b.append(c, 4);
}

void Patch32(QByteArray& b, qint64 at, uint32_t v) { qToLittleEndian(v, b.data() + at); }
void Patch16(QByteArray& b, qint64 at, uint16_t v) { qToLittleEndian(v, b.data() + at); }

QByteArray DibBytes(const DibSpec& s) {
  QByteArray b;
  const bool fullPalette = s.Palette.size() == (size_t(1) << s.Bpp);
  Put32(b, 40);
  Put32(b, uint32_t(s.Width));
  Put32(b, uint32_t(s.Height));
  Put16(b, 1);
  Put16(b, uint16_t(s.Bpp));
  Put32(b, s.Compression);
  for (int i = 0; i < 3; ++i) Put32(b, 0);
  Put32(b, fullPalette ? 0 : uint32_t(s.Palette.size()));
  Put32(b, 0);
  for (uint32_t m : s.Masks) Put32(b, m);
  for (uint32_t c : s.Palette) Put32(b, c);
  const int rows = std::abs(s.Height);
  const int stride = (s.Width * s.Bpp + 31) / 32 * 4;
  for (int r = 0; r < rows; ++r) {
    const int y = s.Height < 0 ? r : rows - 1 - r;
    QByteArray row(stride, '\0');
    for (int x = 0; x < s.Width; ++x) {
      const uint32_t v = s.Raw(x, y);
      uchar* p = reinterpret_cast<uchar*>(row.data());
      switch (s.Bpp) {
        case 1:
        case 4:
        case 8:
          p[x * s.Bpp / 8] |= uchar(v << (8 - s.Bpp - x * s.Bpp % 8));
          break;
        case 16:
          qToLittleEndian(uint16_t(v), p + 2 * x);
          break;
        case 24:
          p[3 * x] = uchar(v), p[3 * x + 1] = uchar(v >> 8), p[3 * x + 2] = uchar(v >> 16);
          break;
        default:
          qToLittleEndian(v, p + 4 * x);
      }
    }
    b.append(row);
  }
  return b;
}

QByteArray BmpFile(const QByteArray& dib) {
  const uint32_t colorsUsed = qFromLittleEndian<uint32_t>(dib.constData() + 32);
  const uint16_t bpp = qFromLittleEndian<uint16_t>(dib.constData() + 14);
  const uint32_t compression = qFromLittleEndian<uint32_t>(dib.constData() + 16);
  const uint32_t palette = (bpp <= 8 && colorsUsed == 0) ? (1u << bpp) : colorsUsed;
  const uint32_t bits = 14 + 40 + (compression == 3 ? 12 : 0) + 4 * palette;
  QByteArray b("BM");
  Put32(b, uint32_t(14 + dib.size()));
  Put32(b, 0);
  Put32(b, bits);
  return b + dib;
}

TteColor Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }
uint32_t Scale(uint32_t v, uint32_t max) { return uint32_t(std::lround(v * 255.0 / max)); }

uint32_t Pal8(int i) { return uint32_t(i) << 16 | uint32_t(255 - i) << 8 | uint32_t(i / 2); }
std::vector<uint32_t> Pal8Palette() {
  std::vector<uint32_t> p;
  for (int i = 0; i < 256; ++i) p.push_back(Pal8(i));
  return p;
}
std::vector<uint32_t> Pal4Palette() {
  std::vector<uint32_t> p;
  for (uint32_t i = 0; i < 16; ++i) p.push_back(i * 0x0F0D0B);
  return p;
}
uint32_t Rgb24(int x, int y) {
  return uint32_t(x * 50 % 256) << 16 | uint32_t(y * 60 % 256) << 8 | uint32_t((x + y) * 20);
}
uint32_t Alpha(int x, int y) { return uint32_t(x * 70 + y * 30) % 256; }
uint32_t R5(int x, int y) { return uint32_t(x * 13 + y * 7) % 32; }
uint32_t G5(int x, int y) { return uint32_t(x * 5 + y * 11) % 32; }
uint32_t G6(int x, int y) { return uint32_t(x * 9 + y * 23) % 64; }
uint32_t B5(int x, int y) { return uint32_t(x * 3 + y * 17 + 1) % 32; }

// Every depth the reader decodes, each with a size that needs row padding.
const std::vector<DibSpec>& Dibs() {
  // clang-format off
  static const std::vector<DibSpec> dibs = {
      {"PAL1_BMP", 1, 9, 3, 0, {}, {0x102030, 0xA0B0C0},
       [](int x, int y) { return uint32_t(x + y) % 2; },
       [](int x, int y) { return Opaque((x + y) % 2 ? 0xA0B0C0 : 0x102030); }, false},
      {"PAL4_BMP", 4, 5, 2, 0, {}, Pal4Palette(),
       [](int x, int y) { return uint32_t(x * 3 + y) % 16; },
       [](int x, int y) { return Opaque(uint32_t(x * 3 + y) % 16 * 0x0F0D0B); }, false},
      {"PAL8_BMP", 8, 3, 4, 0, {}, Pal8Palette(),
       [](int x, int y) { return uint32_t(x * 40 + y * 7); },
       [](int x, int y) { return Opaque(Pal8(x * 40 + y * 7)); }, false},
      // Three colours stated: the rows follow them, and indices past them show black.
      {"SHORT8_BMP", 8, 5, 1, 0, {}, {0x112233, 0x445566, 0x778899},
       [](int x, int) { return uint32_t(x); },
       [](int x, int) { return Opaque(x == 0 ? 0x112233 : x == 1 ? 0x445566 : x == 2 ? 0x778899 : 0); },
       false},
      {"RGB555_BMP", 16, 5, 3, 0, {}, {},
       [](int x, int y) { return R5(x, y) << 10 | G5(x, y) << 5 | B5(x, y); },
       [](int x, int y) {
         return Opaque(Scale(R5(x, y), 31) << 16 | Scale(G5(x, y), 31) << 8 | Scale(B5(x, y), 31));
       }, false},
      {"RGB565_BMP", 16, 3, 3, 3, {0xF800, 0x07E0, 0x001F}, {},
       [](int x, int y) { return R5(x, y) << 11 | G6(x, y) << 5 | B5(x, y); },
       [](int x, int y) {
         return Opaque(Scale(R5(x, y), 31) << 16 | Scale(G6(x, y), 63) << 8 | Scale(B5(x, y), 31));
       }, false},
      {"RGB24_BMP", 24, 3, 3, 0, {}, {}, Rgb24,
       [](int x, int y) { return Opaque(Rgb24(x, y)); }, false},
      {"TOPDOWN24_BMP", 24, 3, -3, 0, {}, {}, Rgb24,
       [](int x, int y) { return Opaque(Rgb24(x, y)); }, false},
      // Above eight bits a stated palette is only a display hint the rows come after.
      {"HINT24_BMP", 24, 2, 2, 0, {}, {0xFFFFFF, 0x000000}, Rgb24,
       [](int x, int y) { return Opaque(Rgb24(x, y)); }, false},
      {"ALPHA32_BMP", 32, 3, 2, 0, {}, {},
       [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); },
       [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); }, true},
      {"OPAQUE32_BMP", 32, 2, 2, 0, {}, {},
       [](int x, int y) { return Opaque(Rgb24(x, y)); },
       [](int x, int y) { return Opaque(Rgb24(x, y)); }, false},
      // Masks with red and blue swapped; the free top byte is alpha.
      {"FIELDS32_BMP", 32, 2, -2, 3, {0x000000FF, 0x0000FF00, 0x00FF0000}, {},
       [](int x, int y) {
         const uint32_t c = Rgb24(x, y);
         return Alpha(x, y) << 24 | (c & 0xFF) << 16 | (c & 0xFF00) | c >> 16;
       },
       [](int x, int y) { return Alpha(x, y) << 24 | Rgb24(x, y); }, true},
  };
  // clang-format on
  return dibs;
}

// Zero-terminated UTF-16 strings ended by an empty one.
QByteArray NameList(const QStringList& names) {
  QByteArray b;
  for (const QString& n : names)
    b += QByteArray(reinterpret_cast<const char*>(n.utf16()), n.size() * 2) + QByteArray(2, '\0');
  return b + QByteArray(2, '\0');
}

QByteArray Utf16(const QString& text, bool byteOrderMark) {
  QByteArray b;
  if (byteOrderMark) b += QByteArray("\xFF\xFE", 2);
  return b + QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// ---- a library writer of our own: one .rsrc section, one language per resource

struct Res {
  TPeResourceId Type;
  TPeResourceId Name;
  QByteArray Data;
};

// File offsets of the parts a test may break.
struct Layout {
  qint64 Optional = 0, Section = 0, Root = 0, FirstNameDir = 0, FirstLangDir = 0,
         FirstDataEntry = 0, FirstNameString = -1;
};

constexpr qint64 kPeOffset = 0x40;
constexpr qint64 kRawOffset = 0x200;
constexpr uint32_t kRsrcRva = 0x1000;

QByteArray ResName(const QString& name) {
  QByteArray b;
  Put16(b, uint16_t(name.size()));
  return b + QByteArray(reinterpret_cast<const char*>(name.utf16()), name.size() * 2);
}

QByteArray WriteLibrary(bool pe32, const std::vector<Res>& resources, Layout* layout = nullptr) {
  // Group by type in order of appearance.
  auto same = [](const TPeResourceId& a, const TPeResourceId& b) {
    return a.IsNumber == b.IsNumber && a.Number == b.Number && a.Name == b.Name;
  };
  std::vector<std::vector<const Res*>> types;
  for (const Res& r : resources) {
    auto it = std::find_if(types.begin(), types.end(),
                           [&](const auto& t) { return same(t.front()->Type, r.Type); });
    if (it == types.end())
      types.push_back({&r});
    else
      it->push_back(&r);
  }

  // Directories, then data entries, then name strings, then the data; offsets are from
  // the root, data addresses are relative virtual addresses.
  const qint64 count = qint64(resources.size());
  std::vector<qint64> nameDirs;
  qint64 at = 16 + 8 * qint64(types.size());
  for (const auto& t : types) nameDirs.push_back(std::exchange(at, at + 16 + 8 * qint64(t.size())));
  const qint64 langDirs = at, dataEntries = langDirs + 24 * count,
               stringsAt = dataEntries + 16 * count;
  QByteArray strings;
  std::map<QString, qint64> stringOffsets;
  auto nameWord = [&](const TPeResourceId& id) -> uint32_t {
    if (id.IsNumber) return id.Number;
    if (!stringOffsets.count(id.Name)) {
      stringOffsets[id.Name] = stringsAt + strings.size();
      strings += ResName(id.Name);
    }
    return 0x80000000u | uint32_t(stringOffsets[id.Name]);
  };
  auto header = [](const std::vector<const TPeResourceId*>& ids) {
    QByteArray h(12, '\0');
    const auto named =
        std::count_if(ids.begin(), ids.end(), [](auto* id) { return !id->IsNumber; });
    Put16(h, uint16_t(named));
    Put16(h, uint16_t(ids.size() - named));
    return h;
  };

  std::vector<const TPeResourceId*> typeIds;
  for (const auto& t : types) typeIds.push_back(&t.front()->Type);
  QByteArray root = header(typeIds), names, langs, entries;
  std::vector<const Res*> order;
  for (size_t t = 0; t < types.size(); ++t) {
    Put32(root, nameWord(types[t].front()->Type));
    Put32(root, 0x80000000u | uint32_t(nameDirs[t]));
    std::vector<const TPeResourceId*> nameIds;
    for (const Res* r : types[t]) nameIds.push_back(&r->Name);
    names += header(nameIds);
    for (const Res* r : types[t]) {
      const qint64 k = qint64(order.size());
      Put32(names, nameWord(r->Name));
      Put32(names, 0x80000000u | uint32_t(langDirs + 24 * k));
      const TPeResourceId english(uint16_t(0x409));
      langs += header({&english});
      Put32(langs, 0x409);
      Put32(langs, uint32_t(dataEntries + 16 * k));
      order.push_back(r);
    }
  }
  while (strings.size() % 8) strings += '\0';
  QByteArray data;
  const qint64 dataAt = stringsAt + strings.size();
  for (const Res* r : order) {
    Put32(entries, kRsrcRva + uint32_t(dataAt + data.size()));
    Put32(entries, uint32_t(r->Data.size()));
    Put32(entries, 0);
    Put32(entries, 0);
    data += r->Data;
    while (data.size() % 8) data += '\0';
  }
  const QByteArray rsrc = root + names + langs + entries + strings + data;

  QByteArray file(kPeOffset, '\0');
  file[0] = 'M', file[1] = 'Z';
  Patch32(file, 0x3C, uint32_t(kPeOffset));
  file += QByteArray("PE\0\0", 4);
  const uint16_t optionalSize = pe32 ? 224 : 240;
  Put16(file, pe32 ? 0x14C : 0x8664);
  Put16(file, 1);
  for (int i = 0; i < 3; ++i) Put32(file, 0);
  Put16(file, optionalSize);
  Put16(file, 0x2022);
  const qint64 optional = file.size();
  file += QByteArray(optionalSize, '\0');
  Patch16(file, optional, pe32 ? 0x10B : 0x20B);
  const qint64 dirs = optional + (pe32 ? 96 : 112);
  Patch32(file, dirs - 4, 16);
  Patch32(file, dirs + 16, kRsrcRva);
  Patch32(file, dirs + 20, uint32_t(rsrc.size()));
  const qint64 section = file.size();
  file += QByteArray(".rsrc\0\0\0", 8);
  Put32(file, uint32_t(rsrc.size()));
  Put32(file, kRsrcRva);
  Put32(file, uint32_t((rsrc.size() + 0x1FF) & ~0x1FF));
  Put32(file, uint32_t(kRawOffset));
  file += QByteArray(16, '\0');
  file += QByteArray(kRawOffset - file.size(), '\0');
  file += rsrc;
  file += QByteArray((0x200 - file.size() % 0x200) % 0x200, '\0');
  if (layout) {
    layout->Optional = optional;
    layout->Section = section;
    layout->Root = kRawOffset;
    layout->FirstNameDir = kRawOffset + nameDirs.front();
    layout->FirstLangDir = kRawOffset + langDirs;
    layout->FirstDataEntry = kRawOffset + dataEntries;
    layout->FirstNameString = strings.isEmpty() ? -1 : kRawOffset + stringsAt;
  }
  return file;
}

// ---- a library from the MinGW resource compiler and linker

const QStringList kColorNames = {QStringLiteral("NormalColor"), QStringLiteral("Metallic")};
const QStringList kSizeNames = {QStringLiteral("NormalSize")};
const QStringList kFileResNames = {QStringLiteral("NORMALBLUE_INI"),
                                   QStringLiteral("METALLIC_INI")};

// Written with a byte-order mark and "key = value", as libraries keep their INI text.
const QString kBlueIni = QString::fromUtf8(
    "[SysMetrics]\r\n"
    "CaptionBarHeight = 30\r\n"
    "[Button.Pushbutton]\r\n"
    "TextColor = 1 2 3\r\n"
    "Comment = a = b\r\n"
    "Note = \u03A9mega\r\n"
    "ImageFile = pal8.bmp\r\n"
    "[Window.Caption]\r\n"
    "ImageFile = alpha32.bmp\r\n"
    "[button.checkbox]\r\n"
    "ImageFile = Missing.bmp\r\n");
const QString kMetallicIni =
    QStringLiteral("[Button.Pushbutton]\r\nTextColor = 4 5 6\r\nImageFile = rgb24.bmp\r\n");

// Runs a tool in dir; the empty string on success, else what went wrong.
QString RunTool(const QString& program, const QStringList& args, const QString& dir) {
  QProcess p;
  p.setWorkingDirectory(dir);
  p.start(program, args);
  if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
    return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
  return {};
}

class MingwLibrary : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::make_unique<QTemporaryDir>();
    const QString windres =
        QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-windres"));
    const QString ld = QStandardPaths::findExecutable(QStringLiteral("x86_64-w64-mingw32-ld"));
    if (windres.isEmpty() || ld.isEmpty()) {
      failure_ =
          "the MinGW tools (x86_64-w64-mingw32-windres and -ld, Debian package "
          "binutils-mingw-w64-x86-64) are not installed";
      skip_ = true;
      return;
    }
    const QString d = dir_->path();
    QString rc;
    for (const DibSpec& s : Dibs()) {
      const QString file = QString::fromLatin1(s.Resource)
                               .toLower()
                               .replace(QLatin1String("_bmp"), QLatin1String(".bmp"));
      WriteFile(d + QLatin1Char('/') + file, BmpFile(DibBytes(s)));
      rc += QStringLiteral("%1 BITMAP \"%2\"\n").arg(QLatin1String(s.Resource), file);
    }
    const QString bitmapsOnly = rc;
    WriteFile(d + QStringLiteral("/colornames.bin"), NameList(kColorNames));
    WriteFile(d + QStringLiteral("/sizenames.bin"), NameList(kSizeNames));
    WriteFile(d + QStringLiteral("/fileresnames.bin"), NameList(kFileResNames));
    WriteFile(d + QStringLiteral("/blue.bin"), Utf16(kBlueIni, true));
    WriteFile(d + QStringLiteral("/metallic.bin"), Utf16(kMetallicIni, false));
    rc += QStringLiteral(
        "1 COLORNAMES \"colornames.bin\"\n"
        "1 SIZENAMES \"sizenames.bin\"\n"
        "1 FILERESNAMES \"fileresnames.bin\"\n"
        "NORMALBLUE_INI TEXTFILE \"blue.bin\"\n"
        "METALLIC_INI TEXTFILE \"metallic.bin\"\n");
    WriteFile(d + QStringLiteral("/theme.rc"), rc.toLatin1());
    WriteFile(d + QStringLiteral("/bare.rc"), bitmapsOnly.toLatin1());
    // No C compiler here: the resource compiler gets "cat" as its preprocessor, and the
    // linker makes a library of resources alone, with no entry point.
    for (const char* name : {"theme", "bare"}) {
      const QString base = QString::fromLatin1(name);
      QString error =
          RunTool(windres,
                  {QStringLiteral("--preprocessor=cat"), QStringLiteral("-O"),
                   QStringLiteral("coff"), QStringLiteral("-i"), base + QStringLiteral(".rc"),
                   QStringLiteral("-o"), base + QStringLiteral(".o")},
                  d);
      if (error.isEmpty())
        error = RunTool(ld,
                        {QStringLiteral("--dll"), QStringLiteral("-e"), QStringLiteral("0"),
                         QStringLiteral("-s"), QStringLiteral("-o"), base + QStringLiteral(".dll"),
                         base + QStringLiteral(".o")},
                        d);
      if (!error.isEmpty()) {
        failure_ = error.toStdString();
        return;
      }
    }
    QFile::copy(d + QStringLiteral("/theme.dll"), Path());
  }
  static void TearDownTestSuite() { dir_.reset(); }
  void SetUp() override {
    if (skip_) GTEST_SKIP() << failure_;
    ASSERT_TRUE(failure_.empty()) << failure_;
  }

  static QString Path() { return dir_->filePath(QStringLiteral("Blue.msstyles")); }
  static QString BarePath() { return dir_->filePath(QStringLiteral("bare.dll")); }
  // A copy of the theme library under another name.
  static QString Copy(const QString& name) {
    const QString path = dir_->filePath(name);
    QFile::remove(path);
    EXPECT_TRUE(QFile::copy(Path(), path));
    return path;
  }

  static inline std::unique_ptr<QTemporaryDir> dir_;
  static inline std::string failure_;
  static inline bool skip_ = false;
};

TEST_F(MingwLibrary, ThemeReadsTheNameListsAndTheChosenIni) {
  TTeThemeMsStyles theme;
  ASSERT_TRUE(theme.LoadFromFile(Path()));
  EXPECT_EQ(theme.Name, QStringLiteral("Blue"));
  EXPECT_EQ(theme.ColorNames, kColorNames);
  EXPECT_EQ(theme.SizeNames, kSizeNames);
  EXPECT_EQ(theme.FileResNames, kFileResNames);
  EXPECT_EQ(theme.SourceFileName, Path());
  // The byte-order mark is not text: the first section header is read as one.
  EXPECT_EQ(theme.CaptionBarHeight, 30);
  const TmsuxThemeObject& button = *theme.Object(kmsButtonPushbutton);
  EXPECT_EQ(button.TextColor, RGB(1, 2, 3));
  ASSERT_NE(button.FindProp(QStringLiteral("comment")), nullptr);
  EXPECT_EQ(button.FindProp(QStringLiteral("comment"))->Value, QStringLiteral("a=b"));
  EXPECT_EQ(button.FindProp(QStringLiteral("note"))->Value, QStringLiteral("?mega"));
  EXPECT_FALSE(theme.IsEmptyTheme());

  // Images come from the library as the INI names them, in upper case.
  ASSERT_TRUE(button.ImageFile.IsValid());
  EXPECT_EQ(button.ImageFile.Bitmap, theme.Images().Find(QStringLiteral("PAL8_BMP")));
  EXPECT_EQ(button.ImageFile.Rect(), TRect(0, 0, 3, 4));
  const TmsuxThemeObject& caption = *theme.Object(kmsWindowCaption);
  ASSERT_TRUE(caption.ImageFile.IsValid());
  EXPECT_TRUE(caption.ImageFile.Bitmap->AlphaBlend);
  EXPECT_EQ(caption.ImageTransparency, kitTransparent);
  // A name the library lacks leaves an empty image and an invalid link.
  EXPECT_FALSE(theme.Object(kmsButtonCheckbox)->ImageFile.IsValid());
  const TteBitmap* missing = theme.Images().Find(QStringLiteral("MISSING_BMP"));
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->Empty());
}

TEST_F(MingwLibrary, IndicesChooseTheText) {
  const struct {
    int Scheme, Size;
    bool Loads;
    TColor Text;
  } cases[] = {
      {0, 0, true, RGB(1, 2, 3)},
      {1, 0, true, RGB(4, 5, 6)},  // one size: scheme 1 is the second text
      {0, 1, true, RGB(4, 5, 6)},
      {2, 0, false, 0},
      {-1, 1, false, 0},  // lands on 0, but no index is negative
      {0, -1, false, 0},
  };
  for (const auto& c : cases) {
    TTeThemeMsStyles theme;
    theme.ColorSchemeIndex = c.Scheme;
    theme.SizeIndex = c.Size;
    const bool loaded = theme.LoadFromFile(Path());
    EXPECT_EQ(loaded, c.Loads) << "scheme " << c.Scheme << " size " << c.Size;
    if (loaded) {
      EXPECT_EQ(theme.Object(kmsButtonPushbutton)->TextColor, c.Text) << "scheme " << c.Scheme;
    } else {
      EXPECT_TRUE(theme.Ini().IsEmpty()) << "scheme " << c.Scheme;
    }
  }
}

TEST_F(MingwLibrary, ThemeNameIsTheFileNameLessItsExtension) {
  const struct {
    const char* File;
    const char* Name;
  } cases[] = {
      {"Luna.msstyles", "Luna"},
      {"Plain", "Plain"},
      {"Royale.Noir.msstyles", "Royale.Noir"},
      {"short.dll", "short"},
  };
  for (const auto& c : cases) {
    TTeThemeMsStyles theme;
    ASSERT_TRUE(theme.LoadFromFile(Copy(QLatin1String(c.File)))) << c.File;
    EXPECT_EQ(theme.Name, QLatin1String(c.Name)) << c.File;
  }
}

TEST_F(MingwLibrary, BitmapsDecodeAtEveryDepth) {
  for (const DibSpec& s : Dibs()) {
    TteBitmap bitmap;
    ASSERT_TRUE(bitmap.LoadFromResource(Path(), QLatin1String(s.Resource))) << s.Resource;
    ASSERT_EQ(bitmap.Width(), s.Width) << s.Resource;
    ASSERT_EQ(bitmap.Height(), std::abs(s.Height)) << s.Resource;
    int wrong = 0;
    for (int y = 0; y < bitmap.Height(); ++y)
      for (int x = 0; x < bitmap.Width(); ++x)
        if (bitmap.GetPixel(x, y) != s.Expected(x, y) && wrong++ == 0)
          ADD_FAILURE() << s.Resource << " pixel (" << x << ", " << y << ") is " << std::hex
                        << bitmap.GetPixel(x, y) << ", expected " << s.Expected(x, y);
    EXPECT_EQ(bitmap.AlphaBlend, s.AlphaBlend) << s.Resource;
    EXPECT_FALSE(bitmap.Transparent) << s.Resource;
  }
}

TEST_F(MingwLibrary, MissingBitmapLeavesTheBitmapAsItWas) {
  const struct {
    QString Library, Name;
  } cases[] = {
      {Path(), QStringLiteral("NO_SUCH_BMP")},
      {Path(), QStringLiteral("NORMALBLUE_INI")},  // not of the bitmap type
      {dir_->filePath(QStringLiteral("absent.dll")), QStringLiteral("PAL8_BMP")},
      {dir_->filePath(QStringLiteral("blue.bin")), QStringLiteral("PAL8_BMP")},  // not a library
  };
  for (const auto& c : cases) {
    TteBitmap bitmap;
    bitmap.SetSize(2, 1);
    bitmap.Fill(0x80112233);
    bitmap.AlphaBlend = true;
    EXPECT_FALSE(bitmap.LoadFromResource(c.Library, c.Name)) << c.Name.toStdString();
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_EQ(bitmap.GetPixel(1, 0), 0x80112233u);
    EXPECT_TRUE(bitmap.AlphaBlend);
  }
}

TEST_F(MingwLibrary, LibraryImagesReplaceThoseOfTheThemeBefore) {
  // A packed theme with an image of the same name, but 1 x 1.
  TTeThemeMsStyles packed;
  packed.Ini().SetText(QStringLiteral("[Button.Pushbutton]\nImageFile=pal8.bmp\n"));
  auto old = std::make_unique<TteBitmap>();
  old->SetSize(1, 1);
  old->Name = QStringLiteral("PAL8_BMP");
  packed.Images().Add(std::move(old));
  TTeThemeMsStyles theme;
  theme.Assign(packed);
  ASSERT_EQ(theme.Images().Find(QStringLiteral("PAL8_BMP"))->Width(), 1);

  ASSERT_TRUE(theme.LoadFromFile(Path()));
  EXPECT_EQ(theme.Object(kmsButtonPushbutton)->ImageFile.Rect(), TRect(0, 0, 3, 4));
}

TEST_F(MingwLibrary, RebuildsWithoutTheLibrary) {
  const QString path = Copy(QStringLiteral("Gone.msstyles"));
  TTeThemeMsStyles theme;
  ASSERT_TRUE(theme.LoadFromFile(path));
  ASSERT_TRUE(QFile::remove(path));
  theme.SetDeltaHue(40);
  const TmsuxThemeObject& button = *theme.Object(kmsButtonPushbutton);
  ASSERT_TRUE(button.ImageFile.IsValid());
  EXPECT_EQ(button.ImageFile.Rect(), TRect(0, 0, 3, 4));
}

TEST_F(MingwLibrary, LibraryWithoutNameListsIsNoTheme) {
  TTeThemeMsStyles theme;
  ASSERT_TRUE(theme.LoadFromFile(Path()));
  const QString ini = theme.Ini().Text();
  bool loaded = true;
  EXPECT_NO_THROW(loaded = theme.LoadFromFile(BarePath()));
  EXPECT_FALSE(loaded);
  EXPECT_EQ(theme.Ini().Text(), ini);
  EXPECT_TRUE(theme.Object(kmsButtonPushbutton)->ImageFile.IsValid());
}

TEST_F(MingwLibrary, EveryTruncationIsRefusedOrReadsTheSameBytes) {
  const QByteArray whole = ReadFile(Path());
  TPeResourceReader full;
  ASSERT_TRUE(full.OpenData(whole));
  std::vector<std::pair<TPeResourceId, TPeResourceId>> lookups = {
      {"COLORNAMES", 1}, {"FILERESNAMES", 1}, {"TEXTFILE", "METALLIC_INI"}};
  for (const DibSpec& s : Dibs()) lookups.push_back({kRtBitmap, s.Resource});
  for (const auto& [type, name] : lookups)
    ASSERT_TRUE(full.Find(type, name)) << name.Name.toStdString();
  for (qsizetype n = 0; n < whole.size(); ++n) {
    TPeResourceReader cut;
    if (!cut.OpenData(whole.left(n))) continue;
    for (const auto& [type, name] : lookups) {
      const std::optional<QByteArrayView> part = cut.Find(type, name);
      if (part) {
        ASSERT_EQ(*part, *full.Find(type, name)) << "cut at " << n;
      }
    }
  }
}

// ---- libraries of our own writing

QByteArray Dib24(int w, int h) {
  return DibBytes({"", 24, w, h, 0, {}, {}, Rgb24, nullptr, false});
}

std::vector<Res> SmallTheme() {
  return {
      {"COLORNAMES", 1, NameList({QStringLiteral("Blue")})},
      {"SIZENAMES", 1, NameList({QStringLiteral("Normal")})},
      {"FILERESNAMES", 1, NameList({QStringLiteral("NORMAL_INI")})},
      // Stored in lower case: names match without case.
      {"TEXTFILE", "normal_ini",
       Utf16(QStringLiteral("[Button.Pushbutton]\r\nTextColor = 7 8 9\r\nImageFile = x.bmp\r\n"),
             true)},
      {kRtBitmap, "X_BMP", Dib24(2, 1)},
      {kRtBitmap, 7, Dib24(5, 3)},
  };
}

QString WriteTemp(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
  const QString path = dir.filePath(name);
  EXPECT_TRUE(WriteFile(path, bytes));
  return path;
}

TEST(PeResources, Pe32AndPe32PlusLibrariesLoad) {
  QTemporaryDir dir;
  for (const bool pe32 : {true, false}) {
    const QString path =
        WriteTemp(dir, QStringLiteral("Small.msstyles"), WriteLibrary(pe32, SmallTheme()));
    TTeThemeMsStyles theme;
    ASSERT_TRUE(theme.LoadFromFile(path)) << (pe32 ? "PE32" : "PE32+");
    EXPECT_EQ(theme.Object(kmsButtonPushbutton)->TextColor, RGB(7, 8, 9));
    EXPECT_EQ(theme.Object(kmsButtonPushbutton)->ImageFile.Rect(), TRect(0, 0, 2, 1));
    TteBitmap numbered;
    ASSERT_TRUE(numbered.LoadFromResource(path, QStringLiteral("#7")));
    EXPECT_EQ(numbered.Width(), 5);
    EXPECT_EQ(numbered.GetPixel(4, 2), Opaque(Rgb24(4, 2)));
  }
}

TEST(PeResources, CorruptLibrariesReportFalseAndKeepTheTheme) {
  Layout at;
  const QByteArray good = WriteLibrary(false, SmallTheme(), &at);
  ASSERT_GT(at.FirstNameString, 0);
  const qint64 lfanew = 0x3C, dirs = at.Optional + 112;
  constexpr qsizetype kIni = TTeThemeMsStyles::kMaxIniSize;
  // The same library with another INI text.
  auto withIni = [](const QString& ini) {
    std::vector<Res> resources = SmallTheme();
    resources[3].Data = Utf16(ini, true);
    return WriteLibrary(false, resources);
  };
  // The first type, name, language and data entry all lead to COLORNAMES.
  const struct {
    const char* What;
    std::function<void(QByteArray&)> Break;
  } cases[] = {
      {"empty file", [](QByteArray& b) { b.clear(); }},
      {"cut inside the DOS header", [](QByteArray& b) { b.truncate(63); }},
      {"cut inside the section table", [&](QByteArray& b) { b.truncate(at.Section + 20); }},
      {"cut after the root directory", [&](QByteArray& b) { b.truncate(at.Root + 16); }},
      {"not MZ", [](QByteArray& b) { b[1] = 'X'; }},
      {"PE header past the end", [&](QByteArray& b) { Patch32(b, lfanew, 0xFFFFFFF0u); }},
      {"PE header at the very end",
       [&](QByteArray& b) { Patch32(b, lfanew, uint32_t(b.size() - 4)); }},
      {"unknown optional header", [&](QByteArray& b) { Patch16(b, at.Optional, 0x107); }},
      {"optional header too short for the resource entry",
       [&](QByteArray& b) { Patch16(b, at.Optional - 4, 100); }},
      {"optional header past the end", [&](QByteArray& b) { Patch16(b, at.Optional - 4, 0xFFFF); }},
      {"two data directories only", [&](QByteArray& b) { Patch32(b, dirs - 4, 2); }},
      {"no resource directory", [&](QByteArray& b) { Patch32(b, dirs + 16, 0); }},
      {"resource directory in no section", [&](QByteArray& b) { Patch32(b, dirs + 16, 0x9000); }},
      {"no sections", [&](QByteArray& b) { Patch16(b, at.Optional - 18, 0); }},
      {"65535 sections", [&](QByteArray& b) { Patch16(b, at.Optional - 18, 0xFFFF); }},
      {"section data past the end",
       [&](QByteArray& b) { Patch32(b, at.Section + 20, 0xFFFFFE00u); }},
      {"section size wrapping round",
       [&](QByteArray& b) {
         Patch32(b, at.Section + 16, 0xFFFFFFFFu);
         Patch32(b, at.Section + 8, 0xFFFFFFFFu);
         Patch32(b, at.Section + 20, 0x10);
       }},
      {"huge root count",
       [&](QByteArray& b) {
         Patch16(b, at.Root + 12, 0xFFFF);
         Patch16(b, at.Root + 14, 0xFFFF);
       }},
      {"huge name count", [&](QByteArray& b) { Patch16(b, at.FirstNameDir + 14, 0xFFFF); }},
      {"type entry back to the root",
       [&](QByteArray& b) { Patch32(b, at.Root + 20, 0x80000000u); }},
      {"name entry back to the root",
       [&](QByteArray& b) { Patch32(b, at.FirstNameDir + 20, 0x80000000u); }},
      {"language entry back to its own directory",
       [&](QByteArray& b) {
         Patch32(b, at.FirstLangDir + 20, 0x80000000u | uint32_t(at.FirstLangDir - at.Root));
       }},
      {"type entry past the section",
       [&](QByteArray& b) { Patch32(b, at.Root + 20, 0x8FFFFFF0u); }},
      {"data entry past the section",
       [&](QByteArray& b) { Patch32(b, at.FirstLangDir + 20, 0x7FFFFFF0u); }},
      {"data outside every section", [&](QByteArray& b) { Patch32(b, at.FirstDataEntry, 0x7000); }},
      {"data size past the section",
       [&](QByteArray& b) { Patch32(b, at.FirstDataEntry + 4, 0xFFFFFFF0u); }},
      {"type name past the section", [&](QByteArray& b) { Patch32(b, at.Root + 16, 0xFFFFFFF0u); }},
      {"name string longer than the section",
       [&](QByteArray& b) { Patch16(b, at.FirstNameString, 0xFFFF); }},
      {"INI text past the bound",
       [&](QByteArray& b) { b = withIni(QStringLiteral("[S]\r\nk=") + QString(kIni, u'v')); }},
      // Within the bound as read, twice over it as written back ("b=\r\n" for each "b\n").
      {"INI of tiny lines that grows past the bound when written back",
       [&](QByteArray& b) {
         b = withIni(QStringLiteral("[S]\n") + QStringLiteral("b\n").repeated(kIni / 2 - 3));
       }},
  };
  QTemporaryDir dir;
  const QString goodPath = WriteTemp(dir, QStringLiteral("Good.msstyles"), good);
  for (const auto& c : cases) {
    TTeThemeMsStyles theme;
    ASSERT_TRUE(theme.LoadFromFile(goodPath));
    QByteArray bytes = good;
    c.Break(bytes);
    const QString path = WriteTemp(dir, QStringLiteral("Bad.msstyles"), bytes);
    bool loaded = true;
    EXPECT_NO_THROW(loaded = theme.LoadFromFile(path)) << c.What;
    EXPECT_FALSE(loaded) << c.What;
    // The theme is still the one loaded before.
    EXPECT_EQ(theme.Object(kmsButtonPushbutton)->TextColor, RGB(7, 8, 9)) << c.What;
    EXPECT_TRUE(theme.Object(kmsButtonPushbutton)->ImageFile.IsValid()) << c.What;
  }
}

TEST(PeResources, NameListsEndAtTheEmptyStringOrTheData) {
  const struct {
    QByteArray Data;
    QStringList Names;
  } cases[] = {
      {NameList({QStringLiteral("A"), QStringLiteral("Bc")}) + Utf16(QStringLiteral("D"), false),
       {QStringLiteral("A"), QStringLiteral("Bc")}},
      {Utf16(QStringLiteral("A"), false) + QByteArray(2, '\0') + Utf16(QStringLiteral("B"), false),
       {QStringLiteral("A"), QStringLiteral("B")}},
      {Utf16(QStringLiteral("A"), false) + QByteArray(1, '\0'), {QStringLiteral("A")}},
      {QByteArray(2, '\0') + Utf16(QStringLiteral("A"), false), {}},
      {QByteArray(), {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadResourceStrings(c.Data), c.Names) << c.Data.toHex().constData();
}

TEST(BitmapDib, RefusesWhatItCannotDecodeAndKeepsTheBitmap) {
  const QByteArray good = Dib24(3, 2);  // 40-byte header, rows of 12 bytes
  auto with = [&](qint64 at, uint32_t v, int bytes = 4) {
    QByteArray b = good;
    if (bytes == 4)
      Patch32(b, at, v);
    else
      Patch16(b, at, uint16_t(v));
    return b;
  };
  const struct {
    const char* What;
    QByteArray Dib;
  } cases[] = {
      {"header cut short", good.left(39)},
      {"header size below 40", with(0, 12)},
      {"header size past the data", with(0, uint32_t(good.size() + 1))},
      {"last row cut short", good.left(good.size() - 1)},
      {"width 0", with(4, 0)},
      {"negative width", with(4, uint32_t(-3))},
      {"height 0", with(8, 0)},
      {"most negative height", with(8, 0x80000000u)},
      {"more pixels than any theme image", with(4, 0x10000)},
      {"2 bits per pixel", with(14, 2, 2)},
      {"0 bits per pixel", with(14, 0, 2)},
      {"run-length compression", with(16, 1)},
      {"embedded compression", with(16, 4)},
      {"bit fields at 24 bits", with(16, 3)},
      {"palette past the data", with(32, 0x40000000u)},
  };
  for (const auto& c : cases) {
    TteBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Fill(0x12345678);
    EXPECT_FALSE(bitmap.LoadFromDib(c.Dib)) << c.What;
    EXPECT_EQ(bitmap.Width(), 1) << c.What;
    EXPECT_EQ(bitmap.GetPixel(0, 0), 0x12345678u) << c.What;
  }
  TteBitmap bitmap;
  EXPECT_TRUE(bitmap.LoadFromDib(good));
}

}  // namespace
