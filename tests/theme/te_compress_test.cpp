// The zlib stream adapters: round trips at every level, shared streams, seeking, and
// corrupt or oversized input that must fail cleanly rather than hang or crash.
#include <QBuffer>
#include <gtest/gtest.h>
#include <zlib.h>

#include <random>

#include "te_compress.h"

namespace {

QByteArray Compress(const QByteArray& data, TCompressionLevel level) {
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  TCompressionStream z(level, out);
  // Odd slices, so that writes cross the 8192-byte buffer at every phase.
  for (qsizetype at = 0; at < data.size(); at += 3001)
    EXPECT_EQ(z.write(data.mid(at, 3001)), std::min<qsizetype>(3001, data.size() - at));
  z.Finish();
  return out.data();
}

// Reads everything in small pieces through the adapter.
QByteArray Inflate(const QByteArray& packed, qint64 piece = 777) {
  QByteArray copy = packed;
  QBuffer in(&copy);
  in.open(QIODevice::ReadOnly);
  TDecompressionStream z(in);
  QByteArray out;
  QByteArray buf(piece, Qt::Uninitialized);
  for (;;) {
    const qint64 got = z.Read(buf.data(), piece);
    if (got == 0) break;
    out.append(buf.constData(), got);
  }
  return out;
}

QByteArray RandomBytes(int n, unsigned seed) {
  std::mt19937 rng(seed);
  QByteArray b(n, Qt::Uninitialized);
  for (char& c : b) c = char(rng());
  return b;
}

QByteArray Repeated(int n) {
  QByteArray b(n, Qt::Uninitialized);
  for (int i = 0; i < n; ++i) b[i] = char("sonolift"[i % 8]);
  return b;
}

TEST(ZlibAdapters, LevelsMapToZlibNumbers) {
  EXPECT_EQ(ZlibLevel(kclNone), 0);
  EXPECT_EQ(ZlibLevel(kclFastest), 1);
  EXPECT_EQ(ZlibLevel(kclDefault), -1);
  EXPECT_EQ(ZlibLevel(kclMax), 9);
}

TEST(ZlibAdapters, RoundTripEveryLevelAndSize) {
  const QByteArray inputs[] = {QByteArray(), QByteArray("x"), Repeated(20000), RandomBytes(70000, 7)};
  for (TCompressionLevel level : {kclNone, kclFastest, kclDefault, kclMax})
    for (const QByteArray& input : inputs) {
      const QByteArray packed = Compress(input, level);
      // A zlib stream with its RFC 1950 header, readable by the library itself.
      ASSERT_GE(packed.size(), 2);
      EXPECT_EQ(uint8_t(packed[0]) & 0x0F, 8) << "deflate method in the header";
      uLongf size = uLongf(input.size() + 1);
      QByteArray plain(qsizetype(size), '\0');
      EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(plain.data()), &size,
                           reinterpret_cast<const Bytef*>(packed.constData()), uLong(packed.size())),
                Z_OK);
      EXPECT_EQ(plain.left(qsizetype(size)), input);
      EXPECT_EQ(Inflate(packed), input) << "level " << int(level) << ", " << input.size() << " bytes";
    }
}

TEST(ZlibAdapters, StreamsSharedWithOtherReadersAndWriters) {
  // The compressor keeps its own place in the destination while others move it.
  QBuffer dest;
  dest.open(QIODevice::ReadWrite);
  dest.write("HEAD");
  const QByteArray input = RandomBytes(30000, 3);
  {
    TCompressionStream z(kclFastest, dest);
    z.write(input.left(20000));
    dest.seek(0);
    z.write(input.mid(20000));
    z.Finish();
  }
  QByteArray all = dest.data();
  EXPECT_TRUE(all.startsWith("HEAD"));
  QBuffer src(&all);
  src.open(QIODevice::ReadOnly);
  src.seek(4);
  TDecompressionStream z(src);
  QByteArray out(30000, '\0');
  EXPECT_EQ(z.Read(out.data(), 100), 100);
  src.seek(0);  // someone else reads the source in between
  EXPECT_EQ(z.Read(out.data() + 100, 29900), 29900);
  EXPECT_EQ(out, input);
}

