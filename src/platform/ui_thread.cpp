// Hand-overs through Qt's event queue: the operation is posted as a queued
// functor to the application object, which lives on the UI thread.
#include "ui_thread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>

#include "app_error.h"

std::shared_ptr<THandOverChannel> THandOverChannel::Create() {
  return std::shared_ptr<THandOverChannel>(new THandOverChannel());
}

bool THandOverChannel::HandOver(std::function<void()> op) {
  QCoreApplication* app = QCoreApplication::instance();
  std::unique_lock lock(m_);
  if (cancelled_ || !app) return false;
  pending_ = true;
  auto self = shared_from_this();
  QMetaObject::invokeMethod(
      app,
      [self, op = std::move(op)] {
        {
          std::lock_guard g(self->m_);
          if (self->cancelled_) {
            self->pending_ = false;
            self->cv_.notify_all();
            return;
          }
        }
        self->inHandOver_ = true;
        RunGuarded(op);
        self->inHandOver_ = false;
        std::lock_guard g(self->m_);
        self->pending_ = false;
        self->cv_.notify_all();
      },
      Qt::QueuedConnection);
  cv_.wait(lock, [this] { return !pending_ || cancelled_; });
  return !cancelled_;
}

void THandOverChannel::Cancel() {
  std::lock_guard g(m_);
  cancelled_ = true;
  cv_.notify_all();
}

bool THandOverChannel::Cancelled() const {
  std::lock_guard g(m_);
  return cancelled_;
}

void THandOverChannel::MarkFinished() {
  std::lock_guard g(m_);
  finished_ = true;
  cv_.notify_all();
}

void THandOverChannel::WaitFinished() {
  std::unique_lock lock(m_);
  cv_.wait(lock, [this] { return finished_; });
}

void ProcessUiEventsWaiting() {
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

bool THandOverChannel::Finished() const {
  std::lock_guard g(m_);
  return finished_;
}
