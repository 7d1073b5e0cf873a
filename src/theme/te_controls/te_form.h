// The skinned window frame. A frameless top-level widget keeps its ordinary
// client area; TTeDefaultForm, a hook on it, measures and paints the border,
// caption, caption buttons and system icon, answers where the pointer is on the
// frame, moves and sizes the window itself, and runs maximise, minimise,
// roll-up, minimise-to-tray, stay-on-top and the system menu. TTeForm asks the
// theme in force for all of it when the theme has a window; otherwise, and in
// the base, the frame has the classic look.
#pragma once

#include <QMenu>
#include <QPointer>
#include <QRubberBand>
#include <QSystemTrayIcon>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "te_bitmap.h"
#include "te_control_base.h"
#include "te_form_options.h"
#include "te_hooks.h"

class TteTheme;

// Which caption buttons a form offers, by bit (1 << icon).
enum class TTeBorderIcon : uint8_t {
  kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiHelp, kbiRollup, kbiTray, kbiTop, kbiCustom,
};
using TTeBorderIcons = uint16_t;
constexpr TTeBorderIcons BorderIcon(TTeBorderIcon icon) { return TTeBorderIcons(1u << unsigned(icon)); }
inline constexpr TTeBorderIcons kDefaultBorderIcons =
    BorderIcon(TTeBorderIcon::kbiClose) | BorderIcon(TTeBorderIcon::kbiSystemMenu) |
    BorderIcon(TTeBorderIcon::kbiMinimize) | BorderIcon(TTeBorderIcon::kbiMaximize) |
    BorderIcon(TTeBorderIcon::kbiRollup) | BorderIcon(TTeBorderIcon::kbiTray);

enum class TTeBorderStyle : uint8_t { kbsNone, kbsBorder, kbsStandard, kbsDialog, kbsToolWindow };
enum TTeWindowState : uint8_t { kwsNormal = 0, kwsMaximized = 1, kwsMinimized = 2, kwsRollup = 3, kwsTray = 4 };
enum TTeFormPerformance : uint8_t {
  ksfpNoBuffer = 0, ksfpSharedBuffer = 1, ksfpPersistentBuffer = 2, ksfpDoubleBuffer = 3,
};

// The window kind the theme is asked about for a border style.
uint8_t WindowKindOf(TTeBorderStyle style);
// The caption buttons shown (bits of the theme's window buttons) for a border
// style, the icons asked for and the window state.
uint16_t FormButtonsShown(TTeBorderStyle style, TTeBorderIcons icons, TTeWindowState state);

// The frame's own messages, as events sent or posted to the form.
inline const QEvent::Type kFormTrayEvent = QEvent::Type(QEvent::User + 0x56C);
inline const QEvent::Type kFormRestoreCaptionEvent = QEvent::Type(QEvent::User + 0x56D);
inline const QEvent::Type kFormMaximizeEvent = QEvent::Type(QEvent::User + 0x56E);
inline const QEvent::Type kFormApplyStateEvent = QEvent::Type(QEvent::User + 0x56F);
inline const QEvent::Type kFormQueryTrayEvent = QEvent::Type(QEvent::User + 0x4514);
inline const QEvent::Type kFormRenderEvent = QEvent::Type(QEvent::User + 0xB1C8);

// 0x56F: apply a pending window state (1 maximise, 2 minimise, 3 roll up, 4 to tray).
class TTeFormStateEvent : public QEvent {
 public:
  explicit TTeFormStateEvent(int state) : QEvent(kFormApplyStateEvent), State(state) {}
  int State;
};
// 0x4514, sent to the form before it goes to the tray: an answer of 1 vetoes.
class TTeFormQueryTrayEvent : public QEvent {
 public:
  TTeFormQueryTrayEvent() : QEvent(kFormQueryTrayEvent) {}
  int Answer = 0;
};
// 0xB1C8: paint the frame and then the client background into a surface, the
// form's (0, 0) at Offset.
class TTeFormRenderEvent : public QEvent {
 public:
  TTeFormRenderEvent(TteBitmap* surface, QPoint offset) : QEvent(kFormRenderEvent), Surface(surface), Offset(offset) {}
  TteBitmap* Surface;
  QPoint Offset;
};

