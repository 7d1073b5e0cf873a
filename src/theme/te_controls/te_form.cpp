// The skinned window frame.
#include "te_form.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLayout>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QWhatsThis>
#include <QWindow>

#include "te_bitmap.h"
#include "te_status_bar.h"
#include "te_theme.h"
#include "theme_manager.h"

namespace {

constexpr int kCornerZone = 20;

bool IsEdge(int area) { return area >= khtLeft && area <= khtBottomRight && area != 6; }
bool IsButtonArea(int area) { return area >= khtClose && area <= khtSysMenu; }

// The icon asked for by each button index.
constexpr TTeBorderIcon kIndexIcon[7] = {
    TTeBorderIcon::kbiClose, TTeBorderIcon::kbiSystemMenu, TTeBorderIcon::kbiMinimize, TTeBorderIcon::kbiMaximize,
    TTeBorderIcon::kbiHelp,  TTeBorderIcon::kbiRollup,     TTeBorderIcon::kbiTray,
};
// The frame-area code of each button index.
constexpr int kIndexArea[7] = {khtClose, khtSysMenu, khtMinimize, khtMaximize, khtHelp, khtRollUp, khtTray};

Qt::CursorShape CursorFor(int area) {
  switch (area) {
    case khtLeft:
    case khtRight: return Qt::SizeHorCursor;
    case khtTop:
    case khtBottom: return Qt::SizeVerCursor;
    case khtTopLeft:
    case khtBottomRight: return Qt::SizeFDiagCursor;
    case khtTopRight:
    case khtBottomLeft: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
  }
}

Qt::Edges EdgesOf(int area) {
  switch (area) {
    case khtLeft: return Qt::LeftEdge;
    case khtRight: return Qt::RightEdge;
    case khtTop: return Qt::TopEdge;
    case khtBottom: return Qt::BottomEdge;
    case khtTopLeft: return Qt::TopEdge | Qt::LeftEdge;
    case khtTopRight: return Qt::TopEdge | Qt::RightEdge;
    case khtBottomLeft: return Qt::BottomEdge | Qt::LeftEdge;
    case khtBottomRight: return Qt::BottomEdge | Qt::RightEdge;
    default: return {};
  }
}

}  // namespace

uint8_t WindowKindOf(TTeBorderStyle style) {
  switch (style) {
    case TTeBorderStyle::kbsStandard: return kwkSizeable;
    case TTeBorderStyle::kbsDialog: return kwkDialog;
    case TTeBorderStyle::kbsBorder: return kwkSingle;
    case TTeBorderStyle::kbsNone: return kwkNone;
    case TTeBorderStyle::kbsToolWindow: return kwkToolWindow;
  }
  return kwkSizeable;
}

uint16_t FormButtonsShown(TTeBorderStyle style, TTeBorderIcons icons, TTeWindowState state) {
  if (style == TTeBorderStyle::kbsNone || style == TTeBorderStyle::kbsBorder) return 0;
  uint16_t bits = uint16_t((1u << kWindowButtonCount) - 1);
  const auto drop = [&](std::initializer_list<int> buttons) {
    for (int b : buttons) bits &= uint16_t(~WindowButtonBit(b));
  };
  const auto has = [&](TTeBorderIcon icon) { return (icons & BorderIcon(icon)) != 0; };
  if (!has(TTeBorderIcon::kbiSystemMenu)) drop({kbiSysMenu});
  if (!has(TTeBorderIcon::kbiClose)) drop({kbiClose});
  if (!has(TTeBorderIcon::kbiMaximize)) drop({kbiMaximize, kbiRestore});
  if (!has(TTeBorderIcon::kbiMinimize)) drop({kbiMinimize, kbiRestoreMinimized});
  if (!has(TTeBorderIcon::kbiTray)) drop({kbiTray});
  if (!has(TTeBorderIcon::kbiRollup)) drop({kbiRollUp, kbiRollDown});
  if (!has(TTeBorderIcon::kbiHelp)) drop({kbiHelp});
  switch (state) {
    case kwsNormal: drop({kbiRestoreMinimized, kbiRestore, kbiRollDown}); break;
    case kwsMaximized: drop({kbiRestoreMinimized, kbiMaximize, kbiRollDown}); break;
    case kwsMinimized: drop({kbiMinimize, kbiRestore, kbiRollDown}); break;
    case kwsRollup: drop({kbiRestoreMinimized, kbiRollUp}); break;
    case kwsTray: break;
  }
  return bits;
}

// ---- TTeDefaultForm

