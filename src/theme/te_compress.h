// TCompressionStream and TDecompressionStream: zlib deflate and inflate as stream
// adapters over another stream, for packed themes and compressed skin files.
#pragma once

#include <QIODevice>
#include <cstdint>
#include <memory>

#include "app_error.h"

// zlib failures; both carry the text "error" as the library's own messages do.
class EZlibError : public EAppError {
 public:
  using EAppError::EAppError;
};
class ECompressionError : public EZlibError {
 public:
  using EZlibError::EZlibError;
};
class EDecompressionError : public EZlibError {
 public:
  using EZlibError::EZlibError;
};

enum TCompressionLevel : uint8_t { kclNone = 0, kclFastest = 1, kclDefault = 2, kclMax = 3 };
// zlib's number for a level: 0, 1, -1 (the library default) and 9.
int ZlibLevel(TCompressionLevel level);

enum TSeekOrigin : uint8_t { ksoBeginning = 0, ksoCurrent = 1, ksoEnd = 2 };

// Write-only. Writes go through deflate; each full 8192-byte output buffer goes to
// the destination at once, the rest when Finish runs (or the adapter is destroyed).
// The destination's position is remembered and restored before each transfer, so
// the destination may be shared with other writers.
class TCompressionStream : public QIODevice {
 public:
  TCompressionStream(TCompressionLevel level, QIODevice& dest);
  // Finishes the stream when Finish was not called; errors are swallowed here, so
  // callers that must know call Finish.
  ~TCompressionStream() override;

  // Ends the zlib stream and writes what is left. Raises ECompressionError.
  void Finish();
  // Only (0, current) is allowed and answers the count of bytes written in; anything
  // else raises EAppError("Invalid stream operation").
  qint64 Seek(qint64 offset, TSeekOrigin origin);
  // Total input bytes so far, and the compressed bytes written to the destination.
  qint64 TotalIn() const;
  qint64 TotalOut() const;

  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  struct State;
  void Deflate(int flush);
  void Flush();
  std::unique_ptr<State> state_;
  QIODevice& dest_;
  qint64 destPos_;
  bool finished_ = false;
};

// Read-only. Reads the source in 8192-byte chunks and inflates into the caller's
// buffer; a read comes back short only when the source is exhausted or the zlib
// stream has ended. A zlib failure makes reads fail (-1) and is raised by
// CheckError, and by Read, as EDecompressionError("error").
class TDecompressionStream : public QIODevice {
 public:
  explicit TDecompressionStream(QIODevice& source);
  ~TDecompressionStream() override;

  // Reads up to count bytes; raises the decompression error on corrupt data.
  qint64 Read(char* data, qint64 count);
  // Raises EDecompressionError when a zlib failure has happened.
  void CheckError() const;
  bool Failed() const { return failed_; }
  // True once the zlib stream has reached its end marker.
  bool AtStreamEnd() const { return streamEnd_; }
  // Seeking to 0 from the beginning starts over; a forward seek from the beginning or
  // the current position reads and discards; anything else raises
  // EAppError("Invalid stream operation"). Answers the new position.
  qint64 Seek(qint64 offset, TSeekOrigin origin);
  // Decompressed bytes delivered so far.
  qint64 Position() const { return position_; }
  // A stream that would deliver more than this many bytes fails as corrupt data does
  // (readers of outside bytes bound what a small input may inflate to). -1: no bound.
  void SetMaxSize(qint64 maxSize) { maxSize_ = maxSize; }

  bool isSequential() const override { return true; }

 protected:
  qint64 readData(char* data, qint64 maxSize) override;
  qint64 writeData(const char* data, qint64 size) override;

 private:
  struct State;
  void Restart();
  std::unique_ptr<State> state_;
  QIODevice& source_;
  qint64 sourceStart_;
  qint64 sourcePos_;
  qint64 position_ = 0;
  qint64 maxSize_ = -1;
  bool failed_ = false;
  bool streamEnd_ = false;
};

[[noreturn]] void InvalidStreamOperation();

// Checked reads for readers of outside bytes. A stated count is never trusted: a
// random-access stream must hold that much, a sequential one (such as a decompressing
// reader) grows the buffer only as data arrives. Short data raises
// EAppError("Stream read error"); a failed decompressing source raises its own error.
QByteArray ReadCheckedBytes(QIODevice& stream, qint64 count);
int32_t ReadCheckedInt32(QIODevice& stream);
uint8_t ReadCheckedByte(QIODevice& stream);
// Reads exactly count bytes into dst (the caller has checked the count).
void ReadCheckedInto(QIODevice& stream, char* dst, qint64 count);
// Raises EAppError("Stream read error"), for readers that find a bad length themselves.
[[noreturn]] void StreamReadError();
// Writes all count bytes or raises EAppError("Stream write error").
void WriteCheckedBytes(QIODevice& stream, const char* data, qint64 count);
void WriteInt32LE(QIODevice& stream, int32_t value);
