// TRedirector: runs one child process with its standard input, output and
// error on pipes and delivers everything it writes on the UI thread.
#pragma once

#include <QString>
#include <QStringList>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class THandOverChannel;
class TRedirectorThread;

class TRedirector {
 public:
  using TDataEvent = std::function<void(TRedirector* sender, const char* data, unsigned count)>;
  using TNotifyEvent = std::function<void(TRedirector* sender)>;

  TRedirector();
  virtual ~TRedirector();
  TRedirector(const TRedirector&) = delete;
  TRedirector& operator=(const TRedirector&) = delete;

  const QString& CommandLine() const { return commandLine_; }
  // Raises "Cannot change Commandline while process is active" when a child
  // runs and the text differs from the composed command (case ignored).
  void SetCommandLine(const QString& value);
  // The same, with the argument vector that is started (the program first)
  // instead of splitting the text; the text stays what is shown and compared.
  void SetCommand(const QString& text, const QStringList& arguments);
  bool DefaultErrorMode() const { return defaultErrorMode_; }
  void SetDefaultErrorMode(bool value);

  QString ApplicationName;
  QString InitialDirectory;
  // "NAME=value" entries for the child's environment; empty inherits ours.
  std::vector<QString> Environment;
  uint8_t Priority = 0;  // 0 none, 1 idle, 2 normal, 3 high, 4 realtime
  bool KillOnDestroy = false;
  uint16_t ShowWindow = 0;  // kept for callers; Linux children have no window state
  TDataEvent OnData;
  TDataEvent OnErrorData;
  TNotifyEvent OnTerminated;

  bool Running() const { return pid_ != 0; }
  // The running child's process id, 0 when none runs.
  pid_t ProcessId() const { return pid_; }
  // Starts the child and its reader; returns at once.
  void Execute();
  // Kills the running child (its whole process group); does not wait.
  void Terminate(uint32_t exitCode);

  // How the last child ended, valid from its end notification on: true when
  // it exited by itself with status 0. A killed or failed child is not clean.
  bool LastExitClean() const { return lastExitClean_; }
  int LastExitStatus() const { return lastExitStatus_; }

  // The composed command: ApplicationName + " " + CommandLine, or CommandLine.
  QString ComposedCommand() const;

 protected:
  // The one read of a pipe; tests put a failing read here.
  virtual ssize_t ReadFromPipe(int fd, char* buffer, size_t size);

 private:
  friend class TRedirectorThread;
  // A failed read raises its error; the reader then stops watching that pipe
  // but still waits for the child, so the end notification always comes.
  void ReadStdOut();
  void ReadStdErr();
  void ReadPipe(int fd, const char* streamName, const TDataEvent& callback);
  void ProcessEnded();
  void CloseHandles();
  void ForgetFinishedReaders();

  uint32_t Available = 0;
  pid_t pid_ = 0;
  int pidFd_ = -1;
  int stdInWrite_ = -1;
  int stdOutRead_ = -1;
  int stdErrRead_ = -1;
  QString commandLine_;
  QStringList arguments_;  // empty: split commandLine_
  bool defaultErrorMode_ = false;
  bool lastExitClean_ = false;
  int lastExitStatus_ = -1;
  std::shared_ptr<THandOverChannel> reader_;  // the current reader's channel
  std::vector<std::shared_ptr<THandOverChannel>> readers_;  // every reader not yet gone
};
