// TteBitmap, its record, links, lists, colour helpers and canvas helpers, on tiny bitmaps.
#include "te_bitmap.h"

#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <numeric>
#include <random>
#include <set>

#include "app_error.h"

namespace {

constexpr TteColor A = 0xFF0000AAu, B = 0xFF0000BBu, C = 0xFF0000CCu, D = 0xFF0000DDu;

// A bitmap of w x h pixels from a row-major list.
std::unique_ptr<TteBitmap> Make(int w, int h, std::vector<TteColor> pixels) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h);
  for (int i = 0; i < w * h; ++i) b->Bits()[i] = pixels[size_t(i)];
  return b;
}

std::unique_ptr<TteBitmap> Filled(int w, int h, TteColor c) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h);
  b->Fill(c);
  return b;
}

std::vector<TteColor> Row(const TteBitmap& b, int y) {
  return std::vector<TteColor>(b.Bits() + y * b.Width(), b.Bits() + (y + 1) * b.Width());
}

std::vector<TteColor> All(const TteBitmap& b) {
  return std::vector<TteColor>(b.Bits(), b.Bits() + b.Width() * b.Height());
}

QByteArray Record(const QByteArray& name, int32_t w, int32_t h, const std::vector<TteColor>& px) {
  QByteArray out;
  auto put = [&out](int32_t v) {
    char b[4];
    qToLittleEndian(v, b);
    out.append(b, 4);
  };
  put(int32_t(name.size()));
  out += name;
  put(w);
  put(h);
  out.append(reinterpret_cast<const char*>(px.data()), qsizetype(px.size() * 4));
  return out;
}

// A stream that cannot tell its size, like a pipe.
class SequentialBuffer : public QIODevice {
 public:
  explicit SequentialBuffer(QByteArray data) : data_(std::move(data)) { open(ReadOnly); }
  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* out, qint64 max) override {
    const qint64 n = std::min<qint64>(max, data_.size() - pos_);
    std::memcpy(out, data_.constData() + pos_, size_t(n));
    pos_ += n;
    return n;
  }
  qint64 writeData(const char*, qint64) override { return -1; }

 private:
  QByteArray data_;
  qint64 pos_ = 0;
};

}  // namespace

TEST(ColorHelpers, ConvertBetweenPlatformAndBitmapOrder) {
  EXPECT_EQ(ColorToTeColor(RGB(0x11, 0x22, 0x33), 0x80), 0x80112233u);
  EXPECT_EQ(ColorToTeColor(SysColor(COLOR_WINDOW), 255), 0xFFFFFFFFu);
  EXPECT_EQ(TeColorToColor(0x80112233u), RGB(0x11, 0x22, 0x33));
}

TEST(ColorHelpers, MakeTeColorClampsEveryComponent) {
  struct Case {
    int r, g, b, a;
    TteColor expect;
  } cases[] = {{256, -1, 5, 300, 0xFFFF0005u}, {0, 255, 0, 0, 0x0000FF00u},
               {-100, 1000, 128, -5, 0x0000FF80u}};
  for (const Case& c : cases) EXPECT_EQ(MakeTeColor(c.r, c.g, c.b, c.a), c.expect);
}

TEST(ColorHelpers, HueBrightnessAndLighten) {
  struct Case {
    const char* what;
    TteColor got, expect;
  } cases[] = {
      {"hue red + 85 is green", ChangeHue(0x00FF0000u, 85), 0xFF00FF00u},
      {"hue of grey is grey", ChangeHue(0x40808080u, 100), 0xFF808080u},
      {"hue red + 0 is red", ChangeHue(0xFFFF0000u, 0), 0xFFFF0000u},
      {"hue wraps by 255 upwards", ChangeHue(0xFFFF0000u, 255), 0xFFFF0000u},
      {"brightness clamps", ChangeBrightness(MakeTeColor(250, 10, 128, 7), 10), 0xFFFF148Au},
      {"lighten keeps alpha", Lighten(0x40102030u, -0x20), 0x40000010u},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.expect) << c.what;
  EXPECT_EQ(ChangeBrightnessColor(RGB(250, 10, 128), 10), RGB(255, 20, 138));
}

namespace {

// The hue rule taken literally, in exact fractions: HSL of R, G, B / 255, the shifted
// hue, the way back, every rounding half to even.
class ExactHue {
 public:
  explicit ExactHue(TteColor c)
      : r_(int64_t((c >> 16) & 0xFF), 255),
        g_(int64_t((c >> 8) & 0xFF), 255),
        b_(int64_t(c & 0xFF), 255) {
    const Q mx = std::max({r_, g_, b_}), mn = std::min({r_, g_, b_});
    l_ = (mx + mn) / Q(2);
    grey_ = mx == mn;
    if (grey_) return;
    const Q d = mx - mn;
    s_ = l_ < Q(1, 2) ? d / (mx + mn) : d / (Q(2) - mx - mn);
    Q h = mx == r_ ? (g_ - b_) / d : mx == g_ ? (b_ - r_) / d + Q(2) : (r_ - g_) / d + Q(4);
    h = h / Q(6);
    if (h < Q(0)) h = h + Q(1);
    hue255_ = h * Q(255);
  }

  // H x 255 falls exactly on a half: where floating point goes astray.
  bool HueOnAHalf() const { return !grey_ && hue255_ - Q(hue255_.Floor()) == Q(1, 2); }

