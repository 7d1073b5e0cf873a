// The main window's behaviour under the offscreen platform, over the fake
// transcoder.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStackedLayout>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include "file_list_view.h"
#include "main_window.h"
#include "main_window_themes.h"
#include "home_label.h"
#include "te_form.h"
#include "te_label.h"
#include "te_panels.h"
#include "te_progress_bar.h"
#include "te_status_bar.h"
#include "theme_kinds.h"
#include "te_theme.h"
#include "theme_manager.h"
#include "ui_thread.h"

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QString programDir = tmp.path() + "/bin dir/", outDir = tmp.path() + "/out/", inDir = tmp.path() + "/in/";
  QStringList messages, opened;
  std::unique_ptr<TMainWindow> window;

  void SetUp() override {
    for (const QString& d : {programDir, outDir, inDir}) QDir().mkpath(d);
    QFile::copy(QStringLiteral(FAKE_VIDEOENC), programDir + "videoenc.dll");
    QFile::setPermissions(programDir + "videoenc.dll", QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
    Write(tmp.path() + "/strings.ini", "[Common]\nstrOutputDir=" + outDir.toUtf8() + "\n");
  }
  void TearDown() override {
    if (window) window->Controller().FormDestroy();
    window.reset();
  }

  static void Write(const QString& path, const QByteArray& text) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }
  QString Clip(const QString& name, const QByteArray& convert = "C write\nC exit 0\n") {
    Write(inDir + name, "P Duration: 00:00:09.00\nP Stream #0:0: Video: h264, 160x120\nP Stream #0:1: Audio: aac\n"
                        "C say Duration: 00:00:09.00\n" + convert);
    return inDir + name;
  }

  TMainWindow& Open(const QStringList& args = {}) {
    TStartOptions o{QCoreApplication::applicationFilePath(), programDir, tmp.path() + "/strings.ini"};
    window = std::make_unique<TMainWindow>(o);
    window->MessageSink = [this](const QString& m) { messages << m; };
    window->OpenSink = [this](const QString& t) { opened << t; };
    window->Controller().FormCreate(args);
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->activateWindow();
    return *window;
  }
  const TMainWindowWidgets& W() const { return window->Widgets(); }
  void Click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
  bool WaitFor(const std::function<bool()>& pred, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!pred()) {
      if (t.elapsed() > ms) return false;
      QTest::qWait(20);
    }
    return true;
  }
  QString Progress(int row) const { return window->RowProgress(row); }
};

TEST_F(MainWindowTest, ShowsItsControlsWithCaptionsAndStartsOnTheBatchPage) {
  Open();
  EXPECT_EQ(window->windowTitle(), "Sonolift " SONOLIFT_VERSION);
  // The client area inside the frame is never smaller than the design size.
  EXPECT_EQ(window->contentsRect().size(), QSize(kDesignWidth, kDesignHeight));
  EXPECT_EQ(window->minimumSize(), window->size());
  EXPECT_EQ(W().pages->currentWidget(), static_cast<QWidget*>(W().panelBatch));
  EXPECT_TRUE(W().labelInfo->Caption().isEmpty());
  EXPECT_EQ(W().btnConvert->text(), "&Extract");
  EXPECT_EQ(W().btnBatch->text(), "&Batch      ");
  EXPECT_EQ(W().btnStopConvert->toolTip(), "Stop conversion");
  EXPECT_EQ(W().btnBatch->size(), QSize(84, 25));
  EXPECT_EQ(W().btnAddFile->size(), QSize(81, 25));
  EXPECT_EQ(W().lvFiles->headerItem()->text(1), "Information");
  // Stop has nothing to stop until a batch runs; everything else is usable.
  for (QPushButton* b : window->findChildren<QPushButton*>())
    EXPECT_EQ(b->isEnabled(), b != W().btnStopConvert) << b->objectName().toStdString();
  EXPECT_FALSE(window->acceptDrops());  // only the list takes drops
  EXPECT_TRUE(W().lvFiles->acceptDrops());
}

TEST_F(MainWindowTest, LeavingOptionsWithAMissingDirectoryIsRefusedWithFocusOnTheField) {
  Open();
  Click(W().btnOption);
  EXPECT_EQ(W().pages->currentWidget(), static_cast<QWidget*>(W().panelOption));
  EXPECT_EQ(W().labelInfo->Caption(), "Set options to control Sonolift");
  EXPECT_EQ(W().edtDirectory->text(), outDir);
  W().edtDirectory->setText(tmp.path() + "/nowhere");
  Click(W().btnBatch);
  EXPECT_EQ(messages, QStringList{"Please make sure the directory exists"});
  EXPECT_EQ(W().pages->currentWidget(), static_cast<QWidget*>(W().panelOption));
  EXPECT_TRUE(W().edtDirectory->hasFocus());
  EXPECT_FALSE(window->close());

  W().edtDirectory->setText(inDir.chopped(1));
  Click(W().btnBatch);
  EXPECT_EQ(W().pages->currentWidget(), static_cast<QWidget*>(W().panelBatch));
  EXPECT_EQ(W().labelInfo->Caption(), "Batch conversion");
  EXPECT_EQ(window->Controller().OutputDir(), inDir);
}

