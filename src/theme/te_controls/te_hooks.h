// Hooks: a component that sees every event of a widget it does not own before (and
// after) the widget does, as the skinned form frame does with its window. One
// TControlHook per widget is an event filter that offers each event to the hooks
// attached to it; THookList owns the control hooks.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <vector>

class TControlHook;

class TTeHook : public QObject {
  Q_OBJECT
 public:
  explicit TTeHook(QObject* owner = nullptr);
  ~TTeHook() override;

  bool Active() const { return active_; }
  void SetActive(bool active);
  QWidget* HookedControl() const { return control_; }
  // The hooked control when it is a window, else null.
  QWidget* HookedForm() const;
  WId HookedHandle() const;

  // Marks the event being offered as handled: the control does not see it and later
  // hooks are not asked.
  void Handled() { handled_ = true; }

  // In the original slot order. BeforeMessage hands the event to HandleMessage with
  // the handled flag preset from the caller's and copies it back.
  virtual void AfterMessage(QEvent* event, bool& handled);
  virtual void BeforeMessage(QEvent* event, bool& handled);
  // The control's events no longer come through this hook.
  virtual void Unhooked() {}

 protected:
  // Changing the control re-attaches an active hook to the new one.
  void SetHookedControl(QWidget* control);
  // The hook's own handlers; call Handled() to consume the event.
  virtual void HandleMessage(QEvent*) {}

 private:
  void Attach();
  void Detach();
  bool active_ = true;
  bool handled_ = false;
  QPointer<QWidget> control_;
};

// The event filter on one control, shared by every hook of that control.
class TControlHook : public QObject {
  Q_OBJECT
 public:
  explicit TControlHook(QWidget* control, uint64_t serial);
  ~TControlHook() override;

  QWidget* Control() const { return control_; }
  uint64_t Serial() const { return serial_; }
  bool HasHooks() const { return !hooks_.empty(); }
  bool Installed() const { return installed_; }
  void AddHook(TTeHook* hook);
  // Restores the control's own event flow when the last hook leaves.
  void RemoveHook(TTeHook* hook);

 protected:
  // Offers the event to the hooks, most recent first, until one handles it; unless
  // handled the control processes it here (so that the hooks can see the result),
  // then every hook gets AfterMessage in the same order. A hook that throws goes to
  // the application's error handler and the others still run.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Install();
  void Restore();
  QPointer<QWidget> control_;
  uint64_t serial_;
  std::vector<TTeHook*> hooks_;
  bool installed_ = false;
};

class THookList : public QObject {
  Q_OBJECT
 public:
  static THookList& Instance();
  ~THookList() override;

  // The control hook of control, made on first request.
  TControlHook* Attach(TTeHook* hook, QWidget* control);
  void Detach(TTeHook* hook, QWidget* control);
  TControlHook* Find(const QWidget* control) const;
  int Count() const { return int(hooks_.size()); }

 protected:
  // The posted free request: frees the control hook if it is still listed and still
  // has no hooks; requests for control hooks already gone are ignored.
  bool event(QEvent* event) override;

 private:
  THookList() = default;
  void PostFree(const TControlHook* controlHook);
  std::vector<std::unique_ptr<TControlHook>> hooks_;
  uint64_t nextSerial_ = 1;
};
