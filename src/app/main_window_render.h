// Renders the main window offscreen, painted by a given theme, without starting
// the program: no settings are read or written and nothing is probed.
#pragma once

#include <QImage>
#include <memory>

#include "main_view.h"

class TteTheme;

// The window, frame included, at its design size with the page in front; a null theme paints the
// classic look. The theme is the application's current theme afterwards.
QImage RenderMainWindow(std::unique_ptr<TteTheme> theme, TPage page);
