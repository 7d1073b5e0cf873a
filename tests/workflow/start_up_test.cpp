// Start-up, settings, closing, pages and version information.
#include <QStandardPaths>
#include <QTemporaryDir>

#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "file_version_info.h"
#include "file_names.h"
#include "ini_file.h"
#include "workflow_fixture.h"

namespace {
QString Docs() { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + "/"; }
}  // namespace

TEST_F(WorkflowTest, FirstStartTakesTheDefaults) {
  QFile::remove(settingsFile);
  Start();
  EXPECT_EQ(view.format, 0);
  EXPECT_EQ(view.rate, 0);
  EXPECT_EQ(view.bitRate, 0);
  EXPECT_FALSE(view.mono);
  EXPECT_FALSE(ctl->OverWrite());
  EXPECT_EQ(ctl->NamingMode(), 0);
  EXPECT_EQ(ctl->OutputDir(), Docs());
  EXPECT_EQ(view.caption, "Sonolift " SONOLIFT_VERSION);
  EXPECT_EQ(ctl->CurrentPage(), TPage::None);
}

TEST_F(WorkflowTest, StoredValuesAreClampedReadAndWrittenBackInTheirForms) {
  struct Case {
    QByteArray stored;
    int naming;
    bool overWrite, mono;
    QString writtenOverWrite, writtenMono;
  };
  const Case cases[] = {
      {"nNaming=7\r\nbOverWrite=1\r\nckMono=5\r\n", 1, true, true, "-1", "1"},
      {"nNaming=-3\r\nbOverWrite=-1\r\nckMono=0\r\n", 0, true, false, "-1", "0"},
      {"nNaming=abc\r\nbOverWrite=x\r\nckMono= 2 \r\n", 0, false, true, "0", "1"},
  };
  for (const Case& c : cases) {
    WriteText(settingsFile, "[common]\r\n" + c.stored + "strOutputDir=" + outDir.left(outDir.size() - 1).toUtf8() +
                                "\r\ncbFileFormat=7\r\ncbAudioSampleRate=2\r\ncbAudioBitRate=99\r\n");
    view = TFakeView();
    Start();
    EXPECT_EQ(ctl->NamingMode(), c.naming) << c.stored.constData();
    EXPECT_EQ(ctl->OverWrite(), c.overWrite) << c.stored.constData();
    EXPECT_EQ(view.mono, c.mono) << c.stored.constData();
    EXPECT_EQ(ctl->OutputDir(), outDir);  // separator appended
    EXPECT_EQ(view.format, 7);
    EXPECT_EQ(view.rate, 2);
    EXPECT_EQ(view.bitRate, 0);  // out of the list: the first entry
    ctl->FormDestroy();
    TIniFile ini(settingsFile);
    EXPECT_EQ(ini.ReadString("Common", "bOverWrite", ""), c.writtenOverWrite);
    EXPECT_EQ(ini.ReadString("COMMON", "CKMONO", ""), c.writtenMono);
    EXPECT_EQ(ini.ReadString("Common", "strOutputDir", ""), outDir);
    EXPECT_EQ(ini.ReadString("Common", "cbFileFormat", ""), "7");
    // One section, however the stored file spelt it.
    EXPECT_EQ(ReadText(settingsFile).count("ommon]"), 1);
  }
}

TEST_F(WorkflowTest, DeletedOutputDirectoryFallsBackToDocuments) {
  WriteText(settingsFile, "[Common]\nstrOutputDir=" + tmp.path().toUtf8() + "/gone\n");
  Start();
  EXPECT_EQ(ctl->OutputDir(), Docs());
}

TEST_F(WorkflowTest, ArgumentsAddFilesAndEndTheProgramWhenNoneIsAccepted) {
  Start({BadClip("bad.mp4")});
  EXPECT_TRUE(view.terminated);
  EXPECT_EQ(view.messages, QStringList{"Unsupported or bad video file: " + inDir + "bad.mp4!"});
  EXPECT_TRUE(view.rows.empty());

  for (const char* ext : {".lst", ".Lst", ".LST"}) {
    view = TFakeView();
    const QString list = inDir + "list" + ext;
    WriteText(list, "#Sonolift File List\r\n" + Clip("a.mp4").toUtf8() + "\r\n");
    Start({list});
    EXPECT_FALSE(view.terminated) << ext;
    ASSERT_EQ(view.rows.size(), 1u) << ext;
    EXPECT_EQ(view.shownPage, TPage::Batch);
    EXPECT_EQ(view.info, "Batch conversion");
    EXPECT_FALSE(ctl->Busy());  // arguments never start a batch
  }
}

TEST_F(WorkflowTest, OptionsPageCommitsOnlyAnExistingDirectory) {
  Start();
  ctl->btnOptionClick();
  EXPECT_EQ(view.directory, outDir);
  EXPECT_EQ(view.info, "Set options to control Sonolift");
  view.directory = tmp.path() + "/missing";
  ctl->btnBatchClick();
  EXPECT_EQ(view.messages, QStringList{"Please make sure the directory exists"});
  EXPECT_TRUE(view.focusedDirectory);
  EXPECT_EQ(ctl->CurrentPage(), TPage::Options);
  EXPECT_FALSE(ctl->FormClose());  // leaving through closing is refused too
  ctl->btnOptionClick();           // same page: nothing happens
  EXPECT_EQ(view.messages.size(), 2);

  view.directory = inDir.left(inDir.size() - 1);  // no trailing separator
  view.overWrite = true;
  view.naming = 1;
  ctl->btnBatchClick();
  EXPECT_EQ(ctl->OutputDir(), inDir);
  EXPECT_TRUE(ctl->OverWrite());
  EXPECT_EQ(ctl->NamingMode(), 1);
  EXPECT_TRUE(ctl->FormClose());
}

