// The push button: state numbers reaching the theme, layout, glyphs, keyboard and
// dialog roles, and exact pixels against the theme's own painting.
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "recording_theme.h"
#include "te_button.h"
#include "te_kind_glyphs.h"
#include "te_control.h"
#include "theme_kinds.h"

namespace {

class ButtonTest : public ::testing::Test {
 protected:
  void TearDown() override { ThemeManager().ClearCurrentTheme(); }
};

void Enter(QWidget* w) {
  QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
  QApplication::sendEvent(w, &e);
}
void FocusIn(QWidget* w) {
  QFocusEvent e(QEvent::FocusIn, Qt::OtherFocusReason);
  QApplication::sendEvent(w, &e);
}
void Mouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
  QMouseEvent e(type, QPointF(at), w->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// Puts a button into the look of a face state number.
void MakeState(TTeButton& b, int state) {
  switch (state) {
    case kbsHot: Enter(&b); break;
    case kbsPressed: b.setDown(true); break;
    case kbsDisabled: b.setEnabled(false); break;
    case kbsFocused: FocusIn(&b); break;
    case kbsDefault: b.SetDefault(true); break;
    default: break;
  }
}

TEST(ButtonState, PrecedenceIsDisabledPressedHotFocusedDefault) {
  struct Case {
    TTeButtonStateInput In;
    int Face, Text;
  };
  const Case cases[] = {
      {{true, false, false, false, false}, 0, 0}, {{true, false, false, false, true}, 6, 0},
      {{true, false, false, true, true}, 4, 4},   {{true, false, true, true, true}, 1, 1},
      {{true, true, true, true, true}, 2, 2},     {{false, true, true, true, true}, 3, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ButtonFaceState(c.In), c.Face);
    EXPECT_EQ(ButtonTextState(c.In), c.Text);
  }
}

TEST_F(ButtonTest, EveryStateReachesTheThemeThroughTheDefaultObject) {
  // The theme defines only "default": a button of another object still paints through it.
  ThemeManager().SetCurrentTheme(std::make_unique<RecordingTheme>());
  auto* theme = static_cast<RecordingTheme*>(ThemeManager().CurrentTheme());
  for (int state : {0, 1, 2, 3, 4, 6}) {
    TTeButton b;
    b.SetThemeObject("okButton");
    b.SetCaption("Go");
    MakeState(b, state);
    theme->Clear();
    Grab(b);
    EXPECT_EQ(theme->ButtonStates, std::vector<int>{state}) << "state " << state;
    EXPECT_EQ(theme->ButtonTextStates, std::vector<int>{state == kbsDefault ? 0 : state}) << "state " << state;
    EXPECT_EQ(theme->PaintedObjects, QStringList{"okButton"});
  }
}

TEST_F(ButtonTest, WithoutTheObjectOrAnyThemeTheButtonPaintsClassic) {
  RecordingTheme linked(QStringList{"other"});
  struct Link : TteCustomThemeLink {
    TteTheme* T;
    TteTheme* GetTheme() const override { return T; }
  } link;
  link.T = &linked;
  TTeButton b;
  b.SetThemeLink(&link);  // a linked theme is asked for the object only, not "default"
  Grab(b);
  EXPECT_TRUE(linked.ButtonStates.empty());
}

TEST(ButtonLayout, GlyphAndCaptionShareTheBlock) {
  struct Case {
    TTeButtonLayoutInput In;
    TRect Content, Text, Glyph;
  };
  const Case cases[] = {
      {{75, 25, {30, 13}, {16, 16}, 4, blGlyphLeft, taCenter, false},
       {12, 4, 62, 20}, {32, 4, 62, 20}, {14, 4, 30, 20}},
      {{75, 25, {30, 13}, {16, 16}, 4, blGlyphRight, taCenter, true},
       {13, 5, 63, 21}, {13, 5, 43, 21}, {45, 5, 61, 21}},
      {{75, 40, {30, 13}, {16, 16}, 2, blGlyphTop, taLeftJustify, false},
       {4, 4, 34, 35}, {4, 22, 34, 35}, {11, 5, 27, 21}},
      {{75, 25, {30, 13}, {0, 0}, 4, blGlyphLeft, taRightJustify, false},
       {41, 6, 71, 19}, {41, 6, 71, 19}, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const TTeButtonLayout l = ButtonContentLayout(c.In);
    EXPECT_EQ(l.Content, c.Content) << "layout " << int(c.In.Layout);
    EXPECT_EQ(l.Text, c.Text) << "layout " << int(c.In.Layout);
    EXPECT_EQ(l.Glyph, c.Glyph) << "layout " << int(c.In.Layout);
  }
}

TEST(ButtonGlyph, NumGlyphsFollowsTheGlyphAndAnEmptyGlyphIsNone) {
  struct Case {
    QSize Size;
    int Expected;
  };
  const Case cases[] = {{{64, 16}, 4}, {{96, 16}, 1}, {{48, 16}, 3}, {{20, 16}, 3}, {{0, 0}, 3}, {{16, 0}, 3}};
  TTeButton b;
  for (const Case& c : cases) {
    QImage img(c.Size, QImage::Format_RGB32);
    if (!img.isNull()) img.fill(Qt::red);
    b.SetGlyph(img);
    EXPECT_EQ(b.NumGlyphs(), c.Expected) << c.Size.width() << "x" << c.Size.height();
    Grab(b);  // an empty glyph paints as no glyph
  }
}

TEST(ButtonGlyph, CellsAndGreyLevels) {
  // Three cells of 4 x 4, cell n filled with a colour of its own; bottom-left pixel of
  // each cell the transparent magenta.
  QImage strip(12, 4, QImage::Format_RGB32);
  const QRgb cellColor[] = {qRgb(200, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 200)};
  for (int x = 0; x < 12; ++x)
    for (int y = 0; y < 4; ++y) strip.setPixel(x, y, cellColor[x / 4]);
  for (int c = 0; c < 3; ++c) strip.setPixel(c * 4, 3, qRgb(255, 0, 255));
  TteBitmap out;
  const auto rgb = [&](int x, int y) { return out.GetPixel(x, y) & 0xFFFFFF; };

  PrepareButtonGlyph(strip, qRgb(255, 0, 255), {3, true, false, false, false}, out);
  EXPECT_EQ(rgb(1, 1), cellColor[0] & 0xFFFFFF);
  EXPECT_EQ(rgb(0, 3), kTeColorKey & 0xFFFFFF) << "transparent pixel not keyed";
  PrepareButtonGlyph(strip, qRgb(255, 0, 255), {3, false, false, false, false}, out);
  EXPECT_EQ(rgb(1, 1), cellColor[1] & 0xFFFFFF);
  PrepareButtonGlyph(strip, qRgb(255, 0, 255), {3, true, true, false, false}, out);
  EXPECT_EQ(rgb(1, 1), cellColor[2] & 0xFFFFFF);
  PrepareButtonGlyph(strip, qRgb(255, 0, 255), {3, true, false, true, false}, out);
  EXPECT_EQ(rgb(1, 1), 0x737373u) << "black-and-white: lightness 115/255";

  // One cell, disabled: every pixel becomes a light grey between 160 and 210.
  QImage glyph(16, 16, QImage::Format_RGB32);
  for (int i = 0; i < 256; ++i) glyph.setPixel(i % 16, i / 16, qRgb(i, (i * 7) % 256, 255 - i));
  glyph.setPixel(0, 15, qRgb(255, 0, 255));
  PrepareButtonGlyph(glyph, qRgb(255, 0, 255), {1, false, false, false, false}, out);
  for (int i = 0; i < 256; ++i) {
    const QRgb p = rgb(i % 16, i / 16);
    if (p == (kTeColorKey & 0xFFFFFF)) continue;
    EXPECT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p) && qRed(p) >= 160 && qRed(p) <= 210)
        << "pixel " << i << " is " << std::hex << p;
  }
}

TEST_F(ButtonTest, ImageListImageIsTheGlyphAndAnIndexOutsideShowsNone) {
  QImage strip(32, 16, QImage::Format_RGB32);
  strip.fill(qRgb(0, 0, 250));
  TteImageList list{&strip, 16, false};
  TTeButton b;
  b.resize(40, 30);
  b.SetImages(&list);
  b.SetImageIndex(1);
  EXPECT_EQ(Grab(b).pixel(20, 15), qRgb(0, 0, 250));
  b.SetImageIndex(2);
  EXPECT_NE(Grab(b).pixel(20, 15), qRgb(0, 0, 250));
}

TEST_F(ButtonTest, DraggingOutReleasesThePressAndReleasingOutsideDoesNotClick) {
  TTeButton b;
  int clicks = 0;
  b.OnClick = [&](TTeButton&) { ++clicks; };
  Mouse(&b, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
  EXPECT_TRUE(b.isDown());
  Mouse(&b, QEvent::MouseMove, {100, 10}, Qt::LeftButton);
  EXPECT_FALSE(b.isDown());
  Mouse(&b, QEvent::MouseMove, {74, 24}, Qt::LeftButton);  // the last pixel is inside
  EXPECT_TRUE(b.isDown());
  Mouse(&b, QEvent::MouseMove, {75, 24}, Qt::LeftButton);
  Mouse(&b, QEvent::MouseButtonRelease, {75, 24}, Qt::NoButton);
  EXPECT_EQ(clicks, 0);
  Mouse(&b, QEvent::MouseButtonPress, {10, 10}, Qt::LeftButton);
  Mouse(&b, QEvent::MouseButtonRelease, {10, 10}, Qt::NoButton);
  EXPECT_EQ(clicks, 1);
}

struct Dialog {
  QDialog dialog;
  QLineEdit* edit = new QLineEdit(&dialog);
  TTeButton* ok = new TTeButton(&dialog);
  TTeButton* cancel = new TTeButton(&dialog);
  TTeButton* other = new TTeButton(&dialog);
  QStringList clicked;
  Dialog() {
    ok->SetKind(bkOK);
    cancel->SetKind(bkCancel);
    cancel->SetCancel(true);
    other->SetCaption("&Later");
    other->SetModalResult(0);
    ok->move(0, 30);
    cancel->move(80, 30);
    other->move(160, 30);
    for (TTeButton* b : {ok, cancel, other})
      b->OnClick = [this](TTeButton& s) { clicked << s.Caption(); };
    dialog.resize(260, 60);
    dialog.show();
    dialog.activateWindow();
  }
};

TEST_F(ButtonTest, EnterClicksTheDefaultUnlessAnotherButtonHasTheFocus) {
  Dialog d;
  ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dialog));
  d.other->setFocus();
  EXPECT_TRUE(QTest::qWaitFor([&] { return d.other->hasFocus(); }));
  EXPECT_FALSE(d.ok->ActiveDefault());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(d.clicked, QStringList{"&Later"});
  EXPECT_TRUE(d.dialog.isVisible()) << "modal result 0 must not end the dialog";

