// TRedirector on POSIX: three pipes, posix_spawn without a shell into a
// process group of its own, FIONREAD as the non-blocking peek, and a pidfd (or
// waitid) as the bounded wait for the child's end.
#include "redirect.h"

#include <QFile>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "app_error.h"
#include "command_line.h"
#include "file_names.h"
#include "ui_thread.h"

extern char** environ;

namespace {

constexpr int kPollMs = 100;
// A pipe holds at most 64 KiB on Linux; larger counts are never needed.
constexpr int kMaxRead = 1 << 20;
// A child that left a grandchild writing into our pipes must not keep the
// drain going for ever.
constexpr int kMaxDrainPasses = 4096;

QString Code(const char* text, int err) { return QString::fromLatin1(text) + QString::number(err); }

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

int Peek(int fd) {
  int n = 0;
  if (fd < 0 || ::ioctl(fd, FIONREAD, &n) != 0) return 0;
  return n;
}

bool IsBlankOrControl(QChar c) { return c.unicode() <= 0x20; }

// Starts a child the way the runner needs it, with fork and exec so that the
// child can be tied to us first: its own process group (Terminate takes
// whatever it started), SIGKILL when the thread that started it dies (a
// crashed or killed program never leaves a transcoder running), default
// signal handling, an empty signal mask, and the three pipe ends as its
// standard streams. Between fork and exec only async-signal-safe calls.
struct TSpawn {
  QByteArray program;  // a path; empty when not found
  QByteArray directory;
  std::vector<QByteArray> argBytes, envBytes;
  int in = -1, out = -1, err = -1;

  // 0 on success (pid set), else the errno of what failed.
  int Start(pid_t& pid) {
    if (program.isEmpty()) return ENOENT;
    std::vector<char*> argv, envp;
    for (QByteArray& a : argBytes) argv.push_back(a.data());
    argv.push_back(nullptr);
    for (QByteArray& v : envBytes) envp.push_back(v.data());
    envp.push_back(nullptr);
    char** env = envBytes.empty() ? environ : envp.data();

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) return errno;
    const pid_t parent = ::getpid();
    const pid_t child = ::fork();
    if (child < 0) {
      const int code = errno;
      ::close(report[0]);
      ::close(report[1]);
      return code;
    }
    if (child == 0) RunChild(parent, report[1], argv.data(), env);
    ::close(report[1]);
    int code = 0;
    ssize_t got;
    do {
      got = ::read(report[0], &code, sizeof code);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == ssize_t(sizeof code)) {
      while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
      }
      return code != 0 ? code : ENOEXEC;
    }
    pid = child;
    return 0;
  }

 private:
  [[noreturn]] void RunChild(pid_t parent, int report, char** argv, char** env) {
    auto fail = [report](int code) {
      [[maybe_unused]] ssize_t n = ::write(report, &code, sizeof code);
      ::_exit(127);
    };
    ::setpgid(0, 0);
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0) fail(errno);
    if (::getppid() != parent) ::_exit(127);  // we died before the line above
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    for (int s : {SIGPIPE, SIGINT, SIGTERM, SIGQUIT, SIGCHLD, SIGHUP}) ::sigaction(s, &dfl, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    // Moved above 2 first, so that no pipe end can be overwritten by another's dup2.
    const int high[3] = {::fcntl(in, F_DUPFD_CLOEXEC, 3), ::fcntl(out, F_DUPFD_CLOEXEC, 3),
                         ::fcntl(err, F_DUPFD_CLOEXEC, 3)};
    for (int fd = 0; fd < 3; ++fd)
      if (high[fd] < 0 || ::dup2(high[fd], fd) < 0) fail(errno);
    if (!directory.isEmpty() && ::chdir(directory.constData()) != 0) fail(errno);
    ::execve(program.constData(), argv, env);
    fail(errno);
    ::_exit(127);
  }
};

// A program name without a slash is looked up in PATH, as a shell does.
QByteArray ResolveProgram(const QByteArray& name) {
  if (name.isEmpty() || name.contains('/')) return name;
  const char* path = std::getenv("PATH");
  for (const QByteArray& dir : QByteArray(path ? path : "/usr/local/bin:/usr/bin:/bin").split(':')) {
    const QByteArray candidate = (dir.isEmpty() ? QByteArray(".") : dir) + '/' + name;
    if (::access(candidate.constData(), X_OK) == 0) return candidate;
  }
  return {};
}

}  // namespace

