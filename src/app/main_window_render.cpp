#include "main_window_render.h"

#include <QCoreApplication>

#include "main_window.h"
#include "te_form.h"
#include "theme_manager.h"

QImage RenderMainWindow(std::unique_ptr<TteTheme> theme, TPage page) {
  TMainWindow window(TStartOptions{});
  window.setWindowTitle(QStringLiteral("Sonolift"));
  // The frame shows the chosen theme too, not the stored theme's own copy.
  window.Frame().SetThemeLink(nullptr);
  // The window put its stored theme in force; the chosen one replaces it.
  if (theme) ThemeManager().SetCurrentTheme(std::move(theme));
  else ThemeManager().ClearCurrentTheme();
  window.ShowPage(page == TPage::Options ? TPage::Options : TPage::Batch);
  window.setAttribute(Qt::WA_DontShowOnScreen);
  window.show();
  // Notifications posted while the controls were built arrive before the picture.
  QCoreApplication::processEvents();
  return window.grab().toImage();
}
