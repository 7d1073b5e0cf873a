// Sonolift's own packed themes, as built from assets/theme: they load like any theme
// file, define every element the controls paint with the frames their states use, show
// every state, cut the window's caption corners, and keep text readable.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <cmath>
#include <functional>

#include "theme_manager.h"
#include "theme_msux.h"

namespace {

const QString kDefault = QStringLiteral("default");

// Every theme drawn at build time; each test runs on each of them.
const char* const kThemeFiles[] = {"sonolift.theme", "sonolift-graphite.theme"};

class OwnTheme : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    const QString path = QDir(QStringLiteral(SONOLIFT_THEMES_DIR)).filePath(QLatin1String(GetParam()));
    ASSERT_TRUE(QFileInfo::exists(path)) << path.toStdString() << " was not built";
    loaded_ = ThemeManager().LoadThemeFromFile(path);
    theme_ = dynamic_cast<TTeThemeMsStyles*>(loaded_.get());
    ASSERT_NE(theme_, nullptr) << GetParam() << " did not load as a visual-style theme";
  }

  TmsuxThemeObject& Element(const char* section) {
    TmsuxThemeObject* object = theme_->FindObject(QLatin1String(section));
    EXPECT_NE(object, nullptr) << section;
    return *object;
  }

  std::unique_ptr<TteTheme> loaded_;
  TTeThemeMsStyles* theme_ = nullptr;
};

INSTANTIATE_TEST_SUITE_P(Built, OwnTheme, ::testing::ValuesIn(kThemeFiles),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return QString::fromLatin1(info.param)
                               .section(QLatin1Char('.'), 0, 0)
                               .replace(QLatin1Char('-'), QLatin1Char('_'))
                               .toStdString();
                         });

// The sections the theme's operations paint, with the highest frame index their states
// map to (0: painted from colours, no image). Frames whose bit is set in Blank may show
// nothing by design: flat tool buttons at rest and when disabled, a disabled thumb.
struct Painted {
  const char* Section;
  int Frames;
  uint32_t Blank = 0;
};
constexpr uint32_t Frame(int k) { return 1u << (k - 1); }

const Painted kPainted[] = {
    // Window frames: frame 1 active, 2 inactive.
    {"Window", 0},
    {"Window.Caption", 2},
    {"Window.FrameLeft", 2},
    {"Window.FrameRight", 2},
    {"Window.FrameBottom", 2},
    {"Window.SmallCaption", 2},
    {"Window.SmallFrameLeft", 2},
    {"Window.SmallFrameRight", 2},
    {"Window.SmallFrameBottom", 2},
    {"Window.Caption(Active)", 0},
    {"Window.Caption(Inactive)", 0},
    // Caption buttons: button state + 1 (normal, hot, pressed, inactive).
    {"Window.CloseButton", 4},
    {"Window.HelpButton", 4},
    {"Window.MaxButton", 4},
    {"Window.MinButton", 4},
    {"Window.RestoreButton", 4},
    {"Window.SmallCloseButton", 4},
    // Menu-bar buttons of a maximised child: frames 1 to 3.
    {"Window.MDIMinButton", 3},
    {"Window.MDICloseButton", 3},
    {"Window.MDIRestoreButton", 3},
    // Push and spin buttons: states 0-11 map to frames 1-5.
    {"Button.Pushbutton", 5},
    {"Button.Pushbutton(Disabled)", 0},
    {"Spin.Up", 5},
    {"Spin.Down", 5},
    {"Spin.Uphorz", 5},
    {"Spin.Downhorz", 5},
    // Unchecked, checked, mixed, four states each.
    {"button.checkbox", 12},
    {"button.radiobutton", 12},
    // Four states for each of four directions.
    {"ScrollBar.ArrowBtn", 16},
    {"ScrollBar.ThumbBtnHorz", 4, Frame(4)},
    {"ScrollBar.ThumbBtnVert", 4, Frame(4)},
    {"ScrollBar.GripperHorz", 4, Frame(4)},
    {"ScrollBar.GripperVert", 4, Frame(4)},
    {"ScrollBar.UpperTrackHorz", 1},
    {"ScrollBar.UpperTrackVert", 1},
    {"Progress", 0},
    {"Progress.Bar", 1},
    {"Progress.BarVert", 1},
    {"Progress.Chunk", 1},
    {"Progress.ChunkVert", 1},
    // Track bar knobs: states 0-4 map to frames 1-5.
    {"TrackBar", 0},
    {"TrackBar.Thumb", 5},
    {"TrackBar.ThumbTop", 5},
    {"TrackBar.ThumbBottom", 5},
    {"TrackBar.ThumbVert", 5},
    {"TrackBar.ThumbLeft", 5},
    {"TrackBar.ThumbRight", 5},
    {"TrackBar.Track", 1},
    {"TrackBar.TrackVert", 1},
    {"button.groupbox", 1},
    // Boxes swap their fill colour by state, so they are outline and fill.
    {"edit", 0},
    {"edit.edittext(disabled)", 0},
    {"edit.edittext(readonly)", 0},
    {"combobox", 0},
    {"combobox(disabled)", 0},
    {"listview", 0},
    // Drop-down button: states 0-4 map to frames 1-4.
    {"Combobox.DropDownButton", 4},
    {"header", 1},
    {"header.headeritem", 3},
    {"status", 1},
    {"status.pane", 1},
    {"status.gripperpane", 0},
    {"status.gripper", 1},
    {"rebar", 1},
    {"rebar.gripper", 1},
    {"rebar.grippervert", 1},
    // Tool buttons: states 0-7 map to frames 1-6.
    {"toolbar.button", 6, Frame(1) | Frame(4)},
    {"toolbar.separator", 6},
    {"toolbar.dropdownbutton", 6},
    {"toolbar.splitbutton", 6, Frame(1) | Frame(4)},
    {"toolbar.splitbuttondropdown", 6},
    // Tabs: states 0-5 map to frames 1, 2, 4 and 5.
    {"tab", 0},
    {"tab.pane", 1},
    {"tab.toptabitem", 5},
    {"tab.toptabitemleftedge", 5},
    {"explorerbar", 0},
    {"explorerbar.SpecialGroupBackground", 1},
    {"explorerbar.NormalGroupHead", 1},
    {"explorerbar.NormalGroupCollapse", 3},
    {"explorerbar.NormalGroupExpand", 3},
    {"explorerbar.headerclose", 3},
};

