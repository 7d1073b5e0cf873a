// TfrmMain: the extraction workflow's controller. It owns the settings, the
// one process runner and the state of a batch run; the rows of the file list
// are the jobs. Everything runs on the UI thread.
#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <sys/types.h>
#include <functional>
#include <memory>
#include <optional>

#include "file_version_info.h"
#include "ini_file.h"
#include "main_view.h"
#include "output_parser.h"
#include "redirect.h"

struct TStartOptions {
  QString ExecutablePath;  // the program file whose version is shown
  QString ProgramDir;      // where videoenc.dll and help.chm are; ends in '/'
  QString SettingsFile;    // strings.ini
};

// Where the settings live: beside the program when that folder is writable,
// otherwise in the XDG config folder. SONOLIFT_INI overrides both.
QString DefaultSettingsFile(const QString& programDir);
TStartOptions DefaultStartOptions();

class TfrmMain {
 public:
  TfrmMain(IMainView& view, TStartOptions options);
  ~TfrmMain();

  // Start-up, closing and destruction.
  void FormCreate(const QStringList& arguments);
  bool FormClose();
  void FormDestroy();
  void AppException(const QString& message);
  static QString GetMyDocumentsDir();

  // Probing, commands and output naming.
  bool ProbeFile(const QString& input);
  bool ProbeViaScript(const QString& input);
  bool CheckVideoFile(const QString& input);
  QString WriteAvsScript(const QString& input);
  QString MakeOutputFileName(const QString& input);
  bool StartJob(const QString& input);

  // Batch run.
  void btnConvertClick();
  void btnStopConvertClick();
  void NextJob();
  void ConvertTerminated(TRedirector* sender);
  void FinishBatch();
  static qint64 FileSizeOf(const QString& path);

  // File list.
  void AddVideoFile(const QString& path);
  // As AddVideoFile, for a file found in a folder: one that is not a video is
  // passed over without a message. True when a row was added.
  bool AddFoundFile(const QString& path);
  void LoadFileList(const QString& path);
  void SaveFileList(const QString& path);
  void btnAddFileClick();
  void btnLoadListClick();
  void btnSaveListClick();
  void btnClearClick();
  void lvFilesKeyDown(int key);
  void lvFilesDblClick();
  void DropFiles(const QStringList& paths);
  // Abandons the list being loaded and the file being probed for an add (a
  // console's Ctrl-C): no further entry is probed, nothing more is added.
  void AbortAdding();

  // Pages and window actions.
  bool SwitchPage(TPage target);
  void btnBatchClick();
  void btnOptionClick();
  void btnHelpClick();
  void btnDirClick();
  void btnFolderClick();
  void labelHomeClick();

  // State, for views and tests.
  const QString& ProgramDir() const { return programDir_; }
  const QString& OutputDir() const { return OutputDir_; }
  bool OverWrite() const { return OverWrite_; }
  int NamingMode() const { return NamingMode_; }
  bool Busy() const { return Busy_; }
  bool Probing() const { return probing_; }
  int JobIndex() const { return JobIndex_; }
  const QString& OutputFile() const { return OutputFile_; }
  const QString& ScriptFile() const { return ScriptFile_; }
  TPage CurrentPage() const { return CurrentPage_; }
  const QString& TitleText() const { return TitleText_; }
  const TMediaFacts& Facts() const { return facts_; }
  const TFileVersionInfo& VersionInfo() const { return VersionInfo_; }
  TRedirector* Runner() const { return Runner_.get(); }
  const TIniFile* Settings() const { return Settings_.get(); }

