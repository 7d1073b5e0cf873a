// sonolift-batch: the extraction workflow without a window. Every argument is
// added as the window would add it, then the batch runs to its end; Ctrl-C,
// SIGTERM and SIGHUP act as Stop.
#include <QCommandLineParser>
#include <QCoreApplication>

#include <QHash>
#include <QSet>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <dirent.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app_error.h"
#include "console_view.h"
#include "file_names.h"
#include "main_form.h"
#include "output_parser.h"
#include "termination_signals.h"
#include "transcoder_commands.h"
#include "ui_thread.h"

namespace {

// A view for a controller that converts rows of the console's list: the list,
// the choices and messages are the console's; the rest of a window is not there.
class TSlotView : public IMainView {
 public:
  explicit TSlotView(TConsoleView& console) : c_(console) {}
  const TfrmMain* worker = nullptr;

  int RowCount() const override { return c_.RowCount(); }
  void AddRow(const QString& f, const QString& i) override { c_.AddRow(f, i); }
  QString RowFileName(int row) const override { return c_.RowFileName(row); }
  QString RowProgress(int row) const override { return c_.RowProgress(row); }
  void SetRowProgress(int row, const QString& text) override {
    c_.SetRowProgressOf(row, text, worker ? worker->OutputFile() : QString(), worker ? worker->JobNote() : QString());
  }
  void DeleteRow(int) override {}
  void ClearRows() override {}
  std::vector<int> SelectedRows() const override { return {}; }
  int FormatIndex() const override { return c_.FormatIndex(); }
  void SetFormatIndex(int) override {}
  int SampleRateIndex() const override { return c_.SampleRateIndex(); }
  void SetSampleRateIndex(int) override {}
  int BitRateIndex() const override { return c_.BitRateIndex(); }
  void SetBitRateIndex(int) override {}
  bool Mono() const override { return c_.Mono(); }
  void SetMono(bool) override {}
  QString DirectoryText() const override { return c_.DirectoryText(); }
  void SetDirectoryText(const QString&) override {}
  bool OverWriteChecked() const override { return c_.OverWriteChecked(); }
  void SetOverWriteChecked(bool) override {}
  int NamingIndex() const override { return c_.NamingIndex(); }
  void SetNamingIndex(int) override {}
  void FocusDirectory() override {}
  void ShowPage(TPage) override {}
  void SetInfoText(const QString&) override {}
  void SetStatusText(const QString&) override {}
  void SetProgress(int) override {}
  void SetBatchRunning(bool) override {}
  void SetCaption(const QString&) override {}
  void ShowMessage(const QString& text) override { c_.ShowMessage(text); }
  void OpenDocument(const QString&) override {}
  void TerminateApplication() override {}
  std::optional<QStringList> RunOpenDialog(const TFileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> RunSaveDialog(const TFileDialogSpec&) override { return std::nullopt; }
  std::optional<QString> RunDirectoryDialog(const QString&) override { return std::nullopt; }

 private:
  TConsoleView& c_;
};

struct TFoundFile {
  QString path;
  QString subfolder;  // relative to the folder given, "" for its top
};

// Every file below a folder, in name order (byte order of the relative
// paths), hidden files and folders left out; links to folders are not
// followed, so no loop can catch the walk.
std::vector<TFoundFile> FilesBelow(const QString& root) {
  std::vector<TFoundFile> found;
  std::function<void(const QString&, const QString&)> walk = [&](const QString& dir, const QString& rel) {
    DIR* d = ::opendir(EncodeFileName(dir).constData());
    if (!d) return;
    std::vector<QByteArray> names;
    while (const dirent* e = ::readdir(d))
      if (e->d_name[0] != '.') names.emplace_back(e->d_name);
    ::closedir(d);
    std::sort(names.begin(), names.end());
    for (const QByteArray& n : names) {
      const QString name = DecodeFileName(n);
      const QString path = dir + u'/' + name;
      struct stat st;
      if (::lstat(EncodeFileName(path).constData(), &st) != 0) continue;
      if (S_ISDIR(st.st_mode))
        walk(path, rel.isEmpty() ? name : rel + u'/' + name);
      else if (IsRegularFile(path) && UpperExtension(name) != u".LST")
        found.push_back({path, rel});
    }
  };
  QString start = AbsoluteFileName(root);
  while (start.size() > 1 && start.endsWith(u'/')) start.chop(1);
  walk(start, QString());
  return found;
}

[[noreturn]] void UsageError(const QString& text) {
  std::fprintf(stderr, "sonolift-batch: %s\nTry 'sonolift-batch --help'.\n", text.toLocal8Bit().constData());
  std::exit(2);
}

// Position of value in list (letter case ignored); a usage error otherwise.
int Choose(const QString& option, const QString& value, const QStringList& list) {
  for (int i = 0; i < list.size(); ++i)
    if (list[i].compare(value.trimmed(), Qt::CaseInsensitive) == 0) return i;
  UsageError(QStringLiteral("invalid value '%1' for %2; allowed: %3").arg(value, option, list.join(u' ')));
}

}  // namespace

int main(int argc, char* argv[]) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("Sonolift"));
  QCoreApplication::setApplicationVersion(QStringLiteral(SONOLIFT_VERSION));
  CompileOutputPatterns();

  QCommandLineParser cli;
  cli.setApplicationDescription(QStringLiteral("Extracts the audio track of video files in a batch."));
  cli.addPositionalArgument(QStringLiteral("FILE"),
                            QStringLiteral("a video file, a list file (extension .lst in any letter case), or a "
                                           "folder: every video file below it, in name order"),
                            QStringLiteral("FILE..."));
  const QCommandLineOption format({"f", "format"}, "MP3 MP4 3GP WMA WAV AU AIFF OGG (any letter case)", "F");
  const QCommandLineOption rate({"r", "rate"}, "11025 22050 44100", "HZ");
  const QCommandLineOption bitrate({"b", "bitrate"}, "16 24 32 48 56 96 112 128 160 192 224 256 320 (kbit/s)", "K");
  const QCommandLineOption mono("mono", "mono output");
  const QCommandLineOption stereo("stereo", "stereo output");
  const QCommandLineOption outputDir({"o", "output-dir"}, "an existing directory", "D");
  const QCommandLineOption naming({"n", "naming"}, "input | number", "M");
  const QCommandLineOption overwrite("overwrite", "replace existing output files");
  const QCommandLineOption noOverwrite("no-overwrite", "choose a free name instead of replacing");
  const QCommandLineOption jobsOption({"j", "jobs"}, "run up to N conversions at once (0: one per processor)", "N");
  const QCommandLineOption copyAudio("copy-audio",
                                     "keep the source's audio stream as it is where the format's container holds its "
                                     "codec (rate, bit rate and channels are then the source's); convert otherwise");
  const QCommandLineOption keepTree("keep-tree",
                                    "write the outputs of a folder's files into the same sub-folders of the output "
                                    "directory");
  const QCommandLineOption skipExisting("skip-existing", "leave files whose output name exists (reported as skipped)");
  const QCommandLineOption help({"h", "help"}, "show this help");
  const QCommandLineOption version("version", "print the version");
  cli.addOptions({format, rate, bitrate, mono, stereo, outputDir, naming, overwrite, noOverwrite, jobsOption, copyAudio, keepTree,
                  skipExisting, help, version});
  // File names exactly as given: Qt's own decoding would lose the bytes of
  // names that are not UTF-8.
  if (!cli.parse(QStringList{QStringLiteral("sonolift-batch")} + DecodeArguments(argc, argv)))
    UsageError(cli.errorText());
  const TStartOptions startOptions = DefaultStartOptions();
  if (cli.isSet(help)) {
    const QString settings =
        QStringLiteral("\nOptions not given take the values the window saved in its settings file, here\n  %1\n"
                       "(SONOLIFT_INI names another). Nothing is written back. Without a settings file they are\n"
                       "MP3, 44100 Hz, 128 kbit/s, stereo, named after the input, no overwrite, into the\n"
                       "documents folder.\n"
                       "Exit status: 0 when every file was accepted and converted, 1 otherwise, 2 for a usage\n"
                       "error, 128 + the signal's number after Ctrl-C (130), SIGTERM or SIGHUP, which stop the\n"
                       "running job and remove its partial output.\n")
            .arg(PrintableFileName(startOptions.SettingsFile));
    std::fputs((cli.helpText() + settings).toUtf8().constData(), stdout);
    return 0;
  }
  if (cli.isSet(version)) {
    std::printf("Sonolift %s\n", SONOLIFT_VERSION);
    return 0;
  }
  if (cli.isSet(mono) && cli.isSet(stereo)) UsageError(QStringLiteral("--mono and --stereo exclude each other"));
  if (cli.isSet(overwrite) && cli.isSet(noOverwrite))
    UsageError(QStringLiteral("--overwrite and --no-overwrite exclude each other"));

  int formatIx = -1, rateIx = -1, bitRateIx = -1, namingIx = -1;
  if (cli.isSet(format)) formatIx = Choose("--format", cli.value(format), FormatList());
  if (cli.isSet(rate)) rateIx = Choose("--rate", cli.value(rate), SampleRateList());
  if (cli.isSet(bitrate)) bitRateIx = Choose("--bitrate", cli.value(bitrate), BitRateList());
  if (cli.isSet(naming)) namingIx = Choose("--naming", cli.value(naming), {"input", "number"});
  int jobs = 1;
  if (cli.isSet(jobsOption)) {
    bool ok = false;
    jobs = cli.value(jobsOption).trimmed().toInt(&ok);
    if (!ok || jobs < 0 || jobs > 64)
      UsageError(QStringLiteral("invalid value '%1' for --jobs; allowed: 0 to 64").arg(cli.value(jobsOption)));
    if (jobs == 0) jobs = std::max(1, QThread::idealThreadCount());
  }
  QString dir;
  if (cli.isSet(outputDir)) {
    dir = cli.value(outputDir);
    if (!IsDirectory(dir))
      UsageError(QStringLiteral("output directory '%1' does not exist").arg(PrintableFileName(dir)));
    dir = AbsoluteFileName(dir);
  }

  const QStringList files = cli.positionalArguments();
  if (files.isEmpty()) UsageError(QStringLiteral("no FILE given"));

  const bool haveSettings = PathExists(startOptions.SettingsFile);
  TConsoleView view(::isatty(STDOUT_FILENO));
  TfrmMain controller(view, startOptions);
  view.SetController(&controller);
  SetApplicationErrorHandler([&view](const QString& text) { view.ShowMessage(text); });
  controller.FormCreate({});
  SetApplicationErrorHandler([&view](const QString& text) { view.ShowMessage(text); });

  // The window's first-run choices (11025 Hz at 16 kbit/s) are no one's wish
  // on a command line: without saved settings, CD rate and 128 kbit/s.
  if (!haveSettings) {
    view.SetSampleRateIndex(int(SampleRateList().indexOf(QStringLiteral("44100"))));
    view.SetBitRateIndex(int(BitRateList().indexOf(QStringLiteral("128"))));
    view.SetMono(false);
  }
  if (formatIx >= 0) view.SetFormatIndex(formatIx);
  if (rateIx >= 0) view.SetSampleRateIndex(rateIx);
  if (bitRateIx >= 0) view.SetBitRateIndex(bitRateIx);
  if (cli.isSet(mono) || cli.isSet(stereo)) view.SetMono(cli.isSet(mono));
  // The output settings go through the Options page, as in the window.
  controller.btnOptionClick();
  if (!dir.isEmpty()) view.SetDirectoryText(dir);
  if (namingIx >= 0) view.SetNamingIndex(namingIx);
  if (cli.isSet(overwrite) || cli.isSet(noOverwrite)) view.SetOverWriteChecked(cli.isSet(overwrite));
  controller.btnBatchClick();
  if (controller.CurrentPage() != TPage::Batch) return 1;

  // The controllers of a batch run side by side (--jobs), declared before the
  // signal handler that stops them.
  std::vector<std::unique_ptr<TSlotView>> slotViews;
  std::vector<std::unique_ptr<TfrmMain>> workers;
  int stoppedBy = 0;  // the signal that stopped us
  WatchTerminationSignals([&](int signal) {
    if (stoppedBy) return;
    stoppedBy = signal;
    // A batch stops as with Stop; files being added are abandoned at once.
    RunGuarded([&] {
      for (auto& w : workers)
        if (w->Busy()) w->btnStopConvertClick();
      if (controller.Busy())
        controller.btnStopConvertClick();
      else
        controller.AbortAdding();  // nothing when no file is being added
    });
  });

  // Outputs of files found in folders go into their sub-folder when asked.
  QHash<int, QString> subfolders;
  if (cli.isSet(keepTree)) controller.OutputSubfolder = [&](int row) { return subfolders.value(row); };
  controller.SkipExisting = cli.isSet(skipExisting);
  controller.CopyAudio = cli.isSet(copyAudio);

  // Side by side (--jobs): one controller with its own runner per slot, all
  // over the one list, taking its rows in order and sharing the batch's
  // output names. They start on the first rows while later files are still
  // being added, and wait when they have caught up with the adding.
  int next = 0;
  const auto nextRow = [&] { return stoppedBy || next >= view.RowCount() ? -1 : next++; };
  const auto wakeWorkers = [&] {
    for (auto& w : workers)
      if (!stoppedBy && next < view.RowCount() && !w->Busy() && !w->Runner()->Running())
        RunGuarded([&] { w->RunBatchRows(nextRow); });
  };
  const auto anyWorkerRunning = [&] {
    for (auto& w : workers)
      if (w->Busy() || w->Runner()->Running()) return true;
    return false;
  };
  if (jobs > 1) {
    view.SetParallel(true);
    view.StartClock();
    const auto outputs = std::make_shared<QSet<QString>>();
    for (int k = 0; k < jobs; ++k) {
      auto slotView = std::make_unique<TSlotView>(view);
      auto worker = std::make_unique<TfrmMain>(*slotView, startOptions);
      slotView->worker = worker.get();
      worker->AdoptSettingsFrom(controller);
      worker->ShareBatchOutputs(outputs);
      slotViews.push_back(std::move(slotView));
      workers.push_back(std::move(worker));
    }
    view.OnRowAdded = wakeWorkers;
  }

  bool allAccepted = true;
  for (const QString& file : files) {
    if (stoppedBy) break;
    if (IsDirectory(file)) {
      for (const TFoundFile& found : FilesBelow(file)) {
        if (stoppedBy) break;
        // Known before the row exists: a job side by side may start on it at once.
        const int row = view.RowCount();
        subfolders.insert(row, found.subfolder);
        RunGuarded([&] { controller.AddFoundFile(found.path); });
        if (view.RowCount() == row) subfolders.remove(row);
      }
      continue;
    }
    if (!IsRegularFile(file)) {
      view.ShowMessage(QStringLiteral("No such file: ") + file);
      allAccepted = false;
      continue;
    }
    RunGuarded([&] {
      if (UpperExtension(file) == u".LST")
        controller.LoadFileList(file);
      else
        controller.AddVideoFile(file);
    });
  }
  if (view.Rejected() > 0 || view.Failures() > 0) allAccepted = false;
  view.OnRowAdded = nullptr;
  if (stoppedBy || view.RowCount() == 0) {
    while (anyWorkerRunning()) ProcessUiEventsWaiting();
    view.EndLiveLine();
    view.PrintSummary();
    return stoppedBy ? 128 + stoppedBy : 1;
  }

  if (workers.empty()) {
    view.StartClock();
    RunGuarded([&] { controller.btnConvertClick(); });
    while (controller.Busy()) ProcessUiEventsWaiting();
    // The stopped job's end still has to come in.
    while (controller.Runner()->Running()) ProcessUiEventsWaiting();
  } else {
    wakeWorkers();
    while (anyWorkerRunning()) ProcessUiEventsWaiting();
  }
  view.EndLiveLine();

  view.PrintSummary();
  if (stoppedBy) return 128 + stoppedBy;
  bool allDone = view.Failures() == 0;
  for (int i = 0; i < view.RowCount(); ++i)
    if (view.RowProgress(i) != u"Done" && view.RowProgress(i) != u"Skipped") allDone = false;
  return allAccepted && allDone ? 0 : 1;
}
