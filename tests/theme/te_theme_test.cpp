// The base theme: its painting on bitmaps (pixel-exact, no text pixels), the window
// geometry and hit test, the text layout and the record builders.
#include <QImage>
#include <gtest/gtest.h>

#include "painted.h"
#include "te_theme.h"

namespace {

constexpr TColor kYellow = 0x00FFFF, kRed = 0x0000FF, kBlue = 0xFF0000, kGreen = 0x008000,
                 kNavy = 0x800000, kWhite = 0xFFFFFF, kSilver = 0xC0C0C0, kGrey = 0x808080,
                 kBlack = 0;
const QString kDef = QStringLiteral("default");

using PaintFn = ThemePaintFn<TteTheme>;
constexpr auto Paint = PaintWith<TteTheme>;

TColor Face() { return GetSysColor(COLOR_BTNFACE); }

}  // namespace

TEST(BaseThemePaint, PlaceholdersFillAndFrame) {
  const struct {
    const char* Name;
    PaintFn Fn;
    TColor Fill, Frame;
  } cases[] = {
      {"Hint", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintHint(0, c, r, kDef); }, kYellow, kRed},
      {"Splitter", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintSplitter(0, c, r, kDef); }, kYellow, kRed},
      {"TrackBar", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBar(0, c, r, kDef); }, kBlue, kRed},
      {"TrackBarThumb", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBarThumb(0, c, StateWordInfo(r, 3, 1), kDef); }, kYellow, kBlue},
      {"Header", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintHeader(0, c, r, kDef); }, kWhite, kBlack},
      {"StatusBar", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusBar(0, c, r, kDef); }, kSilver, kBlack},
      {"StatusPanel", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusPanel(0, c, StatusPanelInfo(r, 3), kDef); }, kGrey, kBlack},
      {"Edit", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintEdit(5, c, EditInfo(r, 2), kDef); }, kBlue, kRed},
      {"EditButton", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintEditButton(0, c, EditButtonInfo(r, 1, 0), kDef); }, kGreen, kYellow},
      {"TextArea", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTextArea(0, c, {r, 3}, kDef); }, kBlue, kRed},
      {"Menu", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintMenu(1, c, r, kDef); }, kWhite, kRed},
      {"Tool", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTool(0, c, r, kDef); }, kGreen, kBlue},
      {"ScrollBox", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBox(0, c, r, kDef); }, kYellow, kRed},
      {"CollapseCaption", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanelCaption(0, c, {r, 1}, kDef); }, kGreen, kBlack},
      {"CollapseButton", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanelButton(0, c, StateWordInfo(r, 1, 0), kDef); }, kRed, kBlue},
      {"CollapsePart", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanelPart(0, c, StateWordInfo(r, 0, 0), kDef); }, kGreen, kYellow},
      {"TabPage", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTabPage(0, c, r, kDef); }, kSilver, kYellow},
      {"TabScrollButton", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTabScrollButton(0, c, StateWordInfo(r, 1, 2), kDef); }, kYellow, kRed},
      {"Grid", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintGrid(0, c, r, kDef); }, kWhite, kRed},
      {"List", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintList(0, c, r, kDef); }, GetSysColor(COLOR_WINDOW), kRed},
      {"Tree", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTree(0, c, r, kDef); }, GetSysColor(COLOR_WINDOW), kRed},
      {"WindowClient", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowClient(0, c, r, kDef); }, kSilver, kSilver},
  };
  for (const auto& c : cases) {
    auto p = Paint(c.Fn, 10, 8);
    EXPECT_EQ(p->At(5, 4), c.Fill) << c.Name;
    for (auto [x, y] : {std::pair{0, 0}, {9, 0}, {0, 7}, {9, 7}, {5, 0}, {0, 4}})
      EXPECT_EQ(p->At(x, y), c.Frame) << c.Name << " at " << x << "," << y;
    EXPECT_EQ(p->Bitmap.GetPixel(5, 4) >> 24, kMarker >> 24) << c.Name << ": alpha changed";
    // An empty rectangle draws nothing.
    auto empty = Paint([&](TteTheme& t, TCanvas& cv, const TRect&) { c.Fn(t, cv, {5, 5, 5, 9}); }, 10, 10);
    EXPECT_TRUE(empty->AllUntouched()) << c.Name;
  }
}

