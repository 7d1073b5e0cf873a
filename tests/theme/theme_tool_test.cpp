// sonolift-theme on theme files: pack a folder made here, unpack and pack again, info,
// convert, render from a packed file, and the exits of commands that cannot be done.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <ostream>
#include <vector>

#include "theme_msux.h"

namespace {

struct ToolRun {
  int exitCode = -1;
  QString out, err;
};

ToolRun Tool(const QStringList& args) {
  QProcess p;
  p.start(QStringLiteral(SONOLIFT_THEME_TOOL), args);
  p.waitForFinished(120000);
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromLocal8Bit(p.readAllStandardOutput()),
          QString::fromLocal8Bit(p.readAllStandardError())};
}

std::ostream& operator<<(std::ostream& os, const ToolRun& r) {
  return os << "exit " << r.exitCode << "\nstdout: " << r.out.toStdString()
            << "\nstderr: " << r.err.toStdString();
}

void WriteText(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
  f.write(text);
}

void SaveImage(const QString& path, const QImage& image) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  ASSERT_TRUE(image.save(path)) << path.toStdString();
}

QByteArray ReadAll(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What makes two packed themes the same: name, INI and every image with its flags.
struct ImageFacts {
  QString Name;
  int Width = 0, Height = 0;
  bool Transparent = false, AlphaBlend = false;
  std::vector<TteColor> Pixels;
  bool operator==(const ImageFacts&) const = default;
};

struct ThemeFacts {
  QString Name, Ini;
  std::vector<ImageFacts> Images;
};

ThemeFacts Facts(const QString& file) {
  TTeThemeMsStyles theme;
  EXPECT_TRUE(theme.LoadFromFile(file)) << file.toStdString();
  ThemeFacts f{theme.Name, theme.Ini().Text(), {}};
  for (int i = 0; i < theme.Images().Count(); ++i) {
    const TteBitmap& b = *theme.Images().Items(i);
    ImageFacts image{b.Name, b.Width(), b.Height(), b.Transparent, b.AlphaBlend, {}};
    if (!b.Empty()) image.Pixels.assign(b.Bits(), b.Bits() + size_t(b.Width()) * b.Height());
    f.Images.push_back(std::move(image));
  }
  return f;
}

const TteColor kMagenta = 0xFFFF00FF;

// A five-frame button with magenta corners (one of them only near magenta), a
// half-transparent check box strip, an opaque BMP and a cut-out glyph.
QImage ButtonImage() {
  QImage image(75, 115, QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(40 + x, 60 + y, 200));
  image.setPixel(0, 0, kMagenta);
  image.setPixel(74, 0, qRgb(252, 3, 251));
  return image;
}

QImage CheckImage() {
  QImage image(13, 104, QImage::Format_ARGB32);
  image.fill(qRgba(10, 20, 30, 255));
  image.setPixel(6, 6, qRgba(200, 100, 50, 128));
  return image;
}

QImage ArrowsImage() {
  QImage image(16, 64, QImage::Format_RGB32);
  image.fill(qRgb(90, 90, 120));
  return image;
}

QImage GlyphImage() {
  QImage image(9, 9, QImage::Format_ARGB32);
  image.fill(qRgba(0, 0, 0, 255));
  image.setPixel(0, 0, qRgba(1, 2, 3, 0));
  return image;
}

// Image values in another case, another extension and another folder case than the
// files, one image named twice, a BMP and an image named only as a glyph.
const char kIni[] =
    "; made by the test\r\n"
    "[SysMetrics]\r\n"
    "CaptionBarHeight=22\r\n"
    "\r\n"
    "[Button.Pushbutton]\r\n"
    "ImageFile=Blue\\button.bmp\r\n"
    "ImageCount=5\r\n"
    "ImageLayout=vertical\r\n"
    "SizingMargins=3, 3, 3, 3\r\n"
    "TextColor=0 0 0\r\n"
    "\r\n"
    "[Button.Pushbutton(Disabled)]\r\n"
    "ImageFile=BLUE\\BUTTON.BMP\r\n"
    "\r\n"
    "[button.checkbox]\r\n"
    "ImageFile=blue\\check.png\r\n"
    "ImageCount=8\r\n"
    "\r\n"
    "[ScrollBar.ArrowBtn]\r\n"
    "ImageFile=arrows.bmp\r\n"
    "ImageCount=4\r\n"
    "\r\n"
    "[Window.CloseButton]\r\n"
    "ImageFile=Blue\\button.bmp\r\n"
    "GlyphImageFile=glyph.png\r\n";

class ThemeTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tmp.isValid());
    WriteText(Path("fixture/theme.ini"), kIni);
    SaveImage(Path("fixture/Blue/Button.png"), ButtonImage());
    SaveImage(Path("fixture/Blue/check.png"), CheckImage());
    SaveImage(Path("fixture/arrows.bmp"), ArrowsImage());
    SaveImage(Path("fixture/glyph.png"), GlyphImage());
  }

  QString Path(const QString& relative) const { return tmp.filePath(relative); }

  // Packs the fixture (or another folder) and expects success.
  void PackOk(const QString& dir, const QString& out, const QStringList& extra = {}) {
    const ToolRun r = Tool(QStringList{QStringLiteral("pack")} + extra + QStringList{dir, out});
    ASSERT_EQ(r.exitCode, 0) << r;
  }
  void UnpackOk(const QString& file, const QString& dir) {
    const ToolRun r = Tool({QStringLiteral("unpack"), file, dir});
    ASSERT_EQ(r.exitCode, 0) << r;
  }

  QTemporaryDir tmp;
};

