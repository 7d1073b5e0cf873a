// What the workflow keeps safe whatever the user gives it: names that look
// like arguments, relative paths, overwrite beside other inputs, Stop, drops
// during probes, failed reads of lists and names that are not UTF-8.
#include <QDir>
#include <QTimer>
#include <QRandomGenerator>

#include <cstdio>

#include "app_error.h"
#include "file_names.h"
#include "transcoder_commands.h"
#include "workflow_fixture.h"

namespace {

std::vector<QStringList> ConversionsIn(const std::vector<QStringList>& calls) {
  std::vector<QStringList> out;
  for (const QStringList& c : calls)
    if (c.contains("-vn")) out.push_back(c);
  return out;
}

// Calls fn each time the event loop runs a 20 ms timer, until it returns true.
struct Poll {
  QTimer timer;
  explicit Poll(std::function<bool()> fn) {
    timer.callOnTimeout([this, fn] {
      if (fn()) timer.stop();
    });
    timer.start(20);
  }
};

// Runs action once the fake waits at the gate (see the fixture), then lets
// it go on: the action runs inside whatever wait keeps the event loop going.
std::unique_ptr<Poll> AtGate(const QString& gate, std::function<void()> action) {
  return std::make_unique<Poll>([gate, action] {
    if (!QFileInfo::exists(gate + ".started")) return false;
    action();
    QFile open(gate);
    open.open(QIODevice::WriteOnly);
    return true;
  });
}

}  // namespace

TEST_F(WorkflowTest, FileNamesReachTheTranscoderWholeAndAddNoArgument) {
  // The program's folder has a quote in its name too.
  const QString quoted = tmp.path() + "/prog \"q\" dir/";
  ASSERT_TRUE(QDir().rename(programDir, quoted));
  programDir = quoted;
  const QStringList names{"p\" -y -f wav \"victim.wav\" \"q.avi", "x\" \"y.mp4", "\"quoted\" \"both\".avi",
                          "x\" -i \"y.avi", "tab\there.mp4", " blank at both ends .mp4 "};
  Start();
  for (const QString& n : names) ctl->AddVideoFile(Clip(n));
  ASSERT_EQ(view.rows.size(), size_t(names.size())) << view.messages.join("\n").toStdString();
  RunBatch();
  EXPECT_EQ(States(), QStringList(QList<QString>(names.size(), "Done")));

  const std::vector<QStringList> conversions = ConversionsIn(Calls());
  ASSERT_EQ(conversions.size(), size_t(names.size()));
  QStringList outputs;
  for (int i = 0; i < names.size(); ++i) {
    const QStringList& c = conversions[size_t(i)];
    const QString output = outDir + OutputBaseName(names[i], 0, i) + ".MP3";
    outputs << OutputBaseName(names[i], 0, i) + ".MP3";
    EXPECT_EQ(c.size(), 10) << c.join("|").toStdString();
    EXPECT_EQ(c.last(), output);
    if (IsScriptType(names[i])) {
      EXPECT_TRUE(c[2].endsWith(".avs")) << c[2].toStdString();
    } else {
      EXPECT_EQ(c[2], inDir + names[i]);
    }
  }
  outputs.sort();
  EXPECT_EQ(OutFiles(), outputs);
  QStringList inputs = names;
  inputs.sort();
  EXPECT_EQ(QDir(inDir).entryList(QDir::Files, QDir::Name), inputs);
  for (const char* stray : {"victim.wav", "q.avi", "y.mp4", "y.avi"}) EXPECT_FALSE(QFileInfo::exists(stray)) << stray;
}

TEST_F(WorkflowTest, RelativePathsReachScriptsAndCommandsAbsolute) {
  Start();
  Clip("rel.avi");
  Clip("rel.mp4");
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(inDir));
  const QString here = QDir::currentPath() + "/";
  ctl->AddVideoFile("rel.avi");
  ctl->AddVideoFile("rel.mp4");
  RunBatch();
  QDir::setCurrent(before);
  EXPECT_EQ(States(), (QStringList{"Done", "Done"}));
  EXPECT_EQ(view.rows[0].file, "rel.avi");  // shown as given

  const QList<QByteArray> scripts = ReadText(scriptLog).split('\n');
  ASSERT_GE(scripts.size(), 2);
  for (const QByteArray& line : scripts) {
    if (!line.isEmpty()) {
      EXPECT_EQ(line, "DirectShowSource(\"" + here.toUtf8() + "rel.avi\", fps=30, convertfps=true)\r");
    }
  }
  for (const QStringList& c : Calls()) {
    const qsizetype i = c.indexOf("-i");
    ASSERT_GE(i, 0);
    EXPECT_TRUE(c[i + 1].startsWith(u'/')) << c[i + 1].toStdString();
  }
}

