// The glyphs of the predefined button kinds: two 16 x 16 cells side by side,
// the picture and its disabled form, on the olive transparent colour that the
// bottom-left pixel names.
#pragma once

#include <QImage>

#include "te_button.h"

inline constexpr QRgb kKindGlyphTransparent = 0xFF808000u;  // olive

// An empty image for bkCustom.
QImage KindGlyph(TBitBtnKind kind);
