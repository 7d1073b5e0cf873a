// The stored-theme container (the "ThemeStream" payload in all its versions, hostile
// lengths, making theme objects from an item's bytes) and the engine and link that
// make themes current or private from it.
#include <QBuffer>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <ostream>
#include <gtest/gtest.h>

#include "app_error.h"
#include "te_engine.h"
#include "theme_flat.h"
#include "theme_manager.h"
#include "theme_msux.h"

namespace {

QByteArray Int32(int32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  return QByteArray(b, 4);
}

QByteArray Payload(const QByteArray& name, const QByteArray& data, int32_t high = 0) {
  return QByteArray(1, char(2)) + Int32(int32_t(name.size())) + name + Int32(int32_t(data.size())) +
         Int32(high) + data;
}

// The manager as built: the packed visual-style kind is registered with the others.
const TteThemeManager& Manager() {
  static TteThemeManager* manager = new TteThemeManager;
  return *manager;
}

void Read(TTeThemeStream& item, QByteArray bytes) {
  QBuffer in(&bytes);
  in.open(QIODevice::ReadOnly);
  item.ReadThemeStream(in, Manager());
}

QByteArray Write(const TTeThemeStream& item) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  item.WriteThemeStream(out);
  return out.data();
}

bool SaveThemeFile(const QString& file, const QString& name) {
  TTeThemeMsStyles theme;
  theme.Name = name;
  return theme.SaveToFile(file);
}

QByteArray PackedTheme(const QString& name) {
  TTeThemeMsStyles theme;
  theme.Name = name;
  theme.Ini().SetText(QStringLiteral("[Button.Pushbutton]\nTextColor=1 2 3\n"));
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  theme.SaveToStream(out);
  return out.data();
}

TEST(ThemeStream, NewItemIsEmptyAndNamedEmpty) {
  TTeThemeList list;
  TTeThemeStream& item = list.Themes().Add();
  EXPECT_EQ(item.ThemeStore(), QStringLiteral("(empty)"));
  EXPECT_EQ(item.GetDisplayName(), QStringLiteral("(empty)"));
  EXPECT_EQ(item.Collection()->Owner(), &list);
  EXPECT_EQ(TTeThemeList::Version(), QStringLiteral("6.0"));
  EXPECT_EQ(Write(item), QByteArray(1, '\0')) << "no data is the single byte 0";
}

TEST(ThemeStream, EmptyAndUnknownVersionsReadNothing) {
  for (QByteArray bytes : {QByteArray(1, '\0'), QByteArray("\x07garbage")}) {
    TTeThemeStream item;
    item.SetTheme(QStringLiteral("kept"), QByteArray("data"));
    Read(item, bytes);
    EXPECT_EQ(item.ThemeStore(), QStringLiteral("kept"));
    EXPECT_EQ(item.ThemeData(), QByteArray("data"));
  }
}

TEST(ThemeStream, CurrentVersionRoundTrips) {
  TTeThemeStream item;
  item.SetThemeStore(QStringLiteral("ignored"));
  EXPECT_EQ(item.ThemeStore(), QStringLiteral("(empty)")) << "the name belongs to the data";
  item.SetTheme(QStringLiteral("Blue \xE9"), QByteArray("\x01\x02\x00\x03", 4));
  const QByteArray bytes = Write(item);
  EXPECT_EQ(bytes, Payload(QByteArray("Blue \xE9"), QByteArray("\x01\x02\x00\x03", 4)));
  TTeThemeStream back;
  Read(back, bytes);
  EXPECT_EQ(back.ThemeStore(), item.ThemeStore());
  EXPECT_EQ(back.ThemeData(), item.ThemeData());
}

TEST(ThemeStream, SizeUsesTheLowHalfOnly) {
  TTeThemeStream item;
  Read(item, Payload("n", "abc", 0x7FFFFFFF));
  EXPECT_EQ(item.ThemeData(), QByteArray("abc"));
}

