// The element families of the theme. Each draws its images into the output and writes
// the sections that use them; frame order follows the states the theme maps to frames.
#pragma once

#include "design.h"
#include "theme_output.h"

// Every element of the theme, then SysMetrics.
ThemeOutput Generate(const ThemeDesign& d);

// Caption, borders and caption buttons of normal and tool windows; MDI buttons.
void AddWindowParts(ThemeOutput& out, const ThemeDesign& d);
// Push button, check box, radio button, spin buttons, group box, edit, combo box, list.
void AddControlParts(ThemeOutput& out, const ThemeDesign& d);
// Header, status bar, rebar, tool bar, tabs, explorer bar.
void AddBarParts(ThemeOutput& out, const ThemeDesign& d);
// Scroll bar, progress bar, track bar.
void AddRangeParts(ThemeOutput& out, const ThemeDesign& d);

// The keys of an element painted from one image of frames stacked top to bottom.
// sizing is "stretch" (nine-grid with margins) or "truesize" (centred, unscaled).
ThemeOutput::Section& SetImage(ThemeOutput::Section& s, const QString& file, int frames,
                               const QString& sizing, const QString& margins = {});
// A glyph centred over the background, with the same frame index.
ThemeOutput::Section& SetGlyph(ThemeOutput::Section& s, const QString& file);