TTeDefaultForm::TTeDefaultForm(QWidget* form) : TTeHook(form), form_(form), classic_(TteTheme::ThemeClass().Create()) {
  caption_ = form->windowTitle();
  form->setWindowFlag(Qt::FramelessWindowHint, true);
  form->setMouseTracking(true);
  hotTimer_.setInterval(400);
  connect(&hotTimer_, &QTimer::timeout, this, [this] { HotTimer(); });
  systemMenuTimer_.setSingleShot(true);
  connect(&systemMenuTimer_, &QTimer::timeout, this, [this] { RunButton(khtSysMenu); });
  SetHookedControl(form);
  ApplyFrame();
}

TTeDefaultForm::~TTeDefaultForm() {
  if (tray_) tray_->hide();
}

bool TTeDefaultForm::Wayland() const { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

TteTheme* TTeDefaultForm::FrameTheme() const { return classic_.get(); }

void TTeDefaultForm::SetBorderIcons(TTeBorderIcons icons) {
  if (borderIcons_ == icons) return;
  borderIcons_ = icons;
  ApplyFrame();
}

void TTeDefaultForm::SetBorderStyle(TTeBorderStyle style) {
  if (borderStyle_ == style) return;
  borderStyle_ = style;
  ApplyFrame();
}

void TTeDefaultForm::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  if (form_ && form_->windowTitle() != caption) form_->setWindowTitle(caption);
  if (form_) form_->update(GetCaptionRect().ToQRect());
  if (tray_) tray_->setToolTip(caption_.left(63));
}

void TTeDefaultForm::SetStayOnTop(bool on) {
  stayOnTop_ = on;
  // A window's flags changed through QWidget would hide it: change the native window's.
  if (form_ && form_->windowHandle()) form_->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, on);
  else if (form_) form_->setWindowFlag(Qt::WindowStaysOnTopHint, on);
}

void TTeDefaultForm::SetDisabledNCArea(bool on) {
  if (disabledNCArea_ == on) return;
  disabledNCArea_ = on;
  ApplyFrame();
}

void TTeDefaultForm::SetWindowState(TTeWindowState state) {
  if (form_ && form_->isVisible()) {
    ApplyState(state);
    return;
  }
  pending_ = state;
}

void TTeDefaultForm::SetClientMinimumSize(QSize size) {
  clientMinimum_ = size;
  ApplyFrame();
}

TteWindowInfo TTeDefaultForm::WindowInfoNow() const {
  const int w = form_ ? form_->width() : 0, h = form_ ? form_->height() : 0;
  TteWindowInfo info = WindowInfo({0, 0, w, h}, active_, FormButtonsShown(borderStyle_, borderIcons_, state_), caption_);
  info.DisabledNCArea = disabledNCArea_;
  return info;
}

uint8_t TTeDefaultForm::ButtonKind(int index) const {
  switch (index) {
    case 0: return kbiClose;
    case 1: return kbiSysMenu;
    case 2: return state_ == kwsMinimized ? kbiRestoreMinimized : kbiMinimize;
    case 3: return state_ == kwsMaximized ? kbiRestore : kbiMaximize;
    case 4: return kbiHelp;
    case 5: return state_ == kwsRollup ? kbiRollDown : kbiRollUp;
    case 6: return kbiTray;
    default: return kbiCustom1;
  }
}

TRect TTeDefaultForm::GetFrameClientRect() const {
  const TteWindowInfo info = WindowInfoNow();
  if (borderStyle_ == TTeBorderStyle::kbsNone) return info.Rect;
  return FrameTheme()->WindowContentRect(WindowKindOf(borderStyle_), info, FrameObject());
}

TRect TTeDefaultForm::GetCaptionRect() const {
  if (borderStyle_ == TTeBorderStyle::kbsNone || borderStyle_ == TTeBorderStyle::kbsBorder) return kNullRect;
  return FrameTheme()->WindowCaptionRect(WindowKindOf(borderStyle_), WindowInfoNow(), FrameObject());
}

TRect TTeDefaultForm::GetButtonRect(int index) const {
  if (index < 0 || index > 6 || !HasIcon(kIndexIcon[index])) return kNullRect;
  const TteWindowInfo info = WindowInfoNow();
  if (!(info.Buttons & WindowButtonBit(ButtonKind(index)))) return kNullRect;
  return FrameTheme()->WindowButtonRect(WindowKindOf(borderStyle_), info, ButtonKind(index), FrameObject());
}

QRect TTeDefaultForm::GetRollupRect() const {
  const TRect c = GetFrameClientRect();
  const int frameHeight = c.Top + (form_->height() - c.Bottom);
  return QRect(form_->pos(), QSize(form_->width(), frameHeight));
}