TEST(ThemeStream, InconsistentLengthsFailAndLeaveTheItemAlone) {
  const struct {
    const char* What;
    QByteArray Bytes;
  } cases[] = {
      {"negative name length", QByteArray(1, char(2)) + Int32(-1)},
      {"name longer than the payload", QByteArray(1, char(2)) + Int32(1 << 30) + "ab"},
      {"size field cut short", QByteArray(1, char(2)) + Int32(1) + "n" + Int32(3)},
      {"size beyond the payload", Payload("n", "abc").left(16)},
      {"size of 4 GiB - 1", QByteArray(1, char(2)) + Int32(0) + Int32(-1) + Int32(0) + "x"},
      {"nothing at all", QByteArray()},
  };
  for (const auto& c : cases) {
    TTeThemeStream item;
    item.SetTheme(QStringLiteral("before"), QByteArray("old"));
    EXPECT_THROW(Read(item, c.Bytes), EAppError) << c.What;
    EXPECT_EQ(item.ThemeStore(), QStringLiteral("before")) << c.What;
    EXPECT_EQ(item.ThemeData(), QByteArray("old")) << c.What;
  }
}

TEST(ThemeStream, CreateThemePicksTheClassByMagic) {
  TTeThemeStream item;
  EXPECT_EQ(item.CreateTheme(Manager()), nullptr) << "empty item";
  item.SetTheme(QStringLiteral("x"), QByteArray("NOTATHEME"));
  EXPECT_EQ(item.CreateTheme(Manager()), nullptr) << "no class knows the bytes";
  item.SetTheme(QStringLiteral("x"), PackedTheme(QStringLiteral("Packed")));
  std::unique_ptr<TteTheme> theme = item.CreateTheme(Manager());
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(&theme->Class(), &TTeThemeMsStyles::ThemeClass());
  EXPECT_EQ(theme->Name, QStringLiteral("Packed"));
  // Every request makes a new object.
  std::unique_ptr<TteTheme> second = item.CreateTheme(Manager());
  EXPECT_NE(second.get(), theme.get());
}

TEST(ThemeStream, LegacyVersionIsStoredBackAsBytes) {
  TTeThemeList list;
  TTeThemeStream& item = list.Themes().Add();
  Read(item, QByteArray(1, char(1)) + PackedTheme(QStringLiteral("Old")));
  ASSERT_NE(item.LegacyTheme(), nullptr);
  EXPECT_EQ(item.ThemeStore(), QStringLiteral("Old"));
  EXPECT_TRUE(item.ThemeData().startsWith(TTeThemeMsStyles::Magic()));
  list.Loaded();
  EXPECT_EQ(item.LegacyTheme(), nullptr);
  std::unique_ptr<TteTheme> theme = item.CreateTheme(Manager());
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(theme->Name, QStringLiteral("Old"));
}

TEST(ThemeCollection, ItemsByIndex) {
  TTeThemeList list;
  TTeThemeStream& a = list.Themes().Add();
  TTeThemeStream& b = list.Themes().Add();
  EXPECT_EQ(list.Themes().Count(), 2);
  EXPECT_EQ(list.Themes().Items(0), &a);
  EXPECT_EQ(list.Themes().Items(1), &b);
  EXPECT_EQ(list.Themes().Items(2), nullptr);
  EXPECT_EQ(list.Themes().Items(-1), nullptr);
}

}  // namespace

// ---- engine and link

namespace {

// Every theme and link message a client receives, in order.
struct Listener : TteThemeClient {
  struct Message {
    uint32_t Number;
    intptr_t WParam, LParam;
  };
  explicit Listener(TteThemeManager& manager) : Manager(manager) { manager.AddThemeClient(this); }
  ~Listener() override { Manager.RemoveThemeClient(this); }
  void ThemeMessage(uint32_t message, intptr_t wParam, intptr_t lParam) override {
    Got.push_back({message, wParam, lParam});
  }
  // The codes of the theme-change messages; a code 5 carries its parameter as 50 + it.
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const Message& m : Got)
      if (m.Number == kThemeChangeMessage)
        codes.push_back(m.WParam == ktcLookChanged ? 50 + int(m.LParam) : int(m.WParam));
    return codes;
  }
  int LinkMessages(const TteCustomThemeLink* link) const {
    int n = 0;
    for (const Message& m : Got) {
      if (m.Number != kThemeLinkChangeMessage) continue;
      EXPECT_EQ(m.WParam, reinterpret_cast<intptr_t>(link));
      EXPECT_EQ(m.LParam, reinterpret_cast<intptr_t>(link));
      ++n;
    }
    return n;
  }
  TteThemeManager& Manager;
  std::vector<Message> Got;
};