  d.edit->setFocus();
  EXPECT_TRUE(QTest::qWaitFor([&] { return d.edit->hasFocus(); }));
  EXPECT_TRUE(d.ok->ActiveDefault());
  QTest::keyClick(d.edit, Qt::Key_Return);
  EXPECT_EQ(d.clicked, QStringList({"&Later", "OK"}));
  EXPECT_EQ(d.dialog.result(), 1);
  EXPECT_FALSE(d.dialog.isVisible());
}

TEST_F(ButtonTest, EscapeClicksTheCancelButtonAndAMnemonicClicksItsButton) {
  {
    Dialog d;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dialog));
    d.edit->setFocus();
    QTest::keyClick(d.edit, Qt::Key_Escape);
    EXPECT_EQ(d.clicked, QStringList{"Cancel"});
    EXPECT_EQ(d.dialog.result(), 2);
  }
  {
    Dialog d;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d.dialog));
    d.edit->setFocus();
    QTest::keyClick(d.edit, Qt::Key_L, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !d.clicked.isEmpty(); })) << "Alt+L clicked nothing";
    EXPECT_EQ(d.clicked, QStringList{"&Later"});
  }
}

TEST_F(ButtonTest, SpaceClicksAndKindsSetCaptionRoleAndResult) {
  TTeButton b;
  int clicks = 0;
  b.OnClick = [&](TTeButton&) { ++clicks; };
  QTest::keyClick(&b, Qt::Key_Space);
  EXPECT_EQ(clicks, 1);
  b.SetKind(bkYes);
  EXPECT_EQ(b.Caption(), "&Yes");
  EXPECT_TRUE(b.Default());
  EXPECT_EQ(b.ModalResult(), 6);
  EXPECT_EQ(b.NumGlyphs(), 2);
  b.SetKind(bkAbort);
  EXPECT_FALSE(b.Default());
  EXPECT_EQ(b.ModalResult(), 3);
}

