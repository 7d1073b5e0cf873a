// The main window as a view of the workflow controller.
#include "main_window.h"
#include "main_window_themes.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedLayout>
#include <QStandardPaths>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

#include "app_error.h"
#include "button_images.h"
#include "file_list_view.h"
#include "file_names.h"
#include "home_label.h"
#include "te_form.h"
#include "theme_switcher.h"
#include "te_label.h"
#include "te_panels.h"
#include "te_progress_bar.h"
#include "te_status_bar.h"

TMainWindow::TMainWindow(TStartOptions options, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("frmMain"));
  themes_ = std::make_unique<TMainWindowThemes>();
  w_ = BuildMainWindowWidgets(this);
  setWindowIcon(ApplicationIcon());
  // The frame: close, system menu, minimise, maximise and tray; dragged as the
  // desktop does; the stored theme's own copy through the link.
  frame_ = new TTeForm(this);
  frame_->SetBorderIcons(BorderIcon(TTeBorderIcon::kbiClose) | BorderIcon(TTeBorderIcon::kbiSystemMenu) |
                         BorderIcon(TTeBorderIcon::kbiMinimize) | BorderIcon(TTeBorderIcon::kbiMaximize) |
                         BorderIcon(TTeBorderIcon::kbiTray));
  frame_->Dragging().DragMode = kfdmSystemSettings;
  frame_->Gravitation().SetOwnedForm(false);
  frame_->SetPerformance(ksfpNoBuffer);
  frame_->Animation().SetEffectKind(QStringLiteral("[ FADE ] - FadeIn"));
  frame_->SetThemeLink(&themes_->Link());
  frame_->SetClientMinimumSize(QSize(kDesignWidth, kDesignHeight));
  resize(minimumSize());
  const QString settingsFile = options.SettingsFile;
  controller_ = std::make_unique<TfrmMain>(*this, std::move(options));
  switcher_ = std::make_unique<TThemeSwitcher>(*themes_, *frame_);
  switcher_->SetFolders({controller_->ProgramDir() + QStringLiteral("themes"),
                         QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                             QStringLiteral("/sonolift/themes")});
  switcher_->SetSettingsFile(settingsFile);
  switcher_->ShowMessage = [this](const QString& text) { ShowMessage(text); };
  switcher_->AskThemeFile = [this] {
    return QFileDialog::getOpenFileName(this, QStringLiteral("Open theme file"), switcher_->Folders().value(1),
                                        QStringLiteral("Themes and skins (*.theme *.msstyles *.uskn *.oskn *.xskn *.mskn);;All files (*)"));
  };
  frame_->OnSystemMenu = [this](QMenu& menu) { switcher_->AddMenu(menu); };
  switcher_->RestoreRemembered();
  Connect();
}

TMainWindow::~TMainWindow() {
  // The frame goes before the themes its link points into; the window's own
  // destruction still sends it events.
  delete frame_;
  frame_ = nullptr;
}

void TMainWindow::Connect() {
  TfrmMain* c = controller_.get();
  auto on = [this](QPushButton* b, void (TfrmMain::*handler)()) {
    connect(b, &QPushButton::clicked, this, [this, handler] { RunGuarded([&] { (controller_.get()->*handler)(); }); });
  };
  on(w_.btnBatch, &TfrmMain::btnBatchClick);
  on(w_.btnOption, &TfrmMain::btnOptionClick);
  on(w_.btnHelp, &TfrmMain::btnHelpClick);
  on(w_.btnLoadList, &TfrmMain::btnLoadListClick);
  on(w_.btnSaveList, &TfrmMain::btnSaveListClick);
  on(w_.btnClear, &TfrmMain::btnClearClick);
  on(w_.btnConvert, &TfrmMain::btnConvertClick);
  on(w_.btnAddFile, &TfrmMain::btnAddFileClick);
  on(w_.btnOutput, &TfrmMain::btnFolderClick);
  on(w_.btnStopConvert, &TfrmMain::btnStopConvertClick);
  on(w_.btnDir, &TfrmMain::btnDirClick);
  w_.labelHome->OnClick = [c] { RunGuarded([c] { c->labelHomeClick(); }); };
  w_.lvFiles->OnKeyDown = [c](int key) { c->lvFilesKeyDown(key); };
  w_.lvFiles->OnDropFiles = [c](const QStringList& files) { c->DropFiles(files); };
  connect(w_.lvFiles, &QTreeWidget::itemDoubleClicked, this,
          [c](QTreeWidgetItem*, int) { RunGuarded([c] { c->lvFilesDblClick(); }); });
}