QRect TTeDefaultForm::GetMaximizedRect() const {
  // The window's own monitor; the whole of it when the window stays on top.
  QScreen* screen = form_->screen() ? form_->screen() : QGuiApplication::primaryScreen();
  if (!screen) return form_->geometry();
  return stayOnTop_ ? screen->geometry() : screen->availableGeometry();
}

QSize TTeDefaultForm::GetMaxTrackSize() const {
  QSize s = GetMaximizedRect().size();
  const QSize max = form_->maximumSize();
  return s.boundedTo(max);
}

QSize TTeDefaultForm::GetMinTrackSize() const {
  const TRect c = GetFrameClientRect();
  const int frameHeight = c.Top + (form_->height() - c.Bottom);
  QSize s(140, frameHeight);
  return s.expandedTo(form_->minimumSize());
}

TRect TTeDefaultForm::GetSizeGripRect() const { return kNullRect; }

int TTeDefaultForm::HitTest(int x, int y) const {
  const int w = form_->width(), h = form_->height();
  if (x < 0 || y < 0 || x >= w || y >= h) return 0;
  const TRect c = GetFrameClientRect();
  int area = 0;
  if (y < c.Top) area = khtCaption;
  constexpr int kOrder[] = {1, 0, 2, 3, 4, 5, 6};  // system icon, close, minimise, maximise, help, roll-up, tray
  for (int index : kOrder) {
    const TRect r = GetButtonRect(index);
    if (!r.IsEmpty() && r.Contains(x, y)) area = kIndexArea[index];
  }
  if (state_ == kwsNormal && !IsButtonArea(area)) {
    const TRect caption = GetCaptionRect();
    const int captionTop = caption.IsEmpty() ? c.Top : caption.Top;
    if (y < captionTop) area = x < kCornerZone ? khtTopLeft : x >= w - kCornerZone ? khtTopRight : khtTop;
    else if (y >= c.Bottom) area = x < kCornerZone ? khtBottomLeft : x >= w - kCornerZone ? khtBottomRight : khtBottom;
    else if (x < c.Left) area = y < kCornerZone ? khtTopLeft : y >= h - kCornerZone ? khtBottomLeft : khtLeft;
    else if (x >= c.Right) area = y < kCornerZone ? khtTopRight : y >= h - kCornerZone ? khtBottomRight : khtRight;
  }
  return area != 0 ? area : SizeGripHit(x, y);
}

int TTeDefaultForm::SizeGripHit(int x, int y) const {
  if (!dragging_.Sizeable) return 0;
  const TRect grip = GetSizeGripRect();
  if (!grip.IsEmpty() && grip.Contains(x, y)) return khtBottomRight;
  for (TTeStatusBar* bar : form_->findChildren<TTeStatusBar*>()) {
    if (!bar->isVisible() || !bar->SizeGripShown()) continue;
    const QRect g = bar->GetSizeGripRect().ToQRect().translated(bar->mapTo(form_, QPoint(0, 0)));
    if (g.contains(x, y)) return khtBottomRight;
  }
  return 0;
}

std::optional<QRegion> TTeDefaultForm::CreateRegion() const { return std::nullopt; }

void TTeDefaultForm::ApplyFrame() {
  if (!form_) return;
  const QMargins before = form_->contentsMargins();
  const TRect c = GetFrameClientRect();
  const QMargins after(c.Left, c.Top, std::max(0, form_->width() - c.Right), std::max(0, form_->height() - c.Bottom));
  form_->setContentsMargins(after);
  if (clientMinimum_.isValid() && state_ != kwsRollup)
    form_->setMinimumSize(clientMinimum_ + QSize(after.left() + after.right(), after.top() + after.bottom()));
  // The client area keeps its size when the frame grows or shrinks.
  if (before != after && state_ == kwsNormal)
    form_->resize(form_->size() + QSize(after.left() + after.right() - before.left() - before.right(),
                                        after.top() + after.bottom() - before.top() - before.bottom()));
  UpdateRegion();
  form_->update();
}

void TTeDefaultForm::UpdateRegion() {
  if (!form_) return;
  if (const std::optional<QRegion> region = CreateRegion(); region && !region->isEmpty()) form_->setMask(*region);
  else form_->clearMask();
  if (OnResize) OnResize(*this);
}

QImage TTeDefaultForm::IconImage() const {
  QIcon icon = form_->windowIcon();
  if (icon.isNull()) icon = QApplication::windowIcon();
  return icon.isNull() ? QImage() : icon.pixmap(16, 16).toImage();
}

