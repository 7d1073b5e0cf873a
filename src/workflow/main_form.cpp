// The workflow controller: start-up and settings, probing and commands, the
// batch run and the file list.
#include "main_form.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <QTemporaryFile>

#include "app_error.h"
#include "file_names.h"
#include "list_file.h"
#include "temp_file.h"
#include "transcoder_commands.h"
#include "ui_thread.h"

namespace {

const QString kSection = QStringLiteral("Common");
constexpr int kDeleteKey = 46;
// A probe only reads a file's header; one that takes longer than this is
// stuck (a transcoder waiting on a device or a broken stream) and is ended.
constexpr int kProbeTimeoutMs = 60000;

QString WithSeparator(QString dir) {
  if (!dir.isEmpty() && !dir.endsWith(u'/')) dir += u'/';
  return dir;
}

QString CleanAbsolute(const QString& path) { return QDir::cleanPath(AbsoluteFileName(path)); }

// True when a file can really be created in dir, which is what the settings
// writer needs (it writes a temporary file there and renames it).
bool CanCreateFilesIn(const QString& dir) {
  QTemporaryFile probe(dir + QStringLiteral("strings.ini.XXXXXX"));
  return probe.open();
}

// The transcoder front writes where it has no unnamed files to a temporary
// named after the output and its own process id; killed, it leaves that
// behind for us to remove.
QString FrontPartialFile(const QString& output, pid_t front) {
  const qsizetype slash = output.lastIndexOf(u'/');
  return output.left(slash + 1) + u'.' + output.mid(slash + 1) + u'.' + QString::number(front) + QStringLiteral(".part");
}

}  // namespace

QString DefaultSettingsFile(const QString& programDir) {
  const QString overridden = qEnvironmentVariable("SONOLIFT_INI");
  if (!overridden.isEmpty()) return overridden;
  const QString beside = programDir + QStringLiteral("strings.ini");
  if (CanCreateFilesIn(programDir)) return beside;
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const QString dir = config + QStringLiteral("/sonolift");
  QDir().mkpath(dir);
  const QString own = dir + QStringLiteral("/strings.ini");
  // Settings shipped beside a read-only program are where the user's start.
  if (!QFileInfo::exists(own) && QFileInfo(beside).isReadable()) QFile::copy(beside, own);
  return own;
}

TStartOptions DefaultStartOptions() {
  TStartOptions o;
  o.ExecutablePath = QCoreApplication::applicationFilePath();
  o.ProgramDir = WithSeparator(QCoreApplication::applicationDirPath());
  o.SettingsFile = DefaultSettingsFile(o.ProgramDir);
  return o;
}

TfrmMain::TfrmMain(IMainView& view, TStartOptions options)
    : view_(view),
      executablePath_(std::move(options.ExecutablePath)),
      programDir_(WithSeparator(options.ProgramDir)),
      settingsFile_(std::move(options.SettingsFile)) {
  probeCacheEnabled_ = true;
}

TfrmMain::~TfrmMain() {
  *alive_ = false;
  SetApplicationErrorHandler(nullptr);
  // Settings are written by FormDestroy only; a controller that never had a
  // window (the console program) leaves them as they were.
  try {
    if (Runner_ && Runner_->Running()) Runner_->Terminate(0);
  } catch (...) {
  }
  DeleteScriptFile();
}

// ---- Start-up, closing, destruction -------------------------------------------------

QString TfrmMain::GetMyDocumentsDir() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (dir.isEmpty()) throw EAppError(QStringLiteral("Could not find your default documents folder"));
  // A desktop without a documents folder yet: make it, rather than send every
  // output into a folder that is not there.
  if (!QDir(dir).exists() && !QDir().mkpath(dir)) {
    dir = QDir::homePath();
    if (dir.isEmpty()) throw EAppError(QStringLiteral("Could not find your default documents folder"));
  }
  return dir;
}