// Each kind has a picture of its own beside its disabled form; the button shows
// the first cell while enabled and the second once disabled.
TEST_F(ButtonTest, KindsShowTheirOwnGlyph) {
  std::vector<QImage> seen;
  for (TBitBtnKind kind : {bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll}) {
    const QImage glyph = KindGlyph(kind);
    ASSERT_EQ(glyph.size(), QSize(32, 16)) << int(kind);
    EXPECT_EQ(glyph.pixel(0, 15), kKindGlyphTransparent) << int(kind);
    const QImage picture = glyph.copy(0, 0, 16, 16);
    EXPECT_NE(picture, glyph.copy(16, 0, 16, 16)) << int(kind);
    // OK and Yes share the check mark; every other pair differs.
    if (kind != bkYes) {
      for (const QImage& other : seen) {
        EXPECT_NE(picture, other) << int(kind);
      }
    }
    seen.push_back(picture);
  }
  EXPECT_TRUE(KindGlyph(bkCustom).isNull());

  MakeCurrent(nullptr);
  TTeButton b;
  b.SetKind(bkOK);
  const auto count = [](const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
  };
  const QRgb green = qRgb(0, 128, 0);
  EXPECT_GT(count(Grab(b), green), 10);
  EXPECT_EQ(count(Grab(b), kKindGlyphTransparent), 0);
  b.setEnabled(false);
  EXPECT_EQ(count(Grab(b), green), 0);
}