void TTeDefaultForm::PaintFrame(TCanvas& canvas) {
  TteTheme* theme = FrameTheme();
  const uint8_t kind = WindowKindOf(borderStyle_);
  const QString object = FrameObject();
  TteWindowInfo info = WindowInfoNow();
  if (borderStyle_ == TTeBorderStyle::kbsNone) return;
  theme->PaintWindow(kind, canvas, info, object);
  const TRect caption = GetCaptionRect();
  if (!caption.IsEmpty()) {
    const TFont font = theme->Fonts().GetObjectFont(active_ ? kfCaptionTextNormal : kfCaptionTextInactive, object);
    info.Caption = QFontMetrics(font).elidedText(caption_, Qt::ElideRight, caption.Width());
    theme->PaintWindowCaption(kind, canvas, info, caption, object);
  }
  TteBitmap icon;
  if (const QImage image = IconImage(); !image.isNull()) icon.Assign(image);
  for (int index = 0; index < 7; ++index) {
    const TRect r = GetButtonRect(index);
    if (r.IsEmpty()) continue;
    const int area = kIndexArea[index];
    uint8_t state = kwbsNormal;
    if (pressed_ == area && hot_ == area) state = kwbsPressed;
    else if (hot_ == area && !dragging_now_) state = kwbsHot;
    else if (!active_) state = kwbsInactive;
    TteWindowButtonInfo b{r, ButtonKind(index), state, index == 1 ? &icon : nullptr};
    theme->PaintWindowButton(kind, canvas, b, object);
  }
  if (dragging_.Sizeable) PaintSizeGrip(canvas);
}

void TTeDefaultForm::PaintSizeGrip(TCanvas& canvas) {
  const TRect grip = GetSizeGripRect();
  if (!grip.IsEmpty()) FillRectColor(canvas, grip, GetSysColor(COLOR_BTNFACE));
}

void TTeDefaultForm::PaintClientBackground(TCanvas& canvas, const TRect& rect) {
  FrameTheme()->PaintWindowClient(WindowKindOf(borderStyle_), canvas, rect, FrameObject());
}

void TTeDefaultForm::PaintEvent(QPaintEvent* e) {
  const int w = form_->width(), h = form_->height();
  if (w <= 0 || h <= 0) return;
  const QRegion region = e->region() & QRect(0, 0, w, h);
  if (region.isEmpty()) return;
  // One frame-sized bitmap, kept while the size stays; only the parts Qt asks
  // for (usually the four frame strips) are painted and handed over.
  if (buffer_.Width() != w || buffer_.Height() != h) buffer_.SetSize(w, h);
  TCanvas& canvas = buffer_.Canvas();
  const TRect client = GetFrameClientRect();
  canvas.SetClipRegion(region - client.ToQRect());
  PaintFrame(canvas);
  canvas.SetClipRegion(region & client.ToQRect());
  PaintClientBackground(canvas, client);
  canvas.ResetClip();
  QPainter painter(form_);
  for (const QRect& r : region) DrawOpaque(painter, buffer_, r);
}

void TTeDefaultForm::Render(TTeFormRenderEvent* e) {
  if (!e->Surface) return;
  TCanvas& canvas = e->Surface->Canvas();
  const TPoint saved = canvas.Origin();
  const std::optional<QRegion> clip = canvas.SavedClip();
  canvas.SetOrigin({saved.X - e->Offset.x(), saved.Y - e->Offset.y()});
  const TRect client = GetFrameClientRect();
  canvas.SetClipRegion(QRegion(0, 0, form_->width(), form_->height()) - client.ToQRect());
  PaintFrame(canvas);
  canvas.SetClipRect(client);
  PaintClientBackground(canvas, client);
  canvas.RestoreClip(clip);
  canvas.SetOrigin(saved);
}

void TTeDefaultForm::SetHot(int area) {
  if (hot_ == area) return;
  hot_ = area;
  if (IsButtonArea(area)) hotTimer_.start();
  else hotTimer_.stop();
  if (form_) form_->update(0, 0, form_->width(), GetFrameClientRect().Top);
}

void TTeDefaultForm::HotTimer() {
  if (!form_ || dragging_now_) return;
  const QPoint p = form_->mapFromGlobal(QCursor::pos());
  SetHot(form_->rect().contains(p) ? HitTest(p.x(), p.y()) : 0);
}

void TTeDefaultForm::UpdateCursor(int area) {
  const bool sizing = IsEdge(area) && dragging_.Sizeable && state_ == kwsNormal;
  // The native window's cursor: the widget's own would pass on to its children.
  if (QWindow* window = form_->windowHandle()) window->setCursor(sizing ? CursorFor(area) : Qt::ArrowCursor);
}