TEST_F(WorkflowTest, OverwriteNeverReplacesAnInputOfTheBatch) {
  WriteText(settingsFile, "[Common]\r\nstrOutputDir=" + inDir.toUtf8() + "\r\nbOverWrite=-1\r\n");
  Start();
  const QString mp4 = Clip("song.mp4"), mp3 = Clip("song.MP3");
  const QByteArray original = ReadText(mp3);
  ctl->AddVideoFile(mp4);
  ctl->AddVideoFile(mp3);
  RunBatch();
  EXPECT_EQ(States(), (QStringList{"Done", "Done"}));
  EXPECT_EQ(ReadText(mp3), original);
  EXPECT_EQ(ReadText(inDir + "song(1).MP3"), "audio data");
  EXPECT_EQ(ReadText(inDir + "song(2).MP3"), "audio data");
}

TEST_F(WorkflowTest, AListThatCannotBeReadDuringABatchIsShownAndTheBatchGoesOn) {
  Start();
  const QString gate = StartGatedJob("a");
  ASSERT_TRUE(Reached(gate));
  ctl->DropFiles({inDir + "gone.lst", Clip("b.mp4")});
  Open(gate);
  ASSERT_TRUE(WaitFor([&] { return !ctl->Busy(); })) << "the batch never ended";
  WaitIdle();
  EXPECT_EQ(States(), (QStringList{"Done", "Done"}));
  ASSERT_EQ(view.messages.size(), 1);
  EXPECT_TRUE(view.messages[0].startsWith("Cannot open file \"" + inDir + "gone.lst\"")) << view.messages[0].toStdString();
  EXPECT_EQ(view.status, "Ready");
}

TEST_F(WorkflowTest, StopEndsABatchAndNeverRejectsAFileBeingAdded) {
  Start();
  // Idle: Stop while a file is probed does nothing to it.
  const QString g1 = Gate("idle");
  const QByteArray probe = "P Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\n";
  bool stopped = false;
  {
    const auto stop = AtGate(g1, [&] {
      ctl->btnStopConvertClick();
      stopped = true;
    });
    ctl->AddVideoFile(Clip("idle.mp4", "C write\nC exit 0\n", "W " + g1.toUtf8() + "\n" + probe));
  }
  EXPECT_TRUE(stopped);
  EXPECT_EQ(view.rows.size(), 1u);

  // During a batch: a file dropped meanwhile is probed between jobs; Stop
  // there ends the batch and still adds the file.
  const QString g2 = Gate("drop");
  ctl->btnClearClick();
  const QString job = StartGatedJob("a");
  ASSERT_TRUE(Reached(job));
  ctl->DropFiles({Clip("b.mp4", "C write\nC exit 0\n", "W " + g2.toUtf8() + "\n" + probe)});
  // The drop's probe runs inside the job's end, so it is answered from the
  // event loop it keeps running.
  const auto stop = AtGate(g2, [&] { ctl->btnStopConvertClick(); });
  Open(job);
  ASSERT_TRUE(WaitFor([&] { return view.rows.size() == 2 && !ctl->Probing(); }));
  WaitIdle();
  EXPECT_FALSE(ctl->Busy());
  EXPECT_EQ(States(), (QStringList{"Done", ""}));
  EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join("\n").toStdString();
}

