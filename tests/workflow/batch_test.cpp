// Adding files, output naming and the batch run against the fake transcoder.
#include <QFileInfo>
#include <QTimer>

#include "app_error.h"
#include "workflow_fixture.h"

namespace {
const QByteArray kSlow = "C say size= 1kB time=00:00:41.50 bitrate=1\nC write\nC sleep 30\nC exit 0\n";
}

TEST_F(WorkflowTest, AddedFileShowsSizeAndDurationOrIsRejected) {
  Start();
  ctl->AddVideoFile(Clip("clip, 1280x720.mp4"));
  ctl->AddVideoFile(BadClip("bad.mpg"));
  ctl->AddVideoFile(inDir + "missing.mp4");
  ctl->AddVideoFile(inDir);  // a directory is no video file
  ctl->AddVideoFile(Clip("clip, 1280x720.mp4"));
  ASSERT_EQ(view.rows.size(), 2u);
  EXPECT_EQ(view.rows[0].info, "320X240 00:01:23");
  EXPECT_EQ(view.rows[1].file, view.rows[0].file);  // no duplicate test
  EXPECT_EQ(view.messages, QStringList{"Unsupported or bad video file: " + inDir + "bad.mpg!"});
}

TEST_F(WorkflowTest, ScriptTypesGoThroughAPrivateScriptUnlessItIsRejected) {
  Start();
  const QString viaScript = Clip("a \"q\".avi");
  const QString direct = Clip("b.AVI", "C write\nC exit 0\n",
                              "A nothing\nP Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\n");
  const QString mpg = Clip("c.mpg");
  for (const QString& f : {viaScript, direct, mpg}) ctl->AddVideoFile(f);
  ASSERT_EQ(view.rows.size(), 3u);
  RunBatch();
  EXPECT_EQ(States(), (QStringList{"Done", "Done", "Done"}));
  std::vector<QStringList> conversions;
  for (const QStringList& c : Calls())
    if (c.contains("-vn")) conversions.push_back(c);
  ASSERT_EQ(conversions.size(), 3u);
  EXPECT_TRUE(conversions[0][2].endsWith(".avs"));
  EXPECT_FALSE(QFileInfo::exists(conversions[0][2]));  // deleted after the job
  EXPECT_EQ(conversions[1][2], direct);
  EXPECT_EQ(conversions[2][2], mpg);
  EXPECT_EQ(conversions[0], (QStringList{"-vn", "-i", conversions[0][2], "-ac", "2", "-ar", "11025", "-ab", "16000",
                                         outDir + "a \"q\".MP3"}));
  EXPECT_TRUE(ctl->ScriptFile().isEmpty());
}

TEST_F(WorkflowTest, OutputNamesAvoidExistingFilesTheInputAndEarlierOutputs) {
  Start();
  WriteText(outDir + "clip.MP3", "old");
  WriteText(outDir + "clip(1).MP3", "old");
  ctl->AddVideoFile(Clip("clip.avi"));
  RunBatch();
  EXPECT_TRUE(QFileInfo::exists(outDir + "clip(2).MP3"));

  // Overwrite on: the old output goes, but two inputs with one base name in
  // one batch never write over each other, and no job replaces its input.
  ctl->btnOptionClick();
  view.overWrite = true;
  ctl->btnBatchClick();
  QDir().mkpath(inDir + "other");
  ctl->AddVideoFile(Clip("other/clip.avi"));
  const QString inputInOutDir = outDir + "song.MP3";
  WriteText(inputInOutDir, "P Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\nC write\nC exit 0\n");
  ctl->AddVideoFile(inputInOutDir);
  RunBatch();
  EXPECT_EQ(States(), (QStringList{"Done", "Done", "Done"})) << OutFiles().join(" ").toStdString();
  EXPECT_EQ(ReadText(outDir + "clip.MP3"), "audio data");
  EXPECT_EQ(ReadText(outDir + "clip(1).MP3"), "old");
  EXPECT_EQ(ReadText(outDir + "clip(3).MP3"), "audio data");
  EXPECT_TRUE(ReadText(inputInOutDir).startsWith("P Duration"));
  EXPECT_EQ(ReadText(outDir + "song(1).MP3"), "audio data");

  // Naming by number uses the row position.
  ctl->btnOptionClick();
  view.naming = 1;
  view.overWrite = false;
  view.format = 7;
  ctl->btnBatchClick();
  RunBatch();
  EXPECT_TRUE(QFileInfo::exists(outDir + "0.OGG"));
  EXPECT_TRUE(QFileInfo::exists(outDir + "2.OGG"));
}