void TTeDefaultForm::ApplyGeometry(const QRect& r) {
  if (!form_) return;
  form_->setGeometry(r);
}

bool TTeDefaultForm::MousePress(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  const int area = HitTest(p.x(), p.y());
  if (area == 0) return false;
  if (e->button() != Qt::LeftButton) return true;
  if (!active_) form_->activateWindow();
  pressed_ = area;
  hot_ = area;
  anchor_ = e->globalPosition().toPoint();
  startBounds_ = form_->geometry();
  form_->update(0, 0, form_->width(), GetFrameClientRect().Top);
  const bool move = area == khtCaption && dragging_.Moveable && state_ != kwsMaximized;
  const bool size = IsEdge(area) && area != khtCaption && dragging_.Sizeable && state_ == kwsNormal;
  if (!move && !size) return true;
  if (Wayland() && form_->windowHandle()) {
    // The compositor moves and sizes; no release follows the press.
    const bool started = move ? form_->windowHandle()->startSystemMove()
                              : form_->windowHandle()->startSystemResize(EdgesOf(area));
    if (started) {
      pressed_ = 0;
      return true;
    }
  }
  dragging_now_ = true;
  if (dragging_.DragMode == kfdmBorder) {
    outline_ = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
    outline_->setGeometry(startBounds_);
    outline_->show();
  }
  return true;
}

bool TTeDefaultForm::MouseMove(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (!dragging_now_) {
    const int area = HitTest(p.x(), p.y());
    SetHot(area);
    UpdateCursor(area);
    return area != 0;
  }
  const QPoint d = e->globalPosition().toPoint() - anchor_;
  QRect r = startBounds_;
  if (pressed_ == khtCaption) {
    r.translate(d);
  } else {
    const QSize minimum = GetMinTrackSize(), maximum = GetMaxTrackSize();
    const Qt::Edges edges = EdgesOf(pressed_);
    if (edges & Qt::LeftEdge) r.setLeft(std::clamp(r.left() + d.x(), r.right() + 1 - maximum.width(), r.right() + 1 - minimum.width()));
    if (edges & Qt::RightEdge) r.setRight(std::clamp(r.right() + d.x(), r.left() - 1 + minimum.width(), r.left() - 1 + maximum.width()));
    if (edges & Qt::TopEdge) r.setTop(std::clamp(r.top() + d.y(), r.bottom() + 1 - maximum.height(), r.bottom() + 1 - minimum.height()));
    if (edges & Qt::BottomEdge) r.setBottom(std::clamp(r.bottom() + d.y(), r.top() - 1 + minimum.height(), r.top() - 1 + maximum.height()));
  }
  if (outline_) outline_->setGeometry(r);
  else ApplyGeometry(r);
  return true;
}

bool TTeDefaultForm::MouseRelease(QMouseEvent* e) {
  const QPoint p = e->position().toPoint();
  if (e->button() == Qt::RightButton) {
    const int area = HitTest(p.x(), p.y());
    if (area == khtCaption) ShowSystemMenu(e->globalPosition().toPoint());
    return area != 0;
  }
  if (e->button() != Qt::LeftButton) return false;
  if (dragging_now_) {
    dragging_now_ = false;
    if (outline_) {
      const QRect r = outline_->geometry();
      outline_.reset();
      ApplyGeometry(r);
    }
    pressed_ = 0;
    form_->update();
    return true;
  }
  if (pressed_ == 0) return false;
  const int area = HitTest(p.x(), p.y());
  const int was = pressed_;
  pressed_ = 0;
  form_->update(0, 0, form_->width(), GetFrameClientRect().Top);
  // Released where it was pressed: the button acts, once the event is done.
  if (area == was && area == khtSysMenu)
    systemMenuTimer_.start(QApplication::doubleClickInterval());
  else if (area == was && IsButtonArea(area))
    QMetaObject::invokeMethod(this, [this, area] { RunButton(area); }, Qt::QueuedConnection);
  return true;
}

bool TTeDefaultForm::MouseDoubleClick(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return false;
  const QPoint p = e->position().toPoint();
  const int area = HitTest(p.x(), p.y());
  if (area == 0) return false;
  pressed_ = 0;
  if (area == khtCaption && HasIcon(TTeBorderIcon::kbiMaximize)) {
    QMetaObject::invokeMethod(this, [this] { state_ == kwsMinimized ? Restore() : Maximize(); }, Qt::QueuedConnection);
  } else if (area == khtSysMenu) {
    systemMenuTimer_.stop();
    // Through the form's own close, so that a busy window can refuse.
    QMetaObject::invokeMethod(this, [this] { Close(); }, Qt::QueuedConnection);
  }
  return true;
}

