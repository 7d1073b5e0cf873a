// The paint pipeline and theme contract every skinned control shares, whatever its Qt
// base: TTeControlBase is a plain class beside the QWidget (see TTeSkinned) that owns
// the control's skin state and does the painting, framing and theme bookkeeping.
#pragma once

#include <QEvent>
#include <QPointer>
#include <QScrollBar>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "canvas.h"
#include "rect.h"
#include "te_bitmap.h"
#include "theme_manager.h"

class QPaintEvent;

class QWidget;

enum TTePerformance : uint8_t { kspNoBuffer = 0, kspSharedBuffer = 1, kspDoubleBuffer = 2 };

enum TTeBevelCut : uint8_t {
  kbvNone = 0, kbvLowered = 1, kbvRaised = 2, kbvSpace = 3, kbvBorder = 4, kbvFlatBorder = 5,
};
enum TTeBevelSide : uint8_t { kbsLeft = 1u << 0, kbsTop = 1u << 1, kbsRight = 1u << 2, kbsBottom = 1u << 3 };
using TTeBevelSides = uint8_t;
inline constexpr TTeBevelSides kbsAllSides = kbsLeft | kbsTop | kbsRight | kbsBottom;
enum TTeBevelKind : uint8_t {
  kbkNone = 0, kbkSingle = 1, kbkTile = 2, kbkSoft = 3, kbkBorder = 4, kbkFlat = 5,
};
// Scroll-bar mode: which of the optional pair a control shows.
enum TTeScrollBars : uint8_t { ksbNone = 0, ksbHorizontal = 1, ksbVertical = 2, ksbBoth = 3 };

// Theme notifications reach a control as events of these types (the message number
// above QEvent::User). Code 3 at registration is posted, every other one sent.
inline const QEvent::Type kThemeChangeEvent = QEvent::Type(QEvent::User + kThemeChangeMessage);
inline const QEvent::Type kThemeLinkChangeEvent = QEvent::Type(QEvent::User + kThemeLinkChangeMessage);

class TTeThemeEvent : public QEvent {
 public:
  TTeThemeEvent(Type type, intptr_t wParam, intptr_t lParam)
      : QEvent(type), WParam(wParam), LParam(lParam) {}
  // For kThemeChangeEvent the code (TteThemeChange); for the link event the link.
  intptr_t WParam;
  intptr_t LParam;
  int Code() const { return int(WParam); }
  const TteCustomThemeLink* Link() const { return reinterpret_cast<const TteCustomThemeLink*>(LParam); }
};

// Where a control goes when the theme names bounds for its object: the answer applies
// when it has a positive size; a negative left or top keeps the current one, and a
// side that would end up reversed keeps the current right or bottom edge.
std::optional<TRect> ObjectBoundsRect(const TRect& current, const TRect& bounds);

// The rectangle inside border and bevels of a w x h control.
struct TTeFrameGeometry {
  int BorderWidth = 0;
  TTeBevelCut BevelInner = kbvLowered;
  TTeBevelCut BevelOuter = kbvLowered;
  TTeBevelSides BevelSides = kbsAllSides;
  int BevelWidth = 0;
};
TRect FrameClientRect(const TTeFrameGeometry& frame, int width, int height);
// The bevels as nested rings on the sides in BevelSides, then BorderWidth frames in color.
void PaintBevelFrame(TCanvas& canvas, const TTeFrameGeometry& frame, const TRect& bounds,
                     TColor color);
// Text in the classic look, in the canvas's font: when disabled, embossed (the
// highlight one pixel down-right, then the shadow colour on top).
void DrawClassicText(TCanvas& canvas, const QString& text, const TRect& r, uint32_t flags, bool enabled);

