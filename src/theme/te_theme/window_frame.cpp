// The base theme's window frame: its geometry, hit test and painting, which the
// code-drawn themes use unchanged.
#include "te_theme.h"

#include "te_bitmap.h"

namespace {

// Right-to-left order of the caption buttons that stand in the row at the right end;
// each pair shares one slot.
constexpr int kRowOrder[][2] = {
    {kbiClose, kbiClose}, {kbiMaximize, kbiRestore}, {kbiMinimize, kbiRestoreMinimized},
    {kbiRollUp, kbiRollDown}, {kbiTray, kbiTray}, {kbiHelp, kbiHelp},
};

bool IsButtonPresent(const TteWindowInfo& info, int button) {
  return button >= 0 && button < 16 && (info.Buttons & WindowButtonBit(button)) != 0;
}

bool InRect(const TRect& r, int x, int y) { return !r.IsEmpty() && r.Contains(x, y); }

}  // namespace

bool TteTheme::HasWindow(uint8_t, const QString&) { return false; }

std::optional<QRegion> TteTheme::GetWindowRegion(uint8_t, const TRect&, const QString&) {
  return std::nullopt;
}

TRect TteTheme::WindowContentRect(uint8_t, const TteWindowInfo& info, const QString&) {
  const TRect& r = info.Rect;
  return {r.Left + 4, r.Top + 22, r.Right - 4, r.Bottom - 4};
}

TRect TteTheme::WindowCaptionRect(uint8_t kind, const TteWindowInfo& info, const QString&) {
  const TRect c = WindowContentRect(kind, info, QStringLiteral("default"));
  return {c.Left, 3, c.Right, c.Top};
}

TRect TteTheme::WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                                 const QString&) {
  if (!IsButtonPresent(info, button) || button >= kbiCustom1) return kNullRect;
  const TRect c = WindowContentRect(kind, info, QStringLiteral("default"));
  if (button == kbiSysMenu) return {c.Left, 4, c.Left + 22, c.Top - 1};
  const TRect r0{c.Right - 23, 4, c.Right - 1, c.Top - 1};
  int slot = 0;
  for (const auto& pair : kRowOrder) {
    if (pair[0] == button || pair[1] == button) return r0.Offset(-22 * slot, 0);
    if (IsButtonPresent(info, pair[0]) || (pair[1] != pair[0] && IsButtonPresent(info, pair[1]))) ++slot;
  }
  return kNullRect;
}

int TteTheme::WindowHitTest(uint8_t kind, const TteWindowInfo& info, int x, int y,
                            const QString&) {
  if (kind != kwkSizeable && kind != kwkDialog && kind != kwkSingle && kind != kwkToolWindow)
    return khtNowhere;
  const QString def = QStringLiteral("default");
  const TRect c = WindowContentRect(kind, info, def);
  const TRect& w = info.Rect;
  const bool left = InRect({w.Left, w.Top, c.Left, w.Bottom}, x, y);
  const bool top = InRect({w.Left, w.Top, w.Right, c.Top}, x, y);
  const bool right = InRect({c.Right, w.Top, w.Right, w.Bottom}, x, y);
  const bool bottom = InRect({w.Left, c.Bottom, w.Right, w.Bottom}, x, y);
  // Each later test overrides an earlier one, so corners win over edges.
  int hit = khtNowhere;
  if (left) hit = khtLeft;
  if (top) hit = khtTop;
  if (right) hit = khtRight;
  if (bottom) hit = khtBottom;
  if (left && top) hit = khtTopLeft;
  if (right && top) hit = khtTopRight;
  if (left && bottom) hit = khtBottomLeft;
  if (right && bottom) hit = khtBottomRight;
  if (InRect(WindowCaptionRect(kind, info, def), x, y)) hit = khtCaption;
  for (int button = 0; button < kWindowButtonCount; ++button)
    if (InRect(WindowButtonRect(kind, info, button, def), x, y))
      return WindowButtonHitCode(button);
  return hit;
}

void TteTheme::PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                           const QString&) {
  TRect r = info.Rect;
  if (r.IsEmpty()) return;
  const TRect c = WindowContentRect(kind, info, QStringLiteral("default"));
  const TColor face = Colors().GetColor(kcButtonNormal);
  const TColor border = Colors().GetColor(kcWindowBorder);
  DrawRect(canvas, r, clBlack);
  r = Inset(r, 1);
  DrawFrame3D(canvas, r, LightenColor(face, 100), LightenColor(face, -100));
  r = Inset(r, 1);
  auto band = [&](const TRect& b) {
    if (!b.IsEmpty()) FillRectColor(canvas, b, border);
  };
  band({r.Left, r.Top, r.Right, c.Top});
  band({r.Left, r.Top, c.Left, r.Bottom});
  band({r.Left, c.Bottom, r.Right, r.Bottom});
  band({c.Right, r.Top, r.Right, r.Bottom});
  const TRect caption{c.Left, 3, c.Right, c.Top};
  if (!caption.IsEmpty())
    FillRectColor(canvas, caption,
                  Colors().GetColor(info.Active ? kcCaptionNormal : kcCaptionInactive));
}

