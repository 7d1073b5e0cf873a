// The main window's controls and their places: a column of page buttons on
// the left, the Batch and Options pages on the right. Layout only.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include "button_images.h"
#include "file_list_view.h"
#include "home_label.h"
#include "main_window.h"
#include "te_button.h"
#include "te_check_box.h"
#include "transcoder_commands.h"

void THomeLabel::SetHot(bool hot) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, hot ? Qt::red : Qt::blue);
  setPalette(pal);
  repaint();
}
void THomeLabel::enterEvent(QEnterEvent* event) {
  SetHot(true);
  QLabel::enterEvent(event);
}
void THomeLabel::leaveEvent(QEvent* event) {
  SetHot(false);
  QLabel::leaveEvent(event);
}
void THomeLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick) OnClick();
  QLabel::mouseReleaseEvent(event);
}

namespace {

QPushButton* Button(QWidget* parent, const char* name, const QString& caption, const QString& hint, int image,
                    QSize size) {
  // Painted by the theme in force, the picture as the button's glyph.
  auto* b = new TTeButton(parent);
  b->setText(caption);
  b->setObjectName(QLatin1String(name));
  b->setToolTip(hint);
  b->setFixedSize(size);
  if (image >= 0) b->SetGlyph(ButtonImage(image).pixmap(16, 16).toImage());
  return b;
}

// Transparent over its page, five pixels between box and caption.
QCheckBox* CheckBox(QWidget* parent, const QString& caption) {
  auto* c = new TTeCheckBox(parent);
  c->SetCaption(caption);
  c->SetTransparent(true);
  c->SetSpacing(5);
  return c;
}

QLabel* Title(QWidget* parent, const QString& text) {
  auto* l = new QLabel(text, parent);
  QFont f(QStringLiteral("Georgia"));
  f.setPixelSize(21);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, Qt::red);
  l->setPalette(pal);
  return l;
}

QComboBox* Choice(QWidget* parent, const char* name, const QStringList& entries) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QLatin1String(name));
  c->addItems(entries);
  c->setEditable(false);
  return c;
}

}  // namespace

