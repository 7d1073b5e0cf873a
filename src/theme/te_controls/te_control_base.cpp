// The shared skin of every control: buffering modes, frame, hot and focus tracking,
// scroll bars, parent backgrounds and the theme contract.
#include "te_control_base.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "te_accessibility.h"
#include "te_scroll_bar.h"

// ---- pure geometry

std::optional<TRect> ObjectBoundsRect(const TRect& current, const TRect& bounds) {
  if (bounds.Width() <= 0 || bounds.Height() <= 0) return std::nullopt;
  TRect r{bounds.Left < 0 ? current.Left : bounds.Left, bounds.Top < 0 ? current.Top : bounds.Top,
          bounds.Right, bounds.Bottom};
  if (r.Right < r.Left) r.Right = current.Right;
  if (r.Bottom < r.Top) r.Bottom = current.Bottom;
  return r;
}

TRect FrameClientRect(const TTeFrameGeometry& frame, int width, int height) {
  TRect r = Inset(TRect{0, 0, width, height}, frame.BorderWidth);
  const int bevels = (frame.BevelInner != kbvNone) + (frame.BevelOuter != kbvNone);
  const int by = frame.BevelWidth * bevels;
  if (frame.BevelSides & kbsLeft) r.Left += by;
  if (frame.BevelSides & kbsTop) r.Top += by;
  if (frame.BevelSides & kbsRight) r.Right -= by;
  if (frame.BevelSides & kbsBottom) r.Bottom -= by;
  return r;
}

namespace {

struct CutColors {
  TColor First;
  TColor Second;
};

// Left/top and right/bottom colours of a cut, for the outer and the inner bevel.
CutColors BevelColors(TTeBevelCut cut, bool outer) {
  const auto sys = [](int index) { return GetSysColor(index); };
  switch (cut) {
    case kbvLowered:
      return outer ? CutColors{sys(COLOR_BTNSHADOW), sys(COLOR_BTNHIGHLIGHT)}
                   : CutColors{sys(COLOR_3DDKSHADOW), sys(COLOR_BTNFACE)};
    case kbvRaised:
      return outer ? CutColors{sys(COLOR_BTNHIGHLIGHT), sys(COLOR_3DDKSHADOW)}
                   : CutColors{sys(COLOR_BTNSHADOW), sys(COLOR_BTNSHADOW)};
    case kbvSpace:
      return {sys(COLOR_BTNFACE), sys(COLOR_BTNFACE)};
    case kbvBorder:
      return outer ? CutColors{sys(COLOR_3DDKSHADOW), sys(COLOR_3DDKSHADOW)}
                   : CutColors{sys(COLOR_WINDOW), sys(COLOR_WINDOW)};
    case kbvFlatBorder:
      return outer ? CutColors{sys(COLOR_BTNSHADOW), sys(COLOR_BTNSHADOW)}
                   : CutColors{sys(COLOR_BTNFACE), sys(COLOR_BTNFACE)};
    case kbvNone:
      break;
  }
  return {clNone, clNone};
}

// width nested one-pixel rings on the sides given; the right and bottom lines are
// drawn last, so the top-right and bottom-left corners take the second colour.
void PaintBevel(TCanvas& canvas, TRect& r, TTeBevelCut cut, bool outer, TTeBevelSides sides,
                int width) {
  if (cut == kbvNone) return;
  const CutColors c = BevelColors(cut, outer);
  for (int i = 0; i < width && !r.IsEmpty(); ++i) {
    if (sides & kbsLeft) FillRectColor(canvas, {r.Left, r.Top, r.Left + 1, r.Bottom}, c.First);
    if (sides & kbsTop) FillRectColor(canvas, {r.Left, r.Top, r.Right, r.Top + 1}, c.First);
    if (sides & kbsRight) FillRectColor(canvas, {r.Right - 1, r.Top, r.Right, r.Bottom}, c.Second);
    if (sides & kbsBottom) FillRectColor(canvas, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, c.Second);
    if (sides & kbsLeft) ++r.Left;
    if (sides & kbsTop) ++r.Top;
    if (sides & kbsRight) --r.Right;
    if (sides & kbsBottom) --r.Bottom;
  }
}

}  // namespace