TEST_F(WorkflowTest, BatchRunsEveryRowOnceWithProgressAndStates) {
  Start();
  EXPECT_EQ(ctl->FormClose(), true);
  ctl->btnConvertClick();  // empty list: nothing at all
  EXPECT_TRUE(view.status.isEmpty());

  ctl->AddVideoFile(Clip("a.mp4", "C say size= 1kB time=00:00:41.50 bitrate=1\nC write\nC exit 0\n"));
  ctl->AddVideoFile(Clip("b.mp4", "C exit 1\n"));                  // fails, no output
  ctl->AddVideoFile(Clip("c.mp4", "C write\nC crash\n"));          // crashes after writing
  ctl->AddVideoFile(Clip("d.mp4", "C writeempty\nC exit 0\n"));    // ends well but empty
  ctl->AddVideoFile(Clip("e.mp4"));
  RunBatch();
  EXPECT_EQ(States(), (QStringList{"Done", "Error", "Error", "Error", "Done"}));
  EXPECT_EQ(view.progressValues, (std::vector<int>{0, 20, 40, 60, 80, 100}));
  const auto started = std::find(view.progressLog.begin(), view.progressLog.end(), QString("0%"));
  ASSERT_NE(started, view.progressLog.end());
  EXPECT_EQ(*(started + 1), QLocale().toString(50.6, 'f', 1) + "%");
  EXPECT_EQ(view.status, "Ready");
  EXPECT_FALSE(view.running);
  EXPECT_FALSE(QFileInfo::exists(outDir + "d.MP3"));  // empty output removed
  EXPECT_EQ(OutFiles(), (QStringList{"a.MP3", "c.MP3", "e.MP3"}));

  // A second run clears the states first and names around the first outputs.
  view.rows[1].progress = "stale";
  RunBatch();
  EXPECT_EQ(view.rows[0].progress, "Done");
  EXPECT_EQ(view.rows[1].progress, "Error");
  EXPECT_TRUE(QFileInfo::exists(outDir + "a(1).MP3"));
}

TEST_F(WorkflowTest, RowsRejectedAtTheirTurnShowError) {
  Start();
  const QString a = Clip("a.mp4"), b = Clip("b.mp4");
  ctl->AddVideoFile(a);
  ctl->AddVideoFile(b);
  BadClip("a.mp4");
  QFile::remove(b);  // deleted since it was added
  RunBatch();
  EXPECT_EQ(States(), (QStringList{"Error", "Error"}));
  EXPECT_EQ(view.progressValues.back(), 100);
  EXPECT_EQ(view.status, "Ready");
}

TEST_F(WorkflowTest, StopAbortsTheRunningJobAndDeletesItsPartialOutput) {
  Start();
  ctl->AddVideoFile(Clip("a.mp4", kSlow));
  ctl->AddVideoFile(Clip("b.mp4"));
  ctl->btnConvertClick();
  ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(outDir + "a.MP3") && view.rows[0].progress != "0%"; }));
  EXPECT_FALSE(ctl->FormClose());
  EXPECT_EQ(view.messages.back(), "Busy! Please stop the conversion before exit");
  ctl->lvFilesKeyDown(46);  // Delete while busy removes nothing
  view.selected = {0, 1};
  ctl->lvFilesKeyDown(46);
  EXPECT_EQ(view.rows.size(), 2u);

  ctl->btnStopConvertClick();
  EXPECT_FALSE(view.running);
  EXPECT_EQ(view.status, "Ready");
  WaitIdle();
  EXPECT_EQ(States(), (QStringList{"Abort", ""}));
  EXPECT_TRUE(OutFiles().isEmpty());
  EXPECT_TRUE(ctl->FormClose());
  ctl->lvFilesKeyDown(46);
  EXPECT_TRUE(view.rows.empty());
}