const char* const kImageKeys[] = {"ImageFile", "ImageFile1", "ImageFile2", "ImageFile3", "GlyphImageFile"};

TteBitmapLink* LinkOf(TmsuxThemeObject& o, const char* key) {
  TteBitmapLink* links[] = {&o.ImageFile, &o.ImageFile1, &o.ImageFile2, &o.ImageFile3, &o.GlyphImageFile};
  for (size_t i = 0; i < std::size(kImageKeys); ++i)
    if (QLatin1String(key) == QLatin1String(kImageKeys[i])) return links[i];
  return nullptr;
}

TEST_P(OwnTheme, LoadsWithEveryImageItNames) {
  EXPECT_FALSE(theme_->IsEmptyTheme());
  EXPECT_FALSE(theme_->Name.isEmpty());
  for (int i = 0; i < kMsuxSectionCount; ++i) {
    TmsuxThemeObject& o = *theme_->Object(TmsuxSection(i));
    for (const char* key : kImageKeys) {
      const TmsuxObjectProp* prop = o.FindProp(QLatin1String(key));
      if (!prop) continue;
      EXPECT_TRUE(LinkOf(o, key)->IsValid()) << "[" << o.SectionName.toStdString() << "] " << key << "="
                                             << prop->Value.toStdString() << " names no image of the theme";
    }
  }
}

TEST_P(OwnTheme, EveryPaintedSectionHasTheFramesItsStatesUse) {
  for (const Painted& p : kPainted) {
    SCOPED_TRACE(p.Section);
    TmsuxThemeObject& o = Element(p.Section);
    EXPECT_TRUE(o.IsDefined());
    if (p.Frames == 0) continue;
    ASSERT_EQ(o.BgType, kbtImageFile);
    ASSERT_TRUE(o.ImageFile.IsValid());
    EXPECT_GE(o.ImageCount, p.Frames);
    // Frames that do not divide the image evenly leave its last rows unseen and let
    // each frame start a little off.
    for (const char* key : kImageKeys) {
      const TteBitmapLink& link = *LinkOf(o, key);
      if (!link.IsValid()) continue;
      const int32_t length = o.ImageLayoutHorizontal ? link.Bitmap->Width() : link.Bitmap->Height();
      EXPECT_EQ(length % o.ImageCount, 0)
          << key << " is " << length << " pixels for " << o.ImageCount << " frames";
    }
  }
}

