// The window frame of the packed visual-style theme: geometry, hit test, the shape
// cut from keyed caption corners, and frame, caption and button painting.
#include <QBuffer>
#include <ostream>
#include <gtest/gtest.h>

#include "theme_msux.h"

// Beside TRect (the global namespace), where the test printer looks; local to this file.
static std::ostream& operator<<(std::ostream& os, const TRect& r) {
  return os << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

namespace {

constexpr TteColor kKeyPink = 0xFFFF00FF;  // the sections' default TransparentColor
constexpr TteColor kBack = 0xFF102030;     // what a target holds before a paint

// Frame colours: element e (1 caption, 2 left, 3 right, 4 bottom, 5 close, 6 max,
// 7 restore), frame f.
TteColor FrameColor(int element, int frame) { return MakeTeColor(30 * element, 40 * frame, 200); }

// A vertical strip of frames, each h high and filled with its own colour; the
// caption's frames have their two top corners cut by three key-pink pixels.
std::unique_ptr<TteBitmap> Strip(const char* name, int element, int w, int h, int frames) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h * frames);
  for (int f = 0; f < frames; ++f) {
    b->FillRect({0, f * h, w, (f + 1) * h}, FrameColor(element, f + 1));
    if (element != 1) continue;
    for (const TPoint& p : {TPoint{0, 0}, TPoint{1, 0}, TPoint{0, 1}}) {
      b->SetPixel(p.X, f * h + p.Y, kKeyPink);
      b->SetPixel(w - 1 - p.X, f * h + p.Y, kKeyPink);
    }
  }
  b->Name = QLatin1String(name);
  return b;
}

// Caption, borders and buttons in two or four frames; the caption's corners keep
// their size (margins 3) so its key pixels land on the window's corners.
const char* const kFrameIni =
    "[SysMetrics]\nCaptionText=250 240 230\nBtnFace=1 2 3\n"
    "[Button.Pushbutton]\nTextColor=0 0 0\n"
    "[Window.Caption]\nImageFile=cap.bmp\nImageCount=2\nImageLayout=vertical\n"
    "SizingType=stretch\nSizingMargins=3, 3, 3, 3\nContentAlignment=center\n"
    "TextShadowColor=10 20 30\nTextShadowOffset=1, 2\n"
    "[Window.Caption(Active)]\nTextShadowType=single\n"
    "[Window.FrameLeft]\nImageFile=left.bmp\nImageCount=2\nImageLayout=vertical\n"
    "[Window.FrameRight]\nImageFile=right.bmp\nImageCount=2\nImageLayout=vertical\n"
    "[Window.FrameBottom]\nImageFile=bottom.bmp\nImageCount=2\nImageLayout=vertical\n"
    "[Window.CloseButton]\nImageFile=close.bmp\nImageCount=4\nImageLayout=vertical\n"
    "[Window.SmallCloseButton]\nImageFile=close.bmp\nImageCount=4\nImageLayout=vertical\n"
    "[Window.MaxButton]\nImageFile=max.bmp\nImageCount=4\nImageLayout=vertical\n"
    "[Window.RestoreButton]\nImageFile=restore.bmp\nImageCount=4\nImageLayout=vertical\n";

QByteArray Pack(const QString& ini, bool withImages) {
  TTeThemeMsStyles theme;
  theme.Name = QStringLiteral("Frame");
  theme.Ini().SetText(ini);
  if (withImages) {
    theme.Images().Add(Strip("CAP_BMP", 1, 10, 29, 2));
    theme.Images().Add(Strip("LEFT_BMP", 2, 4, 10, 2));
    theme.Images().Add(Strip("RIGHT_BMP", 3, 4, 10, 2));
    theme.Images().Add(Strip("BOTTOM_BMP", 4, 10, 4, 2));
    theme.Images().Add(Strip("CLOSE_BMP", 5, 6, 6, 4));
    theme.Images().Add(Strip("MAX_BMP", 6, 6, 6, 4));
    theme.Images().Add(Strip("RESTORE_BMP", 7, 6, 6, 4));
  }
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  theme.SaveToStream(out);
  return out.data();
}

template <class Theme = TTeThemeMsStyles>
std::unique_ptr<Theme> Build(const QString& ini = QLatin1String(kFrameIni), bool images = true) {
  QByteArray bytes = Pack(ini, images);
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  auto theme = std::make_unique<Theme>();
  EXPECT_TRUE(theme->LoadFromStream(in));
  return theme;
}

