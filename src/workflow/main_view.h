// IMainView: the few window elements the workflow controller reads and
// writes. The Qt main window, the console of sonolift-batch and the tests'
// fake view each implement it.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

enum class TPage { None, Options, Batch };

struct TFileDialogSpec {
  QString Title;
  QString FileName;       // initial file name
  QStringList Filters;    // "label|pattern;pattern", in order
  bool MultiSelect = false;
};

class IMainView {
 public:
  virtual ~IMainView() = default;

  // File list rows: "File Name", "Information", "Progress".
  virtual int RowCount() const = 0;
  virtual void AddRow(const QString& fileName, const QString& information) = 0;
  virtual QString RowFileName(int row) const = 0;
  virtual QString RowProgress(int row) const = 0;
  virtual void SetRowProgress(int row, const QString& text) = 0;
  virtual void DeleteRow(int row) = 0;
  virtual void ClearRows() = 0;
  virtual std::vector<int> SelectedRows() const = 0;  // ascending

  // Choice lists: position of the selected entry, -1 when none.
  virtual int FormatIndex() const = 0;
  virtual void SetFormatIndex(int index) = 0;
  virtual int SampleRateIndex() const = 0;
  virtual void SetSampleRateIndex(int index) = 0;
  virtual int BitRateIndex() const = 0;
  virtual void SetBitRateIndex(int index) = 0;
  virtual bool Mono() const = 0;
  virtual void SetMono(bool mono) = 0;

  // Options page.
  virtual QString DirectoryText() const = 0;
  virtual void SetDirectoryText(const QString& text) = 0;
  virtual bool OverWriteChecked() const = 0;
  virtual void SetOverWriteChecked(bool checked) = 0;
  virtual int NamingIndex() const = 0;
  virtual void SetNamingIndex(int index) = 0;
  virtual void FocusDirectory() = 0;

  virtual void ShowPage(TPage page) = 0;
  virtual void SetInfoText(const QString& text) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual void SetProgress(int percent) = 0;
  // Batch running: the list buttons, Extract and Options off, Stop on; and back.
  virtual void SetBatchRunning(bool running) = 0;
  virtual void SetCaption(const QString& caption) = 0;

  // A modal message with one OK button.
  virtual void ShowMessage(const QString& text) = 0;
  // Opens a file, folder or address with the desktop's default program.
  virtual void OpenDocument(const QString& target) = 0;
  // Ends the program without further interaction.
  virtual void TerminateApplication() = 0;

  // What the window passes over in silence and a console reports: a list
  // entry that names no file, a list file without its header line.
  virtual void NoteMissingListEntry(const QString& /*listFile*/, const QString& /*entry*/) {}
  virtual void NoteListWithoutHeader(const QString& /*listFile*/) {}

  // The desktop's own file dialogs and the directory dialog; nullopt on Cancel.
  virtual std::optional<QStringList> RunOpenDialog(const TFileDialogSpec& spec) = 0;
  virtual std::optional<QString> RunSaveDialog(const TFileDialogSpec& spec) = 0;
  virtual std::optional<QString> RunDirectoryDialog(const QString& initial) = 0;
};
