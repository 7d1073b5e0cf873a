// The flat theme: its tables, answers and window geometry, and its painting on bitmaps
// (pixel-exact fills, frames, state colours and glyph positions; no text pixels).
#include <gtest/gtest.h>

#include "painted.h"
#include "theme_flat.h"
#include "theme_manager.h"

namespace {

constexpr TColor kBorder = 0x8396A0, kHot = 0xE1EAEB, kPressed = 0x996633, kWhite = 0xFFFFFF,
                 kSelection = 0xB59285, kGrey = 0x808080;
const QString kDef = QStringLiteral("default");

TColor Face() { return GetSysColor(COLOR_BTNFACE); }

using PaintFn = ThemePaintFn<TTeFlatTheme>;
constexpr auto Paint = PaintWith<TTeFlatTheme>;

void ExpectFramed(const Painted& p, TColor fill, TColor frame, const char* name) {
  const int w = p.Bitmap.Width(), h = p.Bitmap.Height();
  EXPECT_EQ(p.At(w / 2, h / 2), fill) << name << ": fill";
  for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {w / 2, 0}})
    EXPECT_EQ(p.At(x, y), frame) << name << ": frame at " << x << "," << y;
}

}  // namespace

TEST(FlatThemeTables, PaletteIsFixedAndUnsetEntriesKeepTheBaseValues) {
  TTeFlatTheme t;
  const struct {
    int Index;
    TColor Value;
  } expected[] = {
      {kcCaptionNormal, 0x9CDEF7},      {kcCaptionInactive, TColor(0xFF00000F)},
      {kcWindowBorder, 0x808080},       {kcWindow, TColor(0xFF00000F)},
      {kcBorder, kBorder},              {kcPanelNormal, TColor(0xFF00000F)},
      {kcPanelDisabled, TColor(0xFF00000F)}, {kcButtonNormal, TColor(0xFF00000F)},
      {kcButtonHot, kHot},              {kcButtonPressed, kPressed},
      {kcButtonFocused, kPressed},      {kcButtonDisabled, TColor(0xFF00000F)},
      {kcEditNormal, kWhite},           {kcEditHot, kWhite},
      {kcEditFocused, kWhite},          {kcEditDisabled, kWhite},
      {kcEditSelection, kSelection},    {kcList, kWhite},
      {kcTree, kWhite},                 {kcGrid, kWhite},
      // Never set by this theme: what the base put there, not black.
      {kcHint, TColor(0xFF000018)},     {kcBarDock, TColor(0xFF00000F)},
  };
  for (const auto& e : expected)
    EXPECT_EQ(t.Colors().GetColor(e.Index), e.Value) << ThemeColorName(e.Index);

  // Hue and brightness leave the palette alone but reach the fonts.
  t.SetDeltaHueBrightness(60, 20);
  for (const auto& e : expected)
    EXPECT_EQ(t.Colors().GetColor(e.Index), e.Value) << "shifted " << ThemeColorName(e.Index);
  EXPECT_EQ(t.Fonts().GetFont(kfCaptionTextInactive).Color, 0x949494);
  t.SetDeltaHueBrightness(0, 0);
  EXPECT_EQ(t.Fonts().GetFont(kfCaptionTextInactive).Color, 0x808080);
}

TEST(FlatThemeTables, Fonts) {
  TTeFlatTheme t;
  const struct {
    int Index, Size;
    TColor Color;
    bool Bold;
  } expected[] = {
      {kfCaptionTextNormal, 10, 0x000000, true},  {kfCaptionTextInactive, 10, 0x808080, true},
      {kfSmCaptionTextNormal, 8, 0xFFFFFF, true}, {kfSmCaptionTextInactive, 8, 0xC0C0C0, true},
      {kfStaticTextNormal, 8, 0, false},          {kfGroupBoxTextDisabled, 8, 0, false},
      {kfHeaderSectionTextDisabled, 8, 0, false}, {kfButtonTextDisabled, 8, 0x808080, false},
      {kfEditBoxTextDisabled, 8, 0x808080, false}, {kfPopupMenuItemTextDisabled, 8, 0x808080, false},
      {kfEditBoxTextSelected, 8, 0xFFFFFF, false},
  };
  for (const auto& e : expected) {
    const TFont& f = t.Fonts().GetFont(e.Index);
    EXPECT_EQ(f.family(), QStringLiteral("Tahoma")) << ThemeFontName(e.Index);
    EXPECT_EQ(FontSize(f), e.Size) << ThemeFontName(e.Index);
    EXPECT_EQ(f.Color, e.Color) << ThemeFontName(e.Index);
    EXPECT_EQ(f.bold(), e.Bold) << ThemeFontName(e.Index);
  }
}

