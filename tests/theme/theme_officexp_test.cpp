// The OfficeXP theme: its palette with hue and brightness, fonts, the 21-pixel menu
// strip, no window frame and its registration after the flat theme.
#include <gtest/gtest.h>

#include "painted.h"
#include "theme_manager.h"
#include "theme_officexp.h"

namespace {

const QString kDef = QStringLiteral("default");
constexpr TColor kWhite = 0xFFFFFF, kGrey = 0x808080;

TColor Face() { return GetSysColor(COLOR_BTNFACE); }

constexpr auto Paint = PaintWith<TTeOfficeXPTheme>;

struct Entry {
  int Index;
  TColor Value;
};
const Entry kPalette[] = {
    {kcCaptionNormal, 0xFF0000},        {kcCaptionInactive, TColor(0xFF00000F)},
    {kcWindowBorder, 0x808080},         {kcWindow, TColor(0xFF00000F)},
    {kcBorder, TColor(0xFF00000D)},     {kcPanelNormal, TColor(0xFF00000F)},
    {kcPanelDisabled, TColor(0xFF00000F)}, {kcButtonNormal, TColor(0xFF00000F)},
    {kcButtonHot, 0xD2BDB6},            {kcButtonPressed, 0xB59285},
    {kcButtonFocused, 0xB59285},        {kcButtonDisabled, TColor(0xFF00000F)},
    {kcEditNormal, kWhite},             {kcEditHot, kWhite},
    {kcEditFocused, kWhite},            {kcEditDisabled, kWhite},
    {kcEditSelection, 0xB59285},        {kcList, kWhite},
    {kcTree, kWhite},                   {kcGrid, kWhite},
    {kcHint, TColor(0xFF000018)},       {kcBarDock, TColor(0xFF00000F)},
};

}  // namespace

TEST(OfficeXPThemeTables, PaletteFontsAndAnswers) {
  TTeOfficeXPTheme t;
  for (const Entry& e : kPalette)
    EXPECT_EQ(t.Colors().GetColor(e.Index), e.Value) << ThemeColorName(e.Index);
  const struct {
    int Index, Size;
    TColor Color;
    bool Bold;
  } fonts[] = {{kfCaptionTextNormal, 10, kWhite, true}, {kfCaptionTextInactive, 10, 0xC0C0C0, true},
               {kfSmCaptionTextInactive, 8, 0xC0C0C0, true}, {kfButtonTextNormal, 8, 0, false},
               {kfStaticTextNormal, 8, 0, false},  // not set here: as the flat theme left it
               {kfToolItemTextDisabled, 8, kGrey, false}, {kfEditBoxTextSelected, 8, kWhite, false}};
  for (const auto& f : fonts) {
    const TFont& font = t.Fonts().GetFont(f.Index);
    EXPECT_EQ(FontSize(font), f.Size) << ThemeFontName(f.Index);
    EXPECT_EQ(font.Color, f.Color) << ThemeFontName(f.Index);
    EXPECT_EQ(font.bold(), f.Bold) << ThemeFontName(f.Index);
  }
  EXPECT_EQ(t.MenuStripWidth, 21);
  EXPECT_FALSE(t.HasWindow(0, kDef));
  EXPECT_TRUE(t.HasMenu(1, kDef));
  EXPECT_FALSE(t.IsMenuTransparent(1, kDef));
  EXPECT_TRUE(t.HasButton(0, kDef));
  EXPECT_NE(dynamic_cast<TTeFlatTheme*>(&t), nullptr);
  EXPECT_EQ(&t.Class(), &TTeOfficeXPTheme::ThemeClass());
  const TteThemeConfig c = TTeOfficeXPTheme::ThemeClass().GetThemeConfig();
  EXPECT_TRUE(c.BuiltIn);
  EXPECT_FALSE(c.CanLoad || c.CanSave);
}