TEST_F(WorkflowTest, DirectoryChoiceFillsTheFieldWithoutCommitting) {
  Start();
  ctl->btnOptionClick();
  view.directoryAnswer = inDir;
  ctl->btnDirClick();
  EXPECT_EQ(view.directory, inDir);
  EXPECT_EQ(ctl->OutputDir(), outDir);
}

TEST_F(WorkflowTest, HelpOpensTheLocalPageWhenThereIsNoHelpFile) {
  Start();
  ctl->btnHelpClick();
  EXPECT_EQ(view.info, "Get help information");
  ASSERT_EQ(view.opened.size(), 1);
  EXPECT_TRUE(view.opened[0].endsWith("help.html"));
  WriteText(programDir + "help.chm", "x");
  ctl->btnHelpClick();
  EXPECT_EQ(view.opened[1], programDir + "help.chm");
  ctl->btnFolderClick();
  EXPECT_EQ(view.opened[2], outDir);
}

TEST(VersionInfo, ReadsTheProgramsOwnSectionAndNothingFromOtherFiles) {
  TFileVersionInfo info;
  GetFileVersionRecord(QCoreApplication::applicationFilePath(), info);
  EXPECT_EQ(info.ProductVersion, SONOLIFT_VERSION);
  EXPECT_EQ(info.CompanyName, "Quillmoor Software");
  EXPECT_EQ(info.FileTypeText, "Application");
  EXPECT_FALSE(info.IsDebug);

  GetFileVersionRecord("/bin/sh", info);  // an executable without our section
  EXPECT_TRUE(info.ProductVersion.isEmpty());
  EXPECT_FALSE(info.ShellTypeName.isEmpty());

  EXPECT_EQ(FileTypeText(3, 9), "Sound Driver");
  EXPECT_EQ(FileTypeText(3, 11), "");
  EXPECT_EQ(FileTypeText(5, 0xAB), "Virtual Defice Identifier = 000000AB");
  EXPECT_EQ(FileTypeText(6, 0), "");
}

namespace {
// Runs fn without the power to ignore file permissions, so that a folder
// without write permission is one for root too (this thread only).
void WithoutPermissionOverride(const std::function<void()>& fn) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct saved[2] = {}, lowered[2] = {};
  const bool haveCaps = ::syscall(SYS_capget, &header, saved) == 0;
  if (haveCaps) {
    lowered[0] = saved[0];
    lowered[1] = saved[1];
    lowered[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
    ::syscall(SYS_capset, &header, lowered);
  }
  fn();
  if (haveCaps) ::syscall(SYS_capset, &header, saved);
}
}  // namespace

TEST(SettingsPlace, ChosenByWhetherTheProgramsFolderTakesNewFiles) {
  QTemporaryDir tmp;
  const QString prog = tmp.path() + "/prog/";
  QDir().mkpath(prog);
  const QByteArray shipped = "[Common]\nnNaming=1\n";
  QFile f(prog + "strings.ini");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(shipped);
  f.close();
  const QByteArray oldIni = qgetenv("SONOLIFT_INI"), oldConfig = qgetenv("XDG_CONFIG_HOME");
  qunsetenv("SONOLIFT_INI");
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(tmp.path() + "/config"));

  EXPECT_EQ(DefaultSettingsFile(prog), prog + "strings.ini");
  // The file itself is writable but its folder is not: the writer could not
  // replace it, so the user's own place is taken, starting from the shipped file.
  QFile::setPermissions(prog, QFile::ReadOwner | QFile::ExeOwner);
  QString chosen;
  WithoutPermissionOverride([&] { chosen = DefaultSettingsFile(prog); });
  QFile::setPermissions(prog, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  EXPECT_EQ(chosen, tmp.path() + "/config/sonolift/strings.ini");
  QFile own(chosen);
  ASSERT_TRUE(own.open(QIODevice::ReadOnly));
  EXPECT_EQ(own.readAll(), shipped);

  qputenv("SONOLIFT_INI", oldIni);
  if (oldConfig.isEmpty()) qunsetenv("XDG_CONFIG_HOME"); else qputenv("XDG_CONFIG_HOME", oldConfig);
}

TEST_F(WorkflowTest, SettingsAreWrittenKeyEqualsValueAndReadEitherWay) {
  WriteText(settingsFile, "[Common]\nstrOutputDir = " + outDir.toUtf8() + "\nnNaming = 1\n");
  Start();
  EXPECT_EQ(ctl->OutputDir(), outDir);
  EXPECT_EQ(ctl->NamingMode(), 1);
  ctl->FormDestroy();
  const QByteArray written = ReadText(settingsFile);
  EXPECT_TRUE(written.contains("\nnNaming=1\n")) << written.constData();
  EXPECT_TRUE(written.contains("\nstrOutputDir=" + outDir.toUtf8() + "\n")) << written.constData();
  EXPECT_FALSE(written.contains(" = ")) << written.constData();
}

TEST_F(WorkflowTest, AnOutputFolderWhoseNameIsNotUtf8IsKept) {
  const QByteArray raw = QFile::encodeName(tmp.path()) + "/d\xe9j\xe0";
  ASSERT_EQ(::mkdir(raw.constData(), 0755), 0);
  const QString dir = DecodeFileName(raw) + "/";
  WriteText(settingsFile, "[Common]\nstrOutputDir=" + raw + "\n");
  Start();
  EXPECT_EQ(ctl->OutputDir(), dir);
  ctl->FormDestroy();
  EXPECT_TRUE(ReadText(settingsFile).contains("strOutputDir=" + raw + "/\n"));
  ::rmdir(raw.constData());
}
