// The packed visual-style theme: its stream, value syntaxes, element objects, images
// (names, binding, transparency, frames) and the rebuild with hue and brightness.
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <limits>
#include <ostream>
#include <gtest/gtest.h>
#include <zlib.h>

#include "te_compress.h"
#include "theme_manager.h"
#include "theme_msux.h"
#include "theme_officexp.h"

namespace {

std::unique_ptr<TteBitmap> Image(const QString& name, int w, int h, TteColor fill) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h);
  b->Fill(fill);
  b->Name = name;
  return b;
}

QByteArray Save(const TTeThemeMsStyles& theme) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  EXPECT_TRUE(theme.SaveToStream(out));
  return out.data();
}

// The packed stream of a theme with this INI text and images.
QByteArray Pack(const QString& ini, std::vector<std::unique_ptr<TteBitmap>> images = {},
                const QString& name = QStringLiteral("Test")) {
  TTeThemeMsStyles theme;
  theme.Name = name;
  theme.Ini().SetText(ini);
  for (auto& image : images) theme.Images().Add(std::move(image));
  return Save(theme);
}

std::unique_ptr<TTeThemeMsStyles> Load(QByteArray bytes) {
  auto theme = std::make_unique<TTeThemeMsStyles>();
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  EXPECT_TRUE(theme->LoadFromStream(in));
  return theme;
}

std::unique_ptr<TTeThemeMsStyles> Build(const QString& ini,
                                        std::vector<std::unique_ptr<TteBitmap>> images = {}) {
  return Load(Pack(ini, std::move(images)));
}

QByteArray Body(const QByteArray& packed) {
  QByteArray z = packed.mid(7);
  QBuffer in(&z);
  in.open(QIODevice::ReadOnly);
  TDecompressionStream d(in);
  QByteArray out, buf(4096, '\0');
  while (qint64 n = d.Read(buf.data(), buf.size())) out.append(buf.constData(), n);
  return out;
}

QByteArray Int32(int32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  return QByteArray(b, 4);
}

QByteArray Packed(const QByteArray& body) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  out.write("OVMSSTL");
  TCompressionStream z(kclFastest, out);
  z.write(body);
  z.Finish();
  return out.data();
}

// ---- values