TEST_P(OwnTheme, EveryFrameAStateUsesShowsSomething) {
  constexpr TteColor kBack = 0xFF102030;
  for (const Painted& p : kPainted) {
    TmsuxThemeObject& o = Element(p.Section);
    for (int frame = 1; frame <= p.Frames; ++frame) {
      if (p.Blank & Frame(frame)) continue;
      TteBitmap target;
      target.SetSize(48, 40);
      target.Fill(kBack);
      o.Paint(target.Canvas(), {4, 4, 44, 36}, frame);
      bool painted = false;
      for (int y = 0; y < target.Height() && !painted; ++y)
        for (int x = 0; x < target.Width() && !painted; ++x) painted = target.GetPixel(x, y) != kBack;
      EXPECT_TRUE(painted) << p.Section << " frame " << frame << " paints nothing";
    }
  }
}

TEST_P(OwnTheme, SeeThroughPixelsAreKeyedOrBlended) {
  // An image that is neither keyed nor blended is copied as it is: its clear pixels
  // would paint as black boxes.
  const TteBitmapList& images = theme_->Images();
  for (int i = 0; i < images.Count(); ++i) {
    const TteBitmap& image = *images.Items(i);
    const int64_t n = int64_t(image.Width()) * image.Height();
    bool clear = false;
    for (int64_t k = 0; k < n && !clear; ++k) clear = (image.Bits()[k] >> 24) == 0;
    if (!clear) continue;
    EXPECT_TRUE(image.Transparent || image.AlphaBlend) << image.Name.toStdString();
  }
}

TEST_P(OwnTheme, WindowShapeCutsOnlyTheCaptionCorners) {
  const TRect window{0, 0, 300, 200};
  for (uint8_t kind : {uint8_t(kwkSizeable), uint8_t(kwkToolWindow)}) {
    SCOPED_TRACE(kind == kwkToolWindow ? "tool window" : "window");
    const std::optional<QRegion> shape = theme_->GetWindowRegion(kind, window, kDefault);
    ASSERT_TRUE(shape.has_value());
    EXPECT_FALSE(shape->contains(QPoint(0, 0)));
    EXPECT_FALSE(shape->contains(QPoint(299, 0)));
    for (const QPoint& kept : {QPoint(150, 0), QPoint(0, 100), QPoint(299, 100), QPoint(150, 100),
                               QPoint(0, 199), QPoint(299, 199)})
      EXPECT_TRUE(shape->contains(kept)) << kept.x() << "," << kept.y();
  }
}

TEST_P(OwnTheme, CaptionButtonsPickAGlyphThatFitsTheirSize) {
  const TteWindowInfo info = WindowInfo({0, 0, 400, 300}, true, WindowButtonBit(kbiClose), QString());
  const struct {
    uint8_t Kind;
    const char* Section;
  } buttons[] = {{kwkSizeable, "Window.CloseButton"}, {kwkToolWindow, "Window.SmallCloseButton"}};
  int widths[2] = {};
  for (size_t i = 0; i < std::size(buttons); ++i) {
    SCOPED_TRACE(buttons[i].Section);
    const TRect r = theme_->WindowButtonRect(buttons[i].Kind, info, kbiClose, kDefault);
    ASSERT_FALSE(r.IsEmpty());
    TmsuxThemeObject& o = Element(buttons[i].Section);
    const TteBitmapLink& glyph = o.SelectBySize(r);
    ASSERT_TRUE(glyph.IsValid());
    widths[i] = glyph.Bitmap->Width();
    // Room for at least two pixels of button on every side of the glyph.
    EXPECT_LE(widths[i] + 4, r.Width());
    EXPECT_LE(glyph.Bitmap->Height() / o.ImageCount + 4, r.Height());
  }
  EXPECT_GT(widths[0], widths[1]) << "the tool window's smaller button should get a smaller glyph";
}