TEST_F(MainWindowTest, OptionValuesSurviveARestart) {
  Open();
  Click(W().btnOption);
  W().cbFileFormat->setCurrentIndex(6);
  W().cbAudioSampleRate->setCurrentIndex(1);
  W().cbAudioBitRate->setCurrentIndex(12);
  W().ckMono->setChecked(true);
  W().checkOverWrite->setChecked(true);
  W().cbNaming->setCurrentIndex(1);
  EXPECT_TRUE(window->close());
  window->Controller().FormDestroy();
  window.reset();

  Open();
  EXPECT_EQ(W().cbFileFormat->currentText(), "AIFF");
  EXPECT_EQ(W().cbAudioSampleRate->currentText(), "22050");
  EXPECT_EQ(W().cbAudioBitRate->currentText(), "320");
  EXPECT_TRUE(W().ckMono->isChecked());
  Click(W().btnOption);
  EXPECT_TRUE(W().checkOverWrite->isChecked());
  EXPECT_EQ(W().cbNaming->currentIndex(), 1);
}

TEST_F(MainWindowTest, BatchDisablesTheListButtonsAndRefusesDeleteAndClosingUntilItEnds) {
  QStringList notices;
  Open({Clip("a.mp4", "C say size= 1kB time=00:00:03.00 bitrate=1\nC sleep 1\nC write\nC exit 0\n"), Clip("b.mp4")});
  ASSERT_EQ(window->RowCount(), 2);
  EXPECT_EQ(W().pages->currentWidget(), static_cast<QWidget*>(W().panelBatch));
  window->NoticeSink = [&](const QString& title, const QString& body) { notices << title + "|" + body; };
  QTest::keyClick(window.get(), Qt::Key_E, Qt::AltModifier);  // Alt+E extracts
  ASSERT_TRUE(WaitFor([&] { return Progress(0) == "33.3%" || Progress(0) == "33,3%"; }));
  // The user turns to another window while the batch runs.
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  for (QPushButton* b : {W().btnAddFile, W().btnLoadList, W().btnSaveList, W().btnConvert, W().btnOption, W().btnClear})
    EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
  for (QPushButton* b : {W().btnStopConvert, W().btnBatch, W().btnHelp, W().btnOutput})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_EQ(W().sbConvert->Panel(1)->Text(), "Batch converting");
  W().lvFiles->selectAll();
  QTest::keyClick(W().lvFiles, Qt::Key_Delete);
  EXPECT_EQ(window->RowCount(), 2);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(messages.back(), "Busy! Please stop the conversion before exit");
  // The frame's close button and system menu close the same way.
  messages.clear();
  window->Frame().Close();
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(messages, QStringList{"Busy! Please stop the conversion before exit"});

  ASSERT_TRUE(WaitFor([&] { return !window->Controller().Busy(); }));
  EXPECT_EQ(Progress(0), "Done");
  EXPECT_EQ(Progress(1), "Done");
  // The window was not the active one: the desktop is told, once.
  EXPECT_EQ(notices, QStringList{"Sonolift: batch finished|2 done"});
  EXPECT_EQ(W().progConvert->Position(), 100);
  EXPECT_EQ(W().sbConvert->Panel(1)->Text(), "Ready");
  EXPECT_TRUE(W().btnConvert->isEnabled());
  EXPECT_FALSE(W().btnStopConvert->isEnabled());
  QTest::keyClick(W().lvFiles, Qt::Key_Delete);
  EXPECT_EQ(window->RowCount(), 0);
  EXPECT_TRUE(window->close());
}

TEST_F(MainWindowTest, ArgumentsThatGiveNoRowEndTheProgram) {
  Write(inDir + "bad.avi", "P nothing\n");
  Open({inDir + "bad.avi"});
  EXPECT_TRUE(window->TerminateRequested());
  EXPECT_EQ(messages, QStringList{"Unsupported or bad video file: " + inDir + "bad.avi!"});
}