void TfrmMain::FormCreate(const QStringList& arguments) {
  Runner_ = std::make_unique<TRedirector>();
  CurrentPage_ = TPage::None;
  Busy_ = false;
  CompileOutputPatterns();
  SetApplicationErrorHandler([this, alive = alive_](const QString& message) {
    if (*alive) AppException(message);
  });

  GetFileVersionRecord(executablePath_, VersionInfo_);
  Settings_ = std::make_unique<TIniFile>(settingsFile_);
  TitleText_ = QStringLiteral("Sonolift ") + VersionInfo_.ProductVersion;
  view_.SetCaption(TitleText_);
  view_.SetBatchRunning(false);  // Stop has nothing to stop yet
  ReadSettings();

  if (arguments.isEmpty()) return;
  for (const QString& arg : arguments) {
    if (UpperExtension(arg) == u".LST")
      LoadFileList(arg);
    else
      AddVideoFile(arg);
  }
  if (view_.RowCount() == 0)
    view_.TerminateApplication();
  else
    btnBatchClick();
}

QString TfrmMain::SelectedText(const QStringList& list, int index) const {
  return index >= 0 && index < list.size() ? list[index] : QString();
}

void TfrmMain::ReadSettings() {
  // One block: the first error ends it and what was read so far stays.
  try {
    auto select = [](int v, const QStringList& list) { return v >= 0 && v < list.size() ? v : 0; };
    NamingMode_ = Settings_->ReadInteger(kSection, QStringLiteral("nNaming"), 0);
    view_.SetBitRateIndex(select(Settings_->ReadInteger(kSection, QStringLiteral("cbAudioBitRate"), 0), BitRateList()));
    view_.SetSampleRateIndex(
        select(Settings_->ReadInteger(kSection, QStringLiteral("cbAudioSampleRate"), 0), SampleRateList()));
    view_.SetFormatIndex(select(Settings_->ReadInteger(kSection, QStringLiteral("cbFileFormat"), 0), FormatList()));
    view_.SetMono(Settings_->ReadInteger(kSection, QStringLiteral("ckMono"), 0) != 0);
    NamingMode_ = std::clamp(NamingMode_, 0, 1);
    OverWrite_ = Settings_->ReadInteger(kSection, QStringLiteral("bOverWrite"), 0) != 0;
    OutputDir_ = Settings_->ReadString(kSection, QStringLiteral("strOutputDir"), GetMyDocumentsDir());
    if (!IsDirectory(OutputDir_)) OutputDir_ = GetMyDocumentsDir();
    OutputDir_ = WithSeparator(AbsoluteFileName(OutputDir_));
  } catch (...) {
  }
}

bool TfrmMain::FormClose() {
  if (Busy_ || probing_) {
    view_.ShowMessage(QStringLiteral("Busy! Please stop the conversion before exit"));
    return false;
  }
  return SwitchPage(TPage::None);
}

void TfrmMain::FormDestroy() {
  try {
    if (Settings_) {
      Settings_->WriteInteger(kSection, QStringLiteral("nNaming"), NamingMode_);
      Settings_->WriteInteger(kSection, QStringLiteral("bOverWrite"), OverWrite_ ? -1 : 0);
      Settings_->WriteString(kSection, QStringLiteral("strOutputDir"), OutputDir_);
      Settings_->WriteInteger(kSection, QStringLiteral("cbAudioSampleRate"), view_.SampleRateIndex());
      Settings_->WriteInteger(kSection, QStringLiteral("cbAudioBitRate"), view_.BitRateIndex());
      Settings_->WriteInteger(kSection, QStringLiteral("cbFileFormat"), view_.FormatIndex());
      Settings_->WriteInteger(kSection, QStringLiteral("ckMono"), view_.Mono() ? 1 : 0);
    }
  } catch (...) {
  }
  try {
    if (Runner_ && Runner_->Running()) Runner_->Terminate(0);
  } catch (...) {
  }
  DeleteScriptFile();
  Runner_.reset();
  Settings_.reset();
}

void TfrmMain::AppException(const QString& message) { view_.ShowMessage(message); }

// ---- Probing and commands --------------------------------------------------------