  // Powers of the console program beyond the window's batch. OutputSubfolder
  // gives a row's output folder relative to OutputDir (created as needed);
  // with SkipExisting a row whose first output name exists is not run and
  // shows "Skipped".
  std::function<QString(int row)> OutputSubfolder;
  bool SkipExisting = false;
  // Keep the source's audio stream without re-encoding where the chosen
  // format's container holds its codec; JobNote then says what the running or
  // last job did ("" without CopyAudio).
  bool CopyAudio = false;
  const QString& JobNote() const { return jobNote_; }
  // Several controllers over one list convert its rows side by side: each
  // takes the rows nextRow hands out (a number past the last, or -1, when none
  // is left) and all share one set of the batch's output names, so no two
  // jobs take the same free name. The list's Progress cells are not cleared.
  void RunBatchRows(std::function<int()> nextRow);
  void ShareBatchOutputs(std::shared_ptr<QSet<QString>> outputs) { sharedOutputs_ = std::move(outputs); }
  // A controller without a window of its own takes the output choices, the
  // options above and a runner from the one that read the settings, and
  // shares what that one's probes learn.
  void AdoptSettingsFrom(const TfrmMain& other);

  // Skips a second probe of a file whose path, size and modification time are
  // unchanged since it was accepted (the next probe gives the same facts).
  void SetProbeCacheEnabled(bool enabled) { probeCacheEnabled_ = enabled; }

  // Page hints shown in the information label.
  static constexpr const char* kBatchHint = "Batch conversion";
  static constexpr const char* kHelpHint = "Get help information";
  static constexpr const char* kOptionsInfo = "Set options to control Sonolift";

 private:
  void ReadSettings();
  void SetUpRunner(bool converting);
  void ParseOutput(TEncoderOutputParser::Stream stream, const char* data, unsigned count);
  void FlushOutput();
  void WriteProgress(double percent);
  QString SelectedText(const QStringList& list, int index) const;
  bool OutputNameTaken(const QString& candidate, const QString& input) const;
  void AddFile(const QString& path, bool reportRejection);
  void QueueOrRun(const QString& path, bool isList);
  void DrainPendingAdds();
  void ScheduleDrain();
  bool WaitForProbe();
  void EndRunningChild();
  bool RunnerTaken() const;
  void DeleteScriptFile();
  void RemoveFrontPartial();
  QString JobOutputDir() const;
  void AdvanceJob();
  QSet<QString>& Outputs() { return sharedOutputs_ ? *sharedOutputs_ : batchOutputs_; }
  const QSet<QString>& Outputs() const { return sharedOutputs_ ? *sharedOutputs_ : batchOutputs_; }
  QString FirstOutputName(const QString& input) const;
  void EndLoad();

  IMainView& view_;
  QString executablePath_;
  QString programDir_;
  QString settingsFile_;

  std::unique_ptr<TIniFile> Settings_;
  std::unique_ptr<TRedirector> Runner_;
  TFileVersionInfo VersionInfo_;
  QString TitleText_;
  QString OutputDir_;
  bool OverWrite_ = false;
  int NamingMode_ = 0;
  TPage CurrentPage_ = TPage::None;
  bool Busy_ = false;
  int JobIndex_ = -1;
  QString OutputFile_;
  QString ScriptFile_;
  bool UseScript_ = false;
  TMediaFacts facts_;
  TEncoderOutputParser parser_;

  // Guards that keep a batch and a probe from disturbing each other.
  bool probing_ = false;
  bool probingForJob_ = false;       // the probe is StartJob's, not an add's
  bool conversionActive_ = false;    // OutputFile_ belongs to a running job
  bool outputExisted_ = false;       // OutputFile_ was there before its job
  pid_t front_ = 0;                  // the running job's transcoder front
  bool addAborted_ = false;
  bool jobSkipped_ = false;
  QString jobNote_;
  int loadDepth_ = 0;
  QSet<QString> batchOutputs_;       // outputs named in this batch
  std::shared_ptr<QSet<QString>> sharedOutputs_;  // the same, shared with other controllers
  std::function<int()> nextRow_;     // hands out rows when controllers share a list
  struct PendingAdd {
    QString path;
    bool isList;
  };
  std::vector<PendingAdd> pendingAdds_;
  bool drainScheduled_ = false;
  bool draining_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);

  struct ProbeCacheEntry {
    qint64 size;
    qint64 mtimeMs;
    TMediaFacts facts;
    bool useScript;
  };
  bool probeCacheEnabled_ = false;
  std::shared_ptr<QHash<QString, ProbeCacheEntry>> probeCache_ = std::make_shared<QHash<QString, ProbeCacheEntry>>();
};
