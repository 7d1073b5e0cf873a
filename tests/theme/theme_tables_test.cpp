// The colour, system-colour and font tables: defaults, shifts, text forms and streams.
#include <QBuffer>
#include <gtest/gtest.h>

#include "app_error.h"
#include "te_bitmap.h"
#include "te_theme.h"
#include "theme_tables.h"

namespace {

constexpr TColor kBtnFace = TColor(0xFF00000F);

QByteArray StreamString(const QByteArray& s) {
  QByteArray out;
  const uint32_t n = uint32_t(s.size());
  out.append(char(n & 0xFF)).append(char(n >> 8 & 0xFF)).append(char(n >> 16 & 0xFF)).append(char(n >> 24));
  return out + s;
}

QByteArray Entry(const QByteArray& name, const QByteArray& value) {
  return StreamString(name) + StreamString(":") + StreamString(value);
}

}  // namespace

TEST(ThemeColorText, NamesAndHexRoundTrip) {
  const struct {
    TColor Color;
    const char* Text;
  } cases[] = {
      {0x000000, "clBlack"},      {0xFFFFFF, "clWhite"},         {0x0000FF, "clRed"},
      {0xFF0000, "clBlue"},       {0xC0C0C0, "clSilver"},        {0xF0CAA6, "clSkyBlue"},
      {kBtnFace, "clBtnFace"},    {TColor(0xFF000008), "clWindowText"},
      {TColor(0xFF000015), "cl3DDkShadow"}, {0x20000000, "clDefault"}, {clNone, "clNone"},
      {0x123456, "$00123456"},    {TColor(0xFF00007F), "$FF00007F"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColorToString(c.Color), QLatin1String(c.Text)) << c.Text;
    EXPECT_EQ(StringToColor(QLatin1String(c.Text)), c.Color) << c.Text;
  }
  // Every name of the system-colour table round-trips to its constant.
  for (int i = 0; i < kThemeSysColorTableSize; ++i) {
    const TteSysColorEntry& e = ThemeSysColorEntry(i);
    EXPECT_EQ(StringToColor(QLatin1String(e.Name)), e.Constant) << e.Name;
  }
}

TEST(ThemeColorText, ReadsOtherSpellingsAndRefusesGarbage) {
  EXPECT_EQ(StringToColor(QStringLiteral("clbtnface")), kBtnFace);
  EXPECT_EQ(StringToColor(QStringLiteral("0x00ff00")), TColor(0x00FF00));
  EXPECT_EQ(StringToColor(QStringLiteral("255")), TColor(255));
  for (const char* bad : {"", "clNoSuchColour", "$", "$12G", "12abc"})
    EXPECT_THROW(StringToColor(QLatin1String(bad)), EAppError) << bad;
}

TEST(ThemeFontDescription, WritesFieldsAndStylesInOrder) {
  TFont f = DefaultThemeFont();
  SetFontSize(f, 10);
  f.setBold(true);
  f.Color = 0xFFFFFF;
  EXPECT_EQ(FontToDescription(f), QStringLiteral("Tahoma,10,1,255,255,255,bold"));
  f.setBold(false);
  f.setItalic(true);
  f.Color = RGB(1, 2, 3);
  EXPECT_EQ(FontToDescription(f), QStringLiteral("Tahoma,10,1,1,2,3,italic"));
  f.setBold(true);
  f.setUnderline(true);
  f.setStrikeOut(true);
  EXPECT_TRUE(FontToDescription(f).endsWith(QStringLiteral(",bold,italic,underline,strikeout")));
}