TEST(MsuxValues, Margins) {
  const struct {
    const char* Text;
    TmsuxMargins Want;
  } cases[] = {
      {"5, 5, 7, 7", {5, 7, 5, 7}},   // left, right, top, bottom
      {"1,2,3,4", {1, 3, 2, 4}},
      {"5, x, 7, 7", {0, 0, 0, 0}},
      {"5, 5, 7", {0, 0, 0, 0}},
      {"", {0, 0, 0, 0}},
      {"-2 3 4 5", {-2, 4, 3, 5}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseMargins(QLatin1String(c.Text)), c.Want) << c.Text;
}

TEST(MsuxValues, Colours) {
  const struct {
    const char* Text;
    TColor Want;
  } cases[] = {
      {"12 34", RGB(12, 34, 0)},     {"255 0 128", RGB(255, 0, 128)}, {"", RGB(0, 0, 0)},
      {"1,2,3", RGB(1, 2, 3)},       {"300 -5 7", RGB(255, 0, 7)},    {"x 9 9", RGB(0, 9, 9)},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseColor(QLatin1String(c.Text)), c.Want) << c.Text;
}

TEST(MsuxValues, WordsAndEnumerations) {
  for (const char* t : {"true", "TRUE", "1", "yes", "Yes"}) EXPECT_TRUE(ParseBool(QLatin1String(t))) << t;
  for (const char* t : {"Tr", "0", "no", "", "2"}) EXPECT_FALSE(ParseBool(QLatin1String(t))) << t;
  EXPECT_EQ(ParseInt(QStringLiteral(" 42 "), 1), 42);
  EXPECT_EQ(ParseInt(QStringLiteral("4x"), 1), 1);
  EXPECT_EQ(ParseInt(QStringLiteral("99999999999"), 1), 1);
  EXPECT_EQ(ParseSizingType(QStringLiteral("TrueSize")), kstTrueSize);
  EXPECT_EQ(ParseSizingType(QStringLiteral("BorderStretchClientTile")), kstBorderStretchClientTile);
  EXPECT_EQ(ParseSizingType(QStringLiteral("odd")), kstTile);
  EXPECT_EQ(ParseBgType(QStringLiteral("BorderFill")), kbtBorderFill);
  EXPECT_EQ(ParseBgType(QStringLiteral("none")), kbtNone);
  EXPECT_EQ(ParseBgType(QStringLiteral("image")), kbtUnset);
  EXPECT_EQ(ParseImageSelectType(QStringLiteral("Dpi, more")), kistDpi);
  EXPECT_EQ(ParseImageSelectType(QStringLiteral("SIZE")), kistSize);
  EXPECT_TRUE(ParseImageLayoutHorizontal(QStringLiteral("Horizontal")));
  EXPECT_FALSE(ParseImageLayoutHorizontal(QStringLiteral("diagonal")));
  EXPECT_EQ(ParseContentAlignment(QStringLiteral("Center")), kcaCenter);
  EXPECT_EQ(ParseTextShadowType(QStringLiteral("Continuous")), ktstContinuous);
  EXPECT_TRUE(ParseGlyphTypeImage(QStringLiteral("ImageGlyph")));
  EXPECT_EQ(ParsePoint(QStringLiteral("2, -3")), (TmsuxPoint{2, -3}));
  EXPECT_EQ(ParsePoint(QStringLiteral("2")), (TmsuxPoint{0, 0}));
}

TEST(MsuxValues, Tokenizers) {
  QString lead = QStringLiteral(" red");
  EXPECT_EQ(NextWord(lead), QStringLiteral("")) << "a leading blank ends the first word";
  QString s = QStringLiteral("red(5) ; x=y");
  EXPECT_EQ(NextWord(s), QStringLiteral("red"));
  EXPECT_EQ(s, QStringLiteral("5) ; x=y"));
  EXPECT_EQ(NextWord(s), QStringLiteral("5"));
  EXPECT_EQ(NextWord(s), QStringLiteral(""));
  QString f = QStringLiteral("a b, c ,");
  EXPECT_EQ(NextField(f), QStringLiteral("a b"));
  EXPECT_EQ(NextField(f), QStringLiteral("c"));
  EXPECT_EQ(NextField(f), QStringLiteral(""));
}

TEST(MsuxValues, Fonts) {
  const struct {
    const char* Text;
    TmsuxFont Want;
  } cases[] = {
      {"Tahoma, 9", {"Tahoma", 9, false, false, false, false}},
      {"Tahoma, 9, , Italic", {"Tahoma", 9, false, true, false, false}},
      {"Arial, 12, Bold", {"Arial", 12, true, false, false, false}},
      // Styles go by position: a third piece of any text means bold.
      {"Arial, 12, Italic", {"Arial", 12, true, false, false, false}},
      {"Verdana, 7, b, i, u, s", {"Verdana", 7, true, true, true, true}},
      {"Verdana, big", {"Verdana", 8, false, false, false, false}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseFont(QLatin1String(c.Text)), c.Want) << c.Text;
}

TEST(MsuxValues, ImageNames) {
  const struct {
    const char* File;
    const char* Name;
  } cases[] = {
      {"Blue\\button.bmp", "Blue_button_bmp"}, {"BLUE\\BUTTON.BMP", "BLUE_BUTTON_BMP"},
      {"Blue\\x.png", "Blue_x.png"},          {"a.b", "a.b"},
      {"a.bx", "a_bx"},                        {" dir\\sub\\f.Bitmap ", "dir_sub_f_Bitmap"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ImageFileToName(QLatin1String(c.File)), QLatin1String(c.Name)) << c.File;
}

TEST(MsuxIni, SectionsKeysAndText) {
  TmsuxIni ini;
  ini.SetText(QStringLiteral("stray=1\r\n[A]\r\nk = v \r\nK=second\r\n; note\r\n\r\n[b.C]\nx=1=2\n"));
  ASSERT_EQ(ini.Sections().size(), 2u);
  EXPECT_EQ(ini.ReadString(QStringLiteral("a"), QStringLiteral("K"), {}), QStringLiteral("v"))
      << "the first of a duplicated key is read";
  EXPECT_EQ(ini.ReadString(QStringLiteral("B.c"), QStringLiteral("x"), {}), QStringLiteral("1=2"));
  EXPECT_EQ(ini.ReadString(QStringLiteral("none"), QStringLiteral("x"), QStringLiteral("d")),
            QStringLiteral("d"));
  EXPECT_EQ(ini.Text(), QStringLiteral("[A]\r\nk=v\r\nK=second\r\n\r\n[b.C]\r\nx=1=2\r\n\r\n"));
}

// ---- the stream

TEST(MsuxStream, RoundTripKeepsTheBody) {
  auto a = Image(QStringLiteral("A_BMP"), 3, 2, 0xFF102030);
  a->AlphaBlend = true;
  auto b = Image(QStringLiteral("B_BMP"), 1, 1, 0xFFFFFFFF);
  std::vector<std::unique_ptr<TteBitmap>> images;
  images.push_back(std::move(a));
  images.push_back(std::move(b));
  const QByteArray packed =
      Pack(QStringLiteral("[Button.Pushbutton]\r\nImageFile=a.bmp\r\nTextColor=1 2 3\r\n"),
           std::move(images), QStringLiteral("Round"));
  EXPECT_TRUE(packed.startsWith("OVMSSTL"));
  auto theme = Load(packed);
  EXPECT_EQ(theme->Name, QStringLiteral("Round"));
  ASSERT_EQ(theme->Images().Count(), 2);
  EXPECT_TRUE(theme->Images().Items(0)->AlphaBlend);
  EXPECT_EQ(Body(Save(*theme)), Body(packed));
}

TEST(MsuxStream, BodyLayout) {
  const QByteArray body = Body(Pack(QStringLiteral("[S]\nk=v\n"), {}, QStringLiteral("N")));
  const QByteArray want = Int32(1) + "N" + Int32(12) + "[S]\r\nk=v\r\n\r\n" + Int32(0);
  EXPECT_EQ(body, want);
}

TEST(MsuxStream, NewThemeIsNamedDefaultThemeAndSavesThatName) {
  TTeThemeMsStyles fresh;
  EXPECT_EQ(fresh.Name, QStringLiteral("Default theme"));
  const QByteArray packed = Save(fresh);
  EXPECT_TRUE(Body(packed).startsWith(Int32(13) + "Default theme"));
  TTeThemeMsStyles back;
  back.Name = QStringLiteral("Other");
  QByteArray bytes = packed;
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  ASSERT_TRUE(back.LoadFromStream(in));
  EXPECT_EQ(back.Name, QStringLiteral("Default theme")) << "the name travels in the stream";
}

TEST(MsuxStream, EntryNameWinsOverTheRecordName) {
  auto image = Image(QStringLiteral("RECORD"), 2, 2, 0xFF000000);
  QBuffer record;
  record.open(QIODevice::WriteOnly);
  image->SaveToStream(record);
  const QByteArray body = Int32(1) + "N" + Int32(0) + Int32(1) + record.data() + Int32(5) +
                          "ENTRY" + QByteArray("\x01\x00", 2);
  auto theme = Load(Packed(body));
  ASSERT_EQ(theme->Images().Count(), 1);
  EXPECT_EQ(theme->Images().Items(0)->Name, QStringLiteral("ENTRY"));
  EXPECT_TRUE(theme->Images().Items(0)->Transparent);
  EXPECT_FALSE(theme->Images().Items(0)->AlphaBlend);
}

TEST(MsuxStream, WrongMagicGivesAnEmptyTheme) {
  QByteArray bytes = Pack(QStringLiteral("[Button.Pushbutton]\nTextColor=1 2 3\n"));
  bytes[0] = 'X';
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  EXPECT_FALSE(TTeThemeMsStyles::IsThemeStream(in));
  QByteArray shortBytes("OVMS");
  QBuffer shortIn(&shortBytes);
  shortIn.open(QIODevice::ReadOnly);
  EXPECT_FALSE(TTeThemeMsStyles::IsThemeStream(shortIn));
  auto theme = Load(bytes);
  EXPECT_TRUE(theme->Ini().IsEmpty());
  EXPECT_EQ(theme->Images().Count(), 0);
  EXPECT_TRUE(theme->IsEmptyTheme());
  EXPECT_EQ(theme->ObjectCount(), kMsuxSectionCount);
}

TEST(MsuxStream, HostileBodiesFailCleanly) {
  const QByteArray good = Body(Pack(QStringLiteral("[S]\nk=v\n")));
  QByteArray corrupt = Pack(QStringLiteral("[S]\nk=v\n"));
  corrupt[corrupt.size() - 2] = char(corrupt[corrupt.size() - 2] ^ 0x55);
  constexpr qsizetype kIni = TTeThemeMsStyles::kMaxIniSize;
  // Within the bound as read, twice over it as written back ("b=\r\n" for each "b\n").
  const QByteArray doubling = "[S]\n" + QByteArray("b\n").repeated(kIni / 2 - 2);
  const struct {
    const char* What;
    QByteArray Bytes;
  } cases[] = {
      {"name of 2 GiB", Packed(Int32(0x7FFFFFFF) + "N")},
      {"negative name length", Packed(Int32(-4))},
      {"negative image count", Packed(Int32(0) + Int32(0) + Int32(-1))},
      {"a billion images, none there", Packed(Int32(0) + Int32(0) + Int32(1000000000))},
      {"image count without images", Packed(Int32(0) + Int32(0) + Int32(3))},
      {"body cut short", Packed(good.left(good.size() - 2))},
      {"corrupt zlib data", corrupt},
      {"magic only", QByteArray("OVMSSTL")},
      {"INI text past the bound",
       Packed(Int32(0) + Int32(int32_t(kIni + 1)) + QByteArray(kIni + 1, 'a') + Int32(0))},
      {"INI of tiny lines that grows past the bound when written back",
       Packed(Int32(0) + Int32(int32_t(doubling.size())) + doubling + Int32(0))},
  };
  for (const auto& c : cases) {
    TTeThemeMsStyles theme;
    QByteArray bytes = c.Bytes;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    EXPECT_THROW(theme.LoadFromStream(in), EAppError) << c.What;
    // Whatever was read, the theme is built and usable, and builds again.
    EXPECT_NE(theme.Object(kmsButtonPushbutton), nullptr) << c.What;
    EXPECT_NO_THROW(theme.ResetTheme()) << c.What;
  }
}

TEST(MsuxStream, IniAtTheBoundSavesAndLoadsAgain) {
  // "[S]\r\n" + "k=" value "\r\n" + "\r\n": exactly the bound as written.
  const QString value(TTeThemeMsStyles::kMaxIniSize - 11, QLatin1Char('v'));
  auto ini = [](const QString& v) { return QStringLiteral("[S]\nk=") + v + QLatin1Char('\n'); };
  auto theme = Build(ini(value));
  EXPECT_EQ(theme->Ini().ReadString(QStringLiteral("S"), QStringLiteral("k"), {}), value);
  EXPECT_EQ(Load(Save(*theme))->Ini().Text(), theme->Ini().Text());

  TTeThemeMsStyles over;
  QByteArray bytes = Pack(ini(value + QLatin1Char('v')));
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  EXPECT_THROW(over.LoadFromStream(in), EAppError);
}

TEST(MsuxStream, TheFileExtensionDecides) {
  QTemporaryDir dir;
  auto theme = Build(QStringLiteral("[Button.Pushbutton]\nTextColor=1 2 3\n"));
  const QString upper = dir.filePath(QStringLiteral("a.THEME"));
  EXPECT_TRUE(theme->SaveToFile(upper));
  EXPECT_TRUE(QFile::exists(upper));
  const QString bmp = dir.filePath(QStringLiteral("a.bmp"));
  EXPECT_FALSE(theme->SaveToFile(bmp));
  EXPECT_FALSE(QFile::exists(bmp));
  TTeThemeMsStyles back;
  EXPECT_TRUE(back.LoadFromFile(upper));
  EXPECT_EQ(back.Name, theme->Name);
  EXPECT_EQ(back.Ini().Text(), theme->Ini().Text());
  EXPECT_FALSE(back.LoadFromFile(dir.filePath(QStringLiteral("missing.theme"))));
}

TEST(MsuxStream, ClassDescription) {
  EXPECT_EQ(TTeThemeMsStyles::GetThemeKindName(), QStringLiteral("Microsoft msstyles"));
  const TteThemeConfig config = TTeThemeMsStyles::GetThemeConfig();
  EXPECT_TRUE(config.CanLoad && config.CanSave && !config.BuiltIn);
  EXPECT_EQ(config.Filter, QStringLiteral("Microsoft msstyles (*.msstyles)|*.msstyles|RurerOraver "
                                          "themes (*.theme)|*.theme"));
  EXPECT_EQ(config.Extension, QStringLiteral("msstyles"));
}

TEST(MsuxStream, RegisteredFourthFoundByFileAndByContent) {
  TteThemeManager m;
  ASSERT_GE(m.ThemeClassCount(), 4);
  EXPECT_EQ(m.ThemeClassAt(2), &TTeOfficeXPTheme::ThemeClass());
  EXPECT_EQ(m.ThemeClassAt(3), &TTeThemeMsStyles::ThemeClass());
  // Not a built-in kind: it needs a file, so choosing it by kind name finds nothing.
  EXPECT_EQ(m.FindBuiltInThemeClass(TTeThemeMsStyles::GetThemeKindName()), nullptr);
  EXPECT_EQ(m.FindThemeClassByFile(QStringLiteral("a.Theme")), &TTeThemeMsStyles::ThemeClass());

  QByteArray bytes = Pack(QStringLiteral("[Button.Pushbutton]\nFillColor=1 2 3\n"), {},
                          QStringLiteral("Found"));
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  std::unique_ptr<TteTheme> theme = m.LoadThemeFromStream(in);
  ASSERT_NE(theme, nullptr);
  ASSERT_EQ(&theme->Class(), &TTeThemeMsStyles::ThemeClass());
  EXPECT_EQ(theme->Name, QStringLiteral("Found"));
  EXPECT_EQ(static_cast<TTeThemeMsStyles&>(*theme).Object(kmsButtonPushbutton)->FillColor,
            RGB(1, 2, 3));
}

// ---- element objects

TEST(MsuxObjects, FieldsFromKeys) {
  auto theme = Build(QStringLiteral(
      "[button.CHECKBOX]\n"
      "SizingMargins=5, 5, 7, 7\nContentMargins=1,2,3,4\nTextColor=12 34\nFillColor=1 1 1\n"
      "Transparent=yes\nBgType=BorderFill\nBorderSize=3\nImageCount=6\nImageLayout=vertical\n"
      "SizingType=Tile\nGlyphType=ImageGlyph\nTextShadowOffset=1, 2\nAccentColorHint=9 9 9\n"));
  const TmsuxThemeObject* o = theme->Object(kmsButtonCheckbox);
  ASSERT_TRUE(o->IsDefined()) << "section names match without case";
  EXPECT_EQ(o->SizingMargins, (TmsuxMargins{5, 7, 5, 7}));
  EXPECT_EQ(o->ContentMargins, (TmsuxMargins{1, 3, 2, 4}));
  EXPECT_EQ(o->TextColor, RGB(12, 34, 0));
  EXPECT_EQ(o->FillColor, RGB(1, 1, 1));
  EXPECT_TRUE(o->Transparent);
  EXPECT_EQ(o->BgType, kbtBorderFill);
  EXPECT_EQ(o->BorderSize, 3);
  EXPECT_EQ(o->ImageCount, 6);
  EXPECT_FALSE(o->ImageLayoutHorizontal);
  EXPECT_EQ(o->SizingType, kstTile);
  EXPECT_TRUE(o->GlyphTypeImage);
  EXPECT_EQ(o->TextShadowOffset, (TmsuxPoint{1, 2}));
  ASSERT_NE(o->FindProp(QStringLiteral("ACCENTCOLORHINT")), nullptr);
  EXPECT_EQ(o->FindProp(QStringLiteral("accentcolorhint"))->Value, QStringLiteral("9 9 9"));
}

TEST(MsuxObjects, MissingSectionsKeepDefaults) {
  auto theme = Build(QStringLiteral("[Window]\nBorderSize=1\n"));
  for (int i = 0; i < kMsuxSectionCount; ++i) ASSERT_NE(theme->Object(TmsuxSection(i)), nullptr);
  const TmsuxThemeObject* o = theme->Object(kmsListview);
  EXPECT_FALSE(o->IsDefined());
  EXPECT_EQ(o->BgType, kbtUnset);
  EXPECT_EQ(o->FillColor, clNone);
  EXPECT_EQ(o->SizingType, kstStretch);
  EXPECT_EQ(o->TransparentColor, RGB(255, 0, 255));
  EXPECT_EQ(o->SectionName, QStringLiteral("listview"));
  EXPECT_EQ(theme->FindObject(QStringLiteral("LISTVIEW")), o);
  EXPECT_EQ(theme->FindObject(QStringLiteral("NotListed")), nullptr);
}

TEST(MsuxObjects, MalformedNumbersKeepTheirDefaults) {
  auto theme = Build(QStringLiteral("[Progress]\nBorderSize=wide\nImageCount=many\nFillColor=1 2 3\n"));
  const TmsuxThemeObject* o = theme->Object(kmsProgress);
  EXPECT_EQ(o->BorderSize, 0);
  EXPECT_EQ(o->ImageCount, 1);
  EXPECT_EQ(o->FillColor, RGB(1, 2, 3)) << "keys after a bad one still count";
}

TEST(MsuxObjects, PropertyTableHoldsFiftyOneKeys) {
  QString ini = QStringLiteral("[tab]\n");
  for (int i = 0; i < 60; ++i) ini += QStringLiteral("Key%1=%1\n").arg(i);
  ini += QStringLiteral("BorderSize=7\nkey3=again\n");
  auto theme = Build(ini);
  const TmsuxThemeObject* o = theme->Object(kmsTab);
  EXPECT_EQ(int(o->Props().size()), TmsuxThemeObject::kMaxProps);
  EXPECT_EQ(o->FindProp(QStringLiteral("key55")), nullptr);
  EXPECT_EQ(o->BorderSize, 7) << "keys past the table still take effect";
  EXPECT_EQ(o->FindProp(QStringLiteral("key3"))->Value, QStringLiteral("3"))
      << "of a repeated key the first entry stands";
}

// ---- images

std::vector<std::unique_ptr<TteBitmap>> Images(
    std::initializer_list<std::tuple<const char*, int, int, TteColor>> list) {
  std::vector<std::unique_ptr<TteBitmap>> out;
  for (const auto& [name, w, h, fill] : list) out.push_back(Image(QLatin1String(name), w, h, fill));
  return out;
}

TEST(MsuxObjects, RepeatedKeyIsReadFromItsFirstEntry) {
  const struct {
    const char* Keys;
    std::function<bool(const TmsuxThemeObject&)> Holds;
    const char* Prop;
    const char* PropValue;
  } cases[] = {
      {"FillColor=10 20 30\nFillColor=200 100 50\n",
       [](const TmsuxThemeObject& o) { return o.FillColor == RGB(10, 20, 30); }, "fillcolor",
       "10 20 30"},
      {"FillColor=10 20 30\nfillCOLOR = 200 100 50\n",
       [](const TmsuxThemeObject& o) { return o.FillColor == RGB(10, 20, 30); }, "fillcolor",
       "10 20 30"},
      // A malformed first entry still stands: the number keeps its default.
      {"BorderSize=wide\nBorderSize=7\n",
       [](const TmsuxThemeObject& o) { return o.BorderSize == 0; }, "bordersize", "wide"},
      {"Transparent=yes\nTransparent=no\n", [](const TmsuxThemeObject& o) { return o.Transparent; },
       "transparent", "yes"},
      {"ImageFile=a.bmp\nImageFile=b.bmp\n",
       [](const TmsuxThemeObject& o) {
         return o.ImageFile.Bitmap && o.ImageFile.Bitmap->Name == QStringLiteral("A_BMP");
       },
       "imagefile", "a_bmp"},
  };
  for (const auto& c : cases) {
    auto theme = Build(QStringLiteral("[Button.Pushbutton]\n") + QLatin1String(c.Keys),
                       Images({{"A_BMP", 2, 2, 0xFF000000}, {"B_BMP", 2, 2, 0xFFFFFFFF}}));
    const TmsuxThemeObject& o = *theme->Object(kmsButtonPushbutton);
    EXPECT_TRUE(c.Holds(o)) << c.Keys;
    ASSERT_NE(o.FindProp(QLatin1String(c.Prop)), nullptr) << c.Keys;
    EXPECT_EQ(o.FindProp(QLatin1String(c.Prop))->Value, QLatin1String(c.PropValue)) << c.Keys;
    EXPECT_EQ(o.Props().size(), 1u) << c.Keys;
  }
}

TEST(MsuxImages, BindingByConvertedName) {
  auto theme = Build(QStringLiteral("[Progress.Bar]\nImageFile=BLUE\\BUTTON.BMP\nGlyphImageFile=Blue\\button.bmp\n"
                                    "[Progress.Chunk]\nImageFile=missing.bmp\n"),
                     Images({{"BLUE_BUTTON_BMP", 4, 6, 0xFF000000}}));
  const TmsuxThemeObject* bar = theme->Object(kmsProgressBar);
  ASSERT_TRUE(bar->ImageFile.IsValid());
  EXPECT_EQ(bar->ImageFile.Bitmap, theme->Images().Items(0));
  EXPECT_EQ(bar->ImageFile.Rect(), (TRect{0, 0, 4, 6}));
  EXPECT_EQ(bar->GlyphImageFile.Bitmap, theme->Images().Items(0));
  EXPECT_EQ(bar->BgType, kbtImageFile);
  EXPECT_EQ(bar->FindProp(QStringLiteral("imagefile"))->Value, QStringLiteral("BLUE_BUTTON_BMP"));
  const TmsuxThemeObject* chunk = theme->Object(kmsProgressChunk);
  EXPECT_FALSE(chunk->ImageFile.IsValid());
  EXPECT_EQ(chunk->BgType, kbtImageFile);
}

TEST(MsuxImages, GlyphAloneDoesNotMakeAnImageBackground) {
  auto theme = Build(QStringLiteral("[Spin.Up]\nGlyphImageFile=g.bmp\n"),
                     Images({{"G_BMP", 2, 2, 0xFF000000}}));
  EXPECT_EQ(theme->Object(kmsSpinUp)->BgType, kbtUnset);
}

TEST(MsuxImages, FrameSelection) {
  auto theme = Build(QStringLiteral("[Progress.Bar]\nImageFile=v.bmp\nImageCount=5\nImageLayout=vertical\n"
                                    "[Progress.Chunk]\nImageFile=s.bmp\nImageCount=4\nImageLayout=vertical\n"
                                    "[Progress.BarVert]\nImageFile=h.bmp\nImageCount=3\n"),
                     Images({{"V_BMP", 20, 115, 0xFF000000},
                             {"S_BMP", 8, 15, 0xFF000000},
                             {"H_BMP", 30, 4, 0xFF000000}}));
  const struct {
    TmsuxSection Section;
    int Frame;
    TRect Want;
  } cases[] = {
      {kmsProgressBar, 3, {0, 46, 20, 69}},  {kmsProgressBar, 9, {0, 92, 20, 115}},
      {kmsProgressBar, 1, {0, 0, 20, 23}},   {kmsProgressChunk, 4, {0, 9, 8, 12}},
      {kmsProgressBarVert, 2, {10, 0, 20, 4}},
  };
  for (const auto& c : cases) {
    TmsuxThemeObject* o = theme->Object(c.Section);
    TteBitmapLink link = o->ImageFile;
    o->SelectFrame(link, c.Frame);
    EXPECT_EQ(link.Rect(), c.Want) << MsuxSectionName(c.Section) << " frame " << c.Frame;
  }
  TmsuxThemeObject* bar = theme->Object(kmsProgressBar);
  TteBitmapLink link = bar->ImageFile;
  bar->SelectFrame(link, 2);
  bar->SelectFrame(link, 0);
  EXPECT_EQ(link.Rect(), (TRect{0, 23, 20, 46})) << "frame 0 leaves the last choice";
}

TEST(MsuxImages, SizeSelection) {
  auto theme = Build(QStringLiteral("[Button.radiobutton]\nImageFile1=a.bmp\nImageFile2=b.bmp\n"
                                    "ImageFile3=c.bmp\nImageSelectType=size\n"),
                     Images({{"A_BMP", 13, 13, 0xFF000000},
                             {"B_BMP", 16, 16, 0xFF000000},
                             {"C_BMP", 25, 25, 0xFF000000}}));
  TmsuxThemeObject* o = theme->Object(kmsButtonRadiobutton);
  const struct {
    int Width;
    TteBitmapLink* Want;
  } cases[] = {{10, &o->ImageFile1}, {17, &o->ImageFile2}, {20, &o->ImageFile2},
               {25, &o->ImageFile2}, {26, &o->ImageFile3}};
  for (const auto& c : cases)
    EXPECT_EQ(&o->SelectBySize(TRect{0, 0, c.Width, 5}), c.Want) << c.Width;
  o->ContentMargins = {3, 0, 3, 0};
  EXPECT_EQ(&o->SelectBySize(TRect{0, 0, 26, 5}), &o->ImageFile2) << "content margins narrow the room";
}

TEST(MsuxImages, TransparencyPreparation) {
  auto shared = Image(QStringLiteral("S_BMP"), 2, 1, ColorToTeColor(RGB(0, 255, 0)));
  shared->SetPixel(1, 0, 0xFF112233);
  std::vector<std::unique_ptr<TteBitmap>> images;
  images.push_back(std::move(shared));
  images.push_back(Image(QStringLiteral("M_BMP"), 2, 2, ColorToTeColor(RGB(253, 3, 250))));
  images.push_back(Image(QStringLiteral("A_BMP"), 2, 2, 0x80FFFFFF));
  images.back()->AlphaBlend = true;
  // Window is built before Window.Caption: its green key wins for the shared image.
  auto theme = Build(QStringLiteral("[Window]\nImageFile=s.bmp\nTransparentColor=0 255 0\n"
                                    "[Window.Caption]\nImageFile=s.bmp\nTransparentColor=17 34 51\n"
                                    "[Progress]\nImageFile1=m.bmp\n"
                                    "[Progress.Bar]\nImageFile=a.bmp\n"
                                    "[TrackBar]\nGlyphImageFile=m.bmp\nGlyphTransparent=true\n"),
                     std::move(images));
  const TteBitmap* s = theme->Images().Find(QStringLiteral("S_BMP"));
  EXPECT_EQ(s->GetPixel(0, 0) & 0xFFFFFF, kTeColorKey & 0xFFFFFF);
  EXPECT_EQ(s->GetPixel(1, 0), 0xFF112233u) << "the second element found the image keyed already";
  EXPECT_TRUE(theme->Object(kmsWindow)->Transparent);
  EXPECT_EQ(theme->Object(kmsWindow)->ImageTransparency, kitTransparent);
  EXPECT_TRUE(theme->Object(kmsWindowCaption)->Transparent) << "bound to a keyed image";
  const TmsuxThemeObject* progress = theme->Object(kmsProgress);
  EXPECT_TRUE(progress->Transparent) << "near-magenta within 5 per channel is keyed";
  EXPECT_EQ(progress->ImageTransparency, kitTransparent);
  const TmsuxThemeObject* bar = theme->Object(kmsProgressBar);
  EXPECT_EQ(bar->ImageTransparency, kitTransparent);
  EXPECT_TRUE(bar->Transparent);
  EXPECT_FALSE(theme->Object(kmsTrackBar)->Transparent) << "glyph keying leaves the flags";
}

// ---- the build

const char* kFullTheme =
    "[Button.Pushbutton]\nFillColorHint=10 20 30\nTextColor=1 2 3\nImageFile=p.bmp\n"
    "[Button.Pushbutton(Disabled)]\nTextColor=9 9 9\n"
    "[listview]\nFillColor=200 100 50\n"
    "[SysMetrics]\nCaptionBarHeight=30\nBorderWidth=x\nWindow=1 2 3\nBtnFace=4 5 6\n"
    "Menu=7 8 9\nCaptionFont=Verdana, 11, Bold\nCaptionText=200 0 0\nMsgBoxFont=Arial, 9, , Italic\n"
    "HighlightText=0 0 255\n";

TEST(MsuxBuild, MetricsColoursAndFonts) {
  auto theme = Build(QLatin1String(kFullTheme), Images({{"P_BMP", 2, 2, 0xFF808080}}));
  ASSERT_FALSE(theme->IsEmptyTheme());
  EXPECT_EQ(theme->CaptionBarHeight, 30);
  EXPECT_EQ(theme->BorderWidth, 4) << "malformed metric keeps its default";
  EXPECT_EQ(theme->SMCaptionBarHeight, 17);
  EXPECT_EQ(theme->Colors().GetColor(kcButtonNormal), RGB(10, 20, 30));
  for (int i : {kcList, kcTree, kcGrid, kcBarDock}) EXPECT_EQ(theme->Colors().GetColor(i), RGB(200, 100, 50));
  EXPECT_EQ(theme->SysColors().GetSysColor(SysColor(COLOR_WINDOW)), RGB(1, 2, 3));
  EXPECT_EQ(theme->SysColors().GetSysColor(SysColor(COLOR_BTNFACE)), RGB(4, 5, 6));
  EXPECT_EQ(theme->SysColors().GetSysColor(SysColor(COLOR_HIGHLIGHT)), RGB(100, 100, 100));
  EXPECT_EQ(theme->MenuColor, RGB(7, 8, 9));
  const TFont& caption = theme->Fonts().GetFont(kfCaptionTextNormal);
  EXPECT_EQ(caption.family(), QStringLiteral("Verdana"));
  EXPECT_EQ(FontSize(caption), 11);
  EXPECT_EQ(caption.Color, RGB(200, 0, 0));
  const TFont& button = theme->Fonts().GetFont(kfButtonTextHot);
  EXPECT_EQ(button.family(), QStringLiteral("Arial"));
  EXPECT_TRUE(button.italic());
  EXPECT_FALSE(button.bold());
  EXPECT_EQ(button.Color, RGB(1, 2, 3));
  EXPECT_EQ(theme->Fonts().GetFont(kfButtonTextDisabled).Color, RGB(9, 9, 9));
  EXPECT_EQ(theme->Fonts().GetFont(kfPopupMenuItemTextHot).Color, RGB(0, 0, 255));
}

TEST(MsuxBuild, WithoutPushbuttonTheBaseLookStays) {
  TteTheme base;
  auto theme = Build(QStringLiteral("[listview]\nFillColor=1 1 1\n[SysMetrics]\nWindow=1 2 3\n"),
                     Images({{"P_BMP", 1, 1, 0xFF000000}}));
  EXPECT_TRUE(theme->IsEmptyTheme());
  for (int i = 0; i < kThemeColorCount; ++i)
    EXPECT_EQ(theme->Colors().GetColor(i), base.Colors().GetColor(i)) << ThemeColorName(i);
  EXPECT_EQ(theme->SysColors().GetSysColor(SysColor(COLOR_WINDOW)),
            base.SysColors().GetSysColor(SysColor(COLOR_WINDOW)));
  EXPECT_EQ(theme->Fonts().GetFont(kfButtonTextNormal).family(),
            base.Fonts().GetFont(kfButtonTextNormal).family());
}

TEST(MsuxBuild, ShiftsStartFromThePristineCopy) {
  auto theme = Build(QLatin1String(kFullTheme), Images({{"P_BMP", 2, 2, 0xFF804020}}));
  const TteColor original = theme->Images().Items(0)->GetPixel(0, 0);
  const TColor sysWindow = theme->SysColors().GetSysColor(SysColor(COLOR_WINDOW));

  TteBitmap once;
  once.SetSize(1, 1);
  once.Fill(original);
  once.ChangeHue(40);
  once.ChangeBrightness(-10);

  theme->SetDeltaHueBrightness(40, -10);
  const TteColor shifted = theme->Images().Items(0)->GetPixel(0, 0);
  EXPECT_EQ(shifted, once.GetPixel(0, 0));
  theme->SetDeltaHue(0);
  theme->SetDeltaHue(40);
  EXPECT_EQ(theme->Images().Items(0)->GetPixel(0, 0), shifted) << "no shift on top of a shift";
  EXPECT_EQ(theme->Object(kmsButtonPushbutton)->TextColor,
            ChangeBrightnessColor(ChangeHueColor(RGB(1, 2, 3), 40), -10));
  EXPECT_EQ(theme->Object(kmsListview)->FillColor,
            ChangeBrightnessColor(ChangeHueColor(RGB(200, 100, 50), 40), -10));
  EXPECT_EQ(theme->Object(kmsButtonPushbutton)->FillColor, clNone) << "no colour stays no colour";

  theme->SetDeltaHueBrightness(0, 0);
  EXPECT_EQ(theme->Images().Items(0)->GetPixel(0, 0), original);
  EXPECT_EQ(theme->SysColors().GetSysColor(SysColor(COLOR_WINDOW)), sysWindow);
  EXPECT_EQ(theme->Object(kmsButtonPushbutton)->TextColor, RGB(1, 2, 3));
}

// ---- painting

using PixelFn = std::function<TteColor(int x, int y)>;

std::unique_ptr<TteBitmap> Drawn(const char* name, int w, int h, const PixelFn& fn) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b->SetPixel(x, y, fn(x, y));
  b->Name = QLatin1String(name);
  return b;
}

std::vector<std::unique_ptr<TteBitmap>> One(std::unique_ptr<TteBitmap> b) {
  std::vector<std::unique_ptr<TteBitmap>> v;
  v.push_back(std::move(b));
  return v;
}

constexpr TteColor kBack = 0xFF102030;  // what the target holds before a paint

struct Target {
  explicit Target(int w, int h) {
    Bitmap.SetSize(w, h);
    Bitmap.Fill(kBack);
  }
  TteColor At(int x, int y) const { return Bitmap.GetPixel(x, y) | 0xFF000000; }
  bool Untouched() const {
    for (int y = 0; y < Bitmap.Height(); ++y)
      for (int x = 0; x < Bitmap.Width(); ++x)
        if (At(x, y) != kBack) return false;
    return true;
  }
  TteBitmap Bitmap;
};

// Zone 0, 1 or 2 of a coordinate cut at two margins of a span.
int Zone(int v, int first, int span, int last) { return v < first ? 0 : v < span - last ? 1 : 2; }
TteColor ZoneColor(int frame, int zx, int zy) { return MakeTeColor(40 * frame, 60 + 80 * zx, 30 + 90 * zy); }

TEST(MsuxPaint, NineGridPieces) {
  const TRect r{10, 20, 30, 50};
  const struct {
    TmsuxMargins M;
    int Which;
    TRect Expect;
  } cases[] = {
      {{2, 3, 4, 5}, kgpLeft, {10, 23, 12, 45}},
      {{2, 3, 4, 5}, kgpTop, {12, 20, 26, 23}},
      {{2, 3, 4, 5}, kgpRight, {26, 23, 30, 45}},
      {{2, 3, 4, 5}, kgpBottom, {12, 45, 26, 50}},
      {{2, 3, 4, 5}, kgpCentre, {12, 23, 26, 45}},
      // A zero margin still gives a one-pixel strip on the rectangle's own edge.
      {{0, 0, 0, 0}, kgpLeft, {10, 20, 11, 50}},
      {{0, 0, 0, 0}, kgpTop, {10, 20, 30, 21}},
      {{0, 0, 0, 0}, kgpRight, {29, 20, 30, 50}},
      {{0, 0, 0, 0}, kgpBottom, {10, 49, 30, 50}},
      {{2, 0, 2, 0}, kgpTop, {12, 20, 28, 21}},
      {{2, 0, 2, 0}, kgpBottom, {12, 49, 28, 50}},
      // Negative margins count as zero rather than reaching outside the rectangle.
      {{-3, -3, -3, -3}, kgpLeft, {10, 20, 11, 50}},
      {{-3, -3, -3, -3}, kgpCentre, {10, 20, 30, 50}},
      {{2, 3, 4, 5}, 7, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NineGridPiece(r, c.M, c.Which), c.Expect) << c.M.Left << c.M.Top << " " << c.Which;
  // Above the origin the bottom strip still grows upwards inside the rectangle.
  EXPECT_EQ(NineGridPiece({0, -10, 8, -2}, {}, kgpBottom), TRect({0, -3, 8, -2}));
  // Margins at the ends of 32 bits clamp instead of overflowing.
  const int32_t big = std::numeric_limits<int32_t>::max();
  EXPECT_TRUE(NineGridPiece({-5, -5, 5, 5}, {big, big, big, big}, kgpCentre).IsEmpty());
  EXPECT_EQ(NineGridPiece({5, 5, 15, 15}, {big, 0, 0, 0}, kgpLeft).Right, big);
}

// A pushbutton strip of five vertical 20 x 23 frames, each cut into nine solid zones
// by the margins left 5, right 5, top 7, bottom 7.
std::unique_ptr<TTeThemeMsStyles> PushbuttonTheme(const char* sizing = "stretch") {
  return Build(QStringLiteral("[Button.Pushbutton]\nImageFile=btn.bmp\nImageCount=5\n"
                              "ImageLayout=vertical\nSizingMargins=5, 5, 7, 7\nSizingType=%1\n")
                   .arg(QLatin1String(sizing)),
               One(Drawn("BTN_BMP", 20, 115, [](int x, int y) {
                 return ZoneColor(y / 23 + 1, Zone(x, 5, 20, 5), Zone(y % 23, 7, 23, 7));
               })));
}

TEST(MsuxPaint, PushbuttonStretchesEachZoneOfTheChosenFrame) {
  auto theme = PushbuttonTheme();
  TmsuxThemeObject& button = *theme->Object(kmsButtonPushbutton);
  const struct {
    int Asked, Shown;
  } cases[] = {{2, 2}, {1, 1}, {5, 5}, {9, 5}, {0, 1}, {-4, 1}};
  for (const auto& c : cases) {
    // Each paint starts from another frame, so what shows cannot be left over.
    Target warm(4, 4);
    button.Paint(warm.Bitmap.Canvas(), {0, 0, 4, 4}, 3);
    Target t(77, 25);
    button.Paint(t.Bitmap.Canvas(), {1, 1, 76, 24}, c.Asked);
    for (int y = 0; y < 25; ++y)
      for (int x = 0; x < 77; ++x) {
        const bool inside = x >= 1 && x < 76 && y >= 1 && y < 24;
        const TteColor want =
            inside ? ZoneColor(c.Shown, Zone(x - 1, 5, 75, 5), Zone(y - 1, 7, 23, 7)) : kBack;
        ASSERT_EQ(t.At(x, y), want) << "frame " << c.Asked << " at " << x << "," << y;
      }
    ASSERT_EQ(button.LastLink, &button.ImageFile);
    EXPECT_EQ(button.LastLink->Rect(), TRect({0, 23 * (c.Shown - 1), 20, 23 * c.Shown}));
  }
}

// A 6 x 6 frame with margins of 2: its centre and edges alternate colours by column
// (top, bottom, centre) or row (left, right), so tiling (ABAB) and stretching (AABB)
// leave different pictures in a 10 x 10 paint.
TEST(MsuxPaint, SizingTypesTileOrStretchCentreAndEdges) {
  const TteColor a = 0xFF0000A0, b = 0xFF00A000, corner = 0xFFC0C000;
  auto pixel = [=](int x, int y) {
    const bool midX = x >= 2 && x < 4, midY = y >= 2 && y < 4;
    if (!midX && !midY) return corner;
    if (midX) return x == 2 ? a : b;  // centre, top and bottom: by column
    return y == 2 ? a : b;            // left and right: by row
  };
  const struct {
    const char* Sizing;
    const char* CentreRow;  // x 2..7 of row 4
    const char* TopRow;     // x 2..7 of row 0
    const char* LeftColumn; // y 2..7 of column 0
  } cases[] = {
      {"tile", "ababab", "ababab", "ababab"},
      {"stretch", "aaabbb", "aaabbb", "aaabbb"},
      {"bordertileclientstretch", "aaabbb", "ababab", "ababab"},
      {"borderstretchclienttile", "ababab", "aaabbb", "aaabbb"},
  };
  auto letters = [&](const Target& t, bool row, int fixed) {
    std::string out;
    for (int i = 2; i < 8; ++i) {
      const TteColor c = row ? t.At(i, fixed) : t.At(fixed, i);
      out += c == a ? 'a' : c == b ? 'b' : '?';
    }
    return out;
  };
  for (const auto& c : cases) {
    auto theme = Build(QStringLiteral("[Progress.Bar]\nImageFile=p.bmp\nSizingMargins=2,2,2,2\n"
                                      "SizingType=%1\n").arg(QLatin1String(c.Sizing)),
                       One(Drawn("P_BMP", 6, 6, pixel)));
    Target t(10, 10);
    theme->Object(kmsProgressBar)->Paint(t.Bitmap.Canvas(), {0, 0, 10, 10}, 1);
    EXPECT_EQ(letters(t, true, 4), c.CentreRow) << c.Sizing;
    EXPECT_EQ(letters(t, true, 0), c.TopRow) << c.Sizing;
    EXPECT_EQ(letters(t, false, 0), c.LeftColumn) << c.Sizing;
    for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {9, 0}, {8, 1}, {0, 9}, {9, 9}})
      EXPECT_EQ(t.At(x, y), corner) << c.Sizing << " corner " << x << "," << y;
  }
}

// A clip rectangle lets through only the pieces whose destination holds all of it;
// corners always come.
TEST(MsuxPaint, ClipKeepsPiecesThatHoldIt) {
  const TteColor centre = 0xFF0000A0, edge = 0xFF00A000, corner = 0xFFC0C000;
  auto theme = Build(QStringLiteral("[Progress.Bar]\nImageFile=p.bmp\nSizingMargins=2,2,2,2\n"
                                    "SizingType=stretch\n[TrackBar.Thumb]\nImageFile=p.bmp\n"
                                    "SizingType=truesize\n"),
                     One(Drawn("P_BMP", 6, 6, [=](int x, int y) {
                       const bool midX = x >= 2 && x < 4, midY = y >= 2 && y < 4;
                       return midX && midY ? centre : midX || midY ? edge : corner;
                     })));
  const struct {
    TRect Clip;
    TteColor Centre, Top, Corner;  // at (4, 4), (4, 0), (0, 0)
  } cases[] = {
      {{}, centre, edge, corner},
      {{3, 3, 5, 5}, centre, kBack, corner},
      {{3, 0, 5, 2}, kBack, edge, corner},
      {{0, 0, 10, 10}, kBack, kBack, corner},
  };
  for (const auto& c : cases) {
    Target t(10, 10);
    theme->Object(kmsProgressBar)->Paint(t.Bitmap.Canvas(), {0, 0, 10, 10}, 1, c.Clip);
    EXPECT_EQ(t.At(4, 4), c.Centre) << c.Clip.Left << "," << c.Clip.Top;
    EXPECT_EQ(t.At(4, 0), c.Top) << c.Clip.Left << "," << c.Clip.Top;
    EXPECT_EQ(t.At(0, 0), c.Corner) << c.Clip.Left << "," << c.Clip.Top;
  }
  // A true-size image lands at (2, 2)-(8, 8).
  for (auto [clip, drawn] : {std::pair{TRect{3, 3, 7, 7}, true}, {TRect{1, 3, 7, 7}, false}}) {
    Target t(10, 10);
    theme->Object(kmsTrackBarThumb)->Paint(t.Bitmap.Canvas(), {0, 0, 10, 10}, 1, clip);
    EXPECT_EQ(t.Untouched(), !drawn) << clip.Left;
  }
}

TEST(MsuxPaint, TrueSizeCentresAndTilingAlongOneAxisDrawsNoImage) {
  auto pixel = [](int x, int y) { return MakeTeColor(20 * x + 10, 20 * y + 10, 77); };
  const struct {
    const char* Sizing;
    TRect Dest;
    int Dx, Dy;  // where the image's (0, 0) lands; no image when Dx is 99
  } cases[] = {
      {"truesize", {0, 0, 10, 10}, 2, 2},
      {"truesize", {1, 0, 10, 9}, 2, 1},   // odd leftovers round down
      {"truesize", {0, 0, 3, 2}, -1, -2},  // larger than the room: -1.5 rounds toward zero
      {"tilevertical", {0, 0, 10, 10}, 99, 0},
      {"tilehorizontal", {0, 0, 10, 10}, 99, 0},
  };
  for (const auto& c : cases) {
    auto theme = Build(QStringLiteral("[TrackBar.Thumb]\nImageFile=t.bmp\nSizingType=%1\n")
                           .arg(QLatin1String(c.Sizing)),
                       One(Drawn("T_BMP", 6, 6, pixel)));
    TmsuxThemeObject& thumb = *theme->Object(kmsTrackBarThumb);
    Target t(10, 10);
    thumb.Paint(t.Bitmap.Canvas(), c.Dest, 1);
    EXPECT_EQ(thumb.LastLink, &thumb.ImageFile) << c.Sizing;
    if (c.Dx == 99) {
      EXPECT_TRUE(t.Untouched()) << c.Sizing;
      continue;
    }
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) {
        const int sx = x - c.Dx, sy = y - c.Dy;
        const TteColor want = sx >= 0 && sx < 6 && sy >= 0 && sy < 6 ? pixel(sx, sy) : kBack;
        ASSERT_EQ(t.At(x, y), want) << c.Sizing << " " << x << "," << y;
      }
  }
}

