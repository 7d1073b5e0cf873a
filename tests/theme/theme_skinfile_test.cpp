// The skin-file theme: loading (and keeping the skin in force when a load fails), saving
// unshifted tables, window geometry and hit codes, tabs turned to their side, and the
// fixture skins' look-ups through the theme.
#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "skin_fixtures.h"
#include "te_engine.h"
#include "theme_manager.h"
#include "theme_skinfile.h"

namespace {

QString Fixture(const char* group, const char* file) {
  return SkinFixtureDir(QLatin1String(group)) + '/' + QLatin1String(file);
}

// A theme holding the given skin, loaded as the program loads one: through a stream.
std::unique_ptr<TTeSkinFile> ThemeOf(TSeSkinSource& skin) {
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  skin.SaveToStream(buffer, TSeSkinFilterMaxCompression::Class());
  buffer.seek(0);
  auto theme = std::make_unique<TTeSkinFile>();
  EXPECT_TRUE(theme->LoadFromStream(buffer));
  return theme;
}

template <typename T = TSeSkinObject>
T* Add(TSeSkinObject* parent, const char* name, TSeAlign align, int w, int h, TSeKind kind = skNone) {
  auto* o = new T(parent);
  o->Name = QLatin1String(name);
  o->Align = align;
  o->Width = w;
  o->Height = h;
  if (kind != skNone) o->Kind = kind;
  return o;
}

TSeSystemButton* Button(TSeSkinObject* parent, const char* name, TSeAction action, TSeAlign align) {
  auto* b = Add<TSeSystemButton>(parent, name, align, 16, 16);
  b->Action = action;
  return b;
}

// Form: a 20-pixel caption band with system menu, help, close, maximize and restore
// buttons, 4-pixel borders and a client part.
void WindowSkin(TSeSkinSource& skin) {
  auto form = std::make_unique<TSeSkinObject>();
  form->Name = QStringLiteral("Form");
  form->Kind = skForm;
  TSeSkinObject* caption = Add(form.get(), "Caption", saMostTop, 0, 20, skCaption);
  Button(caption, "SysMenu", sbaSysMenu, saLeft);
  Button(caption, "Close", sbaClose, saRight);
  Button(caption, "Max", sbaMaximize, saRight);
  Button(caption, "Restore", sbaRestore, saRight);
  Button(caption, "Help", sbaHelp, saRight);
  Add<TSeTextObject>(caption, "Title", saClient, 0, 0, skTitle);
  Add(form.get(), "Left", saLeft, 4, 0, skLeft);
  Add(form.get(), "Right", saRight, 4, 0, skRight);
  Add(form.get(), "Bottom", saBottom, 0, 4, skBottom);
  Add(form.get(), "Client", saClient, 0, 0, skClient);
  skin.Objects.push_back(std::move(form));
}

TteWindowInfo Window(uint16_t buttons) { return WindowInfo(Bounds(0, 0, 200, 100), true, buttons, QString()); }

}  // namespace

TEST(SkinFileTheme, FixtureSkinsLoadAsThemesWithTheirCustomColours) {
  for (const char* group : {"sample", "variants"}) {
    for (const QString& file : SkinFixtures(QLatin1String(group))) {
      const QJsonObject expect = Sidecar(file)["expect"].toObject();
      if (Sidecar(file)["outcome"].toString() != QLatin1String("ok")) continue;
      TTeSkinFile theme;
      const bool loaded = theme.LoadFromFile(file);
      const std::string name = QFileInfo(file).fileName().toStdString();
      if (expect.contains(QLatin1String("theme_load"))) {
        ASSERT_EQ(loaded, expect["theme_load"].toBool()) << name;
      }
      if (!loaded) continue;
      EXPECT_EQ(theme.Name, expect["meta"].toObject()["SkinName"].toString()) << name;
      const QJsonObject custom = expect["custom_colors"].toObject();
      for (auto it = custom.begin(); it != custom.end(); ++it)
        EXPECT_EQ(double(uint32_t(theme.GetCustomColor(it.key()))), it.value().toDouble())
            << name << " custom colour " << it.key().toStdString();
    }
  }
}

