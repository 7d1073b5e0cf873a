// A full repaint of the main window's client area with the stored theme in
// force, in each buffering mode of the skinned controls, against the same
// window built from plain Qt widgets.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QTest>
#include <QWindow>

#include "file_list_view.h"
#include "main_window.h"
#include "main_window_themes.h"
#include "te_form.h"
#include "te_control_base.h"

namespace {

void Repaint(benchmark::State& state, QWidget& window) {
  window.show();
  QCoreApplication::processEvents();
  // What the window system asks for when the whole window is uncovered: every
  // widget paints its part into the backing store, which is then flushed once.
  // (Qt does not pass a window's repaint on to children that cover it opaquely,
  // as the skinned controls do, so every widget is marked.)
  if (!window.isVisible() || !window.windowHandle() || !window.windowHandle()->isExposed())
    state.SkipWithError("the window is not exposed");
  const QList<QWidget*> widgets = window.findChildren<QWidget*>();
  for (auto _ : state) {
    window.update();
    for (QWidget* w : widgets) w->update();
    QCoreApplication::sendPostedEvents(&window, QEvent::UpdateRequest);
  }
}

void BM_SkinnedWindowRepaint(benchmark::State& state) {
  TMainWindow window(TStartOptions{});
  for (QWidget* w : window.findChildren<QWidget*>())
    if (auto* control = dynamic_cast<TTeControlBase*>(w)) control->SetPerformance(TTePerformance(state.range(0)));
  // The list view is still Qt's own, with Qt's scroll bars; without them the
  // figure is that of the skinned controls alone.
  if (state.range(1) == 0) {
    window.Widgets().lvFiles->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    window.Widgets().lvFiles->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  Repaint(state, window);
}
BENCHMARK(BM_SkinnedWindowRepaint)
    ->ArgNames({"performance", "qt_scroll_bars"})
    ->ArgsProduct({{kspNoBuffer, kspSharedBuffer, kspDoubleBuffer}, {1, 0}})
    ->Unit(benchmark::kMicrosecond);

// The same controls in the same places, as Qt draws them.
void BM_PlainQtWindowRepaint(benchmark::State& state) {
  QWidget window;
  window.resize(kDesignWidth, kDesignHeight);
  auto* root = new QHBoxLayout(&window);
  root->setContentsMargins(0, 0, 0, 0);
  auto* left = new QFrame(&window);
  left->setFrameShape(QFrame::Panel);
  left->setFixedWidth(113);
  auto* col = new QVBoxLayout(left);
  for (const char* caption : {"&Batch", "&Options", "&Help"}) {
    auto* b = new QPushButton(QIcon(QPixmap(16, 16)), QString::fromLatin1(caption), left);
    b->setFixedSize(84, 25);
    col->addWidget(b);
  }
  col->addWidget(new QLabel(QStringLiteral("Batch conversion"), left));
  col->addStretch(1);
  col->addWidget(new QLabel(QStringLiteral("Quillmoor Software"), left));
  root->addWidget(left);
  auto* page = new QFrame(&window);
  page->setFrameShape(QFrame::Panel);
  auto* batch = new QVBoxLayout(page);
  batch->addWidget(new QLabel(QStringLiteral("Batch Ripping Audio"), page));
  batch->addWidget(new QLabel(QStringLiteral("Video File List:"), page));
  auto* list = new QTreeWidget(page);
  list->setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Information"), QStringLiteral("Progress")});
  batch->addWidget(list, 1);
  auto* grid = new QGridLayout();
  for (int i = 0; i < 7; ++i) {
    auto* b = new QPushButton(QIcon(QPixmap(16, 16)), QStringLiteral("&Extract"), page);
    b->setFixedSize(81, 25);
    grid->addWidget(b, i / 4, i % 4);
  }
  batch->addLayout(grid);
  auto* bar = new QStatusBar(page);
  auto* progress = new QProgressBar(bar);
  progress->setFixedWidth(100);
  bar->addWidget(progress);
  bar->addWidget(new QLabel(QStringLiteral("Ready"), bar), 1);
  batch->addWidget(bar);
  root->addWidget(page, 1);
  Repaint(state, window);
}
BENCHMARK(BM_PlainQtWindowRepaint)->Unit(benchmark::kMicrosecond);

// The skinned frame at 1280 x 800 with the stored theme: repainting the frame
// (caption, borders and buttons), and one step of a caption drag (pointer move
// to the window moved and its frame painted).
struct FramedWindow {
  FramedWindow() {
    window.setGeometry(0, 0, 1280, 800);
    form = new TTeForm(&window);
    form->SetThemeLink(&themes.Link());
    window.setWindowTitle(QStringLiteral("Sonolift"));
    window.show();
    QCoreApplication::processEvents();
  }
  TMainWindowThemes themes;
  QWidget window;
  TTeForm* form;
};

void BM_FrameRepaint(benchmark::State& state) {
  FramedWindow f;
  const QRegion frame = QRegion(f.window.rect()) - f.form->GetFrameClientRect().ToQRect();
  for (auto _ : state) f.window.repaint(frame);
}
BENCHMARK(BM_FrameRepaint)->Unit(benchmark::kMicrosecond);

void BM_DragStep(benchmark::State& state) {
  FramedWindow f;
  QWindow* w = f.window.windowHandle();
  const QPoint grip(640, (f.form->GetCaptionRect().Top + f.form->GetCaptionRect().Bottom) / 2);
  QTest::mousePress(w, Qt::LeftButton, {}, grip);
  int step = 0;
  for (auto _ : state) {
    // The window follows the pointer, so the pointer stays at the same window point.
    QTest::mouseMove(w, grip + QPoint((step++ & 1) ? -1 : 1, 0));
    QCoreApplication::processEvents();
  }
  QTest::mouseRelease(w, Qt::LeftButton, {}, grip);
}
BENCHMARK(BM_DragStep)->Unit(benchmark::kMicrosecond);

// One step of sizing by the right edge: the window is laid out and repainted.
void BM_SizeStep(benchmark::State& state) {
  FramedWindow f;
  QWindow* w = f.window.windowHandle();
  const QPoint edge(f.window.width() - 1, 400);
  QTest::mousePress(w, Qt::LeftButton, {}, edge);
  int step = 0;
  for (auto _ : state) {
    const int dx = (step++ & 1) ? 0 : -1;
    QTest::mouseMove(w, QPoint(f.window.width() - 1 + dx, 400));
    QCoreApplication::processEvents();
  }
  QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(f.window.width() - 1, 400));
}
BENCHMARK(BM_SizeStep)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
