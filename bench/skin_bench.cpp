// A skin file of about a hundred images and three hundred objects made here: how long
// loading it as a theme takes in each variant (read, key, build the object tree, copy
// for the working skin, rebuild the cache), and how long each contact-sheet element
// takes to paint from it.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <memory>
#include <random>

#include "render_ops.h"
#include "theme_skinfile.h"

namespace {

std::unique_ptr<TteBitmap> MakeImage(const QString& name, int w, int h, int look, std::mt19937& rng) {
  auto image = std::make_unique<TteBitmap>();
  image->Name = name;
  image->SetSize(w, h);
  const int base = int(rng() % 160);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      TteColor c = MakeTeColor(base + x % 64, base + y % 64, 180 + int(rng() % 8));
      if (look == 1 && (x < 2 || x >= w - 2) && y % 23 < 2) c = 0xFFFF00FF;  // keyed corners
      if (look == 2 && (x == 0 || y == 0)) c = (c & 0x00FFFFFF) | 0x80000000;  // soft edges
      image->SetPixel(x, y, c);
    }
  return image;
}

struct TBuilder {
  TSeSkinSource& Skin;
  std::mt19937 Rng{11};
  int Images = 0;

  // A new image of w x h with four state frames stacked, and a link to its first frame.
  QString Image(int w, int h) {
    const QString name = QStringLiteral("IMG%1").arg(Images++);
    Skin.Bitmaps.Add(MakeImage(name, w, h * 4, Images % 3, Rng));
    return name;
  }
  static void Link(TteBitmapLink& l, const QString& name, int w, int h, int frame = 0) {
    l.Name = name;
    l.Left = 0;
    l.Top = frame * h;
    l.Right = w;
    l.Bottom = (frame + 1) * h;
  }
  template <typename T>
  T* Add(TSeSkinObject* parent, const char* name, TSeAlign align, int w, int h, TSeKind kind = skNone) {
    auto* o = new T(parent);
    o->Name = QLatin1String(name);
    o->Align = align;
    o->Width = w;
    o->Height = h;
    if (kind != skNone) o->Kind = kind;
    return o;
  }
  // A nine-slice state button: BitmapObject with hot, pressed, focused, disabled frames.
  TSeButtonObject* Face(TSeSkinObject* parent, const char* name, TSeAlign align, int w, int h) {
    auto* b = Add<TSeButtonObject>(parent, name, align, w, h);
    const QString image = Image(w, h);
    Link(b->Bitmap, image, w, h, 0);
    Link(b->BitmapHot, image, w, h, 1);
    Link(b->BitmapPressed, image, w, h, 2);
    Link(b->BitmapDisabled, image, w, h, 3);
    b->MarginLeft = b->MarginTop = b->MarginRight = b->MarginBottom = std::min(w, h) / 4;
    b->TileStyle = tsStretch;
    return b;
  }
  TSeSkinObject* Root(const char* name) {
    auto root = std::make_unique<TSeSkinObject>();
    root->Name = QLatin1String(name);
    TSeSkinObject* r = root.get();
    Skin.Objects.push_back(std::move(root));
    return r;
  }
  void Window(const char* name, int captionHeight) {
    TSeSkinObject* form = Root(name);
    form->Kind = skForm;
    TSeSkinObject* caption = Face(form, "Caption", saMostTop, 100, captionHeight);
    caption->Kind = skCaption;
    for (auto [n, a] : {std::pair{"Close", sbaClose}, {"Max", sbaMaximize}, {"Restore", sbaRestore},
                        {"Min", sbaMinimize}, {"Help", sbaHelp}, {"RollUp", sbaRollUp}}) {
      auto* b = Add<TSeSystemButton>(caption, n, saRight, 21, 21);
      const QString image = Image(21, 21);
      Link(b->Bitmap, image, 21, 21, 0);
      Link(b->BitmapHot, image, 21, 21, 1);
      Link(b->BitmapPressed, image, 21, 21, 2);
      b->Action = a;
    }
    Add<TSeSystemButton>(caption, "SysMenu", saLeft, 16, 16)->Action = sbaSysMenu;
    Add<TSeTextObject>(caption, "Title", saClient, 0, 0, skTitle);
    Face(form, "Left", saLeft, 4, 30)->Kind = skLeft;
    Face(form, "Right", saRight, 4, 30)->Kind = skRight;
    Face(form, "Bottom", saBottom, 100, 4)->Kind = skBottom;
    Add<TSeSkinObject>(form, "Client", saClient, 0, 0, skClient)->Color = 0xD8E9EC;
  }
  // A family root with the named children, each a state face.
  void Family(const char* name, std::initializer_list<const char*> children, int w, int h) {
    TSeSkinObject* root = Root(name);
    for (const char* child : children) Face(root, child, saNone, w, h);
  }
};