  TteColor Shift(int delta) const {
    if (grey_) {
      const int64_t v = (l_ * Q(255)).RoundHalfEven();
      return MakeTeColor(int(v), int(v), int(v), 255);
    }
    int64_t h = delta + hue255_.RoundHalfEven();
    if (h >= 256) h -= 255;
    if (h < 0) h += 255;
    const Q hue(h, 255);
    const Q q = l_ > Q(1, 2) ? l_ + s_ - l_ * s_ : l_ * (Q(1) + s_);
    const Q p = Q(2) * l_ - q;
    auto channel = [&](Q t) {
      t = t - Q(t.Floor());
      Q f = p;
      if (Q(6) * t < Q(1)) f = p + (q - p) * Q(6) * t;
      else if (Q(2) * t < Q(1)) f = q;
      else if (Q(3) * t < Q(2)) f = p + (q - p) * (Q(2, 3) - t) * Q(6);
      return int((f * Q(255)).RoundHalfEven());
    };
    return MakeTeColor(channel(hue + Q(1, 3)), channel(hue), channel(hue - Q(1, 3)), 255);
  }

 private:
  // A fraction in lowest terms, denominator positive; it never needs more than 64 bits
  // here, and says so if it would.
  struct Q {
    int64_t n = 0, d = 1;
    Q() = default;
    Q(int64_t num, int64_t den = 1) {
      if (den < 0) num = -num, den = -den;
      const int64_t g = std::gcd(num, den);
      n = num / g;
      d = den / g;
    }
    static int64_t Mul(int64_t a, int64_t b) {
      int64_t out = 0;
      if (__builtin_mul_overflow(a, b, &out)) ADD_FAILURE() << "exact hue reference overflowed";
      return out;
    }
    friend Q operator+(Q a, Q b) { return {Mul(a.n, b.d) + Mul(b.n, a.d), Mul(a.d, b.d)}; }
    friend Q operator-(Q a, Q b) { return {Mul(a.n, b.d) - Mul(b.n, a.d), Mul(a.d, b.d)}; }
    friend Q operator*(Q a, Q b) { return {Mul(a.n, b.n), Mul(a.d, b.d)}; }
    friend Q operator/(Q a, Q b) { return {Mul(a.n, b.d), Mul(a.d, b.n)}; }
    friend bool operator<(Q a, Q b) { return Mul(a.n, b.d) < Mul(b.n, a.d); }
    friend bool operator>(Q a, Q b) { return b < a; }
    friend bool operator==(Q a, Q b) { return a.n == b.n && a.d == b.d; }
    int64_t Floor() const { return n >= 0 ? n / d : -((-n + d - 1) / d); }
    int64_t RoundHalfEven() const {
      const int64_t f = Floor();
      const Q rest = *this - Q(f);
      if (rest > Q(1, 2) || (rest == Q(1, 2) && (f & 1))) return f + 1;
      return f;
    }
  };

  Q r_, g_, b_, l_, s_, hue255_;
  bool grey_ = false;
};

}  // namespace

TEST(ColorHelpers, HueShiftEqualsTheExactRuleOnSampledColoursAndEveryDelta) {
  // Half the sample where H x 255 is an exact half, half anything at all.
  std::mt19937 rng(20240917);
  std::vector<TteColor> colours;
  int halves = 0, others = 0;
  for (int tries = 0; tries < 2000000 && (halves < 256 || others < 256); ++tries) {
    const TteColor c = rng() & 0x00FFFFFFu;
    const bool half = ExactHue(c).HueOnAHalf();
    if (half ? halves >= 256 : others >= 256) continue;
    ++(half ? halves : others);
    colours.push_back(c);
  }
  ASSERT_EQ(halves, 256) << "too few colours whose hue lies on a half";
  std::vector<int> deltas;
  for (int d = -255; d <= 255; ++d) deltas.push_back(d);
  for (int d : {-256, 256, -100000, 100000, std::numeric_limits<int>::min(),
                std::numeric_limits<int>::max()})
    deltas.push_back(d);
  for (TteColor c : colours) {
    const ExactHue exact(c);
    for (int d : deltas)
      ASSERT_EQ(ChangeHue(c, d), exact.Shift(d)) << std::hex << "colour 0x" << c << std::dec
                                                 << " delta " << d;
  }
}

TEST(ColorHelpers, HueShiftRoundsAnExactHalfToEven) {
  struct Case {
    int r, g, b, delta;
    int expectR, expectG, expectB;
  } cases[] = {
      // H x 255 = 325 * 3 / 6 = 162.5 rounds to 162 (floating point made it 163).
      {0, 15, 85, 1, 0, 14, 85},
      {0, 15, 85, 0, 0, 16, 85},
      {0, 15, 85, -1, 0, 18, 85},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChangeHue(MakeTeColor(c.r, c.g, c.b, 0), c.delta),
              MakeTeColor(c.expectR, c.expectG, c.expectB, 255))
        << c.r << "," << c.g << "," << c.b << " shifted by " << c.delta;
}

TEST(ColorHelpers, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(1, 3, 2), 2);
  EXPECT_EQ(MulDiv(-1, 3, 2), -2);
  EXPECT_EQ(MulDiv(5, 600, 255), 12);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(BitmapSize, SetSizeCases) {
  struct Case {
    int w, h, expectW, expectH;
  } cases[] = {{-10, 5, 10, 5}, {0, 5, 3, 2}, {4, 0, 3, 2}, {3, -2, 3, 2}, {1, 1, 1, 1}};
  for (const Case& c : cases) {
    TteBitmap b;
    b.SetSize(3, 2);
    b.SetSize(c.w, c.h);
    EXPECT_EQ(b.Width(), c.expectW) << c.w << "x" << c.h;
    EXPECT_EQ(b.Height(), c.expectH) << c.w << "x" << c.h;
  }
}

TEST(BitmapSize, SameSizeKeepsThePixels) {
  auto b = Make(2, 1, {A, B});
  b->SetSize(2, 1);
  EXPECT_EQ(All(*b), (std::vector<TteColor>{A, B}));
}

TEST(BitmapSize, AbsurdSizeFailsCleanlyAndLeavesTheBitmapEmpty) {
  TteBitmap b;
  b.SetSize(2, 2);
  try {
    b.SetSize(1 << 20, 1 << 20);
    FAIL() << "no error";
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Message(), "Can't allocate the DIB handle");
  }
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(BitmapRegistry().FindByCanvas(&b.Canvas()), nullptr);
}

