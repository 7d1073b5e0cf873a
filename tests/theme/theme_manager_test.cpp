// The theme manager: notification order, client handling, class matching, loading
// by extension and by content, hue and brightness, the font store and the
// theme-lookup rule of controls.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app_error.h"
#include "theme_manager.h"
#include "theme_msux.h"

namespace {

struct Recorder : TteThemeClient {
  std::vector<std::pair<int, intptr_t>>* Log;
  bool Control = false;
  bool Visible = true;
  std::function<void(int)> OnMessage;
  explicit Recorder(std::vector<std::pair<int, intptr_t>>* log) : Log(log) {}
  void ThemeMessage(uint32_t message, intptr_t code, intptr_t lParam) override {
    EXPECT_EQ(message, kThemeChangeMessage);
    Log->push_back({int(code), lParam});
    if (OnMessage) OnMessage(int(code));
  }
  bool IsControl() const override { return Control; }
  bool IsVisible() const override { return Visible; }
};

using Log = std::vector<std::pair<int, intptr_t>>;
Log Codes(std::initializer_list<int> codes) {
  Log l;
  for (int c : codes) l.push_back({c, 0});
  return l;
}

// A theme kind for the tests: streams start with "FAKE", files end in ".fake";
// LoadFromStream accepts "FAKE" followed by "ok". Live instances are counted.
int gAlive = 0;
bool gThrowOnLoad = false;
struct FakeTheme : TteTheme {
  FakeTheme() { ++gAlive; }
  ~FakeTheme() override { --gAlive; }
  static const TteThemeClass& Class_();
  const TteThemeClass& Class() const override { return Class_(); }
  bool LoadFromStream(QIODevice& stream) override {
    if (gThrowOnLoad) throw EAppError(QStringLiteral("broken"));
    const bool ok = stream.read(6) == "FAKEok";
    if (ok) ResetTheme();
    return ok;
  }
  bool LoadFromFile(const QString& fileName) override {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly) || !LoadFromStream(f)) return false;
    FileName = fileName;
    return true;
  }
  bool SaveToStream(QIODevice& stream) const override { return stream.write("FAKEok") == 6; }
};
const TteThemeClass& FakeTheme::Class_() {
  static const TteThemeClass cls = {
      "FakeTheme", [] { return QStringLiteral("Fake"); },
      [] {
        TteThemeConfig c;
        c.CanLoad = c.CanSave = true;
        c.Filter = QStringLiteral("Fake themes (*.fake;*.fk)|*.fake;*.fk|Any|*.theme");
        c.Extension = QStringLiteral("fake");
        return c;
      },
      [](QIODevice& s) { return StreamStartsWith(s, "FAKE"); },
      []() -> std::unique_ptr<TteTheme> { return std::make_unique<FakeTheme>(); },
  };
  return cls;
}

// A class whose stream test reads greedily and fails on a short stream.
const TteThemeClass kGreedyClass = {
    "Greedy", [] { return QStringLiteral("Greedy"); }, [] { return TteThemeConfig{}; },
    [](QIODevice& s) -> bool {
      if (s.read(8).size() < 8) throw EAppError(QStringLiteral("Stream read error"));
      return false;
    },
    []() -> std::unique_ptr<TteTheme> { return std::make_unique<TteTheme>(); },
};

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

TEST(ThemeManagerNotifications, SetReplaceClearInOrder) {
  TteThemeManager m;
  Log log;
  Recorder a(&log), b(&log);
  m.AddThemeClient(&a);
  m.AddThemeClient(&b);
  m.SetCurrentTheme(std::make_unique<TteTheme>());
  EXPECT_EQ(log, Codes({1, 1, 3, 3, 2, 2}));
  log.clear();
  m.SetCurrentTheme(std::make_unique<TteTheme>());
  EXPECT_EQ(log, Codes({1, 1, 0, 0, 2, 2}));
  log.clear();
  m.ClearCurrentTheme();
  EXPECT_EQ(log, Codes({1, 1, 4, 4, 2, 2}));
  EXPECT_EQ(m.CurrentTheme(), nullptr);
}

TEST(ThemeManagerNotifications, ReplacedThemeIsGoneBeforeCodeZero) {
  TteThemeManager m;
  Log log;
  Recorder r(&log);
  m.AddThemeClient(&r);
  m.SetCurrentTheme(std::make_unique<FakeTheme>());
  ASSERT_EQ(gAlive, 1);
  int aliveAtZero = -1, aliveAtOne = -1;
  r.OnMessage = [&](int code) {
    if (code == 0) aliveAtZero = gAlive;
    if (code == 1) aliveAtOne = gAlive;
  };
  m.SetCurrentTheme(std::make_unique<TteTheme>());
  EXPECT_EQ(aliveAtOne, 1);
  EXPECT_EQ(aliveAtZero, 0);
  m.ClearCurrentTheme();
}