// Calls through a copied member pointer: GCC's bounds sanitizer misreads a
// call straight through an indexed array of pointers to virtual members.
template <typename Fn>
bool Ask(TteTheme& t, Fn fn) {
  volatile Fn copy = fn;
  return (t.*copy)(0, kDef);
}

TEST(FlatThemeQueries, AvailabilityTransparencyAndConfig) {
  TTeFlatTheme t;
  using Has = bool (TteTheme::*)(uint8_t, const QString&);
  const Has available[] = {
      &TteTheme::HasWindow,    &TteTheme::HasLabel,     &TteTheme::HasPanel,
      &TteTheme::HasButton,    &TteTheme::HasCheckBox,  &TteTheme::HasSplitter,
      &TteTheme::HasProgressBar, &TteTheme::HasTrackBar, &TteTheme::HasHeader,
      &TteTheme::HasStatusBar, &TteTheme::HasEdit,      &TteTheme::HasGroupBox,
      &TteTheme::HasTextArea,  &TteTheme::HasTextAreaPart, &TteTheme::HasMenu,
      &TteTheme::HasDock,      &TteTheme::HasTool,      &TteTheme::HasScrollBox,
      &TteTheme::HasCollapsePanel, &TteTheme::HasTab,   &TteTheme::HasList,
      &TteTheme::HasTree,      &TteTheme::HasGrid,
  };
  for (size_t i = 0; i < std::size(available); ++i)
    EXPECT_TRUE(Ask(t, available[i])) << "availability " << i;
  EXPECT_TRUE(t.HasScrollBar(0, kDef));
  EXPECT_FALSE(t.HasScrollBar(1, kDef));
  EXPECT_FALSE(t.HasHint(0, kDef));

  const Has transparent[] = {&TteTheme::IsButtonTransparent, &TteTheme::IsCheckBoxTransparent,
                             &TteTheme::IsGroupBoxTransparent, &TteTheme::IsTrackBarTransparent};
  for (size_t i = 0; i < std::size(transparent); ++i)
    EXPECT_TRUE(Ask(t, transparent[i])) << "transparent " << i;
  const Has opaque[] = {
      &TteTheme::IsPanelTransparent,    &TteTheme::IsSplitterTransparent,
      &TteTheme::IsScrollBarTransparent, &TteTheme::IsProgressBarTransparent,
      &TteTheme::IsHeaderTransparent,   &TteTheme::IsStatusBarTransparent,
      &TteTheme::IsEditTransparent,     &TteTheme::IsTextAreaTransparent,
      &TteTheme::IsMenuTransparent,     &TteTheme::IsTabTransparent,
      &TteTheme::IsListTransparent,     &TteTheme::IsTreeTransparent,
      &TteTheme::IsGridTransparent,     &TteTheme::IsCollapsePanelTransparent,
  };
  for (size_t i = 0; i < std::size(opaque); ++i)
    EXPECT_FALSE(Ask(t, opaque[i])) << "opaque " << i;

  const TteThemeConfig c = TTeFlatTheme::GetThemeConfig();
  EXPECT_TRUE(c.BuiltIn);
  EXPECT_FALSE(c.CanLoad);
  EXPECT_FALSE(c.CanSave);
  EXPECT_TRUE(c.Filter.isEmpty() && c.Extension.isEmpty());
  EXPECT_EQ(&t.Class(), &TTeFlatTheme::ThemeClass());
  EXPECT_EQ(t.MenuStripWidth, 0);
}

TEST(FlatThemeQueries, ContentRectangles) {
  TTeFlatTheme t;
  const TRect r{10, 20, 110, 80};
  EXPECT_EQ(t.PanelContentRect(0, r, kDef), (TRect{12, 22, 108, 78}));
  EXPECT_EQ(t.GroupBoxContentRect(0, GroupBoxInfo(r, kNullRect, 0), kDef), (TRect{16, 26, 104, 74}));
  EXPECT_EQ(t.StatusBarContentRect(0, r, kDef), (TRect{15, 22, 105, 78}));
  EXPECT_EQ(t.EditContentRect(0, EditInfo(r, 0), kDef), (TRect{14, 24, 106, 76}));
  EXPECT_EQ(t.TextAreaContentRect(0, {r, 0}, kDef), r);
  EXPECT_EQ(t.TextAreaPartContentRect(0, {r, 0}, kDef), (TRect{12, 22, 108, 78}));
  for (auto fn : {&TteTheme::ListContentRect, &TteTheme::TreeContentRect,
                  &TteTheme::GridContentRect, &TteTheme::MenuContentRect,
                  &TteTheme::ScrollBoxContentRect, &TteTheme::CollapsePanelContentRect})
    EXPECT_EQ((t.*fn)(0, r, kDef), (TRect{12, 22, 108, 78}));
  EXPECT_EQ(t.TabContentRect(0, r, kDef), r);
  EXPECT_EQ(t.DockContentRect(0, r, kDef), r);
}