// A list of stored themes named after their items.
void Fill(TTeThemeList& list, std::initializer_list<const char*> names) {
  for (const char* name : names)
    list.Themes().Add().SetTheme(QLatin1String(name), PackedTheme(QLatin1String(name)));
}

// What the engine's three choices say, for one comparison.
struct Choice {
  int Index;
  QString File;
  QString Building;
  friend bool operator==(const Choice&, const Choice&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Choice& c) {
    return os << "index " << c.Index << ", file '" << c.File.toStdString() << "', building '"
              << c.Building.toStdString() << "'";
  }
};
Choice ChoiceOf(const TTeThemeSource& s) {
  return {s.ThemeIndex(), s.ThemeFile(), s.ThemeBuilding()};
}
Choice NoChoice() { return {-1, QString(), QStringLiteral("No theme")}; }

QString NameOf(const TteTheme* theme) { return theme ? theme->Name : QStringLiteral("<none>"); }

}  // namespace

TEST(ThemeEngine, StartsEmptyAndPicksUpATheme) {
  TteThemeManager manager;
  TTeThemeEngine empty(manager);
  EXPECT_EQ(ChoiceOf(empty), NoChoice());
  EXPECT_EQ(empty.ThemeList(), nullptr);
  EXPECT_EQ(empty.DeltaHue(), 0);
  EXPECT_EQ(empty.DeltaBrightness(), 0);
  empty.SetVersion(QStringLiteral("1.0"));
  EXPECT_EQ(empty.Version(), QStringLiteral("6.0"));

  // An engine made while a theme is current describes it at once.
  manager.SetCurrentTheme(TTeFlatTheme::Create());
  TTeThemeEngine late(manager);
  EXPECT_EQ(ChoiceOf(late), (Choice{-1, QString(), QStringLiteral("Flat")}));
}

TEST(ThemeEngine, StoredThemesBecomeCurrentInNotificationOrder) {
  TteThemeManager manager;
  Listener listener(manager);
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeEngine engine(manager);
  int fired = 0;
  engine.OnThemeChanged = [&](TTeThemeEngine& sender) {
    EXPECT_EQ(&sender, &engine);
    ++fired;
  };
  engine.SetThemeList(&list);

  // Past the end: the last item, and the property says so.
  engine.SetThemeIndex(5);
  EXPECT_EQ(ChoiceOf(engine), (Choice{1, QString(), QStringLiteral("No theme")}));
  EXPECT_EQ(NameOf(manager.CurrentTheme()), QStringLiteral("B"));
  EXPECT_EQ(listener.Codes(), (std::vector<int>{1, 3, 2}));
  EXPECT_EQ(fired, 1);

  listener.Got.clear();
  engine.SetThemeIndex(0);
  EXPECT_EQ(NameOf(manager.CurrentTheme()), QStringLiteral("A"));
  EXPECT_EQ(listener.Codes(), (std::vector<int>{1, 0, 2}));
  EXPECT_EQ(fired, 2);

  listener.Got.clear();
  engine.SetThemeIndex(-1);
  EXPECT_EQ(manager.CurrentTheme(), nullptr);
  EXPECT_EQ(listener.Codes(), (std::vector<int>{1, 4, 2}));
  EXPECT_EQ(fired, 3);
  EXPECT_EQ(ChoiceOf(engine), NoChoice());
}