TEST(ThemeManagerNotifications, SettingTheCurrentThemeAgainKeepsIt) {
  TteThemeManager m;
  Log log;
  Recorder r(&log);
  m.AddThemeClient(&r);
  m.SetCurrentTheme(std::make_unique<FakeTheme>());
  TteTheme* current = m.CurrentTheme();
  log.clear();
  m.SetCurrentTheme(std::unique_ptr<TteTheme>(current));
  EXPECT_EQ(m.CurrentTheme(), current);
  EXPECT_EQ(gAlive, 1);
  EXPECT_TRUE(log.empty());
  current->Name = QStringLiteral("still usable");
  EXPECT_TRUE(m.IsCurrentTheme(current));
  m.ClearCurrentTheme();
  EXPECT_EQ(gAlive, 0);
  EXPECT_FALSE(m.IsCurrentTheme(nullptr));
}

TEST(ThemeManagerClients, RegisteringWhileAThemeIsCurrentSendsCodeThreeOnce) {
  TteThemeManager m;
  Log log;
  Recorder a(&log), b(&log);
  EXPECT_EQ(m.AddThemeClient(&a), 1);
  EXPECT_TRUE(log.empty());
  m.SetCurrentTheme(std::make_unique<TteTheme>());
  log.clear();
  EXPECT_EQ(m.AddThemeClient(&b), 2);
  EXPECT_EQ(log, Codes({3}));
  EXPECT_EQ(m.AddThemeClient(&b), 2);
  EXPECT_EQ(m.AddThemeClient(&a), 1);
  EXPECT_EQ(log, Codes({3}));
  m.RemoveThemeClient(&a);
  log.clear();
  m.Broadcast(ktcChanged, 7);
  EXPECT_EQ(log, (Log{{2, 7}}));
}

TEST(ThemeManagerClients, UnregisteringDuringABroadcastDoesNotBreakIt) {
  TteThemeManager m;
  Log la, lb, lc;
  Recorder a(&la), b(&lb), c(&lc);
  m.AddThemeClient(&a);
  m.AddThemeClient(&b);
  m.AddThemeClient(&c);
  // a removes itself and b on the first message.
  a.OnMessage = [&](int) {
    m.RemoveThemeClient(&a);
    m.RemoveThemeClient(&b);
  };
  m.SetCurrentTheme(std::make_unique<TteTheme>());
  EXPECT_EQ(la, Codes({1}));
  EXPECT_TRUE(lb.empty());
  EXPECT_EQ(lc, Codes({1, 3, 2}));
}

TEST(ThemeManagerClients, LookChangesReachOnlyVisibleControls) {
  TteThemeManager m;
  Log shown, hidden, other;
  Recorder visibleControl(&shown), hiddenControl(&hidden), component(&other);
  visibleControl.Control = hiddenControl.Control = true;
  hiddenControl.Visible = false;
  component.Visible = false;  // not a control: visibility does not matter
  for (Recorder* r : {&visibleControl, &hiddenControl, &component}) m.AddThemeClient(r);
  for (uint32_t message : {kPlatformSysColorChange, kPlatformDisplayChange, kPlatformThemeChanged})
    m.HandlePlatformMessage(message);
  m.HandlePlatformMessage(0x0F);  // anything else is ignored
  EXPECT_EQ(shown, Codes({5, 5, 5}));
  EXPECT_TRUE(hidden.empty());
  EXPECT_EQ(other, Codes({5, 5, 5}));
  EXPECT_FALSE(m.PlatformStylesActive());
  m.Broadcast(ktcChanged, 0);
  EXPECT_EQ(hidden, Codes({2}));
}

TEST(ThemeManagerShifts, OnlyChangesBroadcastAndZeroRestores) {
  TteThemeManager m;
  Log log;
  Recorder r(&log);
  m.AddThemeClient(&r);
  m.SetCurrentThemeHue(30);  // no theme: nothing
  EXPECT_TRUE(log.empty());
  m.SetCurrentTheme(std::make_unique<TteTheme>());
  const TColor caption = m.CurrentTheme()->Colors().GetColor(kcCaptionNormal);
  log.clear();
  m.SetCurrentThemeHue(0);
  EXPECT_TRUE(log.empty()) << "hue 0 on an unshifted theme does nothing";
  m.SetCurrentThemeHue(40);
  EXPECT_EQ(log, (Log{{5, 1}}));
  EXPECT_NE(m.CurrentTheme()->Colors().GetColor(kcCaptionNormal), caption);
  m.SetCurrentThemeBrightness(-20);
  m.SetCurrentThemeHueBrightness(40, -20);  // unchanged
  EXPECT_EQ(log, (Log{{5, 1}, {5, 1}}));
  m.SetCurrentThemeHueBrightness(0, 0);
  EXPECT_EQ(log.size(), 3u);
  EXPECT_EQ(m.CurrentTheme()->Colors().GetColor(kcCaptionNormal), caption);
  EXPECT_EQ(m.CurrentTheme()->DeltaHue(), 0);
  EXPECT_EQ(m.CurrentTheme()->DeltaBrightness(), 0);
}