TEST(FlatThemeWindow, ContentCaptionAndButtonRectangles) {
  TTeFlatTheme t;
  const TteWindowInfo info = WindowInfo({0, 0, 200, 100}, true, 0, QString());
  const struct {
    uint8_t Kind;
    TRect Content;
  } kinds[] = {{0, {3, 23, 197, 97}}, {1, {3, 23, 197, 97}}, {2, {3, 3, 197, 97}},
               {4, {0, 0, 200, 100}}, {6, {3, 19, 197, 97}}};
  for (const auto& k : kinds) {
    EXPECT_EQ(t.WindowContentRect(k.Kind, info, kDef), k.Content) << int(k.Kind);
    EXPECT_EQ(t.WindowCaptionRect(k.Kind, info, kDef),
              (TRect{k.Content.Left, 3, k.Content.Right, k.Content.Top}))
        << int(k.Kind);
  }

  auto rect = [&](uint16_t buttons, int button) {
    return t.WindowButtonRect(0, WindowInfo({0, 0, 200, 100}, true, buttons, QString()), button,
                              kDef);
  };
  const TRect r0{175, 3, 197, 23};
  const uint16_t closeMin = WindowButtonBit(kbiClose) | WindowButtonBit(kbiMinimize);
  EXPECT_EQ(rect(closeMin, kbiClose), r0);
  EXPECT_EQ(rect(closeMin, kbiMinimize), r0.Offset(-24, 0));
  EXPECT_EQ(rect(closeMin, kbiMaximize), kNullRect);

  uint16_t all = 0;
  for (int b = 0; b < kWindowButtonCount; ++b) all |= WindowButtonBit(b);
  const struct {
    int Button, Steps;
  } row[] = {{kbiClose, 0}, {kbiMaximize, 1}, {kbiRestore, 1}, {kbiMinimize, 2},
             {kbiRestoreMinimized, 2}, {kbiRollUp, 3}, {kbiRollDown, 3}, {kbiTray, 4},
             {kbiHelp, 5}};
  for (const auto& b : row) EXPECT_EQ(rect(all, b.Button), r0.Offset(-24 * b.Steps, 0)) << b.Button;
  EXPECT_EQ(rect(all, kbiSysMenu), (TRect{3, 4, 25, 22}));
  for (int b : {kbiCustom1, kbiCustom2, kbiCustom3}) EXPECT_EQ(rect(all, b), kNullRect) << b;
  // Help moves only for the groups that are there.
  EXPECT_EQ(rect(WindowButtonBit(kbiHelp) | WindowButtonBit(kbiTray), kbiHelp), r0.Offset(-24, 0));

  // The hit test runs on these rectangles.
  const TteWindowInfo withClose = WindowInfo({0, 0, 200, 100}, true, closeMin, QString());
  EXPECT_EQ(t.WindowHitTest(0, withClose, 180, 10, kDef), khtClose);
  EXPECT_EQ(t.WindowHitTest(0, withClose, 160, 10, kDef), khtMinimize);
  EXPECT_EQ(t.WindowHitTest(0, withClose, 60, 10, kDef), khtCaption);
}

