#include "window_render.h"

#include "te_theme.h"
#include "theme_files.h"

std::unique_ptr<QGuiApplication> MakeToolApplication(int& argc, char** argv) {
  return std::make_unique<QGuiApplication>(argc, argv);
}

QImage RenderWindowImage(std::unique_ptr<TteTheme>, bool) {
  throw ToolFailure{QStringLiteral("this build of the tool has no main window; use sonolift-theme")};
}
