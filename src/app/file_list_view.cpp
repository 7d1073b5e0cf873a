// The job list's keys and drops.
#include "file_list_view.h"

#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app_error.h"
#include "file_names.h"

TFileListView::TFileListView(QWidget* parent) : QTreeWidget(parent) {
  setColumnCount(3);
  setHeaderLabels({QStringLiteral("File Name"), QStringLiteral("Information"), QStringLiteral("Progress")});
  header()->resizeSection(0, 200);
  header()->resizeSection(1, 150);
  header()->setStretchLastSection(true);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setAcceptDrops(true);
  setDragDropMode(QAbstractItemView::DropOnly);
  viewport()->setAcceptDrops(true);
  // The selection stays visible when the list loses the focus.
  QPalette pal = palette();
  pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
  pal.setColor(QPalette::Inactive, QPalette::HighlightedText, pal.color(QPalette::Active, QPalette::HighlightedText));
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, Qt::black);
  setPalette(pal);
}

void TFileListView::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && OnKeyDown) {
    RunGuarded([&] { OnKeyDown(46); });
    return;
  }
  QTreeWidget::keyPressEvent(event);
}

QStringList DroppedFiles(const QMimeData* mime) {
  QStringList files;
  if (!mime || !mime->hasUrls()) return files;
  // The path's own bytes, from its percent-encoded form: toLocalFile() would
  // replace the bytes of a name that is not UTF-8.
  for (const QUrl& url : mime->urls())
    if (url.isLocalFile())
      files << DecodeFileName(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
  return files;
}

void TFileListView::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void TFileListView::dragMoveEvent(QDragMoveEvent* event) {
  if (!DroppedFiles(event->mimeData()).isEmpty())
    event->acceptProposedAction();
  else
    event->ignore();
}

void TFileListView::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedFiles(event->mimeData());
  if (files.isEmpty()) {
    event->ignore();
    return;
  }
  event->acceptProposedAction();
  // Adding probes every file; that happens after the drop has been answered,
  // so the file manager is not kept waiting on its drag.
  QTimer::singleShot(0, this, [this, files] {
    if (OnDropFiles) RunGuarded([&] { OnDropFiles(files); });
  });
}