// The INI with every image value replaced by the image name it binds: two INIs that
// differ only in how they spell the same images describe the same theme.
QString BoundIni(const QString& iniText) {
  TmsuxIni ini;
  ini.SetText(iniText);
  QString text;
  for (const TmsuxIni::Section& s : ini.Sections()) {
    text += QLatin1Char('[') + s.Name + QLatin1String("]\n");
    for (const auto& [key, value] : s.Entries)
      text += key + QLatin1Char('=') +
              (key.contains(QLatin1String("ImageFile"), Qt::CaseInsensitive)
                   ? ImageFileToName(value).toUpper()
                   : value) +
              QLatin1Char('\n');
  }
  return text;
}

TEST_F(ThemeTool, PackNamesImagesByTheRuleAndKeysThemLikeALoad) {
  PackOk(Path("fixture"), Path("one.theme"));
  const ThemeFacts t = Facts(Path("one.theme"));
  EXPECT_EQ(t.Name, QStringLiteral("fixture"));
  ASSERT_EQ(t.Images.size(), 4u);
  struct Expected {
    const char* name;
    int w, h;
    bool transparent, alphaBlend;
  };
  const Expected expected[] = {
      {"BLUE_BUTTON_BMP", 75, 115, true, false},  // magenta keyed by the build
      {"BLUE_CHECK.PNG", 13, 104, false, true},   // a dot before p stays
      {"ARROWS_BMP", 16, 64, false, false},
      {"GLYPH.PNG", 9, 9, true, false},  // see-through pixels keyed at packing
  };
  for (size_t i = 0; i < std::size(expected); ++i) {
    const ImageFacts& image = t.Images[i];
    SCOPED_TRACE(expected[i].name);
    EXPECT_EQ(image.Name, QLatin1String(expected[i].name));
    EXPECT_EQ(image.Width, expected[i].w);
    EXPECT_EQ(image.Height, expected[i].h);
    EXPECT_EQ(image.Transparent, expected[i].transparent);
    EXPECT_EQ(image.AlphaBlend, expected[i].alphaBlend);
  }
  const auto& button = t.Images[0].Pixels;
  EXPECT_EQ(button[0] & 0xFFFFFF, kTeColorKey & 0xFFFFFF);
  EXPECT_EQ(button[74] & 0xFFFFFF, kTeColorKey & 0xFFFFFF) << "near magenta is keyed too";
  EXPECT_EQ(button[size_t(10) * 75 + 20], qRgb(60, 70, 200));
  EXPECT_EQ(t.Images[1].Pixels[6 * 13 + 6], qRgba(200, 100, 50, 128)) << "alpha kept";
  EXPECT_EQ(t.Images[3].Pixels[0] & 0xFFFFFF, kTeColorKey & 0xFFFFFF);
  EXPECT_EQ(BoundIni(t.Ini), BoundIni(QLatin1String(kIni)));
}