// WCAG relative luminance and contrast ratio.
double Luminance(TColor c) {
  auto channel = [](int v) {
    const double s = v / 255.0;
    return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  const TColor rgb = ColorToRGB(c);
  return 0.2126 * channel(GetRValue(rgb)) + 0.7152 * channel(GetGValue(rgb)) +
         0.0722 * channel(GetBValue(rgb));
}

double Contrast(TColor a, TColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_P(OwnTheme, TextStandsOutFromWhatItIsWrittenOn) {
  using Paint = std::function<void(TteTheme&, TCanvas&, const TRect&)>;
  auto window = [](bool active) {
    return [active](TteTheme& t, TCanvas& c, const TRect& r) {
      t.PaintWindow(kwkSizeable, c, WindowInfo(r, active, 0, QString()), kDefault);
    };
  };
  auto button = [](uint8_t state) {
    return [state](TteTheme& t, TCanvas& c, const TRect& r) {
      t.PaintButton(0, c, ButtonInfo(r, state), kDefault);
    };
  };
  auto listItem = [](uint8_t state) {
    return [state](TteTheme& t, TCanvas& c, const TRect& r) {
      t.PaintList(0, c, r, kDefault);
      t.PaintListItem(0, c, ListItemInfo(r, state), kDefault);
    };
  };
  auto menuItem = [](uint8_t state) {
    return [state](TteTheme& t, TCanvas& c, const TRect& r) {
      t.PaintMenuItem(0, c, MenuItemInfo(r, kmikItem, state), kDefault);
    };
  };
  auto tab = [](uint8_t state) {
    return [state](TteTheme& t, TCanvas& c, const TRect& r) {
      t.PaintTab(0, c, TabInfo(r, 0, state), kDefault);
    };
  };
  // Disabled text only has to stay legible; everything else meets the usual 4.5:1.
  const struct {
    const char* What;
    int Font;
    Paint Background;
    double Least;
  } cases[] = {
      {"active caption", kfCaptionTextNormal, window(true), 4.5},
      {"inactive caption", kfCaptionTextInactive, window(false), 3.0},
      {"push button", kfButtonTextNormal, button(kbsNormal), 4.5},
      {"hot push button", kfButtonTextHot, button(kbsHot), 4.5},
      {"pressed push button", kfButtonTextPressed, button(kbsPressed), 4.5},
      {"focused push button", kfButtonTextFocused, button(kbsFocused), 4.5},
      {"disabled push button", kfButtonTextDisabled, button(kbsDisabled), 2.0},
      {"dialog", kfStaticTextNormal,
       [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowClient(0, c, r, kDefault); }, 4.5},
      {"disabled dialog text", kfStaticTextDisabled,
       [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintWindowClient(0, c, r, kDefault); }, 2.0},
      {"edit", kfEditBoxTextNormal,
       [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintEdit(0, c, EditInfo(r, kesNormal), kDefault); },
       4.5},
      {"edit selection", kfEditBoxTextSelected,
       [](TteTheme& t, TCanvas& c, const TRect& r) {
         t.PaintEdit(0, c, EditInfo(r, kesSelection), kDefault);
       },
       4.5},
      {"list item", kfListItemTextNormal, listItem(klisNormal), 4.5},
      {"selected list item", kfListItemTextSelected, listItem(klisSelected), 4.5},
      {"header item", kfHeaderSectionTextNormal,
       [](TteTheme& t, TCanvas& c, const TRect& r) {
         t.PaintHeaderSection(0, c, HeaderSectionInfo(r, khpMiddle, khsNormal), kDefault);
       },
       4.5},
      {"active tab", kfTabTextActiveNormal, tab(ktsActiveNormal), 4.5},
      {"inactive tab", kfTabTextInactiveNormal, tab(ktsInactiveNormal), 4.5},
      {"status bar", kfStatusPanelTextNormal,
       [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintStatusBar(0, c, r, kDefault); }, 4.5},
      {"tool bar", kfToolItemTextNormal,
       [](TteTheme& t, TCanvas& c, const TRect& r) { t.PaintDock(0, c, r, kDefault); }, 4.5},
      {"menu item", kfMenuItemTextNormal, menuItem(kmisNormal), 4.5},
      {"selected menu item", kfMenuItemTextSelected, menuItem(kmisSelected), 4.5},
  };
  for (const auto& c : cases) {
    // Sampled at the middle of the caption band for windows, else at the centre.
    TteBitmap target;
    target.SetSize(120, 80);
    target.Fill(0xFF808080);
    c.Background(*theme_, target.Canvas(), target.BoundsRect());
    const bool isWindow = c.Font == kfCaptionTextNormal || c.Font == kfCaptionTextInactive;
    const TColor under = TeColorToColor(target.GetPixel(60, isWindow ? theme_->CaptionBarHeight / 2 : 40));
    const TColor text = theme_->Fonts().GetFont(c.Font).Color;
    EXPECT_GE(Contrast(text, under), c.Least) << c.What;
  }
}

}  // namespace
