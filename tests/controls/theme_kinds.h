// The theme kinds the pixel tests run under: our own packed theme, Flat, OfficeXP,
// and none (the classic look).
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <string>
#include <functional>
#include <memory>
#include <vector>

#include "te_bitmap.h"
#include "theme_flat.h"
#include "theme_manager.h"
#include "theme_officexp.h"

struct ThemeKind {
  const char* Name;
  std::function<std::unique_ptr<TteTheme>()> Make;  // null theme: classic
};

inline std::vector<ThemeKind> ThemeKinds() {
  return {
      {"Sonolift",
       [] { return ThemeManager().LoadThemeFromFile(QStringLiteral(SONOLIFT_THEMES_DIR "/sonolift.theme")); }},
      {"Flat", [] { return std::make_unique<TTeFlatTheme>(); }},
      {"OfficeXP", [] { return std::make_unique<TTeOfficeXPTheme>(); }},
      {"classic", [] { return std::unique_ptr<TteTheme>(); }},
  };
}

// Makes the theme of this kind the current one (none for classic); the theme, or null.
inline TteTheme* MakeCurrent(std::unique_ptr<TteTheme> made) {
  TteTheme* theme = made.get();
  if (made)
    ThemeManager().SetCurrentTheme(std::move(made));
  else
    ThemeManager().ClearCurrentTheme();
  return theme;
}

// A control's pixels, opaque.
inline QImage Grab(QWidget& w) { return w.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// A platform colour as a Qt pixel.
inline QRgb Rgb(TColor c) {
  c = ColorToRGB(c);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A bitmap of the face colour, as the controls' test parent shows under them.
inline std::unique_ptr<TteBitmap> FaceBitmap(int w, int h) {
  auto b = std::make_unique<TteBitmap>();
  b->SetSize(w, h);
  b->Fill(ColorToTeColor(GetSysColor(COLOR_BTNFACE)));
  return b;
}

// The first pixel where the grab and the reference differ in colour, as text; empty
// when they agree everywhere (outside skip, where text may be).
inline std::string FirstDifference(const QImage& grab, const TteBitmap& ref, const TRect& skip = {}) {
  if (grab.width() != ref.Width() || grab.height() != ref.Height()) return "size differs";
  for (int y = 0; y < ref.Height(); ++y)
    for (int x = 0; x < ref.Width(); ++x) {
      if (skip.Contains(x, y)) continue;
      const QRgb g = grab.pixel(x, y) & 0xFFFFFF, r = ref.GetPixel(x, y) & 0xFFFFFF;
      if (g != r)
        return QStringLiteral("(%1,%2): control %3, theme %4")
            .arg(x).arg(y).arg(g, 6, 16, QChar('0')).arg(r, 6, 16, QChar('0')).toStdString();
    }
  return {};
}