void TfrmMain::SetUpRunner(bool converting) {
  Runner_->SetDefaultErrorMode(true);
  Runner_->OnData = [this](TRedirector*, const char* d, unsigned n) { ParseOutput(TEncoderOutputParser::kStdOut, d, n); };
  Runner_->OnErrorData = [this](TRedirector*, const char* d, unsigned n) {
    ParseOutput(TEncoderOutputParser::kStdErr, d, n);
  };
  if (converting)
    Runner_->OnTerminated = [this](TRedirector* sender) { ConvertTerminated(sender); };
  else
    Runner_->OnTerminated = [this](TRedirector*) { FlushOutput(); };
  Runner_->KillOnDestroy = true;
}

void TfrmMain::ParseOutput(TEncoderOutputParser::Stream stream, const char* data, unsigned count) {
  parser_.Feed(stream, data, count, facts_, [this](double p) { WriteProgress(p); });
}

void TfrmMain::FlushOutput() { parser_.Flush(facts_, [this](double p) { WriteProgress(p); }); }

void TfrmMain::WriteProgress(double percent) {
  if (JobIndex_ >= 0 && JobIndex_ < view_.RowCount()) view_.SetRowProgress(JobIndex_, FormatProgress(percent));
}

bool TfrmMain::WaitForProbe() {
  // The event queue keeps running: the runner's hand-overs arrive through it.
  QElapsedTimer clock;
  clock.start();
  QTimer tick;  // wakes the loop now and then, so the time-out is seen
  tick.start(250);
  while (Runner_->Running()) {
    ProcessUiEventsWaiting();
    if (Runner_->Running() && clock.elapsed() > kProbeTimeoutMs) {
      Runner_->Terminate(0);
      while (Runner_->Running()) ProcessUiEventsWaiting();
      return false;
    }
  }
  return true;
}

void TfrmMain::EndRunningChild() {
  // A killed child still has to deliver its end, to the callbacks it was
  // started with, before the runner is free; that end may start another.
  while (Runner_->Running()) {
    Runner_->Terminate(0);
    const pid_t child = Runner_->ProcessId();
    while (Runner_->Running() && Runner_->ProcessId() == child) ProcessUiEventsWaiting();
  }
}

bool TfrmMain::ProbeFile(const QString& input) {
  EndRunningChild();
  SetUpRunner(false);
  const TCommand command = ProbeCommand(programDir_, AbsoluteFileName(input));
  Runner_->SetCommand(command.Text, command.Arguments);
  facts_ = TMediaFacts();
  parser_.Reset();
  Runner_->Execute();
  if (!WaitForProbe()) return false;
  return facts_.Duration > 0 && facts_.HasAudio;
}

void TfrmMain::DeleteScriptFile() {
  if (ScriptFile_.isEmpty()) return;
  RemoveFile(ScriptFile_);
  ScriptFile_.clear();
}

bool TfrmMain::ProbeViaScript(const QString& input) {
  const QString script = WriteAvsScript(input);
  bool ok = false;
  try {
    ok = ProbeFile(script);
  } catch (...) {
    RemoveFile(script);
    throw;
  }
  RemoveFile(script);
  return ok;
}

bool TfrmMain::CheckVideoFile(const QString& input) {
  const QString key = CleanAbsolute(input);
  const std::optional<TFileStamp> stamp = FileStampOf(input);
  const qint64 size = stamp ? stamp->Size : -1, mtime = stamp ? stamp->ModifiedMs : -1;
  if (probeCacheEnabled_) {
    auto it = probeCache_->constFind(key);
    if (it != probeCache_->cend() && stamp && it->size == size && it->mtimeMs == mtime) {
      facts_ = it->facts;
      UseScript_ = it->useScript;
      return true;
    }
  }

  // A probe for a job ends when the batch is stopped; a probe for an add does
  // not, but may be abandoned (AbortAdding).
  const bool forJob = Busy_ && !draining_;
  auto abandoned = [&] { return forJob ? !Busy_ : addAborted_; };
  probing_ = true;
  probingForJob_ = forJob;
  bool ok = false;
  try {
    UseScript_ = false;
    if (IsScriptType(input)) {
      if (ProbeViaScript(input)) {
        UseScript_ = true;
        ok = true;
      } else if (!abandoned()) {
        ok = ProbeFile(input);
      }
    } else {
      ok = ProbeFile(input);
    }
  } catch (...) {
    probing_ = probingForJob_ = false;
    ScheduleDrain();
    throw;
  }
  probing_ = probingForJob_ = false;
  if (abandoned()) ok = false;
  if (ok && probeCacheEnabled_) probeCache_->insert(key, {size, mtime, facts_, UseScript_});
  // Files dropped during the probe waited for its end.
  ScheduleDrain();
  return ok;
}

