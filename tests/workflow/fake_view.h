// A view of the workflow for tests: rows, choices and messages in memory.
#pragma once

#include <QStringList>
#include <vector>

#include "main_view.h"

class TFakeView : public IMainView {
 public:
  struct Row {
    QString file, info, progress;
  };
  std::vector<Row> rows;
  std::vector<int> selected;
  int format = -1, rate = -1, bitRate = -1, naming = 0;
  bool mono = false, overWrite = false, running = false, terminated = false, focusedDirectory = false;
  QString directory, info, status, caption;
  TPage shownPage = TPage::None;
  std::vector<int> progressValues;
  QStringList messages, opened;
  std::optional<QStringList> openAnswer;
  std::optional<QString> saveAnswer, directoryAnswer;
  std::vector<TFileDialogSpec> dialogs;
  std::vector<QString> progressLog;  // every progress text written, in order
  QStringList notes;                 // list entries without a file, lists without a header

  int RowCount() const override { return int(rows.size()); }
  void AddRow(const QString& f, const QString& i) override { rows.push_back({f, i, {}}); }
  QString RowFileName(int r) const override { return rows.at(size_t(r)).file; }
  QString RowProgress(int r) const override { return rows.at(size_t(r)).progress; }
  void SetRowProgress(int r, const QString& t) override {
    rows.at(size_t(r)).progress = t;
    progressLog.push_back(t);
  }
  void DeleteRow(int r) override { rows.erase(rows.begin() + r); }
  void ClearRows() override { rows.clear(); }
  std::vector<int> SelectedRows() const override { return selected; }
  int FormatIndex() const override { return format; }
  void SetFormatIndex(int i) override { format = i; }
  int SampleRateIndex() const override { return rate; }
  void SetSampleRateIndex(int i) override { rate = i; }
  int BitRateIndex() const override { return bitRate; }
  void SetBitRateIndex(int i) override { bitRate = i; }
  bool Mono() const override { return mono; }
  void SetMono(bool m) override { mono = m; }
  QString DirectoryText() const override { return directory; }
  void SetDirectoryText(const QString& t) override { directory = t; }
  bool OverWriteChecked() const override { return overWrite; }
  void SetOverWriteChecked(bool c) override { overWrite = c; }
  int NamingIndex() const override { return naming; }
  void SetNamingIndex(int i) override { naming = i; }
  void FocusDirectory() override { focusedDirectory = true; }
  void ShowPage(TPage p) override { shownPage = p; }
  void SetInfoText(const QString& t) override { info = t; }
  void SetStatusText(const QString& t) override { status = t; }
  void SetProgress(int p) override { progressValues.push_back(p); }
  void SetBatchRunning(bool r) override { running = r; }
  void SetCaption(const QString& c) override { caption = c; }
  void ShowMessage(const QString& t) override { messages << t; }
  void OpenDocument(const QString& t) override { opened << t; }
  void TerminateApplication() override { terminated = true; }
  void NoteMissingListEntry(const QString&, const QString& entry) override { notes << "missing " + entry; }
  void NoteListWithoutHeader(const QString& list) override { notes << "no header " + list; }
  std::optional<QStringList> RunOpenDialog(const TFileDialogSpec& s) override {
    dialogs.push_back(s);
    return openAnswer;
  }
  std::optional<QString> RunSaveDialog(const TFileDialogSpec& s) override {
    dialogs.push_back(s);
    return saveAnswer;
  }
  std::optional<QString> RunDirectoryDialog(const QString&) override { return directoryAnswer; }
};
