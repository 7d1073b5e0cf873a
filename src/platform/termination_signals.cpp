// The self-pipe: the handler only writes the signal's number into a pipe,
// whose reading end a socket notifier watches on the UI thread.
#include "termination_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

void OnSignal(int signal) {
  const int saved = errno;
  const unsigned char c = static_cast<unsigned char>(signal);
  [[maybe_unused]] ssize_t n = ::write(g_pipe[1], &c, 1);
  errno = saved;
}

}  // namespace

void WatchTerminationSignals(std::function<void(int signal)> onSignal) {
  if (g_pipe[0] < 0 && ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [onSignal = std::move(onSignal)] {
    unsigned char c;
    while (::read(g_pipe[0], &c, 1) > 0) onSignal(int(c));
  });
  struct sigaction sa {};
  sa.sa_handler = OnSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = SA_RESTART;
  for (int s : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(s, &sa, nullptr);
}