TEST(SkinFileTheme, ManagerPicksTheSkinKindByExtensionAndBySignature) {
  const std::unique_ptr<TteTheme> byFile =
      ThemeManager().LoadThemeFromFile(Fixture("sample", "sample.xskn"));
  ASSERT_TRUE(byFile);
  EXPECT_EQ(byFile->Class().GetThemeKindName().toStdString(), "ZozoRizozo 3 theme");
  QFile file(Fixture("sample", "sample.mskn"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const std::unique_ptr<TteTheme> byStream = ThemeManager().LoadThemeFromStream(file);
  ASSERT_TRUE(byStream);
  EXPECT_STREQ(byStream->Class().ClassName, "TTeSkinFile");
  const TteThemeClass* last = ThemeManager().ThemeClassAt(ThemeManager().ThemeClassCount() - 1);
  EXPECT_EQ(last, &TTeSkinFile::ThemeClass()) << "registered last";
}

// A load that fails, finds no root object or names a file no filter reads answers false,
// and the skin in force stays.
TEST(SkinFileTheme, FailedLoadsKeepTheSkinInForce) {
  TTeSkinFile theme;
  ASSERT_TRUE(theme.LoadFromFile(Fixture("sample", "sample.oskn")));
  const QString name = theme.Name;
  const char* const failing[] = {"image-short-pixels.uskn", "zero-roots.uskn", "unknown-ext.skn",
                                 "tpf0-cut.mskn"};
  for (const char* file : failing) {
    EXPECT_FALSE(theme.LoadFromFile(Fixture("broken", file))) << file;
    EXPECT_EQ(theme.Name, name) << file;
    EXPECT_TRUE(theme.HasWindow(0, QStringLiteral("default"))) << file;
    EXPECT_GT(theme.Source().ObjectCount(), 0) << file;
  }
  QFile cut(Fixture("broken", "zcut-oskn-01122.oskn"));
  ASSERT_TRUE(cut.open(QIODevice::ReadOnly));
  EXPECT_FALSE(theme.LoadFromStream(cut));
  EXPECT_TRUE(theme.HasWindow(0, QStringLiteral("default")));
}

// Saving writes the tables as the skin has them, not as the theme's hue shift shows them.
TEST(SkinFileTheme, SavingWritesUnshiftedTables) {
  TTeSkinFile theme;
  ASSERT_TRUE(theme.LoadFromFile(Fixture("sample", "sample.uskn")));
  const TColor caption = theme.Colors().GetColor(kcCaptionNormal);
  const TColor font = theme.Fonts().GetFont(kfButtonTextNormal).Color;
  theme.SetDeltaHue(80);
  ASSERT_NE(theme.Colors().GetColor(kcCaptionNormal), caption) << "the shift shows";
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  ASSERT_TRUE(theme.SaveToStream(buffer));
  buffer.seek(0);
  EXPECT_EQ(buffer.peek(9), QByteArray("_MCT\0OVLZ", 9));
  TTeSkinFile back;
  ASSERT_TRUE(back.LoadFromStream(buffer));
  EXPECT_EQ(back.Colors().GetColor(kcCaptionNormal), caption);
  EXPECT_EQ(ColorToRGB(back.Fonts().GetFont(kfButtonTextNormal).Color), ColorToRGB(font));
}

TEST(SkinFileTheme, CaptionButtonsAnswerTheirRectanglesAndHitCodes) {
  TSeSkinSource skin;
  WindowSkin(skin);
  const std::unique_ptr<TTeSkinFile> theme = ThemeOf(skin);
  const QString def = QStringLiteral("default");
  const uint16_t maximized = WindowButtonBit(kbiSysMenu) | WindowButtonBit(kbiClose) |
                             WindowButtonBit(kbiHelp) | WindowButtonBit(kbiRestore);
  // A maximized window shows restore in place of maximize.
  EXPECT_EQ(theme->WindowButtonRect(0, Window(maximized), kbiMaximize, def), kNullRect);
  const TRect restore = theme->WindowButtonRect(0, Window(maximized), kbiRestore, def);
  EXPECT_EQ(restore, Bounds(168, 0, 16, 20)) << "beside close; the hidden maximize takes no room";
  EXPECT_EQ(theme->WindowContentRect(0, Window(maximized), def), TRect(4, 20, 196, 96));
  const struct {
    int Button;
    int Code;
  } cases[] = {{kbiClose, khtClose}, {kbiHelp, khtHelp}, {kbiSysMenu, khtSysMenu}, {kbiRestore, khtMaximize}};
  for (const auto& c : cases) {
    const TRect r = theme->WindowButtonRect(0, Window(maximized), c.Button, def);
    ASSERT_FALSE(r.IsEmpty()) << "button " << c.Button;
    EXPECT_EQ(theme->WindowHitTest(0, Window(maximized), r.Left + 1, r.Top + 1, def), c.Code)
        << "button " << c.Button;
  }
  EXPECT_EQ(theme->WindowHitTest(0, Window(maximized), 100, 10, def), khtCaption);
  EXPECT_FALSE(theme->HasWindow(6, def)) << "no ToolWindow: tool windows are the base theme's";
  EXPECT_TRUE(theme->HasWindow(0, def));
}

// Bottom tabs come from "Tab" turned upside down, never from the right tab's image.
TEST(SkinFileTheme, TabsWithoutTheirSideAreTurnedFromTheTopTab) {
  TSeSkinSource skin;
  auto top = std::make_unique<TteBitmap>();
  top->Name = QStringLiteral("TAB");
  top->SetSize(1, 2);
  top->SetPixel(0, 0, 0xFFFF0000);  // red top row
  top->SetPixel(0, 1, 0xFF00FF00);  // green bottom row
  skin.Bitmaps.Add(std::move(top));
  auto blue = std::make_unique<TteBitmap>();
  blue->Name = QStringLiteral("RIGHT");
  blue->SetSize(1, 1);
  blue->Fill(0xFF0000FF);
  skin.Bitmaps.Add(std::move(blue));
  auto tabs = std::make_unique<TSeSkinObject>();
  tabs->Name = QStringLiteral("Tabs");
  auto* tab = Add<TSeBitmapObject>(tabs.get(), "Tab", saNone, 0, 0);
  tab->Bitmap.Name = QStringLiteral("TAB");
  tab->Bitmap.Right = 1;
  tab->Bitmap.Bottom = 2;
  tab->TileStyle = tsStretch;
  auto* right = Add<TSeBitmapObject>(tabs.get(), "TabRight", saNone, 0, 0);
  right->Bitmap.Name = QStringLiteral("RIGHT");
  right->Bitmap.Right = right->Bitmap.Bottom = 1;
  skin.Objects.push_back(std::move(tabs));
  const std::unique_ptr<TTeSkinFile> theme = ThemeOf(skin);

  const struct {
    uint8_t TabKind;
    TPoint Red, Green;  // where the top tab's first and last rows land in a 4 x 4 tab
  } cases[] = {{0, {1, 0}, {1, 3}}, {9, {1, 3}, {1, 0}}, {3, {0, 1}, {3, 1}}};
  for (const auto& c : cases) {
    TteBitmap canvas;
    canvas.SetSize(4, 4);
    canvas.Fill(0xFF000000);
    theme->PaintTab(0, canvas.Canvas(), {Bounds(0, 0, 4, 4), c.TabKind, 0}, QStringLiteral("default"));
    EXPECT_EQ(canvas.GetPixel(c.Red.X, c.Red.Y), 0xFFFF0000u) << "tab kind " << int(c.TabKind);
    EXPECT_EQ(canvas.GetPixel(c.Green.X, c.Green.Y), 0xFF00FF00u) << "tab kind " << int(c.TabKind);
  }
  TteBitmap canvas;
  canvas.SetSize(4, 4);
  theme->PaintTab(0, canvas.Canvas(), {Bounds(0, 0, 4, 4), 6, 0}, QStringLiteral("default"));
  EXPECT_EQ(canvas.GetPixel(2, 2), 0xFF0000FFu) << "right tabs have their own image";
}

TEST(SkinFileTheme, ConfigNamesTheVariants) {
  const TteThemeConfig config = TTeSkinFile::GetThemeConfig();
  EXPECT_TRUE(config.CanLoad);
  EXPECT_TRUE(config.CanSave);
  EXPECT_FALSE(config.BuiltIn);
  EXPECT_EQ(config.Extension.toStdString(), "mskn");
  EXPECT_EQ(ThemeManager().FindThemeClassByFile(QStringLiteral("x.USKN")), &TTeSkinFile::ThemeClass());
}

// The frame is painted without its caption buttons; each is painted on its own.
TEST(SkinFileTheme, FramePaintsNoCaptionButtons) {
  TSeSkinSource skin;
  WindowSkin(skin);
  auto red = std::make_unique<TteBitmap>();
  red->Name = QStringLiteral("RED");
  red->SetSize(2, 2);
  red->Fill(0xFFFF0000);
  skin.Bitmaps.Add(std::move(red));
  auto* close = static_cast<TSeSystemButton*>(skin.FindObject(QStringLiteral("Form\\Close")));
  ASSERT_TRUE(close);
  close->Bitmap.Name = QStringLiteral("RED");
  close->Bitmap.Right = close->Bitmap.Bottom = 2;
  close->TileStyle = tsStretch;
  const std::unique_ptr<TTeSkinFile> theme = ThemeOf(skin);
  const QString def = QStringLiteral("default");
  const TteWindowInfo info = Window(WindowButtonBit(kbiClose));
  const TRect r = theme->WindowButtonRect(0, info, kbiClose, def);
  ASSERT_EQ(r, Bounds(184, 0, 16, 20));
  TteBitmap canvas;
  canvas.SetSize(200, 100);
  canvas.Fill(0xFF000000);
  theme->PaintWindow(0, canvas.Canvas(), info, def);
  EXPECT_NE(canvas.GetPixel(190, 10), 0xFFFF0000u);
  theme->PaintWindowButton(0, canvas.Canvas(), {r, kbiClose, kwbsNormal, nullptr}, def);
  EXPECT_EQ(canvas.GetPixel(190, 10), 0xFFFF0000u);
}

// Check boxes paint the child of their state in the state's code; radio buttons have no
// mixed child and paint their own object in state 0.
TEST(SkinFileTheme, CheckBoxStatesChooseChildAndState) {
  TSeSkinSource skin;
  for (const char* name : {"Checkbox", "RadioButton"}) {
    auto family = std::make_unique<TSeColorButtonObject>();
    family->Name = QLatin1String(name);
    family->Width = family->Height = 4;
    family->Color = 0x000001;
    family->DrawIfOwner = true;  // its own fill shows; its children lie off the canvas
    for (const char* child : {"Checked", "Unchecked", "Mixed"}) {
      auto* c = Add<TSeColorButtonObject>(family.get(), child, saNone, 4, 4);
      c->Left = 100;
      const TColor base = child[0] == 'C' ? 0x10 : child[0] == 'U' ? 0x20 : 0x30;
      c->Color = base;
      c->HotColor = base + 5;
      c->PressedColor = base + 6;
      c->DisabledColor = base + 8;
    }
    skin.Objects.push_back(std::move(family));
  }
  const std::unique_ptr<TTeSkinFile> theme = ThemeOf(skin);
  const struct {
    uint8_t Kind, State;
    uint8_t Red;  // the colour painted: child base + state code, or 1 for the family object
  } cases[] = {{1, 12, 0x01}, {0, 4, 0x01},  // first, before any child is painted on the canvas
               {0, 0, 0x10}, {0, 1, 0x15}, {0, 7, 0x26}, {0, 8, 0x28}, {0, 12, 0x36}, {1, 2, 0x16}};
  for (const auto& c : cases) {
    TteBitmap canvas;
    canvas.SetSize(8, 8);
    canvas.Fill(0xFF000000);
    theme->PaintCheckBox(c.Kind, canvas.Canvas(), {Bounds(0, 0, 8, 8), c.State}, QStringLiteral("default"));
    EXPECT_EQ(canvas.GetPixel(3, 3), 0xFF000000u | uint32_t(c.Red) << 16)
        << "kind " << int(c.Kind) << " state " << int(c.State);
  }
}

// A skin file chosen as the program's theme file becomes the current theme.
TEST(SkinFileTheme, EngineMakesASkinFileTheCurrentTheme) {
  TteThemeManager manager;
  TTeThemeEngine engine(manager);
  engine.SetThemeFile(Fixture("sample", "sample.oskn"));
  ASSERT_TRUE(manager.CurrentTheme());
  EXPECT_STREQ(manager.CurrentTheme()->Class().ClassName, "TTeSkinFile");
  EXPECT_EQ(manager.CurrentTheme()->Name.toStdString(), "Fixture Sample Skin");
  EXPECT_TRUE(manager.CurrentTheme()->HasButton(0, QStringLiteral("default")));
}
