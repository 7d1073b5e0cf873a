// The main window's stored theme list and the engine and link that put its one theme
// in force: the engine makes it the application's current theme, the link holds the
// window frame's private copy.
#pragma once

#include <QByteArray>

#include "te_engine.h"

class TMainWindowThemes {
 public:
  // Reads the stored data (the "ThemeStream" payload of item 0) and loads the theme
  // for both. Damaged data leaves the list empty and no theme in force; the window
  // still opens.
  explicit TMainWindowThemes(const QByteArray& storedPayload = StoredPayload());

  // The payload the program carries; empty when it was built without one.
  static QByteArray StoredPayload();

  TTeThemeList& ThemeList() { return list_; }
  TTeThemeEngine& Engine() { return engine_; }
  TTeThemeLink& Link() { return link_; }

 private:
  // Declared first: the engine and link go before the list they point at.
  TTeThemeList list_;
  TTeThemeEngine engine_;
  TTeThemeLink link_;
};