TEST(BaseThemePaint, OperationsThatDrawNothing) {
  const struct {
    const char* Name;
    PaintFn Fn;
  } cases[] = {
      {"CheckBox", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintCheckBox(0, c, CheckBoxInfo(r, 0), kDef); }},
      {"ScrollBar", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBar(0, c, r, kDef); }},
      {"ProgressBar", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintProgressBar(0, c, ProgressInfo(r, 3), kDef); }},
      {"TrackBarTrack", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBarTrack(0, c, StateWordInfo(r, 1, 0), kDef); }},
      {"PanelPart", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintPanelPart(0, c, StateWordInfo(r, 0, 0), kDef); }},
      {"PanelKind2", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintPanel(2, c, r, kDef); }},
      {"TextAreaPart", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTextAreaPart(0, c, {r, 0}, kDef); }},
      {"Dock", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintDock(0, c, r, kDef); }},
      {"ToolButton", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintToolButton(0, c, ToolButtonInfo(r, 0, 1), kDef); }},
      {"CollapsePanel", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanel(0, c, r, kDef); }},
      {"ListPart", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintListPart(0, c, r, kDef); }},
      {"TreeItemGlyph", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintTreeItemGlyph(0, c, ListItemInfo(r, 0), GlyphInfo(r, nullptr, 0), kDef); }},
      {"GridCellGlyph", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintGridCellGlyph(0, c, StateWordInfo(r, 0, 0), GlyphInfo(r, nullptr, 0), kDef); }},
      {"ButtonDisabled", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintButton(0, c, ButtonInfo(r, kbsDisabled), kDef); }},
      {"HeaderSection7", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintHeaderSection(0, c, HeaderSectionInfo(r, 0, 7), kDef); }},
      {"ButtonGlyphNil", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintButtonGlyph(0, c, ButtonInfo(r, 0), GlyphInfo(r, nullptr, 0), kDef); }},
      {"ListCheckBitmapNil", [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintListItemCheck(0, c, ListItemInfo(r, 0), ListCheckInfo(r, klckBitmap), kDef); }},
      {"VerticalTextAlign7", [](TteTheme& t, TCanvas& c, const TRect& r) {
         TteTextInfo ti = TextInfo(r, QStringLiteral("Hello"), 0);
         ti.Alignment = ktaMiddleRight;
         ti.Orientation = ktoVerticalUp;
         t.PaintText(c, ti);
       }},
  };
  for (const auto& c : cases) EXPECT_TRUE(Paint(c.Fn, 24, 24)->AllUntouched()) << c.Name;
}

TEST(BaseThemePaint, FillsByState) {
  const struct {
    const char* Name;
    std::function<void(TteTheme&, TCanvas&, const TRect&, int)> Fn;
    std::vector<std::pair<int, TColor>> Fills;  // state -> fill
    TColor Frame;
  } cases[] = {
      {"HeaderSection", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintHeaderSection(0, c, HeaderSectionInfo(r, 1, uint8_t(s)), kDef); },
       {{0, kSilver}, {1, kGrey}, {2, kGreen}, {3, kBlue}, {4, kYellow}, {5, kRed}, {6, kGrey}}, kBlack},
      {"ListItem", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintListItem(0, c, ListItemInfo(r, uint8_t(s)), kDef); },
       {{0, kWhite}, {1, kYellow}, {2, kNavy}, {3, kBlue}, {4, kSilver}}, kBlue},
      {"TreeItem", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintTreeItem(0, c, ListItemInfo(r, uint8_t(s)), kDef); },
       {{0, kWhite}, {2, kNavy}, {4, kSilver}}, kBlue},
      {"GridCell", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintGridCell(0, c, StateWordInfo(r, uint8_t(s), 0), kDef); },
       {{0, kWhite}, {1, kYellow}, {3, kBlue}}, kBlue},
      {"MenuItem", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintMenuItem(0, c, MenuItemInfo(r, kmikItem, uint8_t(s)), kDef); },
       {{0, kSilver}, {1, kYellow}, {2, kGrey}, {3, kWhite}}, kRed},
      {"ScrollBarTrack", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintScrollBarTrack(0, c, ScrollPartInfo(r, uint8_t(s), 0), kDef); },
       {{0, kGrey}, {1, kBlue}, {2, kRed}, {3, kSilver}}, kBlack},
      {"ScrollBarThumb", [](TteTheme& t, TCanvas& c, const TRect& r, int s) { t.PaintScrollBarPart(0, c, ScrollPartInfo(r, uint8_t(s), kspVertThumb), kDef); },
       {{0, kGrey}, {1, kBlue}, {2, kRed}, {3, kSilver}}, kBlack},
  };
  for (const auto& c : cases)
    for (auto [state, fill] : c.Fills) {
      auto p = Paint([&](TteTheme& t, TCanvas& cv, const TRect& r) { c.Fn(t, cv, r, state); }, 30, 20);
      EXPECT_EQ(p->At(15, 10), fill) << c.Name << " state " << state;
      EXPECT_EQ(p->At(0, 0), c.Frame) << c.Name << " state " << state;
      EXPECT_EQ(p->At(29, 19), c.Frame) << c.Name << " state " << state;
    }
  // Frame only where the state has no fill.
  auto beyond = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintListItem(0, c, ListItemInfo(r, 5), kDef); }, 30, 20);
  EXPECT_TRUE(beyond->Untouched(15, 10));
  EXPECT_EQ(beyond->At(0, 0), kBlue);
  auto fixed = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintGridCell(0, c, StateWordInfo(r, 2, 1), kDef); }, 30, 20);
  EXPECT_TRUE(fixed->Untouched(15, 10));
  EXPECT_EQ(fixed->At(0, 0), kGrey);
}

