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

#include <sys/stat.h>

#include "app_error.h"
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

bool FileExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isFile(); }
bool DirectoryExists(const QString& path) { return !path.isEmpty() && QFileInfo(path).isDir(); }

bool SameFile(const QString& a, const QString& b) {
  struct stat sa, sb;
  if (::stat(QFile::encodeName(a).constData(), &sa) != 0) return false;
  if (::stat(QFile::encodeName(b).constData(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

QString CleanAbsolute(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

}  // namespace

QString DefaultSettingsFile(const QString& programDir) {
  const QString overridden = qEnvironmentVariable("SONOLIFT_INI");
  if (!overridden.isEmpty()) return overridden;
  const QString beside = programDir + QStringLiteral("strings.ini");
  const QFileInfo file(beside);
  if (file.exists() ? file.isWritable() : QFileInfo(programDir).isWritable()) return beside;
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const QString dir = config + QStringLiteral("/sonolift");
  QDir().mkpath(dir);
  return dir + QStringLiteral("/strings.ini");
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
    if (!DirectoryExists(OutputDir_)) OutputDir_ = GetMyDocumentsDir();
    OutputDir_ = WithSeparator(OutputDir_);
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
  if (Runner_->Running()) Runner_->Terminate(0);
  // A killed child still has to deliver its end before the runner is free.
  while (Runner_->Running()) ProcessUiEventsWaiting();
}

bool TfrmMain::ProbeFile(const QString& input) {
  SetUpRunner(false);
  EndRunningChild();
  Runner_->SetCommandLine(ProbeCommand(programDir_, input));
  facts_ = TMediaFacts();
  parser_.Reset();
  Runner_->Execute();
  if (!WaitForProbe()) return false;
  return facts_.Duration > 0 && facts_.HasAudio;
}

void TfrmMain::DeleteScriptFile() {
  if (ScriptFile_.isEmpty()) return;
  QFile::remove(ScriptFile_);
  ScriptFile_.clear();
}

bool TfrmMain::ProbeViaScript(const QString& input) {
  const QString script = WriteAvsScript(input);
  bool ok = false;
  try {
    ok = ProbeFile(script);
  } catch (...) {
    QFile::remove(script);
    throw;
  }
  QFile::remove(script);
  return ok;
}

bool TfrmMain::CheckVideoFile(const QString& input) {
  const QFileInfo info(input);
  const QString key = CleanAbsolute(input);
  if (probeCacheEnabled_) {
    auto it = probeCache_.constFind(key);
    if (it != probeCache_.cend() && it->size == info.size() &&
        it->mtimeMs == info.lastModified().toMSecsSinceEpoch()) {
      facts_ = it->facts;
      UseScript_ = it->useScript;
      return true;
    }
  }

  probing_ = true;
  bool ok = false;
  try {
    UseScript_ = false;
    if (IsScriptType(input)) {
      if (ProbeViaScript(input)) {
        UseScript_ = true;
        ok = true;
      } else {
        ok = ProbeFile(input);
      }
    } else {
      ok = ProbeFile(input);
    }
  } catch (...) {
    probing_ = false;
    throw;
  }
  probing_ = false;
  if (ok && probeCacheEnabled_)
    probeCache_.insert(key, {info.size(), info.lastModified().toMSecsSinceEpoch(), facts_, UseScript_});
  return ok;
}

QString TfrmMain::WriteAvsScript(const QString& input) {
  const QString path = CreateUniqueTempFile(QStringLiteral("tmp"), QStringLiteral(".avs"));
  QFile f(path);
  const QByteArray text = ScriptText(input);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(text) != text.size()) {
    f.remove();
    throw EAppError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString()));
  }
  return path;
}

bool TfrmMain::AvoidOutputName(const QString& candidate, const QString& input) const {
  // A job never replaces its own input, nor an output of an earlier job of the
  // same batch (two inputs with the same base name).
  return SameFile(candidate, input) || batchOutputs_.contains(CleanAbsolute(candidate));
}

QString TfrmMain::MakeOutputFileName(const QString& input) {
  const QString base = OutputBaseName(input, NamingMode_, JobIndex_);
  const QString ext = SelectedText(FormatList(), view_.FormatIndex()).toUpper();
  const QString candidate = OutputDir_ + base + u'.' + ext;
  if (OverWrite_ ? !AvoidOutputName(candidate, input) : !QFileInfo::exists(candidate)) return candidate;
  for (int n = 1;; ++n) {
    const QString c = OutputDir_ + base + u'(' + QString::number(n) + u')' + u'.' + ext;
    if (!QFileInfo::exists(c) && !AvoidOutputName(c, input)) return c;
  }
}

bool TfrmMain::StartJob(const QString& input) {
  if (!CheckVideoFile(input)) return false;
  // Stop may have been pressed while the probe kept the event queue running.
  if (!Busy_) return false;
  DeleteScriptFile();

  OutputFile_ = MakeOutputFileName(input);
  QFile::remove(OutputFile_);
  batchOutputs_.insert(CleanAbsolute(OutputFile_));

  TEncodeChoice choice;
  choice.Format = SelectedText(FormatList(), view_.FormatIndex());
  choice.SampleRate = SelectedText(SampleRateList(), view_.SampleRateIndex());
  choice.BitRate = SelectedText(BitRateList(), view_.BitRateIndex());
  choice.Mono = view_.Mono();
  QString source = input;
  if (UseScript_) {
    ScriptFile_ = WriteAvsScript(input);
    source = ScriptFile_;
  }
  const QString command = ConvertCommand(programDir_, source, OutputFile_, choice);

  EndRunningChild();
  SetUpRunner(true);
  Runner_->SetCommandLine(command);
  facts_.Duration = 0;
  facts_.VideoWidth = 0;
  facts_.VideoHeight = 0;
  parser_.Reset();
  Runner_->Execute();
  conversionActive_ = true;
  return true;
}

// ---- Batch run ---------------------------------------------------------------------

qint64 TfrmMain::FileSizeOf(const QString& path) { return QFileInfo(path).size(); }

void TfrmMain::btnConvertClick() {
  // While an added file is being probed the runner is taken; the click would
  // kill that probe.
  if (view_.RowCount() == 0 || Busy_ || probing_) return;
  view_.SetBatchRunning(true);
  for (int i = 0; i < view_.RowCount(); ++i) view_.SetRowProgress(i, QString());
  JobIndex_ = -1;
  Busy_ = true;
  batchOutputs_.clear();
  view_.SetStatusText(QStringLiteral("Batch converting"));
  NextJob();
}

void TfrmMain::NextJob() {
  // Files dropped while the last job ran join the list now, so this batch
  // takes them too.
  DrainPendingAdds();
  ++JobIndex_;
  try {
    while (Busy_ && JobIndex_ < view_.RowCount()) {
      if (StartJob(view_.RowFileName(JobIndex_))) {
        view_.SetRowProgress(JobIndex_, QStringLiteral("0%"));
        view_.SetProgress(JobIndex_ * 100 / view_.RowCount());
        return;
      }
      if (!Busy_) return;  // stopped during the probe: no further job
      ++JobIndex_;
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

void TfrmMain::ConvertTerminated(TRedirector* sender) {
  FlushOutput();
  conversionActive_ = false;
  const bool clean = sender ? sender->LastExitClean() : true;
  const bool haveOutput = FileExists(OutputFile_) && FileSizeOf(OutputFile_) > 0;
  QString state;
  if (haveOutput && clean)
    state = QStringLiteral("Done");
  else if (Busy_)
    state = QStringLiteral("Error");
  else
    state = QStringLiteral("Abort");
  if (JobIndex_ >= 0 && JobIndex_ < view_.RowCount()) view_.SetRowProgress(JobIndex_, state);
  // A failed conversion leaves nothing empty behind.
  if (state != u"Done" && FileExists(OutputFile_) && FileSizeOf(OutputFile_) == 0) QFile::remove(OutputFile_);
  DeleteScriptFile();
  if (Busy_)
    NextJob();
  else
    FinishBatch();
}

void TfrmMain::FinishBatch() {
  view_.SetBatchRunning(false);
  if (Runner_ && Runner_->Running()) Runner_->Terminate(0);
  view_.SetStatusText(QStringLiteral("Ready"));
  view_.SetCaption(TitleText_);
  Busy_ = false;
  ScheduleDrain();
}

void TfrmMain::btnStopConvertClick() {
  FinishBatch();
  // The killed transcoder lets go of its output in this time.
  QThread::msleep(500);
  if (!OutputFile_.isEmpty() && conversionActive_) {
    DeleteScriptFile();
    QFile::remove(OutputFile_);
  }
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
    if (Busy_) return;  // the batch takes them between jobs
    if (probing_) {
      ScheduleDrain();
      return;
    }
    RunGuarded([this] { DrainPendingAdds(); });
  });
}

void TfrmMain::DrainPendingAdds() {
  if (draining_) return;
  draining_ = true;
  try {
    while (!pendingAdds_.empty() && !probing_) {
      const PendingAdd next = pendingAdds_.front();
      pendingAdds_.erase(pendingAdds_.begin());
      if (next.isList)
        LoadFileList(next.path);
      else
        AddVideoFile(next.path);
    }
  } catch (...) {
    draining_ = false;
    throw;
  }
  draining_ = false;
}

void TfrmMain::AddVideoFile(const QString& path) {
  if (!FileExists(path)) return;
  if (RunnerTaken()) {
    QueueOrRun(path, false);
    return;
  }
  if (CheckVideoFile(path)) {
    const int d = facts_.Duration;
    const QString info = QString::asprintf("%dX%d %.2d:%.2d:%.2d", facts_.VideoWidth, facts_.VideoHeight, d / 3600,
                                           (d % 3600) / 60, d % 60);
    view_.AddRow(path, info);
  } else {
    view_.ShowMessage(QStringLiteral("Unsupported or bad video file: ") + path + u'!');
  }
}

void TfrmMain::LoadFileList(const QString& path) {
  if (RunnerTaken()) {
    QueueOrRun(path, true);
    return;
  }
  ReadFileList(path, [this](const QString& file) { AddVideoFile(file); });
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
    if (FileExists(f)) AddVideoFile(f);
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
    if (!DirectoryExists(dir)) {
      view_.ShowMessage(QStringLiteral("Please make sure the directory exists"));
      view_.FocusDirectory();
      return false;
    }
    OutputDir_ = WithSeparator(dir);
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