TEST(ThemeEngine, ItemsThatMakeNoThemeChangeNothing) {
  TteThemeManager manager;
  TTeThemeList list;
  Fill(list, {"A"});
  list.Themes().Add().SetTheme(QStringLiteral("junk"), QByteArray("not a theme"));
  list.Themes().Add();  // no data at all
  TTeThemeEngine engine(manager);
  engine.SetThemeList(&list);
  engine.SetThemeIndex(0);
  TteTheme* a = manager.CurrentTheme();
  for (int index : {1, 2}) {
    engine.SetThemeIndex(index);
    EXPECT_EQ(manager.CurrentTheme(), a) << index;
    EXPECT_EQ(engine.ThemeIndex(), 0) << index;
  }
}

// The engine's own choice stands even where the theme's name would point elsewhere.
TEST(ThemeEngine, OwnChoiceWinsOverSameNamedItems) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("same.theme"));
  ASSERT_TRUE(SaveThemeFile(file, QStringLiteral("Same")));
  TteThemeManager manager;
  TTeThemeList list;
  Fill(list, {"Same", "Same"});
  TTeThemeEngine engine(manager);
  Choice seen;
  engine.OnThemeChanged = [&](TTeThemeEngine& sender) { seen = ChoiceOf(sender); };
  engine.SetThemeList(&list);
  engine.SetThemeIndex(1);
  EXPECT_EQ(ChoiceOf(engine), (Choice{1, QString(), QStringLiteral("No theme")}));
  EXPECT_EQ(seen, ChoiceOf(engine)) << "the event sees the final choice";
  engine.SetThemeFile(file);
  EXPECT_EQ(ChoiceOf(engine), (Choice{-1, file, QStringLiteral("No theme")}));
  EXPECT_EQ(seen, ChoiceOf(engine)) << "the event sees the final choice";
}

TEST(ThemeEngine, BuiltInKindsByNameWithoutCase) {
  const struct {
    const char* Asked;
    const char* ReadsBack;
    const char* Class;  // of the current theme afterwards; null: the one before stays
  } cases[] = {
      {"FLAT", "Flat", "TTeFlatTheme"},
      {"officexp", "OfficeXP", "TTeOfficeXPTheme"},
      {"Nonsense", "No theme", nullptr},
      {"Microsoft msstyles", "No theme", nullptr},  // needs a file: not built in
      {"Default", "No theme", nullptr},             // the base class is not built in either
      {"No theme", "No theme", nullptr},
  };
  for (const auto& c : cases) {
    TteThemeManager manager;
    TTeThemeList list;
    Fill(list, {"A"});
    TTeThemeEngine engine(manager);
    engine.SetThemeList(&list);
    engine.SetThemeIndex(0);
    TteTheme* before = manager.CurrentTheme();
    engine.SetThemeBuilding(QLatin1String(c.Asked));
    EXPECT_EQ(engine.ThemeBuilding(), QLatin1String(c.ReadsBack)) << c.Asked;
    if (c.Class) {
      ASSERT_NE(manager.CurrentTheme(), nullptr) << c.Asked;
      EXPECT_STREQ(manager.CurrentTheme()->Class().ClassName, c.Class) << c.Asked;
      EXPECT_EQ(engine.ThemeIndex(), -1) << c.Asked;
    } else {
      EXPECT_EQ(manager.CurrentTheme(), before) << c.Asked;
    }
  }
}

