#include "window_render.h"

#include <QApplication>

#include "main_window_render.h"
#include "te_theme.h"

std::unique_ptr<QGuiApplication> MakeToolApplication(int& argc, char** argv) {
  return std::make_unique<QApplication>(argc, argv);
}

QImage RenderWindowImage(std::unique_ptr<TteTheme> theme, bool optionsPage) {
  return RenderMainWindow(std::move(theme), optionsPage ? TPage::Options : TPage::Batch);
}