void DrawClassicText(TCanvas& canvas, const QString& text, const TRect& r, uint32_t flags, bool enabled) {
  if (!enabled) {
    TRect lit = r.Offset(1, 1);
    canvas.Font.Color = GetSysColor(COLOR_BTNHIGHLIGHT);
    canvas.DrawText(text, lit, flags);
    canvas.Font.Color = GetSysColor(COLOR_BTNSHADOW);
  }
  TRect at = r;
  canvas.DrawText(text, at, flags);
}

void PaintBevelFrame(TCanvas& canvas, const TTeFrameGeometry& frame, const TRect& bounds,
                     TColor color) {
  TRect r = bounds;
  if (frame.BevelWidth > 0) {
    PaintBevel(canvas, r, frame.BevelOuter, true, frame.BevelSides, frame.BevelWidth);
    PaintBevel(canvas, r, frame.BevelInner, false, frame.BevelSides, frame.BevelWidth);
  }
  canvas.Brush.Style = TBrushStyle::bsSolid;
  canvas.Brush.Color = ColorToRGB(color);
  for (int i = 0; i < frame.BorderWidth && !r.IsEmpty(); ++i) {
    canvas.FrameRect(r);
    r = Inset(r, 1);
  }
}

// ---- the shared surface

TTeSharedPaintSurface& TTeSharedPaintSurface::Instance() {
  static TTeSharedPaintSurface surface;
  return surface;
}

TteBitmap& TTeSharedPaintSurface::Acquire(int width, int height) {
  if (bitmap_.Empty()) {
    QSize screen(0, 0);
    if (const QScreen* s = QGuiApplication::primaryScreen()) screen = s->size();
    bitmap_.SetSize(std::max(screen.width() + 500, width), std::max(screen.height() + 500, height));
  } else if (width > bitmap_.Width() || height > bitmap_.Height()) {
    // The original sized the surface once from the screen, so a control larger than
    // the screen (or on a larger second screen) painted outside it.
    bitmap_.SetSize(std::max(width, bitmap_.Width()), std::max(height, bitmap_.Height()));
  }
  return bitmap_;
}

void TTeSharedPaintSurface::RemoveUser() {
  if (--users_ == 0) bitmap_.Clear();
}

// ---- parent backgrounds

namespace {

struct PainterEntry {
  const QMetaObject* Class;
  TTeBackgroundPainter Painter;
};

std::vector<PainterEntry>& Painters() {
  static std::vector<PainterEntry> painters;
  return painters;
}

int ClassDepth(const QMetaObject* cls) {
  int depth = 0;
  for (const QMetaObject* m = cls->superClass(); m; m = m->superClass()) ++depth;
  return depth;
}

const TTeBackgroundPainter* FindPainter(const QWidget* parent) {
  const TTeBackgroundPainter* best = nullptr;
  int bestDepth = -1;
  for (const PainterEntry& e : Painters()) {
    if (!parent->metaObject()->inherits(e.Class)) continue;
    const int depth = ClassDepth(e.Class);
    if (depth > bestDepth) {  // strictly deeper: of two equal classes the first stays
      best = &e.Painter;
      bestDepth = depth;
    }
  }
  return best;
}

// Puts back origin, clip, pen, brush and font when a painting step ends, however.
class CanvasStateGuard {
 public:
  explicit CanvasStateGuard(TCanvas& canvas)
      : canvas_(canvas), origin_(canvas.Origin()), clip_(canvas.SavedClip()), pen_(canvas.Pen),
        brush_(canvas.Brush), font_(canvas.Font) {}
  ~CanvasStateGuard() {
    canvas_.SetOrigin(origin_);
    canvas_.RestoreClip(clip_);
    canvas_.Pen = pen_;
    canvas_.Brush = brush_;
    canvas_.Font = font_;
  }

 private:
  TCanvas& canvas_;
  TPoint origin_;
  std::optional<QRegion> clip_;
  TPen pen_;
  TBrush brush_;
  TFont font_;
};

}  // namespace

void DrawOpaque(QPainter& painter, TteBitmap& bitmap, const QRect& r) {
  bitmap.SetAlphaRect(255, TRect::FromQRect(r));
  const QImage view(reinterpret_cast<const uchar*>(bitmap.Bits()), bitmap.Width(), bitmap.Height(),
                    qsizetype(bitmap.Width()) * 4, QImage::Format_RGB32);
  painter.drawImage(r.topLeft(), view, r);
}

void RegisterBackgroundPainter(const QMetaObject* cls, TTeBackgroundPainter painter) {
  Painters().push_back({cls, std::move(painter)});
}

