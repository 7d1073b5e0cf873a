// sonolift-themegen: draws a visual-style theme (theme.ini and its PNG images) from a
// design file of colours and metrics, ready for `sonolift-theme pack`.
#include <QFileInfo>
#include <cstdio>

#include "design.h"
#include "parts.h"

int main(int argc, char** argv) {
  // Only raster painting on QImage: no GUI application (and no display) is needed.
  if (argc != 3) {
    std::fputs(
        "usage: sonolift-themegen DESIGN.ini OUTDIR\n"
        "  draws the theme described by DESIGN.ini into OUTDIR/theme.ini and OUTDIR/*.png\n",
        stderr);
    return 2;
  }
  const QString design = QString::fromLocal8Bit(argv[1]), dir = QString::fromLocal8Bit(argv[2]);
  try {
    Generate(ReadDesign(design)).Write(dir, QFileInfo(design).fileName());
  } catch (const DesignError& e) {
    std::fprintf(stderr, "sonolift-themegen: %s\n", e.what());
    return 1;
  }
  return 0;
}