// Key-coloured pixels show what lies beneath when the element is transparent; an
// opaque element draws the image as it is, and the shared image keeps its flags.
TEST(MsuxPaint, TransparencyKeying) {
  const TteColor solid = 0xFF2040C0;
  auto pixel = [=](int x, int y) { return (x + y) % 2 ? 0xFFFF00FFu : solid; };
  const struct {
    const char* Ini;
    TmsuxSection Section;
    bool HolesShowBack;
  } cases[] = {
      {"[Progress.Bar]\nImageFile=k.bmp\nSizingType=stretch\n", kmsProgressBar, true},
      {"[Progress.Bar]\nImageFile=k.bmp\nSizingType=tile\nSizingMargins=1,1,1,1\n", kmsProgressBar,
       true},
      {"[Progress.Bar]\nImageFile=k.bmp\nSizingType=truesize\n", kmsProgressBar, true},
      // Another key colour finds nothing, so the magenta pixels are plain colour.
      {"[Progress.Bar]\nImageFile=k.bmp\nTransparentColor=0 255 0\n", kmsProgressBar, false},
      // Built before a section that keys the shared image: opaque, so the keyed
      // pixels come out in the key colour itself.
      {"[Progress.Bar]\nImageFile=k.bmp\nTransparentColor=0 255 0\n"
       "[TrackBar]\nImageFile=k.bmp\n", kmsProgressBar, false},
  };
  for (const auto& c : cases) {
    auto theme = Build(QLatin1String(c.Ini), One(Drawn("K_BMP", 4, 4, pixel)));
    TmsuxThemeObject& e = *theme->Object(c.Section);
    TteBitmap& image = *e.ImageFile.Bitmap;
    const bool transparent = image.Transparent;
    Target t(4, 4);
    e.Paint(t.Bitmap.Canvas(), {0, 0, 4, 4}, 1);
    EXPECT_EQ(t.At(0, 0), solid) << c.Ini;
    const TteColor hole = t.At(1, 0);
    if (c.HolesShowBack) EXPECT_EQ(hole, kBack) << c.Ini;
    else EXPECT_NE(hole, kBack) << c.Ini;
    EXPECT_EQ(image.Transparent, transparent) << c.Ini;
    EXPECT_FALSE(image.AlphaBlend) << c.Ini;
  }
}