TEST(FlatThemePaint, FillsAndFrames) {
  const struct {
    const char* Name;
    PaintFn Fn;
    TColor Fill, Frame;
  } cases[] = {
      {"Panel", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintPanel(0, c, r, kDef); }, Face(), kBorder},
      {"Splitter", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintSplitter(0, c, r, kDef); }, Face(), kBorder},
      {"ProgressFrame", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintProgressBar(0, c, ProgressInfo(r, 1), kDef); }, Face(), kBorder},
      {"ProgressBar", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintProgressBar(0, c, ProgressInfo(r, 4), kDef); }, kHot, kBorder},
      {"TrackThumbHot", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBarThumb(0, c, StateWordInfo(r, 3, 2), kDef); }, kHot, kBorder},
      {"TrackThumb", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBarThumb(0, c, StateWordInfo(r, 3, 3), kDef); }, Face(), kBorder},
      {"Header", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintHeader(0, c, r, kDef); }, Face(), Face()},
      {"StatusBar", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusBar(0, c, r, kDef); }, Face(), Face()},
      {"Edit", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintEdit(0, c, EditInfo(r, kesFocused), kDef); }, kWhite, kBorder},
      {"EditSelection", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintEdit(0, c, EditInfo(r, kesSelection), kDef); }, kSelection, kSelection},
      {"TextArea", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTextArea(0, c, {r, 2}, kDef); }, kWhite, kBorder},
      {"TextAreaPart", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTextAreaPart(0, c, {r, 1}, kDef); }, Face(), kBorder},
      {"MenuBar", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintMenu(0, c, r, kDef); }, Face(), Face()},
      {"Popup", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintMenu(1, c, r, kDef); }, kWhite, kGrey},
      {"Dock", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintDock(0, c, r, kDef); }, Face(), Face()},
      {"ToolKind2", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTool(2, c, r, kDef); }, kWhite, kGrey},
      {"ScrollBox", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBox(0, c, r, kDef); }, Face(), kBorder},
      {"CollapsePanel", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanel(0, c, r, kDef); }, Face(), kBorder},
      {"CollapseCaption", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanelCaption(0, c, {r, 1}, kDef); }, Face(), kBorder},
      {"TabPage", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTabPage(0, c, r, kDef); }, Face(), kBorder},
      {"List", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintList(0, c, r, kDef); }, kWhite, kBorder},
      {"Tree", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTree(0, c, r, kDef); }, kWhite, kBorder},
      {"Grid", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintGrid(0, c, r, kDef); }, kWhite, kBorder},
      {"FixedCell", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintGridCell(0, c, StateWordInfo(r, 2, 1), kDef); }, Face(), Face()},
      {"ToolGrabber", [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintToolButton(0, c, ToolButtonInfo({r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1}, 13, 0), kDef); }, kHot, kBorder},
  };
  for (const auto& c : cases) ExpectFramed(*Paint(c.Fn, 12, 10), c.Fill, c.Frame, c.Name);

  // A normal tool button, the track bar and the collapse-panel part leave the background.
  for (const PaintFn& fn : std::initializer_list<PaintFn>{
           [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintToolButton(0, c, ToolButtonInfo(r, 0, 0), kDef); },
           [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintToolButton(0, c, ToolButtonInfo(r, 8, ktbsDisabled), kDef); },
           [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBar(0, c, r, kDef); },
           [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintCollapsePanelPart(0, c, StateWordInfo(r, 0, 0), kDef); },
           [](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBar(0, c, r, kDef); }})
    EXPECT_TRUE(Paint(fn, 12, 10)->AllUntouched());

  auto tool = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTool(0, c, r, kDef); }, 12, 10);
  EXPECT_EQ(tool->At(5, 5), LightenColor(Face(), 10));
  EXPECT_EQ(tool->At(0, 0), LightenColor(Face(), 30));
  EXPECT_EQ(tool->At(11, 9), LightenColor(Face(), -30));

  auto track = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintScrollBarTrack(0, c, ScrollPartInfo(r, 2, 0), kDef); }, 4, 4);
  EXPECT_EQ(track->At(0, 0), kWhite);
  EXPECT_EQ(track->At(1, 0), Face());

  auto trackBar = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintTrackBarTrack(0, c, StateWordInfo(r, 1, 0), kDef); }, 12, 10);
  EXPECT_TRUE(trackBar->Untouched(1, 1));
  EXPECT_EQ(trackBar->At(2, 2), kBorder);
  EXPECT_EQ(trackBar->At(5, 5), Face());
}