TEST(BaseThemePaint, ScrollBarPartInnerMarks) {
  // 40 x 30: the inner rectangle is (5, 4, 35, 26).
  auto thumb = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBarPart(0, c, ScrollPartInfo(r, 0, kspHorzThumb), kDef); }, 40, 30);
  EXPECT_EQ(thumb->At(5, 4), kNavy);
  EXPECT_EQ(thumb->At(34, 25), kNavy);
  EXPECT_EQ(thumb->At(20, 15), kGrey);
  auto arrow = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBarPart(0, c, ScrollPartInfo(r, 0, kspDownButton), kDef); }, 40, 30);
  EXPECT_EQ(arrow->At(5, 4), kGrey) << "a rounded outline leaves its corner pixel";
  EXPECT_EQ(arrow->At(20, 4), kNavy);
  auto other = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBarPart(0, c, ScrollPartInfo(r, 0, kspLeftButton), kDef); }, 40, 30);
  EXPECT_EQ(other->At(20, 4), kGrey) << "parts 4 and 5 get no inner mark";
}

TEST(BaseThemePaint, PanelsGroupBoxMenuSeparatorAndListCheck) {
  const TColor hi = GetSysColor(COLOR_BTNHIGHLIGHT), sh = GetSysColor(COLOR_BTNSHADOW);
  auto raised = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintPanel(0, c, r, kDef); }, 20, 10);
  EXPECT_EQ(raised->At(0, 0), hi);
  EXPECT_EQ(raised->At(19, 9), sh);
  EXPECT_EQ(raised->At(10, 5), kSilver);
  auto sunken = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintPanel(1, c, r, kDef); }, 20, 10);
  EXPECT_EQ(sunken->At(0, 0), kBlack);
  EXPECT_EQ(sunken->At(1, 1), sh);
  EXPECT_EQ(sunken->At(18, 8), hi);
  EXPECT_EQ(sunken->At(10, 5), kSilver);

  auto group = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintGroupBox(0, c, GroupBoxInfo(r, r, 0), kDef); }, 40, 30);
  EXPECT_EQ(group->At(5, 9), kBlack);
  EXPECT_EQ(group->At(34, 24), kBlack);
  EXPECT_TRUE(group->Untouched(5, 8));
  EXPECT_TRUE(group->Untouched(20, 15));

  auto sep = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(0, c, MenuItemInfo(r, kmikSeparator, 0), kDef); }, 20, 9);
  EXPECT_EQ(sep->At(3, 4), kRed);
  EXPECT_EQ(sep->At(16, 4), kRed);
  EXPECT_TRUE(sep->Untouched(2, 4));
  EXPECT_TRUE(sep->Untouched(17, 4));
  EXPECT_TRUE(sep->Untouched(10, 3));
  EXPECT_TRUE(sep->Untouched(10, 5));

  const struct {
    uint8_t Kind;
    TColor Centre;
  } checks[] = {{klckChecked, kBlack}, {klckUnchecked, kRed}, {klckMixed, kGrey}};
  for (const auto& k : checks) {
    auto p = Paint([&](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintListItemCheck(0, c, ListItemInfo(r, 0), ListCheckInfo(r, k.Kind), kDef); }, 20, 20);
    EXPECT_EQ(p->At(2, 2), kBlack) << int(k.Kind);      // the 16 x 16 box at (2, 2)
    EXPECT_EQ(p->At(4, 4), kRed) << int(k.Kind);
    EXPECT_EQ(p->At(10, 10), k.Centre) << int(k.Kind);  // the 10 x 10 inner square at (5, 5)
    EXPECT_TRUE(p->Untouched(1, 1)) << int(k.Kind);
  }
}

