// sonolift: the main window program.
#include <QApplication>

#include <cfenv>
#include <cstdio>

#include "app_error.h"
#include "file_names.h"
#include "main_window.h"
#include "output_parser.h"
#include "termination_signals.h"

namespace {

constexpr char kUsage[] =
    "Usage: sonolift [FILE...]\n"
    "Opens the Sonolift window, which extracts the audio track of video files in batches.\n"
    "Each FILE is a video file to put on the batch list, or a list file (extension .lst in any\n"
    "letter case) whose files are put on it. When at least one is accepted the window opens on\n"
    "the Batch page; no conversion starts by itself. When none is, the program ends.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  print the version and exit\n"
    "  --             every argument after this one is a FILE\n";

// Quits the application once the window has painted: after the first paint
// event of any of its widgets (the window itself may be covered by its
// controls and get none), the rest of that paint is done before the quit runs.
class TFirstPaintWatch : public QObject {
 public:
  explicit TFirstPaintWatch(QWidget& window) : QObject(&window), window_(window) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_ && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == &window_) {
      seen_ = true;
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    }
    return false;
  }

 private:
  QWidget& window_;
  bool seen_ = false;
};

void QuitAfterFirstPaint(QWidget& window) { qApp->installEventFilter(new TFirstPaintWatch(window)); }

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sonolift"));
  QApplication::setApplicationVersion(QStringLiteral(SONOLIFT_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("sonolift"));

  // What Qt left of the arguments, as the exact bytes of the names.
  QStringList files;
  bool optionsEnd = false;
  for (const QString& arg : DecodeArguments(argc, argv)) {
    if (!optionsEnd && arg == u"--") {
      optionsEnd = true;
    } else if (!optionsEnd && (arg == u"--help" || arg == u"-h")) {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!optionsEnd && arg == u"--version") {
      std::printf("Sonolift %s\n", SONOLIFT_VERSION);
      return 0;
    } else {
      files << arg;
    }
  }

  // Floating-point exceptions stay masked for the program's life.
  std::fenv_t saved;
  std::feholdexcept(&saved);
  CompileOutputPatterns();

  int rc = 0;
  {
    TMainWindow window(DefaultStartOptions());
    RunGuarded([&] { window.Controller().FormCreate(files); });
    if (window.TerminateRequested()) {
      std::fputs("sonolift: none of the files given could be put on the list; nothing to do.\n", stderr);
      rc = 1;
    } else {
      // Ctrl-C, kill or a closed terminal: stop the batch (its partial output
      // goes) and close, as a user would.
      int stoppedBy = 0;
      WatchTerminationSignals([&](int signal) {
        if (stoppedBy) return;
        stoppedBy = signal;
        RunGuarded([&] {
          if (window.Controller().Busy()) window.Controller().btnStopConvertClick();
        });
        QApplication::quit();
      });
      // For start-up measurements: end as soon as the window has painted once.
      if (qEnvironmentVariableIsSet("SONOLIFT_QUIT_AFTER_FIRST_PAINT")) QuitAfterFirstPaint(window);
      window.show();
      rc = app.exec();
      if (stoppedBy) rc = 128 + stoppedBy;
    }
    window.Controller().FormDestroy();
  }
  std::fesetenv(&saved);
  return rc;
}