TEST(FlatThemePaint, FillsByState) {
  struct Case {
    const char* Name;
    std::function<void(TTeFlatTheme&, TCanvas&, const TRect&, uint8_t)> Fn;
    std::vector<std::pair<uint8_t, TColor>> States;
    bool Framed;
  };
  const TColor n = Face();
  const Case cases[] = {
      {"Button", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintButton(0, c, ButtonInfo(r, s), kDef); },
       {{0, n}, {1, kHot}, {2, kPressed}, {3, n}, {4, kPressed}, {6, kPressed}, {5, n}}, true},
      {"CheckBox", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintCheckBox(0, c, CheckBoxInfo(r, s), kDef); },
       {{5, n}, {6, kHot}, {7, kPressed}, {8, n}}, true},
      {"ScrollPart", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintScrollBarPart(0, c, ScrollPartInfo(r, s, kspVertThumb), kDef); },
       {{0, n}, {1, kPressed}, {2, kHot}, {3, n}}, true},
      {"HeaderSection", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintHeaderSection(0, c, HeaderSectionInfo(r, 0, s), kDef); },
       {{0, n}, {1, kPressed}, {2, n}, {3, kHot}, {4, kHot}, {5, kPressed}, {6, n}}, true},
      {"EditButton", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintEditButton(0, c, EditButtonInfo(r, s, 9), kDef); },
       {{0, n}, {1, kHot}, {2, kPressed}, {4, n}}, true},
      {"ListItem", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintListItem(0, c, ListItemInfo(r, s), kDef); },
       {{0, kWhite}, {1, kWhite}, {4, kWhite}}, false},
      {"GridCell", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintGridCell(0, c, StateWordInfo(r, s, 0), kDef); },
       {{0, kWhite}, {1, kHot}, {4, kWhite}}, false},
      {"TabScroll", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintTabScrollButton(0, c, StateWordInfo(r, 9, s), kDef); },
       {{0, n}, {1, kHot}, {2, kPressed}, {3, n}}, true},
      {"ToolButton", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintToolButton(0, c, ToolButtonInfo(r, 0, s), kDef); },
       {{1, kHot}, {6, kHot}, {2, kPressed}, {5, LightenColor(kPressed, 10)}}, true},
      {"Tab", [](TTeFlatTheme& t, TCanvas& c, const TRect& r, uint8_t s) { t.PaintTab(0, c, TabInfo(r, 0, s), kDef); },
       {{0, n}, {1, kHot}, {2, n}}, true},
  };
  for (const Case& c : cases)
    for (auto [state, fill] : c.States) {
      auto p = Paint([&](TTeFlatTheme& t, TCanvas& cv, const TRect& r) { c.Fn(t, cv, r, state); }, 12, 10);
      EXPECT_EQ(p->At(1, 1), fill) << c.Name << " state " << int(state);
      EXPECT_EQ(p->At(0, 0), c.Framed ? kBorder : fill) << c.Name << " state " << int(state);
    }
  // Selected list and tree items and focused cells are framed.
  for (uint8_t s : {2, 3}) {
    auto list = Paint([&](TTeFlatTheme& t, TCanvas& cv, const TRect& r) { t.PaintListItem(0, cv, ListItemInfo(r, s), kDef); }, 12, 10);
    ExpectFramed(*list, kHot, kBorder, "selected list item");
    auto tree = Paint([&](TTeFlatTheme& t, TCanvas& cv, const TRect& r) { t.PaintTreeItem(0, cv, ListItemInfo(r, s), kDef); }, 12, 10);
    ExpectFramed(*tree, kHot, kBorder, "selected tree item");
    auto cell = Paint([&](TTeFlatTheme& t, TCanvas& cv, const TRect& r) { t.PaintGridCell(0, cv, StateWordInfo(r, s, 0), kDef); }, 12, 10);
    ExpectFramed(*cell, kPressed, kBorder, "focused cell");
  }
  auto tree = Paint([](TTeFlatTheme& t, TCanvas& cv, const TRect& r) { t.PaintTreeItem(0, cv, ListItemInfo(r, 1), kDef); }, 12, 10);
  ExpectFramed(*tree, kWhite, kBorder, "tree item");
}

TEST(FlatThemePaint, ActiveTabStaysOpenTowardsItsPageAndClipIsRestored) {
  const struct {
    uint8_t TabKind;
    int X, Y;  // a pixel of the open edge
  } cases[] = {{0, 5, 9}, {4, 11, 5}, {7, 0, 5}, {10, 5, 0}};
  for (const auto& c : cases) {
    TTeFlatTheme t;
    TteBitmap bm;
    bm.SetSize(12, 10);
    bm.Fill(kMarker);
    t.PaintTab(0, bm.Canvas(), TabInfo({0, 0, 12, 10}, c.TabKind, ktsActiveNormal), kDef);
    EXPECT_EQ(bm.GetPixel(c.X, c.Y), kMarker) << "tab kind " << int(c.TabKind);
    EXPECT_EQ(TeColorToColor(bm.GetPixel(5, 5)), Face());
    EXPECT_FALSE(bm.Canvas().HasClip()) << "tab kind " << int(c.TabKind);
  }
}

TEST(FlatThemePaint, GroupBoxKeepsOutOfTheCaptionAndRestoresTheClip) {
  TTeFlatTheme t;
  TteBitmap bm;
  bm.SetSize(40, 30);
  bm.Fill(kMarker);
  TCanvas& c = bm.Canvas();
  c.SetClipRect({0, 0, 40, 30});
  t.PaintGroupBox(0, c, GroupBoxInfo({0, 0, 40, 30}, {8, 0, 30, 6}, 0), kDef);
  EXPECT_EQ(bm.GetPixel(15, 0), kMarker);      // under the caption
  EXPECT_EQ(TeColorToColor(bm.GetPixel(15, 29)), kBorder);
  EXPECT_EQ(TeColorToColor(bm.GetPixel(0, 15)), kBorder);
  EXPECT_EQ(c.ClipBox(), (TRect{0, 0, 40, 30}));
}