// The reader: peeks the two output pipes, waits for the child, and hands every
// read and the end over to the UI thread. It never touches the runner itself:
// the runner is only used inside hand-overs, which the UI thread runs.
class TRedirectorThread {
 public:
  static void Run(std::shared_ptr<THandOverChannel> ch, TRedirector* r, int out, int err, int pidFd, pid_t pid) {
    // Cleared by a hand-over whose read failed. Shared, because a cancelled
    // channel lets this thread leave while that hand-over may still run.
    struct Watch {
      std::atomic<bool> out{true}, err{true};
    };
    const auto watch = std::make_shared<Watch>();
    // Hands one read of a pipe over; a read that fails stops the watch on it.
    auto readOver = [&](int fd, std::atomic<bool>& watched, void (TRedirector::*read)()) -> int {
      const int n = watched ? Peek(fd) : 0;
      if (n <= 0) return 0;
      std::atomic<bool>* flag = &watched;
      return ch->HandOver([r, n, read, flag, keep = watch] {
               r->Available = uint32_t(n);
               try {
                 (r->*read)();
               } catch (...) {
                 *flag = false;
                 throw;
               }
             })
                 ? 1
                 : -1;
    };
    auto pass = [&]() -> int {  // 1 data handed over, 0 idle, -1 stop
      const int o = readOver(out, watch->out, &TRedirector::ReadStdOut);
      if (o < 0) return -1;
      const int e = readOver(err, watch->err, &TRedirector::ReadStdErr);
      if (e < 0) return -1;
      return o | e;
    };

    while (!ch->Cancelled()) {
      const int p = pass();
      if (p < 0) break;
      if (p > 0) continue;

      pollfd fds[3];
      int nfds = 0, outIx = -1, errIx = -1, pidIx = -1;
      if (watch->out) { outIx = nfds; fds[nfds++] = {out, POLLIN, 0}; }
      if (watch->err) { errIx = nfds; fds[nfds++] = {err, POLLIN, 0}; }
      if (pidFd >= 0) { pidIx = nfds; fds[nfds++] = {pidFd, POLLIN, 0}; }
      const int rc = ::poll(fds, nfds_t(nfds), kPollMs);
      if (rc < 0 && errno != EINTR) break;
      // A pipe whose writers are all gone reports a hang-up for ever; once it
      // is empty it is left out of the wait so that the loop does not spin.
      if (outIx >= 0 && (fds[outIx].revents & (POLLHUP | POLLERR)) && Peek(out) == 0) watch->out = false;
      if (errIx >= 0 && (fds[errIx].revents & (POLLHUP | POLLERR)) && Peek(err) == 0) watch->err = false;

      bool ended;
      if (pidIx >= 0) {
        ended = fds[pidIx].revents & POLLIN;
      } else {
        siginfo_t si{};
        ended = ::waitid(P_PID, id_t(pid), &si, WEXITED | WNOHANG | WNOWAIT) == 0 && si.si_pid == pid;
      }
      if (!ended) continue;

      int drained = 0;
      int q;
      while ((q = pass()) > 0 && ++drained < kMaxDrainPasses) {
      }
      if (q < 0) break;
      ch->HandOver([r] { r->ProcessEnded(); });
      break;
    }
    ch->MarkFinished();
  }
};

TRedirector::TRedirector() = default;

TRedirector::~TRedirector() {
  if (Running() && KillOnDestroy) {
    OnTerminated = nullptr;
    if (reader_) reader_->Cancel();
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
  }
  for (auto& ch : readers_) ch->Cancel();
  // A reader nested below us (we are inside one of its hand-overs) is blocked
  // and will leave without touching us; every other one is waited for, so no
  // reader polls a descriptor after it has been closed here.
  for (auto& ch : readers_)
    if (!ch->InHandOver()) ch->WaitFinished();
  if (Running() && KillOnDestroy) ::waitpid(pid_, nullptr, 0);
  CloseHandles();
}

QString TRedirector::ComposedCommand() const {
  if (!ApplicationName.isEmpty()) return ApplicationName + u' ' + commandLine_;
  return commandLine_;
}

void TRedirector::SetCommandLine(const QString& value) { SetCommand(value, {}); }

void TRedirector::SetCommand(const QString& text, const QStringList& arguments) {
  if (text.compare(ComposedCommand(), Qt::CaseInsensitive) == 0 || !Running()) {
    commandLine_ = text;
    arguments_ = arguments;
    return;
  }
  throw EAppError(QStringLiteral("Cannot change Commandline while process is active"));
}

void TRedirector::SetDefaultErrorMode(bool value) {
  if (value == defaultErrorMode_ || !Running()) {
    defaultErrorMode_ = value;
    return;
  }
  throw EAppError(QStringLiteral("Cannot change DefaultErrorMode while process is active"));
}

void TRedirector::ForgetFinishedReaders() {
  std::erase_if(readers_, [](const auto& ch) { return ch->Finished(); });
}