TEST_F(WorkflowTest, StopDuringTheNextProbeKeepsFinishedOutputsAndStartsNothing) {
  Start();
  ctl->AddVideoFile(Clip("a.mp4"));
  // The second row's probe is slow: the fake prints, then Stop comes in.
  const QString slowProbe = inDir + "b.mp4";
  ctl->AddVideoFile(Clip("b.mp4"));
  ctl->AddVideoFile(Clip("c.mp4"));
  WriteText(slowProbe, "P Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\nC write\nC exit 0\n");
  // Make the probe slow by replacing the fake for probes of b with a sleeping one.
  QFile::rename(programDir + "videoenc.dll", programDir + "real.sh");
  WriteText(programDir + "videoenc.dll",
            "#!/bin/sh\ncase \"$*\" in *b.mp4*) case \"$*\" in *-vn*) ;; *) sleep 2;; esac;; esac\nexec \"" +
                QFile::encodeName(programDir) + "real.sh\" \"$@\"\n");
  QFile::setPermissions(programDir + "videoenc.dll", QFile::ExeOwner | QFile::ReadOwner | QFile::WriteOwner);
  // Stop comes while b's probe keeps the event queue running.
  bool stopped = false;
  QTimer::singleShot(1000, [&] {
    EXPECT_EQ(view.rows[0].progress, "Done");
    EXPECT_TRUE(ctl->Probing());
    ctl->btnStopConvertClick();
    stopped = true;
  });
  ctl->btnConvertClick();
  ASSERT_TRUE(WaitFor([&] { return stopped; }));
  WaitIdle();
  QCoreApplication::processEvents();
  EXPECT_EQ(ReadText(outDir + "a.MP3"), "audio data");
  EXPECT_EQ(States(), (QStringList{"Done", "", ""}));
  EXPECT_EQ(OutFiles(), QStringList{"a.MP3"});
}

TEST_F(WorkflowTest, FilesDroppedDuringABatchJoinItWithoutKillingTheRunningJob) {
  Start();
  ctl->AddVideoFile(Clip("a.mp4", "C say size= 1kB time=00:00:10.00 bitrate=1\nC sleep 1\nC write\nC exit 0\n"));
  const QString list = inDir + "more.LST";
  WriteText(list, "#Sonolift File List\r\n# a comment\r\n\r\n" + Clip("c.mp4").toUtf8() + "\r\n" +
                      inDir.toUtf8() + "missing.mp4\r\n" + Clip("d.mp4").toUtf8() + " \r\n");
  ctl->btnConvertClick();
  ASSERT_TRUE(WaitFor([&] { return view.rows[0].progress != "0%"; }));
  ctl->DropFiles({Clip("b.mp4"), list});
  EXPECT_EQ(view.rows.size(), 1u);  // they wait for the running job
  WaitIdle();
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.rows[1].file, inDir + "b.mp4");
  EXPECT_EQ(view.rows[2].file, inDir + "c.mp4");
  EXPECT_EQ(States(), (QStringList{"Done", "Done", "Done"}));
}

TEST_F(WorkflowTest, ListFilesRoundTripAndDialogsCarryTheirTitles) {
  Start();
  view.saveAnswer = inDir + "empty.lst";
  ctl->btnSaveListClick();
  EXPECT_EQ(ReadText(inDir + "empty.lst"), "#Sonolift File List\r\n");
  EXPECT_EQ(view.dialogs.back().Title, "Save file list");
  EXPECT_EQ(view.dialogs.back().FileName, "Sonolift.lst");

  const QStringList files{Clip("one two.mp4"), Clip("Grüße.mp4"), Clip("-dash \"q\".mp4")};
  view.openAnswer = files;
  ctl->btnAddFileClick();
  EXPECT_EQ(view.dialogs.back().Title, "Add video file to batch convert to Flash");
  EXPECT_EQ(view.dialogs.back().Filters.size(), 7);
  view.saveAnswer = inDir + "three.lst";
  ctl->btnSaveListClick();
  ctl->btnClearClick();
  EXPECT_TRUE(view.rows.empty());
  view.openAnswer = QStringList{inDir + "three.lst"};
  ctl->btnLoadListClick();
  EXPECT_EQ(view.dialogs.back().Title, "Load file file list");
  ASSERT_EQ(view.rows.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(view.rows[size_t(i)].file, files[i]);
    EXPECT_EQ(view.rows[size_t(i)].info, "320X240 00:01:23");
  }
  view.selected = {2};
  ctl->lvFilesDblClick();
  EXPECT_EQ(view.opened.back(), files[2]);

  EXPECT_THROW(ctl->LoadFileList(inDir + "nope.lst"), EAppError);
}
