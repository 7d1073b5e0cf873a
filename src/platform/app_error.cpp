// The application-wide error handler.
#include "app_error.h"

#include <cstdio>
#include <exception>
#include <utility>

namespace {
std::function<void(const QString&)>& Handler() {
  static std::function<void(const QString&)> handler;
  return handler;
}
}  // namespace

QString ExceptionMessage(const std::exception& e) {
  if (auto* app = dynamic_cast<const EAppError*>(&e)) return app->Message();
  return QString::fromLocal8Bit(e.what());
}

void SetApplicationErrorHandler(std::function<void(const QString&)> handler) {
  Handler() = std::move(handler);
}

void HandleCurrentException() {
  QString text;
  try {
    throw;
  } catch (const std::exception& e) {
    text = ExceptionMessage(e);
  } catch (...) {
    text = QStringLiteral("Unknown error");
  }
  try {
    if (Handler()) {
      Handler()(text);
      return;
    }
  } catch (...) {
  }
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

void RunGuarded(const std::function<void()>& fn) {
  try {
    fn();
  } catch (...) {
    HandleCurrentException();
  }
}