// The control's pixels are exactly the theme's PaintButton over the parent's face,
// in every state and theme kind (no caption, so no text to leave out).
TEST_F(ButtonTest, PixelsEqualTheThemesOwnPainting) {
  for (const ThemeKind& kind : ThemeKinds()) {
    auto made = kind.Make();
    if (std::string(kind.Name) == "Sonolift") {
      ASSERT_TRUE(made) << "our packed theme did not load";
    }
    TteTheme* theme = MakeCurrent(std::move(made));
    for (int state : {0, 1, 2, 3, 4, 6}) {
      TTeControl parent;
      parent.resize(120, 60);
      auto* b = new TTeButton(&parent);
      b->move(10, 10);
      MakeState(*b, state);
      const QImage shot = Grab(*b);
      if (!theme) {
        // Classic: the raised face, black outside and the shadow inside it.
        const TColor f = GetSysColor(COLOR_BTNFACE);
        const QRgb face = qRgb(GetRValue(f), GetGValue(f), GetBValue(f)) & 0xFFFFFF;
        const auto at = [&](int x, int y) { return shot.pixel(x, y) & 0xFFFFFF; };
        if (state == kbsPressed) {
          EXPECT_EQ(at(0, 0), 0x808080u);
          EXPECT_EQ(at(74, 24), 0x808080u);
        } else if (state == kbsFocused || state == kbsDefault) {
          EXPECT_EQ(at(0, 0), 0u) << "state " << state;
          EXPECT_EQ(at(1, 1), 0xFFFFFFu) << "state " << state;
          EXPECT_EQ(at(73, 23), 0u) << "state " << state;
        } else {
          EXPECT_EQ(at(0, 0), 0xFFFFFFu) << "state " << state;
          EXPECT_EQ(at(74, 24), 0u) << "state " << state;
          EXPECT_EQ(at(73, 23), 0x808080u) << "state " << state;
          EXPECT_EQ(at(1, 1), face) << "state " << state;
        }
        if (state == kbsFocused) {
          EXPECT_EQ(at(4, 4), ~face & 0xFFFFFF) << "focus rectangle";
          EXPECT_EQ(at(5, 4), face) << "focus rectangle";
        }
        EXPECT_EQ(at(37, 12), face);
        continue;
      }
      auto ref = FaceBitmap(75, 25);
      theme->PaintButton(0, ref->Canvas(), ButtonInfo({0, 0, 75, 25}, uint8_t(state)), "default");
      EXPECT_EQ(FirstDifference(shot, *ref), "") << kind.Name << " state " << state;
      // With a caption the face is the same everywhere but around the text.
      b->SetCaption("&Extract");
      const TRect text = Inset(b->GetTextRect(), -2);
      ASSERT_FALSE(text.IsEmpty());
      EXPECT_EQ(FirstDifference(Grab(*b), *ref, text), "") << kind.Name << " state " << state << " with caption";
    }
  }
}

}  // namespace