TEST_F(ThemeTool, UnpackThenPackGivesTheSameTheme) {
  PackOk(Path("fixture"), Path("one.theme"));
  UnpackOk(Path("one.theme"), Path("unpacked"));
  for (const char* file : {"theme.ini", "BLUE_BUTTON_BMP.png", "BLUE_CHECK.PNG.png",
                           "ARROWS_BMP.png", "GLYPH.PNG.png"})
    EXPECT_TRUE(QFileInfo::exists(Path(QStringLiteral("unpacked/") + QLatin1String(file)))) << file;
  const QString ini = QString::fromLatin1(ReadAll(Path("unpacked/theme.ini")));
  EXPECT_TRUE(ini.contains(QLatin1String("[Button.Pushbutton]\r\nImageFile=BLUE_BUTTON_BMP\r\n")))
      << ini.toStdString();
  // Unpacked images are plain RGBA pictures with the alpha the theme holds.
  EXPECT_EQ(QImage(Path("unpacked/BLUE_CHECK.PNG.png")).pixel(6, 6), qRgba(200, 100, 50, 128));

  PackOk(Path("unpacked"), Path("two.theme"),
         {QStringLiteral("--name"), QStringLiteral("fixture")});
  const ThemeFacts one = Facts(Path("one.theme")), two = Facts(Path("two.theme"));
  EXPECT_EQ(two.Name, one.Name);
  EXPECT_EQ(BoundIni(two.Ini), BoundIni(one.Ini));
  ASSERT_EQ(two.Images.size(), one.Images.size());
  for (size_t i = 0; i < one.Images.size(); ++i)
    EXPECT_TRUE(two.Images[i] == one.Images[i]) << one.Images[i].Name.toStdString();

  // From then on the folder and the file are each other's fixed point.
  UnpackOk(Path("two.theme"), Path("again"));
  PackOk(Path("again"), Path("three.theme"), {QStringLiteral("--name"), QStringLiteral("fixture")});
  const ThemeFacts three = Facts(Path("three.theme"));
  EXPECT_EQ(three.Ini, two.Ini);
  EXPECT_TRUE(three.Images == two.Images);
}

// Images from elsewhere may hold see-through pixels while neither keyed nor blended (a
// 32-bit library bitmap whose alpha is only 0 and 255); the flags the unpacked PNG
// carries keep packing from keying them.
TEST_F(ThemeTool, UnpackedFlagsSurviveImagesPackingWouldReadOtherwise) {
  TTeThemeMsStyles theme;
  theme.Name = QStringLiteral("elsewhere");
  theme.Ini().SetText(QStringLiteral("[Button.Pushbutton]\r\nImageFile=cut.bmp\r\n"));
  auto image = std::make_unique<TteBitmap>();
  image->SetSize(4, 3);
  image->Fill(0xFF336699);
  image->SetPixel(1, 1, 0x00102030);
  image->Name = QStringLiteral("CUT_BMP");
  theme.Images().Add(std::move(image));
  ASSERT_TRUE(theme.SaveToFile(Path("elsewhere.theme")));

  UnpackOk(Path("elsewhere.theme"), Path("unpacked"));
  PackOk(Path("unpacked"), Path("back.theme"));
  const ThemeFacts before = Facts(Path("elsewhere.theme")), after = Facts(Path("back.theme"));
  ASSERT_EQ(after.Images.size(), 1u);
  EXPECT_FALSE(after.Images[0].Transparent);
  EXPECT_TRUE(after.Images == before.Images);
}

