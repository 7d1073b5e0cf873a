// Errors carrying the program's message text, and the one application-wide
// handler that shows what nobody caught.
#pragma once

#include <QString>
#include <functional>
#include <stdexcept>

class EAppError : public std::runtime_error {
 public:
  explicit EAppError(const QString& message)
      : std::runtime_error(message.toStdString()), message_(message) {}
  const QString& Message() const { return message_; }

 private:
  QString message_;
};

// Message text of any exception: EAppError's own text, what() otherwise.
QString ExceptionMessage(const std::exception& e);

// Installs the handler that receives the text of every error that escapes an
// event handler. Without one, the text goes to standard error.
void SetApplicationErrorHandler(std::function<void(const QString&)> handler);

// Call from inside a catch block: hands the current exception's text to the
// application handler. Never throws.
void HandleCurrentException();

// Runs fn and routes anything it throws to the application handler; this is
// the boundary every event handler (Qt slot, hand-over, timer) goes through,
// because an exception must never unwind through the event loop.
void RunGuarded(const std::function<void()>& fn);
