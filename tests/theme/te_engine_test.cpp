// The stored-theme container: the "ThemeStream" payload in all its versions, hostile
// lengths, and making theme objects from an item's bytes.
#include <QBuffer>
#include <QtEndian>
#include <gtest/gtest.h>

#include "app_error.h"
#include "te_engine.h"
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
