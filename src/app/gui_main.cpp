// sonolift: the main window program.
#include <QApplication>
#include <QMessageBox>

#include <cfenv>

#include "app_error.h"
#include "main_window.h"
#include "output_parser.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Sonolift"));
  QApplication::setApplicationVersion(QStringLiteral(SONOLIFT_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("sonolift"));
  // Floating-point exceptions stay masked for the program's life.
  std::fenv_t saved;
  std::feholdexcept(&saved);
  CompileOutputPatterns();

  int rc = 0;
  {
    TMainWindow window(DefaultStartOptions());
    QStringList args = QApplication::arguments();
    args.removeFirst();
    RunGuarded([&] { window.Controller().FormCreate(args); });
    if (!window.TerminateRequested()) {
      window.show();
      rc = app.exec();
    }
    window.Controller().FormDestroy();
  }
  std::fesetenv(&saved);
  return rc;
}