TEST(BaseThemePaint, PushButtonStates) {
  const TColor face = Face(), light = LightenColor(face, 30), dark = LightenColor(face, -30);
  const struct {
    uint8_t State;
    TColor At11, AtInnerBottomRight, Centre;
  } cases[] = {
      {kbsNormal, face, face, face},
      {kbsHot, light, face, face},
      {kbsPressed, dark, light, face},
      {kbsFocused, face, dark, face},
      {kbsDefault, face, face, face},
  };
  for (const auto& c : cases) {
    auto p = Paint([&](TteTheme& t, TCanvas& cv, const TRect& r) { t.PaintButton(0, cv, ButtonInfo(r, c.State), kDef); }, 30, 20);
    EXPECT_EQ(p->At(0, 0), kBlack) << int(c.State);
    EXPECT_EQ(p->At(29, 19), kBlack) << int(c.State);
    EXPECT_EQ(p->At(1, 1), c.At11) << int(c.State);
    EXPECT_EQ(p->At(28, 18), c.AtInnerBottomRight) << int(c.State);
    EXPECT_EQ(p->At(15, 10), c.Centre) << int(c.State);
  }
}

TEST(BaseThemePaint, WindowFrame) {
  const TColor face = Face();
  for (bool active : {true, false}) {
    auto p = Paint([&](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindow(0, c, WindowInfo(r, active, 0, QString()), kDef); }, 100, 60);
    EXPECT_EQ(p->At(0, 0), kBlack);
    EXPECT_EQ(p->At(99, 59), kBlack);
    EXPECT_EQ(p->At(1, 1), LightenColor(face, 100));
    EXPECT_EQ(p->At(98, 58), LightenColor(face, -100));
    EXPECT_EQ(p->At(2, 2), kGrey);    // top band
    EXPECT_EQ(p->At(3, 40), kGrey);   // left band
    EXPECT_EQ(p->At(96, 40), kGrey);  // right band
    EXPECT_EQ(p->At(50, 57), kGrey);  // bottom band
    EXPECT_EQ(p->At(4, 3), active ? kBlue : kSilver);
    EXPECT_EQ(p->At(95, 21), active ? kBlue : kSilver);
    EXPECT_EQ(p->At(50, 2), kGrey) << "the row above the caption is border";
    EXPECT_TRUE(p->Untouched(4, 22));
    EXPECT_TRUE(p->Untouched(95, 55));
  }
}