TEST(ThemeManagerClasses, RegistryStartsWithTheBaseAndKeepsOrder) {
  TteThemeManager m;
  // The base, then the code-drawn kinds (their own tests check which).
  const int builtIn = m.ThemeClassCount();
  ASSERT_GE(builtIn, 1);
  EXPECT_EQ(m.ThemeClassAt(0), &TteTheme::ThemeClass());
  m.RegisterThemeClass(FakeTheme::Class_());
  m.RegisterThemeClass(FakeTheme::Class_());  // no duplicate check
  EXPECT_EQ(m.ThemeClassCount(), builtIn + 2);
  EXPECT_EQ(m.ThemeClassAt(builtIn + 1), &FakeTheme::Class_());
  EXPECT_EQ(m.ThemeClassAt(builtIn + 2), nullptr);
  EXPECT_EQ(m.ThemeClassAt(-1), nullptr);
}

TEST(ThemeManagerClasses, FilesMatchByWholeExtension) {
  TteThemeManager m;
  m.RegisterThemeClass(FakeTheme::Class_());
  const TteThemeClass* fake = &FakeTheme::Class_();
  // ".theme" belongs to the packed visual-style kind, registered before the fake one.
  const TteThemeClass* packed = &TTeThemeMsStyles::ThemeClass();
  const struct {
    const char* File;
    const TteThemeClass* Class;
  } cases[] = {
      {"a.fake", fake},  {"/x/y/B.FAKE", fake}, {"a.fk", fake},    {"a.theme", packed},
      {"a.fa", nullptr}, {"a.f", nullptr},      {"a.ake", nullptr}, {"a", nullptr},
      {"a.", nullptr},   {"fake", nullptr},     {"a.fake.bak", nullptr}, {"a.them", nullptr},
      {"b.MSSTYLES", packed},
  };
  for (const auto& c : cases)
    EXPECT_EQ(m.FindThemeClassByFile(QLatin1String(c.File)), c.Class) << c.File;
}

TEST(ThemeManagerLoading, ByExtensionByContentAndBesideTheProgram) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TteThemeManager m;
  m.RegisterThemeClass(FakeTheme::Class_());
  m.ProgramDir = dir.path();
  WriteFile(dir.filePath("good.fake"), "FAKEok");
  WriteFile(dir.filePath("noext"), "FAKEok");
  WriteFile(dir.filePath("odd.bin"), "FAKEok");
  WriteFile(dir.filePath("bad.fake"), "FAKEno");
  WriteFile(dir.filePath("short"), "FA");
  WriteFile(dir.filePath("other.xyz"), "something else");

  auto theme = m.LoadThemeFromFile(dir.filePath("good.fake"));
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(theme->FileName, dir.filePath("good.fake"));
  EXPECT_NE(m.LoadThemeFromFile(dir.filePath("noext")), nullptr) << "detected by content";
  EXPECT_NE(m.LoadThemeFromFile(dir.filePath("odd.bin")), nullptr) << "detected by content";
  EXPECT_NE(m.LoadThemeFromFile(QStringLiteral("good.fake")), nullptr) << "beside the program";
  theme.reset();
  EXPECT_EQ(gAlive, 0);

  const struct {
    QString Name;
    const char* Why;
  } failing[] = {
      {QString(), "empty name"},
      {QStringLiteral("x"), "one-character name of a missing file"},
      {QStringLiteral("nothere.fake"), "missing here and beside the program"},
      {dir.filePath("bad.fake"), "the class refuses the bytes"},
      {dir.filePath("short"), "shorter than any magic"},
      {dir.filePath("other.xyz"), "no class recognises the bytes"},
  };
  for (const auto& f : failing) {
    EXPECT_EQ(m.LoadThemeFromFile(f.Name), nullptr) << f.Why;
    EXPECT_EQ(gAlive, 0) << f.Why << ": a theme that failed to load must be freed";
  }
  // An absolute name of a missing file is not looked for beside the program.
  EXPECT_EQ(m.LoadThemeFromFile(QStringLiteral("/no/such/dir/good.fake")), nullptr);
}