// Each step is a setter; afterwards the engine names exactly one source (or none),
// and that source is what is current.
TEST(ThemeEngine, ChoicesStayExclusive) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath(QStringLiteral("f.theme"));
  ASSERT_TRUE(SaveThemeFile(file, QStringLiteral("FromFile")));
  const QString missing = dir.filePath(QStringLiteral("missing.theme"));
  const QString none = QStringLiteral("No theme");

  TteThemeManager manager;
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeEngine engine(manager);
  engine.SetThemeList(&list);
  const struct {
    std::function<void()> Step;
    const char* What;
    Choice Expect;
    const char* Current;
  } steps[] = {
      {[&] { engine.SetThemeIndex(1); }, "index 1", {1, QString(), none}, "B"},
      {[&] { engine.SetThemeFile(file); }, "file", {-1, file, none}, "FromFile"},
      {[&] { engine.SetThemeBuilding(QStringLiteral("flat")); },
       "flat",
       {-1, QString(), "Flat"},
       "Default theme"},
      {[&] { engine.SetThemeIndex(0); }, "index 0", {0, QString(), none}, "A"},
      // A file that does not load leaves the stored theme and its description alone.
      {[&] { engine.SetThemeFile(missing); }, "missing file over index", {0, QString(), none}, "A"},
      {[&] { engine.SetThemeFile(file); }, "file again", {-1, file, none}, "FromFile"},
      // With no stored theme to fall back on, a failed file clears the theme.
      {[&] { engine.SetThemeFile(missing); }, "missing file", NoChoice(), "<none>"},
      {[&] { engine.SetThemeFile(file); }, "file once more", {-1, file, none}, "FromFile"},
      // Unselecting the stored theme keeps a file theme.
      {[&] { engine.SetThemeIndex(-1); }, "index -1 over file", {-1, file, none}, "FromFile"},
      {[&] { engine.SetThemeBuilding(QStringLiteral("OfficeXP")); },
       "officexp",
       {-1, QString(), "OfficeXP"},
       "Default theme"},
      {[&] { engine.SetThemeIndex(-1); }, "index -1", NoChoice(), "<none>"},
  };
  for (const auto& s : steps) {
    s.Step();
    EXPECT_EQ(ChoiceOf(engine), s.Expect) << s.What;
    EXPECT_EQ(NameOf(manager.CurrentTheme()), QLatin1String(s.Current)) << s.What;
  }
}

TEST(ThemeEngine, FollowsThemesSetByOthers) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("other.theme"));
  ASSERT_TRUE(SaveThemeFile(file, QStringLiteral("Other")));
  TteThemeManager manager;
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeEngine engine(manager);
  engine.SetThemeList(&list);
  int fired = 0;
  engine.OnThemeChanged = [&](TTeThemeEngine&) { ++fired; };

  auto named = [](const char* name) {
    auto theme = std::make_unique<TTeThemeMsStyles>();
    theme->Name = QLatin1String(name);
    return theme;
  };
  const struct {
    std::function<std::unique_ptr<TteTheme>()> Make;
    const char* What;
    Choice Expect;
  } cases[] = {
      // A theme-selection dialog's pick that carries a stored theme's name.
      {[&] { return named("B"); }, "stored name", {1, QString(), QStringLiteral("No theme")}},
      {[&] { return TTeFlatTheme::Create(); }, "built-in", {-1, QString(), QStringLiteral("Flat")}},
      {[&] { return manager.LoadThemeFromFile(file); },
       "from a file",
       {-1, file, QStringLiteral("No theme")}},
      // Nothing names it: the previous description does not linger.
      {[&] { return named("Unknown"); }, "unknown", NoChoice()},
  };
  for (const auto& c : cases) {
    const int before = fired;
    manager.SetCurrentTheme(c.Make());
    EXPECT_EQ(ChoiceOf(engine), c.Expect) << c.What;
    EXPECT_EQ(fired, before + 1) << c.What;
  }

  // While persisted properties are read the engine does not follow.
  engine.BeginLoading();
  manager.SetCurrentTheme(named("A"));
  EXPECT_EQ(ChoiceOf(engine), NoChoice());
  EXPECT_EQ(fired, 4);
}

