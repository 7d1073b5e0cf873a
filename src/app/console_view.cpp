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
}

void TConsoleView::SetRowProgress(int row, const QString& text) {
  if (row < 0 || row >= RowCount()) return;
  rows_[size_t(row)].progress = text;
  if (text == u"Done" || text == u"Error" || text == u"Abort") {
    EndLiveLine();
    const QString output = controller_ ? controller_->OutputFile() : QString();
    // A row that never started (deleted or rejected at its turn) has no output.
    const QString arrow = output.isEmpty() ? QString() : QStringLiteral(" -> ") + PrintableFileName(output);
    Print(stdout, PrintableFileName(rows_[size_t(row)].file) + arrow + QStringLiteral(": ") + text + u'\n');
    return;
  }
  if (interactive_ && !text.isEmpty()) DrawLive(row);
}

void TConsoleView::SetProgress(int percent) {
  batchPercent_ = percent;
  if (interactive_ && controller_ && controller_->Busy()) DrawLive(controller_->JobIndex());
}

void TConsoleView::DrawLive(int row) {
  if (row < 0 || row >= RowCount()) return;
  constexpr int kWidth = 20;
  const int filled = std::clamp(batchPercent_, 0, 100) * kWidth / 100;
  const QString bar = QString(filled, u'#') + QString(kWidth - filled, u'.');
  QString name = PrintableFileName(rows_[size_t(row)].file);
  name = name.mid(name.lastIndexOf(u'/') + 1);
  if (name.size() > 40) name = QStringLiteral("...") + name.right(37);
  Print(stdout, QStringLiteral("\r\033[K[%1] %2%  job %3/%4  %5  %6")
                    .arg(bar)
                    .arg(batchPercent_, 3)
                    .arg(row + 1)
                    .arg(RowCount())
                    .arg(name, rows_[size_t(row)].progress));
  liveShown_ = true;
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