TEST(ThemeFontDescription, ReadsFieldsWithDefaultsForMissingOnes) {
  const struct {
    const char* Text;
    const char* Face;
    int Size;
    TColor Color;
    bool Bold, Italic, Underline, StrikeOut;
  } cases[] = {
      {"Tahoma,10,1,255,255,255,bold", "Tahoma", 10, 0xFFFFFF, true, false, false, false},
      {"Arial;12;0;0;128;0;italic;strikeout", "Arial", 12, RGB(0, 128, 0), false, true, false, true},
      {"Verdana,9 pt,1,10),20=,30:,underline", "Verdana", 9, RGB(10, 20, 30), false, false, true, false},
      {"Courier,8,1,0,0,0,BOLD, italic ", "Courier", 8, 0, true, true, false, false},
      // Style words count from the seventh field only.
      {"bold,8,bold,0,0,0", "bold", 8, 0, false, false, false, false},
      // Missing fields: the construction defaults.
      {"Georgia", "Georgia", 8, 0, false, false, false, false},
      {"Georgia,14", "Georgia", 14, 0, false, false, false, false},
      {"Georgia,14,1,200", "Georgia", 14, RGB(200, 0, 0), false, false, false, false},
      {"", "Tahoma", 8, 0, false, false, false, false},
  };
  for (const auto& c : cases) {
    TFont f = DefaultThemeFont();
    f.setBold(true);  // must be cleared when the description has no "bold"
    FontFromDescription(f, QLatin1String(c.Text));
    EXPECT_EQ(f.family(), QLatin1String(c.Face)) << c.Text;
    EXPECT_EQ(FontSize(f), c.Size) << c.Text;
    EXPECT_EQ(f.Color, c.Color) << c.Text;
    EXPECT_EQ(f.bold(), c.Bold) << c.Text;
    EXPECT_EQ(f.italic(), c.Italic) << c.Text;
    EXPECT_EQ(f.underline(), c.Underline) << c.Text;
    EXPECT_EQ(f.strikeOut(), c.StrikeOut) << c.Text;
  }
}

TEST(ThemeFontDescription, ANonNumberFailsAndLeavesTheFontAlone) {
  for (const char* bad : {"Arial,big", "Arial,10,1,red,0,0", "Arial,10,1,0,0,x"}) {
    TFont f = DefaultThemeFont();
    EXPECT_THROW(FontFromDescription(f, QLatin1String(bad)), EAppError) << bad;
    EXPECT_EQ(f.family(), QStringLiteral("Tahoma")) << bad;
  }
}

TEST(ThemeFonts, SizesFollowPointsAt96Dpi) {
  for (int points : {6, 8, 9, 10, 12, 14, 24}) {
    TFont f = DefaultThemeFont();
    SetFontSize(f, points);
    EXPECT_EQ(f.pixelSize(), MulDiv(points, 96, 72)) << points;
    EXPECT_EQ(FontSize(f), points) << points;
  }
}

TEST(ThemeSysColors, LookupByConstant) {
  TteThemeSysColors sc;
  EXPECT_EQ(sc.GetSysColor(TColor(0xFF000008)), clNone);  // clWindowText has no substitute
  EXPECT_EQ(sc.GetSysColor(0x123456), clNone);
  EXPECT_EQ(sc.GetSysColor(TColor(0xFF000002)), sc.Substitute(1));
  EXPECT_EQ(sc.GetSysColor(kBtnFace), GetSysColor(COLOR_BTNFACE));
  sc.SetSysColor(TColor(0xFF000002), 0x010203);
  EXPECT_EQ(sc.Substitute(1), TColor(0x010203));
  EXPECT_NE(sc.Substitute(10), TColor(0x010203));  // the repeat is reached only by streaming
  sc.SetSysColor(0x123456, 0x111111);              // ignored
  for (int i = 0; i < kThemeSysColorCount; ++i) EXPECT_NE(sc.Substitute(i), TColor(0x111111));
}