TEST_F(ThemeTool, InfoListsSectionsAndImagesInOrder) {
  PackOk(Path("fixture"), Path("one.theme"));
  const ToolRun r = Tool({QStringLiteral("info"), Path("one.theme")});
  ASSERT_EQ(r.exitCode, 0) << r;
  EXPECT_EQ(r.out.toStdString(),
            "kind: Microsoft msstyles\n"
            "name: fixture\n"
            "sections: 6\n"
            "  [SysMetrics]\n"
            "  [Button.Pushbutton]\n"
            "  [Button.Pushbutton(Disabled)]\n"
            "  [button.checkbox]\n"
            "  [ScrollBar.ArrowBtn]\n"
            "  [Window.CloseButton]\n"
            "images: 4\n"
            "  BLUE_BUTTON_BMP 75x115 Transparent used by Button.Pushbutton, "
            "Button.Pushbutton(Disabled), Window.CloseButton\n"
            "  BLUE_CHECK.PNG 13x104 AlphaBlend used by button.checkbox\n"
            "  ARROWS_BMP 16x64 opaque used by ScrollBar.ArrowBtn\n"
            "  GLYPH.PNG 9x9 Transparent used by Window.CloseButton\n");
}

TEST_F(ThemeTool, ConvertAndNameOption) {
  PackOk(Path("fixture"), Path("one.theme"),
         {QStringLiteral("--name"), QStringLiteral("Night Blue")});
  const ToolRun r = Tool({QStringLiteral("convert"), Path("one.theme"), Path("copy.THEME")});
  ASSERT_EQ(r.exitCode, 0) << r;
  const ThemeFacts one = Facts(Path("one.theme")), copy = Facts(Path("copy.THEME"));
  EXPECT_EQ(one.Name, QStringLiteral("Night Blue"));
  EXPECT_EQ(copy.Name, one.Name);
  EXPECT_EQ(copy.Ini, one.Ini);
  EXPECT_TRUE(copy.Images == one.Images);
}

TEST_F(ThemeTool, RenderAndSheetPaintAPackedTheme) {
  PackOk(Path("fixture"), Path("one.theme"));
  ToolRun r = Tool({QStringLiteral("render"), QStringLiteral("--theme"), Path("one.theme"),
                    QStringLiteral("--op"), QStringLiteral("PaintButton"), Path("button.png")});
  ASSERT_EQ(r.exitCode, 0) << r;
  // The button's first frame, stretched: its blue shows in the middle.
  const QImage button(Path("button.png"));
  ASSERT_FALSE(button.isNull());
  EXPECT_EQ(qBlue(button.pixel(button.width() / 2, button.height() / 2)), 200);
  r = Tool(
      {QStringLiteral("sheet"), QStringLiteral("--theme"), Path("one.theme"), Path("sheet.png")});
  ASSERT_EQ(r.exitCode, 0) << r;
  EXPECT_FALSE(QImage(Path("sheet.png")).isNull());
}

// The real main window at its design size with its frame, both pages: the packed theme's
// button faces (blue 200 under little red) cover its ten buttons; Flat has none of them.
TEST_F(ThemeTool, WindowShowsTheMainWindowInTheChosenTheme) {
  PackOk(Path("fixture"), Path("one.theme"));
  const auto faces = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) {
        const QRgb c = image.pixel(x, y);
        n += qBlue(c) == 200 && qRed(c) <= 115;
      }
    return n;
  };
  ToolRun r = Tool({"window", "--theme", Path("one.theme"), Path("batch.png")});
  ASSERT_EQ(r.exitCode, 0) << r;
  const QImage batch(Path("batch.png"));
  // The client area at its design size inside the frame, a caption above it.
  EXPECT_GE(batch.width(), 522);
  EXPECT_GE(batch.height(), 410 + 18);
  EXPECT_GT(faces(batch), 10 * 81 * 15);
  r = Tool({"window", "--page", "options", "--theme", Path("one.theme"), Path("options.png")});
  ASSERT_EQ(r.exitCode, 0) << r;
  const QImage options(Path("options.png"));
  EXPECT_EQ(options.size(), batch.size());
  EXPECT_NE(options, batch);
  r = Tool({"window", "--builtin", "Flat", "--page", "batch", Path("flat.png")});
  ASSERT_EQ(r.exitCode, 0) << r;
  EXPECT_LT(faces(QImage(Path("flat.png"))), 100);
}