// The one process-wide surface of kspSharedBuffer. It starts at the screen size plus
// 500 each way, grows when a larger control paints through it, and gives its pixels
// back when the last control is gone.
class TTeSharedPaintSurface {
 public:
  static TTeSharedPaintSurface& Instance();
  // The surface, at least width x height.
  TteBitmap& Acquire(int width, int height);
  const TteBitmap& Bitmap() const { return bitmap_; }
  void AddUser() { ++users_; }
  void RemoveUser();
  int Users() const { return users_; }

 private:
  TteBitmap bitmap_;
  int users_ = 0;
};

// What a background painter is told: the control's bounds in its parent (twice, as
// the original record), the control and the parent.
struct TTeBackgroundPaintInfo {
  TRect ControlRect;
  TRect ClipRect;
  QWidget* Control = nullptr;
  QWidget* Parent = nullptr;
};
// Paints what a parent of some class shows under a child, on a canvas whose origin is
// already shifted so that parent coordinates apply.
// Hands the rectangle r of a finished bitmap to Qt: its alpha bytes there are
// set to 255 and it is drawn as an opaque RGB32 view of the bitmap's memory.
void DrawOpaque(QPainter& painter, TteBitmap& bitmap, const QRect& r);

using TTeBackgroundPainter = std::function<void(TCanvas& canvas, const TTeBackgroundPaintInfo& info)>;
// Parents that are instances of cls get painter; the most derived registered class
// wins, and of two registrations of one class the earlier.
void RegisterBackgroundPainter(const QMetaObject* cls, TTeBackgroundPainter painter);
void UnregisterBackgroundPainter(const QMetaObject* cls);
// Fills target (in the control's coordinates) with what the parent shows under the
// control: a skinned parent paints its frame and background, a registered painter
// paints for its class, any other parent is rendered without its children.
void DrawParentBackground(QWidget* control, TCanvas& target);

// The skin half of a control. The widget half is the Qt class (QWidget, QPushButton,
// QCheckBox, ...); TTeSkinned<QtBase> joins them and routes Qt's events here.
class TTeControlBase : public TteThemeClient {
 public:
  // self is the widget this control is; it must outlive this object (it does: the
  // widget is the other base of the same TTeSkinned object).
  explicit TTeControlBase(QWidget* self);
  ~TTeControlBase() override;
  TTeControlBase(const TTeControlBase&) = delete;
  TTeControlBase& operator=(const TTeControlBase&) = delete;

  QWidget* Widget() const { return self_; }

  TTePerformance Performance() const { return performance_; }
  void SetPerformance(TTePerformance performance);
  bool Focused() const { return focused_; }
  bool MouseIn() const { return mouseIn_; }