TEST(FlatThemeGlyphs, CheckMarkAndMixedBox) {
  // 13 x 13 box: middle (6, 6), the points move by (5, 7).
  auto check = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintCheckBox(0, c, CheckBoxInfo(r, kcsCheckedNormal), kDef); }, 13, 13);
  for (auto [x, y] : {std::pair{3, 5}, {5, 7}, {9, 3}, {9, 4}, {5, 8}, {3, 6}, {2, 5}, {2, 6}, {5, 9}, {10, 4}, {10, 3}})
    EXPECT_EQ(check->At(x, y), kBorder) << x << "," << y;
  for (auto [x, y] : {std::pair{10, 2}, {7, 9}, {6, 3}}) EXPECT_EQ(check->At(x, y), Face()) << x << "," << y;

  // A list check at a 20 x 20 item: the 13 x 13 box at (3, 3), the same mark moved by 3.
  auto list = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintListItemCheck(0, c, ListItemInfo(r, 0), ListCheckInfo(r, klckChecked), kDef); }, 20, 20);
  EXPECT_TRUE(list->Untouched(2, 2));
  EXPECT_EQ(list->At(3, 3), kBorder);
  EXPECT_EQ(list->At(8, 10), kBorder);   // (5, 7) + 3
  EXPECT_EQ(list->At(13, 5), Face());    // (10, 2) + 3, the left-out end point

  auto mixed = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintCheckBox(0, c, CheckBoxInfo(r, kcsMixedHot), kDef); }, 13, 13);
  EXPECT_EQ(mixed->At(2, 2), kHot);
  EXPECT_EQ(mixed->At(3, 3), kBorder);
  EXPECT_EQ(mixed->At(9, 9), kBorder);
  EXPECT_EQ(mixed->At(10, 10), kHot);

  auto unchecked = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintCheckBox(0, c, CheckBoxInfo(r, kcsUncheckedNormal), kDef); }, 13, 13);
  EXPECT_EQ(unchecked->At(5, 7), Face());
}

TEST(FlatThemeGlyphs, ArrowsSitWhereTheFrameControlPutsThemAndMoveWhenPressed) {
  const struct {
    uint8_t Kind, State;
    uint32_t Arrow;
    int Shift;
  } cases[] = {{kbkArrowUp, kbsNormal, DFCS_SCROLLUP, 0}, {kbkArrowDown, kbsHot, DFCS_SCROLLDOWN, 0},
               {kbkArrowLeft, kbsPressed, DFCS_SCROLLLEFT, 1},
               {kbkArrowRight, kbsPressed, DFCS_SCROLLRIGHT, 1}};
  for (const auto& c : cases) {
    auto p = Paint([&](TTeFlatTheme& t, TCanvas& cv, const TRect& r) { t.PaintButton(c.Kind, cv, ButtonInfo(r, c.State), kDef); }, 17, 17);
    TteBitmap ref;
    ref.SetSize(17, 17);
    ref.Fill(kMarker);
    DrawMaskedFrameControl(ref.Canvas(), TRect{0, 0, 17, 17}.Offset(c.Shift, c.Shift), DFC_SCROLL, c.Arrow, kBorder);
    int glyph = 0;
    for (int y = 1; y < 16; ++y)
      for (int x = 1; x < 16; ++x) {
        const bool on = ref.GetPixel(x, y) != kMarker;
        glyph += on;
        if (on) EXPECT_EQ(p->At(x, y), kBorder) << "kind " << int(c.Kind) << " at " << x << "," << y;
        else EXPECT_NE(p->At(x, y), kBorder) << "kind " << int(c.Kind) << " at " << x << "," << y;
      }
    EXPECT_GT(glyph, 0) << "kind " << int(c.Kind);
  }
  auto dot = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintButton(kbkDot, c, ButtonInfo(r, 0), kDef); }, 15, 15);
  EXPECT_EQ(dot->At(7, 7), 0x0000FF);
  EXPECT_EQ(dot->At(4, 7), Face());
}