TEST_F(MainWindowTest, DroppedFilesAndListsAreAddedInDropOrder) {
  Open();
  Write(inDir + "x.lst", "#Sonolift File List\r\n" + Clip("c.mp4").toUtf8() + "\r\n");
  auto* mime = new QMimeData();
  mime->setUrls({QUrl::fromLocalFile(Clip("a.mp4")), QUrl::fromLocalFile(inDir + "x.lst"),
                 QUrl::fromLocalFile(Clip("b.mp4"))});
  const QPoint at = W().lvFiles->viewport()->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(W().lvFiles->viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(W().lvFiles->viewport(), &drop);
  ASSERT_TRUE(WaitFor([&] { return window->RowCount() == 3; }));
  EXPECT_EQ(window->RowFileName(0), inDir + "a.mp4");
  EXPECT_EQ(window->RowFileName(1), inDir + "c.mp4");
  EXPECT_EQ(window->RowFileName(2), inDir + "b.mp4");
  delete mime;
}

TEST_F(MainWindowTest, HelpAndTheMakerLabelOpenLocalPages) {
  Open();
  Click(W().btnHelp);
  ASSERT_EQ(opened.size(), 1);
  EXPECT_TRUE(opened[0].endsWith("help.html"));
  EXPECT_EQ(W().labelInfo->Caption(), "Get help information");
  QTest::mouseClick(W().labelHome, Qt::LeftButton);
  ASSERT_EQ(opened.size(), 2);
  EXPECT_TRUE(opened[1].endsWith("about.html"));
}

TEST_F(MainWindowTest, StoredThemeIsInForceForTheWindowAndItsFrame) {
  ASSERT_FALSE(TMainWindowThemes::StoredPayload().isEmpty()) << "the program carries no stored theme";
  TMainWindow& w = Open();
  TMainWindowThemes& themes = w.Themes();
  ASSERT_EQ(themes.ThemeList().Themes().Count(), 1);
  const QString stored = themes.ThemeList().Themes().Items(0)->ThemeStore();
  EXPECT_EQ(themes.Engine().ThemeIndex(), 0);
  EXPECT_EQ(themes.Link().ThemeIndex(), 0);
  EXPECT_EQ(themes.Engine().ThemeBuilding(), QStringLiteral("No theme"));
  TteTheme* current = ThemeManager().CurrentTheme();
  TteTheme* frame = themes.Link().GetTheme();
  ASSERT_NE(current, nullptr);
  ASSERT_NE(frame, nullptr);
  EXPECT_NE(current, frame) << "the frame must hold a theme of its own";
  EXPECT_EQ(current->Name, stored);
  EXPECT_EQ(frame->Name, stored);
  EXPECT_TRUE(frame->HasWindow(0, QStringLiteral("default")));
}

// The running window follows the theme in force: after each change the left
// column's panel and a page button are what that theme paints (outside their
// children and the caption), and with no theme the classic raised bevel.
TEST_F(MainWindowTest, EveryControlRepaintsInTheThemeMadeCurrent) {
  Open();
  window->show();
  TTePanel& panel = *W().panelLeft;
  QPushButton& button = *W().btnHelp;
  for (const ThemeKind& kind : ThemeKinds()) {
    TteTheme* theme = MakeCurrent(kind.Make());
    QCoreApplication::processEvents();
    const QImage shot = Grab(panel);
    const int w = panel.width(), h = panel.height();
    // The bottom rows of the column hold no control.
    const TRect children{0, 0, w, h - 6};
    if (!theme) {
      EXPECT_EQ(shot.pixel(0, h - 2), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT))) << kind.Name;
      EXPECT_EQ(shot.pixel(w - 1, h - 1), Rgb(GetSysColor(COLOR_3DDKSHADOW))) << kind.Name;
      continue;
    }
    auto ref = FaceBitmap(w, h);
    theme->PaintPanel(0, ref->Canvas(), {0, 0, w, h}, "default");
    EXPECT_EQ(FirstDifference(shot, *ref, children), "") << kind.Name << " panel";

    const int bw = button.width(), bh = button.height();
    auto face = FaceBitmap(bw, bh);
    theme->PaintButton(0, face->Canvas(), ButtonInfo({0, 0, bw, bh}, 0), "default");
    // The top and bottom four rows, inside the rounded corners: no glyph, no text.
    QImage edges = Grab(button);
    for (int y = 4; y < bh - 4; ++y)
      for (int x = 0; x < bw; ++x) edges.setPixel(x, y, face->GetPixel(x, y) | 0xFF000000u);
    for (int y : {0, 1, 2, 3, bh - 4, bh - 3, bh - 2, bh - 1})
      for (int x : {0, 1, 2, 3, bw - 4, bw - 3, bw - 2, bw - 1}) edges.setPixel(x, y, face->GetPixel(x, y) | 0xFF000000u);
    EXPECT_EQ(FirstDifference(edges, *face), "") << kind.Name << " button";
  }
  ThemeManager().ClearCurrentTheme();
}

// A truncated payload and a packed stream with nothing behind its magic.
TEST(MainWindowThemes, DamagedStoredThemeLeavesNoThemeAndNoFailure) {
  for (const QByteArray& payload :
       {QByteArray("\x02\xff\xff\xff\x7f", 5), QByteArray("\x02\0\0\0\0\x07\0\0\0\0\0\0\0OVMSSTL", 20)}) {
    TMainWindowThemes themes(payload);
    EXPECT_FALSE(themes.Link().GetTheme() && themes.Link().GetTheme()->HasWindow(0, QStringLiteral("default")));
  }
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QApplication::setApplicationName("Sonolift");
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