QString TfrmMain::WriteAvsScript(const QString& input) {
  const QString path = CreateUniqueTempFile(QStringLiteral("tmp"), QStringLiteral(".avs"));
  QFile f(path);
  const QByteArray text = ScriptText(AbsoluteFileName(input));
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) {
    f.remove();
    throw EAppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString()));
  }
  return path;
}

bool TfrmMain::OutputNameTaken(const QString& candidate, const QString& input) const {
  // An output of an earlier job of the same batch (two inputs with one base
  // name) is never replaced; a free name is free. An existing file is taken
  // without overwrite, and with it when it is the job's own input or the
  // input of any other row.
  if (Outputs().contains(CleanAbsolute(candidate))) return true;
  if (!PathExists(candidate)) return false;
  if (!OverWrite_) return true;
  if (SameFileOnDisk(candidate, input)) return true;
  for (int i = 0; i < view_.RowCount(); ++i)
    if (SameFileOnDisk(candidate, view_.RowFileName(i))) return true;
  return false;
}

QString TfrmMain::JobOutputDir() const {
  return OutputSubfolder ? OutputDir_ + WithSeparator(OutputSubfolder(JobIndex_)) : OutputDir_;
}

QString TfrmMain::FirstOutputName(const QString& input) const {
  return JobOutputDir() + OutputBaseName(input, NamingMode_, JobIndex_) + u'.' +
         SelectedText(FormatList(), view_.FormatIndex()).toUpper();
}

QString TfrmMain::MakeOutputFileName(const QString& input) {
  const QString dir = JobOutputDir();
  const QString base = OutputBaseName(input, NamingMode_, JobIndex_);
  const QString ext = SelectedText(FormatList(), view_.FormatIndex()).toUpper();
  const QString candidate = FirstOutputName(input);
  if (!OutputNameTaken(candidate, input)) return candidate;
  // Numbered names are only ever new files: with overwrite too, an existing
  // one is not replaced.
  for (int n = 1;; ++n) {
    const QString c = dir + base + u'(' + QString::number(n) + u')' + u'.' + ext;
    if (!PathExists(c) && !Outputs().contains(CleanAbsolute(c))) return c;
  }
}

