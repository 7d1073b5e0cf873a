// The classic system colour scheme.
#include "sys_colors.h"

#include <array>
#include <cstddef>

TColor GetSysColor(int index) {
  static constexpr std::array<TColor, 31> kClassic = {
      RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
      RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
      RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
      RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
      RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
      RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
      RGB(255, 255, 225), RGB(181, 181, 181), RGB(0, 0, 128),     RGB(166, 202, 240),
      RGB(192, 192, 192), RGB(10, 36, 106),   RGB(212, 208, 200),
  };
  if (index < 0 || index >= int(kClassic.size())) return clBlack;
  return kClassic[std::size_t(index)];
}

TColor ColorToRGB(TColor color) {
  if ((uint32_t(color) & 0xFF000000u) == 0xFF000000u) return GetSysColor(color & 0xFF);
  return color & 0xFFFFFF;
}