TEST(BitmapSize, RegistryHoldsExactlyTheBitmapsWithPixels) {
  TteBitmap b;
  TCanvas& canvas = b.Canvas();
  EXPECT_EQ(BitmapRegistry().FindByCanvas(&canvas), nullptr);
  b.SetSize(2, 2);
  EXPECT_EQ(BitmapRegistry().FindByCanvas(&canvas), &b);
  b.Clear();
  EXPECT_EQ(BitmapRegistry().FindByCanvas(&canvas), nullptr);
  {
    TteBitmap gone;
    gone.SetSize(1, 1);
    gone.Canvas();
  }
  TCanvas foreign;
  EXPECT_EQ(BitmapRegistry().FindByCanvas(&foreign), nullptr);
}

TEST(BitmapPixels, GetAndSetPixelOutsideDoNothing) {
  auto b = Make(2, 1, {A, B});
  EXPECT_EQ(b->GetPixel(1, 0), B);
  for (auto [x, y] : {std::pair{-1, 0}, {2, 0}, {0, 1}, {0, -1}}) {
    EXPECT_EQ(b->GetPixel(x, y), 0u);
    b->SetPixel(x, y, C);
  }
  EXPECT_EQ(All(*b), (std::vector<TteColor>{A, B}));
  TteBitmap empty;
  EXPECT_EQ(empty.GetPixel(0, 0), 0u);
}

TEST(BitmapPixels, FillRectSetsOrTintsTheClippedRectangle) {
  auto b = Filled(3, 1, 0xFF000000u);
  b->FillRect({-5, 0, 2, 9}, 0x80FFFFFFu);
  EXPECT_EQ(All(*b), (std::vector<TteColor>{0x80FFFFFFu, 0x80FFFFFFu, 0xFF000000u}));
  b->Fill(0xFF000000u);
  b->AlphaBlend = true;
  b->FillRect({1, 0, 3, 1}, 0x80FFFFFFu);
  EXPECT_EQ(All(*b), (std::vector<TteColor>{0xFF000000u, 0xBF7F7F7Fu, 0xBF7F7F7Fu}));
}

TEST(BitmapPixels, AlphaOperations) {
  auto b = Make(3, 1, {0x00102030u, 0xFF102030u, 0x7F102030u});
  b->CheckingAlpha();
  EXPECT_TRUE(b->AlphaBlend);
  b->SetAlphaRect(0x11, {1, -3, 10, 10});
  EXPECT_EQ(All(*b), (std::vector<TteColor>{0x00102030u, 0x11102030u, 0x11102030u}));
  b->SetAlpha(255);
  b->CheckingAlpha();
  EXPECT_FALSE(b->AlphaBlend);
}

TEST(BitmapPixels, CheckingTransparentTakesDifferencesBelowSix) {
  auto b = Make(4, 1, {0xFFFA05FBu, 0xFFF900FFu, 0x12FF00FFu, 0xFF0000FFu});
  b->CheckingTransparent(0x00FF00FFu);
  EXPECT_TRUE(b->Transparent);
  EXPECT_EQ(All(*b), (std::vector<TteColor>{kTeColorKey, 0xFFF900FFu, kTeColorKey, 0xFF0000FFu}));
  auto none = Make(1, 1, {0xFF000000u});
  none->Transparent = true;
  none->CheckingTransparent(0x00FF00FFu);
  EXPECT_FALSE(none->Transparent);
}

TEST(BitmapPixels, FlipVertSwapsRows) {
  auto b = Make(1, 3, {A, B, C});
  b->FlipVert();
  EXPECT_EQ(All(*b), (std::vector<TteColor>{C, B, A}));
}

TEST(BitmapPixels, HueAndBrightnessSkipClearPixelsAndKeepAlpha) {
  auto b = Make(3, 1, {0x00FF0000u, 0x80FF0000u, kTeColorKey});
  b->ChangeHue(85);
  EXPECT_EQ(All(*b), (std::vector<TteColor>{0x00FF0000u, 0x8000FF00u, kTeColorKey}));
  b->ChangeBrightness(-16);
  EXPECT_EQ(All(*b), (std::vector<TteColor>{0x00FF0000u, 0x8000EF00u, kTeColorKey}));
}

// On a bitmap and on a foreign image alike: an opaque draw (copy, or key copy of a
// pixel that is not the key) covers its target even where the source's alpha is 0.
TEST(BitmapDraw, ModesOnOneRow) {
  const TteColor target = 0xFF000000u;
  struct Case {
    const char* mode;
    bool alpha, key;
    TteColor src, expect;
  } cases[] = {
      {"copy keeps alpha", false, false, 0x12345678u, 0x12345678u},
      {"copy writes a clear pixel", false, false, 0x00345678u, 0x00345678u},
      {"key copy makes opaque", false, true, 0x12345678u, 0xFF345678u},
      {"key copy makes a clear pixel opaque", false, true, 0x00345678u, 0xFF345678u},
      {"key copy skips key", false, true, 0x807F007Fu, target},
      {"blend", true, false, 0x80FFFFFFu, 0xBF7F7F7Fu},
      {"blend opaque", true, false, 0xFF123456u, 0xFF123456u},
      {"blend clear", true, false, 0x00FFFFFFu, target},
  };
  for (const Case& c : cases) {
    auto s = Make(1, 1, {c.src});
    s->AlphaBlend = c.alpha;
    s->Transparent = c.key;
    auto t = Filled(1, 1, target);
    s->Draw(*t, 0, 0);
    EXPECT_EQ(t->GetPixel(0, 0), c.expect) << c.mode;
    QImage foreign(1, 1, QImage::Format_ARGB32);
    foreign.fill(target);
    TCanvas canvas(&foreign);
    s->Draw(canvas, 0, 0);
    EXPECT_EQ(foreign.pixel(0, 0), c.expect) << c.mode << " on a foreign image";
  }
}

