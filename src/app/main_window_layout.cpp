// The main window's controls and their places: a column of page buttons on
// the left, the Batch and Options pages on the right. Layout only.
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "button_images.h"
#include "file_list_view.h"
#include "home_label.h"
#include "main_window.h"
#include "te_button.h"
#include "te_check_box.h"
#include "te_group_box.h"
#include "te_panels.h"
#include "te_progress_bar.h"
#include "te_status_bar.h"
#include "transcoder_commands.h"

THomeLabel::THomeLabel(const QString& caption, QWidget* parent) : TTeAdvancedLabel(parent) {
  SetAutoSize(false);
  SetAlignment(taCenter);
  SetLayout(tlCenter);
  SetWordWrap(true);
  SetAlwaysUseDefaultFont(true);
  SetHot(false);
  SetCaption(caption);
}

void THomeLabel::SetHot(bool hot) {
  hot_ = hot;
  TFont font;
  font.setFamily(QStringLiteral("Georgia"));
  font.setPixelSize(16);
  font.setBold(true);
  font.Color = hot ? RGB(255, 0, 0) : RGB(0, 0, 255);
  SetDefaultFont(font);
  SetDefaultDisabledFont(font);
  repaint();
}
void THomeLabel::MouseEnter() {
  TTeAdvancedLabel::MouseEnter();
  SetHot(true);
}
void THomeLabel::MouseLeave() {
  TTeAdvancedLabel::MouseLeave();
  SetHot(false);
}
void THomeLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) pressed_ = true;
  TTeAdvancedLabel::mousePressEvent(event);
}
void THomeLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  if (event->button() == Qt::LeftButton) pressed_ = false;
  TTeAdvancedLabel::mouseReleaseEvent(event);
  if (click && OnClick) OnClick();
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

// The page titles: red "Georgia", 21 pixels, whatever the theme says of labels.
TTeAdvancedLabel* Title(QWidget* parent, const QString& text) {
  auto* l = new TTeAdvancedLabel(parent);
  TFont font;
  font.setFamily(QStringLiteral("Georgia"));
  font.setPixelSize(21);
  font.Color = RGB(255, 0, 0);
  l->SetDefaultFont(font);
  l->SetDefaultDisabledFont(font);
  l->SetAlwaysUseDefaultFont(true);
  l->SetCaption(text);
  return l;
}

TTeLabel* Label(QWidget* parent, const QString& text) {
  auto* l = new TTeLabel(parent);
  l->SetCaption(text);
  return l;
}

// A group box with a grid for its controls, a little below the caption.
TTeGroupBox* Group(QWidget* parent, const char* name, const QString& caption) {
  auto* g = new TTeGroupBox(parent);
  g->setObjectName(QLatin1String(name));
  g->SetCaption(caption);
  (new QGridLayout(g))->setContentsMargins(0, 4, 0, 0);
  return g;
}

// A page: the theme's panel face without a bevel of its own.
TTePanel* Page(QWidget* parent, const char* name) {
  auto* p = new TTePanel(parent);
  p->setObjectName(QLatin1String(name));
  p->SetBevelOuter(kbvNone);
  return p;
}