TMainWindowWidgets BuildMainWindowWidgets(QWidget* window) {
  TMainWindowWidgets w{};
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSize(8);
  window->setFont(font);

  auto* root = new QHBoxLayout(window);
  root->setContentsMargins(0, 0, 0, 0);
  root->setSpacing(0);

  // Left column, 113 pixels wide.
  auto* left = new QWidget(window);
  left->setObjectName(QStringLiteral("panelLeft"));
  left->setFixedWidth(113);
  auto* col = new QVBoxLayout(left);
  col->setContentsMargins(14, 12, 2, 8);
  col->setSpacing(6);
  const QSize page(84, 25);
  w.btnBatch = Button(left, "btnBatch", QStringLiteral("&Batch      "), QStringLiteral("Batch conversion"), 15, page);
  w.btnOption = Button(left, "btnOption", QStringLiteral("&Options  "), QStringLiteral("Set program options"), 1, page);
  w.btnHelp = Button(left, "btnHelp", QStringLiteral("&Help        "), QStringLiteral("Get help information"), 3, page);
  for (QPushButton* b : {w.btnBatch, w.btnOption, w.btnHelp}) col->addWidget(b);
  col->addSpacing(10);
  w.labelInfo = new QLabel(left);
  w.labelInfo->setObjectName(QStringLiteral("labelInfo"));
  w.labelInfo->setFixedSize(99, 73);
  w.labelInfo->setWordWrap(true);
  w.labelInfo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  col->addWidget(w.labelInfo);
  col->addStretch(1);
  w.labelHome = new THomeLabel(QStringLiteral("Quillmoor Software"), left);
  w.labelHome->setObjectName(QStringLiteral("labelHome"));
  w.labelHome->setFixedSize(97, 105);
  w.labelHome->setAlignment(Qt::AlignCenter);
  w.labelHome->setWordWrap(true);
  w.labelHome->setToolTip(QStringLiteral("Visit company site"));
  w.labelHome->setCursor(Qt::PointingHandCursor);
  QFont home(QStringLiteral("Georgia"));
  home.setPixelSize(16);
  home.setBold(true);
  w.labelHome->setFont(home);
  w.labelHome->SetHot(false);
  col->addWidget(w.labelHome);
  root->addWidget(left);

  w.pages = new QStackedWidget(window);
  root->addWidget(w.pages, 1);

  // Batch page.
  w.panelBatch = new QWidget(w.pages);
  w.panelBatch->setObjectName(QStringLiteral("panelBatch"));
  auto* batch = new QVBoxLayout(w.panelBatch);
  batch->setContentsMargins(0, 0, 6, 0);
  batch->setSpacing(0);
  auto* top = new QWidget(w.panelBatch);
  top->setFixedHeight(46);
  auto* topLayout = new QVBoxLayout(top);
  topLayout->setContentsMargins(2, 2, 0, 2);
  topLayout->setSpacing(0);
  topLayout->addWidget(Title(top, QStringLiteral("Batch Ripping Audio")));
  topLayout->addWidget(new QLabel(QStringLiteral("Video File List:"), top));
  batch->addWidget(top);
  w.lvFiles = new TFileListView(w.panelBatch);
  w.lvFiles->setObjectName(QStringLiteral("lvFiles"));
  batch->addWidget(w.lvFiles, 1);

  auto* bottom = new QWidget(w.panelBatch);
  bottom->setFixedHeight(95);
  auto* bottomLayout = new QVBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 6, 0, 0);
  bottomLayout->setSpacing(6);
  auto* grid = new QGridLayout();
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  const QSize small(81, 25);
  w.btnLoadList = Button(bottom, "btnLoadList", QStringLiteral("&Load List  "), QStringLiteral("Load file list"), 11, small);
  w.btnSaveList = Button(bottom, "btnSaveList", QStringLiteral("&Save List  "), QStringLiteral("Save file list"), 12, small);
  w.btnClear = Button(bottom, "btnClear", QStringLiteral("&Clear List    "), QStringLiteral("Clear file list"), -1, small);
  w.btnConvert = Button(bottom, "btnConvert", QStringLiteral("&Extract"), QStringLiteral("Start batch conversion"), 17, small);
  w.btnAddFile = Button(bottom, "btnAddFile", QStringLiteral("&Add File    "), QStringLiteral("Add file to list"), 9, small);
  w.btnOutput = Button(bottom, "btnOutput", QStringLiteral("&Folder       "), QStringLiteral("Open output folder"), 6, small);
  w.btnStopConvert =
      Button(bottom, "btnStopConvert", QStringLiteral("&Stop         "), QStringLiteral("Stop conversion"), 8, small);
  grid->addWidget(w.btnLoadList, 0, 0);
  grid->addWidget(w.btnSaveList, 0, 1);
  grid->addWidget(w.btnClear, 0, 2);
  grid->addWidget(w.btnConvert, 0, 3);
  grid->addWidget(w.btnAddFile, 1, 0);
  grid->addWidget(w.btnOutput, 1, 1);
  grid->addWidget(w.btnStopConvert, 1, 3);
  grid->setColumnStretch(4, 1);
  bottomLayout->addLayout(grid);
  w.sbConvert = new QStatusBar(bottom);
  w.sbConvert->setObjectName(QStringLiteral("sbConvert"));
  w.sbConvert->setFixedHeight(25);
  w.sbConvert->setSizeGripEnabled(false);
  w.progConvert = new QProgressBar(w.sbConvert);
  w.progConvert->setObjectName(QStringLiteral("progConvert"));
  w.progConvert->setRange(0, 100);
  w.progConvert->setValue(0);
  w.progConvert->setTextVisible(false);
  w.progConvert->setFixedWidth(100);
  w.statusText = new QLabel(w.sbConvert);
  w.statusText->setObjectName(QStringLiteral("statusText"));
  w.statusText->setMinimumWidth(300);
  w.sbConvert->addWidget(w.progConvert);
  w.sbConvert->addWidget(w.statusText, 1);
  bottomLayout->addWidget(w.sbConvert);
  batch->addWidget(bottom);
  w.pages->addWidget(w.panelBatch);

  // Options page.
  w.panelOption = new QWidget(w.pages);
  w.panelOption->setObjectName(QStringLiteral("panelOption"));
  auto* options = new QVBoxLayout(w.panelOption);
  options->setContentsMargins(2, 2, 10, 10);
  options->setSpacing(10);
  options->addWidget(Title(w.panelOption, QStringLiteral("Sonolift Options")));

  auto* output = new QGroupBox(QStringLiteral("Output"), w.panelOption);
  auto* og = new QGridLayout(output);
  og->addWidget(new QLabel(QStringLiteral("Ouput Directory:"), output), 0, 0);
  w.edtDirectory = new QLineEdit(output);
  w.edtDirectory->setObjectName(QStringLiteral("edtDirectory"));
  w.edtDirectory->setToolTip(QStringLiteral("Set the output directory"));
  og->addWidget(w.edtDirectory, 0, 1);
  w.btnDir = Button(output, "btnDir", QStringLiteral("..."), QStringLiteral("Select output directory"), -1, QSize(25, 21));
  og->addWidget(w.btnDir, 0, 2);
  og->addWidget(new QLabel(QStringLiteral("Name output file"), output), 1, 0);
  w.cbNaming = Choice(output, "cbNaming", NamingList());
  w.cbNaming->setToolTip(QStringLiteral("Set the naming method for the output file"));
  og->addWidget(w.cbNaming, 1, 1, 1, 2);
  w.checkOverWrite = CheckBox(output, QStringLiteral("Overwrite existing file"));
  w.checkOverWrite->setObjectName(QStringLiteral("checkOverWrite"));
  og->addWidget(w.checkOverWrite, 2, 1, 1, 2);
  options->addWidget(output);

  auto* encoding = new QGroupBox(QStringLiteral("Encoding:"), w.panelOption);
  auto* eg = new QGridLayout(encoding);
  eg->addWidget(new QLabel(QStringLiteral("Audio file format(kHz):"), encoding), 0, 0);
  w.cbFileFormat = Choice(encoding, "cbFileFormat", FormatList());
  eg->addWidget(w.cbFileFormat, 0, 1);
  w.ckMono = CheckBox(encoding, QStringLiteral("Mono"));
  w.ckMono->setObjectName(QStringLiteral("ckMono"));
  eg->addWidget(w.ckMono, 0, 2);
  eg->addWidget(new QLabel(QStringLiteral("Audio sample rate(kHz):"), encoding), 1, 0);
  w.cbAudioSampleRate = Choice(encoding, "cbAudioSampleRate", SampleRateList());
  eg->addWidget(w.cbAudioSampleRate, 1, 1);
  eg->addWidget(new QLabel(QStringLiteral("Audio bit rate:"), encoding), 2, 0);
  w.cbAudioBitRate = Choice(encoding, "cbAudioBitRate", BitRateList());
  eg->addWidget(w.cbAudioBitRate, 2, 1);
  eg->setColumnStretch(3, 1);
  options->addWidget(encoding);
  options->addStretch(1);
  w.pages->addWidget(w.panelOption);

  w.pages->setCurrentWidget(w.panelBatch);
  return w;
}