TEST(BitmapDraw, ClearSourceNeverChangesTheTargetOnAnyPath) {
  // Clear pixels of a blended bitmap and key pixels of a keyed one.
  struct Case {
    const char* mode;
    bool alpha;
    std::vector<TteColor> src;
  } cases[] = {{"blend", true, {0x00000000u, 0x00FFFFFFu}},
               {"key", false, {kTeColorKey, 0xFF7F007Fu}}};
  for (const Case& c : cases) {
    auto s = Make(2, 1, c.src);
    s->AlphaBlend = c.alpha;
    s->Transparent = !c.alpha;
    auto t = Filled(4, 1, 0xFF123456u);
    s->Draw(*t, 0, 0);
    s->Draw(*t, TRect{1, 0, 4, 1}, s->BoundsRect());
    s->Draw(t->Canvas(), 2, 0);
    QImage foreign(4, 1, QImage::Format_ARGB32);
    foreign.fill(0xFF123456u);
    TCanvas fc(&foreign);
    s->Draw(fc, TRect{0, 0, 4, 1});
    EXPECT_EQ(All(*t), std::vector<TteColor>(4, 0xFF123456u)) << c.mode;
    for (int x = 0; x < 4; ++x) EXPECT_EQ(foreign.pixel(x, 0), 0xFF123456u) << c.mode;
  }
}

TEST(BitmapDraw, StretchMapsEndPixelsOntoEndPixels) {
  struct Case {
    const char* what;
    std::vector<TteColor> src;
    TRect srcRect;
    int width;
    std::vector<TteColor> expect;
  } cases[] = {
      {"3 to 5", {A, B, C}, {0, 0, 3, 1}, 5, {A, A, B, C, C}},
      {"3 to 1 takes the middle", {A, B, C}, {0, 0, 3, 1}, 1, {B}},
      {"4 to 1 takes (L + R - 1) div 2", {A, B, C, D}, {0, 0, 4, 1}, 1, {B}},
      {"halves go to the even whole column", {A, B, C, D}, {1, 0, 4, 1}, 5, {B, C, C, C, D}},
      {"4 to 2", {A, B, C, D}, {0, 0, 4, 1}, 2, {A, D}},
      {"2 to 3", {A, B}, {0, 0, 2, 1}, 3, {A, A, B}},
  };
  for (const Case& c : cases) {
    auto s = Make(int(c.src.size()), 1, c.src);
    auto t = Filled(c.width, 1, 0);
    s->Draw(*t, TRect{0, 0, c.width, 1}, c.srcRect);
    EXPECT_EQ(All(*t), c.expect) << c.what;
  }
}

TEST(BitmapDraw, StretchRowsAndClippedDestinationKeepTheWholeMap) {
  auto s = Make(1, 3, {A, B, C});
  auto t = Filled(1, 3, 0);
  // D is rows -2..3 (5 rows, map A A B C C); only rows 0..2 are visible.
  s->Draw(*t, TRect{0, -2, 1, 3}, s->BoundsRect());
  EXPECT_EQ(All(*t), (std::vector<TteColor>{B, C, C}));
  // Blend mode goes through the scratch row and its reuse.
  auto sb = Make(2, 2, {0x80FFFFFFu, 0xFF00FF00u, 0x00FFFFFFu, 0xFF0000FFu});
  sb->AlphaBlend = true;
  auto tb = Filled(4, 4, 0xFF000000u);
  sb->Draw(*tb, TRect{0, 0, 4, 4}, sb->BoundsRect());
  const std::vector<TteColor> top{0xBF7F7F7Fu, 0xBF7F7F7Fu, 0xFF00FF00u, 0xFF00FF00u};
  const std::vector<TteColor> bottom{0xFF000000u, 0xFF000000u, 0xFF0000FFu, 0xFF0000FFu};
  EXPECT_EQ(Row(*tb, 0), top);
  EXPECT_EQ(Row(*tb, 1), top);
  EXPECT_EQ(Row(*tb, 2), bottom);
  EXPECT_EQ(Row(*tb, 3), bottom);
}

TEST(BitmapDraw, SourceRectangleOutsideTheBitmapDrawsNothing) {
  auto s = Make(2, 2, {A, B, C, D});
  for (TRect bad : {TRect{1, 0, 3, 1}, TRect{-1, 0, 1, 1}, TRect{0, 1, 1, 3}, TRect{1, 1, 1, 2}}) {
    auto t = Filled(3, 3, 0);
    s->Draw(*t, 0, 0, bad);
    s->Draw(*t, TRect{0, 0, 3, 3}, bad);
    EXPECT_EQ(All(*t), std::vector<TteColor>(9, 0u));
  }
}

TEST(BitmapDraw, PartlyVisibleUnscaledDrawOffsetsTheSource) {
  auto s = Make(3, 1, {A, B, C});
  auto t = Filled(3, 1, 0);
  s->Draw(*t, -1, 0);
  EXPECT_EQ(All(*t), (std::vector<TteColor>{B, C, 0}));
  s->Draw(*t, 2, 0, TRect{0, 0, 2, 1});
  EXPECT_EQ(All(*t), (std::vector<TteColor>{B, C, A}));
}

TEST(BitmapDraw, OntoItsOwnCanvasHonoursTheOrigin) {
  auto s = Make(1, 1, {A});
  auto t = Filled(3, 1, 0);
  t->Canvas().SetOrigin({5, 0});
  s->Draw(t->Canvas(), 6, 0);  // logical 6 is device 1
  EXPECT_EQ(All(*t), (std::vector<TteColor>{0, A, 0}));
}

TEST(BitmapDraw, OntoItselfReadsThePixelsAsTheyWere) {
  auto b = Make(4, 1, {A, B, C, D});
  b->Draw(*b, 1, 0, TRect{0, 0, 3, 1});
  EXPECT_EQ(All(*b), (std::vector<TteColor>{A, A, B, C}));
}