TEST(OfficeXPThemeTables, HueAndBrightnessShiftThisPaletteButNotTheFlatOne) {
  TTeOfficeXPTheme xp;
  TTeFlatTheme flat;
  const TColor flatCaption = flat.Colors().GetColor(kcCaptionNormal);
  xp.SetDeltaHue(60);
  flat.SetDeltaHue(60);
  for (const Entry& e : kPalette)
    EXPECT_EQ(xp.Colors().GetColor(e.Index), ChangeHueColor(e.Value, 60)) << ThemeColorName(e.Index);
  EXPECT_NE(xp.Colors().GetColor(kcCaptionNormal), 0xFF0000);
  EXPECT_EQ(flat.Colors().GetColor(kcCaptionNormal), flatCaption);

  xp.SetDeltaHueBrightness(0, 30);
  EXPECT_EQ(xp.Colors().GetColor(kcButtonHot), ChangeBrightnessColor(0xD2BDB6, 30));
  EXPECT_EQ(xp.Fonts().GetFont(kfButtonTextDisabled).Color, ChangeBrightnessColor(kGrey, 30));
  // Back to no shift: the palette as defined, system colours unresolved.
  xp.SetDeltaHueBrightness(0, 0);
  for (const Entry& e : kPalette)
    EXPECT_EQ(xp.Colors().GetColor(e.Index), e.Value) << "reset " << ThemeColorName(e.Index);
}

TEST(OfficeXPThemeMenus, TwentyOnePixelStripAndSeparator) {
  // A 9-pixel separator: white, a 21-pixel strip, a grey line from 28 on its middle row.
  auto sep = Paint([](TTeOfficeXPTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(1, c, MenuItemInfo(r, kmikSeparator, 0), kDef); }, 60, 9);
  EXPECT_EQ(sep->At(0, 0), Face());
  EXPECT_EQ(sep->At(20, 8), Face());
  EXPECT_EQ(sep->At(21, 0), kWhite);
  EXPECT_EQ(sep->At(27, 4), kWhite);
  EXPECT_EQ(sep->At(28, 4), kGrey);
  EXPECT_EQ(sep->At(54, 4), kGrey);
  EXPECT_EQ(sep->At(55, 4), kWhite);
  EXPECT_EQ(sep->At(30, 3), kWhite);
  EXPECT_EQ(sep->At(30, 5), kWhite);

  // A plain popup item repaints the 21-pixel strip; a hot one is filled and framed.
  auto item = Paint([](TTeOfficeXPTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(1, c, MenuItemInfo(r, kmikItem, 0), kDef); }, 60, 12);
  EXPECT_EQ(item->At(20, 5), Face());
  EXPECT_EQ(item->At(21, 5), kWhite);
  auto hot = Paint([](TTeOfficeXPTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(1, c, MenuItemInfo(r, kmikItem, 1), kDef); }, 60, 12);
  EXPECT_EQ(hot->At(5, 5), TColor(0xD2BDB6));
  EXPECT_EQ(hot->At(0, 0), GetSysColor(COLOR_HIGHLIGHT));

  // The popup background: a 23-pixel strip inside a grey outline.
  auto menu = Paint([](TTeOfficeXPTheme& t, TCanvas& c, const TRect& r) { t.PaintMenu(1, c, r, kDef); }, 60, 30);
  EXPECT_EQ(menu->At(0, 10), kGrey);
  EXPECT_EQ(menu->At(22, 10), Face());
  EXPECT_EQ(menu->At(23, 10), kWhite);

  // Scroll items: white behind the strip, a grey outline when hot.
  auto scroll = Paint([](TTeOfficeXPTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(1, c, MenuItemInfo(r, kmikScrollUp, 1), kDef); }, 60, 16);
  EXPECT_EQ(scroll->At(0, 0), kGrey);
  EXPECT_EQ(scroll->At(10, 8), Face());
  EXPECT_EQ(scroll->At(40, 2), kWhite);
}

TEST(OfficeXPThemeRegistration, RegisteredThirdAndFoundByNameInAnyCase) {
  TteThemeManager m;
  ASSERT_GE(m.ThemeClassCount(), 3);
  EXPECT_EQ(m.ThemeClassAt(2), &TTeOfficeXPTheme::ThemeClass());
  for (const char* name : {"OfficeXP", "officexp", "OFFICEXP", "oFFICExP"})
    EXPECT_EQ(m.FindBuiltInThemeClass(QLatin1String(name)), &TTeOfficeXPTheme::ThemeClass()) << name;
  auto theme = m.FindBuiltInThemeClass(QStringLiteral("officexp"))->Create();
  EXPECT_EQ(theme->Class().GetThemeKindName(), QStringLiteral("OfficeXP"));
  EXPECT_EQ(static_cast<TTeOfficeXPTheme*>(theme.get())->MenuStripWidth, 21);
}