// ---- Rows ------------------------------------------------------------------------

int TMainWindow::RowCount() const { return w_.lvFiles->topLevelItemCount(); }

void TMainWindow::AddRow(const QString& fileName, const QString& information) {
  auto* item = new QTreeWidgetItem(QStringList{fileName, information, QString()});
  item->setToolTip(0, fileName);
  w_.lvFiles->addTopLevelItem(item);
}

QString TMainWindow::RowFileName(int row) const {
  auto* item = w_.lvFiles->topLevelItem(row);
  return item ? item->text(0) : QString();
}

QString TMainWindow::RowProgress(int row) const {
  auto* item = w_.lvFiles->topLevelItem(row);
  return item ? item->text(2) : QString();
}

void TMainWindow::SetRowProgress(int row, const QString& text) {
  if (auto* item = w_.lvFiles->topLevelItem(row)) item->setText(2, text);
}

void TMainWindow::DeleteRow(int row) { delete w_.lvFiles->takeTopLevelItem(row); }

void TMainWindow::ClearRows() { w_.lvFiles->clear(); }

std::vector<int> TMainWindow::SelectedRows() const {
  std::vector<int> rows;
  for (int i = 0; i < RowCount(); ++i)
    if (w_.lvFiles->topLevelItem(i)->isSelected()) rows.push_back(i);
  return rows;
}

// ---- Choices ---------------------------------------------------------------------

int TMainWindow::FormatIndex() const { return w_.cbFileFormat->currentIndex(); }
void TMainWindow::SetFormatIndex(int index) { w_.cbFileFormat->setCurrentIndex(index); }
int TMainWindow::SampleRateIndex() const { return w_.cbAudioSampleRate->currentIndex(); }
void TMainWindow::SetSampleRateIndex(int index) { w_.cbAudioSampleRate->setCurrentIndex(index); }
int TMainWindow::BitRateIndex() const { return w_.cbAudioBitRate->currentIndex(); }
void TMainWindow::SetBitRateIndex(int index) { w_.cbAudioBitRate->setCurrentIndex(index); }
bool TMainWindow::Mono() const { return w_.ckMono->isChecked(); }
void TMainWindow::SetMono(bool mono) { w_.ckMono->setChecked(mono); }
QString TMainWindow::DirectoryText() const { return w_.edtDirectory->text(); }
void TMainWindow::SetDirectoryText(const QString& text) { w_.edtDirectory->setText(text); }
bool TMainWindow::OverWriteChecked() const { return w_.checkOverWrite->isChecked(); }
void TMainWindow::SetOverWriteChecked(bool checked) { w_.checkOverWrite->setChecked(checked); }
int TMainWindow::NamingIndex() const { return w_.cbNaming->currentIndex(); }
void TMainWindow::SetNamingIndex(int index) { w_.cbNaming->setCurrentIndex(index); }
void TMainWindow::FocusDirectory() { w_.edtDirectory->setFocus(Qt::OtherFocusReason); }

// ---- Pages and status ------------------------------------------------------------------

void TMainWindow::ShowPage(TPage page) {
  w_.pages->setCurrentWidget(page == TPage::Options ? w_.panelOption : w_.panelBatch);
}
void TMainWindow::SetInfoText(const QString& text) { w_.labelInfo->SetCaption(text); }
void TMainWindow::SetStatusText(const QString& text) { w_.sbConvert->Panel(1)->SetText(text); }
void TMainWindow::SetProgress(int percent) { w_.progConvert->SetPosition(percent); }

void TMainWindow::SetBatchRunning(bool running) {
  for (QPushButton* b : {w_.btnAddFile, w_.btnLoadList, w_.btnSaveList, w_.btnConvert, w_.btnOption, w_.btnClear})
    b->setEnabled(!running);
  w_.btnStopConvert->setEnabled(running);
  const bool ended = batchRunning_ && !running;
  batchRunning_ = running;
  if (ended && !isActiveWindow()) NotifyBatchEnded();
}