QByteArray MakeSkin(const TSeSkinFilterClass& filter) {
  TSeSkinSource skin;
  skin.SkinName = QStringLiteral("Bench");
  TBuilder b{skin};
  b.Window("Form", 26);
  b.Window("ToolWindow", 18);
  b.Family("Button", {"Face"}, 75, 23);
  b.Family("Checkbox", {"Checked", "Unchecked", "Mixed"}, 13, 13);
  b.Family("RadioButton", {"Checked", "Unchecked"}, 13, 13);
  b.Family("GroupBox", {"Frame"}, 30, 30);
  b.Family("ScrollBar", {"Frame", "TopButton", "BottomButton", "LeftButton", "RightButton",
                         "HorzSlider", "VertSlider", "HorzFrame", "VertFrame"}, 17, 17);
  b.Family("ProgressBar", {"Frame", "Bar", "Solid"}, 12, 16);
  b.Family("Edit", {"Frame", "Button"}, 20, 20);
  b.Family("ComboBox", {"Frame", "Button"}, 17, 20);
  b.Family("TrackBar", {"Track", "Thumb", "ThumbVert", "ThumbHorz"}, 11, 20);
  b.Family("MenuBar", {"Frame", "Item", "Separator"}, 30, 20);
  b.Family("PopupMenu", {"Frame", "Item", "Separator", "UpButton", "DownButton"}, 30, 20);
  b.Family("Header", {"Frame", "Section", "SectionFirst", "SectionLast"}, 20, 20);
  b.Family("StatusBar", {"Frame", "Panel", "Gripper"}, 20, 20);
  b.Family("Tabs", {"Frame", "Tab", "TabLeft", "LeftButton", "RightButton"}, 60, 22);
  b.Family("Container", {"Panel"}, 30, 30);
  b.Family("ScrollBox", {"Frame"}, 30, 30);
  b.Family("Splitter", {}, 5, 5);
  b.Family("SpinButton", {"Face"}, 15, 11);
  b.Family("ControlBar", {"Frame", "Back", "Grabber", "GrabberVert"}, 24, 22);
  b.Family("Grid", {"Frame", "Cell", "Fixed"}, 20, 20);
  b.Family("ListBox", {"Frame", "Item", "Checked", "Unchecked"}, 20, 20);
  b.Family("Hint", {}, 20, 20);
  b.Family("SpeedButton", {"Face", "FlatFace", "Separator", "Chevron"}, 24, 22);
  b.Family("Panel", {"Frame", "Caption", "ButtonRollup", "ButtonRollDown"}, 30, 25);
  // Further named objects, as skins carry for individual controls.
  for (int i = 0; b.Skin.Bitmaps.Count() < 100; ++i) {
    const QByteArray name = "Extra" + QByteArray::number(i);
    TSeSkinObject* root = b.Root(name.constData());
    b.Face(root, "Face", saClient, 40, 24);
    b.Add<TSeTextObject>(root, "Text", saClient, 0, 0);
    b.Add<TSeSkinObject>(root, "Bounds", saNone, 10, 10);
  }
  int objects = 0;
  std::function<void(const TSeObjectList&)> count = [&](const TSeObjectList& list) {
    for (const auto& o : list) {
      ++objects;
      count(o->Children());
    }
  };
  count(skin.Objects);
  for (int i = 0; objects < 300; ++i, ++objects) b.Add<TSeTextObject>(b.Skin.Objects.back().get(), "Pad", saNone, 5, 5);
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  skin.SaveToStream(out, filter);
  return out.data();
}

const TSeSkinFilterClass* Variant(int index) { return SkinFilters()[size_t(index)]; }

const QByteArray& SkinBytes(int variant) {
  static std::vector<QByteArray> bytes = [] {
    std::vector<QByteArray> all;
    for (int i = 0; i < 4; ++i) all.push_back(MakeSkin(*Variant(i)));
    return all;
  }();
  return bytes[size_t(variant)];
}

// Loading as the program loads a skin: the theme reads the stream and builds its cache.
void BM_SkinLoad(benchmark::State& state) {
  QByteArray bytes = SkinBytes(int(state.range(0)));
  TTeSkinFile theme;
  for (auto _ : state) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    if (!theme.LoadFromStream(in)) state.SkipWithError("the skin did not load");
  }
  int objects = 0;
  std::function<void(const TSeObjectList&)> count = [&](const TSeObjectList& list) {
    for (const auto& o : list) {
      ++objects;
      count(o->Children());
    }
  };
  count(theme.Source().Objects);
  state.SetLabel(Variant(int(state.range(0)))->Create()->GetExtension().toStdString());
  state.counters["images"] = theme.Source().Bitmaps.Count();
  state.counters["objects"] = objects;
  state.counters["file_KiB"] = bytes.size() / 1024.0;
}
BENCHMARK(BM_SkinLoad)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Only the reading: the skin source from the stream (no working copy, no cache).
void BM_SkinSourceRead(benchmark::State& state) {
  QByteArray bytes = SkinBytes(int(state.range(0)));
  for (auto _ : state) {
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    TSeSkinSource source;
    source.LoadFromStream(in, TSeSkinFilterUncompressed::Class());
    benchmark::DoNotOptimize(source.ObjectCount());
  }
  state.SetLabel(Variant(int(state.range(0)))->Create()->GetExtension().toStdString());
}
BENCHMARK(BM_SkinSourceRead)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// Every cell of the contact sheet, painted once per iteration onto its own bitmap.
void BM_SkinPaintSheetElements(benchmark::State& state) {
  QByteArray bytes = SkinBytes(3);
  TTeSkinFile theme;
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  theme.LoadFromStream(in);
  std::vector<SheetCell> cells = MakeSheetCells();
  for (auto _ : state) PaintSheetCells(theme, cells);
  state.counters["elements"] = double(cells.size());
  state.counters["per_element"] =
      benchmark::Counter(double(cells.size()), benchmark::Counter::kIsIterationInvariantRate |
                                                   benchmark::Counter::kInvert);
}
BENCHMARK(BM_SkinPaintSheetElements)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