constexpr uint16_t Buttons(std::initializer_list<int> buttons) {
  uint16_t set = 0;
  for (int b : buttons) set |= WindowButtonBit(b);
  return set;
}

TteWindowInfo Window(int w, int h, uint16_t buttons, bool active = true) {
  return WindowInfo({0, 0, w, h}, active, buttons, QStringLiteral("Caption"));
}

const QString kDefault = QStringLiteral("default");

struct Target {
  Target(int w, int h) {
    Bitmap.SetSize(w, h);
    Bitmap.Fill(kBack);
  }
  TteColor At(int x, int y) const { return Bitmap.GetPixel(x, y) | 0xFF000000; }
  TteBitmap Bitmap;
};

TEST(MsuxWindow, GeometryFollowsTheMetrics) {
  auto theme = Build();
  const uint16_t all = Buttons({kbiSysMenu, kbiClose, kbiMinimize, kbiMaximize, kbiHelp});
  const uint16_t restored = Buttons({kbiClose, kbiRestoreMinimized, kbiRestore});
  constexpr int kContent = -1;
  const struct {
    uint8_t Kind;
    uint16_t Shown;
    int Button;  // kContent for the content rectangle
    TRect Expect;
  } cases[] = {
      {kwkSizeable, all, kContent, {4, 29, 396, 296}},
      {kwkDialog, all, kContent, {4, 29, 396, 296}},
      {kwkSizeable, all, kbiClose, {374, 5, 395, 26}},
      {kwkSizeable, all, kbiMaximize, {351, 5, 372, 26}},
      {kwkSizeable, all, kbiMinimize, {328, 5, 349, 26}},
      {kwkSizeable, all, kbiHelp, {305, 5, 326, 26}},
      {kwkSizeable, all, kbiSysMenu, {4, 5, 25, 26}},
      {kwkSizeable, restored, kbiRestore, {351, 5, 372, 26}},
      {kwkSizeable, restored, kbiRestoreMinimized, {328, 5, 349, 26}},
      // Without maximize, minimize moves into its place; help follows whoever is there.
      {kwkDialog, Buttons({kbiClose, kbiMinimize, kbiHelp}), kbiMinimize, {351, 5, 372, 26}},
      {kwkDialog, Buttons({kbiClose, kbiMinimize, kbiHelp}), kbiHelp, {328, 5, 349, 26}},
      {kwkDialog, Buttons({kbiHelp}), kbiHelp, {374, 5, 395, 26}},
      // Buttons the window does not show have no rectangle.
      {kwkSizeable, Buttons({kbiClose}), kbiMaximize, kNullRect},
      {kwkSizeable, Buttons({kbiClose}), kbiMinimize, kNullRect},
      {kwkSizeable, Buttons({kbiClose}), kbiSysMenu, kNullRect},
      {kwkSizeable, Buttons({kbiClose}), kbiHelp, kNullRect},
      {kwkSizeable, Buttons({kbiMaximize}), kbiClose, kNullRect},
      // This theme has no roll-up or tray buttons.
      {kwkSizeable, Buttons({kbiRollUp, kbiTray}), kbiRollUp, kNullRect},
      {kwkSizeable, Buttons({kbiRollUp, kbiTray}), kbiTray, kNullRect},
      // Tool windows: small metrics (17 and 3), and a close button only.
      {kwkToolWindow, all, kContent, {3, 20, 397, 297}},
      {kwkToolWindow, all, kbiClose, {381, 4, 396, 19}},
      {kwkToolWindow, all, kbiMaximize, kNullRect},
      {kwkToolWindow, all, kbiMinimize, kNullRect},
      {kwkToolWindow, all, kbiHelp, kNullRect},
      {kwkToolWindow, all, kbiSysMenu, kNullRect},
      // Kinds without a frame of this theme.
      {kwkSingle, all, kContent, {0, 0, 400, 300}},
      {kwkNone, all, kContent, {0, 0, 400, 300}},
      {kwkNone, all, kbiClose, kNullRect},
  };
  for (const auto& c : cases) {
    const TteWindowInfo info = Window(400, 300, c.Shown);
    const TRect got = c.Button == kContent
                          ? theme->WindowContentRect(c.Kind, info, kDefault)
                          : theme->WindowButtonRect(c.Kind, info, c.Button, kDefault);
    EXPECT_EQ(got, c.Expect) << "kind " << int(c.Kind) << " buttons " << c.Shown << " button "
                             << c.Button;
  }
}

