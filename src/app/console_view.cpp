// Console view of the workflow.
#include "console_view.h"

#include <QFile>

#include "file_names.h"
#include "list_file.h"
#include "main_form.h"

namespace {
// Names are printed with their control characters escaped, so that no name
// can start a line of its own or move the cursor.
void Print(FILE* to, const QString& text) {
  const QByteArray bytes = text.toUtf8();
  std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
  std::fflush(to);
}
}  // namespace

TConsoleView::TConsoleView(bool interactive) : interactive_(interactive) {}

void TConsoleView::EndLiveLine() {
  if (!liveShown_) return;
  Print(stdout, QStringLiteral("\r\033[K"));
  liveShown_ = false;
}

void TConsoleView::AddRow(const QString& fileName, const QString& information) {
  rows_.push_back({fileName, QString()});
  EndLiveLine();
  Print(stdout, PrintableFileName(fileName) + QStringLiteral(": ") + information + u'\n');
  if (OnRowAdded) OnRowAdded();
}

void TConsoleView::SetRowProgress(int row, const QString& text) {
  SetRowProgressOf(row, text, controller_ ? controller_->OutputFile() : QString(),
                   controller_ ? controller_->JobNote() : QString());
}

void TConsoleView::SetRowProgressOf(int row, const QString& text, const QString& output, const QString& note) {
  if (row < 0 || row >= RowCount()) return;
  rows_[size_t(row)].progress = text;
  if (text == u"Done" || text == u"Error" || text == u"Abort" || text == u"Skipped") {
    EndLiveLine();
    // A row that never started (deleted or rejected at its turn) has no output.
    const QString arrow = output.isEmpty() ? QString() : QStringLiteral(" -> ") + PrintableFileName(output);
    const QString how = note.isEmpty() || output.isEmpty() ? QString() : QStringLiteral(" (") + note + u')';
    const QString line =
        PrintableFileName(rows_[size_t(row)].file) + arrow + QStringLiteral(": ") + text + how + u'\n';
    if (!parallel_) {
      Print(stdout, line);
      return;
    }
    // Side by side, rows end in any order; their lines come in the list's.
    finished_[row] = line;
    FlushFinished(false);
    if (interactive_) DrawLiveParallel();
    return;
  }
  if (interactive_ && !text.isEmpty()) parallel_ ? DrawLiveParallel() : DrawLive(row);
}

void TConsoleView::SetProgress(int percent) {
  batchPercent_ = percent;
  if (interactive_ && controller_ && controller_->Busy()) DrawLive(controller_->JobIndex());
}

namespace {
// The share of a row done: 1 when it ended, its percentage while it runs.
double RowShare(const QString& progress) {
  if (progress.isEmpty()) return 0;
  if (!progress.endsWith(u'%')) return 1;
  QString pct = progress.left(progress.size() - 1);
  pct.replace(u',', u'.');
  return pct.toDouble() / 100;
}

QString ShortName(const QString& path, int width) {
  QString name = PrintableFileName(path);
  name = name.mid(name.lastIndexOf(u'/') + 1);
  return name.size() > width ? QStringLiteral("...") + name.right(width - 3) : name;
}
}  // namespace

void TConsoleView::DrawLiveParallel() {
  double done = 0;
  QStringList running;
  for (const Row& r : rows_) {
    done += RowShare(r.progress);
    if (r.progress.endsWith(u'%')) running << ShortName(r.file, 24) + u' ' + r.progress;
  }
  const double share = RowCount() ? done / RowCount() : 0;
  constexpr int kWidth = 20;
  const int filled = int(share * kWidth);
  const QString bar = QString(filled, u'#') + QString(kWidth - filled, u'.');
  Print(stdout, QStringLiteral("\r\033[K[%1] %2%  %3 running: %4%5")
                    .arg(bar)
                    .arg(int(share * 100), 3)
                    .arg(running.size())
                    .arg(running.join(QStringLiteral(", ")), TimeLeftAt(share)));
  liveShown_ = true;
}