TEST(MsuxPaint, BackgroundKinds) {
  const QString glyph = QStringLiteral("GlyphType=imageglyph\nGlyphImageFile=g.bmp\n");
  const struct {
    QString Ini;
    const char* Rows;  // the middle row of an 8 x 8 paint: r border, f fill, g glyph, . untouched
  } cases[] = {
      {QStringLiteral("FillColor=0 0 255\n"), "ffffffff"},
      {QStringLiteral("Bgtype=borderfill\nBorderSize=2\nBorderColor=255 0 0\nFillColor=0 0 255\n"),
       "rrffffrr"},
      {QStringLiteral("Bgtype=borderfill\nBorderSize=2000000000\nBorderColor=255 0 0\n"
                      "FillColor=0 0 255\n"), "rrrrrrrr"},
      {QStringLiteral("Bgtype=borderfill\nBorderSize=-1\nBorderColor=255 0 0\nFillColor=0 0 255\n"),
       "ffffffff"},
      {QStringLiteral("FillColor=0 0 255\n") + glyph, "fffggfff"},
      {QStringLiteral("Bgtype=borderfill\nBorderSize=1\nBorderColor=255 0 0\nFillColor=0 0 255\n") +
           glyph, "rffggffr"},
      // Nothing at all, not even the glyph.
      {QStringLiteral("Bgtype=none\nFillColor=0 0 255\n") + glyph, "........"},
      // An image that is not there paints nothing, glyph included.
      {QStringLiteral("ImageFile=missing.bmp\nFillColor=0 0 255\n") + glyph, "........"},
  };
  const TteColor g = 0xFF33AA55;
  for (const auto& c : cases) {
    // The glyph is placed after any Bgtype key so its image does not turn the element
    // into an image element.
    auto theme = Build(QStringLiteral("[status]\n") + c.Ini,
                       One(Drawn("G_BMP", 2, 2, [=](int, int) { return g; })));
    Target t(8, 8);
    theme->Object(kmsStatus)->Paint(t.Bitmap.Canvas(), {0, 0, 8, 8}, 1);
    std::string row;
    for (int x = 0; x < 8; ++x) {
      const TteColor p = t.At(x, 3);
      row += p == 0xFFFF0000 ? 'r' : p == 0xFF0000FF ? 'f' : p == g ? 'g' : p == kBack ? '.' : '?';
    }
    EXPECT_EQ(row, c.Rows) << c.Ini.toStdString();
  }
}