  // Background and frame colour; the button face by default.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  // The colour text is drawn in when no theme gives one (the control's Font colour).
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor color);
  // A copy of the font taken at the start of every paint; content is drawn with it.
  const TFont& PaintFont() const { return paintFont_; }

  // ---- theme contract
  const QString& ThemeObject() const { return themeObject_; }
  void SetThemeObject(const QString& name);
  TteCustomThemeLink* ThemeLink() const { return themeLink_; }
  void SetThemeLink(TteCustomThemeLink* link);
  // The link's theme when it has one, otherwise the current theme (may be null).
  TteTheme* Theme() const { return GetLinkTheme(themeLink_); }
  // Moves and sizes the control to the theme's bounds for ThemeObject; otherwise
  // only invalidates when asked to.
  void ApplyObjectBounds(bool invalidate);

  // ---- frame
  const TTeFrameGeometry& Frame() const { return frame_; }
  int BorderWidth() const { return frame_.BorderWidth; }
  TTeBevelCut BevelInner() const { return frame_.BevelInner; }
  TTeBevelCut BevelOuter() const { return frame_.BevelOuter; }
  TTeBevelSides BevelSides() const { return frame_.BevelSides; }
  TTeBevelKind BevelKind() const { return bevelKind_; }
  int BevelWidth() const { return frame_.BevelWidth; }
  void SetBorderWidth(int width);
  // Setting a cut directly drops BevelKind back to kbkNone.
  void SetBevelInner(TTeBevelCut cut);
  void SetBevelOuter(TTeBevelCut cut);
  void SetBevelSides(TTeBevelSides sides);
  // A kind other than kbkNone sets both cuts from it.
  void SetBevelKind(TTeBevelKind kind);
  void SetBevelWidth(int width);

  // ---- scroll bars
  TTeScrollBars ScrollBars() const { return scrollBars_; }
  // Frees the bars and makes the ones the mode asks for through CreateScrollBar.
  void SetScrollBars(TTeScrollBars mode);
  QScrollBar* HorzScrollBar() const { return horz_; }
  QScrollBar* VertScrollBar() const { return vert_; }
  // While set, scroll-bar actions are not forwarded to ScrollMessage.
  bool ScrollLock = false;
  // The frame client rectangle less the bars.
  TRect ClientRect() const;

  std::function<void(QWidget& sender)> OnMouseEnter;
  std::function<void(QWidget& sender)> OnMouseLeave;

  // ---- overridable, in the original slot order
  virtual void PaintFrame(TCanvas& canvas);
  virtual void PaintBackground(TCanvas& canvas);
  virtual TRect GetFrameClientRect() const;
  virtual QScrollBar* CreateScrollBar(Qt::Orientation orientation);
  virtual int GetScrollBarSize() const;
  virtual void FrameChanged() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual void FocusEnter();
  virtual void FocusLeave();
  // Reactions to the theme notifications: codes 0 and 3 invalidate and apply the
  // object bounds, 4 and 5 invalidate, 1 and 2 are ignored.
  virtual void ThemeChanged(int code, intptr_t lParam);
  // The own link's theme changed: apply the object bounds and invalidate.
  virtual void ThemeLinkChanged();
  // A bar's action as the standard scroll code (0 line up .. 8 end scroll) and position.
  virtual void ScrollMessage(Qt::Orientation, int /*code*/, int /*position*/) {}

  // ---- the pipeline, called by TTeSkinned
  // Paints the whole control through the buffering mode and hands Qt the pixels once.
  void PaintWidget(QPaintEvent* event);
  // Frame and background into a surface a child asked its background from.
  void PaintEraseBackground(TCanvas& canvas);
  // Qt's events for the skin: enter/leave, focus, hide, resize and the theme events.
  // base runs the Qt class's own handling.
  bool Dispatch(QEvent* event, const std::function<bool(QEvent*)>& base);

  // TteThemeClient
  void ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override;
  bool IsControl() const override { return true; }
  bool IsVisible() const override;

 protected:
  // What the pipeline draws once the target is chosen: the frame (clipped to outside
  // the client), then the background. A windowless control replaces it.
  virtual void PaintContent(TCanvas& canvas);
  void FrameSettingChanged();
  void PlaceScrollBars();

 private:
  QWidget* self_;
  TTePerformance performance_ = kspNoBuffer;
  bool focused_ = false;
  bool mouseIn_ = false;
  bool registering_ = false;
  TColor color_;
  TColor fontColor_;
  TFont paintFont_;
  QString themeObject_ = QStringLiteral("default");
  TteCustomThemeLink* themeLink_ = nullptr;
  TTeFrameGeometry frame_;
  TTeBevelKind bevelKind_ = kbkNone;
  TTeScrollBars scrollBars_ = ksbNone;
  QPointer<QScrollBar> horz_;
  QPointer<QScrollBar> vert_;
};

// A Qt widget class joined with the skin: Qt's events go through the control base,
// painting goes through its pipeline.
template <class QtBase>
class TTeSkinned : public QtBase, public TTeControlBase {
 public:
  explicit TTeSkinned(QWidget* parent = nullptr) : QtBase(parent), TTeControlBase(this) {}

 protected:
  bool event(QEvent* e) override {
    return Dispatch(e, [this](QEvent* ev) { return QtBase::event(ev); });
  }
  void paintEvent(QPaintEvent* e) override { PaintWidget(e); }
};
