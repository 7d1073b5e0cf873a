// The reference for start-up: a plain Qt window of the main window's size that
// ends once it has painted, as sonolift does with SONOLIFT_QUIT_AFTER_FIRST_PAINT.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(522, 410);
  struct Watch : QObject {
    bool seen = false;
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::Paint && !seen) {
        seen = true;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
      }
      return false;
    }
  } watch;
  window.installEventFilter(&watch);
  window.show();
  return app.exec();
}
