// sonolift-storetheme: writes a theme file as the "ThemeStream" payload of a stored
// theme, the form in which the main window carries its theme (used by the build).
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

#include "app_error.h"
#include "te_engine.h"
#include "te_theme.h"
#include "theme_manager.h"

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sonolift-storetheme THEME_FILE PAYLOAD_FILE\n");
    return 2;
  }
  // Building a theme makes fonts, which need an application; the build has no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString in = QString::fromLocal8Bit(argv[1]);
  const QString out = QString::fromLocal8Bit(argv[2]);
  try {
    const TteThemeManager& manager = ThemeManager();
    const std::unique_ptr<TteTheme> theme = manager.LoadThemeFromFile(in);
    if (!theme) {
      std::fprintf(stderr, "sonolift-storetheme: %s is not a theme file\n", argv[1]);
      return 1;
    }
    TTeThemeList list;
    TTeThemeStream& item = list.Themes().Add();
    item.StoreTheme(*theme, manager);
    if (item.ThemeData().isEmpty()) {
      std::fprintf(stderr, "sonolift-storetheme: the theme class of %s cannot be stored\n", argv[1]);
      return 1;
    }
    QSaveFile file(out);
    if (!file.open(QIODevice::WriteOnly)) throw EAppError(file.errorString());
    item.WriteThemeStream(file);
    if (!file.commit()) throw EAppError(file.errorString());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "sonolift-storetheme: %s\n", e.what());
    return 1;
  }
  return 0;
}
