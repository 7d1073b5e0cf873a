// The tool's link to the main window. The tool that packs themes at build time
// is made without the window (the window carries a packed theme); it answers
// the window command with a failure.
#pragma once

#include <QGuiApplication>
#include <QImage>
#include <memory>

class TteTheme;

// A widget application where the window is linked in, a GUI application otherwise.
std::unique_ptr<QGuiApplication> MakeToolApplication(int& argc, char** argv);

// The main window with the page in front, painted by the theme.
QImage RenderWindowImage(std::unique_ptr<TteTheme> theme, bool optionsPage);
