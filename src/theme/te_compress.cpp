// The zlib stream adapters: deflate into and inflate out of another stream, in
// 8192-byte transfers, with the other stream's position kept between transfers.
#include "te_compress.h"

#include <zlib.h>

#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBufferSize = 8192;

QString ZlibErrorText() { return QStringLiteral("error"); }

}  // namespace

void InvalidStreamOperation() { throw EAppError(QStringLiteral("Invalid stream operation")); }

int ZlibLevel(TCompressionLevel level) {
  switch (level) {
    case kclNone: return 0;
    case kclFastest: return 1;
    case kclMax: return 9;
    case kclDefault: break;
  }
  return Z_DEFAULT_COMPRESSION;
}

// ---- TCompressionStream

struct TCompressionStream::State {
  z_stream z{};
  unsigned char out[kBufferSize];
  bool failed = false;
};

TCompressionStream::TCompressionStream(TCompressionLevel level, QIODevice& dest)
    : state_(std::make_unique<State>()), dest_(dest), destPos_(dest.isSequential() ? 0 : dest.pos()) {
  z_stream& z = state_->z;
  z.next_out = state_->out;
  z.avail_out = kBufferSize;
  if (deflateInit(&z, ZlibLevel(level)) != Z_OK) throw ECompressionError(ZlibErrorText());
  open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

TCompressionStream::~TCompressionStream() {
  if (!finished_) {
    try {
      Finish();
    } catch (const EAppError&) {
      // A destructor cannot report; Finish is the way to hear about it.
    }
  }
  deflateEnd(&state_->z);
}

qint64 TCompressionStream::TotalIn() const { return qint64(state_->z.total_in); }
qint64 TCompressionStream::TotalOut() const { return qint64(state_->z.total_out); }

// Hands the filled part of the output buffer to the destination.
void TCompressionStream::Flush() {
  z_stream& z = state_->z;
  const qint64 n = kBufferSize - qint64(z.avail_out);
  if (n > 0) {
    if (!dest_.isSequential() && dest_.pos() != destPos_) dest_.seek(destPos_);
    if (dest_.write(reinterpret_cast<const char*>(state_->out), n) != n) {
      state_->failed = true;
    } else {
      destPos_ += n;
    }
  }
  z.next_out = state_->out;
  z.avail_out = kBufferSize;
}

void TCompressionStream::Deflate(int flush) {
  z_stream& z = state_->z;
  for (;;) {
    const int ret = deflate(&z, flush);
    if (ret < 0 && ret != Z_BUF_ERROR) {
      state_->failed = true;
      return;
    }
    if (z.avail_out == 0) {
      Flush();
      if (state_->failed) return;
      continue;
    }
    // Room left in the output: deflate took all the input (or, finishing, is done).
    if (flush == Z_FINISH ? ret == Z_STREAM_END : z.avail_in == 0) return;
    if (ret == Z_BUF_ERROR) {
      state_->failed = true;
      return;
    }
  }
}

qint64 TCompressionStream::writeData(const char* data, qint64 size) {
  if (finished_ || state_->failed) return -1;
  z_stream& z = state_->z;
  qint64 done = 0;
  // avail_in is 32 bits wide; larger writes go in slices.
  while (done < size) {
    const qint64 part = std::min<qint64>(size - done, 1 << 30);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data + done));
    z.avail_in = uInt(part);
    Deflate(Z_NO_FLUSH);
    if (state_->failed) return -1;
    done += part;
  }
  return size;
}

qint64 TCompressionStream::readData(char*, qint64) {
  setErrorString(QStringLiteral("Invalid stream operation"));
  return -1;
}

void TCompressionStream::Finish() {
  if (finished_) return;
  finished_ = true;
  if (!state_->failed) {
    state_->z.next_in = nullptr;
    state_->z.avail_in = 0;
    Deflate(Z_FINISH);
    if (!state_->failed) Flush();
  }
  close();
  if (state_->failed) throw ECompressionError(ZlibErrorText());
}

qint64 TCompressionStream::Seek(qint64 offset, TSeekOrigin origin) {
  if (offset == 0 && origin == ksoCurrent) return TotalIn();
  InvalidStreamOperation();
}

// ---- TDecompressionStream

struct TDecompressionStream::State {
  z_stream z{};
  unsigned char in[kBufferSize];
};

TDecompressionStream::TDecompressionStream(QIODevice& source)
    : state_(std::make_unique<State>()),
      source_(source),
      sourceStart_(source.isSequential() ? 0 : source.pos()),
      sourcePos_(sourceStart_) {
  if (inflateInit(&state_->z) != Z_OK) throw EDecompressionError(ZlibErrorText());
  open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(&state_->z); }

