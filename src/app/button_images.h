// The 16 x 16 pictures of the main window's buttons, drawn by code so that
// they stay sharp and need no image files.
#pragma once

#include <QIcon>

// Index as the window's image list numbers them: 1 options, 3 help, 6 folder,
// 8 stop, 9 add file, 11 load list, 12 save list, 15 batch, 17 extract.
QIcon ButtonImage(int index);
// The program's icon (also shipped as assets/sonolift.svg).
QIcon ApplicationIcon();
