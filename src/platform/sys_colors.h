// TColor, the platform colour 0x00BBGGRR, and the system colours that values
// 0xFF0000nn name. Without a desktop colour scheme to ask, the classic scheme stands in.
#pragma once

#include <cstdint>

using TColor = int32_t;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clWhite = 0xFFFFFF;

// System colour indices (the platform's COLOR_ numbers).
enum TSysColorIndex : int {
  COLOR_SCROLLBAR = 0, COLOR_BACKGROUND = 1, COLOR_ACTIVECAPTION = 2, COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4, COLOR_WINDOW = 5, COLOR_WINDOWFRAME = 6, COLOR_MENUTEXT = 7, COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9, COLOR_ACTIVEBORDER = 10, COLOR_INACTIVEBORDER = 11, COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13, COLOR_HIGHLIGHTTEXT = 14, COLOR_BTNFACE = 15, COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_INACTIVECAPTIONTEXT = 19, COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21, COLOR_3DLIGHT = 22, COLOR_INFOTEXT = 23, COLOR_INFOBK = 24,
  COLOR_HOTLIGHT = 26, COLOR_GRADIENTACTIVECAPTION = 27, COLOR_GRADIENTINACTIVECAPTION = 28,
  COLOR_MENUHILIGHT = 29, COLOR_MENUBAR = 30,
};

constexpr TColor RGB(int r, int g, int b) {
  return TColor((uint32_t(b & 0xFF) << 16) | (uint32_t(g & 0xFF) << 8) | uint32_t(r & 0xFF));
}
constexpr int GetRValue(TColor c) { return c & 0xFF; }
constexpr int GetGValue(TColor c) { return (c >> 8) & 0xFF; }
constexpr int GetBValue(TColor c) { return (c >> 16) & 0xFF; }

// The TColor that names system colour index.
constexpr TColor SysColor(int index) { return TColor(0xFF000000u | uint32_t(index & 0xFF)); }

// RGB of a system colour; indices outside the table give black.
TColor GetSysColor(int index);

// Resolves a system colour to its RGB; any other value keeps its low 24 bits.
TColor ColorToRGB(TColor color);