// A button drawn by its fill colour alone shows what the theme read and shifted.
TEST_F(ThemeTool, RenderShowsTheFirstOfARepeatedKeyAndAnExactHueShift) {
  const struct {
    const char* Keys;
    const char* Hue;
    QRgb Want;
  } cases[] = {
      {"FillColor=10 20 30\r\nFillColor=200 100 50\r\n", "0", qRgb(10, 20, 30)},
      // H x 255 = 162.5 exactly, which rounds to 162; one step on gives 0, 14, 85.
      {"FillColor=0 15 85\r\n", "1", qRgb(0, 14, 85)},
  };
  int n = 0;
  for (const auto& c : cases) {
    const QString dir = Path(QStringLiteral("fill%1").arg(n)), file = dir + QLatin1String(".theme"),
                  out = dir + QLatin1String(".png");
    ++n;
    WriteText(dir + QLatin1String("/theme.ini"), QByteArray("[Button.Pushbutton]\r\n") + c.Keys);
    PackOk(dir, file);
    const ToolRun r = Tool({QStringLiteral("render"), QStringLiteral("--theme"), file,
                            QStringLiteral("--op"), QStringLiteral("PaintButton"),
                            QStringLiteral("--hue"), QLatin1String(c.Hue), out});
    ASSERT_EQ(r.exitCode, 0) << r;
    const QImage image(out);
    ASSERT_FALSE(image.isNull()) << c.Keys;
    EXPECT_EQ(image.pixel(image.width() / 2, image.height() / 2) & 0xFFFFFF, c.Want & 0xFFFFFF)
        << c.Keys << " hue " << c.Hue;
  }
}

TEST_F(ThemeTool, PackWithMissingImages) {
  WriteText(Path("lost/theme.ini"), "[Button.Pushbutton]\r\nImageFile=Gone\\lost.bmp\r\n");
  WriteText(Path("old.theme"), "old contents");
  const ToolRun failed = Tool({QStringLiteral("pack"), Path("lost"), Path("old.theme")});
  EXPECT_EQ(failed.exitCode, 1) << failed;
  EXPECT_TRUE(failed.err.contains(QLatin1String("Gone\\lost.bmp"))) << failed;
  EXPECT_EQ(ReadAll(Path("old.theme")), QByteArray("old contents"))
      << "a failed pack keeps the old file";
  EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.theme")})
      << "no temporary file left behind";

  const ToolRun allowed = Tool(
      {QStringLiteral("pack"), QStringLiteral("--allow-missing"), Path("lost"), Path("old.theme")});
  ASSERT_EQ(allowed.exitCode, 0) << allowed;
  EXPECT_TRUE(allowed.err.contains(QLatin1String("Gone\\lost.bmp"))) << allowed;
  const ThemeFacts t = Facts(Path("old.theme"));
  EXPECT_TRUE(t.Images.empty());
  EXPECT_TRUE(t.Ini.contains(QLatin1String("ImageFile=Gone\\lost.bmp")));
}