// A strip of a page that shows the page through it.
TTeTransPanel* Strip(QWidget* parent, int height) {
  auto* s = new TTeTransPanel(parent);
  s->setFixedHeight(height);
  return s;
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

  // Left column, 113 pixels wide, on a raised panel.
  w.panelLeft = new TTePanel(window);
  w.panelLeft->setObjectName(QStringLiteral("panelLeft"));
  w.panelLeft->setFixedWidth(113);
  auto* col = new QVBoxLayout(w.panelLeft);
  col->setContentsMargins(13, 11, 1, 7);
  col->setSpacing(6);
  const QSize page(84, 25);
  w.btnBatch = Button(w.panelLeft, "btnBatch", QStringLiteral("&Batch      "), QStringLiteral("Batch conversion"), 15, page);
  w.btnOption = Button(w.panelLeft, "btnOption", QStringLiteral("&Options  "), QStringLiteral("Set program options"), 1, page);
  w.btnHelp = Button(w.panelLeft, "btnHelp", QStringLiteral("&Help        "), QStringLiteral("Get help information"), 3, page);
  for (QPushButton* b : {w.btnBatch, w.btnOption, w.btnHelp}) col->addWidget(b);
  col->addSpacing(10);
  w.labelInfo = new TTeLabel(w.panelLeft);
  w.labelInfo->setObjectName(QStringLiteral("labelInfo"));
  w.labelInfo->SetAutoSize(false);
  w.labelInfo->SetWordWrap(true);
  w.labelInfo->setFixedSize(99, 73);
  col->addWidget(w.labelInfo);
  col->addStretch(1);
  w.labelHome = new THomeLabel(QStringLiteral("Quillmoor Software"), w.panelLeft);
  w.labelHome->setObjectName(QStringLiteral("labelHome"));
  w.labelHome->setFixedSize(97, 105);
  w.labelHome->setToolTip(QStringLiteral("Visit company site"));
  w.labelHome->setCursor(Qt::PointingHandCursor);
  col->addWidget(w.labelHome);
  root->addWidget(w.panelLeft);

  // The pages, one in front at a time, on a raised panel of their own.
  w.panelPages = new TTePanel(window);
  w.panelPages->setObjectName(QStringLiteral("panelPages"));
  w.pages = new QStackedLayout(w.panelPages);
  root->addWidget(w.panelPages, 1);

  // Batch page.
  w.panelBatch = Page(w.panelPages, "panelBatch");
  auto* batch = new QVBoxLayout(w.panelBatch);
  batch->setContentsMargins(0, 0, 6, 0);
  batch->setSpacing(0);
  auto* top = Strip(w.panelBatch, 46);
  auto* topLayout = new QVBoxLayout(top);
  topLayout->setContentsMargins(2, 2, 0, 2);
  topLayout->setSpacing(0);
  topLayout->addWidget(Title(top, QStringLiteral("Batch Ripping Audio")));
  topLayout->addStretch(1);
  topLayout->addWidget(Label(top, QStringLiteral("Video File List:")));
  batch->addWidget(top);
  w.lvFiles = new TFileListView(w.panelBatch);
  w.lvFiles->setObjectName(QStringLiteral("lvFiles"));
  batch->addWidget(w.lvFiles, 1);

  auto* bottom = Strip(w.panelBatch, 95);
  auto* bottomLayout = new QVBoxLayout(bottom);
  bottomLayout->setContentsMargins(0, 6, 0, 2);
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
  // The status bar: the progress bar in a first panel of 100 pixels, the state
  // text in a second of 300 that takes what room is left.
  w.sbConvert = new TTeStatusBar(bottom);
  w.sbConvert->setObjectName(QStringLiteral("sbConvert"));
  w.sbConvert->setFixedHeight(25);
  w.sbConvert->SetSizeGrip(false);
  w.progConvert = new TTeProgressBar(w.sbConvert);
  w.progConvert->setObjectName(QStringLiteral("progConvert"));
  w.progConvert->SetMin(0);
  w.progConvert->SetMax(100);
  w.progConvert->SetPosition(0);
  w.progConvert->SetSmooth(false);
  // A control made on the bar gets a panel of its own: the first.
  w.sbConvert->Panel(0)->SetWidth(100);
  TTeStatusPanel* state = w.sbConvert->AddPanel();
  state->SetWidth(300);
  state->SetStretchPriority(100);
  bottomLayout->addWidget(w.sbConvert);
  bottomLayout->addStretch(1);
  batch->addWidget(bottom);
  w.pages->addWidget(w.panelBatch);

  // Options page.
  w.panelOption = Page(w.panelPages, "panelOption");
  auto* options = new QVBoxLayout(w.panelOption);
  options->setContentsMargins(0, 0, 10, 10);
  options->setSpacing(10);
  auto* heading = Strip(w.panelOption, 34);
  auto* headingLayout = new QVBoxLayout(heading);
  headingLayout->setContentsMargins(2, 2, 0, 0);
  headingLayout->addWidget(Title(heading, QStringLiteral("Sonolift Options")));
  options->addWidget(heading);

  w.grpOutput = Group(w.panelOption, "grpOutput", QStringLiteral("Output"));
  auto* og = static_cast<QGridLayout*>(w.grpOutput->layout());
  og->addWidget(Label(w.grpOutput, QStringLiteral("Ouput Directory:")), 0, 0);
  w.edtDirectory = new QLineEdit(w.grpOutput);
  w.edtDirectory->setObjectName(QStringLiteral("edtDirectory"));
  w.edtDirectory->setToolTip(QStringLiteral("Set the output directory"));
  og->addWidget(w.edtDirectory, 0, 1);
  w.btnDir = Button(w.grpOutput, "btnDir", QStringLiteral("..."), QStringLiteral("Select output directory"), -1, QSize(25, 21));
  og->addWidget(w.btnDir, 0, 2);
  og->addWidget(Label(w.grpOutput, QStringLiteral("Name output file")), 1, 0);
  w.cbNaming = Choice(w.grpOutput, "cbNaming", NamingList());
  w.cbNaming->setToolTip(QStringLiteral("Set the naming method for the output file"));
  og->addWidget(w.cbNaming, 1, 1, 1, 2);
  w.checkOverWrite = CheckBox(w.grpOutput, QStringLiteral("Overwrite existing file"));
  w.checkOverWrite->setObjectName(QStringLiteral("checkOverWrite"));
  og->addWidget(w.checkOverWrite, 2, 1, 1, 2);
  options->addWidget(w.grpOutput);

  w.grpEncoding = Group(w.panelOption, "grpEncoding", QStringLiteral("Encoding:"));
  auto* eg = static_cast<QGridLayout*>(w.grpEncoding->layout());
  eg->addWidget(Label(w.grpEncoding, QStringLiteral("Audio file format(kHz):")), 0, 0);
  w.cbFileFormat = Choice(w.grpEncoding, "cbFileFormat", FormatList());
  eg->addWidget(w.cbFileFormat, 0, 1);
  w.ckMono = CheckBox(w.grpEncoding, QStringLiteral("Mono"));
  w.ckMono->setObjectName(QStringLiteral("ckMono"));
  eg->addWidget(w.ckMono, 0, 2);
  eg->addWidget(Label(w.grpEncoding, QStringLiteral("Audio sample rate(kHz):")), 1, 0);
  w.cbAudioSampleRate = Choice(w.grpEncoding, "cbAudioSampleRate", SampleRateList());
  eg->addWidget(w.cbAudioSampleRate, 1, 1);
  eg->addWidget(Label(w.grpEncoding, QStringLiteral("Audio bit rate:")), 2, 0);
  w.cbAudioBitRate = Choice(w.grpEncoding, "cbAudioBitRate", BitRateList());
  eg->addWidget(w.cbAudioBitRate, 2, 1);
  eg->setColumnStretch(3, 1);
  options->addWidget(w.grpEncoding);
  options->addStretch(1);
  w.pages->addWidget(w.panelOption);

  w.pages->setCurrentWidget(w.panelBatch);
  return w;
}