// A close button: its background from ImageFile, a glyph chosen by size from
// ImageFile1..3 centred over it, both showing the same frame.
TEST(MsuxPaint, GlyphChosenBySizeOverTheBackground) {
  const TteColor back1 = 0xFF101080, back2 = 0xFF1010C0;
  auto strip = [](const char* name, int side, TteColor f1, TteColor f2) {
    return Drawn(name, side, side * 2, [=](int x, int y) {
      if (x == 0 && y % side == 0) return 0xFFFF00FFu;  // keyed when GlyphTransparent
      return y < side ? f1 : f2;
    });
  };
  std::vector<std::unique_ptr<TteBitmap>> images;
  images.push_back(strip("BG_BMP", 4, back1, back2));
  images.push_back(strip("SMALL_BMP", 2, 0xFF20A020, 0xFF20C020));
  images.push_back(strip("LARGE_BMP", 4, 0xFFA02020, 0xFFC02020));
  const QString ini = QStringLiteral(
      "[Window.CloseButton]\nImageFile=bg.bmp\nImageFile1=small.bmp\nImageFile2=large.bmp\n"
      "ImageCount=2\nImageLayout=vertical\nSizingType=stretch\nImageSelectType=size\n"
      "GlyphType=imageglyph\n%1");
  const struct {
    const char* Extra;
    int Width;     // of the destination (10 high)
    int Frame;     // asked
    int Side;      // of the glyph chosen
    TteColor Mid;  // its colour at the centre
  } cases[] = {
      {"", 10, 2, 4, 0xFFC02020},  // large fits: 4 < 10
      {"", 4, 2, 2, 0xFF20C020},   // large does not fit: small
      {"ContentMargins=4,4,0,0\n", 10, 1, 2, 0xFF20A020},  // room 2: small
      {"", 10, 7, 4, 0xFFC02020},  // the frame was clamped by the background
  };
  for (const auto& c : cases) {
    std::vector<std::unique_ptr<TteBitmap>> copy;
    for (auto& im : images) {
      auto b = std::make_unique<TteBitmap>();
      b->Assign(*im);
      copy.push_back(std::move(b));
    }
    auto theme = Build(ini.arg(QLatin1String(c.Extra)), std::move(copy));
    TmsuxThemeObject& e = *theme->Object(kmsWindowCloseButton);
    // A glyph image that is not keyed yet is drawn keyed when the element asks for it.
    for (TteBitmapLink* link : {&e.ImageFile1, &e.ImageFile2}) link->Bitmap->Transparent = false;
    e.GlyphTransparent = true;
    Target t(c.Width, 10);
    e.Paint(t.Bitmap.Canvas(), {0, 0, c.Width, 10}, c.Frame);
    const TteColor back = std::min(c.Frame, 2) == 1 ? back1 : back2;
    EXPECT_EQ(t.At(c.Width / 2, 5), c.Mid) << c.Extra << c.Width;
    EXPECT_EQ(t.At(c.Width - 1, 9), back) << "background " << c.Width;
    const int gx = (c.Width - c.Side) / 2, gy = (10 - c.Side) / 2;
    EXPECT_EQ(t.At(gx, gy), back) << "the glyph's keyed corner " << c.Width;
    EXPECT_EQ(t.At(gx + 1, gy + 1), c.Mid) << c.Width;
    EXPECT_EQ(e.LastLink, &e.ImageFile);
    EXPECT_TRUE((c.Side == 4 ? e.ImageFile2 : e.ImageFile1).Bitmap->Transparent) << "stays set";
  }
}

// ---- theme operations

// Every listed section with a strip of 16 vertical 2 x 2 frames, each a solid colour
// naming its section and frame, so one pixel of a paint tells which was shown.
TteColor ElementColor(int section, int frame) { return MakeTeColor(2 * section + 1, 15 * frame, 0x4D); }

std::unique_ptr<TTeThemeMsStyles> CodedTheme(int leaveOut = -1) {
  QString ini;
  std::vector<std::unique_ptr<TteBitmap>> images;
  for (int i = 0; i < kMsuxSectionCount; ++i) {
    if (i == leaveOut) continue;
    ini += QStringLiteral("[%1]\nImageFile=s%2.bmp\nImageCount=16\nImageLayout=vertical\n"
                          "SizingType=stretch\n").arg(QLatin1String(MsuxSectionName(i))).arg(i);
    auto b = Drawn("", 2, 32, [i](int, int y) { return ElementColor(i, y / 2 + 1); });
    b->Name = QStringLiteral("S%1_BMP").arg(i);
    images.push_back(std::move(b));
  }
  return Build(ini, std::move(images));
}

struct Shown {
  int Section = -1, Frame = 0;  // -1: nothing painted
  friend bool operator==(const Shown&, const Shown&) = default;
  friend std::ostream& operator<<(std::ostream& o, const Shown& s) {
    return o << (s.Section >= 0 ? MsuxSectionName(s.Section) : "nothing") << " frame " << s.Frame;
  }
};

Shown Decode(TteColor c) {
  if ((c & 0xFF) != 0x4D) return {};
  return {int((c >> 16) & 0xFF) / 2, int((c >> 8) & 0xFF) / 15};
}

enum class Op {
  Button, CheckBox, ScrollPart, Progress, HeaderSection, Header, ScrollTrack, TrackBarTrack,
  TrackBarThumb, StatusBar, StatusPanel, EditButton, TabPage, Tab, TabScroll, Dock, ToolButton,
  CollapsePanel, CollapseCaption, CollapseButton, List, Tree, Grid, MenuItem, ListCheck,
};