void TMainWindow::NotifyBatchEnded() {
  int done = 0, failed = 0, stopped = 0;
  for (int i = 0; i < RowCount(); ++i) {
    const QString state = RowProgress(i);
    if (state == u"Done")
      ++done;
    else if (state == u"Error")
      ++failed;
    else
      ++stopped;
  }
  const QString title = QStringLiteral("Sonolift: batch finished");
  QString body = QStringLiteral("%1 done").arg(done);
  if (failed) body += QStringLiteral(", %1 failed").arg(failed);
  if (stopped) body += QStringLiteral(", %1 stopped").arg(stopped);
  if (NoticeSink) {
    NoticeSink(title, body);
    return;
  }
  // The desktop's notification service; without one, the tray's balloon.
  QDBusInterface notifications(QStringLiteral("org.freedesktop.Notifications"),
                               QStringLiteral("/org/freedesktop/Notifications"),
                               QStringLiteral("org.freedesktop.Notifications"), QDBusConnection::sessionBus());
  if (notifications.isValid()) {
    notifications.asyncCall(QStringLiteral("Notify"), QStringLiteral("Sonolift"), 0u, QStringLiteral("sonolift"), title,
                            body, QStringList(), QVariantMap(), -1);
    return;
  }
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    auto* tray = new QSystemTrayIcon(windowIcon(), this);
    tray->show();
    tray->showMessage(title, body);
    connect(tray, &QSystemTrayIcon::messageClicked, tray, &QObject::deleteLater);
    QTimer::singleShot(30000, tray, &QObject::deleteLater);
  }
}

void TMainWindow::SetCaption(const QString& caption) { setWindowTitle(caption); }

// ---- Desktop services ----------------------------------------------------------------

void TMainWindow::ShowMessage(const QString& text) {
  if (MessageSink) {
    MessageSink(text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok, this);
  box.exec();
}

void TMainWindow::OpenDocument(const QString& target) {
  if (OpenSink) {
    OpenSink(target);
    return;
  }
  // Failures of the desktop's open request are not reported. A file is
  // named by its own bytes, so a name that is not UTF-8 opens too.
  if (PathExists(target)) {
    const QByteArray bytes = EncodeFileName(AbsoluteFileName(target));
    QDesktopServices::openUrl(QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/")));
    return;
  }
  const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
  QDesktopServices::openUrl(url.isValid() ? url : QUrl::fromLocalFile(target));
}

void TMainWindow::TerminateApplication() {
  terminateRequested_ = true;
  QApplication::exit(0);
}

namespace {
// "label|a;b" -> "label (a b)", as Qt's dialogs take name filters.
QStringList QtFilters(const QStringList& filters) {
  QStringList out;
  for (const QString& f : filters) {
    const qsizetype bar = f.indexOf(u'|');
    if (bar < 0) {
      out << f;
      continue;
    }
    QString patterns = f.mid(bar + 1);
    patterns.replace(u';', u' ');
    out << f.left(bar) + QStringLiteral(" (") + patterns + u')';
  }
  return out;
}
}  // namespace

std::optional<QStringList> TMainWindow::RunOpenDialog(const TFileDialogSpec& spec) {
  QFileDialog dialog(this, spec.Title);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(spec.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
  dialog.setNameFilters(QtFilters(spec.Filters));
  if (!spec.FileName.trimmed().isEmpty()) dialog.selectFile(spec.FileName);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.selectedFiles();
}

std::optional<QString> TMainWindow::RunSaveDialog(const TFileDialogSpec& spec) {
  QFileDialog dialog(this, spec.Title);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(QtFilters(spec.Filters));
  // The name is used as typed, and an existing file is replaced without asking.
  dialog.setDefaultSuffix(QString());
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.selectFile(spec.FileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first();
}

std::optional<QString> TMainWindow::RunDirectoryDialog(const QString& initial) {
  const QString dir = QFileDialog::getExistingDirectory(this, QStringLiteral("Select output directory"), initial);
  if (dir.isEmpty()) return std::nullopt;
  return dir;
}

void TMainWindow::closeEvent(QCloseEvent* event) {
  bool allowed = false;
  RunGuarded([&] { allowed = controller_->FormClose(); });
  if (allowed)
    event->accept();
  else
    event->ignore();
}