TEST(BaseThemePaint, WindowButtons) {
  const TColor face = Face(), light = LightenColor(face, 100), dark = LightenColor(face, -100);
  for (uint8_t state : {kwbsNormal, kwbsPressed}) {
    const bool pressed = state == kwbsPressed;
    auto tray = Paint([&](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiTray, state, nullptr), kDef); }, 22, 18);
    EXPECT_EQ(tray->At(0, 0), pressed ? dark : light);
    EXPECT_EQ(tray->At(21, 17), pressed ? light : dark);
    // The 3 x 3 square in the corner of the rectangle inset 3, moved out unless pressed.
    EXPECT_EQ(tray->At(16, 12), pressed ? kBlack : face);
    EXPECT_EQ(tray->At(19, 15), pressed ? face : kBlack);
  }
  auto hot = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiRollUp, kwbsHot, nullptr), kDef); }, 22, 18);
  EXPECT_EQ(hot->At(2, 2), face);  // ButtonHot is the face by default
  // Roll up: base on the bottom row of (4, 5, 18, 13), apex at the top middle.
  EXPECT_EQ(hot->At(5, 12), kBlack);
  EXPECT_EQ(hot->At(11, 5), kBlack);
  EXPECT_EQ(hot->At(5, 6), face);
  auto down = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiRollDown, 0, nullptr), kDef); }, 22, 18);
  EXPECT_EQ(down->At(5, 5), kBlack);
  EXPECT_EQ(down->At(5, 11), face);
  auto none = Paint([](TteTheme& t, TCanvas& c, const TRect&) { t.PaintWindowButton(0, c, WindowButtonInfo(kNullRect, kbiClose, 0, nullptr), kDef); }, 22, 18);
  EXPECT_TRUE(none->AllUntouched());
  // The icon slot draws only its bitmap.
  TteBitmap icon;
  icon.SetSize(4, 4);
  icon.Fill(0xFF00FF00);
  auto sys = Paint([&](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiSysMenu, 0, &icon), kDef); }, 22, 18);
  EXPECT_TRUE(sys->Untouched(0, 0));
  EXPECT_EQ(sys->Bitmap.GetPixel(9, 7), 0xFF00FF00u);
  EXPECT_TRUE(sys->Untouched(8, 7));
}

TEST(BaseThemePaint, GripperFillsAndMarks) {
  auto hidden = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowGripper(0, c, GripInfo(r, false), kDef); }, 20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(hidden->At(x, y), kGrey);
  auto shown = Paint([](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowGripper(0, c, GripInfo(r, true), kDef); }, 20, 20);
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) black += shown->At(x, y) == kBlack;
  EXPECT_GT(black, 0);
  EXPECT_EQ(shown->At(0, 0), kGrey);
}

TEST(BaseThemeWindow, ButtonRectangles) {
  const TRect window{0, 0, 200, 100};  // content (4, 22, 196, 96)
  const TRect r0{173, 4, 195, 21};
  const struct {
    uint16_t Buttons;
    int Button;
    TRect Expected;
  } cases[] = {
      {WindowButtonBit(kbiClose) | WindowButtonBit(kbiMinimize) | WindowButtonBit(kbiHelp), kbiClose, r0},
      {WindowButtonBit(kbiClose) | WindowButtonBit(kbiMinimize) | WindowButtonBit(kbiHelp), kbiMinimize, r0.Offset(-22, 0)},
      {WindowButtonBit(kbiClose) | WindowButtonBit(kbiMinimize) | WindowButtonBit(kbiHelp), kbiHelp, r0.Offset(-44, 0)},
      {WindowButtonBit(kbiClose) | WindowButtonBit(kbiMinimize) | WindowButtonBit(kbiHelp), kbiMaximize, kNullRect},
      {WindowButtonBit(kbiMaximize) | WindowButtonBit(kbiRestoreMinimized), kbiRestoreMinimized, r0.Offset(-22, 0)},
      {WindowButtonBit(kbiRestore) | WindowButtonBit(kbiTray) | WindowButtonBit(kbiClose), kbiTray, r0.Offset(-44, 0)},
      {WindowButtonBit(kbiRollDown) | WindowButtonBit(kbiHelp), kbiHelp, r0.Offset(-22, 0)},
      {WindowButtonBit(kbiSysMenu), kbiSysMenu, TRect{4, 4, 26, 21}},
      {WindowButtonBit(kbiCustom1), kbiCustom1, kNullRect},
      {0xFFFF, 13, kNullRect},
  };
  TteTheme theme;
  for (const auto& c : cases) {
    const TRect r = theme.WindowButtonRect(0, WindowInfo(window, true, c.Buttons, {}), c.Button, kDef);
    EXPECT_EQ(r, c.Expected) << "buttons " << c.Buttons << " button " << c.Button;
  }
  const TteWindowInfo info = WindowInfo(window, true, 0, {});
  EXPECT_EQ(theme.WindowContentRect(3, info, kDef), (TRect{4, 22, 196, 96}));
  EXPECT_EQ(theme.WindowCaptionRect(0, info, kDef), (TRect{4, 3, 196, 22}));
}