void UnregisterBackgroundPainter(const QMetaObject* cls) {
  auto& p = Painters();
  p.erase(std::remove_if(p.begin(), p.end(), [cls](const PainterEntry& e) { return e.Class == cls; }),
          p.end());
}

void DrawParentBackground(QWidget* control, TCanvas& target) {
  if (!control) return;
  QWidget* parent = control->parentWidget();
  const int w = control->width(), h = control->height();
  if (!parent || w <= 0 || h <= 0) return;
  CanvasStateGuard guard(target);
  const QPoint pos = control->pos();
  target.MoveOrigin(pos.x(), pos.y());
  const TRect bounds = Bounds(pos.x(), pos.y(), w, h);
  if (auto* skinned = dynamic_cast<TTeControlBase*>(parent)) {
    skinned->PaintEraseBackground(target);
  } else if (const TTeBackgroundPainter* painter = FindPainter(parent)) {
    (*painter)(target, TTeBackgroundPaintInfo{bounds, bounds, control, parent});
  } else {
    // The parent alone (no children), as it paints under the control.
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    parent->render(&image, QPoint(0, 0), QRegion(control->geometry()),
                   QWidget::DrawWindowBackground);
    target.StretchCopy(bounds, image, {0, 0, w, h});
  }
}

// ---- the control base

TTeControlBase::TTeControlBase(QWidget* self)
    : self_(self), color_(SysColor(COLOR_BTNFACE)), fontColor_(SysColor(COLOR_BTNTEXT)) {
  // Every pixel is ours: Qt need not erase what the pipeline paints over.
  self_->setAttribute(Qt::WA_OpaquePaintEvent);
  self_->resize(100, 30);
  InstallControlAccessibility();
  TTeSharedPaintSurface::Instance().AddUser();
  // A theme already current answers with code 3 at once. The derived classes do not
  // exist yet, so that answer is posted rather than sent: it arrives once the control
  // is complete and reaches its own handler.
  registering_ = true;
  ThemeManager().AddThemeClient(this);
  registering_ = false;
}

TTeControlBase::~TTeControlBase() {
  ThemeManager().RemoveThemeClient(this);
  TTeSharedPaintSurface::Instance().RemoveUser();
}

void TTeControlBase::SetPerformance(TTePerformance performance) {
  if (performance_ == performance) return;
  performance_ = performance;
  self_->update();
}

void TTeControlBase::SetColor(TColor color) {
  if (color_ == color) return;
  color_ = color;
  self_->update();
}

void TTeControlBase::SetFontColor(TColor color) {
  if (fontColor_ == color) return;
  fontColor_ = color;
  self_->update();
}

void TTeControlBase::SetThemeObject(const QString& name) {
  if (themeObject_ == name) return;
  themeObject_ = name;
  ApplyObjectBounds(true);
}

void TTeControlBase::SetThemeLink(TteCustomThemeLink* link) {
  if (themeLink_ == link) return;
  themeLink_ = link;
  ApplyObjectBounds(true);
}

void TTeControlBase::ApplyObjectBounds(bool invalidate) {
  if (TteTheme* theme = Theme()) {
    const TRect current = TRect::FromQRect(self_->geometry());
    if (auto r = ObjectBoundsRect(current, theme->GetObjectBounds(themeObject_))) {
      self_->setGeometry(r->ToQRect());
      return;
    }
  }
  if (invalidate) self_->update();
}

// ---- frame

void TTeControlBase::FrameSettingChanged() {
  FrameChanged();
  PlaceScrollBars();
  self_->update();
}

void TTeControlBase::SetBorderWidth(int width) {
  if (frame_.BorderWidth == width) return;
  frame_.BorderWidth = width;
  FrameSettingChanged();
}

void TTeControlBase::SetBevelInner(TTeBevelCut cut) {
  bevelKind_ = kbkNone;
  if (frame_.BevelInner == cut) return;
  frame_.BevelInner = cut;
  FrameSettingChanged();
}

void TTeControlBase::SetBevelOuter(TTeBevelCut cut) {
  bevelKind_ = kbkNone;
  if (frame_.BevelOuter == cut) return;
  frame_.BevelOuter = cut;
  FrameSettingChanged();
}

void TTeControlBase::SetBevelSides(TTeBevelSides sides) {
  if (frame_.BevelSides == sides) return;
  frame_.BevelSides = sides;
  FrameSettingChanged();
}