TEST(ThemeEngine, LoadedLoadsTheStoredThemeSelected) {
  TteThemeManager manager;
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeEngine engine(manager);
  TTeThemeLink link(manager);
  // Persisted properties arrive before the list reference is resolved.
  for (TTeThemeSource* source :
       {static_cast<TTeThemeSource*>(&engine), static_cast<TTeThemeSource*>(&link)}) {
    source->BeginLoading();
    source->SetThemeIndex(1);
    source->SetThemeList(&list);
  }
  EXPECT_EQ(engine.ThemeIndex(), 1);
  EXPECT_EQ(manager.CurrentTheme(), nullptr);
  engine.Loaded();
  link.Loaded();
  EXPECT_FALSE(engine.IsLoading());
  EXPECT_EQ(NameOf(manager.CurrentTheme()), QStringLiteral("B"));
  EXPECT_EQ(NameOf(link.GetTheme()), QStringLiteral("B"));
  // Two objects built from the same stored bytes.
  EXPECT_NE(link.GetTheme(), manager.CurrentTheme());
}

TEST(ThemeEngine, ShiftsReachTheCurrentTheme) {
  TteThemeManager manager;
  Listener listener(manager);
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeEngine engine(manager);
  engine.SetThemeList(&list);

  // Shifts set before a theme is made current are applied to it, one broadcast each.
  engine.SetDeltaHue(30);
  engine.SetDeltaBrightness(-10);
  EXPECT_EQ(listener.Codes(), std::vector<int>{}) << "nothing to shift yet";
  engine.SetThemeIndex(0);
  TteTheme* theme = manager.CurrentTheme();
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(theme->DeltaHue(), 30);
  EXPECT_EQ(theme->DeltaBrightness(), -10);
  EXPECT_EQ(listener.Codes(), (std::vector<int>{1, 3, 2, 51, 51}));

  const struct {
    bool Hue;
    int Value;
    int WantHue, WantBrightness;
    std::vector<int> Codes;
  } cases[] = {
      {true, 30, 30, -10, {}},  // the value it already has: nothing at all
      {true, 45, 45, -10, {51}}, {false, 0, 45, 0, {51}},
      {true, 0, 0, 0, {51}},  // back to 0 with the other at 0 undoes the shift too
      {false, 0, 0, 0, {}},
  };
  for (const auto& c : cases) {
    listener.Got.clear();
    if (c.Hue)
      engine.SetDeltaHue(c.Value);
    else
      engine.SetDeltaBrightness(c.Value);
    EXPECT_EQ(theme->DeltaHue(), c.WantHue) << (c.Hue ? "hue " : "brightness ") << c.Value;
    EXPECT_EQ(theme->DeltaBrightness(), c.WantBrightness)
        << (c.Hue ? "hue " : "brightness ") << c.Value;
    EXPECT_EQ(listener.Codes(), c.Codes) << (c.Hue ? "hue " : "brightness ") << c.Value;
  }
}

TEST(ThemeEngine, DestroyedListIsForgotten) {
  TteThemeManager manager;
  auto list = std::make_unique<TTeThemeList>();
  Fill(*list, {"A"});
  TTeThemeEngine engine(manager);
  TTeThemeLink link(manager);
  engine.SetThemeList(list.get());
  link.SetThemeList(list.get());
  engine.SetThemeIndex(0);
  link.SetThemeIndex(0);
  {
    // One that has gone already is not told.
    TTeThemeEngine gone(manager);
    gone.SetThemeList(list.get());
  }
  TteTheme* linked = link.GetTheme();
  list.reset();
  EXPECT_EQ(engine.ThemeList(), nullptr);
  EXPECT_EQ(ChoiceOf(engine), NoChoice());
  EXPECT_EQ(manager.CurrentTheme(), nullptr);
  EXPECT_EQ(link.ThemeList(), nullptr);
  EXPECT_EQ(link.ThemeIndex(), -1);
  EXPECT_EQ(link.GetTheme(), linked) << "the link keeps its theme";

  // Moving to another list lets go of the first.
  TTeThemeList first, second;
  Fill(first, {"A"});
  Fill(second, {"B"});
  auto moving = std::make_unique<TTeThemeLink>(manager);
  moving->SetThemeList(&first);
  moving->SetThemeList(&second);
  moving->SetThemeList(nullptr);
  EXPECT_EQ(moving->ThemeIndex(), -1);
  moving.reset();  // neither list may call it now
}