class TTeDefaultForm : public TTeHook {
  Q_OBJECT
 public:
  // Hooks the form, which becomes frameless; its contents margins are the frame.
  explicit TTeDefaultForm(QWidget* form);
  ~TTeDefaultForm() override;

  QWidget* Form() const { return form_; }

  TTeAnimation& Animation() { return animation_; }
  TTeBlending& Blending() { return blending_; }
  TTeShadow& Shadow() { return shadow_; }
  TTeGravitation& Gravitation() { return gravitation_; }
  TTeDragging& Dragging() { return dragging_; }
  TTePopupMenuOptions& SystemMenuOptions() { return systemMenuOptions_; }
  TTePopupMenuOptions& TrayMenuOptions() { return trayMenuOptions_; }

  TTeBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TTeBorderIcons icons);
  bool HasIcon(TTeBorderIcon icon) const { return (borderIcons_ & BorderIcon(icon)) != 0; }
  TTeBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TTeBorderStyle style);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  bool MinimizeApplication() const { return minimizeApplication_; }
  void SetMinimizeApplication(bool on) { minimizeApplication_ = on; }
  TTeFormPerformance Performance() const { return performance_; }
  void SetPerformance(TTeFormPerformance performance) { performance_ = performance; }
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool on);
  bool StretchBackground() const { return stretchBackground_; }
  void SetStretchBackground(bool on) { stretchBackground_ = on; }
  bool DisabledNCArea() const { return disabledNCArea_; }
  void SetDisabledNCArea(bool on);
  TTeWindowState WindowState() const { return state_; }
  // Before the form is shown: the state it is shown in (applied once shown).
  void SetWindowState(TTeWindowState state);
  // The smallest client area the form may have (the frame is added to it).
  QSize ClientMinimumSize() const { return clientMinimum_; }
  void SetClientMinimumSize(QSize size);

  // Called before an action; clearing allow cancels it.
  using TActionEvent = std::function<void(TTeDefaultForm& sender, bool& allow)>;
  TActionEvent OnClose, OnMinimize, OnMaximize, OnRollup, OnMinToTray;
  std::function<void(TTeDefaultForm& sender)> OnResize;
  // Lets the owner add entries of its own to the system menu as it opens.
  std::function<void(QMenu& menu)> OnSystemMenu;

  // Window commands.
  void Close();
  void Restore();
  void Maximize();  // a toggle: on a maximised window it restores
  void Minimize();
  void Rollup();          // toggle
  void MinimizeToTray();  // toggle
  void Help();
  // Opens the system menu with its top-left at the global point.
  void ShowSystemMenu(QPoint global);
  // The system menu as it would open now (for tests); the caller owns it.
  std::unique_ptr<QMenu> BuildSystemMenu();

  // Geometry, in form coordinates.
  virtual TRect GetFrameClientRect() const;
  // Button index: 0 close, 1 system icon, 2 minimise, 3 maximise, 4 help, 5 roll-up, 6 tray.
  virtual TRect GetButtonRect(int index) const;
  virtual TRect GetCaptionRect() const;
  virtual QRect GetRollupRect() const;
  virtual QRect GetMaximizedRect() const;
  virtual QSize GetMaxTrackSize() const;
  virtual QSize GetMinTrackSize() const;
  virtual TRect GetSizeGripRect() const;
  // The frame-area code at a form point (0 client .. 17 system icon).
  virtual int HitTest(int x, int y) const;
  virtual std::optional<QRegion> CreateRegion() const;
  virtual void PaintFrame(TCanvas& canvas);
  virtual void PaintClientBackground(TCanvas& canvas, const TRect& rect);
  virtual void PaintSizeGrip(TCanvas& canvas);

  // Re-measures the frame, re-shapes the window and repaints the frame.
  void ApplyFrame();
  void UpdateRegion();
  int HotArea() const { return hot_; }
  int PressedArea() const { return pressed_; }
  bool FormActive() const { return active_; }
  QSystemTrayIcon* TrayIcon() const { return tray_.get(); }
  // The bounds the window returns to from maximised, rolled up or minimised.
  QRect NormalBounds() const { return normalBounds_; }
  TTeWindowState PreviousState() const { return prevState_; }

 protected:
  void HandleMessage(QEvent* event) override;
  // The theme that measures and paints the frame; the classic look's when none has a window.
  virtual TteTheme* FrameTheme() const;
  virtual QString FrameObject() const { return QStringLiteral("default"); }
  TteWindowInfo WindowInfoNow() const;
  // Caption-button kind for a button index in the current state.
  uint8_t ButtonKind(int index) const;
  QImage IconImage() const;
  // The bottom-right corner where a size grip (the frame's or a status bar's) is.
  int SizeGripHit(int x, int y) const;

 private:
  bool MousePress(QMouseEvent* e);
  bool MouseMove(QMouseEvent* e);
  bool MouseRelease(QMouseEvent* e);
  bool MouseDoubleClick(QMouseEvent* e);
  void SetHot(int area);
  void UpdateCursor(int area);
  void PaintEvent(QPaintEvent* e);
  void Render(TTeFormRenderEvent* e);
  void RunButton(int area);
  void ApplyGeometry(const QRect& r);
  void ApplyState(int state);
  void StartRollup();
  void EndRollup();
  void RestoreTo(TTeWindowState state);
  void HotTimer();
  bool Wayland() const;

  QPointer<QWidget> form_;
  TTeAnimation animation_;
  TTeBlending blending_;
  TTeShadow shadow_;
  TTeGravitation gravitation_;
  TTeDragging dragging_;
  TTePopupMenuOptions systemMenuOptions_, trayMenuOptions_;
  TTeBorderIcons borderIcons_ = kDefaultBorderIcons;
  TTeBorderStyle borderStyle_ = TTeBorderStyle::kbsStandard;
  QString caption_;
  bool minimizeApplication_ = true;
  TTeFormPerformance performance_ = ksfpNoBuffer;
  bool stayOnTop_ = false;
  bool stretchBackground_ = false;
  bool disabledNCArea_ = false;
  QSize clientMinimum_;

  TTeWindowState state_ = kwsNormal;
  TTeWindowState prevState_ = kwsNormal;
  TTeWindowState maximizedFrom_ = kwsNormal;  // what a maximised window restores to
  std::optional<TTeWindowState> pending_;
  bool applyingState_ = false;
  QRect normalBounds_;
  QSize minimumBeforeRollup_;
  bool active_ = false;
  int hot_ = 0;
  int pressed_ = 0;
  bool dragging_now_ = false;
  QPoint anchor_;     // global position of the press
  QRect startBounds_;  // the window's bounds at the press
  std::unique_ptr<QRubberBand> outline_;
  QTimer hotTimer_;
  // A click on the system icon opens the menu once it is clear that no
  // double-click (which closes) follows.
  QTimer systemMenuTimer_;
  std::unique_ptr<QSystemTrayIcon> tray_;
  std::unique_ptr<TteTheme> classic_;
  TteBitmap buffer_;
};

class TTeForm : public TTeDefaultForm, public TteThemeClient {
  Q_OBJECT
 public:
  explicit TTeForm(QWidget* form);
  ~TTeForm() override;

  TteCustomThemeLink* ThemeLink() const { return link_; }
  void SetThemeLink(TteCustomThemeLink* link);
  QString ThemeObject() const { return object_; }
  void SetThemeObject(const QString& name);
  // Whether the theme in force paints this frame (else the classic look does).
  bool Themed() const;

  void ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override;
  int HitTest(int x, int y) const override;
  std::optional<QRegion> CreateRegion() const override;

 protected:
  TteTheme* FrameTheme() const override;
  QString FrameObject() const override { return object_; }

 private:
  TteCustomThemeLink* link_ = nullptr;
  QString object_ = QStringLiteral("default");
};