void TConsoleView::DrawLive(int row) {
  if (row < 0 || row >= RowCount()) return;
  constexpr int kWidth = 20;
  const int filled = std::clamp(batchPercent_, 0, 100) * kWidth / 100;
  const QString bar = QString(filled, u'#') + QString(kWidth - filled, u'.');
  QString name = PrintableFileName(rows_[size_t(row)].file);
  name = name.mid(name.lastIndexOf(u'/') + 1);
  if (name.size() > 40) name = QStringLiteral("...") + name.right(37);
  Print(stdout, QStringLiteral("\r\033[K[%1] %2%  job %3/%4  %5  %6%7")
                    .arg(bar)
                    .arg(batchPercent_, 3)
                    .arg(row + 1)
                    .arg(RowCount())
                    .arg(name, rows_[size_t(row)].progress, TimeLeft(row)));
  liveShown_ = true;
}

namespace {
QString Duration(qint64 ms) {
  const qint64 s = (ms + 500) / 1000;
  return s >= 3600 ? QString::asprintf("%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60)
                   : QString::asprintf("%lld:%02lld", s / 60, s % 60);
}
}  // namespace

QString TConsoleView::TimeLeft(int row) const {
  // The share of the batch done: whole rows before this one, and this one's
  // percentage; the rest is assumed to go at the same pace.
  if (RowCount() == 0) return QString();
  const QString& p = rows_[size_t(row)].progress;
  return TimeLeftAt((row + (p.endsWith(u'%') ? RowShare(p) : 0)) / RowCount());
}

QString TConsoleView::TimeLeftAt(double done) const {
  if (!clock_.isValid()) return QString();
  const qint64 elapsed = clock_.elapsed();
  if (done < 0.01 || elapsed < 2000) return QString();
  return QStringLiteral("  about %1 left").arg(Duration(qint64(elapsed * (1 - done) / done)));
}

void TConsoleView::FlushFinished(bool all) {
  bool printed = false;
  while (!finished_.empty() && (all || finished_.begin()->first == nextLine_)) {
    if (!printed) EndLiveLine();
    printed = true;
    nextLine_ = finished_.begin()->first + 1;
    Print(stdout, finished_.begin()->second);
    finished_.erase(finished_.begin());
  }
}

void TConsoleView::PrintSummary() {
  FlushFinished(true);
  EndLiveLine();
  int done = 0, failed = rejected_, skipped = 0, stopped = 0;
  for (const Row& r : rows_) {
    if (r.progress == u"Done")
      ++done;
    else if (r.progress == u"Skipped")
      ++skipped;
    else if (r.progress == u"Error")
      ++failed;
    else
      ++stopped;  // Abort, or never reached after Stop
  }
  Print(stdout, QStringLiteral("%1 done, %2 failed, %3 skipped, %4 stopped in %5\n")
                    .arg(done)
                    .arg(failed)
                    .arg(skipped)
                    .arg(stopped)
                    .arg(clock_.isValid() ? Duration(clock_.elapsed()) : QStringLiteral("0:00")));
}

void TConsoleView::ShowMessage(const QString& text) {
  EndLiveLine();
  if (text.startsWith(QStringLiteral("Unsupported or bad video file: "))) ++rejected_;
  ++failures_;
  Print(stderr, PrintableFileName(text) + u'\n');
}

void TConsoleView::NoteMissingListEntry(const QString& listFile, const QString& entry) {
  EndLiveLine();
  ++failures_;
  Print(stderr, QStringLiteral("No such file: %1 (listed in %2)\n").arg(PrintableFileName(entry), PrintableFileName(listFile)));
}

void TConsoleView::NoteListWithoutHeader(const QString& listFile) {
  EndLiveLine();
  ++failures_;
  Print(stderr, QStringLiteral("Not a Sonolift list file (its first line is not \"%1\"): %2\n")
                    .arg(QLatin1String(kListHeader), PrintableFileName(listFile)));
}