bool TfrmMain::StartJob(const QString& input) {
  jobSkipped_ = SkipExisting && PathExists(FirstOutputName(input));
  if (jobSkipped_) return false;
  if (!CheckVideoFile(input)) return false;
  // Stop may have been pressed while the probe kept the event queue running.
  if (!Busy_) return false;
  DeleteScriptFile();

  if (OutputSubfolder && !MakeDirectories(JobOutputDir()))
    throw EAppError(QStringLiteral("Cannot create the folder \"%1\"").arg(JobOutputDir()));
  OutputFile_ = MakeOutputFileName(input);
  // With overwrite on, an old output stays until the transcoder front puts
  // the complete new one in its place; a failed job leaves it as it was.
  outputExisted_ = PathExists(OutputFile_);
  Outputs().insert(CleanAbsolute(OutputFile_));

  TEncodeChoice choice;
  choice.Format = SelectedText(FormatList(), view_.FormatIndex());
  choice.SampleRate = SelectedText(SampleRateList(), view_.SampleRateIndex());
  choice.BitRate = SelectedText(BitRateList(), view_.BitRateIndex());
  choice.Mono = view_.Mono();
  QString source = AbsoluteFileName(input);
  if (UseScript_) {
    ScriptFile_ = WriteAvsScript(input);
    source = ScriptFile_;
  }
  // Keeping the source's audio as it is, where asked and where the output
  // can hold it (one audio stream, so that the one probed is the one kept).
  jobNote_.clear();
  bool copy = false;
  if (CopyAudio) {
    copy = facts_.AudioStreams == 1 && FormatHoldsCodec(choice.Format, facts_.AudioCodec);
    jobNote_ = copy ? QStringLiteral("audio copied: %1").arg(facts_.AudioCodec)
               : facts_.AudioStreams != 1
                   ? QStringLiteral("converted: %1 audio streams").arg(facts_.AudioStreams)
                   : QStringLiteral("converted: %1 does not go into %2").arg(facts_.AudioCodec, choice.Format);
  }
  const TCommand command = copy ? CopyAudioCommand(programDir_, source, OutputFile_)
                                : ConvertCommand(programDir_, source, OutputFile_, choice);

  EndRunningChild();
  SetUpRunner(true);
  Runner_->SetCommand(command.Text, command.Arguments);
  facts_.Duration = 0;
  facts_.VideoWidth = 0;
  facts_.VideoHeight = 0;
  parser_.Reset();
  Runner_->Execute();
  conversionActive_ = true;
  front_ = Runner_->ProcessId();
  return true;
}

// ---- Batch run ---------------------------------------------------------------------

qint64 TfrmMain::FileSizeOf(const QString& path) { return std::max<qint64>(::FileSizeOf(path), 0); }

void TfrmMain::btnConvertClick() {
  // While an added file is being probed the runner is taken; the click would
  // kill that probe.
  if (view_.RowCount() == 0 || Busy_ || probing_) return;
  view_.SetBatchRunning(true);
  for (int i = 0; i < view_.RowCount(); ++i) view_.SetRowProgress(i, QString());
  JobIndex_ = -1;
  Busy_ = true;
  Outputs().clear();
  nextRow_ = nullptr;
  view_.SetStatusText(QStringLiteral("Batch converting"));
  NextJob();
}

void TfrmMain::NextJob() {
  // Files dropped while the last job ran join the list now, so this batch
  // takes them too.
  DrainPendingAdds();
  AdvanceJob();
  try {
    while (Busy_ && JobIndex_ < view_.RowCount()) {
      if (StartJob(view_.RowFileName(JobIndex_))) {
        view_.SetRowProgress(JobIndex_, QStringLiteral("0%"));
        view_.SetProgress(JobIndex_ * 100 / view_.RowCount());
        return;
      }
      if (!Busy_) return;  // stopped during the probe: no further job
      // Deleted or no longer acceptable since it was added: said, not skipped
      // in silence. It has no output.
      OutputFile_.clear();
      view_.SetRowProgress(JobIndex_, jobSkipped_ ? QStringLiteral("Skipped") : QStringLiteral("Error"));
      AdvanceJob();
    }
  } catch (...) {
    // A job that cannot even start (transcoder missing, script not written)
    // ends the batch instead of leaving it waiting for an end that never comes.
    FinishBatch();
    throw;
  }
  if (!Busy_) return;
  FinishBatch();
  if (view_.RowCount() > 0) view_.SetProgress(JobIndex_ * 100 / view_.RowCount());
}

void TfrmMain::AdvanceJob() {
  if (!nextRow_) {
    ++JobIndex_;
    return;
  }
  const int row = nextRow_();
  JobIndex_ = row >= 0 ? row : view_.RowCount();
}

void TfrmMain::RunBatchRows(std::function<int()> nextRow) {
  if (Busy_ || probing_) return;
  nextRow_ = std::move(nextRow);
  JobIndex_ = -1;
  Busy_ = true;
  view_.SetBatchRunning(true);
  NextJob();
}

