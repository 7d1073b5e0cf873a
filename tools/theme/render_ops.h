// The paint operations sonolift-theme can call by name, each with a way to fill its
// info record from the command-line options and the cases a contact sheet shows.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "te_bitmap.h"
#include "te_theme.h"

struct RenderParams {
  int Kind = 0;
  int State = 0;
  int Part = 0;
  QString Object = QStringLiteral("default");
  int Width = 0;
  int Height = 0;
  bool Active = true;
  uint16_t Buttons = WindowButtonBit(kbiSysMenu) | WindowButtonBit(kbiClose) |
                     WindowButtonBit(kbiMaximize) | WindowButtonBit(kbiMinimize);
  QString Caption = QStringLiteral("Sonolift");
};

struct RenderOp {
  const char* Name;
  int DefaultWidth;
  int DefaultHeight;
  // What --part selects for this operation (empty when nothing) and the sheet's cases.
  const char* PartMeaning;
  std::vector<int> Kinds;
  std::vector<int> Parts;
  std::vector<int> States;
  std::function<void(TteTheme&, TCanvas&, const RenderParams&)> Paint;
  // The sheet's columns are --active 0 and 1 rather than states.
  bool StatesAreActive = false;
};

const std::vector<RenderOp>& RenderOps();
// Null when no operation has this name (compared without regard to case).
const RenderOp* FindRenderOp(const QString& name);

// Every case of the contact sheet with a bitmap of its own, for painting them in a loop.
struct SheetCell {
  const RenderOp* Op;
  RenderParams Params;
  std::unique_ptr<TteBitmap> Bitmap;
};
std::vector<SheetCell> MakeSheetCells();
// Clears each cell's bitmap and paints its case with the theme.
void PaintSheetCells(TteTheme& theme, std::vector<SheetCell>& cells);