Shown PaintOp(TTeThemeMsStyles& theme, Op op, uint8_t kind, uint8_t state) {
  Target t(8, 8);
  TCanvas& c = t.Bitmap.Canvas();
  const TRect r{0, 0, 8, 8};
  const QString def = QStringLiteral("default");
  switch (op) {
    case Op::Button: theme.PaintButton(kind, c, TteButtonInfo{r, state}, def); break;
    case Op::CheckBox: theme.PaintCheckBox(kind, c, TteCheckBoxInfo{r, state}, def); break;
    // kind is the part here; the scroll bar's own kind is 0.
    case Op::ScrollPart: theme.PaintScrollBarPart(0, c, TteScrollPartInfo{r, kind, state}, def); break;
    case Op::Progress: theme.PaintProgressBar(0, c, TteProgressInfo{r, kind, 0}, def); break;
    case Op::HeaderSection: theme.PaintHeaderSection(0, c, TteHeaderSectionInfo{r, 0, state}, def); break;
    case Op::Header: theme.PaintHeader(0, c, r, def); break;
    case Op::ScrollTrack: theme.PaintScrollBarTrack(0, c, TteScrollPartInfo{r, kind, state}, def); break;
    // For the word-state operations kind is the low byte (part or direction), state the high.
    case Op::TrackBarTrack: theme.PaintTrackBarTrack(0, c, TteStateWordInfo{r, kind, state}, def); break;
    case Op::TrackBarThumb: theme.PaintTrackBarThumb(0, c, TteStateWordInfo{r, kind, state}, def); break;
    case Op::StatusBar: theme.PaintStatusBar(0, c, r, def); break;
    case Op::StatusPanel: theme.PaintStatusPanel(0, c, TteStatusPanelInfo{r, kind}, def); break;
    case Op::EditButton: theme.PaintEditButton(0, c, TteEditButtonInfo{r, state, 0}, def); break;
    case Op::TabPage: theme.PaintTabPage(0, c, r, def); break;
    case Op::Tab: theme.PaintTab(0, c, TteTabInfo{r, kind, state}, def); break;
    case Op::TabScroll: theme.PaintTabScrollButton(0, c, TteStateWordInfo{r, kind, state}, def); break;
    case Op::Dock: theme.PaintDock(0, c, r, def); break;
    case Op::ToolButton: theme.PaintToolButton(0, c, TteToolButtonInfo{r, kind, state}, def); break;
    case Op::CollapsePanel: theme.PaintCollapsePanel(0, c, r, def); break;
    case Op::CollapseCaption: theme.PaintCollapsePanelCaption(0, c, TteRectByteInfo{r, 0}, def); break;
    case Op::CollapseButton:
      theme.PaintCollapsePanelButton(0, c, TteStateWordInfo{r, kind, state}, def);
      break;
    case Op::List: theme.PaintList(0, c, r, def); break;
    case Op::Tree: theme.PaintTree(0, c, r, def); break;
    case Op::Grid: theme.PaintGrid(0, c, r, def); break;
    case Op::MenuItem: theme.PaintMenuItem(0, c, TteMenuItemInfo{r, kind, state}, def); break;
    case Op::ListCheck: {
      TteListCheckInfo check;
      check.Rect = r;
      check.CheckKind = kind;
      theme.PaintListItemCheck(0, c, TteListItemInfo{r, 0}, check, def);
      break;
    }
  }
  const Shown mid = Decode(t.At(4, 4));
  if (mid.Section < 0) {
    EXPECT_TRUE(t.Untouched()) << "a paint that shows no element paints nothing";
  }
  return mid;
}

