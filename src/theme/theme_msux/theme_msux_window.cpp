// The window frame of the packed visual-style theme: geometry, hit test and shape of
// a skinned window, and the painting of its caption band, borders, caption and buttons.
#include "theme_msux.h"

#include <algorithm>
#include <limits>

namespace {

// Metrics and offsets come from the theme file. Anything beyond this is a broken
// theme; the bound keeps the frame arithmetic inside 32 bits and the region's scratch
// bitmaps small.
constexpr int32_t kMaxFrameMetric = 1024;

int32_t Metric(int32_t value) { return std::clamp(value, 0, kMaxFrameMetric); }
int32_t Offset(int32_t value) { return std::clamp(value, -kMaxFrameMetric, kMaxFrameMetric); }

bool IsNormalFrame(uint8_t kind) { return kind == kwkSizeable || kind == kwkDialog; }
bool IsFramed(uint8_t kind) { return IsNormalFrame(kind) || kind == kwkToolWindow; }

bool Shows(const TteWindowInfo& info, int button) {
  return (info.Buttons & WindowButtonBit(button)) != 0;
}

// The sections and metrics of one frame kind: tool windows take the small ones.
struct FrameLook {
  int32_t CaptionHeight;
  int32_t Border;
  TmsuxSection Caption;
  TmsuxSection Left;
  TmsuxSection Right;
  TmsuxSection Bottom;
};

FrameLook LookOf(const TTeThemeMsStyles& theme, uint8_t kind) {
  if (kind == kwkToolWindow)
    return {.CaptionHeight = Metric(theme.SMCaptionBarHeight),
            .Border = Metric(theme.SMBorderWidth),
            .Caption = kmsWindowSmallCaption,
            .Left = kmsWindowSmallFrameLeft,
            .Right = kmsWindowSmallFrameRight,
            .Bottom = kmsWindowSmallFrameBottom};
  return {.CaptionHeight = Metric(theme.CaptionBarHeight),
          .Border = Metric(theme.BorderWidth),
          .Caption = kmsWindowCaption,
          .Left = kmsWindowFrameLeft,
          .Right = kmsWindowFrameRight,
          .Bottom = kmsWindowFrameBottom};
}

// The caption band and the three borders around the content rectangle c.
struct FramePieces {
  TRect Caption, Left, Right, Bottom;
};

FramePieces PiecesOf(const TRect& w, const TRect& c) {
  return {{w.Left, w.Top, w.Right, c.Top},
          {w.Left, c.Top, c.Left, c.Bottom},
          {c.Right, c.Top, w.Right, c.Bottom},
          {w.Left, c.Bottom, w.Right, w.Bottom}};
}

uint32_t AlignmentFlag(TmsuxContentAlignment alignment) {
  switch (alignment) {
    case kcaCenter: return DT_CENTER;
    case kcaRight: return DT_RIGHT;
    default: return DT_LEFT;
  }
}

const QString kDefaultObject = QStringLiteral("default");

}  // namespace

bool TTeThemeMsStyles::HasWindow(uint8_t kind, const QString&) {
  if (kind == kwkToolWindow) return Object(kmsWindowSmallCaption) != nullptr;
  return Object(kmsWindow) != nullptr && Object(kmsWindowCaption) != nullptr;
}

TRect TTeThemeMsStyles::WindowContentRect(uint8_t kind, const TteWindowInfo& info, const QString&) {
  const TRect& w = info.Rect;
  if (!IsFramed(kind)) return w;
  const FrameLook f = LookOf(*this, kind);
  return {w.Left + f.Border, w.Top + f.CaptionHeight + f.Border, w.Right - f.Border,
          w.Bottom - f.Border};
}

TRect TTeThemeMsStyles::WindowCaptionRect(uint8_t kind, const TteWindowInfo& info, const QString&) {
  const TRect c = WindowContentRect(kind, info, kDefaultObject);
  TRect band{c.Left, info.Rect.Top, c.Right, c.Top};
  if (!IsFramed(kind)) return band;
  const FrameLook f = LookOf(*this, kind);
  band.Top += f.Border;
  // The normal caption's margins narrow the small caption too.
  const TmsuxThemeObject* caption = Object(kmsWindowCaption);
  if (caption && caption->FindProp(QStringLiteral("CaptionMargins"))) {
    band.Left = ClampToInt32(int64_t(band.Left) + caption->CaptionMargins.Left);
    band.Right = ClampToInt32(int64_t(band.Right) - caption->CaptionMargins.Right);
  }
  if (IsNormalFrame(kind) && Shows(info, kbiSysMenu)) band.Left += f.CaptionHeight;
  return band;
}