TEST(FlatThemeGlyphs, WindowButtons) {
  // Close, normal: filled and framed, the glyph in black, no 3-D frame.
  auto close = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiClose, 0, nullptr), kDef); }, 22, 20);
  EXPECT_EQ(close->At(0, 0), kBorder);
  EXPECT_EQ(close->At(1, 1), Face());
  EXPECT_EQ(close->At(11, 10), 0);
  // Pressed: dark over light inside the outline.
  auto pressed = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiClose, 2, nullptr), kDef); }, 22, 20);
  EXPECT_EQ(pressed->At(1, 1), LightenColor(Face(), -100));
  EXPECT_EQ(pressed->At(20, 18), LightenColor(Face(), 100));
  auto hot = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiMinimize, 1, nullptr), kDef); }, 22, 20);
  EXPECT_EQ(hot->At(1, 1), LightenColor(kHot, 100));
  EXPECT_EQ(hot->At(20, 18), LightenColor(kHot, -100));
  EXPECT_EQ(hot->At(5, 5), kHot);

  // Tray: the 3 x 3 square at the bottom-right of the rectangle inset 3, one further
  // right and down unless pressed.
  for (uint8_t state : {0, 2}) {
    auto tray = Paint([&](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiTray, state, nullptr), kDef); }, 22, 20);
    const int d = state == 2 ? 0 : 1;
    EXPECT_EQ(tray->At(16 + d, 14 + d), 0) << int(state);
    EXPECT_EQ(tray->At(18 + d, 16 + d), 0) << int(state);
    EXPECT_NE(tray->At(15 + d, 14 + d), 0) << int(state);
  }
  // Roll up: a triangle in the rectangle inset (5, 7), apex at the top middle.
  auto roll = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiRollUp, 0, nullptr), kDef); }, 22, 20);
  EXPECT_EQ(roll->At(5, 12), 0);
  EXPECT_EQ(roll->At(16, 12), 0);
  EXPECT_EQ(roll->At(11, 7), 0);
  EXPECT_NE(roll->At(5, 7), 0);
  // The system-menu button has no background.
  auto sys = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowButton(0, c, WindowButtonInfo(r, kbiSysMenu, 1, nullptr), kDef); }, 22, 20);
  EXPECT_TRUE(sys->AllUntouched());
}

TEST(FlatThemePaint, WindowFrameAndCaption) {
  for (bool active : {false, true}) {
    auto p = Paint([&](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintWindow(0, c, WindowInfo(r, active, 0, QString()), kDef); }, 60, 40);
    EXPECT_EQ(p->At(0, 0), kBorder);
    EXPECT_EQ(p->At(1, 20), Face());
    EXPECT_EQ(p->At(2, 20), Face());
    EXPECT_EQ(p->At(3, 3), kBorder);      // caption outline
    EXPECT_EQ(p->At(10, 10), active ? 0x9CDEF7 : Face());
    EXPECT_TRUE(p->Untouched(10, 30));    // the client is not painted
  }
}

TEST(FlatThemeMenus, StripAndSeparatorGeometry) {
  // Flat: no strip; the separator starts 5 + 0 + 2 from the left, 5 from the right.
  auto sep = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(1, c, MenuItemInfo(r, kmikSeparator, 0), kDef); }, 40, 9);
  EXPECT_EQ(sep->At(0, 4), kWhite);
  EXPECT_EQ(sep->At(6, 4), kWhite);
  EXPECT_EQ(sep->At(7, 4), kGrey);
  EXPECT_EQ(sep->At(34, 4), kGrey);
  EXPECT_EQ(sep->At(35, 4), kWhite);
  EXPECT_EQ(sep->At(20, 3), kWhite);
  EXPECT_EQ(sep->At(20, 5), kWhite);
  // An even height still shows its line, on the lower middle row.
  auto even = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(1, c, MenuItemInfo(r, kmikSeparator, 0), kDef); }, 40, 8);
  EXPECT_EQ(even->At(20, 4), kGrey);
  EXPECT_EQ(even->At(20, 3), kWhite);

  const struct {
    uint8_t MenuKind, State;
    TColor Fill, Frame;
  } items[] = {{0, 1, kHot, kBorder}, {0, 2, Face(), kGrey}, {0, 0, Face(), Face()},
               {1, 1, kHot, kBorder}, {1, 2, kHot, kBorder}, {1, 0, kWhite, kWhite},
               {1, 3, kWhite, kWhite}};
  for (const auto& i : items) {
    auto p = Paint([&](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintMenuItem(i.MenuKind, c, MenuItemInfo(r, kmikItem, i.State), kDef); }, 30, 12);
    ExpectFramed(*p, i.Fill, i.Frame, "menu item");
  }
  // Popup: the strip is MenuStripWidth + 2 wide.
  auto popup = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintMenu(1, c, r, kDef); }, 30, 12);
  EXPECT_EQ(popup->At(1, 5), Face());
  EXPECT_EQ(popup->At(2, 5), kWhite);
}