TEST_F(WorkflowTest, StopDuringAScriptProbeStartsNoSecondProbe) {
  Start();
  const QString x = Clip("x.avi");
  ctl->AddVideoFile(x);
  const QString gate = Gate("script");
  Clip("x.avi", "C write\nC exit 0\n",
       "W " + gate.toUtf8() + "\nA nothing\nP Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\n");
  const size_t callsBefore = Calls().size();
  bool stopped = false;
  const auto stop = AtGate(gate, [&] {
    ctl->btnStopConvertClick();
    stopped = true;
  });
  ctl->btnConvertClick();
  ASSERT_TRUE(WaitFor([&] { return stopped; }));
  WaitIdle();
  const std::vector<QStringList> calls = Calls();
  ASSERT_EQ(calls.size(), callsBefore + 1) << "a probe after Stop";
  EXPECT_TRUE(calls.back()[1].endsWith(".avs"));
  EXPECT_EQ(States(), QStringList{""});
}

TEST_F(WorkflowTest, AProbeThatEndsARunningConversionLetsThatJobEnd) {
  Start();
  const QString gate = StartGatedJob("a");
  ASSERT_TRUE(Reached(gate));
  EXPECT_TRUE(ctl->ProbeFile(Clip("b.mp4")));
  EXPECT_FALSE(ctl->Busy());
  EXPECT_EQ(States(), QStringList{"Error"});
}

TEST_F(WorkflowTest, AFileDroppedDuringAProbeWaitsWithoutSpinning) {
  Start();
  // Counts what the controller posts to itself while the drop waits.
  struct Counter : QObject {
    int posted = 0;
    bool eventFilter(QObject* o, QEvent* e) override {
      if (o == QCoreApplication::instance() && (e->type() == QEvent::MetaCall || e->type() == QEvent::Timer)) ++posted;
      return false;
    }
  } counter;
  const QString gate = Gate("a");
  int ticks = -1;
  Poll poll([&] {
    if (ticks < 0) {
      if (!Reached(gate)) return false;
      ctl->DropFiles({Clip("b.mp4")});
      QCoreApplication::instance()->installEventFilter(&counter);
    }
    if (++ticks < 10) return false;
    QCoreApplication::instance()->removeEventFilter(&counter);
    Open(gate);
    return true;
  });
  ctl->AddVideoFile(Clip("a.mp4", "C write\nC exit 0\n",
                         "W " + gate.toUtf8() + "\nP Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\n"));
  ASSERT_TRUE(WaitFor([&] { return view.rows.size() == 2; }));
  EXPECT_LT(counter.posted, 10) << "the drop spun while the probe ran";
}

TEST_F(WorkflowTest, ListProblemsAreNotedAndAnAbortedLoadStopsAtOnce) {
  Start();
  const QString list = inDir + "plain.lst";
  WriteText(list, Clip("one.mp4").toUtf8() + "\r\n" + inDir.toUtf8() + "missing.mp4\r\n");
  ctl->LoadFileList(list);
  EXPECT_EQ(view.notes, (QStringList{"missing " + inDir + "missing.mp4", "no header " + list}));
  EXPECT_EQ(view.rows.size(), 1u);
  EXPECT_TRUE(view.messages.isEmpty());

  const QString gate = Gate("list");
  QByteArray text = "#Sonolift File List\r\n";
  for (const char* n : {"l1.mp4", "l2.mp4", "l3.mp4"})
    text += Clip(n, "C write\nC exit 0\n", "W " + gate.toUtf8() + "\nP Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\n")
                .toUtf8() +
            "\r\n";
  WriteText(inDir + "three.lst", text);
  const size_t callsBefore = Calls().size();
  const auto abort = AtGate(gate, [&] { ctl->AbortAdding(); });
  ctl->LoadFileList(inDir + "three.lst");
  EXPECT_EQ(Calls().size(), callsBefore + 1);
  EXPECT_EQ(view.rows.size(), 1u);
  EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join("\n").toStdString();
  ctl->AddVideoFile(Clip("later.mp4"));  // adding works again afterwards
  EXPECT_EQ(view.rows.size(), 2u);

  // A single add abandoned the same way; the next one is taken.
  const QString single = Gate("single");
  const auto again = AtGate(single, [&] { ctl->AbortAdding(); });
  ctl->AddVideoFile(Clip("single.mp4", "C write\nC exit 0\n",
                         "W " + single.toUtf8() + "\nP Duration: 00:00:05.00\nP Stream #0:1: Audio: mp3\n"));
  EXPECT_EQ(view.rows.size(), 2u);
  ctl->AddVideoFile(Clip("after.mp4"));
  EXPECT_EQ(view.rows.size(), 3u);
  EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join("\n").toStdString();
}