TEST(BaseThemeWindow, HitTest) {
  const uint16_t buttons = WindowButtonBit(kbiSysMenu) | WindowButtonBit(kbiClose) |
                           WindowButtonBit(kbiMinimize) | WindowButtonBit(kbiHelp);
  const TteWindowInfo info = WindowInfo({0, 0, 200, 100}, true, buttons, {});
  const struct {
    uint8_t Kind;
    int X, Y, Hit;
  } cases[] = {
      {0, 1, 50, khtLeft},        {0, 100, 1, khtTop},         {0, 198, 50, khtRight},
      {0, 100, 98, khtBottom},    {0, 1, 1, khtTopLeft},       {0, 198, 1, khtTopRight},
      {0, 1, 98, khtBottomLeft},  {0, 198, 98, khtBottomRight}, {0, 2, 10, khtTopLeft},
      {0, 100, 10, khtCaption},   {0, 180, 10, khtClose},      {0, 160, 10, khtMinimize},
      {0, 140, 10, khtHelp},      {0, 10, 10, khtSysMenu},     {0, 100, 50, khtNowhere},
      {0, 300, 50, khtNowhere},   {1, 180, 10, khtClose},      {2, 100, 10, khtCaption},
      {6, 1, 50, khtLeft},        {3, 100, 10, khtNowhere},    {4, 100, 10, khtNowhere},
      {5, 1, 50, khtNowhere},
  };
  TteTheme theme;
  for (const auto& c : cases)
    EXPECT_EQ(theme.WindowHitTest(c.Kind, info, c.X, c.Y, QStringLiteral("other")), c.Hit)
        << "kind " << int(c.Kind) << " at " << c.X << "," << c.Y;
}

TEST(BaseThemeQueries, AvailabilityTransparencyAndContentRects) {
  TteTheme t;
  const TRect r{10, 20, 110, 80};
  EXPECT_FALSE(t.HasWindow(0, kDef) || t.HasButton(0, kDef) || t.HasEdit(0, kDef) ||
               t.HasList(0, kDef) || t.HasTree(0, kDef) || t.HasGrid(0, kDef) || t.HasMenu(0, kDef));
  EXPECT_TRUE(t.IsLabelTransparent(0, kDef));
  EXPECT_TRUE(t.IsCheckBoxTransparent(0, kDef));
  EXPECT_TRUE(t.IsTrackBarTransparent(0, kDef));
  EXPECT_TRUE(t.IsGroupBoxTransparent(0, kDef));
  EXPECT_TRUE(t.IsTabTransparent(0, kDef));
  EXPECT_FALSE(t.IsButtonTransparent(0, kDef));
  EXPECT_EQ(t.HintContentRect(0, r, kDef), (TRect{20, 33, 100, 67}));
  EXPECT_EQ(t.StatusBarContentRect(0, r, kDef), (TRect{15, 22, 105, 78}));
  EXPECT_EQ(t.EditContentRect(0, EditInfo(r, 0), kDef), (TRect{13, 23, 107, 77}));
  EXPECT_EQ(t.MenuContentRect(0, r, kDef), (TRect{13, 25, 107, 75}));
  EXPECT_EQ(t.ToolContentRect(0, r, kDef), (TRect{21, 22, 108, 78}));
  EXPECT_EQ(t.ListContentRect(0, r, kDef), (TRect{14, 25, 106, 75}));
  EXPECT_EQ(t.TreeContentRect(0, r, kDef), (TRect{12, 22, 108, 78}));
  EXPECT_EQ(t.ScrollBoxContentRect(0, r, kDef), (TRect{13, 23, 107, 77}));
  EXPECT_EQ(t.PanelContentRect(0, r, kDef), r);
  EXPECT_EQ(t.CheckBoxSize(0, kDef), (TPoint{13, 13}));
  EXPECT_EQ(t.TrackBarThumbSize(0, StateWordInfo(r, 0, 0), kDef), (TPoint{0, 0}));
  EXPECT_EQ(t.GetObjectBounds(QStringLiteral("x")), kNullRect);
  EXPECT_EQ(t.GetCustomColor(QStringLiteral("x")), clNone);
  EXPECT_FALSE(t.GetWindowRegion(0, r, kDef).has_value());
  EXPECT_EQ(TteTheme::GetThemeKindName(), QStringLiteral("Default"));
  const TteThemeConfig config = TteTheme::GetThemeConfig();
  EXPECT_FALSE(config.BuiltIn || config.CanLoad || config.CanSave);
  EXPECT_EQ(t.Name, QStringLiteral("Default theme"));
}

