// Reading the main window's stored theme, as the window's persisted properties are
// read at start: list first, then engine and link, then Loaded on each.
#include "main_window_themes.h"

#include <QBuffer>
#include <QFile>
#include <QtGlobal>

#include "app_error.h"
#include "theme_manager.h"

QByteArray TMainWindowThemes::StoredPayload() {
  QFile stored(QStringLiteral(":/stored/ThemeList1.ThemeStream"));
  if (!stored.open(QIODevice::ReadOnly)) return {};
  return stored.readAll();
}

TMainWindowThemes::TMainWindowThemes(const QByteArray& storedPayload) {
  engine_.BeginLoading();
  link_.BeginLoading();
  // Properties are read in their stored order; the list reference is resolved only
  // once everything is read, so the index is set while no list is known yet and the
  // theme is made once, by Loaded.
  engine_.SetThemeIndex(0);
  link_.SetThemeIndex(0);
  engine_.SetThemeList(&list_);
  link_.SetThemeList(&list_);
  if (!storedPayload.isEmpty()) {
    TTeThemeStream& item = list_.Themes().Add();
    QBuffer buffer;
    buffer.setData(storedPayload);
    buffer.open(QIODevice::ReadOnly);
    try {
      item.ReadThemeStream(buffer, ThemeManager());
    } catch (const std::exception& e) {
      qWarning("Sonolift: the stored theme cannot be read: %s", qPrintable(ExceptionMessage(e)));
      list_.Themes().Clear();
    }
  }
  list_.Loaded();
  // A theme that fails to build must not keep the window from opening.
  TTeThemeSource* const sources[] = {&engine_, &link_};
  for (TTeThemeSource* source : sources) {
    try {
      source->Loaded();
    } catch (const std::exception& e) {
      qWarning("Sonolift: the stored theme cannot be built: %s", qPrintable(ExceptionMessage(e)));
    }
  }
}
