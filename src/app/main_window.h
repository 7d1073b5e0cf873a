// TMainWindow: the main window, a view over the workflow controller. The
// widgets are made by BuildMainWindowWidgets (layout only); this class wires
// them to the controller and implements the view interface.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "main_form.h"
#include "main_view.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedLayout;
class TFileListView;
class TMainWindowThemes;
class THomeLabel;
class TTeGroupBox;
class TTeLabel;
class TTePanel;
class TTeProgressBar;
class TTeStatusBar;
class TTeForm;
class TThemeSwitcher;

// The controls of the window, named as the program names them.
struct TMainWindowWidgets {
  TTePanel* panelLeft;
  QPushButton *btnBatch, *btnOption, *btnHelp;
  TTeLabel* labelInfo;
  THomeLabel* labelHome;
  TTePanel* panelPages;
  QStackedLayout* pages;
  TTePanel *panelBatch, *panelOption;
  TFileListView* lvFiles;
  QPushButton *btnLoadList, *btnSaveList, *btnClear, *btnConvert, *btnAddFile, *btnOutput, *btnStopConvert;
  // Panel 0 holds the progress bar, panel 1 shows the state text.
  TTeStatusBar* sbConvert;
  TTeProgressBar* progConvert;
  TTeGroupBox *grpOutput, *grpEncoding;
  QLineEdit* edtDirectory;
  QPushButton* btnDir;
  QComboBox *cbNaming, *cbFileFormat, *cbAudioSampleRate, *cbAudioBitRate;
  QCheckBox *checkOverWrite, *ckMono;
};

// Makes every control with its caption, hint, size and font on the window.
TMainWindowWidgets BuildMainWindowWidgets(QWidget* window);

// The design size of the client area; the window never gets smaller.
inline constexpr int kDesignWidth = 522;
inline constexpr int kDesignHeight = 410;

class TMainWindow : public QWidget, public IMainView {
  Q_OBJECT
 public:
  explicit TMainWindow(TStartOptions options, QWidget* parent = nullptr);
  ~TMainWindow() override;

  TfrmMain& Controller() { return *controller_; }
  const TMainWindowWidgets& Widgets() const { return w_; }
  // The stored theme with the engine and the frame's link.
  TMainWindowThemes& Themes() { return *themes_; }
  // The window's skinned frame and its theme switcher.
  TTeForm& Frame() { return *frame_; }
  TThemeSwitcher& ThemeSwitcher() { return *switcher_; }
  bool TerminateRequested() const { return terminateRequested_; }

  // Tests replace the modal message box and the desktop's open request.
  std::function<void(const QString&)> MessageSink;
  std::function<void(const QString&)> OpenSink;
  // Tests replace the desktop notification shown when a batch ends while the
  // window is not the active one.
  std::function<void(const QString& title, const QString& body)> NoticeSink;

  // IMainView
  int RowCount() const override;
  void AddRow(const QString& fileName, const QString& information) override;
  QString RowFileName(int row) const override;
  QString RowProgress(int row) const override;
  void SetRowProgress(int row, const QString& text) override;
  void DeleteRow(int row) override;
  void ClearRows() override;
  std::vector<int> SelectedRows() const override;
  int FormatIndex() const override;
  void SetFormatIndex(int index) override;
  int SampleRateIndex() const override;
  void SetSampleRateIndex(int index) override;
  int BitRateIndex() const override;
  void SetBitRateIndex(int index) override;
  bool Mono() const override;
  void SetMono(bool mono) override;
  QString DirectoryText() const override;
  void SetDirectoryText(const QString& text) override;
  bool OverWriteChecked() const override;
  void SetOverWriteChecked(bool checked) override;
  int NamingIndex() const override;
  void SetNamingIndex(int index) override;
  void FocusDirectory() override;
  void ShowPage(TPage page) override;
  void SetInfoText(const QString& text) override;
  void SetStatusText(const QString& text) override;
  void SetProgress(int percent) override;
  void SetBatchRunning(bool running) override;
  void SetCaption(const QString& caption) override;
  void ShowMessage(const QString& text) override;
  void OpenDocument(const QString& target) override;
  void TerminateApplication() override;
  std::optional<QStringList> RunOpenDialog(const TFileDialogSpec& spec) override;
  std::optional<QString> RunSaveDialog(const TFileDialogSpec& spec) override;
  std::optional<QString> RunDirectoryDialog(const QString& initial) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Connect();
  void NotifyBatchEnded();

  std::unique_ptr<TMainWindowThemes> themes_;
  TMainWindowWidgets w_;
  TTeForm* frame_ = nullptr;  // a child of the window
  std::unique_ptr<TThemeSwitcher> switcher_;
  std::unique_ptr<TfrmMain> controller_;
  bool terminateRequested_ = false;
  bool batchRunning_ = false;
};
