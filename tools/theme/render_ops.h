// The paint operations sonolift-theme can call by name, each with a way to fill its
// info record from the command-line options and the cases a contact sheet shows.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

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