TEST(BitmapDraw, OntoAForeignImageCanvasUsesTheSameModes) {
  auto s = Make(2, 1, {0x80FFFFFFu, kTeColorKey});
  QImage img(2, 1, QImage::Format_ARGB32);
  img.fill(0xFF000000u);
  TCanvas canvas(&img);
  s->AlphaBlend = true;
  s->Draw(canvas, 0, 0);
  EXPECT_EQ(img.pixel(0, 0), 0xBF7F7F7Fu) << "blend through a bitmap keeps our arithmetic";
  img.fill(0xFF000000u);
  s->AlphaBlend = false;
  s->Transparent = true;
  s->Draw(canvas, 0, 0);
  EXPECT_EQ(img.pixel(0, 0), 0xFFFFFFFFu);
  EXPECT_EQ(img.pixel(1, 0), 0xFF000000u) << "key pixel skipped";
}

TEST(BitmapTile, CutsTheLastTileNeverScales) {
  auto tile = std::make_unique<TteBitmap>();
  tile->SetSize(10, 1);
  for (int i = 0; i < 10; ++i) tile->Bits()[i] = 0xFF000000u | TteColor(i);
  auto t = Filled(30, 1, 0xEEEEEEEEu);
  tile->Tile(t->Canvas(), TRect{0, 0, 25, 1}, tile->BoundsRect());
  for (int x = 0; x < 30; ++x)
    EXPECT_EQ(t->GetPixel(x, 0), x < 25 ? 0xFF000000u | TteColor(x % 10) : 0xEEEEEEEEu) << x;
}

TEST(BitmapTile, ClipPicksWholeTilesThatTouchIt) {
  auto tile = Filled(10, 1, A);
  auto t = Filled(25, 1, 0);
  tile->Tile(t->Canvas(), TRect{0, 0, 25, 1}, tile->BoundsRect(), TRect{12, 0, 13, 1});
  for (int x = 0; x < 25; ++x) EXPECT_EQ(t->GetPixel(x, 0), (x >= 10 && x < 20) ? A : 0u) << x;
}

TEST(BitmapTile, HugeDestinationCostsOnlyTheVisibleTiles) {
  auto tile = Filled(1, 1, A);
  auto t = Filled(2, 2, 0);
  tile->Tile(t->Canvas(), TRect{-2000000000, -2000000000, 2000000000, 2000000000},
             tile->BoundsRect());
  EXPECT_EQ(All(*t), std::vector<TteColor>(4, A));
}

TEST(BitmapTile, OntoABitmapEqualsDrawingEveryTileOneByOne) {
  // The bitmap path lays whole rows; a foreign image canvas draws tile by tile.
  auto tile = std::make_unique<TteBitmap>();
  tile->SetSize(5, 4);
  for (int i = 0; i < 20; ++i) tile->Bits()[i] = (TteColor(i * 37) << 24) | TteColor(i * 0x010203);
  tile->Bits()[3] = kTeColorKey;
  struct Case {
    const char* what;
    bool alpha, key;
    TRect dst, src, clip;
    TPoint origin;
    TRect drawn;  // with a clip: the whole tiles that meet it, on the device
  } cases[] = {
      {"copy", false, false, {-3, -2, 30, 17}, {0, 0, 5, 4}, {}, {0, 0}, {}},
      {"blend with origin", true, false, {1, 2, 23, 13}, {1, 1, 4, 4}, {}, {-2, 3}, {}},
      {"copy with clip", false, false, {0, 0, 27, 19}, {0, 0, 5, 4}, {6, 5, 12, 6}, {0, 0},
       {5, 4, 15, 8}},
      {"clip off the device, tile on it", false, false, {-3, 0, 27, 19}, {0, 0, 5, 4},
       {-2, 0, -1, 1}, {0, 0}, {0, 0, 2, 4}},
  };
  for (const Case& c : cases) {
    tile->AlphaBlend = c.alpha;
    tile->Transparent = c.key;
    auto onBitmap = Filled(24, 15, 0xFF405060u);
    onBitmap->Canvas().SetOrigin(c.origin);
    tile->Tile(onBitmap->Canvas(), c.dst, c.src, c.clip);
    QImage image(24, 15, QImage::Format_ARGB32);
    image.fill(0xFF405060u);
    TCanvas canvas(&image);
    canvas.SetOrigin(c.origin);
    tile->Tile(canvas, c.dst, c.src, c.clip);
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 24; ++x)
        ASSERT_EQ(onBitmap->GetPixel(x, y), image.pixel(x, y)) << c.what << " at " << x << "," << y;
    if (c.clip.IsEmpty()) continue;
    for (int y = 0; y < 15; ++y)
      for (int x = 0; x < 24; ++x)
        EXPECT_EQ(onBitmap->GetPixel(x, y) != 0xFF405060u, c.drawn.Contains(x, y))
            << c.what << " at " << x << "," << y;
  }
}

TEST(BitmapDrawUnder, ComposesBehindByThisBitmapsAlpha) {
  auto top = Make(3, 1, {0x00123456u, 0x80FFFFFFu, 0xFF010203u});
  auto back = Filled(3, 1, 0xFF000000u);
  top->DrawUnder(*back, 0, 0, back->BoundsRect());
  EXPECT_EQ(All(*top), (std::vector<TteColor>{0xFF000000u, 0xBF7F7F7Fu, 0xFF010203u}));
}

