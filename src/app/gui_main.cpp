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
      window.show();
      rc = app.exec();
      if (stoppedBy) rc = 128 + stoppedBy;
    }
    window.Controller().FormDestroy();
  }
  std::fesetenv(&saved);
  return rc;
}
