// Hooks as event filters.
#include "te_hooks.h"

#include <QCoreApplication>
#include <QEvent>
#include <algorithm>

#include "app_error.h"

namespace {

// The free request the hook list posts to itself (the original's message 0xB0DF).
const QEvent::Type kFreeControlHookEvent = QEvent::Type(QEvent::User + 0xB0DF);

class FreeRequest : public QEvent {
 public:
  explicit FreeRequest(uint64_t serial) : QEvent(kFreeControlHookEvent), Serial(serial) {}
  uint64_t Serial;
};

template <typename Fn>
void Guarded(Fn&& fn) {
  try {
    fn();
  } catch (...) {
    HandleCurrentException();
  }
}

}  // namespace

// ---- TTeHook

TTeHook::TTeHook(QObject* owner) : QObject(owner) {}

TTeHook::~TTeHook() { Detach(); }

void TTeHook::SetActive(bool active) {
  if (active_ == active) return;
  active_ = active;
  if (active_) Attach();
  else Detach();
}

QWidget* TTeHook::HookedForm() const { return control_ && control_->isWindow() ? control_.data() : nullptr; }

WId TTeHook::HookedHandle() const { return control_ ? control_->winId() : 0; }

void TTeHook::AfterMessage(QEvent*, bool&) {}

void TTeHook::BeforeMessage(QEvent* event, bool& handled) {
  handled_ = handled;
  HandleMessage(event);
  handled = handled_;
}

void TTeHook::SetHookedControl(QWidget* control) {
  if (control_ == control) return;
  Detach();
  control_ = control;
  if (active_) Attach();
}

void TTeHook::Attach() {
  if (active_ && control_) THookList::Instance().Attach(this, control_);
}

void TTeHook::Detach() {
  if (control_) THookList::Instance().Detach(this, control_);
}

// ---- TControlHook

TControlHook::TControlHook(QWidget* control, uint64_t serial) : control_(control), serial_(serial) {
  connect(control, &QObject::destroyed, this, [this] {
    // The control is gone: the most recent hook learns that its events stopped.
    installed_ = false;
    if (!hooks_.empty()) Guarded([&] { hooks_.back()->Unhooked(); });
  });
}

TControlHook::~TControlHook() { Restore(); }

void TControlHook::AddHook(TTeHook* hook) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
  Install();
}

void TControlHook::RemoveHook(TTeHook* hook) {
  const auto it = std::find(hooks_.begin(), hooks_.end(), hook);
  if (it == hooks_.end()) return;
  const bool last = hooks_.size() == 1;
  if (last && installed_) Guarded([&] { hook->Unhooked(); });
  hooks_.erase(it);
  if (hooks_.empty()) Restore();
}

void TControlHook::Install() {
  if (installed_ || !control_) return;
  control_->installEventFilter(this);
  installed_ = true;
}

void TControlHook::Restore() {
  if (!installed_) return;
  if (control_) control_->removeEventFilter(this);
  installed_ = false;
}

bool TControlHook::eventFilter(QObject* watched, QEvent* event) {
  // Nothing reaches the hooks once the control is being destroyed (it said so first).
  if (watched != control_ || hooks_.empty() || !installed_) return false;
  // A hook may detach itself (or others) while handling: walk a copy and skip the
  // ones that have left.
  const std::vector<TTeHook*> hooks = hooks_;
  const auto present = [this](TTeHook* h) { return std::find(hooks_.begin(), hooks_.end(), h) != hooks_.end(); };
  bool handled = false;
  for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it)
    if (present(*it)) Guarded([&] { (*it)->BeforeMessage(event, handled); });
  bool result = true;
  if (!handled && control_) {
    // The control's own handling, run here so that AfterMessage follows it. Event
    // filters installed on the control before this one are not consulted.
    QObject* target = control_;
    result = target->event(event);
  }
  handled = false;
  for (auto it = hooks.rbegin(); it != hooks.rend() && !handled; ++it)
    if (present(*it)) Guarded([&] { (*it)->AfterMessage(event, handled); });
  (void)result;
  return true;
}

// ---- THookList

THookList& THookList::Instance() {
  static THookList* list = new THookList;
  return *list;
}

THookList::~THookList() = default;

TControlHook* THookList::Find(const QWidget* control) const {
  for (const auto& h : hooks_)
    if (h->Control() == control) return h.get();
  return nullptr;
}

TControlHook* THookList::Attach(TTeHook* hook, QWidget* control) {
  TControlHook* controlHook = Find(control);
  if (!controlHook) {
    hooks_.push_back(std::make_unique<TControlHook>(control, nextSerial_++));
    controlHook = hooks_.back().get();
    // A control destroyed under its hooks takes its control hook with it (posted, as
    // the hooks may still be running).
    // The control hook is the connection's context: once it is freed, nothing is posted.
    connect(control, &QObject::destroyed, controlHook, [this, controlHook] { PostFree(controlHook); });
  }
  controlHook->AddHook(hook);
  return controlHook;
}

void THookList::Detach(TTeHook* hook, QWidget* control) {
  TControlHook* controlHook = Find(control);
  if (!controlHook) return;
  controlHook->RemoveHook(hook);
  if (!controlHook->HasHooks()) PostFree(controlHook);
}

void THookList::PostFree(const TControlHook* controlHook) {
  QCoreApplication::postEvent(this, new FreeRequest(controlHook->Serial()));
}

bool THookList::event(QEvent* event) {
  if (event->type() != kFreeControlHookEvent) return QObject::event(event);
  const uint64_t serial = static_cast<FreeRequest*>(event)->Serial;
  const auto it = std::find_if(hooks_.begin(), hooks_.end(),
                               [serial](const auto& h) { return h->Serial() == serial; });
  if (it != hooks_.end() && (!(*it)->HasHooks() || !(*it)->Control())) hooks_.erase(it);
  return true;
}
