// TFileListView: the job list. Report view with three columns, whole-row
// multi-selection, no editing; the only drop target of the window.
#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <functional>

class TFileListView : public QTreeWidget {
  Q_OBJECT
 public:
  explicit TFileListView(QWidget* parent = nullptr);

  std::function<void(int key)> OnKeyDown;
  std::function<void(const QStringList& files)> OnDropFiles;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
};

// Local files of a drop, in drop order.
QStringList DroppedFiles(const QMimeData* mime);