TEST(ThemeTextInfo, BuiltFromFormatFlags) {
  const struct {
    uint32_t Flags;
    uint8_t Alignment, Options;
  } cases[] = {
      {0, ktaTopLeft, 0},
      {DT_VCENTER, ktaMiddleLeft, 0},
      {DT_BOTTOM, ktaBottomLeft, 0},
      {DT_CENTER, ktaTopCenter, 0},
      {DT_CENTER | DT_VCENTER, ktaCenter, 0},
      {DT_CENTER | DT_BOTTOM, ktaBottomCenter, 0},
      {DT_RIGHT, ktaTopRight, 0},
      {DT_RIGHT | DT_VCENTER, ktaMiddleRight, 0},
      {DT_RIGHT | DT_BOTTOM, ktaBottomRight, 0},
      {DT_CENTER | DT_VCENTER | DT_RTLREADING, ktaCenter, ktoRtlReading},
      {DT_NOPREFIX | DT_WORDBREAK, ktaTopLeft, ktoNoPrefix | ktoWordWrap},
      {DT_SINGLELINE, ktaTopLeft, ktoSingleLine},
  };
  for (const auto& c : cases) {
    const TteTextInfo info = TextInfo({1, 2, 3, 4}, QStringLiteral("x"), c.Flags);
    EXPECT_EQ(info.Alignment, c.Alignment) << std::hex << c.Flags;
    EXPECT_EQ(info.Options, c.Options) << std::hex << c.Flags;
    EXPECT_EQ(info.Orientation, ktoHorizontal);
  }
}

TEST(ThemeTextLayout, HorizontalAlignmentsPlaceTheMeasuredBox) {
  TteBitmap bitmap;
  bitmap.SetSize(4, 4);
  TCanvas& canvas = bitmap.Canvas();
  const TRect box{10, 20, 211, 121};  // W 201, H 101: odd sizes test the rounding
  const QString text = QStringLiteral("Hello");
  TRect measured = box;
  canvas.DrawText(text, measured, DT_SINGLELINE | DT_CALCRECT);
  const int w = measured.Width(), h = measured.Height();
  ASSERT_GT(w, 0);
  ASSERT_GT(h, 0);
  const int cx = (201 - w) / 2, rx = 201 - w, cy = (101 - h) / 2, by = 101 - h;
  const int dx[9] = {0, 0, 0, cx, cx, cx, rx, rx, rx};
  const int dy[9] = {0, cy, by, 0, cy, by, 0, cy, by};
  for (int a = 0; a < 9; ++a) {
    TteTextInfo info = TextInfo(box, text, DT_SINGLELINE);
    info.Alignment = uint8_t(a);
    const TteTextLayout layout = LayoutText(canvas, info);
    EXPECT_TRUE(layout.Draw);
    EXPECT_FALSE(layout.Vertical);
    EXPECT_EQ(layout.Flags, uint32_t(DT_SINGLELINE));
    const TRect expected = a == 0 ? box : TRect{10, 20, 10 + w, 20 + h}.Offset(dx[a], dy[a]);
    EXPECT_EQ(layout.Box, expected) << "alignment " << a;
    // Right-to-left mirrors the left column onto the right one.
    info.Options |= ktoRtlReading;
    const TteTextLayout rtl = LayoutText(canvas, info);
    EXPECT_TRUE(rtl.Flags & DT_RTLREADING);
    const int mirrored = a <= 2 ? a + 6 : a;
    EXPECT_EQ(rtl.Box, TRect({10, 20, 10 + w, 20 + h}).Offset(dx[mirrored], dy[mirrored]))
        << "rtl alignment " << a;
  }
}