TEST(FlatThemeGlyphs, MenuGlyphs) {
  // Check mark: the rectangle inset 1 filled hot and framed, the mark in the font colour
  // around (cx - 2, cy + 1) of the centred 16 x 16 box, here (8, 11).
  TTeFlatTheme t;
  TteBitmap bm;
  bm.SetSize(20, 20);
  bm.Fill(kMarker);
  bm.Canvas().Font.Color = 0x0000FF;
  t.PaintMenuItemGlyph(1, bm.Canvas(), MenuItemInfo({0, 0, 20, 20}, 0, 0), ItemGlyphInfo({0, 0, 20, 20}, kgkCheck), kDef);
  EXPECT_EQ(bm.GetPixel(0, 0), kMarker);
  EXPECT_EQ(TeColorToColor(bm.GetPixel(1, 1)), kBorder);
  EXPECT_EQ(TeColorToColor(bm.GetPixel(3, 3)), kHot);
  for (auto [x, y] : {std::pair{6, 9}, {8, 11}, {12, 7}, {5, 9}, {8, 13}})
    EXPECT_EQ(TeColorToColor(bm.GetPixel(x, y)), 0x0000FF) << x << "," << y;

  // Tool buttons draw no check mark or radio dot.
  for (uint8_t kind : {kgkCheck, kgkRadio}) {
    auto p = Paint([&](TTeFlatTheme& th, TCanvas& c, const TRect& r) { th.PaintToolButtonGlyph(0, c, ToolButtonInfo(r, 0, 0), ItemGlyphInfo(r, kind), kDef); }, 20, 20);
    EXPECT_TRUE(p->AllUntouched()) << int(kind);
  }
}

TEST(FlatThemeGlyphs, RaisedImageLeavesTheCallersBitmapAlone) {
  TteBitmap image;
  image.SetSize(4, 4);
  image.Fill(0x80FF0000);  // half-transparent red
  image.AlphaBlend = true;
  for (bool menu : {true, false}) {
    TTeFlatTheme t;
    TteBitmap bm;
    bm.SetSize(12, 12);
    bm.Fill(0xFF000000);
    const TteItemGlyphInfo glyph = ItemGlyphInfo({0, 0, 12, 12}, &image, 1, kgkImage);
    if (menu)
      t.PaintMenuItemGlyph(1, bm.Canvas(), MenuItemInfo({0, 0, 12, 12}, 0, 1), glyph, kDef);
    else
      t.PaintToolButtonGlyph(0, bm.Canvas(), ToolButtonInfo({0, 0, 12, 12}, 0, 1), glyph, kDef);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) ASSERT_EQ(image.GetPixel(x, y), 0x80FF0000u) << menu;
    // Drawn opaque one pixel up and left of the centred place (4, 4).
    EXPECT_EQ(TeColorToColor(bm.GetPixel(3, 3)), 0x0000FF) << menu;
    EXPECT_EQ(TeColorToColor(bm.GetPixel(6, 6)), 0x0000FF) << menu;
    EXPECT_NE(TeColorToColor(bm.GetPixel(7, 7)), 0x0000FF) << menu;  // the silhouette
  }
}

TEST(FlatThemeStatus, PanelsSeparatorAndGrip) {
  const TColor shade = LightenColor(Face(), -40);
  auto sep = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusPanel(0, c, StatusPanelInfo(r, 0), kDef); }, 20, 10);
  EXPECT_EQ(sep->At(18, 5), shade);
  EXPECT_EQ(sep->At(19, 5), Face());
  EXPECT_EQ(sep->At(17, 5), Face());
  EXPECT_EQ(sep->At(18, 0), Face());
  auto plain = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusPanel(0, c, StatusPanelInfo(r, 2), kDef); }, 20, 10);
  EXPECT_EQ(plain->At(18, 5), Face());
  auto grip = Paint([](TTeFlatTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusPanel(0, c, StatusPanelInfo(r, 3), kDef); }, 20, 20);
  // g = (8, 8, 18, 18): the inner triangle fills the bottom-right corner.
  EXPECT_EQ(grip->At(17, 17), shade);
  EXPECT_EQ(grip->At(9, 9), Face());
}

TEST(FlatThemeRegistration, ManagerFindsBuiltInKindsByNameInAnyCase) {
  TteThemeManager m;
  ASSERT_GE(m.ThemeClassCount(), 2);
  EXPECT_EQ(m.ThemeClassAt(1), &TTeFlatTheme::ThemeClass());
  for (const char* name : {"Flat", "flat", "FLAT", "fLaT"})
    EXPECT_EQ(m.FindBuiltInThemeClass(QLatin1String(name)), &TTeFlatTheme::ThemeClass()) << name;
  // The base kind is not built in, and unknown names find nothing.
  EXPECT_EQ(m.FindBuiltInThemeClass(QStringLiteral("Default")), nullptr);
  EXPECT_EQ(m.FindBuiltInThemeClass(QStringLiteral("No theme")), nullptr);
  EXPECT_EQ(m.FindBuiltInThemeClass(QString()), nullptr);
  auto theme = m.FindBuiltInThemeClass(QStringLiteral("flat"))->Create();
  EXPECT_EQ(&theme->Class(), &TTeFlatTheme::ThemeClass());
  EXPECT_EQ(TTeFlatTheme::GetThemeKindName(), QStringLiteral("Flat"));
}