void TTeControlBase::SetBevelKind(TTeBevelKind kind) {
  if (bevelKind_ == kind) return;
  bevelKind_ = kind;
  if (kind != kbkNone) {
    const TTeBevelCut cut = kind == kbkBorder ? kbvBorder : kind == kbkFlat ? kbvFlatBorder : kbvLowered;
    frame_.BevelInner = frame_.BevelOuter = cut;
  }
  FrameSettingChanged();
}

void TTeControlBase::SetBevelWidth(int width) {
  if (frame_.BevelWidth == width) return;
  frame_.BevelWidth = width;
  FrameSettingChanged();
}

TRect TTeControlBase::GetFrameClientRect() const {
  return FrameClientRect(frame_, self_->width(), self_->height());
}

TRect TTeControlBase::ClientRect() const {
  TRect r = GetFrameClientRect();
  if (vert_) r.Right -= vert_->width();
  if (horz_) r.Bottom -= horz_->height();
  return r;
}

void TTeControlBase::PaintFrame(TCanvas& canvas) {
  const TRect whole{0, 0, self_->width(), self_->height()};
  if (scrollBars_ == ksbBoth)
    FillRectColor(canvas, {whole.Right - 20, whole.Bottom - 20, whole.Right, whole.Bottom},
                  ColorToRGB(color_));
  if (GetFrameClientRect() == whole) return;
  PaintBevelFrame(canvas, frame_, whole, color_);
}

void TTeControlBase::PaintBackground(TCanvas& canvas) {
  FillRectColor(canvas, GetFrameClientRect(), ColorToRGB(color_));
}

// ---- scroll bars

QScrollBar* TTeControlBase::CreateScrollBar(Qt::Orientation orientation) {
  return new TTeScrollBar(orientation, self_);
}

int TTeControlBase::GetScrollBarSize() const { return 16; }

void TTeControlBase::SetScrollBars(TTeScrollBars mode) {
  scrollBars_ = mode;
  delete horz_.data();
  delete vert_.data();
  const auto make = [this](Qt::Orientation o) {
    QScrollBar* bar = CreateScrollBar(o);
    QObject::connect(bar, &QAbstractSlider::actionTriggered, self_, [this, bar, o](int action) {
      if (ScrollLock) return;
      // Qt's slider actions as the standard scroll codes (line, page, thumb, ends).
      int code = 0;
      switch (action) {
        case QAbstractSlider::SliderSingleStepSub: code = 0; break;
        case QAbstractSlider::SliderSingleStepAdd: code = 1; break;
        case QAbstractSlider::SliderPageStepSub: code = 2; break;
        case QAbstractSlider::SliderPageStepAdd: code = 3; break;
        case QAbstractSlider::SliderMove: code = 5; break;
        case QAbstractSlider::SliderToMinimum: code = 6; break;
        case QAbstractSlider::SliderToMaximum: code = 7; break;
        default: code = 8; break;
      }
      ScrollMessage(o, code, bar->sliderPosition());
    });
    bar->show();
    return bar;
  };
  if (mode & ksbHorizontal) horz_ = make(Qt::Horizontal);
  if (mode & ksbVertical) vert_ = make(Qt::Vertical);
  PlaceScrollBars();
  self_->update();
}

void TTeControlBase::PlaceScrollBars() {
  const TRect fc = GetFrameClientRect();
  const int size = GetScrollBarSize();
  if (horz_)
    horz_->setGeometry(TRect{fc.Left, fc.Bottom - size, fc.Right - (vert_ ? size : 0), fc.Bottom}.ToQRect());
  if (vert_)
    vert_->setGeometry(TRect{fc.Right - size, fc.Top, fc.Right, fc.Bottom - (horz_ ? size : 0)}.ToQRect());
}

// ---- hot and focus tracking

void TTeControlBase::MouseEnter() {
  mouseIn_ = true;
  if (OnMouseEnter) OnMouseEnter(*self_);
}

void TTeControlBase::MouseLeave() {
  mouseIn_ = false;
  if (OnMouseLeave) OnMouseLeave(*self_);
}

void TTeControlBase::FocusEnter() {
  focused_ = true;
  self_->update();
}

void TTeControlBase::FocusLeave() {
  focused_ = false;
  self_->update();
}

// ---- theme notifications

