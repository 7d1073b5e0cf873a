// The glyphs every theme kind draws alike in menus and tool buttons: the fixed check
// mark, the radio dot and the sub-menu arrow.
#pragma once

#include <cstdint>

#include "canvas.h"
#include "rect.h"

// The check mark's two fixed one-pixel polylines, moved by (dx, dy).
void DrawCheckMarkLines(TCanvas& canvas, int32_t dx, int32_t dy, TColor color);

// For the check-mark, radio and sub-menu glyph kinds: the check mark in the font colour
// (its table placed by the centre of a 16 x 16 box centred in r), a black 6 x 6 dot or
// the platform's menu arrow in the font colour. Other kinds draw nothing and give false.
bool PaintMenuMarkGlyph(TCanvas& canvas, const TRect& r, uint8_t glyphKind);