void TfrmMain::AdoptSettingsFrom(const TfrmMain& other) {
  if (!Runner_) Runner_ = std::make_unique<TRedirector>();
  OutputDir_ = other.OutputDir_;
  OverWrite_ = other.OverWrite_;
  NamingMode_ = other.NamingMode_;
  OutputSubfolder = other.OutputSubfolder;
  SkipExisting = other.SkipExisting;
  CopyAudio = other.CopyAudio;
  TitleText_ = other.TitleText_;
  // What the other learns as it adds the files, shared: a job then starts
  // (and names its output) at once, so names are taken in the list's order
  // however the jobs interleave. A file changed since is probed again.
  probeCache_ = other.probeCache_;
}

void TfrmMain::ConvertTerminated(TRedirector* sender) {
  FlushOutput();
  conversionActive_ = false;
  const bool clean = sender ? sender->LastExitClean() : true;
  const bool haveOutput = IsRegularFile(OutputFile_) && FileSizeOf(OutputFile_) > 0;
  QString state;
  if (haveOutput && clean)
    state = QStringLiteral("Done");
  else if (Busy_)
    state = QStringLiteral("Error");
  else
    state = QStringLiteral("Abort");
  if (JobIndex_ >= 0 && JobIndex_ < view_.RowCount()) view_.SetRowProgress(JobIndex_, state);
  if (state != u"Done") {
    // A failed conversion leaves nothing empty behind, nor the front's
    // partial file when it was killed.
    if (!outputExisted_ && IsRegularFile(OutputFile_) && FileSizeOf(OutputFile_) == 0) RemoveFile(OutputFile_);
    RemoveFrontPartial();
  }
  DeleteScriptFile();
  if (Busy_)
    NextJob();
  else
    FinishBatch();
}

void TfrmMain::FinishBatch() {
  view_.SetBatchRunning(false);
  // Only the batch's own child: a probe for a file being added goes on.
  if (Runner_ && Runner_->Running() && (conversionActive_ || probingForJob_)) Runner_->Terminate(0);
  view_.SetStatusText(QStringLiteral("Ready"));
  view_.SetCaption(TitleText_);
  Busy_ = false;
  ScheduleDrain();
}

void TfrmMain::btnStopConvertClick() {
  if (!Busy_) return;  // Stop ends a batch and nothing else
  FinishBatch();
  // The killed transcoder lets go of its output in this time.
  QThread::msleep(500);
  if (!OutputFile_.isEmpty() && conversionActive_) {
    DeleteScriptFile();
    // What was there before the job (overwrite on) is no partial output.
    if (!outputExisted_) RemoveFile(OutputFile_);
    RemoveFrontPartial();
  }
}

void TfrmMain::RemoveFrontPartial() {
  if (front_ > 0 && !OutputFile_.isEmpty()) RemoveFile(FrontPartialFile(OutputFile_, front_));
}

// ---- File list -----------------------------------------------------------------------

bool TfrmMain::RunnerTaken() const {
  // Between jobs the batch adds the files it queued itself.
  return (Busy_ && !draining_) || probing_;
}

void TfrmMain::QueueOrRun(const QString& path, bool isList) {
  // Adding probes the file on the one runner; while a batch or another probe
  // holds it, the file waits its turn instead of killing that child.
  if (RunnerTaken()) {
    pendingAdds_.push_back({path, isList});
    if (!Busy_) ScheduleDrain();
    return;
  }
  if (isList)
    LoadFileList(path);
  else
    AddVideoFile(path);
}

void TfrmMain::ScheduleDrain() {
  if (pendingAdds_.empty() || drainScheduled_) return;
  drainScheduled_ = true;
  QTimer::singleShot(0, QCoreApplication::instance(), [this, alive = alive_] {
    if (!*alive) return;
    drainScheduled_ = false;
    // The batch takes them between jobs; a running probe schedules this
    // again when it ends.
    if (Busy_ || probing_) return;
    DrainPendingAdds();
  });
}

