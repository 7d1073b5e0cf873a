// TTeOfficeXPTheme: the flat theme with the OfficeXP palette and fonts, a 21-pixel
// strip at the left of popup menus and no window frame of its own.
#pragma once

#include "theme_flat.h"

class TTeOfficeXPTheme : public TTeFlatTheme {
 public:
  TTeOfficeXPTheme();

  static const TteThemeClass& ThemeClass();
  const TteThemeClass& Class() const override { return ThemeClass(); }
  static std::unique_ptr<TteTheme> Create();
  static QString GetThemeKindName();

  // Unlike the flat palette, this one follows the theme's hue and brightness.
  void SetDefaultColors() override;
  void SetDefaultFonts() override;

  // False: forms keep their own frame.
  bool HasWindow(uint8_t kind, const QString& objectName) override;
};