void TTeDefaultForm::RunButton(int area) {
  switch (area) {
    case khtClose: Close(); break;
    case khtHelp: Help(); break;
    case khtMinimize: Minimize(); break;
    case khtMaximize: Maximize(); break;
    case khtRollUp: Rollup(); break;
    case khtTray: MinimizeToTray(); break;
    case khtSysMenu: {
      const TRect r = GetButtonRect(1);
      ShowSystemMenu(form_->mapToGlobal(QPoint(r.Left, r.Bottom)));
      break;
    }
    default: break;
  }
}

// ---- commands

void TTeDefaultForm::Close() {
  bool allow = true;
  if (OnClose) OnClose(*this, allow);
  if (allow && form_) form_->close();
}

void TTeDefaultForm::Help() { QWhatsThis::enterWhatsThisMode(); }

void TTeDefaultForm::StartRollup() {
  minimumBeforeRollup_ = form_->minimumSize();
  if (QLayout* layout = form_->layout()) layout->setSizeConstraint(QLayout::SetNoConstraint);
  form_->setMinimumSize(0, 0);
}

void TTeDefaultForm::EndRollup() {
  if (QLayout* layout = form_->layout()) layout->setSizeConstraint(QLayout::SetDefaultConstraint);
  if (minimumBeforeRollup_.isValid()) form_->setMinimumSize(minimumBeforeRollup_);
}

void TTeDefaultForm::Maximize() {
  if (state_ == kwsMaximized) {
    Restore();
    return;
  }
  bool allow = true;
  if (OnMaximize) OnMaximize(*this, allow);
  if (!allow || !form_) return;
  if (state_ == kwsMinimized) form_->showNormal();
  if (state_ == kwsRollup) EndRollup();
  if (state_ == kwsNormal) normalBounds_ = form_->geometry();
  maximizedFrom_ = state_;
  prevState_ = state_;
  state_ = kwsMaximized;
  ApplyGeometry(GetMaximizedRect());
  ApplyFrame();
}

void TTeDefaultForm::Minimize() {
  if (state_ == kwsMinimized) {
    Restore();
    return;
  }
  if (form_ && form_->isModal() && !minimizeApplication_) return;
  bool allow = true;
  if (OnMinimize) OnMinimize(*this, allow);
  if (!allow || !form_) return;
  if (state_ == kwsNormal) normalBounds_ = form_->geometry();
  prevState_ = state_;
  state_ = kwsMinimized;
  if (minimizeApplication_) {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && w->isWindow() && w != form_ && !w->parentWidget()) w->showMinimized();
  }
  form_->showMinimized();
  ApplyFrame();
}

void TTeDefaultForm::Rollup() {
  if (state_ == kwsRollup) {
    Restore();
    return;
  }
  bool allow = true;
  if (OnRollup) OnRollup(*this, allow);
  if (!allow || !form_) return;
  if (state_ == kwsMinimized) form_->showNormal();
  if (state_ == kwsNormal) normalBounds_ = form_->geometry();
  prevState_ = state_;
  state_ = kwsRollup;
  StartRollup();
  ApplyGeometry(GetRollupRect());
  ApplyFrame();
}

void TTeDefaultForm::MinimizeToTray() {
  if (state_ == kwsTray) {
    Restore();
    return;
  }
  if (!form_ || form_->isModal()) return;
  TTeFormQueryTrayEvent query;
  QCoreApplication::sendEvent(form_, &query);
  if (query.Answer == 1) return;
  bool allow = true;
  if (OnMinToTray) OnMinToTray(*this, allow);
  if (!allow) return;
  // Without a tray to hold the icon the window would be out of reach.
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    Minimize();
    return;
  }
  if (state_ == kwsNormal) normalBounds_ = form_->geometry();
  prevState_ = state_;
  state_ = kwsTray;
  if (!tray_) {
    tray_ = std::make_unique<QSystemTrayIcon>();
    connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
      if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger) Restore();
      else if (reason == QSystemTrayIcon::Context) ShowSystemMenu(QCursor::pos());
    });
  }
  QIcon icon = form_->windowIcon();
  if (icon.isNull()) icon = QApplication::windowIcon();
  tray_->setIcon(icon);
  tray_->setToolTip((caption_.isEmpty() ? QApplication::applicationDisplayName() : caption_).left(63));
  tray_->show();
  form_->hide();
}