TEST(ThemeTextLayout, VerticalTextCentresOnlyAtCentreOrTopLeft) {
  TteBitmap bitmap;
  bitmap.SetSize(4, 4);
  TCanvas& canvas = bitmap.Canvas();
  const QString text = QStringLiteral("Vertical");
  TRect m{0, 0, 1000, 1000};
  canvas.DrawText(text, m, DT_SINGLELINE | DT_CALCRECT);
  const int w = m.Width(), h = m.Height();
  // A box away from the origin: the measuring box is the turned box, not (L, T, B, R).
  const TRect box{300, 50, 340, 250};
  for (uint8_t orientation : {ktoVerticalUp, ktoVerticalDown}) {
    TteTextInfo info = TextInfo(box, text, DT_SINGLELINE);
    info.Orientation = orientation;
    info.Alignment = ktaCenter;
    const TteTextLayout centre = LayoutText(canvas, info);
    EXPECT_TRUE(centre.Draw);
    EXPECT_EQ(centre.Upwards, orientation == ktoVerticalUp);
    const TRect expected{300 + (40 - h) / 2, 50 + (200 - w) / 2 - 2, 300 + (40 - h) / 2 + h,
                         50 + (200 - w) / 2 + w + 2};
    EXPECT_EQ(centre.Box, expected);
    info.Alignment = ktaTopLeft;
    EXPECT_EQ(LayoutText(canvas, info).Box, box);
    for (uint8_t a : {1, 2, 3, 5, 6, 7, 8}) {
      info.Alignment = a;
      EXPECT_FALSE(LayoutText(canvas, info).Draw) << int(a);
    }
  }
}

TEST(ThemeItemGlyphs, StandardGlyphsStayInTheirBox) {
  for (uint8_t kind : {kgkCheck, kgkRadio, kgkSubMenu}) {
    auto p = Paint([&](TteTheme& t, TCanvas& c, const TRect& r) {
      c.Font.Color = kRed;
      t.PaintMenuItemGlyph(0, c, MenuItemInfo(r, 0, 0), ItemGlyphInfo(TRect{10, 10, 30, 30}, kind), kDef);
    }, 40, 40);
    int drawn = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 40; ++x)
        if (!p->Untouched(x, y)) {
          ++drawn;
          EXPECT_TRUE(x >= 12 && x < 28 && y >= 12 && y < 28) << int(kind) << " at " << x << "," << y;
          EXPECT_EQ(p->At(x, y), kind == kgkRadio ? kBlack : kRed) << int(kind);
        }
    EXPECT_GT(drawn, 0) << int(kind);
  }
}

TEST(ThemeGlyphRecords, ImageListEntriesRenderIntoTheSharedScratch) {
  QImage strip(6, 3, QImage::Format_ARGB32);
  strip.fill(qRgba(0, 0, 0, 0));
  strip.setPixel(3, 0, qRgba(200, 100, 0, 255));  // entry 1, top-left
  strip.setPixel(0, 0, qRgba(10, 20, 30, 255));   // entry 0
  const TRect r{0, 0, 8, 8};
  const TteGlyphInfo one = GlyphInfo(r, TteImageList{&strip, 0, true}, 1, 2);
  ASSERT_NE(one.Bitmap, nullptr);
  EXPECT_EQ(one.State, 2);
  EXPECT_EQ(one.Bitmap->Width(), 3);
  EXPECT_TRUE(one.Bitmap->Transparent);
  EXPECT_EQ(one.Bitmap->GetPixel(0, 0), 0xFFC86400u);
  EXPECT_EQ(one.Bitmap->GetPixel(1, 0) & 0xFFFFFFu, kTeColorKey) << "masked: the rest is key";
  const TteItemGlyphInfo grey = ItemGlyphInfo(r, TteImageList{&strip, 0, true}, 1, false, 0);
  ASSERT_NE(grey.Bitmap, nullptr);
  EXPECT_EQ(grey.GlyphKind, kgkImage);
  const TteColor g = grey.Bitmap->GetPixel(0, 0);
  EXPECT_TRUE((g & 0xFF) == ((g >> 8) & 0xFF) && (g & 0xFF) == ((g >> 16) & 0xFF)) << std::hex << g;
  for (int index : {-1, 2, 1 << 30})
    EXPECT_EQ(GlyphInfo(r, TteImageList{&strip, 0, false}, index, 0).Bitmap, nullptr) << index;
  EXPECT_EQ(GlyphInfo(r, TteImageList{nullptr, 0, false}, 0, 0).Bitmap, nullptr);
  FreeGlyphScratch();
}