void TteTheme::PaintWindowClient(uint8_t, TCanvas& canvas, const TRect& rect, const QString&) {
  if (!rect.IsEmpty()) FillRectColor(canvas, rect, Colors().GetColor(kcWindow));
}

void TteTheme::PaintWindowCaption(uint8_t, TCanvas& canvas, const TteWindowInfo& info,
                                  const TRect& rect, const QString& objectName) {
  canvas.Font = Fonts().GetObjectFont(info.Active ? kfCaptionTextNormal : kfCaptionTextInactive,
                                      objectName);
  PaintText(canvas, TextInfo(rect, info.Caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
}

void TteTheme::PaintWindowButton(uint8_t, TCanvas& canvas, const TteWindowButtonInfo& info,
                                 const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  const bool pressed = info.State == kwbsPressed;
  if (info.Button != kbiSysMenu) {
    const TColor face = Colors().GetColor(info.State == kwbsHot ? kcButtonHot : kcButtonNormal);
    FillRectColor(canvas, r, face);
    const TColor light = LightenColor(face, 100), dark = LightenColor(face, -100);
    if (pressed)
      DrawFrame3D(canvas, r, dark, light);
    else
      DrawFrame3D(canvas, r, light, dark);
  }
  const uint32_t push = pressed ? uint32_t(DFCS_PUSHED) : 0u;
  switch (info.Button) {
    case kbiSysMenu:
      if (info.Icon && !info.Icon->Empty()) {
        const TRect box = CenteredBox(r, info.Icon->Width(), info.Icon->Height());
        info.Icon->Draw(canvas, box.Left, box.Top);
      }
      break;
    case kbiClose:
      DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONCLOSE | push, clBlack);
      break;
    case kbiHelp:
      DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONHELP | push, clBlack);
      break;
    case kbiMinimize:
      DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONMIN | push, clBlack);
      break;
    case kbiRestoreMinimized:
    case kbiRestore:
      DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONRESTORE | push, clBlack);
      break;
    case kbiMaximize:
      DrawMaskedFrameControl(canvas, r, DFC_CAPTION, DFCS_CAPTIONMAX | push, clBlack);
      break;
    case kbiRollUp:
    case kbiRollDown: {
      TRect t = Inset(r, 4, 5);
      if (pressed) t = t.Offset(-1, -1);
      if (t.IsEmpty()) break;
      const int mid = t.Left + t.Width() / 2;
      // The apex lies on the far edge's last pixel row, since shapes leave out
      // their right and bottom edges.
      const TPoint up[3] = {{t.Left, t.Bottom - 1}, {t.Right - 1, t.Bottom - 1}, {mid, t.Top}};
      const TPoint down[3] = {{t.Left, t.Top}, {t.Right - 1, t.Top}, {mid, t.Bottom - 1}};
      FillPolygon(canvas, info.Button == kbiRollUp ? up : down, 3, clBlack);
      break;
    }
    case kbiTray: {
      const TRect in = Inset(r, 3);
      TRect sq{in.Right - 3, in.Bottom - 3, in.Right, in.Bottom};
      if (!pressed) sq = sq.Offset(1, 1);
      FillRectColor(canvas, sq, clBlack);
      break;
    }
    default:
      break;
  }
}

void TteTheme::PaintWindowGripper(uint8_t, TCanvas& canvas, const TteGripInfo& info,
                                  const QString&) {
  const TRect& r = info.Rect;
  if (r.IsEmpty()) return;
  FillRectColor(canvas, r, Colors().GetColor(kcWindowBorder));
  if (!info.Visible) return;
  // Three pairs of diagonal strokes (grey then black) from the bottom-right corner.
  const TRect g = Inset(r, 4).Offset(3, 3);
  if (g.IsEmpty()) return;
  const int size = std::min(g.Width(), g.Height());
  canvas.Pen = TPen{};
  for (int d = 1; d + 1 < size; d += 4) {
    canvas.Pen.Color = 0x808080;
    canvas.MoveTo(g.Right - 1, g.Bottom - 1 - d);
    canvas.LineTo(g.Right - 1 - d, g.Bottom - 1);
    canvas.Pen.Color = clBlack;
    canvas.MoveTo(g.Right - 1, g.Bottom - d);
    canvas.LineTo(g.Right - d, g.Bottom - 1);
  }
}