TRect TTeThemeMsStyles::WindowButtonRect(uint8_t kind, const TteWindowInfo& info, int button,
                                         const QString&) {
  if (!IsFramed(kind) || button < 0 || button >= kWindowButtonCount || !Shows(info, button))
    return kNullRect;
  const FrameLook f = LookOf(*this, kind);
  const TRect& w = info.Rect;
  // Square slots of side s stand in a row from the right, two pixels apart.
  const int32_t s =
      IsNormalFrame(kind) ? f.CaptionHeight - f.Border : Metric(SMCaptionBarHeight) - 2;
  const TRect r0{w.Right - f.Border - 1 - s, w.Top + f.Border + 1, w.Right - f.Border - 1,
                 w.Top + f.Border + 1 + s};
  auto slot = [&](int steps) { return r0.Offset(-(s + 2) * steps, 0); };
  if (kind == kwkToolWindow) return button == kbiClose ? r0 : kNullRect;

  const int close = Shows(info, kbiClose) ? 1 : 0;
  const int maximize = Shows(info, kbiMaximize) || Shows(info, kbiRestore) ? 1 : 0;
  const int minimize = Shows(info, kbiMinimize) || Shows(info, kbiRestoreMinimized) ? 1 : 0;
  switch (button) {
    case kbiSysMenu: {
      const TRect c = WindowContentRect(kind, info, kDefaultObject);
      return {c.Left, w.Top + 5, c.Left + s, w.Top + 5 + s};
    }
    case kbiClose: return r0;
    case kbiHelp: return slot(close + maximize + minimize);
    case kbiMinimize:
    case kbiRestoreMinimized: return slot(close + maximize);
    case kbiMaximize:
    case kbiRestore: return slot(close);
    default: return kNullRect;
  }
}

int TTeThemeMsStyles::WindowHitTest(uint8_t kind, const TteWindowInfo& info, int x, int y,
                                    const QString& objectName) {
  const int hit = TteTheme::WindowHitTest(kind, info, x, y, objectName);
  if (!IsFramed(kind) || (hit != khtTop && hit != khtNowhere)) return hit;
  // The top border above the caption stays a sizing edge; everything of the caption
  // band below it moves the window, whatever the caption margins cut off. The normal
  // border width serves tool windows too.
  const TRect c = WindowContentRect(kind, info, kDefaultObject);
  const TRect band{c.Left, info.Rect.Top + Metric(BorderWidth), c.Right, c.Top};
  return band.Contains(x, y) ? int(khtCaption) : hit;
}

std::optional<QRegion> TTeThemeMsStyles::GetWindowRegion(uint8_t kind, const TRect& rect,
                                                         const QString&) {
  if (!IsFramed(kind) || rect.IsEmpty()) return std::nullopt;
  TteWindowInfo info;
  info.Rect = rect;
  const TRect c = WindowContentRect(kind, info, kDefaultObject);
  const FrameLook f = LookOf(*this, kind);
  const FramePieces p = PiecesOf(rect, c);
  QRegion region;
  if (!c.IsEmpty()) region += c.ToQRect();
  // Each piece is painted over the colour key; what stays key (the image's own key
  // pixels and whatever the element leaves unpainted) is cut out of the window.
  auto add = [&](TmsuxSection section, const TRect& piece) {
    if (piece.IsEmpty()) return;
    TteBitmap scratch;
    scratch.SetSize(piece.Width(), piece.Height());
    scratch.Fill(kTeColorKey);
    PaintElement(section, scratch.Canvas(), scratch.BoundsRect(), 1);
    region += scratch.CreateRegion(piece.Left, piece.Top);
  };
  add(f.Caption, p.Caption);
  add(f.Left, p.Left);
  add(f.Right, p.Right);
  add(f.Bottom, p.Bottom);
  return region;
}