TEST(ThemeManagerLoading, StreamDetectionRestoresPositionAndToleratesShortStreams) {
  TteThemeManager m;
  m.RegisterThemeClass(kGreedyClass);
  m.RegisterThemeClass(FakeTheme::Class_());
  const struct {
    QByteArray Bytes;
    bool Loads;
  } cases[] = {
      {"", false}, {"F", false}, {"FAK", false}, {"FAKE", false}, {"FAKEok", true},
      {"FAKEokMORE", true}, {"XFAKEok", false},
  };
  for (const auto& c : cases) {
    QByteArray bytes = "pre" + c.Bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(3);
    auto theme = m.LoadThemeFromStream(buffer);
    EXPECT_EQ(theme != nullptr, c.Loads) << c.Bytes.constData();
    if (c.Loads) {
      EXPECT_EQ(buffer.pos(), 9) << "loaded from the remembered position";
    }
    theme.reset();
    EXPECT_EQ(gAlive, 0) << c.Bytes.constData();
  }
}

TEST(ThemeManagerLoading, ALoadThatThrowsPropagatesAndFreesTheTheme) {
  TteThemeManager m;
  m.RegisterThemeClass(FakeTheme::Class_());
  QByteArray bytes = "FAKEok";
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::ReadOnly);
  gThrowOnLoad = true;
  EXPECT_THROW(m.LoadThemeFromStream(buffer), EAppError);
  gThrowOnLoad = false;
  EXPECT_EQ(gAlive, 0);
}

TEST(ThemeManagerSaving, OnlyClassesThatCanSave) {
  TteThemeManager m;
  QBuffer buffer;
  buffer.open(QIODevice::ReadWrite);
  TteTheme base;
  m.SaveThemeToStream(&base, buffer);
  m.SaveThemeToStream(nullptr, buffer);
  EXPECT_TRUE(buffer.data().isEmpty());
  FakeTheme fake;
  m.SaveThemeToStream(&fake, buffer);
  EXPECT_EQ(buffer.data(), QByteArray("FAKEok"));
}

TEST(ThemeManagerFonts, SaveRestoreForget) {
  TteThemeManager m;
  TFont font = DefaultThemeFont();
  SetFontSize(font, 11);
  m.SaveFont(font);
  SetFontSize(font, 20);
  m.RestoreFont(font);
  EXPECT_EQ(FontSize(font), 11);
  SetFontSize(font, 14);
  m.SaveFont(font);  // updates the saved copy
  SetFontSize(font, 30);
  m.RestoreFont(font);
  EXPECT_EQ(FontSize(font), 14);
  m.ForgetFont(font);
  SetFontSize(font, 30);
  m.RestoreFont(font);
  EXPECT_EQ(FontSize(font), 30);
}

namespace {
// Defines buttons for the "default" object only, or for every object.
struct ButtonTheme : TteTheme {
  bool AnyObject = false;
  bool HasButton(uint8_t, const QString& object) override {
    return AnyObject || IsDefaultObject(object);
  }
};
struct Link : TteCustomThemeLink {
  TteTheme* Theme = nullptr;
  TteTheme* GetTheme() const override { return Theme; }
};
}  // namespace

TEST(ThemeLookup, LinkedThemeCurrentThemeAndDefaultObject) {
  TteThemeManager& global = ThemeManager();
  global.ClearCurrentTheme();
  const QString special = QStringLiteral("Special");
  Link emptyLink;
  EXPECT_EQ(GetLinkTheme(nullptr), nullptr);
  EXPECT_EQ(GetLinkTheme(&emptyLink), nullptr);
  EXPECT_FALSE(ThemeHasButton(0, special, nullptr));
  EXPECT_FALSE(ThemeHasWindow(0, QStringLiteral("default"), &emptyLink));

  global.SetCurrentTheme(std::make_unique<ButtonTheme>());
  TteTheme* current = global.CurrentTheme();
  EXPECT_EQ(GetLinkTheme(&emptyLink), current);
  // The current theme falls back to "default"; a linked theme is asked once.
  EXPECT_TRUE(ThemeHasButton(0, special, nullptr));
  EXPECT_TRUE(ThemeHasButton(0, special, &emptyLink));
  EXPECT_FALSE(ThemeHasEdit(0, special, nullptr));
  ButtonTheme linked;
  Link link;
  link.Theme = &linked;
  EXPECT_EQ(GetLinkTheme(&link), &linked);
  EXPECT_FALSE(ThemeHasButton(0, special, &link));
  EXPECT_TRUE(ThemeHasButton(0, QStringLiteral("DEFAULT"), &link));
  linked.AnyObject = true;
  EXPECT_TRUE(ThemeHasButton(0, special, &link));
  global.ClearCurrentTheme();
}
