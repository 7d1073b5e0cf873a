// A packed visual-style theme of about a hundred images made here: how long loading it
// takes (inflate, images, build with keying, pristine copy) and how long each element
// of the contact sheet takes to paint.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <memory>
#include <random>
#include <vector>

#include "render_ops.h"
#include "te_compress.h"
#include "te_engine.h"
#include "theme_manager.h"
#include "theme_msux.h"

namespace {

// The shape of a section's image: frame size, frame count, nine-grid margins and
// sizing, and how the pixels are made (colour-keyed corners or soft alpha edges).
struct Shape {
  int FrameWidth, FrameHeight, Frames;
  int Margin;
  const char* Sizing;
  enum { kOpaque, kKeyed, kBlended } Look;
  bool Glyph;  // also a 9 x 9 glyph image
};

// Sizes as themes of this kind have them; chosen by the section's name.
Shape ShapeOf(const QString& section) {
  auto is = [&](const char* prefix) {
    return section.startsWith(QLatin1String(prefix), Qt::CaseInsensitive);
  };
  auto has = [&](const char* part) {
    return section.contains(QLatin1String(part), Qt::CaseInsensitive);
  };
  if (is("Window.Caption") || is("Window.SmallCaption"))
    return {100, 30, 2, 8, "stretch", Shape::kKeyed, false};
  if (has("FrameBottom")) return {100, 4, 2, 2, "stretch", Shape::kOpaque, false};
  if (has("Frame")) return {4, 30, 2, 2, "stretch", Shape::kOpaque, false};
  if (has("Button") && is("Window.")) return {21, 21, 4, 3, "stretch", Shape::kBlended, true};
  if (is("Button.Pushbutton")) return {75, 23, 5, 4, "stretch", Shape::kKeyed, false};
  if (is("button.checkbox") || is("button.radiobutton"))
    return {13, 13, 12, 0, "truesize", Shape::kBlended, false};
  if (is("Button.checkbox") || is("Button.radiobutton"))
    return {13, 13, 8, 0, "truesize", Shape::kBlended, false};
  if (is("Spin")) return {15, 11, 4, 2, "stretch", Shape::kKeyed, true};
  if (is("ScrollBar.ArrowBtn")) return {17, 17, 16, 3, "stretch", Shape::kOpaque, false};
  if (has("Gripper")) return {8, 8, 4, 0, "truesize", Shape::kKeyed, false};
  if (is("ScrollBar.")) return {17, 17, 4, 3, "stretch", Shape::kOpaque, false};
  if (is("Progress.")) return {12, 16, 1, 3, "tile", Shape::kOpaque, false};
  if (is("TrackBar.Thumb")) return {11, 20, 5, 0, "truesize", Shape::kKeyed, false};
  if (is("TrackBar.")) return {16, 4, 1, 1, "stretch", Shape::kOpaque, false};
  if (is("edit") || is("combobox")) return {20, 20, 4, 2, "stretch", Shape::kOpaque, false};
  if (is("Combobox.")) return {17, 20, 4, 3, "stretch", Shape::kKeyed, true};
  if (is("tab.")) return {60, 22, 6, 4, "stretch", Shape::kKeyed, false};
  if (is("toolbar.") || is("rebar.")) return {24, 22, 6, 4, "stretch", Shape::kKeyed, false};
  if (is("header") || is("status")) return {20, 20, 3, 3, "stretch", Shape::kOpaque, false};
  if (is("explorerbar.")) return {30, 25, 3, 5, "stretch", Shape::kBlended, false};
  return {30, 30, 1, 4, "stretch", Shape::kOpaque, false};
}

// Sections that only carry colours or keys, as in real themes.
bool HasNoImage(const QString& section) {
  for (const char* name : {"Window", "Progress", "TrackBar", "listview", "Spin", "toolbar",
                           "edit.edittext(disabled)", "edit.edittext(readonly)"})
    if (section.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return true;
  return false;
}

std::unique_ptr<TteBitmap> MakeImage(const QString& name, int w, int h, int look,
                                     std::mt19937& rng) {
  auto image = std::make_unique<TteBitmap>();
  image->SetSize(w, h);
  image->Name = name;
  const int base = int(rng() % 160);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      TteColor c = MakeTeColor(base + x % 64, base + y % 64, 180 + int(rng() % 8));
      const bool corner = (x < 2 || x >= w - 2) && (y % 23 < 2);
      if (look == Shape::kKeyed && corner) c = 0xFFFF00FF;
      if (look == Shape::kBlended && (x == 0 || y == 0 || x == w - 1))
        c = (c & 0x00FFFFFF) | 0x80000000;
      *image->PixelPtr(x, y) = c;
    }
  if (look == Shape::kBlended) image->CheckingAlpha();
  return image;
}

// The packed stream of the benchmark theme, built and keyed like a packed file.
QByteArray MakePackedTheme() {
  std::mt19937 rng(7);
  TTeThemeMsStyles theme;
  theme.Name = QStringLiteral("Bench");
  QString ini = QStringLiteral(
      "[SysMetrics]\r\nCaptionBarHeight=24\r\nBorderWidth=4\r\nCaptionFont=Tahoma, 9, Bold\r\n"
      "MenuFont=Tahoma, 8\r\nWindow=255 255 255\r\nBtnFace=236 233 216\r\nHighlight=49 106 197\r\n"
      "\r\n");
  std::vector<std::unique_ptr<TteBitmap>> images;
  for (int i = 0; i < theme.ObjectCount(); ++i) {
    const QString section = QLatin1String(MsuxSectionName(i));
    ini += QLatin1Char('[') + section + QLatin1String("]\r\n");
    ini += QStringLiteral("FillColor=%1 %2 %3\r\nTextColor=0 0 0\r\nBorderColor=0 60 116\r\n")
               .arg(200 + i % 50)
               .arg(210)
               .arg(220);
    if (!HasNoImage(section)) {
      const Shape s = ShapeOf(section);
      const QString file = QStringLiteral("Bench\\%1.bmp").arg(section);
      ini += QStringLiteral(
                 "ImageFile=%1\r\nImageCount=%2\r\nImageLayout=vertical\r\n"
                 "SizingMargins=%3, %3, %3, %3\r\nContentMargins=%3, %3, %3, %3\r\n"
                 "SizingType=%4\r\nTransparent=%5\r\n")
                 .arg(file)
                 .arg(s.Frames)
                 .arg(s.Margin)
                 .arg(QLatin1String(s.Sizing),
                      QLatin1String(s.Look == Shape::kOpaque ? "false" : "true"));
      images.push_back(MakeImage(ImageFileToName(file).toUpper(), s.FrameWidth,
                                 s.FrameHeight * s.Frames, s.Look, rng));
      if (s.Glyph) {
        const QString glyph = QStringLiteral("Bench\\%1Glyph.bmp").arg(section);
        ini +=
            QStringLiteral("GlyphImageFile=%1\r\nGlyphType=ImageGlyph\r\nGlyphTransparent=true\r\n")
                .arg(glyph);
        images.push_back(
            MakeImage(ImageFileToName(glyph).toUpper(), 9, 9 * s.Frames, Shape::kKeyed, rng));
      }
    }
    ini += QLatin1String("\r\n");
  }
  theme.Ini().SetText(ini);
  for (auto& image : images) theme.Images().Add(std::move(image));
  theme.ClearPristineCopy();
  theme.ResetTheme();
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  theme.SaveToStream(out);
  return out.data();
}

const QByteArray& PackedTheme() {
  static const QByteArray packed = MakePackedTheme();
  return packed;
}

void BM_LoadFromStream(benchmark::State& state) {
  QByteArray packed = PackedTheme();
  TTeThemeMsStyles theme;
  for (auto _ : state) {
    QBuffer in(&packed);
    in.open(QIODevice::ReadOnly);
    theme.LoadFromStream(in);
  }
  state.counters["images"] = theme.Images().Count();
  state.counters["packed_KiB"] = packed.size() / 1024.0;
}
BENCHMARK(BM_LoadFromStream)->Unit(benchmark::kMillisecond);

// Only the zlib part of a load: the body inflated into memory.
void BM_InflateBody(benchmark::State& state) {
  QByteArray packed = PackedTheme();
  QByteArray body(1 << 16, '\0');
  qint64 total = 0;
  for (auto _ : state) {
    QBuffer in(&packed);
    in.open(QIODevice::ReadOnly);
    in.seek(TTeThemeMsStyles::Magic().size());
    TDecompressionStream z(in);
    total = 0;
    while (qint64 n = z.Read(body.data(), body.size())) total += n;
  }
  state.counters["body_KiB"] = total / 1024.0;
}
BENCHMARK(BM_InflateBody)->Unit(benchmark::kMillisecond);

// Every cell of the contact sheet, painted once per iteration onto its own bitmap.
void BM_PaintSheetElements(benchmark::State& state) {
  QByteArray packed = PackedTheme();
  TTeThemeMsStyles theme;
  QBuffer in(&packed);
  in.open(QIODevice::ReadOnly);
  theme.LoadFromStream(in);
  std::vector<SheetCell> cells = MakeSheetCells();
  for (auto _ : state) PaintSheetCells(theme, cells);
  state.counters["elements"] = double(cells.size());
  state.counters["per_element"] =
      benchmark::Counter(double(cells.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}
BENCHMARK(BM_PaintSheetElements)->Unit(benchmark::kMillisecond);


// Start-up of the window: the stored default theme made twice from its bytes, once for
// the engine (current theme) and once for the frame's link.
void BM_DefaultThemeStartup(benchmark::State& state) {
  QFile file(QStringLiteral(SONOLIFT_DEFAULT_THEME));
  if (!file.open(QIODevice::ReadOnly)) {
    state.SkipWithError("the default theme has not been built");
    return;
  }
  TTeThemeList list;
  list.Themes().Add().SetTheme(QStringLiteral("Sonolift"), file.readAll());
  const TteThemeManager& manager = ThemeManager();
  for (auto _ : state) {
    std::unique_ptr<TteTheme> current = list.Themes().Items(0)->CreateTheme(manager);
    std::unique_ptr<TteTheme> frame = list.Themes().Items(0)->CreateTheme(manager);
    benchmark::DoNotOptimize(current.get());
    benchmark::DoNotOptimize(frame.get());
  }
  state.counters["packed_KiB"] = list.Themes().Items(0)->ThemeData().size() / 1024.0;
}
BENCHMARK(BM_DefaultThemeStartup)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Text painting needs fonts, and fonts need a GUI application; no display is required.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