void TRedirector::Execute() {
  if (Running()) throw EAppError(QStringLiteral("Process is already active"));
  const QString composed = ComposedCommand();
  qsizetype b = 0, e = composed.size();
  while (b < e && IsBlankOrControl(composed[b])) ++b;
  while (e > b && IsBlankOrControl(composed[e - 1])) --e;
  if (b == e) throw EAppError(QStringLiteral("No commandline to run"));

  ForgetFinishedReaders();
  int in[2] = {-1, -1}, out[2] = {-1, -1}, err[2] = {-1, -1};
  auto closeAll = [&] {
    for (int* p : {in, out, err}) {
      CloseFd(p[0]);
      CloseFd(p[1]);
    }
  };
  if (::pipe2(in, O_CLOEXEC) != 0) throw EAppError(Code("Error on STDIN pipe creation : ", errno));
  if (::pipe2(out, O_CLOEXEC) != 0) {
    const int code = errno;
    closeAll();
    throw EAppError(Code("Error on STDOUT pipe creation : ", code));
  }
  if (::pipe2(err, O_CLOEXEC) != 0) {
    const int code = errno;
    closeAll();
    throw EAppError(Code("Error on STDERR pipe creation : ", code));
  }

  // Windows-style: with an application name the module is that file and the
  // command line supplies the argument vector, its first word included. A
  // command given with its vector is started as given: nothing is split.
  QStringList args = arguments_.isEmpty() ? SplitCommandLine(commandLine_) : arguments_;
  QString program = ApplicationName.trimmed().isEmpty() ? (args.isEmpty() ? QString() : args.first())
                                                        : ApplicationName.trimmed();
  if (args.isEmpty()) args << program;
  TSpawn spawn;
  for (const QString& a : args) spawn.argBytes.push_back(EncodeFileName(a));
  for (const QString& v : Environment) spawn.envBytes.push_back(v.toLocal8Bit());
  spawn.program = ResolveProgram(EncodeFileName(program));
  spawn.directory = EncodeFileName(InitialDirectory.trimmed());
  spawn.in = in[0];
  spawn.out = out[1];
  spawn.err = err[1];

  pid_t pid = 0;
  const int rc = spawn.Start(pid);
  if (rc != 0) {
    closeAll();
    throw EAppError(Code("Error creating process : ", rc));
  }
  CloseFd(in[0]);
  CloseFd(out[1]);
  CloseFd(err[1]);
  stdInWrite_ = in[1];
  stdOutRead_ = out[0];
  stdErrRead_ = err[0];
  pid_ = pid;
  lastExitClean_ = false;
  lastExitStatus_ = -1;

  static const int kNice[] = {0, 19, 0, -5, -10};
  if (Priority >= 1 && Priority <= 4) ::setpriority(PRIO_PROCESS, id_t(pid), kNice[Priority]);

  pidFd_ = int(::syscall(SYS_pidfd_open, pid, 0));
  reader_ = THandOverChannel::Create();
  readers_.push_back(reader_);
  std::thread(&TRedirectorThread::Run, reader_, this, stdOutRead_, stdErrRead_, pidFd_, pid).detach();
}

void TRedirector::Terminate(uint32_t) {
  if (!Running()) throw EAppError(QStringLiteral("Cannot Terminate an inactive process"));
  // SIGKILL has no exit code to give; the runner reports a killed child as
  // not clean, which is all its callers ask.
  ::kill(-pid_, SIGKILL);
  ::kill(pid_, SIGKILL);
}

void TRedirector::ReadPipe(int fd, const char* streamName, const TDataEvent& callback) {
  const uint32_t want = std::min<uint32_t>(Available, kMaxRead);
  QByteArray buffer(qsizetype(want), Qt::Uninitialized);
  ssize_t got;
  do {
    got = ReadFromPipe(fd, buffer.data(), want);
  } while (got < 0 && errno == EINTR);
  if (got < 0) {
    // The reader leaves this pipe alone from now on and still waits for the
    // child, so the end notification comes as usual.
    const int code = errno;
    throw EAppError(QStringLiteral("Error reading %1 pipe : %2").arg(QLatin1String(streamName)).arg(code));
  }
  if (callback) {
    const TDataEvent cb = callback;  // the callback may replace itself
    cb(this, buffer.constData(), unsigned(got));
  }
}

ssize_t TRedirector::ReadFromPipe(int fd, char* buffer, size_t size) { return ::read(fd, buffer, size); }

void TRedirector::ReadStdOut() { ReadPipe(stdOutRead_, "STDOUT", OnData); }
void TRedirector::ReadStdErr() { ReadPipe(stdErrRead_, "STDERR", OnErrorData); }

void TRedirector::CloseHandles() {
  CloseFd(stdInWrite_);
  CloseFd(stdOutRead_);
  CloseFd(stdErrRead_);
  CloseFd(pidFd_);
}

void TRedirector::ProcessEnded() {
  if (reader_) reader_->Cancel();
  int status = 0;
  pid_t r;
  do {
    r = ::waitpid(pid_, &status, 0);
  } while (r < 0 && errno == EINTR);
  if (r == pid_) {
    lastExitClean_ = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    lastExitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  CloseHandles();
  pid_ = 0;
  if (OnTerminated) {
    const TNotifyEvent cb = OnTerminated;
    cb(this);
  }
}