// Positions are clipped to this bitmap's rectangle: a run that leaves it on one side
// does not come back on the neighbouring row.
TEST(BitmapDrawUnder, ClipsToThisBitmapSoNothingWrapsOntoAnotherRow) {
  auto back = Make(3, 1, {A, B, C});
  struct Case {
    const char* what;
    int x, y;
    TRect src;
    std::vector<TteColor> expect;  // the 3 x 2 target, row by row
  } cases[] = {
      {"negative source left shifts the target", 0, 0, {-1, 0, 3, 1}, {0, A, B, 0, 0, 0}},
      {"left of the first row", -1, 0, {0, 0, 3, 1}, {B, C, 0, 0, 0, 0}},
      {"past the right edge of the first row", 2, 0, {0, 0, 3, 1}, {0, 0, A, 0, 0, 0}},
      {"left of the second row", -1, 1, {0, 0, 3, 1}, {0, 0, 0, B, C, 0}},
      {"above the top", 0, -1, {0, 0, 3, 1}, {0, 0, 0, 0, 0, 0}},
      {"below the bottom", 0, 2, {0, 0, 3, 1}, {0, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    auto top = Filled(3, 2, 0);
    top->DrawUnder(*back, c.x, c.y, c.src);
    EXPECT_EQ(All(*top), c.expect) << c.what;
  }
}

TEST(BitmapRegion, RunsOfNonKeyPixelsOffset) {
  auto b = Make(3, 3, {A, A, A, A, kTeColorKey, 0xFF7F007Fu, A, A, A});
  const QRegion r = b->CreateRegion(10, 20);
  QRegion expect;
  expect += QRect(10, 20, 3, 1);
  expect += QRect(10, 21, 1, 1);
  expect += QRect(10, 22, 3, 1);
  EXPECT_EQ(r, expect);
  EXPECT_FALSE(r.contains(QPoint(11, 21)));
  EXPECT_TRUE(Make(1, 1, {kTeColorKey})->CreateRegion(0, 0).isEmpty());
}

TEST(BitmapRecord, RoundTripWritesTopDownWithPositiveHeight) {
  auto b = Make(2, 2, {A, B, C, 0x00000001u});
  b->Name = "Frame";
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  b->SaveToStream(buffer);
  EXPECT_EQ(buffer.data(), Record("Frame", 2, 2, {A, B, C, 0x00000001u}));
  buffer.seek(0);
  TteBitmap back;
  back.LoadFromStream(buffer);
  EXPECT_EQ(back.Name, "Frame");
  EXPECT_EQ(All(back), All(*b));
  EXPECT_EQ(buffer.pos(), buffer.size());
}

TEST(BitmapRecord, NegativeHeightMeansBottomUpRows) {
  QByteArray data = Record("x", 1, -2, {A, B});
  QBuffer in(&data);
  in.open(QIODevice::ReadOnly);
  TteBitmap b;
  b.LoadFromStream(in);
  EXPECT_EQ(All(b), (std::vector<TteColor>{B, A}));
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  b.SaveToStream(out);
  EXPECT_EQ(out.data(), Record("x", 1, 2, {B, A}));
}

TEST(BitmapRecord, ConsecutiveRecordsReadFromAPipe) {
  SequentialBuffer in(Record("a", 1, 1, {A}) + Record("b", 2, 1, {B, C}));
  TteBitmap first, second;
  first.LoadFromStream(in);
  second.LoadFromStream(in);
  EXPECT_EQ(All(first), (std::vector<TteColor>{A}));
  EXPECT_EQ(second.Name, "b");
  EXPECT_EQ(All(second), (std::vector<TteColor>{B, C}));
}

TEST(BitmapRecord, ZeroSizedRecordGivesAnEmptyBitmap) {
  QByteArray data = Record("none", 0, 0, {});
  QBuffer in(&data);
  in.open(QIODevice::ReadOnly);
  auto b = Make(1, 1, {A});
  b->LoadFromStream(in);
  EXPECT_TRUE(b->Empty());
  EXPECT_EQ(b->Name, "none");
}

TEST(BitmapRecord, MalformedRecordsAreRefusedAndLeaveTheBitmapAsItWas) {
  QByteArray negativeName(4, '\xFF');
  const QByteArray hugeName("\xFF\xFF\xFF\x7F", 4);
  struct Case {
    const char* what;
    QByteArray bytes;
  } cases[] = {
      {"truncated pixels", Record("t", 2, 2, {A, B, C})},
      {"negative name length", negativeName},
      {"name longer than the stream", hugeName + "abc"},
      {"negative width", Record("w", -1, 1, {A})},
      {"smallest height", Record("h", 1, std::numeric_limits<int32_t>::min(), {A})},
      {"absurd size", Record("big", 0x7FFFFFFF, 0x7FFFFFFF, {A})},
      {"more pixels than the stream holds", Record("big", 4000, 4000, {A, B})},
      {"header cut short", Record("n", 1, 1, {A}).left(7)},
  };
  for (const Case& c : cases) {
    for (bool pipe : {false, true}) {
      auto b = Make(1, 1, {D});
      b->Name = "old";
      QByteArray bytes = c.bytes;
      QBuffer buffer(&bytes);
      buffer.open(QIODevice::ReadOnly);
      SequentialBuffer sequential(bytes);
      QIODevice& in = pipe ? static_cast<QIODevice&>(sequential) : buffer;
      EXPECT_THROW(b->LoadFromStream(in), EAppError) << c.what << (pipe ? " (pipe)" : "");
      EXPECT_EQ(b->Name, "old") << c.what;
      EXPECT_EQ(All(*b), (std::vector<TteColor>{D})) << c.what;
    }
  }
}

TEST(BitmapAssign, CopiesAndImports) {
  auto b = Make(2, 1, {0x80102030u, A});
  b->Name = "n";
  b->Transparent = true;
  TteBitmap copy;
  copy.Assign(*b);
  EXPECT_EQ(All(copy), All(*b));
  EXPECT_EQ(copy.Name, "n");
  EXPECT_TRUE(copy.Transparent);

  QImage withAlpha(2, 1, QImage::Format_ARGB32);
  withAlpha.setPixel(0, 0, 0x80102030u);
  withAlpha.setPixel(1, 0, 0xFF102030u);
  TteBitmap fromAlpha;
  fromAlpha.Assign(withAlpha);
  EXPECT_TRUE(fromAlpha.AlphaBlend);
  EXPECT_EQ(fromAlpha.GetPixel(0, 0), 0x80102030u);

  QImage opaque(1, 1, QImage::Format_RGB888);
  opaque.setPixel(0, 0, qRgb(1, 2, 3));
  TteBitmap fromOpaque;
  fromOpaque.Assign(opaque);
  EXPECT_EQ(fromOpaque.GetPixel(0, 0), 0xFF010203u);
  EXPECT_EQ(b->AssignTo().pixel(0, 0), 0xFF102030u) << "drawn in its own mode, key copy";
}

TEST(BitmapLink, ValidityAndAssign) {
  TteBitmap b;
  TteBitmapLink link;
  EXPECT_FALSE(link.IsValid());
  link.Bitmap = &b;
  link.Right = 2;
  EXPECT_FALSE(link.IsValid()) << "zero height";
  link.Bottom = 1;
  EXPECT_TRUE(link.IsValid());
  link.CornerTransparent = true;
  link.Name = "L";
  TteBitmapLink copy;
  copy.Assign(link);
  EXPECT_EQ(copy.Bitmap, &b);
  EXPECT_EQ(copy.Rect(), link.Rect());
  EXPECT_TRUE(copy.CornerTransparent);
  EXPECT_EQ(copy.Name, "L");
}

TEST(BitmapLink, CheckTransparencyFindsTheBandsOfTransparentPixels) {
  constexpr TteColor O = 0xFF000000u, K = kTeColorKey, S = 0x33333333u, H = 0x80000000u;
  struct Case {
    const char* what;
    std::vector<TteColor> pixels;  // 3 x 3, margins of 1 unless noMargins
    bool noMargins;
    bool margin, corner, centre;
  } cases[] = {
      {"opaque", {O, O, O, O, O, O, O, O, O}, false, false, false, false},
      {"corner key", {K, O, O, O, O, O, O, O, O}, false, false, true, false},
      {"margin half alpha", {O, H, O, O, O, O, O, O, O}, false, true, false, false},
      {"centre key", {O, O, O, O, K, O, O, O, O}, false, false, false, true},
      {"0x33333333 is not transparent", {S, S, S, S, S, S, S, S, S}, false, false, false, false},
      {"no margins: anywhere counts as centre", {O, O, O, O, O, O, O, O, K}, true, false, false,
       true},
  };
  for (const Case& c : cases) {
    auto b = Make(3, 3, c.pixels);
    TteBitmapLink link;
    link.Bitmap = b.get();
    link.Right = link.Bottom = 3;
    link.CheckTransparency(c.noMargins ? 0 : 1, c.noMargins ? 0 : 1, c.noMargins ? 0 : 1,
                           c.noMargins ? 0 : 1);
    EXPECT_EQ(link.MarginTransparent, c.margin) << c.what;
    EXPECT_EQ(link.CornerTransparent, c.corner) << c.what;
    EXPECT_EQ(link.CenterTransparent, c.centre) << c.what;
  }
  auto b = Make(1, 1, {O});
  TteBitmapLink outside;
  outside.Bitmap = b.get();
  outside.Right = 2;
  outside.Bottom = 1;
  outside.CheckTransparency(0, 0, 0, 0);
  EXPECT_TRUE(outside.CenterTransparent) << "pixels outside the bitmap read as 0";
}

TEST(BitmapList, FindItemsAndLinks) {
  TteBitmapList list;
  auto a = std::make_unique<TteBitmap>();
  a->Name = "Button";
  TteBitmap* raw = a.get();
  EXPECT_EQ(list.Add(std::move(a)), 0);
  EXPECT_EQ(list.Find("bUTTON"), raw);
  EXPECT_EQ(list.Find("other"), nullptr);
  EXPECT_EQ(list.Items(0), raw);
  EXPECT_EQ(list.Items(1), nullptr);
  EXPECT_EQ(list.Items(-1), nullptr);
  auto link = list.GetLink("button", {1, 2, 3, 4});
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->Bitmap, raw);
  EXPECT_EQ(link->Name, "Button");
  EXPECT_EQ(link->Rect(), (TRect{1, 2, 3, 4}));
  EXPECT_EQ(list.GetLink("none", {}), nullptr);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

TEST(CanvasHelpers, GradientBandsAreMulDivSpansOfRoundedColours) {
  auto b = Filled(600, 1, 0);
  DrawGradient(b->Canvas(), {0, 0, 600, 1}, RGB(0, 0, 0), false, RGB(255, 100, 10));
  std::vector<int> widths;
  int start = 0;
  for (int x = 1; x <= 600; ++x)
    if (x == 600 || b->GetPixel(x, 0) != b->GetPixel(x - 1, 0)) {
      widths.push_back(x - start);
      start = x;
    }
  EXPECT_EQ(widths.size(), 255u);
  for (int w : widths) EXPECT_TRUE(w == 2 || w == 3) << w;
  // Band 1 spans MulDiv(1, 600, 255) = 2 .. 5; red round(255 / 255) = 1, green
  // round(100 / 255) = 0, blue 0; the last band stops short of c2.
  EXPECT_EQ(b->GetPixel(2, 0) & 0xFFFFFF, 0x010000u);
  EXPECT_EQ(b->GetPixel(599, 0) & 0xFFFFFF, 0xFE640Au);
  EXPECT_EQ(b->GetPixel(0, 0) >> 24, 0u) << "canvas fills leave alpha alone";

  auto v = Filled(1, 4, 0);
  DrawGradient(v->Canvas(), {0, 0, 1, 4}, RGB(0, 0, 0), true, RGB(0, 0, 4));
  EXPECT_EQ(All(*v), (std::vector<TteColor>{0x000000u, 0x000001u, 0x000002u, 0x000003u}));
}

TEST(CanvasHelpers, DitherAlternatesFromDeviceOriginAndClipsNegativeEdges) {
  auto b = Filled(3, 3, 0xFF000000u);
  FillDither(b->Canvas(), {-5, -5, 3, 3}, RGB(0, 0, 1), RGB(0, 0, 2));
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x)
      EXPECT_EQ(b->GetPixel(x, y), ((x & 1) == (y & 1)) ? 0xFF000002u : 0xFF000001u) << x << "," << y;
}

TEST(CanvasHelpers, Frame3DDrawsTheTwoHalvesWithEndPointsExcluded) {
  auto b = Filled(4, 4, 0);
  DrawFrame3D(b->Canvas(), {0, 0, 4, 4}, RGB(0, 0, 1), RGB(0, 0, 2));
  const std::vector<TteColor> expect{1, 1, 1, 2,  //
                                     1, 0, 0, 2,  //
                                     1, 0, 0, 2,  //
                                     2, 2, 2, 2};
  EXPECT_EQ(All(*b), expect);
}

TEST(CanvasHelpers, DrawRectOutlinesTheExclusiveRectangle) {
  auto b = Filled(4, 3, 0);
  DrawRect(b->Canvas(), {0, 0, 3, 3}, RGB(0, 0, 1));
  EXPECT_EQ(All(*b), (std::vector<TteColor>{1, 1, 1, 0, 1, 0, 1, 0, 1, 1, 1, 0}));
}

TEST(CanvasHelpers, MaskedFrameControlTurnsTheBlackGlyphIntoTheColour) {
  struct Case {
    uint32_t kind, state;
  } cases[] = {{DFC_CAPTION, DFCS_CAPTIONCLOSE}, {DFC_CAPTION, DFCS_CAPTIONMAX},
               {DFC_SCROLL, DFCS_SCROLLUP},      {DFC_MENU, DFCS_MENUARROW},
               {DFC_MENU, DFCS_MENUCHECK},       {DFC_CAPTION, DFCS_CAPTIONHELP}};
  for (const Case& c : cases) {
    // What the platform drawing leaves at 0 on a zeroed surface is the glyph.
    auto plain = Filled(16, 14, 0);
    plain->Canvas().DrawFrameControl(plain->BoundsRect(), c.kind, c.state);
    auto target = Filled(18, 16, 0x11223344u);
    DrawMaskedFrameControl(target->Canvas(), {1, 1, 17, 15}, c.kind, c.state, RGB(0x10, 0x20, 0x30));
    int glyphPixels = 0;
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 18; ++x) {
        const bool inside = x >= 1 && x < 17 && y >= 1 && y < 15;
        const bool glyph = inside && plain->GetPixel(x - 1, y - 1) == 0;
        glyphPixels += glyph;
        EXPECT_EQ(target->GetPixel(x, y), glyph ? 0xFF102030u : 0x11223344u)
            << c.kind << "/" << c.state << " at " << x << "," << y;
      }
    EXPECT_GT(glyphPixels, 4) << c.kind << "/" << c.state;
    EXPECT_LT(glyphPixels, 16 * 14 / 2) << "the button face is not glyph";
  }
}