// A theme's image names are outside bytes: one that would climb out of the folder is
// refused before anything is written.
TEST_F(ThemeTool, UnpackRefusesImageNamesLeavingTheFolder) {
  TTeThemeMsStyles theme;
  theme.Ini().SetText(QStringLiteral("[Button.Pushbutton]\r\nImageFile=x.bmp\r\n"));
  auto image = std::make_unique<TteBitmap>();
  image->SetSize(2, 2);
  image->Fill(0xFF102030);
  image->Name = QStringLiteral("../EVIL");
  theme.Images().Add(std::move(image));
  ASSERT_TRUE(theme.SaveToFile(Path("evil.theme")));
  const ToolRun r = Tool({QStringLiteral("unpack"), Path("evil.theme"), Path("out")});
  EXPECT_EQ(r.exitCode, 1) << r;
  EXPECT_TRUE(r.err.contains(QLatin1String("../EVIL"))) << r;
  EXPECT_FALSE(QFileInfo::exists(Path("EVIL.png")));
  EXPECT_FALSE(QFileInfo::exists(Path("out/theme.ini")));
}

TEST_F(ThemeTool, CommandsThatCannotBeDoneExitWithAMessage) {
  WriteText(Path("junk.theme"), QByteArray("OVMSSTL") + QByteArray(64, 'x'));
  WriteText(Path("escape/theme.ini"),
            "[Button.Pushbutton]\r\nImageFile=..\\fixture\\glyph.png\r\n");
  QDir().mkpath(Path("empty"));
  WriteText(Path("long/theme.ini"), "[Button.Pushbutton]\nTextColor=" + QByteArray(1100 * 1024, '1'));
  struct Case {
    QStringList args;
    int exitCode;
    const char* message;
  };
  const Case cases[] = {
      {{"pack"}, 2, "wants 2 file names"},
      {{"pack", Path("fixture"), Path("out.png")}, 2, "must be a .theme file"},
      {{"pack", "--colour", "red", Path("fixture"), Path("out.theme")},
       2,
       "unknown option --colour"},
      {{"pack", Path("nowhere"), Path("out.theme")}, 1, "no such folder"},
      {{"pack", Path("empty"), Path("out.theme")}, 1, "no theme.ini"},
      {{"pack", Path("escape"), Path("out.theme")}, 1, "outside the theme folder"},
      {{"pack", Path("long"), Path("out.theme")}, 1, "too long for a theme"},
      {{"unpack", Path("junk.theme"), Path("out")}, 1, "cannot read"},
      {{"unpack", Path("fixture/theme.ini"), Path("out")}, 1, "not a theme this program can read"},
      {{"info", Path("nowhere.theme")}, 1, "no such file"},
      {{"convert", Path("junk.theme"), Path("out.theme")}, 1, "cannot read"},
      {{"convert", Path("junk.theme"), Path("out.msstyles")}, 2, "must be a .theme file"},
      {{"render", "--theme", Path("junk.theme"), "--op", "PaintButton", Path("out.png")},
       2,
       "cannot read"},
      {{"sheet", "--theme", Path("nowhere.theme"), Path("out.png")}, 2, "no such file"},
      {{"window", "--builtin", "Flat", "--page", "list", Path("out.png")}, 2, "--page wants batch or options"},
      {{"window", "--builtin", "Flat", Path("out.png"), "--page"}, 2, "--page needs a value"},
      {{"window", "--builtin", "Flat", "--op", "PaintButton", Path("out.png")}, 2, "option of render only"},
      {{"window", "--theme", Path("junk.theme"), Path("out.png")}, 2, "cannot read"},
      {{"window", "--builtin", "Flat", Path("nowhere/out.png")}, 1, "cannot write"},
  };
  for (const Case& c : cases) {
    const ToolRun r = Tool(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString() << "\n" << r;
    EXPECT_TRUE(r.err.contains(QLatin1String(c.message))) << c.args.join(' ').toStdString() << "\n"
                                                          << r;
  }
  EXPECT_FALSE(QFileInfo::exists(Path("out.theme")));
  EXPECT_FALSE(QFileInfo::exists(Path("out")));
}

}  // namespace

// ---- skin files