void TfrmMain::DrainPendingAdds() {
  if (draining_) return;
  draining_ = true;
  // Each add on its own: one that fails (a list file that cannot be read) is
  // shown and the others, and the batch, go on.
  while (!pendingAdds_.empty() && !probing_) {
    const PendingAdd next = pendingAdds_.front();
    pendingAdds_.erase(pendingAdds_.begin());
    RunGuarded([&] {
      if (next.isList)
        LoadFileList(next.path);
      else
        AddVideoFile(next.path);
    });
  }
  draining_ = false;
}

void TfrmMain::AddVideoFile(const QString& path) { AddFile(path, true); }

bool TfrmMain::AddFoundFile(const QString& path) {
  const int rows = view_.RowCount();
  AddFile(path, false);
  return view_.RowCount() > rows;
}

void TfrmMain::AddFile(const QString& path, bool reportRejection) {
  if (!IsRegularFile(path) || addAborted_) return;
  if (RunnerTaken()) {
    QueueOrRun(path, false);
    return;
  }
  const bool ok = CheckVideoFile(path);
  if (addAborted_) {
    if (loadDepth_ == 0) addAborted_ = false;  // a list being loaded clears it at its end
    return;
  }
  if (ok) {
    const int d = facts_.Duration;
    const QString info = QString::asprintf("%dX%d %.2d:%.2d:%.2d", facts_.VideoWidth, facts_.VideoHeight, d / 3600,
                                           (d % 3600) / 60, d % 60);
    view_.AddRow(path, info);
  } else if (reportRejection) {
    view_.ShowMessage(QStringLiteral("Unsupported or bad video file: ") + path + u'!');
  }
}

void TfrmMain::LoadFileList(const QString& path) {
  if (RunnerTaken()) {
    QueueOrRun(path, true);
    return;
  }
  ++loadDepth_;
  try {
    const TListRead read = ReadFileList(path, [&](const QString& file) {
      if (addAborted_) return false;
      if (!IsRegularFile(file))
        view_.NoteMissingListEntry(path, file);
      else
        AddVideoFile(file);
      return !addAborted_;
    });
    if (!read.HasHeader) view_.NoteListWithoutHeader(path);
  } catch (...) {
    EndLoad();
    throw;
  }
  EndLoad();
}

void TfrmMain::EndLoad() {
  if (--loadDepth_ == 0) addAborted_ = false;
}

void TfrmMain::AbortAdding() {
  if (loadDepth_ == 0 && !probing_) return;
  addAborted_ = true;
  pendingAdds_.clear();
  if (probing_ && !probingForJob_ && Runner_ && Runner_->Running()) Runner_->Terminate(0);
}

void TfrmMain::SaveFileList(const QString& path) {
  QStringList rows;
  for (int i = 0; i < view_.RowCount(); ++i) rows << view_.RowFileName(i);
  WriteFileList(path, rows);
}

void TfrmMain::btnAddFileClick() {
  TFileDialogSpec spec;
  spec.Title = QStringLiteral("Add video file to batch convert to Flash");
  spec.FileName = QStringLiteral(" ");
  spec.MultiSelect = true;
  spec.Filters = {
      "Supported Files|*.rm;*.rmvb;*.avi;*.mpg;*.mpeg;*.vob;*.wmv;*.wma;*.asf;*.mov;*.qt;*.3gp;*.3g2;*.m2v;*m4v;*.mp4",
      "Real Media Files(*.rm;*.rmvb)|*.rm;*.rmvb",
      "AVI Files(*.avi)|*.avi",
      "MPEG Files(*.mpg;*.mpeg;*.vob;*.m2v;*m4v;*.mp4)|*.mpg;*.mpeg;*.vob;*.m2v;*m4v;*.mp4",
      "Windows Media Files(*.wmv;*.wma;*.asf)|*.wmv;*.wma;*.asf",
      "QuickTime Files(*.mov;*.qt)|*.mov;*.qt",
      "3GP Files(*.3gp;*.3g2)|*.3gp;*.3g2",
  };
  const std::optional<QStringList> files = view_.RunOpenDialog(spec);
  if (!files) return;
  for (const QString& f : *files)
    if (IsRegularFile(f)) AddVideoFile(f);
}

