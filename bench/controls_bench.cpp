// How the controls hand their pixels to Qt: the finished bitmap blitted as an opaque
// RGB32 view (what the pipeline does) against a non-premultiplied ARGB32 view of the
// same memory; and a whole button paint in each buffering mode.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>

#include "te_button.h"
#include "te_control.h"

namespace {

// The target is what a widget backing store holds: premultiplied ARGB32.
void BM_HandOver(benchmark::State& state, QImage::Format format) {
  const int w = int(state.range(0)), h = int(state.range(1));
  TteBitmap bitmap;
  bitmap.SetSize(w, h);
  bitmap.Fill(0xFFC8D0D4u);
  QImage target(w, h, QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    QPainter p(&target);
    p.drawImage(QPoint(0, 0), QImage(reinterpret_cast<const uchar*>(bitmap.Bits()), w, h, w * 4, format));
    p.end();
    benchmark::DoNotOptimize(target.constBits());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * w * h * 4);
}
BENCHMARK_CAPTURE(BM_HandOver, rgb32_view, QImage::Format_RGB32)->Args({75, 25})->Args({800, 600});
BENCHMARK_CAPTURE(BM_HandOver, argb32_view, QImage::Format_ARGB32)->Args({75, 25})->Args({800, 600});

void BM_ButtonPaint(benchmark::State& state) {
  TTeButton button;
  button.SetCaption("&Extract");
  button.SetPerformance(TTePerformance(state.range(0)));
  QImage target(button.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    button.render(&target);
    benchmark::DoNotOptimize(target.constBits());
  }
}
BENCHMARK(BM_ButtonPaint)->Arg(kspNoBuffer)->Arg(kspSharedBuffer)->Arg(kspDoubleBuffer);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