TEST(ZlibAdapters, SeekRules) {
  const QByteArray input = Repeated(50000);
  QByteArray packed = Compress(input, kclDefault);
  QBuffer src(&packed);
  src.open(QIODevice::ReadOnly);
  TDecompressionStream z(src);
  EXPECT_EQ(z.Seek(30000, ksoBeginning), 30000);
  char c = 0;
  z.Read(&c, 1);
  EXPECT_EQ(c, input[30000]);
  EXPECT_EQ(z.Seek(10, ksoCurrent), 30011);
  EXPECT_EQ(z.Seek(0, ksoBeginning), 0);
  z.Read(&c, 1);
  EXPECT_EQ(c, input[0]);
  EXPECT_THROW(z.Seek(-1, ksoCurrent), EAppError);
  EXPECT_THROW(z.Seek(0, ksoEnd), EAppError);
  EXPECT_EQ(z.write("x", 1), -1) << "the decompressor is read-only";

  QBuffer dest;
  dest.open(QIODevice::WriteOnly);
  TCompressionStream w(kclFastest, dest);
  w.write("abc", 3);
  EXPECT_EQ(w.Seek(0, ksoCurrent), 3);
  try {
    w.Seek(0, ksoBeginning);
    FAIL() << "seeking a compressor must fail";
  } catch (const EAppError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Invalid stream operation"));
  }
  char buf[4];
  EXPECT_EQ(w.read(buf, 4), -1) << "the compressor is write-only";
}

QByteArray WithDictionary() {
  z_stream s{};
  deflateInit(&s, 1);
  const char dict[] = "dictionary";
  deflateSetDictionary(&s, reinterpret_cast<const Bytef*>(dict), sizeof dict);
  QByteArray in = Repeated(100), out(400, '\0');
  s.next_in = reinterpret_cast<Bytef*>(in.data());
  s.avail_in = uInt(in.size());
  s.next_out = reinterpret_cast<Bytef*>(out.data());
  s.avail_out = uInt(out.size());
  deflate(&s, Z_FINISH);
  out.resize(qsizetype(s.total_out));
  deflateEnd(&s);
  return out;
}

TEST(ZlibAdapters, CorruptDataFailsWithTheDecompressionError) {
  const QByteArray good = Compress(RandomBytes(5000, 11), kclFastest);
  QByteArray badHeader = good;
  badHeader[0] = 0x12;
  QByteArray badBody = good;
  for (int i = 10; i < 40; ++i) badBody[i] = char(0xFF);
  QByteArray badChecksum = good;
  badChecksum[badChecksum.size() - 1] = char(badChecksum.back() ^ 1);
  const struct {
    const char* What;
    QByteArray Bytes;
  } cases[] = {
      {"header", badHeader},
      {"body", badBody},
      {"Adler-32 trailer", badChecksum},
      // Asks for a preset dictionary: without care the reader would spin for ever.
      {"preset dictionary", WithDictionary()},
  };
  for (const auto& c : cases) {
    try {
      Inflate(c.Bytes);
      ADD_FAILURE() << c.What << ": no error";
    } catch (const EDecompressionError& e) {
      EXPECT_EQ(e.Message(), QStringLiteral("error")) << c.What;
    }
  }
}

TEST(ZlibAdapters, TruncatedDataReadsShortWithoutError) {
  const QByteArray input = RandomBytes(5000, 5);
  const QByteArray packed = Compress(input, kclFastest);
  const QByteArray out = Inflate(packed.left(packed.size() / 2));
  EXPECT_LT(out.size(), input.size());
  EXPECT_EQ(out, input.left(out.size()));
}

TEST(ZlibAdapters, OutputBoundStopsAnInflatingStream) {
  QByteArray packed = Compress(QByteArray(1 << 20, '\0'), kclMax);
  QBuffer src(&packed);
  src.open(QIODevice::ReadOnly);
  TDecompressionStream z(src);
  z.SetMaxSize(4096);
  QByteArray buf(8192, '\0');
  EXPECT_EQ(z.Read(buf.data(), 4096), 4096) << "up to the bound reads normally";
  EXPECT_THROW(z.Read(buf.data(), 1), EDecompressionError);
}

}  // namespace