void TTeControlBase::ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) {
  const QEvent::Type type = message == kThemeChangeMessage ? kThemeChangeEvent : kThemeLinkChangeEvent;
  if (registering_) {
    QCoreApplication::postEvent(self_, new TTeThemeEvent(type, wParam, lParam));
  } else {
    TTeThemeEvent event(type, wParam, lParam);
    QCoreApplication::sendEvent(self_, &event);
  }
}

bool TTeControlBase::IsVisible() const { return self_->isVisible(); }

void TTeControlBase::ThemeChanged(int code, intptr_t) {
  switch (code) {
    case ktcReplaced:
    case ktcBecameCurrent:
      ApplyObjectBounds(true);
      self_->update();
      break;
    case ktcRemoved:
    case ktcLookChanged:
      self_->update();
      break;
    default:
      break;
  }
}

void TTeControlBase::ThemeLinkChanged() {
  ApplyObjectBounds(true);
  self_->update();
}

bool TTeControlBase::Dispatch(QEvent* event, const std::function<bool(QEvent*)>& base) {
  switch (event->type()) {
    case QEvent::FocusIn:
      FocusEnter();
      return base(event);
    case QEvent::FocusOut:
      FocusLeave();
      return base(event);
    case QEvent::Enter: {
      const bool result = base(event);
      MouseEnter();
      return result;
    }
    case QEvent::Leave: {
      const bool result = base(event);
      MouseLeave();
      return result;
    }
    case QEvent::Hide:
      focused_ = false;
      return base(event);
    case QEvent::Resize: {
      const bool result = base(event);
      PlaceScrollBars();
      return result;
    }
    case QEvent::EnabledChange:
      self_->update();
      return base(event);
    default:
      break;
  }
  if (event->type() == kThemeChangeEvent) {
    const auto* e = static_cast<TTeThemeEvent*>(event);
    ThemeChanged(e->Code(), e->LParam);
    return true;
  }
  if (event->type() == kThemeLinkChangeEvent) {
    const auto* e = static_cast<TTeThemeEvent*>(event);
    if (themeLink_ && e->Link() == themeLink_) ThemeLinkChanged();
    return true;
  }
  return base(event);
}

// ---- painting

void TTeControlBase::PaintContent(TCanvas& canvas) {
  TRect frameClient = GetFrameClientRect();
  if (horz_ && vert_) {
    const TRect client = ClientRect();
    frameClient.Right = client.Right;
    frameClient.Bottom = client.Bottom;
  }
  {
    CanvasStateGuard guard(canvas);
    canvas.ExcludeClipRect(frameClient);
    PaintFrame(canvas);
  }
  if (horz_ && vert_) canvas.IntersectClipRect(ClientRect());
  PaintBackground(canvas);
}

void TTeControlBase::PaintEraseBackground(TCanvas& canvas) {
  CanvasStateGuard guard(canvas);
  PaintContent(canvas);
}

void TTeControlBase::PaintWidget(QPaintEvent* event) {
  const int w = self_->width(), h = self_->height();
  if (w <= 0 || h <= 0) return;
  // Only what Qt asks for is painted: it leaves out what opaque children cover
  // and what did not change.
  const QRegion region = event ? event->region() & QRect(0, 0, w, h) : QRegion(0, 0, w, h);
  if (region.isEmpty()) return;
  const TRect box = TRect::FromQRect(region.boundingRect());
  QPainter painter(self_);
  paintFont_ = TFont{self_->font()};
  paintFont_.Color = ColorToRGB(fontColor_);

  const auto paintOn = [&](TCanvas& canvas) {
    CanvasStateGuard guard(canvas);
    canvas.SetOrigin({0, 0});
    canvas.SetClipRegion(region);
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    canvas.Font = paintFont_;
    PaintContent(canvas);
  };
  // A buffer hands over the part that was painted, opaque.
  const auto handOver = [&](TteBitmap& buffer) { DrawOpaque(painter, buffer, box.ToQRect()); };
  switch (performance_) {
    case kspNoBuffer: {
      TCanvas canvas(&painter);
      paintOn(canvas);
      break;
    }
    case kspSharedBuffer: {
      TteBitmap& surface = TTeSharedPaintSurface::Instance().Acquire(w, h);
      surface.FillRect(box, kTeColorKey);
      paintOn(surface.Canvas());
      handOver(surface);
      break;
    }
    case kspDoubleBuffer: {
      TteBitmap buffer;
      buffer.SetSize(w, h);
      buffer.FillRect(box, kTeColorKey);
      paintOn(buffer.Canvas());
      handOver(buffer);
      break;
    }
  }
}