TEST(MsuxOperations, StatesPickElementsAndFrames) {
  auto theme = CodedTheme();
  const struct {
    Op Operation;
    uint8_t Kind, State;
    Shown Expect;
  } cases[] = {
      {Op::Button, 0, 0, {kmsButtonPushbutton, 1}},
      {Op::Button, 0, 1, {kmsButtonPushbutton, 2}},
      {Op::Button, 0, 4, {kmsButtonPushbutton, 5}},
      {Op::Button, 0, 5, {kmsButtonPushbutton, 2}},
      {Op::Button, 0, 6, {kmsButtonPushbutton, 5}},
      {Op::Button, 0, 9, {kmsButtonPushbutton, 4}},
      {Op::Button, 0, 11, {kmsButtonPushbutton, 3}},
      {Op::Button, 0, 12, {}},
      {Op::Button, 3, 2, {kmsButtonPushbutton, 3}},
      {Op::Button, 4, 3, {kmsSpinUp, 4}},
      {Op::Button, 5, 7, {kmsSpinDown, 2}},
      {Op::Button, 6, 8, {kmsSpinDownhorz, 3}},
      {Op::Button, 7, 10, {kmsSpinUphorz, 3}},
      {Op::Button, 8, 0, {kmsButtonPushbutton, 1}},
      {Op::CheckBox, 0, 0, {kmsButtonCheckbox, 5}},
      {Op::CheckBox, 0, 3, {kmsButtonCheckbox, 8}},
      {Op::CheckBox, 0, 4, {kmsButtonCheckbox, 5}},
      {Op::CheckBox, 0, 5, {kmsButtonCheckbox, 1}},
      {Op::CheckBox, 0, 9, {kmsButtonCheckbox, 1}},
      {Op::CheckBox, 0, 13, {kmsButtonCheckbox, 12}},
      {Op::CheckBox, 0, 14, {kmsButtonCheckbox, 9}},
      {Op::CheckBox, 0, 15, {}},
      {Op::CheckBox, 1, 8, {kmsButtonRadiobutton, 4}},
      {Op::CheckBox, 1, 10, {kmsButtonRadiobutton, 9}},
      {Op::CheckBox, 2, 0, {}},
      {Op::ScrollPart, 0, 0, {kmsScrollBarArrowBtn, 1}},
      {Op::ScrollPart, 0, 1, {kmsScrollBarArrowBtn, 3}},
      {Op::ScrollPart, 0, 2, {kmsScrollBarArrowBtn, 2}},
      {Op::ScrollPart, 1, 3, {kmsScrollBarArrowBtn, 8}},
      {Op::ScrollPart, 2, 0, {kmsScrollBarArrowBtn, 1}},
      {Op::ScrollPart, 3, 1, {kmsScrollBarArrowBtn, 3}},
      {Op::ScrollPart, 4, 0, {kmsScrollBarArrowBtn, 9}},
      {Op::ScrollPart, 5, 3, {kmsScrollBarArrowBtn, 16}},
      {Op::ScrollPart, 5, 4, {}},
      // Thumbs: their 2 x 2 gripper fits, and covers them showing the thumb's frame.
      {Op::ScrollPart, 8, 1, {kmsScrollBarGripperHorz, 3}},
      {Op::ScrollPart, 9, 3, {kmsScrollBarGripperVert, 4}},
      {Op::Progress, 0, 0, {kmsProgressBarVert, 1}},
      {Op::Progress, 1, 0, {kmsProgressBar, 1}},
      {Op::Progress, 2, 0, {kmsProgressChunkVert, 1}},
      {Op::Progress, 3, 0, {kmsProgressChunk, 1}},
      {Op::Progress, 4, 0, {kmsProgressChunkVert, 1}},
      {Op::Progress, 5, 0, {kmsProgressChunk, 1}},
      {Op::Progress, 6, 0, {}},
      {Op::HeaderSection, 0, 0, {kmsHeaderHeaderitem, 1}},
      {Op::HeaderSection, 0, 1, {kmsHeaderHeaderitem, 3}},
      {Op::HeaderSection, 0, 3, {kmsHeaderHeaderitem, 2}},
      {Op::HeaderSection, 0, 5, {kmsHeaderHeaderitem, 3}},
      {Op::HeaderSection, 0, 6, {kmsHeaderHeaderitem, 1}},
      {Op::HeaderSection, 0, 7, {}},
      {Op::Header, 0, 0, {kmsHeader, 1}},
      {Op::ScrollTrack, 0, 0, {kmsScrollBarUpperTrackVert, 1}},
      {Op::ScrollTrack, 1, 2, {kmsScrollBarUpperTrackHorz, 1}},
      {Op::ScrollTrack, 2, 0, {}},
      {Op::TrackBarTrack, 0, 0, {kmsTrackBarTrackVert, 1}},
      {Op::TrackBarTrack, 1, 0, {kmsTrackBarTrack, 1}},
      {Op::TrackBarTrack, 2, 0, {}},
      {Op::TrackBarThumb, 0, 0, {kmsTrackBarThumbVert, 1}},
      {Op::TrackBarThumb, 1, 4, {kmsTrackBarThumbRight, 5}},
      {Op::TrackBarThumb, 2, 1, {kmsTrackBarThumbLeft, 2}},
      {Op::TrackBarThumb, 3, 2, {kmsTrackBarThumb, 3}},
      {Op::TrackBarThumb, 4, 3, {kmsTrackBarThumbBottom, 4}},
      {Op::TrackBarThumb, 5, 0, {kmsTrackBarThumbTop, 1}},
      {Op::TrackBarThumb, 5, 5, {}},
      {Op::TrackBarThumb, 6, 0, {}},
      {Op::StatusBar, 0, 0, {kmsStatus, 1}},
      {Op::StatusPanel, 0, 0, {kmsStatusPane, 1}},
      {Op::StatusPanel, 1, 0, {kmsStatusPane, 1}},
      {Op::StatusPanel, 2, 0, {kmsStatusGripperpane, 1}},
      {Op::StatusPanel, 3, 0, {kmsStatusGripper, 1}},
      {Op::StatusPanel, 4, 0, {}},
      {Op::EditButton, 0, 0, {kmsComboboxDropDownButton, 1}},
      {Op::EditButton, 0, 2, {kmsComboboxDropDownButton, 3}},
      {Op::EditButton, 0, 3, {kmsComboboxDropDownButton, 1}},
      {Op::EditButton, 0, 4, {kmsComboboxDropDownButton, 4}},
      {Op::EditButton, 0, 5, {}},
      {Op::TabPage, 0, 0, {kmsTabPane, 1}},
      {Op::Tab, 0, 0, {kmsTabToptabitem, 1}},
      {Op::Tab, 2, 2, {kmsTabToptabitem, 4}},
      {Op::Tab, 1, 3, {kmsTabToptabitemleftedge, 5}},
      {Op::Tab, 1, 5, {kmsTabToptabitemleftedge, 4}},
      {Op::Tab, 0, 6, {}},
      {Op::TabScroll, 0, 0, {kmsScrollBarArrowBtn, 1}},
      {Op::TabScroll, 2, 1, {kmsScrollBarArrowBtn, 6}},
      {Op::TabScroll, 1, 2, {kmsScrollBarArrowBtn, 11}},
      {Op::TabScroll, 4, 3, {kmsScrollBarArrowBtn, 16}},
      {Op::TabScroll, 3, 3, {kmsScrollBarArrowBtn, 4}},
      {Op::TabScroll, 4, 4, {}},
      {Op::Dock, 0, 0, {kmsRebar, 1}},
      {Op::ToolButton, 0, 0, {kmsToolbarButton, 1}},
      {Op::ToolButton, 6, 4, {kmsToolbarButton, 5}},
      {Op::ToolButton, 7, 5, {kmsToolbarButton, 5}},
      {Op::ToolButton, 8, 6, {kmsToolbarButton, 6}},
      {Op::ToolButton, 0, 7, {kmsToolbarButton, 3}},
      {Op::ToolButton, 0, 8, {}},
      {Op::ToolButton, 1, 1, {kmsToolbarSeparator, 2}},
      {Op::ToolButton, 2, 0, {}},
      {Op::ToolButton, 3, 2, {kmsToolbarSplitbutton, 3}},
      {Op::ToolButton, 4, 3, {kmsToolbarSplitbuttondropdown, 4}},
      {Op::ToolButton, 5, 0, {kmsToolbarDropdownbutton, 1}},
      {Op::ToolButton, 13, 6, {kmsRebarGripper, 1}},
      {Op::ToolButton, 14, 9, {kmsRebarGrippervert, 1}},
      {Op::ToolButton, 15, 0, {}},
      {Op::CollapsePanel, 0, 0, {kmsExplorerbarSpecialGroupBackground, 1}},
      {Op::CollapseCaption, 0, 0, {kmsExplorerbarNormalGroupHead, 1}},
      {Op::CollapseButton, 1, 0, {kmsExplorerbarNormalGroupCollapse, 1}},
      {Op::CollapseButton, 2, 2, {kmsExplorerbarNormalGroupExpand, 3}},
      {Op::CollapseButton, 3, 1, {kmsExplorerbarHeaderclose, 2}},
      {Op::CollapseButton, 1, 3, {kmsExplorerbarNormalGroupCollapse, 1}},
      {Op::CollapseButton, 1, 4, {}},
      {Op::CollapseButton, 0, 0, {}},
      {Op::List, 0, 0, {kmsListview, 1}},
      {Op::Tree, 0, 0, {kmsListview, 1}},
      {Op::Grid, 0, 0, {kmsListview, 1}},
      {Op::MenuItem, kmikMinimize, 0, {kmsWindowMDIMinButton, 1}},
      {Op::MenuItem, kmikRestore, 1, {kmsWindowMDIRestoreButton, 2}},
      {Op::MenuItem, kmikClose, 2, {kmsWindowMDICloseButton, 2}},
      {Op::MenuItem, kmikClose, 3, {kmsWindowMDICloseButton, 3}},
      {Op::MenuItem, kmikClose, 4, {}},
      {Op::MenuItem, 10, 0, {}},
      {Op::ListCheck, klckChecked, 0, {kmsButtonCheckbox, 5}},
      {Op::ListCheck, klckUnchecked, 0, {kmsButtonCheckbox, 1}},
      {Op::ListCheck, klckMixed, 0, {kmsButtonCheckbox, 9}},
      {Op::ListCheck, 4, 0, {}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PaintOp(*theme, c.Operation, c.Kind, c.State), c.Expect)
        << "operation " << int(c.Operation) << " kind/part " << int(c.Kind) << " state " << int(c.State);
  // Without a header-close section the collapse panel's close button is the window's.
  auto noClose = CodedTheme(kmsExplorerbarHeaderclose);
  EXPECT_EQ(PaintOp(*noClose, Op::CollapseButton, 3, 2), Shown({kmsWindowCloseButton, 3}));
  // Only the scroll bar's own kind 0 paints parts.
  Target t(8, 8);
  theme->PaintScrollBarPart(1, t.Bitmap.Canvas(), TteScrollPartInfo{{0, 0, 8, 8}, 0, 0}, QString());
  EXPECT_TRUE(t.Untouched());
}

TEST(MsuxOperations, QuestionsFollowTheElements) {
  auto empty = Build(QString());
  auto coded = CodedTheme();
  const QString def = QStringLiteral("default");
  for (uint8_t kind : {0, 4, 5, 6, 7}) {
    EXPECT_TRUE(empty->HasButton(kind, def)) << "elements always exist";
    EXPECT_TRUE(coded->HasButton(kind, def));
  }
  EXPECT_TRUE(empty->HasCheckBox(0, def) && empty->HasScrollBar(0, def) && empty->HasProgressBar(0, def));
  // Header and edit need keys of their own.
  EXPECT_FALSE(empty->HasHeader(0, def));
  EXPECT_FALSE(empty->HasEdit(0, def));
  EXPECT_FALSE(empty->HasTextArea(0, def) || empty->HasTrackBar(0, def) ||
               empty->HasStatusBar(0, def) || empty->HasTab(0, def));
  EXPECT_TRUE(coded->HasTextArea(0, def) && coded->HasTrackBar(0, def) &&
              coded->HasStatusBar(0, def) && coded->HasTab(0, def));
  EXPECT_TRUE(coded->HasTextAreaPart(0, def) && coded->IsTrackBarTransparent(0, def));
  EXPECT_FALSE(coded->IsTextAreaTransparent(0, def) || coded->IsTextAreaPartTransparent(0, def));
  const TRect r{10, 20, 40, 50};
  EXPECT_EQ(coded->StatusBarContentRect(0, r, def), TRect({12, 22, 38, 48}));
  EXPECT_EQ(coded->TextAreaContentRect(0, TteRectByteInfo{r, 0}, def), TRect({12, 22, 38, 48}));
  EXPECT_EQ(coded->TextAreaPartContentRect(0, TteRectByteInfo{r, 0}, def), TRect({12, 22, 38, 48}));
  EXPECT_EQ(coded->TabContentRect(0, r, def), TRect({11, 21, 39, 49}));
  EXPECT_EQ(coded->ScrollBoxContentRect(0, r, def), TRect({12, 22, 38, 48}));
  EXPECT_EQ(coded->DockContentRect(0, r, def), r);
  EXPECT_EQ(coded->CollapsePanelContentRect(0, r, def), r);
  EXPECT_TRUE(coded->HasPanel(0, def) && coded->HasSplitter(0, def) && coded->HasMenu(0, def) &&
              coded->HasDock(0, def) && coded->HasScrollBox(0, def));
  EXPECT_TRUE(coded->HasTool(0, def) && coded->HasCollapsePanel(0, def) && coded->HasList(0, def) &&
              coded->HasTree(0, def) && coded->HasGrid(0, def) && coded->HasGroupBox(0, def));
  auto see = Build(QStringLiteral("[explorerbar.NormalGroupHead]\nTransparent=true\n"
                                  "[button.groupbox]\nTransparent=true\n"));
  EXPECT_TRUE(see->IsCollapsePanelTransparent(0, def) && see->IsGroupBoxTransparent(0, def));
  EXPECT_FALSE(coded->IsCollapsePanelTransparent(0, def) || coded->IsGroupBoxTransparent(0, def));
  EXPECT_TRUE(coded->HasHeader(0, def));
  EXPECT_TRUE(coded->HasEdit(0, def));
  EXPECT_TRUE(coded->IsCheckBoxTransparent(0, def));
  EXPECT_FALSE(coded->IsScrollBarTransparent(0, def) || coded->IsProgressBarTransparent(0, def));
  auto keyed = Build(QStringLiteral("[Button.Pushbutton]\nTransparent=true\n"));
  EXPECT_TRUE(keyed->IsButtonTransparent(0, def));
  EXPECT_FALSE(coded->IsButtonTransparent(0, def));
  EXPECT_EQ(coded->EditContentRect(0, TteEditInfo{{10, 20, 40, 50}, 0}, def), TRect({14, 24, 36, 46}));
}

TEST(MsuxOperations, EditStatesBorrowFillColours) {
  auto theme = Build(QStringLiteral(
      "[edit]\nFillColor=10 10 10\nBorderColor=70 70 70\n"
      "[edit.edittext(disabled)]\nFillColor=20 20 20\n"
      "[edit.edittext(readonly)]\nFillColor=30 30 30\n"
      "[combobox]\nFillColor=40 40 40\n"
      "[combobox(disabled)]\nFillColor=50 50 50\n"));
  theme->SysColors().SetSysColor(SysColor(COLOR_HIGHLIGHT), RGB(60, 60, 60));
  const struct {
    uint8_t Kind, State;
    int Grey;  // the fill shown; 0 when nothing is painted
  } cases[] = {
      {0, 0, 10}, {0, 3, 10}, {0, 4, 20}, {0, 5, 30}, {0, 6, 60}, {0, 7, 0},
      {3, 4, 20}, {7, 5, 30},
      {4, 0, 40}, {5, 3, 40}, {6, 4, 50}, {4, 5, 0}, {4, 6, 0},
  };
  for (const auto& c : cases) {
    Target t(6, 6);
    theme->PaintEdit(c.Kind, t.Bitmap.Canvas(), TteEditInfo{{0, 0, 6, 6}, c.State}, QString());
    if (c.Grey == 0) EXPECT_TRUE(t.Untouched()) << int(c.Kind) << " " << int(c.State);
    else EXPECT_EQ(t.At(3, 3), MakeTeColor(c.Grey, c.Grey, c.Grey)) << int(c.Kind) << " " << int(c.State);
  }
  // A text area's states are the edit box's shifted down by one.
  const struct {
    uint8_t State;
    int Grey;
  } areas[] = {{0, 10}, {2, 10}, {3, 20}, {4, 30}, {5, 60}, {6, 0}, {255, 0}};
  for (const auto& c : areas) {
    Target t(6, 6);
    theme->PaintTextArea(0, t.Bitmap.Canvas(), TteRectByteInfo{{0, 0, 6, 6}, c.State}, QString());
    if (c.Grey == 0) EXPECT_TRUE(t.Untouched()) << "text area " << int(c.State);
    else EXPECT_EQ(t.At(3, 3), MakeTeColor(c.Grey, c.Grey, c.Grey)) << "text area " << int(c.State);
  }
  EXPECT_EQ(theme->Object(kmsEdit)->FillColor, RGB(10, 10, 10)) << "the borrowed colour is given back";
  EXPECT_EQ(theme->Object(kmsCombobox)->FillColor, RGB(40, 40, 40));

  // A text area part: the theme's face colour inside the edit box's border colour.
  theme->SysColors().SetSysColor(SysColor(COLOR_BTNFACE), RGB(80, 80, 80));
  Target part(6, 6);
  theme->PaintTextAreaPart(0, part.Bitmap.Canvas(), TteRectByteInfo{{0, 0, 6, 6}, 0}, QString());
  EXPECT_EQ(part.At(0, 0), MakeTeColor(70, 70, 70));
  EXPECT_EQ(part.At(5, 3), MakeTeColor(70, 70, 70));
  EXPECT_EQ(part.At(3, 3), MakeTeColor(80, 80, 80));
}

TEST(MsuxOperations, TrueSizeThumbsReportTheirFrame) {
  std::vector<std::unique_ptr<TteBitmap>> images;
  images.push_back(Drawn("T_BMP", 30, 7, [](int, int) { return 0xFF123456u; }));
  auto theme = Build(QStringLiteral("[TrackBar.Thumb]\nImageFile=t.bmp\nImageCount=5\n"
                                    "ImageLayout=horizontal\nSizingType=truesize\n"
                                    "[TrackBar.ThumbTop]\nImageFile=t.bmp\nImageCount=5\n"
                                    "ImageLayout=horizontal\nSizingType=stretch\n"
                                    "[TrackBar.ThumbVert]\nSizingType=truesize\n"),
                     std::move(images));
  const struct {
    uint8_t Part;
    TPoint Size;
  } cases[] = {
      {3, {6, 7}},  // true size: one frame of five across 30 pixels
      {5, {0, 0}},  // stretched thumbs take the room they are given
      {0, {0, 0}},  // true size but no image
      {6, {0, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(theme->TrackBarThumbSize(0, TteStateWordInfo{{0, 0, 50, 50}, c.Part, 2}, QString()), c.Size)
        << int(c.Part);
}

// A thumb too short for its corners is painted at its own length and squeezed, so
// its middle still shows; the gripper is centred only where it fits.
TEST(MsuxOperations, ScrollThumbSqueezesAndCentresItsGripper) {
  const TteColor a = 0xFF0000A0, b = 0xFF00A000, cc = 0xFFA00000, grip = 0xFF505050;
  std::vector<std::unique_ptr<TteBitmap>> images;
  images.push_back(Drawn("THUMB_BMP", 6, 8, [=](int x, int) { return x < 2 ? a : x < 4 ? b : cc; }));
  images.push_back(Drawn("GRIP_BMP", 2, 8, [=](int, int) { return grip; }));
  auto theme = Build(QStringLiteral(
                         "[ScrollBar.ThumbBtnHorz]\nImageFile=thumb.bmp\nImageCount=4\n"
                         "ImageLayout=vertical\nSizingType=stretch\nSizingMargins=2,2,0,0\n"
                         "[ScrollBar.GripperHorz]\nImageFile=grip.bmp\nImageCount=4\n"
                         "ImageLayout=vertical\nSizingType=truesize\n"),
                     std::move(images));
  const struct {
    int Width, Height;
    const char* Row;  // row 0: a, b, c thumb columns, g gripper
  } cases[] = {
      {3, 2, "abc"},        // squeezed; gripper as high as the room: left out
      {6, 2, "aabbcc"},     // just fits: painted directly
      {8, 4, "aabbbbcc"},   // directly, gripper in rows 1-2 only
  };
  for (const auto& c : cases) {
    Target t(c.Width, c.Height);
    theme->PaintScrollBarPart(0, t.Bitmap.Canvas(), TteScrollPartInfo{{0, 0, c.Width, c.Height}, 8, 0},
                              QString());
    std::string row;
    for (int x = 0; x < c.Width; ++x) {
      const TteColor p = t.At(x, 0);
      row += p == a ? 'a' : p == b ? 'b' : p == cc ? 'c' : p == grip ? 'g' : '?';
    }
    EXPECT_EQ(row, c.Row) << c.Width << "x" << c.Height;
    const bool gripperFits = c.Width > 2 && c.Height > 2;
    EXPECT_EQ(t.At(c.Width / 2, c.Height / 2) == grip, gripperFits) << c.Width << "x" << c.Height;
  }
}

// Operations that paint no element: fills and frames in the theme's own colours.
TEST(MsuxOperations, FacesAndFillsUseTheThemesColours) {
  auto theme = Build(QStringLiteral("[button.groupbox]\nFillColor=90 90 90\n"));
  TteThemeSysColors& sys = theme->SysColors();
  sys.SetSysColor(SysColor(COLOR_BTNFACE), RGB(100, 100, 100));
  sys.SetSysColor(SysColor(COLOR_WINDOW), RGB(200, 200, 200));
  sys.SetSysColor(SysColor(COLOR_HIGHLIGHT), RGB(0, 0, 150));
  theme->MenuColor = RGB(210, 210, 210);
  theme->MenuHilightColor = RGB(0, 120, 0);
  const TteColor face = MakeTeColor(100, 100, 100), light = MakeTeColor(130, 130, 130),
                 dark = MakeTeColor(70, 70, 70), window = MakeTeColor(200, 200, 200),
                 high = MakeTeColor(0, 0, 150), menu = MakeTeColor(210, 210, 210),
                 hilight = MakeTeColor(0, 120, 0);
  const TRect r{0, 0, 6, 6};
  const QString def;
  using PaintFn = std::function<void(TTeThemeMsStyles&, TCanvas&)>;
  const struct {
    const char* What;
    PaintFn Paint;
    TteColor Edge, Middle;  // at (0, 3) and (3, 3); kBack where nothing is painted
  } cases[] = {
      {"panel", [&](auto& t, auto& c) { t.PaintPanel(0, c, r, def); }, light, face},
      {"scroll box", [&](auto& t, auto& c) { t.PaintScrollBox(0, c, r, def); }, dark, face},
      {"splitter", [&](auto& t, auto& c) { t.PaintSplitter(0, c, r, def); }, face, face},
      {"tool", [&](auto& t, auto& c) { t.PaintTool(0, c, r, def); }, light, kBack},
      {"tool 2", [&](auto& t, auto& c) { t.PaintTool(2, c, r, def); }, hilight, menu},
      {"menu 0", [&](auto& t, auto& c) { t.PaintMenu(0, c, r, def); }, menu, menu},
      {"menu 1", [&](auto& t, auto& c) { t.PaintMenu(1, c, r, def); }, hilight, menu},
      {"menu 2", [&](auto& t, auto& c) { t.PaintMenu(2, c, r, def); }, kBack, kBack},
      {"fixed cell", [&](auto& t, auto& c) { t.PaintGridCell(0, c, TteStateWordInfo{r, 2, 1}, def); }, light, face},
      {"cell 0", [&](auto& t, auto& c) { t.PaintGridCell(0, c, TteStateWordInfo{r, 0, 0}, def); }, window, window},
      {"cell 1", [&](auto& t, auto& c) { t.PaintGridCell(0, c, TteStateWordInfo{r, 1, 0}, def); }, face, face},
      {"cell 3", [&](auto& t, auto& c) { t.PaintGridCell(0, c, TteStateWordInfo{r, 3, 0}, def); }, high, high},
      {"cell 4", [&](auto& t, auto& c) { t.PaintGridCell(0, c, TteStateWordInfo{r, 4, 0}, def); }, window, window},
      {"cell 5", [&](auto& t, auto& c) { t.PaintGridCell(0, c, TteStateWordInfo{r, 5, 0}, def); }, kBack, kBack},
      {"list 1", [&](auto& t, auto& c) { t.PaintListItem(0, c, TteListItemInfo{r, 1}, def); }, window, window},
      {"list 2", [&](auto& t, auto& c) { t.PaintListItem(0, c, TteListItemInfo{r, 2}, def); }, high, high},
      {"list 5", [&](auto& t, auto& c) { t.PaintListItem(0, c, TteListItemInfo{r, 5}, def); }, kBack, kBack},
      {"tree 3", [&](auto& t, auto& c) { t.PaintTreeItem(0, c, TteListItemInfo{r, 3}, def); }, high, high},
      {"tree 4", [&](auto& t, auto& c) { t.PaintTreeItem(0, c, TteListItemInfo{r, 4}, def); }, window, window},
  };
  for (const auto& c : cases) {
    Target t(6, 6);
    c.Paint(*theme, t.Bitmap.Canvas());
    EXPECT_EQ(t.At(0, 3), c.Edge) << c.What;
    EXPECT_EQ(t.At(3, 3), c.Middle) << c.What;
  }
  EXPECT_EQ(theme->MenuContentRect(0, {10, 20, 40, 50}, def), TRect({10, 20, 40, 50}));
  EXPECT_EQ(theme->MenuContentRect(1, {10, 20, 40, 50}, def), TRect({12, 22, 38, 48}));
  EXPECT_EQ(theme->PanelContentRect(0, {10, 20, 40, 50}, def), TRect({12, 22, 38, 48}));

  // The caption's gap in a group box keeps what was under it.
  Target box(6, 6);
  theme->PaintGroupBox(0, box.Bitmap.Canvas(), TteGroupBoxInfo{r, {2, 0, 5, 2}, 0}, def);
  EXPECT_EQ(box.At(0, 0), MakeTeColor(90, 90, 90));
  EXPECT_EQ(box.At(2, 0), kBack);
  EXPECT_EQ(box.At(4, 1), kBack);
  EXPECT_EQ(box.At(5, 1), MakeTeColor(90, 90, 90));
  EXPECT_EQ(box.At(2, 2), MakeTeColor(90, 90, 90));
  EXPECT_TRUE(theme->HasGroupBox(0, def));
  EXPECT_FALSE(theme->HasTool(0, def) || theme->HasCollapsePanel(0, def) || theme->HasList(0, def));
}

TEST(MsuxOperations, MenuItemsAndGlyphs) {
  auto theme = Build(QString());
  theme->MenuColor = RGB(210, 210, 210);
  theme->MenuHilightColor = RGB(0, 120, 0);
  const TteColor menu = MakeTeColor(210, 210, 210), hilight = MakeTeColor(0, 120, 0);
  const QString def;
  auto item = [&](int w, int h, uint8_t kind, uint8_t state) {
    auto t = std::make_unique<Target>(w, h);
    theme->PaintMenuItem(0, t->Bitmap.Canvas(), TteMenuItemInfo{{0, 0, w, h}, kind, state}, def);
    return t;
  };
  // Items light up when hot or selected.
  const struct {
    uint8_t State;
    TteColor Fill;
  } items[] = {{0, menu}, {1, hilight}, {2, hilight}, {3, menu}};
  for (const auto& c : items) EXPECT_EQ(item(20, 8, kmikItem, c.State)->At(10, 4), c.Fill) << int(c.State);

  // Separators: an odd height has a middle row for the line, an even one has none.
  auto even = item(20, 8, kmikSeparator, 0);
  for (int y = 0; y < 8; ++y) EXPECT_EQ(even->At(10, y), menu) << y;
  auto odd = item(20, 9, kmikSeparator, 0);
  for (int y = 0; y < 9; ++y) EXPECT_EQ(odd->At(10, y), y == 4 ? hilight : menu) << y;
  EXPECT_EQ(odd->At(4, 4), menu);
  EXPECT_EQ(odd->At(5, 4), hilight);
  EXPECT_EQ(odd->At(14, 4), hilight);
  EXPECT_EQ(odd->At(15, 4), menu);

  // Scroll items: an outline only when lit, a grey arrow in the middle.
  for (uint8_t state : {0, 1}) {
    auto scroll = item(30, 16, kmikScrollUp, state);
    EXPECT_EQ(scroll->At(15, 0), state ? hilight : menu) << int(state);
    bool grey = false;
    for (int y = 1; y < 15; ++y)
      for (int x = 8; x < 22; ++x) grey = grey || scroll->At(x, y) == MakeTeColor(128, 128, 128);
    EXPECT_TRUE(grey) << int(state);
  }

  // Glyphs.
  auto glyph = [&](uint8_t glyphKind, uint8_t itemState, const TteBitmap* bitmap = nullptr) {
    auto t = std::make_unique<Target>(16, 16);
    t->Bitmap.Canvas().Font.Color = RGB(0, 0, 200);
    TteItemGlyphInfo g;
    g.Rect = {0, 0, 16, 16};
    g.Bitmap = bitmap;
    g.GlyphKind = glyphKind;
    theme->PaintMenuItemGlyph(0, t->Bitmap.Canvas(), TteMenuItemInfo{{0, 0, 16, 16}, 0, itemState}, g, def);
    return t;
  };
  // The check mark's corners: (cx, cy) = (6, 9) and (cx + 4, cy - 4).
  auto check = glyph(kgkCheck, 0);
  EXPECT_EQ(check->At(6, 9), MakeTeColor(0, 0, 200));
  EXPECT_EQ(check->At(10, 5), MakeTeColor(0, 0, 200));
  EXPECT_EQ(check->At(0, 0), kBack);
  auto radio = glyph(kgkRadio, 0);
  EXPECT_EQ(radio->At(7, 7), MakeTeColor(0, 0, 0));
  EXPECT_EQ(radio->At(4, 7), kBack);

  auto picture = Drawn("", 2, 2, [](int, int) { return 0x80C01010u; });
  for (uint8_t state : {0, 1, 2}) {
    auto t = glyph(kgkImage, state, picture.get());
    if (state == 0) {
      EXPECT_NE(t->At(7, 7), kBack);
      EXPECT_EQ(t->At(6, 6), kBack);
    } else {
      // Lifted: drawn opaque one pixel up and left, a shadow one pixel down and right.
      EXPECT_EQ(t->At(6, 6), MakeTeColor(0xC0, 0x10, 0x10)) << int(state);
      EXPECT_NE(t->At(8, 8), kBack) << int(state);
      EXPECT_NE(t->At(8, 8), MakeTeColor(0xC0, 0x10, 0x10)) << int(state);
    }
  }
  EXPECT_EQ(picture->GetPixel(0, 0), 0x80C01010u) << "the lent bitmap keeps its alpha";
  EXPECT_TRUE(glyph(9, 1, picture.get())->Untouched());
}

TEST(MsuxOperations, SideTabsTurnTheirText) {
  auto theme = Build(QString());
  TteTextInfo text;
  text.Rect = {0, 0, 30, 60};
  text.Text = QStringLiteral("Wg");
  auto paint = [&](const std::function<void(TCanvas&)>& fn) {
    auto t = std::make_unique<Target>(30, 60);
    t->Bitmap.Canvas().Font.Color = clBlack;
    fn(t->Bitmap.Canvas());
    return t;
  };
  auto same = [](const Target& a, const Target& b) {
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 30; ++x)
        if (a.At(x, y) != b.At(x, y)) return false;
    return true;
  };
  const struct {
    uint8_t TabKind;
    uint8_t Orientation;
  } cases[] = {{0, ktoHorizontal}, {2, ktoHorizontal}, {3, ktoVerticalDown}, {5, ktoVerticalDown},
               {6, ktoVerticalUp},   {8, ktoVerticalUp},   {9, ktoHorizontal}};
  for (const auto& c : cases) {
    auto tab = paint([&](TCanvas& cv) { theme->PaintTabText(0, cv, TteTabInfo{text.Rect, c.TabKind, 0}, text, {}); });
    TteTextInfo turned = text;
    turned.Orientation = c.Orientation;
    auto plain = paint([&](TCanvas& cv) { theme->PaintText(cv, turned); });
    EXPECT_TRUE(same(*tab, *plain)) << int(c.TabKind);
    EXPECT_FALSE(tab->Untouched()) << int(c.TabKind);
  }
}

TEST(MsuxBuild, AssignCopiesThroughTheStream) {
  auto source = Build(QLatin1String(kFullTheme), Images({{"P_BMP", 2, 2, 0xFF804020}}));
  TTeThemeMsStyles copy;
  copy.Assign(*source);
  EXPECT_EQ(copy.Name, source->Name);
  EXPECT_EQ(copy.Ini().Text(), source->Ini().Text());
  ASSERT_EQ(copy.Images().Count(), 1);
  EXPECT_NE(copy.Images().Items(0), source->Images().Items(0));
  EXPECT_EQ(copy.Object(kmsButtonPushbutton)->ImageFile.Bitmap, copy.Images().Items(0));
}

}  // namespace
