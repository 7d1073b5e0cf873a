// The packed visual-style theme: its stream, value syntaxes, element objects, images
// (names, binding, transparency, frames) and the rebuild with hue and brightness.
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>
#include <zlib.h>

#include "te_compress.h"
#include "theme_msux.h"

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
  };
  for (const auto& c : cases) {
    TTeThemeMsStyles theme;
    QByteArray bytes = c.Bytes;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    EXPECT_THROW(theme.LoadFromStream(in), EAppError) << c.What;
    // Whatever was read, the theme is built and usable.
    EXPECT_NE(theme.Object(kmsButtonPushbutton), nullptr) << c.What;
  }
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
  EXPECT_EQ(o->FindProp(QStringLiteral("key3"))->Value, QStringLiteral("again"));
}

// ---- images

std::vector<std::unique_ptr<TteBitmap>> Images(
    std::initializer_list<std::tuple<const char*, int, int, TteColor>> list) {
  std::vector<std::unique_ptr<TteBitmap>> out;
  for (const auto& [name, w, h, fill] : list) out.push_back(Image(QLatin1String(name), w, h, fill));
  return out;
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