namespace {

QString SkinFixture(const char* group, const char* file) {
  return QStringLiteral(SONOLIFT_SKIN_FIXTURES "/") + QLatin1String(group) + '/' + QLatin1String(file);
}

QJsonObject JsonInfo(const QString& file, ToolRun& run) {
  run = Tool({QStringLiteral("info"), QStringLiteral("--json"), file});
  return QJsonDocument::fromJson(run.out.toUtf8()).object();
}

}  // namespace

// info --json reports what the independent writer put into the file.
TEST_F(ThemeTool, InfoJsonDescribesASkinFile) {
  const QString file = SkinFixture("sample", "sample.mskn");
  ToolRun r;
  const QJsonObject info = JsonInfo(file, r);
  ASSERT_EQ(r.exitCode, 0) << r;
  const QJsonObject expect =
      QJsonDocument::fromJson(ReadAll(file + QStringLiteral(".json"))).object()["expect"].toObject();
  EXPECT_EQ(info["kind"].toString().toStdString(), "ZozoRizozo 3 theme");
  EXPECT_EQ(info["meta"].toObject(), expect["meta"].toObject());
  const QJsonArray images = info["images"].toArray(), wantImages = expect["images"].toArray();
  ASSERT_EQ(images.size(), wantImages.size());
  for (qsizetype i = 0; i < images.size(); ++i)
    for (const char* key : {"name", "width", "height", "transparent", "alpha_blend", "crc32"})
      EXPECT_EQ(images[i].toObject()[key], wantImages[i].toObject()[key]) << "image " << i << " " << key;
  const QJsonArray objects = info["objects"].toArray(), roots = expect["roots"].toArray();
  ASSERT_EQ(objects.size(), roots.size());
  for (qsizetype i = 0; i < objects.size(); ++i) {
    EXPECT_EQ(objects[i].toObject()["name"], roots[i].toObject()["name"]);
    EXPECT_EQ(objects[i].toObject()["class"], roots[i].toObject()["class"]);
    EXPECT_EQ(objects[i].toObject()["children"].toArray().size(), roots[i].toObject()["children"].toArray().size());
  }
  EXPECT_EQ(info["colors"].toArray().size(), 22);
  EXPECT_EQ(info["syscolors"].toArray().size(), 26);
  EXPECT_EQ(info["fonts"].toArray().size(), 66);
  EXPECT_EQ(info["colors"].toArray()[3].toDouble(), double(0xFF00000Fu)) << "system colours as 0xFF0000nn";
}

TEST_F(ThemeTool, ConvertWritesEveryVariantFromASkinFile) {
  ToolRun r;
  const QJsonObject original = JsonInfo(SkinFixture("sample", "sample.uskn"), r);
  ASSERT_EQ(r.exitCode, 0) << r;
  for (const char* out : {"a.uskn", "a.oskn", "a.xskn", "a.mskn"}) {
    r = Tool({QStringLiteral("convert"), SkinFixture("sample", "sample.uskn"), Path(QLatin1String(out))});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_EQ(JsonInfo(Path(QLatin1String(out)), r), original) << out;
    r = Tool({QStringLiteral("sheet"), QStringLiteral("--theme"), Path(QLatin1String(out)), Path("sheet.png")});
    ASSERT_EQ(r.exitCode, 0) << r;
    EXPECT_FALSE(QImage(Path("sheet.png")).isNull()) << out;
  }
  r = Tool({QStringLiteral("convert"), SkinFixture("sample", "sample.uskn"), Path("a.theme")});
  EXPECT_EQ(r.exitCode, 1) << r;
}

TEST_F(ThemeTool, SkinFilesThatDoNotLoadExitWithOne) {
  for (const char* file : {"zero-roots.uskn", "image-short-pixels.uskn", "tpf0-cut.mskn"}) {
    ToolRun r;
    JsonInfo(SkinFixture("broken", file), r);
    EXPECT_EQ(r.exitCode, 1) << file << r;
    EXPECT_TRUE(r.out.isEmpty()) << file;
    EXPECT_FALSE(r.err.isEmpty()) << file;
  }
}