void TTeDefaultForm::RestoreTo(TTeWindowState target) {
  switch (target) {
    case kwsMaximized:
      state_ = kwsMaximized;
      prevState_ = maximizedFrom_ == kwsMaximized ? kwsNormal : maximizedFrom_;
      ApplyGeometry(GetMaximizedRect());
      break;
    case kwsRollup:
      state_ = kwsRollup;
      prevState_ = kwsNormal;
      if (normalBounds_.isValid()) ApplyGeometry(normalBounds_);
      StartRollup();
      ApplyGeometry(GetRollupRect());
      break;
    default:
      state_ = kwsNormal;
      prevState_ = kwsNormal;
      if (normalBounds_.isValid()) ApplyGeometry(normalBounds_);
      break;
  }
  ApplyFrame();
}

void TTeDefaultForm::Restore() {
  if (!form_) return;
  switch (state_) {
    case kwsNormal:
      return;
    case kwsMaximized:
      if (prevState_ == kwsMinimized && !minimizeApplication_) {
        state_ = kwsMinimized;
        form_->showMinimized();
        return;
      }
      RestoreTo(prevState_ == kwsRollup ? kwsRollup : kwsNormal);
      return;
    case kwsMinimized:
      form_->showNormal();
      RestoreTo(prevState_);
      return;
    case kwsRollup:
      EndRollup();
      if (prevState_ == kwsMaximized) {
        RestoreTo(kwsMaximized);
      } else {
        // At the normal size, where the rolled-up window now is.
        if (normalBounds_.isValid()) normalBounds_.moveTopLeft(form_->pos());
        RestoreTo(kwsNormal);
      }
      return;
    case kwsTray:
      if (tray_) tray_->hide();
      form_->show();
      form_->raise();
      form_->activateWindow();
      RestoreTo(prevState_);
      return;
  }
}

void TTeDefaultForm::ApplyState(int state) {
  if (applyingState_) return;
  applyingState_ = true;
  switch (state) {
    case 1: if (state_ != kwsMaximized) Maximize(); break;
    case 2: if (state_ != kwsMinimized) Minimize(); break;
    case 3: if (state_ != kwsRollup) Rollup(); break;
    case 4: if (state_ != kwsTray) MinimizeToTray(); break;
    default: break;
  }
  applyingState_ = false;
}

// ---- system menu

std::unique_ptr<QMenu> TTeDefaultForm::BuildSystemMenu() {
  auto menu = std::make_unique<QMenu>();
  const auto add = [&](const QString& text, void (TTeDefaultForm::*command)()) {
    QAction* a = menu->addAction(text);
    // The command runs after the menu has closed.
    connect(a, &QAction::triggered, this, [this, command] { (this->*command)(); }, Qt::QueuedConnection);
    return a;
  };
  const bool inTray = state_ == kwsTray, minimized = state_ == kwsMinimized;
  if (state_ != kwsNormal) add(QStringLiteral("&Restore"), &TTeDefaultForm::Restore);
  if (HasIcon(TTeBorderIcon::kbiMinimize) && !minimized && !inTray)
    add(QStringLiteral("Mi&nimize"), &TTeDefaultForm::Minimize);
  if (HasIcon(TTeBorderIcon::kbiMaximize) && (state_ == kwsNormal || state_ == kwsRollup))
    add(QStringLiteral("Ma&ximize"), &TTeDefaultForm::Maximize);
  if (HasIcon(TTeBorderIcon::kbiRollup) && (state_ == kwsNormal || state_ == kwsMaximized))
    add(QStringLiteral("Ro&llup"), &TTeDefaultForm::Rollup);
  if (HasIcon(TTeBorderIcon::kbiTray) && !minimized && !inTray)
    add(QStringLiteral("Minimize to &Tray"), &TTeDefaultForm::MinimizeToTray);
  if (HasIcon(TTeBorderIcon::kbiClose)) {
    if (!menu->isEmpty()) menu->addSeparator();
    QAction* close = add(QStringLiteral("&Close"), &TTeDefaultForm::Close);
    close->setShortcut(QKeySequence(QStringLiteral("Alt+F4")));
    close->setShortcutVisibleInContextMenu(true);
  }
  if (OnSystemMenu) OnSystemMenu(*menu);
  return menu;
}

void TTeDefaultForm::ShowSystemMenu(QPoint global) {
  std::unique_ptr<QMenu> menu = BuildSystemMenu();
  menu->exec(global);
}

// ---- events