TEST_F(WorkflowTest, NamesThatAreNotUtf8RoundTripAndLineBreaksAreRefusedWhole) {
  Start();
  const QByteArray raw = QFile::encodeName(inDir) + "caf\xe9 \xff\xfe.mp4";
  const QByteArray body = ReadText(Clip("template.mp4"));
  FILE* f = std::fopen(raw.constData(), "wb");
  ASSERT_TRUE(f);
  std::fwrite(body.constData(), 1, size_t(body.size()), f);
  std::fclose(f);
  const QString name = DecodeFileName(raw);
  ctl->AddVideoFile(name);
  ASSERT_EQ(view.rows.size(), 1u) << view.messages.join("\n").toStdString();
  EXPECT_EQ(EncodeFileName(view.rows[0].file), raw);

  const QString list = inDir + "list.lst";
  ctl->SaveFileList(list);
  EXPECT_EQ(ReadText(list), "#Sonolift File List\r\n" + raw + "\r\n");
  ctl->btnClearClick();
  ctl->LoadFileList(list);
  ASSERT_EQ(view.rows.size(), 1u);
  EXPECT_EQ(view.rows[0].file, name);
  RunBatch();
  EXPECT_EQ(States(), QStringList{"Done"});
  EXPECT_TRUE(IsRegularFile(DecodeFileName(QFile::encodeName(outDir) + "caf\xe9 \xff\xfe.MP3")));

  // A line break would add a path of its own to the list: nothing is written.
  ctl->AddVideoFile(Clip("two\nlines.mp4"));
  ASSERT_EQ(view.rows.size(), 2u);
  try {
    ctl->SaveFileList(list);
    ADD_FAILURE() << "saved";
  } catch (const EAppError& e) {
    EXPECT_TRUE(e.Message().contains("two\\nlines.mp4")) << e.Message().toStdString();
    EXPECT_TRUE(e.Message().contains("line break"));
  }
  EXPECT_EQ(ReadText(list), "#Sonolift File List\r\n" + raw + "\r\n");
}

TEST(FileNames, EveryByteStringRoundTripsAndPrintsOnOneLine) {
  QRandomGenerator rng(20261211);
  for (int i = 0; i < 20000; ++i) {
    QByteArray bytes(rng.bounded(1, 24), Qt::Uninitialized);
    for (char& c : bytes) c = char(rng.bounded(1, 256));
    const QString name = DecodeFileName(bytes);
    ASSERT_EQ(EncodeFileName(name), bytes) << bytes.toHex().constData();
    const QString printable = PrintableFileName(name);
    for (QChar c : printable) ASSERT_TRUE(c.unicode() >= 0x20 && c.unicode() != 0x7F) << bytes.toHex().constData();
  }
  // Valid UTF-8 stays what Qt makes of it.
  EXPECT_EQ(DecodeFileName("Grüße 😀.mp4"), QString::fromUtf8("Grüße 😀.mp4"));
  struct Case {
    QByteArray bytes;
    QString printable;
  };
  const Case cases[] = {{"a\nb", "a\\nb"},
                        {"a\r\tb", "a\\r\\tb"},
                        {"\x1b[2J", "\\x1b[2J"},
                        {"caf\xe9", "caf\\xe9"},
                        {"\xed\xa0\x80", "\\xed\\xa0\\x80"},  // an encoded surrogate is not UTF-8
                        {"\xc0\xaf", "\\xc0\\xaf"},             // nor an overlong slash
                        {"\xef\xbb\xbf" "bom", QChar(0xFEFF) + QStringLiteral("bom")}};  // a leading byte-order mark stays
  for (const Case& c : cases) {
    EXPECT_EQ(PrintableFileName(DecodeFileName(c.bytes)), c.printable) << c.bytes.toHex().constData();
    EXPECT_EQ(EncodeFileName(DecodeFileName(c.bytes)), c.bytes) << c.bytes.toHex().constData();
  }
}