void TfrmMain::btnLoadListClick() {
  TFileDialogSpec spec;
  spec.Title = QStringLiteral("Load file file list");
  spec.Filters = {QStringLiteral("File List(*.lst)|*.lst")};
  const std::optional<QStringList> files = view_.RunOpenDialog(spec);
  if (files && !files->isEmpty()) LoadFileList(files->first());
}

void TfrmMain::btnSaveListClick() {
  TFileDialogSpec spec;
  spec.Title = QStringLiteral("Save file list");
  spec.FileName = QStringLiteral("Sonolift.lst");
  spec.Filters = {QStringLiteral("File List(*.lst)|*.lst")};
  if (const std::optional<QString> file = view_.RunSaveDialog(spec)) SaveFileList(*file);
}

void TfrmMain::btnClearClick() { view_.ClearRows(); }

void TfrmMain::lvFilesKeyDown(int key) {
  if (key != kDeleteKey || Busy_ || probing_) return;
  const std::vector<int> rows = view_.SelectedRows();
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) view_.DeleteRow(*it);
}

void TfrmMain::lvFilesDblClick() {
  const std::vector<int> rows = view_.SelectedRows();
  if (!rows.empty()) view_.OpenDocument(view_.RowFileName(rows.front()));
}

void TfrmMain::DropFiles(const QStringList& paths) {
  for (const QString& p : paths) QueueOrRun(p, UpperExtension(p) == u".LST");
}

// ---- Pages and window actions ----------------------------------------------------------

bool TfrmMain::SwitchPage(TPage target) {
  if (target == CurrentPage_) return true;
  if (CurrentPage_ == TPage::Options) {
    const QString dir = view_.DirectoryText();
    if (!IsDirectory(dir)) {
      view_.ShowMessage(QStringLiteral("Please make sure the directory exists"));
      view_.FocusDirectory();
      return false;
    }
    OutputDir_ = WithSeparator(AbsoluteFileName(dir));
    OverWrite_ = view_.OverWriteChecked();
    NamingMode_ = std::clamp(view_.NamingIndex(), 0, 1);
  }
  CurrentPage_ = target;
  return true;
}

void TfrmMain::btnBatchClick() {
  if (!SwitchPage(TPage::Batch)) return;
  view_.SetInfoText(QLatin1String(kBatchHint));
  view_.ShowPage(TPage::Batch);
}

void TfrmMain::btnOptionClick() {
  if (!SwitchPage(TPage::Options)) return;
  view_.SetDirectoryText(OutputDir_);
  view_.SetOverWriteChecked(OverWrite_);
  view_.SetNamingIndex(NamingMode_);
  view_.SetInfoText(QLatin1String(kOptionsInfo));
  view_.ShowPage(TPage::Options);
}

namespace {
// Our own help page and about page, beside the program or where it is installed.
QString LocalPage(const QString& programDir, const QString& name) {
  for (const QString& dir : {programDir, programDir + QStringLiteral("../share/sonolift/"),
                             programDir + QStringLiteral("../../share/sonolift/")}) {
    if (QFileInfo::exists(dir + name)) return QDir::cleanPath(dir + name);
  }
  return QDir::cleanPath(programDir + name);
}
}  // namespace

void TfrmMain::btnHelpClick() {
  view_.SetInfoText(QLatin1String(kHelpHint));
  const QString chm = programDir_ + QStringLiteral("help.chm");
  view_.OpenDocument(QFileInfo::exists(chm) ? chm : LocalPage(programDir_, QStringLiteral("help.html")));
}

void TfrmMain::btnDirClick() {
  if (const std::optional<QString> dir = view_.RunDirectoryDialog(view_.DirectoryText())) view_.SetDirectoryText(*dir);
}

void TfrmMain::btnFolderClick() { view_.OpenDocument(OutputDir_); }

void TfrmMain::labelHomeClick() { view_.OpenDocument(LocalPage(programDir_, QStringLiteral("about.html"))); }