void TTeDefaultForm::HandleMessage(QEvent* event) {
  if (!form_) return;
  switch (event->type()) {
    case QEvent::Paint:
      PaintEvent(static_cast<QPaintEvent*>(event));
      Handled();
      break;
    case QEvent::Resize:
      ApplyFrame();
      break;
    case QEvent::MouseButtonPress:
      if (MousePress(static_cast<QMouseEvent*>(event))) Handled();
      break;
    case QEvent::MouseMove:
      if (MouseMove(static_cast<QMouseEvent*>(event))) Handled();
      break;
    case QEvent::MouseButtonRelease:
      if (MouseRelease(static_cast<QMouseEvent*>(event))) Handled();
      break;
    case QEvent::MouseButtonDblClick:
      if (MouseDoubleClick(static_cast<QMouseEvent*>(event))) Handled();
      break;
    case QEvent::Leave:
      if (!dragging_now_) SetHot(0);
      break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
      active_ = event->type() == QEvent::WindowActivate;
      form_->update(QRegion(form_->rect()) - GetFrameClientRect().ToQRect());
      break;
    case QEvent::WindowTitleChange:
      SetCaption(form_->windowTitle());
      break;
    case QEvent::WindowIconChange:
      form_->update(GetButtonRect(1).ToQRect());
      break;
    case QEvent::WindowStateChange:
      // Brought back by the desktop (a taskbar, a pager) rather than by the frame.
      if (state_ == kwsMinimized && !(form_->windowState() & Qt::WindowMinimized) && !applyingState_)
        RestoreTo(prevState_);
      break;
    case QEvent::Show:
      if (dragging_.DragMode == kfdmSystemSettings) dragging_.DragMode = kfdmFullDrag;
      if (stayOnTop_) SetStayOnTop(true);
      if (pending_) {
        QCoreApplication::postEvent(form_, new TTeFormStateEvent(int(*pending_)));
        pending_.reset();
      }
      break;
    default:
      if (event->type() == kFormRestoreCaptionEvent) {
        form_->update(0, 0, form_->width(), GetFrameClientRect().Top);
        Handled();
      } else if (event->type() == kFormMaximizeEvent) {
        Maximize();
        Handled();
      } else if (event->type() == kFormApplyStateEvent) {
        ApplyState(static_cast<TTeFormStateEvent*>(event)->State);
        Handled();
      } else if (event->type() == kFormRenderEvent) {
        Render(static_cast<TTeFormRenderEvent*>(event));
        Handled();
      } else if (event->type() == kFormTrayEvent) {
        Restore();
        Handled();
      }
      break;
  }
}

// ---- TTeForm

TTeForm::TTeForm(QWidget* form) : TTeDefaultForm(form) {
  ThemeManager().AddThemeClient(this);
  ApplyFrame();
}

TTeForm::~TTeForm() { ThemeManager().RemoveThemeClient(this); }

void TTeForm::SetThemeLink(TteCustomThemeLink* link) {
  if (link_ == link) return;
  link_ = link;
  ApplyFrame();
}

void TTeForm::SetThemeObject(const QString& name) {
  if (object_ == name) return;
  object_ = name;
  ApplyFrame();
}

bool TTeForm::Themed() const { return ThemeHasWindow(WindowKindOf(BorderStyle()), object_, link_); }

TteTheme* TTeForm::FrameTheme() const {
  if (Themed())
    if (TteTheme* theme = GetLinkTheme(link_)) return theme;
  return TTeDefaultForm::FrameTheme();
}

void TTeForm::ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) {
  if (message == kThemeLinkChangeMessage) {
    if (reinterpret_cast<const TteCustomThemeLink*>(lParam) == link_) ApplyFrame();
    return;
  }
  switch (int(wParam)) {
    case ktcReplaced:
    case ktcBecameCurrent:
    case ktcRemoved:
      ApplyFrame();
      if (WindowState() == kwsMaximized && Form()) Form()->setGeometry(GetMaximizedRect());
      break;
    case ktcLookChanged:
      if (Form()) Form()->update();
      QMetaObject::invokeMethod(this, [this] { ApplyFrame(); }, Qt::QueuedConnection);
      break;
    default:
      break;
  }
}

std::optional<QRegion> TTeForm::CreateRegion() const {
  if (!Themed() || !Form()) return std::nullopt;
  return FrameTheme()->GetWindowRegion(WindowKindOf(BorderStyle()), {0, 0, Form()->width(), Form()->height()},
                                       ThemeObject());
}

int TTeForm::HitTest(int x, int y) const {
  if (!Themed()) return TTeDefaultForm::HitTest(x, y);
  if (!Form() || x < 0 || y < 0 || x >= Form()->width() || y >= Form()->height()) return 0;
  const int area = FrameTheme()->WindowHitTest(WindowKindOf(BorderStyle()), WindowInfoNow(), x, y, ThemeObject());
  return area != 0 ? area : SizeGripHit(x, y);
}