TEST(ThemeLink, KeepsAPrivateThemeAndSaysWhenItChanges) {
  TteThemeManager manager;
  Listener listener(manager);
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeEngine engine(manager);
  engine.SetThemeList(&list);
  engine.SetThemeIndex(0);
  TTeThemeLink link(manager);
  EXPECT_EQ(link.GetTheme(), nullptr);
  const TteCustomThemeLink* asLink = &link;
  listener.Got.clear();

  link.SetThemeList(&list);
  link.SetThemeIndex(1);
  EXPECT_EQ(NameOf(link.GetTheme()), QStringLiteral("B"));
  EXPECT_EQ(NameOf(manager.CurrentTheme()), QStringLiteral("A"))
      << "the current theme is not the link's";
  EXPECT_EQ(listener.Codes(), std::vector<int>{}) << "no theme-change messages from a link";
  EXPECT_EQ(listener.LinkMessages(asLink), 1);
  EXPECT_EQ(ChoiceOf(link), (Choice{1, QString(), QStringLiteral("No theme")}));

  link.SetThemeBuilding(QStringLiteral("FLAT"));
  EXPECT_EQ(ChoiceOf(link), (Choice{-1, QString(), QStringLiteral("Flat")}));
  EXPECT_STREQ(link.GetTheme()->Class().ClassName, "TTeFlatTheme");
  EXPECT_EQ(listener.LinkMessages(asLink), 2);

  // A file that does not load changes nothing, not even the property.
  TteTheme* flat = link.GetTheme();
  link.SetThemeFile(QStringLiteral("/nonexistent/x.theme"));
  EXPECT_EQ(link.GetTheme(), flat);
  EXPECT_EQ(ChoiceOf(link), (Choice{-1, QString(), QStringLiteral("Flat")}));
  EXPECT_EQ(listener.LinkMessages(asLink), 2);

  // No stored theme selected: the private theme goes (except while loading).
  link.BeginLoading();
  link.SetThemeIndex(-1);
  EXPECT_EQ(link.GetTheme(), flat);
  link.Loaded();
  link.SetThemeIndex(-1);
  EXPECT_EQ(link.GetTheme(), nullptr);
  EXPECT_EQ(ChoiceOf(link), NoChoice());
  EXPECT_EQ(listener.LinkMessages(asLink), 3);
  EXPECT_EQ(NameOf(manager.CurrentTheme()), QStringLiteral("A"));
}

TEST(ThemeLink, ShiftsGoToThePrivateThemeEveryTime) {
  TteThemeManager manager;
  Listener listener(manager);
  TTeThemeList list;
  Fill(list, {"A", "B"});
  TTeThemeLink link(manager);
  link.SetDeltaHue(20);
  EXPECT_EQ(listener.LinkMessages(&link), 1) << "told even without a theme";
  link.SetThemeList(&list);
  link.SetThemeIndex(0);
  TteTheme* theme = link.GetTheme();
  ASSERT_NE(theme, nullptr);
  EXPECT_EQ(theme->DeltaHue(), 20);
  EXPECT_EQ(theme->DeltaBrightness(), 0);

  listener.Got.clear();
  const struct {
    bool Hue;
    int Value;
    int WantHue, WantBrightness;
  } cases[] = {{true, 20, 20, 0}, {false, 15, 20, 15}, {true, 0, 0, 15}, {false, 0, 0, 0}};
  int told = 0;
  for (const auto& c : cases) {
    if (c.Hue)
      link.SetDeltaHue(c.Value);
    else
      link.SetDeltaBrightness(c.Value);
    EXPECT_EQ(theme->DeltaHue(), c.WantHue) << (c.Hue ? "hue " : "brightness ") << c.Value;
    EXPECT_EQ(theme->DeltaBrightness(), c.WantBrightness)
        << (c.Hue ? "hue " : "brightness ") << c.Value;
    EXPECT_EQ(listener.LinkMessages(&link), ++told) << "every setting is announced";
  }
  EXPECT_EQ(listener.Codes(), std::vector<int>{}) << "no colour broadcast for a link";
}