TEST(CanvasHelpers, MaskedFrameControlOfAnInactiveGlyphDrawsNothing) {
  auto target = Filled(16, 16, 0x11223344u);
  DrawMaskedFrameControl(target->Canvas(), {0, 0, 16, 16}, DFC_SCROLL,
                         DFCS_SCROLLDOWN | DFCS_INACTIVE, clBlack);
  EXPECT_EQ(All(*target), std::vector<TteColor>(256, 0x11223344u));
}

TEST(CanvasHelpers, SilhouetteBlendsTheShapeInTheColourAtAlpha100) {
  auto shape = Make(3, 1, {0xFF123456u, kTeColorKey, 0xFF7C037Du});
  auto target = Filled(3, 1, 0xFF000000u);
  DrawSilhouette(target->Canvas(), 0, 0, RGB(255, 255, 255), *shape);
  const TteColor blended = BlendPixel(0x64FFFFFFu, 0xFF000000u);
  EXPECT_EQ(All(*target), (std::vector<TteColor>{blended, 0xFF000000u, 0xFF000000u}));
}

TEST(CanvasHelpers, EllipsizeTextKeepsTheLongestFittingPrefix) {
  auto b = Filled(1, 1, 0);
  TCanvas& c = b->Canvas();
  const QString text = "Extracting audio";
  EXPECT_EQ(EllipsizeText(c, text, TextWidth(c, text)), text);
  const int width = TextWidth(c, "Extract...");
  const QString cut = EllipsizeText(c, text, width);
  ASSERT_TRUE(cut.endsWith("..."));
  const QString prefix = cut.chopped(3);
  EXPECT_TRUE(text.startsWith(prefix));
  EXPECT_LE(TextWidth(c, cut), width);
  EXPECT_GT(TextWidth(c, text.left(prefix.size() + 1) + "..."), width);
  EXPECT_EQ(EllipsizeText(c, text, 1), "...");
}

TEST(CanvasHelpers, VerticalTextStaysInsideItsRectangle) {
  for (bool flag : {false, true}) {
    auto b = Filled(40, 80, 0xFFFFFFFFu);
    b->Canvas().Font.setPixelSize(14);
    DrawVerticalText(b->Canvas(), "Ag", {10, 10, 30, 70}, flag, DT_LEFT | DT_SINGLELINE);
    int inside = 0, outside = 0;
    for (int y = 0; y < 80; ++y)
      for (int x = 0; x < 40; ++x) {
        const bool changed = b->GetPixel(x, y) != 0xFFFFFFFFu;
        (x >= 10 && x < 30 && y >= 10 && y < 70 ? inside : outside) += changed;
      }
    EXPECT_GT(inside, 0) << flag;
    EXPECT_EQ(outside, 0) << flag;
  }
}