TEST(ThemeReset, ZeroDeltasLeaveDefaultsUnresolvedButFontColoursPlain) {
  TteTheme theme;
  EXPECT_EQ(theme.Colors().GetColor(kcCaptionNormal), TColor(0xFF0000));
  EXPECT_EQ(theme.Colors().GetColor(kcBorder), TColor(0));
  EXPECT_EQ(theme.Colors().GetColor(kcButtonNormal), kBtnFace);
  EXPECT_EQ(theme.Colors().GetColor(kcList), TColor(0xFF000005));
  EXPECT_EQ(theme.Colors().GetColor(kcEditSelection), TColor(0xFF00000D));
  EXPECT_EQ(theme.Colors().GetColor(kcHint), TColor(0xFF000018));
  EXPECT_EQ(theme.Fonts().GetFont(kfButtonTextDisabled).Color, GetSysColor(COLOR_BTNSHADOW));
  // An untouched font keeps construction state, with its colour resolved.
  EXPECT_EQ(theme.Fonts().GetFont(kfPanelTextNormal).Color, GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_TRUE(theme.Fonts().GetFont(kfCaptionTextNormal).bold());
  EXPECT_EQ(FontSize(theme.Fonts().GetFont(kfCaptionTextNormal)), 10);
  EXPECT_EQ(theme.Fonts().GetFont(kfEditBoxTextSelected).Color, TColor(0xFFFFFF));
}

TEST(ThemeShifts, DoNotAddUpAndCanBeSetBackToZero) {
  TteTheme plain;
  TteTheme theme;
  theme.SysColors().SetSysColor(kBtnFace, 0x204060);
  theme.SetDeltaBrightness(20);
  const TColor once = theme.SysColors().GetSysColor(kBtnFace);
  EXPECT_EQ(once, TColor(0x345474));
  EXPECT_EQ(theme.Colors().GetColor(kcWindow), TColor(0xD4D4D4));
  theme.ResetTheme();  // a second reset shifts from the unshifted values again
  EXPECT_EQ(theme.SysColors().GetSysColor(kBtnFace), once);
  EXPECT_EQ(theme.Colors().GetColor(kcBorder), TColor(0x141414)) << "Border is never refilled";
  EXPECT_EQ(theme.Fonts().GetFont(kfPanelTextNormal).Color, TColor(0x141414));
  theme.SetDeltaHue(40);
  theme.SetDeltaHueBrightness(0, 0);
  EXPECT_EQ(theme.SysColors().GetSysColor(kBtnFace), TColor(0x204060));
  for (int i = 0; i < kThemeColorCount; ++i)
    EXPECT_EQ(theme.Colors().GetColor(i), plain.Colors().GetColor(i)) << ThemeColorName(i);
  for (int i = 0; i < kThemeFontCount; ++i)
    EXPECT_EQ(theme.Fonts().GetFont(i).Color, plain.Fonts().GetFont(i).Color) << ThemeFontName(i);
}

TEST(ThemeShifts, HueResolvesSystemColoursAndShiftsFontColours) {
  TteTheme theme;
  theme.SetDeltaHue(85);  // a third of a turn: blue to red
  EXPECT_EQ(theme.Colors().GetColor(kcCaptionNormal),
            TeColorToColor(ChangeHue(ColorToTeColor(0xFF0000), 85)));
  EXPECT_EQ(theme.Colors().GetColor(kcButtonNormal),
            TeColorToColor(ChangeHue(ColorToTeColor(kBtnFace), 85)));
  EXPECT_EQ(uint32_t(theme.Colors().GetColor(kcButtonNormal)) >> 24, 0u);
}

TEST(ThemeStreams, TablesRoundTrip) {
  TteTheme source;
  source.Colors().SetColor(kcBorder, 0x123456);
  source.SysColors().SetSysColor(TColor(0xFF00000D), 0x00FF00);
  TFont& f = source.Fonts().GetFont(kfListItemTextHot);
  FontFromDescription(f, QStringLiteral("Arial,12,1,10,20,30,italic"));

  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  source.Colors().WriteToStream(buffer);
  source.SysColors().WriteToStream(buffer);
  source.Fonts().WriteToStream(buffer);
  buffer.seek(0);
  TteTheme target;
  target.Colors().ReadFromStream(buffer);
  target.SysColors().ReadFromStream(buffer);
  target.Fonts().ReadFromStream(buffer);
  EXPECT_TRUE(buffer.atEnd());
  for (int i = 0; i < kThemeColorCount; ++i)
    EXPECT_EQ(target.Colors().GetColor(i), source.Colors().GetColor(i)) << ThemeColorName(i);
  for (int i = 0; i < kThemeSysColorCount; ++i)
    EXPECT_EQ(target.SysColors().Substitute(i), source.SysColors().Substitute(i)) << i;
  for (int i = 0; i < kThemeFontCount; ++i) {
    const TFont &a = source.Fonts().GetFont(i), &b = target.Fonts().GetFont(i);
    EXPECT_EQ(b.family(), a.family()) << ThemeFontName(i);
    EXPECT_EQ(FontSize(b), FontSize(a)) << ThemeFontName(i);
    EXPECT_EQ(b.Color, ColorToRGB(a.Color)) << ThemeFontName(i);
    EXPECT_EQ(b.bold(), a.bold()) << ThemeFontName(i);
    EXPECT_EQ(b.italic(), a.italic()) << ThemeFontName(i);
  }
  EXPECT_TRUE(target.Fonts().GetFont(kfListItemTextHot).italic());
  EXPECT_FALSE(target.Fonts().GetFont(kfListItemTextHot).bold());
}

TEST(ThemeStreams, WrittenColourStreamHasTheDocumentedForm) {
  TteThemeColors colors;
  colors.SetColor(0, kBtnFace);
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  colors.WriteToStream(buffer);
  const QByteArray bytes = buffer.data();
  ASSERT_GT(bytes.size(), 1);
  EXPECT_EQ(uint8_t(bytes[0]), 21);
  EXPECT_TRUE(bytes.mid(1).startsWith(Entry("CaptionNormal", "clBtnFace")));
}

TEST(ThemeStreams, ExtraEntriesAreReadAndDropped) {
  QByteArray bytes(1, char(29));  // n = 29: 30 entries
  for (int i = 0; i < 30; ++i) bytes += Entry("X", QByteArray::number(i));
  bytes += "tail";
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TteThemeColors colors;
  colors.ReadFromStream(buffer);
  for (int i = 0; i < kThemeColorCount; ++i) EXPECT_EQ(colors.GetColor(i), TColor(i));
  EXPECT_EQ(buffer.read(4), QByteArray("tail"));
}

TEST(ThemeStreams, BadOrShortStreamsFailWithoutOverreaching) {
  const QByteArray good = Entry("CaptionNormal", "clRed");
  const struct {
    const char* Why;
    QByteArray Bytes;
  } cases[] = {
      {"empty", QByteArray()},
      {"count only", QByteArray(1, char(0))},
      {"cut inside an entry", QByteArray(1, char(0)) + good.left(good.size() - 2)},
      {"length beyond the stream", QByteArray(1, char(0)) + QByteArray("\xff\xff\xff\x7f", 4)},
      {"bad colour text", QByteArray(1, char(0)) + Entry("CaptionNormal", "clNope")},
  };
  for (const auto& c : cases) {
    QByteArray bytes = c.Bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TteThemeColors colors;
    EXPECT_THROW(colors.ReadFromStream(buffer), EAppError) << c.Why;
  }
  // Entries read before the failure keep their new values.
  QByteArray bytes = QByteArray(1, char(1)) + good + Entry("CaptionInactive", "nonsense");
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  TteThemeColors colors;
  EXPECT_THROW(colors.ReadFromStream(buffer), EAppError);
  EXPECT_EQ(colors.GetColor(0), TColor(0x0000FF));
}

TEST(ThemeFonts, ObjectFontGoesThroughTheThemeForNamedObjects) {
  struct BigCaptions : TteTheme {
    void AssignThemeFont(TFont& font, int index, const QString& object) override {
      TteTheme::AssignThemeFont(font, index, object);
      if (object == QStringLiteral("big")) SetFontSize(font, 20);
    }
  } theme;
  const TFont& own = theme.Fonts().GetObjectFont(kfButtonTextNormal, QStringLiteral("DEFAULT"));
  EXPECT_EQ(&own, &theme.Fonts().GetFont(kfButtonTextNormal));
  const TFont& big = theme.Fonts().GetObjectFont(kfButtonTextNormal, QStringLiteral("big"));
  EXPECT_NE(&big, &theme.Fonts().GetFont(kfButtonTextNormal));
  EXPECT_EQ(FontSize(big), 20);
  EXPECT_EQ(FontSize(theme.Fonts().GetFont(kfButtonTextNormal)), 8);
  TteThemeFonts orphan;  // no theme: the table's own font
  EXPECT_EQ(&orphan.GetObjectFont(3, QStringLiteral("big")), &orphan.GetFont(3));
}

TEST(ThemeAssign, CopiesTablesNameAndOptionsButNotDeltas) {
  TteTheme source;
  source.Name = QStringLiteral("Source");
  source.FileName = QStringLiteral("/x.theme");
  source.Colors().SetColor(kcGrid, 0x010101);
  source.Options().ComboButtonsShareObject = true;
  source.SetDeltaHue(30);
  TteTheme dest;
  source.AssignTo(dest);
  EXPECT_EQ(dest.Name, QStringLiteral("Source"));
  EXPECT_TRUE(dest.FileName.isEmpty());
  EXPECT_EQ(dest.DeltaHue(), 0);
  EXPECT_EQ(dest.Colors().GetColor(kcGrid), source.Colors().GetColor(kcGrid));
  EXPECT_TRUE(dest.Options().ComboButtonsShareObject);
}
