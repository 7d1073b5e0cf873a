// TConsoleView: the file list and status of the workflow, shown on a terminal
// (a live per-file percentage and a batch bar) or as plain lines.
#pragma once

#include <QElapsedTimer>

#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "main_view.h"

class TfrmMain;

class TConsoleView : public IMainView {
 public:
  explicit TConsoleView(bool interactive);
  void SetController(const TfrmMain* controller) { controller_ = controller; }

  // Files rejected, messages shown and list problems noted: any of them makes
  // the batch's exit status 1.
  int Rejected() const { return rejected_; }
  int Failures() const { return failures_; }

  int RowCount() const override { return int(rows_.size()); }
  void AddRow(const QString& fileName, const QString& information) override;
  QString RowFileName(int row) const override { return rows_[size_t(row)].file; }
  QString RowProgress(int row) const override { return rows_[size_t(row)].progress; }
  void SetRowProgress(int row, const QString& text) override;
  // The same for a row converted by another controller, with its output and
  // what the job did (kept the audio or converted it).
  void SetRowProgressOf(int row, const QString& text, const QString& output, const QString& note = QString());
  // Called after each row is added (jobs side by side start on it).
  std::function<void()> OnRowAdded;
  // Several rows run at once: the live line shows each and the whole batch.
  void SetParallel(bool parallel) { parallel_ = parallel; }
  void DeleteRow(int row) override { rows_.erase(rows_.begin() + row); }
  void ClearRows() override { rows_.clear(); }
  std::vector<int> SelectedRows() const override { return {}; }

  int FormatIndex() const override { return format_; }
  void SetFormatIndex(int index) override { format_ = index; }
  int SampleRateIndex() const override { return rate_; }
  void SetSampleRateIndex(int index) override { rate_ = index; }
  int BitRateIndex() const override { return bitRate_; }
  void SetBitRateIndex(int index) override { bitRate_ = index; }
  bool Mono() const override { return mono_; }
  void SetMono(bool mono) override { mono_ = mono; }

  QString DirectoryText() const override { return directory_; }
  void SetDirectoryText(const QString& text) override { directory_ = text; }
  bool OverWriteChecked() const override { return overWrite_; }
  void SetOverWriteChecked(bool checked) override { overWrite_ = checked; }
  int NamingIndex() const override { return naming_; }
  void SetNamingIndex(int index) override { naming_ = index; }
  void FocusDirectory() override {}

  void ShowPage(TPage) override {}
  void SetInfoText(const QString&) override {}
  void SetStatusText(const QString&) override {}
  void SetProgress(int percent) override;
  void SetBatchRunning(bool) override {}
  void SetCaption(const QString&) override {}

  void ShowMessage(const QString& text) override;
  void NoteMissingListEntry(const QString& listFile, const QString& entry) override;
  void NoteListWithoutHeader(const QString& listFile) override;
  void OpenDocument(const QString&) override {}
  void TerminateApplication() override {}
  std::optional<QStringList> RunOpenDialog(const TFileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> RunSaveDialog(const TFileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> RunDirectoryDialog(const QString&) override { return std::nullopt; }

  // Ends the live status line before normal output continues.
  void EndLiveLine();
  // The batch's clock, for the time left in the live line and the summary.
  void StartClock() { clock_.start(); }
  // One line: how many rows ended how, files not accepted, and the time taken.
  void PrintSummary();

 private:
  struct Row {
    QString file;
    QString progress;
  };
  void DrawLive(int row);
  QString TimeLeft(int row) const;
  QString TimeLeftAt(double done) const;
  void DrawLiveParallel();
  // Prints the finished rows' lines that are next in the list's order (all
  // of them at the end).
  void FlushFinished(bool all);

  bool interactive_;
  const TfrmMain* controller_ = nullptr;
  std::vector<Row> rows_;
  int format_ = 0, rate_ = 0, bitRate_ = 0, naming_ = 0;
  bool mono_ = false, overWrite_ = false;
  QString directory_;
  int batchPercent_ = 0;
  int rejected_ = 0;
  int failures_ = 0;
  bool liveShown_ = false;
  bool parallel_ = false;
  std::map<int, QString> finished_;  // lines of finished rows not yet printed
  int nextLine_ = 0;
  QElapsedTimer clock_;
};