void TTeThemeMsStyles::PaintWindow(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                                   const QString&) {
  if (!IsFramed(kind) || info.Rect.IsEmpty()) return;
  const FrameLook f = LookOf(*this, kind);
  const int frame = info.Active ? 1 : 2;
  const FramePieces p = PiecesOf(info.Rect, WindowContentRect(kind, info, kDefaultObject));
  auto paint = [&](TmsuxSection section, const TRect& piece) {
    if (!piece.IsEmpty()) PaintElement(section, canvas, piece, frame);
  };
  // A repaint of the lower frame alone leaves the caption band as it is.
  if (info.ClipRect.IsEmpty() || info.ClipRect.Top == info.Rect.Top) paint(f.Caption, p.Caption);
  paint(f.Left, p.Left);
  paint(f.Right, p.Right);
  paint(f.Bottom, p.Bottom);
}

void TTeThemeMsStyles::PaintWindowClient(uint8_t, TCanvas& canvas, const TRect& rect,
                                         const QString&) {
  if (!rect.IsEmpty()) FillRectColor(canvas, rect, ThemeSysColor(COLOR_BTNFACE));
}

void TTeThemeMsStyles::PaintWindowCaption(uint8_t kind, TCanvas& canvas, const TteWindowInfo& info,
                                          const TRect& rect, const QString& objectName) {
  const TFont font =
      Fonts().GetObjectFont(info.Active ? kfCaptionTextNormal : kfCaptionTextInactive, objectName);
  canvas.Font = font;
  const TmsuxThemeObject* element =
      Object(kind == kwkToolWindow ? kmsWindowSmallCaption : kmsWindowCaption);
  const uint32_t flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                         (element ? AlignmentFlag(element->ContentAlignment) : DT_LEFT);

  TRect r = rect;
  if (IsNormalFrame(kind)) {
    // The text stops short of the room every shown caption button takes.
    const FrameLook f = LookOf(*this, kind);
    const bool groups[] = {
        Shows(info, kbiClose),
        Shows(info, kbiMaximize) || Shows(info, kbiRestore),
        Shows(info, kbiMinimize) || Shows(info, kbiRestoreMinimized),
        Shows(info, kbiHelp),
        Shows(info, kbiTray),
        Shows(info, kbiRollUp) || Shows(info, kbiRollDown),
    };
    int64_t limit = int64_t(info.Rect.Width()) - 2 * int64_t(f.Border);
    for (bool shown : groups)
      if (shown) limit -= f.CaptionHeight;
    if (limit < r.Width()) r.Right = ClampToInt32(limit);
  }
  if (r.IsEmpty()) return;
  const QString text = EllipsizeText(canvas, info.Caption, r.Width());

  // Whether there is a shadow is the active or inactive caption's say; its colour and
  // offset are the plain caption's.
  const TmsuxThemeObject* state =
      Object(info.Active ? kmsWindowCaptionActive : kmsWindowCaptionInactive);
  const TmsuxThemeObject* caption = Object(kmsWindowCaption);
  if (state && caption && state->TextShadowType == ktstSingle) {
    canvas.Font.Color = caption->TextShadowColor;
    const TRect shadow =
        r.Offset(Offset(caption->TextShadowOffset.X), Offset(caption->TextShadowOffset.Y));
    PaintText(canvas, TextInfo(shadow, text, flags));
  }
  canvas.Font = font;
  PaintText(canvas, TextInfo(r, text, flags));
}

void TTeThemeMsStyles::PaintWindowButton(uint8_t kind, TCanvas& canvas,
                                         const TteWindowButtonInfo& info,
                                         const QString& objectName) {
  if (info.Rect.IsEmpty()) return;
  // Normal, hot, pressed and inactive are the first four frames; other states paint nothing.
  const int frame = info.State <= kwbsInactive ? info.State + 1 : 0;
  if (kind == kwkToolWindow) {
    if (info.Button == kbiClose) PaintElement(kmsWindowSmallCloseButton, canvas, info.Rect, frame);
    return;
  }
  if (!IsNormalFrame(kind)) return;
  TmsuxSection section;
  switch (info.Button) {
    case kbiSysMenu: TteTheme::PaintWindowButton(kind, canvas, info, objectName); return;
    case kbiClose: section = kmsWindowCloseButton; break;
    case kbiHelp: section = kmsWindowHelpButton; break;
    case kbiMinimize: section = kmsWindowMinButton; break;
    case kbiRestoreMinimized:
    case kbiRestore:
    case kbiRollDown: section = kmsWindowRestoreButton; break;
    case kbiMaximize: section = kmsWindowMaxButton; break;
    default: return;
  }
  PaintElement(section, canvas, info.Rect, frame);
}