TEST(MsuxWindow, CaptionBandNarrowedByMarginsAndIcon) {
  auto plain = Build();
  // Left 5, right 7 (the value lists left, right, top, bottom).
  auto narrowed = Build(QStringLiteral("[Window.Caption]\nCaptionMargins=5, 7, 1, 1\n"), false);
  const struct {
    TTeThemeMsStyles* Theme;
    uint8_t Kind;
    uint16_t Shown;
    TRect Expect;
  } cases[] = {
      {plain.get(), kwkSizeable, 0, {4, 4, 396, 29}},
      {plain.get(), kwkSizeable, Buttons({kbiSysMenu}), {29, 4, 396, 29}},
      {plain.get(), kwkToolWindow, Buttons({kbiSysMenu}), {3, 3, 397, 20}},
      {narrowed.get(), kwkDialog, 0, {9, 4, 389, 29}},
      {narrowed.get(), kwkDialog, Buttons({kbiSysMenu}), {34, 4, 389, 29}},
      {narrowed.get(), kwkToolWindow, 0, {8, 3, 390, 20}},
      {plain.get(), kwkNone, 0, {0, 0, 400, 0}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Theme->WindowCaptionRect(c.Kind, Window(400, 300, c.Shown), kDefault), c.Expect)
        << "kind " << int(c.Kind) << " buttons " << c.Shown;
}

TEST(MsuxWindow, HitTestGivesTheCaptionBandBelowTheTopBorder) {
  auto plain = Build();
  // The caption rectangle starts 50 pixels in: the band left of it is still caption.
  auto narrowed = Build(QStringLiteral("[Window.Caption]\nCaptionMargins=50, 0, 0, 0\n"), false);
  const uint16_t closeOnly = Buttons({kbiClose});
  const uint16_t all = Buttons({kbiSysMenu, kbiClose, kbiMinimize, kbiMaximize});
  const struct {
    TTeThemeMsStyles* Theme;
    uint8_t Kind;
    uint16_t Shown;
    int X, Y, Expect;
  } cases[] = {
      {plain.get(), kwkSizeable, all, 200, 10, khtCaption},
      {plain.get(), kwkSizeable, all, 200, 2, khtTop},
      {plain.get(), kwkSizeable, all, 1, 1, khtTopLeft},
      {plain.get(), kwkSizeable, all, 200, 298, khtBottom},
      {plain.get(), kwkSizeable, all, 200, 150, khtNowhere},
      {plain.get(), kwkSizeable, all, 380, 10, khtClose},
      {plain.get(), kwkSizeable, all, 360, 10, khtMaximize},
      {plain.get(), kwkSizeable, all, 340, 10, khtMinimize},
      {plain.get(), kwkSizeable, all, 10, 10, khtSysMenu},
      // Where absent buttons would stand, the caption answers.
      {plain.get(), kwkDialog, closeOnly, 360, 10, khtCaption},
      {plain.get(), kwkDialog, closeOnly, 340, 10, khtCaption},
      {plain.get(), kwkDialog, closeOnly, 10, 10, khtCaption},
      {narrowed.get(), kwkSizeable, closeOnly, 20, 10, khtCaption},
      {narrowed.get(), kwkSizeable, closeOnly, 20, 3, khtTop},
      // Tool windows measure the band from the normal border width (4), not their own (3).
      {narrowed.get(), kwkToolWindow, closeOnly, 20, 4, khtCaption},
      {narrowed.get(), kwkToolWindow, closeOnly, 20, 3, khtTop},
      {narrowed.get(), kwkToolWindow, closeOnly, 390, 10, khtClose},
      {plain.get(), kwkNone, all, 200, 10, khtNowhere},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Theme->WindowHitTest(c.Kind, Window(400, 300, c.Shown), c.X, c.Y, kDefault),
              c.Expect)
        << "kind " << int(c.Kind) << " at " << c.X << "," << c.Y;
}

TEST(MsuxWindow, RegionCutsKeyedCornersAndUnpaintedBorders) {
  auto theme = Build();
  const std::optional<QRegion> region =
      theme->GetWindowRegion(kwkSizeable, {0, 0, 400, 300}, kDefault);
  ASSERT_TRUE(region.has_value());
  const struct {
    int X, Y;
    bool Inside;
  } points[] = {
      {0, 0, false},   {1, 0, false},     {0, 1, false},   {2, 0, true},     {1, 1, true},
      {399, 0, false}, {398, 0, false},   {399, 1, false}, {397, 0, true},   {398, 1, true},
      {200, 10, true}, {200, 150, true},  {0, 150, true},  {399, 150, true}, {399, 299, true},
      {0, 299, true},  {400, 150, false},
  };
  for (const auto& p : points)
    EXPECT_EQ(region->contains(QPoint(p.X, p.Y)), p.Inside) << p.X << "," << p.Y;
  EXPECT_EQ(region->boundingRect(), QRect(0, 0, 400, 300));

  // Elements that paint nothing leave only the content rectangle.
  auto bare = Build(QStringLiteral("[Window.SmallCaption]\nBgType=none\n[Window.SmallFrameLeft]\n"
                                   "BgType=none\n[Window.SmallFrameRight]\nBgType=none\n"
                                   "[Window.SmallFrameBottom]\nBgType=none\n"),
                    false);
  const std::optional<QRegion> tool =
      bare->GetWindowRegion(kwkToolWindow, {0, 0, 100, 50}, kDefault);
  ASSERT_TRUE(tool.has_value());
  EXPECT_EQ(*tool, QRegion(QRect(3, 20, 94, 27)));

  EXPECT_FALSE(theme->GetWindowRegion(kwkSizeable, {0, 0, 0, 300}, kDefault).has_value());
  EXPECT_FALSE(theme->GetWindowRegion(kwkNone, {0, 0, 400, 300}, kDefault).has_value());
}

TEST(MsuxWindow, ActiveAndInactiveFramesPaintTheirOwnImageFrame) {
  auto theme = Build();
  const TRect everything = kNullRect, belowCaption{0, 29, 60, 50};
  const struct {
    bool Active;
    TRect Clip;
    bool CaptionPainted;
  } cases[] = {{true, everything, true}, {false, everything, true}, {true, belowCaption, false}};
  for (const auto& c : cases) {
    Target t(60, 50);  // content (4, 29, 56, 46)
    TteWindowInfo info = Window(60, 50, 0, c.Active);
    info.ClipRect = c.Clip;
    theme->PaintWindow(kwkSizeable, t.Bitmap.Canvas(), info, kDefault);
    const int frame = c.Active ? 1 : 2;
    const struct {
      int X, Y;
      TteColor Expect;
    } pixels[] = {
        {30, 15, c.CaptionPainted ? FrameColor(1, frame) : kBack},
        {0, 0, kBack},  // a keyed corner shows what was there
        {1, 35, FrameColor(2, frame)},
        {58, 35, FrameColor(3, frame)},
        {30, 48, FrameColor(4, frame)},
        {30, 35, kBack},  // the client area is not the frame's
    };
    for (const auto& p : pixels)
      EXPECT_EQ(t.At(p.X, p.Y), p.Expect)
          << "active " << c.Active << " clip top " << c.Clip.Top << " at " << p.X << "," << p.Y;
  }
  Target none(60, 50);
  theme->PaintWindow(kwkNone, none.Bitmap.Canvas(), Window(60, 50, 0), kDefault);
  EXPECT_EQ(none.At(30, 15), kBack);
}

TEST(MsuxWindow, ButtonsPaintTheFrameOfTheirState) {
  auto theme = Build();
  const struct {
    uint8_t Kind, Button, State;
    TteColor Expect;
  } cases[] = {
      {kwkSizeable, kbiClose, kwbsNormal, FrameColor(5, 1)},
      {kwkSizeable, kbiClose, kwbsHot, FrameColor(5, 2)},
      {kwkSizeable, kbiClose, kwbsPressed, FrameColor(5, 3)},
      {kwkSizeable, kbiClose, kwbsInactive, FrameColor(5, 4)},
      {kwkSizeable, kbiClose, 4, kBack},
      {kwkDialog, kbiMaximize, kwbsHot, FrameColor(6, 2)},
      {kwkDialog, kbiRestore, kwbsNormal, FrameColor(7, 1)},
      {kwkDialog, kbiRestoreMinimized, kwbsNormal, FrameColor(7, 1)},
      {kwkDialog, kbiRollDown, kwbsPressed, FrameColor(7, 3)},
      {kwkDialog, kbiRollUp, kwbsNormal, kBack},
      {kwkDialog, kbiTray, kwbsNormal, kBack},
      {kwkToolWindow, kbiClose, kwbsHot, FrameColor(5, 2)},
      {kwkToolWindow, kbiMaximize, kwbsNormal, kBack},
      {kwkSingle, kbiClose, kwbsNormal, kBack},
  };
  for (const auto& c : cases) {
    Target t(30, 30);
    theme->PaintWindowButton(c.Kind, t.Bitmap.Canvas(),
                             WindowButtonInfo({5, 5, 26, 26}, c.Button, c.State, nullptr),
                             kDefault);
    EXPECT_EQ(t.At(15, 15), c.Expect)
        << "kind " << int(c.Kind) << " button " << int(c.Button) << " state " << int(c.State);
    EXPECT_EQ(t.At(2, 2), kBack) << "outside the button";
  }
}

TEST(MsuxWindow, ClientTakesTheThemesButtonFace) {
  auto theme = Build();
  Target t(10, 10);
  theme->PaintWindowClient(kwkSizeable, t.Bitmap.Canvas(), {2, 2, 8, 8}, kDefault);
  EXPECT_EQ(t.At(5, 5), MakeTeColor(1, 2, 3));
  EXPECT_EQ(t.At(0, 0), kBack);
}

// Records the texts instead of drawing them, with the colour they would have.
struct TextSpy : TTeThemeMsStyles {
  struct Drawn {
    TteTextInfo Text;
    TColor Color;
  };
  std::vector<Drawn> Texts;
  void PaintText(TCanvas& canvas, const TteTextInfo& text) override {
    Texts.push_back({text, canvas.Font.Color});
  }
};

TEST(MsuxWindow, CaptionIsCutToTheButtonsAndShadowed) {
  auto theme = Build<TextSpy>();
  const QString text = QStringLiteral("A caption far too long for so narrow a window");
  const TColor fontColor = theme->Fonts().GetFont(kfCaptionTextNormal).Color;
  ASSERT_EQ(fontColor, RGB(250, 240, 230));
  Target t(120, 40);
  TCanvas& canvas = t.Bitmap.Canvas();
  const uint16_t shown = Buttons({kbiClose, kbiMinimize});
  TteWindowInfo info = WindowInfo({0, 0, 120, 40}, true, shown, text);
  const TRect band = theme->WindowCaptionRect(kwkSizeable, info, kDefault);
  ASSERT_EQ(band, TRect({4, 4, 116, 29}));
  theme->PaintWindowCaption(kwkSizeable, canvas, info, band, kDefault);

  // 120 - 2 x 4 less 25 for each of close and minimize leaves 62 for the text.
  const TRect cut{4, 4, 62, 29};
  ASSERT_EQ(theme->Texts.size(), 2u) << "shadow, then text";
  const TteTextInfo& shadow = theme->Texts[0].Text;
  const TteTextInfo& drawn = theme->Texts[1].Text;
  EXPECT_EQ(theme->Texts[0].Color, RGB(10, 20, 30));
  EXPECT_EQ(shadow.Rect, cut.Offset(1, 2));
  EXPECT_EQ(theme->Texts[1].Color, fontColor);
  EXPECT_EQ(drawn.Rect, cut);
  EXPECT_EQ(drawn.Alignment, ktaCenter);
  EXPECT_EQ(drawn.Options, ktoSingleLine | ktoNoPrefix);
  EXPECT_TRUE(drawn.Text.endsWith(QLatin1String("..."))) << drawn.Text.toStdString();
  EXPECT_LE(TextWidth(canvas, drawn.Text), cut.Width());
  EXPECT_TRUE(text.startsWith(drawn.Text.chopped(3)));
  EXPECT_EQ(shadow.Text, drawn.Text);

  // Inactive: no shadow; a text that fits stays whole.
  theme->Texts.clear();
  info.Active = false;
  info.Caption = QStringLiteral("Ok");
  theme->PaintWindowCaption(kwkSizeable, canvas, info, band, kDefault);
  ASSERT_EQ(theme->Texts.size(), 1u);
  EXPECT_EQ(theme->Texts[0].Text.Text, QStringLiteral("Ok"));
  EXPECT_EQ(theme->Texts[0].Color, theme->Fonts().GetFont(kfCaptionTextInactive).Color);

  // Tool windows keep the whole band: only the ellipsis shortens their caption.
  theme->Texts.clear();
  info.Active = true;
  theme->PaintWindowCaption(kwkToolWindow, canvas, info, band, kDefault);
  ASSERT_EQ(theme->Texts.size(), 2u);
  EXPECT_EQ(theme->Texts[1].Text.Rect, band);
}

}  // namespace