qint64 TDecompressionStream::readData(char* data, qint64 maxSize) {
  if (failed_) return -1;
  z_stream& z = state_->z;
  qint64 produced = 0;
  if (maxSize_ >= 0 && maxSize > maxSize_ - position_) {
    // Ask for one byte past the bound: getting it means the stream is too large.
    maxSize = maxSize_ - position_ + 1;
  }
  while (produced < maxSize && !streamEnd_) {
    if (z.avail_in == 0) {
      if (!source_.isSequential() && source_.pos() != sourcePos_) source_.seek(sourcePos_);
      const qint64 got = source_.read(reinterpret_cast<char*>(state_->in), kBufferSize);
      if (got <= 0) break;  // the source is exhausted
      sourcePos_ += got;
      z.next_in = state_->in;
      z.avail_in = uInt(got);
    }
    const qint64 want = std::min<qint64>(maxSize - produced, 1 << 30);
    z.next_out = reinterpret_cast<Bytef*>(data + produced);
    z.avail_out = uInt(want);
    const uInt inBefore = z.avail_in;
    const int ret = inflate(&z, Z_NO_FLUSH);
    produced += want - qint64(z.avail_out);
    if (ret == Z_STREAM_END) {
      streamEnd_ = true;
    } else if (ret != Z_OK || (z.avail_in == inBefore && qint64(z.avail_out) == want)) {
      // Besides the library's failures, a stream that asks for a preset dictionary
      // (which no theme has) or makes no progress would otherwise spin for ever.
      failed_ = true;
      setErrorString(ZlibErrorText());
      return -1;
    }
  }
  position_ += produced;
  if (maxSize_ >= 0 && position_ > maxSize_) {
    failed_ = true;
    setErrorString(ZlibErrorText());
    return -1;
  }
  return produced;
}

qint64 TDecompressionStream::writeData(const char*, qint64) {
  setErrorString(QStringLiteral("Invalid stream operation"));
  return -1;
}

void TDecompressionStream::CheckError() const {
  if (failed_) throw EDecompressionError(ZlibErrorText());
}

qint64 TDecompressionStream::Read(char* data, qint64 count) {
  const qint64 got = read(data, count);
  CheckError();
  return std::max<qint64>(got, 0);
}

void TDecompressionStream::Restart() {
  if (source_.isSequential()) InvalidStreamOperation();
  if (inflateReset(&state_->z) != Z_OK) throw EDecompressionError(ZlibErrorText());
  state_->z.avail_in = 0;
  sourcePos_ = sourceStart_;
  position_ = 0;
  failed_ = false;
  streamEnd_ = false;
}

qint64 TDecompressionStream::Seek(qint64 offset, TSeekOrigin origin) {
  if (offset == 0 && origin == ksoBeginning) {
    Restart();
    return 0;
  }
  if (origin == ksoBeginning) offset -= position_;
  if (offset < 0 || origin == ksoEnd) InvalidStreamOperation();
  char sink[kBufferSize];
  while (offset > 0) {
    const qint64 got = Read(sink, std::min<qint64>(offset, kBufferSize));
    if (got == 0) break;
    offset -= got;
  }
  return position_;
}

// ---- checked reads

void StreamReadError() { throw EAppError(QStringLiteral("Stream read error")); }

namespace {

void ReadExactly(QIODevice& stream, char* dst, qint64 count) {
  while (count > 0) {
    const qint64 got = stream.read(dst, count);
    if (got <= 0) {
      if (auto* z = dynamic_cast<TDecompressionStream*>(&stream)) z->CheckError();
      StreamReadError();
    }
    dst += got;
    count -= got;
  }
}

}  // namespace

QByteArray ReadCheckedBytes(QIODevice& stream, qint64 count) {
  if (count < 0) StreamReadError();
  if (!stream.isSequential()) {
    if (stream.size() - stream.pos() < count) StreamReadError();
    QByteArray out(qsizetype(count), Qt::Uninitialized);
    ReadExactly(stream, out.data(), count);
    return out;
  }
  constexpr qint64 kChunk = 64 * 1024;
  QByteArray out;
  while (out.size() < count) {
    const qint64 part = std::min<qint64>(kChunk, count - out.size());
    const qsizetype at = out.size();
    out.resize(at + qsizetype(part));
    ReadExactly(stream, out.data() + at, part);
  }
  return out;
}

void ReadCheckedInto(QIODevice& stream, char* dst, qint64 count) { ReadExactly(stream, dst, count); }

int32_t ReadCheckedInt32(QIODevice& stream) {
  char bytes[4];
  ReadExactly(stream, bytes, 4);
  return qFromLittleEndian<int32_t>(bytes);
}

uint8_t ReadCheckedByte(QIODevice& stream) {
  char byte = 0;
  ReadExactly(stream, &byte, 1);
  return uint8_t(byte);
}

void WriteCheckedBytes(QIODevice& stream, const char* data, qint64 count) {
  if (stream.write(data, count) != count) throw EAppError(QStringLiteral("Stream write error"));
}

void WriteInt32LE(QIODevice& stream, int32_t value) {
  char bytes[4];
  qToLittleEndian(value, bytes);
  WriteCheckedBytes(stream, bytes, 4);
}
